"""Small helpers that write the SVG text of one part.

Every part is drawn on the full canvas of its kind, where it belongs on the portrait,
and is transparent elsewhere. The builder renders without antialiasing, so fills keep
their exact colours: the skin and hair fills below must stay exactly these values for
the colour treatments of the programs to give the swatches' colours.
"""

SKIN = "#ffc080"   # 255, 192, 128
HAIR = "#c04000"   # 192, 64, 0
LINE = "#222222"   # line work of every part
WHITE = "#ffffff"
SKIN_LINE = "#b8764a"  # wrinkles, nostrils and other marks on the skin
BLUSH = "#ff9a9a"

LW = 3.0   # outer outlines
DW = 2.0   # inner details

FACE = (300, 300)
BODY = (300, 395)
WIDE = (575, 395)

# The face template every face part is drawn against.
CX = 150.0
PAIR_DX = 26.5          # half of the 53-pixel step between the two halves of a pair
EYE_Y = 168.0
BROW_Y = 141.0
NOSE_Y = 192.0
MOUTH_Y = 226.0
EAR_Y = 170.0
CRANIUM = (150.0, 128.0, 74.0, 80.0)  # centre x, centre y, radius x, radius y


def num(v):
    """Short decimal text of a coordinate."""
    if isinstance(v, int):
        return str(v)
    s = "%.2f" % v
    s = s.rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


def pts(points):
    return " ".join("%s,%s" % (num(x), num(y)) for x, y in points)


def _style(fill, stroke, width, extra):
    a = ['fill="%s"' % (fill or "none")]
    if stroke:
        a.append('stroke="%s"' % stroke)
        a.append('stroke-width="%s"' % num(width))
    else:
        a.append('stroke="none"')
    if extra:
        a.append(extra)
    return " ".join(a)


def path(d, fill=None, stroke=LINE, width=LW, extra=""):
    return '<path d="%s" %s/>' % (d, _style(fill, stroke, width, extra))


def circle(cx, cy, r, fill=None, stroke=LINE, width=LW, extra=""):
    return '<circle cx="%s" cy="%s" r="%s" %s/>' % (
        num(cx), num(cy), num(r), _style(fill, stroke, width, extra))


def ellipse(cx, cy, rx, ry, fill=None, stroke=LINE, width=LW, extra=""):
    return '<ellipse cx="%s" cy="%s" rx="%s" ry="%s" %s/>' % (
        num(cx), num(cy), num(rx), num(ry), _style(fill, stroke, width, extra))


def rect(x, y, w, h, fill=None, stroke=LINE, width=LW, rx=0, extra=""):
    r = ' rx="%s"' % num(rx) if rx else ""
    return '<rect x="%s" y="%s" width="%s" height="%s"%s %s/>' % (
        num(x), num(y), num(w), num(h), r, _style(fill, stroke, width, extra))


def polygon(points, fill=None, stroke=LINE, width=LW, extra=""):
    return '<polygon points="%s" %s/>' % (pts(points), _style(fill, stroke, width, extra))


def line(x1, y1, x2, y2, stroke=LINE, width=DW):
    return '<line x1="%s" y1="%s" x2="%s" y2="%s" %s/>' % (
        num(x1), num(y1), num(x2), num(y2), _style(None, stroke, width, ""))


def group(items, transform=None):
    t = ' transform="%s"' % transform if transform else ""
    return "<g%s>\n%s\n</g>" % (t, "\n".join(items))


def mirror(items, axis=CX):
    """The items mirrored about the vertical line x = axis."""
    return group(items, "matrix(-1 0 0 1 %s 0)" % num(2 * axis))


def translate(items, dx, dy):
    return group(items, "translate(%s %s)" % (num(dx), num(dy)))


def star_points(cx, cy, r_out, r_in, n=5, rot=-90.0):
    import math
    out = []
    for i in range(2 * n):
        r = r_out if i % 2 == 0 else r_in
        a = math.radians(rot + i * 180.0 / n)
        out.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return out


def heart_path(cx, cy, s):
    """A heart about (cx, cy), s is its half width."""
    return ("M %s %s C %s %s %s %s %s %s C %s %s %s %s %s %s "
            "C %s %s %s %s %s %s C %s %s %s %s %s %s Z") % tuple(num(v) for v in (
                cx, cy + s * 0.95,
                cx - s * 0.3, cy + s * 0.6, cx - s, cy + s * 0.15, cx - s, cy - s * 0.3,
                cx - s, cy - s * 0.85, cx - s * 0.2, cy - s * 0.95, cx, cy - s * 0.45,
                cx + s * 0.2, cy - s * 0.95, cx + s, cy - s * 0.85, cx + s, cy - s * 0.3,
                cx + s, cy + s * 0.15, cx + s * 0.3, cy + s * 0.6, cx, cy + s * 0.95))


class Part:
    """One part: its kind, number, canvas, title and drawing."""

    def __init__(self, kind, file_no, size, title, items, over_figure=False):
        self.kind = kind
        self.file_no = file_no
        self.size = size
        self.title = title
        self.items = items
        self.over_figure = over_figure

    def svg(self):
        w, h = self.size
        extra = ' faciora:over-figure="1"' if self.over_figure else ""
        head = ('<svg xmlns="http://www.w3.org/2000/svg" '
                'xmlns:faciora="urn:faciora:parts" '
                'width="%d" height="%d" viewBox="0 0 %d %d"%s>\n' % (w, h, w, h, extra))
        title = "<title>%s</title>\n" % self.title
        body = ('<g stroke-linejoin="round" stroke-linecap="round">\n%s\n</g>\n'
                % "\n".join(self.items))
        return head + title + body + "</svg>\n"
