// Colours of the form and its controls, and the controls it draws itself.
#include "platform/win32/win32_form.h"

#include <commdlg.h>

#include <cwchar>
#include <memory>

#include "platform/win32/picture_drawing.h"

namespace vornick::win32 {
namespace {

bool IsEditLike(UINT message) { return message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX; }

struct ModuleFreer {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};

// The colour dialog's library is loaded when the dialog is wanted: loaded
// with the program it costs every start-up about 20 ms under Wine, for a
// dialog most sessions never open.
bool ChooseColour(CHOOSECOLORW& dialog) {
  // From the system folder by full path: LOAD_LIBRARY_SEARCH_SYSTEM32 is
  // missing on Windows 7 without its update.
  wchar_t path[MAX_PATH];
  const UINT folder = GetSystemDirectoryW(path, MAX_PATH);
  if (folder == 0 || folder + 14 >= MAX_PATH) return false;
  wcscpy(path + folder, L"\\comdlg32.dll");
  const std::unique_ptr<HINSTANCE__, ModuleFreer> library(LoadLibraryW(path));
  if (!library) return false;
  using ChooseColorProc = BOOL(WINAPI*)(CHOOSECOLORW*);
  const auto choose = reinterpret_cast<ChooseColorProc>(
      reinterpret_cast<void*>(GetProcAddress(library.get(), "ChooseColorW")));
  return choose && choose(&dialog);
}

}  // namespace

LRESULT Win32Form::OnControlColour(UINT message, HDC dc, HWND child) {
  Control* c = ById(GetDlgCtrlID(child));
  if (!c || c->window != child)
    return DefWindowProcW(hwnd_, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child));

  if (c->layout->kind == ControlKind::Line) {
    // A solid fill, so no blended edge shows as a fringe on a colour-keyed window.
    const Colour colour = c->text_colour != kDefaultColour ? c->text_colour : GetSysColor(COLOR_WINDOWTEXT);
    SetBkColor(dc, colour);
    return reinterpret_cast<LRESULT>(brushes_.For(colour));
  }
  const bool edit_like = IsEditLike(message);
  SetTextColor(dc, c->text_colour != kDefaultColour ? c->text_colour
                                                   : GetSysColor(edit_like ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
  if (c->layout->kind == ControlKind::TransparentLabel) {
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetStockObject(HOLLOW_BRUSH));
  }
  Colour back = c->back_colour;
  // Controls without a colour of their own take the window's, where it has one.
  if (back == kDefaultColour && !edit_like) back = back_colour_;
  if (back == kDefaultColour) {
    const int system = edit_like ? COLOR_WINDOW : COLOR_BTNFACE;
    SetBkColor(dc, GetSysColor(system));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(system));
  }
  SetBkColor(dc, back);
  return reinterpret_cast<LRESULT>(brushes_.For(back));
}

void Win32Form::OnEraseBackground(HDC dc) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  FillRect(dc, &client, back_colour_ == kDefaultColour ? GetSysColorBrush(COLOR_BTNFACE) : brushes_.For(back_colour_));
}

bool Win32Form::OnDrawItem(const DRAWITEMSTRUCT& item) {
  if (item.CtlType == ODT_MENU) {
    if (item.itemData < menu_entries_.size())
      DrawMenuEntry(item, menu_entries_[item.itemData], fonts_->For(FontKind::Default), dpi_);
    return true;
  }
  Control* c = ById(static_cast<int>(item.CtlID));
  if (!c) return false;
  switch (c->layout->kind) {
    case ControlKind::Picture: DrawCrosshairReticle(item.hDC, item.rcItem); return true;
    case ControlKind::ColourPicker: DrawColourSwatch(item, c->picked); return true;
    case ControlKind::Label: {
      // The colours WM_CTLCOLORSTATIC would give it.
      HDC probe = item.hDC;
      const int saved = SaveDC(probe);
      const auto back = reinterpret_cast<HBRUSH>(OnControlColour(WM_CTLCOLORSTATIC, probe, item.hwndItem));
      const COLORREF text = GetTextColor(probe);
      RestoreDC(probe, saved);
      DrawLabel(item, reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)), text, back);
      return true;
    }
    default: return false;
  }
}

void Win32Form::PickColour(Control& picker) {
  CHOOSECOLORW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = hwnd_;
  dialog.rgbResult = picker.picked;
  dialog.lpCustColors = custom_colours_.data();
  dialog.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
  if (!ChooseColour(dialog) || !picker.window) return;  // cancelled, or the form closed meanwhile
  picker.picked = dialog.rgbResult;
  InvalidateRect(picker.window, nullptr, TRUE);
}

}  // namespace vornick::win32
