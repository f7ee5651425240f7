"""The frame of the line chart and the circle chart with its range buttons."""
from buttons import STATES, pill_button
from skinkit import (CARD_BOTTOM, DISC, DISC_GRID, DISC_RING, G_ORANGE, INK_DIM, INK_FAINT,
                     SPEED_RED, WELL_EDGE, Painter, caption, card, crop, dim, font, mix)

LINE = "line chart"
CIRCLE = "circle chart"
CENTRE, RING = (93, 107), 64      # where the program plots 0 G and the selected maximum
RANGES = [(1.0, (10049, 10050, 10051)), (1.5, (10052, 10053, 10054)),
          (2.0, (10055, 10056, 10057)), (2.5, (10058, 10059, 10060)),
          (3.0, (10061, 10062, 10063))]
BUTTON_BOX = (47, 220, 47 + 94, 220 + 22)


def vertical_text(string, fnt, colour, background):
    """Text turned a quarter to read upwards, on a background strip."""
    p = Painter((background.height, background.width))
    p.image.paste(background.rotate(-90, expand=True).convert("RGBA"))
    p.text((background.height / 2, background.width / 2), string, fnt, colour, anchor="mm")
    return p.result().rotate(90, expand=True)


def line_chart_frame(width=200):
    """The frame around the black plot the program draws at (20, 7) to (width − 25, 79):
    a panel face with the G legend in orange on the left and km/h in light red on the
    right, the colours of the two curves."""
    p = Painter((width, 90))
    card(p, (4, 2, width - 4, 88))
    p.rounded_rect((18, 5, width - 23, 81), 3, fill=WELL_EDGE)
    p.rounded_rect((19, 6, width - 24, 80), 2, fill=(0, 0, 0))
    left = vertical_text("G", font("bold", 12), G_ORANGE, p.result().crop((5, 10, 18, 80)))
    p.image.paste(left.convert("RGBA"), (5, 10))
    right = vertical_text("km/h", font("bold", 10), SPEED_RED,
                          p.result().crop((width - 22, 10, width - 6, 80)))
    p.image.paste(right.convert("RGBA"), (width - 22, 10))
    return p.result()


def circle_background(enabled):
    p = Painter((185, 246))
    card(p, (4, 4, 181, 242))
    disc = DISC if enabled else dim(DISC, 0.5, CARD_BOTTOM)
    ring = DISC_RING if enabled else dim(DISC_RING, 0.6, CARD_BOTTOM)
    grid = DISC_GRID if enabled else dim(DISC_GRID, 0.6, CARD_BOTTOM)
    label = INK_DIM if enabled else INK_FAINT
    cx, cy = CENTRE
    caption(p, (12, 10), "G", G_ORANGE if enabled else INK_FAINT, size=12)
    p.circle((cx, cy), RING + 3, fill=mix(disc, (0, 0, 0), 0.35))
    p.circle((cx, cy), RING + 1, fill=disc)
    for fraction in (0.25, 0.5, 0.75):
        p.circle((cx, cy), RING * fraction, outline=grid, width=1)
    p.line([(cx - RING, cy), (cx + RING, cy)], grid, 1)
    p.line([(cx, cy - RING), (cx, cy + RING)], grid, 1)
    p.circle((cx, cy), RING, outline=ring, width=1.5)
    fnt = font("bold", 11)
    p.text((cx, cy - RING - 9), "Fr", fnt, label, anchor="mm")
    p.text((cx, cy + RING + 10), "Rr", fnt, label, anchor="mm")
    p.text((cx - RING - 12, cy), "LH", fnt, label, anchor="mm")
    p.text((cx + RING + 12, cy), "RH", fnt, label, anchor="mm")
    return p.result()


def ring_symbol(p, cx, cy, s, colour):
    r = s * 0.22
    p.circle((cx, cy), r, outline=colour, width=1.3)
    p.circle((cx, cy), 1.4, fill=colour)


def add(skin):
    frame = line_chart_frame()
    skin.add(359, frame.crop((0, 0, 40, 90)), LINE, "frame, left end (G legend)", "at (0, 0)",
             texts=("G",))
    skin.add(360, frame.crop((90, 0, 110, 90)), LINE, "frame, middle (stretched)",
             "stretched between the ends")
    skin.add(361, frame.crop((160, 0, 200, 90)), LINE, "frame, right end (km/h legend)",
             "at (width − 40, 0)", texts=("km/h",))
    enabled = circle_background(True)
    skin.add(10040, enabled, CIRCLE, "background", "at (0, 0); 0 G at (93, 107), "
             "the selected maximum on the ring of radius 64", texts=("G", "Fr", "Rr", "LH", "RH"))
    skin.add(10048, circle_background(False), CIRCLE, "disabled background", "at (0, 0)",
             texts=("G", "Fr", "Rr", "LH", "RH"))
    for value, ids in RANGES:
        label = f"{value:.1f} G"
        for picture_id, state in zip(ids, STATES):
            skin.add(picture_id, pill_button(crop(enabled, BUTTON_BOX), state, label, ring_symbol),
                     CIRCLE, f"range {label} button, {state}",
                     "fills its 94 × 22 button at (47, 220)", texts=(label,))
