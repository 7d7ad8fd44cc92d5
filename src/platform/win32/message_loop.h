// The program's message loops and the keyboard step they share.
#pragma once

#include <windows.h>

namespace vornick::win32 {

// What every message loop does before TranslateMessage: Esc closes a form
// that asks for it (whichever of its controls has the focus), Tab and the
// arrow keys move between a form's tab stops. True: the message was handled
// and must not be dispatched again.
bool PreTranslateFormMessage(MSG& msg);

// Runs until WM_QUIT and returns its exit code.
int RunMessageLoop();

}  // namespace vornick::win32
