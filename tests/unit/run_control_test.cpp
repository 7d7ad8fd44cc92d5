#include "engine/run_control.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/sequence_runner.h"
#include "fake_program.h"

namespace vornick::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::StartsWith;

constexpr const char* kStopped = "当前状态：已停止运行！";
constexpr const char* kFinished = "当前状态：循环结束！";

TEST(RunControl, AltAWithNoRunStopsTenTimesOverTenSeconds) {
  FakeProgram p;
  p.form.Set("自动最小化", Prop::Checked, 1);
  p.form.position_history.clear();
  std::string shown_before_a_second, shown_after_a_second;
  p.system.At(999, [&] { shown_before_a_second = p.Shown(kStatusLabel); });
  p.system.At(1001, [&] { shown_after_a_second = p.Shown(kStatusLabel); });
  p.system.PressHotkey();
  p.system.RunFor(20000);
  EXPECT_EQ(shown_before_a_second, "当前状态：等待探测或手动填写坐标！");
  EXPECT_EQ(shown_after_a_second, kStopped);
  EXPECT_THAT(p.WritesTo(kStatusLabel), ElementsAreArray(std::vector<std::string>(10, kStopped)));
  EXPECT_THAT(p.form.position_history, ElementsAreArray(std::vector<std::int32_t>(10, kPositionNormal)));
  EXPECT_EQ(p.state.stop_flag, 1);  // until the next Start
}

struct MinimiseCase {
  std::int32_t auto_minimize_flag;
  std::int32_t box_checked;
  std::vector<std::int32_t> positions;  // every position state written during a run stopped by Alt+A
};

TEST(RunControl, AutoMinimiseDecidesTheWindowsPositionStates) {
  std::vector<std::int32_t> minimised_then_shown = {kPositionMinimised};
  minimised_then_shown.insert(minimised_then_shown.end(), 11, kPositionNormal);  // ten stops, then the runner
  const MinimiseCase cases[] = {
      {1, 1, minimised_then_shown},
      {0, 0, {kPositionNormal}},  // only the runner's own restore at its end
  };
  for (const MinimiseCase& c : cases) {
    SCOPED_TRACE(c.auto_minimize_flag);
    FakeProgram p;
    p.state.auto_minimize_flag = c.auto_minimize_flag;
    p.form.Set("自动最小化", Prop::Checked, c.box_checked);
    p.form.position_history.clear();
    p.FillRows({1, 2, 3});
    p.system.PressHotkeyAt(150);
    p.Start();
    EXPECT_EQ(p.form.position_history, c.positions);
    EXPECT_EQ(p.Shown(kStatusLabel), kFinished);
  }
}

TEST(RunControl, TheDispatchCallsWhateverTheStopHandlerIs) {
  FakeProgram p;
  int calls = 0;
  p.state.stop_handler = [&] { ++calls; };
  p.app.OnEvent(kHotkeyFeedbackLabel, Event::Feedback, 33002, 0);  // not our identifier
  EXPECT_EQ(calls, 0);
  p.app.OnEvent(kHotkeyFeedbackLabel, Event::Feedback, 33001, 0);
  EXPECT_EQ(calls, 10);
}

TEST(RunControl, AStartDuringARunRunsASecondRunNestedInTheFirst) {
  FakeProgram p;
  p.FillRows({1, 2});
  p.system.At(50, [&] { p.Start(); });  // in the outer run's first delay
  p.Start();
  // The nested run completes and leaves the shared StopFlag at 1, so the
  // outer run ends before its next click.
  EXPECT_THAT(p.ClickedRows(), ElementsAre(1, 1, 2));
  EXPECT_EQ(p.state.pass_counter, 0);
  EXPECT_EQ(p.Shown(kPassCountLabel), "当前循环次数：1");
  EXPECT_EQ(p.Shown(kStatusLabel), kFinished);
}

struct RegistrationCase {
  bool registration_works;
  bool hook_works;
  std::int32_t hotkey_id;
  bool notice;
};

TEST(RunControl, StartupRegistersAltAAndSaysWhenItCannot) {
  const RegistrationCase cases[] = {
      {true, true, 33001, false},
      {false, true, 33001, false},  // another program holds Alt+A: the keyboard hook stands in
      {false, false, 0, true},
  };
  for (const RegistrationCase& c : cases) {
    SCOPED_TRACE(c.hotkey_id);
    FakeSystem system;
    system.hotkey_registration_works = c.registration_works;
    system.hotkey_hook_works = c.hook_works;
    FakeForm form{MainFormSpec(), system};
    App app{form, system};
    system.SetSink(&app);
    app.OnEvent(kMainWindow, Event::Created, 0, 0);

    EXPECT_EQ(app.state().hotkey_id, c.hotkey_id);
    EXPECT_EQ(system.hotkey_feedback_control, kHotkeyFeedbackLabel);
    EXPECT_EQ(system.registered_modifier_code, 4);
    EXPECT_EQ(system.registered_virtual_key, 65);
    if (c.notice) {
      EXPECT_THAT(form.control(kStatusLabel).text, StartsWith("当前状态："));
      EXPECT_THAT(form.control(kStatusLabel).text, ::testing::HasSubstr("Alt+A"));
    }
    system.PressHotkey();
    system.RunFor(1000);
    EXPECT_EQ(app.state().stop_flag, c.hotkey_id != 0 ? 1 : 0);
  }
}

}  // namespace
}  // namespace vornick::testing
