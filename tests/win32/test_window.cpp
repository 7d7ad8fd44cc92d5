#include "test_window.h"

namespace vornick::win32::testing {
namespace {

constexpr wchar_t kClassName[] = L"VornickTestWindow";

void RegisterTestClass(WNDPROC proc) {
  static const bool registered = [proc] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
}

}  // namespace

TestWindow::TestWindow(int left, int top, int width, int height) {
  RegisterTestClass(Proc);
  hwnd_ = CreateWindowExW(WS_EX_TOPMOST, kClassName, L"Vornick test window", WS_OVERLAPPEDWINDOW, left, top, width,
                          height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
}

TestWindow::~TestWindow() {
  if (alive()) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

LRESULT CALLBACK TestWindow::Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self != nullptr) {
    switch (message) {
      case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
      case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
        self->buttons.push_back({message, static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))});
        return 0;
      case WM_APP: ++self->app_messages; return 0;
      case WM_TIMER: ++self->timer_ticks; return 0;
      case WM_SYSCOMMAND:
        if ((wparam & 0xFFF0) != SC_KEYMENU) break;
        ++self->key_menu_requests;
        return 0;
      default: break;
    }
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

LONGLONG Ticks() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

double MillisecondsSince(LONGLONG start_ticks) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(Ticks() - start_ticks) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::string MapForm::Text(std::string_view control) const {
  auto it = texts_.find(control);
  return it == texts_.end() ? std::string() : it->second;
}

void MapForm::SetText(std::string_view control, std::string_view text) {
  texts_[std::string(control)] = std::string(text);
  text_writes.push_back(std::string(control) + "=" + std::string(text));
}

std::int32_t MapForm::Get(std::string_view control, Prop prop) const {
  auto it = props_.find({std::string(control), prop});
  return it == props_.end() ? 0 : it->second;
}

void MapForm::Set(std::string_view control, Prop prop, std::int32_t value) {
  props_[{std::string(control), prop}] = value;
}

}  // namespace vornick::win32::testing
