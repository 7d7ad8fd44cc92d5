// The system's code page 936 table against the same cases and digest as the
// iconv implementation's native test: the two agree byte for byte.
#include "platform/gbk_codec.h"

#include <gtest/gtest.h>

#include "../shared/gbk_cases.h"

namespace vornick {
namespace {

TEST(Win32GbkCodecTest, AgreesWithTheSharedCases) {
  for (const auto& c : gbk_cases::kRoundTrips) {
    EXPECT_EQ(Utf8ToGbk(c.utf8), c.gbk) << c.name;
    EXPECT_EQ(GbkToUtf8(c.gbk), c.utf8) << c.name;
  }
  for (const auto& c : gbk_cases::kToGbk) EXPECT_EQ(Utf8ToGbk(c.utf8), c.gbk) << c.name;
  for (const auto& c : gbk_cases::kToUtf8) EXPECT_EQ(GbkToUtf8(c.gbk), c.utf8) << c.name;
}

TEST(Win32GbkCodecTest, WholeTableMatchesTheIconvImplementation) {
  EXPECT_EQ(gbk_cases::FullTableDigest(GbkToUtf8, Utf8ToGbk), gbk_cases::kFullTableDigest);
}

}  // namespace
}  // namespace vornick
