"""Bodies and animal bodies, on the 300 x 395 canvas under the face.

The neck rises behind the chin (the outline is drawn over it); the shoulders start
near y = 285. Body numbers follow the sub-category ranges of the body list.
"""

import math

from svgkit import (Part, BODY, SKIN, LINE, WHITE, LW, DW, path, circle, ellipse, rect,
                    polygon, mirror, group, star_points)
from shapes import sym_path

NECK = "M 134 232 L 134 296 L 166 296 L 166 232 Z"


def neck():
    return [path(NECK, fill=SKIN, stroke=LINE, width=LW)]


def torso(neckline=None, shoulder=262, bottom=284):
    """The upper body of clothes; neckline: path text from (128, 282) to (172, 282)."""
    top = neckline or "Q 150 304 172 282"
    return sym_path((172, 282), [
        ("C", (206, 286), (shoulder - 14, 292), (shoulder, 318)),
        ("C", (shoulder + 10, 336), (bottom - 4, 364), (bottom, 395)),
        ("L", (150, 395))], top=top)


def sleeves(colour=LINE):
    return [path("M 226 338 C 230 356 232 376 232 395", stroke=colour, width=DW),
            path("M 74 338 C 70 356 68 376 68 395", stroke=colour, width=DW)]


def clothes(colour, neckline=None, **kw):
    return path(torso(neckline, **kw), fill=colour, stroke=LINE, width=LW)


def buttons(x, ys, r=3.5, fill=WHITE):
    return [circle(x, y, r, fill=fill, stroke=LINE, width=1.5) for y in ys]


def bodies():
    k = 4
    d = []
    # Upper body (1000-1800).
    d.append((1001, "t-shirt", neck() + [clothes("#3c78d8"), *sleeves(),
                                        path("M 128 282 Q 150 304 172 282", stroke=LINE, width=DW),
                                        polygon(star_points(196, 340, 16, 7), fill=WHITE, stroke=LINE, width=DW)]))
    collar = [path("M 130 280 L 150 306 L 126 310 L 116 288 Z", fill=WHITE, stroke=LINE, width=DW),
              path("M 170 280 L 150 306 L 174 310 L 184 288 Z", fill=WHITE, stroke=LINE, width=DW)]
    d.append((1002, "polo shirt", neck() + [clothes("#2e9e5a", "L 150 306 L 172 282"), *sleeves(),
                                           *collar, *buttons(150, (322, 340)),
                                           path("M 150 306 L 150 350", stroke=LINE, width=DW)]))
    stripes = [path("M %d %d L %d %d" % (30, y, 270, y), stroke="#1e3c78", width=7)
               for y in range(322, 395, 18)]
    shirt = [clothes(WHITE)]
    d.append((1003, "striped shirt", neck() + shirt + [
        group(stripes, None)] + [path(torso(), fill=None, stroke=LINE, width=LW), *sleeves(),
                                 path("M 128 282 Q 150 304 172 282", stroke=LINE, width=DW)]))

    # Everyday (1801-2000).
    d.append((1801, "v-neck sweater", neck() + [
        path("M 132 282 L 150 316 L 168 282 Z", fill=WHITE, stroke=LINE, width=DW),
        clothes("#c83c3c", "L 150 328 L 172 282"), *sleeves("#801c1c"),
        path("M 128 282 L 150 328 L 172 282", stroke="#801c1c", width=5),
        path(" ".join("M %d 384 L %d 395" % (x, x) for x in range(30, 272, 10)), stroke="#801c1c", width=DW)]))
    d.append((1802, "hoodie", [
        path("M 104 270 C 100 240 200 240 196 270 L 196 300 L 104 300 Z", fill="#8a8a96", stroke=LINE, width=LW)] +
        neck() + [clothes("#9a9aa6", "Q 150 308 172 282"), *sleeves(),
                  path("M 142 300 L 138 346 M 158 300 L 162 346", stroke=WHITE, width=3),
                  path("M 104 370 Q 150 360 196 370 L 200 395 L 100 395 Z", fill="#8a8a96", stroke=LINE, width=DW)]))
    d.append((1803, "cardigan", neck() + [
        clothes(WHITE, "Q 150 300 172 282"),
        path("M 128 282 L 146 395 L 18 395 L 18 380 C 20 350 30 326 38 318 C 50 296 90 288 128 282 Z",
             fill="#e0a050", stroke=LINE, width=LW),
        mirror([path("M 128 282 L 146 395 L 18 395 L 18 380 C 20 350 30 326 38 318 C 50 296 90 288 128 282 Z",
                     fill="#e0a050", stroke=LINE, width=LW)]),
        *buttons(143, (330, 356, 382), r=4, fill="#a06020"), *sleeves("#a06020")]))

    # Sports (2001-3000).
    jersey_stripes = [path("M %d 290 L %d 395" % (x, x + (x - 150) // 10), stroke=WHITE, width=12)
                      for x in (94, 150, 206)]
    d.append((2001, "football kit", neck() + [clothes("#1e50c8")] + jersey_stripes + [
        path(torso(), fill=None, stroke=LINE, width=LW), *sleeves(),
        path("M 128 282 Q 150 304 172 282", stroke=WHITE, width=5),
        rect(100, 320, 28, 36, fill="#ffd23c", stroke=LINE, width=1.5, rx=3)]))
    d.append((2002, "baseball uniform", neck() + [clothes(WHITE, "L 150 310 L 172 282")] +
              [path("M %d 300 L %d 395" % (x, x), stroke="#b0b8d8", width=1.5) for x in range(40, 270, 14)] + [
        path(torso("L 150 310 L 172 282"), fill=None, stroke=LINE, width=LW),
        path("M 128 282 L 150 310 L 172 282", stroke="#1e3c8c", width=5),
        path("M 150 310 L 150 395", stroke=LINE, width=DW), *buttons(150, (330, 356, 382), r=3),
        path("M 176 330 L 176 360 M 176 330 L 192 330 M 176 344 L 188 344", stroke="#c81e1e", width=5),
        path("M 226 338 C 230 356 232 376 232 395 M 74 338 C 70 356 68 376 68 395", stroke="#1e3c8c", width=5)]))
    d.append((2003, "judo gi", neck() + [clothes(WHITE, "L 150 350 L 172 282"), *sleeves("#c0c0c0"),
                                        path("M 128 282 L 176 380", stroke=LINE, width=DW),
                                        path("M 172 282 L 150 330", stroke=LINE, width=DW),
                                        path("M 124 284 L 180 384 L 186 395", stroke="#d8d8d8", width=8),
                                        rect(36, 380, 228, 15, fill="#222222", stroke=LINE, width=DW)]))

    # Vehicles (3001-4000).
    car = [path("M -10 395 L -10 330 Q 0 312 40 308 L 110 304 L 130 270 L 250 270 L 274 304 L 310 312 L 310 395 Z",
                fill="#e02828", stroke=LINE, width=LW),
           path("M 138 278 L 244 278 L 262 302 L 124 302 Z", fill="#bfe6ff", stroke=LINE, width=DW),
           circle(60, 372, 26, fill="#333333", stroke=LINE, width=LW), circle(60, 372, 10, fill="#c0c0c0", stroke=None),
           circle(244, 372, 26, fill="#333333", stroke=LINE, width=LW), circle(244, 372, 10, fill="#c0c0c0", stroke=None),
           rect(0, 324, 26, 12, fill="#ffe060", stroke=LINE, width=1.5, rx=3),
           path("M 120 332 L 180 332", stroke="#a01818", width=4)]
    d.append((3001, "driving a car", neck() + [clothes("#f0a030"), *sleeves()] + car))
    boat = [path("M -10 332 L 310 332 L 280 395 L 20 395 Z", fill="#8a5a32", stroke=LINE, width=LW),
            path("M -10 346 L 310 346", stroke="#6a3a18", width=DW),
            path("M -10 380 Q 20 366 50 380 Q 80 394 110 380 Q 140 366 170 380 Q 200 394 230 380 "
                 "Q 260 366 290 380 Q 305 387 310 384 L 310 395 L -10 395 Z", fill="#3c8ce0", stroke=LINE, width=DW),
            path("M 250 250 L 264 340", stroke="#6a3a18", width=6),
            ellipse(264, 252, 8, 18, fill="#6a3a18", stroke=LINE, width=1.5)]
    d.append((3002, "rowing a boat", neck() + [
        clothes("#ff7a1e", "L 150 318 L 172 282"), *sleeves(),
        rect(96, 320, 30, 16, fill="#ffd23c", stroke=LINE, width=1.5),
        rect(174, 320, 30, 16, fill="#ffd23c", stroke=LINE, width=1.5)] + boat))
    d.append((3003, "astronaut", [
        path("M 92 296 C 92 220 208 220 208 296 Z", fill="#d8dce8", stroke=LINE, width=LW)] + neck() + [
        clothes("#f4f4f4", "Q 150 300 172 282"), *sleeves("#b0b0b8"),
        rect(122, 326, 56, 38, fill="#c0c4d0", stroke=LINE, width=DW, rx=4),
        circle(136, 338, 4, fill="#e02828", stroke=None), circle(150, 338, 4, fill="#20b060", stroke=None),
        circle(164, 338, 4, fill="#2060e0", stroke=None),
        path("M 100 296 Q 150 318 200 296", stroke="#8a8a96", width=6),
        rect(206, 314, 30, 20, fill="#2040a0", stroke=LINE, width=1.5)]))

    # Entertainment (4001-5000).
    guitar = [path("M 60 330 C 40 346 50 386 84 380 C 104 396 140 384 134 356 C 150 340 132 318 112 326 "
                   "C 96 312 72 316 60 330 Z", fill="#c87832", stroke=LINE, width=LW),
              circle(96, 352, 10, fill="#3a2414", stroke=LINE, width=DW),
              path("M 110 344 L 246 282", stroke="#6a3a18", width=9),
              path("M 110 344 L 246 282", stroke=LINE, width=1),
              rect(240, 268, 22, 16, fill="#3a2414", stroke=LINE, width=1.5, rx=3),
              ellipse(212, 332, 16, 12, fill=SKIN, stroke=LINE, width=DW)]
    d.append((4001, "playing the guitar", neck() + [clothes("#222232"), *sleeves("#505068")] + guitar))
    mic = [path("M 216 318 L 196 282", stroke="#333333", width=8),
           circle(192, 274, 11, fill="#b0b0b8", stroke=LINE, width=DW),
           path("M 184 270 L 200 278 M 186 264 L 198 284", stroke="#808088", width=1),
           ellipse(218, 322, 15, 13, fill=SKIN, stroke=LINE, width=DW)]
    d.append((4002, "singing", neck() + [clothes("#b83cc8", "L 150 320 L 172 282"), *sleeves(),
                                        path("M 128 282 L 150 320 L 172 282", stroke="#ffd23c", width=5)]
              + [polygon(star_points(x, y, 7, 3), fill="#ffd23c", stroke=LINE, width=1)
                 for x, y in ((80, 340), (110, 372), (60, 380), (200, 372), (240, 352))] + mic))

    # Shop staff (5001-6000).
    d.append((5001, "cafe apron", neck() + [clothes(WHITE, "L 150 306 L 172 282"), *sleeves("#b0b0b0"), *collar,
                                           path("M 98 318 L 202 318 L 210 395 L 90 395 Z", fill="#6a4a32", stroke=LINE, width=LW),
                                           path("M 98 318 L 128 282 M 202 318 L 172 282", stroke="#6a4a32", width=5),
                                           rect(130, 346, 40, 26, fill=None, stroke="#3a2414", width=DW)]))
    d.append((5002, "chef", neck() + [clothes(WHITE, "Q 150 296 172 282"), *sleeves("#b0b0b0"),
                                     path("M 124 284 Q 150 318 176 284 L 166 300 L 150 326 L 134 300 Z",
                                          fill="#e02828", stroke=LINE, width=DW),
                                     *buttons(128, (340, 366), r=3.5, fill="#e8e8e8"),
                                     *buttons(172, (340, 366), r=3.5, fill="#e8e8e8")]))
    d.append((5003, "shop clerk", neck() + [clothes("#f0f0f0"), *sleeves("#b0b0b0"),
                                           path("M 96 300 L 128 286 L 150 340 L 172 286 L 204 300 L 214 395 L 86 395 Z",
                                                fill="#2878c8", stroke=LINE, width=LW),
                                           path("M 90 356 L 210 356", stroke="#5aa0e8", width=5),
                                           rect(178, 318, 26, 16, fill=WHITE, stroke=LINE, width=1.5, rx=2),
                                           path("M 182 324 L 200 324 M 182 329 L 194 329", stroke=LINE, width=1)]))

    # Women (6001-7000).
    d.append((6001, "ribbon dress", neck() + [clothes("#ff8ab4", "Q 150 300 172 282"), *sleeves("#d0608a"),
                                             path("M 126 282 Q 150 314 174 282 L 184 290 Q 150 330 116 290 Z",
                                                  fill=WHITE, stroke=LINE, width=DW),
                                             path("M 150 314 L 128 300 L 130 326 Z M 150 314 L 172 300 L 170 326 Z",
                                                  fill="#e02858", stroke=LINE, width=1.5),
                                             circle(150, 314, 4, fill="#e02858", stroke=LINE, width=1.5)]))
    pearls = []
    for i in range(13):
        t = (i / 12.0) * math.pi
        pearls.append(circle(150 - 26 * math.cos(t), 292 + 22 * math.sin(t), 3.2, fill=WHITE, stroke=LINE, width=1))
    d.append((6002, "blouse and pearls", neck() + [clothes("#b8a0e8", "Q 150 318 172 282"), *sleeves("#8a70c0"),
                                                  path("M 128 282 Q 150 318 172 282", stroke="#8a70c0", width=DW)]
              + pearls))
    d.append((6003, "kimono", neck() + [clothes("#d02840", "L 150 350 L 172 282"), *sleeves("#901828"),
                                       path("M 128 282 L 150 350 L 172 282", stroke=WHITE, width=8),
                                       path("M 128 282 L 150 350 L 172 282", stroke=LINE, width=1),
                                       rect(30, 366, 240, 29, fill="#ffd23c", stroke=LINE, width=DW),
                                       path("M 30 380 L 270 380", stroke="#d02840", width=3)]
              + [circle(x, y, 7, fill="#ffb0c8", stroke="#a01828", width=1)
                 for x, y in ((80, 320), (220, 330), (60, 350), (240, 300), (100, 350))]))

    # Other (7001-8000).
    d.append((7001, "suit and tie", neck() + [
        clothes(WHITE, "L 150 306 L 172 282"),
        path("M 150 306 L 143 318 L 146 372 L 150 380 L 154 372 L 157 318 Z", fill="#c81e1e", stroke=LINE, width=1.5),
        path("M 128 282 L 150 306 L 118 395 L 18 395 C 20 350 30 326 38 318 C 50 296 90 288 128 282 Z",
             fill="#28324a", stroke=LINE, width=LW),
        mirror([path("M 128 282 L 150 306 L 118 395 L 18 395 C 20 350 30 326 38 318 C 50 296 90 288 128 282 Z",
                     fill="#28324a", stroke=LINE, width=LW)]),
        path("M 128 282 L 140 300 L 124 300 Z M 172 282 L 160 300 L 176 300 Z", fill=WHITE, stroke=LINE, width=1.5),
        *buttons(128, (366,), r=3.5, fill="#101010"), *sleeves("#101828")]))
    d.append((7002, "tuxedo", neck() + [
        clothes(WHITE, "L 150 302 L 172 282"),
        path("M 128 282 L 150 302 L 124 395 L 18 395 C 20 350 30 326 38 318 C 50 296 90 288 128 282 Z",
             fill="#151520", stroke=LINE, width=LW),
        mirror([path("M 128 282 L 150 302 L 124 395 L 18 395 C 20 350 30 326 38 318 C 50 296 90 288 128 282 Z",
                     fill="#151520", stroke=LINE, width=LW)]),
        path("M 150 298 L 130 288 L 130 308 Z M 150 298 L 170 288 L 170 308 Z", fill="#101010", stroke=LINE, width=1.5),
        circle(150, 298, 4, fill="#101010", stroke=LINE, width=1),
        *buttons(150, (330, 352, 374), r=2.5, fill="#101010")]))
    d.append((7003, "superhero", [
        path("M 110 282 C 40 300 10 350 0 395 L 300 395 C 290 350 260 300 190 282 Z", fill="#d81e1e", stroke=LINE, width=LW)]
        + neck() + [clothes("#2850d8"), *sleeves("#102c90"),
                    path("M 128 282 Q 150 304 172 282", stroke="#102c90", width=DW),
                    path("M 120 324 L 180 324 L 150 368 Z", fill="#ffd23c", stroke=LINE, width=DW),
                    polygon(star_points(150, 338, 10, 4), fill="#d81e1e", stroke=None)]))

    # Children (8001-9000).
    d.append((8001, "sailor uniform", neck() + [clothes(WHITE, "L 150 330 L 172 282"), *sleeves("#b0b0b0"),
                                               path("M 128 282 L 150 330 L 172 282 L 204 292 L 214 320 L 150 344 "
                                                    "L 86 320 L 96 292 Z", fill="#1e2a60", stroke=LINE, width=DW),
                                               path("M 100 300 L 150 338 L 200 300", stroke=WHITE, width=2),
                                               path("M 150 330 L 132 360 L 150 352 L 168 360 Z", fill="#e02828",
                                                    stroke=LINE, width=1.5)]))
    d.append((8002, "school uniform", neck() + [
        clothes("#1a1a26", "L 132 296 Q 150 300 168 296 L 172 282"), *sleeves("#3a3a4c"),
        rect(130, 280, 40, 16, fill="#1a1a26", stroke=LINE, width=DW, rx=2),
        *buttons(150, (312, 336, 360, 384), r=4, fill="#ffd23c")]))
    d.append((8003, "kindergarten smock", neck() + [
        clothes("#8ad0f0", "Q 150 300 172 282"), *sleeves("#4a9ac0"),
        path("M 124 282 Q 150 316 176 282 L 186 292 Q 150 332 114 292 Z", fill=WHITE, stroke=LINE, width=DW),
        circle(194, 346, 14, fill="#ffd23c", stroke=LINE, width=DW),
        path("M 194 336 L 190 346 L 198 346 Z", fill="#e02858", stroke=None),
        path("M 186 352 L 202 352", stroke=LINE, width=1.5)]))
    return [Part(k, n, BODY, "body: " + t, items) for n, t, items in d]


def animal_bodies():
    k = 5
    d = []

    def plump(colour, belly, line_colour=LINE):
        shape = sym_path((166, 262), [
            ("C", (214, 266), (252, 300), (258, 342)),
            ("C", (262, 370), (264, 384), (264, 395)),
            ("L", (150, 395))], top="Q 150 272 166 262")
        items = [path(shape, fill=colour, stroke=line_colour, width=LW)]
        if belly:
            items.append(ellipse(150, 370, 54, 58, fill=belly, stroke=None))
        return items

    def paws(colour, pad=None):
        """Arms folded in front, the paws resting on the belly."""
        out = []
        for side in (1, -1):
            arm = path("M 252 320 C 262 352 236 384 196 384 C 180 384 176 364 190 358 "
                       "C 214 352 226 336 224 316 Z", fill=colour, stroke=LINE, width=LW)
            items = [arm]
            if pad:
                items.append(ellipse(190, 373, 7, 6, fill=pad, stroke=None))
            out += items if side == 1 else [mirror(items)]
        return out

    d.append(("bear", plump("#8a5a32", "#d8a878") + paws("#8a5a32", "#d8a878")))
    tail = path("M 250 380 C 296 370 298 320 280 300 C 276 320 282 350 246 362 Z", fill="#8a8a90", stroke=LINE, width=LW)
    d.append(("cat", [tail] + plump("#8a8a90", WHITE) +
              [path("M 92 300 L 104 318 M 208 300 L 196 318 M 80 318 L 94 330 M 220 318 L 206 330",
                    stroke="#505058", width=4)] + paws(WHITE, "#ffb0c8")))
    d.append(("rabbit", plump("#f4f4f4", "#ffd8e4") + paws("#f4f4f4", "#ffb0c8") +
              [circle(262, 380, 14, fill=WHITE, stroke=LINE, width=DW)]))
    d.append(("penguin", plump("#282c3a", WHITE) +
              [path("M 60 320 C 40 344 40 372 52 392 L 74 360 Z", fill="#282c3a", stroke=LINE, width=LW),
               path("M 240 320 C 260 344 260 372 248 392 L 226 360 Z", fill="#282c3a", stroke=LINE, width=LW),
               path("M 118 290 Q 150 300 182 290 L 176 304 Q 150 312 124 304 Z", fill="#ffd23c", stroke=LINE, width=DW)]))
    d.append(("dog", plump("#e8c898", "#fff0dc") +
              [ellipse(214, 320, 22, 16, fill="#a86a3a", stroke=None)] + paws("#e8c898", "#a86a3a") +
              [path("M 120 286 Q 150 300 180 286", stroke="#e02828", width=8),
               circle(150, 302, 7, fill="#ffd23c", stroke=LINE, width=1.5)]))
    d.append(("panda", plump(WHITE, None) +
              [path("M 112 270 Q 150 282 188 270 L 196 290 Q 150 304 104 290 Z", fill="#222222", stroke=LINE, width=DW)]
              + paws("#222222")))
    d.append(("frog", plump("#58b848", "#f0f0a0") + paws("#58b848") +
              [circle(110, 316, 6, fill="#3a8a30", stroke=None), circle(196, 306, 5, fill="#3a8a30", stroke=None)]))
    tiger = plump("#f0a020", WHITE)
    for y in (300, 326, 352):
        tiger.append(path("M 50 %d L 82 %d L 56 %d" % (y + 10, y + 4, y + 16), stroke="#222222", width=5))
        tiger.append(mirror([path("M 50 %d L 82 %d L 56 %d" % (y + 10, y + 4, y + 16), stroke="#222222", width=5)]))
    d.append(("tiger", tiger + paws("#f0a020", WHITE)))
    d.append(("chick", plump("#ffe040", None) +
              [path("M 52 330 C 30 350 40 380 70 380 C 76 360 72 342 52 330 Z", fill="#f8c820", stroke=LINE, width=LW),
               path("M 248 330 C 270 350 260 380 230 380 C 224 360 228 342 248 330 Z", fill="#f8c820", stroke=LINE, width=LW),
               path("M 120 392 L 130 380 L 140 392 M 160 392 L 170 380 L 180 392", stroke="#f07820", width=4)]))
    return [Part(k, i, BODY, "animal body: " + t, items) for i, (t, items) in enumerate(d, 1)]
