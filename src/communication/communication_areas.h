#pragma once
// The areas of the communication with parents that need no window of their
// own: "Posilki" (meals).

class AreaRegistry;

void registerCommunicationAreas(AreaRegistry& areas);
