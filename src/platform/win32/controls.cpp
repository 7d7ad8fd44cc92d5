#include "platform/win32/controls.h"

#include <array>

#include "platform/win32/text.h"

namespace vornick::win32 {
namespace {

struct ChildClass {
  const wchar_t* name;
  DWORD style;
  DWORD ex_style;
};

// A label no taller than this holds one line: it does not wrap, so a last
// glyph that does not quite fit is cut at the edge instead of moving to an
// unseen second line.
constexpr int kOneLineHeight = 20;

ChildClass ClassFor(const ControlSpec& layout) {
  constexpr DWORD kTab = WS_TABSTOP;
  DWORD align = layout.height <= kOneLineHeight ? SS_LEFTNOWORDWRAP : SS_LEFT;
  if (layout.align == ControlSpec::Align::Centre) align = SS_CENTER | SS_CENTERIMAGE;
  if (layout.align == ControlSpec::Align::CentreTop) align = SS_CENTER;
  switch (layout.kind) {
    // A disabled label is drawn by the form: the system greys its text out,
    // and the status line is disabled but must stay readable.
    case ControlKind::Label: return {L"STATIC", (layout.enabled ? align : SS_OWNERDRAW) | SS_NOPREFIX, 0};
    case ControlKind::TransparentLabel: return {L"STATIC", align | SS_NOPREFIX, WS_EX_TRANSPARENT};
    case ControlKind::Picture: return {L"STATIC", SS_OWNERDRAW | SS_NOTIFY, 0};
    case ControlKind::ColourPicker: return {L"BUTTON", BS_OWNERDRAW | kTab, 0};
    case ControlKind::CheckBox: return {L"BUTTON", BS_AUTOCHECKBOX | kTab, 0};
    case ControlKind::Button: return {L"BUTTON", BS_PUSHBUTTON | BS_MULTILINE | kTab, 0};
    case ControlKind::Edit: return {L"EDIT", ES_LEFT | ES_AUTOHSCROLL | kTab, WS_EX_CLIENTEDGE};
    // The overlay's crosshair lines cross the read-out as they follow the
    // cursor; clipped out of it, their pixels are not carried along when the
    // box moves.
    case ControlKind::ReadOutEdit: return {L"EDIT", ES_LEFT | ES_MULTILINE | WS_CLIPSIBLINGS | kTab, 0};
    case ControlKind::ComboList: return {L"COMBOBOX", CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_VSCROLL | kTab, 0};
    case ControlKind::Line: return {L"STATIC", SS_NOPREFIX, 0};  // no text: all background, in its text colour
    case ControlKind::Timer: break;
  }
  return {nullptr, 0, 0};
}

// Room for the open list of a drop-down box, beyond its closed height.
constexpr int kDropDownRows = 8;

}  // namespace

std::string ReadWindowText(HWND window) {
  // One message for the usual short text, not a length query first: a run
  // reads three boxes per click.
  std::array<wchar_t, 256> small{};
  const int got = GetWindowTextW(window, small.data(), static_cast<int>(small.size()));
  if (got < static_cast<int>(small.size()) - 1) return Narrow(std::wstring_view(small.data(), got > 0 ? got : 0));
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return Narrow(text);
}

void WriteWindowText(HWND window, std::string_view text) { SetWindowTextW(window, Widen(text).c_str()); }

HWND CreateControlWindow(HWND parent, const ControlSpec& layout, int id, const RECT& place) {
  const ChildClass cls = ClassFor(layout);
  if (!cls.name) return nullptr;
  DWORD style = WS_CHILD | cls.style;
  if (layout.visible) style |= WS_VISIBLE;
  if (!layout.enabled) style |= WS_DISABLED;
  int height = place.bottom - place.top;
  if (layout.kind == ControlKind::ComboList) height *= kDropDownRows;
  const bool has_text = layout.kind != ControlKind::ComboList && layout.kind != ControlKind::Picture;
  return CreateWindowExW(cls.ex_style, cls.name, has_text ? Widen(layout.text).c_str() : L"", style, place.left,
                         place.top, place.right - place.left, height, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

void ComboList::AddItems(const std::vector<std::string>& items) const {
  for (const std::string& item : items)
    SendMessageW(window_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
}

void ComboList::SelectText(std::string_view text) const {
  const std::wstring wanted = Widen(text);
  const auto found =
      SendMessageW(window_, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wanted.c_str()));
  Select(found == CB_ERR ? -1 : static_cast<int>(found));
}

void ComboList::FitClosedHeight(int height) const {
  RECT box{};
  GetWindowRect(window_, &box);
  const auto field = static_cast<int>(SendMessageW(window_, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
  const int wanted = field + height - (box.bottom - box.top);
  if (field > 0 && wanted > 0) SendMessageW(window_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), wanted);
}

void RepaintBeneath(HWND control) {
  const HWND parent = GetParent(control);
  RECT area{};
  GetWindowRect(control, &area);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&area), 2);
  RedrawWindow(parent, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace vornick::win32
