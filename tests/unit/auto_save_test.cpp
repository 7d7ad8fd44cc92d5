#include "store/auto_save.h"

#include <gtest/gtest.h>

#include "app_fixture.h"

namespace vornick {
namespace {

constexpr const char* kPath = "C:\\Users\\tester\\Documents\\重要配置.ini";

class AutoSaveTest : public testing::AppFixture {
 protected:
  std::string Label() const { return form.Text("自动保存"); }
  std::vector<std::int64_t> SaveTimes() const {
    std::vector<std::int64_t> times;
    for (const auto& r : system.replacements) times.push_back(r.at_ms);
    return times;
  }
  // A click at a moment of the virtual clock, dispatched like any other event.
  void ClickAt(std::int64_t at_ms) {
    system.At(at_ms, [this] { form.Click("选择框1"); });
  }
  // Each save lands within one 时钟3 period (10 ms here) after its due second.
  void ExpectSavesAbout(const std::vector<std::int64_t>& due) {
    const std::vector<std::int64_t> times = SaveTimes();
    ASSERT_EQ(times.size(), due.size());
    for (std::size_t i = 0; i < due.size(); ++i) {
      EXPECT_GE(times[i], due[i]) << "save " << i;
      EXPECT_LE(times[i], due[i] + 16) << "save " << i;
    }
  }
};

TEST_F(AutoSaveTest, SavesEveryFifteenSecondsWithACountdown) {
  form.SetText("X坐标1", "42");
  ClickAt(1000);
  system.RunFor(1999);
  EXPECT_EQ(state.auto_save_countdown, 16);
  EXPECT_EQ(Label(), "自动保存坐标：勾选后15s自动覆盖一次！");  // untouched until the first tick
  system.RunFor(1);
  EXPECT_EQ(Label(), "自动保存倒计时s：15");
  system.RunFor(13000);
  EXPECT_EQ(Label(), "自动保存倒计时s：2");
  system.RunFor(1000);
  EXPECT_EQ(Label(), "自动保存倒计时s：1");  // the 15th tick, 15 s after checking
  system.RunFor(1000);
  EXPECT_EQ(Label(), "自动保存倒计时s：15");  // never 16
  EXPECT_EQ(form.Get("时钟3", Prop::TimerPeriod), 0);  // nothing due: no poll
  system.RunFor(31000);
  ExpectSavesAbout({16000, 31000, 46000});
  EXPECT_EQ(form.Get("时钟3", Prop::TimerPeriod), 0);  // stopped again after each save
  EXPECT_NE(system.files.at(kPath).find("=42"), std::string::npos);
  EXPECT_TRUE(system.messages.empty());
}

TEST_F(AutoSaveTest, UncheckingShowsTheHintASecondLaterAndStopsSaving) {
  std::string during_wait;
  ClickAt(0);
  ClickAt(5500);
  system.At(6400, [&] { during_wait = Label(); });
  system.RunFor(7000);
  EXPECT_EQ(during_wait, "自动保存倒计时s：11");  // kept for the one-second wait
  EXPECT_EQ(Label(), "勾选后15s自动覆盖一次！");
  EXPECT_EQ(state.auto_save_countdown, 11);  // frozen
  system.RunFor(60000);
  EXPECT_TRUE(system.replacements.empty());
  EXPECT_EQ(Label(), "勾选后15s自动覆盖一次！");
}

TEST_F(AutoSaveTest, CheckingAgainWithinTheSecondRestartsTheCountdown) {
  ClickAt(0);
  ClickAt(9500);  // uncheck: its wait runs until 10500
  ClickAt(9800);  // check again inside that wait
  system.RunFor(10600);
  EXPECT_EQ(Label(), "勾选后15s自动覆盖一次！");  // the outer wait still ends with the hint
  EXPECT_EQ(state.auto_save_countdown, 16);
  system.RunFor(200);
  EXPECT_EQ(Label(), "自动保存倒计时s：15");  // first tick of the new countdown at 10800
  system.RunFor(30000);
  ExpectSavesAbout({24800, 39800});
}

TEST_F(AutoSaveTest, ACountdownParkedAtOneWaitsForTheSave) {
  ClickAt(0);
  system.RunFor(14500);
  ASSERT_EQ(Label(), "自动保存倒计时s：2");
  state.auto_save_countdown = 1;
  app.OnEvent("时钟4", Event::Tick, 0, 0);
  EXPECT_EQ(state.auto_save_countdown, 1);
  EXPECT_EQ(Label(), "自动保存倒计时s：2");  // a due save is not counted past
}

TEST_F(AutoSaveTest, UncheckingWhenDueStillMakesThatOneSave) {
  ClickAt(0);
  ClickAt(15002);  // due since the tick at 15000, and 时钟3 has not polled yet
  system.RunFor(16100);
  ExpectSavesAbout({15000});
  system.RunFor(60000);
  EXPECT_EQ(system.replacements.size(), 1u);
  EXPECT_EQ(state.auto_save_countdown, 16);
}

TEST_F(AutoSaveTest, AFailedAutoSaveSaysSoAndTriesAgain) {
  system.replace_failure = "Disk full.";
  ClickAt(0);
  system.RunFor(15100);
  EXPECT_EQ(form.Text("状态标签"), "当前状态：自动保存失败，15秒后再试！原因：Disk full.");
  EXPECT_EQ(state.auto_save_countdown, 16);
  EXPECT_TRUE(system.messages.empty());
  system.replace_failure.clear();
  system.RunFor(15000);
  ExpectSavesAbout({30000});
}

TEST_F(AutoSaveTest, ClosingDuringTheUncheckWaitTouchesNothing) {
  ClickAt(0);
  ClickAt(3500);
  system.At(3900, [this] { system.Close(); });
  system.RunFor(5000);
  EXPECT_EQ(Label(), "自动保存倒计时s：13");
}

TEST_F(AutoSaveTest, SavesGoOnWhileTheSaveConfirmationIsOpen) {
  system.message_box_open_ms = 20000;
  ClickAt(0);
  system.At(5000, [this] { form.SelectMenu("保存坐标"); });
  system.RunFor(20000);
  ASSERT_EQ(system.messages.size(), 1u);
  ASSERT_EQ(system.replacements.size(), 2u);  // the menu's own save, then the auto-save inside the box
  EXPECT_EQ(system.replacements[0].at_ms, 5000);
  ExpectSavesAbout({5000, 15000});
}

}  // namespace
}  // namespace vornick
