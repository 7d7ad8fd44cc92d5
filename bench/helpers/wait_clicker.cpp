// wait_clicker.exe: clicks one point COUNT times with a wait of DELAY_MS after
// each click, with the program's own click (Win32System::SimulateClick) and
// one of two waits, so the benchmark can set Vornick's run beside them:
//
//   wait_clicker.exe busy|paced X Y COUNT DELAY_MS TIMES_FILE
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

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/win32/win32_system.h"

namespace {

long long NowMicroseconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return now.QuadPart / frequency.QuadPart * 1'000'000 + now.QuadPart % frequency.QuadPart * 1'000'000 /
                                                                frequency.QuadPart;
}

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
  if (argc < 7) {
    std::fputs("usage: wait_clicker.exe busy|paced X Y COUNT DELAY_MS TIMES_FILE\n", stderr);
    return 2;
  }
  const bool busy = std::wcscmp(argv[1], L"busy") == 0;
  const int x = _wtoi(argv[2]), y = _wtoi(argv[3]), count = _wtoi(argv[4]), delay = _wtoi(argv[5]);
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
    system.SimulateClick(x, y, 0);
    if (busy) {
      BusyWait(delay);
    } else if (!system.PacedDelay(delay)) {
      break;
    }
  }

  FILE* out = _wfopen(argv[6], L"wb");
  if (out == nullptr) return 4;
  for (long long t : sent) std::fprintf(out, "%lld\n", t);
  std::fclose(out);
  DestroyWindow(window);
  return 0;
}
