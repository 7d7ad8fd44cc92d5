#include "platform/win32/win32_form.h"

#include <algorithm>

#include "platform/win32/class_proc_subclass.h"
#include "platform/win32/controls.h"
#include "platform/win32/dpi.h"
#include "platform/win32/menu_drawing.h"
#include "platform/win32/message_loop.h"
#include "platform/win32/text.h"
#include "platform/win32/window_placement.h"

namespace vornick::win32 {
namespace {

constexpr wchar_t kFormClass[] = L"VornickForm";
constexpr int kAppIcon = 1;  // res/vornick.rc

bool RegisterFormClass(WNDPROC proc) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, kFormClass, &existing)) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kFormClass;
  wc.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kAppIcon), IMAGE_ICON,
                                           GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
  wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kAppIcon), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  return RegisterClassExW(&wc) != 0;
}

bool IsFormWindow(HWND window) {
  wchar_t name[32] = {};
  return window && GetClassNameW(window, name, 32) && std::wstring_view(name) == kFormClass;
}

struct OtherForms {
  HWND self;
  bool found = false;
};

BOOL CALLBACK NoteOtherForm(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<OtherForms*>(data);
  if (window != search->self && IsFormWindow(window)) search->found = true;
  return !search->found;
}

struct Disabling {
  HWND self;
  std::vector<HWND>* disabled;
};

BOOL CALLBACK DisableTopLevel(HWND window, LPARAM data) {
  auto* d = reinterpret_cast<Disabling*>(data);
  if (window != d->self && !GetParent(window) && !GetWindow(window, GW_OWNER) && IsWindowVisible(window) &&
      IsWindowEnabled(window)) {
    EnableWindow(window, FALSE);
    d->disabled->push_back(window);
  }
  return TRUE;
}

}  // namespace

Win32Form::Win32Form(const WindowSpec& layout) : spec_(layout) {}

std::unique_ptr<Win32Form> Win32Form::Create(const WindowSpec& layout, DWORD* error) {
  std::unique_ptr<Win32Form> form(new Win32Form(layout));
  DWORD ignored = 0;
  if (!form->Build(error ? error : &ignored)) return nullptr;
  return form;
}

Win32Form* Win32Form::FromWindow(HWND window) {
  const HWND root = window ? GetAncestor(window, GA_ROOT) : nullptr;
  if (!IsFormWindow(root)) return nullptr;
  return reinterpret_cast<Win32Form*>(GetWindowLongPtrW(root, GWLP_USERDATA));
}

Win32Form::~Win32Form() {
  sink_ = nullptr;
  if (Alive()) DestroyWindow(hwnd_);
}

bool Win32Form::Build(DWORD* error) {
  if (!RegisterFormClass(&Win32Form::WindowProc)) {
    *error = GetLastError();
    return false;
  }
  position_state_ = std::clamp(spec_.position_state, 0, 3);
  back_colour_ = spec_.back_colour;
  DWORD style = spec_.border ? (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU) : WS_POPUP;
  if (spec_.minimise_box) style |= WS_MINIMIZEBOX;
  const DWORD ex_style = spec_.always_on_top ? WS_EX_TOPMOST : 0;
  // The size is set once the window knows its monitor's DPI, the menu once
  // the fonts it is drawn with exist.
  const HWND created = CreateWindowExW(ex_style, kFormClass, Widen(spec_.caption).c_str(), style, spec_.left,
                                       spec_.top, spec_.width, spec_.height, nullptr, nullptr,
                                       GetModuleHandleW(nullptr), this);
  if (!created) {
    *error = GetLastError();
    return false;
  }
  dpi_ = WindowDpi(hwnd_);
  fonts_ = std::make_unique<FormFonts>(dpi_, spec_.border);
  if (HMENU menu = BuildMenu(); menu && !SetMenu(hwnd_, menu)) {
    *error = GetLastError();
    DestroyMenu(menu);
    return false;
  }
  SetWindowPos(hwnd_, nullptr, 0, 0, ScaleToDpi(spec_.width, dpi_), ScaleToDpi(spec_.height, dpi_),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (!BuildControls()) {
    *error = GetLastError();
    return false;  // the destructor takes the window down
  }
  return true;
}

// The menu bar of the table, its entries drawn by the form. Items keep their
// captions as strings too, so GetMenuString reads them.
HMENU Win32Form::BuildMenu() {
  if (spec_.menu.empty()) return nullptr;
  auto add = [this](HMENU into, const std::string& caption, bool on_bar, UINT id, HMENU popup, bool enabled) {
    std::wstring text = Widen(caption);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_DATA | MIIM_STATE | (popup ? MIIM_SUBMENU : MIIM_ID);
    info.fType = MFT_OWNERDRAW;
    info.fState = enabled ? MFS_ENABLED : MFS_GRAYED;
    info.wID = id;
    info.hSubMenu = popup;
    info.dwItemData = menu_entries_.size();
    info.dwTypeData = text.data();
    InsertMenuItemW(into, GetMenuItemCount(into), TRUE, &info);
    menu_entries_.push_back({std::move(text), on_bar});
  };
  HMENU bar = CreateMenu();
  for (const MenuSpec& menu : spec_.menu) {
    HMENU popup = CreatePopupMenu();
    for (const MenuItemSpec& item : menu.items) {
      add(popup, item.caption, false, static_cast<UINT>(kFirstMenuId + menu_items_.size()), nullptr, true);
      menu_items_.push_back(item.caption);
    }
    add(bar, menu.caption, true, 0, popup, menu.enabled);
  }
  return bar;
}

bool Win32Form::BuildControls() {
  controls_.reserve(spec_.controls.size());
  for (std::size_t i = 0; i < spec_.controls.size(); ++i) {
    const ControlSpec& s = spec_.controls[i];
    Control c{&s, kFirstControlId + static_cast<int>(i)};
    c.design = {s.left, s.top, s.left + s.width, s.top + s.height};
    c.text_colour = s.text_colour;
    c.back_colour = s.back_colour;
    c.picked = s.picked;
    by_name_.emplace(s.name, i);
    controls_.push_back(c);
  }
  for (Control& c : controls_) {
    const ControlSpec& s = *c.layout;
    if (s.kind == ControlKind::Timer) continue;
    const RECT place{ScaleToDpi(s.left, dpi_), ScaleToDpi(s.top, dpi_), ScaleToDpi(s.left + s.width, dpi_),
                     ScaleToDpi(s.top + s.height, dpi_)};
    c.window = CreateControlWindow(hwnd_, s, c.id, place);
    if (!c.window) return false;
    // The font before anything that measures text: each box fits itself to
    // it once, rather than once more when a font comes later (slow under Wine).
    SendMessageW(c.window, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_->For(s.font)), FALSE);
    if (s.kind == ControlKind::CheckBox) CheckBox(c.window).SetChecked(s.checked);
    if (s.kind == ControlKind::ComboList) {
      ComboList(c.window).AddItems(s.items);
      ComboList(c.window).Select(s.items.empty() ? -1 : 0);
      ComboList(c.window).FitClosedHeight(place.bottom - place.top);
    }
    if (s.kind == ControlKind::Edit) CentreTextVertically(c.window);
    if (s.kind == ControlKind::Picture) {
      SetWindowLongPtrW(c.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
      ReplaceWindowProc(c.window, &Win32Form::PictureProc);
    }
  }
  for (Control& c : controls_)
    if (c.layout->kind == ControlKind::Timer) SetTimerPeriod(c, c.layout->timer_ms);
  return true;
}

void Win32Form::ApplyFonts() {
  for (const Control& c : controls_)
    if (c.window) SendMessageW(c.window, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_->For(c.layout->font)), FALSE);
}

// Places every control at its design place scaled to the current DPI.
void Win32Form::Layout() {
  for (const Control& c : controls_) {
    if (!c.window) continue;
    const int left = ScaleToDpi(c.design.left, dpi_), top = ScaleToDpi(c.design.top, dpi_);
    const int width = ScaleToDpi(c.design.right, dpi_) - left, height = ScaleToDpi(c.design.bottom, dpi_) - top;
    if (c.layout->kind == ControlKind::ComboList) {
      // A combo box's window height includes its open list.
      RECT now{};
      GetWindowRect(c.window, &now);
      SetWindowPos(c.window, nullptr, left, top, width, now.bottom - now.top, SWP_NOZORDER | SWP_NOACTIVATE);
      ComboList(c.window).FitClosedHeight(height);
    } else {
      SetWindowPos(c.window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
}

void Win32Form::Show() {
  if (Alive() && !IsWindowVisible(hwnd_)) ApplyPositionState(hwnd_, position_state_);
}

void Win32Form::RunModal() {
  if (!Alive()) return;
  Disabling disabling{hwnd_, &disabled_by_modal_};
  EnumThreadWindows(GetCurrentThreadId(), DisableTopLevel, reinterpret_cast<LPARAM>(&disabling));
  Show();
  MSG msg;
  while (Alive()) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // the outer loop must see it too
      break;
    }
    if (got == -1) break;
    if (!PreTranslateFormMessage(msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  EnableDisabledWindows();
}

void Win32Form::Close() {
  if (Alive()) SendMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void Win32Form::EnableDisabledWindows() {
  for (HWND window : disabled_by_modal_)
    if (IsWindow(window)) EnableWindow(window, TRUE);
  disabled_by_modal_.clear();
}

void Win32Form::Raise(std::string_view name, Event event, std::int32_t a, std::int32_t b) noexcept {
  if (!sink_) return;
  try {
    sink_->OnEvent(name, event, a, b);
  } catch (...) {
    // A handler's failure must not unwind through Windows; the program goes on.
    OutputDebugStringW(L"Vornick: an event handler failed\n");
  }
}

LRESULT CALLBACK Win32Form::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<Win32Form*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    form->hwnd_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<Win32Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!form) return DefWindowProcW(window, message, wparam, lparam);
  try {
    return form->HandleMessage(message, wparam, lparam);
  } catch (...) {
    OutputDebugStringW(L"Vornick: a window message failed\n");
    return DefWindowProcW(window, message, wparam, lparam);
  }
}

LRESULT Win32Form::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND: OnCommand(wparam, lparam); return 0;
    case WM_TIMER:
      if (Control* timer = ById(static_cast<int>(wparam)); timer && timer->layout->kind == ControlKind::Timer) {
        Raise(timer->layout->name, Event::Tick);
        return 0;
      }
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
      return OnControlColour(message, reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_MEASUREITEM:
      if (auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lparam); item->CtlType == ODT_MENU) {
        if (item->itemData < menu_entries_.size())
          MeasureMenuEntry(*item, menu_entries_[item->itemData], fonts_->For(FontKind::Default), dpi_);
        return TRUE;
      }
      break;
    case WM_DRAWITEM:
      if (OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam))) return TRUE;
      break;
    case WM_GETMINMAXINFO: {
      // Maximised means covering the work area, also for a borderless window,
      // which would otherwise cover the whole monitor (and the taskbar).
      MONITORINFO monitor{};
      monitor.cbSize = sizeof monitor;
      if (GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor)) {
        auto* limits = reinterpret_cast<MINMAXINFO*>(lparam);
        limits->ptMaxPosition = {monitor.rcWork.left - monitor.rcMonitor.left,
                                 monitor.rcWork.top - monitor.rcMonitor.top};
        limits->ptMaxSize = {monitor.rcWork.right - monitor.rcWork.left, monitor.rcWork.bottom - monitor.rcWork.top};
        return 0;
      }
      break;
    }
    case WM_ERASEBKGND: OnEraseBackground(reinterpret_cast<HDC>(wparam)); return 1;
    case WM_DPICHANGED: OnDpiChanged(LOWORD(wparam), *reinterpret_cast<const RECT*>(lparam)); return 0;
    case WM_ACTIVATE:
      // A plain window does not keep its focused control over a switch to
      // another program; do what a dialog does.
      if (LOWORD(wparam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) saved_focus_ = focus;
      } else if (saved_focus_ && IsWindow(saved_focus_) && IsChild(hwnd_, saved_focus_) && !HIWORD(wparam)) {
        SetFocus(saved_focus_);
        return 0;
      }
      break;
    case WM_NEXTDLGCTL: {
      // Sent by IsDialogMessage for Tab; only a dialog's own procedure knows it.
      const HWND next = LOWORD(lparam) ? reinterpret_cast<HWND>(wparam)
                                       : GetNextDlgTabItem(hwnd_, GetFocus(), wparam != 0);
      if (next) {
        SetFocus(next);
        if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(next, EM_SETSEL, 0, -1);
      }
      return 0;
    }
    case WM_CLOSE:
      // The windows a modal form disabled get their state back before it goes,
      // so activation returns to them and not to another program.
      EnableDisabledWindows();
      DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_NCDESTROY: {
      const HWND window = hwnd_;
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      for (Control& c : controls_) c.window = nullptr;
      return DefWindowProcW(window, message, wparam, lparam);
    }
    default: break;
  }
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

void Win32Form::OnCommand(WPARAM wparam, LPARAM lparam) {
  const int id = LOWORD(wparam);
  if (lparam == 0) {
    if (HIWORD(wparam) != 0) return;  // accelerators: the program has none
    const int item = id - kFirstMenuId;
    if (item >= 0 && static_cast<std::size_t>(item) < menu_items_.size())
      Raise(std::string(menu_items_[static_cast<std::size_t>(item)]), Event::MenuSelected);
    return;
  }
  Control* c = ById(id);
  if (!c || HIWORD(wparam) != BN_CLICKED) return;
  switch (c->layout->kind) {
    case ControlKind::Button:
    case ControlKind::CheckBox: Raise(std::string(c->layout->name), Event::Clicked); break;
    case ControlKind::ColourPicker: PickColour(*c); break;
    default: break;
  }
}

LRESULT CALLBACK Win32Form::PictureProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* form = reinterpret_cast<Win32Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  try {
    switch (message) {
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:  // a quick second press is a press too
        if (Control* c = form->ById(GetDlgCtrlID(window)))
          form->Raise(std::string(c->layout->name), Event::LeftButtonDown);
        return 0;
      case WM_SETCURSOR: SetCursor(LoadCursorW(nullptr, IDC_HAND)); return TRUE;
      default: break;
    }
  } catch (...) {
    OutputDebugStringW(L"Vornick: a picture message failed\n");
  }
  return CallClassProc(window, message, wparam, lparam);
}

void Win32Form::OnDpiChanged(UINT dpi, const RECT& suggested) {
  dpi_ = dpi;
  auto old_fonts = std::move(fonts_);  // kept until no control uses them
  fonts_ = std::make_unique<FormFonts>(dpi_, spec_.border);
  ApplyFonts();
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  Layout();
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Win32Form::OnDestroy() {
  EnableDisabledWindows();
  Raise(spec_.name, Event::Destroying);
  // The program ends when its last window is gone.
  OtherForms others{hwnd_};
  EnumThreadWindows(GetCurrentThreadId(), NoteOtherForm, reinterpret_cast<LPARAM>(&others));
  if (!others.found) PostQuitMessage(0);
}

}  // namespace vornick::win32
