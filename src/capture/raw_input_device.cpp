#include "capture/raw_input_device.h"

namespace vornick {

void RawInputDevice::Initialise(const std::array<bool, kMouseButtons>& down_now) {
  for (int b = 0; b < kMouseButtons; ++b) buttons_[b] = Button{.down = down_now[b], .down_before_opening = down_now[b]};
}

void RawInputDevice::Press(int button) {
  if (button < 0 || button >= kMouseButtons) return;
  Button& b = buttons_[button];
  b.down = true;
  b.pressed_since_poll = true;
  b.down_before_opening = false;
}

void RawInputDevice::Release(int button) {
  if (button < 0 || button >= kMouseButtons) return;
  Button& b = buttons_[button];
  b.down = false;
  b.down_before_opening = false;
}

std::vector<RawInputDevice::Change> RawInputDevice::Poll() {
  std::vector<Change> changes;
  for (int i = 0; i < kMouseButtons; ++i) {
    Button& b = buttons_[i];
    const bool down = (b.down && !b.down_before_opening) || b.pressed_since_poll;
    b.pressed_since_poll = false;
    if (down)
      b.code = b.code == kButtonUp || b.code == kButtonReleased ? kButtonPressed : kButtonHeld;
    else
      b.code = b.code == kButtonPressed || b.code == kButtonHeld ? kButtonReleased : kButtonUp;
    if (b.code != b.reported) {
      b.reported = b.code;
      changes.push_back({kPrimaryButtonIndex + i, b.code});
    }
  }
  return changes;
}

}  // namespace vornick
