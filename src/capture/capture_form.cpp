#include "capture/capture_form.h"

#include <string>

namespace vornick {
namespace {

ControlSpec Control(std::string_view name, ControlKind kind, int left, int top, int width, int height) {
  ControlSpec c;
  c.name = std::string(name);
  c.kind = kind;
  c.left = left;
  c.top = top;
  c.width = width;
  c.height = height;
  return c;
}

ControlSpec Timer(std::string_view name, std::int32_t period_ms) {
  ControlSpec c = Control(name, ControlKind::Timer, 0, 0, 0, 0);
  c.timer_ms = period_ms;
  return c;
}

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
  ControlSpec across = Control(kHorizontalLine, ControlKind::Line, 0, 292, 800, 1);
  across.text_colour = Rgb(255, 0, 0);
  w.controls.push_back(across);
  ControlSpec down = Control(kVerticalLine, ControlKind::Line, 392, 0, 1, 600);
  down.text_colour = Rgb(255, 0, 0);
  w.controls.push_back(down);

  ControlSpec read_out = Control(kReadOut, ControlKind::ReadOutEdit, 504, 152, 240, 136);
  read_out.font = FontKind::ReadOut;
  w.controls.push_back(read_out);

  w.controls.push_back(Timer(kCrosshairTimer, 1));
  w.controls.push_back(Timer(kReadOutTimer, 100));
  return w;
}

}  // namespace

const WindowSpec& CaptureFormSpec() {
  static const WindowSpec layout = BuildCaptureForm();
  return layout;
}

}  // namespace vornick
