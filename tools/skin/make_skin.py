#!/usr/bin/python3
"""Draws every skin picture of SCENOVA and writes what the build and the review need.

Run from anywhere with Debian's Python 3 and Pillow (python3-pil) and the fonts-dejavu-core,
fonts-dejavu-extra and fonts-ipafont-gothic packages:

    /usr/bin/python3 tools/skin/make_skin.py

It writes, relative to the repository:
    resources/skin/<id>.png           every picture, named by its resource id
    resources/skin/294.ico            the program icon
    resources/skin.rc                 one IMAGE line per picture and the ICON line
    tests/resources/SkinInventory.inc the {id, width, height} table of the test
    docs/skin.md                      the inventory
    docs/skin-sheet.png               every picture labelled with its id
    docs/skin-mockup.png              the main window in event mode, built from the PNGs
The output is the same byte for byte on every run.
"""
import io
import os
import sys

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))

import charts      # noqa: E402
import console     # noqa: E402
import frame       # noqa: E402
import info        # noqa: E402
import inventory   # noqa: E402
import meters      # noqa: E402
import mockup      # noqa: E402
import sheet       # noqa: E402
import stopwatch   # noqa: E402
import thumbnails  # noqa: E402
from registry import Skin  # noqa: E402

SKIN_DIR = os.path.join(ROOT, "resources", "skin")
PALETTE_COLOURS = 256


def draw_all():
    skin = Skin()
    for module in (frame, console, info, meters, charts, stopwatch, thumbnails):
        module.add(skin)
    return skin


def png_bytes(picture):
    """The smallest faithful PNG: a palette when the picture has few enough colours, the
    full colour range otherwise. Needle frames are reduced to one shared palette, which
    keeps 181 dials small without visible loss."""
    image = picture.image
    candidates = []
    if image.getcolors(PALETTE_COLOURS) is not None:
        candidates.append(image.quantize(colors=PALETTE_COLOURS, method=Image.Quantize.MEDIANCUT,
                                         dither=Image.Dither.NONE))
    elif not picture.keep_colours:
        candidates.append(image.quantize(colors=PALETTE_COLOURS, method=Image.Quantize.MEDIANCUT,
                                         dither=Image.Dither.NONE))
    candidates.append(image)
    best = None
    for candidate in candidates:
        out = io.BytesIO()
        candidate.save(out, "PNG", optimize=True)
        if best is None or len(out.getvalue()) < len(best):
            best = out.getvalue()
    return best


def write_if_changed(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    if os.path.exists(path):
        with open(path, "rb") as f:
            if f.read() == data:
                return
    with open(path, "wb") as f:
        f.write(data)


def main():
    skin = draw_all()
    os.makedirs(SKIN_DIR, exist_ok=True)
    wanted = set()
    for picture in sorted(skin.pictures.values(), key=lambda p: p.id):
        name = f"{picture.id}.png"
        wanted.add(name)
        write_if_changed(os.path.join(SKIN_DIR, name), png_bytes(picture))
    icon = frame.icon_ico_bytes()
    wanted.add("294.ico")
    write_if_changed(os.path.join(SKIN_DIR, "294.ico"), icon)
    for stale in set(os.listdir(SKIN_DIR)) - wanted:
        os.remove(os.path.join(SKIN_DIR, stale))

    write_if_changed(os.path.join(ROOT, "resources", "skin.rc"),
                     inventory.resource_script(skin).encode("utf-8"))
    write_if_changed(os.path.join(ROOT, "tests", "resources", "SkinInventory.inc"),
                     inventory.test_table(skin).encode("utf-8"))
    write_if_changed(os.path.join(ROOT, "docs", "skin.md"),
                     inventory.markdown(skin).encode("utf-8"))

    saved = {pid: Image.open(os.path.join(SKIN_DIR, f"{pid}.png")).convert("RGB")
             for pid in skin.pictures}
    write_if_changed(os.path.join(ROOT, "docs", "skin-sheet.png"),
                     sheet.contact_sheet(skin, saved, os.path.join(SKIN_DIR, "294.ico")))
    write_if_changed(os.path.join(ROOT, "docs", "skin-mockup.png"), mockup.main_window(saved))
    total = sum(os.path.getsize(os.path.join(SKIN_DIR, n)) for n in wanted)
    print(f"{len(skin.pictures)} pictures and the icon, {total / 1024:.0f} KiB in resources/skin")


if __name__ == "__main__":
    main()
