#include "platform/win32/message_loop.h"

#include "platform/win32/win32_form.h"

namespace vornick::win32 {

bool PreTranslateFormMessage(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  Win32Form* form = Win32Form::FromWindow(msg.hwnd);
  if (!form || !form->Alive()) return false;
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE && form->esc_closes()) {
    SendMessageW(form->hwnd(), WM_CLOSE, 0, 0);
    return true;
  }
  return IsDialogMessageW(form->hwnd(), &msg) != FALSE;
}

int RunMessageLoop() {
  MSG msg;
  BOOL got;
  while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
    if (got == -1) return 1;
    if (!PreTranslateFormMessage(msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace vornick::win32
