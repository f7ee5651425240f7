"""Buttons and their symbols, each in its three states: normal, pressed, disabled.

The three states of one button share one outline and one symbol: pressed darkens the face
and moves the symbol down by a pixel, disabled flattens the face and fades the symbol.
"""
from skinkit import (ACCENT, ACCENT_DARK, BUTTON_BOTTOM, BUTTON_EDGE, BUTTON_TOP, CARD_BOTTOM,
                     INK, INK_FAINT, WELL, Painter, dim, font, mix)

NORMAL, PRESSED, DISABLED = "normal", "pressed", "disabled"
STATES = (NORMAL, PRESSED, DISABLED)


def face_colours(state, accent=False):
    """Top colour, bottom colour and rim of a button face in a state."""
    if accent:
        top, bottom, rim = mix(ACCENT, (255, 255, 255), 0.15), ACCENT_DARK, mix(ACCENT, INK, 0.3)
    else:
        top, bottom, rim = BUTTON_TOP, BUTTON_BOTTOM, BUTTON_EDGE
    if state == PRESSED:
        return mix(bottom, (0, 0, 0), 0.25), mix(top, (0, 0, 0), 0.35), rim
    if state == DISABLED:
        flat = dim(mix(top, bottom, 0.5), 0.6)
        return flat, flat, dim(rim, 0.6)
    return top, bottom, rim


def symbol_colour(state, accent=False):
    if state == DISABLED:
        return INK_FAINT
    return WELL if accent else INK


def round_button(background, state, symbol, accent=False):
    """A round button filling its square picture, over the given background."""
    p = Painter(background)
    w, h = p.size
    top, bottom, rim = face_colours(state, accent)
    p.ellipse((0.5, 0.5, w - 0.5, h - 0.5), fill=(0, 0, 0, 90))          # soft drop edge
    p.ellipse((1, 1, w - 1, h - 1), fill=rim)
    inner = Painter((w, h))
    inner.gradient((0, 0, w, h), top, bottom)
    mask = Painter((w, h), fill=(0, 0, 0))
    mask.ellipse((2, 2, w - 2, h - 2), fill=(255, 255, 255))
    p.image.paste(inner.image, (0, 0), mask.image.convert("L"))
    shift = 1 if state == PRESSED else 0
    symbol(p, w / 2, h / 2 + shift, min(w, h), symbol_colour(state, accent))
    return p.result()


def pill_button(background, state, label, symbol=None, accent=False, radius=None,
                label_font=None):
    """A rounded rectangular button with a text label (and an optional symbol before it)."""
    p = Painter(background)
    w, h = p.size
    top, bottom, rim = face_colours(state, accent)
    r = radius if radius is not None else h / 2 - 1
    p.rounded_rect((0, 0, w, h), r + 0.5, fill=(0, 0, 0, 90))
    p.rounded_rect((0.5, 0.5, w - 0.5, h - 0.5), r, fill=rim)
    p.gradient((2, 2, w - 2, h - 2), top, bottom, max(0, int(r) - 1))
    shift = 1 if state == PRESSED else 0
    colour = symbol_colour(state, accent)
    fnt = label_font or font("bold", 11)
    text_w = p.text_width(label, fnt)
    symbol_w = 0 if symbol is None else h * 0.55 + 5
    x = (w - text_w - symbol_w) / 2
    if symbol is not None:
        symbol(p, x + h * 0.275, h / 2 + shift, h, colour)
    p.text((round(x + symbol_w), round(h / 2 + shift)), label, fnt, colour, anchor="lm")
    return p.result()


# ---------------------------------------------------------------- symbols
# Each symbol is drawn centred on (cx, cy) and scaled to the button size s.
def play_symbol(p, cx, cy, s, colour):
    a = s * 0.2
    p.polygon([(cx - a * 0.75, cy - a), (cx - a * 0.75, cy + a), (cx + a * 1.05, cy)], colour)


def pause_symbol(p, cx, cy, s, colour):
    a = s * 0.19
    bar = s * 0.11
    for x in (cx - a * 0.55 - bar / 2, cx + a * 0.55 - bar / 2):
        p.rounded_rect((x, cy - a, x + bar, cy + a), 1, fill=colour)


def stop_symbol(p, cx, cy, s, colour):
    a = s * 0.16
    p.rounded_rect((cx - a, cy - a, cx + a, cy + a), 1.5, fill=colour)


def _triangle(p, cx, cy, a, colour, pointing):
    d = 1 if pointing == "right" else -1
    p.polygon([(cx - d * a * 0.85, cy - a), (cx - d * a * 0.85, cy + a), (cx + d * a * 0.85, cy)],
              colour)


def _bar(p, x, cy, a, colour, thickness):
    p.rounded_rect((x - thickness / 2, cy - a, x + thickness / 2, cy + a), 0.5, fill=colour)


def skip_symbol(direction):
    """Bar and two triangles: to the previous or next record folder."""
    def draw(p, cx, cy, s, colour):
        a = s * 0.15
        d = 1 if direction == "right" else -1
        _triangle(p, cx - d * a * 0.95, cy, a, colour, direction)
        _triangle(p, cx + d * a * 0.55, cy, a, colour, direction)
        _bar(p, cx + d * a * 1.55, cy, a, colour, max(1.6, s * 0.07))
    return draw


def step_symbol(direction):
    """A bar behind one triangle (pause, then one frame): one frame back or forward. The
    bar trails the triangle, unlike the skip and first/last symbols where it leads."""
    def draw(p, cx, cy, s, colour):
        a = s * 0.16
        d = 1 if direction == "right" else -1
        _triangle(p, cx + d * a * 0.45, cy, a, colour, direction)
        _bar(p, cx - d * a * 0.95, cy, a, colour, max(1.6, s * 0.08))
    return draw


def chapter_symbol(direction):
    """Two triangles: to the previous or next chapter."""
    def draw(p, cx, cy, s, colour):
        a = s * 0.17
        d = 1 if direction == "right" else -1
        _triangle(p, cx - d * a * 0.75, cy, a, colour, direction)
        _triangle(p, cx + d * a * 0.75, cy, a, colour, direction)
    return draw


def first_last_symbol(direction):
    """Triangle against a bar, larger: the first or last picture of the strip."""
    def draw(p, cx, cy, s, colour):
        a = s * 0.17
        d = 1 if direction == "right" else -1
        _triangle(p, cx - d * a * 0.35, cy, a, colour, direction)
        _bar(p, cx + d * a * 0.85, cy, a, colour, max(1.8, s * 0.08))
    return draw


def arrow_symbol(direction):
    """One triangle: the previous or next picture of the strip."""
    def draw(p, cx, cy, s, colour):
        _triangle(p, cx, cy, s * 0.17, colour, direction)
    return draw


def folder_symbol(p, cx, cy, s, colour):
    a = s * 0.3
    w, h = a * 2.2, a * 1.6
    x0, y0 = cx - w / 2, cy - h / 2 + 1
    p.rounded_rect((x0, y0 - a * 0.3, x0 + w * 0.45, y0 + 2), 1, fill=colour)   # tab
    p.rounded_rect((x0, y0, x0 + w, y0 + h), 1.5, fill=colour)
    p.line([(x0 + 1, y0 + h * 0.3), (x0 + w - 1, y0 + h * 0.3)], mix(colour, CARD_BOTTOM, 0.5), 1)
