"""The application icon: the lens mark on a rounded navy tile, drawn separately
at every size so each one is sharp, and packed into one .ico file.

Sizes up to 48 are stored as 32-bit bitmaps with an AND mask (readable by every
Windows version); 256 is stored as PNG, as Windows Vista and later expect.
"""

import io
import struct


import brand
import palette as P
from painter import Canvas, Mask, vertical_gradient

SIZES = (16, 24, 32, 48, 256)


def tile_radius(size):
    return max(2.0, size * 0.2)


def icon_image(size):
    """An RGBA picture of the icon at one size."""
    canvas = Canvas((size, size))
    canvas.rows(0, size, vertical_gradient((size, size), [(0, (50, 64, 86)), (1, (16, 21, 30))]))
    inner = canvas.mask().rounded((1, 1, size - 1, size - 1), tile_radius(size) - 1)
    edge = Canvas((size, size), P.EDGE_DARK)
    edge.fill(inner, canvas.image)
    canvas = edge
    small = size <= 24
    radius = size * (0.42 if small else 0.36)
    brand.draw_lens(canvas, (size / 2, size / 2), radius, rec_dot=size >= 24, ring_inner=0.58 if small else 0.70)
    outline = Mask((size, size)).rounded((0, 0, size, size), tile_radius(size))
    picture = canvas.image.convert("RGBA")
    picture.putalpha(outline.coverage())
    return picture


def _bitmap_entry(picture):
    """BITMAPINFOHEADER, bottom-up BGRA rows, then the 1-bit AND mask."""
    width, height = picture.size
    rows = []
    mask_rows = []
    mask_stride = ((width + 31) // 32) * 4
    for y in reversed(range(height)):
        row = bytearray()
        bits = bytearray(mask_stride)
        for x in range(width):
            r, g, b, a = picture.getpixel((x, y))
            row += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(row))
        mask_rows.append(bytes(bits))
    pixels = b"".join(rows) + b"".join(mask_rows)
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, len(pixels), 0, 0, 0, 0)
    return header + pixels


def _png_entry(picture):
    buffer = io.BytesIO()
    picture.save(buffer, "PNG", optimize=True)
    return buffer.getvalue()


def ico_bytes():
    entries = []
    for size in SIZES:
        picture = icon_image(size)
        data = _png_entry(picture) if size >= 256 else _bitmap_entry(picture)
        entries.append((size, data))
    offset = 6 + 16 * len(entries)
    directory = struct.pack("<HHH", 0, 1, len(entries))
    blobs = b""
    for size, data in entries:
        dimension = 0 if size >= 256 else size
        directory += struct.pack("<BBBBHHII", dimension, dimension, 0, 0, 1, 32, len(data), offset + len(blobs))
        blobs += data
    return directory + blobs


def preview_images():
    return [icon_image(size) for size in SIZES]
