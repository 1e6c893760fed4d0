// The main window driven as a user would: start, the file commands, undo and redo.

#include "mainform_fixture.h"

#include "core/document.h"
#include "imaging/view/imageview.h"

#include <QFileInfo>
#include <QImage>
#include <QMdiSubWindow>
#include <QSignalSpy>
#include <QToolBar>

namespace {

using app::MenuItem;

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool hasColour(const imaging::Raster& r)
{
    for (int y = 0; y < r.height(); y += 3)
        for (int x = 0; x < r.width(); x += 3)
            if (r.pixel(x, y) != qRgb(255, 255, 255))
                return true;
    return false;
}

TEST_F(MainFormTest, FirstRunWritesTheWorkSnapshotAndShowsTheDefaultPortrait)
{
    start();
    ASSERT_TRUE(editor());
    EXPECT_TRUE(form->editorWindow()->isVisible());
    EXPECT_TRUE(form->editorOpen());
    EXPECT_TRUE(QFileInfo::exists(path("Ravoze.sav")));
    EXPECT_TRUE(QFileInfo::exists(path("Ravoze.sav.sac")));
    // Written with the placed parts, so that a run killed before closing still reopens
    // with the default face rather than with parts of no size.
    core::PortraitState stored;
    core::CaptionTable storedCaptions;
    ASSERT_EQ(core::LoadDocument(path("Ravoze.sav"), stored, storedCaptions, false).status,
              core::DocumentLoad::Status::Loaded);
    EXPECT_GT(stored.PartTable[core::kind::Outline].Width, 0);
    EXPECT_EQ(stored.PartTable, state().PartTable);
    EXPECT_EQ(form->DocumentName(), QString());
    EXPECT_EQ(editor()->windowTitle(), u"似顔絵作成ｳｨﾝﾄﾞｳ"_qs);
    EXPECT_EQ(editor()->size(), QSize(300, 300));
    EXPECT_TRUE(hasColour(editor()->canvas().raster()));
    // The default face: part 1 of the face kinds, settled to their real numbers.
    EXPECT_TRUE(state().PartTable[core::kind::Outline].present());
    EXPECT_TRUE(state().PartTable[core::kind::EyeRight].present());
    EXPECT_FALSE(state().PartTable[core::kind::Hat].present());
    EXPECT_EQ(form->statusText(2), QString());
    EXPECT_TRUE(prompts.messages.isEmpty());

    // The editor is in front: state 2, the part toolbar usable, untitled cannot be saved over.
    EXPECT_FALSE(action(MenuItem::FNew)->isVisible());
    EXPECT_TRUE(action(MenuItem::FOpen)->isVisible());
    EXPECT_FALSE(action(MenuItem::FOpen)->isEnabled());
    EXPECT_FALSE(action(MenuItem::FOverwrite)->isEnabled());
    EXPECT_TRUE(form->partToolbar()->isEnabled());
    EXPECT_FALSE(form->fileToolbar()->isVisibleTo(form.get()));
    EXPECT_FALSE(action(MenuItem::EUndo)->isEnabled());
}

TEST_F(MainFormTest, TheCommandLineDocumentIsTheFirstPortraitAndSaveOverwritesIt)
{
    // A portrait with the nose moved, saved as a document.
    core::PortraitState portrait;
    core::CaptionTable captions;
    const QString doc = path("face.fcr");
    {
        start();
        moveNose(12);
        ASSERT_FALSE(core::SaveDocument(doc, state(), form->session().captions));
        portrait = state();
        captions = form->session().captions;
        form.reset();
    }
    start(doc);
    EXPECT_EQ(form->DocumentName(), doc);
    EXPECT_EQ(editor()->windowTitle(), doc);
    EXPECT_TRUE(action(MenuItem::FOverwrite)->isEnabled());
    EXPECT_EQ(state().PartTable[core::kind::Nose], portrait.PartTable[core::kind::Nose]);

    const QByteArray before = fileBytes(doc);
    moveNose(5);
    trigger(MenuItem::FOverwrite);
    EXPECT_NE(fileBytes(doc), before);
    EXPECT_TRUE(prompts.saveDialogs.isEmpty());
    // Saved: closing asks nothing.
    trigger(MenuItem::FClose);
    EXPECT_FALSE(editor());
    EXPECT_TRUE(prompts.questions.isEmpty());
}

TEST_F(MainFormTest, WithoutThePartsDatabaseOneMessageAndTheProgramStaysUsable)
{
    for (const char* content : {static_cast<const char*>(nullptr), "not a database"}) {
        QFile::remove(path("ravoze.mdb"));
        if (content) {
            QFile f(path("ravoze.mdb"));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        prompts.messages.clear();
        start();
        ASSERT_EQ(prompts.messages.size(), 1) << (content ? "damaged" : "missing");
        EXPECT_EQ(prompts.messages[0].title, u"Faciora"_qs);
        EXPECT_TRUE(prompts.messages[0].text.contains(u"Ravoze.mdb"_qs));
        EXPECT_FALSE(editor());
        EXPECT_EQ(form->statusText(2), QString());
        // No document window: New, Open and End, and the help.
        EXPECT_TRUE(action(MenuItem::FNew)->isVisible() && action(MenuItem::FNew)->isEnabled());
        EXPECT_TRUE(action(MenuItem::FOpen)->isVisible() && action(MenuItem::FOpen)->isEnabled());
        EXPECT_FALSE(action(MenuItem::FClose)->isVisible());
        EXPECT_FALSE(action(MenuItem::Edit)->isVisible());
        EXPECT_FALSE(form->partToolbar()->isEnabled());
        EXPECT_TRUE(action(MenuItem::HHelp)->isEnabled());

        // Trying again tells the same, once.
        trigger(MenuItem::FNew);
        EXPECT_EQ(prompts.messages.size(), 2);
        EXPECT_FALSE(editor());
        form.reset();
    }
}

TEST_F(MainFormTest, NewSaveAsCloseAndOpen)
{
    start();
    // Untitled: closing saves to the work snapshot without asking.
    QFile::remove(path("Ravoze.sav"));
    trigger(MenuItem::FClose);
    EXPECT_FALSE(editor());
    EXPECT_TRUE(prompts.questions.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(path("Ravoze.sav")));
    EXPECT_TRUE(action(MenuItem::FNew)->isVisible());
    EXPECT_FALSE(action(MenuItem::Edit)->isVisible());
    EXPECT_FALSE(form->partToolbar()->isEnabled());

    // New.
    trigger(MenuItem::FNew);
    settle();
    ASSERT_TRUE(editor());
    EXPECT_TRUE(form->editorWindow()->isVisible());
    EXPECT_EQ(form->DocumentName(), QString());

    // Save as, with a title that carries another extension.
    prompts.saveChoices << app::Prompts::FileChoice{path("face.old"), app::kPortraitSaveType};
    trigger(MenuItem::FFilename);
    const QString doc = path("face.fcr");
    EXPECT_EQ(QFileInfo(doc).size(), core::kDocumentSize);
    EXPECT_TRUE(QFileInfo::exists(doc + ".fcm"));
    EXPECT_EQ(form->DocumentName(), doc);
    EXPECT_EQ(editor()->windowTitle(), doc);
    EXPECT_TRUE(action(MenuItem::FOverwrite)->isEnabled());

    // Named and changed: closing asks; Cancel keeps it, No closes without saving.
    const QByteArray saved = fileBytes(doc);
    moveNose(7);
    prompts.answers << QMessageBox::Cancel;
    trigger(MenuItem::FClose);
    ASSERT_EQ(prompts.questions.size(), 1);
    EXPECT_EQ(prompts.questions[0].text, u"保存しますか？\n"_qs + doc);
    EXPECT_TRUE(editor());
    prompts.answers << QMessageBox::No;
    trigger(MenuItem::FClose);
    EXPECT_FALSE(editor());
    EXPECT_EQ(fileBytes(doc), saved);

    // Open it again.
    prompts.openChoices << app::Prompts::FileChoice{doc, 0};
    trigger(MenuItem::FOpen);
    settle();
    ASSERT_TRUE(editor());
    EXPECT_EQ(form->DocumentName(), doc);
    EXPECT_EQ(editor()->windowTitle(), doc);
    EXPECT_EQ(prompts.openDialogs.last().title, u"ﾌｧｲﾙの読込み"_qs);
}

TEST_F(MainFormTest, CancelWhileOpeningKeepsTheChangedPortrait)
{
    const QString other = path("other.fcr");
    start();
    ASSERT_FALSE(core::SaveDocument(other, state(), form->session().captions));
    prompts.saveChoices << app::Prompts::FileChoice{path("face.fcr"), app::kPortraitSaveType};
    trigger(MenuItem::FFilename);
    moveNose(9);
    const core::PartSlot changed = state().PartTable[core::kind::Nose];

    // Open is offered once no editor is in front; driven directly here as the toolbar's
    // "OpenImage" would while another window is active.
    prompts.openChoices << app::Prompts::FileChoice{other, 0};
    prompts.answers << QMessageBox::Cancel;
    form->openFile();
    EXPECT_EQ(prompts.questions.size(), 1);
    ASSERT_TRUE(editor());
    EXPECT_EQ(form->DocumentName(), path("face.fcr"));
    EXPECT_EQ(state().PartTable[core::kind::Nose], changed);
}

TEST_F(MainFormTest, UndoAndRedoThroughTheMenuAndTheToolbar)
{
    start();
    const core::PartSlot before = state().PartTable[core::kind::Nose];
    EXPECT_FALSE(action(MenuItem::EUndo)->isEnabled());
    moveNose(10);
    const core::PartSlot after = state().PartTable[core::kind::Nose];
    ASSERT_NE(after, before);
    EXPECT_TRUE(action(MenuItem::EUndo)->isEnabled());
    EXPECT_TRUE(form->fileAction(app::FileButton::UndoImage)->isEnabled());
    EXPECT_FALSE(action(MenuItem::ERedo)->isEnabled());

    trigger(MenuItem::EUndo);
    EXPECT_EQ(state().PartTable[core::kind::Nose], before);
    EXPECT_FALSE(action(MenuItem::EUndo)->isEnabled());
    EXPECT_TRUE(action(MenuItem::ERedo)->isEnabled());
    EXPECT_TRUE(form->fileAction(app::FileButton::RedoImage)->isEnabled());

    form->fileAction(app::FileButton::RedoImage)->trigger();
    EXPECT_EQ(state().PartTable[core::kind::Nose], after);
    EXPECT_FALSE(action(MenuItem::ERedo)->isEnabled());
}

TEST_F(MainFormTest, StandardShortcutsReachTheCommands)
{
    start();
    moveNose(10);
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    const core::PartSlot after = state().PartTable[core::kind::Nose];
    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NE(state().PartTable[core::kind::Nose], after);
    QTest::keyClick(form.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(state().PartTable[core::kind::Nose], after);

    // Ctrl+S follows "上書き保存(&S)": nothing while the portrait has no name, a save after.
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(prompts.saveDialogs.isEmpty());
    prompts.saveChoices << app::Prompts::FileChoice{path("face.fcr"), app::kPortraitSaveType};
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    const QByteArray saved = fileBytes(path("face.fcr"));
    ASSERT_FALSE(saved.isEmpty());
    moveNose(3);
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_NE(fileBytes(path("face.fcr")), saved);
    EXPECT_EQ(action(MenuItem::FNew)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_EQ(action(MenuItem::FOpen)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
}

TEST_F(MainFormTest, ExportingThePortraitWritesItWithItsCaptions)
{
    start();
    core::CaptionEntry& caption = form->session().captions[1];
    caption.Text = QStringLiteral("山田 花子");
    caption.Shown = true;
    caption.BoxLeft = 10;
    caption.BoxTop = 250;
    caption.BoxWidth = 200;
    caption.BoxHeight = 30;
    editor()->composePortrait();
    const imaging::Raster shown = editor()->canvas().raster();

    // Untitled: the portrait goes to the work snapshot unasked, the picture to the file.
    QFile::remove(path("Ravoze.sav"));
    prompts.saveChoices << app::Prompts::FileChoice{path("face.png"), 6};
    trigger(MenuItem::FFilename);
    EXPECT_TRUE(prompts.questions.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(path("Ravoze.sav")));
    const QImage exported(path("face.png"));
    ASSERT_EQ(exported.size(), QSize(300, 300));
    bool differs = false;
    for (int y = 250; y < 280 && !differs; ++y)
        for (int x = 10; x < 210 && !differs; ++x)
            differs = exported.pixel(x, y) != shown.pixel(x, y);
    EXPECT_TRUE(differs) << "the caption is drawn into the picture";
    // The canvas itself keeps the caption on the display only.
    EXPECT_EQ(editor()->canvas().raster(), shown);
    EXPECT_EQ(form->DocumentName(), QString());
    EXPECT_TRUE(editor());
}

TEST_F(MainFormTest, ClosingTheProgram)
{
    start();
    prompts.saveChoices << app::Prompts::FileChoice{path("face.fcr"), app::kPortraitSaveType};
    trigger(MenuItem::FFilename);
    moveNose(4);
    prompts.answers << QMessageBox::Cancel;
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->shuttingDown());
    EXPECT_TRUE(editor());

    prompts.answers << QMessageBox::Yes;
    trigger(MenuItem::FEnd);
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(editor());
    core::PortraitState reread;
    core::CaptionTable captions;
    core::LoadDocument(path("face.fcr"), reread, captions, false);
    EXPECT_EQ(reread.PartTable[core::kind::Nose].PosX, state().PartTable[core::kind::Nose].PosX);
}

}  // namespace

// A document that cannot be read opens as the default portrait, without its name so that
// 上書き保存 cannot replace the damaged file with a portrait the user never made.
TEST_F(MainFormTest, DamagedDocumentOpensUntitledAndIsNeverSavedOver)
{
    const QByteArray damaged("not a portrait at all");
    {
        QFile f(path("broken.fcr"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(damaged);
    }
    for (const bool fromCommandLine : {true, false}) {
        SCOPED_TRACE(fromCommandLine ? "named on the command line" : "opened from the menu");
        prompts.messages.clear();
        if (fromCommandLine) {
            start(path("broken.fcr"));
        } else {
            form.reset();
            start();
            trigger(MenuItem::FClose);
            prompts.openChoices << app::Prompts::FileChoice{path("broken.fcr"), 0};
            trigger(MenuItem::FOpen);
            settle();
        }
        ASSERT_TRUE(editor());
        ASSERT_EQ(prompts.messages.size(), 1);
        EXPECT_TRUE(prompts.messages[0].text.startsWith(u"broken.fcr は似顔絵として読み込めませんでした。"_qs));
        EXPECT_EQ(form->DocumentName(), QString());
        EXPECT_NE(editor()->windowTitle(), path("broken.fcr"));
        EXPECT_FALSE(action(MenuItem::FOverwrite)->isEnabled());
        EXPECT_TRUE(form->editorWindow()->isVisible());
        EXPECT_TRUE(state().PartTable[core::kind::Outline].present());
        EXPECT_TRUE(hasColour(editor()->canvas().raster()));
        trigger(MenuItem::FOverwrite);
        EXPECT_EQ(fileBytes(path("broken.fcr")), damaged);
    }
}
