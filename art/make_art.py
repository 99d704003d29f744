#!/usr/bin/env python3
"""Generates the pictures of the installation below a folder laid out like
the install home:

    make_art.py FOLDER [--preview PNG]

writes FOLDER/face/... (bitmaps, cursors, JPEG pictures) and, with
--preview, one PNG sheet showing every face enlarged. New families (the
video window's face, ...) add a module under faces/ and a line in FAMILIES.
"""
import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from artlib.bmpfile import bmp_bytes  # noqa: E402
from artlib.curfile import cur_bytes  # noqa: E402
from artlib.jpegfile import jpeg_bytes  # noqa: E402
from artlib.pngfile import png_bytes  # noqa: E402
from artlib.raster import Canvas  # noqa: E402
from faces.cursors import cursors  # noqa: E402
from faces.lyricwindows import lyric_window_faces  # noqa: E402
from faces.pictures import pictures  # noqa: E402

FAMILIES = (lyric_window_faces, pictures)


def encode(path, canvas):
    if path.endswith('.bmp'):
        return bmp_bytes(canvas)
    if path.endswith('.jpg'):
        return jpeg_bytes(canvas)
    raise ValueError('no encoder for ' + path)


def write(root, relative, data):
    target = os.path.join(root, *relative.split('/'))
    os.makedirs(os.path.dirname(target), exist_ok=True)
    tmp = target + '.tmp'
    with open(tmp, 'wb') as f:
        f.write(data)
    os.replace(tmp, target)


def preview(items, path):
    """Every picture on a dark sheet: small ones enlarged 4 times."""
    placed = []
    x, y, row_h, sheet_w = 8, 8, 0, 1400
    for name, canvas in items:
        k = 4 if canvas.width * canvas.height < 4000 else 1
        w, h = canvas.width * k, canvas.height * k
        if x + w + 8 > sheet_w:
            x, y, row_h = 8, y + row_h + 8, 0
        placed.append((x, y, k, canvas))
        x += w + 8
        row_h = max(row_h, h)
    sheet = Canvas(sheet_w, y + row_h + 8, (60, 60, 66))
    for px, py, k, canvas in placed:
        for sy in range(canvas.height):
            for sx in range(canvas.width):
                sheet.rect((px + sx * k, py + sy * k, px + (sx + 1) * k, py + (sy + 1) * k), canvas.get(sx, sy))
    with open(path, 'wb') as f:
        f.write(png_bytes(sheet))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('image_dir')
    parser.add_argument('--preview')
    args = parser.parse_args()
    items = [item for family in FAMILIES for item in family()]
    for relative, canvas in items:
        write(args.image_dir, relative, encode(relative, canvas))
    for relative, pixels, hotspot in cursors():
        write(args.image_dir, relative, cur_bytes(32, 32, pixels, hotspot))
    if args.preview:
        preview(items, args.preview)
    print('make_art: %d files in %s' % (len(items) + len(cursors()), args.image_dir))


if __name__ == '__main__':
    main()
