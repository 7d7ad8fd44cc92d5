#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/win32/win32_input.h"
#include "platform/win32/win32_system.h"
#include "form_test_support.h"
#include "test_window.h"

namespace vornick::win32::testing {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAreArray;

// A message as a person counts it: the second press of a close pair arrives
// as a double-click message and is a press all the same.
struct Event {
  UINT message;
  int x, y;
  bool operator==(const Event&) const = default;
};

UINT AsPress(UINT message) {
  if (message == WM_LBUTTONDBLCLK) return WM_LBUTTONDOWN;
  if (message == WM_RBUTTONDBLCLK) return WM_RBUTTONDOWN;
  return message;
}

std::ostream& operator<<(std::ostream& out, const Event& e) {
  return out << "{0x" << std::hex << e.message << std::dec << " at " << e.x << "," << e.y << "}";
}

class SimulateClickTest : public ::testing::Test {
 protected:
  TestWindow window{200, 150, 500, 400};
  Win32System system;

  SimulateClickTest() {
    system.AttachMainWindow(window.hwnd());
    SetForegroundWindow(window.hwnd());
    PumpFor(200ms);  // let the window manager settle
    window.buttons.clear();
  }

  // Screen point of a client point of the test window.
  POINT Screen(int x, int y) const {
    POINT p{x, y};
    ClientToScreen(window.hwnd(), &p);
    return p;
  }

  std::vector<Event> Received(std::size_t count) {
    PumpUntil([&] { return window.buttons.size() >= count; });
    PumpFor(50ms);  // anything extra would show up here
    std::vector<Event> events;
    for (const auto& b : window.buttons) events.push_back({AsPress(b.message), b.x, b.y});
    return events;
  }
};

struct KindCase {
  std::int32_t kind;
  std::vector<UINT> messages;
};

TEST_F(SimulateClickTest, EachKindDeliversItsButtonsAtThePoint) {
  const std::vector<UINT> left = {WM_LBUTTONDOWN, WM_LBUTTONUP};
  const std::vector<UINT> left_twice = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP};
  const std::vector<UINT> right = {WM_RBUTTONDOWN, WM_RBUTTONUP};
  const std::vector<UINT> right_twice = {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP};
  const KindCase cases[] = {{0, left}, {1, left_twice}, {2, right}, {3, right_twice}, {4, left}, {-1, left}};
  int x = 20;
  for (const KindCase& c : cases) {
    SCOPED_TRACE(c.kind);
    window.buttons.clear();
    x += 60;  // a new point each time, far from the last: no double click across cases
    const int y = 30 + x / 3;
    const POINT at = Screen(x, y);
    system.SimulateClick(at.x, at.y, c.kind);

    std::vector<Event> expected;
    for (UINT m : c.messages) expected.push_back({m, x, y});
    EXPECT_THAT(Received(expected.size()), ElementsAreArray(expected));
    POINT cursor{};
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, at.x);
    EXPECT_EQ(cursor.y, at.y);
  }
}

TEST_F(SimulateClickTest, ClicksWithNoWaitBetweenThemEachActAtTheirOwnPoint) {
  const int points[][2] = {{30, 40}, {300, 200}, {120, 330}, {450, 20}};
  std::vector<Event> expected;
  for (const auto& p : points) {
    const POINT at = Screen(p[0], p[1]);
    system.SimulateClick(at.x, at.y, 0);
    expected.push_back({WM_LBUTTONDOWN, p[0], p[1]});
    expected.push_back({WM_LBUTTONUP, p[0], p[1]});
  }
  EXPECT_THAT(Received(expected.size()), ElementsAreArray(expected));
}

struct DesktopCase {
  int origin, size;
};

TEST(NormalisedDesktopCoordinate, MapsBackToTheSamePixelOnEveryLayout) {
  // Primary only; a second monitor left of it (negative coordinates); odd sizes.
  for (const DesktopCase d : {DesktopCase{0, 1280}, DesktopCase{-1920, 3200}, DesktopCase{-1080, 2999},
                              DesktopCase{-7, 33}}) {
    for (int pixel = d.origin; pixel < d.origin + d.size; ++pixel) {
      const LONG value = NormalisedDesktopCoordinate(pixel, d.origin, d.size);
      ASSERT_GE(value, 0);
      ASSERT_LE(value, 65535);
      ASSERT_EQ(d.origin + ((static_cast<LONGLONG>(value) * d.size) >> 16), pixel) << d.origin << " " << d.size;
    }
  }
}

}  // namespace
}  // namespace vornick::win32::testing
