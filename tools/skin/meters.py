"""The digital speed meter and the needle dial with its 181 needle frames."""
import math

from skinkit import (CARD_BOTTOM, DISC_GRID, INK, INK_DIM, INK_FAINT, SPEED_RED, WELL, Painter,
                     caption, card, crop, font, glyph, mix, well)

DIGITAL = "digital speed meter"
ANALOG = "analog speed meter"
MAX_SPEED = 180

# Digital meter: three 32-pixel cells from (20, 60).
CELL_W, CELL_H, CELL_Y = 32, 52, 60

# Dial geometry: the scale sweeps 240 degrees clockwise from lower left (0 km/h) over the
# top to lower right (180 km/h), around a hub under the centre of the face.
DIAL_SIZE = (182, 140)
HUB = (91, 80)
SCALE_RADIUS = 62
SWEEP_START, SWEEP = 150.0, 240.0   # degrees, clockwise from three o'clock


def speed_angle(speed):
    return math.radians(SWEEP_START + SWEEP * speed / MAX_SPEED)


def on_dial(radius, speed):
    a = speed_angle(speed)
    return HUB[0] + radius * math.cos(a), HUB[1] + radius * math.sin(a)


def digital_background():
    p = Painter((185, 141))
    card(p, (4, 4, 181, 137))
    caption(p, (16, 14), "SPEED")
    p.rounded_rect((16, 28, 42, 30), 1, fill=SPEED_RED)
    well(p, (12, CELL_Y - 6, 20 + 3 * CELL_W + 6, CELL_Y + CELL_H + 4), radius=6)
    p.text((128, CELL_Y + 43), "km/h", font("bold", 14), SPEED_RED, anchor="ls")
    return p.result()


def digital_digit(bg, char):
    back = crop(bg, (52, CELL_Y, 52 + CELL_W, CELL_Y + CELL_H))
    if char == "-":
        p = Painter(back)
        p.rounded_rect((6, 24, CELL_W - 6, 29), 2, fill=INK_DIM)
        return p.result()
    return glyph(back, char, font("condbold", 46), INK, 43)


def dial_face():
    """The dial without a needle: scale, numbers and the unit."""
    p = Painter(DIAL_SIZE)
    card(p, (2, 2, 179, 138))
    box = (HUB[0] - SCALE_RADIUS, HUB[1] - SCALE_RADIUS, HUB[0] + SCALE_RADIUS,
           HUB[1] + SCALE_RADIUS)
    p.arc(box, SWEEP_START, SWEEP_START + SWEEP, mix(WELL, CARD_BOTTOM, 0.3), 7)
    for speed in range(0, MAX_SPEED + 1, 10):
        major = speed % 30 == 0
        inner = SCALE_RADIUS - (9 if major else 5)
        p.line([on_dial(inner, speed), on_dial(SCALE_RADIUS + 3, speed)],
               INK if major else INK_FAINT, 1.6 if major else 1)
        if major:
            x, y = on_dial(SCALE_RADIUS - 20, speed)
            p.text((x, y), str(speed), font("condbold", 10), INK_DIM, anchor="mm")
    p.text((HUB[0], HUB[1] + 40), "km/h", font("bold", 11), SPEED_RED, anchor="ms")
    caption(p, (12, 10), "SPEED")
    return p


def needle_frame(face, speed):
    """One complete dial: the travelled part of the scale lit in the speed colour, the
    needle pointing at the speed and the hub over it."""
    p = Painter(face.image.copy())
    box = (HUB[0] - SCALE_RADIUS, HUB[1] - SCALE_RADIUS, HUB[0] + SCALE_RADIUS,
           HUB[1] + SCALE_RADIUS)
    if speed > 0:
        p.arc(box, SWEEP_START, SWEEP_START + SWEEP * speed / MAX_SPEED,
              mix(SPEED_RED, CARD_BOTTOM, 0.35), 4)
    tip = on_dial(SCALE_RADIUS - 2, speed)
    tail = on_dial(-12, speed)
    p.line([tail, tip], (0, 0, 0, 120), 4.2, round_caps=True)
    p.line([tail, tip], SPEED_RED, 2.6, round_caps=True)
    p.circle(HUB, 7, fill=mix(DISC_GRID, WELL, 0.4))
    p.circle(HUB, 5, fill=INK)
    p.circle(HUB, 2, fill=SPEED_RED)
    return p.result()


def add(skin):
    bg = digital_background()
    skin.add(10064, bg, DIGITAL, "background", "at (0, 0)", texts=("SPEED", "km/h"))
    for picture_id, char in list(zip(range(10070, 10080), "0123456789")) + [(10080, "-")]:
        skin.add(picture_id, digital_digit(bg, char), DIGITAL, f"digit {char}",
                 f"in its 32-pixel cell from (20, {CELL_Y})", texts=(char,))
    face = dial_face()
    skin.add(10041, face.result(), ANALOG, "dial background", "at (0, 0)",
             texts=("SPEED", "km/h") + tuple(str(s) for s in range(0, 181, 30)))
    for speed in range(MAX_SPEED + 1):
        skin.add(11000 + speed, needle_frame(face, speed), ANALOG,
                 f"dial with the needle at {speed} km/h", "at (0, 0)")
