// The program-wide integers, owned by the application object and passed by
// reference, so every test starts from a fresh program.
#pragma once

#include <cstdint>
#include <functional>

namespace vornick {

struct ProgramState {
  std::int32_t stop_flag = 0;           // 1: stop requested or run complete
  std::int32_t hotkey_id = 0;           // 0: no emergency stop
  std::function<void()> stop_handler;   // empty until start-up
  std::int32_t pass_counter = 0;        // passes completed in the current run
  std::int32_t auto_minimize_flag = 0;  // follows the 自动最小化 box
  std::int32_t auto_save_countdown = 0; // seconds to the next auto-save
};

}  // namespace vornick
