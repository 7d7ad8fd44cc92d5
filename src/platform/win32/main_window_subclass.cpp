// What the System adapter needs to see of the main window's messages: the
// hotkey notifications, display changes, and the window's end.
#include "platform/win32/win32_system.h"  // <windows.h> before <commctrl.h>

#include <commctrl.h>

#include "platform/win32/hotkey_hook.h"

namespace vornick::win32 {
namespace {

constexpr UINT_PTR kSubclassId = 0x8075;

}  // namespace

void Win32System::AttachMainWindow(HWND main_window) {
  if (main_window == subclassed_window_) return;
  DetachMainWindow();
  main_window_ = main_window;
  if (main_window != nullptr && SetWindowSubclass(main_window, MainWindowProc, kSubclassId,
                                                  reinterpret_cast<DWORD_PTR>(this)))
    subclassed_window_ = main_window;
}

void Win32System::DetachMainWindow() {
  hotkey_hook_.reset();
  if (subclassed_window_ != nullptr && IsWindow(subclassed_window_))
    RemoveWindowSubclass(subclassed_window_, MainWindowProc, kSubclassId);
  subclassed_window_ = nullptr;
}

LRESULT CALLBACK Win32System::MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                             DWORD_PTR self_data) {
  auto* self = reinterpret_cast<Win32System*>(self_data);
  switch (message) {
    case WM_HOTKEY:
      // Seen before the window's own handling, which still gets it afterwards.
      self->RelayHotkey(wparam, lparam);
      if (!IsWindow(window)) return 0;  // closed during the stop sequence
      break;
    case WM_DISPLAYCHANGE:
      self->display_.reset();
      break;
    case WM_NCDESTROY:
      self->DetachMainWindow();
      break;
    default:
      break;
  }
  return DefSubclassProc(window, message, wparam, lparam);
}

}  // namespace vornick::win32
