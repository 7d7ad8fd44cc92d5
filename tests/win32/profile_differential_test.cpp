// Our INI reader and writer against the system's own GetPrivateProfileStringA
// and WritePrivateProfileStringA, both given the same starting bytes. Where
// they part, the case records what the system gives, and why we differ.
//
// The recorded results are Wine's; the test runs where Wine's ANSI code page
// is 936 (LC_ALL=zh_CN.UTF-8 with that locale available to Wine).
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/gbk_codec.h"
#include "store/ini_text.h"
#include "temp_folder.h"

namespace vornick {
namespace {

std::string G(std::string_view utf8) { return Utf8ToGbk(utf8); }
std::string Bytes(std::string_view s) { return std::string(s); }
std::string Utf16(std::u16string_view text) {
  std::string out = "\xFF\xFE";
  for (char16_t c : text) out += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  return out;
}
std::string Repeat(std::string_view s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

bool RunningUnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

const std::optional<std::string> kNoFile = std::nullopt;

struct Case {
  const char* name;
  std::optional<std::string> file;  // GBK bytes
  std::string_view key;             // UTF-8, in section 配置1
  std::string_view text;            // the default of a read, the value of a write
  // nullopt: the system gives exactly what we give. Otherwise the system's
  // result (GBK bytes: the value read, or the whole file after the write).
  std::optional<std::string> system_gives;
};

class ProfileDifferentialTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!RunningUnderWine()) GTEST_SKIP() << "the system results recorded here are Wine's";
    if (GetACP() != 936)
      GTEST_SKIP() << "needs ANSI code page 936: run with LC_ALL=zh_CN.UTF-8 (see scripts/with-zh-locale)";
  }

  // A fresh ANSI-named file per call, so no cached copy of the system's is reused.
  std::string NextPath() { return folder.File("case" + std::to_string(++count) + ".ini"); }
  void Prepare(const std::string& path, const std::optional<std::string>& file) {
    if (file) testing::TempFolder::WriteBytes(path, *file);
  }

  testing::TempFolder folder{L"vornick-profile"};
  int count = 0;
};

TEST_F(ProfileDifferentialTest, Reading) {
  const std::string big_gbk = Repeat("\xD7\xF8", 5200);
  const Case cases[] = {
      {"no file", kNoFile, "X坐标1", "d", {}},
      {"plain", G("[配置1]\r\nX坐标1=5\r\n"), "X坐标1", "d", {}},
      {"section missing", G("[其他]\r\nX坐标1=5\r\n"), "X坐标1", "d", {}},
      {"key missing", G("[配置1]\r\nY坐标1=5\r\n"), "X坐标1", "d", {}},
      {"empty value", G("[配置1]\r\nX坐标1=\r\n"), "X坐标1", "d", {}},
      {"no =", G("[配置1]\r\nX坐标1\r\n"), "X坐标1", "d", {}},
      {"blanks and tabs", G("[配置1]\r\n \t X坐标1\t = \t5 \t\r\n"), "X坐标1", "d", {}},
      {"control spaces", G("[配置1]\r\nX坐标1\f=\v5\x1A\r\n"), "X坐标1", "d", {}},
      {"ideographic spaces", G("[配置1]\r\nX坐标1=　5　\r\n"), "X坐标1", "d", {}},
      {"ASCII case", G("[配置1]\r\nx坐标1=5\r\n"), "X坐标1", "d", {}},
      {"full-width case", G("[配置1]\r\nｘ坐标1=5\r\n"), "Ｘ坐标1", "d", {}},
      {"trail byte is no letter", G("[配置1]\r\n") + "\x81\x41=5\r\n", "\xE4\xB9\xA4", "d", {}},
      {"blanks inside brackets", G("  [ 配置1 ]  \r\nX坐标1=5\r\n"), "X坐标1", "d", {}},
      {"text after the header", G("[配置1] x\r\nX坐标1=5\r\n"), "X坐标1", "d", {}},
      {"last ] closes", G("[配置1]x]\r\nX坐标1=5\r\n"), "X坐标1", "d", {}},
      {"no ]", G("[配置1]\r\n[其他\r\nX坐标1=5\r\n"), "X坐标1", "d", {}},
      {"] as a trail byte", G("[配置1]\r\n[") + "\x81]\r\n" + G("X坐标1=5\r\n"), "X坐标1", "d", {}},
      {"comment", G("[配置1]\r\n;X坐标1=5\r\n"), "X坐标1", "d", {}},
      {"; in a value", G("[配置1]\r\nX坐标1=5 ;c\r\n"), "X坐标1", "d", {}},
      {"double quotes", G("[配置1]\r\nX坐标1=\"5\"\r\n"), "X坐标1", "d", {}},
      {"single quotes", G("[配置1]\r\nX坐标1='5'\r\n"), "X坐标1", "d", {}},
      {"quotes and blanks", G("[配置1]\r\nX坐标1=\" 5 \"\r\n"), "X坐标1", "d", {}},
      {"empty quotes", G("[配置1]\r\nX坐标1=\"\"\r\n"), "X坐标1", "d", {}},
      {"lone quote", G("[配置1]\r\nX坐标1=\"\r\n"), "X坐标1", "d", {}},
      {"unlike quotes", G("[配置1]\r\nX坐标1=\"5'\r\n"), "X坐标1", "d", {}},
      {"two keys", G("[配置1]\r\nX坐标1=5\r\nX坐标1=6\r\n"), "X坐标1", "d", {}},
      {"two sections", G("[配置1]\r\na=1\r\n[配置1]\r\nX坐标1=6\r\n"), "X坐标1", "d", {}},
      {"before any section", G("X坐标1=5\r\n[配置1]\r\n"), "X坐标1", "d", {}},
      {"LF lines", G("[配置1]\nX坐标1=5\n"), "X坐标1", "d", {}},
      {"CR lines", G("[配置1]\rX坐标1=5\r"), "X坐标1", "d", {}},
      {"no last break", G("[配置1]\r\nX坐标1=5"), "X坐标1", "d", {}},
      {"zero byte in a value", G("[配置1]\r\nX坐标1=5") + Bytes({"\0" "6\r\n", 4}), "X坐标1", "d", {}},
      {"UTF-8 BOM", "\xEF\xBB\xBF[配置1]\r\nX坐标1=中\r\n", "X坐标1", "d", {}},
      {"UTF-16 BOM", Utf16(u"[配置1]\r\nX坐标1=中\r\n"), "X坐标1", "d", {}},
      {"garbage lines", Bytes("\x81\xFF") + Bytes({"\x01[\r\n=\r\n", 7}) + G("[配置1]\r\n]]\r\nX坐标1=5\r\n"), "X坐标1",
       "d", {}},
      {"at the limit", G("[配置1]\r\nX坐标1=") + std::string(10239, '7'), "X坐标1", "d", {}},
      {"long value cut", G("[配置1]\r\nX坐标1=") + std::string(10300, '7'), "X坐标1", "d", {}},
      {"quoted long value", G("[配置1]\r\nX坐标1=\"") + std::string(10300, '7') + "\"", "X坐标1", "d", {}},
      {"empty default", G("[配置1]\r\n"), "X坐标1", "", {}},

      // Differences. Where the cut falls inside a character, the system
      // reports 10,239 bytes but fills 10,238: the last is whatever the
      // buffer held before (the test's 'Z'). We return the 10,238.
      {"cut in a character", G("[配置1]\r\nX坐标1=") + big_gbk, "X坐标1", "d", Repeat("\xD7\xF8", 5119) + "Z"},
      // The system ends a name at a zero byte; we keep it part of the name.
      {"zero byte in a name", G("[配置1]\r\n") + Bytes({"X\0Y=5\r\n", 7}), "X", "d", "5"},
      // The system drops trailing blanks from the default; the box's own text
      // comes back unchanged with us.
      {"default's trailing blanks", G("[配置1]\r\n"), "X坐标1", "d  ", "d"},
      // A quoted value of exactly the buffer's size loses a character with the system.
      {"quoted value at the limit", G("[配置1]\r\nX坐标1=\"") + std::string(10239, '7') + "\"", "X坐标1", "d",
       std::string(10238, '7')},
  };
  for (const Case& c : cases) {
    const std::string path = NextPath();
    Prepare(path, c.file);
    std::vector<char> buffer(10240 + 16, 'Z');
    const DWORD n = GetPrivateProfileStringA(G("配置1").c_str(), G(c.key).c_str(), G(c.text).c_str(), buffer.data(),
                                             10240, path.c_str());
    const std::string system(buffer.data(), n);
    const std::string ours = G(ReadIniValue(c.file.value_or(""), "配置1", c.key).value_or(std::string(c.text)));
    if (!c.system_gives) {
      EXPECT_EQ(ours, system) << c.name;
    } else {
      EXPECT_EQ(system, *c.system_gives) << c.name << " (the system's behaviour changed)";
      EXPECT_NE(ours, system) << c.name;
    }
  }
}

TEST_F(ProfileDifferentialTest, LongDefaultIsKeptWhole) {
  // Difference: the system cuts a default to its buffer too; the box keeps all of its text.
  const std::string path = NextPath();
  Prepare(path, G("[配置1]\r\n"));
  const std::string long_default(10300, '4');
  std::vector<char> buffer(10240 + 16, 'Z');
  const DWORD n =
      GetPrivateProfileStringA(G("配置1").c_str(), "k", long_default.c_str(), buffer.data(), 10240, path.c_str());
  EXPECT_EQ(n, 10239u);
  EXPECT_EQ(ReadIniValue(G("[配置1]\r\n"), "配置1", "k").value_or(long_default).size(), 10300u);
}

TEST_F(ProfileDifferentialTest, Writing) {
  const Case cases[] = {
      {"new file", kNoFile, "X坐标1", "5", {}},
      {"new file, empty value", kNoFile, "X坐标1", "", {}},
      {"replace", G("[配置1]\r\nX坐标1=5\r\nY坐标1=6\r\n"), "X坐标1", "7", {}},
      {"replace a spaced line", G("[配置1]\r\n  x坐标1 = 5 \r\n"), "X坐标1", "7", {}},
      {"line without =", G("[配置1]\r\nX坐标1\r\nY=1\r\n"), "X坐标1", "7", {}},
      {"append a key", G("[配置1]\r\nA=1\r\n[其他]\r\nB=2\r\n"), "X坐标1", "7", {}},
      {"append after a comment", G("[配置1]\r\nA=1\r\n;c\r\n[其他]\r\nB=2\r\n"), "X坐标1", "7", {}},
      {"append a section", G("[其他]\r\nB=2\r\n"), "X坐标1", "7", {}},
      {"append a section, no last break", G("[其他]\r\nB=2"), "X坐标1", "7", {}},
      {"two sections", G("[配置1]\r\na=1\r\n[配置1]\r\nX坐标1=6\r\n"), "X坐标1", "7", {}},
      {"header without ]", G("[配置1\r\nX坐标1=5\r\n"), "X坐标1", "7", {}},
      {"key before any section", G("X坐标1=5\r\n"), "X坐标1", "7", {}},
      {"quotes written as they are", kNoFile, "X坐标1", "\"7\"", {}},
      {"trailing blanks written", kNoFile, "X坐标1", "7 ", {}},
      {"UTF-8 BOM", "\xEF\xBB\xBF[其他]\r\nB=2\r\n", "X坐标1", "中", {}},

      // Differences: the system rewrites the whole file from what it parsed;
      // we change only the key's line and keep every other byte.
      {"blank line before the next section", G("[配置1]\r\nA=1\r\n\r\n[其他]\r\nB=2\r\n"), "X坐标1", "7",
       G("[配置1]\r\nA=1\r\nX坐标1=7\r\n[其他]\r\nB=2\r\n")},
      {"LF lines", G("[其他]\nB=2\n[配置1]\nA=1\n"), "X坐标1", "7",
       G("[其他]\r\nB=2\r\n[配置1]\r\nA=1\r\nX坐标1=7\r\n")},
      {"hand-made layout", G("; 注\r\n\r\n  奇怪  \r\n[其他]  \r\n B = 2 \r\n[配置1]\r\nX坐标1=1\r\n"), "X坐标1", "7",
       G("; 注\r\n奇怪\r\n[其他]\r\nB=2\r\n[配置1]\r\nX坐标1=7\r\n")},
      {"bytes that are no text", Bytes("\x81\xFF") + Bytes({"\0zz\r\n", 5}) + G("[配置1]\r\n"), "X坐标1", "7",
       G("?\r\n[配置1]\r\nX坐标1=7\r\n")},
      // The system drops a value's leading blanks; we write the box's text as it is.
      {"leading blanks", kNoFile, "X坐标1", "  7", G("[配置1]\r\nX坐标1=7\r\n")},
      // The system writes a line break into the file, adding a section and a key;
      // we cut the value at it.
      {"line break in a value", G("[配置1]\r\nX坐标1=1\r\n"), "X坐标1", "7\r\n[其他]\r\nX坐标1=9",
       G("[配置1]\r\nX坐标1=7\r\n[其他]\r\nX坐标1=9\r\n")},
  };
  for (const Case& c : cases) {
    const std::string path = NextPath();
    Prepare(path, c.file);
    ASSERT_TRUE(WritePrivateProfileStringA(G("配置1").c_str(), G(c.key).c_str(), G(c.text).c_str(), path.c_str()))
        << c.name;
    const std::string system = testing::TempFolder::ReadBytes(path);
    const std::string ours = WriteIniValue(c.file.value_or(""), "配置1", c.key, c.text);
    if (!c.system_gives) {
      EXPECT_EQ(ours, system) << c.name;
    } else {
      EXPECT_EQ(system, *c.system_gives) << c.name << " (the system's behaviour changed)";
      EXPECT_NE(ours, system) << c.name;
    }
  }
}

}  // namespace
}  // namespace vornick
