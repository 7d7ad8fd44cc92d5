// The main window's created event: the program's own initialisation. It runs
// once, after every control exists and before the window is first shown.
#pragma once

#include "app/ports.h"

namespace vornick {

void OnMainWindowCreated(Ports& ports);

}  // namespace vornick
