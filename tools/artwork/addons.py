"""The sample add-on parts files: some new eyes and hats for trying the parts manager.

The eyes file also repeats two eyes the delivered database already has, so that a merge
shows both an added and a skipped part.
"""

import math

from svgkit import (Part, FACE, LINE, WHITE, LW, DW, path, circle, ellipse, rect, polygon,
                    star_points)
import features
import extras


def eyes():
    pairs = features.pair_part
    new = [
        (101, "star", [polygon(star_points(0, 0, 15, 6.5), fill="#ffd23c", stroke=LINE, width=DW)]),
        (102, "dizzy", [path("M 0 0 m -2 0 a 2 2 0 1 1 4 0 a 5 5 0 1 1 -9 0 a 8 8 0 1 1 15 0 "
                             "a 11 11 0 1 1 -21 0", stroke=LINE, width=2.5)]),
        (103, "cat slit", [
            path("M -18 0 C -12 -12 12 -12 18 0 C 12 12 -12 12 -18 0 Z", fill="#c8e040", stroke=LINE, width=DW),
            ellipse(0, 0, 3, 10, fill="#111111", stroke=None)]),
        (104, "squeezed shut", [path("M 12 -9 L -10 0 L 12 9", stroke=LINE, width=4)]),
    ]
    parts = [pairs(11, n, "eye: " + t, items, features.EYE_Y) for n, t, items in new]
    designs = features.eye_designs()
    for n in (2, 5):
        t, items = designs[n - 1]
        parts.append(pairs(11, n, "eye: " + t, items, features.EYE_Y))
    return parts


def hats():
    d = []
    d.append((101, "cowboy hat", [
        path("M 40 92 Q 60 70 90 84 L 210 84 Q 240 70 260 92 Q 250 106 150 106 Q 50 106 40 92 Z",
             fill="#a86a3a", stroke=LINE, width=LW),
        path("M 92 86 C 88 30 116 20 136 30 Q 150 40 164 30 C 184 20 212 30 208 86 Z",
             fill="#a86a3a", stroke=LINE, width=LW),
        path("M 94 74 Q 150 66 206 74 L 207 84 Q 150 76 93 84 Z", fill="#5a3a18", stroke=LINE, width=DW)]))
    d.append((102, "sailor cap", [
        path("M 80 96 C 76 62 100 50 150 50 C 200 50 224 62 220 96 Z", fill=WHITE, stroke=LINE, width=LW),
        rect(78, 84, 144, 16, fill="#1e2a60", stroke=LINE, width=DW),
        path("M 220 92 L 244 110 L 236 86 Z", fill="#1e2a60", stroke=LINE, width=1.5)]))
    crown = []
    for i in range(9):
        a = math.radians(200 + i * 17.5)
        x, y = 150 + 86 * math.cos(a), 104 + 40 * math.sin(a)
        colour = ["#ff80b0", "#ffd23c", "#ffffff", "#c080e0"][i % 4]
        for b in range(0, 360, 72):
            rb = math.radians(b)
            crown.append(circle(x + 7 * math.cos(rb), y + 7 * math.sin(rb), 6, fill=colour, stroke=LINE, width=1))
        crown.append(circle(x, y, 4, fill="#ffd23c", stroke=LINE, width=1))
    d.append((103, "flower crown", [path("M 66 92 Q 150 50 234 92", stroke="#3a9a48", width=6)] + crown))
    d.append((104, "viking helmet", [
        path("M 76 96 C 72 40 110 20 150 20 C 190 20 228 40 224 96 Z", fill="#a8a8b8", stroke=LINE, width=LW),
        rect(70, 86, 160, 16, fill="#8a8a98", stroke=LINE, width=DW),
        path("M 150 20 L 150 86", stroke="#8a8a98", width=6),
        path("M 78 70 C 50 60 40 30 50 4 C 60 30 70 40 90 50 Z", fill="#f8f0d8", stroke=LINE, width=DW),
        path("M 222 70 C 250 60 260 30 250 4 C 240 30 230 40 210 50 Z", fill="#f8f0d8", stroke=LINE, width=DW)]))
    parts = [Part(20, n, FACE, "hat: " + t, items) for n, t, items in d]
    t, items = extras.hat_designs()[0]
    parts.append(Part(20, 1, FACE, "hat: " + t, items))
    return parts
