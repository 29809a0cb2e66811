#!/usr/bin/env python3
"""Reads window screenshots (xwd) and headless frames (PNG) and answers the window
test's questions about them. Each command exits 0 when the answer is yes and prints
what it measured.

  shots.py png XWD PNG                      convert, to look at
  shots.py same-view A B [MAX_PERCENT]      the views match (status rows left out)
  shots.py other-view A B [MIN_PERCENT]     the views differ
  shots.py still A B                        nothing moved between two shots
  shots.py hint F | pause F | no-pause F | help F
  shots.py letterbox F W H                  a W x H window: page centred, bars black
  shots.py wire-frame BEFORE AFTER          mostly black lines where there were walls
"""
import pathlib
import struct
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / "tools"))
from pngio import read_png, write_png  # noqa: E402

WHITE, YELLOW, GREY = 0xFFFFFF, 0xFFE040, 0xC0C0C0
TEXT_ROWS = 48  # the four status lines (and a margin) are left out of view comparisons


class Shot:
    def __init__(self, width, height, pixels):
        self.width, self.height, self.pixels = width, height, pixels  # 0xRRGGBB, row by row

    def at(self, x, y):
        return self.pixels[y * self.width + x]

    def count(self, colour, x0=0, y0=0, x1=None, y1=None):
        x1 = self.width if x1 is None else x1
        y1 = self.height if y1 is None else y1
        return sum(1 for y in range(y0, y1) for x in range(x0, x1) if self.at(x, y) == colour)


def read_xwd(path):
    data = pathlib.Path(path).read_bytes()
    head = struct.unpack(">25I", data[:100])
    header_size, version, _, _, width, height = head[:6]
    byte_order, bits_per_pixel, bytes_per_line = head[7], head[11], head[12]
    red, green, blue = head[14:17]
    ncolors = head[19]
    if version != 7 or bits_per_pixel != 32:
        raise ValueError(f"{path}: only 32-bit xwd files")
    pos = header_size + ncolors * 12
    order = "<" if byte_order == 0 else ">"

    def channel(value, mask):
        shift = (mask & -mask).bit_length() - 1
        return (value & mask) >> shift

    pixels = []
    for y in range(height):
        row = data[pos + y * bytes_per_line:pos + y * bytes_per_line + width * 4]
        for (v,) in struct.iter_unpack(order + "I", row):
            pixels.append(channel(v, red) << 16 | channel(v, green) << 8 | channel(v, blue))
    return Shot(width, height, pixels)


def load(path):
    if str(path).endswith(".png"):
        width, height, rows = read_png(path)
        pixels = []
        for row in rows:
            step = len(row) // width
            pixels += [row[i] << 16 | row[i + 1] << 8 | row[i + 2] for i in range(0, len(row), step)]
        return Shot(width, height, pixels)
    return read_xwd(path)


def differing_percent(a, b, y0=TEXT_ROWS, skip=None):
    if (a.width, a.height) != (b.width, b.height):
        raise SystemExit(f"sizes differ: {a.width}x{a.height} and {b.width}x{b.height}")
    differ = total = 0
    for y in range(y0, a.height):
        if skip and skip[0] <= y < skip[1]:
            continue
        for x in range(a.width):
            total += 1
            p, q = a.at(x, y), b.at(x, y)
            if max(abs((p >> s & 255) - (q >> s & 255)) for s in (0, 8, 16)) > 24:
                differ += 1
    return 100.0 * differ / max(total, 1)


def lit_percent(shot, y0=TEXT_ROWS):
    lit = sum(1 for y in range(y0, shot.height) for x in range(shot.width) if shot.at(x, y) & 0xE0E0E0)
    return 100.0 * lit / (shot.width * (shot.height - y0))


def verdict(ok, text):
    print(("yes: " if ok else "NO: ") + text)
    return 0 if ok else 1


def main(argv):
    command, files = argv[1], argv[2:]
    if command == "png":
        shot = load(files[0])
        rows = [bytes(b for p in shot.pixels[y * shot.width:(y + 1) * shot.width]
                      for b in (p >> 16, p >> 8 & 255, p & 255)) for y in range(shot.height)]
        write_png(files[1], shot.width, shot.height, rows)
        return 0
    shot = load(files[0])
    h = shot.height
    if command in ("same-view", "other-view"):
        percent = differing_percent(shot, load(files[1]))
        if command == "same-view":
            limit = float(files[2]) if len(files) > 2 else 5.0
            return verdict(percent <= limit, f"{percent:.2f}% of the view differs (at most {limit}%)")
        limit = float(files[2]) if len(files) > 2 else 15.0
        return verdict(percent >= limit, f"{percent:.2f}% of the view differs (at least {limit}%)")
    if command == "still":
        # The pause line's band in the middle is left out, and so are the status rows.
        percent = differing_percent(shot, load(files[1]), skip=(h // 2 - 12, h // 2 + 12))
        return verdict(percent == 0.0, f"{percent:.3f}% of the view changed")
    if command == "hint":
        n = shot.count(WHITE, 0, h - 12, shot.width, h)
        return verdict(n > 150, f"{n} white text pixels along the bottom")
    if command in ("pause", "no-pause"):
        n = shot.count(YELLOW, 0, h // 2 - 8, shot.width, h // 2 + 8)
        if command == "pause":
            return verdict(n > 150, f"{n} yellow text pixels across the middle")
        return verdict(n == 0, f"{n} yellow text pixels across the middle")
    if command == "help":
        yellow = shot.count(YELLOW, 0, TEXT_ROWS, shot.width, h)
        white = shot.count(WHITE, 0, TEXT_ROWS, shot.width, h)
        return verdict(yellow > 100 and white > 1500, f"{yellow} heading and {white} key-list pixels")
    if command == "letterbox":
        width, height = int(files[1]), int(files[2])
        if (shot.width, shot.height) != (width, height):
            return verdict(False, f"window is {shot.width}x{shot.height}, not {width}x{height}")
        # The picture keeps 4:3: which sides carry the bars, and how wide they are.
        if width * 3 > height * 4:
            pw, ph = height * 4 // 3, height
        else:
            pw, ph = width, width * 3 // 4
        x0, y0 = (width - pw) // 2, (height - ph) // 2
        bars = [(0, 0, x0, height), (x0 + pw, 0, width, height), (0, 0, width, y0), (0, y0 + ph, width, height)]
        bar_pixels = sum((x1 - xa) * (y1 - ya) for xa, ya, x1, y1 in bars if x1 > xa and y1 > ya)
        black = sum(shot.count(0, xa, ya, x1, y1) for xa, ya, x1, y1 in bars if x1 > xa and y1 > ya)
        # The status text starts at the page's left edge: it must start at the picture's.
        text_in_picture = shot.count(GREY, x0, y0, x0 + pw // 8, y0 + ph // 12)
        text_left_of_it = shot.count(GREY, 0, 0, x0, height) if x0 else 0
        ok = black == bar_pixels and text_in_picture > 50 and text_left_of_it == 0
        return verdict(ok, f"picture {pw}x{ph} at {x0},{y0}; bars {black}/{bar_pixels} black; "
                           f"status text {text_in_picture} px at the picture's corner, {text_left_of_it} left of it")
    if command == "fills":
        # The picture drawn at the window's own size: the scene reaches both
        # side edges (no bars), the status text starts at the window's corner.
        width, height = int(files[1]), int(files[2])
        if (shot.width, shot.height) != (width, height):
            return verdict(False, f"window is {shot.width}x{shot.height}, not {width}x{height}")
        lit_left = height - shot.count(0, 0, TEXT_ROWS, 4, height) // 4 - TEXT_ROWS
        lit_right = height - shot.count(0, width - 4, TEXT_ROWS, width, height) // 4 - TEXT_ROWS
        text = shot.count(GREY, 0, 0, width // 8, 16)
        ok = lit_left > height // 4 and lit_right > height // 4 and text > 50
        return verdict(ok, f"{lit_left} and {lit_right} lit rows at the left and right edges; "
                           f"{text} status text pixels at the corner")
    if command == "wire-frame":
        before, after = lit_percent(shot), lit_percent(load(files[1]))
        return verdict(after < before * 0.5, f"lit view {before:.1f}% before, {after:.1f}% after")
    raise SystemExit(f"unknown command {command}")


if __name__ == "__main__":
    sys.exit(main(sys.argv))
