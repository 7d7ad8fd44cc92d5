#include "capture/capture_form.h"

#include <string>

namespace vornick {
namespace {

WindowSpec BuildCaptureForm() {
  WindowSpec w;
  w.name = std::string(kCaptureWindow);
  w.left = 50;
  w.top = 50;
  w.width = 800;
  w.height = 600;
  w.border = false;
  w.minimise_box = false;
  w.position_state = kPositionMaximised;
  w.esc_closes = true;

  // The lines are one pixel thin and pass through the cursor itself: the
  // crosshair tick puts the horizontal one at the cursor's row and the
  // vertical one at its column, and stretches them over the screen.
  ControlSpec across = PlacedControl(kHorizontalLine, ControlKind::Line, 0, 292, 800, 1);
  across.text_colour = Rgb(255, 0, 0);
  w.controls.push_back(across);
  ControlSpec down = PlacedControl(kVerticalLine, ControlKind::Line, 392, 0, 1, 600);
  down.text_colour = Rgb(255, 0, 0);
  w.controls.push_back(down);

  ControlSpec read_out = PlacedControl(kReadOut, ControlKind::ReadOutEdit, 504, 152, 240, 136);
  read_out.font = FontKind::ReadOut;
  w.controls.push_back(read_out);

  w.controls.push_back(TimerControl(kCrosshairTimer, 1));
  w.controls.push_back(TimerControl(kReadOutTimer, 100));
  return w;
}

}  // namespace

const WindowSpec& CaptureFormSpec() {
  static const WindowSpec layout = BuildCaptureForm();
  return layout;
}

}  // namespace vornick
