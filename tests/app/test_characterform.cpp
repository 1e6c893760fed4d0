#include "app/characterform.h"

#include "core/captions.h"
#include "core/session.h"
#include "imaging/view/imagingdialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using app::CharacterForm;
using core::CaptionEntry;

namespace {

const QRgb kYellow = qRgb(255, 255, 0);

template <typename T>
T* child(const QWidget& parent, const QString& name)
{
    T* w = parent.findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
}

void click(QWidget* w)
{
    ASSERT_NE(w, nullptr);
    QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

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

void processDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

CaptionEntry shownCaption(const QString& text, int left = 20, int top = 30)
{
    CaptionEntry c;
    c.Text = text;
    c.FontName = QStringLiteral("ＭＳ 明朝");
    c.FontSize = 14;
    c.TextSettingB = 0x112233;
    c.BoxWidth = 20;
    c.BoxHeight = 20;
    c.BoxLeft = std::int16_t(left);
    c.BoxTop = std::int16_t(top);
    c.Shown = true;
    return c;
}

// The session, a data folder with the sample picture, and hooks that count.
struct CharacterFormTest : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        ASSERT_TRUE(QFile::copy(QStringLiteral(FACIORA_TEST_DATA "/../data/ﾌｫﾝﾄ.bmp"),
                                QDir(home.path()).filePath(QStringLiteral("ﾌｫﾝﾄ.bmp"))));
    }

    QPointer<CharacterForm> open()
    {
        CharacterForm::Hooks hooks;
        hooks.redraw = [this] { ++redraws; };
        hooks.recordSnapshot = [this] { ++snapshots; };
        QPointer<CharacterForm> form = new CharacterForm(session, home.path(), hooks, &owner);
        form->show();
        return form;
    }

    QPushButton* captionButton(CharacterForm& form, int i)
    {
        return child<QPushButton>(form, QStringLiteral("Command2_%1").arg(i));
    }

    QTemporaryDir home;
    core::PortraitSession session;
    QWidget owner;  // the main window
    int redraws = 0;
    int snapshots = 0;
};

}  // namespace

TEST_F(CharacterFormTest, LoadPlacesTheDialogAndUnloadKeepsItsPosition)
{
    const struct {
        const char* name;
        QPoint storedTwips;
        QPoint expectedPixels;  // at 96 dpi, 15 twips a pixel
    } rows[] = {
        {"first opening", {0, 0}, {443, 310}},  // 6650 x 4650 twips
        {"where it was closed", {1500, 3000}, {100, 200}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        session.captionDraw.TextDialogPos = row.storedTwips;
        session.captions[1] = shownCaption(QStringLiteral("一"));
        QPointer<CharacterForm> form = open();
        ASSERT_EQ(form->logicalDpiX(), 96);
        EXPECT_EQ(form->windowTitle(), QStringLiteral("文字編集"));
        EXPECT_TRUE(form->isWindow());
        EXPECT_FALSE(form->isModal());
        EXPECT_EQ(form->pos(), row.expectedPixels);
        EXPECT_EQ(form->currentCaption(), 1);
        EXPECT_EQ(child<QLineEdit>(*form, QStringLiteral("Text1"))->text(), QStringLiteral("一"));
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(captionButton(*form, i)->text(), QString::number(i + 1));
            EXPECT_EQ(captionButton(*form, i)->palette().color(QPalette::Button).rgb() == kYellow, i == 0);
        }
        EXPECT_EQ(form->samplePicture().size(), QSize(240, 60));

        form->move(50, 60);
        form->close();
        processDeletes();
        EXPECT_FALSE(form);
        EXPECT_EQ(session.captionDraw.CurrentCaption, 0);
        EXPECT_EQ(session.captionDraw.TextDialogPos, QPoint(750, 900));
        EXPECT_EQ(redraws, 0);
        EXPECT_EQ(snapshots, 0);
    }
}

TEST_F(CharacterFormTest, CommandButtonsCarryTheirCaptions)
{
    QPointer<CharacterForm> form = open();
    const struct {
        const char* name;
        const char* caption;
    } buttons[] = {
        {"Command1", "フォント"}, {"Command3", "消去"},   {"Command5", "ＯＫ"}, {"Command4_0", "←"},
        {"Command4_1", "↑"},      {"Command4_2", "↓"}, {"Command4_3", "→"},
    };
    for (const auto& b : buttons)
        EXPECT_EQ(child<QPushButton>(*form, QLatin1String(b.name))->text(), QString::fromUtf8(b.caption)) << b.name;
}

TEST_F(CharacterFormTest, WithoutTheSamplePictureAPlainOneIsUsed)
{
    ASSERT_TRUE(QFile::remove(QDir(home.path()).filePath(QStringLiteral("ﾌｫﾝﾄ.bmp"))));
    QPointer<CharacterForm> form = open();
    EXPECT_EQ(form->samplePicture().size(), QSize(240, 60));
    EXPECT_EQ(form->samplePicture().pixel(120, 30), qRgb(255, 255, 255));
}

TEST_F(CharacterFormTest, CaptionButtonsChooseTheCaptionTheTextBoxEdits)
{
    session.captions[3] = shownCaption(QStringLiteral("三"));
    QPointer<CharacterForm> form = open();
    auto* text1 = child<QLineEdit>(*form, QStringLiteral("Text1"));

    click(captionButton(*form, 2));
    EXPECT_EQ(form->currentCaption(), 3);
    EXPECT_EQ(session.captionDraw.CurrentCaption, 3);
    EXPECT_EQ(text1->text(), QStringLiteral("三"));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(captionButton(*form, i)->palette().color(QPalette::Button).rgb() == kYellow, i == 2);

    type(text1, QStringLiteral("号"));
    EXPECT_EQ(session.captions[3].Text, QStringLiteral("三号"));
    EXPECT_TRUE(session.captions[3].Shown);
    for (int n : {1, 2, 4, 5})
        EXPECT_EQ(session.captions[n], CaptionEntry());
    // The font dialog's text follows the text box.
    EXPECT_EQ(form->fontDialog().settings().text, QStringLiteral("三号"));

    click(captionButton(*form, 4));
    EXPECT_EQ(form->currentCaption(), 5);
    EXPECT_TRUE(text1->text().isEmpty());
    EXPECT_EQ(session.captions[3].Text, QStringLiteral("三号"));
    // Typing alone neither redraws nor records.
    EXPECT_EQ(redraws, 0);
    EXPECT_EQ(snapshots, 0);
}

TEST_F(CharacterFormTest, OkShowsOrClearsAndClearRemovesTheCaption)
{
    const struct {
        const char* name;
        CaptionEntry before;
        std::function<void(CharacterForm&, QLineEdit&)> act;
        CaptionEntry after;
        QString text1After;
    } rows[] = {
        {"typed into an empty slot, ＯＫ shows it", CaptionEntry(),
         [](CharacterForm& f, QLineEdit& t) {
             type(&t, QStringLiteral("山田"));
             click(child<QPushButton>(f, QStringLiteral("Command5")));
         },
         [] {
             CaptionEntry c;
             c.Text = QStringLiteral("山田");
             c.Shown = true;
             return c;
         }(),
         QStringLiteral("山田")},
        {"emptied text, ＯＫ clears the whole caption", shownCaption(QStringLiteral("消す")),
         [](CharacterForm& f, QLineEdit& t) {
             t.selectAll();
             QTest::keyClick(&t, Qt::Key_Delete);
             click(child<QPushButton>(f, QStringLiteral("Command5")));
         },
         CaptionEntry(), QString()},
        {"消去 clears the whole caption and the text box", shownCaption(QStringLiteral("消す")),
         [](CharacterForm& f, QLineEdit&) { click(child<QPushButton>(f, QStringLiteral("Command3"))); },
         CaptionEntry(), QString()},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        session.captions[1] = row.before;
        redraws = snapshots = 0;
        QPointer<CharacterForm> form = open();
        auto* text1 = child<QLineEdit>(*form, QStringLiteral("Text1"));
        row.act(*form, *text1);
        EXPECT_EQ(session.captions[1], row.after);
        EXPECT_EQ(text1->text(), row.text1After);
        EXPECT_EQ(redraws, 1);
        EXPECT_EQ(snapshots, 1);
        delete form;
    }
}

TEST_F(CharacterFormTest, EmptyingTheTextHidesTheCaptionAtOnce)
{
    session.captions[1] = shownCaption(QStringLiteral("隠す"));
    QPointer<CharacterForm> form = open();
    child<QLineEdit>(*form, QStringLiteral("Text1"))->clear();
    EXPECT_FALSE(session.captions[1].Shown);
    EXPECT_TRUE(session.captions[1].Text.isEmpty());
    // The rest stays until ＯＫ clears it.
    EXPECT_EQ(session.captions[1].FontName, QStringLiteral("ＭＳ 明朝"));
}

TEST_F(CharacterFormTest, HeldArrowsMoveTheCaptionToTheirLimits)
{
    session.state.CanvasWidth = 300;
    session.state.CanvasHeight = 300;
    const struct {
        const char* name;
        int arrow;  // Command4 index: ← ↑ ↓ →
        bool shown;
        QPoint start;
        QPoint end;
        int snapshots;
    } rows[] = {
        {"left from 3: one step to -2", 0, true, {3, 50}, {-2, 50}, 1},
        {"left from 20: down to -5", 0, true, {20, 50}, {-5, 50}, 1},
        {"up from 3: one step to -2", 1, true, {50, 3}, {50, -2}, 1},
        {"down to the bottom edge", 2, true, {50, 265}, {50, 280}, 1},
        {"right to the right edge", 3, true, {270, 50}, {280, 50}, 1},
        {"right at the edge: no step, still recorded", 3, true, {280, 50}, {280, 50}, 1},
        {"hidden caption: nothing", 0, false, {20, 50}, {20, 50}, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CaptionEntry c = shownCaption(QStringLiteral("動"), row.start.x(), row.start.y());
        c.Shown = row.shown;
        session.captions[1] = c;
        redraws = snapshots = 0;
        QPointer<CharacterForm> form = open();
        auto* button = child<QPushButton>(*form, QStringLiteral("Command4_%1").arg(row.arrow));
        const CaptionEntry& caption = session.captions[1];
        QTest::mousePress(button, Qt::LeftButton, {}, button->rect().center());
        EXPECT_TRUE(QTest::qWaitFor([&] { return QPoint(caption.BoxLeft, caption.BoxTop) == row.end; }, 5000));
        QTest::qWait(4 * CharacterForm::kArrowRepeatMs);  // no step past the limit
        EXPECT_EQ(QPoint(caption.BoxLeft, caption.BoxTop), row.end);
        EXPECT_EQ(snapshots, 0);  // not while held
        QTest::mouseRelease(button, Qt::LeftButton, {}, button->rect().center());
        EXPECT_EQ(snapshots, row.snapshots);
        const QPoint moved = row.end - row.start;
        EXPECT_EQ(redraws, (std::abs(moved.x()) + std::abs(moved.y())) / 5);
        delete form;
    }
}

TEST_F(CharacterFormTest, ReleasingAnArrowStopsTheMove)
{
    session.captions[1] = shownCaption(QStringLiteral("止"), 250, 50);
    QPointer<CharacterForm> form = open();
    auto* left = child<QPushButton>(*form, QStringLiteral("Command4_0"));
    const CaptionEntry& caption = session.captions[1];
    QTest::mousePress(left, Qt::LeftButton, {}, left->rect().center());
    EXPECT_EQ(caption.BoxLeft, 245);  // the first step goes at once
    ASSERT_TRUE(QTest::qWaitFor([&] { return caption.BoxLeft <= 235; }, 5000));
    QTest::mouseRelease(left, Qt::LeftButton, {}, left->rect().center());
    const int stopped = caption.BoxLeft;
    QTest::qWait(5 * CharacterForm::kArrowRepeatMs);
    EXPECT_EQ(caption.BoxLeft, stopped);
    EXPECT_GT(stopped, 0);
    EXPECT_EQ(snapshots, 1);
}

TEST_F(CharacterFormTest, FontDialogEditsTheCurrentCaption)
{
    const struct {
        const char* name;
        bool shown;
        bool confirm;
        int snapshots;
    } rows[] = {
        {"shown, OK", true, true, 1},
        {"shown, cancelled", true, false, 0},
        {"not shown yet, OK", false, true, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CaptionEntry before;
        before.Text = QStringLiteral("花子");
        before.Shown = row.shown;  // empty font name and size 0
        session.captions[2] = before;
        redraws = snapshots = 0;
        QPointer<CharacterForm> form = open();
        click(captionButton(*form, 1));
        click(child<QPushButton>(*form, QStringLiteral("Command1")));

        imaging::ImagingDialog& dialog = form->fontDialog();
        ASSERT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.windowModality(), Qt::WindowModal);
        EXPECT_EQ(dialog.settings().text, QStringLiteral("花子"));
        EXPECT_EQ(dialog.settings().style.fontName, QStringLiteral("ＭＳ Ｐゴシック"));
        EXPECT_EQ(dialog.settings().style.fontSize, 12);
        EXPECT_EQ(dialog.samplePicture(), form->samplePicture());

        child<QSpinBox>(dialog, QStringLiteral("fontSize"))->setValue(20);
        click(child<QCheckBox>(dialog, QStringLiteral("bold")));
        child<QComboBox>(dialog, QStringLiteral("horizontalAlign"))->setCurrentIndex(1);
        child<QComboBox>(dialog, QStringLiteral("effectKind"))->setCurrentIndex(1);
        child<QSpinBox>(dialog, QStringLiteral("effectDepth"))->setValue(3);
        child<QLineEdit>(dialog, QStringLiteral("text"))->setText(QStringLiteral("花子さん"));
        if (row.confirm)
            dialog.accept();
        else
            dialog.reject();

        const CaptionEntry& c = session.captions[2];
        if (row.confirm) {
            EXPECT_EQ(c.Text, QStringLiteral("花子さん"));
            EXPECT_EQ(c.FontName, QStringLiteral("ＭＳ Ｐゴシック"));
            EXPECT_EQ(c.FontSize, 20);
            EXPECT_TRUE(c.FontBold);
            EXPECT_EQ(c.TextSettingA, 1);
            EXPECT_EQ(c.TextSettingG, 1 | 3 << 8);
            EXPECT_EQ(c.TextSettingE, 3);
            EXPECT_EQ(c.TextSettingF, 3);
            EXPECT_EQ(c.Shown, row.shown);
            EXPECT_EQ(child<QLineEdit>(*form, QStringLiteral("Text1"))->text(), QStringLiteral("花子さん"));
        } else {
            EXPECT_EQ(c, before);
        }
        EXPECT_EQ(redraws, 1);
        EXPECT_EQ(snapshots, row.snapshots);
        delete form;
    }
}

TEST(CaptionFontSettings, SurviveTheWayThroughTheFontDialog)
{
    const struct {
        const char* name;
        std::function<void(CaptionEntry&)> set;
    } rows[] = {
        {"plain", [](CaptionEntry&) {}},
        {"centred, bottom, wrapped, opaque, rim",
         [](CaptionEntry& c) {
             c.TextSettingA = 1 | 2 << 2 | 0x10 | 0x20;
             c.TextSettingC = 0x00ffeedd;
             c.TextSettingD = 0x00010203;
             c.TextSettingG = 2 | 4 << 8;
             c.TextSettingE = 8;
             c.TextSettingF = 8;
         }},
        {"right, vcentre, shadow, styles",
         [](CaptionEntry& c) {
             c.TextSettingA = 2 | 1 << 2;
             c.TextSettingG = 1 | 16 << 8;
             c.TextSettingE = 16;
             c.TextSettingF = 3;  // not what the shadow needs: kept
             c.FontItalic = c.FontUnderline = c.FontStrikethrough = true;
         }},
        {"bits the dialog does not edit", [](CaptionEntry& c) { c.TextSettingA = 0x40 | 0x100 | 1; }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CaptionEntry c;
        c.Text = QStringLiteral("文字");
        c.FontName = QStringLiteral("ＭＳ ゴシック");
        c.FontSize = 16;
        c.TextSettingB = 0x00abcdef;
        c.BoxLeft = 7;
        c.BoxWidth = 40;
        c.Shown = true;
        row.set(c);
        CaptionEntry back = c;
        app::applyFontDialogSettings(back, app::fontDialogSettings(c));
        EXPECT_EQ(back, c);
    }

    // A caption without font name or size takes what it is drawn with.
    CaptionEntry empty;
    CaptionEntry back = empty;
    app::applyFontDialogSettings(back, app::fontDialogSettings(empty));
    EXPECT_EQ(back.FontName, QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(back.FontSize, 12);
}
