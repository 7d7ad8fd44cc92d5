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

// The hotkey swallowed its key, so the window with the focus sees Alt (or the
// Windows key) go down and up alone when it is released: its menu bar (or the
// Start menu) opens, and a stop sequence started from here would wait inside
// that menu's loop until the user leaves it. An unassigned key in between
// tells the focused window it was a combination; should the modifier be up
// already, the key does nothing at all.
void MaskModifierRelease(UINT hotkey_modifiers) {
  if (!(hotkey_modifiers & (MOD_ALT | MOD_WIN))) return;
  constexpr WORD kUnassignedKey = 0xE8;
  INPUT keys[2] = {};
  for (INPUT& key : keys) {
    key.type = INPUT_KEYBOARD;
    key.ki.wVk = kUnassignedKey;
  }
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof(INPUT));
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

void Win32System::RelayHotkey(WPARAM identifier, LPARAM keys) {
  if (identifier < static_cast<WPARAM>(kFirstHotkeyId) || identifier >= static_cast<WPARAM>(next_hotkey_id_)) return;
  MaskModifierRelease(LOWORD(keys));
  if (sink_ == nullptr) return;
  const std::string control = hotkey_feedback_control_;
  try {
    sink_->OnEvent(control, Event::Feedback, static_cast<std::int32_t>(identifier), 0);
  } catch (...) {
    // Nothing may unwind through the window procedure; the stop has no error path.
  }
}

}  // namespace vornick::win32
