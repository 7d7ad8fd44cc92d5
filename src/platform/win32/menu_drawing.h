// The menu bar and its pop-ups draw their captions themselves, in the form's
// Chinese font: the system menu font has no Chinese glyphs under Wine and on
// Windows without East Asian support.
#pragma once

#include <windows.h>

#include <string>

namespace vornick::win32 {

struct MenuEntry {
  std::wstring caption;
  bool on_bar;  // a pop-up's title on the menu bar, not an item of a pop-up
};

void MeasureMenuEntry(MEASUREITEMSTRUCT& item, const MenuEntry& entry, HFONT font, UINT dpi);
void DrawMenuEntry(const DRAWITEMSTRUCT& item, const MenuEntry& entry, HFONT font, UINT dpi);

}  // namespace vornick::win32
