#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <vector>

namespace mkparts {

// Placement of a picture's part: the bounding box of the mask's black pixels.
struct Box {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Box&) const = default;
};

// One record's pictures. Both are Format_RGB32: the mask pure black (part) and white
// (canvas shows through), the colour picture exactly black wherever the mask is white.
struct Row {
    QImage mask;
    QImage colour;
    Box box;
    int pairStep = 0;  // pairs: how far left of `box` the other half's box lies
};

// One part group: the one-third-scale row first, the full-scale row last, and for
// three-row kinds a magnified thumbnail between them.
struct Part {
    int kind = 0;
    int fileNo = 0;
    int option1 = 0;   // backgrounds drawn over the figure: 1
    QString title;
    std::vector<Row> rows;
};

struct KindInfo {
    int kind;
    int rowsPerPart;
    QSize canvas;      // full scale
    bool pairFirst;    // 9 and 11: the picture holds both halves
};

// The delivered kinds (every kind but the user image), in order.
const std::vector<KindInfo>& deliveredKinds();
const KindInfo* kindInfo(int kind);

// Step between the two halves of a pair, at full and at one-third scale.
constexpr int kPairStep = 53;
constexpr int kPairStepSmall = 17;
// Size of the magnified thumbnail of three-row kinds.
constexpr int kThumbSide = 100;

// A full-scale length or coordinate at one-third scale, rounded to the nearest integer,
// halves to even. The one-third-scale canvases are third() of each side: 300 -> 100,
// 395 -> 132, 575 -> 192.
int third(int v);

// Renders one SVG source into the rows of a part of `kind`. Throws std::runtime_error
// with a message naming the file when the source does not fit its kind.
Part renderPart(const QString& svgFile, int kind, int fileNo);

// The left-hand partner (10 or 12) of a rendered pair part: the same pictures, X moved by
// the pair step at each row's scale.
Part companionOf(const Part& first);

// Every part under `folder` (<PictureID>/<FileNo>.svg), in database order, the companions
// of pairs included. Kinds that are not delivered, or not numbered folders, are skipped.
std::vector<Part> renderFolder(const QString& folder);

// The white picture shown in empty cells and used as the blank canvas.
Row blankTile();

}  // namespace mkparts
