// The emergency-stop hotkey: RegisterHotKey on the main window, whose
// procedure is subclassed so that every WM_HOTKEY of ours raises the Feedback
// event of the feedback control synchronously, inside the WM_HOTKEY handling.
// When another program holds the combination, a keyboard hook watches for it
// and its presses take the same way.
#include "platform/win32/win32_system.h"  // <windows.h> before <commctrl.h>

#include <commctrl.h>

#include "platform/win32/hotkey_hook.h"

namespace vornick::win32 {
namespace {

constexpr UINT_PTR kRelaySubclassId = 0x8075;

UINT ModifierFlags(std::int32_t code) {
  switch (code) {
    case 1: return MOD_CONTROL;
    case 2: return MOD_SHIFT;
    case 3: return MOD_CONTROL | MOD_SHIFT;
    case 4: return MOD_ALT;
    case 5: return MOD_CONTROL | MOD_ALT;
    case 6: return MOD_SHIFT | MOD_ALT;
    default: return static_cast<UINT>(code);
  }
}

}  // namespace

std::int32_t Win32System::RegisterHotkey(std::string_view feedback_control, std::int32_t modifier_code,
                                         std::int32_t virtual_key) {
  // Identifiers are used up by failed registrations too.
  const std::int32_t identifier = next_hotkey_id_++;
  hotkey_feedback_control_ = std::string(feedback_control);
  if (!MainWindowAlive() || !HookMainWindow()) return 0;

  const UINT modifiers = ModifierFlags(modifier_code);
  const UINT key = static_cast<UINT>(virtual_key);
  if (::RegisterHotKey(main_window_, identifier, modifiers, key)) return identifier;

  if (hook_press_message_ == 0) return 0;
  if (!hotkey_hook_) hotkey_hook_ = HotkeyHook::Install(main_window_, hook_press_message_);
  if (!hotkey_hook_) return 0;
  hotkey_hook_->Watch(identifier, modifiers, key);
  return identifier;
}

bool Win32System::HookMainWindow() {
  if (relayed_window_ == main_window_) return true;
  UnhookMainWindow();
  if (!SetWindowSubclass(main_window_, RelayProc, kRelaySubclassId, reinterpret_cast<DWORD_PTR>(this))) return false;
  relayed_window_ = main_window_;
  return true;
}

void Win32System::UnhookMainWindow() {
  hotkey_hook_.reset();
  if (relayed_window_ != nullptr && IsWindow(relayed_window_))
    RemoveWindowSubclass(relayed_window_, RelayProc, kRelaySubclassId);
  relayed_window_ = nullptr;
}

void Win32System::RelayHotkey(WPARAM identifier) {
  if (identifier < static_cast<WPARAM>(kFirstHotkeyId) || identifier >= static_cast<WPARAM>(next_hotkey_id_)) return;
  if (sink_ == nullptr) return;
  const std::string control = hotkey_feedback_control_;
  try {
    sink_->OnEvent(control, Event::Feedback, static_cast<std::int32_t>(identifier), 0);
  } catch (...) {
    // Nothing may unwind through the window procedure; the stop has no error path.
  }
}

LRESULT CALLBACK Win32System::RelayProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                        DWORD_PTR self_data) {
  auto* self = reinterpret_cast<Win32System*>(self_data);
  if (message == WM_HOTKEY) {
    self->RelayHotkey(wparam);
    if (!IsWindow(window)) return 0;  // closed during the stop sequence
  } else if (message == self->hook_press_message_ && message != 0) {
    self->RelayHotkey(wparam);
    return 0;
  } else if (message == WM_NCDESTROY) {
    self->UnhookMainWindow();
  }
  return DefSubclassProc(window, message, wparam, lparam);
}

}  // namespace vornick::win32
