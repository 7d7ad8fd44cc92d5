#include "platform/win32/hotkey_hook.h"

#include <array>

namespace vornick::win32 {
namespace {

// Marks the window whose hook serves this thread: a hook procedure gets no
// context of its own, and the hook runs on the thread that installed it.
constexpr wchar_t kHookProperty[] = L"Vornick.HotkeyHook";

struct ModifierKey {
  UINT virtual_key;
  UINT modifier;
};

constexpr std::array<ModifierKey, 11> kModifierKeys = {{
    {VK_MENU, MOD_ALT},
    {VK_LMENU, MOD_ALT},
    {VK_RMENU, MOD_ALT},
    {VK_CONTROL, MOD_CONTROL},
    {VK_LCONTROL, MOD_CONTROL},
    {VK_RCONTROL, MOD_CONTROL},
    {VK_SHIFT, MOD_SHIFT},
    {VK_LSHIFT, MOD_SHIFT},
    {VK_RSHIFT, MOD_SHIFT},
    {VK_LWIN, MOD_WIN},
    {VK_RWIN, MOD_WIN},
}};

constexpr UINT kComparedModifiers = MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN;

BOOL CALLBACK FindHookWindow(HWND window, LPARAM found) {
  if (void* hook = GetPropW(window, kHookProperty)) {
    *reinterpret_cast<HotkeyHook**>(found) = static_cast<HotkeyHook*>(hook);
    return FALSE;
  }
  return TRUE;
}

}  // namespace

std::unique_ptr<HotkeyHook> HotkeyHook::Install(HWND target) {
  std::unique_ptr<HotkeyHook> hook(new HotkeyHook(target));
  if (!SetPropW(target, kHookProperty, hook.get())) return nullptr;
  hook->hook_ = SetWindowsHookExW(WH_KEYBOARD_LL, Proc, GetModuleHandleW(nullptr), 0);
  if (hook->hook_ == nullptr) return nullptr;
  return hook;
}

HotkeyHook::~HotkeyHook() {
  if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
  if (IsWindow(target_) && GetPropW(target_, kHookProperty) == this) RemovePropW(target_, kHookProperty);
}

void HotkeyHook::Watch(std::int32_t identifier, UINT modifiers, UINT virtual_key) {
  combinations_.push_back({identifier, modifiers & kComparedModifiers, virtual_key});
}

HotkeyHook* HotkeyHook::OfThisThread() {
  HotkeyHook* found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindHookWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

LRESULT CALLBACK HotkeyHook::Proc(int code, WPARAM message, LPARAM event) {
  if (code == HC_ACTION) {
    if (HotkeyHook* self = OfThisThread()) self->OnKey(message, *reinterpret_cast<const KBDLLHOOKSTRUCT*>(event));
  }
  // Only watching: the key goes on to whoever else wants it.
  return CallNextHookEx(nullptr, code, message, event);
}

UINT HotkeyHook::HeldModifiers() const {
  UINT held = 0;
  for (std::size_t i = 0; i < kModifierKeys.size(); ++i)
    if (held_keys_ & (1u << i)) held |= kModifierKeys[i].modifier;
  return held;
}

void HotkeyHook::OnKey(WPARAM message, const KBDLLHOOKSTRUCT& key) {
  const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
  for (std::size_t i = 0; i < kModifierKeys.size(); ++i) {
    if (kModifierKeys[i].virtual_key != key.vkCode) continue;
    if (down)
      held_keys_ |= 1u << i;
    else
      held_keys_ &= ~(1u << i);
    return;
  }
  if (!down) return;
  UINT held = HeldModifiers();
  if (key.flags & LLKHF_ALTDOWN) held |= MOD_ALT;
  for (const Combination& c : combinations_)
    if (c.virtual_key == key.vkCode && c.modifiers == held)
      PostMessageW(target_, WM_HOTKEY, static_cast<WPARAM>(c.identifier), MAKELPARAM(held, key.vkCode));
}

}  // namespace vornick::win32
