// Pure helpers of the click synthesis, apart so they can be checked for
// desktop layouts the test machine does not have.
#pragma once

#include <windows.h>

#include <cstdint>

namespace vornick::win32 {

// A screen pixel on SendInput's 0..65535 scale over the virtual desktop that
// starts at `origin` (negative when a monitor lies left of or above the
// primary one) and is `size` pixels long. Rounded up, so that the system's
// mapping back, origin + ((value * size) >> 16), gives exactly the pixel.
LONG NormalisedDesktopCoordinate(std::int32_t pixel, int origin, int size);

}  // namespace vornick::win32
