"""The stopwatch panel and its LAP LIST window."""
from buttons import STATES, pill_button
from skinkit import (CARD_BOTTOM, INK, INK_DIM, LAP_YELLOW, SPEED_RED, WELL_EDGE, Painter, caption,
                     card, crop, font, glyph, mix, well)

PANEL = "stopwatch"
LIST = "LAP LIST"

# Read-out lines: caption, row of the glyphs, glyph colour, first id of the 13 glyphs.
LINES = [("TOTAL", 35, INK, 10090), ("LAP TIME", 95, LAP_YELLOW, 10103),
         ("AVE.SPEED", 155, SPEED_RED, 10116)]
GLYPH_HEIGHT, BASELINE = 26, 21
DIGIT_WIDTH = 15                   # equals the blank advance, so "%3d" stays right-aligned
MARK_WIDTHS = {"′": 6, "″": 10}
GLYPH_CHARS = "0123456789′″-"
BUTTONS = [("START/STOP", 203, (106, 109, 110)), ("LAP/RESET", 238, (107, 111, 112)),
           ("LAP LIST", 273, (108, 113, 114)), ("一つ戻す", 308, (133, 134, 135))]

# LAP LIST: ten rows from y 22, 17 rows apart, and the TOTAL row at (59, 205).
LIST_SIZE = (210, 270)
ROW_Y0, ROW_PITCH, ROW_GLYPH_HEIGHT = 22, 17, 13
LIST_DIGIT = 9                     # equals the blank advance of the table
LIST_WIDTHS = {"′": 5, "″": 8, ":": 3}
LIST_TEXT_END = 172                # right end of "%3d" of the average speed
LIST_FACE = (31, 30, 48)


def background():
    p = Painter((185, 350))
    card(p, (4, 4, 181, 346))
    for title, y, colour, _ in LINES:
        caption(p, (22, y - 20), title)
        well(p, (22, y - 5, 163, y + GLYPH_HEIGHT + 4))
    speed_y = LINES[2][1]
    p.text((30 + 3 * DIGIT_WIDTH + 8, speed_y + BASELINE), "km/h", font("bold", 12), INK_DIM,
           anchor="ls")
    return p.result()


def readout_glyph(bg, y, char, colour):
    w = MARK_WIDTHS.get(char, DIGIT_WIDTH)
    back = crop(bg, (130, y, 130 + w, y + GLYPH_HEIGHT))
    if char == "-":
        p = Painter(back)
        p.rounded_rect((3, 12, w - 3, 15), 1.2, fill=mix(colour, CARD_BOTTOM, 0.35))
        return p.result()
    return glyph(back, char, font("condbold", 22), colour, BASELINE)


def list_background():
    w, h = LIST_SIZE
    p = Painter(LIST_SIZE, fill=LIST_FACE)
    caption(p, (20, 6), "LAP")
    caption(p, (59, 6), "TIME")
    caption(p, (LIST_TEXT_END, 6), "SPEED", anchor="ra")
    p.line([(8, 18.5), (w - 8, 18.5)], WELL_EDGE, 1)
    for row in range(10):
        y = ROW_Y0 + ROW_PITCH * row
        p.text((LIST_TEXT_END + 4, y + 11), "km/h", font("sans", 9), INK_DIM, anchor="ls")
        if row < 9:
            p.line([(8, y + 15.5), (w - 8, y + 15.5)], mix(WELL_EDGE, LIST_FACE, 0.5), 1)
    p.line([(8, 199.5), (w - 8, 199.5)], WELL_EDGE, 1)
    p.text((20, 205 + 11), "TOTAL", font("bold", 10), INK_DIM, anchor="ls")
    p.text((LIST_TEXT_END + 4, 205 + 11), "km/h", font("sans", 9), INK_DIM, anchor="ls")
    return p.result()


def list_glyph(bg, char):
    w = LIST_WIDTHS.get(char, LIST_DIGIT)
    back = crop(bg, (100, ROW_Y0, 100 + w, ROW_Y0 + ROW_GLYPH_HEIGHT))
    if char == "-":
        p = Painter(back)
        p.rounded_rect((2, 6, w - 2, 7.8), 0.8, fill=INK_DIM)
        return p.result()
    return glyph(back, char, font("condbold", 12), INK, 11)


def add(skin):
    bg = background()
    skin.add(105, bg, PANEL, "background", "at (0, 0)",
             texts=("TOTAL", "LAP TIME", "AVE.SPEED", "km/h"))
    for label, y, ids in BUTTONS:
        for picture_id, state in zip(ids, STATES):
            fnt = font("jp", 12) if label == "一つ戻す" else font("bold", 10)
            skin.add(picture_id, pill_button(crop(bg, (45, y, 137, y + 22)), state, label,
                                             radius=6, label_font=fnt),
                     PANEL, f"{label} button, {state}", f"fills its 92 × 22 button at (45, {y})",
                     texts=(label,))
    for title, y, colour, first in LINES:
        for offset, char in enumerate(GLYPH_CHARS):
            skin.add(first + offset, readout_glyph(bg, y, char, colour), PANEL,
                     f"{title} glyph {char}", f"from (30, {y}), advancing by its width",
                     texts=(char,))
    list_bg = list_background()
    skin.add(10132, list_bg, LIST, "background", "at (0, 0) of the window's client area",
             texts=("LAP", "TIME", "SPEED", "km/h", "TOTAL"))
    for picture_id, state in zip((10129, 10130, 10131), STATES):
        skin.add(picture_id, pill_button(crop(list_bg, (58, 243, 152, 265)), state, "閉じる",
                                         radius=6, label_font=font("jp", 12)),
                 LIST, f"close button, {state}", "fills its 94 × 22 button at (58, 243)",
                 texts=("閉じる",))
    for picture_id, char in list(zip(range(10133, 10143), "0123456789")) + [
            (10143, "′"), (10144, "″"), (10145, "-"), (10146, ":")]:
        skin.add(picture_id, list_glyph(list_bg, char), LIST, f"table glyph {char}",
                 "in the rows from (20, 22 + 17 × row) and the TOTAL row at (59, 205)",
                 texts=(char,))
