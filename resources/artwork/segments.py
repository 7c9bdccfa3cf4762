"""Seven-segment read-out characters, the look of the recorder's own display.

A character is drawn into a cell picture whose background is cut from the
panel it stands on, so the cells join seamlessly when the program draws them
side by side. Small cells use solid rectangular strokes (sharp at 1:1); the
large clock uses separated, pointed segments and faint unlit segments.
"""

from dataclasses import dataclass

from painter import Canvas

DIGIT_SEGMENTS = {
    "0": "abcdef",
    "1": "bc",
    "2": "abged",
    "3": "abgcd",
    "4": "fgbc",
    "5": "afgcd",
    "6": "afgedc",
    "7": "abc",
    "8": "abcdefg",
    "9": "abcdfg",
    "-": "g",
}


@dataclass
class SegmentStyle:
    box: tuple  # (left, top, width, height) of the digit inside its cell
    thickness: int
    pointed: bool  # pointed segment ends with a gap between segments
    gap: float = 0.0
    ink: tuple = (0, 0, 0)
    ghost: float = 0.0  # opacity of the ink on unlit segments; 0 leaves them out


def middle_row(style):
    """Top edge of the middle stroke; rounded up so the lower hole is never the smaller."""
    _, top, _, height = style.box
    return top + (height - style.thickness + 1) // 2


def _solid_segment(style, name):
    left, top, width, height = style.box
    t = style.thickness
    right, bottom = left + width, top + height
    mid = middle_row(style)
    return {
        "a": (left, top, right, top + t),
        "g": (left, mid, right, mid + t),
        "d": (left, bottom - t, right, bottom),
        "f": (left, top, left + t, mid + t),
        "e": (left, mid, left + t, bottom),
        "b": (right - t, top, right, mid + t),
        "c": (right - t, mid, right, bottom),
    }[name]


def _pointed_segment(style, name):
    left, top, width, height = style.box
    t, g = style.thickness, style.gap
    half = t / 2
    xl, xr = left + half, left + width - half
    ya, yg, yd = top + half, top + height / 2, top + height - half
    horizontal = {"a": ya, "g": yg, "d": yd}
    vertical = {"f": (xl, ya, yg), "e": (xl, yg, yd), "b": (xr, ya, yg), "c": (xr, yg, yd)}
    if name in horizontal:
        y = horizontal[name]
        x0, x1 = xl + g, xr - g
        return [
            (x0, y),
            (x0 + half, y - half),
            (x1 - half, y - half),
            (x1, y),
            (x1 - half, y + half),
            (x0 + half, y + half),
        ]
    x, y0, y1 = vertical[name]
    y0, y1 = y0 + g, y1 - g
    return [
        (x, y0),
        (x + half, y0 + half),
        (x + half, y1 - half),
        (x, y1),
        (x - half, y1 - half),
        (x - half, y0 + half),
    ]


def _add_segment(mask, style, name):
    if style.pointed:
        mask.polygon(_pointed_segment(style, name))
    else:
        mask.rectangle(_solid_segment(style, name))


def draw_digit(canvas, style, char):
    """Draw a digit or '-' (ghost segments first, then the lit ones)."""
    if style.ghost > 0:
        ghost = canvas.mask()
        for name in "abcdefg":
            _add_segment(ghost, style, name)
        canvas.fill(ghost, style.ink, opacity=style.ghost)
    lit = canvas.mask()
    for name in DIGIT_SEGMENTS[char]:
        _add_segment(lit, style, name)
    canvas.fill(lit, style.ink)


def draw_colon(canvas, style, cell_width):
    left, top, width, height = style.box
    t = style.thickness
    x = (cell_width - t) // 2
    upper = top + round(height * 0.28)
    lower = top + round(height * 0.72) - t
    mask = canvas.mask()
    mask.rectangle((x, upper, x + t, upper + t)).rectangle((x, lower, x + t, lower + t))
    canvas.fill(mask, style.ink)


def draw_slash(canvas, style):
    left, top, width, height = style.box
    mask = canvas.mask()
    inset = 1
    mask.polygon(
        [
            (left + inset, top + height),
            (left + inset + 1.6, top + height),
            (left + width - inset, top),
            (left + width - inset - 1.6, top),
        ]
    )
    canvas.fill(mask, style.ink)


def draw_point(canvas, style, cell_width):
    _, top, _, height = style.box
    t = style.thickness
    x = (cell_width - t) // 2
    mask = canvas.mask().rectangle((x, top + height - t, x + t, top + height))
    canvas.fill(mask, style.ink)


def draw_sign(canvas, style, cell_width, sign):
    """'+', '−' or '±', the bars on the digits' middle stroke so signs line up with them."""
    t = style.thickness
    mid = middle_row(style)
    arm = cell_width - 4  # bar length, centred with 2 pixels either side
    left = (cell_width - arm) // 2
    centre_x = (cell_width - t) // 2
    mask = canvas.mask()
    _, top, _, height = style.box
    if sign == "±":
        bar_row = mid - 2
        mask.rectangle((left, bar_row, left + arm, bar_row + t))
        mask.rectangle((centre_x, bar_row - 3, centre_x + t, bar_row + t + 3))
        mask.rectangle((left, top + height - t, left + arm, top + height))
    else:
        mask.rectangle((left, mid, left + arm, mid + t))
        if sign == "+":
            reach = (arm - t) // 2
            mask.rectangle((centre_x, mid - reach, centre_x + t, mid + t + reach))
    canvas.fill(mask, style.ink)


def character_picture(background, style, char):
    """A cell picture: background (a PIL picture of the cell size) with one character."""
    canvas = Canvas(background.size)
    canvas.paste(background, (0, 0))
    width = background.size[0]
    if char in DIGIT_SEGMENTS:
        draw_digit(canvas, style, char)
    elif char == ":":
        draw_colon(canvas, style, width)
    elif char == "/":
        draw_slash(canvas, style)
    elif char == ".":
        draw_point(canvas, style, width)
    elif char in "+±−":  # − (U+2212) is the sign-width minus of the event offset
        draw_sign(canvas, style, width, char)
    else:
        raise ValueError(f"no segment drawing for {char!r}")
    return canvas.image
