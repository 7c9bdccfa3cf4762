"""Drawing primitives for the interface pictures.

Every shape is drawn as a coverage mask at SUPERSAMPLE times the final size and
box-reduced, so edges that lie on pixel boundaries stay hard and only curves and
diagonals get smooth coverage. Coordinates are in final pixels; a box is
(left, top, right, bottom) with right and bottom exclusive, like a Windows RECT.
"""

from PIL import Image, ImageDraw, ImageFont

SUPERSAMPLE = 8

FONT_FILES = {
    "sans": "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "sans-bold": "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "sans-condensed-bold": "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf",
    "sans-light": "/usr/share/fonts/truetype/dejavu/DejaVuSans-ExtraLight.ttf",
    "japanese": "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf",
}


def font(name, size):
    return ImageFont.truetype(FONT_FILES[name], size)


class Mask:
    """A supersampled coverage mask that shapes are added to or cut from."""

    def __init__(self, size):
        self.size = size
        self.image = Image.new("L", (size[0] * SUPERSAMPLE, size[1] * SUPERSAMPLE), 0)
        self.draw = ImageDraw.Draw(self.image)

    @staticmethod
    def _scaled_box(box):
        s = SUPERSAMPLE
        left, top, right, bottom = box
        return [round(left * s), round(top * s), round(right * s) - 1, round(bottom * s) - 1]

    @staticmethod
    def _scaled_points(points):
        s = SUPERSAMPLE
        return [(x * s, y * s) for x, y in points]

    def rectangle(self, box, value=255):
        self.draw.rectangle(self._scaled_box(box), fill=value)
        return self

    def rounded(self, box, radius, value=255):
        if radius <= 0:
            return self.rectangle(box, value)
        self.draw.rounded_rectangle(self._scaled_box(box), radius=round(radius * SUPERSAMPLE), fill=value)
        return self

    def ellipse(self, box, value=255):
        self.draw.ellipse(self._scaled_box(box), fill=value)
        return self

    def circle(self, centre, radius, value=255):
        cx, cy = centre
        return self.ellipse((cx - radius, cy - radius, cx + radius, cy + radius), value)

    def ring(self, centre, outer, inner):
        self.circle(centre, outer)
        return self.circle(centre, inner, 0)

    def polygon(self, points, value=255):
        self.draw.polygon(self._scaled_points(points), fill=value)
        return self

    def line(self, points, width, value=255):
        self.draw.line(self._scaled_points(points), fill=value, width=round(width * SUPERSAMPLE))
        return self

    def arc(self, box, start, end, width, value=255):
        self.draw.arc(self._scaled_box(box), start, end, fill=value, width=round(width * SUPERSAMPLE))
        return self

    def coverage(self):
        return self.image.reduce(SUPERSAMPLE)

    def shifted(self, dx, dy):
        """The same shapes moved by whole pixels (used for pressed faces and shadows)."""
        moved = Mask(self.size)
        moved.image.paste(self.image, (dx * SUPERSAMPLE, dy * SUPERSAMPLE))
        return moved


def vertical_gradient(size, stops):
    """An RGB layer whose rows run through the colour stops [(position 0..1, colour), ...]."""
    width, height = size
    layer = Image.new("RGB", size)
    for y in range(height):
        t = 0.0 if height == 1 else y / (height - 1)
        layer.paste(_colour_at(stops, t), (0, y, width, y + 1))
    return layer


def horizontal_gradient(size, stops):
    width, height = size
    layer = Image.new("RGB", size)
    for x in range(width):
        t = 0.0 if width == 1 else x / (width - 1)
        layer.paste(_colour_at(stops, t), (x, 0, x + 1, height))
    return layer


def _colour_at(stops, t):
    if t <= stops[0][0]:
        return stops[0][1]
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            f = 0.0 if p1 == p0 else (t - p0) / (p1 - p0)
            return tuple(round(a + (b - a) * f) for a, b in zip(c0, c1))
    return stops[-1][1]


def mix(a, b, f):
    return tuple(round(x + (y - x) * f) for x, y in zip(a, b))


class Canvas:
    """An opaque RGB picture under construction."""

    def __init__(self, size, colour=(0, 0, 0)):
        self.size = size
        self.image = Image.new("RGB", size, colour)

    def mask(self):
        return Mask(self.size)

    def fill(self, mask, paint, box=None, opacity=1.0):
        """Paint through a mask: paint is a colour or an RGB layer.

        A layer smaller than the canvas is placed at the top-left corner of box.
        """
        coverage = mask.coverage() if isinstance(mask, Mask) else mask
        if opacity < 1.0:
            coverage = coverage.point(lambda v: round(v * opacity))
        if isinstance(paint, tuple):
            layer = Image.new("RGB", self.size, paint)
        else:
            layer = Image.new("RGB", self.size)
            origin = (box[0], box[1]) if box else (0, 0)
            layer.paste(paint, origin)
        self.image.paste(layer, (0, 0), coverage)

    def rows(self, top, bottom, paint):
        """Fill whole rows: solid colour or a layer as tall as the rows."""
        box = (0, top, self.size[0], bottom)
        if isinstance(paint, tuple):
            self.image.paste(paint, box)
        else:
            self.image.paste(paint, (0, top))

    def columns(self, left, right, colour, top=0, bottom=None):
        self.image.paste(colour, (left, top, right, self.size[1] if bottom is None else bottom))

    def text(self, position, text, colour, typeface, anchor="la", spacing=0):
        """Text drawn at 1:1 so the font's hinting keeps it crisp."""
        coverage = Image.new("L", self.size, 0)
        draw = ImageDraw.Draw(coverage)
        if spacing:
            x, y = position
            for ch in text:
                draw.text((x, y), ch, fill=255, font=typeface, anchor=anchor)
                x += typeface.getlength(ch) + spacing
        else:
            draw.text(position, text, fill=255, font=typeface, anchor=anchor)
        self.image.paste(Image.new("RGB", self.size, colour), (0, 0), coverage)

    def crop(self, box):
        return self.image.crop(box)

    def paste(self, picture, position):
        self.image.paste(picture, position)


def text_width(text, typeface, spacing=0):
    if spacing:
        return sum(typeface.getlength(ch) for ch in text) + spacing * (len(text) - 1)
    return typeface.getlength(text)
