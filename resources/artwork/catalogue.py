"""Every interface picture: id, file role, size, constant name, where it is used
and what it shows. The sizes here are the ones the program's layout needs; the
generator refuses a drawing of any other size. Images.rc, ImageIds.h and
IMAGES.md are written from this list."""

from dataclasses import dataclass


@dataclass(frozen=True)
class Picture:
    id: int
    role: str  # file name part: images/<id>-<role>.png
    size: tuple
    constant: str
    used_by: str
    description: str


def _digits(first_id, role_prefix, size, constant_prefix, used_by, what):
    return [
        Picture(first_id + d, f"{role_prefix}-{d}", size, f"{constant_prefix}_{d}", used_by, f"{what} '{d}'")
        for d in range(10)
    ]


MAIN = "Main window"
INFO = "Information panel"
CONSOLE = "Console panel"
BAR = "Position bar"
CONFIG = "Configuration panel"
CHART = "G-sensor chart"
STRIP = "Thumbnail strip"
LOGO = "Start-up screen, version dialog"

# fmt: off
PICTURES = [
    # Main window decoration
    Picture(218, "column-top", (209, 20), "IDB_COLUMN_TOP", MAIN, "Right column under the information panel, with a separator groove"),
    Picture(219, "column-middle", (209, 120), "IDB_COLUMN_MIDDLE", MAIN, "Right column filler, tiled downwards; every row identical"),
    Picture(220, "column-bottom", (209, 20), "IDB_COLUMN_BOTTOM", MAIN, "Right column above the configuration panel, with a separator groove"),
    Picture(284, "left-strip", (21, 480), "IDB_LEFT_STRIP", MAIN, "Strip left of the picture area, stretched to its height; every row identical"),
    Picture(285, "logo", (280, 73), "IDB_LOGO", LOGO, "Product logo: lens mark, ORVELLE wordmark, tagline; opaque, square corners"),
    # Information panel
    Picture(10026, "info-background", (209, 180), "IDB_INFO_BACKGROUND", INFO, "Panel with the title and the backlit display for date, time and kind"),
    Picture(10036, "info-title", (146, 34), "IDB_INFO_TITLE", INFO, "Lens mark and wordmark; size of the title label at (30, 15)"),
    Picture(288, "kind-auto", (117, 20), "IDB_KIND_AUTO", INFO, "Kind pill \"イベント(自動)\" with a red dot: event, detected shock"),
    Picture(286, "kind-manual", (117, 20), "IDB_KIND_MANUAL", INFO, "Kind pill \"イベント(手動)\" with an amber dot: event, recorded by hand"),
    Picture(287, "kind-none", (117, 20), "IDB_KIND_NONE", INFO, "Kind pill \"検知なし\" with a grey dot: no detection"),
    Picture(430, "kind-one-shot", (117, 20), "IDB_KIND_ONE_SHOT", INFO, "Kind pill \"ワンショット\" with a cyan dot: one-shot picture"),
    Picture(429, "kind-video", (117, 20), "IDB_KIND_VIDEO", INFO, "Kind pill \"ビデオメモリー\" with a green dot: video memory"),
    Picture(408, "indicator", (32, 32), "IDB_INDICATOR", INFO, "Pennant in a dark disc (upper 20 rows, level with the kind pill): the recording's indicator flag"),
    Picture(224, "date-slash", (9, 12), "IDB_DATE_SLASH", INFO, "Date character '/'"),
    *_digits(225, "date-digit", (9, 12), "IDB_DATE_DIGIT", INFO, "Date character"),
    Picture(235, "date-minus", (9, 12), "IDB_DATE_MINUS", INFO, "Date character '-' (no date)"),
    Picture(250, "time-minus", (21, 31), "IDB_TIME_MINUS", INFO, "Time character '-' (no time), unlit segments faintly visible"),
    *_digits(251, "time-digit", (21, 31), "IDB_TIME_DIGIT", INFO, "Time character (unlit segments faint)"),
    Picture(261, "time-colon", (21, 31), "IDB_TIME_COLON", INFO, "Time character ':'"),
    # Console panel
    Picture(223, "console-left", (250, 65), "IDB_CONSOLE_LEFT", CONSOLE, "Left end behind the buttons, with group separators"),
    Picture(221, "console-middle", (20, 65), "IDB_CONSOLE_MIDDLE", CONSOLE, "Middle, stretched across; every column identical"),
    Picture(222, "console-right", (400, 65), "IDB_CONSOLE_RIGHT", CONSOLE, "Right end with the backlit event-offset display"),
    Picture(424, "console-disabled-middle", (20, 65), "IDB_CONSOLE_DISABLED_MIDDLE", CONSOLE, "Middle in one-shot mode, stretched; every column identical"),
    Picture(425, "console-disabled-right", (74, 65), "IDB_CONSOLE_DISABLED_RIGHT", CONSOLE, "Right end in one-shot mode, without the display"),
    Picture(236, "offset-plus-minus", (12, 13), "IDB_OFFSET_PLUS_MINUS", CONSOLE, "Event-offset character '±'"),
    *_digits(237, "offset-digit", (11, 13), "IDB_OFFSET_DIGIT", CONSOLE, "Event-offset character"),
    Picture(247, "offset-point", (5, 13), "IDB_OFFSET_POINT", CONSOLE, "Event-offset character '.'"),
    Picture(248, "offset-minus", (12, 13), "IDB_OFFSET_MINUS", CONSOLE, "Event-offset character '-'"),
    Picture(249, "offset-plus", (12, 13), "IDB_OFFSET_PLUS", CONSOLE, "Event-offset character '+'"),
    Picture(10015, "play", (40, 40), "IDB_PLAY", CONSOLE, "Play button: round cyan button with a triangle"),
    Picture(10016, "play-pressed", (40, 40), "IDB_PLAY_PRESSED", CONSOLE, "Play button, pressed: darker, sunk, symbol one pixel lower"),
    Picture(10017, "play-disabled", (40, 40), "IDB_PLAY_DISABLED", CONSOLE, "Play button, disabled: grey"),
    Picture(10034, "pause", (40, 40), "IDB_PAUSE", CONSOLE, "Pause face of the play button: two bars"),
    Picture(10035, "pause-pressed", (40, 40), "IDB_PAUSE_PRESSED", CONSOLE, "Pause face, pressed"),
    Picture(10033, "pause-disabled", (40, 40), "IDB_PAUSE_DISABLED", CONSOLE, "Pause face, disabled"),
    Picture(10018, "stop", (26, 26), "IDB_STOP", CONSOLE, "Stop button: round cap with a square"),
    Picture(10019, "stop-pressed", (26, 26), "IDB_STOP_PRESSED", CONSOLE, "Stop button, pressed"),
    Picture(10020, "stop-disabled", (26, 26), "IDB_STOP_DISABLED", CONSOLE, "Stop button, disabled"),
    Picture(10009, "previous-recording", (30, 30), "IDB_PREVIOUS_RECORDING", CONSOLE, "Previous recording folder: |◀◀"),
    Picture(10010, "previous-recording-pressed", (30, 30), "IDB_PREVIOUS_RECORDING_PRESSED", CONSOLE, "Previous recording, pressed"),
    Picture(10011, "previous-recording-disabled", (30, 30), "IDB_PREVIOUS_RECORDING_DISABLED", CONSOLE, "Previous recording, disabled"),
    Picture(10012, "next-recording", (30, 30), "IDB_NEXT_RECORDING", CONSOLE, "Next recording folder: ▶▶|"),
    Picture(10013, "next-recording-pressed", (30, 30), "IDB_NEXT_RECORDING_PRESSED", CONSOLE, "Next recording, pressed"),
    Picture(10014, "next-recording-disabled", (30, 30), "IDB_NEXT_RECORDING_DISABLED", CONSOLE, "Next recording, disabled"),
    Picture(10003, "frame-back", (22, 22), "IDB_FRAME_BACK", CONSOLE, "One frame back (previous chapter in video memory): ◀|"),
    Picture(10004, "frame-back-pressed", (22, 22), "IDB_FRAME_BACK_PRESSED", CONSOLE, "Frame back, pressed"),
    Picture(10005, "frame-back-disabled", (22, 22), "IDB_FRAME_BACK_DISABLED", CONSOLE, "Frame back, disabled"),
    Picture(10006, "frame-forward", (22, 22), "IDB_FRAME_FORWARD", CONSOLE, "One frame forward (next chapter in video memory): |▶"),
    Picture(10007, "frame-forward-pressed", (22, 22), "IDB_FRAME_FORWARD_PRESSED", CONSOLE, "Frame forward, pressed"),
    Picture(10008, "frame-forward-disabled", (22, 22), "IDB_FRAME_FORWARD_DISABLED", CONSOLE, "Frame forward, disabled"),
    # Position bar
    Picture(10027, "position-track", (40, 30), "IDB_POSITION_TRACK", BAR, "Dark groove, rounded ends 6 px wide, uniform middle; right of the thumb"),
    Picture(295, "position-fill", (40, 30), "IDB_POSITION_FILL", BAR, "Cyan groove, same geometry; left of the thumb"),
    Picture(10031, "position-thumb", (13, 13), "IDB_POSITION_THUMB", BAR, "Round knob on the groove; width 13, centre column 6"),
    Picture(10029, "marker-auto", (17, 16), "IDB_MARKER_AUTO", BAR, "Red \"G\" flag under the groove, pointer in column 6: detected shock"),
    Picture(10030, "marker-manual", (17, 16), "IDB_MARKER_MANUAL", BAR, "Amber \"S\" flag under the groove, pointer in column 6: manual event"),
    # Configuration panel
    Picture(10024, "config-background", (209, 140), "IDB_CONFIG_BACKGROUND", CONFIG, "Panel with the captions 音量 and 明るさ, both slider tracks and a separator"),
    Picture(403, "volume-track", (151, 16), "IDB_VOLUME_TRACK", CONFIG, "Volume slider track: wedge from grey to cyan"),
    Picture(10001, "brightness-track", (151, 16), "IDB_BRIGHTNESS_TRACK", CONFIG, "Brightness slider track: bar from dark to bright"),
    Picture(291, "slider-thumb", (10, 16), "IDB_SLIDER_THUMB", CONFIG, "Slider thumb of both sliders: light rounded handle with a cyan grip"),
    Picture(290, "standard-volume", (17, 15), "IDB_STANDARD_VOLUME", CONFIG, "Standard-volume button: speaker with sound waves"),
    Picture(431, "standard-volume-disabled", (17, 15), "IDB_STANDARD_VOLUME_DISABLED", CONFIG, "Standard-volume button, disabled: dim speaker"),
    Picture(289, "standard-brightness", (16, 16), "IDB_STANDARD_BRIGHTNESS", CONFIG, "Standard-brightness button: sun"),
    Picture(10021, "open-folder", (102, 28), "IDB_OPEN_FOLDER", CONFIG, "Open-folder button: folder and \"フォルダを開く\""),
    Picture(10022, "open-folder-pressed", (102, 28), "IDB_OPEN_FOLDER_PRESSED", CONFIG, "Open-folder button, pressed"),
    Picture(10023, "open-folder-disabled", (102, 28), "IDB_OPEN_FOLDER_DISABLED", CONFIG, "Open-folder button, disabled"),
    # G-sensor chart
    Picture(359, "chart-left", (40, 90), "IDB_CHART_LEFT", CHART, "Left end of the frame around the black chart screen"),
    Picture(360, "chart-middle", (20, 90), "IDB_CHART_MIDDLE", CHART, "Middle of the frame, stretched across; every column identical"),
    Picture(361, "chart-right", (40, 90), "IDB_CHART_RIGHT", CHART, "Right end of the frame"),
    # Thumbnail strip
    Picture(426, "strip-left", (74, 90), "IDB_STRIP_LEFT", STRIP, "Left end behind the first and previous buttons"),
    Picture(427, "strip-middle", (20, 90), "IDB_STRIP_MIDDLE", STRIP, "Middle, stretched across; every column identical"),
    Picture(428, "strip-right", (74, 90), "IDB_STRIP_RIGHT", STRIP, "Right end behind the next and last buttons"),
    Picture(433, "strip-next", (30, 30), "IDB_STRIP_NEXT", STRIP, "Next picture: ▶"),
    Picture(434, "strip-next-pressed", (30, 30), "IDB_STRIP_NEXT_PRESSED", STRIP, "Next picture, pressed"),
    Picture(435, "strip-next-disabled", (30, 30), "IDB_STRIP_NEXT_DISABLED", STRIP, "Next picture, disabled"),
    Picture(436, "strip-previous", (30, 30), "IDB_STRIP_PREVIOUS", STRIP, "Previous picture: ◀"),
    Picture(437, "strip-previous-pressed", (30, 30), "IDB_STRIP_PREVIOUS_PRESSED", STRIP, "Previous picture, pressed"),
    Picture(438, "strip-previous-disabled", (30, 30), "IDB_STRIP_PREVIOUS_DISABLED", STRIP, "Previous picture, disabled"),
    Picture(439, "strip-last", (30, 30), "IDB_STRIP_LAST", STRIP, "Last picture: ▶|"),
    Picture(440, "strip-last-pressed", (30, 30), "IDB_STRIP_LAST_PRESSED", STRIP, "Last picture, pressed"),
    Picture(441, "strip-last-disabled", (30, 30), "IDB_STRIP_LAST_DISABLED", STRIP, "Last picture, disabled"),
    Picture(442, "strip-first", (30, 30), "IDB_STRIP_FIRST", STRIP, "First picture: |◀"),
    Picture(443, "strip-first-pressed", (30, 30), "IDB_STRIP_FIRST_PRESSED", STRIP, "First picture, pressed"),
    Picture(444, "strip-first-disabled", (30, 30), "IDB_STRIP_FIRST_DISABLED", STRIP, "First picture, disabled"),
    Picture(447, "thumbnail-placeholder", (71, 53), "IDB_THUMBNAIL_PLACEHOLDER", STRIP, "Miniature of a picture that could not be decoded: crossed-out picture"),
    Picture(448, "thumbnail-selection", (71, 53), "IDB_THUMBNAIL_SELECTION", STRIP, "Selection frame, 2 px cyan; the inside is replaced by the miniature"),
]
# fmt: on

# How sizes that the layout implies rather than states were chosen (IMAGES.md).
DERIVATIONS = {
    10036: "the title label is 146 × 34 and centres its picture",
    10015: "button size 40 × 40",
    10016: "button size",
    10017: "button size",
    10034: "button size",
    10035: "button size",
    10033: "button size",
    10018: "button size 26 × 26",
    10019: "button size",
    10020: "button size",
    10009: "button size 30 × 30",
    10010: "button size",
    10011: "button size",
    10012: "button size 30 × 30",
    10013: "button size",
    10014: "button size",
    10003: "button size 22 × 22",
    10004: "button size",
    10005: "button size",
    10006: "button size 22 × 22",
    10007: "button size",
    10008: "button size",
    10021: "button size 102 × 28",
    10022: "button size",
    10023: "button size",
    290: "button size 17 × 15",
    431: "button size",
    289: "button size 16 × 16",
    433: "button size 30 × 30",
    434: "button size",
    435: "button size",
    436: "button size",
    437: "button size",
    438: "button size",
    439: "button size",
    440: "button size",
    441: "button size",
    442: "button size",
    443: "button size",
    444: "button size",
    10027: "bar height 30 (the track is drawn at full height from the top); any width above the thumb's, 40 chosen",
    295: "as the track",
    10031: "chosen; its half (6) is the width of the track's end caps",
    10029: "chosen; drawn at y 11 of the 30-high bar, x = thumb centre − 8 + 2, so the pointer is column 6",
    10030: "as the other marker",
    403: "the slider's client size 151 × 16 (drawn at natural size)",
    10001: "the slider's client size 151 × 16",
    291: "width 10 gives thumb positions 0 … 141 on a 151-wide slider; height of the slider",
    408: "32 × 32 as given; the disc uses the upper 20 rows to line up with the kind pill",
}

ICON_ID = 294
ICON_SIZES = (16, 24, 32, 48, 256)


def file_name(picture):
    return f"{picture.id}-{picture.role}.png"
