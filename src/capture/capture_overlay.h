// The capture overlay's life: opened modally from the crosshair picture,
// set up before it is shown, animated by its two timers, closed by the
// capture click or Esc, and the main window restored afterwards.
#pragma once

#include "app/ports.h"

namespace vornick {

inline constexpr std::string_view kCrosshairPicture = "准星";

// Handler of a left-button press on the crosshair picture: returns once the
// overlay has closed.
void OpenCaptureOverlay(Ports& ports);

}  // namespace vornick
