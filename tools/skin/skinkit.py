"""Drawing kit of the skin: the palette, the fonts and a small antialiased painter.

Every picture is drawn opaque: the program copies skin pictures without blending, so
whatever lies behind a control on screen is painted into the control's own picture.
Shapes are drawn at four times the size and reduced, which gives smooth edges without
relying on an antialiasing feature of the drawing library; text is drawn at its final
size so that the font's hinting keeps small captions crisp.
"""
from PIL import Image, ImageDraw, ImageFont

# ---------------------------------------------------------------- palette
# The charts draw fixed colours (orange G, light red speed, yellow cursor, red event
# line) over a dark blue-grey circle, so the whole skin is built on that blue-grey.
COLUMN = (22, 22, 35)            # window background between and around the panels
CARD_TOP = (47, 45, 72)          # panel face, top of its gradient
CARD_BOTTOM = (34, 33, 53)       # panel face, bottom of its gradient
CARD_EDGE = (70, 68, 104)        # one-pixel rim of a panel face
CARD_HIGHLIGHT = (88, 86, 128)   # top rim line that makes a face look lit from above
WELL = (14, 14, 24)              # recessed read-out windows
WELL_EDGE = (58, 56, 88)
DISC = (61, 56, 96)              # circle plate: the colour the oldest trace fades into
DISC_RING = (118, 112, 170)
DISC_GRID = (88, 83, 132)

INK = (238, 240, 247)            # numbers and primary text
INK_DIM = (152, 154, 184)        # captions
INK_FAINT = (92, 94, 124)        # disabled text and symbols

ACCENT = (62, 196, 232)          # the interface's own accent: progress, selection, play
ACCENT_DARK = (28, 120, 158)

G_ORANGE = (255, 165, 0)         # the G curve and trace
SPEED_RED = (255, 128, 128)      # the speed curve
CURSOR_YELLOW = (255, 255, 0)    # the chart cursor
EVENT_RED = (255, 0, 0)          # the event line

AUTO_PINK = (255, 96, 168)       # automatic event: pink letter G on the position bar
MANUAL_BLUE = (84, 146, 255)     # manual event: blue letter S
MARK_GREEN = (72, 214, 120)      # stopwatch start and end
LAP_YELLOW = (255, 220, 64)      # stopwatch laps

BUTTON_TOP = (84, 82, 120)       # raised round buttons
BUTTON_BOTTOM = (54, 52, 82)
BUTTON_EDGE = (110, 108, 156)

# ---------------------------------------------------------------- fonts
# kind: (file, the Debian package that installs it)
_FONT_FILES = {
    "sans": ("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "fonts-dejavu-core"),
    "bold": ("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", "fonts-dejavu-core"),
    "cond": ("/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed.ttf", "fonts-dejavu-extra"),
    "condbold": ("/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf",
                 "fonts-dejavu-extra"),
    "jp": ("/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf", "fonts-ipafont-gothic"),
}
_font_cache = {}


def font(kind, size):
    """A font of the skin: sans, bold, cond, condbold (DejaVu) or jp (IPA P Gothic)."""
    key = (kind, size)
    if key not in _font_cache:
        path, package = _FONT_FILES[kind]
        try:
            _font_cache[key] = ImageFont.truetype(path, size)
        except OSError:
            raise SystemExit(f"font {path} is missing: install the Debian package {package}")
    return _font_cache[key]


# ---------------------------------------------------------------- colours
def mix(a, b, t):
    """The colour a fraction t of the way from a to b."""
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def dim(colour, t=0.45, towards=CARD_BOTTOM):
    """A disabled version of a colour: pulled most of the way to the panel face."""
    return mix(colour, towards, t)


# ---------------------------------------------------------------- painter
SUPERSAMPLE = 4


class Painter:
    """Draws antialiased shapes and text onto one opaque RGB picture."""

    def __init__(self, size_or_image, fill=COLUMN):
        if isinstance(size_or_image, Image.Image):
            self.image = size_or_image.convert("RGBA")
        else:
            self.image = Image.new("RGBA", size_or_image, fill + (255,))

    @property
    def size(self):
        return self.image.size

    def result(self):
        return self.image.convert("RGB")

    # Shapes go through a transparent layer drawn at SUPERSAMPLE times the size.
    def _layer(self):
        w, h = self.image.size
        layer = Image.new("RGBA", (w * SUPERSAMPLE, h * SUPERSAMPLE), (0, 0, 0, 0))
        return layer, ImageDraw.Draw(layer)

    def _merge(self, layer):
        small = layer.resize(self.image.size, Image.Resampling.BOX)
        self.image.alpha_composite(small)

    @staticmethod
    def _box(box):
        s = SUPERSAMPLE
        x0, y0, x1, y1 = box
        return (x0 * s, y0 * s, x1 * s - 1, y1 * s - 1)

    @staticmethod
    def _points(points):
        s = SUPERSAMPLE
        return [(x * s, y * s) for x, y in points]

    def rounded_rect(self, box, radius, fill=None, outline=None, width=1):
        layer, draw = self._layer()
        s = SUPERSAMPLE
        draw.rounded_rectangle(self._box(box), radius * s, fill=fill, outline=outline,
                               width=int(width * s) if outline else 0)
        self._merge(layer)

    def ellipse(self, box, fill=None, outline=None, width=1):
        layer, draw = self._layer()
        draw.ellipse(self._box(box), fill=fill, outline=outline,
                     width=int(width * SUPERSAMPLE) if outline else 0)
        self._merge(layer)

    def circle(self, centre, radius, fill=None, outline=None, width=1):
        cx, cy = centre
        self.ellipse((cx - radius, cy - radius, cx + radius, cy + radius), fill, outline, width)

    def polygon(self, points, fill):
        layer, draw = self._layer()
        draw.polygon(self._points(points), fill=fill)
        self._merge(layer)

    def line(self, points, fill, width=1, round_caps=False):
        layer, draw = self._layer()
        pts = self._points(points)
        w = int(width * SUPERSAMPLE)
        draw.line(pts, fill=fill, width=w, joint="curve")
        if round_caps:
            r = w / 2
            for x, y in (pts[0], pts[-1]):
                draw.ellipse((x - r, y - r, x + r, y + r), fill=fill)
        self._merge(layer)

    def arc(self, box, start, end, fill, width=1):
        layer, draw = self._layer()
        draw.arc(self._box(box), start, end, fill=fill, width=int(width * SUPERSAMPLE))
        self._merge(layer)

    def gradient(self, box, top, bottom, radius=0):
        """A vertical gradient filling box, optionally with rounded corners."""
        x0, y0, x1, y1 = box
        w, h = x1 - x0, y1 - y0
        ramp = Image.new("RGBA", (1, h))
        for y in range(h):
            ramp.putpixel((0, y), mix(top, bottom, y / max(1, h - 1)) + (255,))
        ramp = ramp.resize((w, h))
        s = SUPERSAMPLE
        mask = Image.new("L", (w * s, h * s), 0)
        ImageDraw.Draw(mask).rounded_rectangle((0, 0, w * s - 1, h * s - 1), radius * s, fill=255)
        mask = mask.resize((w, h), Image.Resampling.BOX)
        patch = Image.new("RGBA", (w, h), (0, 0, 0, 0))
        patch.paste(ramp, (0, 0), mask)
        self.image.alpha_composite(patch, (x0, y0))

    def text(self, xy, string, fnt, fill, anchor="la"):
        ImageDraw.Draw(self.image).text(xy, string, font=fnt, fill=fill, anchor=anchor)

    def text_width(self, string, fnt):
        return ImageDraw.Draw(self.image).textlength(string, font=fnt)

    def paste(self, picture, xy):
        self.image.paste(picture.convert("RGBA"), xy)


# ---------------------------------------------------------------- common elements
def card(painter, box, radius=8, top=CARD_TOP, bottom=CARD_BOTTOM, edge=CARD_EDGE,
         highlight=CARD_HIGHLIGHT):
    """A panel face: a lit rounded card with a thin rim, the skin's basic surface."""
    x0, y0, x1, y1 = box
    painter.rounded_rect(box, radius, fill=edge)
    painter.gradient((x0 + 1, y0 + 1, x1 - 1, y1 - 1), top, bottom, radius - 1)
    painter.line([(x0 + radius, y0 + 1.5), (x1 - radius, y0 + 1.5)], highlight, 1)


def well(painter, box, radius=5):
    """A recessed read-out window: darker than the face, with a rim and an inner shadow."""
    x0, y0, x1, y1 = box
    painter.rounded_rect(box, radius, fill=WELL_EDGE)
    painter.rounded_rect((x0 + 1, y0 + 1, x1 - 1, y1 - 1), radius - 1, fill=WELL)
    painter.line([(x0 + radius, y0 + 1.5), (x1 - radius, y0 + 1.5)], (6, 6, 12), 1)


def caption(painter, xy, string, colour=INK_DIM, size=10, anchor="la"):
    """A small upper-case panel caption."""
    painter.text(xy, string, font("bold", size), colour, anchor)


def crop(picture, box):
    """The part of an already drawn picture behind a control placed at box."""
    return picture.crop(box).convert("RGB")


def column_strip(picture, x, y, width, height):
    """Background for a control on a face whose middle is the same in every column:
    the rows y .. y + height of column x, repeated width times."""
    column = picture.crop((x, y, x + 1, y + height))
    return column.resize((width, height), Image.Resampling.NEAREST).convert("RGB")


def glyph(background, char, fnt, colour, baseline):
    """One character of a read-out, centred in its cell with its baseline at row baseline.
    All glyphs of a set share the cell height and the baseline, so a line of them never
    jumps when a digit changes."""
    p = Painter(background)
    w, _ = p.size
    p.text((w / 2, baseline), char, fnt, colour, anchor="ms")
    return p.result()
