// UTF-8 inside the program, UTF-16 at every Win32 call.
#pragma once

#include <string>
#include <string_view>

namespace vornick::win32 {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace vornick::win32
