// The small handlers of the main window that change the window or the table
// without starting a run. None of them waits.
#pragma once

#include "app/ports.h"

namespace vornick {

inline constexpr std::string_view kKeepOnTopBox = "保持最前";
inline constexpr std::string_view kAutoMinimizeBox = "自动最小化";
inline constexpr std::string_view kClickThroughOffButton = "关闭穿透";
inline constexpr std::string_view kClickThroughOnButton = "开启穿透";

void OnKeepOnTopClicked(Ports& ports);
void OnAutoMinimizeClicked(Ports& ports);
// Writes TextToInteger of 单次延时 (X坐标总延时) into all ten delay boxes.
void OnFillDelaysClicked(Ports& ports);
// Empties the twenty coordinate boxes; kinds, delays and settings stay.
void OnClearCoordinatesClicked(Ports& ports);
// The click-through switch: each button shows the other before hiding itself,
// so one of them is visible at every moment.
void OnClickThroughOffClicked(Ports& ports);
void OnClickThroughOnClicked(Ports& ports);

// Created-event duty: the box starts checked and the flag follows it.
void InitialiseAutoMinimize(Ports& ports);

}  // namespace vornick
