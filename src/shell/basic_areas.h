#pragma once
// The areas of the first registers, by the names the main window opens
// them with: "Uzytkownicy", "Grupy", "Konfiguracja", "Obrazy",
// "Czasbezpatny", "Graniceobecnoci". Each opens its module's main data set
// in a window that owns the module (TDMDane::openAsWindow).

#include "shell/tdm_uzyt.h"

class AreaRegistry;

// `passwordDialog` is the desktop's change-of-password dialog for the users
// register; without it the register asks through the prompts.
// `rightsWindow` is the desktop's rights window of the users and user groups
// registers; without it they do not offer it.
void registerBasicAreas(AreaRegistry& areas, PasswordDialog passwordDialog = {}, RightsWindowOpener rightsWindow = {});
