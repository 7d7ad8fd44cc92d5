// The capture overlay on Win32: a form opened modally, its layered styles and
// the raw mouse device that lives as long as it does.
#include <memory>
#include <string>

#include "platform/win32/raw_mouse.h"
#include "platform/win32/win32_form.h"
#include "platform/win32/win32_system.h"

namespace vornick::win32 {
namespace {

constexpr wchar_t kTransparentTmp[] = L"transparent_tmp";

}  // namespace

// Stands between the form and the program's handlers: the raw mouse stops and
// the window property goes before the window does.
class Win32System::ModalWindow : public EventSink {
 public:
  ModalWindow(const WindowSpec& layout, WindowEvents& events, Win32Form& form)
      : name(layout.name), events(events), form(form) {}

  void OnEvent(std::string_view control, Event event, std::int32_t a, std::int32_t b) override {
    if (control == name && event == Event::Destroying) {
      if (mouse) mouse->Stop();
      RemovePropW(form.hwnd(), kTransparentTmp);
    }
    events.OnEvent(control, event, a, b);
  }

  const std::string name;
  WindowEvents& events;
  Win32Form& form;
  std::unique_ptr<RawMouse> mouse;
};

void Win32System::OpenModal(const WindowSpec& layout, WindowEvents& events) {
  if (modal_) return;  // one at a time: the first one's main window is disabled anyway
  const std::unique_ptr<Win32Form> form = Win32Form::Create(layout);
  if (!form) return;
  ModalWindow modal(layout, events, *form);
  modal_ = &modal;
  form->SetSink(&modal);
  events.Bind(form.get());
  form->RaiseCreated();
  form->RunModal();
  // The loop also ends when the program quits; the window goes then too.
  form->Close();
  form->SetSink(nullptr);
  events.Bind(nullptr);
  modal_ = nullptr;
}

HWND Win32System::ModalWindowNamed(std::string_view name) const {
  return modal_ && modal_->name == name && modal_->form.Alive() ? modal_->form.hwnd() : nullptr;
}

void Win32System::CloseRequest(std::string_view window) {
  const HWND h = ModalWindowNamed(window);
  if (!h) return;
  // No second capture from input already queued behind the close.
  if (modal_->mouse) modal_->mouse->Stop();
  PostMessageW(h, WM_CLOSE, 0, 0);
}

Point Win32System::ScreenToClient(std::string_view window, Point screen) {
  POINT p{screen.x, screen.y};
  if (const HWND h = ModalWindowNamed(window)) ::ScreenToClient(h, &p);
  return {p.x, p.y};
}

void Win32System::SetLayered(std::string_view window) {
  if (const HWND h = ModalWindowNamed(window)) SetWindowLongPtrW(h, GWL_EXSTYLE, WS_EX_LAYERED);
}

void Win32System::SetColourKey(std::string_view window, Colour key) {
  const HWND h = ModalWindowNamed(window);
  if (!h) return;
  SetWindowLongPtrW(h, GWL_EXSTYLE, WS_EX_LAYERED);
  SetLayeredWindowAttributes(h, key, 255, LWA_COLORKEY);
}

void Win32System::SetClickThrough(std::string_view window) {
  const HWND h = ModalWindowNamed(window);
  if (!h) return;
  const LONG_PTR former = GetWindowLongPtrW(h, GWL_EXSTYLE);
  SetPropW(h, kTransparentTmp, reinterpret_cast<HANDLE>(former));
  SetWindowLongPtrW(h, GWL_EXSTYLE, WS_EX_LAYERED | WS_EX_TRANSPARENT);
}

RawMouse* Win32System::ModalRawMouse(std::string_view device) {
  if (!modal_) return nullptr;
  if (!modal_->mouse) modal_->mouse = std::make_unique<RawMouse>(std::string(device), *modal_);
  return modal_->mouse.get();
}

void Win32System::SelectRawMouse(std::string_view device, bool on) {
  if (RawMouse* mouse = ModalRawMouse(device)) mouse->Select(on);
}

void Win32System::SetRawInputPollPeriod(std::string_view device, std::int32_t ms) {
  if (RawMouse* mouse = ModalRawMouse(device)) mouse->SetPollPeriod(ms);
}

void Win32System::InitialiseRawInput(std::string_view device) {
  // A device that cannot be opened reports nothing; Esc still closes the overlay.
  if (RawMouse* mouse = ModalRawMouse(device)) mouse->Initialise();
}

}  // namespace vornick::win32
