// The capture overlay, described as a table like the main window.
#pragma once

#include <string_view>

#include "platform/form_description.h"

namespace vornick {

inline constexpr std::string_view kCaptureWindow = "CaptureWindow";
inline constexpr std::string_view kHorizontalLine = "透明标签1";
inline constexpr std::string_view kVerticalLine = "透明标签2";
inline constexpr std::string_view kReadOut = "编辑框1";
inline constexpr std::string_view kCrosshairTimer = "时钟1";
inline constexpr std::string_view kReadOutTimer = "时钟2";
// Not a window: the raw mouse device whose events pick the point.
inline constexpr std::string_view kInputDevice = "输入设备1";

// Background and colour key of the overlay: light blue, never shown.
constexpr Colour kOverlayKeyColour = 16045489;

const WindowSpec& CaptureFormSpec();

}  // namespace vornick
