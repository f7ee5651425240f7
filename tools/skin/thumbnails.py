"""The thumbnail strip of image records: its frame, buttons, selection frame and the
stand-in for a picture that cannot be decoded."""
from buttons import STATES, arrow_symbol, first_last_symbol, round_button
from skinkit import (ACCENT, INK_FAINT, WELL, WELL_EDGE, Painter, card, column_strip, mix)

PANEL = "thumbnail strip"
THUMB_SIZE = (71, 53)      # the list view's small pictures


def strip_face(width=200):
    p = Painter((width, 90))
    card(p, (4, 2, width - 4, 88))
    return p.result()


def broken_picture():
    """A landscape symbol crossed out, for a record whose picture does not decode."""
    w, h = THUMB_SIZE
    p = Painter(THUMB_SIZE, fill=WELL)
    p.rounded_rect((0, 0, w, h), 2, outline=WELL_EDGE, width=1)
    x0, y0, x1, y1 = 24, 16, 47, 36
    p.rounded_rect((x0, y0, x1, y1), 2, outline=INK_FAINT, width=1.5)
    p.polygon([(x0 + 2, y1 - 2), (x0 + 9, y0 + 8), (x0 + 14, y1 - 6), (x0 + 17, y1 - 9),
               (x1 - 2, y1 - 2)], INK_FAINT)
    p.circle((x1 - 6, y0 + 5), 2, fill=INK_FAINT)
    p.line([(x0 - 3, y1 + 3), (x1 + 3, y0 - 3)], mix(INK_FAINT, (255, 80, 80), 0.5), 1.6)
    return p.result()


def selection_frame():
    """The 2-pixel frame of the chosen thumbnail; its inside is replaced by the picture."""
    w, h = THUMB_SIZE
    p = Painter(THUMB_SIZE, fill=ACCENT)
    p.rounded_rect((2, 2, w - 2, h - 2), 0, fill=WELL)
    return p.result()


def add(skin):
    face = strip_face()
    skin.add(426, face.crop((0, 0, 40, 90)), PANEL, "frame, left end", "at (0, 0)")
    skin.add(427, face.crop((90, 0, 110, 90)), PANEL, "frame, middle (stretched)",
             "stretched between the ends")
    skin.add(428, face.crop((160, 0, 200, 90)), PANEL, "frame, right end",
             "at (width − 40, 0)")
    buttons = [((442, 443, 444), first_last_symbol("left"), "first picture", "x 64"),
               ((436, 437, 438), arrow_symbol("left"), "previous picture", "x 98"),
               ((433, 434, 435), arrow_symbol("right"), "next picture", "x = width − 129"),
               ((439, 440, 441), first_last_symbol("right"), "last picture", "x = width − 97")]
    for ids, symbol, role, x in buttons:
        for picture_id, state in zip(ids, STATES):
            skin.add(picture_id, round_button(column_strip(face, 100, 30, 30, 30), state, symbol),
                     PANEL, f"{role} button, {state}", f"fills its 30 × 30 button at {x}, y 30")
    skin.add(447, broken_picture(), PANEL, "picture that cannot be decoded",
             "stretched into a 71 × 53 thumbnail")
    skin.add(448, selection_frame(), PANEL, "selection frame",
             "stretched to the thumbnail; its 2-pixel border frames the chosen picture")
