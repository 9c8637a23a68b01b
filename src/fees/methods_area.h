#pragma once
// The area "Sposoby" (the calculation methods register), opened in a
// window titled "Sposoby liczenia".

#include "fees/tdm_sposoby.h"

class AreaRegistry;

// `editor` is the desktop's definition editor; without it the register
// shows the methods but does not offer "Opis &definicji sposobu liczenia".
void registerMethodsArea(AreaRegistry& areas, DefinitionEditor editor = {});
