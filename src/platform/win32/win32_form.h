// The Form port on Win32: a real top-level window built from a WindowSpec,
// every named control a real child window (id kFirstControlId + row), the
// menu bar with ids kFirstMenuId + position, timers as SetTimer on the window.
//
// Left/Top/Width/Height read and write physical pixels (a control's relative
// to the client area, the window's on the screen); only the table's places,
// given at 96 DPI, are scaled, when the form is built and when its DPI changes.
// Once the window is destroyed every read returns a default and every write
// does nothing: a handler may still be on the stack when the program closes.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/events.h"
#include "platform/form.h"
#include "platform/form_description.h"
#include "platform/win32/brushes.h"
#include "platform/win32/fonts.h"
#include "platform/win32/menu_drawing.h"

namespace vornick::win32 {

class Win32Form final : public Form {
 public:
  // Builds the window with all its controls, menu and running timers, still
  // hidden. nullptr when a window cannot be made; *error then says why.
  static std::unique_ptr<Win32Form> Create(const WindowSpec& layout, DWORD* error = nullptr);
  // The form a window or any of its controls belongs to; nullptr for other windows.
  static Win32Form* FromWindow(HWND window);

  Win32Form(const Win32Form&) = delete;
  Win32Form& operator=(const Win32Form&) = delete;
  ~Win32Form() override;  // destroys the window (raising no events)

  HWND hwnd() const { return hwnd_; }
  // The child window of a control; nullptr for timers and unknown names.
  HWND ControlWindow(std::string_view control) const;
  bool esc_closes() const { return spec_.esc_closes; }

  // Where events go; nothing is raised before this is set.
  void SetSink(EventSink* sink) { sink_ = sink; }
  // The window's Created event: call once, after Create and before Show.
  void RaiseCreated() { Raise(spec_.name, Event::Created); }
  // Shows a hidden window in its position state (the table's, or the last
  // one written while hidden).
  void Show();
  // Shows the window and runs a nested message loop until it is destroyed.
  // The thread's other visible, enabled top-level windows are disabled
  // meanwhile and enabled again before it is destroyed. A WM_QUIT taken off
  // the queue is posted again.
  void RunModal();
  // Asks the window to close (WM_CLOSE), as its close button does.
  void Close();

  // --- Form
  std::string_view WindowName() const override { return spec_.name; }
  bool Alive() const override { return hwnd_ != nullptr && IsWindow(hwnd_); }
  std::string Text(std::string_view control) const override;
  void SetText(std::string_view control, std::string_view text) override;
  std::int32_t Get(std::string_view control, Prop prop) const override;
  void Set(std::string_view control, Prop prop, std::int32_t value) override;

 private:
  struct Control {
    const ControlSpec* layout;
    int id;
    HWND window = nullptr;  // nullptr for timers
    RECT design{};          // place at 96 DPI; follows moves made by the program
    Colour text_colour = kDefaultColour;
    Colour back_colour = kDefaultColour;
    Colour picked = 0;
    std::int32_t timer_period = 0;
  };

  explicit Win32Form(const WindowSpec& layout);

  // win32_form.cpp: building, messages, events.
  bool Build(DWORD* error);
  HMENU BuildMenu();
  bool BuildControls();
  void ApplyFonts();
  void Layout();
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK PictureProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void OnCommand(WPARAM wparam, LPARAM lparam);
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  void OnDestroy();
  void EnableDisabledWindows();
  void Raise(std::string_view name, Event event, std::int32_t a = 0, std::int32_t b = 0) noexcept;

  // win32_form_paint.cpp: colours and owner-drawn controls.
  LRESULT OnControlColour(UINT message, HDC dc, HWND child);
  bool OnDrawItem(const DRAWITEMSTRUCT& item);
  void OnEraseBackground(HDC dc);
  void PickColour(Control& picker);

  // win32_form_props.cpp: property access.
  Control* Find(std::string_view name);
  const Control* Find(std::string_view name) const;
  Control* ById(int id);
  std::int32_t GetWindowProp(Prop prop) const;
  void SetWindowProp(Prop prop, std::int32_t value);
  void SetPlace(Control& c, Prop prop, std::int32_t value);
  void SetTimerPeriod(Control& timer, std::int32_t period);

  WindowSpec spec_;
  HWND hwnd_ = nullptr;
  EventSink* sink_ = nullptr;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  std::unique_ptr<FormFonts> fonts_;
  BrushCache brushes_;
  std::vector<Control> controls_;
  std::map<std::string, std::size_t, std::less<>> by_name_;
  std::vector<std::string> menu_items_;  // caption by menu id - kFirstMenuId
  std::vector<MenuEntry> menu_entries_;  // what each owner-drawn menu entry shows
  std::int32_t position_state_ = kPositionNormal;
  Colour back_colour_ = kDefaultColour;
  std::vector<HWND> disabled_by_modal_;
  HWND saved_focus_ = nullptr;
  std::array<COLORREF, 16> custom_colours_{};
};

}  // namespace vornick::win32
