// bench_target.exe: the window the benchmarks click into. It records every
// mouse-button message with two clocks and stays out of the way while doing
// so: lines are kept in memory and written every 50 ms (and at the end), so
// thousands of clicks a second cost it next to nothing.
//
//   bench_target.exe EVENTS_FILE LEFT TOP WIDTH HEIGHT
//
// A borderless popup exactly at LEFT, TOP, titled "Vornick bench target". The
// events file is created once the window is shown (its existence means
// "ready") and gets one line per message:
//
//   EVENT BUTTON X Y MESSAGE_TIME_MS QPC_US
//
// EVENT is down, up or dblclk (the class has CS_DBLCLKS: the second press of a
// close pair arrives as dblclk and is a press too); BUTTON left, right or
// middle; X, Y client pixels; MESSAGE_TIME_MS is GetMessageTime(), when the
// input was queued (the system tick, milliseconds); QPC_US the performance
// counter in microseconds when the window procedure saw the message. Under
// Wine the counter is Linux's CLOCK_MONOTONIC_RAW, so the benchmark can put
// its own readings on the same time line. Ends on WM_CLOSE.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

constexpr UINT_PTR kFlushTimer = 1;
constexpr UINT kFlushMilliseconds = 50;

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};

struct Recorder {
  std::unique_ptr<FILE, FileCloser> out;
  std::string pending;
  LONGLONG ticks_per_second = 1;
  LONGLONG flushed_at = 0;

  void Flush() {
    if (!out || pending.empty()) return;
    std::fwrite(pending.data(), 1, pending.size(), out.get());
    std::fflush(out.get());
    pending.clear();
  }
};

long long Microseconds(LONGLONG ticks, LONGLONG per_second) {
  return ticks / per_second * 1'000'000 + ticks % per_second * 1'000'000 / per_second;
}

struct ButtonMessage {
  const char* event;
  const char* button;
};

bool Describe(UINT message, ButtonMessage& out) {
  switch (message) {
    case WM_LBUTTONDOWN: out = {"down", "left"}; return true;
    case WM_LBUTTONUP: out = {"up", "left"}; return true;
    case WM_LBUTTONDBLCLK: out = {"dblclk", "left"}; return true;
    case WM_RBUTTONDOWN: out = {"down", "right"}; return true;
    case WM_RBUTTONUP: out = {"up", "right"}; return true;
    case WM_RBUTTONDBLCLK: out = {"dblclk", "right"}; return true;
    case WM_MBUTTONDOWN: out = {"down", "middle"}; return true;
    case WM_MBUTTONUP: out = {"up", "middle"}; return true;
    case WM_MBUTTONDBLCLK: out = {"dblclk", "middle"}; return true;
    default: return false;
  }
}

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* recorder = reinterpret_cast<Recorder*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  ButtonMessage described;
  if (recorder != nullptr && Describe(message, described)) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    char line[128];
    const int n = std::snprintf(line, sizeof line, "%s %s %d %d %lu %lld\n", described.event, described.button,
                                static_cast<int>(static_cast<short>(LOWORD(lparam))),
                                static_cast<int>(static_cast<short>(HIWORD(lparam))),
                                static_cast<unsigned long>(GetMessageTime()),
                                Microseconds(now.QuadPart, recorder->ticks_per_second));
    if (n > 0) recorder->pending.append(line, static_cast<std::size_t>(n));
    // Timers wait while input keeps the queue busy: a flood of clicks flushes by itself.
    if (now.QuadPart - recorder->flushed_at >= recorder->ticks_per_second * kFlushMilliseconds / 1000) {
      recorder->Flush();
      recorder->flushed_at = now.QuadPart;
    }
    return 0;
  }
  switch (message) {
    case WM_TIMER:
      if (recorder != nullptr && wparam == kFlushTimer) recorder->Flush();
      return 0;
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  if (__argc < 6) return 2;
  wchar_t** argv = __wargv;
  const int left = _wtoi(argv[2]), top = _wtoi(argv[3]), width = _wtoi(argv[4]), height = _wtoi(argv[5]);
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);

  Recorder recorder;
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  recorder.ticks_per_second = frequency.QuadPart;
  recorder.pending.reserve(1 << 16);

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = TargetProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = L"VornickBenchTarget";
  if (!RegisterClassExW(&wc)) return 3;
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"Vornick bench target", WS_POPUP | WS_BORDER, left, top, width,
                                height, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 3;
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&recorder));
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);

  recorder.out.reset(_wfopen(argv[1], L"wb"));
  if (!recorder.out) return 4;
  SetTimer(window, kFlushTimer, kFlushMilliseconds, nullptr);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  recorder.Flush();
  return 0;
}
