// Code page 936 cases shared by the native test (iconv) and the Win32 test
// (the system's table), so both implementations are held to the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vornick::gbk_cases {

struct Case {
  const char* name;
  std::string_view utf8;
  std::string_view gbk;
};

// Both directions hold for these.
inline constexpr Case kRoundTrips[] = {
    {"ascii", "X=1 ;[]", "X=1 ;[]"},
    {"section", "配置1", "\xC5\xE4\xD6\xC3" "1"},
    {"file name", "重要配置.ini", "\xD6\xD8\xD2\xAA\xC5\xE4\xD6\xC3.ini"},
    {"key", "X坐标延时10", "X\xD7\xF8\xB1\xEA\xD1\xD3\xCA\xB1" "10"},
    {"euro is one byte", "€", "\x80"},
    {"full-width yuan sign", "\xEF\xBF\xA5", "\xA3\xA4"},         // U+FFE5
    {"full-width dollar sign", "\xEF\xBC\x84", "\xA1\xE7"},       // U+FF04
    {"ideographic space", "\xE3\x80\x80", "\xA1\xA1"},            // U+3000
    {"byte FF", "\xEF\xA3\xB5", "\xFF"},                          // U+F8F5
    {"first user-defined code", "\xEE\x80\x80", "\xAA\xA1"},      // U+E000
    {"second user-defined area", "\xEE\x88\xB4", "\xF8\xA1"},     // U+E234
    {"third user-defined area", "\xEE\x93\x86", "\xA1\x40"},      // U+E4C6
    {"third area after 7F", "\xEE\x94\x85", "\xA1\x80"},          // U+E505
    {"first scattered undefined", "\xEE\x9D\xA6", "\xA2\xAB"},    // U+E766
    {"last scattered undefined", "\xEE\xA1\xA4", "\xFE\xA0"},     // U+E864
    {"trail byte is an ASCII letter", "丂", "\x81\x40"},
};

// One way only.
inline constexpr Case kToGbk[] = {
    {"emoji", "a\xF0\x9F\x98\x80" "b", "a?b"},
    {"not in GBK", "\xE0\xB8\x81", "?"},  // Thai
    {"broken UTF-8", "a\xC3" "b\xE4\xB8", "a?b??"},
    {"overlong slash", "\xC0\xAF", "??"},
    {"encoded surrogate", "\xED\xA0\x80", "???"},
};
inline constexpr Case kToUtf8[] = {
    {"lead byte at the end", "a?", "a\x81"},
    {"lead byte before a space keeps the space", "? b", "\x81 b"},
    {"lead byte before 7F", "?\x7F", "\x81\x7F"},
    {"lead byte before FF", "?\xEF\xA3\xB5", "\x81\xFF"},
};

// FNV-1a over every conversion of the whole table: each single byte and each
// lead/trail pair to UTF-8, then each character U+0001..U+FFFF (surrogates
// left out) to GBK, each result followed by a zero byte.
inline constexpr std::uint64_t kFullTableDigest = 7221523292783797271ull;

template <typename ToUtf8, typename ToGbk>
std::uint64_t FullTableDigest(ToUtf8 to_utf8, ToGbk to_gbk) {
  std::uint64_t h = 14695981039346656037ull;
  const auto add = [&h](const std::string& s) {
    for (char c : s) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    h = h * 1099511628211ull;
  };
  for (int b = 0; b < 256; ++b) add(to_utf8(std::string(1, static_cast<char>(b))));
  for (int lead = 0x81; lead <= 0xFE; ++lead)
    for (int trail = 0x40; trail <= 0xFE; ++trail)
      if (trail != 0x7F) add(to_utf8(std::string{static_cast<char>(lead), static_cast<char>(trail)}));
  for (char32_t c = 1; c <= 0xFFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    std::string utf8;
    if (c < 0x80) {
      utf8 = std::string(1, static_cast<char>(c));
    } else if (c < 0x800) {
      utf8 = {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
    } else {
      utf8 = {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
              static_cast<char>(0x80 | (c & 0x3F))};
    }
    add(to_gbk(utf8));
  }
  return h;
}

}  // namespace vornick::gbk_cases
