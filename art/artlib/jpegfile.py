"""A baseline JPEG encoder (8-bit, three components, no subsampling).

The Huffman tables are flat canonical codes over every symbol a baseline
scan can hold (DC sizes 0..11 in 4 bits, the 162 AC run/size symbols in 8
bits): any decoder reads them, and no table has to be copied from anywhere.
"""
import math
import struct

ZIGZAG = [
    0, 1, 8, 16, 9, 2, 3, 10, 17, 24, 32, 25, 18, 11, 4, 5,
    12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6, 7, 14, 21, 28,
    35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
    58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63,
]

# Quantiser steps, finer for the low frequencies (row-major).
def _quant_table(step_low, step_high):
    table = []
    for v in range(8):
        for u in range(8):
            t = (u + v) / 14.0
            table.append(max(1, int(round(step_low + (step_high - step_low) * t))))
    return table


DC_SYMBOLS = list(range(12))
AC_SYMBOLS = [0x00, 0xF0] + [(run << 4) | size for run in range(16) for size in range(1, 11)]


def _canonical(symbols, length):
    return {s: (i, length) for i, s in enumerate(symbols)}


DC_CODES = _canonical(DC_SYMBOLS, 4)
AC_CODES = _canonical(AC_SYMBOLS, 8)

_C = [[(math.sqrt(0.125) if u == 0 else 0.5) * math.cos((2 * x + 1) * u * math.pi / 16)
       for x in range(8)] for u in range(8)]


def _dct(block):
    """2-D DCT-II of 64 samples (row-major), separable."""
    rows = []
    for y in range(8):
        r = block[y * 8:y * 8 + 8]
        rows.append([sum(cu[x] * r[x] for x in range(8)) for cu in _C])
    out = [0.0] * 64
    for u in range(8):
        col = [rows[y][u] for y in range(8)]
        for v in range(8):
            cv = _C[v]
            out[v * 8 + u] = sum(cv[y] * col[y] for y in range(8))
    return out


class _Bits:
    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.n = 0

    def put(self, code, length):
        self.acc = (self.acc << length) | code
        self.n += length
        while self.n >= 8:
            self.n -= 8
            byte = (self.acc >> self.n) & 0xFF
            self.out.append(byte)
            if byte == 0xFF:
                self.out.append(0)
        self.acc &= (1 << self.n) - 1 if self.n else 0

    def flush(self):
        if self.n:
            self.put((1 << (8 - self.n)) - 1, 8 - self.n)


def _category(v):
    v = abs(v)
    n = 0
    while v:
        n += 1
        v >>= 1
    return n


def _value_bits(v, size):
    return v if v >= 0 else v + (1 << size) - 1


def _segment(marker, payload):
    return struct.pack('>BBH', 0xFF, marker, len(payload) + 2) + payload


def _dht(table_class, table_id, symbols, length):
    counts = [0] * 16
    counts[length - 1] = len(symbols)
    return _segment(0xC4, bytes([table_class << 4 | table_id]) + bytes(counts) + bytes(symbols))


def jpeg_bytes(canvas, step_low=2, step_high=12):
    w, h = canvas.width, canvas.height
    quant = _quant_table(step_low, step_high)
    planes = ([], [], [])
    px = canvas.px
    for i in range(w * h):
        r, g, b = px[i * 3], px[i * 3 + 1], px[i * 3 + 2]
        planes[0].append(0.299 * r + 0.587 * g + 0.114 * b - 128)
        planes[1].append(-0.168736 * r - 0.331264 * g + 0.5 * b)
        planes[2].append(0.5 * r - 0.418688 * g - 0.081312 * b)

    bits = _Bits()
    previous = [0, 0, 0]
    for by in range(0, h, 8):
        for bx in range(0, w, 8):
            for c in range(3):
                plane = planes[c]
                block = []
                for y in range(8):
                    sy = min(h - 1, by + y) * w
                    for x in range(8):
                        block.append(plane[sy + min(w - 1, bx + x)])
                coef = _dct(block)
                q = [int(round(coef[ZIGZAG[k]] / quant[ZIGZAG[k]])) for k in range(64)]
                diff = q[0] - previous[c]
                previous[c] = q[0]
                size = _category(diff)
                bits.put(*DC_CODES[size])
                if size:
                    bits.put(_value_bits(diff, size), size)
                run = 0
                for k in range(1, 64):
                    v = q[k]
                    if v == 0:
                        run += 1
                        continue
                    while run > 15:
                        bits.put(*AC_CODES[0xF0])
                        run -= 16
                    size = _category(v)
                    bits.put(*AC_CODES[(run << 4) | size])
                    bits.put(_value_bits(v, size), size)
                    run = 0
                if run:
                    bits.put(*AC_CODES[0x00])
    bits.flush()

    out = bytearray(b'\xFF\xD8')
    out += _segment(0xE0, b'JFIF\0' + struct.pack('>BBBHHBB', 1, 1, 0, 1, 1, 0, 0))
    out += _segment(0xDB, bytes([0]) + bytes(quant[ZIGZAG[k]] for k in range(64)))
    out += _segment(0xC0, struct.pack('>BHHB', 8, h, w, 3) +
                    b''.join(bytes([cid, 0x11, 0]) for cid in (1, 2, 3)))
    out += _dht(0, 0, DC_SYMBOLS, 4)
    out += _dht(1, 0, AC_SYMBOLS, 8)
    out += _segment(0xDA, bytes([3]) + b''.join(bytes([cid, 0x00]) for cid in (1, 2, 3)) + bytes([0, 63, 0]))
    out += bits.out
    out += b'\xFF\xD9'
    return bytes(out)
