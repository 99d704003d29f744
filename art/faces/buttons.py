"""Button symbols and the four looks of a button (normal, hover, pressed,
disabled), shared by the lyric windows' mini bar and close boxes."""
from artlib import theme
from artlib.pixfont import draw_text_centered
from artlib.raster import Canvas, mix

STATES = ('normal', 'hover', 'pressed', 'disable')


def _tri(c, x0, y0, x1, y1, col, right=True):
    ym = (y0 + y1) / 2
    pts = [(x0, y0), (x1, ym), (x0, y1)] if right else [(x1, y0), (x0, ym), (x1, y1)]
    c.polygon(pts, col)


def symbol_play(c, box, col):
    x0, y0, x1, y1 = box
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    _tri(c, cx - 3, cy - 4.5, cx + 4, cy + 4.5, col)


def symbol_play_resume(c, box, col):
    """Play after a pause: a bar before the triangle."""
    x0, y0, x1, y1 = box
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    c.polygon([(cx - 5, cy - 4.5), (cx - 3.5, cy - 4.5), (cx - 3.5, cy + 4.5), (cx - 5, cy + 4.5)], col)
    _tri(c, cx - 2, cy - 4.5, cx + 5, cy + 4.5, col)


def symbol_pause(c, box, col):
    x0, y0, x1, y1 = box
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    for left in (cx - 4, cx + 1):
        c.polygon([(left, cy - 4.5), (left + 3, cy - 4.5), (left + 3, cy + 4.5), (left, cy + 4.5)], col)


def symbol_stop(c, box, col):
    x0, y0, x1, y1 = box
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    c.polygon([(cx - 4, cy - 4), (cx + 4, cy - 4), (cx + 4, cy + 4), (cx - 4, cy + 4)], col)


def symbol_previous(c, box, col):
    x0, y0, x1, y1 = box
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    c.polygon([(cx - 5, cy - 4.5), (cx - 3.5, cy - 4.5), (cx - 3.5, cy + 4.5), (cx - 5, cy + 4.5)], col)
    _tri(c, cx - 3.5, cy - 4.5, cx + 1, cy + 4.5, col, right=False)
    _tri(c, cx + 0.5, cy - 4.5, cx + 5, cy + 4.5, col, right=False)


def symbol_next(c, box, col):
    x0, y0, x1, y1 = box
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    _tri(c, cx - 5, cy - 4.5, cx - 0.5, cy + 4.5, col)
    _tri(c, cx - 1, cy - 4.5, cx + 3.5, cy + 4.5, col)
    c.polygon([(cx + 3.5, cy - 4.5), (cx + 5, cy - 4.5), (cx + 5, cy + 4.5), (cx + 3.5, cy + 4.5)], col)


def symbol_video(c, box, col):
    draw_text_centered(c, box, 'MV', col)


def symbol_minimise(c, box, col):
    x0, y0, x1, y1 = box
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    c.polygon([(cx - 4, cy + 2), (cx + 4, cy + 2), (cx + 4, cy + 4), (cx - 4, cy + 4)], col)


def symbol_close(c, box, col, size=4.0, width=1.6):
    x0, y0, x1, y1 = box
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    c.line(cx - size, cy - size, cx + size, cy + size, width, col)
    c.line(cx - size, cy + size, cx + size, cy - size, width, col)


def symbol_switch(c, box, col):
    """Back to the full window: a frame with an arrow out of its corner."""
    x0, y0, x1, y1 = box
    cx, cy = (x0 + x1) // 2, (y0 + y1) // 2
    c.frame((cx - 5, cy - 3, cx + 3, cy + 5), col)
    c.line(cx - 1, cy + 1, cx + 4.5, cy - 4.5, 1.5, col)
    c.polygon([(cx + 1, cy - 5), (cx + 5.5, cy - 5.5), (cx + 5, cy - 1)], col)


SYMBOLS = {
    'play': symbol_play_resume,
    'playstart': symbol_play,
    'pause': symbol_pause,
    'stop': symbol_stop,
    'last': symbol_previous,
    'next': symbol_next,
    'mv': symbol_video,
    'mini': symbol_minimise,
    'close': symbol_close,
    'switch': symbol_switch,
}


def button(width, height, symbol, state, accent, rounded=False, hot=None):
    """One button picture. `symbol` is a name of SYMBOLS or a drawing
    function; `hot` replaces the accent of the hover and pressed symbol (the
    close box turns red)."""
    hot = hot or accent
    c = Canvas(width, height, theme.BODY)
    inner = (0, 0, width, height)
    if state == 'normal':
        c.vgradient(inner, theme.FACE, mix(theme.FACE, theme.BODY_BOTTOM, 0.6))
        c.bevel(inner, theme.BODY_HI, theme.BODY_LO)
        glyph = theme.GLYPH
        shift = 0
    elif state == 'hover':
        c.vgradient(inner, mix(theme.FACE_HOVER, (255, 255, 255), 0.08), theme.FACE_HOVER)
        c.bevel(inner, mix(theme.BODY_HI, (255, 255, 255), 0.35), theme.BODY_LO)
        glyph = hot
        shift = 0
    elif state == 'pressed':
        c.rect(inner, theme.FACE_PRESSED)
        c.bevel(inner, theme.INK, mix(theme.BODY_HI, theme.BODY, 0.4))
        glyph = mix(hot, (255, 255, 255), 0.25)
        shift = 1
    else:
        c.rect(inner, theme.BODY_BOTTOM)
        c.frame(inner, mix(theme.BODY_BOTTOM, theme.BODY_LO, 0.5))
        glyph = theme.GLYPH_DIM
        shift = 0
    if rounded:
        for x, y in ((0, 0), (width - 1, 0), (0, height - 1), (width - 1, height - 1)):
            c.set(x, y, theme.BODY_LO)
    box = (shift, shift, width + shift, height + shift)
    draw = symbol if callable(symbol) else SYMBOLS[symbol]
    draw(c, box, glyph)
    return c
