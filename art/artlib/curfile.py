"""Cursor files (.cur): one 32-bit image with its alpha channel and the
AND mask that older readers use."""
import struct


def cur_bytes(width, height, pixels, hotspot):
    """`pixels` is a list of rows of (r, g, b, a) tuples, top row first."""
    xor = bytearray()
    for y in range(height - 1, -1, -1):
        for r, g, b, a in pixels[y]:
            xor += bytes((b, g, r, a))
    mask_stride = ((width + 31) // 32) * 4
    mask = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(pixels[y]):
            if a == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    info = struct.pack('<IiiHHIIiiII', 40, width, height * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = info + bytes(xor) + bytes(mask)
    directory = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', width & 0xFF, height & 0xFF, 0, 0, hotspot[0], hotspot[1],
                        len(image), 6 + 16)
    return directory + entry + image
