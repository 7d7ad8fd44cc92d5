#include "store/auto_save.h"

#include "engine/conversions.h"
#include "store/settings_file.h"

namespace vornick {
namespace {

constexpr std::string_view kAutoSaveBox = "选择框1";
constexpr std::string_view kAutoSaveLabel = "自动保存";
constexpr std::string_view kCountdownTimer = "时钟4";
constexpr std::string_view kSavePollTimer = "时钟3";
constexpr std::int32_t kArmed = 16;  // the first tick shows 15
constexpr std::int32_t kDue = 1;

}  // namespace

void OnAutoSaveBoxClicked(Ports& ports) {
  if (ports.form.Get(kAutoSaveBox, Prop::Checked) == 1) {
    ports.state.auto_save_countdown = kArmed;
    ports.form.Set(kCountdownTimer, Prop::TimerPeriod, 1000);
    return;
  }
  ports.form.Set(kCountdownTimer, Prop::TimerPeriod, 0);
  // The old countdown stays readable for a second; a check within it re-arms at once.
  if (!ports.system.PacedDelay(1000)) return;  // the window is closing
  ports.form.SetText(kAutoSaveLabel, "勾选后15s自动覆盖一次！");
}

void OnAutoSaveCountdownTick(Ports& ports) {
  std::int32_t& countdown = ports.state.auto_save_countdown;
  if (countdown == kDue) return;  // parked until the poll has saved
  --countdown;
  ports.form.SetText(kAutoSaveLabel, "自动保存倒计时s：" + IntegerToText(countdown));
  // The poll runs only while a save is due: a timer at the shortest interval
  // kept running for nothing would wake the program 64 to 100 times a second.
  if (countdown == kDue) ports.form.Set(kSavePollTimer, Prop::TimerPeriod, 1);
}

void OnAutoSavePoll(Ports& ports) {
  ports.form.Set(kSavePollTimer, Prop::TimerPeriod, 0);
  if (ports.state.auto_save_countdown != kDue) return;
  const std::optional<SaveFailure> failure = SaveTable(ports.form, ports.system);
  ports.state.auto_save_countdown = kArmed;
  if (failure) ports.form.SetText(kStatusLabel, "当前状态：自动保存失败，15秒后再试！原因：" + failure->reason);
}

}  // namespace vornick
