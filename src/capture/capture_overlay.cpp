#include "capture/capture_overlay.h"

#include "app/conveniences.h"
#include "capture/capture_form.h"
#include "capture/crosshair.h"
#include "capture/point_entry.h"

namespace vornick {
namespace {

constexpr std::string_view kColourPicker = "颜色选择器1";
constexpr std::int32_t kPollPeriodMs = 30;

void SetUp(Ports& ports, Form& overlay) {
  System& system = ports.system;
  system.SelectRawMouse(kInputDevice, true);
  system.SetRawInputPollPeriod(kInputDevice, kPollPeriodMs);
  system.InitialiseRawInput(kInputDevice);

  for (std::string_view control : {kHorizontalLine, kVerticalLine, kReadOut})
    overlay.Set(control, Prop::TextColour, ports.form.Get(kColourPicker, Prop::PickedColour));
  overlay.Set(kCaptureWindow, Prop::BackColour, static_cast<std::int32_t>(kOverlayKeyColour));
  overlay.Set(kReadOut, Prop::BackColour, static_cast<std::int32_t>(kOverlayKeyColour));

  system.SetLayered(kCaptureWindow);
  system.SetColourKey(kCaptureWindow, kOverlayKeyColour);
  // The switch that turns click-through on is visible while it is off.
  if (ports.form.Get(kClickThroughOnButton, Prop::Visible) != 1) system.SetClickThrough(kCaptureWindow);

  ports.form.Set(ports.form.WindowName(), Prop::PositionState, kPositionMinimised);
}

// Routes the overlay's events to their handlers.
class CaptureOverlay : public WindowEvents {
 public:
  explicit CaptureOverlay(Ports& ports) : ports_(ports) {}

  void Bind(Form* form) override { overlay_ = form; }

  void OnEvent(std::string_view control, Event event, std::int32_t a, std::int32_t b) override {
    if (overlay_ == nullptr) return;
    if (control == kCaptureWindow && event == Event::Created) {
      SetUp(ports_, *overlay_);
    } else if (control == kCaptureWindow && event == Event::Destroying) {
      // The program may be closing: its main window is gone then.
      if (ports_.form.Alive()) ports_.form.Set(ports_.form.WindowName(), Prop::PositionState, kPositionNormal);
    } else if (control == kCrosshairTimer && event == Event::Tick) {
      CrosshairTick(*overlay_, ports_.system);
    } else if (control == kReadOutTimer && event == Event::Tick) {
      ReadOutTick(*overlay_, ports_.system);
    } else if (control == kInputDevice && event == Event::InputState) {
      EnterCapturedPoint(ports_, a, b);
    }
  }

 private:
  Ports& ports_;
  Form* overlay_ = nullptr;
};

}  // namespace

void OpenCaptureOverlay(Ports& ports) {
  CaptureOverlay overlay(ports);
  ports.system.OpenModal(CaptureFormSpec(), overlay);
}

}  // namespace vornick
