#include "engine/conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vornick {
namespace {

struct NumberCase {
  const char* text;
  double number;          // TextToNumber
  std::int32_t via_number;  // NumberToInteger(TextToNumber)
  std::int32_t integer;     // TextToInteger
};

class TextConversion : public ::testing::TestWithParam<NumberCase> {};

TEST_P(TextConversion, ReadsTheLeadingNumber) {
  const NumberCase& c = GetParam();
  EXPECT_DOUBLE_EQ(TextToNumber(c.text), c.number) << c.text;
  EXPECT_EQ(NumberToInteger(TextToNumber(c.text)), c.via_number) << c.text;
  EXPECT_EQ(TextToInteger(c.text), c.integer) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextConversion,
    ::testing::Values(
        NumberCase{"120", 120, 120, 120}, NumberCase{"120px", 120, 120, 120},
        NumberCase{"+120", 120, 120, 120}, NumberCase{"120.9", 120.9, 120, 120},
        NumberCase{"  \t\r\n\v\f120", 120, 120, 120},
        NumberCase{"１２０", 120, 120, 120},               // full-width digits
        NumberCase{"－５．５", -5.5, -5, -5},             // full-width sign and point
        NumberCase{"＋７", 7, 7, 7},
        NumberCase{"\u3000\u300042", 42, 42, 42},          // ideographic spaces
        NumberCase{"", 0, 0, 0}, NumberCase{"abc", 0, 0, 0}, NumberCase{"-", 0, 0, 0},
        NumberCase{".", 0, 0, 0}, NumberCase{"-5.5", -5.5, -5, -5}, NumberCase{"1e3", 1000, 1000, 1},
        NumberCase{"2d2", 200, 200, 2}, NumberCase{"2D-1", 0.2, 0, 2}, NumberCase{"3E+2x", 300, 300, 3},
        NumberCase{"5e", 5, 5, 5}, NumberCase{"5e+", 5, 5, 5},  // an exponent without digits is not read
        NumberCase{".5e1", 5, 5, 0}, NumberCase{"1.2.3", 1.2, 1, 1}, NumberCase{"- 5", 0, 0, 0},
        NumberCase{"2147483648", 2147483648.0, INT32_MIN, INT32_MIN},
        NumberCase{"4294967396", 4294967396.0, 100, 100},  // 2^32 + 100
        NumberCase{"-2147483649", -2147483649.0, INT32_MAX, INT32_MAX},
        NumberCase{"1e19", 1e19, 0, 1}, NumberCase{"9223372036854775807", 9223372036854775807.0, 0, -1},
        NumberCase{"-0.9", -0.9, 0, 0}));

TEST(NumberToInteger, TruncatesTowardZeroAndKeepsTheLow32Bits) {
  EXPECT_EQ(NumberToInteger(-2.7), -2);
  EXPECT_EQ(NumberToInteger(2.999), 2);
  EXPECT_EQ(NumberToInteger(4294967296.0 + 100), 100);
  EXPECT_EQ(NumberToInteger(3000000000.0), static_cast<std::int32_t>(3000000000.0 - 4294967296.0));
  EXPECT_EQ(NumberToInteger(-4294967296.0 - 5), -5);
  // Out of range, infinities and NaN give the sign bit alone, whose low half is 0.
  EXPECT_EQ(NumberToInteger(9223372036854775808.0), 0);
  EXPECT_EQ(NumberToInteger(std::numeric_limits<double>::infinity()), 0);
  EXPECT_EQ(NumberToInteger(-std::numeric_limits<double>::infinity()), 0);
  EXPECT_EQ(NumberToInteger(std::nan("")), 0);
}

TEST(TextToNumber, HugeExponentsBecomeInfinityAndTinyOnesZero) {
  EXPECT_TRUE(std::isinf(TextToNumber("1e999")));
  EXPECT_TRUE(std::isinf(TextToNumber("-1d999")));
  EXPECT_EQ(NumberToInteger(TextToNumber("1e999")), 0);
  EXPECT_EQ(TextToNumber("1e-999"), 0.0);
}

TEST(FullWidthFolding, FoldsExactlyTheCodePage936FullWidthRow) {
  EXPECT_EQ(FullWidthFolding("ＡＢｃ！～"), "ABc!~");
  EXPECT_EQ(FullWidthFolding("☆★"), "**");
  EXPECT_EQ(FullWidthFolding("\u3000"), " ");
  EXPECT_EQ(FullWidthFolding("\uFFE5"), "$");   // A3 A4 in code page 936
  EXPECT_EQ(FullWidthFolding("\uFFE3"), "~");   // A3 FE
  EXPECT_EQ(FullWidthFolding("\uFF04"), "\uFF04");  // A1 E7: not in the row, kept
  EXPECT_EQ(FullWidthFolding("坐标"), "坐标");
  EXPECT_EQ(FullWidthFolding("a\u00e9b"), "a\u00e9b");
}

TEST(FullWidthFolding, SurvivesBrokenUtf8) {
  const std::string broken[] = {"\xE4", "1\xE4\xB8", "\xFF\xFE" "5", "\x80" "7", "\xF4\x90\x80\x80", "\xC0\xAF"};
  for (const std::string& text : broken) {
    const std::string folded = FullWidthFolding(text);
    EXPECT_LE(folded.size(), text.size());
    (void)TextToNumber(text);
    (void)TextToInteger(text);
  }
  EXPECT_EQ(TextToInteger("\x80" "7"), 0);
  EXPECT_EQ(TextToInteger("1\xE4\xB8"), 1);
}

TEST(IntegerToText, PlainDecimal) {
  EXPECT_EQ(IntegerToText(-7), "-7");
  EXPECT_EQ(IntegerToText(0), "0");
  EXPECT_EQ(IntegerToText(1234567), "1234567");
  EXPECT_EQ(IntegerToText(INT32_MIN), "-2147483648");
}

}  // namespace
}  // namespace vornick
