// An in-memory form built from the same table as the real window: a map of
// control states with the real property rules (timer periods, position state
// only acting while visible).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "fakes/fake_system.h"
#include "platform/form.h"
#include "platform/form_description.h"

namespace vornick::testing {

class FakeForm : public Form {
 public:
  struct Control {
    ControlKind kind;
    std::string text;
    std::map<Prop, std::int32_t> props;
    std::vector<std::string> items;
  };

  // Events go to `events`, or to the system's sink when it is null.
  FakeForm(const WindowSpec& layout, FakeSystem& system, EventSink* events = nullptr);
  // A window's timers die with it.
  ~FakeForm() override;
  FakeForm(const FakeForm&) = delete;
  FakeForm& operator=(const FakeForm&) = delete;

  // --- What a person does.
  // Toggles a check box first, as the real control does, then raises Clicked.
  void Click(std::string_view control);
  void SelectMenu(std::string_view item);
  // A left-button press on a picture label.
  void PressLeftButton(std::string_view control);
  void Type(std::string_view control, std::string_view text) { SetText(control, text); }

  // --- What a test inspects.
  const Control& control(std::string_view name) const;
  // Every position state written to the window, in order.
  std::vector<std::int32_t> position_history;
  // Every text written, as "name=text", in order.
  std::vector<std::string> text_writes;
  // How often each timer was (re)started.
  std::map<std::string, int> timer_starts;
  // Reads and writes through the Form interface after the window was closed:
  // the program touching destroyed controls. Tests inspect through control().
  mutable int accesses_after_close = 0;

  // --- Form
  std::string_view WindowName() const override { return name_; }
  bool Alive() const override { return !system_.closed(); }
  std::string Text(std::string_view control) const override;
  void SetText(std::string_view control, std::string_view text) override;
  std::int32_t Get(std::string_view control, Prop prop) const override;
  void Set(std::string_view control, Prop prop, std::int32_t value) override;

 private:
  Control& Find(std::string_view name);
  void CountAccess() const {
    if (!Alive()) ++accesses_after_close;
  }
  void SetTimerPeriod(const std::string& name, Control& timer, std::int32_t period);
  EventSink* events() const { return events_ != nullptr ? events_ : system_.sink(); }

  std::string name_;
  FakeSystem& system_;
  EventSink* events_;
  std::map<std::string, Control, std::less<>> controls_;
};

}  // namespace vornick::testing
