// What every handler gets: the main window's controls, the machine, and the
// program-wide state.
#pragma once

#include "app/program_state.h"
#include "platform/form.h"
#include "platform/system.h"

namespace vornick {

inline constexpr std::string_view kMainWindow = "MainWindow";
inline constexpr std::string_view kStatusLabel = "状态标签";

struct Ports {
  Form& form;
  System& system;
  ProgramState& state;
};

}  // namespace vornick
