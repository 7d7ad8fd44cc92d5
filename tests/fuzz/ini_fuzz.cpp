// Fuzzes the INI reader and writer with arbitrary files, names and values:
// no crash or sanitizer report; a value written reads back as written (cut
// at a line break, without surrounding blanks or quotes, within the buffer
// size); writing it again changes nothing; and an edit never touches more
// than the one line it is about.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/gbk_codec.h"
#include "store/ini_text.h"

namespace {

using vornick::IsGbkLeadByte;
using vornick::IsGbkTrailByte;

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1A'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

// What reading gives back for a written value, worked out the plain way.
std::string Expected(std::string_view value) {
  std::string gbk = vornick::Utf8ToGbk(value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3))));
  std::string_view v = Trim(gbk);
  if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]) v = v.substr(1, v.size() - 2);
  std::size_t end = 0;
  while (end < v.size()) {
    const bool pair = IsGbkLeadByte(static_cast<unsigned char>(v[end])) && end + 1 < v.size() &&
                      IsGbkTrailByte(static_cast<unsigned char>(v[end + 1]));
    if (end + (pair ? 2 : 1) > vornick::kIniValueLimit) break;
    end += pair ? 2 : 1;
  }
  return vornick::GbkToUtf8(v.substr(0, end));
}

// Names that a line can hold: no line break, no "=" in a key, and a key that
// does not start like a comment or a section header (its line would read as one).
bool Writable(std::string_view section, std::string_view key) {
  if (section.find_first_of("\r\n") != std::string_view::npos) return false;
  if (key.find_first_of("\r\n=") != std::string_view::npos) return false;
  const std::string_view k = Trim(key);
  return k.empty() || (k[0] != ';' && k[0] != '[');
}

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string section = in.ConsumeRandomLengthString(24);
  const std::string key = in.ConsumeRandomLengthString(24);
  const std::string value = in.ConsumeRandomLengthString(in.remaining_bytes());
  const std::string file = in.ConsumeRemainingBytesAsString();

  (void)vornick::ReadIniValue(file, section, key);
  const std::string after = vornick::WriteIniValue(file, section, key, value);
  if (!Writable(section, key)) return 0;

  Check(vornick::ReadIniValue(after, section, key) == Expected(value), "a written value reads back");
  Check(vornick::WriteIniValue(after, section, key, value) == after, "writing the same value again changes nothing");

  // UTF-16 files are compared as text, not bytes.
  if (file.starts_with("\xFF\xFE")) return 0;
  std::size_t prefix = 0;
  while (prefix < file.size() && prefix < after.size() && file[prefix] == after[prefix]) ++prefix;
  std::size_t suffix = 0;
  while (suffix < file.size() - prefix && suffix < after.size() - prefix &&
         file[file.size() - 1 - suffix] == after[after.size() - 1 - suffix])
    ++suffix;
  const std::string_view removed = std::string_view(file).substr(prefix, file.size() - prefix - suffix);
  Check(removed.find_first_of("\r\n") == std::string_view::npos, "only one line changes");
  return 0;
}
