#include "core/cp932.h"
#include "core/inifile.h"
#include "core/settings.h"

#include <gtest/gtest.h>

#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

using namespace core;

namespace {


const QByteArray kSample =
    "; written by hand\r\n"
    "[Option Select]\r\n"
    "haikei=1\r\n"
    "  Kamigata = 0 \r\n"
    "karada=\r\n"
    "\r\n"
    "[option temp]\r\n"
    "TempCnt=5\r\n"
    "[Empty]\r\n";

class IniFileTest : public testing::Test {
protected:
    QString path(const QString& name) const { return QDir(dir.path()).filePath(name); }
    QTemporaryDir dir;
};

}  // namespace

TEST_F(IniFileTest, LooksUpNamesWithoutCaseAndKeepsOrder)
{
    const IniFile ini = IniFile::fromBytes(kSample);
    struct Row {
        const char16_t* section;
        const char16_t* key;
        const char16_t* expected;
    };
    const Row rows[] = {
        {u"Option Select", u"haikei", u"1"},
        {u"OPTION SELECT", u"KAMIGATA", u"0"},  // names and value trimmed
        {u"option select", u"karada", u""},     // present but empty: not the default
        {u"Option Temp", u"tempcnt", u"5"},
        {u" Option Temp ", u"TempCnt", u"5"},
        {u"Option Select", u"TempCnt", u"999"},  // key of another section
        {u"Option Face", u"Disp", u"999"},
        {u"Empty", u"x", u"999"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(QString::fromUtf16(row.section).toStdString() + "/"
                     + QString::fromUtf16(row.key).toStdString());
        EXPECT_EQ(ini.value(row.section, row.key, QStringLiteral("999")),
                  QString::fromUtf16(row.expected));
    }
    EXPECT_EQ(ini.sections(), QStringList({"Option Select", "option temp", "Empty"}));
    EXPECT_EQ(ini.keys(u"option SELECT"), QStringList({"haikei", "Kamigata", "karada"}));
    EXPECT_TRUE(ini.keys(u"Empty").isEmpty());
    EXPECT_TRUE(ini.keys(u"Missing").isEmpty());
}

TEST_F(IniFileTest, KeyBufferAsThePlatformFillsIt)
{
    const IniFile ini = IniFile::fromBytes(kSample);
    const QString all = QStringLiteral("haikei") + QChar(0) + "Kamigata" + QChar(0) + "karada"
        + QChar(0);
    EXPECT_EQ(ini.keyBuffer(u"Option Select", "999", 255), all);
    // Exactly fits: the list and the closing NUL.
    EXPECT_EQ(ini.keyBuffer(u"Option Select", "999", int(all.size()) + 1), all);
    // One short: cut so that two NULs still fit.
    EXPECT_EQ(ini.keyBuffer(u"Option Select", "999", int(all.size())),
              all.first(all.size() - 2));
    EXPECT_EQ(ini.keyBuffer(u"Option Select", "999", 10), all.first(8));
    EXPECT_EQ(ini.keyBuffer(u"Missing", "999", 255), QStringLiteral("999"));
    EXPECT_EQ(ini.keyBuffer(u"Empty", "999", 255), QString());
}

TEST_F(IniFileTest, UnchangedFilesRoundTripByteForByte)
{
    const QByteArray noFinalNewline = kSample + "odd line without equals\r\n; c\r\n[X]\r\nk=v";
    const QByteArray lf = "[A]\nx=1\n";
    for (const QByteArray& bytes : {kSample, noFinalNewline, lf}) {
        EXPECT_EQ(IniFile::fromBytes(bytes).toBytes(), bytes);
        writeBytes(path("ravoze.ini"), bytes);
        IniFile ini;
        ASSERT_TRUE(ini.load(path("ravoze.ini")));
        ASSERT_TRUE(ini.save(path("copy.ini")));
        EXPECT_EQ(readBytes(path("copy.ini")), bytes);
    }
}

TEST_F(IniFileTest, WritesInPlaceAppendsAndEndsNewLinesWithCrLf)
{
    IniFile ini = IniFile::fromBytes("[A]\nx=1\n; about B\n\n[B]\ny=2");
    EXPECT_EQ(ini.setValue(u"a", u"X", "7"), IniFile::SetResult::Written);
    EXPECT_EQ(ini.setValue(u"A", u"z", " 3 "), IniFile::SetResult::Written);
    EXPECT_EQ(ini.setValue(u"b", u"w", "4"), IniFile::SetResult::Written);
    EXPECT_EQ(ini.setValue(u"C", u"k", "v"), IniFile::SetResult::Written);
    EXPECT_EQ(ini.toBytes(),
              "[A]\nx=7\r\nz= 3 \r\n; about B\n\n[B]\ny=2\r\nw=4\r\n[C]\r\nk=v\r\n");
    EXPECT_EQ(ini.value(u"A", u"z"), "3");
    EXPECT_EQ(ini.keys(u"A"), QStringList({"x", "z"}));
}

TEST_F(IniFileTest, RefusesWhatWouldReadBackAsOtherLines)
{
    IniFile ini = IniFile::fromBytes(kSample);
    EXPECT_EQ(ini.setValue(u"Option Temp", u"TempCnt", "1\r\n[Evil]"),
              IniFile::SetResult::Refused);
    EXPECT_EQ(ini.setValue(u"Option Temp", u"a=b", "1"), IniFile::SetResult::Refused);
    EXPECT_EQ(ini.setValue(u"Bad]Name", u"k", "1"), IniFile::SetResult::Refused);
    EXPECT_EQ(ini.toBytes(), kSample);
}

TEST_F(IniFileTest, JapaneseTextIsStoredAsCp932)
{
    IniFile ini;
    EXPECT_EQ(ini.setValue(u"表示位置", u"Caption", QStringLiteral("新規作成")),
              IniFile::SetResult::Written);
    EXPECT_EQ(ini.setValue(u"表示位置", u"Kana", QStringLiteral("ｵﾌﾟｼｮﾝ")),
              IniFile::SetResult::Written);
    ASSERT_TRUE(ini.save(path("ravoze.ini")));
    // 表 and 示 have 0x5c ('\\') as their second byte.
    const QByteArray expected = "[\x95\x5c\x8e\xa6\x88\xca\x92\x75]\r\n"
                                "Caption=\x90\x56\x8b\x4b\x8d\xec\x90\xac\r\n"
                                "Kana=\xb5\xcc\xdf\xbc\xae\xdd\r\n";
    EXPECT_EQ(readBytes(path("ravoze.ini")), expected);

    IniFile again;
    ASSERT_TRUE(again.load(path("ravoze.ini")));
    EXPECT_EQ(again.value(u"表示位置", u"caption"), QStringLiteral("新規作成"));
    EXPECT_EQ(again.value(u"表示位置", u"kana"), QStringLiteral("ｵﾌﾟｼｮﾝ"));

    // A trail byte equal to ']' must not end the section name early.
    const IniFile dash = IniFile::fromBytes("[a\x81\x5d" "b]\r\nk=1\r\n");
    EXPECT_EQ(dash.sections(), QStringList({QStringLiteral("a‐b")}));

    EXPECT_EQ(ini.setValue(u"X", u"k", QStringLiteral("a😀b")), IniFile::SetResult::Substituted);
    EXPECT_EQ(ini.value(u"X", u"k"), "a?b");
}

TEST_F(IniFileTest, MissingAndUnreadableFiles)
{
    IniFile ini = IniFile::fromBytes(kSample);
    ASSERT_TRUE(ini.load(path("none.ini")));
    EXPECT_TRUE(ini.sections().isEmpty());
    EXPECT_EQ(ReadSetting(dir.path(), u"Option Temp", u"TempCnt"), "999");

    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.ini"));
    EXPECT_FALSE(ini.load(path("folder.ini")));
    EXPECT_FALSE(ini.save(path("folder.ini")));
}

TEST_F(IniFileTest, FailedSaveLeavesThePreviousFile)
{
    writeBytes(path("ravoze.ini"), kSample);
    IniFile ini;
    ASSERT_TRUE(ini.load(path("ravoze.ini")));
    ini.setValue(u"Option Temp", u"Big", QString(200000, u'x'));

    // A file size limit makes the write fail half-way, as a full disk would.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 65536;
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = ini.save(path("ravoze.ini"));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(saved);
    EXPECT_EQ(readBytes(path("ravoze.ini")), kSample);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({"ravoze.ini"}));
}

TEST_F(IniFileTest, DataFolderNamesMatchWithoutCase)
{
    writeBytes(path("RAVOZE.INI"), "[Option Mode]\r\nDispMode=1\r\n");
    EXPECT_EQ(findFileNoCase(dir.path(), "ravoze.ini"), path("RAVOZE.INI"));
    EXPECT_EQ(findFileNoCase(dir.path(), "Ravoze.sav"), path("Ravoze.sav"));
    writeBytes(path("ravoze.ini"), "");
    EXPECT_EQ(findFileNoCase(dir.path(), "ravoze.ini"), path("ravoze.ini"));  // exact first
    QFile::remove(path("ravoze.ini"));

    EXPECT_EQ(ReadSetting(dir.path(), u"option mode", u"dispmode"), "1");
    ASSERT_TRUE(WriteSetting(dir.path(), u"Option Face", u"Disp", "0"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"RAVOZE.INI"}));
    EXPECT_EQ(readBytes(path("RAVOZE.INI")),
              "[Option Mode]\r\nDispMode=1\r\n[Option Face]\r\nDisp=0\r\n");
}

TEST_F(IniFileTest, ReadSettingDefaultsAndBufferLimit)
{
    IniFile ini;
    ini.setValue(u"S", u"Long", QString(300, u'a'));
    ini.setValue(u"S", u"Fits", QString(254, u'b'));
    ini.setValue(u"S", u"Number", "12");
    EXPECT_EQ(ReadSetting(ini, u"S", u"Number"), "12");
    EXPECT_EQ(ReadSetting(ini, u"S", u"Missing"), "999");
    EXPECT_EQ(ReadSetting(ini, u"T", u"Number"), "999");
    EXPECT_EQ(ReadSettingKeys(ini, u"T"), "999");
    EXPECT_EQ(ReadSettingKeys(ini, u"s").split(QChar(0)).first(), "Long");
    // A 255-character buffer holds 254 characters and the NUL.
    EXPECT_EQ(ReadSetting(ini, u"S", u"Long"), QString(254, u'a'));
    EXPECT_EQ(ReadSetting(ini, u"S", u"Fits"), QString(254, u'b'));
    // The text ends at a NUL stored in the file.
    const IniFile nul = IniFile::fromBytes(QByteArray("[S]\r\nk=ab\0cd\r\n", 14));
    EXPECT_EQ(ReadSetting(nul, u"S", u"k"), "ab");
}

TEST(Cp932, DecodeRejectsInvalidBytes)
{
    bool ok = true;
    EXPECT_TRUE(decodeCp932("\x82", &ok).isNull());  // lead byte without its trail
    EXPECT_FALSE(ok);
    EXPECT_EQ(decodeCp932("a\\~", &ok), "a\\~");
    EXPECT_TRUE(ok);
}
