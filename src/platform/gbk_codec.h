// The settings file holds GBK (code page 936) text; inside the program all
// text is UTF-8. Both directions walk the text one character at a time, so
// every platform treats broken input the same way; only the code page table
// itself (code_page_936.h) comes from the platform.
#pragma once

#include <string>
#include <string_view>

namespace vornick {

// Characters that code page 936 cannot hold, and bytes that are not UTF-8,
// become '?', one per character (or per stray byte).
std::string Utf8ToGbk(std::string_view utf8);

// A lead byte without a valid trail byte, and a byte that is no character,
// become '?'; the byte after an orphaned lead byte is read on its own.
std::string GbkToUtf8(std::string_view gbk);

// True for the first byte of a double-byte GBK character.
constexpr bool IsGbkLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
constexpr bool IsGbkTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }

}  // namespace vornick
