#include "imaging/view/imageview.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using imaging::ImageView;
using imaging::MarkShape;
using imaging::Raster;
using imaging::Region;

namespace {

const QRgb kGrey = qRgb(128, 128, 128);
const QRgb kRed = qRgb(255, 0, 0);

// Every pixel differs, so a shifted or scaled copy cannot pass for the original.
Raster numbered(int w, int h)
{
    Raster r(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            r.setPixel(x, y, qRgb(x & 0xff, y & 0xff, (x * 7 + y * 13) & 0xff));
    return r;
}

QRgb at(const QImage& image, int x, int y)
{
    return image.pixel(x, y) | 0xff000000u;
}

bool isFramePixel(QRgb c)
{
    return c == qRgb(0, 0, 0) || c == qRgb(255, 255, 255);
}

struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

}  // namespace

TEST(ImageViewGeometry, ClientAndBitmapCoordinatesFollowRectanglesZoomAndUnit)
{
    const struct {
        const char* name;
        int mode;
        QRectF display;  // client units; empty keeps the default
        QRect source;    // empty keeps the whole bitmap
        int zoom;        // 0 keeps 100
        QPointF client;
        QPointF bitmap;
    } rows[] = {
        {"pixels, defaults", 3, {}, {}, 0, {10, 20}, {10, 20}},
        {"pixels, zoom 200", 3, {}, {}, 200, {10, 20}, {5, 10}},
        {"pixels, display and source", 3, {20, 10, 50, 40}, {10, 10, 25, 20}, 0, {30, 30}, {15, 20}},
        {"pixels, stretched unevenly", 3, {0, 0, 200, 40}, {}, 0, {50, 30}, {25, 60}},
        {"twips, defaults", 1, {}, {}, 0, {150, 300}, {10, 20}},
        {"twips, zoom 50", 1, {}, {}, 50, {150, 300}, {20, 40}},
        {"twips, display moved", 1, {300, 150, 1500, 1200}, {}, 0, {600, 450}, {20, 20}},
    };
    for (const auto& row : rows) {
        ImageView view;
        view.setRaster(Raster(100, 80, 24));
        ASSERT_TRUE(view.setScaleMode(row.mode));
        if (!row.source.isEmpty())
            view.setSourceRect(row.source);
        if (row.zoom)
            view.setZoom(row.zoom);
        if (!row.display.isEmpty())
            view.setDisplayRect(row.display);
        const QPointF b = view.clientToBitmap(row.client);
        EXPECT_NEAR(b.x(), row.bitmap.x(), 1e-9) << row.name;
        EXPECT_NEAR(b.y(), row.bitmap.y(), 1e-9) << row.name;
        const QPointF back = view.bitmapToClient(row.bitmap);
        EXPECT_NEAR(back.x(), row.client.x(), 1e-9) << row.name;
        EXPECT_NEAR(back.y(), row.client.y(), 1e-9) << row.name;
        if (!row.display.isEmpty()) {
            EXPECT_EQ(view.displayRectF(), row.display) << row.name;
        }
    }
}

TEST(ImageViewGeometry, ZoomSizesTheDisplayFromTheSourceAndViewModesReset)
{
    ImageView view;
    view.setRaster(Raster(100, 80, 24));
    EXPECT_EQ(view.displayRect(), QRect(0, 0, 100, 80));
    EXPECT_EQ(view.sourceRect(), QRect(0, 0, 100, 80));

    view.setDisplayRect(QRectF(10, 5, 30, 30));
    EXPECT_TRUE(view.setZoom(150));
    EXPECT_TRUE(view.setZoom(150));  // setting it again does not compound
    EXPECT_EQ(view.displayRect(), QRect(10, 5, 150, 120));
    EXPECT_FALSE(view.setZoom(0));
    EXPECT_EQ(view.zoom(), 150);

    view.setScaleMode(imaging::kScaleTwips);
    EXPECT_EQ(view.displayRect(), QRect(150, 75, 2250, 1800));
    view.setScaleMode(imaging::kScalePixels);
    EXPECT_FALSE(view.setScaleMode(2));

    view.viewSnap();
    EXPECT_EQ(view.size(), QSize(150, 120));
    view.viewNormal();
    EXPECT_EQ(view.zoom(), 100);
    EXPECT_EQ(view.displayRect(), QRect(0, 0, 100, 80));

    // Another size of picture shows all of it, at the zoom in force.
    view.setZoom(200);
    view.setRaster(Raster(30, 20, 24));
    EXPECT_EQ(view.sourceRect(), QRect(0, 0, 30, 20));
    EXPECT_EQ(view.displayRect(), QRect(0, 0, 60, 40));
}

TEST(ImageViewMarking, EachShapeMarksTheDraggedBox)
{
    const struct {
        const char* name;
        MarkShape shape;
        int zoom;
        QVector<QPoint> path;  // press, moves, release (client pixels)
        QRect bounds;          // bitmap pixels
        QPoint outsideCorner;  // not in the region for round shapes
    } rows[] = {
        {"rectangle", MarkShape::Rectangle, 100, {{10, 10}, {30, 25}, {50, 40}}, {10, 10, 40, 30}, {-1, -1}},
        {"drawn backwards", MarkShape::Rectangle, 100, {{50, 40}, {20, 20}, {10, 10}}, {10, 10, 40, 30}, {-1, -1}},
        {"ellipse", MarkShape::Ellipse, 100, {{10, 10}, {30, 25}, {50, 40}}, {10, 10, 40, 30}, {10, 10}},
        {"rounded", MarkShape::RoundedRectangle, 100, {{10, 10}, {30, 25}, {50, 40}}, {10, 10, 40, 30}, {10, 10}},
        {"freehand", MarkShape::Freehand, 100, {{10, 10}, {50, 10}, {50, 40}, {10, 40}, {10, 40}},
         {10, 10, 40, 30}, {-1, -1}},
        {"zoom 200", MarkShape::Rectangle, 200, {{20, 20}, {60, 50}, {100, 80}}, {10, 10, 40, 30}, {-1, -1}},
        {"past the edge", MarkShape::Rectangle, 100, {{150, 100}, {200, 150}, {260, 210}}, {150, 100, 50, 50},
         {-1, -1}},
    };
    for (const auto& row : rows) {
        ImageView view;
        view.resize(400, 300);
        view.setRaster(Raster(200, 150, 24));
        view.setZoom(row.zoom);
        QSignalSpy changed(&view, &ImageView::regionChanged);
        view.startMarking(row.shape);
        QTest::mousePress(&view, Qt::LeftButton, {}, row.path.first());
        for (int i = 1; i + 1 < row.path.size(); ++i)
            QTest::mouseMove(&view, row.path[i]);
        QTest::mouseRelease(&view, Qt::LeftButton, {}, row.path.last());

        const Region& region = view.raster().region();
        EXPECT_EQ(region.bounds(), row.bounds) << row.name;
        EXPECT_EQ(changed.count(), 1) << row.name;
        EXPECT_FALSE(view.isMarking()) << row.name;
        if (row.outsideCorner.x() >= 0) {
            EXPECT_FALSE(region.contains(row.outsideCorner.x(), row.outsideCorner.y())) << row.name;
            EXPECT_TRUE(region.contains(row.bounds.center().x(), row.bounds.center().y())) << row.name;
        }
    }
}

TEST(ImageViewMarking, StartsFromAMouseDownSlotAndAClickWithoutDragFreesTheRegion)
{
    ImageView view;
    view.resize(100, 100);
    view.setRaster(Raster(100, 100, 24));
    // The way an image window uses it: marking begins in reply to the press itself.
    QObject::connect(&view, &ImageView::mouseDown, &view,
                     [&view](int button, int, double, double) {
                         if (button == imaging::kButtonLeft)
                             view.startMarking(MarkShape::Rectangle);
                     });
    QSignalSpy changed(&view, &ImageView::regionChanged);
    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(&view, QPoint(20, 30));
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(20, 30));
    EXPECT_EQ(view.raster().region().bounds(), QRect(5, 5, 15, 25));
    EXPECT_EQ(changed.count(), 1);

    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_FALSE(view.raster().hasRegion());
    EXPECT_EQ(changed.count(), 2);

    // Cancelled marking leaves the region alone; a right press never starts one.
    view.setRegion(Region::rectangle(QRect(1, 1, 5, 5)));
    view.startMarking(MarkShape::Ellipse);
    view.cancelMarking();
    QObject::disconnect(&view, &ImageView::mouseDown, nullptr, nullptr);
    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(40, 40));
    view.startMarking(MarkShape::Rectangle);
    QTest::mousePress(&view, Qt::RightButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&view, Qt::RightButton, {}, QPoint(40, 40));
    EXPECT_EQ(view.raster().region().bounds(), QRect(1, 1, 5, 5));
}

TEST(ImageViewMouse, SignalsCarryButtonShiftAndPositionInClientUnits)
{
    const struct {
        Qt::MouseButton button;
        Qt::KeyboardModifiers modifiers;
        int mode;
        QPoint pos;
        int code;
        int shift;
        QPointF reported;
    } rows[] = {
        {Qt::LeftButton, {}, 3, {12, 34}, 1, 0, {12, 34}},
        {Qt::RightButton, Qt::ShiftModifier, 1, {12, 34}, 2, 1, {180, 510}},
        {Qt::MiddleButton, Qt::ControlModifier | Qt::AltModifier, 3, {7, 8}, 4, 6, {7, 8}},
    };
    for (const auto& row : rows) {
        ImageView view;
        view.resize(100, 100);
        view.setScaleMode(row.mode);
        QSignalSpy down(&view, &ImageView::mouseDown);
        QSignalSpy move(&view, &ImageView::mouseMove);
        QSignalSpy up(&view, &ImageView::mouseUp);
        QTest::mousePress(&view, row.button, row.modifiers, row.pos);
        QTest::mouseMove(&view, row.pos);
        QTest::mouseRelease(&view, row.button, row.modifiers, row.pos);
        for (QSignalSpy* spy : {&down, &move, &up}) {
            ASSERT_EQ(spy->count(), 1);
            const QList<QVariant> args = spy->first();
            EXPECT_EQ(args[0].toInt(), row.code);
            if (spy != &move) {  // the test tool's moves carry no modifiers
                EXPECT_EQ(args[1].toInt(), row.shift);
            }
            EXPECT_DOUBLE_EQ(args[2].toDouble(), row.reported.x());
            EXPECT_DOUBLE_EQ(args[3].toDouble(), row.reported.y());
        }
    }
}

TEST(ImageViewMouse, PointerNumbersGiveTheirCursors)
{
    ImageView view;
    const struct {
        int number;
        Qt::CursorShape shape;
    } rows[] = {{11, Qt::WaitCursor},      {6, Qt::SizeBDiagCursor}, {7, Qt::SizeVerCursor},
                {8, Qt::SizeFDiagCursor},  {9, Qt::SizeHorCursor},   {0, Qt::ArrowCursor}};
    for (const auto& row : rows) {
        view.setCursorShape(row.number);
        EXPECT_EQ(view.cursorShape(), row.number);
        EXPECT_EQ(view.cursor().shape(), row.shape) << row.number;
    }
}

TEST(ImageViewPaint, FloaterRubberBandAndTextsShowAtTheirPlaces)
{
    ImageView view;
    view.resize(200, 200);
    view.setRaster(Raster(100, 100, 24, kGrey));
    view.setZoom(200);

    Raster piece(10, 10, 24, kRed);
    piece.setRegion(Region::rectangle(QRect(0, 0, 5, 10)));  // left half only
    view.setFloater(piece);
    view.setFloaterRect(QRectF(50, 50, 20, 20));
    view.setRubberBand(QRect(10, 10, 20, 20));  // bitmap pixels: client 20..60
    view.setRubberBandVisible(true);
    imaging::TextStyle style;
    style.fontSize = 20;
    view.addDisplayText(QStringLiteral("ＡＡ"), QRect(60, 0, 40, 30), style);

    QImage shot = view.grab().toImage();
    EXPECT_EQ(at(shot, 52, 66), kRed);
    EXPECT_EQ(at(shot, 68, 66), kGrey);  // outside the floater's region
    EXPECT_EQ(at(shot, 45, 45), kGrey);
    EXPECT_TRUE(isFramePixel(at(shot, 30, 20)));
    EXPECT_TRUE(isFramePixel(at(shot, 20, 40)));
    EXPECT_EQ(at(shot, 40, 40), kGrey);
    int textInk = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 120; x < 200; ++x)
            textInk += at(shot, x, y) != kGrey;
    EXPECT_GT(textInk, 50);
    EXPECT_EQ(view.raster(), Raster(100, 100, 24, kGrey));  // shown, not drawn in

    view.setRubberBandVisible(false);
    view.clearFloater();
    view.clearDisplayTexts();
    shot = view.grab().toImage();
    EXPECT_EQ(at(shot, 30, 20), kGrey);
    EXPECT_EQ(at(shot, 52, 66), kGrey);
    EXPECT_EQ(at(shot, 150, 20), kGrey);
}

TEST(ImageViewPaint, LiftedRegionFloatsOverItsOwnPlace)
{
    ImageView view;
    view.resize(120, 120);
    const Raster picture = numbered(60, 60);
    view.setRaster(picture);
    view.setZoom(200);
    view.setRegion(Region::ellipse(QRect(10, 20, 20, 10)));
    view.floatRegion();
    ASSERT_TRUE(view.hasFloater());
    EXPECT_EQ(view.floater().size(), QSize(20, 10));
    EXPECT_EQ(view.floater().region().bounds(), QRect(0, 0, 20, 10));
    EXPECT_EQ(view.floater().pixel(10, 5), picture.pixel(20, 25));
    EXPECT_EQ(view.floaterRect(), QRect(20, 40, 40, 20));

    // Moved away, the piece shows at its new place and the picture below is unchanged.
    view.setFloaterRect(QRectF(0, 0, 40, 20));
    const QImage shot = view.grab().toImage();
    EXPECT_EQ(at(shot, 20, 10), picture.pixel(20, 25));
    EXPECT_EQ(at(shot, 40, 50), picture.pixel(20, 25));
}

TEST(ImageViewPaint, RegionFrameMarchesWhileShown)
{
    ImageView view;
    view.resize(60, 60);
    view.setRaster(Raster(60, 60, 24, kGrey));
    view.setRegion(Region::rectangle(QRect(10, 10, 40, 40)));
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    EXPECT_EQ(at(view.grab().toImage(), 10, 30), kGrey);  // frame hidden by default

    view.setRegionFrameVisible(true);
    const QImage first = view.grab().toImage();
    int onFrame = 0;
    for (int x = 10; x < 50; ++x)
        onFrame += isFramePixel(at(first, x, 10));
    EXPECT_EQ(onFrame, 40);
    EXPECT_EQ(at(first, 30, 30), kGrey);

    bool moved = false;
    for (int i = 0; i < 50 && !moved; ++i) {
        QTest::qWait(50);
        moved = view.grab().toImage() != first;
    }
    EXPECT_TRUE(moved);
}

TEST(ImageViewPaint, AutoRepaintOffWaitsForForceRepaint)
{
    ImageView view;
    view.resize(50, 50);
    view.setRaster(Raster(50, 50, 24, kGrey));
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    PaintCounter counter;
    view.installEventFilter(&counter);
    QCoreApplication::processEvents();
    counter.paints = 0;

    view.setAutoRepaint(false);
    view.setRaster(Raster(50, 50, 24, kRed));
    view.setRubberBand(QRect(5, 5, 10, 10));
    view.setRubberBandVisible(true);
    view.setZoom(200);
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.paints, 0);
    view.forceRepaint();
    EXPECT_EQ(counter.paints, 1);

    view.setRaster(Raster(50, 50, 24, kGrey));
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.paints, 1);
    view.setAutoRepaint(true);  // pending changes show once repainting is back
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.paints, 2);
    view.setZoom(100);
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.paints, 3);
}

TEST(ImageViewRender, PaintsTheSourceIntoImagesAndPdf)
{
    ImageView view;
    const Raster picture = numbered(40, 30);
    view.setRaster(picture);

    QImage whole(40, 30, QImage::Format_RGB32);
    whole.fill(Qt::white);
    {
        QPainter painter(&whole);
        view.render(painter, QRectF(whole.rect()));
    }
    EXPECT_EQ(Raster::fromImage(whole, 24), picture);

    // Only the source rectangle, doubled.
    view.setSourceRect(QRect(10, 5, 8, 6));
    QImage part(16, 12, QImage::Format_RGB32);
    {
        QPainter painter(&part);
        view.render(painter, QRectF(part.rect()));
    }
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(at(part, x, y), picture.pixel(10 + x / 2, 5 + y / 2)) << x << "," << y;

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("view.pdf"));
    {
        QPdfWriter pdf(file);
        QPainter painter(&pdf);
        ASSERT_TRUE(painter.isActive());
        view.render(painter, QRectF(0, 0, pdf.width() / 2.0, pdf.height() / 2.0));
    }
    EXPECT_GT(QFileInfo(file).size(), 500);
}
