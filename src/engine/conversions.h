// Text <-> number conversions shared by every reader of the table. They never
// fail: text without a number gives 0.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vornick {

// Full-width digits, signs, letters, the ideographic space, the full-width
// tilde and the two stars read as their ASCII counterparts.
std::string FullWidthFolding(std::string_view text);

// Optional sign, digits with at most one '.', optional exponent (e, E, d, D);
// the rest is ignored. No digit gives 0.
double TextToNumber(std::string_view text);

// Optional sign and decimal digits only, accumulated modulo 2^32.
std::int32_t TextToInteger(std::string_view text);

// Truncation toward zero to 64 bits (out of range, inf and NaN give the
// sign-bit-only value), then the low 32 bits.
std::int32_t NumberToInteger(double x);

std::string IntegerToText(std::int32_t n);

}  // namespace vornick
