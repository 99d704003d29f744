"""The suite's one dark theme: every generated face draws from these colours,
so the lyric windows, the mini bar and (later) the video window match."""

INK = (8, 9, 13)            # outlines and the innermost border
BODY = (36, 40, 55)         # frame body
BODY_TOP = (48, 53, 72)     # top of a body gradient
BODY_BOTTOM = (27, 30, 42)  # bottom of a body gradient
BODY_HI = (74, 81, 108)     # bevel light
BODY_LO = (15, 17, 25)      # bevel dark
GROOVE_DARK = (18, 19, 26)
GROOVE_LIGHT = (112, 96, 56)  # the classic title stripes
GOLD = (232, 208, 130)      # classic lettering
GLYPH = (176, 184, 204)     # button symbols at rest
GLYPH_DIM = (72, 78, 96)    # disabled symbols
FACE = (44, 49, 67)         # button face at rest
FACE_HOVER = (62, 70, 96)
FACE_PRESSED = (20, 22, 31)
CLOSE_HOT = (240, 100, 84)

CLASSIC_ACCENT = (124, 236, 152)  # the classic player's green
MODERN_ACCENT = (70, 200, 226)    # teal of the modern face
MODERN_TOP = (56, 66, 90)
MODERN_BOTTOM = (20, 24, 34)
MODERN_EDGE = (60, 68, 94)
