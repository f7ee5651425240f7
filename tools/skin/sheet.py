"""The contact sheet: every saved picture on a neutral grey, labelled with its id."""
import io

from PIL import Image, ImageDraw

from inventory import PANEL_ORDER
from skinkit import font

SHEET_WIDTH = 1400
MARGIN, GAP, LABEL_H = 16, 12, 14
PAPER = (200, 200, 204)
NEEDLE_SAMPLES = range(11000, 11181, 15)   # every 15 km/h shows the needle's travel


ICON_SIZES = ((16, 16), (24, 24), (32, 32), (48, 48), (256, 256))


def contact_sheet(skin, saved, icon_path):
    """PNG bytes of the sheet. Pictures come from the saved files, so the sheet shows
    exactly what the program loads; the needle frames are sampled every 15 km/h, and the
    icon is shown in each of its sizes."""
    panels = skin.by_panel()
    icon_file = Image.open(icon_path)
    icons = [icon_file.ico.getimage(size).convert("RGBA") for size in ICON_SIZES]
    placements, y = [], MARGIN
    headings = [("program icon 294 (16, 24, 32, 48, 256)", y)]
    x = MARGIN
    for icon in icons:
        placements.append((icon, x, y + 22))
        x += icon.width + GAP
    y += 22 + 256 + GAP + 8
    for panel in PANEL_ORDER:
        ids = sorted(p.id for p in panels[panel])
        ids = [i for i in ids if not (11000 <= i <= 11180) or i in NEEDLE_SAMPLES]
        headings.append((panel, y))
        y += 22
        x, row_h = MARGIN, 0
        for pid in ids:
            w, h = saved[pid].size
            label_w = 8 * len(str(pid))
            cell_w = max(w, label_w)
            if x + cell_w > SHEET_WIDTH - MARGIN:
                x, y = MARGIN, y + row_h + GAP
                row_h = 0
            placements.append((pid, x, y))  # a picture id, or an icon image
            x += cell_w + GAP
            row_h = max(row_h, h + LABEL_H)
        y += row_h + GAP + 8
    sheet = Image.new("RGB", (SHEET_WIDTH, y + MARGIN), PAPER)
    draw = ImageDraw.Draw(sheet)
    for panel, hy in headings:
        draw.text((MARGIN, hy), panel if panel == "LAP LIST" else panel[0].upper() + panel[1:],
                  font=font("bold", 13), fill=(30, 30, 40))
        draw.line([(MARGIN, hy + 17), (SHEET_WIDTH - MARGIN, hy + 17)], fill=(150, 150, 160))
    for item, x, y in placements:
        if isinstance(item, Image.Image):
            sheet.paste(item, (x, y), item)
            continue
        sheet.paste(saved[item], (x, y + LABEL_H))
        draw.text((x, y), str(item), font=font("sans", 10), fill=(20, 20, 30))
    out = io.BytesIO()
    sheet.save(out, "PNG", optimize=True)   # full colour: the sheet is for judging colours
    return out.getvalue()
