"""The window's own pictures: the two side columns, the open-folder panel and the icon."""
import io

from buttons import STATES, folder_symbol, pill_button
from skinkit import (ACCENT, CARD_TOP, COLUMN, DISC, DISC_RING, G_ORANGE, INK, Painter, caption,
                     card, crop, font, mix)


def side_column():
    """Behind the panels of a side column; only its edges show between the panels, and
    more of it when the window is taller, so it is the plain window colour."""
    return Painter((185, 574), fill=COLUMN).result()


def config_background():
    p = Painter((185, 83))
    card(p, (4, 4, 181, 79))
    caption(p, (16, 11), "FOLDER")
    return p.result()


def icon_master():
    """The program icon: a lens whose glass is the G circle with an orange trace, on the
    skin's indigo tile. Large simple shapes so that it still reads at 16 pixels."""
    s = 256
    p = Painter((s, s), fill=(0, 0, 0))
    p.image.putalpha(0)
    p.rounded_rect((8, 8, 248, 248), 52, fill=mix(CARD_TOP, (0, 0, 0), 0.1) + (255,))
    p.gradient((14, 14, 242, 242), mix(CARD_TOP, INK, 0.12), mix(COLUMN, (0, 0, 0), 0.2), 46)
    p.circle((128, 128), 92, fill=ACCENT)
    p.circle((128, 128), 72, fill=mix(DISC, (0, 0, 0), 0.25))
    p.circle((128, 128), 58, fill=DISC)
    p.circle((128, 128), 58, outline=DISC_RING, width=4)
    p.line([(128, 80), (128, 176)], mix(DISC_RING, DISC, 0.4), 4)
    p.line([(80, 128), (176, 128)], mix(DISC_RING, DISC, 0.4), 4)
    p.line([(104, 150), (118, 138), (132, 132), (146, 112), (152, 100)], G_ORANGE, 12,
           round_caps=True)
    p.circle((152, 100), 13, fill=(255, 255, 0))
    return p.image


def icon_ico_bytes():
    out = io.BytesIO()
    icon_master().save(out, "ICO", sizes=[(16, 16), (24, 24), (32, 32), (48, 48), (256, 256)])
    return out.getvalue()


def add(skin):
    skin.add(284, side_column(), "main window", "left side column",
             "stretched into (0, 0, 185, height − 90) of the window, behind the left panels")
    skin.add(451, side_column(), "main window", "right side column",
             "stretched into (width − 185, 0, 185, height − 90), behind the right panels")
    background = config_background()
    skin.add(10024, background, "open-folder panel", "background", "at (0, 0)",
             texts=("FOLDER",))
    label_font = font("jp", 12)
    for picture_id, state in zip((10021, 10022, 10023), STATES):
        button = pill_button(crop(background, (27, 29, 155, 59)), state, "フォルダを開く",
                             folder_symbol, radius=6, label_font=label_font)
        skin.add(picture_id, button, "open-folder panel", f"open-folder button, {state}",
                 "fills its 128 × 30 button at (27, 29)", texts=("フォルダを開く",))
