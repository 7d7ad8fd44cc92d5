#include "platform/win32/win32_system.h"

#include "platform/win32/hotkey_hook.h"
#include "platform/win32/text.h"

namespace vornick::win32 {

Win32System::Win32System() = default;
Win32System::~Win32System() { DetachMainWindow(); }

std::int32_t Win32System::CursorX() {
  POINT p{};
  GetCursorPos(&p);
  return p.x;
}

std::int32_t Win32System::CursorY() {
  POINT p{};
  GetCursorPos(&p);
  return p.y;
}

std::int32_t Win32System::ScreenWidth() { return Display().screen_width; }
std::int32_t Win32System::ScreenHeight() { return Display().screen_height; }

const Win32System::DisplayMetrics& Win32System::Display() {
  if (!display_) {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    display_ = DisplayMetrics{RECT{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                                   top + GetSystemMetrics(SM_CYVIRTUALSCREEN)},
                              GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  return *display_;
}

void Win32System::ShowMessage(std::string_view text, std::string_view caption) {
  MessageBoxW(MainWindowAlive() ? main_window_ : nullptr, Widen(text).c_str(), Widen(caption).c_str(),
              MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
}

}  // namespace vornick::win32
