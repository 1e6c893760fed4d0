#pragma once

// Small parts and photo databases for the history tests and benchmark, written through the
// catalog so that they have the layout the programs read.

#include <QList>
#include <QRect>
#include <QRgb>
#include <QSize>
#include <QString>

namespace imaging {
class Raster;
}

namespace historytest {

// One part of a kind: RowsPerPart(kind) records. The first holds the part at one-third scale
// (its box divided by 3 in a picture a third of `picture`), the last at full scale; a middle
// record repeats the first. The user image's single record is its box, at (0, 0), the way
// photo registration stores it.
struct Part {
    int kind = 0;
    int fileNo = 0;
    QRect box;                    // full scale
    int optionId1 = 0;            // on the full-scale record; the others get 0
    QSize picture{300, 300};      // full-scale picture size
    bool completeGroup = true;    // false: only the first record is written
};

// The colour of the part's box in record `row` (1 = first), distinct for every kind, part
// and row, so that a test can tell which record a picture came from.
QRgb partColour(int kind, int fileNo, int row);

// The pictures a record holds: a 1-bit mask, black in the box, and a 24-bit colour picture,
// the box filled with partColour() and black elsewhere.
imaging::Raster partMask(const Part& part, int row);
imaging::Raster partPicture(const Part& part, int row);

// Creates `path` with the blank tile first and then the parts. Empty on success, else
// what failed.
QString buildDatabase(const QString& path, const QList<Part>& parts);
// Adds parts to an existing file through a connection of its own.
QString appendParts(const QString& path, const QList<Part>& parts);

}  // namespace historytest
