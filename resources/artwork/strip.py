"""The one-shot thumbnail strip: its background pieces, its four move buttons,
the placeholder for a picture that did not decode and the selection frame."""

import keycap
import palette as P
import symbols
from painter import Canvas, vertical_gradient

HEIGHT = 90
SCENE_WIDTH = 600
PIECE_WIDTH, TILE_WIDTH = 74, 20
BUTTON = 30
BUTTON_TOP = 31
FIRST_LEFT, PREVIOUS_LEFT = 6, 39  # from the left edge
NEXT_FROM_RIGHT, LAST_FROM_RIGHT = 69, 36  # from the right edge
CELL = (71, 53)


def scene():
    canvas = Canvas((SCENE_WIDTH, HEIGHT))
    canvas.rows(0, HEIGHT, vertical_gradient((SCENE_WIDTH, HEIGHT), P.CONSOLE_STOPS))
    canvas.rows(0, 1, P.EDGE_DARK)
    canvas.rows(1, 2, (72, 86, 106))
    return canvas


def button_pictures(panel):
    spots = [
        ((442, 443, 444), FIRST_LEFT, "first"),
        ((436, 437, 438), PREVIOUS_LEFT, "previous"),
        ((433, 434, 435), SCENE_WIDTH - NEXT_FROM_RIGHT, "next"),
        ((439, 440, 441), SCENE_WIDTH - LAST_FROM_RIGHT, "last"),
    ]
    pics = {}
    for ids, left, target in spots:
        background = panel.crop((left, BUTTON_TOP, left + BUTTON, BUTTON_TOP + BUTTON))
        face = keycap.faces(background, lambda m, t=target: symbols.list_move(m, BUTTON, t))
        for picture_id, state in zip(ids, keycap.STATES):
            pics[picture_id] = face[state]
    return pics


def placeholder_picture():
    """Stands in for a one-shot picture that could not be decoded."""
    width, height = CELL
    canvas = Canvas(CELL, (70, 82, 100))
    canvas.image.paste(P.PLACEHOLDER, (1, 1, width - 1, height - 1))
    canvas.fill(symbols.broken_picture(canvas.mask(), 24, 15), (112, 124, 142))
    slash = canvas.mask().line([(21, 38), (50, 12)], 2)
    canvas.fill(slash, P.PLACEHOLDER)
    canvas.fill(canvas.mask().line([(22, 39), (49, 13)], 1.4), P.SHOCK)
    return canvas.image


def selection_picture():
    """A 2-pixel accent frame; the program copies the miniature into the inside."""
    width, height = CELL
    canvas = Canvas(CELL, P.ACCENT)
    canvas.image.paste(P.ACCENT_LIGHT, (1, 1, width - 1, height - 1))
    canvas.image.paste(P.PLACEHOLDER, (2, 2, width - 2, height - 2))
    return canvas.image


def pictures():
    panel = scene()
    pics = {
        426: panel.crop((0, 0, PIECE_WIDTH, HEIGHT)),
        427: panel.crop((200, 0, 200 + TILE_WIDTH, HEIGHT)),
        428: panel.crop((SCENE_WIDTH - PIECE_WIDTH, 0, SCENE_WIDTH, HEIGHT)),
        447: placeholder_picture(),
        448: selection_picture(),
    }
    pics.update(button_pictures(panel))
    return pics
