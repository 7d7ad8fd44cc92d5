#include "platform/win32/system_error.h"

#include "platform/win32/text.h"

namespace vornick::win32 {

std::string SystemErrorText(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring message(buffer ? buffer : L"", length);
  if (buffer) LocalFree(buffer);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
    message.pop_back();
  const std::string code = "(error " + std::to_string(error) + ")";
  return message.empty() ? code : Narrow(message) + " " + code;
}

}  // namespace vornick::win32
