#include "platform/win32/hotkey_hook.h"

namespace vornick::win32 {
namespace {

// Marks the window whose hook serves this thread: a hook procedure gets no
// context of its own, and the hook runs on the thread that installed it.
constexpr wchar_t kHookProperty[] = L"Vornick.HotkeyHook";

constexpr UINT kComparedModifiers = MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN;

// The modifiers held down now. The hook is called before the key state takes
// in the key being reported, so a modifier pressed earlier already shows. (The
// event's LLKHF_ALTDOWN flag does not do: Wine leaves it out for Alt+A.)
UINT HeldModifiers() {
  auto down = [](int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; };
  UINT held = 0;
  if (down(VK_MENU)) held |= MOD_ALT;
  if (down(VK_CONTROL)) held |= MOD_CONTROL;
  if (down(VK_SHIFT)) held |= MOD_SHIFT;
  if (down(VK_LWIN) || down(VK_RWIN)) held |= MOD_WIN;
  return held;
}

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

void HotkeyHook::OnKey(WPARAM message, const KBDLLHOOKSTRUCT& key) const {
  if (message != WM_KEYDOWN && message != WM_SYSKEYDOWN) return;
  for (const Combination& c : combinations_) {
    if (c.virtual_key != key.vkCode) continue;
    const UINT held = HeldModifiers();
    if (c.modifiers == held)
      PostMessageW(target_, WM_HOTKEY, static_cast<WPARAM>(c.identifier), MAKELPARAM(held, key.vkCode));
  }
}

}  // namespace vornick::win32
