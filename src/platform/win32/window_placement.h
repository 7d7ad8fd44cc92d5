// Where a top-level window stands: position state and always-on-top.
#pragma once

#include <windows.h>

#include <cstdint>

namespace vornick::win32 {

// 0 normal (SW_SHOWNORMAL: restores and activates), 1 centred on its
// monitor, 2 minimised (SW_MINIMIZE), 3 maximised over the work area of the
// nearest monitor. Shows a hidden window. `state` must be in 0..3.
void ApplyPositionState(HWND window, std::int32_t state);

// HWND_TOPMOST or HWND_NOTOPMOST, without moving, sizing or activating.
void SetTopmost(HWND window, bool topmost);
bool IsTopmost(HWND window);

}  // namespace vornick::win32
