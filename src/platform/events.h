// Events that the window layer raises on named controls, delivered to the
// program through one dispatch entry point.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/form.h"

namespace vornick {

enum class Event {
  Created,         // window: after all controls exist, before it is first shown
  Destroying,      // window: about to be destroyed
  Clicked,         // button or check box
  MenuSelected,    // menu item (addressed by its caption)
  Tick,            // timer
  LeftButtonDown,  // picture label
  Feedback,        // label: two integers (the hotkey relay's notification)
  InputState,      // raw input device: (InputIndex, ButtonStateCode)
};

class EventSink {
 public:
  virtual ~EventSink() = default;
  // a and b carry the two integers of Feedback and InputState, 0 otherwise.
  virtual void OnEvent(std::string_view control, Event event, std::int32_t a, std::int32_t b) = 0;
};

// The handlers of a window opened while the program runs (the capture
// overlay). They reach its controls through the Form handed to Bind, which
// comes before the window's Created event; Bind(nullptr) follows its
// Destroying event.
class WindowEvents : public EventSink {
 public:
  virtual void Bind(Form* form) = 0;
};

}  // namespace vornick
