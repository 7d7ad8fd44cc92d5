// Starting a run from 启动 and stopping it from the Alt+A emergency stop.
#pragma once

#include <cstdint>
#include <string_view>

#include "app/ports.h"

namespace vornick {

inline constexpr std::string_view kStartButton = "启动";
// Off-screen label whose feedback event receives the hotkey notifications.
inline constexpr std::string_view kHotkeyFeedbackLabel = "标签4";

// Click handler of 启动: runs the table to its end. A Start pressed during a
// run starts a second run nested inside the first one's wait.
void OnStartClicked(Ports& ports);

// Asks the run to stop, shows the window again when auto-minimise is on and
// reports the stop after a second.
void StopRoutine(Ports& ports);

// Feedback event of 标签4: a hotkey press calls the stop handler ten times.
void OnHotkeyFeedback(Ports& ports, std::int32_t identifier);

// Created-event duty: registers Alt+A and installs StopRoutine as the stop handler.
void SetUpEmergencyStop(Ports& ports);

}  // namespace vornick
