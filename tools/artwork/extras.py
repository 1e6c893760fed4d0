"""Wrinkles, moles, beards, option parts, glasses, hats and animal heads."""

import math

from svgkit import (Part, FACE, LINE, WHITE, LW, DW, SKIN_LINE, BLUSH, path, circle, ellipse,
                    rect, polygon, mirror, group, num, heart_path, star_points, CX, PAIR_DX,
                    EYE_Y, MOUTH_Y)

MOLE = "#4a3020"
BEARD = "#3a2616"
GOLD = "#f0c020"
EYE_R = CX + PAIR_DX   # centre of the eye on the right of the picture
EYE_L = CX - PAIR_DX


def _both(items):
    return items + [mirror(items)]


def wrinkles():
    k = 8
    W = dict(stroke=SKIN_LINE, width=DW)
    forehead = [path("M 122 %d Q 150 %d 178 %d" % (y, y - 5, y), **W) for y in (116, 124)]
    crow = [path("M 200 162 L 208 158 M 201 168 L 210 168 M 200 174 L 208 178", **W)]
    smile = [path("M 136 200 Q 126 212 130 228", **W)]
    bags = [path("M 162 184 Q 176 190 190 184", **W)]
    frown = [path("M 146 134 L 147 148 M 154 134 L 153 148", **W)]
    dimple = [path("M 128 222 Q 124 226 127 231", **W)]
    chin = [path("M 142 250 Q 150 255 158 250", **W)]
    cheek = [path("M 196 198 Q 202 206 200 214 M 190 202 Q 194 208 193 214", **W)]
    designs = [
        ("forehead", forehead),
        ("crow's feet", _both(crow)),
        ("smile lines", _both(smile)),
        ("eye bags", _both(bags) + _both([path("M 166 190 Q 176 194 186 190", **W)])),
        ("frown lines", frown),
        ("dimples", _both(dimple)),
        ("chin", chin),
        ("cheek lines", _both(cheek)),
        ("old age", forehead + _both(crow) + _both(smile) + _both(bags)),
    ]
    return [Part(k, i, FACE, "wrinkles: " + t, items) for i, (t, items) in enumerate(designs, 1)]


def moles():
    k = 15
    M = dict(fill=MOLE, stroke=None)
    freckles = []
    for x, y in ((184, 196), (192, 200), (200, 195), (188, 204), (197, 207), (204, 202)):
        freckles.append(circle(x, y, 1.6, fill="#c07a50", stroke=None))
    designs = [
        ("right cheek", [circle(194, 206, 3, **M)]),
        ("left cheek", [circle(108, 202, 3, **M)]),
        ("under right eye", [circle(190, 185, 2.6, **M)]),
        ("under left eye", [circle(110, 185, 2.6, **M)]),
        ("chin", [circle(162, 248, 3, **M)]),
        ("above the lip", [circle(168, 214, 2.6, **M)]),
        ("big", [circle(196, 212, 5, **M), path("M 197 208 Q 200 202 204 201", stroke=MOLE, width=1)]),
        ("freckles", freckles + [mirror(freckles)]),
        ("beside the nose", [circle(162, 196, 2.4, **M)]),
    ]
    return [Part(k, i, FACE, "mole: " + t, items) for i, (t, items) in enumerate(designs, 1)]


def beards():
    k = 16
    B = dict(fill=BEARD, stroke=LINE, width=DW)
    y = MOUTH_Y
    designs = []
    designs.append(("moustache", [path(
        "M 150 208 C 160 202 174 204 178 214 C 170 212 160 214 150 214 "
        "C 140 214 130 212 122 214 C 126 204 140 202 150 208 Z", **B)]))
    designs.append(("handlebar", [path(
        "M 150 208 C 162 202 176 206 182 210 C 190 214 194 206 190 202 C 198 204 198 216 188 218 "
        "C 176 220 162 214 150 214 C 138 214 124 220 112 218 C 102 216 102 204 110 202 "
        "C 106 206 110 214 118 210 C 124 206 138 202 150 208 Z", **B)]))
    # The mouth shows through the opening, whichever mouth is chosen.
    mouth_hole = " M 126 226 C 126 214 174 214 174 226 C 174 240 126 240 126 226 Z"
    designs.append(("full beard", [path(
        "M 80 176 C 82 226 104 270 150 272 C 196 270 218 226 220 176 L 212 176 "
        "C 210 200 196 212 178 214 C 170 204 160 204 150 208 C 140 204 130 204 122 214 "
        "C 104 212 90 200 88 176 Z" + mouth_hole, extra='fill-rule="evenodd"', **B)]))
    designs.append(("goatee", [path("M 138 240 Q 150 236 162 240 L 160 258 Q 150 268 140 258 Z", **B)]))
    stubble = []
    seed = 16005
    for row in range(8):
        for col in range(18):
            seed = (seed * 1103515245 + 12345) & 0x7fffffff
            jx = (seed % 1000) / 1000.0 * 4 - 2
            seed = (seed * 1103515245 + 12345) & 0x7fffffff
            jy = (seed % 1000) / 1000.0 * 4 - 2
            x = 92 + col * 7 + (row % 2) * 3.5 + jx
            yy = 204 + row * 7 + jy
            inside_jaw = ((x - 150) / 56.0) ** 2 + ((yy - 216) / 44.0) ** 2 < 1.0
            near_mouth = ((x - 150) / 26.0) ** 2 + ((yy - 227) / 13.0) ** 2 < 1.0
            if inside_jaw and not near_mouth and yy < 256:
                stubble.append(circle(x, yy, 1.1, fill=BEARD, stroke=None))
    designs.append(("stubble", stubble))
    designs.append(("chin strap", [path(
        "M 80 178 C 84 228 108 266 150 268 C 192 266 216 228 220 178 Q 217 174 214 178 "
        "C 210 222 188 258 150 260 C 112 258 90 222 86 178 Q 83 174 80 178 Z", **B)]))
    designs.append(("long drooping", [path(
        "M 150 208 C 162 202 172 206 174 212 C 178 226 180 244 182 258 L 177 258 "
        "C 174 240 170 222 164 216 C 158 214 154 214 150 214 C 146 214 142 214 136 216 "
        "C 130 222 126 240 123 258 L 118 258 C 120 244 122 226 126 212 C 128 206 138 202 150 208 Z",
        **B)]))
    designs.append(("soul patch", [path("M 145 238 L 155 238 L 150 248 Z", **B)]))
    designs.append(("moustache and goatee", [path(
        "M 150 209 C 160 204 172 206 174 214 C 166 212 158 214 150 214 C 142 214 134 212 126 214 "
        "C 128 206 140 204 150 209 Z", **B),
        path("M 140 240 Q 150 237 160 240 L 158 256 Q 150 264 142 256 Z", **B)]))
    designs.append(("white beard", [path(
        "M 78 176 C 74 236 104 294 150 296 C 196 294 226 236 222 176 L 212 176 "
        "C 210 200 196 212 178 214 C 170 204 160 204 150 208 C 140 204 130 204 122 214 "
        "C 104 212 90 200 88 176 Z" + mouth_hole, fill="#f4f4f4", stroke=LINE, width=DW,
        extra='fill-rule="evenodd"'),
        path("M 120 254 Q 126 266 122 280 M 150 262 Q 154 274 150 288 M 180 254 Q 174 266 178 280",
             stroke="#b0b0b0", width=DW)]))
    return [Part(k, i, FACE, "beard: " + t, items) for i, (t, items) in enumerate(designs, 1)]


def options():
    k = 17
    designs = []
    blush = [ellipse(194, 204, 14, 8, fill=BLUSH, stroke=None),
             path("M 186 206 L 190 200 M 193 207 L 197 201 M 200 207 L 204 201", stroke="#e06060", width=1.5)]
    designs.append(("blush", blush + [mirror(blush)]))
    designs.append(("sweat drop", [path("M 240 100 Q 228 122 232 132 Q 240 142 248 132 Q 252 122 240 100 Z",
                                        fill="#a8dcff", stroke=LINE, width=DW),
                                   path("M 236 124 Q 236 131 240 133", stroke=WHITE, width=2)]))
    vein = [group([path("M 3 -12 Q 4 -4 12 -3", stroke="#e02020", width=4)],
                  "translate(240 62) rotate(%d)" % a) for a in (0, 90, 180, 270)]
    designs.append(("anger mark", vein))
    designs.append(("plaster", [group([rect(-16, -6, 32, 12, fill="#f2c8a0", stroke=LINE, width=1.5, rx=5),
                                       rect(-6, -6, 12, 12, fill="#e6b088", stroke=None),
                                       circle(-11, -2, 0.8, fill=LINE, stroke=None),
                                       circle(11, 2, 0.8, fill=LINE, stroke=None)],
                                      "translate(194 208) rotate(-25)")]))
    tears = [path("M 170 178 Q 164 200 168 222 L 176 222 Q 174 200 180 178 Z", fill="#a8dcff",
                  stroke=LINE, width=1.5)]
    designs.append(("tears", tears + [mirror(tears)]))
    designs.append(("heart", [path(heart_path(246, 84, 16), fill="#ff5080", stroke=LINE, width=DW),
                              path(heart_path(266, 50, 9), fill="#ff5080", stroke=LINE, width=DW)]))
    sparkles = []
    for x, y, r in ((52, 86, 12), (246, 70, 14), (262, 134, 8), (40, 150, 8)):
        sparkles.append(polygon(star_points(x, y, r, r * 0.35, 4, -90), fill="#ffe040",
                                stroke=LINE, width=1.5))
    designs.append(("sparkles", sparkles))
    petals = []
    for a in range(0, 360, 72):
        rad = math.radians(a - 90)
        petals.append(circle(238 + 11 * math.cos(rad), 104 + 11 * math.sin(rad), 9,
                             fill="#ff80b0", stroke=LINE, width=1.5))
    petals.append(circle(238, 104, 6, fill="#ffe040", stroke=LINE, width=1.5))
    designs.append(("flower pin", petals))
    designs.append(("face mask", [path(
        "M 108 198 Q 150 190 192 198 L 196 236 Q 150 256 104 236 Z", fill=WHITE, stroke=LINE, width=DW),
        path("M 108 212 Q 150 206 192 212 M 106 226 Q 150 222 194 226", stroke="#c0c0c0", width=1.5),
        path("M 108 202 Q 90 196 80 186 M 192 202 Q 210 196 220 186", stroke=LINE, width=1.5),
        path("M 104 234 Q 90 228 82 212 M 196 234 Q 210 228 218 212", stroke=LINE, width=1.5)]))
    designs.append(("music notes", [
        ellipse(246, 110, 7, 5, fill=LINE, stroke=None), path("M 252 110 L 252 80 L 266 76", stroke=LINE, width=2.5),
        ellipse(264, 70, 6, 4.5, fill=LINE, stroke=None), path("M 270 70 L 270 44", stroke=LINE, width=2.5),
        ellipse(40, 96, 6, 4.5, fill=LINE, stroke=None), path("M 45 96 L 45 70 L 54 74", stroke=LINE, width=2.5)]))
    designs.append(("sleepy z", [
        path("M 236 96 L 254 96 L 236 114 L 254 114", stroke="#4060c0", width=3),
        path("M 256 66 L 270 66 L 256 80 L 270 80", stroke="#4060c0", width=2.5),
        path("M 272 42 L 282 42 L 272 52 L 282 52", stroke="#4060c0", width=2)]))
    designs.append(("surprise marks", [
        path("M 236 20 L 250 20 L 246 56 L 240 56 Z", fill="#e02020", stroke=LINE, width=1.5),
        circle(243, 66, 5, fill="#e02020", stroke=LINE, width=1.5),
        path("M 258 30 L 270 32 L 262 62 L 256 61 Z", fill="#e02020", stroke=LINE, width=1.5),
        circle(257, 71, 4.5, fill="#e02020", stroke=LINE, width=1.5)]))
    return [Part(k, i, FACE, "option: " + t, items) for i, (t, items) in enumerate(designs, 1)]


def glasses():
    k = 18
    F = LINE
    designs = []

    def temples(y=EYE_Y - 4, x_in=198, colour=F, w=3):
        return [path("M %s %s L 222 %s" % (num(x_in), num(y), num(y - 2)), stroke=colour, width=w),
                path("M %s %s L 78 %s" % (num(300 - x_in), num(y), num(y - 2)), stroke=colour, width=w)]

    designs.append(("round", temples(x_in=196) + [
        circle(EYE_R, EYE_Y, 19, stroke=F, width=3), circle(EYE_L, EYE_Y, 19, stroke=F, width=3),
        path("M 143 %s Q 150 %s 157 %s" % (num(EYE_Y - 3), num(EYE_Y - 8), num(EYE_Y - 3)), stroke=F, width=3)]))
    designs.append(("square", temples(x_in=199) + [
        rect(EYE_R - 22, EYE_Y - 14, 44, 28, stroke=F, width=4, rx=4),
        rect(EYE_L - 22, EYE_Y - 14, 44, 28, stroke=F, width=4, rx=4),
        path("M 146 %s L 154 %s" % (num(EYE_Y - 4), num(EYE_Y - 4)), stroke=F, width=4)]))
    designs.append(("half rim", temples(x_in=198, colour="#8a4a20") + [
        path("M %s %s Q %s %s %s %s" % (num(EYE_R - 21), num(EYE_Y - 4), num(EYE_R), num(EYE_Y - 16),
                                       num(EYE_R + 21), num(EYE_Y - 4)), stroke="#8a4a20", width=4),
        path("M %s %s Q %s %s %s %s" % (num(EYE_L - 21), num(EYE_Y - 4), num(EYE_L), num(EYE_Y - 16),
                                       num(EYE_L + 21), num(EYE_Y - 4)), stroke="#8a4a20", width=4),
        path("M %s %s Q %s %s %s %s" % (num(EYE_R - 21), num(EYE_Y - 4), num(EYE_R), num(EYE_Y + 22),
                                       num(EYE_R + 21), num(EYE_Y - 4)), stroke="#a0a0a0", width=1),
        path("M %s %s Q %s %s %s %s" % (num(EYE_L - 21), num(EYE_Y - 4), num(EYE_L), num(EYE_Y + 22),
                                       num(EYE_L + 21), num(EYE_Y - 4)), stroke="#a0a0a0", width=1),
        path("M 145 %s L 155 %s" % (num(EYE_Y - 6), num(EYE_Y - 6)), stroke="#8a4a20", width=3)]))
    shades = "M %s %s L %s %s Q %s %s %s %s Q %s %s %s %s Z"

    def lens(cx):
        return shades % tuple(num(v) for v in (cx - 22, EYE_Y - 12, cx + 22, EYE_Y - 12, cx + 22, EYE_Y + 14,
                                               cx, EYE_Y + 14, cx - 22, EYE_Y + 14, cx - 22, EYE_Y - 12))
    designs.append(("sunglasses", temples(x_in=200) + [
        path(lens(EYE_R), fill="#20283a", stroke=F, width=3), path(lens(EYE_L), fill="#20283a", stroke=F, width=3),
        path("M %s %s L %s %s" % (num(EYE_R - 12), num(EYE_Y - 6), num(EYE_R - 4), num(EYE_Y - 6)), stroke=WHITE, width=3),
        path("M %s %s L %s %s" % (num(EYE_L - 12), num(EYE_Y - 6), num(EYE_L - 4), num(EYE_Y - 6)), stroke=WHITE, width=3),
        path("M 146 %s L 154 %s" % (num(EYE_Y - 9), num(EYE_Y - 9)), stroke=F, width=4)]))
    designs.append(("heart shades", temples(x_in=198, colour="#e03070") + [
        path(heart_path(EYE_R, EYE_Y, 21), fill="#ff6aa0", stroke="#c01850", width=3),
        path(heart_path(EYE_L, EYE_Y, 21), fill="#ff6aa0", stroke="#c01850", width=3),
        path("M 146 %s L 154 %s" % (num(EYE_Y - 6), num(EYE_Y - 6)), stroke="#c01850", width=3)]))
    designs.append(("star party", temples(x_in=200, colour="#2060e0") + [
        polygon(star_points(EYE_R, EYE_Y, 25, 14), fill=None, stroke="#2060e0", width=4),
        polygon(star_points(EYE_L, EYE_Y, 25, 14), fill=None, stroke="#2060e0", width=4),
        path("M 147 %s L 153 %s" % (num(EYE_Y - 4), num(EYE_Y - 4)), stroke="#2060e0", width=4)]))
    designs.append(("monocle", [circle(EYE_R, EYE_Y, 20, stroke=GOLD, width=4),
                                circle(EYE_R, EYE_Y, 20, stroke=LINE, width=1),
                                path("M %s %s Q 206 230 190 262" % (num(EYE_R + 6), num(EYE_Y + 19)),
                                     stroke=GOLD, width=2)]))
    designs.append(("goggles", [
        path("M 76 158 L 100 160 M 200 160 L 224 158", stroke="#3060c0", width=8),
        ellipse(EYE_R, EYE_Y - 2, 22, 17, stroke="#3060c0", width=6),
        ellipse(EYE_L, EYE_Y - 2, 22, 17, stroke="#3060c0", width=6),
        ellipse(EYE_R, EYE_Y - 2, 25, 20, stroke=LINE, width=1.5),
        ellipse(EYE_L, EYE_Y - 2, 25, 20, stroke=LINE, width=1.5),
        path("M %s %s Q %s %s %s %s" % (num(EYE_R - 12), num(EYE_Y - 8), num(EYE_R - 6), num(EYE_Y - 14),
                                       num(EYE_R + 4), num(EYE_Y - 13)), stroke=WHITE, width=3),
        path("M %s %s Q %s %s %s %s" % (num(EYE_L - 12), num(EYE_Y - 8), num(EYE_L - 6), num(EYE_Y - 14),
                                       num(EYE_L + 4), num(EYE_Y - 13)), stroke=WHITE, width=3),
        path("M 146 %s L 154 %s" % (num(EYE_Y - 4), num(EYE_Y - 4)), stroke=LINE, width=5)]))
    designs.append(("thick taped", temples(x_in=200, w=5) + [
        rect(EYE_R - 22, EYE_Y - 15, 44, 30, stroke=F, width=6, rx=10),
        rect(EYE_L - 22, EYE_Y - 15, 44, 30, stroke=F, width=6, rx=10),
        path("M 145 %s L 155 %s" % (num(EYE_Y - 4), num(EYE_Y - 4)), stroke=F, width=6),
        rect(145, EYE_Y - 9, 10, 10, fill=WHITE, stroke=LINE, width=1.5)]))
    cat = "M %s %s Q %s %s %s %s L %s %s Q %s %s %s %s Q %s %s %s %s Z"

    def cat_lens(cx, s):
        return cat % tuple(num(v) for v in (
            cx - s * 20, EYE_Y - 6, cx, EYE_Y - 12, cx + s * 16, EYE_Y - 12,
            cx + s * 26, EYE_Y - 20, cx + s * 22, EYE_Y + 10, cx + s * 2, EYE_Y + 14,
            cx - s * 20, EYE_Y + 10, cx - s * 20, EYE_Y - 6))
    designs.append(("cat eye", temples(x_in=200, colour="#8030a0") + [
        path(cat_lens(EYE_R, 1), stroke="#8030a0", width=4), path(cat_lens(EYE_L, -1), stroke="#8030a0", width=4),
        path("M 146 %s L 154 %s" % (num(EYE_Y - 5), num(EYE_Y - 5)), stroke="#8030a0", width=3)]))
    designs.append(("3d glasses", temples(x_in=200, colour=WHITE, w=5) + temples(x_in=200, colour=LINE, w=1) + [
        rect(100, EYE_Y - 15, 100, 30, fill=WHITE, stroke=LINE, width=DW, rx=3),
        rect(EYE_L - 18, EYE_Y - 10, 36, 20, fill="#e83030", stroke=LINE, width=1.5, rx=2),
        rect(EYE_R - 18, EYE_Y - 10, 36, 20, fill="#3080f0", stroke=LINE, width=1.5, rx=2)]))
    return [Part(k, i, FACE, "glasses: " + t, items) for i, (t, items) in enumerate(designs, 1)]


def hats():
    return [Part(20, i, FACE, "hat: " + t, items) for i, (t, items) in enumerate(hat_designs(), 1)]


def hat_designs():
    d = []
    red = "#e03030"
    d.append(("baseball cap", [
        path("M 66 100 C 62 40 104 18 150 18 C 196 18 238 40 234 100 Z", fill=red, stroke=LINE, width=LW),
        path("M 64 98 Q 150 84 236 98 Q 248 112 230 116 Q 150 100 70 116 Q 52 112 64 98 Z",
             fill="#b01818", stroke=LINE, width=LW),
        path("M 150 18 L 150 92 M 104 28 Q 96 60 100 94 M 196 28 Q 204 60 200 94", stroke=LINE, width=DW),
        circle(150, 18, 5, fill="#b01818", stroke=LINE, width=DW),
        polygon(star_points(150, 58, 13, 5.5), fill=WHITE, stroke=LINE, width=DW)]))
    d.append(("knit beanie", [
        path("M 68 92 C 62 36 104 20 150 20 C 196 20 238 36 232 92 Z", fill="#3c8c5c", stroke=LINE, width=LW),
        path(" ".join("M %d 30 Q %d 60 %d 86" % (x, x + (x - 150) // 8, x + (x - 150) // 6)
                      for x in range(102, 200, 16)), stroke="#2e7048", width=DW),
        rect(62, 84, 176, 24, fill="#2e7048", stroke=LINE, width=LW, rx=8),
        path(" ".join("M %d 88 L %d 104" % (x, x) for x in range(74, 230, 12)), stroke="#1e5034", width=DW),
        circle(150, 18, 14, fill=WHITE, stroke=LINE, width=DW)]))
    d.append(("top hat", [
        rect(96, 2, 108, 74, fill="#222232", stroke=LINE, width=LW, rx=4),
        rect(96, 56, 108, 14, fill="#c03040", stroke=LINE, width=DW),
        ellipse(150, 78, 82, 12, fill="#222232", stroke=LINE, width=LW),
        path("M 108 10 L 108 50", stroke="#505068", width=4)]))
    d.append(("straw hat", [
        ellipse(150, 82, 128, 24, fill="#f2d36b", stroke=LINE, width=LW),
        path("M 84 80 C 80 28 114 14 150 14 C 186 14 220 28 216 80 Z", fill="#f2d36b", stroke=LINE, width=LW),
        path("M 86 66 Q 150 58 214 66 L 215 80 Q 150 72 85 80 Z", fill="#d02828", stroke=LINE, width=DW),
        path("M 40 76 Q 150 96 260 76", stroke="#c8a040", width=DW),
        path("M 104 30 Q 150 24 196 30", stroke="#c8a040", width=DW)]))
    d.append(("beret", [
        path("M 60 96 C 44 60 90 26 150 24 C 210 22 262 52 246 84 C 240 96 226 100 214 98 "
             "Q 150 88 76 102 Z", fill="#3a4aa0", stroke=LINE, width=LW),
        path("M 74 100 Q 150 84 216 98", stroke=LINE, width=DW),
        path("M 150 24 L 156 10", stroke=LINE, width=4)]))
    party = [path("M 150 0 L 194 78 Q 150 92 106 78 Z", fill="#ffd23c", stroke=LINE, width=LW),
             path("M 136 26 Q 150 32 163 24 M 124 48 Q 150 56 176 46 M 112 70 Q 150 80 188 70",
                  stroke="#e03c8c", width=6),
             circle(150, 4, 8, fill="#e03c8c", stroke=LINE, width=DW)]
    d.append(("party hat", party))
    d.append(("crown", [
        path("M 90 88 L 84 34 L 112 58 L 130 22 L 150 52 L 170 22 L 188 58 L 216 34 L 210 88 Z",
             fill=GOLD, stroke=LINE, width=LW),
        rect(88, 76, 124, 14, fill="#e0a800", stroke=LINE, width=DW),
        circle(150, 83, 5, fill="#e02040", stroke=LINE, width=1.5),
        circle(118, 83, 4, fill="#2080e0", stroke=LINE, width=1.5),
        circle(182, 83, 4, fill="#20b060", stroke=LINE, width=1.5),
        circle(130, 22, 4, fill=WHITE, stroke=LINE, width=1.5), circle(170, 22, 4, fill=WHITE, stroke=LINE, width=1.5),
        circle(84, 34, 4, fill=WHITE, stroke=LINE, width=1.5), circle(216, 34, 4, fill=WHITE, stroke=LINE, width=1.5)]))
    d.append(("witch hat", [
        ellipse(150, 88, 116, 16, fill="#3a2a5a", stroke=LINE, width=LW),
        path("M 96 86 C 110 60 130 30 164 4 C 170 14 168 24 176 30 C 190 50 200 66 204 86 Z",
             fill="#3a2a5a", stroke=LINE, width=LW),
        path("M 100 74 Q 150 66 201 74 L 203 84 Q 150 76 98 84 Z", fill="#8a50c0", stroke=LINE, width=DW),
        rect(142, 70, 14, 14, fill="#ffd23c", stroke=LINE, width=1.5)]))
    d.append(("hard hat", [
        path("M 72 94 C 70 36 104 14 150 14 C 196 14 230 36 228 94 Z", fill="#ffd000", stroke=LINE, width=LW),
        path("M 58 92 L 242 92 Q 246 104 234 104 L 66 104 Q 54 104 58 92 Z", fill="#ffd000", stroke=LINE, width=LW),
        path("M 140 16 L 140 92 M 160 16 L 160 92", stroke=LINE, width=DW),
        rect(132, 50, 36, 20, fill="#20a050", stroke=LINE, width=1.5, rx=3),
        path("M 150 54 L 150 66 M 144 60 L 156 60", stroke=WHITE, width=3)]))
    d.append(("chef hat", [
        path("M 96 88 L 92 54 C 64 48 66 12 100 16 C 110 0 136 2 150 14 C 164 2 190 0 200 16 "
             "C 234 12 236 48 208 54 L 204 88 Z", fill=WHITE, stroke=LINE, width=LW),
        rect(94, 70, 112, 22, fill=WHITE, stroke=LINE, width=LW, rx=3),
        path("M 120 44 L 122 70 M 150 36 L 150 70 M 180 44 L 178 70", stroke="#c8c8c8", width=DW)]))
    d.append(("graduation cap", [
        path("M 96 94 L 98 58 Q 150 50 202 58 L 204 94 Q 150 84 96 94 Z", fill="#222232", stroke=LINE, width=LW),
        polygon([(150, 20), (250, 44), (150, 68), (50, 44)], fill="#222232", stroke=LINE, width=LW),
        path("M 150 44 L 232 50 L 236 88", stroke="#ffd23c", width=3),
        path("M 232 86 L 240 104 L 228 104 Z", fill="#ffd23c", stroke=LINE, width=1.5),
        circle(150, 44, 5, fill="#ffd23c", stroke=LINE, width=1.5)]))
    d.append(("santa hat", [
        path("M 70 92 C 68 40 110 10 160 14 C 200 18 236 40 250 84 C 238 72 224 62 214 66 "
             "C 224 76 228 86 230 92 Z", fill="#e02828", stroke=LINE, width=LW),
        rect(60, 82, 180, 26, fill=WHITE, stroke=LINE, width=LW, rx=13),
        circle(254, 92, 14, fill=WHITE, stroke=LINE, width=DW)]))
    return d


# The opening of hoods and manes: a little inside every outline, so no gap shows.
HOOD_HOLE = ("M 150 92 C 100 92 80 126 82 172 C 84 222 112 256 150 258 "
             "C 188 256 216 222 218 172 C 220 126 200 92 150 92 Z")


def animal_heads():
    k = 21
    d = []
    pink = "#ffb0c8"

    def pair_items(items):
        return items + [mirror(items)]

    d.append(("cat ears", pair_items([
        path("M 186 60 L 226 18 L 232 84 Z", fill="#505050", stroke=LINE, width=LW),
        path("M 198 60 L 222 34 L 224 72 Z", fill=pink, stroke=None)])))
    d.append(("bunny ears", pair_items([
        path("M 168 52 C 158 26 166 2 180 4 C 196 6 200 34 190 58 Z", fill=WHITE, stroke=LINE, width=LW),
        path("M 174 46 C 168 28 172 14 180 14 C 190 16 192 34 186 50 Z", fill=pink, stroke=None)]) + [
        path("M 88 50 Q 150 30 212 50", stroke="#e04080", width=6)]))
    d.append(("bear ears", pair_items([
        circle(206, 50, 24, fill="#8a5a32", stroke=LINE, width=LW),
        circle(206, 50, 12, fill="#d8a878", stroke=None)])))
    d.append(("floppy dog ears", pair_items([
        path("M 196 50 C 240 36 262 70 256 128 C 252 160 236 176 224 164 C 218 130 214 90 200 70 Z",
             fill="#a86a3a", stroke=LINE, width=LW),
        path("M 214 74 Q 236 100 236 148", stroke="#804a22", width=DW)])))
    d.append(("fox ears", pair_items([
        path("M 180 56 L 228 4 L 236 84 Z", fill="#f08a30", stroke=LINE, width=LW),
        path("M 222 14 L 228 4 L 230 30 L 220 20 Z", fill=WHITE, stroke=None),
        path("M 196 56 L 224 26 L 228 72 Z", fill="#ffe0c0", stroke=None)])))
    d.append(("mouse ears", pair_items([
        circle(214, 46, 34, fill="#a0a0a8", stroke=LINE, width=LW),
        circle(214, 46, 20, fill=pink, stroke=None)])))

    def hood(colour, ears, extra=None, rim=None):
        items = ears[:] if ears else []
        ring = ("M 150 22 C 224 22 262 90 258 170 C 256 226 234 274 150 282 "
                "C 66 274 44 226 42 170 C 38 90 76 22 150 22 Z " + HOOD_HOLE)
        items.append(path(ring, fill=colour, stroke=LINE, width=LW, extra='fill-rule="evenodd"'))
        if rim:
            items.append(path(HOOD_HOLE, stroke=rim, width=5))
        if extra:
            items += extra
        return items

    d.append(("panda hood", hood(WHITE, pair_items([circle(220, 40, 24, fill="#222222", stroke=LINE, width=LW)]))))
    d.append(("frog hood", hood("#58b848", pair_items([
        circle(196, 30, 24, fill="#58b848", stroke=LINE, width=LW),
        circle(196, 28, 13, fill=WHITE, stroke=LINE, width=DW),
        circle(198, 28, 6, fill="#222222", stroke=None)]))))
    tiger_stripes = pair_items([path("M 252 130 L 232 136 L 252 144", stroke="#222222", width=5),
                                path("M 256 178 L 236 182 L 254 192", stroke="#222222", width=5),
                                path("M 180 26 L 178 46 L 170 28", stroke="#222222", width=4)])
    d.append(("tiger hood", hood("#f0a020", pair_items([
        circle(214, 40, 22, fill="#f0a020", stroke=LINE, width=LW),
        circle(214, 42, 10, fill=WHITE, stroke=None)]), tiger_stripes)))
    mane = []
    n = 24
    pts = []
    for i in range(n):
        a = math.radians(i * 360.0 / n - 90)
        r = 128 if i % 2 == 0 else 104
        pts.append((150 + r * math.cos(a), 162 + r * 1.02 * math.sin(a)))
    outer = "M " + " L ".join("%s %s" % (num(x), num(y)) for x, y in pts) + " Z"
    inner = HOOD_HOLE
    mane.append(path(outer + " " + inner, fill="#c07020", stroke=LINE, width=LW, extra='fill-rule="evenodd"'))
    mane += pair_items([circle(206, 62, 14, fill="#e0a040", stroke=LINE, width=DW)])
    d.append(("lion mane", mane))
    return [Part(k, i, FACE, "animal head: " + t, items) for i, (t, items) in enumerate(d, 1)]
