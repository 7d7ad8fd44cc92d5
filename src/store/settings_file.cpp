#include "store/settings_file.h"

#include <utility>

#include "engine/point_table.h"
#include "store/ini_text.h"

namespace vornick {
namespace {

std::vector<SettingsKey> BuildKeys() {
  std::vector<SettingsKey> keys;
  for (int row = 1; row <= kRowCount; ++row) {
    keys.push_back({XControl(row), XControl(row)});
    keys.push_back({YControl(row), YControl(row)});
  }
  for (int row = 1; row <= kRowCount; ++row) keys.push_back({DelayControl(row), DelayControl(row)});
  keys.push_back({"X坐标延时", std::string(kEndDelayControl)});
  return keys;
}

// The path the file is really opened at: a bare name lives in the Windows
// folder, as the profile functions have it.
std::string OpenedPath(System& system) {
  std::string path = SettingsFilePath(system);
  if (path.find_first_of("\\/") == std::string::npos) {
    std::string folder = system.WindowsFolder();
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    path = folder + path;
  }
  return path;
}

std::optional<SaveFailure> Update(System& system, const std::vector<std::pair<std::string_view, std::string>>& values) {
  const std::string path = OpenedPath(system);
  System::FileBytes file = system.ReadFileBytes(path);
  if (file.status == System::FileBytes::Status::Unreadable) return SaveFailure{path, true, file.reason};
  std::string bytes = file.status == System::FileBytes::Status::Read ? std::move(file.bytes) : std::string();
  for (const auto& [key, value] : values) bytes = WriteIniValue(bytes, kSettingsSection, key, value);
  std::string reason = system.ReplaceFileAtomically(path, bytes);
  if (!reason.empty()) return SaveFailure{path, false, std::move(reason)};
  return std::nullopt;
}

}  // namespace

const std::vector<SettingsKey>& SettingsKeys() {
  static const std::vector<SettingsKey> keys = BuildKeys();
  return keys;
}

std::string SettingsFilePath(System& system) {
  std::string folder = system.DocumentsFolder().value_or(std::string());
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder + std::string(kSettingsFileName);
}


std::optional<SaveFailure> WriteSettingsValue(System& system, std::string_view key, std::string_view value) {
  return Update(system, {{key, std::string(value)}});
}

std::optional<SaveFailure> SaveTable(Form& form, System& system) {
  std::vector<std::pair<std::string_view, std::string>> values;
  for (const SettingsKey& k : SettingsKeys()) values.emplace_back(k.key, form.Text(k.control));
  return Update(system, values);
}

void LoadTable(Form& form, System& system) {
  // One read for all the keys: nothing can change the file in between, and
  // each read costs a folder lookup and an open (about 1 ms under Wine).
  const System::FileBytes file = system.ReadFileBytes(OpenedPath(system));
  for (const SettingsKey& k : SettingsKeys()) {
    std::string text = form.Text(k.control);
    if (file.status == System::FileBytes::Status::Read)
      text = ReadIniValue(file.bytes, kSettingsSection, k.key).value_or(std::move(text));
    form.SetText(k.control, text);
  }
}

}  // namespace vornick
