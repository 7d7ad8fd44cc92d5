#include "engine/conversions.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace vornick {
namespace {

// Length of the UTF-8 sequence starting at text[i] and its code point; 0 when
// the bytes there are not a complete, well-formed sequence.
std::size_t DecodeUtf8(std::string_view text, std::size_t i, char32_t& cp) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t len = lead >= 0xF0 && lead < 0xF5 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
  if (len == 0 || i + len > text.size()) return 0;
  cp = lead & (0x7F >> len);
  for (std::size_t k = 1; k < len; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (byte(i + k) & 0x3F);
  }
  return len;
}

// The characters whose code page 936 forms fold: A1 A1, A1 AB, A1 EE, A1 EF
// and the row A3 A1..A3 FE (which holds U+FF01..U+FF5D, with U+FFE5 at A3 A4
// and U+FFE3 at A3 FE).
char FoldedAscii(char32_t cp) {
  switch (cp) {
    case U'\u3000': return ' ';
    case U'\uFF5E': return '~';
    case U'\u2606':
    case U'\u2605': return '*';
    case U'\uFFE5': return '$';
    case U'\uFFE3': return '~';
    case U'\uFF04': return 0;  // A1 E7 in code page 936, outside the folded row
    default: break;
  }
  if (cp >= U'\uFF01' && cp <= U'\uFF5D') return static_cast<char>(cp - 0xFF01 + 0x21);
  return 0;
}

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipSpace(std::string_view s, std::size_t i) {
  while (i < s.size() && IsSpace(s[i])) ++i;
  return i;
}

}  // namespace

std::string FullWidthFolding(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      ++i;
      continue;
    }
    char32_t cp = 0;
    const std::size_t len = DecodeUtf8(text, i, cp);
    if (len == 0) {
      // A broken sequence: copy the stray byte, it cannot be part of a number.
      out.push_back(static_cast<char>(c));
      ++i;
      continue;
    }
    if (const char folded = FoldedAscii(cp)) {
      out.push_back(folded);
    } else {
      out.append(text.substr(i, len));
    }
    i += len;
  }
  return out;
}

double TextToNumber(std::string_view text) {
  const std::string s = FullWidthFolding(text);
  std::size_t i = SkipSpace(s, 0);
  std::string number;  // the part that fits, in the C library's own syntax
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) number.push_back(s[i++]);
  bool digits = false, point = false;
  for (; i < s.size(); ++i) {
    if (IsDigit(s[i])) {
      digits = true;
    } else if (s[i] == '.' && !point) {
      point = true;
    } else {
      break;
    }
    number.push_back(s[i]);
  }
  if (!digits) return 0.0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent.push_back(s[j++]);
    const std::size_t first_digit = j;
    while (j < s.size() && IsDigit(s[j])) exponent.push_back(s[j++]);
    if (j > first_digit) number += exponent;
  }
  // strtod rounds to nearest and gives +-inf on overflow; the program never
  // changes the "C" locale, so '.' is the decimal point.
  return std::strtod(number.c_str(), nullptr);
}

std::int32_t TextToInteger(std::string_view text) {
  const std::string s = FullWidthFolding(text);
  std::size_t i = SkipSpace(s, 0);
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  std::uint32_t value = 0;
  for (; i < s.size() && IsDigit(s[i]); ++i) value = value * 10u + static_cast<std::uint32_t>(s[i] - '0');
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

std::int32_t NumberToInteger(double x) {
  constexpr double kTwoTo63 = 9223372036854775808.0;
  std::int64_t whole = std::numeric_limits<std::int64_t>::min();
  if (!std::isnan(x) && std::fabs(x) < kTwoTo63) whole = static_cast<std::int64_t>(std::trunc(x));
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(whole)));
}

std::string IntegerToText(std::int32_t n) { return std::to_string(n); }

}  // namespace vornick
