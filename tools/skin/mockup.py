"""A mock-up of the main window in event mode, assembled from the saved pictures at the
places where the program draws them (client area 1014 × 664 of the 1026 × 723 window),
with the lines, text and trace that the program draws itself imitated around them."""
import io
import math

from PIL import Image, ImageDraw, ImageFont

from skinkit import COLUMN, INK, INK_DIM, font, mix

WINDOW = (1026, 723)
CLIENT = (1014, 664)
CLIENT_AT = (6, 53)       # frame, caption, menu and client edge before the client area
GOTHIC = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"

# The recorded drive imitated: 30 s of an event record at 30 frames a second, braking
# hard at the event in the middle, shown 2.3 s after it.
FRAMES, FPS, EVENT, CURRENT = 900, 30, 450, 519


def sample(k):
    """(lateral G, longitudinal G, speed km/h) of frame k."""
    t = (k - EVENT) / FPS
    brake = math.exp(-((t - 0.2) / 0.55) ** 2)
    lon = -1.05 * brake + 0.04 * math.sin(k / 23.0) + 0.05 * math.sin(k / 61.0)
    lat = 0.35 * math.sin(k / 47.0) * (1 - brake) + 0.3 * brake * math.sin(k / 9.0) + \
        0.06 * math.sin(k / 13.0)
    if t < 0:
        speed = 58 + 4 * math.sin(k / 90.0)
    else:
        speed = max(21.0, 58 - 36 * (1 - math.exp(-t / 0.9)))
    return lat, lon, speed


def colorref(value):
    """The RGB colour of a COLORREF 0x00BBGGRR as the program writes it."""
    return (value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF)


AGE_COLOURS = [(55, 0x60383D), (50, 0x5B3E47), (45, 0x564451), (40, 0x51495B), (35, 0x4C4F66),
               (30, 0x475570), (25, 0x425A7A), (20, 0x3D6084), (15, 0x38668E), (10, 0x336C99),
               (9, 0x2D71A3), (8, 0x2877AD), (7, 0x237DB7), (6, 0x1E82C1), (5, 0x1988CC),
               (4, 0x148ED6), (3, 0x0F93E0), (2, 0x0A99EA), (1, 0x059FF4), (0, 0x00A5FF)]


def age_colour(age, unit=5):
    for bound, value in AGE_COLOURS:
        if age > bound * unit:
            return colorref(value)
    return colorref(0x00A5FF)


class Client:
    def __init__(self, saved):
        self.saved = saved
        self.image = Image.new("RGB", CLIENT, COLUMN)
        self.draw = ImageDraw.Draw(self.image)

    def put(self, pid, x, y):
        self.image.paste(self.saved[pid], (x, y))

    def stretch(self, pid, x, y, w, h, src=None):
        picture = self.saved[pid]
        if src is not None:
            picture = picture.crop(src)
        if w > 0 and h > 0:
            self.image.paste(picture.resize((w, h), Image.Resampling.NEAREST), (x, y))

    def glyphs(self, text, x, y, ids, blank=None):
        for char in text:
            if char in ids:
                self.put(ids[char], x, y)
                x += self.saved[ids[char]].width
            elif blank is not None:
                x += blank
        return x


def three_piece(c, left, middle, right, x, y, width):
    lw, rw = c.saved[left].width, c.saved[right].width
    c.stretch(middle, x + lw, y, width - lw - rw, c.saved[middle].height)
    c.put(right, x + width - rw, y)
    c.put(left, x, y)


def video(c, x, y, w, h):
    """A stand-in for the recorded picture: a road ahead in daylight."""
    scene = Image.new("RGB", (w, h))
    d = ImageDraw.Draw(scene)
    horizon = int(h * 0.46)
    for row in range(horizon):
        d.line([(0, row), (w, row)], fill=mix((120, 160, 205), (205, 220, 232), row / horizon))
    for row in range(horizon, h):
        d.line([(0, row), (w, row)], fill=mix((96, 104, 96), (70, 74, 70), (row - horizon) / h))
    d.polygon([(w * 0.47, horizon), (w * 0.53, horizon), (w * 1.02, h), (-w * 0.02, h)],
              fill=(74, 76, 80))
    for k in range(6):
        t0, t1 = (k + 0.2) / 6, (k + 0.55) / 6
        y0, y1 = horizon + (h - horizon) * t0 ** 1.6, horizon + (h - horizon) * t1 ** 1.6
        d.polygon([(w / 2 - 1 - 3 * t0 ** 1.6, y0), (w / 2 + 1 + 3 * t0 ** 1.6, y0),
                   (w / 2 + 2 + 6 * t1 ** 1.6, y1), (w / 2 - 2 - 6 * t1 ** 1.6, y1)],
                  fill=(225, 225, 215))
    for side in (-1, 1):
        d.line([(w / 2 + side * w * 0.03, horizon), (w / 2 + side * w * 0.5, h)],
               fill=(230, 230, 225), width=3)
    d.rectangle((w * 0.41, h * 0.5, w * 0.59, h * 0.66), fill=(40, 44, 52))
    d.rectangle((w * 0.43, h * 0.52, w * 0.57, h * 0.57), fill=(150, 170, 190))
    for side in (0.425, 0.545):
        d.rectangle((w * side, h * 0.6, w * (side + 0.03), h * 0.625), fill=(230, 40, 40))
    d.rectangle((0, horizon - 40, w * 0.3, horizon), fill=(84, 110, 84))
    d.rectangle((w * 0.72, horizon - 55, w, horizon), fill=(78, 100, 80))
    c.image.paste(scene, (x, y))


def console(c, x, y, w):
    three_piece(c, 223, 221, 222, x, y, w)
    mid = w // 2
    # Position bar: the played part up to the thumb's centre, the event marker, the thumb.
    bx, by, bw = x + 83, y + 6, w - 170
    thumb_w = c.saved[10031].width
    half = thumb_w // 2
    channel_w = c.saved[10027].width

    def centre_of(pos):
        return int(pos * (bw - thumb_w) / (FRAMES - 1)) + half

    thumb_x = centre_of(CURRENT) - half
    c.stretch(295, bx, by, half, 30, (0, 0, half, 30))
    c.stretch(295, bx + half, by, thumb_x, 30, (half, 0, half + channel_w - thumb_w, 30))
    c.stretch(10027, bx + bw - half, by, half, 30, (channel_w - half, 0, channel_w, 30))
    c.stretch(10027, bx + thumb_x + half, by, bw - thumb_x - 2 * half, 30,
              (half, 0, half + channel_w - thumb_w, 30))
    marker = c.saved[10029]
    c.put(10029, bx + centre_of(EVENT) - marker.width // 2 + 2, by + 11)
    c.put(10031, bx + thumb_x, by)
    buttons = [(10034, mid - 21, 44), (10018, mid + 24, 46), (10009, mid - 106, 48),
               (10012, mid - 71, 48), (10042, mid + 80, 48), (10045, mid + 115, 48),
               (290, mid + 176, 54), (289, mid - 286, 54)]
    for pid, bx2, by2 in buttons:
        c.put(pid, x + bx2, y + by2)
    for pid, x0, pos, top in ((403, mid + 201, 12, 16), (10001, mid - 261, 10, 50)):
        small_bar(c, pid, x + x0, y + 57, pos, top)
    t = (CURRENT - EVENT) * 10 // FPS
    text = f"+{t // 10:02d}.{t % 10}"
    ids = {str(d): 237 + d for d in range(10)}
    ids.update({".": 247, "+": 249, "-": 248, "±": 236})
    c.glyphs(text, x + w - 63, y + 9, ids)


def small_bar(c, channel, x, y, position, maximum, minimum=0):
    thumb_w, width = c.saved[291].width, 90
    half = thumb_w // 2
    channel_w = c.saved[channel].width
    tx = int((position - minimum) * (width - thumb_w) / (maximum - minimum))
    c.stretch(296, x, y, half, 10, (0, 0, half, 10))
    c.stretch(296, x + half, y, tx, 10, (half, 0, half + channel_w - thumb_w, 10))
    c.stretch(channel, x + width - half, y, half, 10, (channel_w - half, 0, channel_w, 10))
    c.stretch(channel, x + tx + half, y, width - tx - 2 * half, 10,
              (half, 0, half + channel_w - thumb_w, 10))
    c.put(291, x + tx, y)


def line_chart(c, y, width):
    three_piece(c, 359, 360, 361, 0, y, width)
    gothic = ImageFont.truetype(GOTHIC, 13)
    bitmap = Image.new("RGB", (width - 45, 90 - 18), (0, 0, 0))
    d = ImageDraw.Draw(bitmap)
    label_w = d.textlength("+0.00", font=gothic)
    left, top = int(label_w) + 10, 13
    right = width - int(d.textlength("999", font=gothic)) - 55
    bottom = 90 - 13 - 23
    samples = [sample(k) for k in range(FRAMES)]
    g_max = max(0.5, max(math.hypot(s[0], s[1]) for s in samples))
    g_max = math.ceil(2 * g_max) / 2
    v_top = ((int(max(s[2] for s in samples)) - 1) // 40) * 40 + 40
    for i in range(5):
        yy = top + i * (bottom - top) // 4
        for xx in range(left, right, 2):
            d.point((xx, yy), fill=(128, 128, 128))
        d.text((5, yy - 6), f"{g_max - i * g_max / 4:+4.2f}", font=gothic, fill=(255, 255, 255))
        d.text((right, yy - 6), f"{(4 - i) * v_top // 4:3d}", font=gothic, fill=(255, 255, 255))
    for f in range(0, FRAMES + 1, FPS):
        xx = left + f * (right - left) // FRAMES
        for yy in range(top, bottom, 2):
            d.point((xx, yy), fill=(128, 128, 128))
        if (f // FPS) % 2 == 0:
            label = str(f // FPS)
            d.text((xx - d.textlength(label, font=gothic) / 2, bottom + 4), label, font=gothic,
                   fill=(255, 255, 255))
    d.text((left, 0), "08:41:54", font=gothic, fill=(255, 255, 255))
    d.text((right - d.textlength("00:00:00", font=gothic), 0), "08:42:24", font=gothic,
           fill=(255, 255, 255))
    ex = left + EVENT * (right - left) // (FRAMES - 1)
    d.line([(ex, top), (ex, bottom - 1)], fill=(255, 0, 0))
    d.text((ex - d.textlength("08:42:09", font=gothic) / 2, 0), "08:42:09", font=gothic,
           fill=(255, 255, 255))
    d.line([(left, top), (left, bottom)], fill=(255, 255, 255))
    d.line([(left, bottom), (right, bottom)], fill=(255, 255, 255))

    def x_of(k):
        return left + k * (right - left) // (FRAMES - 1)
    d.line([(x_of(k), top + (g_max - math.hypot(s[0], s[1])) * (bottom - top) / g_max)
            for k, s in enumerate(samples)], fill=(255, 165, 0), width=2)
    d.line([(x_of(k), top + (v_top - s[2]) * (bottom - top) / v_top)
            for k, s in enumerate(samples)], fill=(255, 128, 128), width=2)
    c.image.paste(bitmap, (20, y + 7))
    cx = left + (right - left) * CURRENT // (FRAMES - 1) + 20
    c.draw.line([(cx, y + top + 7), (cx, y + bottom + 6)], fill=(255, 255, 0), width=2)


def circle_chart(c, x, y, g_range=1.5):
    c.put(10040, x, y)
    c.put(10052, x + 47, y + 220)

    def point(s):
        lat, lon = s[0], s[1]
        m = math.hypot(lat, lon)
        if m > g_range:
            lat, lon = lat * g_range / m, lon * g_range / m
        return x + int(93 + lat * 64 / g_range), y + int(107 - lon * 64 / g_range)
    start = CURRENT - 300
    previous = point(sample(start))
    for i in range(start + 1, CURRENT + 1):
        here = point(sample(i))
        c.draw.line([previous, here], fill=age_colour(CURRENT - i), width=2)
        previous = here
    px, py = previous
    c.draw.ellipse((px - 4, py - 4, px + 4, py + 4), fill=(255, 255, 0), outline=(255, 255, 0))


def info_panel(c, x, y):
    c.put(10026, x, y)
    date_ids = {str(d): 225 + d for d in range(10)}
    date_ids.update({"-": 235, "/": 224})
    time_ids = {str(d): 251 + d for d in range(10)}
    time_ids.update({"-": 250, ":": 261})
    c.glyphs("2026/10/14", x + 38, y + 34, date_ids)
    c.glyphs("08:42:09", x + 38, y + 84, time_ids)
    c.put(288, x + 21, y + 123)
    c.put(408, x + 145, y + 133)


def stopwatch(c, x, y):
    c.put(105, x, y)
    for first, line_y, text in ((10090, 35, "--′ --″ -"), (10103, 95, "--′ --″ -"),
                                (10116, 155, "  -")):
        ids = {str(d): first + d for d in range(10)}
        ids.update({"′": first + 10, "″": first + 11, "-": first + 12})
        c.glyphs(text, x + 30, y + line_y, ids, blank=15)
    for pid, by in ((110, 203), (112, 238), (114, 273), (135, 308)):
        c.put(pid, x + 45, y + by)


def window_frame(client):
    """A plain window frame with caption and menu around the client area."""
    out = Image.new("RGB", WINDOW, (58, 60, 72))
    d = ImageDraw.Draw(out)
    d.rectangle((0, 0, WINDOW[0] - 1, 29), fill=(36, 38, 48))
    d.text((12, 15), "イベント記録表示モード D:\\DCIM\\EVENT\\0037 - SCENOVA",
           font=font("jp", 13), fill=INK, anchor="lm")
    for i, symbol in enumerate(("✕", "□", "–")):
        d.text((WINDOW[0] - 22 - 40 * i, 15), symbol, font=font("sans", 12), fill=INK_DIM,
               anchor="mm")
    d.rectangle((4, 30, WINDOW[0] - 5, 50), fill=(240, 240, 240))
    for x, label in ((12, "ファイル(F)"), (92, "設定(S)"), (152, "ヘルプ(H)")):
        d.text((x, 40), label, font=font("jp", 12), fill=(20, 20, 20), anchor="lm")
    out.paste(client, CLIENT_AT)
    return out


def main_window(saved):
    c = Client(saved)
    w, h = CLIENT
    bottom = h - 90
    c.stretch(284, 0, 0, 185, bottom)
    c.stretch(451, w - 185, 0, 185, bottom)
    line_chart(c, bottom, w)
    console(c, 185, bottom - 92, w - 370)
    video(c, 185, 0, w - 370, bottom - 92)
    c.put(10024, w - 185, 490)
    c.put(10021, w - 185 + 27, 490 + 29)
    circle_chart(c, 0, 325)
    c.put(11000 + int(sample(CURRENT)[2]), 2, 2)
    info_panel(c, 0, 141)
    c.put(10064, w - 185, 0)
    speed = f"{int(sample(CURRENT)[2]):3d}"
    for i, char in enumerate(speed):
        if char.isdigit():
            c.put(10070 + int(char), w - 185 + 20 + 32 * i, 60)
    stopwatch(c, w - 185, 141)
    out = io.BytesIO()
    window_frame(c.image).save(out, "PNG", optimize=True)
    return out.getvalue()
