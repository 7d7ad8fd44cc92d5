#include "capture/raw_input_device.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vornick {
namespace {

using Changes = std::vector<RawInputDevice::Change>;

}  // namespace

void PrintTo(const RawInputDevice::Change& c, std::ostream* os) { *os << "(" << c.index << ", " << c.code << ")"; }

namespace {

// One step of a sequence: an edge of a button, or a poll with the events it must raise.
struct Step {
  enum { Press, Release, Poll } what;
  int button = 0;
  Changes expected = {};
};

Step Press(int button) { return {Step::Press, button}; }
Step Release(int button) { return {Step::Release, button}; }
Step Poll(Changes expected = {}) { return {Step::Poll, 0, std::move(expected)}; }

struct Sequence {
  const char* name;
  std::array<bool, kMouseButtons> down_at_opening;
  std::vector<Step> steps;
};

TEST(RawInputDeviceTest, ReportsEachCodeChangeOnce) {
  const Sequence sequences[] = {
      {"press held over polls, then released",
       {},
       {Poll(), Press(0), Poll({{256, 2}}), Poll({{256, 3}}), Poll(), Release(0), Poll({{256, 1}}), Poll({{256, 0}}),
        Poll()}},
      {"press and release between two polls",
       {},
       {Press(0), Release(0), Poll({{256, 2}}), Poll({{256, 1}}), Poll({{256, 0}})}},
      {"button down at opening counts as up until released",
       {true, false, false},
       {Poll(), Poll(), Release(0), Poll(), Press(0), Poll({{256, 2}})}},
      {"released before the first poll after opening",
       {true, false, false},
       {Release(0), Poll(), Press(0), Release(0), Poll({{256, 2}})}},
      {"other buttons have their own index, reported in index order",
       {false, true, false},
       {Press(2), Press(0), Poll({{256, 2}, {258, 2}}), Release(2), Poll({{256, 3}, {258, 1}})}},
      {"pressed again before the release was polled",
       {},
       {Press(0), Poll({{256, 2}}), Release(0), Press(0), Poll({{256, 3}})}},
      {"buttons beyond the third are ignored", {}, {Press(3), Press(-1), Poll()}},
  };
  for (const Sequence& s : sequences) {
    RawInputDevice device;
    device.Initialise(s.down_at_opening);
    int poll = 0;
    for (const Step& step : s.steps) {
      if (step.what == Step::Press) device.Press(step.button);
      if (step.what == Step::Release) device.Release(step.button);
      if (step.what == Step::Poll) {
        EXPECT_EQ(device.Poll(), step.expected) << s.name << ", poll " << ++poll;
      }
    }
  }
}

TEST(RawInputDeviceTest, InitialiseStartsAfresh) {
  RawInputDevice device;
  device.Initialise({});
  device.Press(0);
  ASSERT_EQ(device.Poll(), (Changes{{256, 2}}));
  device.Initialise({});
  EXPECT_EQ(device.Code(0), kButtonUp);
  EXPECT_EQ(device.Poll(), Changes{});
}

}  // namespace
}  // namespace vornick
