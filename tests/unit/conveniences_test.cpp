#include "app/conveniences.h"

#include "app_fixture.h"
#include "engine/point_table.h"

namespace vornick::testing {
namespace {

class ConveniencesTest : public AppFixture {
 protected:
  PointTable table{form};
};

TEST_F(ConveniencesTest, FillDelaysWritesTheIntegerOfTheTotalIntoEveryRow) {
  const struct {
    const char* typed;
    const char* written;
  } cases[] = {{"250ms", "250"}, {" -20", "-20"}, {"2.9", "2"}, {"１５０", "150"}, {"abc", "0"}, {"", "0"}};
  for (const auto& c : cases) {
    form.Type("X坐标总延时", c.typed);
    form.SetText(kStatusLabel, "");
    form.Click("一键填入");
    for (int row = 1; row <= kRowCount; ++row) EXPECT_EQ(table.DelayText(row), c.written) << c.typed;
    EXPECT_EQ(form.Text(kStatusLabel), "延时已写入！");
    EXPECT_EQ(form.Text("X坐标总延时"), c.typed);
  }
}

TEST_F(ConveniencesTest, ClearEmptiesOnlyTheCoordinatesAfterTheStatus) {
  for (int row = 1; row <= kRowCount; ++row) {
    table.SetXText(row, "1" + std::to_string(row));
    table.SetYText(row, "2" + std::to_string(row));
    table.SetDelayText(row, "7");
    form.Set(KindControl(row), Prop::Selected, 2);
  }
  form.Type(kLoopCountControl, "5");
  form.Type(kEndDelayControl, "300");
  form.SetText("标签1", "当前循环次数：3");
  form.text_writes.clear();

  form.Click("一键清空");

  ASSERT_EQ(form.text_writes.size(), 21u);
  EXPECT_EQ(form.text_writes.front(), "状态标签=坐标已清空！");
  for (int row = 1; row <= kRowCount; ++row) {
    EXPECT_EQ(form.text_writes[row], XControl(row) + "=");
    EXPECT_EQ(form.text_writes[kRowCount + row], YControl(row) + "=");
    EXPECT_EQ(table.DelayText(row), "7");
    EXPECT_EQ(table.ClickKind(row), 2);
  }
  EXPECT_EQ(table.LoopCountText(), "5");
  EXPECT_EQ(table.EndDelayText(), "300");
  EXPECT_EQ(form.Text("标签1"), "当前循环次数：3");
}

TEST_F(ConveniencesTest, ClickThroughSwitchAlwaysShowsExactlyOneButton) {
  auto visible = [&](std::string_view b) { return form.Get(b, Prop::Visible); };
  EXPECT_EQ(visible(kClickThroughOffButton), 1);
  EXPECT_EQ(visible(kClickThroughOnButton), 0);
  for (int i = 0; i < 4; ++i) {
    const bool on = visible(kClickThroughOffButton) == 1;
    form.Click(on ? kClickThroughOffButton : kClickThroughOnButton);
    EXPECT_EQ(visible(kClickThroughOffButton), on ? 0 : 1);
    EXPECT_EQ(visible(kClickThroughOnButton), on ? 1 : 0);
  }
}

TEST_F(ConveniencesTest, AutoMinimizeStartsCheckedAndTheFlagFollowsTheBox) {
  EXPECT_EQ(state.auto_minimize_flag, 0);
  StartUp();
  EXPECT_EQ(form.Get(kAutoMinimizeBox, Prop::Checked), 1);
  EXPECT_EQ(state.auto_minimize_flag, 1);
  form.Click(kAutoMinimizeBox);
  EXPECT_EQ(state.auto_minimize_flag, 0);
  form.Click(kAutoMinimizeBox);
  EXPECT_EQ(state.auto_minimize_flag, 1);
}

TEST_F(ConveniencesTest, KeepOnTopFollowsTheBox) {
  EXPECT_EQ(form.Get(kMainWindow, Prop::AlwaysOnTop), 1);
  form.Click(kKeepOnTopBox);
  EXPECT_EQ(form.Get(kMainWindow, Prop::AlwaysOnTop), 0);
  form.Click(kKeepOnTopBox);
  EXPECT_EQ(form.Get(kMainWindow, Prop::AlwaysOnTop), 1);
}

}  // namespace
}  // namespace vornick::testing
