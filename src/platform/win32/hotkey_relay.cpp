// The emergency-stop hotkey: RegisterHotKey on the main window, and each
// WM_HOTKEY of ours raised as the Feedback event of the feedback control,
// synchronously inside the WM_HOTKEY handling (the main window's subclass
// passes it here). When another program holds the combination, a keyboard
// hook watches for it and posts the same WM_HOTKEY.
#include "platform/win32/hotkey_hook.h"
#include "platform/win32/win32_system.h"

namespace vornick::win32 {
namespace {

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
  if (!MainWindowAlive() || subclassed_window_ != main_window_) return 0;

  const UINT modifiers = ModifierFlags(modifier_code);
  const UINT key = static_cast<UINT>(virtual_key);
  if (::RegisterHotKey(main_window_, identifier, modifiers, key)) return identifier;

  if (!hotkey_hook_) hotkey_hook_ = HotkeyHook::Install(main_window_);
  if (!hotkey_hook_) return 0;
  hotkey_hook_->Watch(identifier, modifiers, key);
  return identifier;
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

}  // namespace vornick::win32
