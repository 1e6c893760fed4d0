#pragma once

// Numbering and counting of the photo database (record source PhotoOrder).

#include "catalog/partsdatabase.h"

#include "imaging/engine/raster.h"

#include <QString>

namespace catalog {

// The number a new photo gets: the highest number in the database + 1, 1 when it is empty.
// Fails when no 16-bit number is left.
DbResult nextPhotoNumber(PartsDatabase& photos, int& number);

// Puts the number of photos into FileCnt of the first record (nothing when there is none).
DbResult rewritePhotoCount(PartsDatabase& photos);

struct PhotoEntry {
    int fileNo = 0;  // 0: nextPhotoNumber()
    QString whoMain;
    QString whoMask;
    imaging::Raster main;
    imaging::Raster mask;
    int mainBits = 0;  // depth the pictures are stored at; 0 keeps their own
    int maskBits = 0;
};

// Stores a new photo (PictureID 2, X and Y 0, Width and Height those of the main picture)
// and rewrites the count, in one transaction. Afterwards the record set is requeried and the
// new photo is current; `fileNo` gets its number.
DbResult addPhoto(PartsDatabase& photos, const PhotoEntry& entry, int* fileNo = nullptr);

// Deletes the current photo and rewrites the count, in one transaction; then requeries.
DbResult deletePhoto(PartsDatabase& photos);

}  // namespace catalog
