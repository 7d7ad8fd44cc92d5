"""Screenshots of the X display and what a test reads off them (ImageMagick, no Python packages)."""

import collections
import os
import subprocess
from pathlib import Path


def capture(path, box=None, display=None):
    """Saves the screen, or the part of it in box (left, top, right, bottom), as a PNG; returns the path."""
    path = Path(path)
    path.parent.mkdir(parents=True, exist_ok=True)
    command = ["import", "-display", display or os.environ["DISPLAY"], "-window", "root"]
    if box is not None:
        left, top, right, bottom = box
        command += ["-crop", f"{right - left}x{bottom - top}+{left}+{top}", "+repage"]
    subprocess.run(command + [str(path)], check=True, capture_output=True, timeout=60)
    return path


def _read_netpbm(data):
    """(width, height, channels, pixel bytes) of a binary PGM (P5) or PPM (P6) with maxval 255."""
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    magic, width, height, maxval = fields[0], int(fields[1]), int(fields[2]), int(fields[3])
    if maxval != 255 or magic not in (b"P5", b"P6"):
        raise ValueError(f"unexpected image format {magic!r} maxval {maxval}")
    channels = 1 if magic == b"P5" else 3
    pixels = data[pos + 1:pos + 1 + width * height * channels]
    return width, height, channels, pixels


def _convert(png, box, colours):
    command = ["convert", str(png)]
    if box is not None:
        left, top, right, bottom = box
        command += ["-crop", f"{right - left}x{bottom - top}+{left}+{top}", "+repage"]
    command += ["-depth", "8"]
    command += ["ppm:-"] if colours else ["-colorspace", "Gray", "pgm:-"]
    return _read_netpbm(subprocess.run(command, check=True, capture_output=True, timeout=60).stdout)


def gray(png, box=None):
    """Grey levels of png (or of box in it) as rows of ints."""
    width, height, _, pixels = _convert(png, box, colours=False)
    return [list(pixels[y * width:(y + 1) * width]) for y in range(height)]


def rgb(png, box=None):
    """Colours of png (or of box in it) as rows of (r, g, b)."""
    width, height, _, pixels = _convert(png, box, colours=True)
    return [[tuple(pixels[(y * width + x) * 3:(y * width + x) * 3 + 3]) for x in range(width)] for y in range(height)]


def glyph_shapes(rows, threshold=60):
    """Splits a line of text into glyphs and returns each one's ink bitmap.

    Ink is every pixel that differs from the most common grey (the background) by more than
    threshold; a glyph is a run of columns holding ink, trimmed to its inked rows. Glyphs drawn
    alike (as the boxes of a font without the characters are) give equal bitmaps.
    """
    if not rows or not rows[0]:
        return []
    background = collections.Counter(v for row in rows for v in row).most_common(1)[0][0]
    ink = [[abs(v - background) > threshold for v in row] for row in rows]
    width = len(ink[0])
    inked_columns = [any(row[x] for row in ink) for x in range(width)]
    shapes = []
    x = 0
    while x < width:
        if not inked_columns[x]:
            x += 1
            continue
        start = x
        while x < width and inked_columns[x]:
            x += 1
        bitmap = [tuple(row[start:x]) for row in ink]
        while bitmap and not any(bitmap[0]):
            bitmap.pop(0)
        while bitmap and not any(bitmap[-1]):
            bitmap.pop()
        shapes.append(tuple(bitmap))
    return shapes


def looks_like_rendered_text(shapes, minimum_glyphs=6):
    """True when a line of several different characters was drawn with real glyphs.

    A font without the characters draws each of them as the same box (or nothing), so most
    glyphs repeat; real Chinese text of different characters gives mostly distinct shapes.
    """
    distinct = len(set(shapes))
    return len(shapes) >= minimum_glyphs and distinct >= max(minimum_glyphs, 0.6 * len(shapes))
