#pragma once

#include "artwork.h"

#include <QString>

#include <vector>

namespace mkparts {

// Writes a database file with table `people`: `blankRecords` white blank tiles
// (PictureID 0) first, then every part in the order given, one record a row, with the
// category count on each category's first record. The file is built beside `path` and
// moved into place when complete; the same input gives byte-identical files.
// Throws std::runtime_error on failure.
void writePartsFile(const QString& path, const std::vector<Part>& parts, int blankRecords = 1);

// Record names: they sort the rows of a group (one-third scale first, full scale last).
QString mainName(int kind, int fileNo, int row);
QString maskName(int kind, int fileNo, int row);

}  // namespace mkparts
