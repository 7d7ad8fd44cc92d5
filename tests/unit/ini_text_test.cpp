#include "store/ini_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/gbk_codec.h"

namespace vornick {
namespace {

constexpr std::nullopt_t kMissing = std::nullopt;

// The tables spell files in UTF-8 for reading's sake; Gbk() gives their bytes.
std::string Gbk(std::string_view utf8) { return Utf8ToGbk(utf8); }
std::string Utf16(std::u16string_view text) {
  std::string out = "\xFF\xFE";
  for (char16_t c : text) out += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  return out;
}
std::string Bytes(std::string_view s) { return std::string(s); }

// Long values are shown by their length and ends only.
std::string Shown(const std::optional<std::string>& v) {
  if (!v) return "(missing)";
  if (v->size() <= 80) return "\"" + *v + "\"";
  return std::to_string(v->size()) + " bytes \"" + v->substr(0, 20) + "..." + v->substr(v->size() - 20) + "\"";
}

struct ReadCase {
  const char* name;
  std::string file;
  std::string_view key;
  std::optional<std::string> value;
};

TEST(IniTextTest, Reading) {
  const std::string big_ascii(10300, '7');
  std::string big_gbk, odd_gbk = "7";
  for (int i = 0; i < 5200; ++i) big_gbk += "\xD7\xF8", odd_gbk += "\xD7\xF8";  // 坐
  std::string cut_gbk;
  for (int i = 0; i < 5119; ++i) cut_gbk += "坐";

  const ReadCase cases[] = {
      {"empty file", "", "X坐标1", kMissing},
      {"section missing", Gbk("[其他]\r\nX坐标1=5\r\n"), "X坐标1", kMissing},
      {"key missing", Gbk("[配置1]\r\nY坐标1=5\r\n"), "X坐标1", kMissing},
      {"plain", Gbk("[配置1]\r\nX坐标1=5\r\n"), "X坐标1", "5"},
      {"empty value is a value", Gbk("[配置1]\r\nX坐标3=\r\n"), "X坐标3", ""},
      {"a line without = has no value", Gbk("[配置1]\r\nX坐标1\r\n"), "X坐标1", kMissing},
      {"not a number", Gbk("[配置1]\r\nX坐标延时1=abc\r\n"), "X坐标延时1", "abc"},
      {"blanks and tabs around", Gbk("[配置1]\r\n \t X坐标1\t = \t5 \t\r\n"), "X坐标1", "5"},
      {"control spaces around", Gbk("[配置1]\r\nX坐标1\f=\v5\x1A\r\n"), "X坐标1", "5"},
      {"ideographic spaces stay", Gbk("[配置1]\r\nX坐标1=　5　\r\n"), "X坐标1", "　5　"},
      {"inner blanks stay", Gbk("[配置1]\r\nX坐标1=1 2\r\n"), "X坐标1", "1 2"},
      {"ASCII case ignored", Gbk("[配置1]\r\nx坐标1=5\r\n"), "X坐标1", "5"},
      {"full-width letters differ", Gbk("[配置1]\r\nｘ坐标1=5\r\n"), "Ｘ坐标1", kMissing},
      {"a trail byte is no letter", Gbk("[配置1]\r\n") + "\x81\x41=5\r\n", "\xE4\xB9\xA4", kMissing},  // 81 61 in GBK
      {"blanks inside brackets", Gbk("  [ 配置1 ]  \r\nX坐标1=5\r\n"), "X坐标1", "5"},
      {"text after the header", Gbk("[配置1] 注释\r\nX坐标1=5\r\n"), "X坐标1", "5"},
      {"the last ] closes the name", Gbk("[配置1]x]\r\nX坐标1=5\r\n"), "X坐标1", kMissing},
      {"no ] is no header", Gbk("[配置1]\r\n[其他\r\nX坐标1=5\r\n"), "X坐标1", "5"},
      {"a ] trail byte closes nothing", Gbk("[配置1]\r\n[") + "\x81]\r\n" + Gbk("X坐标1=5\r\n"), "X坐标1", "5"},
      {"comment", Gbk("[配置1]\r\n;X坐标1=5\r\n"), "X坐标1", kMissing},
      {"; inside a value", Gbk("[配置1]\r\nX坐标1=5 ;注\r\n"), "X坐标1", "5 ;注"},
      {"= inside a value", Gbk("[配置1]\r\nX坐标1=a=b\r\n"), "X坐标1", "a=b"},
      {"double quotes", Gbk("[配置1]\r\nX坐标1=\"5\"\r\n"), "X坐标1", "5"},
      {"single quotes", Gbk("[配置1]\r\nX坐标1='5'\r\n"), "X坐标1", "5"},
      {"quotes keep inner blanks", Gbk("[配置1]\r\nX坐标1=\" 5 \"\r\n"), "X坐标1", " 5 "},
      {"empty quotes", Gbk("[配置1]\r\nX坐标1=\"\"\r\n"), "X坐标1", ""},
      {"a lone quote", Gbk("[配置1]\r\nX坐标1=\"\r\n"), "X坐标1", "\""},
      {"unlike quotes", Gbk("[配置1]\r\nX坐标1=\"5'\r\n"), "X坐标1", "\"5'"},
      {"first of two keys", Gbk("[配置1]\r\nX坐标1=5\r\nX坐标1=6\r\n"), "X坐标1", "5"},
      {"only the first section", Gbk("[配置1]\r\na=1\r\n[配置1]\r\nX坐标1=6\r\n"), "X坐标1", kMissing},
      {"keys before any section", Gbk("X坐标1=5\r\n[配置1]\r\n"), "X坐标1", kMissing},
      {"LF lines", Gbk("[配置1]\nX坐标1=5\n"), "X坐标1", "5"},
      {"CR lines", Gbk("[配置1]\rX坐标1=5\r"), "X坐标1", "5"},
      {"no last line break", Gbk("[配置1]\r\nX坐标1=5"), "X坐标1", "5"},
      {"zero byte ends the value", Gbk("[配置1]\r\nX坐标1=5") + Bytes({"\0" "6\r\n", 4}), "X坐标1", "5"},
      {"UTF-8 with BOM", "\xEF\xBB\xBF[配置1]\r\nX坐标1=中\r\n", "X坐标1", "中"},
      {"UTF-8 without BOM is GBK", "[配置1]\r\nX坐标1=5\r\n", "X坐标1", kMissing},
      {"UTF-16 with BOM", Utf16(u"[配置1]\r\nX坐标1=中\r\n"), "X坐标1", "中"},
      {"garbage lines", Bytes("\x81\xFF") + Bytes({"\0\x01[\r\n=\r\n", 8}) + Gbk("[配置1]\r\n]]\r\nX坐标1=5\r\n"),
       "X坐标1", "5"},
      {"value at the limit", Gbk("[配置1]\r\nX坐标1=") + std::string(10239, '7'), "X坐标1", std::string(10239, '7')},
      {"long value cut", Gbk("[配置1]\r\nX坐标1=") + big_ascii, "X坐标1", std::string(10239, '7')},
      {"cut never splits a character", Gbk("[配置1]\r\nX坐标1=") + big_gbk, "X坐标1", cut_gbk},
      {"cut after a character", Gbk("[配置1]\r\nX坐标1=") + odd_gbk, "X坐标1", "7" + cut_gbk},
      {"quotes go before the cut", Gbk("[配置1]\r\nX坐标1=\"") + std::string(10239, '7') + "\"", "X坐标1",
       std::string(10239, '7')},
  };
  for (const ReadCase& c : cases) {
    const std::optional<std::string> got = ReadIniValue(c.file, "配置1", c.key);
    EXPECT_TRUE(got == c.value) << c.name << ": got " << Shown(got) << ", want " << Shown(c.value);
  }
}

struct WriteCase {
  const char* name;
  std::string before;
  std::string_view key;
  std::string_view value;
  std::string after;
};

TEST(IniTextTest, Writing) {
  const WriteCase cases[] = {
      {"new file", "", "X坐标1", "5", Gbk("[配置1]\r\nX坐标1=5\r\n")},
      {"empty value kept as a key", "", "X坐标1", "", Gbk("[配置1]\r\nX坐标1=\r\n")},
      {"replace in place", Gbk("[配置1]\r\nX坐标1=5\r\nY坐标1=6\r\n"), "X坐标1", "7",
       Gbk("[配置1]\r\nX坐标1=7\r\nY坐标1=6\r\n")},
      {"the line keeps its own break", Gbk("[配置1]\nX坐标1=5\nY坐标1=6"), "X坐标1", "7",
       Gbk("[配置1]\nX坐标1=7\nY坐标1=6")},
      {"the line keeps its name", Gbk("[配置1]\r\n  x坐标1 = 5 \r\n"), "X坐标1", "7", Gbk("[配置1]\r\nx坐标1=7\r\n")},
      {"a line without = gets its value", Gbk("[配置1]\r\nX坐标1\r\nY=1\r\n"), "X坐标1", "7",
       Gbk("[配置1]\r\nX坐标1=7\r\nY=1\r\n")},
      {"append after the section's last line", Gbk("[配置1]\r\nA=1\r\n;注释\r\n\r\n[其他]\r\nB=2\r\n"), "X坐标1", "7",
       Gbk("[配置1]\r\nA=1\r\n;注释\r\nX坐标1=7\r\n\r\n[其他]\r\nB=2\r\n")},
      {"append to an empty section", Gbk("[配置1]\r\n[其他]\r\n"), "X坐标1", "7",
       Gbk("[配置1]\r\nX坐标1=7\r\n[其他]\r\n")},
      {"append at the end without a line break", Gbk("[配置1]\r\nA=1"), "X坐标1", "7",
       Gbk("[配置1]\r\nA=1\r\nX坐标1=7\r\n")},
      {"append a section", Gbk("[其他]\r\nB=2\r\n"), "X坐标1", "7", Gbk("[其他]\r\nB=2\r\n[配置1]\r\nX坐标1=7\r\n")},
      {"append a section without a line break", Gbk("[其他]\r\nB=2"), "X坐标1", "7",
       Gbk("[其他]\r\nB=2\r\n[配置1]\r\nX坐标1=7\r\n")},
      {"LF file keeps its lines", Gbk("[其他]\nB=2\n[配置1]\nA=1\n"), "X坐标1", "7",
       Gbk("[其他]\nB=2\n[配置1]\nA=1\nX坐标1=7\r\n")},
      {"everything else kept byte for byte",
       Gbk("; 手写\r\n\r\n  奇怪的行  \r\n[其他]  \r\n B = 2 \r\n") + Bytes({"\x81\xFF\0\r\n", 5}) +
           Gbk("[配置1]\r\nX坐标1=1\r\n\t Y坐标1 = 2 \r\n"),
       "X坐标1", "7",
       Gbk("; 手写\r\n\r\n  奇怪的行  \r\n[其他]  \r\n B = 2 \r\n") + Bytes({"\x81\xFF\0\r\n", 5}) +
           Gbk("[配置1]\r\nX坐标1=7\r\n\t Y坐标1 = 2 \r\n")},
      {"a line break cannot add lines", Gbk("[配置1]\r\nX坐标1=1\r\n"), "X坐标1", "7\r\n[其他]\r\nX坐标1=9",
       Gbk("[配置1]\r\nX坐标1=7\r\n")},
      {"a lone LF or CR neither", "", "X坐标1", "7\n8", Gbk("[配置1]\r\nX坐标1=7\r\n")},
      {"a zero byte ends the value", "", "X坐标1", std::string_view("7\0" "8", 3), Gbk("[配置1]\r\nX坐标1=7\r\n")},
      {"the value as the box holds it", "", "X坐标1", "  7 ", Gbk("[配置1]\r\nX坐标1=  7 \r\n")},
      {"no GBK code becomes ?", "", "X坐标1", "7\xF0\x9F\x98\x80", Gbk("[配置1]\r\nX坐标1=7?\r\n")},
      {"only the first section", Gbk("[配置1]\r\na=1\r\n[配置1]\r\nX坐标1=6\r\n"), "X坐标1", "7",
       Gbk("[配置1]\r\na=1\r\nX坐标1=7\r\n[配置1]\r\nX坐标1=6\r\n")},
      {"header without ] kept", Gbk("[配置1\r\nX坐标1=5\r\n"), "X坐标1", "7",
       Gbk("[配置1\r\nX坐标1=5\r\n[配置1]\r\nX坐标1=7\r\n")},
      {"UTF-8 file stays UTF-8", "\xEF\xBB\xBF[其他]\r\nB=2\r\n", "X坐标1", "中",
       "\xEF\xBB\xBF[其他]\r\nB=2\r\n[配置1]\r\nX坐标1=中\r\n"},
      {"UTF-16 file stays UTF-16", Utf16(u"[配置1]\r\nX坐标1=5\r\n\xD800z=1\r\n"), "X坐标1", "中",
       Utf16(u"[配置1]\r\nX坐标1=中\r\n\xD800z=1\r\n")},
  };
  for (const WriteCase& c : cases) {
    const std::string after = WriteIniValue(c.before, "配置1", c.key, c.value);
    EXPECT_EQ(after, c.after) << c.name;
  }
}

TEST(IniTextTest, WhatIsWrittenReadsBack) {
  const std::string_view values[] = {"", "0", "123", "abc", "X坐标1", "a=b", "[配置1]", ";x", "'q", "€"};
  std::string file = Gbk("; 手写\r\n[其他]\r\nX坐标1=other\r\n");
  for (std::string_view v : values) {
    file = WriteIniValue(file, "配置1", "X坐标1", v);
    EXPECT_EQ(ReadIniValue(file, "配置1", "X坐标1"), v);
    EXPECT_EQ(ReadIniValue(file, "其他", "X坐标1"), "other");
  }
  EXPECT_EQ(file, Gbk("; 手写\r\n[其他]\r\nX坐标1=other\r\n[配置1]\r\nX坐标1=€\r\n"));
}

}  // namespace
}  // namespace vornick
