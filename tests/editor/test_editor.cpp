// The real editor window on the offscreen platform, over a copy of the delivered databases,
// driven with mouse and key events.

#include "core/document.h"
#include "core/session.h"
#include "editor/editform.h"
#include "editor/editorlogic.h"
#include "editor_fakeenv.h"
#include "imaging/view/imageview.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

using editor::EditForm;
using editortest::FakeEnvironment;

namespace {

class EditorWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        for (const char* name : {"ravoze.mdb", "photo.mdb", "ravoze.ini"})
            ASSERT_TRUE(QFile::copy(QStringLiteral(FACIORA_DIST_DIR "/") + QLatin1String(name),
                                    home.filePath(QLatin1String(name))));
        qputenv("FACIORA_HOME", home.path().toLocal8Bit());
        session.settings = core::LoadSettings(home.path());
    }
    void TearDown() override
    {
        editor.reset();
        qunsetenv("FACIORA_HOME");
    }

    // What the main window does at start: the work snapshot (or `document`), the editor's
    // load, the pictures, the first composition.
    void start(const QString& document = {})
    {
        env.documentName = document;
        const QString path = document.isEmpty() ? core::workSnapshotPath(home.path()) : document;
        const core::DocumentLoad load = core::LoadDocument(path, session.state, session.captions);
        session.history.FreshPortrait = load.freshPortrait;
        editor = std::make_unique<EditForm>(session, env);
        env.editor = editor.get();
        ASSERT_TRUE(editor->loadEditor()) << env.errors.join(u'\n').toStdString();
        editor->rebuildPartImages();
        editor->show();
        editor->composePortrait();
    }

    imaging::ImageView& canvas() { return editor->canvas(); }
    core::PartSlot& slot(int k) { return session.state.PartTable[k]; }
    QPoint centre(int k) { return QRectF(editor::partFrame(session.state, k)).center().toPoint(); }

    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QMouseEvent e(type, QPointF(at), canvas().mapToGlobal(QPointF(at)), button, held,
                      Qt::NoModifier);
        QApplication::sendEvent(&canvas(), &e);
    }
    void press(QPoint at, Qt::MouseButton b = Qt::LeftButton) { mouse(QEvent::MouseButtonPress, at, b, b); }
    void release(QPoint at, Qt::MouseButton b = Qt::LeftButton) { mouse(QEvent::MouseButtonRelease, at, b, {}); }
    void moveTo(QPoint at, Qt::MouseButtons held = Qt::NoButton) { mouse(QEvent::MouseMove, at, Qt::NoButton, held); }
    void click(QPoint at, Qt::MouseButton b = Qt::LeftButton)
    {
        press(at, b);
        release(at, b);
    }
    // Selects kind k with a click at its centre.
    void pick(int k)
    {
        ASSERT_EQ(editor::PickPart(session.state, centre(k)), k);
        click(centre(k));
        ASSERT_EQ(editor->selectedKind(), k);
        ASSERT_TRUE(editor->partSelected());
    }
    QAction* action(QMenu* menu, const char* name)
    {
        auto* a = menu->findChild<QAction*>(QLatin1String(name));
        EXPECT_NE(a, nullptr) << name;
        return a;
    }
    int undoCount() const { return session.history.UndoCount; }

    QTemporaryDir home;
    core::PortraitSession session;
    FakeEnvironment env;
    std::unique_ptr<EditForm> editor;
};

constexpr int kDefaultFace[] = {3, 6, 7, 9, 10, 11, 12, 13, 14, 19};

}  // namespace

TEST_F(EditorWindow, LoadFillsTheDefaultSlotsAndStartsAnEmptyHistory)
{
    for (const int showDefaultFace : {1, 0}) {
        SCOPED_TRACE(showDefaultFace);
        editor.reset();
        session = core::PortraitSession();
        env = FakeEnvironment();
        QFile::remove(home.filePath(QStringLiteral("Ravoze.sav")));
        session.settings.ShowDefaultFace = std::int16_t(showDefaultFace);
        session.history.UndoCount = 5;  // left over from an earlier portrait
        start();

        for (int k = 1; k <= 22; ++k) {
            const bool expected = showDefaultFace == 1 && std::find(std::begin(kDefaultFace), std::end(kDefaultFace), k) != std::end(kDefaultFace);
            EXPECT_EQ(slot(k).present(), expected) << k;
        }
        EXPECT_TRUE(env.editorOpen);
        EXPECT_TRUE(env.calls.contains(QStringLiteral("loaded")));
        EXPECT_FALSE(env.reopen);
        EXPECT_EQ(undoCount(), 1);
        EXPECT_FALSE(env.undoEnabled);
        EXPECT_FALSE(env.redoEnabled);
        EXPECT_EQ(editor->windowTitle(), QString::fromUtf16(EditForm::kCaption));
        EXPECT_EQ(canvas().raster().size(), QSize(300, 300));
        EXPECT_EQ(canvas().size(), QSize(300, 300));
        EXPECT_EQ(env.statusPanel3, QStringLiteral("300×300"));
    }
}

TEST_F(EditorWindow, LoadWithoutPartsDatabaseFailsAndUnloadKeepsNothing)
{
    ASSERT_TRUE(QFile::remove(home.filePath(QStringLiteral("ravoze.mdb"))));
    session.captions[1].Text = QStringLiteral("abc");
    session.captions[1].Shown = true;
    editor = std::make_unique<EditForm>(session, env);
    EXPECT_FALSE(editor->loadEditor());
    EXPECT_EQ(env.errors.size(), 1);
    EXPECT_FALSE(env.editorOpen);

    EXPECT_TRUE(editor->unloadEditor());
    EXPECT_TRUE(env.questions.isEmpty());
    EXPECT_FALSE(QFile::exists(home.filePath(QStringLiteral("Ravoze.sav"))));
    EXPECT_TRUE(session.captions[1].Text.isEmpty());
    EXPECT_TRUE(env.calls.contains(QStringLiteral("SetMenuMode(1)")));
}

TEST_F(EditorWindow, PickAndDragMovesTheSlotAsOneHistoryStep)
{
    start();
    const core::PartSlot before = slot(14);
    const imaging::Raster shownBefore = canvas().raster();
    pick(14);
    EXPECT_EQ(canvas().raster().region().bounds(), editor::partFrame(session.state, 14));
    EXPECT_TRUE(canvas().isRegionFrameVisible());

    const QPoint c = centre(14);
    press(c);
    EXPECT_TRUE(editor->dragActive());
    ASSERT_TRUE(canvas().hasFloater());
    EXPECT_EQ(canvas().floaterRect(), editor::partFrame(session.state, 14));
    moveTo(c + QPoint(10, 5), Qt::LeftButton);
    moveTo(c + QPoint(15, 8), Qt::LeftButton);
    EXPECT_EQ(canvas().floaterRect().topLeft(), editor::partFrame(session.state, 14).topLeft() + QPoint(15, 8));
    release(c + QPoint(15, 8));

    EXPECT_EQ(slot(14).PosX, before.PosX + 15);
    EXPECT_EQ(slot(14).PosY, before.PosY + 8);
    EXPECT_EQ(session.images.PreviewTable[14].PosX, qRound((before.PosX + 15) / 3.0));
    EXPECT_FALSE(editor->dragActive());
    EXPECT_EQ(editor->selectedKind(), 0);
    EXPECT_FALSE(canvas().hasFloater());
    EXPECT_NE(canvas().raster(), shownBefore);
    EXPECT_EQ(undoCount(), 2);
    EXPECT_TRUE(env.undoEnabled);

    // A press and release inside the frame without moving records nothing.
    pick(14);
    click(centre(14));
    EXPECT_EQ(undoCount(), 2);

    ASSERT_TRUE(editor->undo());
    EXPECT_EQ(slot(14).PosX, before.PosX);
    EXPECT_EQ(slot(14).PosY, before.PosY);
    EXPECT_EQ(canvas().raster(), shownBefore);
    EXPECT_FALSE(env.undoEnabled);
    EXPECT_TRUE(env.redoEnabled);
    ASSERT_TRUE(editor->redo());
    EXPECT_EQ(slot(14).PosX, before.PosX + 15);
    EXPECT_FALSE(env.redoEnabled);

    // Dropped half outside the canvas: the composition pulls it back to the edge, and the
    // slot keeps the corrected place.
    pick(14);
    press(centre(14));
    moveTo(QPoint(298, centre(14).y()), Qt::LeftButton);
    release(QPoint(298, centre(14).y()));
    EXPECT_EQ(slot(14).PosX, 300 - slot(14).Width);
}

TEST_F(EditorWindow, StretchShowsResizePointersAndKeepsTenPixels)
{
    start();
    pick(14);
    const QRect f = editor::partFrame(session.state, 14);
    const QPoint right(f.x() + f.width(), f.y());
    const QPoint bottomRight(f.x() + f.width(), f.y() + f.height());
    moveTo(right);
    EXPECT_EQ(canvas().cursorShape(), editor::kPointerNESW);
    moveTo(f.topLeft());
    EXPECT_EQ(canvas().cursorShape(), editor::kPointerNWSE);
    moveTo(f.center());
    EXPECT_EQ(canvas().cursorShape(), editor::kPointerDefault);
    moveTo(bottomRight);
    EXPECT_EQ(canvas().cursorShape(), editor::kPointerNWSE);

    press(bottomRight);
    EXPECT_TRUE(editor->resizeActive());
    EXPECT_TRUE(canvas().isRubberBandVisible());
    moveTo(f.topLeft() + QPoint(3, 2), Qt::LeftButton);
    EXPECT_EQ(canvas().rubberBand(), QRect(f.topLeft(), QSize(3, 2)));
    release(f.topLeft() + QPoint(3, 2));

    EXPECT_FALSE(editor->resizeActive());
    EXPECT_FALSE(canvas().isRubberBandVisible());
    EXPECT_EQ(slot(14).Width + slot(14).GrowW, 10);
    EXPECT_EQ(slot(14).Height + slot(14).GrowH, 10);
    EXPECT_EQ(slot(14).PosX, f.x());
    EXPECT_EQ(undoCount(), 2);
}

TEST_F(EditorWindow, PopupMenusEnableAndAct)
{
    start();
    // Nothing selected: the group menu, enabled for the default face.
    click(QPoint(2, 2), Qt::RightButton);
    QMenu* group = editor->groupMenu();
    ASSERT_TRUE(group->isVisible());
    EXPECT_TRUE(action(group, "menuP2Parts(2)")->isEnabled());      // 髪
    EXPECT_TRUE(action(group, "menuP2PartsKami(1)")->isEnabled());  // 髪 全部
    EXPECT_TRUE(action(group, "menuP2PartsKao(1)")->isEnabled());   // 顔 全部
    EXPECT_FALSE(action(group, "menuP2Parts(1)")->isEnabled());     // 背景
    EXPECT_FALSE(action(group, "menuP2Parts(9)")->isEnabled());     // 帽子
    group->hide();

    action(group, "menuP2PartsMe(1)")->trigger();  // both eyes
    EXPECT_FALSE(slot(11).present());
    EXPECT_FALSE(slot(12).present());
    EXPECT_EQ(undoCount(), 2);
    click(QPoint(2, 2), Qt::RightButton);
    EXPECT_FALSE(action(group, "menuP2PartsKao(5)")->isEnabled());  // 目
    group->hide();

    // A selected part: the part menu.
    pick(14);
    click(centre(14), Qt::RightButton);
    QMenu* part = editor->partMenu();
    ASSERT_TRUE(part->isVisible());
    part->hide();
    action(part, "menuPDelete")->trigger();
    EXPECT_FALSE(slot(14).present());
    EXPECT_EQ(session.marks.InUseFileNo[14], 0);
    EXPECT_EQ(editor->selectedKind(), 0);
    EXPECT_EQ(undoCount(), 3);

    // The next click picks at once.
    pick(13);
    const core::PartSlot mouth = slot(13);
    press(centre(13));
    moveTo(centre(13) + QPoint(20, 0), Qt::LeftButton);
    release(centre(13) + QPoint(20, 0));
    ASSERT_EQ(slot(13).PosX, mouth.PosX + 20);
    pick(13);
    action(part, "menuPStan")->trigger();
    EXPECT_EQ(slot(13).PosX, slot(13).BaseX);
    EXPECT_EQ(slot(13).PosY, slot(13).BaseY);
    EXPECT_EQ(undoCount(), 5);
}

TEST_F(EditorWindow, KeysNudgeAndDeleteThroughTheSamePaths)
{
    start();
    const core::PartSlot before = slot(14);
    QTest::keyClick(editor.get(), Qt::Key_Right);  // nothing selected: nothing happens
    EXPECT_EQ(undoCount(), 1);

    pick(14);
    QTest::keyClick(editor.get(), Qt::Key_Right);
    EXPECT_EQ(slot(14).PosX, before.PosX + 1);
    EXPECT_TRUE(editor->partSelected());
    EXPECT_EQ(canvas().raster().region().bounds(), editor::partFrame(session.state, 14));
    QTest::keyClick(editor.get(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(slot(14).PosY, before.PosY + 10);
    QTest::keyClick(editor.get(), Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(slot(14).PosX, before.PosX - 9);
    EXPECT_EQ(undoCount(), 4);

    QTest::keyClick(editor.get(), Qt::Key_Delete);
    EXPECT_FALSE(slot(14).present());
    EXPECT_EQ(undoCount(), 5);
    ASSERT_TRUE(editor->undo());
    EXPECT_TRUE(slot(14).present());
    EXPECT_EQ(slot(14).PosX, before.PosX - 9);
}

TEST_F(EditorWindow, UnloadAsksSavesOrWritesTheWorkSnapshot)
{
    using Answer = FakeEnvironment::SaveAnswer;
    struct Row {
        const char* name;
        bool named;
        bool modify;
        bool reopen;
        Answer answer;
        bool asked;
        bool closes;
        bool saved;  // the file holds the modified portrait afterwards
    };
    const Row rows[] = {
        {"untitled: written without asking", false, true, false, Answer::Cancel, false, true, true},
        {"named, unchanged", true, false, false, Answer::Cancel, false, true, false},
        {"named, modified, cancel", true, true, false, Answer::Cancel, true, false, false},
        {"named, modified, yes", true, true, false, Answer::Yes, true, true, true},
        {"named, modified, no", true, true, false, Answer::No, true, true, false},
        {"after an export", true, true, true, Answer::Cancel, false, true, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        editor.reset();
        session = core::PortraitSession();
        env = FakeEnvironment();
        session.settings = core::LoadSettings(home.path());
        QFile::remove(home.filePath(QStringLiteral("Ravoze.sav")));
        start();
        QString path = core::workSnapshotPath(home.path());
        if (r.named) {
            path = home.filePath(QStringLiteral("face.fcr"));
            ASSERT_FALSE(core::SaveDocument(path, session.state, session.captions).has_value());
            env.documentName = path;
            editor->setWindowTitle(path);
        }
        QFile stored(path);
        ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
        const QByteArray original = stored.readAll();
        stored.close();
        if (r.modify) {
            slot(14).PosX += 5;
            editor->composePortrait();
        }
        EXPECT_EQ(editor->isModified(), r.modify);
        env.answer = r.answer;
        env.reopen = r.reopen;

        EXPECT_EQ(editor->unloadEditor(), r.closes);
        EXPECT_EQ(env.questions.size(), r.asked ? 1 : 0);
        if (r.asked) {
            EXPECT_EQ(env.questions.value(0), path);
        }
        EXPECT_EQ(editor->isLoaded(), !r.closes);
        EXPECT_EQ(env.editorOpen, !r.closes);
        EXPECT_EQ(env.calls.contains(QStringLiteral("closePicker")), r.closes);
        EXPECT_EQ(env.calls.contains(QStringLiteral("SetMenuMode(1)")), r.closes);

        ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
        const QByteArray now = stored.readAll();
        stored.close();
        if (r.saved) {
            core::PartTable read;
            ASSERT_TRUE(core::decodeDocument(now, read));
            EXPECT_EQ(read[14].PosX, slot(14).PosX);
        } else {
            EXPECT_EQ(now, original);
        }
    }
}
