// Replays the point table: passes of clicks with their delays, the pass
// counter and the status line, the window restored at the end.
#pragma once

#include <string_view>

#include "app/ports.h"

namespace vornick {

inline constexpr std::string_view kPassCountLabel = "标签1";

// Runs inside the click handler of 启动 and returns when the run is over:
// after the last pass, or before the next click once state.stop_flag is 1.
// When the window closes during one of its waits it returns at once without
// touching any control.
void SequenceRunner(Ports& ports);

}  // namespace vornick
