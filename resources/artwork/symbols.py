"""Symbols drawn on buttons and panels, as shapes added to a coverage mask.

Straight edges are placed on whole pixels so they stay sharp; only the slanted
sides of triangles and the curves are smoothed.
"""


def triangle(mask, base_x, centre_y, width, height, pointing):
    """A triangle whose vertical side stands on base_x and whose tip lies width away."""
    tip_x = base_x + width if pointing == "right" else base_x - width
    half = height / 2
    mask.polygon([(base_x, centre_y - half), (tip_x, centre_y), (base_x, centre_y + half)])
    return mask


def bar(mask, left, top, width, height):
    return mask.rectangle((left, top, left + width, top + height))


def play(mask, size):
    c = size / 2
    return triangle(mask, round(c - 5), c, 13, 15, "right")


def pause(mask, size):
    c = size // 2
    bar(mask, c - 6, c - 7, 4, 14)
    return bar(mask, c + 2, c - 7, 4, 14)


def stop(mask, size):
    c = size // 2
    return mask.rounded((c - 4, c - 4, c + 4, c + 4), 1)


def skip(mask, size, direction):
    """|◀◀ or ▶▶|: the previous and next recording."""
    c = size // 2
    if direction == "previous":
        bar(mask, c - 7, c - 5, 2, 10)
        triangle(mask, c + 1, c, 6, 10, "left")
        return triangle(mask, c + 7, c, 6, 10, "left")
    triangle(mask, c - 7, c, 6, 10, "right")
    triangle(mask, c - 1, c, 6, 10, "right")
    return bar(mask, c + 5, c - 5, 2, 10)


def step(mask, size, direction):
    """◀| and |▶: one frame back or forward."""
    c = size // 2
    if direction == "back":
        triangle(mask, c + 2, c, 6, 9, "left")
        return bar(mask, c + 3, c - 4, 2, 8)
    bar(mask, c - 5, c - 4, 2, 8)
    return triangle(mask, c - 2, c, 6, 9, "right")


def list_move(mask, size, target):
    """Thumbnail strip moves: |◀ first, ◀ previous, ▶ next, ▶| last."""
    c = size // 2
    if target == "first":
        bar(mask, c - 5, c - 5, 2, 10)
        return triangle(mask, c + 4, c, 7, 10, "left")
    if target == "previous":
        return triangle(mask, c + 3, c, 7, 10, "left")
    if target == "next":
        return triangle(mask, c - 3, c, 7, 10, "right")
    triangle(mask, c - 4, c, 7, 10, "right")
    return bar(mask, c + 3, c - 5, 2, 10)


def speaker(mask):
    """Speaker with two sound waves, for the 17 x 15 standard-volume button."""
    mask.rectangle((2, 5, 5, 10))
    mask.polygon([(5, 5), (9, 1.5), (9, 13.5), (5, 10)])
    mask.arc((6.5, 4, 13.5, 11), -50, 50, 1.3)
    return mask.arc((5, 1.5, 16, 13.5), -50, 50, 1.3)


def sun(mask):
    """Sun with eight rays, for the 16 x 16 standard-brightness button."""
    mask.circle((8, 8), 3.2)
    mask.rectangle((7, 0.5, 9, 3)).rectangle((7, 13, 9, 15.5))
    mask.rectangle((0.5, 7, 3, 9)).rectangle((13, 7, 15.5, 9))
    for dx, dy in ((1, 1), (1, -1), (-1, 1), (-1, -1)):
        mask.line([(8 + dx * 4.2, 8 + dy * 4.2), (8 + dx * 6.0, 8 + dy * 6.0)], 1.8)
    return mask


def folder(mask, left, top):
    """A 16 x 12 folder."""
    mask.polygon(
        [
            (left, top + 1),
            (left + 5, top + 1),
            (left + 7, top + 3),
            (left + 16, top + 3),
            (left + 16, top + 12),
            (left, top + 12),
        ]
    )
    return mask


def folder_flap(mask, left, top):
    """The open flap in front of the folder body, drawn in a lighter colour."""
    return mask.polygon([(left + 1.5, top + 5.5), (left + 16, top + 5.5), (left + 16, top + 12), (left, top + 12)])


def flag(mask, left, top):
    """A pennant on a pole, about 10 x 12."""
    bar(mask, left, top, 2, 13)
    return mask.polygon([(left + 2, top), (left + 11, top + 3.5), (left + 2, top + 7)])


def lens(mask_ring, mask_glass, centre, radius):
    """The camera-lens mark: an outer ring and the glass inside it."""
    mask_ring.ring(centre, radius, radius * 0.72)
    mask_glass.circle(centre, radius * 0.56)


def broken_picture(mask, left, top):
    """A 22 x 18 picture frame with a mountain, crossed out: no picture."""
    mask.rectangle((left, top, left + 22, top + 18))
    mask.rectangle((left + 2, top + 2, left + 20, top + 16), 0)
    mask.polygon(
        [(left + 3, top + 15), (left + 9, top + 7), (left + 13, top + 12), (left + 15, top + 10), (left + 19, top + 15)]
    )
    mask.circle((left + 15.5, top + 5.5), 1.8)
    return mask
