// The performance counter in microseconds, the clock every bench helper
// stamps its records with, so their times can be set side by side.
#pragma once

#include <windows.h>

inline long long NowMicroseconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return now.QuadPart / frequency.QuadPart * 1'000'000 + now.QuadPart % frequency.QuadPart * 1'000'000 /
                                                                frequency.QuadPart;
}
