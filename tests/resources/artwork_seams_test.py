"""The committed interface pictures join without visible seams where the program
puts them together: the program draws every picture opaque, so a button, a
character cell or a knob whose background differs from the panel under it shows
as a box, and a stretched or tiled piece that is not uniform shows as smearing.

Run: /usr/bin/python3 artwork_seams_test.py (needs PIL); CTest runs it in the native build.
"""

import unittest
from pathlib import Path

from PIL import Image

IMAGES = Path(__file__).resolve().parents[2] / "resources" / "images"


def picture(picture_id):
    found = sorted(IMAGES.glob(f"{picture_id}-*.png"))
    if len(found) != 1:
        raise AssertionError(f"expected one file for picture {picture_id}, found {found}")
    return Image.open(found[0]).convert("RGB")


def outer_ring(face):
    width, height = face.size
    ring = [(x, 0) for x in range(width)] + [(x, height - 1) for x in range(width)]
    return ring + [(0, y) for y in range(height)] + [(width - 1, y) for y in range(height)]


class Seams(unittest.TestCase):
    def assert_uniform(self, picture_id, along):
        image = picture(picture_id)
        width, height = image.size
        if along == "x":
            first = [image.getpixel((0, y)) for y in range(height)]
            for x in range(width):
                self.assertEqual([image.getpixel((x, y)) for y in range(height)], first, f"{picture_id} column {x}")
        else:
            first = [image.getpixel((x, 0)) for x in range(width)]
            for y in range(height):
                self.assertEqual([image.getpixel((x, y)) for x in range(width)], first, f"{picture_id} row {y}")

    def assert_stands_on(self, face_id, background_id, position, pixels=None):
        """The face's given pixels (its outer ring by default) equal the background under them."""
        face, background = picture(face_id), picture(background_id)
        left, top = position
        for x, y in pixels or outer_ring(face):
            self.assertEqual(face.getpixel((x, y)), background.getpixel((left + x, top + y)), f"{face_id} at {x},{y}")

    def test_stretched_and_tiled_pieces_are_uniform_along_the_stretch(self):
        for picture_id in (221, 424, 360, 427):  # stretched across
            self.assert_uniform(picture_id, "x")
        for picture_id in (284, 219):  # stretched or tiled downwards
            self.assert_uniform(picture_id, "y")

    def test_buttons_stand_on_their_panel(self):
        console = {
            (10015, 10016, 10017, 10034, 10035, 10033): (23, 11),
            (10018, 10019, 10020): (67, 18),
            (10009, 10010, 10011): (107, 17),
            (10012, 10013, 10014): (140, 17),
            (10003, 10004, 10005): (198, 22),
            (10006, 10007, 10008): (220, 22),
        }
        for faces, position in console.items():
            for face in faces:
                self.assert_stands_on(face, 223, position)
        for face in (10021, 10022, 10023):
            self.assert_stands_on(face, 10024, (57, 97))
        for face in (290, 431):
            self.assert_stands_on(face, 10024, (14, 22), [(0, 0), (16, 0), (0, 14), (16, 14)])
        self.assert_stands_on(289, 10024, (14, 56), [(0, 0), (15, 15)])
        for face, left in ((442, 6), (443, 6), (444, 6), (436, 39), (437, 39), (438, 39)):
            self.assert_stands_on(face, 426, (left, 31))
        for face, left in ((433, 74 - 69), (434, 5), (435, 5), (439, 74 - 36), (440, 38), (441, 38)):
            self.assert_stands_on(face, 428, (left, 31))

    def test_characters_join_on_the_display_they_are_drawn_on(self):
        first_and_last_column = lambda w, h: [(x, y) for y in range(h) for x in (0, w - 1)]  # noqa: E731
        for picture_id in range(224, 236):
            self.assert_stands_on(picture_id, 10026, (62, 65), first_and_last_column(9, 12))
        for picture_id in range(250, 262):
            self.assert_stands_on(picture_id, 10026, (20, 90), first_and_last_column(21, 31))
        offset_left = picture(222).size[0] - 83  # the event offset starts 83 pixels from the panel's right end
        for picture_id in range(236, 250):
            self.assert_stands_on(picture_id, 222, (offset_left, 26), [(0, y) for y in range(13)])

    def test_kind_and_indicator_stand_on_the_display(self):
        for picture_id in (288, 286, 287, 430, 429):
            for x in (30, 45):  # beside the indicator or alone
                self.assert_stands_on(picture_id, 10026, (x, 130), [(0, 0), (116, 0), (0, 19), (116, 19)])
        # the disc lines up with the pill, so it touches the top edge; the corners and the bottom are panel
        self.assert_stands_on(408, 10026, (150, 130), [(0, 0), (31, 0)] + [(x, 31) for x in range(32)])
        self.assert_stands_on(10036, 10026, (30, 15))

    def test_position_bar_pieces_share_the_panel_rows_under_the_bar(self):
        panel_rows = [picture(221).getpixel((0, 26 + y)) for y in range(30)]
        track, fill = picture(10027), picture(295)
        for y in range(12, 30):  # below the groove
            for image in (track, fill):
                self.assertEqual(image.getpixel((0, y)), panel_rows[y], f"row {y}")
        thumb = picture(10031)
        self.assertEqual(thumb.getpixel((0, 0)), panel_rows[0])
        self.assertEqual(thumb.getpixel((12, 12)), panel_rows[12])
        for marker_id in (10029, 10030):
            marker = picture(marker_id)
            for y in (0, 15):  # drawn at y 11 of the bar
                self.assertEqual(marker.getpixel((16, y)), panel_rows[11 + y], f"{marker_id} row {y}")

    def test_slider_thumb_corners_match_both_slider_tracks(self):
        thumb = picture(291)
        for track_id in (403, 10001):
            track = picture(track_id)
            for x in (0, 141):  # both ends of the travel
                self.assertEqual(thumb.getpixel((0, 0)), track.getpixel((x, 0)), f"{track_id} at {x}")
                self.assertEqual(thumb.getpixel((9, 15)), track.getpixel((x + 9, 15)), f"{track_id} at {x}")

    def test_chart_frame_is_black_under_the_chart_bitmap(self):
        left, middle, right = picture(359), picture(360), picture(361)
        for x, y in ((20, 7), (39, 78)):
            self.assertEqual(left.getpixel((x, y)), (0, 0, 0))
        self.assertEqual(middle.getpixel((0, 7)), (0, 0, 0))
        self.assertEqual(middle.getpixel((0, 78)), (0, 0, 0))
        for x, y in ((0, 7), (14, 78)):  # the bitmap ends 25 pixels before the right end
            self.assertEqual(right.getpixel((x, y)), (0, 0, 0))


if __name__ == "__main__":
    unittest.main()
