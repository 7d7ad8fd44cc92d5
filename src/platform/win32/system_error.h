// Win32 error codes as readable text, for the failures the user is shown.
#pragma once

#include <windows.h>

#include <string>

namespace vornick::win32 {

// "<system message> (error N)", UTF-8.
std::string SystemErrorText(DWORD error);

}  // namespace vornick::win32
