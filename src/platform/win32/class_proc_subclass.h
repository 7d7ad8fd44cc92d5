// Subclassing a control by replacing its window procedure, the replacement
// handing on what it leaves to the procedure of the control's class.
// SetWindowSubclass finds its chain through a window property on every
// message, which under Wine is a call to the server each time (about 0.1 ms
// per message, e.g. per read of an edit box's text during a run).
#pragma once

#include <windows.h>

namespace vornick::win32 {

inline void ReplaceWindowProc(HWND control, WNDPROC proc) {
  SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
}

inline LRESULT CallClassProc(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
  const auto class_proc = reinterpret_cast<WNDPROC>(GetClassLongPtrW(control, GCLP_WNDPROC));
  return CallWindowProcW(class_proc, control, message, wparam, lparam);
}

}  // namespace vornick::win32
