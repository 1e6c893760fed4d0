// The picker window on the offscreen platform: opening categories, scrolling, applying,
// erasing, switching categories, the per-kind controls and closing.

#include "fakeenvironment.h"
#include "pickertestdb.h"

#include "catalog/partops.h"
#include "catalog/partsdatabase.h"
#include "catalog/recordsource.h"
#include "core/compose.h"
#include "core/session.h"
#include "picker/picker.h"
#include "picker/pickercategories.h"
#include "picker/selectform.h"
#include "picker/thumbpager.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

using namespace pickertest;
using picker::Picker;
using picker::SelectForm;
using picker::ThumbPager;

namespace {

constexpr char16_t kLoading[] = u"ﾃﾞｰﾀﾍﾞｰｽ読み込み中です。";

// The main window's part of the picker: an owner window, the session and a composition that
// draws the portrait as the editor would.
class PickerWindow : public ::testing::Test {
protected:
    QTemporaryDir home;
    FakeEnvironment env;
    core::PortraitSession session;
    QWidget owner;
    imaging::Raster canvas;
    imaging::Raster blank;
    int composed = 0;
    std::unique_ptr<Picker> picker;

    // The delivered databases (copies), or generated ones.
    void useDelivered()
    {
#ifdef FACIORA_DIST_DIR
        for (const char* name : {"ravoze.mdb", "photo.mdb"}) {
            const QString from = catalog::findFileNoCase(QStringLiteral(FACIORA_DIST_DIR), QString::fromLatin1(name));
            ASSERT_TRUE(QFile::copy(from, home.filePath(QString::fromLatin1(name)))) << name;
        }
#else
        GTEST_SKIP() << "no delivered databases in this build";
#endif
        start();
    }
    void useGenerated(const std::vector<Part>& parts, const std::vector<Part>& photos = category(2, 3))
    {
        build(home.filePath(QStringLiteral("ravoze.mdb")), parts);
        build(home.filePath(QStringLiteral("photo.mdb")), photos);
        start();
    }
    void start()
    {
        catalog::PartsDatabase db;
        if (db.open(home.filePath(QStringLiteral("ravoze.mdb")),
                    QString::fromLatin1(catalog::kListOrderSource)))
            (void)catalog::readBlankTile(db, blank);
        picker = std::make_unique<Picker>(session, env, &owner, home.path());
        picker->setComposer([this] {
            ++composed;
            core::ComposePortrait(session.state, session.images, canvas, blank, session.marks);
        });
    }

    SelectForm* open(int kind)
    {
        picker->OpenPicker(kind);
        SelectForm* form = picker->form();
        EXPECT_TRUE(form);
        EXPECT_TRUE(QTest::qWaitFor([&] { return picker->isOpen(); }, 5000));
        return picker->form();
    }
    SelectForm* waitForReopen(int kind)
    {
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return picker->isOpen() && picker->form() && picker->form()->kind() == kind; }, 5000));
        return picker->form();
    }
    void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }
};

}  // namespace

TEST_F(PickerWindow, OpensEveryDeliveredCategory)
{
    useDelivered();
    if (!picker)
        return;
    for (const picker::PickerCategory& c : picker::pickerCategories()) {
        if (c.controls == picker::CategoryControls::TextDialog)
            continue;
        SCOPED_TRACE(c.key);
        picker->OpenPicker(c.kind);
        EXPECT_EQ(env.status[2], QString::fromUtf16(kLoading));
        EXPECT_EQ(env.userImageMenuEnabled, !c.photoDatabase);
        SelectForm* form = waitForReopen(c.kind);
        ASSERT_TRUE(form && form->pager());
        EXPECT_EQ(form->windowTitle(), QString::fromUtf16(SelectForm::kCaption));
        EXPECT_TRUE(env.status[2].isEmpty());
        EXPECT_FALSE(form->categoryIcon()->icon().isNull());
        const bool list = c.controls == picker::CategoryControls::BackgroundList
            || c.controls == picker::CategoryControls::BodyList;
        EXPECT_EQ(form->subcategoryList()->isVisible(), list);
        EXPECT_EQ(form->subcategoryLabel()->isVisible(), list);
        const bool swatches = c.controls == picker::CategoryControls::SkinSwatches
            || c.controls == picker::CategoryControls::HairSwatches;
        EXPECT_EQ(form->swatchButton(0)->isVisible(), swatches);
        EXPECT_EQ(form->sideButton(2)->isVisible(), c.controls == picker::CategoryControls::SideChoice);
        EXPECT_EQ(form->layerButton(0)->isVisible(), c.controls == picker::CategoryControls::LayerButtons);
        // The registered pictures are empty in the delivered photo database.
        if (!c.photoDatabase) {
            EXPECT_GT(form->pager()->pictureCount(), 0);
            EXPECT_FALSE(form->pager()->thumbnail(0).isNull());
            EXPECT_EQ(form->pager()->toolTip(0),
                      QStringLiteral("1/%1").arg(form->pager()->pictureCount()));
        } else {
            EXPECT_EQ(form->pager()->pictureCount(), 0);
        }
    }
    picker->closePicker();
    EXPECT_FALSE(picker->isOpen());
    EXPECT_TRUE(env.userImageMenuEnabled);
}

// Scroll, click a thumbnail and see the portrait change, then erase it again.
TEST_F(PickerWindow, ScrollApplyAndErase)
{
    useGenerated(category(7, 9));
    SelectForm* form = open(7);
    ASSERT_TRUE(form);
    form->scrollBar()->setValue(2);
    EXPECT_EQ(form->pager()->slot(0).fileNo, 2);
    EXPECT_EQ(form->pager()->toolTip(0), QStringLiteral("2/9"));

    click(form->thumbnailCell(1));
    EXPECT_EQ(composed, 1);
    EXPECT_EQ(session.state.PartTable[7].FileNo, 3);
    EXPECT_TRUE(form->pager()->inUse(1));
    const QRect box = category(7, 9)[2].fullBox;
    EXPECT_EQ(canvas.image().pixel(box.center()), partColour(7, 3));

    click(form->eraseButton());
    EXPECT_EQ(composed, 2);
    EXPECT_FALSE(session.state.PartTable[7].present());
    EXPECT_FALSE(form->pager()->inUse(1));
    EXPECT_EQ(canvas.image().pixel(box.center()), qRgb(255, 255, 255));
    form->scrollBar()->setValue(5);
    EXPECT_EQ(form->pager()->slot(4).fileNo, 9);

    // A part placed from elsewhere (undo, a document) is marked once the main window asks.
    session.state.PartTable[7].FileNo = 8;
    session.marks.InUseFileNo[7] = 8;
    EXPECT_FALSE(form->thumbnailCell(3)->property("inUse").toBool());
    picker->refreshMarks();
    EXPECT_TRUE(form->thumbnailCell(3)->property("inUse").toBool());
    EXPECT_FALSE(form->thumbnailCell(4)->property("inUse").toBool());
}

// Eyes: "両方" is chosen when the category opens; erase follows the side choice.
TEST_F(PickerWindow, SideChoiceForEyes)
{
    useGenerated(category(11, 5));
    SelectForm* form = open(11);
    ASSERT_TRUE(form);
    EXPECT_TRUE(form->sideButton(2)->isChecked());
    EXPECT_EQ(form->sideChoice(), 2);
    click(form->thumbnailCell(0));
    EXPECT_TRUE(session.state.PartTable[11].present());
    EXPECT_TRUE(session.state.PartTable[12].present());

    click(form->sideButton(0));  // 左
    EXPECT_EQ(form->sideChoice(), 0);
    click(form->eraseButton());
    EXPECT_TRUE(session.state.PartTable[11].present());
    EXPECT_FALSE(session.state.PartTable[12].present());
    click(form->thumbnailCell(2));
    EXPECT_EQ(session.state.PartTable[12].FileNo, 3);
    EXPECT_EQ(session.state.PartTable[11].FileNo, 1);

    click(form->sideButton(2));
    click(form->eraseButton());
    EXPECT_FALSE(session.state.PartTable[11].present());
    EXPECT_FALSE(session.state.PartTable[12].present());
}

// The arrows follow the option toolbars; the strip opens any category, "moji" the texts.
TEST_F(PickerWindow, SwitchCategories)
{
    std::vector<Part> parts;
    for (int k : {2, 3, 7, 13, 16}) {
        if (k == 2)
            continue;
        const std::vector<Part> c = category(k, 3);
        parts.insert(parts.end(), c.begin(), c.end());
    }
    useGenerated(parts);
    SelectForm* form = open(13);
    ASSERT_TRUE(form);
    click(form->findChild<QToolButton*>(QStringLiteral("Command2")));
    form = waitForReopen(16);
    ASSERT_TRUE(form);
    EXPECT_EQ(picker->globals().CurrentKind, 16);

    env.shown = {false, false, false};
    picker->OpenPicker(13);
    form = waitForReopen(13);
    click(form->findChild<QToolButton*>(QStringLiteral("Command2")));
    form = waitForReopen(7);
    ASSERT_TRUE(form);
    env.shown = {false, true, false};
    click(form->findChild<QToolButton*>(QStringLiteral("Command3")));
    form = waitForReopen(2);
    ASSERT_TRUE(form);
    EXPECT_EQ(picker->globals().PickerDatabase, QStringLiteral("photo.mdb"));
    EXPECT_EQ(picker->globals().RowsPerPart, 1);

    click(form->categoryIcon());
    QWidget* strip = form->categoryStrip();
    EXPECT_TRUE(strip->isVisible());
    strip->findChild<QAction*>(QStringLiteral("kamigata"))->trigger();
    form = waitForReopen(3);
    ASSERT_TRUE(form);
    EXPECT_FALSE(form->categoryStrip()->isVisible());
    EXPECT_EQ(form->colourCode(), 3);

    // Any other action hides the strip.
    click(form->categoryIcon());
    ASSERT_TRUE(form->categoryStrip()->isVisible());
    click(form->swatchButton(1));
    EXPECT_FALSE(form->categoryStrip()->isVisible());

    click(form->categoryIcon());
    form->categoryStrip()->findChild<QAction*>(QStringLiteral("moji"))->trigger();
    EXPECT_EQ(env.characterDialogs, 1);
    EXPECT_FALSE(picker->isOpen());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !picker->isLoaded(); }, 1000));
}

// The picker opens where it was last closed; the first time at its standard place.
TEST_F(PickerWindow, RemembersItsPlace)
{
    useGenerated(category(8, 3));
    SelectForm* form = open(8);
    ASSERT_TRUE(form);
    const double tpp = 1440.0 / form->logicalDpiX();
    EXPECT_EQ(form->pos(), QPoint(qRound(3160 / tpp), qRound(3860 / tpp)));
    form->move(140, 90);
    picker->closePicker();
    EXPECT_EQ(picker->globals().PickerPosLeft, qRound(140 * tpp));
    EXPECT_EQ(picker->globals().PickerPosTop, qRound(90 * tpp));
    form = open(8);
    EXPECT_EQ(form->pos(), QPoint(140, 90));
}

// Hair opens with its first swatch chosen from code, which draws nothing more; a swatch the
// user picks treats and draws all five again and becomes the part's colour code.
TEST_F(PickerWindow, HairSwatches)
{
    useGenerated(category(3, 6));
    picker->OpenPicker(3);
    SelectForm* form = picker->form();
    ASSERT_TRUE(form && form->pager());
    int drawn = 0;
    form->pager()->onDrawn = [&](int) { ++drawn; };
    ASSERT_TRUE(QTest::qWaitFor([&] { return picker->isOpen(); }, 5000));
    EXPECT_EQ(drawn, 5);
    EXPECT_TRUE(form->swatchButton(0)->isChecked());
    EXPECT_EQ(form->colourCode(), 3);
    EXPECT_EQ(session.state.PartTable[3].Extra, 0);

    click(form->swatchButton(1));
    EXPECT_EQ(drawn, 10);
    EXPECT_EQ(form->colourCode(), 4);
    EXPECT_EQ(session.state.PartTable[3].Extra, 4);
    click(form->thumbnailCell(0));
    EXPECT_EQ(session.state.PartTable[3].Extra, 4);
}

// The layer buttons of the registered pictures.
TEST_F(PickerWindow, LayerButtons)
{
    useGenerated(category(8, 2));
    session.state.PartTable[2].Extra = 0;
    SelectForm* form = open(2);
    ASSERT_TRUE(form);
    click(form->thumbnailCell(1));
    ASSERT_EQ(session.state.PartTable[2].FileNo, 2);
    EXPECT_TRUE(form->layerButton(0)->isEnabled());
    EXPECT_TRUE(form->layerButton(1)->isEnabled());

    click(form->layerButton(0));  // 下: from the standard place 2 to the back
    EXPECT_EQ(session.state.PartTable[2].Extra, 1);
    EXPECT_EQ(session.state.LayerOrder[1], 2);
    EXPECT_FALSE(form->layerButton(0)->isEnabled());
    const int before = composed;
    for (int i = 0; i < 21; ++i)
        click(form->layerButton(1));
    EXPECT_EQ(composed, before + 21);
    EXPECT_EQ(session.state.PartTable[2].Extra, 22);
    EXPECT_EQ(session.state.LayerOrder[22], 2);
    EXPECT_TRUE(form->layerButton(0)->isEnabled());
    EXPECT_FALSE(form->layerButton(1)->isEnabled());
    EXPECT_TRUE(session.state.LayerOrder.isPermutation());
}

// A double click places the part and closes the picker a moment later.
TEST_F(PickerWindow, DoubleClickPlacesAndCloses)
{
    useGenerated(category(13, 4));
    SelectForm* form = open(13);
    ASSERT_TRUE(form);
    // As the platform delivers it: a click, then the double click and its release.
    QWidget* cell = form->thumbnailCell(2);
    QTest::mouseClick(cell, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseDClick(cell, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseRelease(cell, Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(session.state.PartTable[13].FileNo, 3);
    EXPECT_EQ(composed, 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !picker->isLoaded(); }, 1000));
    EXPECT_FALSE(picker->isOpen());
    EXPECT_TRUE(env.status[2].isEmpty());
}

// A background sub-category without parts tells the user and leaves the thumbnails.
TEST_F(PickerWindow, SubcategoryWithoutParts)
{
    useGenerated(category(1, std::vector<int>{1601, 1701, 1702, 1801, 2001, 3001, 4001, 9001}));
    SelectForm* form = open(1);
    ASSERT_TRUE(form);
    QComboBox* list = form->subcategoryList();
    EXPECT_EQ(list->objectName(), QStringLiteral("Combo1"));
    ASSERT_EQ(list->count(), 12);
    EXPECT_EQ(list->itemText(11), QStringLiteral("その他"));
    form->chooseSubcategory(1);  // ガレキ
    EXPECT_EQ(form->pager()->slot(0).fileNo, 1701);
    EXPECT_TRUE(env.messages.isEmpty());
    form->chooseSubcategory(7);  // 店
    ASSERT_EQ(env.messages.size(), 1);
    EXPECT_EQ(env.messages[0], QStringLiteral("カテゴリー確認: 選択されたカテゴリーに該当する画像はありません"));
    EXPECT_EQ(form->pager()->slot(0).fileNo, 1701);
    form->chooseSubcategory(10);  // 正月: the last part
    EXPECT_EQ(form->pager()->slot(0).fileNo, 9001);
    EXPECT_EQ(form->scrollBar()->value(), form->scrollBar()->maximum());
    EXPECT_EQ(form->pager()->toolTip(0), QStringLiteral("8/8"));
}

TEST_F(PickerWindow, ActivationSetsTheFileToolbar)
{
    useGenerated(category(8, 2));
    SelectForm* form = open(8);
    ASSERT_TRUE(form);
    form->activateWindow();
    (void)QTest::qWaitFor([&] { return env.activations > 0; }, 1000);
    if (env.activations == 0)
        GTEST_SKIP() << "the platform does not activate windows";
    EXPECT_GT(env.activations, 0);
}
