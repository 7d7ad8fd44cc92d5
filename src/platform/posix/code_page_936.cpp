#include "platform/code_page_936.h"

#include <iconv.h>

#include <array>
#include <cerrno>

namespace vornick {
namespace {

// Windows gives every code that GBK leaves undefined a private-use character,
// in code order: the user-defined areas AAA1-AFFE from U+E000, F8A1-FEFE from
// U+E234 and A140-A7A0 from U+E4C6, the scattered rest (below) from U+E766.
// iconv's CP936 leaves them out, so they are added here.
struct CodeRange {
  unsigned first, last;
};
constexpr std::array<CodeRange, 26> kScatteredUndefined = {{
    {0xA2AB, 0xA2B0}, {0xA2E3, 0xA2E4}, {0xA2EF, 0xA2F0}, {0xA2FD, 0xA2FE}, {0xA4F4, 0xA4FE}, {0xA5F7, 0xA5FE},
    {0xA6B9, 0xA6C0}, {0xA6D9, 0xA6DF}, {0xA6EC, 0xA6ED}, {0xA6F3, 0xA6F3}, {0xA6F6, 0xA6FE}, {0xA7C2, 0xA7D0},
    {0xA7F2, 0xA7FE}, {0xA896, 0xA8A0}, {0xA8BC, 0xA8BC}, {0xA8BF, 0xA8BF}, {0xA8C1, 0xA8C4}, {0xA8EA, 0xA8FE},
    {0xA958, 0xA958}, {0xA95B, 0xA95B}, {0xA95D, 0xA95F}, {0xA989, 0xA995}, {0xA997, 0xA9A3}, {0xA9F0, 0xA9FE},
    {0xD7FA, 0xD7FE}, {0xFE50, 0xFEA0},
}};
constexpr char32_t kScatteredBase = 0xE766;
constexpr char32_t kPrivateUseLast = 0xE864;
constexpr char32_t kByteFF = 0xF8F5;

// Position of a trail byte among the valid ones from 0x40, skipping 0x7F.
unsigned TrailIndex(unsigned trail) { return trail - 0x40 - (trail > 0x7F ? 1 : 0); }

char32_t PrivateUseOf(unsigned lead, unsigned trail) {
  if (lead >= 0xAA && lead <= 0xAF && trail >= 0xA1) return 0xE000 + (lead - 0xAA) * 94 + (trail - 0xA1);
  if (lead >= 0xF8 && lead <= 0xFE && trail >= 0xA1) return 0xE234 + (lead - 0xF8) * 94 + (trail - 0xA1);
  if (lead >= 0xA1 && lead <= 0xA7 && trail <= 0xA0) return 0xE4C6 + (lead - 0xA1) * 96 + TrailIndex(trail);
  const unsigned code = lead << 8 | trail;
  char32_t next = kScatteredBase;
  for (const CodeRange& r : kScatteredUndefined) {
    const unsigned size = TrailIndex(r.last & 0xFF) - TrailIndex(r.first & 0xFF) + 1;
    if (code >= r.first && code <= r.last) return next + TrailIndex(trail) - TrailIndex(r.first & 0xFF);
    next += size;
  }
  return 0;
}

std::string CodeOfPrivateUse(char32_t c) {
  const auto pair = [](unsigned lead, unsigned trail) {
    return std::string{static_cast<char>(lead), static_cast<char>(trail)};
  };
  const auto trail_at = [](unsigned index) { return index + 0x40 + (index >= 0x3F ? 1 : 0); };
  if (c == kByteFF) return std::string(1, static_cast<char>(0xFF));
  if (c < 0xE000 || c > kPrivateUseLast) return {};
  if (c < 0xE234) return pair(0xAA + (c - 0xE000) / 94, 0xA1 + (c - 0xE000) % 94);
  if (c < 0xE4C6) return pair(0xF8 + (c - 0xE234) / 94, 0xA1 + (c - 0xE234) % 94);
  if (c < kScatteredBase) return pair(0xA1 + (c - 0xE4C6) / 96, trail_at((c - 0xE4C6) % 96));
  unsigned offset = c - kScatteredBase;
  for (const CodeRange& r : kScatteredUndefined) {
    const unsigned first = TrailIndex(r.first & 0xFF);
    const unsigned size = TrailIndex(r.last & 0xFF) - first + 1;
    if (offset < size) return pair(r.first >> 8, trail_at(first + offset));
    offset -= size;
  }
  return {};
}

// One character through iconv; empty when it has no conversion.
std::string Convert(iconv_t cd, const char* in, std::size_t in_size) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* in_ptr = const_cast<char*>(in);
  char out[8];
  char* out_ptr = out;
  std::size_t out_left = sizeof out;
  if (iconv(cd, &in_ptr, &in_size, &out_ptr, &out_left) == static_cast<std::size_t>(-1) || in_size != 0) return {};
  if (iconv(cd, nullptr, nullptr, &out_ptr, &out_left) == static_cast<std::size_t>(-1)) return {};
  return std::string(out, sizeof out - out_left);
}

char32_t FromUtf32(const std::string& bytes) {
  if (bytes.size() != 4) return 0;
  char32_t c = 0;
  for (int k = 3; k >= 0; --k) c = (c << 8) | static_cast<unsigned char>(bytes[static_cast<std::size_t>(k)]);
  return c;
}

}  // namespace

struct CodePage936::Converters {
  static inline const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);
  iconv_t decode = iconv_open("UTF-32LE", "CP936");
  iconv_t encode = iconv_open("CP936", "UTF-32LE");
  ~Converters() {
    if (decode != kNoConverter) iconv_close(decode);
    if (encode != kNoConverter) iconv_close(encode);
  }
};

CodePage936::CodePage936() : converters_(std::make_unique<Converters>()) {}
CodePage936::~CodePage936() = default;

char32_t CodePage936::DecodeByte(unsigned char byte) {
  if (byte == 0xFF) return kByteFF;
  if (converters_->decode == Converters::kNoConverter) return 0;
  const char in = static_cast<char>(byte);
  return FromUtf32(Convert(converters_->decode, &in, 1));
}

char32_t CodePage936::DecodePair(unsigned char lead, unsigned char trail) {
  if (converters_->decode == Converters::kNoConverter) return 0;
  const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
  const char32_t c = FromUtf32(Convert(converters_->decode, in, 2));
  return c != 0 ? c : PrivateUseOf(lead, trail);
}

std::string CodePage936::Encode(char32_t c) {
  if (c < 0x80 || c > 0xFFFF || (c >= 0xD800 && c <= 0xDFFF)) return {};
  if (converters_->encode == Converters::kNoConverter) return {};
  const char in[4] = {static_cast<char>(c & 0xFF), static_cast<char>((c >> 8) & 0xFF), 0, 0};
  std::string bytes = Convert(converters_->encode, in, 4);
  return bytes.empty() ? CodeOfPrivateUse(c) : bytes;
}

}  // namespace vornick
