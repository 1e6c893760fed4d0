// The file commands' decisions, without any window: which dialog, which question, what is
// written.

#include "app/filecommands.h"

#include "imaging/engine/errors.h"
#include "scriptedprompts.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

using app::FileCommands;
using app::PictureFormat;

struct FakeHost : app::FileCommandHost {
    bool editor = true;
    bool pictures = false;
    QString document;
    QString snapshot = QStringLiteral("/data/Ravoze.sav");
    std::optional<QString> saveFailure;
    int exportCode = 0;

    QStringList saved;
    QStringList named;
    QStringList openedPortraits;
    QStringList openedPictures;
    QStringList exported;
    QList<PictureFormat> exportFormats;

    QWidget* dialogParent() override { return nullptr; }
    bool editorActive() const override { return editor; }
    QString documentName() const override { return document; }
    QString workSnapshotPath() const override { return snapshot; }
    std::optional<QString> saveDocument(const QString& path) override
    {
        saved << path;
        return saveFailure;
    }
    void portraitNamed(const QString& path) override
    {
        named << path;
        document = path;
    }
    bool openPortrait(const QString& path) override
    {
        openedPortraits << path;
        return true;
    }
    bool imageWindowsAvailable() const override { return pictures; }
    void openPicture(const QString& path) override { openedPictures << path; }
    int exportPicture(const QString& path, const PictureFormat& format) override
    {
        exported << path;
        exportFormats << format;
        return exportCode;
    }
};

struct FileCommandsTest : ::testing::Test {
    QTemporaryDir dir;
    FakeHost host;
    ScriptedPrompts prompts;
    FileCommands commands{host, prompts};

    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    void chooseSave(const char* name, int type) { prompts.saveChoices << app::Prompts::FileChoice{path(name), type}; }
    void touch(const char* name) const
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
};

TEST(FileCommandNames, SaveAsTargets)
{
    struct Row {
        const char* chosen;
        int type;
        const char* target;  // null: no target
    };
    const Row rows[] = {
        {"/d/face.old", 7, "/d/face.fcr"},    // another extension gives way to the type's
        {"/d/face", 0, "/d/face.bmp"},        // no "." at all: the whole name is the stem
        {"/d/a.b.c", 6, "/d/a.png"},          // up to the first "."
        {"/d/face.fcr", 2, "/d/face.jpg"},
        {"/d/face", 3, "/d/face.jpg"},
        {"/d/face", 4, "/d/face.tif"},
        {"/d/face", 5, "/d/face.wmf"},
        {"/d/.fcr", 7, nullptr},              // nothing before the "."
        {"/d/face", 8, nullptr},
        {"/d/face", -1, nullptr},
    };
    for (const Row& r : rows) {
        const auto target = app::saveAsTarget(QString::fromUtf8(r.chosen), r.type);
        if (r.target)
            EXPECT_EQ(target.value_or(QStringLiteral("<none>")), QString::fromUtf8(r.target)) << r.chosen;
        else
            EXPECT_FALSE(target) << r.chosen << " " << r.type;
    }
}

TEST(FileCommandNames, FiltersAndRoutes)
{
    EXPECT_EQ(app::openFilters(true),
              QStringList({u"全てのﾌｧｲﾙ(*.*)"_qs, u"Windows & OS/2 Bitmap(*.bmp)"_qs, u"JFIF & JTIF(*.jpg)"_qs,
                           u"TIF(*.tif)"_qs, u"Windows Meta file(*.wmf)"_qs, u"Faciora(*.fcr)"_qs,
                           u"PNG(*.png)"_qs}));
    EXPECT_EQ(app::openFilters(false), QStringList({u"Faciora(*.fcr)"_qs}));
    const QStringList save = app::saveFilters(true);
    EXPECT_EQ(save, QStringList({u"Windows Bitmap(*.bmp)"_qs, u"OS/2 Bitmap(*.bmp)"_qs, u"JFIF(*.jpg)"_qs,
                                 u"JTIF(*.jpg)"_qs, u"TIF(*.tif)"_qs, u"Windows Meta file(*.wmf)"_qs,
                                 u"PNG(*.png)"_qs, u"Faciora(*.fcr)"_qs}));
    EXPECT_EQ(app::saveFilters(false), save.mid(0, 7));

    using app::SaveRoute;
    const std::pair<const char*, SaveRoute> routes[] = {
        {"", SaveRoute::SaveAs},
        {"/d/face.fcr", SaveRoute::Document},
        {"/d/FACE.FCR", SaveRoute::Document},
        {"/d/face.fcr.bak", SaveRoute::Document},
        {"/d/picture.png", SaveRoute::Picture},
    };
    for (const auto& [name, route] : routes)
        EXPECT_EQ(app::saveRoute(QString::fromUtf8(name)), route) << name;
    EXPECT_TRUE(app::isPortraitDocumentName(QStringLiteral("/d/FACE.FCR")));
    EXPECT_FALSE(app::isPortraitDocumentName(QStringLiteral("/d/face.fcr.fcm")));
}

TEST_F(FileCommandsTest, SaveAsPortraitWritesTheBuiltNameAndNamesThePortrait)
{
    chooseSave("face.old", app::kPortraitSaveType);
    EXPECT_TRUE(commands.saveFileAs());
    ASSERT_EQ(prompts.saveDialogs.size(), 1);
    EXPECT_EQ(prompts.saveDialogs[0].title, u"ﾌｧｲﾙの保存"_qs);
    EXPECT_EQ(prompts.saveDialogs[0].filters.size(), 8);
    EXPECT_EQ(prompts.saveDialogs[0].selected, 7);
    EXPECT_EQ(host.saved, QStringList{path("face.fcr")});
    EXPECT_EQ(host.named, QStringList{path("face.fcr")});
    EXPECT_TRUE(prompts.questions.isEmpty());
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(FileCommandsTest, SaveAsCancelledOrFailedChangesNothing)
{
    EXPECT_FALSE(commands.saveFileAs());  // cancelled
    EXPECT_TRUE(host.saved.isEmpty());
    EXPECT_TRUE(prompts.messages.isEmpty());

    host.saveFailure = QStringLiteral("disk full");
    chooseSave("face.fcr", app::kPortraitSaveType);
    EXPECT_FALSE(commands.saveFileAs());
    EXPECT_TRUE(host.named.isEmpty());
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0].title, u"ﾌｧｲﾙ保存 ｴﾗｰ"_qs);
    EXPECT_EQ(prompts.messages[0].text, u"disk full"_qs);

    chooseSave(".old", app::kPortraitSaveType);  // no stem to build a name from
    EXPECT_FALSE(commands.saveFileAs());
    ASSERT_EQ(prompts.messages.size(), 2);
    EXPECT_EQ(prompts.messages[1].text, imaging::DecodeError(imaging::kErrBadFileName));
}

TEST_F(FileCommandsTest, AnExistingFileUnderTheBuiltNameIsNotReplacedUnasked)
{
    // The dialog asked about "face.old"; "face.fcr" is what would be written.
    touch("face.fcr");
    chooseSave("face.old", app::kPortraitSaveType);
    prompts.answers << QMessageBox::No;
    EXPECT_FALSE(commands.saveFileAs());
    EXPECT_TRUE(host.saved.isEmpty());
    ASSERT_EQ(prompts.questions.size(), 1);
    EXPECT_TRUE(prompts.questions[0].text.contains(u"face.fcr"_qs));

    chooseSave("face.old", app::kPortraitSaveType);
    prompts.answers << QMessageBox::Yes;
    EXPECT_TRUE(commands.saveFileAs());
    EXPECT_EQ(host.saved, QStringList{path("face.fcr")});

    // The name chosen is the one written: the dialog has asked already.
    chooseSave("face.fcr", app::kPortraitSaveType);
    EXPECT_TRUE(commands.saveFileAs());
    EXPECT_EQ(prompts.questions.size(), 2);
}

TEST_F(FileCommandsTest, PictureExportKeepsThePortraitFirst)
{
    struct Row {
        const char* name;
        const char* document;
        QList<QMessageBox::StandardButton> answers;
        QStringList expectedSaved;
        int questions;
    };
    const QString named = QStringLiteral("/p/face.fcr");
    const Row rows[] = {
        {"named, Yes saves the document", "/p/face.fcr", {QMessageBox::Yes}, {named}, 1},
        {"named, No leaves it", "/p/face.fcr", {QMessageBox::No}, {}, 1},
        {"untitled goes to the work snapshot unasked", "", {}, {host.snapshot}, 0},
    };
    for (const Row& r : rows) {
        FakeHost h;
        h.document = QString::fromUtf8(r.document);
        ScriptedPrompts p;
        p.answers = r.answers;
        p.saveChoices << app::Prompts::FileChoice{path("out.txt"), 6};
        FileCommands c(h, p);
        EXPECT_TRUE(c.saveFileAs()) << r.name;
        EXPECT_EQ(h.saved, r.expectedSaved) << r.name;
        ASSERT_EQ(p.questions.size(), r.questions) << r.name;
        if (r.questions) {
            EXPECT_EQ(p.questions[0].title, u"Facioraﾌｧｲﾙ保存"_qs);
            EXPECT_EQ(p.questions[0].text, u"作成中のﾌｧｲﾙを上書き保存しますか？"_qs);
        }
        EXPECT_EQ(h.exported, QStringList{path("out.png")}) << r.name;
        ASSERT_EQ(h.exportFormats.size(), 1);
        EXPECT_EQ(h.exportFormats[0].format, 75) << r.name;
        EXPECT_TRUE(h.named.isEmpty()) << r.name;
    }
}

TEST_F(FileCommandsTest, AFailedExportShowsTheEngineText)
{
    host.exportCode = imaging::kErrSubtype;
    chooseSave("face", 5);
    EXPECT_FALSE(commands.saveFileAs());
    EXPECT_EQ(host.exported, QStringList{path("face.wmf")});
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0].title, u"ﾌｧｲﾙ保存 ｴﾗｰ"_qs);
    EXPECT_EQ(prompts.messages[0].text, imaging::DecodeError(imaging::kErrSubtype));
}

TEST_F(FileCommandsTest, SaveWritesANamedPortraitAndAsksForANameOtherwise)
{
    EXPECT_FALSE(commands.saveFile());  // untitled: the save dialog, cancelled here
    EXPECT_EQ(prompts.saveDialogs.size(), 1);

    for (const char* name : {"/p/face.fcr", "/p/given-on-the-command-line.sav"}) {
        host.saved.clear();
        host.document = QString::fromUtf8(name);
        EXPECT_TRUE(commands.saveFile()) << name;
        EXPECT_EQ(host.saved, QStringList{host.document}) << name;
    }
    EXPECT_EQ(prompts.saveDialogs.size(), 1);
}

TEST_F(FileCommandsTest, OpenTakesPortraitsAndTellsAboutOtherFiles)
{
    EXPECT_FALSE(commands.openFile());  // cancelled
    ASSERT_EQ(prompts.openDialogs.size(), 1);
    EXPECT_EQ(prompts.openDialogs[0].title, u"ﾌｧｲﾙの読込み"_qs);
    EXPECT_EQ(prompts.openDialogs[0].filters, app::openFilters(false));

    prompts.openChoices << app::Prompts::FileChoice{path("face.fcr"), 0};
    EXPECT_TRUE(commands.openFile());
    EXPECT_EQ(host.openedPortraits, QStringList{path("face.fcr")});

    // Pictures need image windows; until then the user is told the file cannot be read.
    prompts.openChoices << app::Prompts::FileChoice{path("photo.png"), 0};
    EXPECT_FALSE(commands.openFile());
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0].title, u"ﾌｧｲﾙ読込み ｴﾗｰ"_qs);

    host.pictures = true;
    prompts.openChoices << app::Prompts::FileChoice{path("photo.png"), 0};
    EXPECT_TRUE(commands.openFile());
    EXPECT_EQ(prompts.openDialogs.last().filters, app::openFilters(true));
    EXPECT_EQ(prompts.openDialogs.last().selected, 0);
    EXPECT_EQ(host.openedPictures, QStringList{path("photo.png")});
    EXPECT_EQ(host.openedPortraits.size(), 1);
}

}  // namespace
