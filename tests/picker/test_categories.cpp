// The category table's consistency: the arrows' cycle and the sub-category criteria.

#include "catalog/categories.h"
#include "catalog/recordsource.h"
#include "picker/pickercategories.h"

#include <gtest/gtest.h>

#include <set>

using namespace picker;

// With both option toolbars shown the arrows visit every category once, and "previous"
// undoes "next"; hiding a toolbar leaves its kinds out of the way forward.
TEST(Categories, ArrowsCycleThroughEveryCategory)
{
    std::set<int> seen;
    int k = 7;
    for (int step = 0; step < kCategoryCount - 1; ++step) {
        EXPECT_TRUE(seen.insert(k).second) << k;
        const int next = nextCategory(k, true, true);
        EXPECT_EQ(previousCategory(next, true, true), k) << k;
        k = next;
    }
    EXPECT_EQ(k, 7);
    EXPECT_EQ(seen.size(), std::size_t(kCategoryCount - 1));  // every kind but the texts

    struct Case {
        int from;
        bool t1, t2;
        int next, previous;
    };
    const Case cases[] = {
        {13, true, false, 16, 14}, {13, false, true, 20, 14}, {13, false, false, 7, 14},
        {7, false, false, 3, 13},  {7, true, false, 3, 17},   {17, true, false, 7, 18},
        {20, false, true, 4, 13},  {10, true, true, 10, 10},  {0, true, true, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from);
        EXPECT_EQ(nextCategory(c.from, c.t1, c.t2), c.next);
        EXPECT_EQ(previousCategory(c.from, c.t1, c.t2), c.previous);
    }
}

// Every strip key opens its kind with the rows the database groups it by.
TEST(Categories, KeysKindsAndRows)
{
    for (const PickerCategory& c : pickerCategories()) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(categoryByKey(QString::fromLatin1(c.key)), &c);
        if (c.kind == 0)
            continue;
        EXPECT_EQ(categoryByKind(c.kind), &c);
        EXPECT_EQ(c.rowsPerPart, catalog::RowsPerPart(c.kind));
        EXPECT_EQ(pickerDatabaseFor(c.kind), QLatin1String(c.photoDatabase ? "photo.mdb" : "ravoze.mdb"));
    }
    EXPECT_EQ(categoryByKind(10)->kind, 9);
    EXPECT_EQ(categoryByKind(12)->kind, 11);
    EXPECT_EQ(categoryByKey(u"Moji"), nullptr);
}

// The lists' criteria are ranges of their own kind that the database accepts, and "その他"
// is the last entry of each list.
TEST(Categories, SubcategoryCriteria)
{
    struct List {
        int kind;
        std::span<const Subcategory> entries;
        std::size_t size;
    };
    for (const List& l : {List{1, backgroundSubcategories(), 12}, List{4, bodySubcategories(), 9}}) {
        SCOPED_TRACE(l.kind);
        ASSERT_EQ(l.entries.size(), l.size);
        EXPECT_EQ(subcategoriesFor(l.kind).data(), l.entries.data());
        EXPECT_EQ(QStringView(l.entries.back().caption), QStringView(u"その他"));
        for (const Subcategory& s : l.entries) {
            const auto c = catalog::parseCriterion(QString::fromLatin1(s.criterion));
            ASSERT_TRUE(c) << s.criterion;
            EXPECT_EQ(c->form, catalog::Criterion::Form::Range);
            EXPECT_EQ(c->pictureId, l.kind);
            EXPECT_LE(c->low, c->high);
        }
        const auto other = catalog::parseCriterion(QString::fromLatin1(l.entries.back().criterion));
        EXPECT_EQ(other->low, 7001);
        EXPECT_EQ(other->high, 8000);
    }
    EXPECT_TRUE(subcategoriesFor(3).empty());
}
