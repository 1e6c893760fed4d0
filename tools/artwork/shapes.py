"""Symmetric outlines: a shape is described by its right-hand half and mirrored."""

from svgkit import num, CX


def _mx(p, axis):
    return (2 * axis - p[0], p[1])


def half_to_full(start, segs, axis=CX):
    """Path text for the right-hand half `segs` from `start`, then the same half mirrored
    and reversed, ending at the mirror image of `start`.

    segs: list of ("L", p), ("Q", c, p) or ("C", c1, c2, p); points are (x, y).
    """
    out = []
    for s in segs:
        out.append(s[0] + " " + " ".join("%s %s" % (num(x), num(y)) for x, y in s[1:]))
    # The mirrored half, walked backwards.
    starts = [start] + [s[-1] for s in segs[:-1]]
    for s, s0 in zip(reversed(segs), reversed(starts)):
        op = s[0]
        if op == "L":
            pts = [s0]
        elif op == "Q":
            pts = [s[1], s0]
        else:
            pts = [s[2], s[1], s0]
        out.append(op + " " + " ".join("%s %s" % tuple(num(v) for v in _mx(p, axis))
                                       for p in pts))
    return " ".join(out)


def sym_path(start, segs, axis=CX, top=None):
    """A closed symmetric path. Without `top` it begins at the mirror image of `start`
    and joins it to `start` with a straight line; `top` is path text that leads from the
    mirror image of `start` to `start` (for example an arc over a head)."""
    m = _mx(start, axis)
    head = "M %s %s " % (num(m[0]), num(m[1]))
    head += top if top else "L %s %s" % (num(start[0]), num(start[1]))
    return head + " " + half_to_full(start, segs, axis) + " Z"


def arc(rx, ry, to, sweep=1, large=0):
    return "A %s %s 0 %d %d %s %s" % (num(rx), num(ry), large, sweep, num(to[0]), num(to[1]))
