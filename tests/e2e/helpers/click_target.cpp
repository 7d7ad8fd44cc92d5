// A window that records every mouse-button message it receives, for the
// end-to-end tests of runs.
//
//   click_target.exe OUTPUT_FILE [LEFT TOP WIDTH HEIGHT]
//
// The output file is created once the window is shown (so its existence means
// "ready") and gets one line per button message, flushed at once:
//
//   MESSAGE CLIENT_X CLIENT_Y MESSAGE_TIME_MS QPC_MICROSECONDS
//
// e.g. "WM_LBUTTONDOWN 120 45 5230781 5230781123456". MESSAGE is the message's
// name (WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, the same for RBUTTON,
// MBUTTON and XBUTTON); the class has CS_DBLCLKS, so the second press of a
// close pair arrives as ...DBLCLK and counts as a press. MESSAGE_TIME_MS is
// GetMessageTime(), QPC_MICROSECONDS the performance counter when the window
// procedure saw the message. The program ends on WM_CLOSE.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

namespace {

struct Target {
  FILE* out = nullptr;
  LONGLONG ticks_per_second = 1;
};

const char* ButtonMessageName(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN: return "WM_LBUTTONDOWN";
    case WM_LBUTTONUP: return "WM_LBUTTONUP";
    case WM_LBUTTONDBLCLK: return "WM_LBUTTONDBLCLK";
    case WM_RBUTTONDOWN: return "WM_RBUTTONDOWN";
    case WM_RBUTTONUP: return "WM_RBUTTONUP";
    case WM_RBUTTONDBLCLK: return "WM_RBUTTONDBLCLK";
    case WM_MBUTTONDOWN: return "WM_MBUTTONDOWN";
    case WM_MBUTTONUP: return "WM_MBUTTONUP";
    case WM_MBUTTONDBLCLK: return "WM_MBUTTONDBLCLK";
    case WM_XBUTTONDOWN: return "WM_XBUTTONDOWN";
    case WM_XBUTTONUP: return "WM_XBUTTONUP";
    case WM_XBUTTONDBLCLK: return "WM_XBUTTONDBLCLK";
    default: return nullptr;
  }
}

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* target = reinterpret_cast<Target*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (const char* name = ButtonMessageName(message); name != nullptr && target != nullptr && target->out != nullptr) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    const long long micros = static_cast<long long>(now.QuadPart / target->ticks_per_second * 1'000'000 +
                                                    now.QuadPart % target->ticks_per_second * 1'000'000 /
                                                        target->ticks_per_second);
    std::fprintf(target->out, "%s %d %d %lu %lld\n", name, static_cast<int>(static_cast<short>(LOWORD(lparam))),
                 static_cast<int>(static_cast<short>(HIWORD(lparam))), static_cast<unsigned long>(GetMessageTime()),
                 micros);
    std::fflush(target->out);
  }
  switch (message) {
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
  const int argc = __argc;
  wchar_t** argv = __wargv;  // filled by the CRT's wide start-up (-municode)
  if (argv == nullptr || argc < 2) return 2;
  int left = 100, top = 100, width = 400, height = 300;
  if (argc >= 6) {
    left = _wtoi(argv[2]);
    top = _wtoi(argv[3]);
    width = _wtoi(argv[4]);
    height = _wtoi(argv[5]);
  }

  Target target;
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  target.ticks_per_second = frequency.QuadPart;

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = TargetProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = L"VornickClickTarget";
  if (!RegisterClassExW(&wc)) return 3;
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"Vornick click target", WS_OVERLAPPEDWINDOW, left, top, width,
                                height, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 3;
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&target));
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);

  target.out = _wfopen(argv[1], L"w");
  if (target.out == nullptr) return 4;

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  std::fclose(target.out);
  return 0;
}
