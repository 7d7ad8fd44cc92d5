// One thin wrapper per kind of child control, so each Win32 quirk is written
// once, and the factory that makes the child window for a table row.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/form_description.h"

namespace vornick::win32 {

// Window text (caption, edit content, selected combo item) as UTF-8.
std::string ReadWindowText(HWND window);
void WriteWindowText(HWND window, std::string_view text);

// Creates the child window of a control row at `place` (client pixels),
// hidden or disabled as the row says. Timers have no window: nullptr.
HWND CreateControlWindow(HWND parent, const ControlSpec& layout, int id, const RECT& place);

class CheckBox {
 public:
  explicit CheckBox(HWND window) : window_(window) {}
  // BST_INDETERMINATE never happens for BS_AUTOCHECKBOX; read it as unchecked.
  bool Checked() const { return SendMessageW(window_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void SetChecked(bool checked) const { SendMessageW(window_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0); }

 private:
  HWND window_;
};

class ComboList {
 public:
  explicit ComboList(HWND window) : window_(window) {}
  void AddItems(const std::vector<std::string>& items) const;
  // CB_GETCURSEL answers CB_ERR (-1) when nothing is selected, which is our value for it too.
  int Selected() const { return static_cast<int>(SendMessageW(window_, CB_GETCURSEL, 0, 0)); }
  // An index out of range (or -1) leaves nothing selected.
  void Select(int index) const { SendMessageW(window_, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }
  // A drop-down list has no text of its own: writing a text selects the item
  // that reads exactly so, or nothing.
  void SelectText(std::string_view text) const;
  // The closed box's height follows its font; asks for a selection field that
  // makes the whole box `height` pixels high. (Wine keeps the font's height.)
  void FitClosedHeight(int height) const;

 private:
  HWND window_;
};

// Centres a single-line edit box's text in its height (edit_padding.cpp).
void CentreTextVertically(HWND edit);

// A static control that paints no background must have what lies beneath it
// repainted when its text changes, or the old glyphs stay on screen.
void RepaintBeneath(HWND control);

}  // namespace vornick::win32
