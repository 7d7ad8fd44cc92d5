#include "engine/sequence_runner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "fake_program.h"

namespace vornick::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kRunning = "当前状态：正在运行！";
constexpr const char* kLooping = "当前状态：正在循环.....";
constexpr const char* kFinished = "当前状态：循环结束！";
constexpr const char* kStopped = "当前状态：已停止运行！";

std::vector<int> Repeated(std::initializer_list<int> rows, int repeats, int passes = 1) {
  std::vector<int> out;
  for (int pass = 0; pass < passes; ++pass)
    for (int row : rows) out.insert(out.end(), repeats, row);
  return out;
}

struct LoopCase {
  const char* loop_count;
  int repeats;  // clicks of each filled row per pass
  int passes;
};

TEST(SequenceRunner, LoopCountGivesPassesAndRepeats) {
  const LoopCase cases[] = {
      {"1", 1, 1}, {"2", 2, 2}, {"0", 0, 0}, {"", 0, 0}, {"abc", 0, 0}, {"-3", 0, 0},
      {"1e3", 1000, 1},  // 1000 passes and repeats, but the end-of-pass test reads 1
  };
  for (const LoopCase& c : cases) {
    SCOPED_TRACE(c.loop_count);
    FakeProgram p;
    p.FillRows({1, 2, 3}, "0");
    p.SetLoopCount(c.loop_count);
    p.Start();

    EXPECT_EQ(p.ClickedRows(), Repeated({1, 2, 3}, c.repeats, c.passes));
    std::vector<std::string> pass_texts;
    for (int pass = 1; pass <= c.passes; ++pass) pass_texts.push_back("当前循环次数：" + IntegerToText(pass));
    EXPECT_EQ(p.WritesTo(kPassCountLabel), pass_texts);
    EXPECT_EQ(p.system.Now(), c.passes * 1000);  // the end delays only
    EXPECT_EQ(p.WritesTo(kStatusLabel).back(), kFinished);
    EXPECT_EQ(p.form.position_history.back(), kPositionNormal);
    EXPECT_EQ(p.state.pass_counter, 0);
    if (c.passes == 0) {
      EXPECT_THAT(p.WritesTo(kStatusLabel), ElementsAre(kFinished));
    }
  }
}

TEST(SequenceRunner, EachClickWaitsItsRowDelayAndEachPassTheEndDelay) {
  FakeProgram p;
  p.FillRows({1, 2, 3, 4});
  p.table.SetDelayText(2, "250");
  p.table.SetDelayText(3, "0");
  p.table.SetDelayText(4, "-5");
  p.SetLoopCount("2");
  p.Start();

  std::vector<std::int64_t> times;
  for (const auto& c : p.system.clicks) times.push_back(c.at_ms);
  // Per pass: 1,1 (100 each), 2,2 (250 each), 3,3 and 4,4 (no wait), then the end delay of 1000.
  EXPECT_THAT(times, ElementsAre(0, 100, 200, 450, 700, 700, 700, 700,  //
                                 1700, 1800, 1900, 2150, 2400, 2400, 2400, 2400));
  EXPECT_EQ(p.system.Now(), 3400);
  std::vector<std::string> pass(9, kLooping);
  pass.front() = kRunning;
  std::vector<std::string> expected = pass;
  expected.insert(expected.end(), pass.begin(), pass.end());
  expected.push_back(kFinished);
  EXPECT_EQ(p.WritesTo(kStatusLabel), expected);
}

TEST(SequenceRunner, ZeroAndNegativeDelaysDispatchNothing) {
  FakeProgram p;
  p.FillRows({1, 2, 3}, "0");
  p.table.SetDelayText(2, "-5");
  p.SetEndDelay("0");
  bool posted_ran = false;
  p.system.Post([&] { posted_ran = true; });
  p.Start();
  EXPECT_EQ(p.system.clicks.size(), 3u);
  EXPECT_FALSE(posted_ran);
}

TEST(SequenceRunner, SkipsEmptyAndPlaceholderRowsRowFiveIncluded) {
  FakeProgram p;
  p.FillRows({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  p.table.SetXText(2, "");
  p.table.SetYText(3, "");
  p.table.SetXText(5, "");  // an empty row 5 no longer ends the pass
  p.table.SetYText(5, "");
  p.table.SetXText(7, "X坐标7");  // its own placeholder
  p.table.SetYText(8, "Y坐标8");
  p.table.SetXText(9, "X坐标8");  // another row's placeholder is just text: X reads 0
  p.Start();
  EXPECT_THAT(p.ClickedRows(), ElementsAre(1, 4, 6, 0, 10));
  EXPECT_EQ(p.system.clicks[3].y, 900);
}

TEST(SequenceRunner, EveryClickReadsTheRowAsItIsThen) {
  FakeProgram p;
  p.FillRows({1, 2});
  p.form.Set(KindControl(1), Prop::Selected, 3);
  p.SetLoopCount("2");
  p.system.At(150, [&] {  // in row 1's second delay
    p.table.SetXText(2, "１２３");
    p.table.SetYText(2, "-45.9");
    p.form.Set(KindControl(2), Prop::Selected, 1);
  });
  p.Start();
  ASSERT_EQ(p.system.clicks.size(), 8u);
  EXPECT_EQ(p.system.clicks[0].kind, 3);
  const FakeSystem::Click& edited = p.system.clicks[2];
  EXPECT_EQ(edited.x, 123);
  EXPECT_EQ(edited.y, -45);
  EXPECT_EQ(edited.kind, 1);
}

TEST(SequenceRunner, LoopCountEditedDuringTheFirstPass) {
  FakeProgram p;
  p.FillRows({1, 2, 3});
  p.SetLoopCount("5");
  p.system.At(150, [&] { p.SetLoopCount("2"); });  // during row 1's five repeats
  p.Start();
  std::vector<int> expected = Repeated({1}, 5);
  for (int row : Repeated({2, 3, 1, 2, 3}, 2)) expected.push_back(row);
  EXPECT_EQ(p.ClickedRows(), expected);
  EXPECT_THAT(p.WritesTo(kPassCountLabel), ElementsAre("当前循环次数：1", "当前循环次数：2"));
}

TEST(SequenceRunner, PassLabelIsNotResetWhenARunStarts) {
  FakeProgram p;
  p.FillRows({1});
  p.SetLoopCount("2");
  p.Start();
  EXPECT_EQ(p.Shown(kPassCountLabel), "当前循环次数：2");

  p.SetLoopCount("1");
  std::string shown_at_click;
  p.system.on_click = [&](const FakeSystem::Click&) { shown_at_click = p.Shown(kPassCountLabel); };
  p.Start();
  EXPECT_EQ(shown_at_click, "当前循环次数：2");
  EXPECT_EQ(p.Shown(kPassCountLabel), "当前循环次数：1");
}

TEST(SequenceRunner, AltAInADelayStopsTheRunBeforeTheNextClick) {
  const std::initializer_list<int> tables[] = {{1, 2, 4}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}};
  for (const auto& rows : tables) {
    SCOPED_TRACE(rows.size());
    FakeProgram p;
    p.FillRows(rows);
    p.system.PressHotkeyAt(150);  // in row 2's delay
    p.Start();
    EXPECT_THAT(p.ClickedRows(), ElementsAre(1, 2));
    EXPECT_THAT(p.WritesTo(kPassCountLabel), IsEmpty());  // no end-of-pass work
    const std::vector<std::string> status = p.WritesTo(kStatusLabel);
    EXPECT_EQ(std::count(status.begin(), status.end(), kStopped), 10);
    EXPECT_EQ(status.back(), kFinished);  // the runner's own final text replaces the stop notice
    EXPECT_EQ(p.system.Now(), 10150);     // ten stop routines of a second each
  }
}

TEST(SequenceRunner, AltAStopsARunWithZeroDelaysBeforeTheNextClick) {
  FakeProgram p;
  p.FillRows({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, "0");
  p.SetEndDelay("0");
  p.SetLoopCount("1000");
  p.system.on_click = [&](const FakeSystem::Click&) {
    if (p.system.clicks.size() == 1234) p.system.PressHotkey();
    if (p.system.clicks.size() > 1234) p.system.Close();  // a missed stop fails fast
  };
  p.Start();
  EXPECT_EQ(p.system.clicks.size(), 1234u);
  EXPECT_EQ(p.state.stop_flag, 1);
  EXPECT_EQ(p.Shown(kStatusLabel), kFinished);
}

struct CloseCase {
  const char* name;
  const char* delay;
  std::int64_t hotkey_at;       // -1: no Alt+A
  std::int64_t start_again_at;  // -1: no nested Start
  std::int64_t close_at;
  std::size_t clicks;
};

TEST(SequenceRunner, ClosingTheWindowInAWaitAbandonsEverythingAtOnce) {
  const CloseCase cases[] = {
      {"in a click delay", "100", -1, -1, 150, 2},
      {"in the end delay", "100", -1, -1, 500, 3},
      {"in the stop sequence", "100", 150, -1, 2500, 2},
      {"in the stop sequence at zero delays", "0", 0, -1, 2500, 0},
      {"in a nested run", "100", -1, 50, 120, 2},
  };
  for (const CloseCase& c : cases) {
    SCOPED_TRACE(c.name);
    FakeProgram p;
    p.FillRows({1, 2, 3}, c.delay);
    if (c.hotkey_at >= 0) p.system.PressHotkeyAt(c.hotkey_at);
    if (c.start_again_at >= 0) p.system.At(c.start_again_at, [&] { p.Start(); });
    p.system.At(c.close_at, [&] { p.system.Close(); });
    p.Start();
    EXPECT_EQ(p.system.clicks.size(), c.clicks);
    EXPECT_EQ(p.form.accesses_after_close, 0);
    EXPECT_LT(p.system.Now(), c.close_at + 10);  // nothing waited on after the close
  }
}

}  // namespace
}  // namespace vornick::testing
