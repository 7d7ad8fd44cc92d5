#include <gtest/gtest.h>

#include "app/app.h"
#include "engine/run_control.h"
#include "platform/win32/win32_system.h"
#include "form_test_support.h"
#include "test_window.h"

namespace vornick::win32::testing {
namespace {

using namespace std::chrono_literals;

// Key presses and releases, synthesised as from the keyboard: {key, 0 or KEYEVENTF_KEYUP}.
void Keys(std::initializer_list<std::pair<WORD, DWORD>> events) {
  std::vector<INPUT> inputs;
  for (const auto& [key, flags] : events) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = flags;
    inputs.push_back(input);
  }
  ASSERT_EQ(SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)), inputs.size());
}

// The main window of a program: a plain window, the real System adapter and
// the application's routing, with the form's controls in maps.
class HotkeyRelayTest : public ::testing::Test {
 protected:
  TestWindow window;
  Win32System system;
  MapForm form{window.hwnd()};
  App app{form, system};
  int stop_calls = 0;

  void StartUp() {
    system.AttachMainWindow(window.hwnd());
    system.SetEventSink(&app);
    app.OnEvent(kMainWindow, Event::Created, 0, 0);
    form.text_writes.clear();  // what start-up wrote (the loaded table) is not under test
  }
  // Counts the dispatch's calls; only the first one runs the real stop routine.
  void CountStops() {
    app.state().stop_handler = [this, real = app.state().stop_handler] {
      if (stop_calls++ == 0) real();
    };
  }
  std::string Status() const { return form.Text(kStatusLabel); }
};

TEST_F(HotkeyRelayTest, WmHotkeyRunsTheStopRoutineTenTimesInsideItsHandling) {
  StartUp();
  ASSERT_EQ(app.state().hotkey_id, 33001);
  CountStops();

  SendMessageW(window.hwnd(), WM_HOTKEY, 33002, 0);  // not an identifier we issued
  EXPECT_EQ(stop_calls, 0);

  const LONGLONG start = Ticks();
  SendMessageW(window.hwnd(), WM_HOTKEY, 33001, MAKELPARAM(MOD_ALT, 'A'));
  EXPECT_EQ(stop_calls, 10);  // all of them before SendMessage returned
  EXPECT_GT(MillisecondsSince(start), 1000);
  EXPECT_EQ(app.state().stop_flag, 1);
  EXPECT_EQ(Status(), "当前状态：已停止运行！");
}

TEST_F(HotkeyRelayTest, ClosingTheWindowDuringTheStopSequenceAbandonsIt) {
  StartUp();
  CountStops();
  PostMessageW(window.hwnd(), WM_HOTKEY, 33001, 0);
  PostMessageW(window.hwnd(), WM_CLOSE, 0, 0);  // handled inside the stop routine's wait
  EXPECT_FALSE(system.PacedDelay(60000));
  EXPECT_FALSE(window.alive());
  EXPECT_EQ(stop_calls, 1);
  EXPECT_EQ(app.state().stop_flag, 1);
  EXPECT_TRUE(form.text_writes.empty()) << form.text_writes.front();  // nothing after the close
}

struct PressCase {
  const char* name;
  bool alt_a_taken;  // another window already holds Alt+A: the keyboard hook stands in
};

TEST_F(HotkeyRelayTest, AltAReachesTheDispatchThroughThePendingHotkeyCheck) {
  for (const PressCase c : {PressCase{"registered", false}, PressCase{"hooked", true}}) {
    SCOPED_TRACE(c.name);
    TestWindow main_window, other;
    Win32System sys;
    MapForm frm{main_window.hwnd()};
    App program{frm, sys};
    if (c.alt_a_taken) {
      ASSERT_TRUE(RegisterHotKey(other.hwnd(), 1, MOD_ALT, 'A'));
    }
    sys.AttachMainWindow(main_window.hwnd());
    sys.SetEventSink(&program);
    program.OnEvent(kMainWindow, Event::Created, 0, 0);
    ASSERT_EQ(program.state().hotkey_id, 33001);
    int calls = 0;
    program.state().stop_handler = [&] { ++calls; };

    Keys({{VK_MENU, 0}, {'A', 0}, {'A', KEYEVENTF_KEYUP}, {VK_MENU, KEYEVENTF_KEYUP}});
    // Only the hotkey check, as between two clicks with no delay.
    const LONGLONG start = Ticks();
    while (calls == 0 && MillisecondsSince(start) < 10000) {
      sys.HandlePendingHotkey();
      Sleep(1);
    }
    EXPECT_EQ(calls, 10);
    // Which way it came: only a successful registration can be unregistered.
    EXPECT_EQ(UnregisterHotKey(main_window.hwnd(), 33001) != FALSE, !c.alt_a_taken);
    if (c.alt_a_taken) UnregisterHotKey(other.hwnd(), 1);
  }
}

TEST_F(HotkeyRelayTest, ReleasingAltAfterTheHotkeyOpensNoMenu) {
  StartUp();
  app.state().stop_handler = [this] { ++stop_calls; };
  SetForegroundWindow(window.hwnd());
  SetFocus(window.hwnd());
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == window.hwnd(); }, 5000ms));

  Keys({{VK_MENU, 0}, {VK_MENU, KEYEVENTF_KEYUP}});  // Alt alone does ask for the menu here
  ASSERT_TRUE(PumpUntil([&] { return window.key_menu_requests == 1; }, 5000ms));

  Keys({{VK_MENU, 0}, {'A', 0}});
  ASSERT_TRUE(PumpUntil([&] { return stop_calls == 10; }, 5000ms));
  Keys({{VK_MENU, KEYEVENTF_KEYUP}, {'A', KEYEVENTF_KEYUP}});  // Alt first, as xdotool does
  PumpFor(300ms);
  EXPECT_EQ(window.key_menu_requests, 1);
}

}  // namespace
}  // namespace vornick::win32::testing
