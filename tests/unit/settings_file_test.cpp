#include "store/settings_file.h"

#include <gtest/gtest.h>

#include "app_fixture.h"
#include "platform/gbk_codec.h"

namespace vornick {
namespace {

constexpr const char* kPath = "C:\\Users\\tester\\Documents\\重要配置.ini";

class SettingsFileTest : public testing::AppFixture {
 protected:
  std::string File() const { return system.files.at(kPath); }
  void SetFile(std::string_view utf8) { system.files[kPath] = Utf8ToGbk(utf8); }
};

TEST_F(SettingsFileTest, PathFollowsTheDocumentsFolder) {
  const struct {
    std::optional<std::string> folder;
    std::string path;
  } cases[] = {
      {"C:\\Users\\tester\\Documents", kPath},
      {"D:\\", "D:\\重要配置.ini"},  // a drive root gets no second backslash
      {std::nullopt, "重要配置.ini"},
      {"", "重要配置.ini"},
  };
  for (const auto& c : cases) {
    system.documents_folder = c.folder;
    EXPECT_EQ(SettingsFilePath(system), c.path);
  }
}

TEST_F(SettingsFileTest, WithoutADocumentsFolderTheFileLivesInTheWindowsFolder) {
  system.documents_folder = std::nullopt;
  form.SetText("X坐标1", "7");
  ASSERT_FALSE(SaveTable(form, system));
  EXPECT_TRUE(system.files.contains("C:\\Windows\\重要配置.ini"));
  form.SetText("X坐标1", "");
  LoadTable(form, system);
  EXPECT_EQ(form.Text("X坐标1"), "7");
}

TEST_F(SettingsFileTest, NewFileFromTheFormHasExactlyTheseBytes) {
  // GBK spelled out: 配置 C5E4 D6C3, 坐标 D7F8 B1EA, 延时 D1D3 CAB1.
  const std::string xy = "\xD7\xF8\xB1\xEA", delay = "X\xD7\xF8\xB1\xEA\xD1\xD3\xCA\xB1";
  std::string want = "[\xC5\xE4\xD6\xC3" "1]\r\n";
  for (int row = 1; row <= 10; ++row)
    want += "X" + xy + std::to_string(row) + "=\r\nY" + xy + std::to_string(row) + "=\r\n";
  for (int row = 1; row <= 10; ++row) want += delay + std::to_string(row) + "=100\r\n";
  want += delay + "=1000\r\n";

  form.SelectMenu("保存坐标");
  EXPECT_EQ(File(), want);
  ASSERT_EQ(system.messages.size(), 1u);
  EXPECT_EQ(system.messages[0].text, "已成功保存或覆盖！");
  EXPECT_EQ(system.messages[0].caption, "提示：");
}

TEST_F(SettingsFileTest, FirstStartWithoutAFileKeepsTheFormTexts) {
  StartUp();
  EXPECT_EQ(form.Text("X坐标1"), "");
  EXPECT_EQ(form.Text("X坐标延时10"), "100");
  EXPECT_EQ(form.Text("编辑框1"), "1000");
  EXPECT_EQ(form.text_writes.size(), 31u);  // each box written back, unchanged
  EXPECT_TRUE(system.files.empty());
}

TEST_F(SettingsFileTest, StartUpAndTheMenuLoadTheTable) {
  SetFile("[配置1]\r\nX坐标1=12\r\nY坐标1=34\r\nX坐标延时3=abc\r\nX坐标延时=500\r\n");
  StartUp();
  EXPECT_EQ(form.Text("X坐标1"), "12");
  EXPECT_EQ(form.Text("Y坐标1"), "34");
  EXPECT_EQ(form.Text("X坐标延时3"), "abc");  // not validated
  EXPECT_EQ(form.Text("编辑框1"), "500");     // key 31 feeds the end delay box
  EXPECT_EQ(form.Text("X坐标2"), "");        // missing keys leave their boxes
  EXPECT_EQ(form.Text("X坐标延时1"), "100");

  SetFile("[配置1]\r\nX坐标1=99\r\nX坐标3=\r\n");
  form.SetText("X坐标3", "5");
  form.SelectMenu("读取坐标");
  EXPECT_EQ(form.Text("X坐标1"), "99");
  EXPECT_EQ(form.Text("X坐标3"), "");  // an empty stored value empties the box
  EXPECT_EQ(form.Text("Y坐标1"), "34");
  EXPECT_TRUE(system.messages.empty());
}

TEST_F(SettingsFileTest, SaveAndLoadOnlyTouchTheThirtyOneBoxes) {
  form.SetText("X坐标1", "10");
  form.SetText("X坐标总延时", "250");
  form.SetText("循环次数编辑框", "3");
  form.Set("X坐标指令1", Prop::Selected, 2);
  ASSERT_FALSE(SaveTable(form, system));
  const std::string saved = File();
  EXPECT_EQ(saved.find("250"), std::string::npos);

  form.SetText("X坐标1", "");
  form.SetText("X坐标总延时", "7");
  form.SetText("循环次数编辑框", "8");
  form.Set("X坐标指令1", Prop::Selected, 1);
  LoadTable(form, system);
  EXPECT_EQ(form.Text("X坐标1"), "10");
  EXPECT_EQ(form.Text("X坐标总延时"), "7");
  EXPECT_EQ(form.Text("循环次数编辑框"), "8");
  EXPECT_EQ(form.Get("X坐标指令1", Prop::Selected), 1);
}

TEST_F(SettingsFileTest, SaveKeepsWhatWasAddedByHandInOneReplacement) {
  SetFile("; 我的备注\r\n[其他]\r\nk=v\r\n[配置1]\r\nY坐标1=old\r\n自定义=1\r\n\r\n[尾]\r\nz=1");
  form.SetText("Y坐标1", "5");
  form.SetText("X坐标1", "a\r\n[其他]\r\nk=hacked");
  ASSERT_FALSE(SaveTable(form, system));
  EXPECT_EQ(system.replacements.size(), 1u);

  const std::string file = GbkToUtf8(File());
  EXPECT_TRUE(file.starts_with("; 我的备注\r\n[其他]\r\nk=v\r\n[配置1]\r\nY坐标1=5\r\n自定义=1\r\nX坐标1=a\r\n")) << file;
  EXPECT_TRUE(file.ends_with("X坐标延时=1000\r\n\r\n[尾]\r\nz=1")) << file;
  EXPECT_EQ(file.find("hacked"), std::string::npos);

  form.SetText("X坐标1", "");
  LoadTable(form, system);
  EXPECT_EQ(form.Text("X坐标1"), "a");
}

TEST_F(SettingsFileTest, AFailedSaveSaysSoAndLeavesTheFileAlone) {
  SetFile("[配置1]\r\nX坐标1=1\r\n");
  const std::string before = File();
  form.SetText("X坐标1", "2");
  system.replace_failure = "Access denied.";
  form.SelectMenu("保存坐标");
  EXPECT_EQ(File(), before);
  ASSERT_EQ(system.messages.size(), 1u);
  EXPECT_EQ(system.messages[0].caption, "提示：");
  EXPECT_EQ(system.messages[0].text,
            "保存失败，坐标没有写入文件！\n无法写入文件：C:\\Users\\tester\\Documents\\重要配置.ini\n原因：Access denied.");
}

TEST_F(SettingsFileTest, AFileThatCannotBeReadIsNeitherReplacedNorLoaded) {
  SetFile("[配置1]\r\nX坐标1=1\r\n");
  system.read_failures[kPath] = "Sharing violation.";
  form.SetText("X坐标1", "2");
  form.SelectMenu("保存坐标");
  EXPECT_TRUE(system.replacements.empty());
  ASSERT_EQ(system.messages.size(), 1u);
  EXPECT_NE(system.messages[0].text.find("无法读取已有的文件：" + std::string(kPath)), std::string::npos);
  EXPECT_NE(system.messages[0].text.find("Sharing violation."), std::string::npos);

  form.SelectMenu("读取坐标");
  EXPECT_EQ(form.Text("X坐标1"), "2");
}

}  // namespace
}  // namespace vornick
