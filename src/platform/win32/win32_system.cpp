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

std::int32_t Win32System::ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
std::int32_t Win32System::ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

void Win32System::ShowMessage(std::string_view text, std::string_view caption) {
  MessageBoxW(MainWindowAlive() ? main_window_ : nullptr, Widen(text).c_str(), Widen(caption).c_str(),
              MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
}

}  // namespace vornick::win32
