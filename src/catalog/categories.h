#pragma once

#include <QString>

namespace catalog {

// PictureID 0 marks a record that is no part (the blank tile and other leading records).
inline constexpr int kNoPart = 0;
inline constexpr int kFirstCategory = 1;
inline constexpr int kLastCategory = 22;
// The photo database holds only this category.
inline constexpr int kPhotoCategory = 2;

struct CategoryInfo {
    int pictureId;
    const char16_t* caption;  // empty for the second halves of pairs, which have no menu entry
    int rowsPerPart;
    int companion;  // the other half of a pair, or 0
};

// Null for anything that is not a category (0 included).
const CategoryInfo* categoryInfo(int pictureId);

// Records per part of a category; 0 for anything that is not a category.
int RowsPerPart(int category);
// The other half of a pair (9 <-> 10, 11 <-> 12); 0 for every other category.
int CompanionCategory(int category);
// The caption menus and labels show; empty for 10, 12 and non-categories.
QString categoryCaption(int category);

}  // namespace catalog
