// The file services behind the settings file, on the real disk.
#include "platform/win32/settings_io.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include "temp_folder.h"

namespace vornick::win32 {
namespace {

using Status = System::FileBytes::Status;

class SettingsIoTest : public ::testing::Test {
 protected:
  testing::TempFolder folder{L"设置文件"};
  const std::string file = folder.File("重要配置.ini");
};

TEST_F(SettingsIoTest, DocumentsFolderIsTheUsersDocumentsFolder) {
  wchar_t personal[MAX_PATH] = {};
  ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, personal), S_OK);
  EXPECT_EQ(KnownDocumentsFolder(), Narrow(personal));
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  EXPECT_EQ(WindowsDirectory(), Narrow(windows));
}

TEST_F(SettingsIoTest, ReadTellsMissingFromUnreadable) {
  EXPECT_EQ(ReadWholeFile(file).status, Status::Missing);
  EXPECT_EQ(ReadWholeFile(folder.File("没有的文件夹\\x.ini")).status, Status::Missing);

  const System::FileBytes folder_read = ReadWholeFile(folder.path());
  EXPECT_EQ(folder_read.status, Status::Unreadable);
  EXPECT_NE(folder_read.reason.find("(error "), std::string::npos) << folder_read.reason;

  const std::string bytes("[\xC5\xE4\xD6\xC3" "1]\r\n\0\xFF", 10);
  testing::TempFolder::WriteBytes(file, bytes);
  const System::FileBytes read = ReadWholeFile(file);
  EXPECT_EQ(read.status, Status::Read);
  EXPECT_EQ(read.bytes, bytes);

  HANDLE exclusive = CreateFileW(Widen(file).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(ReadWholeFile(file).status, Status::Unreadable);
  CloseHandle(exclusive);
}

TEST_F(SettingsIoTest, ReplaceWritesTheWholeFileAndLeavesNothingBehind) {
  EXPECT_EQ(ReplaceWholeFile(file, "first"), "");
  EXPECT_EQ(testing::TempFolder::ReadBytes(file), "first");
  SetFileAttributesW(Widen(file).c_str(), FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(ReplaceWholeFile(file, "second, longer"), "");
  EXPECT_EQ(testing::TempFolder::ReadBytes(file), "second, longer");
  EXPECT_TRUE(GetFileAttributesW(Widen(file).c_str()) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(folder.Listing(), L"重要配置.ini;");
}

TEST_F(SettingsIoTest, AFailedReplaceKeepsTheOldFile) {
  testing::TempFolder::WriteBytes(file, "old");
  // Held open by another program that does not let it be deleted or renamed over.
  HANDLE holder = CreateFileW(Widen(file).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  const std::string reason = ReplaceWholeFile(file, "new");
  CloseHandle(holder);
  EXPECT_NE(reason, "");
  EXPECT_EQ(testing::TempFolder::ReadBytes(file), "old");
  EXPECT_EQ(folder.Listing(), L"重要配置.ini;");

  EXPECT_NE(ReplaceWholeFile(folder.File("没有的文件夹\\x.ini"), "new"), "");
}

}  // namespace
}  // namespace vornick::win32
