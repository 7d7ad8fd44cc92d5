// The capture click: writes the cursor position into the first free row of
// the table and closes the overlay.
#pragma once

#include <cstdint>

#include "app/ports.h"

namespace vornick {

// Handler of the raw input device's event (InputIndex, ButtonStateCode):
// acts only on the primary button going down.
void EnterCapturedPoint(Ports& ports, std::int32_t index, std::int32_t code);

}  // namespace vornick
