// Interim: the input, paced-delay and hotkey parts of Win32System are written
// on another branch (win32_input.cpp, paced_delay.cpp, hotkey_relay.cpp),
// which replaces this file. These definitions only let vornick.exe link.
#include "platform/win32/win32_system.h"

namespace vornick::win32 {

void Win32System::SimulateClick(std::int32_t, std::int32_t, std::int32_t) {}

bool Win32System::PacedDelay(std::int32_t ms) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(ms > 0 ? ms : 0);
  while (ms > 0 && GetTickCount64() <= end) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return false;
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
  }
  return MainWindowAlive();
}

void Win32System::HandlePendingHotkey() {}

std::int32_t Win32System::RegisterHotkey(std::string_view, std::int32_t, std::int32_t) { return 0; }

}  // namespace vornick::win32
