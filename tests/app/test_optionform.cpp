#include "app/optionform.h"

#include "core/inifile.h"
#include "core/options.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <functional>
#include <memory>

using app::OptionForm;

namespace {

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

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

void processDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A data folder holding the delivered "ravoze.ini".
struct OptionFormTest : ::testing::Test {
    void SetUp() override { reset(); }

    // Back to the delivered file, for each row of a table.
    void reset()
    {
        ASSERT_TRUE(dir.isValid());
        iniPath = QDir(dir.path()).filePath(QStringLiteral("ravoze.ini"));
        QFile::remove(iniPath);
        ASSERT_TRUE(QFile::copy(QStringLiteral(FACIORA_TEST_DATA "/../data/ravoze.ini"), iniPath));
        settings = core::LoadSettings(dir.path());
        before = readBytes(iniPath);
    }

    QPointer<OptionForm> open()
    {
        QPointer<OptionForm> form = new OptionForm(settings, dir.path(), &owner);
        form->show();
        return form;
    }

    QString ini(const QString& section, const QString& key) const
    {
        core::IniFile file;
        EXPECT_TRUE(file.load(iniPath));
        return file.value(section, key, QStringLiteral("(missing)"));
    }

    QTemporaryDir dir;
    QString iniPath;
    core::Settings settings;
    QByteArray before;
    QWidget owner;  // the main window
};

}  // namespace

TEST_F(OptionFormTest, ShowsTheTabStripWithItsFramesAndCaptions)
{
    QPointer<OptionForm> form = open();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("ｵﾌﾟｼｮﾝ"));
    EXPECT_TRUE(form->isWindow());
    EXPECT_EQ(form->parentWidget(), &owner);
    EXPECT_FALSE(form->isModal());

    auto* tabs = form->findChild<QTabWidget*>();
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("似顔絵作成ｳｨﾝﾄﾞｳ"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("待避ｳｨﾝﾄﾞｳ"));
    EXPECT_EQ(tabs->tabText(2), QStringLiteral("ﾊﾟｰﾂ選択ｳｨﾝﾄﾞｳ"));

    // Each control sits in its own frame; choosing a tab brings that frame to the front.
    const struct {
        int tab;
        const char* name;
        const char* caption;  // empty: none
    } controls[] = {
        {0, "DfltfaceCK", "新規作成時に似顔絵を表示する"},
        {1, "Text1", ""},
        {1, "UpDown1", ""},
        {2, "Option1", "重ねあわせ"},
        {2, "Option2", "単一ﾊﾟｰﾂ"},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(c.name);
        QWidget* w = child<QWidget>(*form, QLatin1String(c.name));
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(tabs->widget(c.tab)->isAncestorOf(w));
        if (*c.caption) {
            EXPECT_EQ(w->property("text").toString(), QString::fromUtf8(c.caption));
        }
        tabs->setCurrentIndex(c.tab);
        EXPECT_TRUE(w->isVisible());
    }
    const auto& boxes = core::OptionsDialog::boxes();
    for (const auto& b : boxes) {
        auto* box = child<QCheckBox>(*form, QLatin1String(b.name));
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), QString::fromUtf16(b.caption));
        EXPECT_TRUE(tabs->widget(2)->isAncestorOf(box));
        EXPECT_TRUE(box->isEnabled());
    }
    EXPECT_EQ(child<QPushButton>(*form, QStringLiteral("OKBTN"))->text(), QStringLiteral("OK"));
    EXPECT_EQ(child<QPushButton>(*form, QStringLiteral("CANCELBTN"))->text(), QStringLiteral("ｷｬﾝｾﾙ"));

    QStringList labels;
    for (QLabel* l : form->findChildren<QLabel*>())
        labels << l->text();
    EXPECT_TRUE(labels.contains(QStringLiteral("*ﾊﾟｰﾂ表示方法")));
    EXPECT_TRUE(labels.contains(QStringLiteral("*重ねあわせ表示のとき表示するﾊﾟｰﾂ")));
    EXPECT_TRUE(labels.contains(QStringLiteral("*待避画面を　　　　　　　枚まで表示する")));

    // The count sits in the caption's gap, after "*待避画面を", not over the words.
    tabs->setCurrentIndex(1);
    auto* text1 = child<QLineEdit>(*form, QStringLiteral("Text1"));
    QLabel* gap = qobject_cast<QLabel*>(text1->parentWidget()->parentWidget());
    ASSERT_NE(gap, nullptr);
    const QRect inGap = text1->parentWidget()->geometry();
    const QFontMetrics fm(gap->font());
    EXPECT_GE(inGap.left(), fm.horizontalAdvance(QStringLiteral("*待避画面を")));
    EXPECT_LE(inGap.right(), fm.horizontalAdvance(QStringLiteral("*待避画面を　　　　　　　")) + gap->contentsMargins().left());
}

TEST_F(OptionFormTest, LoadShowsTheSettingsInUseWithOkDisabled)
{
    const struct {
        const char* name;
        std::function<void(core::Settings&)> change;
    } rows[] = {
        {"delivered file", [](core::Settings&) {}},
        {"overlay mode, no default face, five screens, eye and brow by their right half",
         [](core::Settings& s) {
             s.OverlayMode = 1;
             s.ShowDefaultFace = 0;
             s.SavedScreenCount = 5;
             s.OverlayKinds.fill(false);
             s.OverlayKinds[11] = true;   // 目 follows kind 11 only
             s.OverlayKinds[10] = true;   // まゆげ follows kind 9, not 10
             s.OverlayKinds[2] = true;
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        core::Settings s = core::LoadSettings(dir.path());
        row.change(s);
        settings = s;
        QPointer<OptionForm> form = open();
        EXPECT_EQ(child<QCheckBox>(*form, QStringLiteral("DfltfaceCK"))->isChecked(), s.ShowDefaultFace != 0);
        EXPECT_EQ(child<QLineEdit>(*form, QStringLiteral("Text1"))->text(), QString::number(s.SavedScreenCount));
        EXPECT_EQ(child<QRadioButton>(*form, QStringLiteral("Option1"))->isChecked(), s.OverlayMode != 0);
        EXPECT_EQ(child<QRadioButton>(*form, QStringLiteral("Option2"))->isChecked(), s.OverlayMode == 0);
        for (const auto& b : core::OptionsDialog::boxes()) {
            SCOPED_TRACE(b.name);
            EXPECT_EQ(child<QCheckBox>(*form, QLatin1String(b.name))->isChecked(),
                      s.OverlayKinds[std::size_t(b.kind)]);
        }
        EXPECT_FALSE(child<QPushButton>(*form, QStringLiteral("OKBTN"))->isEnabled());
        delete form;
    }
}

TEST_F(OptionFormTest, OkWithoutChangesWritesNothing)
{
    // OK stays disabled until something is changed, so neither a click nor Enter writes;
    // without a settings file none is created either.
    for (bool withFile : {true, false}) {
        SCOPED_TRACE(withFile ? "with ravoze.ini" : "without ravoze.ini");
        if (!withFile) {
            ASSERT_TRUE(QFile::remove(iniPath));
        }
        const core::Settings inUse = settings;
        QPointer<OptionForm> form = open();
        QSignalSpy changed(form.data(), &OptionForm::settingsChanged);
        auto* ok = child<QPushButton>(*form, QStringLiteral("OKBTN"));
        EXPECT_FALSE(ok->isEnabled());
        click(ok);
        QTest::keyClick(form.data(), Qt::Key_Return);
        processDeletes();
        ASSERT_TRUE(form);
        EXPECT_TRUE(form->isVisible());
        click(child<QPushButton>(*form, QStringLiteral("CANCELBTN")));
        processDeletes();
        EXPECT_FALSE(form);
        EXPECT_EQ(changed.count(), 0);
        EXPECT_EQ(settings, inUse);
        if (withFile) {
            EXPECT_EQ(readBytes(iniPath), before);
        } else {
            EXPECT_FALSE(QFile::exists(iniPath));
        }
    }
}

TEST_F(OptionFormTest, UntickingABoxWritesZeroForItsKindsUnderTheKeysAtTheirPositions)
{
    const struct {
        const char* box;
        std::vector<int> kinds;
        QStringList keys;  // the keys written at those kinds' positions
    } rows[] = {
        {"meCK", {11, 12}, {QStringLiteral("hidarime"), QStringLiteral("hana")}},
        {"mayugeCK", {9, 10}, {QStringLiteral("lmayuge"), QStringLiteral("migime")}},
        {"userCK", {2}, {QStringLiteral("kamigata")}},
        {"rinkakuCK", {7}, {QStringLiteral("user")}},
        {"kamigataCK", {3}, {QStringLiteral("karada")}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.box);
        reset();
        QPointer<OptionForm> form = open();
        QSignalSpy changed(form.data(), &OptionForm::settingsChanged);
        auto* box = child<QCheckBox>(*form, QLatin1String(row.box));
        ASSERT_TRUE(box->isChecked());
        form->findChild<QTabWidget*>()->setCurrentIndex(2);
        click(box);
        EXPECT_FALSE(box->isChecked());
        auto* ok = child<QPushButton>(*form, QStringLiteral("OKBTN"));
        EXPECT_TRUE(ok->isEnabled());
        click(ok);
        processDeletes();
        EXPECT_FALSE(form);
        EXPECT_EQ(changed.count(), 1);

        core::Settings expected = core::LoadSettings(dir.path());
        for (int k = 1; k <= 22; ++k) {
            const bool off = std::find(row.kinds.begin(), row.kinds.end(), k) != row.kinds.end();
            const QString value = ini(QStringLiteral("Option Select"), core::overlayKeyName(k));
            // Kinds without a box were False in the working copy and are written so.
            const bool hasBox = k != 1 && k != 4 && k != 5 && k != 20 && k != 21 && k != 22;
            EXPECT_EQ(value, (off || !hasBox) ? QStringLiteral("0") : QStringLiteral("1")) << "kind " << k;
            EXPECT_EQ(settings.OverlayKinds[std::size_t(k)], !off && hasBox) << "kind " << k;
            EXPECT_EQ(expected.OverlayKinds[std::size_t(k)], settings.OverlayKinds[std::size_t(k)]);
        }
        for (const QString& key : row.keys)
            EXPECT_EQ(ini(QStringLiteral("Option Select"), key), QStringLiteral("0")) << key.toStdString();
        EXPECT_EQ(ini(QStringLiteral("Option Temp"), QStringLiteral("TempCnt")), QStringLiteral("3"));
        EXPECT_EQ(ini(QStringLiteral("Option Face"), QStringLiteral("Disp")), QStringLiteral("1"));
        EXPECT_EQ(ini(QStringLiteral("Option Mode"), QStringLiteral("DispMode")), QStringLiteral("0"));
    }
}

TEST_F(OptionFormTest, CountModeAndFaceAreWrittenAsChanged)
{
    const struct {
        const char* name;
        int tab;  // where the control is
        std::function<void(OptionForm&)> edit;
        const char* tempCnt;
        const char* disp;
        const char* dispMode;
    } rows[] = {
        {"spin up twice", 1, [](OptionForm& f) {
             click(child<QToolButton>(f, QStringLiteral("UpDown1Up")));
             click(child<QToolButton>(f, QStringLiteral("UpDown1Up")));
         }, "5", "1", "0"},
        {"spin stops at the top", 1, [](OptionForm& f) {
             for (int i = 0; i < 20; ++i)
                 click(child<QToolButton>(f, QStringLiteral("UpDown1Up")));
         }, "10", "1", "0"},
        {"spin stops at the bottom", 1, [](OptionForm& f) {
             for (int i = 0; i < 5; ++i)
                 click(child<QToolButton>(f, QStringLiteral("UpDown1Down")));
         }, "1", "1", "0"},
        {"typed count, blanks trimmed", 1, [](OptionForm& f) {
             auto* text = child<QLineEdit>(f, QStringLiteral("Text1"));
             text->selectAll();
             QTest::keyClicks(text, QStringLiteral(" 7 "));
         }, "7", "1", "0"},
        {"overlay thumbnails", 2, [](OptionForm& f) { click(child<QRadioButton>(f, QStringLiteral("Option1"))); },
         "3", "1", "1"},
        {"no default face", 0, [](OptionForm& f) { click(child<QCheckBox>(f, QStringLiteral("DfltfaceCK"))); },
         "3", "0", "0"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        reset();
        QPointer<OptionForm> form = open();
        form->findChild<QTabWidget*>()->setCurrentIndex(row.tab);
        row.edit(*form);
        EXPECT_TRUE(child<QPushButton>(*form, QStringLiteral("OKBTN"))->isEnabled());
        click(child<QPushButton>(*form, QStringLiteral("OKBTN")));
        EXPECT_EQ(ini(QStringLiteral("Option Temp"), QStringLiteral("TempCnt")), QLatin1String(row.tempCnt));
        EXPECT_EQ(ini(QStringLiteral("Option Face"), QStringLiteral("Disp")), QLatin1String(row.disp));
        EXPECT_EQ(ini(QStringLiteral("Option Mode"), QStringLiteral("DispMode")), QLatin1String(row.dispMode));
        EXPECT_EQ(core::LoadSettings(dir.path()), settings);
        processDeletes();
    }
}

TEST_F(OptionFormTest, CancelAndTheCloseBoxWriteNothing)
{
    for (bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox ? "close box" : "ｷｬﾝｾﾙ");
        const core::Settings inUse = settings;
        QPointer<OptionForm> form = open();
        form->findChild<QTabWidget*>()->setCurrentIndex(2);
        click(child<QCheckBox>(*form, QStringLiteral("meCK")));
        click(child<QRadioButton>(*form, QStringLiteral("Option1")));
        if (closeBox)
            form->close();
        else
            click(child<QPushButton>(*form, QStringLiteral("CANCELBTN")));
        processDeletes();
        EXPECT_FALSE(form);
        EXPECT_EQ(settings, inUse);
        EXPECT_EQ(readBytes(iniPath), before);
    }
}

TEST_F(OptionFormTest, AFileThatCannotBeWrittenIsReported)
{
    // A folder where the file should be: nothing can be read or written there.
    ASSERT_TRUE(QFile::remove(iniPath));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("ravoze.ini")));
    QPointer<OptionForm> form = open();
    form->findChild<QTabWidget*>()->setCurrentIndex(2);
    click(child<QRadioButton>(*form, QStringLiteral("Option1")));
    click(child<QPushButton>(*form, QStringLiteral("OKBTN")));
    processDeletes();
    EXPECT_FALSE(form);
    // The settings in use still change; the user learns that they were not kept.
    EXPECT_EQ(settings.OverlayMode, 1);
    auto* box = owner.findChild<QMessageBox*>(QStringLiteral("OptionWriteError"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Faciora"));
    EXPECT_TRUE(box->isVisible());
    box->close();
}
