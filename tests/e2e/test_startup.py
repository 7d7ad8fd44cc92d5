"""The real program starts under Wine, shows its window with readable Chinese text, and ends cleanly."""

import unittest

import screen
from vornick_driver import TITLE_PREFIX, VornickTestCase, wait_until

# A label of Chinese characters only, all different: drawn without a CJK font they would all be one box.
CHINESE_LABEL = "水平坐标"


class StartupTest(VornickTestCase):
    def test_window_shows_chinese_text_and_wm_close_exits_0(self):
        app = self.start_vornick()
        self.assertTrue(app.window()["title"].startswith(TITLE_PREFIX))

        label = app.rect(CHINESE_LABEL)
        shot = self.artifacts / "screen.png"
        seen = []

        def rendered():
            screen.capture(shot)
            shapes = screen.glyph_shapes(screen.gray(shot, label))
            seen[:] = [len(shapes), len(set(shapes))]
            return screen.looks_like_rendered_text(shapes)
        # The window may still be painting: look again until the text is there.
        try:
            wait_until(rendered, 30, "the label's Chinese text to be drawn", interval=0.5)
        except AssertionError:
            self.fail(f"{CHINESE_LABEL} at {label} shows {seen[0]} glyphs of which {seen[1]} differ: "
                      f"boxes or nothing instead of Chinese characters (see {shot})")
        app.screenshot(self.artifacts / "window.png")

        app.close()
        self.assertEqual(app.wait_exit(), 0)

    def test_alt_f4_exits_0(self):
        app = self.start_vornick()
        app.close_with_alt_f4()
        self.assertEqual(app.wait_exit(), 0)


if __name__ == "__main__":
    unittest.main()
