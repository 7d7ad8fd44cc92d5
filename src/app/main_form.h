// The main window, described as one table of controls.
#pragma once

#include "platform/form_description.h"

namespace vornick {

const WindowSpec& MainFormSpec();

}  // namespace vornick
