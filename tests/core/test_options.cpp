#include "core/inifile.h"
#include "core/options.h"

#include <gtest/gtest.h>

#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <QFileInfo>

#include <algorithm>
#include <functional>
#include <optional>

using namespace core;

namespace {


QByteArray deliveredIni() { return readBytes(QStringLiteral(FACIORA_TEST_DATA "/../data/ravoze.ini")); }

// An "Option Select" section with the given key names (the written ones when empty) and
// values "1" except where `zeros` says otherwise.
QByteArray overlaySection(QList<QByteArray> names, std::initializer_list<int> zeroPositions = {})
{
    if (names.isEmpty()) {
        for (int i = 1; i <= 22; ++i)
            names << overlayKeyName(i).toLatin1();
    }
    QByteArray out = "[Option Select]\r\n";
    for (int i = 0; i < names.size(); ++i) {
        const bool zero = std::find(zeroPositions.begin(), zeroPositions.end(), i + 1)
            != zeroPositions.end();
        out += names[i] + (zero ? "=0\r\n" : "=1\r\n");
    }
    return out;
}

Settings::Kinds allKinds(bool on, std::initializer_list<int> except = {})
{
    Settings::Kinds kinds{};
    for (int k = 1; k <= 22; ++k)
        kinds[size_t(k)] = on;
    for (int k : except)
        kinds[size_t(k)] = !on;
    return kinds;
}

Settings::Kinds defaultsWithout(std::initializer_list<int> kinds)
{
    Settings::Kinds k = Settings::defaultOverlayKinds();
    for (int i : kinds)
        k[size_t(i)] = false;
    return k;
}

// The delivered file with some lines replaced.
QByteArray deliveredWith(std::initializer_list<std::pair<QByteArray, QByteArray>> replacements)
{
    QByteArray bytes = deliveredIni();
    for (const auto& [from, to] : replacements)
        bytes.replace(from, to);
    return bytes;
}

class OptionsTest : public testing::Test {
protected:
    QString iniPath() const { return QDir(dir.path()).filePath("ravoze.ini"); }
    QTemporaryDir dir;
};

}  // namespace

TEST(SettingNumber, ReadsTheLeadingNumber)
{
    const std::pair<const char*, int> rows[] = {
        {"", 0},      {"abc", 0},    {"12abc", 12}, {"+7", 7},          {"-3", -3},
        {"1 2", 12},  {"2.5", 2},    {"3.5", 4},    {".5", 0},          {"1e2", 100},
        {"1.5D1", 15}, {"99999", 32767}, {"-99999", -32768}, {"7e", 7}, {"-", 0},
    };
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(settingNumber(QString::fromLatin1(text)), expected) << text;
}

TEST_F(OptionsTest, LoadSettingsFromFiles)
{
    const QByteArray noSelect = "[Option Temp]\r\nTempCnt=7\r\n[Option Face]\r\nDisp=1\r\n"
                                "[Option Mode]\r\nDispMode=1\r\n";
    const QByteArray full = overlaySection({});
    QList<QByteArray> renamed;
    for (int i = 1; i <= 22; ++i)
        renamed << overlayKeyName(i).toLatin1();
    renamed[1] = "user";
    renamed[2] = "kamigata";  // the name of kind 3 at position 3 ...
    renamed[6] = "x";
    struct Row {
        const char* name;
        std::optional<QByteArray> file;
        Settings expected;
    };
    Settings missing;
    missing.ShowDefaultFace = 0;

    Settings positional;
    positional.OverlayKinds = allKinds(true, {3});
    Settings odd;
    odd.OverlayKinds = allKinds(true);
    odd.SavedScreenCount = 0;
    odd.ShowDefaultFace = 0;
    odd.OverlayMode = 0;
    Settings fullNoOthers;
    fullNoOthers.OverlayKinds = allKinds(true);
    Settings shortSection;  // three keys: the rest keep their defaults
    shortSection.OverlayKinds[1] = true;
    shortSection.OverlayKinds[2] = false;
    shortSection.OverlayKinds[3] = true;
    Settings numbers;
    numbers.OverlayKinds = allKinds(true);
    numbers.SavedScreenCount = 12;
    numbers.ShowDefaultFace = 1;
    numbers.OverlayMode = 1;
    Settings nineNineNine = fullNoOthers;

    const Row rows[] = {
        {"no file", std::nullopt, missing},
        {"no Option Select: nothing else is read", noSelect, missing},
        {"delivered file", deliveredIni(), Settings()},
        {"position, not name", overlaySection(renamed, {3}), positional},
        {"unreadable numbers", full + "[Option Temp]\r\nTempCnt=abc\r\n[Option Face]\r\nDisp=abc\r\n"
                                      "[Option Mode]\r\nDispMode=x1\r\n", odd},
        {"missing numbers", full, fullNoOthers},
        {"short section", "[option select]\r\nhaikei=1\r\na=0\r\nb=\r\n", shortSection},
        {"leading numbers, any non-zero flag", full + "[Option Temp]\r\nTempCnt= 12abc\r\n"
                                              "[Option Face]\r\nDisp=2\r\n[Option Mode]\r\nDispMode=-1\r\n", numbers},
        {"999 is missing", full + "[Option Temp]\r\nTempCnt=999\r\n[Option Face]\r\nDisp=999\r\n", nineNineNine},
    };
    ASSERT_FALSE(deliveredIni().isEmpty());
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QFile::remove(iniPath());
        if (row.file)
            writeBytes(iniPath(), *row.file);
        const Settings s = LoadSettings(dir.path());
        EXPECT_EQ(s.OverlayKinds, row.expected.OverlayKinds);
        EXPECT_EQ(s.SavedScreenCount, row.expected.SavedScreenCount);
        EXPECT_EQ(s.ShowDefaultFace, row.expected.ShowDefaultFace);
        EXPECT_EQ(s.OverlayMode, row.expected.OverlayMode);
    }
}

TEST_F(OptionsTest, DeliveredFileIsTheDefaultsWrittenOut)
{
    ASSERT_TRUE(WriteSettings(dir.path(), Settings()));
    EXPECT_EQ(readBytes(iniPath()), deliveredIni());
}

TEST(OptionsDialog, LoadTicksTheBoxesOfTheKindsInUse)
{
    Settings s;
    s.OverlayKinds = allKinds(false, {11, 10, 1});  // eye right only, eyebrow left only
    s.OverlayMode = 1;
    s.SavedScreenCount = 5;
    s.ShowDefaultFace = 0;
    const OptionsDialog dialog(s);
    for (int b = 0; b < OptionsDialog::kBoxCount; ++b) {
        const QString name = QString::fromLatin1(OptionsDialog::boxes()[size_t(b)].name);
        EXPECT_EQ(dialog.boxTicked(b), name == "meCK") << name.toStdString();
    }
    // The working copy holds exactly the ticked boxes' kinds: both eyes, no eyebrow, and
    // never a kind without a box.
    EXPECT_EQ(dialog.workingKinds(), allKinds(false, {11, 12}));
    EXPECT_TRUE(dialog.overlaySelected());
    EXPECT_FALSE(dialog.defaultFaceTicked());
    EXPECT_EQ(dialog.savedScreenText(), "5");
    EXPECT_FALSE(dialog.okEnabled());
}

TEST_F(OptionsTest, OkWithoutChangesWritesNothing)
{
    Settings s;
    s.OverlayKinds[1] = true;  // a kind without a box stays as it is
    const Settings before = s;
    OptionsDialog dialog(s);
    EXPECT_TRUE(dialog.accept(s, dir.path()));
    EXPECT_EQ(s, before);
    EXPECT_FALSE(QFile::exists(iniPath()));

    writeBytes(iniPath(), "; mine\r\n[Other]\r\nk=v\r\n");
    EXPECT_TRUE(OptionsDialog(s).accept(s, dir.path()));
    EXPECT_EQ(readBytes(iniPath()), "; mine\r\n[Other]\r\nk=v\r\n");
}

TEST_F(OptionsTest, OkWritesEveryKeyByPosition)
{
    const int eyes = 3;   // "目"
    const int user = 13;  // "ﾕｰｻﾞﾊﾟｰﾂ"
    ASSERT_STREQ(OptionsDialog::boxes()[eyes].name, "meCK");
    ASSERT_STREQ(OptionsDialog::boxes()[user].name, "userCK");
    struct Row {
        const char* name;
        std::function<void(OptionsDialog&)> act;
        QByteArray expected;
        Settings::Kinds kinds;
    };
    const Row rows[] = {
        {"untick 目: both eye kinds, under hidarime and hana",
         [&](OptionsDialog& d) { d.clickBox(eyes, false); },
         deliveredWith({{"hidarime=1", "hidarime=0"}, {"hana=1", "hana=0"}}),
         defaultsWithout({11, 12})},
        {"untick ﾕｰｻﾞﾊﾟｰﾂ: the second key, named kamigata",
         [&](OptionsDialog& d) { d.clickBox(user, false); },
         deliveredWith({{"kamigata=1", "kamigata=0"}}), defaultsWithout({2})},
        {"other controls", [](OptionsDialog& d) {
             d.clickOverlayMode(true);
             d.clickDefaultFace(false);
             d.editSavedScreenText(" 7 ");
         },
         deliveredWith({{"DispMode=0", "DispMode=1"}, {"Disp=1", "Disp=0"}, {"TempCnt=3", "TempCnt=7"}}),
         Settings::defaultOverlayKinds()},
        {"spin stays in range", [](OptionsDialog& d) {
             for (int i = 0; i < 20; ++i)
                 d.spin(+1);
         },
         deliveredWith({{"TempCnt=3", "TempCnt=10"}}), Settings::defaultOverlayKinds()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        writeBytes(iniPath(), deliveredIni());
        Settings s = LoadSettings(dir.path());
        s.OverlayKinds[22] = true;  // a kind without a box: OK turns it off
        OptionsDialog dialog(s);
        row.act(dialog);
        EXPECT_TRUE(dialog.okEnabled());
        ASSERT_TRUE(dialog.accept(s, dir.path()));
        EXPECT_EQ(readBytes(iniPath()), row.expected);
        EXPECT_EQ(s.OverlayKinds, row.kinds);
        EXPECT_EQ(LoadSettings(dir.path()), s);
    }
}

TEST_F(OptionsTest, ForeignOverlaySectionIsReplacedKeepingTheRest)
{
    QList<QByteArray> names;
    for (int i = 1; i <= 22; ++i)
        names << overlayKeyName(i).toLatin1();
    std::swap(names[1], names[2]);  // "karada" second, "kamigata" third
    const QByteArray before = "; kept\r\n[Option Mode]\r\nDispMode=1\r\n" + overlaySection(names, {3})
        + "[Other]\r\nk=v\r\n";
    writeBytes(iniPath(), before);
    Settings s = LoadSettings(dir.path());
    ASSERT_FALSE(s.OverlayKinds[3]);

    OptionsDialog dialog(s);
    dialog.clickBox(13, false);  // ﾕｰｻﾞﾊﾟｰﾂ: kind 2
    ASSERT_TRUE(dialog.accept(s, dir.path()));
    // Written by name into the old order, kind 2's value would have gone to position 3.
    IniFile file;
    ASSERT_TRUE(file.load(iniPath()));
    QStringList written;
    for (int i = 1; i <= 22; ++i)
        written << overlayKeyName(i);
    EXPECT_EQ(file.keys(u"Option Select"), written);
    EXPECT_EQ(LoadSettings(dir.path()), s);
    EXPECT_FALSE(s.OverlayKinds[2]);
    EXPECT_FALSE(s.OverlayKinds[3]);
    EXPECT_TRUE(readBytes(iniPath()).startsWith("; kept\r\n[Option Mode]\r\nDispMode=1\r\n[Other]\r\nk=v\r\n"));
}

TEST_F(OptionsTest, UnreadableFileIsNotReplaced)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("ravoze.ini"));
    Settings s;
    OptionsDialog dialog(s);
    dialog.clickDefaultFace(false);
    EXPECT_FALSE(dialog.accept(s, dir.path()));
    EXPECT_EQ(s.ShowDefaultFace, 0);  // in use even so
    EXPECT_TRUE(QFileInfo(iniPath()).isDir());
}
