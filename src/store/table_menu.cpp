#include "store/table_menu.h"

#include <string>

#include "store/settings_file.h"

namespace vornick {
namespace {

std::string SaveFailureMessage(const SaveFailure& failure) {
  return std::string("保存失败，坐标没有写入文件！\n") + (failure.reading ? "无法读取已有的文件：" : "无法写入文件：") +
         failure.path + "\n原因：" + failure.reason;
}

}  // namespace

void OnLoadTableMenu(Ports& ports) { LoadTable(ports.form, ports.system); }

void OnSaveTableMenu(Ports& ports) {
  const std::optional<SaveFailure> failure = SaveTable(ports.form, ports.system);
  ports.system.ShowMessage(failure ? SaveFailureMessage(*failure) : "已成功保存或覆盖！", "提示：");
}

}  // namespace vornick
