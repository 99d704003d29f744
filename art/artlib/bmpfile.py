"""Windows bitmap files: 24 bits per pixel, bottom-up, rows padded to 4 bytes
(what LoadImage reads from a file)."""
import struct


def bmp_bytes(canvas):
    w, h = canvas.width, canvas.height
    stride = (w * 3 + 3) & ~3
    pad = b'\0' * (stride - w * 3)
    rows = []
    for y in range(h - 1, -1, -1):
        row = bytearray()
        base = y * w * 3
        for x in range(w):
            r, g, b = canvas.px[base + x * 3:base + x * 3 + 3]
            row += bytes((b, g, r))
        rows.append(bytes(row) + pad)
    pixels = b''.join(rows)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels
