// The text dialog driving a real editor window.

#include "app/characterform.h"

#include "core/session.h"
#include "editor/editform.h"
#include "editor/editorenvironment.h"
#include "imaging/view/imageview.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The main window's side, as far as a composition and a snapshot need it.
class QuietEnvironment : public editor::EditorEnvironment {
public:
    bool figurePosMenuEnabled() const override { return false; }
    void setFigurePosMenuEnabled(bool) override {}
    void checkFigurePosItem(int) override {}
    void setBusyPointer(bool) override {}
    void closePositionDialog() override {}
    void setEditorClientSize(int, int) override {}
    void PlaceEditorWindow() override {}
    void setUndoEnabled(bool on) override { undoEnabled = on; }
    void setRedoEnabled(bool) override {}
    QSize editorWindowSizeTwips() const override { return {4500, 4905}; }
    void setEditorWindowSizeTwips(QSize) override {}
    void setStatusText(int, const QString&) override {}
    QString DocumentName() const override { return {}; }
    void setEditorOpen(bool) override {}
    void showEditorLoaded() override {}
    void showEditorUnloaded() override {}
    void SetMenuMode(int) override {}
    void closePicker() override {}
    void closePartsPos() override {}
    bool reopenAfterExport() const override { return false; }
    void setReopenAfterExport(bool) override {}
    SaveAnswer askSaveChanges(QWidget*, const QString&) override { return SaveAnswer::No; }
    void showError(QWidget*, const QString& text) override { errors << text; }

    bool undoEnabled = false;
    QStringList errors;
};

// Typing, one key press per character (QTest's key clicks know only ASCII).
void type(QWidget* w, const QString& text)
{
    for (QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(w, &release);
    }
}

int darkPixels(const QImage& image, const QRect& box)
{
    int n = 0;
    const QRect r = box & image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
    return n;
}

}  // namespace

TEST(CharacterFormWithEditor, ACaptionAddedWithTheTextDialogIsDrawnAndRecorded)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    core::PortraitSession session;
    QuietEnvironment environment;
    QWidget owner;
    editor::EditForm editor(session, environment, &owner);
    editor.resize(300, 300);
    editor.composePortrait();  // a blank canvas, no parts
    imaging::ImageView& canvas = editor.canvas();
    canvas.resize(300, 300);
    ASSERT_EQ(canvas.raster().size(), QSize(300, 300));
    EXPECT_EQ(darkPixels(canvas.grab().toImage(), canvas.rect()), 0);
    const int undoBefore = session.history.UndoCount;

    QPointer<app::CharacterForm> form = new app::CharacterForm(
        session, home.path(), app::CharacterForm::editorHooks(session, editor, environment), &owner);
    form->show();
    type(form->findChild<QLineEdit*>(QStringLiteral("Text1")), QStringLiteral("山田太郎"));
    QPushButton* ok = form->findChild<QPushButton*>(QStringLiteral("Command5"));
    ASSERT_NE(ok, nullptr);
    QTest::mouseClick(ok, Qt::LeftButton);

    const core::CaptionEntry& c = session.captions[1];
    EXPECT_TRUE(c.Shown);
    // Sized from its text while it is the dialog's caption, and given the drawing defaults.
    EXPECT_GT(c.BoxWidth, 40);
    EXPECT_GT(c.BoxHeight, 10);
    EXPECT_EQ(c.FontName, QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(c.FontSize, 12);
    // Shown over the portrait, not drawn into it.
    const QRect box(c.BoxLeft, c.BoxTop, c.BoxWidth, c.BoxHeight);
    EXPECT_GT(darkPixels(canvas.grab().toImage(), box), 20);
    EXPECT_EQ(darkPixels(canvas.raster().image(), canvas.rect()), 0);
    EXPECT_EQ(session.history.UndoCount, undoBefore + 1);
    EXPECT_TRUE(environment.undoEnabled);

    // Moved with an arrow: drawn at the new place, one more snapshot.
    QPushButton* right = form->findChild<QPushButton*>(QStringLiteral("Command4_3"));
    ASSERT_NE(right, nullptr);
    QTest::mousePress(right, Qt::LeftButton);
    QTest::mouseRelease(right, Qt::LeftButton);
    EXPECT_EQ(c.BoxLeft, 5);
    EXPECT_GT(darkPixels(canvas.grab().toImage(), box.translated(5, 0)), 20);
    EXPECT_EQ(session.history.UndoCount, undoBefore + 2);
    EXPECT_TRUE(environment.errors.isEmpty());
    delete form;
}
