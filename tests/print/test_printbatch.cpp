#include "pdfmeasure.h"
#include "print/sheetformats.h"
#include "print/sheetlayout.h"
#include "support/testfiles.h"

#include "core/captions.h"
#include "core/document.h"
#include "core/portrait.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using namespace print;

namespace {

struct RunResult {
    int exitCode = -1;
    QByteArray err;
};

RunResult faciora(const QStringList& args, const QString& home)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FACIORA_HOME"), home);
    env.remove(QStringLiteral("DISPLAY"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(FACIORA_EXE), args);
    if (!p.waitForFinished(120000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardError()};
}

QByteArray lastLine(const QByteArray& err)
{
    const QList<QByteArray> lines = err.trimmed().split('\n');
    return lines.isEmpty() ? QByteArray() : lines.last();
}

// The default portrait with two opaque captions as corner marks: red at the top-left of
// the canvas, blue at its bottom-right, so the printed cells can be measured and the
// captions are seen to be printed.
struct BatchTest : ::testing::Test {
    QTemporaryDir home;
    QString document;

    void SetUp() override
    {
        for (const char* name : {"ravoze.mdb", "ravoze.ini"})
            ASSERT_TRUE(QFile::copy(QStringLiteral(FACIORA_DIST_DIR "/") + QLatin1String(name),
                                    home.filePath(QLatin1String(name))));
        ASSERT_TRUE(QFile::copy(QStringLiteral(FACIORA_DATA_DIR "/PRTSET.DFT"), home.filePath("PRTSET.DFT")));
        core::PortraitState state;
        core::setDefaultPortrait(state);
        core::CaptionTable captions;
        auto mark = [](core::CaptionEntry& c, int left, int top, int colour) {
            c.Text = " ";
            c.Shown = true;
            c.TextSettingA = 0x20;
            c.TextSettingC = colour;
            c.BoxLeft = std::int16_t(left);
            c.BoxTop = std::int16_t(top);
            c.BoxWidth = 20;
            c.BoxHeight = 20;
        };
        mark(captions[1], 0, 0, 0xff0000);
        mark(captions[2], 280, 280, 0x0000ff);
        document = home.filePath("marks.fcr");
        ASSERT_EQ(core::SaveDocument(document, state, captions), std::nullopt);
    }
};

}  // namespace

TEST_F(BatchTest, PrintsThePortraitWhereTheGeometrySays)
{
    if (!pdfmeasure::available())
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    const struct {
        const char16_t* format;
        bool rotate;
    } runs[] = {{u"名刺 10面 (91×55mm)", false}, {u"自動サイズ 2×3面", true}};
    for (const auto& run : runs) {
        const QString name = QString::fromUtf16(run.format);
        const QString pdf = home.filePath("out.pdf");
        QStringList args = {"--print-pdf", document, pdf, "--format", name};
        if (run.rotate)
            args << "--rotate";
        const RunResult r = faciora(args, home.path());
        ASSERT_EQ(r.exitCode, 0) << r.err.constData();

        SheetFormatTable formats;
        LoadSheetFormats(home.filePath("PRTSET.DFT"), formats);
        int n = 1;
        while (formats[n].name() != name)
            ++n;
        LayoutTexts texts;
        for (int f = 0; f < 8; ++f)
            texts[std::size_t(f)] = formats[n][f + 1];
        SheetLayout layout;
        ASSERT_EQ(ValidateSheetLayout(texts, layout), std::nullopt);
        const Grid grid = printGrid(layout, QSizeF(210, 297), QSize(300, 300));

        const QImage page = pdfmeasure::rasterise(pdf);
        ASSERT_FALSE(page.isNull());
        EXPECT_NEAR(page.height() / pdfmeasure::kPxPerMm, 297.0, 0.5);
        for (const QPoint& at : grid.cells) {
            const QRectF cell(at, QSizeF(grid.cellWidth, grid.cellHeight));
            // Turned, the square portrait's marks stand on the other diagonal.
            const auto corners = pdfmeasure::cellCorners(page, cell, run.rotate);
            ASSERT_TRUE(corners.has_value()) << at.x() << "," << at.y();
            EXPECT_NEAR(corners->topLeft.x(), cell.left(), 0.5);
            EXPECT_NEAR(corners->topLeft.y(), cell.top(), 0.5);
            EXPECT_NEAR(corners->bottomRight.x(), cell.right(), 0.5);
            EXPECT_NEAR(corners->bottomRight.y(), cell.bottom(), 0.5);
        }
    }
}

TEST_F(BatchTest, FailuresAreOneLineStatusTwoAndWriteNothing)
{
    const QString out = home.filePath("out.pdf");
    QTemporaryDir badHome;
    for (const char* name : {"ravoze.mdb"})
        ASSERT_TRUE(QFile::copy(QStringLiteral(FACIORA_DIST_DIR "/") + QLatin1String(name), badHome.filePath(name)));
    writeBytes(badHome.filePath("PRTSET.DFT"), "\"bad\",\"1\",\"1\",\"1\",\"1\",\"1\",\"1\",\"0\",\"1\"\r\n");
    QTemporaryDir noFormats;
    ASSERT_TRUE(QFile::copy(QStringLiteral(FACIORA_DIST_DIR "/ravoze.mdb"), noFormats.filePath("ravoze.mdb")));
    // An existing output stays as it was when printing fails.
    writeBytes(home.filePath("kept.pdf"), "old");

    const struct {
        const char* name;
        QStringList args;
        QString home;
        QString output;
    } cases[] = {
        {"unknown format", {"--print-pdf", document, out, "--format", "none"}, home.path(), out},
        {"missing document", {"--print-pdf", home.filePath("none.fcr"), out}, home.path(), out},
        {"bad layout", {"--print-pdf", document, out}, badHome.path(), out},
        {"no formats", {"--print-pdf", document, out}, noFormats.path(), out},
        {"missing argument", {"--print-pdf", document}, home.path(), out},
        {"unknown option", {"--print-pdf", document, out, "--colour"}, home.path(), out},
        {"output is a folder", {"--print-pdf", document, home.path()}, home.path(), out},
        {"output kept", {"--print-pdf", document, home.filePath("kept.pdf"), "--format", "none"}, home.path(), home.filePath("kept.pdf")},
    };
    for (const auto& c : cases) {
        const RunResult r = faciora(c.args, c.home);
        EXPECT_EQ(r.exitCode, 2) << c.name;
        EXPECT_TRUE(lastLine(r.err).startsWith("faciora: ")) << c.name << ": " << r.err.constData();
        if (QLatin1String(c.name) == QLatin1String("output kept"))
            EXPECT_EQ(readBytes(c.output), "old");
        else
            EXPECT_FALSE(QFileInfo(c.output).isFile()) << c.name;
    }
    // Nothing but the output is written beside the inputs.
    QStringList files = QDir(home.path()).entryList(QDir::Files);
    files.sort();
    EXPECT_EQ(files, (QStringList{"PRTSET.DFT", "kept.pdf", "marks.fcr", "marks.fcr.fcm", "ravoze.ini", "ravoze.mdb"}));
}
