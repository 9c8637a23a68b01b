#pragma once
// The print templates area, by the name the main window opens it with:
// "Szablony", the templates register in a window that owns its module.

#include "tdm_szablony.h"

class AreaRegistry;

// `designer` is the desktop's designer window; without it the register
// opens without its layout command.
void registerTemplateAreas(AreaRegistry& areas, TemplateDesigner designer = {});
