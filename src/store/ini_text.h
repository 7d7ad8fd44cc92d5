// A private-profile (INI) file held as its bytes, read and edited the way the
// Windows profile functions read and edit it, with one difference on purpose:
// every line that an edit does not change stays exactly as it was.
//
// A file is GBK (code page 936) unless it begins with a UTF-8 or UTF-16LE
// byte-order mark, as the system's profile functions also accept. Names and
// values going in and coming out are UTF-8.
//
// Reading: lines end at CR LF, LF or CR; blanks, tabs and other control
// spaces around lines, names and values are ignored; "[name]" starts a
// section (the last "]" closes the name); ";" starts a comment; a line with
// "=" is a key, a line without one a key without a value. Names match without
// regard to the case of ASCII letters. Only the first section of a name is
// looked at, and the first key of a name in it. A value in matching single or
// double quotes loses them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vornick {

// A value read is cut to what a 10,240-byte buffer holds besides its zero
// byte: 10,239 GBK bytes, less one when that would split a character.
inline constexpr std::size_t kIniValueLimit = 10239;

// The value of `key` in `section`; nullopt when the section is missing, the
// key is missing, or its line has no "=".
std::optional<std::string> ReadIniValue(std::string_view file, std::string_view section, std::string_view key);

// `file` with `key` in `section` set to `value`: the key's line is rewritten
// in place, a missing key goes after the last line of its section, a missing
// section at the end of the file; lines added end in CR LF. The value is cut
// at its first line break or zero byte, so it can never add a line.
std::string WriteIniValue(std::string_view file, std::string_view section, std::string_view key,
                          std::string_view value);

}  // namespace vornick
