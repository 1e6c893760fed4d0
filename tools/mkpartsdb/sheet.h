#pragma once

#include "artwork.h"

#include <QImage>
#include <QString>

#include <vector>

namespace mkparts {

// One placed part of a composed picture: its full-scale row drawn at its box, moved by
// (dx, dy).
struct Placement {
    const Part* part;
    int dx = 0;
    int dy = 0;
};

// Draws the placements in order onto `base` the way the portrait is composed: the mask
// with AND, then the colour picture with XOR, each over its box, or over the whole
// picture as the parts manager's enlarged view shows it.
QImage compose(const QImage& base, const std::vector<Placement>& placements, bool wholePicture = false);

// Part 1 (the first part) of every kind of a new portrait, in layer order.
std::vector<Placement> defaultFace(const std::vector<Part>& parts, int dx = 0, int dy = 0);

const Part* findPart(const std::vector<Part>& parts, int kind, int fileNo);
const Part* firstPart(const std::vector<Part>& parts, int kind);

// A picture of every part's composed full-scale picture, labelled with kind and number,
// for reviewing the artwork at a glance. The companions 10 and 12 repeat 9 and 11 and
// are left out.
QImage contactSheet(const std::vector<Part>& parts);

// The default face on a white 300 x 300 canvas.
QImage defaultFacePicture(const std::vector<Part>& parts);

// A whole figure on the wide canvas: background, body and the default face with the
// figure offset dx, and a balloon when balloonNo is not 0.
QImage figurePicture(const std::vector<Part>& parts, int backgroundNo, int bodyNo, int balloonNo,
                     int dx);

// Full-scale review sheets in `folder`: every face part tried on the default face, every
// body and animal body under it, every hat and animal head on it.
void writeReviewSheets(const std::vector<Part>& parts, const QString& folder);

}  // namespace mkparts
