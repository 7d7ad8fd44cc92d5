// The file services of the System port on Win32: the documents folder and
// whole-file reads and atomic replacements, for the settings file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/system.h"

namespace vornick::win32 {

// FOLDERID_Documents through the known-folder API, without creating it.
std::optional<std::string> KnownDocumentsFolder();
std::string WindowsDirectory();
System::FileBytes ReadWholeFile(std::string_view path);
std::string ReplaceWholeFile(std::string_view path, std::string_view bytes);

}  // namespace vornick::win32
