// The settings file "重要配置.ini": where it is, its 31 keys, and the table
// of the main window moved into and out of it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/form.h"
#include "platform/system.h"

namespace vornick {

inline constexpr std::string_view kSettingsFileName = "重要配置.ini";
inline constexpr std::string_view kSettingsSection = "配置1";

struct SettingsKey {
  std::string key;
  std::string control;  // the main window's box whose text it holds
};

// The 31 keys in file order: X and Y of rows 1 to 10 alternating, the ten
// row delays, then the end delay, stored as "X坐标延时" but held by 编辑框1.
const std::vector<SettingsKey>& SettingsKeys();

// The documents folder, a backslash unless it already ends in one, and the
// file name; only the file name when the folder cannot be determined.
// Worked out afresh for every use.
std::string SettingsFilePath(System& system);

// Why a save did not happen.
struct SaveFailure {
  std::string path;
  bool reading = false;  // the existing file could not be read, so it was left alone
  std::string reason;    // the system's words
};

// Sets one key in the file; the rest of the file is kept.
std::optional<SaveFailure> WriteSettingsValue(System& system, std::string_view key, std::string_view value);

// Writes the texts of all 31 boxes in one replacement of the file, so it
// never holds half a table; the file's other sections and keys are kept.
std::optional<SaveFailure> SaveTable(Form& form, System& system);

// Sets each of the 31 boxes to its stored value, from one read of the file;
// a box keeps its own text when the file, the section or the key is missing
// or the file cannot be read. Writes back unchanged texts too.
void LoadTable(Form& form, System& system);

}  // namespace vornick
