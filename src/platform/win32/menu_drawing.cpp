#include "platform/win32/menu_drawing.h"

#include <algorithm>

#include "platform/win32/dpi.h"
#include "platform/win32/gdi.h"

namespace vornick::win32 {
namespace {

constexpr int kBarPadding = 8;     // each side of a menu bar title
constexpr int kItemIndent = 24;    // left of a pop-up item, where a check mark would go
constexpr int kItemTrailing = 24;  // right of a pop-up item
constexpr int kItemHeight = 24;

SIZE TextSize(const std::wstring& text, HFONT font) {
  WindowDc screen(nullptr);
  SelectedObject selected(screen.get(), font);
  SIZE size{};
  GetTextExtentPoint32W(screen.get(), text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

}  // namespace

void MeasureMenuEntry(MEASUREITEMSTRUCT& item, const MenuEntry& entry, HFONT font, UINT dpi) {
  const SIZE text = TextSize(entry.caption, font);
  if (entry.on_bar) {
    item.itemWidth = static_cast<UINT>(text.cx + 2 * ScaleToDpi(kBarPadding, dpi));
    item.itemHeight = static_cast<UINT>(std::max<int>(text.cy, GetSystemMetrics(SM_CYMENU)));
  } else {
    item.itemWidth = static_cast<UINT>(text.cx + ScaleToDpi(kItemIndent + kItemTrailing, dpi));
    item.itemHeight = static_cast<UINT>(std::max<int>(text.cy + 4, ScaleToDpi(kItemHeight, dpi)));
  }
}

void DrawMenuEntry(const DRAWITEMSTRUCT& item, const MenuEntry& entry, HFONT font, UINT dpi) {
  const bool greyed = (item.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  const bool lit = !greyed && (item.itemState & (ODS_SELECTED | ODS_HOTLIGHT)) != 0;
  BOOL flat = FALSE;
  SystemParametersInfoW(SPI_GETFLATMENU, 0, &flat, 0);
  const int back = lit ? COLOR_HIGHLIGHT : (entry.on_bar && flat ? COLOR_MENUBAR : COLOR_MENU);
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(back));

  SelectedObject selected(item.hDC, font);
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(greyed ? COLOR_GRAYTEXT : lit ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  RECT text = item.rcItem;
  UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
  if (entry.on_bar) {
    format |= DT_CENTER;
  } else {
    text.left += ScaleToDpi(kItemIndent, dpi);
  }
  DrawTextW(item.hDC, entry.caption.c_str(), static_cast<int>(entry.caption.size()), &text, format);
}

}  // namespace vornick::win32
