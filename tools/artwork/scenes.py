"""Backgrounds and speech balloons, on the wide 575 x 395 canvas.

Background numbers follow the sub-category ranges of the background list (space
1601-1700, rubble 1701-1750, future 1751-1800, seasons 1801-2000, sports 2001-3000,
landscape 3001-4000, events 4001-5000, shops 5001-6000, constellations 6001-7000,
other 7001-8000, animals 8001-9000, new year 9001-9999).
"""

import math

from svgkit import (Part, WIDE, LINE, WHITE, LW, DW, path, circle, ellipse, rect, polygon,
                    line, group, num, star_points, heart_path)

W, H = WIDE


class Rand:
    """A small deterministic generator, so that scattered details never move."""

    def __init__(self, seed):
        self.s = seed & 0x7fffffff

    def next(self):
        self.s = (self.s * 1103515245 + 12345) & 0x7fffffff
        return self.s / float(0x7fffffff)

    def uniform(self, a, b):
        return a + (b - a) * self.next()


def sky(colour, ground=None, ground_y=300):
    items = [rect(0, 0, W, H, fill=colour, stroke=None)]
    if ground:
        items.append(rect(0, ground_y, W, H - ground_y, fill=ground, stroke=None))
    return items


def stars(seed, n, y_max=H, colour="#fff6c0", big=3.0):
    r = Rand(seed)
    out = []
    for _ in range(n):
        x, y = r.uniform(4, W - 4), r.uniform(4, y_max)
        s = r.uniform(1.0, big)
        if s > big * 0.75:
            out.append(polygon(star_points(x, y, s * 2.2, s * 0.8, 4), fill=colour, stroke=None))
        else:
            out.append(circle(x, y, s * 0.7, fill=colour, stroke=None))
    return out


def cloud(x, y, s=1.0, fill=WHITE):
    d = ("M %s %s " % (num(x - 40 * s), num(y + 10 * s)) +
         "A %s %s 0 0 1 %s %s " % (num(18 * s), num(18 * s), num(x - 18 * s), num(y - 10 * s)) +
         "A %s %s 0 0 1 %s %s " % (num(24 * s), num(24 * s), num(x + 18 * s), num(y - 12 * s)) +
         "A %s %s 0 0 1 %s %s Z" % (num(20 * s), num(20 * s), num(x + 40 * s), num(y + 10 * s)))
    return path(d, fill=fill, stroke=LINE, width=DW)


def tree(x, y, s=1.0, leaves="#3a9a48", trunk="#7a4a22"):
    return [rect(x - 6 * s, y - 40 * s, 12 * s, 40 * s, fill=trunk, stroke=LINE, width=DW),
            circle(x, y - 62 * s, 30 * s, fill=leaves, stroke=LINE, width=DW),
            circle(x - 20 * s, y - 46 * s, 20 * s, fill=leaves, stroke=LINE, width=DW),
            circle(x + 20 * s, y - 46 * s, 20 * s, fill=leaves, stroke=LINE, width=DW)]


def flower(x, y, r, petal, centre="#ffd23c"):
    out = []
    for a in range(0, 360, 72):
        rad = math.radians(a - 90)
        out.append(circle(x + r * math.cos(rad), y + r * math.sin(rad), r * 0.8, fill=petal, stroke=LINE, width=1.5))
    out.append(circle(x, y, r * 0.6, fill=centre, stroke=LINE, width=1.5))
    return out


def mountain(points, fill, snow=None):
    out = [polygon(points, fill=fill, stroke=LINE, width=DW)]
    if snow:
        out.append(polygon(snow, fill=WHITE, stroke=LINE, width=DW))
    return out


def waves(y, colour, amp=8, step=40):
    d = "M 0 %s " % num(y)
    x = 0
    while x < W:
        d += "Q %s %s %s %s " % (num(x + step / 2), num(y - amp), num(x + step), num(y))
        x += step
    d += "L %d %d L 0 %d Z" % (W, H, H)
    return path(d, fill=colour, stroke=LINE, width=DW)


def backgrounds():
    k = 1
    d = []

    # Space.
    cx, cy = 440, 290
    d.append((1601, "planets", sky("#141a40") + stars(1601, 90) + [
        ellipse(cx, cy, 92, 22, fill=None, stroke="#e8c070", width=8),
        circle(cx, cy, 52, fill="#e89048", stroke=LINE, width=LW),
        path("M %d %d Q %d %d %d %d M %d %d Q %d %d %d %d" % (cx - 44, cy - 24, cx, cy - 12, cx + 46, cy - 24,
                                                          cx - 50, cy + 8, cx, cy + 20, cx + 52, cy + 8),
             stroke="#c06828", width=6),
        path("M %d %d A 92 22 0 0 0 %d %d" % (cx - 92, cy, cx + 92, cy), stroke="#e8c070", width=8),
        circle(330, 90, 30, fill="#c8c8d8", stroke=LINE, width=DW),
        circle(320, 82, 7, fill="#a8a8b8", stroke=None), circle(340, 100, 5, fill="#a8a8b8", stroke=None),
        circle(540, 60, 14, fill="#60a0e0", stroke=LINE, width=DW)]))
    d.append((1602, "moon base", sky("#0c0c24") + stars(1602, 70, 260) + [
        circle(470, 90, 46, fill="#3c8ce0", stroke=LINE, width=LW),
        path("M 440 70 Q 460 60 470 80 Q 490 96 480 116 Q 460 120 450 104 Z", fill="#48b050", stroke=None),
        path("M 0 300 Q 140 270 290 296 Q 430 318 575 286 L 575 395 L 0 395 Z", fill="#b8b8c4", stroke=LINE, width=LW),
        ellipse(120, 340, 36, 10, fill="#9898a8", stroke=LINE, width=1.5),
        ellipse(440, 350, 50, 12, fill="#9898a8", stroke=LINE, width=1.5),
        path("M 330 280 L 318 200 Q 330 160 342 200 L 330 280 Z", fill=WHITE, stroke=LINE, width=DW),
        path("M 320 262 L 306 288 L 324 280 Z M 340 262 L 354 288 L 336 280 Z", fill="#e02828", stroke=LINE, width=1.5),
        circle(330, 214, 6, fill="#60a0e0", stroke=LINE, width=1.5)]))

    # Rubble.
    blocks = []
    r = Rand(1701)
    for i in range(26):
        x = r.uniform(-20, W)
        y = r.uniform(250, 360)
        w, h = r.uniform(40, 90), r.uniform(24, 50)
        a = r.uniform(-25, 25)
        shade = ["#9a9aa0", "#86868e", "#b0b0b4", "#7a7a82"][i % 4]
        blocks.append(group([rect(-w / 2, -h / 2, w, h, fill=shade, stroke=LINE, width=DW)],
                            "translate(%s %s) rotate(%s)" % (num(x), num(y), num(a))))
    d.append((1701, "rubble", sky("#c8c0b0") + [
        path("M 0 290 Q 120 230 260 270 Q 400 220 575 260 L 575 395 L 0 395 Z", fill="#8a8070", stroke=LINE, width=DW)]
        + blocks + [path("M 200 250 L 230 160 M 214 210 L 244 190 M 420 260 L 440 170", stroke="#5a3a28", width=4)]))
    wall = []
    for row in range(9):
        y = 140 + row * 22
        off = 0 if row % 2 == 0 else 24
        for col in range(-1, 13):
            x = col * 48 + off
            top_cut = 160 + 60 * math.sin((x + 30) / 90.0)
            if y < top_cut:
                continue
            wall.append(rect(x, y, 46, 20, fill="#b85a3a", stroke="#6a2a18", width=1.5))
    d.append((1702, "broken wall", sky("#e0d0b8") + wall + [
        path("M 0 340 Q 150 310 300 340 Q 450 360 575 330 L 575 395 L 0 395 Z", fill="#9a7a5a", stroke=LINE, width=DW),
        group([rect(-24, -10, 48, 20, fill="#b85a3a", stroke="#6a2a18", width=1.5)], "translate(120 350) rotate(20)"),
        group([rect(-24, -10, 48, 20, fill="#b85a3a", stroke="#6a2a18", width=1.5)], "translate(460 360) rotate(-15)"),
        group([rect(-24, -10, 48, 20, fill="#b85a3a", stroke="#6a2a18", width=1.5)], "translate(300 372) rotate(8)")]))

    # Future.
    towers = []
    for x, w, h, c in ((20, 60, 220, "#6a5ac8"), (90, 44, 300, "#5a8ad8"), (150, 70, 180, "#8a6ad8"),
                       (240, 50, 260, "#4aa0c8"), (310, 80, 320, "#6a5ac8"), (410, 56, 240, "#5a8ad8"),
                       (480, 76, 290, "#8a6ad8")):
        towers.append(path("M %d 395 L %d %d Q %s %d %d %d L %d 395 Z" % (
            x, x, 395 - h, num(x + w / 2), 395 - h - w // 2, x + w, 395 - h, x + w),
            fill=c, stroke=LINE, width=DW))
        for yy in range(395 - h + 20, 390, 26):
            towers.append(rect(x + 10, yy, w - 20, 8, fill="#c8f0ff", stroke=None))
    d.append((1751, "future city", sky("#2a1a5a") + stars(1751, 30, 120) + towers + [
        path("M 0 200 Q 290 140 575 210", stroke="#c8f0ff", width=10),
        path("M 0 200 Q 290 140 575 210", stroke=LINE, width=1.5),
        ellipse(150, 80, 28, 10, fill="#ff6aa0", stroke=LINE, width=DW), ellipse(150, 74, 12, 8, fill="#c8f0ff", stroke=LINE, width=1.5),
        ellipse(420, 110, 24, 8, fill="#ffd23c", stroke=LINE, width=DW), ellipse(420, 105, 10, 6, fill="#c8f0ff", stroke=LINE, width=1.5)]))
    d.append((1752, "domes and monorail", sky("#ff9a6a") + [
        circle(460, 110, 40, fill="#ffe8a0", stroke=None),
        path("M 0 330 L 575 330 L 575 395 L 0 395 Z", fill="#6a6a8a", stroke=LINE, width=DW),
        path("M 40 330 A 90 90 0 0 1 220 330 Z", fill="#bfe6ff", stroke=LINE, width=LW),
        path("M 60 300 Q 130 260 200 300 M 130 240 L 130 330", stroke="#80b0d0", width=DW),
        path("M 330 330 A 60 60 0 0 1 450 330 Z", fill="#bfe6ff", stroke=LINE, width=LW),
        rect(0, 206, W, 12, fill="#d8d8e8", stroke=LINE, width=DW),
        rect(240, 174, 170, 30, fill=WHITE, stroke=LINE, width=DW, rx=15),
        rect(256, 182, 138, 10, fill="#4aa0c8", stroke=None),
        path("M 80 218 L 80 330 M 300 218 L 300 330 M 520 218 L 520 330", stroke="#a8a8c0", width=8)]))

    # Seasons.
    sakura = []
    for x, y in ((80, 260), (250, 230), (470, 250)):
        sakura += [rect(x - 8, y - 10, 16, 300 - y + 10, fill="#6a4028", stroke=LINE, width=DW),
                   circle(x, y - 50, 52, fill="#ffc0d8", stroke=LINE, width=DW),
                   circle(x - 40, y - 20, 34, fill="#ffb0cc", stroke=LINE, width=DW),
                   circle(x + 40, y - 24, 36, fill="#ffc8dc", stroke=LINE, width=DW)]
    r = Rand(1801)
    petals = [ellipse(r.uniform(0, W), r.uniform(0, H), 4, 2.5, fill="#ff90b8", stroke=None) for _ in range(40)]
    d.append((1801, "spring", sky("#bfe6ff", "#8ad06a", 300) + sakura + petals))
    d.append((1802, "summer beach", sky("#7ac8ff") + [
        circle(480, 70, 38, fill="#ffd23c", stroke=LINE, width=DW),
        rect(0, 200, W, 110, fill="#2a8ae0", stroke=None),
        path("M 0 200 L 575 200", stroke=LINE, width=DW),
        path("M 0 300 Q 200 280 575 310 L 575 395 L 0 395 Z", fill="#f8e0a0", stroke=LINE, width=DW),
        path("M 90 330 L 110 180", stroke="#7a4a22", width=10),
        path("M 110 180 Q 60 160 30 200 M 110 180 Q 150 150 190 190 M 110 180 Q 100 130 60 130 "
             "M 110 180 Q 140 140 170 140", stroke="#3a9a48", width=12),
        path("M 420 340 L 440 250", stroke="#c0c0c0", width=4),
        path("M 380 262 Q 440 210 500 250 Z", fill="#ff5a5a", stroke=LINE, width=DW),
        path("M 40 240 Q 60 232 80 240 M 300 230 Q 320 222 340 230", stroke=WHITE, width=3)]))
    maples = []
    for x, y, c in ((90, 300, "#e8502a"), (300, 290, "#f0a020"), (500, 300, "#d83a2a")):
        maples += tree(x, y, 1.6, leaves=c)
    r = Rand(1803)
    leaves = [polygon(star_points(r.uniform(0, W), r.uniform(0, 330), 7, 3), fill=["#e8502a", "#f0a020"][i % 2],
                      stroke="#8a2a10", width=1) for i in range(26)]
    d.append((1803, "autumn", sky("#ffe0a8", "#c89040", 300) + maples + leaves))
    r = Rand(1804)
    flakes = [circle(r.uniform(0, W), r.uniform(0, 300), r.uniform(2, 4), fill=WHITE, stroke=None) for _ in range(60)]
    d.append((1804, "winter", sky("#a8b8d8") + [
        path("M 0 280 Q 150 250 300 280 Q 450 300 575 270 L 575 395 L 0 395 Z", fill=WHITE, stroke=LINE, width=DW)]
        + tree(80, 290, 1.4, leaves="#2e7a48") + [
        path("M 52 210 Q 80 196 108 210", stroke=WHITE, width=8),
        circle(470, 300, 40, fill=WHITE, stroke=LINE, width=DW), circle(470, 236, 28, fill=WHITE, stroke=LINE, width=DW),
        circle(462, 230, 3, fill=LINE, stroke=None), circle(478, 230, 3, fill=LINE, stroke=None),
        path("M 470 238 L 486 242 L 470 244 Z", fill="#f07820", stroke=None),
        path("M 446 258 Q 470 268 494 258", stroke="#e02828", width=6),
        rect(452, 196, 36, 16, fill="#222232", stroke=LINE, width=1.5)] + flakes))

    # Sports.
    d.append((2001, "football pitch", sky("#8ad0ff", "#4ab050", 200) + [
        path("M 0 200 L 575 200", stroke=WHITE, width=4),
        ellipse(288, 300, 110, 40, fill=None, stroke=WHITE, width=4),
        path("M 288 200 L 288 395", stroke=WHITE, width=4),
        rect(40, 110, 150, 90, fill=None, stroke=WHITE, width=6),
        path(" ".join("M %d 110 L %d 200" % (x, x) for x in range(55, 190, 15)) + " " +
             " ".join("M 40 %d L 190 %d" % (y, y) for y in range(125, 200, 15)), stroke="#d8d8d8", width=1),
        circle(470, 330, 18, fill=WHITE, stroke=LINE, width=DW),
        polygon([(470, 322), (478, 328), (475, 337), (465, 337), (462, 328)], fill=LINE, stroke=None)]))
    d.append((2002, "baseball field", sky("#8ad0ff") + [
        rect(0, 90, W, 40, fill="#2a6a3a", stroke=LINE, width=DW),
        path("M 0 130 L 575 130 L 575 395 L 0 395 Z", fill="#4ab050", stroke=None),
        polygon([(288, 160), (470, 260), (288, 395), (106, 260)], fill="#d8a060", stroke=LINE, width=DW),
        polygon([(288, 200), (420, 268), (288, 350), (156, 268)], fill="#4ab050", stroke=WHITE, width=3),
        rect(280, 192, 16, 16, fill=WHITE, stroke=LINE, width=1.5),
        rect(412, 260, 16, 16, fill=WHITE, stroke=LINE, width=1.5),
        rect(148, 260, 16, 16, fill=WHITE, stroke=LINE, width=1.5),
        circle(288, 270, 14, fill="#c88a50", stroke=None)] +
        [rect(x, 40, 26, 40, fill="#e8e8e8", stroke=LINE, width=1.5) for x in range(20, 560, 60)]))

    # Landscape.
    d.append((3001, "mount fuji", sky("#a8dcff") + [cloud(90, 70, 1.2), cloud(480, 110, 1.0)] + mountain(
        [(60, 300), (250, 90), (326, 90), (520, 300)], "#5a78c8",
        [(202, 150), (250, 90), (326, 90), (374, 150), (348, 140), (320, 156), (288, 140), (258, 158), (230, 142)])
        + [rect(0, 300, W, 95, fill="#3c8ce0", stroke=LINE, width=DW),
           path("M 40 330 L 120 330 M 200 352 L 320 352 M 400 334 L 500 334", stroke=WHITE, width=3)]
        + tree(530, 310, 0.9, leaves="#2e7a48") + tree(30, 310, 0.8, leaves="#2e7a48")))
    d.append((3002, "green hills", sky("#bfe6ff") + [
        path("M 60 240 A 230 230 0 0 1 520 240", stroke="#ff5a5a", width=10),
        path("M 72 240 A 218 218 0 0 1 508 240", stroke="#ffd23c", width=10),
        path("M 84 240 A 206 206 0 0 1 496 240", stroke="#5ac85a", width=10),
        path("M 96 240 A 194 194 0 0 1 484 240", stroke="#5a8ae0", width=10),
        path("M 0 260 Q 150 190 320 250 Q 460 210 575 240 L 575 395 L 0 395 Z", fill="#6ac05a", stroke=LINE, width=DW),
        path("M 0 320 Q 200 270 400 320 Q 500 340 575 310 L 575 395 L 0 395 Z", fill="#4aa048", stroke=LINE, width=DW),
        path("M 300 395 Q 320 330 380 300", stroke="#e0c080", width=18)] + tree(470, 300, 1.0) + tree(120, 290, 0.9)
        + [cloud(460, 60, 0.9)]))

    # Events.
    balloons = []
    for i, (x, y, c) in enumerate(((60, 120, "#ff5a5a"), (110, 90, "#ffd23c"), (470, 100, "#5a8ae0"),
                                   (520, 130, "#5ac85a"), (420, 70, "#ff80c0"))):
        balloons += [path("M %d %d Q %d %d %d %d" % (x, y + 34, x - 10, y + 70, x + 6, y + 110), stroke=LINE, width=1.5),
                     ellipse(x, y, 26, 32, fill=c, stroke=LINE, width=DW),
                     path("M %d %d L %d %d L %d %d Z" % (x - 5, y + 36, x, y + 30, x + 5, y + 36), fill=c, stroke=LINE, width=1.5)]
    bunting = [path("M 0 20 Q 288 80 575 20", stroke=LINE, width=1.5)]
    for i in range(12):
        x = 24 + i * 46
        y = 20 + 60 * (1 - ((x - 288) / 288.0) ** 2) * 0.97
        bunting.append(polygon([(x - 14, y - 4), (x + 14, y - 4), (x, y + 22)],
                               fill=["#ff5a5a", "#ffd23c", "#5a8ae0", "#5ac85a"][i % 4], stroke=LINE, width=1.5))
    d.append((4001, "birthday party", sky("#fff0d8", "#e8c8a0", 320) + bunting + balloons + [
        rect(380, 300, 160, 20, fill=WHITE, stroke=LINE, width=DW),
        rect(400, 250, 120, 52, fill="#ffd8e4", stroke=LINE, width=DW),
        path("M 400 262 Q 420 274 440 262 Q 460 274 480 262 Q 500 274 520 262", stroke=WHITE, width=6),
        rect(430, 226, 6, 24, fill="#5a8ae0", stroke=LINE, width=1), rect(456, 222, 6, 28, fill="#ffd23c", stroke=LINE, width=1),
        rect(482, 226, 6, 24, fill="#ff5a5a", stroke=LINE, width=1),
        ellipse(433, 220, 3, 6, fill="#ff9a20", stroke=None), ellipse(459, 216, 3, 6, fill="#ff9a20", stroke=None),
        ellipse(485, 220, 3, 6, fill="#ff9a20", stroke=None)]))
    fireworks = []
    for cx, cy, rr, c in ((120, 100, 70, "#ffd23c"), (330, 80, 56, "#ff6aa0"), (480, 140, 64, "#6ad0ff")):
        for a in range(0, 360, 20):
            rad = math.radians(a)
            fireworks.append(path("M %s %s L %s %s" % (
                num(cx + rr * 0.3 * math.cos(rad)), num(cy + rr * 0.3 * math.sin(rad)),
                num(cx + rr * math.cos(rad)), num(cy + rr * math.sin(rad))), stroke=c, width=3))
            fireworks.append(circle(cx + rr * 1.1 * math.cos(rad), cy + rr * 1.1 * math.sin(rad), 2.5, fill=c, stroke=None))
    lanterns = [path("M 0 250 Q 288 290 575 250", stroke=LINE, width=1.5)]
    for i in range(9):
        x = 30 + i * 64
        y = 250 + 40 * (1 - ((x - 288) / 288.0) ** 2) * 0.95
        lanterns += [ellipse(x, y + 18, 14, 18, fill="#ff4a3a", stroke=LINE, width=1.5),
                     rect(x - 8, y - 2, 16, 4, fill=LINE, stroke=None), rect(x - 8, y + 34, 16, 4, fill=LINE, stroke=None)]
    d.append((4002, "fireworks festival", sky("#101838") + fireworks + [
        path("M 0 330 L 575 330 L 575 395 L 0 395 Z", fill="#2a2038", stroke=None)] + lanterns))

    # Shops.
    d.append((5001, "ramen shop", sky("#f0dcb0") + [
        rect(0, 0, W, 90, fill="#3a2414", stroke=None),
        path("M 20 0 L 20 130 L 170 130 L 170 0 Z M 200 0 L 200 130 L 375 130 L 375 0 Z M 405 0 L 405 130 L 555 130 L 555 0 Z",
             fill="#1e3c8c", stroke=LINE, width=DW),
        circle(95, 70, 24, fill=WHITE, stroke=None), circle(288, 70, 24, fill=WHITE, stroke=None),
        circle(480, 70, 24, fill=WHITE, stroke=None),
        rect(0, 300, W, 95, fill="#a86a3a", stroke=LINE, width=DW),
        rect(0, 290, W, 14, fill="#c88a50", stroke=LINE, width=DW),
        path("M 380 290 Q 380 250 430 250 Q 480 250 480 290 Z", fill="#e02828", stroke=LINE, width=DW),
        path("M 390 262 L 470 262", stroke="#ffd23c", width=3),
        path("M 420 250 L 450 200 M 432 250 L 462 204", stroke="#c88a50", width=3),
        path("M 100 250 Q 106 230 100 210 M 116 250 Q 122 230 116 210", stroke="#e0e0e0", width=3),
        path("M 80 290 Q 80 256 110 256 Q 140 256 140 290 Z", fill=WHITE, stroke=LINE, width=DW)]))
    shelves = []
    r = Rand(5002)
    for row, y in enumerate((80, 170, 260)):
        shelves.append(rect(0, y + 60, W, 10, fill="#b0b0b8", stroke=LINE, width=1.5))
        x = 8
        while x < W - 30:
            w = r.uniform(22, 40)
            h = r.uniform(30, 56)
            c = ["#ff5a5a", "#ffd23c", "#5a8ae0", "#5ac85a", "#ff9a20", "#c080e0"][int(r.uniform(0, 6)) % 6]
            shelves.append(rect(x, y + 60 - h, w, h, fill=c, stroke=LINE, width=1.5, rx=3))
            x += w + 6
    d.append((5002, "convenience store", sky("#f4f8ff") + [rect(0, 0, W, 40, fill="#20a050", stroke=None),
                                                          rect(0, 40, W, 12, fill="#ff9a20", stroke=None)]
              + shelves + [rect(0, 340, W, 55, fill="#d8d8e0", stroke=LINE, width=DW)]))

    # Constellations.
    orion = [(130, 80), (220, 90), (160, 170), (180, 176), (200, 182), (110, 270), (240, 280)]
    lines_o = [(0, 2), (1, 4), (2, 3), (3, 4), (2, 5), (4, 6)]
    con = sky("#0c1438") + stars(6001, 80, H, colour="#a8b0e0", big=2.0)
    for a, b in lines_o:
        con.append(line(orion[a][0], orion[a][1], orion[b][0], orion[b][1], stroke="#8ab0ff", width=1.5))
    for x, y in orion:
        con.append(polygon(star_points(x, y, 9, 3, 4), fill="#fff6c0", stroke=None))
    scorpius = [(380, 70), (410, 110), (430, 160), (440, 210), (430, 260), (460, 300), (500, 300), (520, 270)]
    for a in range(len(scorpius) - 1):
        con.append(line(scorpius[a][0], scorpius[a][1], scorpius[a + 1][0], scorpius[a + 1][1], stroke="#8ab0ff", width=1.5))
    for x, y in scorpius:
        con.append(polygon(star_points(x, y, 8, 3, 4), fill="#ffd0a0", stroke=None))
    d.append((6001, "orion and scorpius", con))
    dipper = [(60, 110), (120, 100), (170, 120), (220, 140), (240, 200), (310, 210), (300, 150)]
    con2 = sky("#1a1040") + stars(6002, 70, H, colour="#b8a8e0", big=2.0) + [
        circle(480, 300, 44, fill="#fff0a0", stroke=None), circle(500, 290, 40, fill="#1a1040", stroke=None)]
    for a in range(len(dipper) - 1):
        con2.append(line(dipper[a][0], dipper[a][1], dipper[a + 1][0], dipper[a + 1][1], stroke="#c0a8ff", width=1.5))
    con2.append(line(220, 140, 300, 150, stroke="#c0a8ff", width=1.5))
    cass = [(380, 60), (410, 100), (450, 70), (490, 110), (530, 80)]
    for a in range(len(cass) - 1):
        con2.append(line(cass[a][0], cass[a][1], cass[a + 1][0], cass[a + 1][1], stroke="#c0a8ff", width=1.5))
    for x, y in dipper + cass:
        con2.append(polygon(star_points(x, y, 9, 3, 4), fill="#fff6c0", stroke=None))
    d.append((6002, "big dipper and cassiopeia", con2))

    # Other. Frames are drawn over the figure: their middle is open.
    frame = ("M 0 0 L 575 0 L 575 395 L 0 395 Z M 34 34 L 34 361 L 541 361 L 541 34 Z")
    d.append((7001, "gold frame", [
        path(frame, fill="#d8a830", stroke=LINE, width=LW, extra='fill-rule="evenodd"'),
        rect(12, 12, 551, 371, fill=None, stroke="#a87818", width=4),
        rect(24, 24, 527, 347, fill=None, stroke="#f8d870", width=3)] +
        [circle(x, y, 8, fill="#f8d870", stroke="#a87818", width=1.5) for x, y in ((17, 17), (558, 17), (17, 378), (558, 378))],
        True))
    dots = [rect(0, 0, W, H, fill="#ffe8f0", stroke=None)]
    for row in range(0, 10):
        for col in range(0, 14):
            dots.append(circle(col * 44 + (22 if row % 2 else 0), row * 44 + 10, 9, fill="#ff9ab8", stroke=None))
    d.append((7002, "polka dots", dots))
    border = []
    r = Rand(7003)
    spots = ([(x, 18) for x in range(18, 575, 36)] + [(x, 377) for x in range(18, 575, 36)] +
             [(18, y) for y in range(54, 360, 36)] + [(557, y) for y in range(54, 360, 36)])
    for i, (x, y) in enumerate(spots):
        border += [circle(x, y, 16, fill="#5ab050", stroke=None)]
    for i, (x, y) in enumerate(spots):
        border += flower(x, y, 9, ["#ff80b0", "#ffd23c", "#ffffff", "#c080e0"][i % 4])
    d.append((7003, "flower frame", border, True))

    # Animals.
    sheep = []
    for x, y in ((140, 290), (300, 320), (460, 280)):
        for dx, dy in ((-18, 0), (0, -10), (18, 0), (-8, 10), (10, 10)):
            sheep.append(circle(x + dx, y + dy, 16, fill=WHITE, stroke=LINE, width=1.5))
        sheep += [ellipse(x + 34, y - 4, 12, 10, fill="#333333", stroke=LINE, width=1.5),
                  rect(x - 16, y + 20, 6, 18, fill="#333333", stroke=None), rect(x + 12, y + 20, 6, 18, fill="#333333", stroke=None)]
    d.append((8001, "sheep farm", sky("#bfe6ff", "#8ad06a", 250) + [
        cloud(120, 70), cloud(420, 60, 0.8)] +
        [path("M 0 240 L 575 240", stroke="#a86a3a", width=4), path("M 0 225 L 575 225", stroke="#a86a3a", width=4)] +
        [rect(x, 210, 8, 40, fill="#c88a50", stroke=LINE, width=1) for x in range(10, 575, 60)] + sheep))
    giraffe = [path("M 430 330 L 430 240 L 470 240 L 470 330", fill=None, stroke="#d8a030", width=10),
               ellipse(450, 240, 40, 22, fill="#f0c040", stroke=LINE, width=DW),
               path("M 476 232 L 504 120 L 518 124 L 494 238 Z", fill="#f0c040", stroke=LINE, width=DW),
               ellipse(520, 112, 18, 11, fill="#f0c040", stroke=LINE, width=DW),
               circle(524, 108, 2, fill=LINE, stroke=None),
               path("M 510 100 L 508 90 M 520 100 L 520 90", stroke=LINE, width=2)]
    for x, y in ((440, 236), (460, 246), (494, 170), (500, 140), (486, 210)):
        giraffe.append(circle(x, y, 5, fill="#b06a20", stroke=None))
    elephant = [ellipse(140, 260, 70, 46, fill="#9aa0b0", stroke=LINE, width=DW),
                circle(82, 234, 30, fill="#9aa0b0", stroke=LINE, width=DW),
                path("M 60 246 Q 44 290 62 306", stroke="#9aa0b0", width=14),
                path("M 60 246 Q 44 290 62 306", stroke=LINE, width=1),
                ellipse(100, 226, 18, 24, fill="#8a90a0", stroke=LINE, width=1.5),
                circle(74, 226, 3, fill=LINE, stroke=None),
                rect(100, 290, 18, 34, fill="#9aa0b0", stroke=LINE, width=1.5),
                rect(170, 290, 18, 34, fill="#9aa0b0", stroke=LINE, width=1.5)]
    d.append((8002, "savannah", sky("#ffd8a0", "#d8b060", 300) + [circle(290, 120, 50, fill="#ff9a50", stroke=None)] +
              tree(300, 300, 1.2, leaves="#6a9a40") + giraffe + elephant))

    # New year.
    kadomatsu = []
    for x in (60, 515):
        kadomatsu += [path("M %d 300 L %d 180 L %d 170 L %d 300 Z" % (x - 24, x - 24, x - 12, x - 12), fill="#5ab050", stroke=LINE, width=1.5),
                      path("M %d 300 L %d 160 L %d 148 L %d 300 Z" % (x - 6, x - 6, x + 6, x + 6), fill="#5ab050", stroke=LINE, width=1.5),
                      path("M %d 300 L %d 190 L %d 180 L %d 300 Z" % (x + 12, x + 12, x + 24, x + 24), fill="#5ab050", stroke=LINE, width=1.5),
                      rect(x - 34, 280, 68, 70, fill="#c8a060", stroke=LINE, width=DW),
                      path("M %d 296 L %d 296 M %d 316 L %d 316" % (x - 34, x + 34, x - 34, x + 34), stroke="#8a6030", width=3)]
    d.append((9001, "new year sunrise", sky("#ffb070") + [
        circle(288, 200, 70, fill="#ff4a2a", stroke=None)] + mountain(
        [(80, 320), (250, 160), (326, 160), (500, 320)], "#3a4a8a",
        [(214, 200), (250, 160), (326, 160), (362, 200), (336, 194), (310, 206), (288, 194), (262, 206)])
        + [rect(0, 320, W, 75, fill="#2a3a6a", stroke=None),
           path("M 100 90 Q 120 80 140 90 Q 160 80 180 90 M 400 70 Q 420 60 440 70 Q 460 60 480 70", stroke="#ffe0c0", width=3)]
        + kadomatsu))
    d.append((9002, "new year things", sky("#d02838") + [
        rect(20, 20, 535, 355, fill=None, stroke="#ffd23c", width=6),
        ellipse(160, 310, 80, 22, fill="#c8a060", stroke=LINE, width=DW),
        ellipse(160, 280, 70, 30, fill=WHITE, stroke=LINE, width=DW),
        ellipse(160, 240, 54, 26, fill=WHITE, stroke=LINE, width=DW),
        circle(160, 204, 18, fill="#ff9a20", stroke=LINE, width=DW),
        path("M 160 186 L 166 176 L 176 178", stroke="#3a9a48", width=3),
        ellipse(420, 270, 62, 70, fill="#e02828", stroke=LINE, width=LW),
        ellipse(420, 250, 34, 28, fill=WHITE, stroke=LINE, width=DW),
        circle(408, 248, 6, fill=WHITE, stroke=LINE, width=2), circle(432, 248, 6, fill=LINE, stroke=None),
        path("M 400 300 Q 420 314 440 300", stroke="#ffd23c", width=4),
        polygon([(300, 40), (380, 70), (350, 150), (270, 120)], fill="#fff0c0", stroke=LINE, width=DW),
        path("M 310 60 L 340 130 M 290 100 L 370 80", stroke="#e02828", width=3),
        path("M 310 130 Q 290 170 320 200 Q 300 230 330 260", stroke=LINE, width=1.5)]))
    parts = []
    for entry in d:
        n, t, items = entry[:3]
        over = len(entry) > 3 and entry[3]
        parts.append(Part(k, n, WIDE, "background: " + t, items, over_figure=over))
    return parts


def balloons():
    k = 22
    d = []
    B = dict(fill=WHITE, stroke=LINE, width=LW)
    d.append(("speech", [path("M 300 130 L 252 176 L 330 150 Z", **B),
                         ellipse(430, 110, 130, 80, **B),
                         path("M 316 142 L 336 148", stroke=WHITE, width=6)]))
    thought = [ellipse(430, 100, 126, 76, **B)]
    bumps = []
    for i in range(14):
        a = math.radians(i * 360.0 / 14)
        bumps.append(circle(430 + 122 * math.cos(a), 100 + 72 * math.sin(a), 22, **B))
    d.append(("thought", bumps + [ellipse(430, 100, 128, 74, fill=WHITE, stroke=None),
                                  circle(300, 190, 14, **B), circle(270, 214, 9, **B), circle(250, 232, 5, **B)]))
    burst = []
    for i in range(28):
        a = math.radians(i * 360.0 / 28 - 90)
        rr = 150 if i % 2 == 0 else 112
        burst.append((430 + rr * math.cos(a), 116 + rr * 0.62 * math.sin(a)))
    burst[21] = (270, 180)
    d.append(("shout", [polygon(burst, fill="#fff6a0", stroke=LINE, width=LW)]))
    d.append(("box", [path("M 330 184 L 290 230 L 370 184 Z", **B),
                      rect(300, 30, 250, 156, rx=18, **B),
                      path("M 334 182 L 366 182", stroke=WHITE, width=6)]))
    d.append(("heart", [path("M 356 172 L 262 214 L 378 190 Z", fill="#ffd0e0", stroke=LINE, width=LW),
                        path(heart_path(440, 110, 118), fill="#ffd0e0", stroke=LINE, width=LW),
                        path("M 362 176 L 374 186", stroke="#ffd0e0", width=8)]))
    d.append(("whisper", [ellipse(430, 110, 130, 80, fill=WHITE, stroke=LINE, width=DW,
                                  extra='stroke-dasharray="8 6"'),
                          path("M 306 146 L 256 176 L 326 160", fill=None, stroke=LINE, width=DW,
                               extra='stroke-dasharray="6 5"')]))
    d.append(("scroll", [
        path("M 320 40 L 540 40 L 540 180 L 320 180 Z", fill="#fff0c8", stroke=LINE, width=LW),
        ellipse(320, 110, 14, 76, fill="#e8d098", stroke=LINE, width=DW),
        ellipse(540, 110, 14, 76, fill="#e8d098", stroke=LINE, width=DW),
        path("M 306 150 L 262 186 L 310 170 Z", fill="#fff0c8", stroke=LINE, width=DW)]))
    d.append(("two bubbles", [path("M 320 106 L 262 150 L 340 124 Z", **B), ellipse(420, 80, 110, 60, **B),
                              path("M 330 112 L 346 118", stroke=WHITE, width=6),
                              ellipse(450, 210, 96, 50, **B), path("M 370 222 L 330 250 L 380 236 Z", **B),
                              path("M 372 226 L 384 234", stroke=WHITE, width=6)]))
    d.append(("left side", [path("M 250 130 L 306 176 L 228 150 Z", **B),
                            ellipse(140, 110, 130, 80, **B),
                            path("M 232 140 L 246 148", stroke=WHITE, width=6)]))
    puffs = []
    for x, y, rr in ((350, 120, 40), (392, 76, 46), (452, 62, 50), (510, 88, 44), (530, 140, 38),
                     (486, 170, 42), (420, 176, 44), (364, 160, 36)):
        puffs.append(circle(x, y, rr, **B))
    d.append(("cloud", [path("M 340 160 L 262 196 L 360 178 Z", **B)] + puffs +
                       [ellipse(440, 120, 100, 52, fill=WHITE, stroke=None)]))
    return [Part(k, i, WIDE, "balloon: " + t, items) for i, (t, items) in enumerate(d, 1)]
