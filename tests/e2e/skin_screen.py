#!/usr/bin/python3
"""Reads the viewer's skinned panels out of a screenshot of the virtual display.

The panels draw their pictures opaque and 1:1, so a skin picture (or a piece of it) appears
in the screenshot pixel for pixel: the panels are found by their pictures, buttons are known
enabled when their normal picture shows, and read-outs are read glyph by glyph.

  skin_screen.py SKIN_DIR SHOT locate                      console and stopwatch origins
  skin_screen.py SKIN_DIR SHOT shows ID X Y                 exit 0 when picture ID is at X, Y
  skin_screen.py SKIN_DIR SHOT stopwatch SX SY              the three read-outs, one a line
  skin_screen.py SKIN_DIR SHOT laplist                      the LAP LIST as JSON
  skin_screen.py SKIN_DIR CHAPTER_JSON... --check LAPS_JSON  laps against the telemetry
"""
import bisect
import json
import re
import sys

from PIL import Image

MINUTE, SECOND = "\u2032", "\u2033"


class Shot:
    def __init__(self, path):
        image = Image.open(path).convert("RGB")
        self.width, self.height = image.size
        data = image.tobytes()
        stride = self.width * 3
        self.rows = [data[y * stride:(y + 1) * stride] for y in range(self.height)]

    def has(self, picture, x, y):
        if x < 0 or y < 0 or x + picture.width > self.width or y + picture.height > self.height:
            return False
        return all(self.rows[y + j][x * 3:(x + picture.width) * 3] == row for j, row in enumerate(picture.rows))

    def find(self, picture):
        """Top-left corners where the picture appears."""
        found = []
        first = picture.rows[0]
        for y in range(self.height - picture.height + 1):
            at = self.rows[y].find(first)
            while at >= 0:
                if at % 3 == 0 and self.has(picture, at // 3, y):
                    found.append((at // 3, y))
                at = self.rows[y].find(first, at + 1)
        return found


class Picture:
    def __init__(self, skin, picture_id, box=None):
        image = Image.open(f"{skin}/{picture_id}.png").convert("RGB")
        if box:
            image = image.crop(box)
        self.width, self.height = image.size
        data = image.tobytes()
        stride = self.width * 3
        self.rows = [data[y * stride:(y + 1) * stride] for y in range(self.height)]


def glyphs(skin, characters, first_id):
    return [(c, Picture(skin, first_id + i)) for i, c in enumerate(characters)]


def read(shot, font, blank, x, y, length):
    """The text drawn from (x, y): at each place a glyph that shows there, else a blank."""
    text = ""
    while len(text) < length:
        for character, picture in font:
            if shot.has(picture, x, y):
                text += character
                x += picture.width
                break
        else:
            text += " "
            x += blank
    return text.rstrip()


def find_one(shot, picture, offset, what):
    found = shot.find(picture)
    if len(found) != 1:
        sys.exit(f"skin_screen: {what} found {len(found)} times")
    return found[0][0] - offset[0], found[0][1] - offset[1]


def locate(skin, shot):
    # The console's left edge piece, above its chapter buttons; the stopwatch's TOTAL caption.
    cx, cy = find_one(shot, Picture(skin, 223, (0, 0, 12, 92)), (0, 0), "the console")
    sx, sy = find_one(shot, Picture(skin, 105, (15, 12, 70, 24)), (15, 12), "the stopwatch")
    print(cx, cy, sx, sy)


def stopwatch_lines(skin, shot, sx, sy):
    characters = "0123456789" + MINUTE + SECOND + "-"
    for first, y in ((10090, 35), (10103, 95), (10116, 155)):
        print(read(shot, glyphs(skin, characters, first), 15, sx + 30, sy + y, 9))


def tenths(minutes, seconds, tenth):
    return (int(minutes) * 60 + int(seconds)) * 10 + int(tenth)


def lap_list(skin, shot):
    lx, ly = find_one(shot, Picture(skin, 10132, (15, 3, 180, 16)), (15, 3), "the LAP LIST")
    font = glyphs(skin, "0123456789" + MINUTE + SECOND + "-:", 10133)
    row_pattern = re.compile(r"^ ?(\d+):  (\d\d)" + MINUTE + r" (\d\d)" + SECOND + r" (\d) +(\d+)$")
    laps = []
    for row in range(1, 11):
        text = read(shot, font, 9, lx + 20, ly + 22 + 17 * (row - 1), 20)
        match = row_pattern.match(text)
        if not match:
            if not text.endswith("-"):
                sys.exit(f"skin_screen: LAP LIST row {row} reads \"{text}\"")
            break
        if int(match.group(1)) != row:
            sys.exit(f"skin_screen: LAP LIST row {row} is numbered {match.group(1)}")
        laps.append({"tenths": tenths(*match.group(2, 3, 4)), "speed": int(match.group(5))})
    total = read(shot, font, 9, lx + 59, ly + 205, 16)
    match = re.match(r"^(\d\d)" + MINUTE + r" (\d\d)" + SECOND + r" (\d) +(\d+)$", total)
    if not match:
        sys.exit(f"skin_screen: the TOTAL row reads \"{total}\"")
    print(json.dumps({"laps": laps, "total": {"tenths": tenths(*match.group(1, 2, 3)), "speed": int(match.group(4))}}))


def check(chapter_files, laps_file):
    """Finds the playback positions the shown laps were taken at, from the record's own rows."""
    rows = []
    for path in chapter_files:
        with open(path, encoding="utf-8") as f:
            slots = json.load(f)["slots"]
        made = [(s["timeStamp"], i, s["speed"]) for i, s in enumerate(slots) if s]
        made.sort(key=lambda r: r[0])  # stable, as the archive sorts them
        rows.append(made)
    with open(laps_file, encoding="utf-8") as f:
        shown = json.load(f)

    def row(chapter, index):
        return rows[chapter][index] if 0 <= index < len(rows[chapter]) else (0, 0, 0)

    def average(b, d, a, k):
        speeds = []
        if b >= a:
            speeds = [row(a, j)[2] for j in range(d + 1, k + 1)]
        else:
            speeds = [r[2] for r in rows[b][d + 1:]]
            for c in range(b + 1, a):
                speeds += [r[2] for r in rows[c]]
            speeds += [row(a, j)[2] for j in range(0, k)]
        return sum(speeds) // len(speeds) if speeds else 0

    # Every position by the time of its row: a lap time of n tenths ends at a row n tenths on.
    timeline = sorted((row(c, f)[0], (c, f)) for c in range(len(rows)) for f in range(len(rows[c])))
    times = [t for t, _ in timeline]
    chains = []
    for _, start in timeline:
        chain = [start]
        begin = (start[0], row(*start)[1])
        start_time = row(*begin)[0]
        for lap in shown["laps"]:
            since = row(*begin)[0] + 100 * lap["tenths"]
            window = timeline[bisect.bisect_left(times, since):bisect.bisect_left(times, since + 100)]
            ends = [p for _, p in window if p > chain[-1] and average(begin[0], begin[1], p[0], row(*p)[1]) == lap["speed"]]
            if not ends:
                break
            chain.append(ends[0])
            begin = (ends[0][0], row(*ends[0])[1])
        else:
            total = (row(*chain[-1])[0] - start_time) // 100
            mean = sum(lap["speed"] for lap in shown["laps"]) // len(shown["laps"])
            if total == shown["total"]["tenths"] and mean == shown["total"]["speed"]:
                chains.append(chain)
    if not chains:
        sys.exit("skin_screen: no playback positions give the laps shown")
    print("positions (chapter, frame) that give every lap shown:", chains[0], f"and {len(chains) - 1} more")
    crossings = sum(1 for a, b in zip(chains[0], chains[0][1:]) if b[0] != a[0])
    print(f"laps over a chapter change: {crossings}")
    if crossings == 0:
        sys.exit("skin_screen: no lap falls after a chapter change")


def main(argv):
    skin = argv[1]
    if "--check" in argv:
        at = argv.index("--check")
        check(argv[2:at], argv[at + 1])
        return
    shot = Shot(argv[2])
    command = argv[3]
    if command == "locate":
        locate(skin, shot)
    elif command == "shows":
        picture_id, x, y = (int(v) for v in argv[4:7])
        sys.exit(0 if shot.has(Picture(skin, picture_id), x, y) else 1)
    elif command == "stopwatch":
        stopwatch_lines(skin, shot, int(argv[4]), int(argv[5]))
    elif command == "laplist":
        lap_list(skin, shot)
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
