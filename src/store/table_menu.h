// The menu items "读取坐标" and "保存坐标".
#pragma once

#include "app/ports.h"

namespace vornick {

void OnLoadTableMenu(Ports& ports);

// Confirms with "已成功保存或覆盖！" only when the file was written; otherwise
// the box says that saving failed, for which file and why.
void OnSaveTableMenu(Ports& ports);

}  // namespace vornick
