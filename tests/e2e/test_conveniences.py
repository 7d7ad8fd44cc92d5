"""The small buttons and boxes of the main window, clicked with the mouse as a person would: fill the
delays, clear the coordinates, the click-through switch, and a run with 自动最小化 unchecked."""

import unittest

from vornick_driver import VornickTestCase, click_at, wait_until

ROWS = range(1, 11)
DELAYS = [f"X坐标延时{n}" for n in ROWS]
COORDINATES = [f"{axis}坐标{n}" for n in ROWS for axis in "XY"]
ENDED = "当前状态：循环结束！"


class TableButtonsTest(VornickTestCase):
    def test_fill_delays_then_clear_coordinates(self):
        app = self.start_vornick()
        app.type_into("X坐标总延时", "250ms")
        app.click_control("一键填入")
        app.wait_text("状态标签", "延时已写入！")
        self.assertEqual(app.texts(*DELAYS, "X坐标总延时"), {**dict.fromkeys(DELAYS, "250"), "X坐标总延时": "250ms"})

        app.set_texts({**{box: str(100 + i) for i, box in enumerate(COORDINATES)},
                       "循环次数编辑框": "3", "编辑框1": "900"})
        app.select("X坐标指令2", 3)
        kept = app.texts(*DELAYS, "X坐标总延时", "循环次数编辑框", "编辑框1", "标签1")
        app.click_control("一键清空")
        app.wait_text("状态标签", "坐标已清空！")
        self.assertEqual(app.texts(*COORDINATES, *kept), {**dict.fromkeys(COORDINATES, ""), **kept})
        self.assertEqual([app.selected(f"X坐标指令{n}") for n in (1, 2)], [0, 3])

    def test_click_through_switch_alternates_one_visible_button(self):
        app = self.start_vornick()
        # The two buttons lie on top of each other: a person clicks the same place each time.
        left, top, right, bottom = app.rect("关闭穿透")
        switch = ((left + right) // 2, (top + bottom) // 2)

        def visible():
            return [app.visible("关闭穿透"), app.visible("开启穿透")]
        self.assertEqual(visible(), [True, False])
        for expected in ([False, True], [True, False]):
            click_at(*switch)
            wait_until(lambda: visible() == expected, 30, f"关闭穿透, 开启穿透 visible: {expected}")


class AutoMinimizeOffTest(VornickTestCase):
    def test_run_leaves_the_window_shown(self):
        target = self.start_click_target()
        app = self.start_vornick()
        app.click_control("自动最小化")
        self.assertEqual(app.checked("自动最小化"), 0)
        texts = {"循环次数编辑框": "2", "编辑框1": "500"}
        for n, point in enumerate([(60, 70), (220, 90), (140, 300)], 1):
            x, y = target.point(*point)
            texts.update({f"X坐标{n}": str(x), f"Y坐标{n}": str(y), f"X坐标延时{n}": "700"})
        app.set_texts(texts)

        app.click_control("启动")
        target.wait_presses(1)
        states_during_run = []
        while True:
            window, status = (reply["value"] for reply in app.probe.replies("window", "text", "状态标签"))
            if status == ENDED:
                break
            states_during_run.append(window["minimised"])
        self.assertTrue(states_during_run, "the run ended before the window could be looked at")
        self.assertEqual(set(states_during_run), {0})
        self.assertEqual(app.window()["minimised"], 0)
        target.wait_received()
        self.assertEqual(len(target.presses("left")), 3 * 2 * 2)


if __name__ == "__main__":
    unittest.main()
