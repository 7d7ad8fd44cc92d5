// The fake's modal window and raw mouse device.
#include <algorithm>
#include <stdexcept>

#include "fakes/fake_form.h"
#include "fakes/fake_system.h"

namespace vornick::testing {

struct FakeSystem::Modal {
  std::uint64_t serial = 0;
  std::string name;
  bool esc_closes = false;
  WindowEvents* events = nullptr;
  std::unique_ptr<FakeForm> form;
  std::int32_t main_was_enabled = 1;
  bool closing = false;  // a close is queued: the device reports nothing more
  // The raw mouse device.
  std::string device;
  bool device_selected = false;
  bool device_initialised = false;
  std::int32_t poll_ms = 0;
  RawInputDevice state;
};

FakeSystem::FakeSystem() = default;
FakeSystem::~FakeSystem() = default;

FakeForm* FakeSystem::modal() const { return modal_ ? modal_->form.get() : nullptr; }

bool FakeSystem::IsModal(std::string_view window) const { return modal_ && modal_->name == window; }

void FakeSystem::OpenModal(const WindowSpec& layout, WindowEvents& events) {
  if (modal_) throw std::logic_error("a modal window is already open");
  modal_calls.push_back("OpenModal " + layout.name);
  modal_ = std::make_unique<Modal>();
  Modal& m = *modal_;
  m.serial = ++modal_serial_;
  m.name = layout.name;
  m.esc_closes = layout.esc_closes;
  m.events = &events;
  m.form = std::make_unique<FakeForm>(layout, *this, &events);
  ex_style = kExInitial;
  transparent_tmp.reset();
  colour_key.reset();

  events.Bind(m.form.get());
  events.OnEvent(layout.name, Event::Created, 0, 0);
  if (main_form_) {
    m.main_was_enabled = main_form_->Get(main_form_->WindowName(), Prop::Enabled);
    main_form_->Set(main_form_->WindowName(), Prop::Enabled, 0);
  }
  m.form->Set(layout.name, Prop::Visible, 1);
  if (layout.position_state == kPositionMaximised) {
    m.form->Set(layout.name, Prop::Left, work_area.left);
    m.form->Set(layout.name, Prop::Top, work_area.top);
    m.form->Set(layout.name, Prop::Width, work_area.width);
    m.form->Set(layout.name, Prop::Height, work_area.height);
  }
  modal_calls.push_back("Shown");

  const std::uint64_t serial = m.serial;
  const std::int64_t give_up = Now() + modal_limit_ms;
  while (modal_ && modal_->serial == serial && !closed()) {
    if (queue_.empty() || std::get<0>(queue_.begin()->first) > give_up)
      throw std::logic_error("the modal window " + layout.name + " was never closed");
    Fire(queue_.begin());
  }
  if (modal_ && modal_->serial == serial) DestroyModal();  // the program is closing
}

void FakeSystem::QueueModalClose() {
  if (!modal_ || modal_->closing) return;
  modal_->closing = true;
  StopTimer("device:" + modal_->device);
  Post([this, serial = modal_->serial] {
    if (modal_ && modal_->serial == serial) DestroyModal();
  });
}

void FakeSystem::DestroyModal() {
  if (main_form_ && main_form_->Alive())
    main_form_->Set(main_form_->WindowName(), Prop::Enabled, modal_->main_was_enabled);
  StopTimer("device:" + modal_->device);
  modal_->closing = true;
  modal_calls.push_back("Destroyed");
  modal_->events->OnEvent(modal_->name, Event::Destroying, 0, 0);
  modal_->events->Bind(nullptr);
  modal_.reset();
}

void FakeSystem::CloseRequest(std::string_view window) {
  modal_calls.push_back("CloseRequest " + std::string(window));
  if (IsModal(window)) QueueModalClose();
}

void FakeSystem::PressEscape() {
  if (modal_ && modal_->esc_closes) QueueModalClose();
}

void FakeSystem::CloseModalFromOutside() { QueueModalClose(); }

Point FakeSystem::ScreenToClient(std::string_view window, Point screen) {
  if (!IsModal(window)) return screen;
  return {screen.x - work_area.left, screen.y - work_area.top};
}

void FakeSystem::SetLayered(std::string_view window) {
  modal_calls.push_back("SetLayered " + std::string(window));
  if (IsModal(window)) ex_style = kExLayered;
}

void FakeSystem::SetColourKey(std::string_view window, Colour key) {
  modal_calls.push_back("SetColourKey " + std::string(window) + " " + std::to_string(key));
  if (!IsModal(window)) return;
  ex_style = kExLayered;
  colour_key = key;
}

void FakeSystem::SetClickThrough(std::string_view window) {
  modal_calls.push_back("SetClickThrough " + std::string(window));
  if (!IsModal(window)) return;
  transparent_tmp = ex_style;
  ex_style = kExLayered | kExTransparent;
}

void FakeSystem::SelectRawMouse(std::string_view device, bool on) {
  modal_calls.push_back("SelectRawMouse " + std::string(device) + " " + (on ? "1" : "0"));
  if (modal_ && modal_->device_initialised && modal_->device == device) modal_->device_selected = on;
}

void FakeSystem::SetRawInputPollPeriod(std::string_view device, std::int32_t ms) {
  modal_calls.push_back("SetRawInputPollPeriod " + std::string(device) + " " + std::to_string(ms));
  if (!modal_) return;
  modal_->device = std::string(device);
  modal_->poll_ms = std::max(ms, 0);
  StopTimer("device:" + modal_->device);
  if (modal_->poll_ms > 0) StartTimer("device:" + modal_->device, modal_->poll_ms, [this] { DeliverPoll(); });
}

void FakeSystem::InitialiseRawInput(std::string_view device) {
  modal_calls.push_back("InitialiseRawInput " + std::string(device));
  if (!modal_ || modal_->device_initialised) return;
  modal_->device = std::string(device);
  modal_->device_initialised = true;
  modal_->device_selected = true;
  modal_->state.Initialise(mouse_down_);
}

bool FakeSystem::DeviceReporting() const {
  return modal_ && !modal_->closing && modal_->device_initialised && modal_->device_selected && modal_->poll_ms > 0;
}

void FakeSystem::DeliverPoll() {
  if (!DeviceReporting()) return;
  const std::uint64_t serial = modal_->serial;
  for (const RawInputDevice::Change& c : modal_->state.Poll()) {
    modal_->events->OnEvent(modal_->device, Event::InputState, c.index, c.code);
    if (!DeviceReporting() || modal_->serial != serial) return;
  }
}

void FakeSystem::MouseButton(int button, bool down) {
  mouse_down_.at(button) = down;
  // The device hears only of edges after it was opened.
  if (!DeviceReporting()) return;
  Post([this, button, down, serial = modal_->serial] {
    if (!DeviceReporting() || modal_->serial != serial) return;
    if (down) {
      modal_->state.Press(button);
      DeliverPoll();  // a press is reported at once, not at the next poll
    } else {
      modal_->state.Release(button);
    }
  });
}

void FakeSystem::MouseClickAt(std::int64_t at_ms, int button, std::int64_t hold_ms) {
  At(at_ms, [this, button] { MouseButton(button, true); });
  At(at_ms + hold_ms, [this, button] { MouseButton(button, false); });
}

}  // namespace vornick::testing
