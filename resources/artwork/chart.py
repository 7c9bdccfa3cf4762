"""The frame around the G-sensor chart.

The program copies its black chart bitmap to (20, 7), (width − 45) × 72, over
these pictures; the frame continues that black 2 pixels further on every side
as a rounded screen, so the bitmap's edge never shows.
"""

import palette as P
from painter import Canvas, vertical_gradient

HEIGHT = 90
SCENE_WIDTH = 400
CAP_WIDTH, TILE_WIDTH = 40, 20
CHART_LEFT, CHART_TOP, CHART_RIGHT_MARGIN, CHART_BOTTOM = 20, 7, 25, 79


def scene():
    canvas = Canvas((SCENE_WIDTH, HEIGHT))
    canvas.rows(0, HEIGHT, vertical_gradient((SCENE_WIDTH, HEIGHT), [(0, (30, 37, 48)), (1, (20, 25, 33))]))
    canvas.rows(0, 1, P.EDGE_DARK)
    right = SCENE_WIDTH - CHART_RIGHT_MARGIN
    rim = canvas.mask().rounded((CHART_LEFT - 3, CHART_TOP - 3, right + 3, CHART_BOTTOM + 3), 4)
    canvas.fill(rim, (58, 70, 88))
    screen = canvas.mask().rounded((CHART_LEFT - 2, CHART_TOP - 2, right + 2, CHART_BOTTOM + 2), 3)
    canvas.fill(screen, (0, 0, 0))
    shade = canvas.mask().rounded((CHART_LEFT - 3, CHART_TOP - 3, right + 3, CHART_TOP - 1), 2)
    canvas.fill(shade, P.EDGE_DARK, opacity=0.7)
    canvas.image.paste((0, 0, 0), (CHART_LEFT, CHART_TOP, right, CHART_BOTTOM))
    return canvas


def pictures():
    canvas = scene()
    middle = SCENE_WIDTH // 2
    return {
        359: canvas.crop((0, 0, CAP_WIDTH, HEIGHT)),
        360: canvas.crop((middle, 0, middle + TILE_WIDTH, HEIGHT)),
        361: canvas.crop((SCENE_WIDTH - CAP_WIDTH, 0, SCENE_WIDTH, HEIGHT)),
    }
