// A Win32 error code in the system's own words, for messages to the user.
#pragma once

#include <windows.h>

#include <string>

namespace vornick::win32 {

// "<the system's message>（错误代码 N）", or just the code when the system has no text for it.
std::string SystemErrorText(DWORD code);

}  // namespace vornick::win32
