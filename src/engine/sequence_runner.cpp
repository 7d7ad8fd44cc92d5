#include "engine/sequence_runner.h"

#include "engine/conversions.h"
#include "engine/point_table.h"

namespace vornick {
namespace {

// How a stretch of the run ended.
enum class Outcome {
  Continue,  // go on with the run
  Stop,      // a stop was requested (or the run is complete): finish the run
  Closing,   // the window is gone: leave without touching a control
};

std::int32_t TextToInt(std::string_view text) { return NumberToInteger(TextToNumber(text)); }

class Run {
 public:
  explicit Run(Ports& ports) : p_(ports), table_(ports.form) {}

  void Execute() {
    // The pass count is fixed for the whole run; the repeats of a row and the
    // end-of-pass test read the box again, so an edit during the run counts.
    // The counters are 64-bit so that a limit of INT32_MAX cannot wrap them.
    const std::int32_t pass_limit = TextToInt(table_.LoopCountText());
    for (std::int64_t pass = 1; pass <= pass_limit; ++pass) {
      if (p_.state.stop_flag == 1) break;
      p_.form.SetText(kStatusLabel, "当前状态：正在运行！");
      p_.state.stop_flag = 0;
      const Outcome outcome = Pass();
      if (outcome == Outcome::Closing) return;
      if (outcome == Outcome::Stop) break;
    }
    p_.form.Set(kMainWindow, Prop::PositionState, kPositionNormal);
    p_.form.SetText(kStatusLabel, "当前状态：循环结束！");
  }

 private:
  Outcome Pass() {
    for (int row = 1; row <= kRowCount; ++row) {
      if (p_.state.stop_flag == 1) return Outcome::Stop;
      if (table_.IsRowSkipped(row)) continue;
      if (const Outcome o = Row(row); o != Outcome::Continue) return o;
    }
    // A stop during the last delay of the pass ends the run here too.
    if (p_.state.stop_flag == 1) return Outcome::Stop;

    ++p_.state.pass_counter;
    p_.form.SetText(kPassCountLabel, "当前循环次数：" + IntegerToText(p_.state.pass_counter));
    if (!p_.system.PacedDelay(TextToInt(table_.EndDelayText()))) return Outcome::Closing;
    if (TextToInteger(table_.LoopCountText()) == p_.state.pass_counter) p_.state.stop_flag = 1;
    return Outcome::Continue;
  }

  Outcome Row(int row) {
    const std::int32_t repeat_limit = TextToInt(table_.LoopCountText());
    for (std::int64_t repeat = 1; repeat <= repeat_limit; ++repeat) {
      // With zero delays nothing else gets dispatched, so the emergency stop
      // gets its own chance before every click.
      p_.system.HandlePendingHotkey();
      if (!p_.form.Alive()) return Outcome::Closing;
      if (p_.state.stop_flag == 1) return Outcome::Stop;

      const std::int32_t x = TextToInt(table_.XText(row));
      const std::int32_t y = TextToInt(table_.YText(row));
      p_.system.SimulateClick(x, y, table_.ClickKind(row));
      if (!p_.system.PacedDelay(TextToInt(table_.DelayText(row)))) return Outcome::Closing;
      p_.form.SetText(kStatusLabel, "当前状态：正在循环.....");
    }
    return Outcome::Continue;
  }

  Ports& p_;
  PointTable table_;
};

}  // namespace

void SequenceRunner(Ports& ports) { Run(ports).Execute(); }

}  // namespace vornick
