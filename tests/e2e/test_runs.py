"""Runs of the real program into a target window: the clicks that land, the texts a person reads, the
emergency stop Alt+A, and closing the window in the middle of it all.

When a click was made is judged by the message time the target records (the tick count stamped on the
input when it was synthesised), not by when the target got round to it; so spacings are exact."""

import time
import unittest

from vornick_driver import VornickTestCase, press_keys

KINDS = {  # index in the click-kind box: (button, presses per click)
    0: ("left", 1),   # 左键单击
    1: ("left", 2),   # 左键双击
    2: ("right", 1),  # 右键单击
    3: ("right", 2),  # 右键双击
}
SAME_CLICK_MS = 50  # the presses of one click are made together; any row delay here is longer
STOPPED = "当前状态：已停止运行！"
ENDED = "当前状态：循环结束！"


def ms_between(earlier, later):
    """later - earlier for two tick counts, across the 32-bit wrap."""
    return (later - earlier + 2**31) % 2**32 - 2**31


def fill_table(app, target, rows, loop_count, end_delay="1000"):
    """rows: (point in the target, kind index, delay text) for rows 1, 2, ...; the other rows stay empty."""
    texts = {"循环次数编辑框": loop_count, "编辑框1": end_delay}
    for n, (point, _, delay) in enumerate(rows, 1):
        x, y = target.point(*point)
        texts.update({f"X坐标{n}": str(x), f"Y坐标{n}": str(y), f"X坐标延时{n}": delay})
    app.set_texts(texts)
    for n, (_, kind, _) in enumerate(rows, 1):
        if kind != 0:
            app.select(f"X坐标指令{n}", kind)


def clicks(target):
    """The clicks the target received, in order: dicts of button, at (screen point), presses, releases and
    time (message time of the first press). Presses of one button at one point made together are one click."""
    found = []
    for event in target.events():
        if event["button"] == "middle":  # ours: see wait_received
            continue
        at = (event["screen_x"], event["screen_y"])
        last = found[-1] if found else None
        if (event["event"] != "up" and
                (not last or (last["button"], last["at"]) != (event["button"], at)
                 or ms_between(last["time"], event["message_time"]) > SAME_CLICK_MS)):
            last = {"button": event["button"], "at": at, "presses": 0, "releases": 0, "time": event["message_time"]}
            found.append(last)
        last["releases" if event["event"] == "up" else "presses"] += 1
    return found


class RunTest(VornickTestCase):
    def test_three_rows_are_clicked_in_order_with_their_kind_count_and_delay(self):
        target = self.start_click_target()
        app = self.start_vornick()
        rows = [((60, 70), 1, "300"), ((220, 90), 2, "500"), ((140, 300), 3, "400")]
        end_delay = 600
        fill_table(app, target, rows, loop_count="2", end_delay=str(end_delay))

        app.click_control("启动")
        target.wait_presses(1)
        during = app.window()
        self.assertEqual(app.wait_text("状态标签", ENDED, timeout=120), ENDED)
        after = app.window()
        target.wait_received()

        # Loop count 2: each filled row twice in a row, and the pass twice.
        expected = []
        for _ in range(2):
            for point, kind, delay in rows:
                button, presses = KINDS[kind]
                expected += [{"button": button, "at": target.point(*point), "presses": presses, "releases": presses,
                              "wait": int(delay)}] * 2
            expected[-1] = {**expected[-1], "wait": int(rows[-1][2]) + end_delay}
        got = clicks(target)
        self.assertEqual([{k: c[k] for k in ("button", "at", "presses", "releases")} for c in got],
                         [{k: e[k] for k in ("button", "at", "presses", "releases")} for e in expected])
        for i, (click, following) in enumerate(zip(got, got[1:])):
            self.assertGreaterEqual(ms_between(click["time"], following["time"]), expected[i]["wait"],
                                    f"click {i + 2} came too soon after click {i + 1}")

        self.assertEqual(app.text("标签1"), "当前循环次数：2")
        # 自动最小化 is checked at start: the window is down for the run and back up at its end.
        self.assertEqual((during["minimised"], after["minimised"]), (1, 0))

    def alt_a_stops_a_run_before_its_next_click(self, delay):
        target = self.start_click_target()
        app = self.start_vornick()
        # The end delay too: with no wait anywhere, nothing but the runner itself can let Alt+A in.
        fill_table(app, target, [((60, 70), 0, delay), ((220, 90), 0, delay), ((140, 300), 0, delay)],
                   loop_count="1000", end_delay=delay)
        app.click_control("启动")
        target.wait_presses(20)

        watch = app.watch_text("状态标签", STOPPED)
        target.focus()
        press_keys("alt+a")
        stopped_tick = watch.tick()
        # The stop routine sets the stop flag, then waits a second before it shows the stopped status;
        # the ten routines of one Alt+A take about ten seconds, after which the runner ends the run.
        self.assertEqual(app.wait_text("状态标签", ENDED), ENDED)
        target.wait_received()
        flag_set_by = stopped_tick - 1000
        # A little leeway for the two processes' readings of the tick count.
        late = [ms_between(flag_set_by, p["message_time"]) for p in target.presses() if p["button"] != "middle"]
        late = [ms for ms in late if ms > 20]
        self.assertFalse(late, f"{len(late)} clicks made after Alt+A had stopped the run, the first "
                               f"{late[:1]} ms after")
        self.assertEqual(app.window()["minimised"], 0)

    def test_alt_a_stops_a_run_with_delays(self):
        self.alt_a_stops_a_run_before_its_next_click("50")

    def test_alt_a_stops_a_run_without_delays(self):
        self.alt_a_stops_a_run_before_its_next_click("0")

    def closing_during_a_run_exits_0_at_once(self, during_stop_sequence):
        target = self.start_click_target()
        app = self.start_vornick()
        fill_table(app, target, [((60, 70), 0, "500"), ((220, 90), 0, "500")], loop_count="1000")
        app.click_control("启动")
        target.wait_presses(2)
        if during_stop_sequence:
            target.focus()
            press_keys("alt+a")
            app.wait_text("状态标签", STOPPED)

        app.close()
        closed = time.monotonic()
        self.assertEqual(app.wait_exit(), 0)
        self.assertLess(time.monotonic() - closed, 2.0, "the program took its time to end")

    def test_closing_during_a_click_delay_exits_0_at_once(self):
        self.closing_during_a_run_exits_0_at_once(during_stop_sequence=False)

    def test_closing_during_the_stop_sequence_exits_0_at_once(self):
        self.closing_during_a_run_exits_0_at_once(during_stop_sequence=True)


if __name__ == "__main__":
    unittest.main()
