// The application object: owns the program state and routes the main
// window's events to their handlers through one table.
#pragma once

#include <cstdint>
#include <string_view>

#include "app/ports.h"
#include "platform/events.h"

namespace vornick {

class App : public EventSink {
 public:
  App(Form& form, System& system) : ports_{form, system, state_} {}

  void OnEvent(std::string_view control, Event event, std::int32_t a, std::int32_t b) override;

  ProgramState& state() { return state_; }
  Ports& ports() { return ports_; }

 private:
  ProgramState state_;
  Ports ports_;
};

}  // namespace vornick
