#include "platform/win32/settings_io.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>

#include "platform/win32/system_error.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_system.h"

namespace vornick::win32 {
namespace {

// Larger than any table could make it; such a file is left alone, not rewritten.
constexpr LONGLONG kLargestSettingsFile = 16 * 1024 * 1024;

class FileHandle {
 public:
  explicit FileHandle(HANDLE h) : h_(h) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() { Close(); }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return h_; }
  // Closes now; false (with the last error set) when closing failed.
  bool Close() {
    const bool ok = !valid() || CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE h_;
};

std::string LastErrorText() { return SystemErrorText(GetLastError()); }

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

std::optional<std::string> KnownDocumentsFolder() {
  wchar_t* path = nullptr;
  const HRESULT hr = SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &path);
  std::optional<std::string> folder;
  if (SUCCEEDED(hr) && path && *path) folder = Narrow(path);
  CoTaskMemFree(path);
  return folder;
}

std::string WindowsDirectory() {
  wchar_t buffer[MAX_PATH + 1] = {};
  const UINT n = GetWindowsDirectoryW(buffer, MAX_PATH + 1);
  return n > 0 && n <= MAX_PATH ? Narrow(std::wstring_view(buffer, n)) : std::string("C:\\Windows");
}

System::FileBytes ReadWholeFile(std::string_view path) {
  using Status = System::FileBytes::Status;
  FileHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return {Status::Missing, {}, {}};
    return {Status::Unreadable, {}, SystemErrorText(error)};
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) return {Status::Unreadable, {}, LastErrorText()};
  if (size.QuadPart > kLargestSettingsFile) return {Status::Unreadable, {}, SystemErrorText(ERROR_FILE_TOO_LARGE)};
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    if (!ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got, nullptr))
      return {Status::Unreadable, {}, LastErrorText()};
    if (got == 0) break;  // the file shrank meanwhile
    done += got;
  }
  bytes.resize(done);
  return {Status::Read, std::move(bytes), {}};
}

std::string ReplaceWholeFile(std::string_view path, std::string_view bytes) {
  const std::wstring target = Widen(path);
  // Beside the target, so the rename never crosses a volume; the process id
  // keeps two running copies apart.
  const std::wstring temp = target + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
  FileHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return LastErrorText();
  std::string failure;
  if (!WriteAll(file.get(), bytes) || !FlushFileBuffers(file.get()) || !file.Close()) failure = LastErrorText();
  if (failure.empty()) {
    // The new file takes over the old one's hidden or system marks, not a read-only one.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
      SetFileAttributesW(temp.c_str(),
                         attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE));
    if (!MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      failure = LastErrorText();
  }
  if (!failure.empty()) {
    file.Close();
    DeleteFileW(temp.c_str());
  }
  return failure;
}

std::optional<std::string> Win32System::DocumentsFolder() { return KnownDocumentsFolder(); }
std::string Win32System::WindowsFolder() { return WindowsDirectory(); }
System::FileBytes Win32System::ReadFileBytes(std::string_view path) { return ReadWholeFile(path); }
std::string Win32System::ReplaceFileAtomically(std::string_view path, std::string_view bytes) {
  return ReplaceWholeFile(path, bytes);
}

}  // namespace vornick::win32
