// The Form port: a window's controls addressed by name, read and written at the
// moment of use. The controls are the program's store; nothing keeps copies.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vornick {

// Windows colour value, 0x00BBGGRR.
using Colour = std::uint32_t;

constexpr Colour Rgb(int r, int g, int b) {
  return static_cast<Colour>(r) | (static_cast<Colour>(g) << 8) | (static_cast<Colour>(b) << 16);
}

// Properties of a control (or, for the last three, of the window itself).
enum class Prop {
  Checked,        // check box: 1 or 0
  Selected,       // combo box: 0-based index, -1 when nothing is selected
  Visible,        // 1 or 0
  Enabled,        // 1 or 0
  Left,
  Top,
  Width,
  Height,
  TextColour,
  BackColour,
  PickedColour,   // colour picker: the colour the user chose
  TimerPeriod,    // timer: ms; negative counts as 0, same period keeps running, 0 stops
  PositionState,  // window: see PositionState
  AlwaysOnTop,    // window: 1 or 0
};

// Position state of a window; values outside 0..3 are clamped.
enum PositionState : std::int32_t {
  kPositionNormal = 0,     // SW_SHOWNORMAL: restores and activates
  kPositionCentred = 1,
  kPositionMinimised = 2,  // SW_MINIMIZE
  kPositionMaximised = 3,  // maximised over the work area of the nearest monitor
};

class Form {
 public:
  virtual ~Form() = default;

  // The name under which the window itself is addressed ("MainWindow").
  virtual std::string_view WindowName() const = 0;

  // False once the window has been destroyed. Work interrupted by a close
  // (a wait that returned early) must not touch the form afterwards.
  virtual bool Alive() const = 0;

  // Text of an edit box, caption of a label, button or check box. UTF-8.
  virtual std::string Text(std::string_view control) const = 0;
  virtual void SetText(std::string_view control, std::string_view text) = 0;

  virtual std::int32_t Get(std::string_view control, Prop prop) const = 0;
  virtual void Set(std::string_view control, Prop prop, std::int32_t value) = 0;
};

}  // namespace vornick
