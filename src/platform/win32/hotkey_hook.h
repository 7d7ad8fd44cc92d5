// Recognises hotkey combinations with a low-level keyboard hook, for when
// RegisterHotKey fails because another program holds the combination. Each
// press is posted to the target window as the WM_HOTKEY a registration would
// have brought, so the work it starts runs from the window's queue and not
// inside the hook, which must return at once.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace vornick::win32 {

class HotkeyHook {
 public:
  // Each press of a watched combination posts WM_HOTKEY (wParam = its
  // identifier) to `target`. nullptr when the system refuses the hook.
  static std::unique_ptr<HotkeyHook> Install(HWND target);
  HotkeyHook(const HotkeyHook&) = delete;
  HotkeyHook& operator=(const HotkeyHook&) = delete;
  ~HotkeyHook();

  // `modifiers` are RegisterHotKey's MOD_ flags; they must match exactly.
  void Watch(std::int32_t identifier, UINT modifiers, UINT virtual_key);

 private:
  struct Combination {
    std::int32_t identifier;
    UINT modifiers;
    UINT virtual_key;
  };

  explicit HotkeyHook(HWND target) : target_(target) {}
  static LRESULT CALLBACK Proc(int code, WPARAM message, LPARAM event);
  static HotkeyHook* OfThisThread();
  void OnKey(WPARAM message, const KBDLLHOOKSTRUCT& key);
  UINT HeldModifiers() const;

  HWND target_;
  HHOOK hook_ = nullptr;
  // Modifier keys held, one bit per key of kModifierKeys, as the hook saw them
  // go down and up. Neither the event's LLKHF_ALTDOWN (Wine leaves it out for
  // Alt+A) nor GetAsyncKeyState (Wine may answer from a cache up to 50 ms old)
  // can be relied on alone.
  std::uint32_t held_keys_ = 0;
  std::vector<Combination> combinations_;
};

}  // namespace vornick::win32
