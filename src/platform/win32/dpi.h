// Places and sizes are written at 96 DPI and scaled to the DPI of the
// window's monitor (the program is per-monitor DPI aware).
#pragma once

#include <windows.h>

namespace vornick::win32 {

constexpr UINT kDesignDpi = USER_DEFAULT_SCREEN_DPI;

// The DPI of the monitor the window is on; the system DPI where Windows is
// too old to tell per window.
UINT WindowDpi(HWND window);

inline int ScaleToDpi(int design_px, UINT dpi) { return MulDiv(design_px, static_cast<int>(dpi), kDesignDpi); }
inline int ScaleToDesign(int px, UINT dpi) { return MulDiv(px, kDesignDpi, static_cast<int>(dpi)); }

}  // namespace vornick::win32
