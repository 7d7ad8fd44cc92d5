// Single-line edit boxes taller than a line of text: a single-line EDIT draws
// its text at the top, so the extra height becomes non-client padding above
// and below the client area, painted in the box's background.
#include "platform/win32/controls.h"

#include "platform/win32/class_proc_subclass.h"
#include "platform/win32/gdi.h"

namespace vornick::win32 {
namespace {

int LineHeight(HWND edit) {
  WindowDc dc(edit);
  SelectedObject font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(edit, WM_GETFONT, 0, 0)));
  TEXTMETRICW tm{};
  GetTextMetricsW(dc.get(), &tm);
  return tm.tmHeight;
}

void Refit(HWND edit) {
  SetWindowPos(edit, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Fills the padding between the border and the client area with the brush
// the parent gives the box.
void PaintPadding(HWND edit) {
  RECT window{}, client{};
  GetWindowRect(edit, &window);
  GetClientRect(edit, &client);
  MapWindowPoints(edit, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
  OffsetRect(&client, -window.left, -window.top);
  const int border = GetSystemMetrics(SM_CXEDGE);
  const HDC window_dc = GetWindowDC(edit);
  if (!window_dc) return;
  const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(edit), WM_CTLCOLOREDIT,
                                                           reinterpret_cast<WPARAM>(window_dc),
                                                           reinterpret_cast<LPARAM>(edit)));
  const HBRUSH fill = brush ? brush : GetSysColorBrush(COLOR_WINDOW);
  const RECT above{border, border, window.right - window.left - border, client.top};
  const RECT below{border, client.bottom, window.right - window.left - border, window.bottom - window.top - border};
  if (above.bottom > above.top) FillRect(window_dc, &above, fill);
  if (below.bottom > below.top) FillRect(window_dc, &below, fill);
  ReleaseDC(edit, window_dc);
}

LRESULT CALLBACK PaddingProc(HWND edit, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_NCCALCSIZE: {
      const LRESULT result = CallClassProc(edit, message, wparam, lparam);
      RECT& client = wparam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lparam)->rgrc[0] : *reinterpret_cast<RECT*>(lparam);
      const int spare = (client.bottom - client.top) - LineHeight(edit);
      if (spare > 1) {
        client.top += spare / 2;
        client.bottom -= spare - spare / 2;
      }
      return result;
    }
    case WM_NCPAINT: {
      const LRESULT result = CallClassProc(edit, message, wparam, lparam);
      PaintPadding(edit);
      return result;
    }
    case WM_NCHITTEST: {
      // A press on the padding is a press in the box.
      const LRESULT hit = CallClassProc(edit, message, wparam, lparam);
      return hit == HTNOWHERE || hit == HTBORDER ? HTCLIENT : hit;
    }
    case WM_SETFONT: {
      const LRESULT result = CallClassProc(edit, message, wparam, lparam);
      Refit(edit);
      return result;
    }
    default: break;
  }
  return CallClassProc(edit, message, wparam, lparam);
}

}  // namespace

void CentreTextVertically(HWND edit) {
  ReplaceWindowProc(edit, PaddingProc);
  Refit(edit);
}

}  // namespace vornick::win32
