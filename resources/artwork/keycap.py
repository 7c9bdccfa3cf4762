"""Button faces: normal, pressed and disabled, each on the exact background the
button stands on (the program draws pictures opaque, so the panel's pixels
around a rounded cap are part of the picture).

Normal: raised graphite cap, light top edge, light symbol.
Pressed: darker cap with a shadow along its top, symbol one pixel lower in the
accent colour. Disabled: flat dim cap, dim symbol.
"""

import palette as P
from painter import Canvas, vertical_gradient

NORMAL, PRESSED, DISABLED = "normal", "pressed", "disabled"
STATES = (NORMAL, PRESSED, DISABLED)


def _cap_shape(mask, box, round_cap, radius):
    if round_cap:
        mask.ellipse(box)
    else:
        mask.rounded(box, radius)


def _inset(box, by, drop=0):
    left, top, right, bottom = box
    return (left + by, top + by + drop, right - by, bottom - by)


def _cap_layers(state, accent):
    """Fill stops, outline and top-edge colour of a cap in one state."""
    if accent:  # the play button
        stops = {NORMAL: P.PLAY_STOPS, PRESSED: P.PLAY_PRESSED_STOPS, DISABLED: P.PLAY_DISABLED_STOPS}[state]
        outline = P.PLAY_OUTLINE if state != DISABLED else P.CAP_DISABLED_OUTLINE
        edge = {NORMAL: (160, 228, 252), PRESSED: (6, 56, 84), DISABLED: None}[state]
        return stops, outline, edge
    stops = {NORMAL: P.CAP_STOPS, PRESSED: P.CAP_PRESSED_STOPS, DISABLED: P.CAP_DISABLED_STOPS}[state]
    outline = P.CAP_DISABLED_OUTLINE if state == DISABLED else P.CAP_OUTLINE
    edge = {NORMAL: P.CAP_HIGHLIGHT, PRESSED: P.CAP_PRESSED_SHADOW, DISABLED: None}[state]
    return stops, outline, edge


def symbol_colour(state, accent=False):
    if state == DISABLED:
        return (104, 116, 134) if accent else P.INK_DISABLED
    if state == PRESSED:
        return (200, 236, 252) if accent else P.ICON_PRESSED
    return (255, 255, 255) if accent else P.INK_LIGHT


def draw_cap(canvas, box, state, round_cap=False, radius=5, accent=False):
    """The cap alone: outline, top edge (highlight or pressed shadow) and body."""
    stops, outline, edge = _cap_layers(state, accent)
    mask = canvas.mask()
    _cap_shape(mask, box, round_cap, radius)
    canvas.fill(mask, outline)
    inner = _inset(box, 1)
    if edge is not None:
        mask = canvas.mask()
        _cap_shape(mask, inner, round_cap, radius - 1)
        canvas.fill(mask, edge)
        body = _inset(box, 1, drop=2 if state == PRESSED else 1)
    else:
        body = inner
    mask = canvas.mask()
    _cap_shape(mask, body, round_cap, radius - 1)
    height = box[3] - box[1]
    canvas.fill(mask, vertical_gradient((canvas.size[0], height), stops), (0, box[1]))


def draw_symbol(canvas, add_shapes, state, accent=False):
    """add_shapes(mask) adds the symbol; a soft dark shadow under it lifts it off a
    raised cap, and a pressed face shows it one pixel lower."""
    mask = canvas.mask()
    add_shapes(mask)
    if state == PRESSED:
        mask = mask.shifted(0, 1)
    elif state == NORMAL:
        canvas.fill(mask.shifted(0, 1), (0, 28, 44) if accent else (22, 27, 35))
    canvas.fill(mask, symbol_colour(state, accent))


def faces(background, add_shapes, round_cap=False, radius=5, accent=False, cap_box=None, extra=None):
    """The three faces of a button over its background picture.

    extra(canvas, state) may draw more (a label) after the symbol.
    """
    width, height = background.size
    box = cap_box or (1, 1, width - 1, height - 1)
    result = {}
    for state in STATES:
        canvas = Canvas(background.size)
        canvas.paste(background, (0, 0))
        draw_cap(canvas, box, state, round_cap, radius, accent)
        draw_symbol(canvas, add_shapes, state, accent)
        if extra:
            extra(canvas, state)
        result[state] = canvas.image
    return result
