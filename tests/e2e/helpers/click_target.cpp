// click_target.exe: a plain window that records every mouse button message it receives, so an
// end-to-end test can check the clicks a run delivered (where, which button, single or double, when).
//
//   click_target.exe EVENTS_FILE [LEFT TOP WIDTH HEIGHT]     (default 10 10 360 360)
//
// The window is a borderless popup placed exactly at LEFT, TOP (no window-manager frame), titled
// "Vornick click target". Each message appends one JSON line to EVENTS_FILE (a Windows path; Z:\ is
// Linux's /):
//   {"t_ms":1234.567,"event":"down","button":"left","x":12,"y":34,"screen_x":22,"screen_y":44,
//    "message_time":5230781}
// event is down, up or dblclk (CS_DBLCLKS: the second press of a quick pair arrives as dblclk, which
// is a press too); x, y are client coordinates; t_ms counts from the window's creation (when the
// window saw the message); message_time is GetMessageTime(), the tick count when the input was made.
// Clicks sent with no delay can queue up faster than this window records them: judge when a click
// was made by message_time, not by when its line appeared.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr wchar_t kClassName[] = L"VornickClickTarget";
constexpr wchar_t kTitle[] = L"Vornick click target";

class EventLog {
 public:
  explicit EventLog(const wchar_t* path)
      : file_(CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {
    QueryPerformanceFrequency(&frequency_);
    QueryPerformanceCounter(&start_);
  }
  EventLog(const EventLog&) = delete;
  EventLog& operator=(const EventLog&) = delete;
  ~EventLog() {
    if (ok()) CloseHandle(file_);
  }

  bool ok() const { return file_ != INVALID_HANDLE_VALUE; }

  void Write(HWND hwnd, const char* event, const char* button, LPARAM lparam) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    const double ms = static_cast<double>(now.QuadPart - start_.QuadPart) * 1000.0 / static_cast<double>(frequency_.QuadPart);
    POINT client{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
    POINT screen = client;
    ClientToScreen(hwnd, &screen);
    char line[256];
    const int n = std::snprintf(line, sizeof line,
                                "{\"t_ms\":%.3f,\"event\":\"%s\",\"button\":\"%s\",\"x\":%ld,\"y\":%ld,"
                                "\"screen_x\":%ld,\"screen_y\":%ld,\"message_time\":%lu}\n",
                                ms, event, button, client.x, client.y, screen.x, screen.y,
                                static_cast<unsigned long>(GetMessageTime()));
    DWORD written = 0;
    // One write per line: a reader never sees half a line.
    WriteFile(file_, line, static_cast<DWORD>(n), &written, nullptr);
  }

 private:
  HANDLE file_;
  LARGE_INTEGER frequency_{};
  LARGE_INTEGER start_{};
};

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  struct ButtonMessage {
    UINT message;
    const char* event;
    const char* button;
  };
  static constexpr ButtonMessage kButtonMessages[] = {
      {WM_LBUTTONDOWN, "down", "left"},   {WM_LBUTTONUP, "up", "left"},   {WM_LBUTTONDBLCLK, "dblclk", "left"},
      {WM_RBUTTONDOWN, "down", "right"},  {WM_RBUTTONUP, "up", "right"},  {WM_RBUTTONDBLCLK, "dblclk", "right"},
      {WM_MBUTTONDOWN, "down", "middle"}, {WM_MBUTTONUP, "up", "middle"}, {WM_MBUTTONDBLCLK, "dblclk", "middle"},
  };
  auto* log = reinterpret_cast<EventLog*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  for (const auto& m : kButtonMessages) {
    if (m.message == message && log) {
      log->Write(hwnd, m.event, m.button, lparam);
      return 0;
    }
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

int Fail(const wchar_t* what) {
  std::fwprintf(stderr, L"click_target: %ls\n", what);
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2 && argc != 6) return Fail(L"usage: click_target.exe EVENTS_FILE [LEFT TOP WIDTH HEIGHT]");
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  int place[4] = {10, 10, 360, 360};
  if (argc == 6)
    for (int i = 0; i < 4; ++i) place[i] = static_cast<int>(std::wcstol(argv[2 + i], nullptr, 10));

  EventLog log(argv[1]);
  if (!log.ok()) return Fail(L"cannot create the events file");

  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_CROSS);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kClassName;
  if (!RegisterClassExW(&wc)) return Fail(L"RegisterClassEx failed");

  const HWND hwnd = CreateWindowExW(0, kClassName, kTitle, WS_POPUP | WS_BORDER, place[0], place[1], place[2],
                                    place[3], nullptr, nullptr, instance, &log);
  if (!hwnd) return Fail(L"CreateWindowEx failed");
  ShowWindow(hwnd, SW_SHOWNOACTIVATE);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
