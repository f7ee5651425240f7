#!/usr/bin/python3
"""Writes a labelled placeholder PNG for every help-page picture that has no screenshot yet.

Usage: make_placeholders.py [--all]   (--all rewrites existing pictures too)
Pictures are replaced by real screenshots of the program as its panels arrive.
"""
import os
import sys

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
FONT = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"

# id: (caption, width, height)
PICTURES = {
    22101: ("メインウィンドウ", 640, 450),
    22102: ("メニュー", 320, 120),
    22103: ("フォルダの選択", 420, 400),
    22104: ("アナログスピードメーター", 182, 140),
    22105: ("情報パネル", 185, 184),
    22106: ("G円チャート", 185, 246),
    22107: ("デジタルスピードメーター", 185, 141),
    22108: ("ストップウォッチ", 185, 350),
    22109: ("フォルダを開くボタン", 185, 83),
    22110: ("映像表示エリア", 480, 360),
    22111: ("再生コンソール", 640, 92),
    22112: ("再生/一時停止", 60, 60),
    22113: ("停止", 60, 60),
    22114: ("前へ・次へ", 90, 60),
    22115: ("コマ戻し・コマ送り", 90, 60),
    22116: ("チャプター", 90, 60),
    22117: ("再生位置バー", 300, 40),
    22118: ("イベントからの秒数", 120, 40),
    22119: ("音量", 140, 40),
    22120: ("明るさ", 140, 40),
    22121: ("グラフ", 640, 90),
    22122: ("画像記録表示モード", 640, 450),
    22123: ("サムネイル", 640, 90),
    22124: ("コピー", 200, 80),
    22125: ("連続記録表示モード", 640, 450),
    22126: ("LAP LIST", 210, 270),
    22127: ("設定メニュー", 320, 120),
    22128: ("本体設定", 420, 360),
    22129: ("日時設定", 320, 200),
    22130: ("バージョン情報", 360, 210),
    22131: ("終了の確認", 300, 140),
}


def placeholder(caption, width, height):
    image = Image.new("RGB", (width, height), (236, 236, 236))
    draw = ImageDraw.Draw(image)
    draw.rectangle([0, 0, width - 1, height - 1], outline=(150, 150, 150))
    size = max(10, min(22, height // 4, width // max(1, len(caption))))
    font = ImageFont.truetype(FONT, size)
    box = draw.textbbox((0, 0), caption, font=font)
    x = (width - (box[2] - box[0])) // 2
    y = (height - (box[3] - box[1])) // 2
    draw.text((x, y), caption, fill=(90, 90, 90), font=font)
    return image


def main():
    rewrite = "--all" in sys.argv
    for picture_id, (caption, width, height) in PICTURES.items():
        path = os.path.join(HERE, f"{picture_id}.png")
        if os.path.exists(path) and not rewrite:
            continue
        placeholder(caption, width, height).save(path, optimize=True)


if __name__ == "__main__":
    main()
