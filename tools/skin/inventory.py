"""The texts written from the list of pictures: resource script, test table, inventory."""

PANEL_ORDER = ["main window", "console", "position bar", "info panel", "digital speed meter",
               "analog speed meter", "line chart", "circle chart", "open-folder panel",
               "stopwatch", "LAP LIST", "thumbnail strip"]
GENERATED = "Written by tools/skin/make_skin.py; edit the generator, not this file."


def ordered(skin):
    return sorted(skin.pictures.values(), key=lambda p: p.id)


def resource_script(skin):
    lines = ["// Skin pictures: resources of type \"IMAGE\" named by their numeric ids, and the",
             f"// program icon. {GENERATED}",
             "",
             "294 ICON \"skin/294.ico\"",
             ""]
    lines += [f"{p.id} IMAGE \"skin/{p.id}.png\"" for p in ordered(skin)]
    return "\n".join(lines) + "\n"


def test_table(skin):
    lines = [f"// {{id, width, height}} of every skin picture. {GENERATED}"]
    lines += [f"{{{p.id}, {p.size[0]}, {p.size[1]}}}," for p in ordered(skin)]
    return "\n".join(lines) + "\n"


def _row(p):
    texts = ", ".join(f"\"{t}\"" if len(t) == 1 else t for t in p.texts)
    return f"| {p.id} | {p.role} | {p.size[0]} × {p.size[1]} | {p.where} | {texts} |"


INTRO = """# Skin pictures

{generated}

The program's interface is drawn from PNG pictures stored as resources of type "IMAGE",
named by number; the program icon is ICON resource 294. The pictures live in
`resources/skin/` (one file per id) and are listed in `resources/skin.rc`, so building the
program needs no generator. To change a picture, change its description in `tools/skin/`
and run `/usr/bin/python3 tools/skin/make_skin.py` (Debian's python3-pil, fonts-dejavu-core,
fonts-dejavu-extra and fonts-ipafont-gothic); it rewrites the pictures, this file, the resource script, the
test table `tests/resources/SkinInventory.inc`, `docs/skin-sheet.png` (every picture with its
id) and `docs/skin-mockup.png` (the main window in event mode, built from the PNGs).

## How the pictures are drawn

- Every picture is copied opaque at its natural size or stretched into a rectangle; nothing
  is blended. A control's picture therefore carries the panel behind it: each overlay is
  drawn over a copy of the exact background it covers.
- Faces that are stretched (console, line chart frame, thumbnail strip) are the same in every
  column of their middle piece, so a control placed anywhere on them matches.
- A button's three states (normal, pressed, disabled) share one outline and symbol: pressed
  darkens the face and moves the symbol down one pixel, disabled flattens it and fades the
  symbol.
- Read-out glyphs of one set have one height and one baseline; digits are as wide as the
  blank advance of their read-out, so right-aligned numbers stay in place. The dash stands
  in for an unknown digit and is as wide as a digit.

## Colours

| Use | Colour (R, G, B) |
|---|---|
| window around the panels | 22, 22, 35 |
| panel face (gradient) | 47, 45, 72 → 34, 33, 53 |
| read-out windows | 14, 14, 24 |
| circle plate (the colour the oldest trace fades into) | 61, 56, 96 |
| text / captions / disabled | 238, 240, 247 / 152, 154, 184 / 92, 94, 124 |
| accent: played part, play button, selection | 62, 196, 232 |
| G (as the G curve and trace) | 255, 165, 0 |
| speed (as the speed curve): needle, km/h, AVE.SPEED | 255, 128, 128 |
| automatic event, pink G / manual event, blue S | 255, 96, 168 / 84, 146, 255 |
| stopwatch start and end / laps | 72, 214, 120 / 255, 220, 64 |

## Inventory

Positions are in the coordinates of the window that draws the picture; c is half the
console's width, "width" and "right" that window's width and right edge.
"""


def markdown(skin):
    out = [INTRO.format(generated=GENERATED)]
    out.append("Program icon: ICON 294, sizes 16, 24, 32, 48 and 256 pixels "
               "(`resources/skin/294.ico`), the window class icon of the main window.\n")
    panels = skin.by_panel()
    for panel in PANEL_ORDER:
        pictures = sorted(panels.pop(panel), key=lambda p: p.id)
        out.append(f"### {panel[0].upper() + panel[1:]}\n")
        out.append("| Id | Role | Size | Drawn | Texts |")
        out.append("|---|---|---|---|---|")
        needles = [p for p in pictures if 11000 <= p.id <= 11180]
        for p in pictures:
            if p in needles:
                continue
            out.append(_row(p))
        if needles:
            size = needles[0].size
            out.append(f"| {needles[0].id}–{needles[-1].id} | complete dial with the needle at "
                       f"id − 11000 km/h (0 to 180), the travelled scale lit | "
                       f"{size[0]} × {size[1]} | at (0, 0) | |")
        out.append("")
    if panels:
        raise ValueError(f"panels missing from the inventory order: {sorted(panels)}")
    return "\n".join(out)
