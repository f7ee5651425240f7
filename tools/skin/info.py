"""The info panel: date, time, the kind of record and the protect icon."""
import math

from skinkit import (AUTO_PINK, INK, INK_DIM, MANUAL_BLUE, MARK_GREEN, ACCENT, EVENT_RED,
                     Painter, caption, card, crop, font, glyph, mix, well)

PANEL = "info panel"
DATE_Y, TIME_Y = 34, 84          # rows where the program draws the date and time glyphs
DATE_HEIGHT, TIME_HEIGHT = 20, 28
LABEL_AT, LABEL_SIZE = (21, 123), (118, 44)
ICON_AT, ICON_SIZE = (145, 133), (24, 24)

# kind label id, text, colour (matching the markers of the position bar where one exists)
KINDS = [
    (287, "検知なし", INK_DIM, "no detection"),
    (288, "オート記録", AUTO_PINK, "automatic event record"),
    (286, "マニュアル記録", MANUAL_BLUE, "manual event record"),
    (430, "画像記録", ACCENT, "image record"),
    (429, "連続記録", MARK_GREEN, "continuous record"),
]


def background():
    p = Painter((185, 184))
    card(p, (4, 4, 181, 180))
    caption(p, (28, 18), "DATE")
    well(p, (28, DATE_Y - 5, 152, DATE_Y + DATE_HEIGHT + 4))
    caption(p, (28, 68), "TIME")
    well(p, (28, TIME_Y - 5, 152, TIME_Y + TIME_HEIGHT + 4))
    return p.result()


def date_glyph(bg, char):
    w = 7 if char == "/" else 11
    back = crop(bg, (60, DATE_Y, 60 + w, DATE_Y + DATE_HEIGHT))
    if char == "-":
        p = Painter(back)
        p.rounded_rect((2, 10, w - 2, 12.5), 1, fill=INK_DIM)
        return p.result()
    colour = INK_DIM if char == "/" else INK
    return glyph(back, char, font("condbold", 17), colour, 16)


def time_glyph(bg, char):
    w = 7 if char == ":" else 15
    back = crop(bg, (60, TIME_Y, 60 + w, TIME_Y + TIME_HEIGHT))
    if char == "-":
        p = Painter(back)
        p.rounded_rect((2, 13, w - 2, 16), 1.2, fill=INK_DIM)
        return p.result()
    colour = INK_DIM if char == ":" else INK
    return glyph(back, char, font("condbold", 25), colour, 23)


def kind_label(bg, text, colour):
    """A pill with a coloured dot and the kind's name, centred on the protect icon's row."""
    x, y = LABEL_AT
    w, h = LABEL_SIZE
    p = Painter(crop(bg, (x, y, x + w, y + h)))
    top, bottom = 10, 34
    p.rounded_rect((1, top, w - 1, bottom), 12, fill=mix(colour, (20, 20, 32), 0.7))
    p.rounded_rect((2, top + 1, w - 2, bottom - 1), 11, fill=mix(colour, (20, 20, 32), 0.86))
    p.circle((13, (top + bottom) / 2), 4, fill=colour)
    p.text((24, (top + bottom) / 2), text, font("jp", 13), mix(colour, INK, 0.55), anchor="lm")
    return p.result()


def protect_icon(bg):
    """A looped arrow (the recorder overwriting its oldest records) over a red cross:
    this record is kept."""
    x, y = ICON_AT
    back = crop(bg, (x, y, x + ICON_SIZE[0], y + ICON_SIZE[1]))
    p = Painter(back)
    p.line([(4, 4), (20, 20)], EVENT_RED, 2.4, round_caps=True)
    p.line([(20, 4), (4, 20)], EVENT_RED, 2.4, round_caps=True)
    c, r = 12, 6.5
    start, end = 300, 590          # clockwise, leaving a gap at the upper left for the head
    box = (c - r, c - r, c + r, c + r)
    cut = back.getpixel((12, 1))
    p.arc(box, start, end, cut, 4.6)
    p.arc(box, start, end - 25, INK, 2.0)
    a = math.radians(end)
    px, py = c + r * math.cos(a), c + r * math.sin(a)
    tx, ty = -math.sin(a), math.cos(a)          # direction of travel, clockwise
    nx, ny = math.cos(a), math.sin(a)           # outwards
    p.polygon([(px + 2.5 * tx, py + 2.5 * ty),
               (px - 2.5 * tx + 3.4 * nx, py - 2.5 * ty + 3.4 * ny),
               (px - 2.5 * tx - 3.4 * nx, py - 2.5 * ty - 3.4 * ny)], INK)
    return p.result()


def add(skin):
    bg = background()
    skin.add(10026, bg, PANEL, "background", "at (0, 0)", texts=("DATE", "TIME"))
    for picture_id, text, colour, role in KINDS:
        skin.add(picture_id, kind_label(bg, text, colour), PANEL, f"kind label: {role}",
                 f"at {LABEL_AT}", texts=(text,))
    skin.add(408, protect_icon(bg), PANEL, "protect icon (looped arrow crossed out)",
             f"at {ICON_AT} when the record is protected")
    for picture_id, char in list(zip(range(225, 235), "0123456789")) + [(235, "-"), (224, "/")]:
        skin.add(picture_id, date_glyph(bg, char), PANEL, f"date glyph {char}",
                 f"from (38, {DATE_Y}), advancing by its width", texts=(char,))
    for picture_id, char in list(zip(range(251, 261), "0123456789")) + [(250, "-"), (261, ":")]:
        skin.add(picture_id, time_glyph(bg, char), PANEL, f"time glyph {char}",
                 f"from (38, {TIME_Y}), advancing by its width", texts=(char,))
