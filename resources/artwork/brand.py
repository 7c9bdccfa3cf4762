"""The product mark: a camera lens (accent ring around dark glass with a glint)
and the ORVELLE wordmark. Used by the start-up and version logo, the title of
the information panel and the application icon."""

import palette as P
from painter import Canvas, font, text_width, vertical_gradient

WORDMARK = "ORVELLE"
TAGLINE = "DRIVE RECORDER VIEWER"


def draw_lens(canvas, centre, radius, rec_dot=True, ring_inner=0.70):
    """ring_inner: inner radius of the accent ring as a share of radius (smaller
    gives the tiny icon sizes a ring that still reads)."""
    cx, cy = centre
    rim = canvas.mask().circle(centre, radius)
    canvas.fill(rim, P.EDGE_DARK)
    ring = canvas.mask().ring(centre, radius - max(1.0, radius * 0.06), radius * ring_inner)
    size = round(2 * radius)
    canvas.fill(
        ring,
        vertical_gradient((canvas.size[0], size), [(0, P.ACCENT_LIGHT), (1, P.ACCENT_DARK)]),
        (0, round(cy - radius)),
    )
    glass = canvas.mask().circle(centre, radius * min(0.58, ring_inner - 0.1))
    canvas.fill(
        glass, vertical_gradient((canvas.size[0], size), [(0, (40, 58, 84)), (1, (6, 10, 18))]), (0, round(cy - radius))
    )
    pupil = canvas.mask().circle(centre, radius * 0.26)
    canvas.fill(pupil, (14, 46, 74))
    glint = canvas.mask().circle((cx - radius * 0.22, cy - radius * 0.24), max(0.8, radius * 0.13))
    canvas.fill(glint, (214, 240, 252))
    if rec_dot:
        dot = canvas.mask().circle((cx + radius * 0.72, cy - radius * 0.72), max(1.2, radius * 0.17))
        canvas.fill(dot, P.SHOCK)


def draw_wordmark(canvas, left, middle_y, size, colour=P.INK_LIGHT, spacing=1):
    typeface = font("sans-bold", size)
    canvas.text((left, middle_y), WORDMARK, colour, typeface, anchor="lm", spacing=spacing)
    return text_width(WORDMARK, typeface, spacing)


def logo_picture():
    """The 280 x 73 product logo of the start-up screen and the version dialog.

    It is opaque and square-cornered: it stands on white in the empty picture area
    and on the dialog's face colour in the version dialog.
    """
    canvas = Canvas((280, 73))
    canvas.rows(0, 73, vertical_gradient((280, 73), [(0, (36, 46, 61)), (1, (16, 21, 29))]))
    canvas.rows(0, 1, (64, 78, 98))
    canvas.rows(72, 73, P.EDGE_DARK)
    canvas.columns(0, 1, (52, 64, 82))
    canvas.columns(279, 280, P.EDGE_DARK)
    draw_lens(canvas, (42, 36.5), 25)
    width = draw_wordmark(canvas, 80, 30, 30, spacing=2)
    accent_rule = canvas.mask().rectangle((81, 48, 81 + round(width) - 2, 50))
    canvas.fill(accent_rule, P.ACCENT)
    tagline = font("sans", 9)
    canvas.text((81, 55), TAGLINE, P.INK_MUTED, tagline, anchor="la", spacing=1.55)
    return canvas.image
