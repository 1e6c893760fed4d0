#pragma once

// Small parts databases for the picker's tests and benchmark, written straight through
// SQLite. Every part is a filled rectangle in its own colour, so that a thumbnail shows
// which part it is by the colour at the box's centre.

#include <QRect>
#include <QRgb>
#include <QString>

#include <vector>

namespace pickertest {

struct Part {
    int kind = 0;
    int fileNo = 0;
    QRect smallBox;  // one-third scale
    QRect fullBox;   // full scale
    int optionId1 = 0;
};

// The colour part `fileNo` of `kind` is drawn in; never black or white.
QRgb partColour(int kind, int fileNo);

// The picture size of a kind's rows at full and at one-third scale; the user image's
// picture is its box.
QSize fullCanvas(int kind);
QSize smallCanvas(int kind);

// Parts numbered `fileNos` of `kind`, each with a box of its own (so that boxes differ from
// part to part, as the delivered artwork's do). For 9 and 11 the second halves (10, 12) are
// added with the same numbers, their boxes 17 and 53 pixels further left.
std::vector<Part> category(int kind, const std::vector<int>& fileNos);
std::vector<Part> category(int kind, int count);  // numbered 1..count

// Writes `path`: the white blank tile first, then the parts in table order, RowsPerPart
// records each (one-third scale, for three-row kinds a 100 x 100 thumbnail, full scale),
// the category count on each category's first record.
void build(const QString& path, std::vector<Part> parts);

// Runs SQL on a file; empty on success, else the error.
QString exec(const QString& path, const QString& sql);

}  // namespace pickertest
