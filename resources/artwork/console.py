"""The console panel under the picture: its background pieces, its buttons,
the playback position bar (track, fill, thumb, event markers) and the
characters of the event-offset read-out.

Everything is cut from one drawing of the whole panel, so the buttons, bar and
characters sit on exactly the pixels of the background around them.
"""

import keycap
import palette as P
import segments
import symbols
from painter import Canvas, font, vertical_gradient

HEIGHT = 65
SCENE_WIDTH = 900  # any width works: the middle of the panel is uniform

# Where the program puts things (panel client coordinates).
PLAY = (23, 11, 40)
STOP = (67, 18, 26)
PREVIOUS = (107, 17, 30)
NEXT = (140, 17, 30)
FRAME_BACK = (198, 22, 22)
FRAME_FORWARD = (220, 22, 22)
BAR_TOP, BAR_HEIGHT = 26, 30
OFFSET_FROM_RIGHT, OFFSET_TOP = 83, 26  # first character of the event offset

# Position bar geometry (bar coordinates).
KNOB = 13  # thumb width and height; its centre column is KNOB // 2
GROOVE_TOP, GROOVE_BOTTOM = 4, 9
TRACK_WIDTH = 40
MARKER_WIDTH, MARKER_HEIGHT, MARKER_TOP = 17, 16, 11

OFFSET_STYLE = segments.SegmentStyle(box=(1, 1, 9, 12), thickness=2, pointed=False, ink=P.DISPLAY_INK)
OFFSET_CELLS = {"0": 11, "1": 11, "2": 11, "3": 11, "4": 11, "5": 11, "6": 11, "7": 11, "8": 11, "9": 11}
OFFSET_CELLS.update({".": 5, "+": 12, "−": 12, "±": 12})


def surface(width):
    """The bare panel: dark edge, highlight, graphite gradient."""
    canvas = Canvas((width, HEIGHT))
    canvas.rows(0, HEIGHT, vertical_gradient((width, HEIGHT), P.CONSOLE_STOPS))
    canvas.rows(0, 1, P.EDGE_DARK)
    canvas.rows(1, 2, (72, 86, 106))
    canvas.rows(HEIGHT - 1, HEIGHT, P.EDGE_DARK)
    return canvas


def divider(canvas, x, top=14, bottom=52):
    canvas.columns(x, x + 1, P.EDGE_DARK, top, bottom)
    canvas.columns(x + 1, x + 2, (62, 74, 92), top, bottom)


def offset_display_box(width):
    left = width - OFFSET_FROM_RIGHT - 7
    return (left, 20, left + 64, 45)


def draw_offset_display(canvas, width):
    box = offset_display_box(width)
    rim = canvas.mask().rounded((box[0] - 1, box[1] - 1, box[2] + 1, box[3] + 1), 4)
    canvas.fill(rim, P.DISPLAY_RIM)
    glass = canvas.mask().rounded(box, 3)
    canvas.fill(glass, vertical_gradient((width, box[3] - box[1]), P.DISPLAY_STOPS), (0, box[1]))


def scene():
    canvas = surface(SCENE_WIDTH)
    divider(canvas, 100)
    divider(canvas, 183)
    draw_offset_display(canvas, SCENE_WIDTH)
    return canvas


def button_background(panel, spot):
    x, y, size = spot
    return panel.crop((x, y, x + size, y + size))


def button_pictures(panel):
    pics = {}

    def add(ids, spot, shapes, **style):
        face = keycap.faces(button_background(panel, spot), shapes, **style)
        for picture_id, state in zip(ids, keycap.STATES):
            pics[picture_id] = face[state]

    add((10015, 10016, 10017), PLAY, lambda m: symbols.play(m, 40), round_cap=True, accent=True)
    add((10034, 10035, 10033), PLAY, lambda m: symbols.pause(m, 40), round_cap=True, accent=True)
    add((10018, 10019, 10020), STOP, lambda m: symbols.stop(m, 26), round_cap=True)
    add((10009, 10010, 10011), PREVIOUS, lambda m: symbols.skip(m, 30, "previous"))
    add((10012, 10013, 10014), NEXT, lambda m: symbols.skip(m, 30, "next"))
    add((10003, 10004, 10005), FRAME_BACK, lambda m: symbols.step(m, 22, "back"), radius=4)
    add((10006, 10007, 10008), FRAME_FORWARD, lambda m: symbols.step(m, 22, "forward"), radius=4)
    return pics


def bar_background(panel, width):
    """Panel rows under the position bar, from the uniform middle of the panel."""
    strip = panel.crop((300, BAR_TOP, 301, BAR_TOP + BAR_HEIGHT))
    canvas = Canvas((width, BAR_HEIGHT))
    canvas.paste(strip.resize((width, BAR_HEIGHT)), (0, 0))
    return canvas


def draw_groove(canvas, left, right, filled):
    """The bar's groove between left and right: recessed dark, or lit in the accent colour."""
    box = (left, GROOVE_TOP, right, GROOVE_BOTTOM)
    if filled:
        groove = canvas.mask().rounded(box, 2.5)
        canvas.fill(groove, P.ACCENT_DARK)
        inner = canvas.mask().rounded((left, GROOVE_TOP, right, GROOVE_BOTTOM - 1), 2.5)
        canvas.fill(
            inner, vertical_gradient((canvas.size[0], 4), [(0, P.ACCENT_LIGHT), (1, P.ACCENT)]), (0, GROOVE_TOP)
        )
    else:
        lip = canvas.mask().rounded((left, GROOVE_TOP + 1, right, GROOVE_BOTTOM + 1), 2.5)
        canvas.fill(lip, (66, 79, 98))
        groove = canvas.mask().rounded(box, 2.5)
        canvas.fill(groove, (10, 13, 19))


def track_picture(panel, filled):
    canvas = bar_background(panel, TRACK_WIDTH)
    draw_groove(canvas, 1, TRACK_WIDTH - 1, filled)
    return canvas.image


def thumb_picture(panel):
    """The knob over the groove: lit groove left of its centre, dark groove right of it."""
    canvas = bar_background(panel, KNOB)
    draw_groove(canvas, -4, KNOB + 4, filled=False)
    lit = Canvas((KNOB, BAR_HEIGHT))
    lit.paste(bar_background(panel, KNOB).image, (0, 0))
    draw_groove(lit, -4, KNOB + 4, filled=True)
    canvas.paste(lit.crop((0, 0, KNOB // 2 + 1, BAR_HEIGHT)), (0, 0))
    outline = canvas.mask().ellipse((0, 0, KNOB, KNOB))
    canvas.fill(outline, P.CAP_OUTLINE)
    body = canvas.mask().ellipse((1, 1, KNOB - 1, KNOB - 1))
    canvas.fill(body, vertical_gradient((KNOB, KNOB - 2), [(0, (246, 249, 252)), (1, (170, 183, 201))]), (0, 1))
    dot = canvas.mask().circle((KNOB / 2, KNOB / 2), 1.6)
    canvas.fill(dot, P.ACCENT_DARK)
    return canvas.crop((0, 0, KNOB, KNOB))


def marker_picture(panel, letter, colour):
    """A flag under the groove pointing up at the event's position.

    The program draws it at thumbCentre − width / 2 + 2, so its pointer stands in
    column width / 2 − 2, the same column as the knob's centre.
    """
    canvas = Canvas((MARKER_WIDTH, MARKER_HEIGHT))
    canvas.paste(
        bar_background(panel, MARKER_WIDTH).crop((0, MARKER_TOP, MARKER_WIDTH, MARKER_TOP + MARKER_HEIGHT)), (0, 0)
    )
    tip = MARKER_WIDTH // 2 - 2 + 0.5
    shapes = canvas.mask()
    shapes.polygon([(tip, 2), (tip + 3.5, 6), (tip - 3.5, 6)])
    shapes.rounded((tip - 6.5, 5, tip + 6.5, 16), 3)
    canvas.fill(shapes, colour)
    canvas.text((tip, 10.5), letter, (255, 255, 255), font("sans-bold", 9), anchor="mm")
    return canvas.image


def offset_characters(panel):
    ids = {"±": 236, "0": 237, "1": 238, "2": 239, "3": 240, "4": 241, "5": 242, "6": 243, "7": 244, "8": 245, "9": 246}
    ids.update({".": 247, "−": 248, "+": 249})
    left = SCENE_WIDTH - OFFSET_FROM_RIGHT
    pics = {}
    for char, picture_id in ids.items():
        width = OFFSET_CELLS[char]
        cell = panel.crop((left, OFFSET_TOP, left + width, OFFSET_TOP + 13))
        pics[picture_id] = segments.character_picture(cell, OFFSET_STYLE, char)
    return pics


def pictures():
    panel = scene()
    plain = surface(SCENE_WIDTH)
    pics = {
        223: panel.crop((0, 0, 250, HEIGHT)),
        221: panel.crop((300, 0, 320, HEIGHT)),
        222: panel.crop((SCENE_WIDTH - 400, 0, SCENE_WIDTH, HEIGHT)),
        424: plain.crop((300, 0, 320, HEIGHT)),
        425: plain.crop((SCENE_WIDTH - 74, 0, SCENE_WIDTH, HEIGHT)),
        10027: track_picture(panel, filled=False),
        295: track_picture(panel, filled=True),
        10031: thumb_picture(panel),
        10029: marker_picture(panel, "G", P.SHOCK),
        10030: marker_picture(panel, "S", P.MANUAL),
    }
    pics.update(button_pictures(panel))
    pics.update(offset_characters(panel))
    return pics
