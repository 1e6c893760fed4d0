"""Eyes, eyebrows, noses and mouths.

Eyes and eyebrows are drawn as the half on the right of the picture, centred
PAIR_DX right of the face's middle, and mirrored for the other half: the two halves
of a pair sit 53 pixels apart, as the programs place them.
"""

from svgkit import (Part, FACE, SKIN, LINE, WHITE, DW, SKIN_LINE, path, circle, ellipse,
                    polygon, mirror, translate, num, heart_path, star_points, CX, PAIR_DX,
                    EYE_Y, BROW_Y, NOSE_Y, MOUTH_Y)

IRIS = "#5a3418"
PUPIL = "#111111"
BROW = "#3c2414"
LIP = "#e05a5a"
MOUTH_IN = "#8a1e1e"
TONGUE = "#ff8080"
TEAR = "#80c8ff"


# Designs that reach further out than in: moved so that their box is centred on the
# half's centre, where the mirrored box of the other half lands (measured on the
# rendered pictures).
CENTRING = {
    "eye: sparkly": -3, "eye: angry": -1, "eye: with lashes": -2.5, "eye: upturned": -1.5,
    "eye: dizzy": 2.5, "eye: squeezed shut": -1,
    "eyebrow: tapered": -1, "eyebrow: raised": -1, "eyebrow: round dots": 4,
}


def pair_part(kind, file_no, title, local, y):
    """local: items drawn about (0, 0) for the right-hand half."""
    right = translate(local, CX + PAIR_DX + CENTRING.get(title, 0), y)
    return Part(kind, file_no, FACE, title, [right, mirror([right])])


def eye_designs():
    d = []
    almond = "M -18 2 C -12 -10 10 -12 18 -2 C 12 8 -10 10 -18 2 Z"
    d.append(("standard", [
        path(almond, fill=WHITE, stroke=None),
        circle(1, 0, 8, fill=IRIS, stroke=None), circle(1, 0, 4, fill=PUPIL, stroke=None),
        circle(4, -3, 2.2, fill=WHITE, stroke=None),
        path("M -19 2 C -12 -11 10 -13 19 -3", stroke=LINE, width=3.5),
        path("M -14 6 C -6 10 8 9 14 4", stroke=LINE, width=1.5)]))
    big = "M -20 0 C -20 -18 20 -18 20 0 C 20 14 -20 14 -20 0 Z"
    d.append(("big round", [
        path(big, fill=WHITE, stroke=LINE, width=DW),
        ellipse(1, 0, 11, 12, fill=IRIS, stroke=None), ellipse(1, 1, 6, 7, fill=PUPIL, stroke=None),
        circle(5, -5, 3.5, fill=WHITE, stroke=None), circle(-3, 5, 1.8, fill=WHITE, stroke=None),
        path("M -21 -1 C -20 -20 20 -20 21 -1", stroke=LINE, width=4)]))
    d.append(("narrow", [
        path("M -18 1 C -10 -5 10 -6 18 -1 C 10 4 -10 5 -18 1 Z", fill=WHITE, stroke=None),
        ellipse(1, -0.5, 4, 3.5, fill=PUPIL, stroke=None),
        path("M -19 1 C -10 -6 10 -7 19 -2", stroke=LINE, width=3.5)]))
    d.append(("sleepy", [
        path("M -18 0 C -12 10 12 10 18 0 Z", fill=WHITE, stroke=None),
        path("M -8 0 A 9 7 0 0 0 10 0 Z", fill=IRIS, stroke=None),
        path("M -3 0 A 4 4 0 0 0 5 0 Z", fill=PUPIL, stroke=None),
        path("M -19 0 L 19 0", stroke=LINE, width=4),
        path("M -16 -5 Q 0 -10 16 -5", stroke=LINE, width=1.5),
        path("M -14 6 C -6 10 8 9 14 4", stroke=LINE, width=1.5)]))
    d.append(("with lashes", [
        path(almond, fill=WHITE, stroke=None),
        circle(1, 0, 8, fill=IRIS, stroke=None), circle(1, 0, 4, fill=PUPIL, stroke=None),
        circle(4, -3, 2.2, fill=WHITE, stroke=None),
        path("M -19 2 C -12 -11 10 -13 19 -3", stroke=LINE, width=3.5),
        path("M 12 -8 L 16 -14 M 17 -5 L 23 -9 M 19 -2 L 25 -3", stroke=LINE, width=2),
        path("M -14 6 C -6 10 8 9 14 4", stroke=LINE, width=1.5)]))
    d.append(("dots", [ellipse(0, 0, 5, 7, fill=PUPIL, stroke=None),
                       circle(1.5, -3, 1.6, fill=WHITE, stroke=None)]))
    d.append(("happy closed", [path("M -15 4 Q 0 -14 15 4", stroke=LINE, width=4)]))
    d.append(("upturned", [
        path("M -18 4 C -10 -6 8 -12 20 -10 C 14 2 -6 10 -18 4 Z", fill=WHITE, stroke=None),
        circle(2, -1, 7, fill=IRIS, stroke=None), circle(2, -1, 3.5, fill=PUPIL, stroke=None),
        circle(5, -4, 2, fill=WHITE, stroke=None),
        path("M -19 4 C -10 -7 8 -13 22 -11", stroke=LINE, width=3.5),
        path("M -12 7 C -2 9 10 4 16 -2", stroke=LINE, width=1.5)]))
    d.append(("droopy", [
        path("M -18 -6 C -6 -12 12 -6 18 6 C 6 10 -10 6 -18 -6 Z", fill=WHITE, stroke=None),
        circle(0, 0, 7, fill=IRIS, stroke=None), circle(0, 0, 3.5, fill=PUPIL, stroke=None),
        circle(3, -3, 2, fill=WHITE, stroke=None),
        path("M -19 -6 C -6 -13 12 -7 20 7", stroke=LINE, width=3.5),
        path("M -12 2 C -4 8 8 9 14 7", stroke=LINE, width=1.5)]))
    d.append(("surprised", [circle(0, 0, 13, fill=WHITE, stroke=LINE, width=DW),
                            circle(0, 0, 3.5, fill=PUPIL, stroke=None)]))
    d.append(("sparkly", [
        path("M -20 0 C -20 -18 20 -18 20 0 C 20 14 -20 14 -20 0 Z", fill=WHITE, stroke=None),
        ellipse(1, 0, 12, 13, fill="#4a2a70", stroke=None),
        ellipse(1, 3, 8, 8, fill="#8a5ac0", stroke=None),
        polygon(star_points(-2, -4, 6, 2.5, 4, -90), fill=WHITE, stroke=None),
        circle(7, 6, 2, fill=WHITE, stroke=None),
        path("M -21 -1 C -20 -20 20 -20 21 -1", stroke=LINE, width=4),
        path("M 14 -12 L 20 -19 M 19 -8 L 26 -12 M 21 -3 L 28 -4", stroke=LINE, width=2)]))
    d.append(("angry", [
        path("M -16 -6 L 18 -1 C 14 8 -10 10 -16 -6 Z", fill=WHITE, stroke=None),
        circle(0, 1, 5.5, fill=PUPIL, stroke=None),
        path("M -18 -7 L 20 -1", stroke=LINE, width=4),
        path("M -12 4 C -4 9 8 8 14 4", stroke=LINE, width=1.5)]))
    d.append(("crying", [path("M -15 -2 Q 0 10 15 -2", stroke=LINE, width=4),
                         path("M -8 6 Q -14 18 -8 22 Q -2 18 -8 6 Z", fill=TEAR, stroke=LINE,
                              width=1.5),
                         path("M 10 4 L 14 10 M 4 6 L 5 12", stroke=LINE, width=2)]))
    d.append(("glaring", [
        path("M -18 0 C -10 -6 10 -6 18 0 C 10 6 -10 6 -18 0 Z", fill=WHITE, stroke=None),
        circle(0, 0, 2.5, fill=PUPIL, stroke=None),
        path("M -19 0 C -10 -7 10 -7 19 0", stroke=LINE, width=3.5),
        path("M -16 2 C -8 7 8 7 16 2", stroke=LINE, width=2)]))
    d.append(("hearts", [path(heart_path(0, 0, 13), fill="#ff4a7a", stroke=LINE, width=DW),
                         circle(-5, -5, 2.5, fill=WHITE, stroke=None)]))
    d.append(("round glint", [
        circle(0, 0, 10, fill=PUPIL, stroke=None), circle(3, -4, 3.5, fill=WHITE, stroke=None),
        circle(-4, 4, 1.5, fill=WHITE, stroke=None),
        path("M -14 -12 Q 0 -18 14 -12", stroke=LINE, width=2)]))
    return d


def eyes():
    return [pair_part(11, i, "eye: " + t, items, EYE_Y) for i, (t, items) in
            enumerate(eye_designs(), 1)]


def brow_designs():
    B = dict(fill=BROW, stroke=BROW, width=1.5)
    d = []
    d.append(("gentle arch", [path("M -18 4 C -10 -6 8 -8 18 0 C 8 -3 -8 -2 -18 4 Z", **B)]))
    d.append(("thick straight", [path("M -18 -4 L 18 -5 L 18 3 L -18 4 Z", fill=BROW,
                                      stroke=BROW, width=2)]))
    d.append(("thin arch", [path("M -17 3 C -8 -8 8 -8 18 1", stroke=BROW, width=2.5)]))
    d.append(("angry", [path("M -18 -6 L 18 6 L 16 10 L -18 0 Z", fill=BROW, stroke=BROW, width=2)]))
    d.append(("worried", [path("M -18 6 L 16 -6 L 18 -2 L -16 10 Z", fill=BROW, stroke=BROW, width=2)]))
    d.append(("bushy", [path("M -20 4 L -16 -4 L -12 0 L -8 -7 L -4 -2 L 2 -9 L 5 -3 L 11 -8 "
                             "L 13 -2 L 20 -4 L 18 4 L 10 2 L 0 3 L -10 5 Z", fill=BROW,
                             stroke=BROW, width=2)]))
    d.append(("round dots", [ellipse(-4, 0, 8, 5, fill=BROW, stroke=None)]))
    d.append(("high arch", [path("M -18 8 C -12 -10 8 -12 18 -2 C 6 -6 -8 -4 -18 8 Z", **B)]))
    d.append(("flat thin", [path("M -16 0 L 17 -1", stroke=BROW, width=2.5)]))
    d.append(("wavy", [path("M -18 2 Q -9 -8 0 0 Q 9 8 18 -2", stroke=BROW, width=3.5)]))
    d.append(("tapered", [path("M -18 2 C -12 -6 4 -8 20 -4 C 4 -2 -8 0 -18 6 Z", **B)]))
    d.append(("heavy angular", [path("M -19 4 L 4 -8 L 19 -3 L 19 2 L 4 -2 L -19 9 Z",
                                     fill=BROW, stroke=BROW, width=2)]))
    d.append(("raised", [path("M -16 -2 C -8 -10 8 -12 18 -6 C 8 -8 -6 -6 -16 2 Z", **B)]))
    d.append(("dashes", [path("M -17 2 L -8 -1", stroke=BROW, width=3),
                         path("M -4 -2 L 5 -3", stroke=BROW, width=3),
                         path("M 9 -3 L 17 -2", stroke=BROW, width=3)]))
    return d


def eyebrows():
    return [pair_part(9, i, "eyebrow: " + t, items, BROW_Y) for i, (t, items) in
            enumerate(brow_designs(), 1)]


def noses():
    k = 14
    y = NOSE_Y
    S = dict(fill=SKIN, stroke=LINE, width=DW)
    d = []
    d.append(("hook", [path("M 154 %s Q 160 %s 154 %s Q 150 %s 146 %s" % tuple(
        num(v) for v in (y - 14, y + 2, y + 8, y + 9, y + 6)), **S)]))
    d.append(("button", [circle(150, y + 2, 8, **S),
                         circle(146, y + 5, 1.6, fill=SKIN_LINE, stroke=None),
                         circle(154, y + 5, 1.6, fill=SKIN_LINE, stroke=None)]))
    d.append(("triangle", [path("M 150 %s L 158 %s L 142 %s Z" % tuple(
        num(v) for v in (y - 12, y + 8, y + 8)), **S)]))
    d.append(("nostrils", [ellipse(150, y + 2, 9, 4, fill=SKIN, stroke=None),
                           path("M 144 %s Q 146 %s 148 %s" % tuple(num(v) for v in (y + 4, y + 7, y + 4)),
                                fill=None, stroke=LINE, width=DW),
                           path("M 152 %s Q 154 %s 156 %s" % tuple(num(v) for v in (y + 4, y + 7, y + 4)),
                                fill=None, stroke=LINE, width=DW)]))
    d.append(("big round", [path("M 142 %s Q 150 %s 158 %s C 170 %s 166 %s 150 %s C 134 %s 130 %s 142 %s Z" % tuple(
        num(v) for v in (y - 4, y - 22, y - 4, y, y + 14, y + 12, y + 14, y, y - 4)), **S),
        path("M 144 %s Q 147 %s 149 %s" % tuple(num(v) for v in (y + 6, y + 9, y + 8)), stroke=LINE, width=1.5),
        path("M 151 %s Q 153 %s 156 %s" % tuple(num(v) for v in (y + 8, y + 9, y + 6)), stroke=LINE, width=1.5)]))
    d.append(("long", [path("M 151 %s L 156 %s Q 158 %s 150 %s L 146 %s" % tuple(
        num(v) for v in (y - 22, y + 4, y + 10, y + 10, y + 8)), **S)]))
    d.append(("l line", [path("M 153 %s L 147 %s L 155 %s" % tuple(num(v) for v in (y - 12, y + 6, y + 6)),
                              fill=None, stroke=LINE, width=DW)]))
    d.append(("dot", [ellipse(150, y + 2, 3.5, 2.5, fill=SKIN_LINE, stroke=None)]))
    d.append(("snub", [path("M 150 %s Q 160 %s 156 %s Q 150 %s 144 %s Q 140 %s 150 %s Z" % tuple(
        num(v) for v in (y - 6, y + 2, y + 8, y + 11, y + 8, y + 2, y - 6)), **S),
        circle(146, y + 6, 1.5, fill=LINE, stroke=None), circle(154, y + 6, 1.5, fill=LINE, stroke=None)]))
    d.append(("snout", [ellipse(150, y + 4, 12, 9, fill=SKIN, stroke=LINE, width=DW),
                      ellipse(146, y + 4, 2, 3, fill=LINE, stroke=None),
                      ellipse(154, y + 4, 2, 3, fill=LINE, stroke=None)]))
    return [Part(k, i, FACE, "nose: " + t, items) for i, (t, items) in enumerate(d, 1)]


def mouths():
    k = 13
    y = MOUTH_Y
    d = []

    def m(s):
        """A path written about (0, 0) at the mouth's place."""
        return translate(s, CX, y)

    d.append(("smile", [m([path("M -16 -2 Q 0 12 16 -2", stroke=LINE, width=3)])]))
    d.append(("laugh", [m([path("M -20 -6 L 20 -6 Q 18 18 0 20 Q -18 18 -20 -6 Z", fill=MOUTH_IN,
                                stroke=LINE, width=DW),
                           path("M -10 14 Q 0 8 10 14 Q 0 20 -10 14 Z", fill=TONGUE, stroke=None),
                           path("M -18 -6 L 18 -6 L 16 -1 L -16 -1 Z", fill=WHITE, stroke=None)])]))
    d.append(("straight", [m([path("M -14 0 L 14 0", stroke=LINE, width=3)])]))
    d.append(("frown", [m([path("M -14 6 Q 0 -6 14 6", stroke=LINE, width=3)])]))
    d.append(("oh", [m([ellipse(0, 2, 7, 9, fill=MOUTH_IN, stroke=LINE, width=DW)])]))
    d.append(("smirk", [m([path("M -14 2 Q 2 4 14 -6", stroke=LINE, width=3),
                           path("M 12 -9 Q 16 -6 15 -2", stroke=LINE, width=2)])]))
    d.append(("tongue out", [m([path("M -16 -2 Q 0 8 16 -2", stroke=LINE, width=3),
                                path("M -7 3 L 7 3 L 7 10 Q 0 18 -7 10 Z", fill=TONGUE,
                                     stroke=LINE, width=DW),
                                path("M 0 4 L 0 10", stroke="#d05050", width=1.5)])]))
    d.append(("grin", [m([path("M -20 -4 Q 0 4 20 -4 Q 16 12 0 13 Q -16 12 -20 -4 Z", fill=WHITE,
                               stroke=LINE, width=DW),
                          path("M -18 2 Q 0 8 18 2", stroke=LINE, width=1.5),
                          path("M -8 2 L -8 11 M 0 4 L 0 13 M 8 2 L 8 11", stroke=LINE, width=1.5)])]))
    d.append(("cat", [m([path("M -14 -2 Q -7 8 0 -1 Q 7 8 14 -2", stroke=LINE, width=3)])]))
    d.append(("lips", [m([path("M -16 0 Q -8 -8 0 -4 Q 8 -8 16 0 Q 8 10 0 10 Q -8 10 -16 0 Z",
                               fill=LIP, stroke=LINE, width=DW),
                          path("M -15 0 Q 0 3 15 0", stroke=LINE, width=1.5),
                          path("M -6 5 Q -2 6 0 6", stroke="#ffb0b0", width=2)])]))
    d.append(("pout", [m([path("M -8 0 Q 0 -6 8 0 Q 0 6 -8 0 Z", fill=LIP, stroke=LINE, width=DW)])]))
    d.append(("small smile", [m([path("M -8 -1 Q 0 6 8 -1", stroke=LINE, width=3)])]))
    d.append(("shout", [m([path("M -14 -8 Q 0 -12 14 -8 Q 16 12 0 20 Q -16 12 -14 -8 Z",
                                fill=MOUTH_IN, stroke=LINE, width=DW),
                           path("M -8 14 Q 0 8 8 14 Q 0 19 -8 14 Z", fill=TONGUE, stroke=None)])]))
    d.append(("wavy", [m([path("M -16 0 Q -12 -5 -8 0 Q -4 5 0 0 Q 4 -5 8 0 Q 12 5 16 0",
                               stroke=LINE, width=3)])]))
    d.append(("toothy", [m([path("M -16 -4 Q 0 10 16 -4 Z", fill=MOUTH_IN, stroke=LINE, width=DW),
                            path("M -4 -3 L -4 1 L 4 1 L 4 -3 Z", fill=WHITE, stroke=LINE, width=1)])]))
    return [Part(k, i, FACE, "mouth: " + t, items) for i, (t, items) in enumerate(d, 1)]
