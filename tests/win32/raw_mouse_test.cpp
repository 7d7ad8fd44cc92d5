// The raw mouse device with input synthesised through SendInput, which raw
// input reports like a physical mouse.
#include "platform/win32/raw_mouse.h"

#include <gtest/gtest.h>

#include <chrono>
#include <utility>
#include <vector>

#include "form_test_support.h"

namespace vornick::win32 {
namespace {

using namespace std::chrono_literals;
using testing::PumpFor;
using testing::PumpUntil;
using Reported = std::vector<std::pair<std::int32_t, std::int32_t>>;

class RecordingDevice : public EventSink {
 public:
  void OnEvent(std::string_view control, Event event, std::int32_t a, std::int32_t b) override {
    if (control == "输入设备1" && event == Event::InputState) reported.emplace_back(a, b);
  }
  Reported reported;
};

void Send(std::initializer_list<DWORD> button_flags) {
  std::vector<INPUT> inputs;
  for (DWORD flags : button_flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    inputs.push_back(in);
  }
  ASSERT_EQ(SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)), inputs.size());
}

class RawMouseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Wine hands raw input to no one while no window is in the foreground
    // (when capturing, the overlay is), and a click on the bare desktop takes
    // the foreground away: the test clicks into a window of its own.
    focus = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"raw mouse test", WS_POPUP | WS_VISIBLE, 40, 40, 20, 20,
                            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(focus);
    SetCursorPos(50, 50);
    mouse.Select(true);
  }
  void TearDown() override {
    DestroyWindow(focus);
    PumpFor(0ms);
  }

  HWND focus = nullptr;
  RecordingDevice sink;
  RawMouse mouse{"输入设备1", sink};
};

TEST_F(RawMouseTest, AShortClickIsReportedAtOnceAndItsReleaseAtThePolls) {
  mouse.SetPollPeriod(60'000);  // no poll comes during the test: the press is reported by itself
  ASSERT_TRUE(mouse.Initialise());
  Send({MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
  ASSERT_TRUE(PumpUntil([&] { return !sink.reported.empty(); }));
  EXPECT_EQ(sink.reported, (Reported{{256, 2}}));

  mouse.SetPollPeriod(30);
  PumpUntil([&] { return sink.reported.size() >= 3; }, 2s);
  PumpFor(100ms);
  EXPECT_EQ(sink.reported, (Reported{{256, 2}, {256, 1}, {256, 0}}));
}

TEST_F(RawMouseTest, OtherButtonsHaveTheirOwnIndex) {
  mouse.SetPollPeriod(30);
  ASSERT_TRUE(mouse.Initialise());
  Send({MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP});
  PumpUntil([&] { return sink.reported.size() >= 6; });
  PumpFor(100ms);
  // Each press polls at once, which moves the other buttons on as a poll does.
  const std::int32_t secondary = GetSystemMetrics(SM_SWAPBUTTON) ? 256 : 257;
  EXPECT_EQ(sink.reported, (Reported{{secondary, 2}, {secondary, 1}, {258, 2}, {secondary, 0}, {258, 1}, {258, 0}}));
}

TEST_F(RawMouseTest, AButtonDownAtOpeningCountsOnlyAfterItsRelease) {
  mouse.SetPollPeriod(30);
  Send({MOUSEEVENTF_LEFTDOWN});
  PumpFor(50ms);
  ASSERT_TRUE(mouse.Initialise());
  PumpFor(150ms);
  Send({MOUSEEVENTF_LEFTUP});
  PumpFor(150ms);
  EXPECT_TRUE(sink.reported.empty());

  Send({MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
  ASSERT_TRUE(PumpUntil([&] { return !sink.reported.empty(); }));
  EXPECT_EQ(sink.reported.front(), std::make_pair(256, 2));
}

TEST_F(RawMouseTest, StoppedOrUnselectedItReportsNothing) {
  mouse.SetPollPeriod(30);
  ASSERT_TRUE(mouse.Initialise());
  mouse.Select(false);
  Send({MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
  PumpFor(150ms);
  EXPECT_TRUE(sink.reported.empty());

  mouse.Select(true);
  mouse.Stop();
  Send({MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
  PumpFor(150ms);
  EXPECT_TRUE(sink.reported.empty());
}

}  // namespace
}  // namespace vornick::win32
