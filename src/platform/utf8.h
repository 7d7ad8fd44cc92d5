// UTF-8 one character at a time, for the text converters.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vornick::utf8 {

inline bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// Appends `c` as UTF-8; a surrogate is written as its own three bytes (the
// WTF-8 form), so UTF-16 with unpaired surrogates converts back exactly.
inline void Append(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

inline constexpr char32_t kInvalid = 0xFFFFFFFF;

// Decodes the character at `i` and advances past it. A byte that does not
// start a well-formed character (overlong, cut short, above U+10FFFF, or a
// surrogate unless `allow_surrogates`) gives kInvalid and advances by one.
inline char32_t Next(std::string_view s, std::size_t& i, bool allow_surrogates = false) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char b = byte(i);
  if (b < 0x80) {
    ++i;
    return b;
  }
  std::size_t length = 0;
  char32_t c = 0, minimum = 0;
  if (b >= 0xC2 && b <= 0xDF) {
    length = 2, c = b & 0x1F, minimum = 0x80;
  } else if (b >= 0xE0 && b <= 0xEF) {
    length = 3, c = b & 0x0F, minimum = 0x800;
  } else if (b >= 0xF0 && b <= 0xF4) {
    length = 4, c = b & 0x07, minimum = 0x10000;
  } else {
    ++i;
    return kInvalid;
  }
  if (i + length > s.size()) {
    ++i;
    return kInvalid;
  }
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) {
      ++i;
      return kInvalid;
    }
    c = (c << 6) | (byte(i + k) & 0x3F);
  }
  if (c < minimum || c > 0x10FFFF || (IsSurrogate(c) && !allow_surrogates)) {
    ++i;
    return kInvalid;
  }
  i += length;
  return c;
}

}  // namespace vornick::utf8
