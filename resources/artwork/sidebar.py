"""The right-hand column (information panel, the column pieces between the
panels, configuration panel) and the strip left of the picture.

The column is one flat surface with a dark edge towards the picture, so its
pieces join at any window height. The information panel carries an ice-white
backlit display: the date, time, kind and indicator pictures are cut from it.
"""

import brand
import keycap
import palette as P
import segments
import symbols
from painter import Canvas, font, horizontal_gradient, mix, text_width, vertical_gradient

WIDTH = 209

# Information panel (panel coordinates, from the program's drawing positions).
TITLE = (30, 15, 146, 34)
DISPLAY = (12, 57, 197, 171)
DATE_AT, DATE_CELL = (62, 65), (9, 12)
TIME_AT, TIME_CELL = (20, 90), (21, 31)
KIND_AT, KIND_SIZE = (45, 130), (117, 20)
INDICATOR_AT, INDICATOR_SIZE = (150, 130), (32, 32)

DATE_STYLE = segments.SegmentStyle(box=(1, 0, 7, 12), thickness=2, pointed=False, ink=P.DISPLAY_INK)
TIME_STYLE = segments.SegmentStyle(
    box=(3, 2, 15, 27), thickness=3, pointed=True, gap=0.6, ink=P.DISPLAY_INK, ghost=P.DISPLAY_GHOST
)

DATE_IDS = {"/": 224, "0": 225, "1": 226, "2": 227, "3": 228, "4": 229, "5": 230, "6": 231, "7": 232, "8": 233}
DATE_IDS.update({"9": 234, "-": 235})
TIME_IDS = {"-": 250, "0": 251, "1": 252, "2": 253, "3": 254, "4": 255, "5": 256, "6": 257, "7": 258, "8": 259}
TIME_IDS.update({"9": 260, ":": 261})

KINDS = [  # id, text, signal colour
    (288, "イベント(自動)", P.SHOCK),
    (286, "イベント(手動)", P.MANUAL),
    (287, "検知なし", P.NEUTRAL),
    (430, "ワンショット", P.ACCENT),
    (429, "ビデオメモリー", P.VIDEO),
]

# Configuration panel.
VOLUME_BAR = (40, 22, 151, 16)
BRIGHTNESS_BAR = (40, 56, 151, 16)
STANDARD_VOLUME = (14, 22, 17, 15)
STANDARD_BRIGHTNESS = (14, 56, 16, 16)
OPEN_FOLDER = (57, 97, 102, 28)
SLIDER_THUMB = (10, 16)
THUMB_TRAVEL = (5, 146)  # thumb centres at the ends of the range (client width 151, thumb 10)


def surface(height):
    canvas = Canvas((WIDTH, height), P.SIDEBAR)
    canvas.columns(0, 1, P.EDGE_DARK)
    canvas.columns(1, 2, (36, 44, 57))
    return canvas


def groove_line(canvas, y, left=12, right=WIDTH - 12):
    canvas.image.paste(P.EDGE_DARK, (left, y, right, y + 1))
    canvas.image.paste(P.EDGE_LIGHT, (left, y + 1, right, y + 2))


def crop_at(canvas, position, size):
    x, y = position
    return canvas.crop((x, y, x + size[0], y + size[1]))


# ---- information panel ------------------------------------------------------


def draw_display(canvas):
    left, top, right, bottom = DISPLAY
    rim = canvas.mask().rounded((left - 1, top - 1, right + 1, bottom + 1), 6)
    canvas.fill(rim, P.DISPLAY_RIM)
    glass = canvas.mask().rounded(DISPLAY, 5)
    canvas.fill(glass, vertical_gradient((WIDTH, bottom - top), P.DISPLAY_STOPS), (0, top))
    shade = canvas.mask().rectangle((left + 8, 125, right - 8, 126))
    canvas.fill(shade, P.DISPLAY_INK, opacity=0.16)


def draw_title(canvas):
    x, y, w, h = TITLE
    middle = y + h / 2
    brand.draw_lens(canvas, (x + 16, middle), 13)
    brand.draw_wordmark(canvas, x + 37, middle, 19, spacing=1)


def information_scene():
    canvas = surface(180)
    draw_title(canvas)
    draw_display(canvas)
    return canvas


def kind_picture(background, text, colour):
    canvas = Canvas(KIND_SIZE)
    canvas.paste(background, (0, 0))
    width, height = KIND_SIZE
    pill = canvas.mask().rounded((0, 0, width, height), height / 2)
    canvas.fill(pill, P.DISPLAY_INK)
    dot = canvas.mask().circle((11, height / 2), 3.5)
    canvas.fill(dot, colour)
    typeface = font("japanese", 12)
    text_left = 20 + (width - 26 - text_width(text, typeface)) / 2
    canvas.text((round(text_left), height / 2 + 0.5), text, (232, 239, 246), typeface, anchor="lm")
    return canvas.image


def indicator_picture(background):
    """A pennant in an ink disc, level with the kind picture beside it."""
    canvas = Canvas(INDICATOR_SIZE)
    canvas.paste(background, (0, 0))
    disc = canvas.mask().circle((16, 10), 10)
    canvas.fill(disc, P.DISPLAY_INK)
    flag = symbols.flag(canvas.mask(), 11, 4)
    canvas.fill(flag, (232, 239, 246))
    return canvas.image


def information_pictures():
    scene = information_scene()
    pics = {10026: scene.image.copy(), 10036: crop_at(scene, TITLE[:2], TITLE[2:])}
    kind_background = crop_at(scene, KIND_AT, KIND_SIZE)
    for picture_id, text, colour in KINDS:
        pics[picture_id] = kind_picture(kind_background, text, colour)
    pics[408] = indicator_picture(crop_at(scene, INDICATOR_AT, INDICATOR_SIZE))
    date_cell = crop_at(scene, DATE_AT, DATE_CELL)
    for char, picture_id in DATE_IDS.items():
        pics[picture_id] = segments.character_picture(date_cell, DATE_STYLE, char)
    time_cell = crop_at(scene, TIME_AT, TIME_CELL)
    for char, picture_id in TIME_IDS.items():
        pics[picture_id] = segments.character_picture(time_cell, TIME_STYLE, char)
    return pics


# ---- column pieces and left strip ------------------------------------------------


def column_pictures():
    top = surface(20)
    groove_line(top, 9)
    bottom = surface(20)
    groove_line(bottom, 9)
    return {218: top.image, 219: surface(120).image, 220: bottom.image}


def left_strip_picture():
    """Stretched vertically by the program, so every row is the same."""
    canvas = Canvas((21, 480), P.SIDEBAR)
    canvas.columns(19, 20, (36, 44, 57))
    canvas.columns(20, 21, P.EDGE_DARK)
    return canvas.image


# ---- configuration panel ----------------------------------------------------------


def bar_box(bar):
    x, y, w, h = bar
    return (x, y, x + w, y + h)


def draw_volume_track(canvas):
    """A wedge growing to the right: louder."""
    x, y, w, _ = VOLUME_BAR
    left, right = x + THUMB_TRAVEL[0] - 1, x + THUMB_TRAVEL[1] + 1
    wedge = canvas.mask().polygon([(left, y + 13), (right, y + 13), (right, y + 3)])
    canvas.fill(wedge, horizontal_gradient((right - left, 16), [(0, (70, 84, 104)), (1, P.ACCENT)]), (left, y))


def draw_brightness_track(canvas):
    """A bar running from dark to bright."""
    x, y, w, _ = BRIGHTNESS_BAR
    left, right = x + THUMB_TRAVEL[0] - 2, x + THUMB_TRAVEL[1] + 2
    rim = canvas.mask().rounded((left - 1, y + 5, right + 1, y + 11), 3)
    canvas.fill(rim, P.EDGE_DARK)
    bar = canvas.mask().rounded((left, y + 6, right, y + 10), 2)
    canvas.fill(bar, horizontal_gradient((right - left, 4), [(0, (16, 20, 28)), (1, (250, 250, 236))]), (left, y + 6))


def draw_captions(canvas):
    typeface = font("japanese", 11)
    canvas.text((41, 6), "音量", P.INK_MUTED, typeface)
    canvas.text((41, 40), "明るさ", P.INK_MUTED, typeface)


def configuration_scene(with_tracks=True):
    canvas = surface(140)
    draw_captions(canvas)
    groove_line(canvas, 86)
    if with_tracks:
        draw_volume_track(canvas)
        draw_brightness_track(canvas)
    return canvas


def slider_thumb(background):
    canvas = Canvas(SLIDER_THUMB)
    canvas.paste(background, (0, 0))
    w, h = SLIDER_THUMB
    outline = canvas.mask().rounded((0, 0, w, h), 3.5)  # its corner pixels stay the panel colour
    canvas.fill(outline, P.CAP_OUTLINE)
    body = canvas.mask().rounded((1, 1, w - 1, h - 1), 2.5)
    canvas.fill(body, vertical_gradient((w, h - 2), [(0, (246, 249, 252)), (1, (170, 183, 201))]), (0, 1))
    grip = canvas.mask().rectangle((3, 7, w - 3, 9))
    canvas.fill(grip, P.ACCENT_DARK)
    return canvas.image


def icon_picture(background, add_shapes, colour):
    canvas = Canvas(background.size)
    canvas.paste(background, (0, 0))
    canvas.fill(add_shapes(canvas.mask()), colour)
    return canvas.image


def folder_label(canvas, state):
    """Folder symbol and "フォルダを開く" on the open-folder button."""
    shift = 1 if state == keycap.PRESSED else 0
    typeface = font("japanese", 11)
    text = "フォルダを開く"
    total = 16 + 5 + text_width(text, typeface)
    left = round((OPEN_FOLDER[2] - total) / 2)
    body_colour = {keycap.NORMAL: P.ACCENT, keycap.PRESSED: P.ACCENT_LIGHT, keycap.DISABLED: P.INK_DISABLED}[state]
    flap_colour = mix(body_colour, (255, 255, 255), 0.35 if state != keycap.DISABLED else 0.12)
    canvas.fill(symbols.folder(canvas.mask(), left, 8 + shift), body_colour)
    canvas.fill(symbols.folder_flap(canvas.mask(), left, 8 + shift), flap_colour)
    canvas.text((left + 21, 14 + shift), text, keycap.symbol_colour(state), typeface, anchor="lm")


def configuration_pictures():
    scene = configuration_scene()
    plain = configuration_scene(with_tracks=False)
    pics = {
        10024: scene.image.copy(),
        403: scene.crop(bar_box(VOLUME_BAR)),
        10001: scene.crop(bar_box(BRIGHTNESS_BAR)),
        291: slider_thumb(plain.crop(bar_box(VOLUME_BAR)).crop((0, 0) + SLIDER_THUMB)),
    }
    volume_background = plain.crop(bar_box(STANDARD_VOLUME))
    pics[290] = icon_picture(volume_background, symbols.speaker, P.INK_LIGHT)
    pics[431] = icon_picture(volume_background, symbols.speaker, P.INK_DISABLED)
    pics[289] = icon_picture(plain.crop(bar_box(STANDARD_BRIGHTNESS)), symbols.sun, P.INK_LIGHT)
    folder_faces = keycap.faces(plain.crop(bar_box(OPEN_FOLDER)), lambda m: m, radius=5, extra=folder_label)
    pics.update(
        {10021: folder_faces[keycap.NORMAL], 10022: folder_faces[keycap.PRESSED], 10023: folder_faces[keycap.DISABLED]}
    )
    return pics


def pictures():
    pics = {}
    pics.update(information_pictures())
    pics.update(column_pictures())
    pics.update(configuration_pictures())
    pics[284] = left_strip_picture()
    return pics
