// The main window's menu states, its View and Help menus and its toolbars.

#include "mainform_fixture.h"

#include "app/aboutbox.h"
#include "app/characterform.h"
#include "app/helpwindow.h"
#include "app/icons.h"
#include "app/menumode.h"
#include "app/optionform.h"
#include "app/toolbarbuttons.h"
#include "editor/partspos.h"
#include "editor/position.h"
#include "picker/picker.h"
#include "picker/pickercategories.h"
#include "picker/selectform.h"

#include <QDir>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>
#include <QPushButton>
#include <QTextBrowser>
#include <QToolBar>

#include <map>

namespace {

using app::MenuItem;

// Remembers what the menu modes set; everything starts as "untouched".
struct RecordingTarget : app::MenuTarget {
    std::map<MenuItem, bool> visible;
    std::map<MenuItem, bool> enabled;
    std::map<app::FileButton, bool> buttons;
    bool toolbar = false;

    void setMenuItemVisible(MenuItem item, bool v) override { visible[item] = v; }
    void setMenuItemEnabled(MenuItem item, bool e) override { enabled[item] = e; }
    bool fileToolbarVisible() const override { return toolbar; }
    void setFileButtonEnabled(app::FileButton b, bool e) override { buttons[b] = e; }
};

TEST(MenuModes, OnlyListedItemsChangeAndOnlyTheListedSide)
{
    RecordingTarget t;
    app::SetMenuMode(t, app::kModeEditor);
    // Not listed in the editor's state: whatever state 3 did to them stays.
    for (MenuItem item : {MenuItem::VToolber, MenuItem::ESepa1, MenuItem::VOption, MenuItem::HHelp}) {
        EXPECT_FALSE(t.visible.count(item)) << int(item);
        EXPECT_FALSE(t.enabled.count(item)) << int(item);
    }
    // "上書き保存(&S)" is shown, its enabled state is the document's business.
    EXPECT_TRUE(t.visible.at(MenuItem::FOverwrite));
    EXPECT_FALSE(t.enabled.count(MenuItem::FOverwrite));
    EXPECT_TRUE(t.buttons.empty());

    for (bool toolbar : {false, true}) {
        RecordingTarget none;
        none.toolbar = toolbar;
        app::SetMenuMode(none, app::kModeNoWindow);
        EXPECT_EQ(none.buttons.size(), toolbar ? 2u : 0u);
        if (toolbar) {
            EXPECT_FALSE(none.buttons.at(app::FileButton::SaveImage));
            EXPECT_FALSE(none.buttons.at(app::FileButton::PrintImage));
        }
    }
    for (int mode : {0, 4, -1}) {
        RecordingTarget other;
        other.toolbar = true;
        app::SetMenuMode(other, mode);
        EXPECT_TRUE(other.visible.empty() && other.enabled.empty() && other.buttons.empty()) << mode;
    }
}

TEST_F(MainFormTest, MenuStatesOnTheWindow)
{
    start();
    enum : int { Hidden = 0, Shown = 1, Keep = 2 };
    struct Row {
        MenuItem item;
        int shown[3];    // after modes 1, 2, 3 applied in turn from the editor's state
        int enabled[3];  // -1: not checked
    };
    const Row rows[] = {
        {MenuItem::FNew, {Shown, Hidden, Hidden}, {1, -1, 0}},
        {MenuItem::FOpen, {Shown, Shown, Shown}, {1, 0, 1}},
        {MenuItem::FClose, {Hidden, Shown, Shown}, {-1, 1, 1}},
        {MenuItem::FOverwrite, {Hidden, Shown, Shown}, {-1, -1, 1}},
        {MenuItem::FFilename, {Hidden, Shown, Shown}, {-1, 1, 1}},
        {MenuItem::FEnd, {Shown, Shown, Shown}, {1, 1, 1}},
        {MenuItem::FSepa0, {Hidden, Shown, Keep}, {-1, -1, -1}},
        {MenuItem::FSepa2, {Hidden, Shown, Keep}, {-1, -1, -1}},
        {MenuItem::Edit, {Hidden, Shown, Shown}, {-1, 1, -1}},
        {MenuItem::EUndo, {Keep, Shown, Hidden}, {-1, -1, -1}},
        {MenuItem::ERedo, {Keep, Shown, Hidden}, {-1, -1, -1}},
        {MenuItem::ESepa1, {Keep, Keep, Hidden}, {-1, -1, -1}},
        {MenuItem::EParts, {Keep, Shown, Hidden}, {-1, 1, -1}},
        {MenuItem::View, {Hidden, Shown, Shown}, {-1, -1, -1}},
        {MenuItem::VPoint, {Keep, Shown, Hidden}, {-1, -1, -1}},
        {MenuItem::VToolber, {Keep, Keep, Hidden}, {-1, -1, -1}},
        {MenuItem::VSepa0, {Keep, Keep, Hidden}, {-1, -1, -1}},
        {MenuItem::VOption, {Keep, Keep, Keep}, {-1, -1, -1}},
        {MenuItem::HHelp, {Keep, Keep, Keep}, {-1, -1, -1}},
    };
    const int modes[3] = {app::kModeNoWindow, app::kModeEditor, app::kModeImage};
    std::map<MenuItem, bool> last;
    for (const Row& r : rows)
        last[r.item] = action(r.item)->isVisible();
    for (int m = 0; m < 3; ++m) {
        form->SetMenuMode(modes[m]);
        for (const Row& r : rows) {
            QAction* a = action(r.item);
            const bool expected = r.shown[m] == Keep ? last[r.item] : r.shown[m] == Shown;
            EXPECT_EQ(a->isVisible(), expected) << "mode " << modes[m] << " item " << int(r.item);
            if (r.enabled[m] >= 0)
                EXPECT_EQ(a->isEnabled(), r.enabled[m] == 1) << "mode " << modes[m] << " item " << int(r.item);
            last[r.item] = a->isVisible();
        }
    }
    // Back to the editor after an image window: "表示位置" again, "ﾂｰﾙﾊﾞｰ(&T)" still hidden.
    form->SetMenuMode(app::kModeEditor);
    EXPECT_TRUE(action(MenuItem::VPoint)->isVisible());
    EXPECT_FALSE(action(MenuItem::VToolber)->isVisible());
}

TEST_F(MainFormTest, ClosingTheEditorLeavesNewOpenAndEnd)
{
    start();
    form->toggleToolbar(2);  // the file toolbar, so that its buttons show the state too
    trigger(MenuItem::FClose);
    QStringList fileItems;
    QMenu* file = form->menuBar()->actions().first()->menu();
    ASSERT_TRUE(file);
    for (QAction* a : file->actions())
        if (a->isVisible() && !a->isSeparator())
            fileItems << a->text();
    EXPECT_EQ(fileItems, QStringList({u"新規作成(&N)..."_qs, u"開く(&O)..."_qs, u"終了(&X)"_qs}));
    EXPECT_FALSE(action(MenuItem::Edit)->isVisible());
    EXPECT_FALSE(action(MenuItem::View)->isVisible());
    EXPECT_TRUE(form->fileAction(app::FileButton::NewImage)->isEnabled());
    EXPECT_TRUE(form->fileAction(app::FileButton::OpenImage)->isEnabled());
    EXPECT_FALSE(form->fileAction(app::FileButton::SaveImage)->isEnabled());
    EXPECT_FALSE(form->fileAction(app::FileButton::UndoImage)->isEnabled());
    EXPECT_FALSE(action(MenuItem::EUndo)->isEnabled());
}

TEST_F(MainFormTest, ToolbarsShowAndHideAndTheEditorFollows)
{
    start();
    QMdiSubWindow* sub = form->editorWindow();
    const int top = sub->mapToGlobal(QPoint(0, 0)).y();
    EXPECT_FALSE(form->toolbarShown(2));
    EXPECT_FALSE(form->toolbarAction(2)->isChecked());

    form->toolbarAction(2)->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(form->toolbarShown(2));
    EXPECT_TRUE(form->toolbarAction(2)->isChecked());
    EXPECT_TRUE(form->fileToolbar()->isVisible());
    const int height = form->fileToolbar()->height();
    EXPECT_EQ(sub->mapToGlobal(QPoint(0, 0)).y(), top + height);
    form->toolbarAction(2)->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(sub->mapToGlobal(QPoint(0, 0)).y(), top);
    EXPECT_EQ(form->editorPlaceTwips(), QPoint(0, 0));

    // The option toolbars are button groups of the part toolbar; "文字" always stays.
    const struct {
        int item;
        const char* inside;
        const char* outside;
    } groups[] = {{0, "hige", "boushi"}, {1, "user", "option"}};
    for (const auto& g : groups) {
        form->toggleToolbar(g.item);
        EXPECT_FALSE(form->toolbarShown(g.item));
        EXPECT_FALSE(form->partAction(QLatin1String(g.inside))->isVisible()) << g.inside;
        EXPECT_TRUE(form->partAction(QLatin1String(g.outside))->isVisible()) << g.outside;
        EXPECT_TRUE(form->partAction(QStringLiteral("moji"))->isVisible());
        form->toggleToolbar(g.item);
        EXPECT_TRUE(form->partAction(QLatin1String(g.inside))->isVisible());
    }
}

TEST_F(MainFormTest, FigurePositionItems)
{
    start();
    // A background makes the canvas wide and gives slot 1 the figure mode to keep.
    state().PartTable[core::kind::Background].FileNo = 1;
    state().PartTable[core::kind::Background].Extra = 0;
    form->session().history.FreshPortrait = false;
    editor()->rebuildPartImages();
    editor()->composePortrait();
    ASSERT_EQ(state().CanvasWidth, 575);
    EXPECT_TRUE(form->figurePosMenuEnabled());

    struct Row {
        int mode;
        int stepX;
    };
    for (const Row r : {Row{1, 7}, Row{2, 14}, Row{0, 0}}) {
        form->figurePosAction(r.mode)->trigger();
        EXPECT_EQ(state().FigurePosMode, r.mode);
        EXPECT_EQ(state().FigureStepX, r.stepX);
        EXPECT_EQ(state().FigureStepY, 0);
        EXPECT_EQ(state().PartTable[core::kind::Background].Extra, r.mode);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(form->figurePosAction(i)->isChecked(), i == r.mode) << r.mode;
    }
    form->figurePosAction(1)->trigger();
    // "その他" opens the dialog at the centre's steps; the fixed places wait until it closes.
    form->figurePosAction(3)->trigger();
    EXPECT_EQ(state().FigurePosMode, 3);
    EXPECT_EQ(state().FigureStepX, 7);
    auto* dialog = form->findChild<editor::Position*>();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->horizontalSlider()->value(), 7);
    EXPECT_FALSE(form->figurePosAction(0)->isEnabled());
    dialog->closeDialog();
    EXPECT_TRUE(form->figurePosAction(0)->isEnabled());
}

TEST_F(MainFormTest, HelpShowsThePagesAndIsQuietWithoutThem)
{
    start();
    form->showHelp();
    EXPECT_FALSE(form->helpWindow());
    EXPECT_TRUE(prompts.messages.isEmpty());

    // The delivered pages, as the build lays them out beside the program.
    QDir().mkpath(path("help"));
    const QDir delivered(QStringLiteral(FACIORA_DIST_DIR "/help"));
    const QStringList pages = delivered.entryList(QDir::Files);
    ASSERT_TRUE(pages.contains(u"Ravoze.html"_qs));
    for (const QString& page : pages)
        ASSERT_TRUE(QFile::copy(delivered.filePath(page), home.filePath(u"help/"_qs + page)));
    trigger(MenuItem::HHelp);
    ASSERT_TRUE(form->helpWindow());
    EXPECT_TRUE(form->helpWindow()->isVisible());
    EXPECT_TRUE(form->helpWindow()->browser()->source().toLocalFile().endsWith(u"Ravoze.html"_qs));
    EXPECT_TRUE(form->helpWindow()->browser()->toPlainText().contains(u"Faciora"_qs));
    // The contents page's links lead to pages that are there.
    for (const QString& page : {u"start.html"_qs, u"parts.html"_qs, u"editor.html"_qs,
                                u"text.html"_qs, u"files.html"_qs, u"menus.html"_qs})
        EXPECT_TRUE(pages.contains(page)) << page.toStdString();
}

TEST_F(MainFormTest, AboutBoxIsModelessWithTheVersion)
{
    start();
    trigger(MenuItem::HVersion);
    app::AboutBox* about = form->aboutBox();
    ASSERT_TRUE(about);
    EXPECT_TRUE(about->isVisible());
    EXPECT_FALSE(about->isModal());
    EXPECT_EQ(about->windowTitle(), u"ﾊﾞｰｼﾞｮﾝ情報"_qs);
    EXPECT_EQ(about->versionLabel()->text(), u" Version 2.0"_qs);
    EXPECT_EQ(about->parentWidget(), form.get());
    about->findChild<QPushButton*>(QStringLiteral("OKBTN"))->click();
    EXPECT_FALSE(about->isVisible());
}

TEST_F(MainFormTest, TheDialogsOfTheMenusAreModelessAndOwnedByTheMainWindow)
{
    start();
    trigger(MenuItem::VOption);
    auto* options = form->findChild<app::OptionForm*>();
    ASSERT_TRUE(options);
    EXPECT_TRUE(options->isVisible());
    EXPECT_FALSE(options->isModal());
    trigger(MenuItem::VOption);  // once only
    EXPECT_EQ(form->findChildren<app::OptionForm*>().size(), 1);

    trigger(MenuItem::EParts);
    auto* partsPos = form->findChild<editor::PartsPos*>();
    ASSERT_TRUE(partsPos);
    EXPECT_TRUE(partsPos->isVisible());
    EXPECT_FALSE(partsPos->isModal());
    // Closing the editor closes it.
    trigger(MenuItem::FClose);
    EXPECT_FALSE(partsPos->isVisible());
}

TEST_F(MainFormTest, PartToolbarIsThePickersStripAndOpensIt)
{
    // Same keys, tool tips and order as the picker's strip.
    const auto categories = picker::pickerCategories();
    const auto buttons = app::partButtons();
    ASSERT_EQ(buttons.size(), categories.size());
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        EXPECT_STREQ(buttons[i].key, categories[i].key);
        EXPECT_EQ(QString::fromUtf16(buttons[i].toolTip), QString::fromUtf16(categories[i].name));
        EXPECT_FALSE(app::drawButtonPicture(QLatin1String(buttons[i].key), 28).isNull()) << buttons[i].key;
    }
    for (const app::FileButtonInfo& b : app::fileButtonTable())
        EXPECT_FALSE(app::drawButtonPicture(QLatin1String(b.key), 28).isNull()) << b.key;

    start();
    QAction* hana = form->partAction(QStringLiteral("hana"));
    ASSERT_TRUE(hana);
    EXPECT_EQ(hana->toolTip(), u"鼻"_qs);
    hana->trigger();
    EXPECT_TRUE(form->picker().isLoaded());
    EXPECT_EQ(form->picker().globals().CurrentKind, core::kind::Nose);
    EXPECT_EQ(form->statusText(2), u"ﾃﾞｰﾀﾍﾞｰｽ読み込み中です。"_qs);
    ASSERT_TRUE(QTest::qWaitFor([this] { return form->picker().isOpen(); }, 5000));

    // Another button replaces the picker; "文字" closes it and opens the text dialog.
    form->partAction(QStringLiteral("user"))->trigger();
    EXPECT_EQ(form->picker().globals().CurrentKind, core::kind::User);
    form->partAction(QStringLiteral("moji"))->trigger();
    EXPECT_FALSE(form->picker().isLoaded());
    auto* text = form->findChild<app::CharacterForm*>();
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->isVisible());

    // Closing the editor closes the picker and the text dialog, and disables the toolbar.
    hana->trigger();
    trigger(MenuItem::FClose);
    EXPECT_FALSE(form->picker().isLoaded());
    EXPECT_FALSE(form->partToolbar()->isEnabled());
    EXPECT_FALSE(form->findChild<app::CharacterForm*>());
}

}  // namespace
