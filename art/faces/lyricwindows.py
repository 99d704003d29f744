"""The lyric windows' faces: the main window's frame pieces and close box,
and the mini bar with its buttons, for the classic and the modern skin.

Frame pieces are stretched over their rectangles, so every piece that is
stretched is uniform along the stretched direction. Sizes here are the
sizes the windows take from the bitmaps.
"""
from artlib import theme
from artlib.pixfont import draw_text, text_width
from artlib.raster import Canvas, mix
from faces import buttons

CLASSIC_FOLDER = 'face/winamp/classic/'
MODERN_FOLDER = 'face/winamp/modern/'
MINI_SUBFOLDER = 'mini/'

MINI_BUTTONS = {
    # name: states drawn
    'play': buttons.STATES[:3],
    'playstart': buttons.STATES[:3],
    'pause': buttons.STATES[:3],
    'stop': buttons.STATES,
    'last': buttons.STATES,
    'next': buttons.STATES,
    'mv': buttons.STATES[:2],
    'mini': buttons.STATES[:3],
    'close': buttons.STATES[:3],
    'switch': buttons.STATES[:3],
}


# ---- classic ------------------------------------------------------------------

CLASSIC_TITLE = 13


def _classic_title(c, x0, x1, stripes=None):
    """Title rows from x0 to x1; stripes (from, to) are the gold grooves."""
    c.rect((x0, 0, x1, 1), theme.BODY_HI)
    c.vgradient((x0, 1, x1, CLASSIC_TITLE - 1), theme.BODY_TOP, theme.BODY_BOTTOM)
    c.rect((x0, CLASSIC_TITLE - 1, x1, CLASSIC_TITLE), theme.BODY_LO)
    if stripes:
        s0, s1 = stripes
        for row in (4, 7):
            c.hline(s0, s1, row, theme.GROOVE_DARK)
            c.hline(s0, s1, row + 1, theme.GROOVE_LIGHT)


def _note(c, x, y, color):
    """The little quaver that marks the window as the lyric window."""
    c.disc(x + 2.5, y + 6.5, 2.3, color)
    c.polygon([(x + 3.8, y), (x + 4.9, y), (x + 4.9, y + 6.5), (x + 3.8, y + 6.5)], color)
    c.polygon([(x + 4.9, y), (x + 8, y + 2), (x + 8, y + 3.4), (x + 4.9, y + 1.5)], color)


def classic_frame():
    pieces = {}
    c = Canvas(63, CLASSIC_TITLE)
    _classic_title(c, 0, 63, (15, 63))
    c.vline(0, 0, CLASSIC_TITLE, theme.BODY_HI)
    _note(c, 4, 2, theme.CLASSIC_ACCENT)
    pieces['left-top.bmp'] = c

    c = Canvas(63, CLASSIC_TITLE)
    _classic_title(c, 0, 63, (0, 48))
    c.vline(62, 0, CLASSIC_TITLE, theme.BODY_LO)
    pieces['right-top.bmp'] = c

    c = Canvas(105, CLASSIC_TITLE)
    label = 'ZOLYRIC LYRICS'
    w = text_width(label)
    tx = (105 - w) // 2
    _classic_title(c, 0, 105)
    for s0, s1 in ((0, tx - 4), (tx + w + 4, 105)):
        for row in (4, 7):
            c.hline(s0, s1, row, theme.GROOVE_DARK)
            c.hline(s0, s1, row + 1, theme.GROOVE_LIGHT)
    draw_text(c, tx, 3, label, theme.GOLD, shadow=theme.INK)
    pieces['logo-lyrics.bmp'] = c

    c = Canvas(8, CLASSIC_TITLE)
    _classic_title(c, 0, 8, (0, 8))
    pieces['top-middle.bmp'] = c

    left_cols = (theme.BODY_HI, theme.BODY, theme.BODY, theme.BODY_LO, theme.INK)
    right_cols = (theme.INK, theme.BODY_HI, theme.BODY, theme.BODY_LO)
    bottom_rows = (theme.INK, theme.BODY_HI, theme.BODY, theme.BODY_LO)

    c = Canvas(5, 8)
    for x, col in enumerate(left_cols):
        c.vline(x, 0, 8, col)
    pieces['left-middle.bmp'] = c

    c = Canvas(4, 8)
    for x, col in enumerate(right_cols):
        c.vline(x, 0, 8, col)
    pieces['right-middle.bmp'] = c

    c = Canvas(8, 4)
    for y, col in enumerate(bottom_rows):
        c.hline(0, 8, y, col)
    pieces['down-middle.bmp'] = c

    c = Canvas(5, 13)
    for x, col in enumerate(left_cols):
        c.vline(x, 0, 9, col)
    for y, col in enumerate(bottom_rows):
        c.hline(1, 5, 9 + y, col)
    c.vline(0, 9, 12, theme.BODY_HI)
    c.set(0, 12, theme.BODY_LO)
    c.set(4, 9, theme.INK)
    pieces['left-down.bmp'] = c

    # The corner the window is resized by: three grip dots.
    c = Canvas(4, 9)
    for x, col in enumerate(right_cols):
        c.vline(x, 0, 5, col)
    for y, col in enumerate(bottom_rows):
        c.hline(0, 3, 5 + y, col)
    c.vline(3, 5, 9, theme.BODY_LO)
    for x, y in ((2, 2), (1, 4), (2, 4)):
        c.set(x, y, theme.CLASSIC_ACCENT)
    pieces['right-down.bmp'] = c

    pieces['bk_color.bmp'] = Canvas(8, 8, (0, 0, 0))
    for state in buttons.STATES[:3]:
        pieces['close-%s.bmp' % state] = _close_box(9, 9, state, 2.2, 1.4)
    return pieces


def _close_box(w, h, state, size, width):
    def cross(c, box, col):
        buttons.symbol_close(c, box, col, size, width)
    return buttons.button(w, h, cross, state, theme.CLOSE_HOT, hot=theme.CLOSE_HOT)


# ---- modern -------------------------------------------------------------------

MODERN_TITLE = 18


def _modern_title(c, x0, x1):
    c.rect((x0, 0, x1, 1), theme.MODERN_EDGE)
    c.vgradient((x0, 1, x1, 16), theme.MODERN_TOP, theme.MODERN_BOTTOM)
    c.rect((x0, 16, x1, 17), mix(theme.MODERN_ACCENT, theme.MODERN_BOTTOM, 0.55))
    c.rect((x0, 17, x1, 18), theme.INK)


def modern_frame():
    pieces = {}
    c = Canvas(14, MODERN_TITLE)
    _modern_title(c, 0, 14)
    c.vline(0, 0, MODERN_TITLE, theme.MODERN_EDGE)
    for x, y in ((0, 0), (1, 0), (0, 1)):
        c.set(x, y, theme.INK)
    c.disc(7.5, 8.5, 3.2, theme.MODERN_ACCENT)
    c.disc(7.5, 8.5, 1.4, theme.MODERN_BOTTOM)
    pieces['left-top.bmp'] = c

    c = Canvas(33, MODERN_TITLE)
    _modern_title(c, 0, 33)
    c.vline(32, 0, MODERN_TITLE, theme.BODY_LO)
    for x, y in ((32, 0), (31, 0), (32, 1)):
        c.set(x, y, theme.INK)
    pieces['right-top.bmp'] = c

    c = Canvas(104, MODERN_TITLE)
    _modern_title(c, 0, 104)
    first, second = 'ZOLYRIC', ' LYRICS'
    w = text_width(first + second)
    tx = (104 - w) // 2
    draw_text(c, tx, 5, first, theme.MODERN_ACCENT, shadow=theme.INK)
    draw_text(c, tx + text_width(first) + 1, 5, second, theme.GLYPH, shadow=theme.INK)
    pieces['logo-lyrics.bmp'] = c

    c = Canvas(8, MODERN_TITLE)
    _modern_title(c, 0, 8)
    pieces['top-middle.bmp'] = c

    left_cols = (theme.MODERN_EDGE, theme.MODERN_BOTTOM, theme.INK)
    right_cols = (theme.INK, theme.MODERN_BOTTOM, theme.BODY_LO)
    bottom_rows = (theme.INK, theme.MODERN_BOTTOM, theme.BODY_LO)

    c = Canvas(3, 8)
    for x, col in enumerate(left_cols):
        c.vline(x, 0, 8, col)
    pieces['left-middle.bmp'] = c

    c = Canvas(3, 8)
    for x, col in enumerate(right_cols):
        c.vline(x, 0, 8, col)
    pieces['right-middle.bmp'] = c

    c = Canvas(8, 3)
    for y, col in enumerate(bottom_rows):
        c.hline(0, 8, y, col)
    pieces['down-middle.bmp'] = c

    c = Canvas(3, 8)
    for x, col in enumerate(left_cols):
        c.vline(x, 0, 5, col)
    for y, col in enumerate(bottom_rows):
        c.hline(0, 3, 5 + y, col)
    c.vline(0, 5, 7, theme.MODERN_EDGE)
    pieces['left-down.bmp'] = c

    c = Canvas(3, 8)
    for x, col in enumerate(right_cols):
        c.vline(x, 0, 5, col)
    for y, col in enumerate(bottom_rows):
        c.hline(0, 3, 5 + y, col)
    c.vline(2, 0, 8, theme.BODY_LO)
    c.set(1, 3, theme.MODERN_ACCENT)
    pieces['right-down.bmp'] = c

    pieces['bk_color.bmp'] = Canvas(8, 8, (0, 0, 0))
    for state in buttons.STATES[:3]:
        pieces['close-%s.bmp' % state] = _close_box(13, 10, state, 2.6, 1.5)
    return pieces


# ---- the mini bar ---------------------------------------------------------------

MINI_HEIGHT = 22
MINI_BUTTON = (18, 16)


def mini_bar(modern):
    accent = theme.MODERN_ACCENT if modern else theme.CLASSIC_ACCENT
    top = theme.MODERN_TOP if modern else theme.BODY_TOP
    bottom = theme.MODERN_BOTTOM if modern else theme.BODY_BOTTOM
    light = theme.MODERN_EDGE if modern else theme.BODY_HI
    pieces = {}

    def body(c):
        c.rect((0, 0, c.width, 1), light)
        c.vgradient((0, 1, c.width, MINI_HEIGHT - 1), top, bottom)
        c.rect((0, MINI_HEIGHT - 1, c.width, MINI_HEIGHT), theme.BODY_LO)
        if modern:
            c.hline(0, c.width, MINI_HEIGHT - 2, mix(accent, bottom, 0.55))

    c = Canvas(10, MINI_HEIGHT)
    body(c)
    c.vline(0, 0, MINI_HEIGHT, light)
    # The grip the bar is moved by.
    for y in range(5, MINI_HEIGHT - 5, 3):
        for x in (3, 6):
            c.set(x, y, theme.BODY_LO)
            c.set(x + 1, y + 1, light)
    if modern:
        for x, y in ((0, 0), (1, 0), (0, 1), (0, MINI_HEIGHT - 1), (1, MINI_HEIGHT - 1), (0, MINI_HEIGHT - 2)):
            c.set(x, y, theme.INK)
    pieces['Left.bmp'] = c

    c = Canvas(8, MINI_HEIGHT)
    body(c)
    pieces['Mid.bmp'] = c

    c = Canvas(6, MINI_HEIGHT)
    body(c)
    c.vline(5, 0, MINI_HEIGHT, theme.BODY_LO)
    # The corner the bar is resized by.
    for x, y in ((3, MINI_HEIGHT - 4), (2, MINI_HEIGHT - 3), (3, MINI_HEIGHT - 3)):
        c.set(x, y, accent)
    if modern:
        for x, y in ((5, 0), (4, 0), (5, 1), (5, MINI_HEIGHT - 1), (4, MINI_HEIGHT - 1), (5, MINI_HEIGHT - 2)):
            c.set(x, y, theme.INK)
    pieces['Right.bmp'] = c

    w, h = MINI_BUTTON
    for name, states in MINI_BUTTONS.items():
        for state in states:
            hot = theme.CLOSE_HOT if name == 'close' else None
            pieces['%s-%s.bmp' % (name, state)] = buttons.button(w, h, name, state, accent, rounded=modern, hot=hot)
    return pieces


def lyric_window_faces():
    """(path below the install home, canvas) for every picture of the lyric windows."""
    out = []
    for folder, frame, modern in ((CLASSIC_FOLDER, classic_frame, False), (MODERN_FOLDER, modern_frame, True)):
        for name, canvas in frame().items():
            out.append((folder + name, canvas))
        for name, canvas in mini_bar(modern).items():
            out.append((folder + MINI_SUBFOLDER + name, canvas))
    return out
