#include "capture/point_entry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_form.h"
#include "engine/point_table.h"
#include "fakes/fake_form.h"

namespace vornick {
namespace {

class PointEntryTest : public ::testing::Test {
 protected:
  testing::FakeSystem system;
  testing::FakeForm form{MainFormSpec(), system};
  ProgramState state;
  Ports ports{form, system, state};
  PointTable table{form};

  void Fill(int row, const char* x, const char* y) {
    table.SetXText(row, x);
    table.SetYText(row, y);
  }
  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    for (int row = 1; row <= kRowCount; ++row) rows.push_back(table.XText(row) + "," + table.YText(row));
    return rows;
  }
};

struct EntryCase {
  const char* name;
  std::vector<std::pair<const char*, const char*>> rows;  // rows 1.. before the click
  int written_row;
};

TEST_F(PointEntryTest, WritesTheCursorIntoTheFirstFreeRow) {
  const EntryCase cases[] = {
      {"all rows empty", {}, 1},
      {"row 3 with X and an empty Y", {{"10", "20"}, {"30", "40"}, {"150", ""}}, 3},
      {"row 1 with an empty X and Y 300", {{"", "300"}}, 1},
      {"placeholders count as occupied", {{"1", "2"}, {"3", "4"}, {"5", "6"}, {"X坐标4", "Y坐标4"}}, 5},
      {"a placeholder X with an empty Y is free", {{"1", "2"}, {"3", "4"}, {"5", "6"}, {"X坐标4", ""}}, 4},
      {"spaces and words count as occupied", {{" ", "abc"}}, 2},
      {"the last row",
       {{"1", "1"}, {"2", "2"}, {"3", "3"}, {"4", "4"}, {"5", "5"}, {"6", "6"}, {"7", "7"}, {"8", "8"}, {"9", "9"}},
       10},
  };
  for (const EntryCase& c : cases) {
    for (int row = 1; row <= kRowCount; ++row) Fill(row, "", "");
    for (std::size_t i = 0; i < c.rows.size(); ++i) Fill(static_cast<int>(i) + 1, c.rows[i].first, c.rows[i].second);
    std::vector<std::string> expected = Rows();
    expected[c.written_row - 1] = "-200,1079";
    system.cursor_x = -200;  // a monitor left of the primary one
    system.cursor_y = 1079;
    system.modal_calls.clear();
    form.Set(KindControl(c.written_row), Prop::Selected, 2);

    EnterCapturedPoint(ports, 256, 2);

    EXPECT_EQ(Rows(), expected) << c.name;
    EXPECT_EQ(form.Text("状态标签"), "坐标" + std::to_string(c.written_row) + "写入成功！") << c.name;
    EXPECT_EQ(system.modal_calls, std::vector<std::string>{"CloseRequest CaptureWindow"}) << c.name;
    EXPECT_EQ(table.ClickKind(c.written_row), 2) << c.name;
    EXPECT_EQ(table.DelayText(c.written_row), "100") << c.name;
  }
  EXPECT_TRUE(system.messages.empty());
}

TEST_F(PointEntryTest, AFullTableIsReportedAndLeftAlone) {
  for (int row = 1; row <= kRowCount; ++row) Fill(row, "X坐标1", "7");
  const std::vector<std::string> before = Rows();

  EnterCapturedPoint(ports, 256, 2);

  EXPECT_EQ(Rows(), before);
  EXPECT_EQ(form.Text("状态标签"), "您已成功写入所有坐标，请点启动开始运行！");
  EXPECT_EQ(system.modal_calls, std::vector<std::string>{"CloseRequest CaptureWindow"});
  ASSERT_EQ(system.messages.size(), 1u);
  EXPECT_EQ(system.messages[0].text, "坐标已满，请开始运行！");
  EXPECT_EQ(system.messages[0].caption, "警告:");
}

TEST_F(PointEntryTest, ActsOnlyOnThePrimaryButtonWithAPositiveCode) {
  system.cursor_x = 5;
  system.cursor_y = 6;
  const struct {
    std::int32_t index, code;
    bool writes;
  } events[] = {{257, 2, false},  {258, 2, false}, {258, 3, false}, {256, 0, false}, {255, 2, false},
                {256, -1, false}, {256, 1, true},  {256, 3, true},  {256, 2, true}};
  for (const auto& e : events) {
    Fill(1, "", "");
    EnterCapturedPoint(ports, e.index, e.code);
    EXPECT_EQ(table.XText(1), e.writes ? "5" : "") << e.index << "," << e.code;
  }
}

}  // namespace
}  // namespace vornick
