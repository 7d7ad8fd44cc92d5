// Load, save and their message boxes on real files: the store's logic with
// the in-memory form, the real disk and real message boxes.
#include <gtest/gtest.h>

#include <thread>

#include "app/app.h"
#include "app/main_form.h"
#include "fakes/fake_form.h"
#include "platform/gbk_codec.h"
#include "platform/win32/settings_io.h"
#include "platform/win32/text.h"
#include "temp_folder.h"

namespace vornick {
namespace {

// The machine is fake apart from the files, a documents folder of the test's
// own and the message boxes, which are real and answered from another thread.
class RealFilesSystem : public testing::FakeSystem {
 public:
  explicit RealFilesSystem(std::string documents) : documents_(std::move(documents)) {}

  std::optional<std::string> DocumentsFolder() override { return documents_; }
  FileBytes ReadFileBytes(std::string_view path) override { return win32::ReadWholeFile(path); }
  std::string ReplaceFileAtomically(std::string_view path, std::string_view bytes) override {
    return win32::ReplaceWholeFile(path, bytes);
  }

  void ShowMessage(std::string_view text, std::string_view caption) override {
    std::string shown = "(no box seen)";
    const std::wstring wide_caption = win32::Widen(caption);
    std::thread answerer([&] {
      for (int tries = 0; tries < 500; ++tries) {  // up to 10 s on a busy machine
        HWND box = FindWindowW(L"#32770", wide_caption.c_str());
        if (box && IsWindowVisible(box)) {
          wchar_t buffer[2048] = {};
          GetDlgItemTextW(box, 0xFFFF, buffer, 2048);
          shown = win32::Narrow(buffer);
          PostMessageW(box, WM_COMMAND, IDOK, 0);
          return;
        }
        Sleep(20);
      }
    });
    MessageBoxW(nullptr, win32::Widen(text).c_str(), wide_caption.c_str(), MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
    answerer.join();
    messages.push_back({shown, std::string(caption), Now()});
  }

 private:
  std::string documents_;
};

class SettingsStoreTest : public ::testing::Test {
 protected:
  SettingsStoreTest() { system.SetSink(&app); }

  testing::TempFolder documents{L"文档"};
  const std::string file = documents.File("重要配置.ini");
  RealFilesSystem system{documents.path()};
  testing::FakeForm form{MainFormSpec(), system};
  App app{form, system};
};

TEST_F(SettingsStoreTest, MenuSaveWritesTheFileAndConfirms) {
  form.SetText("X坐标1", "640");
  form.SetText("编辑框1", "中文");
  form.SelectMenu("保存坐标");
  const std::string bytes = testing::TempFolder::ReadBytes(file);
  EXPECT_TRUE(bytes.starts_with(Utf8ToGbk("[配置1]\r\nX坐标1=640\r\nY坐标1=\r\n"))) << bytes;
  EXPECT_TRUE(bytes.ends_with(Utf8ToGbk("X坐标延时10=100\r\nX坐标延时=中文\r\n"))) << bytes;
  ASSERT_EQ(system.messages.size(), 1u);
  EXPECT_EQ(system.messages[0].text, "已成功保存或覆盖！");
  EXPECT_EQ(documents.Listing(), L"重要配置.ini;");
}

TEST_F(SettingsStoreTest, StartUpLoadsAFileWrittenBefore) {
  testing::TempFolder::WriteBytes(file, Utf8ToGbk("[其他]\r\na=1\r\n[配置1]\r\nX坐标2=300\r\nY坐标2=400\r\n"));
  app.OnEvent("MainWindow", Event::Created, 0, 0);
  EXPECT_EQ(form.Text("X坐标2"), "300");
  EXPECT_EQ(form.Text("Y坐标2"), "400");
  EXPECT_EQ(form.Text("X坐标延时2"), "100");

  form.SetText("X坐标2", "301");
  form.SelectMenu("保存坐标");
  testing::TempFolder::WriteBytes(file, testing::TempFolder::ReadBytes(file) + "[Hand]\r\nnote=kept\r\n");
  form.SetText("X坐标2", "");
  form.SelectMenu("读取坐标");
  EXPECT_EQ(form.Text("X坐标2"), "301");
  form.SelectMenu("保存坐标");
  const std::string bytes = testing::TempFolder::ReadBytes(file);
  EXPECT_TRUE(bytes.starts_with(Utf8ToGbk("[其他]\r\na=1\r\n[配置1]\r\nX坐标2=301\r\n"))) << bytes;
  EXPECT_TRUE(bytes.ends_with("[Hand]\r\nnote=kept\r\n")) << bytes;
}

TEST_F(SettingsStoreTest, ASaveThatCannotReplaceTheFileSaysSoAndKeepsTheOldOne) {
  const std::string old = Utf8ToGbk("[配置1]\r\nX坐标1=1\r\n");
  testing::TempFolder::WriteBytes(file, old);
  HANDLE holder = CreateFileW(win32::Widen(file).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                              nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  form.SetText("X坐标1", "2");
  form.SelectMenu("保存坐标");
  CloseHandle(holder);

  ASSERT_EQ(system.messages.size(), 1u);
  const std::string& shown = system.messages[0].text;
  EXPECT_TRUE(shown.starts_with("保存失败，坐标没有写入文件！")) << shown;
  EXPECT_NE(shown.find("无法写入文件：" + file), std::string::npos) << shown;
  EXPECT_NE(shown.find("原因："), std::string::npos) << shown;
  EXPECT_EQ(testing::TempFolder::ReadBytes(file), old);
  EXPECT_EQ(documents.Listing(), L"重要配置.ini;");
}

TEST_F(SettingsStoreTest, AFileThatCannotBeReadIsNotReplaced) {
  testing::TempFolder::WriteBytes(file, "keep");
  HANDLE exclusive = CreateFileW(win32::Widen(file).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  form.SelectMenu("保存坐标");
  CloseHandle(exclusive);
  ASSERT_EQ(system.messages.size(), 1u);
  EXPECT_NE(system.messages[0].text.find("无法读取已有的文件：" + file), std::string::npos) << system.messages[0].text;
  EXPECT_EQ(testing::TempFolder::ReadBytes(file), "keep");
}

}  // namespace
}  // namespace vornick
