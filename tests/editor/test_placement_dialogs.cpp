#include "editor/partspos.h"
#include "editor/position.h"

#include "core/kinds.h"
#include "core/session.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QStringList>
#include <QTest>

#include <functional>
#include <memory>

using namespace core;
using editor::PartsPos;
using editor::Position;

namespace {

QStringList texts(const QWidget& w)
{
    QStringList out;
    for (const QLabel* label : w.findChildren<QLabel*>())
        out << label->text();
    for (const QGroupBox* box : w.findChildren<QGroupBox*>())
        out << box->title();
    return out;
}

// A session with a face: every kind placed at BaseX 100 (thumbnails at 33), or all empty.
struct Fixture {
    QWidget mainWindow;
    std::unique_ptr<PortraitSession> session = std::make_unique<PortraitSession>();
    int composeCalls = 0;
    std::function<void()> compose = [this] { ++composeCalls; };

    explicit Fixture(bool withParts = true)
    {
        for (int k = 1; k <= kind::Count; ++k) {
            PartSlot& s = session->state.PartTable[k];
            s.FileNo = withParts ? 1 : 0;
            s.BaseX = s.PosX = 100;
            s.Width = 50;
            s.Height = 40;
            session->images.PreviewTable[k].BaseX = 33;
        }
    }
    PortraitState& state() { return session->state; }
};

double dpiX(const QWidget& w) { return w.logicalDpiX(); }
double dpiY(const QWidget& w) { return w.logicalDpiY(); }

}  // namespace

TEST(PartsPosDialog, CaptionsLabelsAndRanges)
{
    Fixture f;
    PartsPos dialog(*f.session, f.compose, &f.mainWindow);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("似顔絵調整"));
    EXPECT_TRUE(dialog.isWindow());
    EXPECT_EQ(dialog.parentWidget(), &f.mainWindow);
    EXPECT_FALSE(dialog.isModal());
    EXPECT_EQ(dialog.updateButton()->text(), QStringLiteral("更新"));

    const QStringList shown = texts(dialog);
    for (const char16_t* t : {u"輪郭", u"目", u"まゆげ", u"幅：", u"高さ：", u"位置：", u"角度：",
                              u"狭い", u"広い", u"短い", u"長い", u"離れ目", u"より目", u"離れ眉",
                              u"より眉", u"-180", u"180"})
        EXPECT_TRUE(shown.contains(QString::fromUtf16(t))) << QString::fromUtf16(t).toStdString();

    struct Row {
        PartsPos::Slider slider;
        int minimum, maximum, tick;
    };
    for (const Row& r : {Row{PartsPos::Slider::OutlineWidth, -2, 2, 1},
                         Row{PartsPos::Slider::OutlineHeight, -2, 2, 1},
                         Row{PartsPos::Slider::EyeSpacing, -2, 2, 1},
                         Row{PartsPos::Slider::EyeAngle, -180, 180, 45},
                         Row{PartsPos::Slider::BrowSpacing, -2, 2, 1},
                         Row{PartsPos::Slider::BrowAngle, -180, 180, 45}}) {
        const QSlider* s = dialog.slider(r.slider);
        EXPECT_EQ(s->minimum(), r.minimum);
        EXPECT_EQ(s->maximum(), r.maximum);
        EXPECT_EQ(s->tickInterval(), r.tick);
    }
}

// Each slider changes the portrait at once and draws it exactly once per change.
TEST(PartsPosDialog, EachSliderAppliesAndComposesOnce)
{
    struct Row {
        const char* name;
        PartsPos::Slider slider;
        int value;
        std::function<void(const PortraitState&, const PartTable&)> check;
    };
    const Row rows[] = {
        {"width", PartsPos::Slider::OutlineWidth, 2,
         [](const PortraitState& s, const PartTable& preview) {
             for (const PartKind k : {kind::Outline, kind::Hairstyle, kind::Fringe, kind::Ears}) {
                 EXPECT_EQ(s.PartTable[k].GrowW, 50);
                 EXPECT_EQ(preview[k].GrowW, 17);
             }
             EXPECT_EQ(s.OutlineWidthStep, 2);
         }},
        {"height", PartsPos::Slider::OutlineHeight, -2,
         [](const PortraitState& s, const PartTable& preview) {
             EXPECT_EQ(s.PartTable[kind::Ears].GrowH, -30);
             EXPECT_EQ(preview[kind::Ears].GrowH, -10);
             EXPECT_EQ(s.BodyShift, 5);
             EXPECT_EQ(s.OutlineHeightStep, -2);
         }},
        {"eye spacing", PartsPos::Slider::EyeSpacing, -2,
         [](const PortraitState& s, const PartTable& preview) {
             EXPECT_EQ(s.PartTable[kind::EyeRight].PosX, 108);
             EXPECT_EQ(s.PartTable[kind::EyeLeft].PosX, 92);
             EXPECT_EQ(preview[kind::EyeRight].PosX, 36);
             EXPECT_EQ(s.EyeSpacing, -2);
         }},
        {"eye tilt", PartsPos::Slider::EyeAngle, 30,
         [](const PortraitState& s, const PartTable&) {
             EXPECT_EQ(s.PartTable[kind::EyeRight].Angle, -3000);
             EXPECT_EQ(s.PartTable[kind::EyeLeft].Angle, 3000);
             EXPECT_EQ(s.EyeAngle, 30);
         }},
        {"eyebrow spacing", PartsPos::Slider::BrowSpacing, 2,
         [](const PortraitState& s, const PartTable&) {
             EXPECT_EQ(s.PartTable[kind::BrowRight].PosX, 94);
             EXPECT_EQ(s.PartTable[kind::BrowLeft].PosX, 106);
             EXPECT_EQ(s.PartTable[kind::EyeRight].PosX, 100);
             EXPECT_EQ(s.BrowSpacing, 2);
         }},
        {"eyebrow tilt", PartsPos::Slider::BrowAngle, -45,
         [](const PortraitState& s, const PartTable&) {
             EXPECT_EQ(s.PartTable[kind::BrowRight].Angle, 4500);
             EXPECT_EQ(s.PartTable[kind::EyeRight].Angle, 0);
             EXPECT_EQ(s.BrowAngle, -45);
         }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Fixture f;
        PartsPos dialog(*f.session, f.compose, &f.mainWindow);
        dialog.openDialog();
        EXPECT_EQ(f.composeCalls, 0);  // opening changes nothing
        dialog.slider(r.slider)->setValue(r.value);
        EXPECT_EQ(f.composeCalls, 1);
        r.check(f.state(), f.session->images.PreviewTable);
    }
}

TEST(PartsPosDialog, UpdateButtonAppliesEverySlider)
{
    Fixture f;
    PartsPos dialog(*f.session, f.compose, &f.mainWindow);
    f.state().PartTable[kind::Outline].GrowW = 7;  // changed behind the dialog
    f.state().PartTable[kind::EyeLeft].PosX = 0;
    QTest::mouseClick(dialog.updateButton(), Qt::LeftButton);
    EXPECT_EQ(f.composeCalls, 1);
    EXPECT_EQ(f.state().PartTable[kind::Outline].GrowW, 0);
    EXPECT_EQ(f.state().PartTable[kind::EyeLeft].PosX, 100);
}

// Opening shows the portrait's values and so does a sync after an undo changed them; neither
// applies anything, so an untouched slider cannot bring an old value back.
TEST(PartsPosDialog, SlidersFollowThePortraitWithoutApplying)
{
    Fixture f;
    f.state().OutlineWidthStep = -1;
    f.state().EyeAngle = 90;
    f.state().BrowSpacing = 2;
    PartsPos dialog(*f.session, f.compose, &f.mainWindow);
    dialog.openDialog();
    EXPECT_EQ(dialog.slider(PartsPos::Slider::OutlineWidth)->value(), -1);
    EXPECT_EQ(dialog.slider(PartsPos::Slider::EyeAngle)->value(), 90);
    EXPECT_EQ(dialog.slider(PartsPos::Slider::BrowSpacing)->value(), 2);
    EXPECT_EQ(dialog.pos(), QPoint(editor::twipsToPixels(5500, dpiX(dialog)),
                                   editor::twipsToPixels(500, dpiY(dialog))));

    f.state().EyeAngle = -45;  // an undo
    f.state().OutlineWidthStep = 0;
    dialog.syncFromState();
    EXPECT_EQ(dialog.slider(PartsPos::Slider::EyeAngle)->value(), -45);
    dialog.slider(PartsPos::Slider::EyeSpacing)->setValue(1);
    EXPECT_EQ(f.composeCalls, 1);
    EXPECT_EQ(f.state().EyeAngle, -45);
    EXPECT_EQ(f.state().OutlineWidthStep, 0);
}

// Nothing is disabled for parts that are not there: the numbers go into the empty slots.
TEST(PartsPosDialog, AbsentPartsLeaveEveryControlEnabled)
{
    Fixture f(false);
    PartsPos dialog(*f.session, f.compose, &f.mainWindow);
    dialog.openDialog();
    for (const QSlider* s : dialog.findChildren<QSlider*>())
        EXPECT_TRUE(s->isEnabled()) << s->objectName().toStdString();
    EXPECT_TRUE(dialog.updateButton()->isEnabled());

    dialog.slider(PartsPos::Slider::EyeSpacing)->setValue(2);
    EXPECT_EQ(f.composeCalls, 1);
    EXPECT_EQ(f.state().PartTable[kind::EyeRight].PosX, 94);
    EXPECT_FALSE(f.state().PartTable[kind::EyeRight].present());
}

TEST(PartsPosDialog, CloseDialogHidesItAndIsHarmlessWhenClosed)
{
    Fixture f;
    PartsPos dialog(*f.session, f.compose, &f.mainWindow);
    dialog.closeDialog();
    EXPECT_FALSE(dialog.isVisible());
    dialog.openDialog();
    ASSERT_TRUE(dialog.isVisible());
    dialog.closeDialog();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(f.composeCalls, 0);
}

TEST(PositionDialog, CaptionsLabelsAndRanges)
{
    Fixture f;
    Position dialog(*f.session, f.compose, &f.mainWindow);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("人物表示位置"));
    EXPECT_TRUE(dialog.isWindow());
    EXPECT_EQ(dialog.parentWidget(), &f.mainWindow);
    EXPECT_FALSE(dialog.isModal());
    const QStringList shown = texts(dialog);
    for (const char16_t* t : {u"左右", u"上下", u"左", u"右", u"上", u"下", u"０", u"(左)", u"(右)"})
        EXPECT_TRUE(shown.contains(QString::fromUtf16(t))) << QString::fromUtf16(t).toStdString();
    EXPECT_EQ(dialog.horizontalSlider()->minimum(), -3);
    EXPECT_EQ(dialog.horizontalSlider()->maximum(), 17);
    EXPECT_EQ(dialog.verticalSlider()->minimum(), -5);
    EXPECT_EQ(dialog.verticalSlider()->maximum(), 9);
}

// A slider move takes the figure to the custom position, asks for "その他" before drawing,
// and draws once; a value the step already has draws nothing.
TEST(PositionDialog, SliderMovesTheFigureAndComposesOnce)
{
    Fixture f;
    f.state().FigurePosMode = 1;  // "中央"
    f.state().FigureStepX = 7;
    Position dialog(*f.session, f.compose, &f.mainWindow);
    int composedAtSignal = -1;
    QObject::connect(&dialog, &Position::customPositionChosen,
                     [&] { composedAtSignal = f.composeCalls; });
    QSignalSpy chosen(&dialog, &Position::customPositionChosen);
    dialog.openDialog();
    EXPECT_EQ(dialog.horizontalSlider()->value(), 7);  // starts from 140 pixels
    EXPECT_EQ(f.composeCalls, 0);

    dialog.horizontalSlider()->setValue(17);
    EXPECT_EQ(f.composeCalls, 1);
    EXPECT_EQ(chosen.count(), 1);
    EXPECT_EQ(composedAtSignal, 0);
    EXPECT_EQ(f.state().FigurePosMode, 3);
    EXPECT_EQ(f.state().FigureOffsetX, 340);
    EXPECT_EQ(f.state().PartTable[kind::Balloon].ShiftX, 17);

    dialog.verticalSlider()->setValue(-5);
    EXPECT_EQ(f.composeCalls, 2);
    EXPECT_EQ(f.state().FigureOffsetY, -50);
    EXPECT_EQ(f.state().PartTable[kind::Background].ShiftY, -5);

    // The step was set behind the dialog to what the slider is now moved to.
    f.state().FigureStepY = 4;
    dialog.verticalSlider()->setValue(4);
    EXPECT_EQ(f.composeCalls, 2);
    EXPECT_EQ(chosen.count(), 2);
}

// The first opening is at (5500, 1000) twips, later ones where it was closed; closing by
// the close box, by Escape or by closeDialog() tells the main window once.
TEST(PositionDialog, OpensWhereItWasClosed)
{
    Fixture f;
    Position dialog(*f.session, f.compose, &f.mainWindow);
    QSignalSpy closed(&dialog, &Position::closed);
    const auto pixels = [&](QPoint twips) {
        return QPoint(editor::twipsToPixels(twips.x(), dpiX(dialog)),
                      editor::twipsToPixels(twips.y(), dpiY(dialog)));
    };

    dialog.closeDialog();  // not open: nothing to remember or report
    EXPECT_EQ(closed.count(), 0);
    EXPECT_EQ(dialog.rememberedPlaceTwips(), QPoint());

    dialog.openDialog();
    EXPECT_EQ(dialog.pos(), pixels({5500, 1000}));
    dialog.move(200, 150);
    dialog.closeDialog();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(closed.count(), 1);
    const QPoint remembered(editor::pixelsToTwips(200, dpiX(dialog)),
                            editor::pixelsToTwips(150, dpiY(dialog)));
    EXPECT_EQ(dialog.rememberedPlaceTwips(), remembered);

    dialog.openDialog();
    EXPECT_EQ(dialog.pos(), pixels(remembered));
    dialog.move(40, 30);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(closed.count(), 2);
    EXPECT_EQ(dialog.rememberedPlaceTwips(),
              QPoint(editor::pixelsToTwips(40, dpiX(dialog)),
                     editor::pixelsToTwips(30, dpiY(dialog))));
    EXPECT_EQ(f.composeCalls, 0);
}

// While it is closed the steps may change (a menu item, an undo); it opens on them.
TEST(PositionDialog, ReopeningShowsTheCurrentSteps)
{
    Fixture f;
    Position dialog(*f.session, f.compose, &f.mainWindow);
    dialog.openDialog();
    dialog.horizontalSlider()->setValue(5);
    dialog.closeDialog();
    f.state().FigureStepX = 14;  // "右"
    f.state().FigureStepY = 0;
    dialog.openDialog();
    EXPECT_EQ(dialog.horizontalSlider()->value(), 14);
    EXPECT_EQ(dialog.verticalSlider()->value(), 0);
    EXPECT_EQ(f.composeCalls, 1);
}
