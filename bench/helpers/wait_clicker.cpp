// wait_clicker.exe: COUNT clicks with a wait of DELAY_MS after each, with the
// program's own click (Win32System::SimulateClick) and one of two waits, so
// the benchmark can set Vornick's run beside them. The points are taken as a
// run takes its rows: REPEATS clicks at the first, then REPEATS at the next,
// round and round (moving the pointer costs time under Wine, so the
// baselines move it as often as the run they are compared with).
//
//   wait_clicker.exe busy|paced COUNT DELAY_MS TIMES_FILE REPEATS X1 Y1 [X2 Y2]...
//
//   busy   the original design's wait, kept here as the baseline and nowhere
//          else: read GetTickCount, then spin, pumping the queue twice before
//          and twice after each reading, until more than DELAY_MS have passed.
//   paced  the program's PacedDelay, alone, without the rest of the program.
//
// A small window of its own keeps a message queue to pump, as a program
// would have. TIMES_FILE gets the performance counter (microseconds) just
// before each click, one per line: the sender's own clock.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "performance_clock.h"
#include "platform/win32/win32_system.h"

namespace {

// As the main loop would: everything queued, but a quit message stays queued.
void PumpPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
    PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void BusyWait(std::int32_t ms) {
  if (ms <= 0) return;
  const DWORD start = GetTickCount();
  for (;;) {
    PumpPending();
    PumpPending();
    if (GetTickCount() - start > static_cast<DWORD>(ms)) return;
    PumpPending();
    PumpPending();
  }
}

LRESULT CALLBACK QuietProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 8 || (argc - 6) % 2 != 0) {
    std::fputs("usage: wait_clicker.exe busy|paced COUNT DELAY_MS TIMES_FILE REPEATS X1 Y1 [X2 Y2]...\n", stderr);
    return 2;
  }
  const bool busy = std::wcscmp(argv[1], L"busy") == 0;
  const int count = _wtoi(argv[2]), delay = _wtoi(argv[3]), repeats = std::max(1, _wtoi(argv[5]));
  std::vector<POINT> points;
  for (int i = 6; i + 1 < argc; i += 2) points.push_back({_wtoi(argv[i]), _wtoi(argv[i + 1])});
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = QuietProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"VornickBenchClicker";
  RegisterClassExW(&wc);
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"Vornick bench clicker", WS_POPUP, 0, 0, 1, 1,
                                nullptr, nullptr, wc.hInstance, nullptr);
  if (window == nullptr) return 3;

  vornick::win32::Win32System system;
  system.AttachMainWindow(window);
  std::vector<long long> sent;
  sent.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
  for (int i = 0; i < count; ++i) {
    sent.push_back(NowMicroseconds());
    const POINT& at = points[static_cast<std::size_t>(i / repeats) % points.size()];
    system.SimulateClick(at.x, at.y, 0);
    if (busy) {
      BusyWait(delay);
    } else if (!system.PacedDelay(delay)) {
      break;
    }
  }

  FILE* out = _wfopen(argv[4], L"wb");
  if (out == nullptr) return 4;
  for (long long t : sent) std::fprintf(out, "%lld\n", t);
  std::fclose(out);
  DestroyWindow(window);
  return 0;
}
