#include "engine/run_control.h"

#include "app/conveniences.h"
#include "engine/sequence_runner.h"

namespace vornick {
namespace {

constexpr std::int32_t kModifierAlt = 4;
constexpr std::int32_t kVirtualKeyA = 65;
constexpr int kStopHandlerCalls = 10;

}  // namespace

void OnStartClicked(Ports& ports) {
  ports.state.stop_flag = 0;
  if (ports.state.auto_minimize_flag == 1) ports.form.Set(kMainWindow, Prop::PositionState, kPositionMinimised);
  SequenceRunner(ports);
  ports.state.pass_counter = 0;
}

void StopRoutine(Ports& ports) {
  ports.state.stop_flag = 1;
  if (ports.form.Get(kAutoMinimizeBox, Prop::Checked) != 0)
    ports.form.Set(kMainWindow, Prop::PositionState, kPositionNormal);
  if (!ports.system.PacedDelay(1000)) return;  // the window is gone
  ports.form.SetText(kStatusLabel, "当前状态：已停止运行！");
}

void OnHotkeyFeedback(Ports& ports, std::int32_t identifier) {
  const ProgramState& state = ports.state;
  if (identifier == 0 || identifier != state.hotkey_id || !state.stop_handler) return;
  for (int i = 0; i < kStopHandlerCalls && ports.form.Alive(); ++i) state.stop_handler();
}

void SetUpEmergencyStop(Ports& ports) {
  ports.state.hotkey_id = ports.system.RegisterHotkey(kHotkeyFeedbackLabel, kModifierAlt, kVirtualKeyA);
  ports.state.stop_handler = [&ports] { StopRoutine(ports); };
  if (ports.state.hotkey_id == 0)
    ports.form.SetText(kStatusLabel, "当前状态：急停快捷键 Alt+A 不可用，请关闭占用它的程序后重启！");
}

}  // namespace vornick
