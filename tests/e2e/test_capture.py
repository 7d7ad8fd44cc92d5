"""Point capture as a person does it: a real click on the crosshair picture opens the overlay, the
lines and the read-out follow the mouse, and the next press of the primary button writes the point."""

import unittest

import screen
from vornick_driver import (Probe, VornickTestCase, WineProgram, find_x_windows, mouse_click, mouse_move,
                            press_keys, wait_until, xdotool)

OVERLAY_CLASS = "VornickForm"
KEY_COLOUR = (177, 213, 244)  # 16045489 as RGB: the overlay's invisible background
RED = (255, 0, 0)             # the picker's colour until the user changes it
WAITING_STATUS = "当前状态：等待探测或手动填写坐标！"


def read_out(x, y):
    return f" X轴 水平坐标：{x}\r\n Y轴 垂直坐标：{y}\r\n\r\n请再次单击自动写入坐标！"


class CaptureTest(VornickTestCase):
    def open_overlay(self, app):
        """Clicks the crosshair picture with the mouse; returns (overlay window, probe for its controls)
        once the overlay is up and the main window has made way for it."""
        app.click_control("准星")

        def overlay():
            found = [w for w in app.other_windows() if w["class"] == OVERLAY_CLASS]
            return found[0] if found else None
        window = wait_until(overlay, 60, "the capture overlay")
        wait_until(lambda: app.window()["minimised"], 30, "the main window to minimise")
        return window, Probe(hwnd=window["hwnd"], form="capture")

    def point_at(self, overlay, x, y):
        """Moves the mouse and waits until the read-out (a 100 ms tick) shows the point: by then every
        input before the move has been handled too."""
        mouse_move(x, y)
        wait_until(lambda: overlay.value("text", "编辑框1") == read_out(x, y), 30, f"the read-out of ({x}, {y})")

    def wait_closed(self, app):
        wait_until(lambda: not any(w["class"] == OVERLAY_CLASS for w in app.other_windows()), 30,
                   "the overlay to close")
        wait_until(lambda: not app.window()["minimised"], 30, "the main window to come back")
        self.assertTrue(app.window()["enabled"])

    def rows(self, app):
        names = [f"{axis}坐标{row}" for row in range(1, 11) for axis in "XY"]
        return app.texts(*names)

    def start_backdrop(self):
        """Notepad, as something on the desktop for the overlay to show through (a framed window: Wine
        stacks frameless windows of other programs above every framed one, the overlay included)."""
        notepad = WineProgram("notepad", log_path=self.artifacts / "notepad.log")
        self.addCleanup(self._stop, notepad)
        wait_until(lambda: find_x_windows(notepad.process.pid, "Notepad"), 60, "Notepad's window")
        return notepad

    def test_a_click_writes_the_point_into_row_1(self):
        app = self.start_vornick()
        self.start_backdrop()
        app.activate()
        before = self.artifacts / "before.png"
        screen.capture(before)

        overlay_window, overlay = self.open_overlay(app)
        self.assertFalse(app.window()["enabled"])
        self.point_at(overlay, 300, 400)
        self.assertEqual(overlay.value("rect", "透明标签1")[1], 400)
        self.assertEqual(overlay.value("rect", "透明标签2")[0], 300)
        shot = self.artifacts / "overlay.png"
        screen.capture(shot)
        self.check_overlay_picture(before, shot, overlay_window["rect"], app.frame_box())

        mouse_click(1)
        self.assertEqual(app.wait_text("状态标签", "坐标1写入成功！"), "坐标1写入成功！")
        self.assertEqual(app.texts("X坐标1", "Y坐标1"), {"X坐标1": "300", "Y坐标1": "400"})
        self.wait_closed(app)

    def check_overlay_picture(self, before, shot, overlay_rect, main_box):
        """The lines in the picker's colour cross at the cursor (300, 400); away from them, the read-out
        and the main window (minimised meanwhile) the screen looks as it did before."""
        left, top, right, bottom = overlay_rect
        across = screen.rgb(shot, (left, 400, right, 401))[0]
        down = [row[0] for row in screen.rgb(shot, (300, top, 301, bottom))]
        self.assertEqual(set(across), {RED}, f"horizontal line (see {shot})")
        self.assertEqual(set(down), {RED}, f"vertical line (see {shot})")
        main_left, _, main_right, _ = main_box
        self.assertLess(290, main_left, "the main window is not where these regions expect it")
        beside = main_right + 10
        for box in [(10, 40, 290, 390), (10, 410, 290, bottom - 10), (beside, 40, right - 10, 390),
                    (beside, 410, right - 10, bottom - 10)]:
            now, then = screen.rgb(shot, box), screen.rgb(before, box)
            changed = sum(a != b for row_now, row_then in zip(now, then) for a, b in zip(row_now, row_then))
            self.assertEqual(changed, 0, f"{changed} pixels of {box} are hidden by the overlay (see {shot})")
            self.assertNotIn(KEY_COLOUR, {pixel for row in now for pixel in row})

    def test_other_buttons_and_esc_write_nothing(self):
        app = self.start_vornick()
        _, overlay = self.open_overlay(app)
        self.point_at(overlay, 640, 300)
        mouse_click(3)
        mouse_click(2)
        # Both clicks are handled before the read-out shows the next point.
        self.point_at(overlay, 650, 310)
        self.assertEqual(app.text("X坐标1"), "")

        # The lines cross under the pointer: the X window there is the overlay's.
        overlay_x_window = xdotool("getmouselocation", "--shell").split("WINDOW=")[1].split()[0]
        xdotool("windowactivate", "--sync", overlay_x_window)  # openbox may have given the focus elsewhere
        press_keys("Escape")
        self.wait_closed(app)
        self.assertEqual(set(self.rows(app).values()), {""})
        self.assertEqual(app.text("状态标签"), WAITING_STATUS)

    def test_a_full_table_is_reported_and_left_alone(self):
        app = self.start_vornick()
        for row in range(1, 11):
            app.set_text(f"X坐标{row}", str(row))
            app.set_text(f"Y坐标{row}", "X坐标4" if row == 4 else "7")
        table = self.rows(app)
        _, overlay = self.open_overlay(app)
        self.point_at(overlay, 500, 500)
        mouse_click(1)

        box = app.message_box("警告:")
        self.assertEqual(box["text"], "坐标已满，请开始运行！")
        # The overlay closes while the message is still shown.
        self.wait_closed(app)
        self.assertEqual(app.text("状态标签"), "您已成功写入所有坐标，请点启动开始运行！")
        self.assertEqual(self.rows(app), table)
        app.press_ok("警告:")


if __name__ == "__main__":
    unittest.main()
