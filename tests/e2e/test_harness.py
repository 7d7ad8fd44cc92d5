"""The harness's own instruments: the click target sees real clicks where they land, and the glyph
check tells drawn Chinese text from boxes. Neither needs vornick.exe."""

import unittest

import screen
from vornick_driver import WineTestCase, click_at, mouse_click, mouse_move


class ClickTargetTest(WineTestCase):
    def test_records_real_clicks_with_button_kind_and_place(self):
        target = self.start_click_target(box=(20, 30, 300, 200))
        clicks = [((50, 60), 1), ((120, 80), 3), ((200, 150), 1)]
        for (x, y), button in clicks:
            click_at(*target.point(x, y), button)
        presses = target.wait_presses(len(clicks))
        # The border is one pixel: client coordinates are one less than the offsets into the box.
        self.assertEqual([(p["button"], p["screen_x"], p["screen_y"]) for p in presses],
                         [("left", 70, 90), ("right", 140, 110), ("left", 220, 180)])
        self.assertEqual([(p["x"], p["y"]) for p in presses], [(49, 59), (119, 79), (199, 149)])
        times = [p["t_ms"] for p in presses]
        self.assertEqual(times, sorted(times))

    def test_second_press_of_a_quick_pair_is_a_double_click(self):
        target = self.start_click_target()
        mouse_move(*target.point(100, 100))
        mouse_click(1, repeat=2)
        presses = target.wait_presses(2)
        self.assertEqual([p["event"] for p in presses], ["down", "dblclk"])


class GlyphCheckTest(unittest.TestCase):
    @staticmethod
    def line(glyphs, gap=2, height=12):
        """A text line of 0/255 rows, the given glyph bitmaps side by side on a white background."""
        rows = [[255] * gap for _ in range(height)]
        for glyph in glyphs:
            for y in range(height):
                rows[y] += [0 if y < len(glyph) and glyph[y][x] else 255 for x in range(len(glyph[0]))] + [255] * gap
        return rows

    def test_boxes_are_not_text_and_distinct_glyphs_are(self):
        box = [[1] * 6] + [[1, 0, 0, 0, 0, 1]] * 8 + [[1] * 6]
        boxes = self.line([box] * 10)
        self.assertEqual(len(screen.glyph_shapes(boxes)), 10)
        self.assertFalse(screen.looks_like_rendered_text(screen.glyph_shapes(boxes)))

        # Ten different glyphs: a bar at a different height in each.
        glyphs = [[[1] * 6 if y == i else [1, 0, 0, 0, 0, 0] for y in range(10)] for i in range(10)]
        self.assertTrue(screen.looks_like_rendered_text(screen.glyph_shapes(self.line(glyphs))))

    def test_blank_label_is_not_text(self):
        self.assertFalse(screen.looks_like_rendered_text(screen.glyph_shapes([[200] * 50] * 12)))


if __name__ == "__main__":
    unittest.main()
