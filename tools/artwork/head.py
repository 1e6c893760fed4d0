"""Outlines, ears, hairstyles and fringes: the parts that make the shape of the head.

All outlines share the same skull (CRANIUM), so that every hairstyle, fringe, hat and
ear fits every outline; they differ from the temples down.
"""

from svgkit import (Part, FACE, SKIN, HAIR, LINE, WHITE, LW, DW, path, circle, ellipse, mirror,
                    num, EAR_Y)
from shapes import sym_path, arc

# The outline's top: the skull arc from the left temple to the right one.
TEMPLE_L = (76.0, 128.0)
TEMPLE_R = (224.0, 128.0)
SKULL_TOP = arc(74, 80, TEMPLE_R)


def _outline(segs):
    return sym_path(TEMPLE_R, segs, top=SKULL_TOP)


def outlines():
    k = 7
    jaws = [
        ("standard", [("C", (224, 196), (194, 262), (150, 262))]),
        ("round", [("C", (229, 206), (204, 262), (150, 262))]),
        ("square jaw", [("C", (224, 170), (224, 218), (219, 236)),
                        ("Q", (212, 258), (182, 260)), ("L", (150, 260))]),
        ("long", [("C", (223, 206), (194, 282), (150, 282))]),
        ("pointed chin", [("C", (224, 184), (176, 250), (150, 266))]),
        ("chubby", [("C", (238, 168), (236, 262), (150, 262))]),
        ("heart", [("C", (230, 150), (226, 196), (192, 232)),
                   ("Q", (168, 256), (150, 262))]),
        ("baby", [("C", (226, 200), (200, 250), (150, 250))]),
        ("angular", [("L", (225, 176)), ("L", (206, 232)), ("Q", (186, 258), (160, 261)),
                     ("L", (150, 261))]),
        ("double chin", [("C", (229, 204), (208, 272), (150, 272))]),
        ("long chin", [("C", (223, 188), (196, 244), (176, 262)),
                       ("Q", (164, 282), (150, 282))]),
        ("narrow", [("C", (219, 190), (186, 270), (150, 272))]),
        ("wide cheeks", [("C", (234, 150), (240, 210), (206, 244)),
                         ("Q", (182, 264), (150, 264))]),
    ]
    parts = []
    for i, (title, segs) in enumerate(jaws, 1):
        items = [path(_outline(segs), fill=SKIN, stroke=LINE, width=LW)]
        if title == "double chin":
            items.append(path("M 128 256 Q 150 266 172 256", stroke=LINE, width=DW))
        parts.append(Part(k, i, FACE, "outline: " + title, items))
    return parts


def _ear(shape):
    """Right-hand ear (on the right of the picture); mirrored for the left one."""
    y = EAR_Y
    if shape == "normal":
        outer = "M 214 %s C 226 %s 242 %s 240 %s C 238 %s 226 %s 214 %s Z" % tuple(
            num(v) for v in (y - 22, y - 30, y - 18, y + 2, y + 24, y + 28, y + 20))
        inner = "M 226 %s C 234 %s 233 %s 226 %s" % tuple(num(v) for v in (y - 12, y - 6, y + 8, y + 14))
        return [path(outer, fill=SKIN), path(inner, stroke=LINE, width=DW)]
    if shape == "small":
        outer = "M 216 %s C 226 %s 236 %s 234 %s C 232 %s 224 %s 216 %s Z" % tuple(
            num(v) for v in (y - 14, y - 20, y - 10, y + 2, y + 14, y + 18, y + 12))
        inner = "M 224 %s C 229 %s 229 %s 224 %s" % tuple(num(v) for v in (y - 6, y - 2, y + 4, y + 8))
        return [path(outer, fill=SKIN), path(inner, stroke=LINE, width=DW)]
    if shape == "big":
        outer = "M 212 %s C 230 %s 252 %s 250 %s C 248 %s 230 %s 212 %s Z" % tuple(
            num(v) for v in (y - 28, y - 42, y - 26, y + 2, y + 32, y + 38, y + 26))
        inner = "M 226 %s C 240 %s 240 %s 228 %s" % tuple(num(v) for v in (y - 18, y - 10, y + 12, y + 20))
        return [path(outer, fill=SKIN), path(inner, stroke=LINE, width=DW)]
    if shape == "pointed":
        outer = "M 214 %s L 252 %s C 246 %s 238 %s 236 %s C 234 %s 224 %s 214 %s Z" % tuple(
            num(v) for v in (y - 20, y - 44, y - 20, y + 4, y + 14, y + 26, y + 26, y + 20))
        inner = "M 226 %s L 240 %s M 226 %s C 232 %s 231 %s 226 %s" % tuple(
            num(v) for v in (y - 10, y - 28, y - 10, y - 4, y + 8, y + 14))
        return [path(outer, fill=SKIN), path(inner, stroke=LINE, width=DW)]
    if shape == "round":
        return [circle(230, y, 14, fill=SKIN),
                path("M 228 %s A 7 7 0 0 1 229 %s" % (num(y - 7), num(y + 7)),
                     stroke=LINE, width=DW)]
    if shape == "sticking out":
        outer = "M 214 %s C 232 %s 252 %s 248 %s C 246 %s 228 %s 214 %s Z" % tuple(
            num(v) for v in (y - 20, y - 40, y - 24, y + 2, y + 26, y + 30, y + 18))
        inner = "M 228 %s C 240 %s 238 %s 228 %s" % tuple(num(v) for v in (y - 14, y - 8, y + 8, y + 16))
        return [path(outer, fill=SKIN), path(inner, stroke=LINE, width=DW)]
    if shape == "long lobe":
        outer = "M 214 %s C 228 %s 242 %s 240 %s C 238 %s 236 %s 228 %s C 220 %s 216 %s 214 %s Z" % tuple(
            num(v) for v in (y - 22, y - 30, y - 18, y + 2, y + 22, y + 44, y + 46,
                             y + 46, y + 34, y + 26))
        inner = "M 226 %s C 234 %s 233 %s 226 %s" % tuple(num(v) for v in (y - 12, y - 6, y + 8, y + 14))
        return [path(outer, fill=SKIN), path(inner, stroke=LINE, width=DW)]
    raise ValueError(shape)


def ears():
    k = 6
    designs = [
        ("normal", "normal", None),
        ("small", "small", None),
        ("big", "big", None),
        ("pointed", "pointed", None),
        ("round", "round", None),
        ("hoop earrings", "normal", "hoop"),
        ("pearl studs", "normal", "stud"),
        ("sticking out", "sticking out", None),
        ("long lobes", "long lobe", None),
        ("drop earrings", "small", "drop"),
    ]
    parts = []
    for i, (title, shape, jewel) in enumerate(designs, 1):
        right = _ear(shape)
        y = EAR_Y
        if jewel == "hoop":
            right.append(circle(230, y + 33, 8, fill=None, stroke="#e0b000", width=3))
        elif jewel == "stud":
            right.append(circle(231, y + 22, 4, fill=WHITE, stroke=LINE, width=1.5))
        elif jewel == "drop":
            right.append(path("M 226 %s L 226 %s" % (num(y + 14), num(y + 24)),
                              stroke=LINE, width=1.5))
            right.append(path("M 226 %s L 232 %s L 226 %s L 220 %s Z" % tuple(
                num(v) for v in (y + 24, y + 32, y + 42, y + 32)),
                fill="#40a0e0", stroke=LINE, width=1.5))
        parts.append(Part(k, i, FACE, "ears: " + title, right + [mirror(right)]))
    return parts


def hairstyles():
    k = 3
    H = dict(fill=HAIR, stroke=LINE, width=LW)
    designs = []

    # A cap hugging the skull; the inner edge hides behind the face.
    def cap(top=34, side=84, bottom=178):
        return sym_path((150, top), [
            ("C", (150 + side * 0.8, top), (150 + side + 4, 92), (150 + side, bottom - 40)),
            ("L", (150 + side - 4, bottom)),
            ("Q", (150 + side - 12, bottom + 6), (150 + side - 18, bottom - 4)),
            ("L", (212, 120)),
            ("Q", (150, 96), (150, 96))])

    designs.append(("short", [path(cap(), **H)]))

    long_d = sym_path((150, 30), [
        ("C", (214, 30), (242, 80), (240, 150)),
        ("C", (240, 210), (252, 262), (256, 296)),
        ("L", (204, 296)),
        ("C", (208, 250), (214, 200), (212, 130)),
        ("Q", (150, 92), (150, 92))])
    designs.append(("long straight", [path(long_d, **H),
                                      path("M 236 200 Q 240 250 246 290", width=DW),
                                      path("M 64 200 Q 60 250 54 290", width=DW)]))

    bob_d = sym_path((150, 30), [
        ("C", (218, 30), (244, 84), (242, 150)),
        ("C", (242, 196), (246, 226), (238, 246)),
        ("Q", (224, 252), (210, 244)),
        ("C", (214, 200), (214, 150), (208, 120)),
        ("Q", (150, 96), (150, 96))])
    designs.append(("bob", [path(bob_d, **H)]))

    spikes = [(150, 4), (168, 30), (196, 10), (204, 42), (234, 30), (228, 66), (256, 70),
              (238, 96), (258, 118), (236, 130), (248, 160), (230, 164), (232, 182),
              (212, 130), (150, 96)]
    sd = "M " + " L ".join("%s %s" % (num(x), num(y)) for x, y in spikes) + " L " + \
        " L ".join("%s %s" % (num(300 - x), num(y)) for x, y in reversed(spikes[1:-1])) + " Z"
    designs.append(("spiky", [path(sd, **H)]))

    pony = [path(cap(top=36, side=82), **H),
            path("M 214 70 C 262 60 282 120 270 180 C 264 216 276 244 262 262 "
                 "C 254 236 238 206 240 170 C 242 130 232 96 214 90 Z", **H),
            path("M 208 66 Q 222 74 218 92", stroke=LINE, width=4),
            circle(214, 78, 7, fill="#e04060", stroke=LINE, width=DW)]
    designs.append(("ponytail", pony))

    bald = []
    side = "M 70 118 C 62 136 62 166 70 184 L 84 184 C 80 164 80 138 86 122 Z"
    bald.append(path(side, **H))
    bald.append(mirror([path(side, **H)]))
    designs.append(("bald", bald))

    tails = [path(cap(top=34, side=84), **H)]
    tail = ("M 222 96 C 262 96 284 150 278 206 C 274 240 286 262 274 288 "
            "C 258 270 240 240 240 200 C 240 160 236 126 218 116 Z")
    tails.append(path(tail, **H))
    tails.append(mirror([path(tail, **H)]))
    tails.append(circle(226, 102, 8, fill="#4080e0", stroke=LINE, width=DW))
    tails.append(circle(74, 102, 8, fill="#4080e0", stroke=LINE, width=DW))
    designs.append(("twin tails", tails))

    import math
    bumps = []
    n = 22
    for i in range(n + 1):
        a = math.radians(180 + i * 180.0 / n)
        bumps.append((150 + 112 * math.cos(a), 136 + 108 * math.sin(a)))
    designs.append(("afro", [path("M 38 140 " + " ".join(
        "A 17 17 0 0 1 %s %s" % (num(x), num(y)) for x, y in bumps) +
        " C 262 170 256 200 240 214 L 212 190 Q 150 96 88 190 L 60 214 C 44 200 38 170 38 140 Z",
        **H)]))

    bun = [path(cap(top=36, side=82), **H), circle(150, 30, 26, **H),
           path("M 134 22 Q 150 12 166 22", width=DW)]
    designs.append(("bun", bun))

    wavy = sym_path((150, 30), [
        ("C", (216, 30), (244, 84), (240, 140)),
        ("C", (256, 160), (236, 184), (252, 206)),
        ("C", (264, 226), (236, 244), (248, 262)),
        ("Q", (224, 272), (214, 246)),
        ("C", (218, 200), (214, 150), (208, 120)),
        ("Q", (150, 96), (150, 96))])
    designs.append(("wavy", [path(wavy, **H),
                             path("M 232 180 Q 242 196 236 214", width=DW),
                             path("M 68 180 Q 58 196 64 214", width=DW)]))

    mohawk = [path(cap(top=48, side=76, bottom=170), **H),
              path("M 132 52 L 126 20 L 140 30 L 142 2 L 154 24 L 162 0 L 166 28 "
                   "L 178 18 L 170 52 Z", **H)]
    designs.append(("mohawk", mohawk))

    lw = []
    # Long hair ending in rolled curls.
    body = sym_path((150, 28), [
        ("C", (218, 28), (246, 80), (244, 140)),
        ("C", (248, 190), (262, 230), (262, 256)),
        ("C", (262, 282), (228, 286), (224, 262)),
        ("C", (222, 248), (236, 244), (238, 254)),
        ("L", (212, 232)),
        ("C", (212, 190), (214, 150), (208, 120)),
        ("Q", (150, 96), (150, 96))])
    lw.append(path(body, **H))
    lw.append(path("M 238 254 C 240 266 232 272 228 264", width=DW))
    lw.append(path("M 62 254 C 60 266 68 272 72 264", width=DW))
    lw.append(path("M 236 168 Q 250 196 244 230", width=DW))
    lw.append(path("M 64 168 Q 50 196 56 230", width=DW))
    designs.append(("long curls", lw))

    braid = [path(cap(top=34, side=84), **H)]
    for x in (238, 62):
        for j in range(5):
            braid.append(ellipse(x, 184 + j * 20, 13, 12, **H))
        braid.append(path("M %s 280 L %s 296 L %s 296 Z" % (num(x - 2), num(x - 8), num(x + 6)), **H))
        braid.append(rect_band(x - 8, 272))
    designs.append(("braids", braid))

    crew = sym_path((150, 40), [
        ("C", (206, 40), (232, 88), (230, 140)),
        ("L", (226, 170)),
        ("L", (214, 160)),
        ("L", (212, 120)),
        ("Q", (150, 96), (150, 96))])
    designs.append(("crew cut", [path(crew, **H)]))

    twin_buns = [path(cap(top=36, side=82), **H),
                 circle(92, 46, 24, **H), circle(208, 46, 24, **H),
                 path("M 80 40 Q 92 30 104 40", width=DW),
                 path("M 196 40 Q 208 30 220 40", width=DW)]
    designs.append(("twin buns", twin_buns))

    return [Part(k, i, FACE, "hairstyle: " + t, items) for i, (t, items) in enumerate(designs, 1)]


def rect_band(x, y):
    """A hair tie."""
    return path("M %s %s l 16 0 l 0 7 l -16 0 Z" % (num(x), num(y)),
                fill="#e04060", stroke=LINE, width=1.5)


# Fringes: a cap over the skull and the edge of the hair on the forehead, right to left.
CAP_RX, CAP_RY, CAP_CY = 81.0, 90.0, 128.0


def _fringe(edge, side_y=150.0):
    """edge: segments from the right sideburn (229, side_y) to the left one (71, side_y)."""
    d = "M 71 %s L 69 128 %s L 231 %s L 229 %s " % (
        num(side_y), arc(CAP_RX, CAP_RY, (231, 128)), num(128), num(side_y))
    for s in edge:
        d += s[0] + " " + " ".join("%s %s" % (num(x), num(y)) for x, y in s[1:]) + " "
    return d + "Z"


def _pts(seq):
    return [("L", p) for p in seq]


def fringes():
    k = 19
    H = dict(fill=HAIR, stroke=LINE, width=LW)
    designs = []

    designs.append(("side swept", [path(_fringe([
        ("L", (224, 118)), ("Q", (210, 96), (186, 92)), ("Q", (184, 108), (176, 122)),
        ("Q", (168, 100), (150, 88)), ("Q", (148, 108), (128, 124)),
        ("Q", (124, 100), (104, 86)), ("Q", (96, 112), (76, 134)), ("L", (71, 150))]), **H),
        path("M 186 92 Q 200 72 214 70", width=DW), path("M 150 88 Q 168 66 186 58", width=DW)]))

    designs.append(("straight bangs", [path(_fringe(
        _pts([(226, 122), (206, 124), (200, 116), (180, 124), (172, 116), (150, 124),
              (142, 116), (122, 124), (114, 116), (96, 124), (74, 122), (71, 150)]),
        side_y=160), **H)]))

    designs.append(("centre part", [path(_fringe([
        ("Q", (222, 100), (186, 76)), ("Q", (164, 64), (150, 66)), ("Q", (136, 64), (114, 76)),
        ("Q", (78, 100), (71, 150))], side_y=156), **H),
        path("M 150 66 L 150 44", width=DW)]))

    designs.append(("spiky bangs", [path(_fringe(
        _pts([(222, 120), (206, 96), (198, 128), (182, 98), (168, 130), (156, 100),
              (140, 132), (130, 100), (112, 128), (104, 96), (84, 126), (78, 104),
              (71, 150)])), **H)]))

    designs.append(("swept back", [path(_fringe([
        ("Q", (216, 96), (184, 80)), ("Q", (150, 70), (116, 80)), ("Q", (84, 96), (71, 150))],
        side_y=140), **H),
        path("M 120 80 Q 130 56 150 48", width=DW), path("M 180 80 Q 170 56 150 48", width=DW),
        path("M 150 72 Q 152 56 160 46", width=DW)]))

    designs.append(("side part", [path(_fringe([
        ("L", (226, 118)), ("C", (214, 110), (196, 108), (180, 112)),
        ("C", (150, 118), (120, 110), (102, 92)), ("Q", (98, 80), (104, 70)),
        ("Q", (84, 90), (78, 124)), ("L", (71, 150))]), **H),
        path("M 104 70 Q 150 92 214 100", width=DW)]))

    designs.append(("receding", [path(_fringe([
        ("Q", (222, 90), (196, 72)), ("Q", (182, 84), (168, 70)), ("Q", (150, 82), (132, 70)),
        ("Q", (118, 84), (104, 72)), ("Q", (78, 90), (71, 150))], side_y=136), **H)]))

    shine = [path(_fringe([("Q", (150, 40), (71, 134))], side_y=134),
                  fill=SKIN, stroke=None),
             path("M 69 128 " + arc(CAP_RX - 7, CAP_RY - 8, (224, 110), 1), stroke=LINE, width=LW),
             path("M 118 62 Q 132 54 148 52", stroke=WHITE, width=5),
             path("M 160 52 L 166 52", stroke=WHITE, width=5)]
    designs.append(("bald shine", [path("M 76 128 " + arc(74, 80, (224, 128)) +
                                        " L 224 134 L 76 134 Z", fill=SKIN, stroke=None),
                                   path("M 76 128 " + arc(74, 80, (224, 128)), stroke=LINE, width=LW),
                                   path("M 116 66 Q 130 56 146 54", stroke=WHITE, width=6),
                                   path("M 158 53 L 164 53", stroke=WHITE, width=6)]))

    designs.append(("pompadour", [path(
        "M 71 150 L 69 128 C 66 80 90 40 130 30 C 150 12 196 4 214 26 C 226 40 214 50 204 48 "
        "C 226 70 232 100 231 128 L 229 150 L 224 116 C 206 98 176 96 150 100 "
        "C 120 102 96 104 78 120 Z", **H),
        path("M 130 30 C 160 26 186 36 204 48", width=DW),
        path("M 110 52 C 140 44 170 50 192 64", width=DW)]))

    designs.append(("m bangs", [path(_fringe([
        ("L", (226, 120)), ("Q", (212, 90), (188, 88)), ("Q", (170, 96), (170, 126)),
        ("Q", (164, 96), (150, 90)), ("Q", (136, 96), (130, 126)), ("Q", (130, 96), (112, 88)),
        ("Q", (88, 90), (74, 120)), ("L", (71, 150))]), **H)]))

    designs.append(("over one eye", [path(_fringe([
        ("L", (226, 118)), ("Q", (196, 96), (170, 96)), ("C", (140, 104), (120, 140), (118, 186)),
        ("Q", (108, 170), (100, 174)), ("Q", (92, 156), (88, 168)), ("Q", (80, 150), (71, 150))]),
        **H),
        path("M 170 96 C 150 100 132 124 126 160", width=DW)]))

    n = 8
    d = "M 71 150 L 69 128 " + arc(CAP_RX, CAP_RY, (231, 128)) + " L 229 150 L 226 118 "
    for i in range(n):
        x1 = 226 - (i + 1) * 19
        d += "A 10 11 0 0 1 %s 118 " % num(x1)
    d += "L 71 150 Z"
    designs.append(("curly", [path(d, **H)]))

    designs.append(("short choppy", [path(_fringe(
        _pts([(222, 102), (210, 94), (200, 104), (186, 90), (174, 100), (160, 88),
              (148, 100), (134, 88), (122, 100), (108, 90), (96, 102), (80, 98), (71, 140)]),
        side_y=140), **H)]))

    designs.append(("sidelocks", [path(
        "M 71 150 L 69 128 " + arc(CAP_RX, CAP_RY, (231, 128)) +
        " L 232 150 L 234 236 L 220 244 L 214 150 L 212 122 L 150 124 L 88 122 L 86 150 "
        "L 80 244 L 66 236 L 68 150 Z", **H),
        path("M 150 124 L 150 112 M 120 123 L 122 112 M 180 123 L 178 112", width=DW)]))

    designs.append(("seven three part", [path(_fringe([
        ("L", (226, 116)), ("C", (210, 98), (160, 90), (126, 96)),
        ("C", (112, 98), (104, 104), (100, 112)), ("Q", (96, 96), (108, 80)),
        ("Q", (82, 96), (76, 130)), ("L", (71, 150))]), **H),
        path("M 108 80 Q 160 74 222 96", width=DW)]))

    return [Part(k, i, FACE, "fringe: " + t, items) for i, (t, items) in enumerate(designs, 1)]
