#pragma once
// The area of the extra classes register.

class AreaRegistry;

// "Zajciadodatkowe": the extra classes window; arguments {"title": caption}
// (the main window's command caption without "&"; "Zajęcia dodatkowe" when absent).
void registerExtraClassAreas(AreaRegistry& areas);
