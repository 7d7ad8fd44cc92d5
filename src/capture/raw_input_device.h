// The state of the mouse buttons as the capture overlay's raw input device
// reports it: one ButtonStateCode per button, advanced at every poll, and an
// event for each entry whose code changed since it was last reported.
//
// The device is fed with every physical press and release as it happens, so
// a press that begins and ends between two polls is still reported (as a
// press, then a release one poll later). A button that is already down when
// the device is initialised counts as up until it has been released: the
// press that opened the overlay never picks a point.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace vornick {

// InputIndex of the system mouse's buttons 0 (primary), 1 (right), 2 (middle).
constexpr std::int32_t kPrimaryButtonIndex = 256;
constexpr int kMouseButtons = 3;

enum ButtonStateCode : std::int32_t {
  kButtonUp = 0,
  kButtonReleased = 1,  // released since the previous poll
  kButtonPressed = 2,   // pressed since the previous poll
  kButtonHeld = 3,
};

class RawInputDevice {
 public:
  struct Change {
    std::int32_t index;  // InputIndex
    std::int32_t code;   // ButtonStateCode
    bool operator==(const Change&) const = default;
  };

  // Every code back to up; `down_now` is the physical state at this moment.
  void Initialise(const std::array<bool, kMouseButtons>& down_now);

  // Physical edges of button 0..2, in the order they happened.
  void Press(int button);
  void Release(int button);

  // One poll: advances every button's code and returns the entries whose
  // code differs from the last reported one, in index order, as reported.
  std::vector<Change> Poll();

  std::int32_t Code(int button) const { return buttons_[button].code; }

 private:
  struct Button {
    bool down = false;
    bool pressed_since_poll = false;  // keeps a press shorter than a poll
    bool down_before_opening = false;
    std::int32_t code = kButtonUp;
    std::int32_t reported = kButtonUp;
  };
  std::array<Button, kMouseButtons> buttons_{};
};

}  // namespace vornick
