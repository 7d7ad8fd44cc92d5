"""The table in the settings file, as a person uses it: saved and reloaded from the menu, loaded at start,
saved every 15 s while 自动保存坐标 is checked, and a save that cannot be written says so."""

import subprocess
import time
import unittest

from vornick_driver import SETTINGS_FILE_NAME, VornickTestCase, wait_until

ROWS = range(1, 11)
# (key in the file, the box whose text it holds), in the order a new file lists them.
KEYS = ([(f"{axis}坐标{n}", f"{axis}坐标{n}") for n in ROWS for axis in "XY"]
        + [(f"X坐标延时{n}", f"X坐标延时{n}") for n in ROWS] + [("X坐标延时", "编辑框1")])
FORM_DEFAULTS = {box: "100" if box.startswith("X坐标延时") else "1000" if box == "编辑框1" else "" for _, box in KEYS}

SAVED = "已成功保存或覆盖！"
CAPTION = "提示："


def gbk_lines(*lines):
    """The bytes of a file of these lines, as the program writes them: GBK, CR LF."""
    return "".join(line + "\r\n" for line in lines).encode("gbk")


def table_file(boxes):
    """The bytes of a new settings file saved from boxes ({box: text}; the others hold the form's defaults)."""
    texts = {**FORM_DEFAULTS, **boxes}
    return gbk_lines("[配置1]", *(f"{key}={texts[box]}" for key, box in KEYS))


class SaveTest(VornickTestCase):
    def test_menu_save_writes_the_typed_table_as_gbk_and_confirms(self):
        app = self.start_vornick()
        typed = {"X坐标1": "120", "Y坐标1": "340", "X坐标延时2": "250", "编辑框1": "2000"}
        for box, text in typed.items():
            app.type_into(box, text)
        # Text no keyboard of ours types: full-width digits and Chinese, stored as they are.
        pasted = {"Y坐标3": "３００", "X坐标4": "左上"}
        app.set_texts(pasted)

        app.menu("保存坐标")
        box = app.message_box(CAPTION)
        self.assertEqual((box["text"], box["buttons"], box["owner"]), (SAVED, ["OK"], app.window()["hwnd"]))
        # The file is complete before the box asks for OK.
        self.assertEqual(app.settings_path.read_bytes(), table_file({**typed, **pasted}))
        app.press_ok(CAPTION)
        self.assertEqual(sorted(p.name for p in app.documents.iterdir()), [SETTINGS_FILE_NAME])

    def test_failed_save_says_so_and_keeps_the_old_file(self):
        old = table_file({"X坐标1": "5"})
        app = self.start_vornick(settings=old)
        app.wait_text("X坐标1", "5")
        app.set_text("X坐标1", "6")
        # As root a mode change does not stop writes; an immutable folder does.
        self.addCleanup(subprocess.run, ["chattr", "-i", str(app.documents)], check=True)
        subprocess.run(["chattr", "+i", str(app.documents)], check=True)

        app.menu("保存坐标")
        box = app.message_box(CAPTION)
        app.press_ok(CAPTION)
        self.assertNotEqual(box["text"], SAVED)
        self.assertIn("保存失败", box["text"])
        self.assertIn(SETTINGS_FILE_NAME, box["text"])
        self.assertEqual(app.settings_path.read_bytes(), old)
        self.assertEqual([p.name for p in app.documents.iterdir()], [SETTINGS_FILE_NAME])


class LoadTest(VornickTestCase):
    def test_file_is_loaded_at_start_and_reloaded_from_the_menu(self):
        seeded = gbk_lines(
            "; 手写的注释",
            "[其他]",
            "X坐标1=999",
            "[配置1]",
            "X坐标1=11",
            "Y坐标1=22",
            "X坐标延时1=abc",   # not a number: loaded as it is
            "X坐标延时2=",      # present but empty: empties the box
            "X坐标延时=3000",   # the end delay's key
        )
        app = self.start_vornick(settings=seeded)
        expected = {**FORM_DEFAULTS, "X坐标1": "11", "Y坐标1": "22", "X坐标延时1": "abc", "X坐标延时2": "",
                    "编辑框1": "3000"}
        self.assertEqual(app.texts(*expected), expected)

        # What a load never touches.
        app.select("X坐标指令1", 3)
        app.set_text("循环次数编辑框", "7")
        app.set_text("X坐标总延时", "55")
        app.set_text("Y坐标2", "typed")

        app.settings_path.write_bytes(gbk_lines("[配置1]", "X坐标1=33", "X坐标延时2=450", "Y坐标10=左"))
        app.menu("读取坐标")
        app.wait_text("X坐标1", "33")
        # Keys no longer in the file leave their boxes as they are.
        expected.update({"X坐标1": "33", "X坐标延时2": "450", "Y坐标10": "左", "Y坐标2": "typed",
                         "循环次数编辑框": "7", "X坐标总延时": "55"})
        self.assertEqual(app.texts(*expected), expected)
        self.assertEqual(app.selected("X坐标指令1"), 3)


class AutoSaveTest(VornickTestCase):
    def test_checking_the_box_saves_about_15_s_later(self):
        app = self.start_vornick()
        app.set_text("X坐标2", "640")
        checked_at = time.monotonic()
        app.click_control("选择框1")
        self.assertEqual(app.checked("选择框1"), 1)
        app.wait_text("自动保存", lambda text: text.startswith("自动保存倒计时s："))

        wait_until(app.settings_path.exists, max(0, checked_at + 25 - time.monotonic()),
                   "the auto-save to write the file", interval=0.1)
        saved_after = time.monotonic() - checked_at
        self.assertGreater(saved_after, 14, "saved long before the 15 s countdown ran out")
        self.assertEqual(app.settings_path.read_bytes(), table_file({"X坐标2": "640"}))


if __name__ == "__main__":
    unittest.main()
