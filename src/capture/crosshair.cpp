#include "capture/crosshair.h"

#include "capture/capture_form.h"
#include "engine/conversions.h"

namespace vornick {
namespace {

// Each coordinate is read afresh; positions on the overlay are client
// coordinates, so a taskbar at the top or left does not shift them.
std::int32_t ClientX(System& system, std::int32_t screen_x) {
  return system.ScreenToClient(kCaptureWindow, {screen_x, 0}).x;
}
std::int32_t ClientY(System& system, std::int32_t screen_y) {
  return system.ScreenToClient(kCaptureWindow, {0, screen_y}).y;
}

}  // namespace

std::string ReadOutText(std::int32_t screen_x, std::int32_t screen_y) {
  return " X轴 水平坐标：" + IntegerToText(screen_x) + "\r\n Y轴 垂直坐标：" + IntegerToText(screen_y) +
         "\r\n\r\n请再次单击自动写入坐标！";
}

void CrosshairTick(Form& overlay, System& system) {
  overlay.Set(kCaptureWindow, Prop::AlwaysOnTop, 1);
  overlay.Set(kHorizontalLine, Prop::Top, ClientY(system, system.CursorY()));
  overlay.Set(kVerticalLine, Prop::Left, ClientX(system, system.CursorX()));
  overlay.Set(kHorizontalLine, Prop::Width, system.ScreenWidth());
  overlay.Set(kVerticalLine, Prop::Height, system.ScreenHeight());
}

void ReadOutTick(Form& overlay, System& system) {
  const std::int32_t x = system.CursorX();
  const std::int32_t y = system.CursorY();
  overlay.SetText(kReadOut, ReadOutText(x, y));
  overlay.Set(kReadOut, Prop::Left, ClientX(system, system.CursorX()) + 10);
  overlay.Set(kReadOut, Prop::Top, ClientY(system, system.CursorY()) + 5);
  // Strictly beyond the edge only: a box ending exactly on it stays.
  if (overlay.Get(kReadOut, Prop::Left) > system.ScreenWidth() - overlay.Get(kReadOut, Prop::Width))
    overlay.Set(kReadOut, Prop::Left, system.ScreenWidth() - overlay.Get(kReadOut, Prop::Width));
  if (overlay.Get(kReadOut, Prop::Top) > system.ScreenHeight() - overlay.Get(kReadOut, Prop::Height))
    overlay.Set(kReadOut, Prop::Top, system.ScreenHeight() - overlay.Get(kReadOut, Prop::Height));
}

}  // namespace vornick
