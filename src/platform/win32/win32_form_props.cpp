// The properties of the form's controls and of the window itself.
#include <algorithm>

#include "platform/win32/controls.h"
#include "platform/win32/dpi.h"
#include "platform/win32/win32_form.h"
#include "platform/win32/window_placement.h"

namespace vornick::win32 {
namespace {

RECT PlaceInParent(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::int32_t FromBool(bool b) { return b ? 1 : 0; }

}  // namespace

Win32Form::Control* Win32Form::Find(std::string_view name) {
  auto it = by_name_.find(name);
  return it == by_name_.end() ? nullptr : &controls_[it->second];
}

const Win32Form::Control* Win32Form::Find(std::string_view name) const {
  return const_cast<Win32Form*>(this)->Find(name);
}

Win32Form::Control* Win32Form::ById(int id) {
  const int index = id - kFirstControlId;
  if (index < 0 || static_cast<std::size_t>(index) >= controls_.size()) return nullptr;
  return &controls_[static_cast<std::size_t>(index)];
}

HWND Win32Form::ControlWindow(std::string_view control) const {
  const Control* c = Find(control);
  return c ? c->window : nullptr;
}

std::string Win32Form::Text(std::string_view control) const {
  if (!Alive()) return {};
  if (control == spec_.name) return ReadWindowText(hwnd_);
  const Control* c = Find(control);
  return c && c->window ? ReadWindowText(c->window) : std::string();
}

void Win32Form::SetText(std::string_view control, std::string_view text) {
  if (!Alive()) return;
  if (control == spec_.name) return WriteWindowText(hwnd_, text);
  Control* c = Find(control);
  if (!c || !c->window) return;
  if (c->layout->kind == ControlKind::ComboList) return ComboList(c->window).SelectText(text);
  // A label repaints itself at once on every WM_SETTEXT, and a run writes the
  // same status after every click: an unchanged label is left alone.
  const bool label = c->layout->kind == ControlKind::Label || c->layout->kind == ControlKind::TransparentLabel;
  if (label && ReadWindowText(c->window) == text) return;
  if (label && IsIconic(hwnd_)) {
    // Nobody sees a minimised window's labels: they are painted when it is
    // restored, not at every write (a run writes the pass and the status).
    SendMessageW(c->window, WM_SETREDRAW, FALSE, 0);
    WriteWindowText(c->window, text);
    SendMessageW(c->window, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(c->window, nullptr, TRUE);
  } else {
    WriteWindowText(c->window, text);
  }
  if (c->layout->kind == ControlKind::TransparentLabel) RepaintBeneath(c->window);
}

std::int32_t Win32Form::Get(std::string_view control, Prop prop) const {
  if (!Alive()) return 0;
  if (control == spec_.name) return GetWindowProp(prop);
  const Control* c = Find(control);
  if (!c) return 0;
  const HWND w = c->window;
  switch (prop) {
    case Prop::TimerPeriod: return c->timer_period;
    case Prop::TextColour: return static_cast<std::int32_t>(c->text_colour);
    case Prop::BackColour: return static_cast<std::int32_t>(c->back_colour);
    case Prop::PickedColour: return static_cast<std::int32_t>(c->picked);
    default: break;
  }
  if (!w) return 0;
  switch (prop) {
    case Prop::Checked: return c->layout->kind == ControlKind::CheckBox ? FromBool(CheckBox(w).Checked()) : 0;
    case Prop::Selected: return c->layout->kind == ControlKind::ComboList ? ComboList(w).Selected() : -1;
    // The control's own flag: a control of a hidden window still counts as shown.
    case Prop::Visible: return FromBool((GetWindowLongPtrW(w, GWL_STYLE) & WS_VISIBLE) != 0);
    case Prop::Enabled: return FromBool(IsWindowEnabled(w));
    case Prop::Left: return PlaceInParent(w).left;
    case Prop::Top: return PlaceInParent(w).top;
    case Prop::Width: return PlaceInParent(w).right - PlaceInParent(w).left;
    case Prop::Height: return PlaceInParent(w).bottom - PlaceInParent(w).top;
    default: return 0;
  }
}

void Win32Form::Set(std::string_view control, Prop prop, std::int32_t value) {
  if (!Alive()) return;
  if (control == spec_.name) return SetWindowProp(prop, value);
  Control* c = Find(control);
  if (!c) return;
  switch (prop) {
    case Prop::TimerPeriod:
      if (c->layout->kind == ControlKind::Timer) SetTimerPeriod(*c, value);
      return;
    case Prop::TextColour: c->text_colour = static_cast<Colour>(value); break;
    case Prop::BackColour: c->back_colour = static_cast<Colour>(value); break;
    case Prop::PickedColour: c->picked = static_cast<Colour>(value); break;
    default: break;
  }
  const HWND w = c->window;
  if (!w) return;
  switch (prop) {
    case Prop::TextColour:
    case Prop::BackColour:
    case Prop::PickedColour:
      if (c->layout->kind == ControlKind::TransparentLabel) RepaintBeneath(w);
      InvalidateRect(w, nullptr, TRUE);
      return;
    case Prop::Checked:
      if (c->layout->kind == ControlKind::CheckBox) CheckBox(w).SetChecked(value != 0);
      return;
    case Prop::Selected:
      if (c->layout->kind == ControlKind::ComboList) ComboList(w).Select(value);
      return;
    case Prop::Visible: ShowWindow(w, value ? SW_SHOWNA : SW_HIDE); return;
    case Prop::Enabled: EnableWindow(w, value != 0); return;
    case Prop::Left:
    case Prop::Top:
    case Prop::Width:
    case Prop::Height: SetPlace(*c, prop, value); return;
    default: return;
  }
}

void Win32Form::SetPlace(Control& c, Prop prop, std::int32_t value) {
  RECT r = PlaceInParent(c.window);
  int x = r.left, y = r.top, w = r.right - r.left, h = r.bottom - r.top;
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  if (prop == Prop::Left) x = value;
  if (prop == Prop::Top) y = value;
  if (prop == Prop::Width) w = value;
  if (prop == Prop::Height) h = value;
  if (prop == Prop::Left || prop == Prop::Top) flags |= SWP_NOSIZE;
  if (prop == Prop::Width || prop == Prop::Height) flags |= SWP_NOMOVE;
  // A combo box's window height includes its open list; its closed height is its own affair.
  if (c.layout->kind == ControlKind::ComboList && prop == Prop::Height) return;
  // The crosshair sets its lines' places on every tick, mostly to where they
  // are: a move to the same place would still cost Wine a server call.
  if (const RECT wanted{x, y, x + w, y + h}; EqualRect(&wanted, &r)) return;
  SetWindowPos(c.window, nullptr, x, y, w, h, flags);
  // Keep the design place in step, so a DPI change keeps the program's moves.
  c.design = {ScaleToDesign(x, dpi_), ScaleToDesign(y, dpi_), ScaleToDesign(x + w, dpi_), ScaleToDesign(y + h, dpi_)};
}

void Win32Form::SetTimerPeriod(Control& timer, std::int32_t period) {
  period = std::max(period, 0);
  if (period == timer.timer_period) return;  // a running timer is not restarted
  timer.timer_period = period;
  const auto id = static_cast<UINT_PTR>(timer.id);
  if (period == 0) {
    KillTimer(hwnd_, id);
  } else {
    // Replacing a timer of the same id restarts it: its first tick comes one period from now.
    SetTimer(hwnd_, id, static_cast<UINT>(period), nullptr);
  }
}

std::int32_t Win32Form::GetWindowProp(Prop prop) const {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  switch (prop) {
    case Prop::Visible: return FromBool(IsWindowVisible(hwnd_));
    case Prop::Enabled: return FromBool(IsWindowEnabled(hwnd_));
    case Prop::PositionState: return position_state_;
    case Prop::AlwaysOnTop: return FromBool(IsTopmost(hwnd_));
    case Prop::BackColour: return static_cast<std::int32_t>(back_colour_);
    case Prop::Left: return r.left;
    case Prop::Top: return r.top;
    case Prop::Width: return r.right - r.left;
    case Prop::Height: return r.bottom - r.top;
    default: return 0;
  }
}

void Win32Form::SetWindowProp(Prop prop, std::int32_t value) {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  int x = r.left, y = r.top, w = r.right - r.left, h = r.bottom - r.top;
  switch (prop) {
    case Prop::Visible:
      if (value) {
        Show();
      } else {
        ShowWindow(hwnd_, SW_HIDE);
      }
      return;
    case Prop::Enabled: EnableWindow(hwnd_, value != 0); return;
    case Prop::PositionState:
      position_state_ = std::clamp(value, 0, 3);
      // Only a shown window moves at once; a hidden one takes the state when shown.
      if (IsWindowVisible(hwnd_)) ApplyPositionState(hwnd_, position_state_);
      return;
    case Prop::AlwaysOnTop: SetTopmost(hwnd_, value != 0); return;
    case Prop::BackColour:
      back_colour_ = static_cast<Colour>(value);
      RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      return;
    case Prop::Left: x = value; break;
    case Prop::Top: y = value; break;
    case Prop::Width: w = value; break;
    case Prop::Height: h = value; break;
    default: return;
  }
  SetWindowPos(hwnd_, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace vornick::win32
