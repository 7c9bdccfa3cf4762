"""The one palette of the interface: graphite-navy surfaces, one cyan accent,
an ice-white backlit display for the read-outs, and two signal colours that
only mark the kind of event (shock red, manual amber)."""

# Surfaces
SIDEBAR = (30, 37, 48)  # right column and left strip, flat so pieces tile seamlessly
EDGE_DARK = (9, 12, 17)  # separators towards the picture area and between modules
EDGE_LIGHT = (58, 70, 88)  # the highlight beside a separator
CONSOLE_STOPS = [(0.0, (50, 61, 78)), (1.0, (27, 33, 43))]  # console and thumbnail strip bars
BEZEL = (22, 27, 35)  # frame around the chart

# Accent
ACCENT = (38, 182, 236)
ACCENT_LIGHT = (112, 214, 250)
ACCENT_DARK = (18, 112, 160)

# Symbols and text on the surfaces
INK_LIGHT = (232, 238, 245)
INK_MUTED = (140, 154, 174)
INK_DISABLED = (86, 98, 116)

# Keycaps (push buttons)
CAP_OUTLINE = (8, 11, 16)
CAP_STOPS = [(0.0, (80, 93, 114)), (1.0, (48, 57, 72))]
CAP_HIGHLIGHT = (118, 133, 156)
CAP_PRESSED_STOPS = [(0.0, (26, 32, 42)), (1.0, (38, 46, 59))]
CAP_PRESSED_SHADOW = (14, 18, 24)
CAP_DISABLED_STOPS = [(0.0, (46, 54, 67)), (1.0, (38, 45, 57))]
CAP_DISABLED_OUTLINE = (22, 27, 35)
ICON_PRESSED = ACCENT_LIGHT

# Play button (the one round accent button)
PLAY_STOPS = [(0.0, (88, 204, 246)), (1.0, (22, 140, 200))]
PLAY_PRESSED_STOPS = [(0.0, (14, 92, 134)), (1.0, (22, 120, 170))]
PLAY_DISABLED_STOPS = [(0.0, (56, 66, 82)), (1.0, (46, 54, 67))]
PLAY_OUTLINE = (6, 40, 60)

# Backlit display (date, time, event offset)
DISPLAY_STOPS = [(0.0, (226, 235, 243)), (1.0, (192, 207, 222))]
DISPLAY_INK = (14, 28, 46)
DISPLAY_GHOST = 0.09  # unlit segments: this much of the ink over the display colour
DISPLAY_RIM = (6, 9, 13)

# Signal colours (event kinds and the event markers)
SHOCK = (226, 68, 58)
MANUAL = (240, 160, 36)
NEUTRAL = (128, 140, 156)
VIDEO = (64, 190, 120)

# Thumbnails
PLACEHOLDER = (44, 52, 65)
