// A window described as data: one row per control, places and sizes at 96 DPI.
// The Win32 adapter builds real windows from it; the test fake builds a map.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/form.h"

namespace vornick {

enum class ControlKind {
  Label,             // STATIC text
  TransparentLabel,  // STATIC text without background
  Picture,           // the crosshair picture; raises LeftButtonDown
  ColourPicker,      // swatch that opens the colour dialog
  CheckBox,
  Button,
  Edit,              // single-line edit box
  ReadOutEdit,       // multi-line, borderless, no scroll bars
  ComboList,         // drop-down list
  Timer,             // not a window; period in `timer_ms`
  Line,              // solid bar in its text colour (the overlay's crosshair lines)
};

enum class FontKind {
  Default,   // a face with Chinese glyphs
  ComboBox,  // 新宋体, height -13
  Bold,      // the default face, bold
  ReadOut,   // 14 px high, normal weight, GB2312 charset, default face
};

constexpr Colour kDefaultColour = 0xFFFFFFFFu;  // "use the system's colour"

struct ControlSpec {
  std::string name;
  ControlKind kind;
  int left = 0, top = 0, width = 0, height = 0;
  std::string text;
  Colour text_colour = kDefaultColour;
  Colour back_colour = kDefaultColour;
  FontKind font = FontKind::Default;
  bool visible = true;
  bool enabled = true;
  bool checked = false;
  std::vector<std::string> items;  // combo box items; item 0 starts selected
  std::int32_t timer_ms = 0;       // timers: period at creation, 0 = stopped
  Colour picked = 0;               // colour picker: initial colour
  enum class Align { Left, Centre, CentreTop } align = Align::Left;
};

// A control at its place, everything else as the defaults above.
inline ControlSpec PlacedControl(std::string_view name, ControlKind kind, int left, int top, int width, int height) {
  ControlSpec c;
  c.name = std::string(name);
  c.kind = kind;
  c.left = left;
  c.top = top;
  c.width = width;
  c.height = height;
  return c;
}

inline ControlSpec TimerControl(std::string_view name, std::int32_t period_ms) {
  ControlSpec c = PlacedControl(name, ControlKind::Timer, 0, 0, 0, 0);
  c.timer_ms = period_ms;
  return c;
}

struct MenuItemSpec {
  std::string caption;  // also the name under which MenuSelected is raised
};

struct MenuSpec {
  std::string caption;
  bool enabled = true;
  std::vector<MenuItemSpec> items;
};

// Child-window identifiers: controls[i] gets kFirstControlId + i, menu items
// kFirstMenuId upwards in menu order, so tools outside the process can find
// a control by its name in the same table.
constexpr int kFirstControlId = 1000;
constexpr int kFirstMenuId = 100;

struct WindowSpec {
  std::string name;
  std::string caption;
  int left = 0, top = 0, width = 0, height = 0;  // outer size at 96 DPI
  bool border = true;          // false: no frame, no title bar
  bool minimise_box = true;
  bool always_on_top = false;
  std::int32_t position_state = kPositionNormal;
  bool esc_closes = false;
  Colour back_colour = kDefaultColour;
  std::vector<MenuSpec> menu;
  std::vector<ControlSpec> controls;

  const ControlSpec* Find(std::string_view control) const {
    for (const auto& c : controls)
      if (c.name == control) return &c;
    return nullptr;
  }
  // kFirstControlId + index, or -1 for an unknown name.
  int ControlId(std::string_view control) const {
    for (std::size_t i = 0; i < controls.size(); ++i)
      if (controls[i].name == control) return kFirstControlId + static_cast<int>(i);
    return -1;
  }
  // kFirstMenuId + position over all pop-ups, or -1.
  int MenuId(std::string_view item) const {
    int id = kFirstMenuId;
    for (const auto& m : menu)
      for (const auto& i : m.items) {
        if (i.caption == item) return id;
        ++id;
      }
    return -1;
  }
};

}  // namespace vornick
