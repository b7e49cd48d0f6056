#!/usr/bin/env python3
"""Lays every image of resources/images/ out on one sheet, each on the window's dark
background and on a light page background, labelled with its resource name and size; the
small ones are repeated at 3x below.

    python3 tools/images/contact_sheet.py [output.png]   # default docs/images-contact-sheet.png

Needs rsvg-convert (Debian: librsvg2-bin) and the standard library only.
"""

import base64
import os
import struct
import subprocess
import sys
import tempfile

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
IMG_DIR = os.path.join(ROOT, "resources", "images")
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from generate import catalogue  # noqa: E402  (the drawing order is the sheet's order)

ORDER = list(catalogue())

DARK, LIGHT = "#28292e", "#f0f1f3"
SHEET_W = 1900
PAD = 10
LABEL_H = 30


def image_size(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] == b"\x89PNG\r\n\x1a\n":
        return struct.unpack(">II", data[16:24])
    i = 2
    while i < len(data):  # JPEG: walk the markers to the frame header
        if data[i] != 0xFF:
            i += 1
            continue
        marker = data[i + 1]
        seglen = struct.unpack(">H", data[i + 2:i + 4])[0]
        if marker in (0xC0, 0xC1, 0xC2):
            h, w = struct.unpack(">HH", data[i + 5:i + 9])
            return w, h
        i += 2 + seglen
    raise ValueError(path)


def order_key(name):
    return (ORDER.index(name), name) if name in ORDER else (len(ORDER), name)


def data_uri(path):
    mime = "image/jpeg" if path.lower().endswith(".jpg") else "image/png"
    with open(path, "rb") as f:
        return f"data:{mime};base64," + base64.b64encode(f.read()).decode("ascii")


def esc(s):
    return s.replace("&", "&amp;").replace("<", "&lt;")


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "docs", "images-contact-sheet.png")
    names = sorted((n for n in os.listdir(IMG_DIR) if n.lower().endswith((".png", ".jpg"))), key=order_key)
    items = [(n, *image_size(os.path.join(IMG_DIR, n))) for n in names]

    parts = []
    x, y, row_h = PAD, 50, 0

    def place(name, w, h, scale, pixelated):
        nonlocal x, y, row_h
        sw, sh = w * scale, h * scale
        cell_w = max(2 * sw + 3 * PAD, 7.6 * (len(name) + 10) + 2 * PAD, 150)
        cell_h = sh + 2 * PAD + LABEL_H
        if x + cell_w > SHEET_W - PAD:
            x, y = PAD, y + row_h + PAD
            row_h = 0
        ox = x + (cell_w - (2 * sw + 3 * PAD)) / 2
        uri = data_uri(os.path.join(IMG_DIR, name))
        rendering = ' image-rendering="optimizeSpeed" style="image-rendering:pixelated"' if pixelated else ""
        parts.append(f'<rect x="{x}" y="{y}" width="{cell_w}" height="{cell_h}" fill="#ffffff" stroke="#c9ccd2"/>')
        parts.append(f'<rect x="{ox + PAD / 2}" y="{y + PAD / 2}" width="{sw + PAD}" height="{sh + PAD}" fill="{DARK}"/>')
        parts.append(f'<rect x="{ox + sw + 1.5 * PAD}" y="{y + PAD / 2}" width="{sw + PAD}" height="{sh + PAD}" fill="{LIGHT}"/>')
        for px in (ox + PAD, ox + sw + 2 * PAD):
            parts.append(f'<image x="{px}" y="{y + PAD}" width="{sw}" height="{sh}" href="{uri}"{rendering}/>')
        label = f"{name}  {w}×{h}" + (f"  (×{scale})" if scale != 1 else "")
        parts.append(f'<text x="{x + cell_w / 2}" y="{y + sh + 2 * PAD + 14}" font-family="DejaVu Sans" '
                     f'font-size="12" fill="#33343a" text-anchor="middle">{esc(label)}</text>')
        x += cell_w + PAD
        row_h = max(row_h, cell_h)

    for n, w, h in items:
        place(n, w, h, 1, False)
    # small images again at 3x
    x, y, row_h = PAD, y + row_h + 50, 0
    parts.append(f'<text x="{PAD}" y="{y - 14}" font-family="DejaVu Sans" font-size="16" font-weight="bold" '
                 f'fill="#33343a">Small images enlarged 3x</text>')
    for n, w, h in items:
        if w <= 80 and h <= 80:
            place(n, w, h, 3, True)
    total_h = y + row_h + PAD
    title = (f'<text x="{PAD}" y="32" font-family="DejaVu Sans" font-size="20" font-weight="bold" '
             f'fill="#33343a">R7 Assistant — :/images/ ({len(items)} files), each on the window background '
             f'and on a light page background</text>')
    doc = (f'<svg xmlns="http://www.w3.org/2000/svg" width="{SHEET_W}" height="{total_h}">'
           f'<rect width="100%" height="100%" fill="#e4e6ea"/>{title}{"".join(parts)}</svg>')
    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, "sheet.svg")
        with open(src, "w", encoding="utf-8") as f:
            f.write(doc)
        os.makedirs(os.path.dirname(out), exist_ok=True)
        subprocess.run(["rsvg-convert", "-f", "png", "-o", out, src], check=True)
    print(out)


if __name__ == "__main__":
    main()
