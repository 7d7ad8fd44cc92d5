#include <gtest/gtest.h>

#include "platform/win32/win32_system.h"
#include "test_window.h"

namespace vornick::win32::testing {
namespace {

// Generous bound: only catches a wait that hangs.
constexpr double kHangMs = 15000;

class PacedDelayTest : public ::testing::Test {
 protected:
  TestWindow window;
  Win32System system;

  PacedDelayTest() { system.AttachMainWindow(window.hwnd()); }
  ~PacedDelayTest() override {
    MSG msg;  // leave nothing behind for the next test
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
};

TEST_F(PacedDelayTest, ReturnsOnlyAfterMoreThanTheDelay) {
  for (std::int32_t ms : {1, 2, 10, 35, 100}) {
    const LONGLONG start = Ticks();
    EXPECT_TRUE(system.PacedDelay(ms));
    const double elapsed = MillisecondsSince(start);
    EXPECT_GT(elapsed, ms) << ms;
    EXPECT_LT(elapsed, ms + kHangMs) << ms;
  }
}

TEST_F(PacedDelayTest, ZeroAndNegativeReturnAtOnceWithoutDispatching) {
  PostMessageW(window.hwnd(), WM_APP, 0, 0);
  for (std::int32_t ms : {0, -5, INT32_MIN}) EXPECT_TRUE(system.PacedDelay(ms)) << ms;
  EXPECT_EQ(window.app_messages, 0);
  EXPECT_TRUE(system.PacedDelay(1));
  EXPECT_EQ(window.app_messages, 1);
}

TEST_F(PacedDelayTest, DispatchesPostedMessagesAndTimersWhileWaiting) {
  SetTimer(window.hwnd(), 1, 20, nullptr);
  PostMessageW(window.hwnd(), WM_APP, 0, 0);
  EXPECT_TRUE(system.PacedDelay(300));
  KillTimer(window.hwnd(), 1);
  EXPECT_EQ(window.app_messages, 1);
  EXPECT_GE(window.timer_ticks, 2);
}

TEST_F(PacedDelayTest, LeavesAQueuedQuitMessageForTheMainLoop) {
  PostMessageW(window.hwnd(), WM_APP, 0, 0);
  PostQuitMessage(7);
  EXPECT_FALSE(system.PacedDelay(60000));
  EXPECT_EQ(window.app_messages, 1);  // messages queued before it still run
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(PacedDelayTest, ReturnsFalseOnceTheMainWindowIsClosed) {
  PostMessageW(window.hwnd(), WM_CLOSE, 0, 0);
  const LONGLONG start = Ticks();
  EXPECT_FALSE(system.PacedDelay(60000));
  EXPECT_LT(MillisecondsSince(start), kHangMs);
  EXPECT_FALSE(window.alive());
  EXPECT_FALSE(system.PacedDelay(0));
  EXPECT_FALSE(system.PacedDelay(10));
}

}  // namespace
}  // namespace vornick::win32::testing
