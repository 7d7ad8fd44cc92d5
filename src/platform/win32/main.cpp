// The program entry: builds the main window from its table, hands it to the
// application, shows it and runs the message loop until the window is gone.
#include <windows.h>

#include <commctrl.h>

#include "app/app.h"
#include "app/main_form.h"
#include "platform/win32/message_loop.h"
#include "platform/win32/system_error.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_form.h"
#include "platform/win32/win32_system.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace vornick;
  using namespace vornick::win32;

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  Win32System system;
  DWORD error = 0;
  const std::unique_ptr<Win32Form> form = Win32Form::Create(MainFormSpec(), &error);
  if (!form) {
    const std::string text = "无法创建主窗口：" + SystemErrorText(error);
    MessageBoxW(nullptr, Widen(text).c_str(), L"Vornick", MB_OK | MB_ICONERROR);
    return 1;
  }
  system.AttachMainWindow(form->hwnd());
  App app(*form, system);
  form->SetSink(&app);
  system.SetEventSink(&app);  // the hotkey relay raises 标签4's Feedback on it
  form->RaiseCreated();
  form->Show();  // centred and on top, as the table says
  const int exit_code = RunMessageLoop();
  form->SetSink(nullptr);  // the application goes first
  system.SetEventSink(nullptr);
  return exit_code;
}
