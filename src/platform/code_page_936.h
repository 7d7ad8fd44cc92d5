// The code page 936 table, one character at a time, as Windows defines it
// (including the private-use characters it gives to codes GBK leaves
// undefined). Win32 asks the system; other platforms use iconv.
#pragma once

#include <memory>
#include <string>

namespace vornick {

class CodePage936 {
 public:
  CodePage936();
  ~CodePage936();
  CodePage936(const CodePage936&) = delete;
  CodePage936& operator=(const CodePage936&) = delete;

  // The character of a single byte 0x80..0xFF, or 0 when it is none.
  char32_t DecodeByte(unsigned char byte);
  // The character of a lead and trail byte pair, or 0 when it is none.
  char32_t DecodePair(unsigned char lead, unsigned char trail);
  // The bytes of a character above U+007F in the Basic Multilingual Plane,
  // or empty when code page 936 cannot hold it.
  std::string Encode(char32_t c);

 private:
  struct Converters;
  std::unique_ptr<Converters> converters_;
};

}  // namespace vornick
