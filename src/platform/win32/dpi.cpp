#include "platform/win32/dpi.h"

#include "platform/win32/gdi.h"

namespace vornick::win32 {

UINT WindowDpi(HWND window) {
  // Looked up at run time: GetDpiForWindow is missing before Windows 10 1607,
  // and a static import would keep the program from starting there.
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto get_dpi_for_window = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (get_dpi_for_window && window) {
    if (const UINT dpi = get_dpi_for_window(window)) return dpi;
  }
  WindowDc screen(nullptr);
  const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
}

}  // namespace vornick::win32
