// What a thumbnail shows: the candidate alone, at the outline's size, or over the portrait.

#include "pickerfixture.h"

#include <initializer_list>

using namespace pickertest;
using picker::ThumbPager;

namespace {

constexpr QRgb kWhite = qRgb(255, 255, 255);

const Part& partOf(const std::vector<Part>& parts, int kind, int fileNo)
{
    for (const Part& p : parts)
        if (p.kind == kind && p.fileNo == fileNo)
            return p;
    throw std::logic_error("no such part");
}

// A point inside `in` and outside every box of `out`.
QPoint pointIn(const QRect& in, std::initializer_list<QRect> out)
{
    for (int y = in.top(); y <= in.bottom(); ++y)
        for (int x = in.left(); x <= in.right(); ++x) {
            bool free = true;
            for (const QRect& o : out)
                free = free && !o.contains(x, y);
            if (free)
                return {x, y};
        }
    throw std::logic_error("no free point");
}

std::vector<Part> join(std::initializer_list<std::vector<Part>> lists)
{
    std::vector<Part> all;
    for (const auto& l : lists)
        all.insert(all.end(), l.begin(), l.end());
    return all;
}

}  // namespace

// Over the portrait: placed kinds whose overlay setting is off stay out; the current kind is
// drawn whatever its setting, at its own box.
TEST(Thumbnails, OverlayShowsTheChosenKinds)
{
    const std::vector<Part> parts = join({category(7, 2), category(13, 6), category(14, 2)});
    PagerFixture f(parts);
    for (int k : {7, 14}) {
        f.open(k, 1);
        ASSERT_EQ(f.apply(0), picker::PartApplier::Result::Applied);
    }
    f.session.settings.OverlayKinds[14] = false;
    f.session.settings.OverlayKinds[13] = false;
    ThumbPager& p = f.open(13, 1);
    const QRect outline = partOf(parts, 7, 1).smallBox;
    const QRect nose = partOf(parts, 14, 1).smallBox;
    for (int i = 0; i < ThumbPager::kSlots; ++i) {
        SCOPED_TRACE(i);
        const QRect mouth = partOf(parts, 13, i + 1).smallBox;
        const imaging::Raster& t = p.thumbnail(i);
        ASSERT_EQ(t.size(), QSize(100, 100));
        EXPECT_EQ(t.image().pixel(pointIn(mouth, {})), partColour(13, i + 1));
        EXPECT_EQ(t.image().pixel(pointIn(outline, {mouth})), partColour(7, 1));
        EXPECT_EQ(t.image().pixel(pointIn(nose, {mouth, outline})), kWhite);
    }
    f.session.settings.OverlayKinds[14] = true;
    p.ShowSlots(2);
    EXPECT_EQ(p.thumbnail(0).image().pixel(pointIn(nose, {partOf(parts, 13, 1).smallBox})), partColour(14, 1));
}

// A placed registered picture is drawn at a third of its stored size.
TEST(Thumbnails, UserImageAtOneThird)
{
    const std::vector<Part> photos = category(2, 1);
    PagerFixture photo(photos, QStringLiteral("photo.mdb"));
    photo.open(2, 2);
    ASSERT_EQ(photo.apply(0), picker::PartApplier::Result::Applied);
    const QSize stored = photos[0].fullBox.size();  // 63 x 90
    const QSize third((stored.width() + 1) / 3, stored.height() / 3);

    const std::vector<Part> parts = category(13, 5);
    PagerFixture f(parts);
    f.session.state = photo.session.state;
    f.session.images = photo.session.images;
    f.session.images.PreviewTable[2].PosX = 3;
    f.session.images.PreviewTable[2].PosY = 2;
    ThumbPager& p = f.open(13, 1);
    const imaging::Raster& t = p.thumbnail(0);
    const QRect user(QPoint(3, 2), third);
    const QRect mouth = parts[0].smallBox;
    ASSERT_FALSE(user.intersects(mouth));
    EXPECT_EQ(t.image().pixel(user.topLeft()), partColour(2, 1));
    EXPECT_EQ(t.image().pixel(user.bottomRight()), partColour(2, 1));
    EXPECT_EQ(t.image().pixel(user.right() + 1, user.top()), kWhite);
    EXPECT_EQ(t.image().pixel(user.left(), user.bottom() + 1), kWhite);
}

// The outline sliders' size change is shown: alone (mode 2) and over the portrait, the
// candidate's box grows about its centre.
TEST(Thumbnails, GrownOutlineGrowsTheCandidate)
{
    const std::vector<Part> parts = category(7, 3);
    for (int mode : {2, 1}) {
        SCOPED_TRACE(mode);
        PagerFixture f(parts);
        f.open(7, mode);
        ASSERT_EQ(f.apply(0), picker::PartApplier::Result::Applied);
        f.session.images.PreviewTable[7].GrowW = 10;
        f.session.images.PreviewTable[7].GrowH = -4;
        ThumbPager& p = f.open(7, mode);
        const QRect box = partOf(parts, 7, 2).smallBox;
        const imaging::Raster& t = p.thumbnail(1);
        const int y = box.center().y();
        EXPECT_EQ(t.image().pixel(box.left() - 4, y), partColour(7, 2));
        EXPECT_EQ(t.image().pixel(box.right() + 4, y), partColour(7, 2));
        EXPECT_EQ(t.image().pixel(box.left() - 7, y), kWhite);
        EXPECT_EQ(t.image().pixel(box.center().x(), box.top()), kWhite);
    }
}

// A part the user moved shows its candidates moved as far; eyes show both halves.
TEST(Thumbnails, OverlayCandidateFollowsThePlacedPart)
{
    const std::vector<Part> parts = join({category(11, 3), category(13, 3)});
    PagerFixture f(parts);
    f.open(13, 1);
    ASSERT_EQ(f.apply(0), picker::PartApplier::Result::Applied);
    f.session.images.PreviewTable[13].PosX += 5;
    ThumbPager& p = f.open(13, 1);
    const QRect box = partOf(parts, 13, 2).smallBox;
    EXPECT_EQ(p.thumbnail(1).image().pixel(box.right() + 4, box.center().y()), partColour(13, 2));
    EXPECT_EQ(p.thumbnail(1).image().pixel(box.left() + 2, box.center().y()), kWhite);

    ThumbPager& eyes = f.open(11, 1);
    const QRect eye = partOf(parts, 11, 3).smallBox;
    EXPECT_EQ(eyes.thumbnail(2).image().pixel(eye.center()), partColour(11, 3));
    EXPECT_EQ(eyes.thumbnail(2).image().pixel(eye.center() - QPoint(17, 0)), partColour(11, 3));
}

// The swatches' treatment: the candidates take the code's colour, the stored colours stay.
TEST(Thumbnails, ColourCodeTreatsTheCandidates)
{
    const std::vector<Part> parts = category(3, 5);
    PagerFixture f(parts);
    ThumbPager& plain = f.open(3, 2, 5);
    const QPoint c = parts[0].smallBox.center();
    EXPECT_EQ(plain.thumbnail(0).image().pixel(c), partColour(3, 1));
    ThumbPager& grey = f.open(3, 2, 4);
    const QRgb treated = grey.thumbnail(0).image().pixel(c);
    EXPECT_NE(treated, partColour(3, 1));
    EXPECT_LT(std::abs(qRed(treated) - qGreen(treated)) + std::abs(qGreen(treated) - qBlue(treated)), 40);
    EXPECT_EQ(grey.thumbnail(0).image().pixel(2, 2), kWhite);
}
