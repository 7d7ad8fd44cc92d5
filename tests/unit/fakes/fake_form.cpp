#include "fakes/fake_form.h"

#include <algorithm>
#include <stdexcept>

namespace vornick::testing {

FakeForm::FakeForm(const WindowSpec& layout, FakeSystem& system, EventSink* events)
    : name_(layout.name), system_(system), events_(events) {
  Control window{ControlKind::Label, layout.caption, {}, {}};
  window.props = {{Prop::Visible, 0},
                  {Prop::Enabled, 1},
                  {Prop::PositionState, layout.position_state},
                  {Prop::AlwaysOnTop, layout.always_on_top ? 1 : 0},
                  {Prop::BackColour, static_cast<std::int32_t>(layout.back_colour)},
                  {Prop::Left, layout.left},
                  {Prop::Top, layout.top},
                  {Prop::Width, layout.width},
                  {Prop::Height, layout.height}};
  controls_.emplace(layout.name, window);
  for (const ControlSpec& c : layout.controls) {
    Control control{c.kind, c.text, {}, c.items};
    control.props = {{Prop::Visible, c.visible ? 1 : 0},
                     {Prop::Enabled, c.enabled ? 1 : 0},
                     {Prop::Checked, c.checked ? 1 : 0},
                     {Prop::Selected, c.items.empty() ? -1 : 0},
                     {Prop::Left, c.left},
                     {Prop::Top, c.top},
                     {Prop::Width, c.width},
                     {Prop::Height, c.height},
                     {Prop::TextColour, static_cast<std::int32_t>(c.text_colour)},
                     {Prop::BackColour, static_cast<std::int32_t>(c.back_colour)},
                     {Prop::PickedColour, static_cast<std::int32_t>(c.picked)},
                     {Prop::TimerPeriod, 0}};
    auto [it, inserted] = controls_.emplace(c.name, std::move(control));
    if (!inserted) throw std::logic_error("two controls named " + c.name);
    if (c.kind == ControlKind::Timer) SetTimerPeriod(c.name, it->second, c.timer_ms);
  }
  for (const MenuSpec& menu : layout.menu)
    for (const MenuItemSpec& item : menu.items) {
      Control control{ControlKind::Button, item.caption, {{Prop::Enabled, menu.enabled ? 1 : 0}}, {}};
      controls_.emplace(item.caption, std::move(control));
    }
}

FakeForm::~FakeForm() {
  for (const auto& [name, c] : controls_)
    if (c.kind == ControlKind::Timer) system_.StopTimer(name_ + "/" + name);
}

FakeForm::Control& FakeForm::Find(std::string_view name) {
  auto it = controls_.find(name);
  if (it == controls_.end()) throw std::logic_error("no control named " + std::string(name));
  return it->second;
}

const FakeForm::Control& FakeForm::control(std::string_view name) const {
  return const_cast<FakeForm*>(this)->Find(name);
}

void FakeForm::Click(std::string_view name) {
  Control& c = Find(name);
  if (c.props[Prop::Enabled] == 0 || c.props[Prop::Visible] == 0)
    throw std::logic_error("cannot click " + std::string(name));
  if (c.kind == ControlKind::CheckBox) c.props[Prop::Checked] = c.props[Prop::Checked] == 1 ? 0 : 1;
  if (events()) events()->OnEvent(name, Event::Clicked, 0, 0);
}

void FakeForm::SelectMenu(std::string_view item) {
  if (Find(item).props[Prop::Enabled] == 0) return;  // a greyed pop-up cannot be reached
  if (events()) events()->OnEvent(item, Event::MenuSelected, 0, 0);
}

void FakeForm::PressLeftButton(std::string_view name) {
  if (Find(name).kind != ControlKind::Picture) throw std::logic_error(std::string(name) + " is no picture");
  if (events()) events()->OnEvent(name, Event::LeftButtonDown, 0, 0);
}

std::string FakeForm::Text(std::string_view name) const {
  CountAccess();
  return control(name).text;
}

void FakeForm::SetText(std::string_view name, std::string_view text) {
  CountAccess();
  Find(name).text = std::string(text);
  text_writes.push_back(std::string(name) + "=" + std::string(text));
}

std::int32_t FakeForm::Get(std::string_view name, Prop prop) const {
  CountAccess();
  const Control& c = control(name);
  auto it = c.props.find(prop);
  if (it == c.props.end()) throw std::logic_error("no such property on " + std::string(name));
  return it->second;
}

void FakeForm::SetTimerPeriod(const std::string& name, Control& timer, std::int32_t period) {
  period = std::max(period, 0);
  if (period == timer.props[Prop::TimerPeriod]) return;  // a running timer is not restarted
  timer.props[Prop::TimerPeriod] = period;
  if (period == 0) {
    system_.StopTimer(name_ + "/" + name);
    return;
  }
  ++timer_starts[name];
  system_.StartTimer(name_ + "/" + name, period, [this, name] {
    if (events()) events()->OnEvent(name, Event::Tick, 0, 0);
  });
}

void FakeForm::Set(std::string_view name, Prop prop, std::int32_t value) {
  CountAccess();
  Control& c = Find(name);
  if (prop == Prop::TimerPeriod) return SetTimerPeriod(std::string(name), c, value);
  if (prop == Prop::PositionState) {
    value = std::clamp(value, 0, 3);
    position_history.push_back(value);
  }
  c.props[prop] = value;
}

}  // namespace vornick::testing
