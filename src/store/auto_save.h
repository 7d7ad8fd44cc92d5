// Auto-save: while 选择框1 is checked, 时钟4 counts AutoSaveCountdown down
// once a second in the label 自动保存; when the count reaches 1 it starts the
// fast 时钟3, whose next tick saves the table, re-arms the count and stops
// itself: one save every 15 seconds.
#pragma once

#include "app/ports.h"

namespace vornick {

void OnAutoSaveBoxClicked(Ports& ports);  // 选择框1
void OnAutoSaveCountdownTick(Ports& ports);  // 时钟4
void OnAutoSavePoll(Ports& ports);  // 时钟3

}  // namespace vornick
