#pragma once

// The layout of table `people` shared by the parts database, the photo database and
// add-on parts files. Only the builders under tools/ create databases; the programs
// check an opened file against this layout.
namespace catalog {

inline constexpr const char* kPeopleTable = "people";

inline constexpr const char* kCreatePeople =
    "CREATE TABLE people ("
    "PictureID INTEGER, "
    "FileNo INTEGER, "
    "who_main TEXT, "
    "who_mask TEXT, "
    "photo_main BLOB, "
    "photo_mask BLOB, "
    "PairFile TEXT, "
    "X INTEGER, "
    "Y INTEGER, "
    "Width INTEGER, "
    "Height INTEGER, "
    "Enable INTEGER, "
    "OptionID1 INTEGER, "
    "FileCnt INTEGER)";

// Keeps finds in either order logarithmic.
inline constexpr const char* kCreateListIndex =
    "CREATE INDEX people_list ON people (PictureID, FileNo, who_main)";
inline constexpr const char* kCreateMergeIndex =
    "CREATE INDEX people_merge ON people (FileNo, who_main)";

// Field names in table order.
inline constexpr const char* kPeopleFields[] = {
    "PictureID", "FileNo", "who_main", "who_mask", "photo_main", "photo_mask", "PairFile",
    "X", "Y", "Width", "Height", "Enable", "OptionID1", "FileCnt"};

}  // namespace catalog

namespace catalog {

// File names in the data folder; they are matched without regard to case.
inline constexpr char kPartsDatabaseName[] = "Ravoze.mdb";
inline constexpr char kPhotoDatabaseName[] = "Photo.mdb";
inline constexpr char kCompactionWorkName[] = "tmp.mdb";

}  // namespace catalog
