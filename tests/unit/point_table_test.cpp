#include "engine/point_table.h"

#include <gtest/gtest.h>

#include "app/main_form.h"
#include "fakes/fake_form.h"

namespace vornick {
namespace {

class PointTableTest : public ::testing::Test {
 protected:
  testing::FakeSystem system;
  testing::FakeForm form{MainFormSpec(), system};
  PointTable table{form};

  void Fill(int row, const char* x, const char* y) {
    table.SetXText(row, x);
    table.SetYText(row, y);
  }
};

TEST_F(PointTableTest, RowsMapToTheirControls) {
  Fill(10, "7", "8");
  table.SetDelayText(10, "250");
  EXPECT_EQ(form.Text("X坐标10"), "7");
  EXPECT_EQ(form.Text("Y坐标10"), "8");
  EXPECT_EQ(form.Text("X坐标延时10"), "250");
  EXPECT_EQ(table.ClickKind(10), 0);
  form.Set("X坐标指令3", Prop::Selected, 3);
  EXPECT_EQ(table.ClickKind(3), 3);
  EXPECT_EQ(table.LoopCountText(), "1");
  EXPECT_EQ(table.EndDelayText(), "1000");
}

struct RowCase {
  const char* x;
  const char* y;
  bool skipped;
  bool occupied;
};

TEST_F(PointTableTest, SkippedAndOccupiedRows) {
  const RowCase cases[] = {
      {"", "", true, false},
      {"100", "", true, false},
      {"", "300", true, false},
      {"X坐标3", "40", true, true},   // its own placeholder
      {"X坐标4", "40", false, true},  // another row's placeholder is just text
      {"10", "Y坐标3", true, true},
      {"X坐标3", "Y坐标3", true, true},
      {"X坐标3", "", true, false},
      {"abc", "40", false, true},
      {" ", " ", false, true},  // one space is neither empty nor a placeholder
      {"10", "20", false, true},
  };
  for (const RowCase& c : cases) {
    Fill(3, c.x, c.y);
    EXPECT_EQ(table.IsRowSkipped(3), c.skipped) << "x=" << c.x << " y=" << c.y;
    EXPECT_EQ(table.IsRowOccupied(3), c.occupied) << "x=" << c.x << " y=" << c.y;
  }
}

TEST_F(PointTableTest, ReadsTheControlAtEveryCall) {
  Fill(1, "1", "2");
  EXPECT_FALSE(table.IsRowSkipped(1));
  form.SetText("Y坐标1", "");
  EXPECT_TRUE(table.IsRowSkipped(1));
}

}  // namespace
}  // namespace vornick
