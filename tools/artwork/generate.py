#!/usr/bin/env python3
"""Writes the SVG sources of the delivered parts: data/parts/<PictureID>/<FileNo>.svg.

The SVG files are what the build renders; this script is how they were made. Run it
again after changing a design (it replaces the folders of the kinds it writes):

    python3 tools/artwork/generate.py [data/parts]
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import head       # noqa: E402
import features   # noqa: E402
import extras     # noqa: E402
import figures    # noqa: E402
import scenes     # noqa: E402
import addons     # noqa: E402


def all_parts():
    parts = []
    parts += scenes.backgrounds()
    parts += head.hairstyles()
    parts += figures.bodies()
    parts += figures.animal_bodies()
    parts += head.ears()
    parts += head.outlines()
    parts += extras.wrinkles()
    parts += features.eyebrows()
    parts += features.eyes()
    parts += features.mouths()
    parts += features.noses()
    parts += extras.moles()
    parts += extras.beards()
    parts += extras.options()
    parts += extras.glasses()
    parts += head.fringes()
    parts += extras.hats()
    parts += extras.animal_heads()
    parts += scenes.balloons()
    return parts


def write_set(root, parts):
    """Replaces the SVG files of the kinds in `parts` under `root`; returns bytes written."""
    kinds = sorted({p.kind for p in parts})
    for k in kinds:
        folder = os.path.join(root, str(k))
        os.makedirs(folder, exist_ok=True)
        for name in os.listdir(folder):
            if name.endswith(".svg"):
                os.remove(os.path.join(folder, name))
    seen = set()
    total = 0
    for p in parts:
        key = (p.kind, p.file_no)
        if key in seen:
            raise SystemExit("part %d/%d written twice" % key)
        seen.add(key)
        text = p.svg()
        total += len(text)
        with open(os.path.join(root, str(p.kind), "%d.svg" % p.file_no), "w",
                  encoding="utf-8", newline="\n") as f:
            f.write(text)
    return total


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "..", "data", "parts")
    root = os.path.normpath(root)
    parts = all_parts()
    total = write_set(root, parts)
    total += write_set(os.path.join(root, "addons", "eyes"), addons.eyes())
    total += write_set(os.path.join(root, "addons", "hats"), addons.hats())
    counts = {}
    for p in parts:
        counts[p.kind] = counts.get(p.kind, 0) + 1
    print("wrote %d parts and the add-on samples (%d bytes) into %s" % (len(parts), total, root))
    print(" ".join("%d:%d" % (k, counts[k]) for k in sorted(counts)))


if __name__ == "__main__":
    main()
