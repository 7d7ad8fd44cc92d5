// What the overlay shows: two lines through the cursor and a read-out of its
// screen coordinates beside it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/form.h"
#include "platform/system.h"

namespace vornick {

std::string ReadOutText(std::int32_t screen_x, std::int32_t screen_y);

// Keeps the overlay on top and moves the lines to the cursor, stretched over
// the screen's width and height.
void CrosshairTick(Form& overlay, System& system);

// Writes the cursor's screen coordinates into the read-out and places it
// below and to the right of the cursor, inside the screen's right and bottom
// edges.
void ReadOutTick(Form& overlay, System& system);

}  // namespace vornick
