"""Mock-ups of the main window assembled from the pictures the way the program
places them, to judge the pieces together (not used by the build)."""

import math

from PIL import Image, ImageDraw

import sidebar

CLIENT = (870, 640)


def stretch(picture, size):
    return picture.resize(size, Image.NEAREST)


def paint_tiles(window, pics, right_column_x):
    width, height = window.size
    window.paste(pics[218], (right_column_x, 180))
    bottom = height - (pics[220].size[1] + 295)
    y = 200
    while y < bottom:
        tile = pics[219].crop((0, 0, 209, min(120, bottom - y)))
        window.paste(tile, (right_column_x, y))
        y += 120
    window.paste(pics[220], (right_column_x, bottom))
    window.paste(stretch(pics[284], (21, height - 155)), (0, 0))


def info_panel(pics, date, time, kind, indicator):
    panel = pics[10026].copy()
    panel.paste(pics[10036], (30, 15))
    x = 62
    for char in date:
        panel.paste(pics[sidebar.DATE_IDS[char]], (x, 65))
        x += 9
    x = 20
    for char in time:
        panel.paste(pics[sidebar.TIME_IDS[char]], (x, 90))
        x += 21
    if kind:
        panel.paste(pics[kind], (30 if indicator else 45, 130))
    if indicator:
        panel.paste(pics[408], (150, 130))
    return panel


def config_panel(pics, volume, brightness, one_shot):
    panel = pics[10024].copy()
    panel.paste(pics[403], (40, 22))
    panel.paste(pics[291], (40 + int(volume * 141 / 16), 22))
    panel.paste(pics[10001], (40, 56))
    panel.paste(pics[291], (40 + int((brightness - 1) * 141 / 49), 56))
    panel.paste(pics[431 if one_shot else 290], (14, 22))
    panel.paste(pics[289], (14, 56))
    panel.paste(pics[10021], (57, 97))
    return panel


def position_bar(pics, width, thumb_x, marker_x, marker_id):
    bar = Image.new("RGB", (width, 30))
    fill, track, thumb = pics[295], pics[10027], pics[10031]
    half, tw = thumb.size[0] // 2, track.size[0]
    bar.paste(fill.crop((0, 0, half, 30)), (0, 0))
    bar.paste(stretch(fill.crop((half, 0, tw - half, 30)), (thumb_x, 30)), (half, 0))
    bar.paste(track.crop((tw - half, 0, tw, 30)), (width - half, 0))
    centre = thumb_x + half
    bar.paste(stretch(track.crop((half, 0, tw - half, 30)), (width - centre - half, 30)), (centre, 0))
    marker = pics[marker_id]
    bar.paste(marker, (marker_x + half - marker.size[0] // 2 + 2, 11))
    bar.paste(thumb, (thumb_x, 0))
    return bar


def console_panel(pics, width, one_shot):
    panel = Image.new("RGB", (width, 65))
    if one_shot:
        panel.paste(pics[223], (0, 0))
        left, right = 250 - 250 // 4, width - 74
        panel.paste(stretch(pics[424], (right - left, 65)), (left, 0))
        panel.paste(pics[425], (right, 0))
        faces = {(23, 11): 10017, (67, 18): 10020, (107, 17): 10011, (140, 17): 10014}
    else:
        panel.paste(stretch(pics[221], (width - 650, 65)), (250, 0))
        panel.paste(pics[222], (width - 400, 0))
        panel.paste(pics[223], (0, 0))
        faces = {
            (23, 11): 10034,
            (67, 18): 10018,
            (107, 17): 10009,
            (140, 17): 10012,
            (198, 22): 10003,
            (220, 22): 10007,
        }
        bar_width = width - 344
        panel.paste(position_bar(pics, bar_width, 180, 230, 10029), (249, 26))
        x = width - 83
        for picture_id in (249, 237, 238, 247, 242):  # +01.5
            panel.paste(pics[picture_id], (x, 26))
            x += pics[picture_id].size[0]
    for spot, picture_id in faces.items():
        panel.paste(pics[picture_id], spot)
    return panel


def chart(pics, width):
    panel = Image.new("RGB", (width, 90))
    panel.paste(stretch(pics[360], (width - 80, 90)), (40, 0))
    panel.paste(pics[361], (width - 40, 0))
    panel.paste(pics[359], (0, 0))
    screen = Image.new("RGB", (width - 45, 72), (0, 0, 0))
    draw = ImageDraw.Draw(screen)
    left, top, right, bottom = 40, 13, width - 45 - 80, 72 - 24
    for k in range(5):
        y = top + k * (bottom - top) // 4
        draw.line([(left, y), (right, y)], fill=(128, 128, 128))
    points = [
        (left + i, bottom - 6 - 10 * abs(math.sin(i / 23.0)) - (20 if 300 < i < 320 else 0))
        for i in range(right - left)
    ]
    draw.line(points, fill=(255, 165, 0), width=2)
    draw.line([(left, top), (left, bottom), (right, bottom)], fill=(255, 255, 255))
    draw.line([(left + 310, top), (left + 310, bottom - 1)], fill=(255, 0, 0))
    panel.paste(screen, (20, 7))
    ImageDraw.Draw(panel).line(
        [(20 + left + 200, 7 + top), (20 + left + 200, 7 + bottom - 1)], fill=(255, 255, 0), width=2
    )
    return panel


def strip(pics, width):
    panel = Image.new("RGB", (width, 90))
    panel.paste(pics[426], (0, 0))
    panel.paste(stretch(pics[427], (width - 148, 90)), (74, 0))
    panel.paste(pics[428], (width - 74, 0))
    list_left = width // 2 - 253
    panel.paste((255, 255, 255), (list_left, 2, list_left + 506, 90))
    for i in range(6):
        x = list_left + 4 + i * 80
        cell = pics[448].copy() if i == 1 else Image.new("RGB", (71, 53), (90 + 20 * i, 120, 150))
        if i == 1:
            cell.paste((150, 140, 120), (2, 2, 69, 51))
        if i == 4:
            cell = pics[447]
        panel.paste(cell, (x, 8))
    for spot, picture_id in {(6, 31): 444, (39, 31): 438, (width - 69, 31): 433, (width - 36, 31): 439}.items():
        panel.paste(pics[picture_id], spot)
    return panel


def window(pics, one_shot=False):
    width, height = CLIENT
    canvas = Image.new("RGB", CLIENT, (212, 208, 200))
    column_x = width - 209
    paint_tiles(canvas, pics, column_x)
    player = Image.new("RGB", (width - 230, height - 155), (255, 255, 255))
    if one_shot:
        player.paste(
            (120, 132, 150),
            (
                (player.size[0] - 560) // 2,
                (player.size[1] - 420) // 2 + 20,
                (player.size[0] + 560) // 2,
                (player.size[1] + 420) // 2 + 20,
            ),
        )
    else:
        player.paste(pics[285], ((player.size[0] - 280) // 2, (player.size[1] - 73) // 2))
    canvas.paste(player, (21, 0))
    if one_shot:
        canvas.paste(info_panel(pics, "2024/05/17", "13:45:09", 430, False), (column_x, 0))
    else:
        canvas.paste(info_panel(pics, "2024/05/17", "13:45:09", 288, True), (column_x, 0))
    canvas.paste(config_panel(pics, 16 if not one_shot else 16, 10, one_shot), (column_x, height - 295))
    canvas.paste(console_panel(pics, width, one_shot), (0, height - 155))
    canvas.paste(strip(pics, width) if one_shot else chart(pics, width), (0, height - 90))
    return canvas


def contact_sheet(pictures, entries, width=1500):
    """Every picture with its id, grouped by where it is used; small ones at 2x."""
    from painter import font

    label_font = font("sans", 10)
    heading_font = font("sans-bold", 12)
    margin, gap, label_height = 12, 10, 14
    placed = []  # (x, y, picture, label) or (x, y, None, heading)
    x, y, row_height = margin, margin, 0
    group = None
    for entry in entries:
        if entry.used_by != group:
            group = entry.used_by
            y += row_height + (gap if placed else 0)
            placed.append((margin, y, None, group))
            x, y, row_height = margin, y + 18, 0
        picture = pictures[entry.id]
        scale = 2 if max(picture.size) <= 100 else 1
        shown = picture.resize((picture.size[0] * scale, picture.size[1] * scale), Image.NEAREST)
        label = f"{entry.id}" + (" x2" if scale == 2 else "")
        cell_width = max(shown.size[0], label_font.getlength(label))
        if x + cell_width > width - margin:
            x, y, row_height = margin, y + row_height + gap, 0
        placed.append((x, y, shown, label))
        x += int(cell_width) + gap
        row_height = max(row_height, shown.size[1] + label_height)
    sheet = Image.new("RGB", (width, y + row_height + margin), (200, 202, 206))
    draw = ImageDraw.Draw(sheet)
    for px, py, shown, text in placed:
        if shown is None:
            draw.text((px, py), text, fill=(20, 24, 30), font=heading_font)
        else:
            sheet.paste(shown, (px, py))
            draw.text((px, py + shown.size[1] + 1), text, fill=(40, 44, 52), font=label_font)
    return sheet
