#include "store/ini_text.h"

#include <vector>

#include "platform/gbk_codec.h"
#include "platform/utf8.h"

namespace vornick {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16Bom = "\xFF\xFE";
constexpr std::string_view kNewLine = "\r\n";

// The file's text in a byte encoding the parser walks: GBK as it is, UTF-8 as
// it is, UTF-16 converted to UTF-8 (WTF-8, so it converts back exactly).
struct Text {
  enum class Encoding { Gbk, Utf8, Utf16 } encoding = Encoding::Gbk;
  std::string body;
  std::string odd_byte;  // the last byte of a UTF-16 file of odd length

  bool IsGbk() const { return encoding == Encoding::Gbk; }
};

Text Decode(std::string_view file) {
  Text text;
  if (file.starts_with(kUtf8Bom)) {
    text.encoding = Text::Encoding::Utf8;
    text.body = file.substr(kUtf8Bom.size());
  } else if (file.starts_with(kUtf16Bom)) {
    text.encoding = Text::Encoding::Utf16;
    file.remove_prefix(kUtf16Bom.size());
    if (file.size() % 2 != 0) {
      text.odd_byte.assign(1, file.back());
      file.remove_suffix(1);
    }
    const auto unit = [&](std::size_t k) {
      return static_cast<char32_t>(static_cast<unsigned char>(file[2 * k]) |
                                   static_cast<unsigned char>(file[2 * k + 1]) << 8);
    };
    const std::size_t units = file.size() / 2;
    for (std::size_t k = 0; k < units; ++k) {
      char32_t c = unit(k);
      if (c >= 0xD800 && c <= 0xDBFF && k + 1 < units && unit(k + 1) >= 0xDC00 && unit(k + 1) <= 0xDFFF)
        c = 0x10000 + ((c - 0xD800) << 10) + (unit(++k) - 0xDC00);
      utf8::Append(text.body, c);
    }
  } else {
    text.body = file;
  }
  return text;
}

std::string Encode(const Text& text) {
  switch (text.encoding) {
    case Text::Encoding::Gbk:
      return text.body;
    case Text::Encoding::Utf8:
      return std::string(kUtf8Bom) + text.body;
    case Text::Encoding::Utf16:
      break;
  }
  std::string out(kUtf16Bom);
  const auto put = [&out](char32_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
  };
  for (std::size_t i = 0; i < text.body.size();) {
    char32_t c = utf8::Next(text.body, i, /*allow_surrogates=*/true);
    if (c == utf8::kInvalid) c = 0xFFFD;  // cannot happen: the body is all well-formed
    if (c >= 0x10000) {
      put(0xD800 + ((c - 0x10000) >> 10));
      put(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      put(c);
    }
  }
  return out + text.odd_byte;
}

// Characters in UTF-8 that cannot be written in the file's own encoding
// become '?', as the system's conversion makes them.
std::string ToFileText(std::string_view utf8_text, const Text& text) {
  if (text.IsGbk()) return Utf8ToGbk(utf8_text);
  std::string out;
  for (std::size_t i = 0; i < utf8_text.size();) {
    const char32_t c = utf8::Next(utf8_text, i);
    utf8::Append(out, c == utf8::kInvalid ? U'?' : c);
  }
  return out;
}

// What the system trims around lines, names and values (Ctrl+Z included).
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1A'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

// Length of the character at `i`: two for a GBK lead byte with its trail.
// Every ASCII byte that matters here (spaces, "=", ";", quotes, line breaks)
// is below 0x40 and so never a trail byte, except "]" and the letters.
std::size_t CharLength(std::string_view s, std::size_t i, const Text& text) {
  if (text.IsGbk() && IsGbkLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() &&
      IsGbkTrailByte(static_cast<unsigned char>(s[i + 1])))
    return 2;
  return 1;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Equal but for the case of ASCII letters; a GBK trail byte is no letter.
bool SameName(std::string_view a, std::string_view b, const Text& text) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size();) {
    const std::size_t n = CharLength(a, i, text);
    if (n == 2) {
      if (a.substr(i, 2) != b.substr(i, 2)) return false;
    } else if (AsciiLower(a[i]) != AsciiLower(b[i])) {
      return false;
    }
    i += n;
  }
  return true;
}

struct Line {
  std::size_t begin, end, next;  // text [begin, end), line break [end, next)
};

std::vector<Line> SplitLines(std::string_view body) {
  std::vector<Line> lines;
  for (std::size_t begin = 0; begin < body.size();) {
    std::size_t end = body.find_first_of("\r\n", begin);
    if (end == std::string_view::npos) {
      lines.push_back({begin, body.size(), body.size()});
      break;
    }
    const std::size_t next = body.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
    lines.push_back({begin, end, next});
    begin = next;
  }
  return lines;
}

struct Entry {
  enum class Kind { Blank, Section, Comment, Key } kind = Kind::Blank;
  std::string_view name;
  std::optional<std::string_view> value;  // keys without "=" have none
};

Entry Parse(std::string_view line, const Text& text) {
  line = Trim(line);
  if (line.empty()) return {};
  if (line.front() == ';') return {Entry::Kind::Comment, {}, {}};
  if (line.front() == '[') {
    std::size_t close = std::string_view::npos;
    for (std::size_t i = 1; i < line.size(); i += CharLength(line, i, text))
      if (line[i] == ']') close = i;
    if (close != std::string_view::npos) return {Entry::Kind::Section, Trim(line.substr(1, close - 1)), {}};
  }
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return {Entry::Kind::Key, line, {}};
  return {Entry::Kind::Key, Trim(line.substr(0, eq)), Trim(line.substr(eq + 1))};
}

// Where a key of a section is, or would go.
struct Place {
  std::optional<std::size_t> section;  // line of the first header of that name
  std::optional<std::size_t> key;      // line of the first key of that name in it
  std::size_t last = 0;                // last line of the section that is not blank
};

Place Find(const std::vector<Line>& lines, std::string_view body, std::string_view section, std::string_view key,
           const Text& text) {
  Place place;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const Entry entry = Parse(body.substr(lines[i].begin, lines[i].end - lines[i].begin), text);
    if (entry.kind == Entry::Kind::Section) {
      if (place.section) break;  // only the first section of the name counts
      if (SameName(entry.name, section, text)) place.section = place.last = i;
      continue;
    }
    if (!place.section || entry.kind == Entry::Kind::Blank) continue;
    place.last = i;
    if (entry.kind == Entry::Kind::Key && !place.key && SameName(entry.name, key, text)) place.key = i;
  }
  return place;
}

// The longest start of `gbk` within the limit that does not split a character.
std::string_view CutGbk(std::string_view gbk, std::size_t limit) {
  std::size_t i = 0;
  while (i < gbk.size()) {
    const std::size_t n = IsGbkLeadByte(static_cast<unsigned char>(gbk[i])) && i + 1 < gbk.size() &&
                                  IsGbkTrailByte(static_cast<unsigned char>(gbk[i + 1]))
                              ? 2
                              : 1;
    if (i + n > limit) break;
    i += n;
  }
  return gbk.substr(0, i);
}

}  // namespace

std::optional<std::string> ReadIniValue(std::string_view file, std::string_view section, std::string_view key) {
  const Text text = Decode(file);
  const std::vector<Line> lines = SplitLines(text.body);
  const Place place = Find(lines, text.body, ToFileText(Trim(section), text), ToFileText(Trim(key), text), text);
  if (!place.key) return std::nullopt;
  const Line& line = lines[*place.key];
  const std::optional<std::string_view> value =
      Parse(std::string_view(text.body).substr(line.begin, line.end - line.begin), text).value;
  if (!value) return std::nullopt;
  std::string_view v = value->substr(0, value->find('\0'));  // the caller's buffer ends at a zero byte
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) v = v.substr(1, v.size() - 2);
  const std::string gbk = text.IsGbk() ? std::string(v) : Utf8ToGbk(v);
  return GbkToUtf8(CutGbk(gbk, kIniValueLimit));
}

std::string WriteIniValue(std::string_view file, std::string_view section, std::string_view key,
                          std::string_view value) {
  Text text = Decode(file);
  const std::string section_text = ToFileText(Trim(section), text);
  const std::string key_text = ToFileText(Trim(key), text);
  const std::string value_text = ToFileText(value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3))), text);

  const std::vector<Line> lines = SplitLines(text.body);
  const Place place = Find(lines, text.body, section_text, key_text, text);
  std::string& body = text.body;
  if (place.key) {
    // The line keeps its place, its name as written and its line break.
    const Line& line = lines[*place.key];
    const Entry entry = Parse(std::string_view(body).substr(line.begin, line.end - line.begin), text);
    body.replace(line.begin, line.end - line.begin, std::string(entry.name) + "=" + value_text);
  } else if (place.section) {
    const Line& last = lines[place.last];
    const std::string entry = key_text + "=" + value_text + std::string(kNewLine);
    body.insert(last.next, last.next == last.end ? std::string(kNewLine) + entry : entry);
  } else {
    if (!body.empty() && body.back() != '\n' && body.back() != '\r') body += kNewLine;
    body += "[" + section_text + "]" + std::string(kNewLine) + key_text + "=" + value_text + std::string(kNewLine);
  }
  return Encode(text);
}

}  // namespace vornick
