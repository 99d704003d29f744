"""PNG files, for previews of the generated faces."""
import struct
import zlib


def png_bytes(canvas):
    raw = bytearray()
    w = canvas.width
    for y in range(canvas.height):
        raw.append(0)
        raw += canvas.px[y * w * 3:(y + 1) * w * 3]

    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xFFFFFFFF)

    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, canvas.height, 8, 2, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b''))
