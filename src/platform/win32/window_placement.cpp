#include "platform/win32/window_placement.h"

#include "platform/form.h"

namespace vornick::win32 {
namespace {

MONITORINFO NearestMonitor(HWND window) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info)) {
    info.rcMonitor = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
  }
  return info;
}

void Centre(HWND window) {
  if (IsIconic(window) || IsZoomed(window)) ShowWindow(window, SW_RESTORE);
  const RECT screen = NearestMonitor(window).rcMonitor;
  RECT own{};
  GetWindowRect(window, &own);
  const int w = own.right - own.left, h = own.bottom - own.top;
  SetWindowPos(window, nullptr, screen.left + (screen.right - screen.left - w) / 2,
               screen.top + (screen.bottom - screen.top - h) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (!IsWindowVisible(window)) ShowWindow(window, SW_SHOWNORMAL);
}

void MaximiseOverWorkArea(HWND window) {
  const RECT work = NearestMonitor(window).rcWork;
  auto cover = [&] {
    SetWindowPos(window, nullptr, work.left, work.top, work.right - work.left, work.bottom - work.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  };
  // The normal place is the work area too: a window manager that refuses to
  // maximise a window without a maximise box (Wine's) restores it there.
  if (!IsZoomed(window)) cover();
  ShowWindow(window, SW_SHOWMAXIMIZED);
  cover();
}

}  // namespace

void ApplyPositionState(HWND window, std::int32_t state) {
  switch (state) {
    case kPositionNormal: ShowWindow(window, SW_SHOWNORMAL); break;
    case kPositionCentred: Centre(window); break;
    case kPositionMinimised: ShowWindow(window, SW_MINIMIZE); break;
    case kPositionMaximised: MaximiseOverWorkArea(window); break;
    default: break;
  }
}

void SetTopmost(HWND window, bool topmost) {
  // The capture overlay asks for this on every tick: when it is already the
  // top window of all, the call would change nothing and still cost a restack.
  if (topmost && IsTopmost(window) && GetWindow(window, GW_HWNDPREV) == nullptr) return;
  SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

bool IsTopmost(HWND window) { return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

}  // namespace vornick::win32
