#include "platform/gbk_codec.h"

#include <memory>

#include "platform/code_page_936.h"
#include "platform/utf8.h"

namespace vornick {

std::string Utf8ToGbk(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::unique_ptr<CodePage936> table;  // opened on the first non-ASCII character
  for (std::size_t i = 0; i < utf8.size();) {
    const char32_t c = utf8::Next(utf8, i);
    if (c < 0x80) {
      out += static_cast<char>(c);
      continue;
    }
    if (c == utf8::kInvalid || c > 0xFFFF) {
      out += '?';
      continue;
    }
    if (!table) table = std::make_unique<CodePage936>();
    const std::string bytes = table->Encode(c);
    out += bytes.empty() ? std::string("?") : bytes;
  }
  return out;
}

std::string GbkToUtf8(std::string_view gbk) {
  std::string out;
  out.reserve(gbk.size() + gbk.size() / 2);
  std::unique_ptr<CodePage936> table;
  for (std::size_t i = 0; i < gbk.size();) {
    const auto b = static_cast<unsigned char>(gbk[i]);
    if (b < 0x80) {
      out += static_cast<char>(b);
      ++i;
      continue;
    }
    if (!table) table = std::make_unique<CodePage936>();
    char32_t c = 0;
    if (IsGbkLeadByte(b)) {
      const bool paired = i + 1 < gbk.size() && IsGbkTrailByte(static_cast<unsigned char>(gbk[i + 1]));
      if (paired) c = table->DecodePair(b, static_cast<unsigned char>(gbk[i + 1]));
      i += paired ? 2 : 1;
    } else {
      c = table->DecodeByte(b);
      ++i;
    }
    utf8::Append(out, c == 0 ? U'?' : c);
  }
  return out;
}

}  // namespace vornick
