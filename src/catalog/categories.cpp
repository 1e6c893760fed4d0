#include "catalog/categories.h"

#include <array>

namespace catalog {

namespace {

constexpr std::array<CategoryInfo, kLastCategory> kCategories{{
    {1, u"背景", 2, 0},
    {2, u"ﾕｰｻﾞﾊﾟｰﾂ", 1, 0},
    {3, u"髪型", 2, 0},
    {4, u"体", 2, 0},
    {5, u"動物の体", 2, 0},
    {6, u"耳", 3, 0},
    {7, u"輪郭", 2, 0},
    {8, u"しわ", 2, 0},
    {9, u"眉毛", 3, 10},
    {10, u"", 3, 9},
    {11, u"目", 3, 12},
    {12, u"", 3, 11},
    {13, u"口", 3, 0},
    {14, u"鼻", 3, 0},
    {15, u"ほくろ", 2, 0},
    {16, u"髭", 2, 0},
    {17, u"ｵﾌﾟｼｮﾝ", 3, 0},
    {18, u"眼鏡", 2, 0},
    {19, u"前髪", 2, 0},
    {20, u"帽子", 2, 0},
    {21, u"動物の頭", 2, 0},
    {22, u"吹き出し", 2, 0},
}};

constexpr bool tableInOrder()
{
    for (int i = 0; i < kLastCategory; ++i) {
        if (kCategories[i].pictureId != i + 1)
            return false;
        const int c = kCategories[i].companion;
        if (c != 0 && (kCategories[c - 1].companion != i + 1
                       || kCategories[c - 1].rowsPerPart != kCategories[i].rowsPerPart))
            return false;
    }
    return true;
}
static_assert(tableInOrder(), "category table must be indexed by PictureID - 1, pairs symmetric");

}  // namespace

const CategoryInfo* categoryInfo(int pictureId)
{
    if (pictureId < kFirstCategory || pictureId > kLastCategory)
        return nullptr;
    return &kCategories[pictureId - 1];
}

int RowsPerPart(int category)
{
    const CategoryInfo* info = categoryInfo(category);
    return info ? info->rowsPerPart : 0;
}

int CompanionCategory(int category)
{
    const CategoryInfo* info = categoryInfo(category);
    return info ? info->companion : 0;
}

QString categoryCaption(int category)
{
    const CategoryInfo* info = categoryInfo(category);
    return info ? QString::fromUtf16(info->caption) : QString();
}

}  // namespace catalog
