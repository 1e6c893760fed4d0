#include "imaging/engine/region.h"

#include <gtest/gtest.h>

using imaging::Region;

namespace {
int area(const Region& r)
{
    int n = 0;
    for (const QRect& s : r.spans())
        n += s.width() * s.height();
    return n;
}
}  // namespace

TEST(Region, ShapesHaveTheirBoundsAndPlausibleAreas)
{
    const Region rect = Region::rectangle(QRect(2, 3, 10, 20));
    EXPECT_EQ(rect.bounds(), QRect(2, 3, 10, 20));
    EXPECT_EQ(area(rect), 200);
    EXPECT_EQ(rect.shape(), Region::Shape::Rectangle);

    const Region ellipse = Region::ellipse(QRect(0, 0, 100, 60));
    EXPECT_EQ(ellipse.bounds(), QRect(0, 0, 100, 60));
    EXPECT_NEAR(area(ellipse), 3.14159 * 50 * 30, 100);
    EXPECT_TRUE(ellipse.contains(50, 30));
    EXPECT_FALSE(ellipse.contains(1, 1));

    const Region rounded = Region::roundedRectangle(QRect(0, 0, 40, 40), 10, 10);
    EXPECT_EQ(rounded.bounds(), QRect(0, 0, 40, 40));
    EXPECT_TRUE(rounded.contains(20, 0));
    EXPECT_FALSE(rounded.contains(0, 0));
    EXPECT_NEAR(area(rounded), 1600 - (400 - 3.14159 * 100), 20);

    const Region triangle = Region::polygon(QPolygon({QPoint(0, 0), QPoint(10, 0), QPoint(0, 10)}));
    EXPECT_EQ(triangle.bounds().topLeft(), QPoint(0, 0));
    EXPECT_TRUE(triangle.contains(2, 2));
    EXPECT_FALSE(triangle.contains(9, 9));
}

TEST(Region, DegenerateInputGivesAnEmptyRegion)
{
    EXPECT_TRUE(Region::rectangle(QRect(0, 0, 0, 5)).isEmpty());
    EXPECT_TRUE(Region::ellipse(QRect()).isEmpty());
    EXPECT_TRUE(Region::polygon(QPolygon({QPoint(1, 1), QPoint(5, 5)})).isEmpty());
    EXPECT_EQ(Region().shape(), Region::Shape::Empty);
}

TEST(Region, TranslatesAsAHandleAtAnOffset)
{
    const Region e = Region::ellipse(QRect(0, 0, 7, 5));
    const Region moved = e.translated(10, -2);
    EXPECT_EQ(moved.bounds(), e.bounds().translated(10, -2));
    EXPECT_EQ(area(moved), area(e));
    EXPECT_EQ(moved.translated(-10, 2), e);
    EXPECT_FALSE(e.outline().isEmpty());
}
