#pragma once
// The areas of the communication with parents: "Posilki" (meals),
// "Informacje" (information for parents) and "InformacjeDziecka" (the
// informations of one child, opened from the children register). The
// program passes the window that sends an attachment; without one the
// exchange runs without a window.

#include "inform_attachments.h"

class AreaRegistry;

void registerCommunicationAreas(AreaRegistry& areas, inform::AttachmentUpload upload = {});
