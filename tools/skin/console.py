"""The playback console under the picture: its face, buttons, bars, markers and read-out.

The console face is stretched from its middle piece, so every control can sit on any
column of it: a control's picture takes the face's rows behind it from one middle column.
"""
import math

from buttons import (STATES, chapter_symbol, pause_symbol, play_symbol, round_button,
                     skip_symbol, step_symbol, stop_symbol)
from skinkit import (ACCENT, ACCENT_DARK, AUTO_PINK, CARD_BOTTOM, CARD_EDGE, CARD_TOP, COLUMN,
                     INK, INK_DIM, INK_FAINT, LAP_YELLOW, MANUAL_BLUE, MARK_GREEN, WELL, WELL_EDGE,
                     Painter, card, column_strip, dim, font, glyph, mix)

PANEL = "console"
HEIGHT = 92
CAP = 16          # width of the left and right end pieces
MIDDLE = 20       # width of the stretched middle piece
FACE_INSET = 4    # the face stands this far inside the console on every side

# The position bar: a groove near the top, markers hang below it from row 11.
BAR_HEIGHT = 30
GROOVE_TOP, GROOVE_BOTTOM = 5, 11
MARKER_ROW = 11
THUMB_SIZE = (15, 17)
CHANNEL_WIDTH = 40
# The small bars (volume, brightness): 10 rows high.
SMALL_BAR_HEIGHT = 10
SMALL_GROOVE = (2, 7)
SMALL_THUMB = (9, 10)


END_CAP = 12      # the console's darker end caps reach to this column from either side
CAP_TOP, CAP_BOTTOM = (36, 35, 55), (26, 25, 40)


def draw_face(width, enabled=True):
    """The whole console face at one width, enabled or disabled. Both states share the
    darker end caps: the panel draws its disabled face against the enabled left end, and
    the cap hides that join."""
    box = (FACE_INSET, FACE_INSET, width - FACE_INSET, HEIGHT - FACE_INSET)
    p = Painter((width, HEIGHT), fill=COLUMN)
    if enabled:
        card(p, box, radius=8)
    else:
        # Only a little darker: the controls' pictures carry the enabled face behind them.
        card(p, box, radius=8, top=dim(CARD_TOP, 0.25, COLUMN),
             bottom=dim(CARD_BOTTOM, 0.25, COLUMN), edge=dim(CARD_EDGE, 0.25, COLUMN),
             highlight=dim(CARD_EDGE, 0.1, COLUMN))
    caps = Painter((width, HEIGHT), fill=COLUMN)
    card(caps, box, radius=8, top=CAP_TOP, bottom=CAP_BOTTOM, highlight=CAP_TOP)
    for x in (END_CAP - 1, width - END_CAP):
        caps.line([(x + 0.5, FACE_INSET + 1), (x + 0.5, HEIGHT - FACE_INSET - 1)], CARD_EDGE, 1)
    face = p.result()
    caps = caps.result()
    face.paste(caps.crop((0, 0, END_CAP, HEIGHT)), (0, 0))
    face.paste(caps.crop((width - END_CAP, 0, width, HEIGHT)), (width - END_CAP, 0))
    return face


def face_rows(face, y, width, height):
    """The face behind a control at row y, taken from a middle column."""
    return column_strip(face, face.width // 2, y, width, height)


def groove(p, x0, x1, top, bottom, filled):
    """A rounded groove; filled grooves carry the accent colour."""
    r = (bottom - top) / 2
    if filled:
        p.rounded_rect((x0, top, x1, bottom), r, fill=ACCENT_DARK)
        p.gradient((int(x0) + 1, top + 1, int(x1) - 1, bottom - 1), mix(ACCENT, INK, 0.25),
                   ACCENT, max(0, int(r) - 1))
    else:
        p.rounded_rect((x0, top, x1, bottom), r, fill=WELL_EDGE)
        p.rounded_rect((x0 + 1, top + 1, x1 - 1, bottom - 1), r - 1, fill=WELL)


def channel(face, y, width, height, groove_rows, filled):
    """A bar channel: the face rows behind the bar with the groove drawn across."""
    p = Painter(face_rows(face, y, width, height))
    groove(p, 1, width - 1, groove_rows[0], groove_rows[1], filled)
    return p.result()


def thumb(face, y, size, groove_rows, centre_y, radius):
    """A round knob. Its left half stands on the filled groove and its right half on the
    empty one, because the bar fills the channel up to the knob's centre column."""
    w, h = size
    half = w // 2
    # Both halves come from the uniform middle of a wide channel, away from its round ends.
    filled = channel(face, y, 3 * w, h, groove_rows, True).crop((w, 0, w + half, h))
    empty = channel(face, y, 3 * w, h, groove_rows, False).crop((w + half, 0, 2 * w, h))
    base = face_rows(face, y, w, h)
    base.paste(filled, (0, 0))
    base.paste(empty, (half, 0))
    p = Painter(base)
    cx = w / 2
    p.circle((cx, centre_y + 0.6), radius, fill=(0, 0, 0, 110))
    p.circle((cx, centre_y), radius, fill=mix(INK, (0, 0, 0), 0.2))
    p.circle((cx, centre_y), radius - 1, fill=INK)
    p.circle((cx, centre_y), radius * 0.35, fill=ACCENT)
    return p.result()


def marker(face, y, colour, label, right_padding):
    """A tag hanging from the groove with a coloured letter or digit. The bar draws event
    markers 2 columns and stopwatch markers 1 column right of centred, so the tag carries
    twice that much plain face on its right: its tip (column 6) lands on the position."""
    tag_w, h = 13, 17
    w = tag_w + right_padding
    p = Painter(face_rows(face, y + MARKER_ROW, w, h))
    cx = tag_w / 2
    p.polygon([(cx - 3.5, 4), (cx, 0), (cx + 3.5, 4)], colour)
    p.rounded_rect((0.5, 3.5, tag_w - 0.5, h - 0.5), 3, fill=colour)
    p.rounded_rect((1.5, 4.5, tag_w - 1.5, h - 1.5), 2, fill=WELL)
    p.text((cx + 0.5, 11), label, font("condbold", 10), colour, anchor="mm")
    return p.result()


def readout_glyph(face, char):
    """Seconds from the event, at row 9 of the face: 18 rows high, baseline at row 15."""
    widths = {".": 5, "+": 11, "-": 11, "±": 11}
    w, h, baseline = widths.get(char, 11), 18, 15
    background = face_rows(face, 9, w, h)
    if char in "-":
        p = Painter(background)
        p.rounded_rect((2, 8, w - 2, 10.5), 1, fill=INK)
        return p.result()
    colour = INK_DIM if char in "+±" else INK
    fnt = font("condbold", 17)
    return glyph(background, char, fnt, colour, baseline)


# The reset symbols sit one row low so that their centre meets the groove beside them.
def speaker_symbol(p, colour):
    p.polygon([(1, 5), (4, 5), (7.5, 2), (7.5, 12), (4, 9), (1, 9)], colour)
    p.arc((5, 4, 11, 10), -60, 60, colour, 1.2)


def sun_symbol(p, colour):
    cx, cy = 6, 6.5
    p.circle((cx, cy), 2.4, fill=colour)
    for k in range(8):
        a = k * math.pi / 4
        p.line([(cx + 3.8 * math.cos(a), cy + 3.8 * math.sin(a)),
                (cx + 5.3 * math.cos(a), cy + 5.3 * math.sin(a))], colour, 1.2)


def small_icon(face, y, symbol, colour):
    p = Painter(face_rows(face, y, 12, 12))
    symbol(p, colour)
    return p.result()


def add(skin):
    face = draw_face(200)
    face_off = draw_face(200, enabled=False)
    left, middle, right = (face.crop((0, 0, CAP, HEIGHT)),
                           face.crop((100, 0, 100 + MIDDLE, HEIGHT)),
                           face.crop((200 - CAP, 0, 200, HEIGHT)))
    skin.add(223, left, PANEL, "face, left end", "at (0, 0)")
    skin.add(221, middle, PANEL, "face, middle (stretched)",
             "stretched from the left end to the right end")
    skin.add(222, right, PANEL, "face, right end", "at (right − 16, 0)")
    skin.add(424, face_off.crop((100, 0, 100 + MIDDLE, HEIGHT)), PANEL,
             "disabled face, middle (stretched)", "stretched from x 12 to the right end")
    skin.add(425, face_off.crop((200 - CAP, 0, 200, HEIGHT)), PANEL,
             "disabled face, right end", "at (right − 16, 0)")

    buttons = [
        # ids (normal, pressed, disabled), size, place, symbol, accent, role
        ((10015, 10016, 10017), 38, (44, "c − 21"), play_symbol, True, "play/pause (play face)"),
        ((10034, 10035, 10033), 38, (44, "c − 21"), pause_symbol, True,
         "play/pause (pause face)"),
        ((10018, 10019, 10020), 34, (46, "c + 24"), stop_symbol, False, "stop"),
        ((10009, 10010, 10011), 28, (48, "c − 106"), skip_symbol("left"), False,
         "previous record"),
        ((10012, 10013, 10014), 28, (48, "c − 71"), skip_symbol("right"), False, "next record"),
        ((10042, 10043, 10044), 28, (48, "c + 80"), step_symbol("left"), False, "step back"),
        ((10045, 10046, 10047), 28, (48, "c + 115"), step_symbol("right"), False,
         "step forward"),
        ((10003, 10004, 10005), 22, (4, "13"), chapter_symbol("left"), False,
         "previous chapter"),
        ((10006, 10007, 10008), 22, (4, "38"), chapter_symbol("right"), False, "next chapter"),
    ]
    for ids, size, (y, x), symbol, accent, role in buttons:
        for picture_id, state in zip(ids, STATES):
            background = face_rows(face, y, size, size)
            skin.add(picture_id, round_button(background, state, symbol, accent), PANEL,
                     f"{role} button, {state}", f"fills its {size} × {size} button at ({x}, {y})")

    skin.add(290, small_icon(face, 54, speaker_symbol, INK_DIM), PANEL,
             "volume reset (speaker)", "fills its 12 × 12 button at (c + 176, 54)")
    skin.add(431, small_icon(face, 54, speaker_symbol, INK_FAINT), PANEL,
             "volume reset, disabled", "fills its 12 × 12 button at (c + 176, 54)")
    skin.add(289, small_icon(face, 54, sun_symbol, INK_DIM), PANEL,
             "brightness reset (sun)", "fills its 12 × 12 button at (c − 286, 54)")

    groove_rows = (GROOVE_TOP, GROOVE_BOTTOM)
    skin.add(10027, channel(face, 6, CHANNEL_WIDTH, BAR_HEIGHT, groove_rows, False), PANEL,
             "position bar channel", "three-slice channel of the 30-row bar at (83, 6); "
             "end caps 7 columns")
    skin.add(295, channel(face, 6, CHANNEL_WIDTH, BAR_HEIGHT, groove_rows, True), PANEL,
             "position bar channel, played part", "left of the thumb's centre")
    skin.add(10031, thumb(face, 6, THUMB_SIZE, groove_rows, 8, 7), PANEL,
             "position bar thumb", "at (thumb x, 0) of the bar")
    small_groove = SMALL_GROOVE
    skin.add(403, channel(face, 57, 30, SMALL_BAR_HEIGHT, small_groove, False), PANEL,
             "volume bar channel", "the 90 × 10 bar at (c + 201, 57); end caps 4 columns")
    skin.add(10001, channel(face, 57, 30, SMALL_BAR_HEIGHT, small_groove, False), PANEL,
             "brightness bar channel", "the 90 × 10 bar at (c − 261, 57); end caps 4 columns")
    skin.add(296, channel(face, 57, 30, SMALL_BAR_HEIGHT, small_groove, True), PANEL,
             "volume and brightness bars, filled part", "left of the thumb's centre")
    skin.add(291, thumb(face, 57, SMALL_THUMB, small_groove, 4.5, 4.5), PANEL,
             "volume and brightness thumb", "at (thumb x, 0) of the bar")

    markers = [
        (10029, AUTO_PINK, "G", 4, "automatic event marker (pink G)"),
        (10030, MANUAL_BLUE, "S", 4, "manual event marker (blue S)"),
        (115, MARK_GREEN, "S", 2, "stopwatch start marker (green S)"),
        (116, MARK_GREEN, "E", 2, "stopwatch end marker (green E)"),
    ] + [(picture_id, LAP_YELLOW, str(n), 2, f"lap {n} marker (yellow {n})")
         for n, picture_id in enumerate((117, 118, 119, 120, 121, 122, 123, 127, 128), 1)]
    for picture_id, colour, label, padding, role in markers:
        offset = "+ 2" if padding == 4 else "+ 1"
        skin.add(picture_id, marker(face, 6, colour, label, padding), "position bar", role,
                 f"at (position centre − width / 2 {offset}, 11) of the position bar, which "
                 f"puts the tip (column 6) on the position", texts=(label,))

    for picture_id, char in zip(range(237, 247), "0123456789"):
        skin.add(picture_id, readout_glyph(face, char), PANEL, f"read-out glyph {char}",
                 "seconds from the event, from (right − 63, 9)", texts=(char,))
    for picture_id, char, name in ((247, ".", "decimal point"), (249, "+", "plus"),
                                   (248, "-", "minus"), (236, "±", "plus-minus")):
        skin.add(picture_id, readout_glyph(face, char), PANEL, f"read-out glyph {name}",
                 "seconds from the event, from (right − 63, 9)", texts=(char,))
