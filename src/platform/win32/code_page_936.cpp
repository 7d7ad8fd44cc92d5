#include "platform/code_page_936.h"

#include <windows.h>

namespace vornick {

struct CodePage936::Converters {};  // the system's table needs no state

CodePage936::CodePage936() = default;
CodePage936::~CodePage936() = default;

char32_t CodePage936::DecodeByte(unsigned char byte) {
  // Without MB_ERR_INVALID_CHARS: byte FF is U+F8F5 in the system's table.
  const char in = static_cast<char>(byte);
  wchar_t out[2] = {};
  return MultiByteToWideChar(936, 0, &in, 1, out, 2) == 1 && out[0] != L'?' ? out[0] : 0;
}

char32_t CodePage936::DecodePair(unsigned char lead, unsigned char trail) {
  const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
  wchar_t out[2] = {};
  return MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, in, 2, out, 2) == 1 ? out[0] : 0;
}

std::string CodePage936::Encode(char32_t c) {
  if (c < 0x80 || c > 0xFFFF || (c >= 0xD800 && c <= 0xDFFF)) return {};
  const wchar_t in = static_cast<wchar_t>(c);
  char out[4] = {};
  BOOL defaulted = FALSE;
  // No best fit: a character without its own code becomes '?', not a look-alike.
  const int n = WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, &in, 1, out, sizeof out, nullptr, &defaulted);
  if (n <= 0 || defaulted) return {};
  return std::string(out, static_cast<std::size_t>(n));
}

}  // namespace vornick
