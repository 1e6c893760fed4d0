// Pictures of the printing windows for a person to look at: run with FACIORA_SHOTS set to a
// folder (under a display, e.g. xvfb-run), skipped otherwise.

#include "fakeprompts.h"
#include "print/imageprt.h"
#include "print/layoutfields.h"
#include "print/previewform.h"
#include "print/printformedit.h"
#include "print/sheetprinter.h"

#include "core/captions.h"
#include "core/document.h"
#include "core/session.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPageLayout>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

using namespace print;

TEST(Shots, PrintWindowsAndThePreviewOfEveryDeliveredFormat)
{
    const QString out = qEnvironmentVariable("FACIORA_SHOTS");
    if (out.isEmpty())
        GTEST_SKIP() << "set FACIORA_SHOTS to a folder to take the pictures";
    QDir().mkpath(out);
    QTemporaryDir home;
    for (const char* name : {"ravoze.mdb", "ravoze.ini", "format.bmp"})
        ASSERT_TRUE(QFile::copy(QStringLiteral(FACIORA_DIST_DIR "/") + QLatin1String(name), home.filePath(name)));
    ASSERT_TRUE(QFile::copy(QStringLiteral(FACIORA_DATA_DIR "/PRTSET.DFT"), home.filePath("PRTSET.DFT")));

    // The portrait "新規作成" gives, with a caption.
    core::PortraitSession session;
    imaging::Raster picture;
    ASSERT_EQ(core::composePortraitFile(home.path(), QString(), session, picture, false), std::nullopt);
    core::CaptionEntry& caption = session.captions[1];
    caption.Text = QStringLiteral("ふぁしおら");
    caption.Shown = true;
    caption.FontSize = 20;
    caption.BoxLeft = 80;
    caption.BoxTop = 255;
    caption.BoxWidth = 160;
    caption.BoxHeight = 40;
    core::Disp_Character2(session.captions, picture);

    FakePrintPrompts prompts;
    QPrinter printer(QPrinter::HighResolution);
    setUpA4PdfPrinter(printer, home.filePath("unused.pdf"));
    ImagePrt dialog(kPrintSourceEditor, picture, home.path(), printer, prompts);
    dialog.show();
    QTest::qWait(200);
    dialog.grab().save(out + "/imageprt.png");

    for (int i = 0; i < dialog.formats().count; ++i) {
        for (bool landscape : {false, true}) {
            if (landscape && i != 5 && i != 3)
                continue;
            dialog.choose(i);
            SheetLayout layout;
            ASSERT_FALSE(dialog.fields().validate(layout, prompts, nullptr));
            printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
            imaging::Raster sheet;
            ASSERT_EQ(buildPreviewSheet(home.path(), printer, dialog.Pic1(), layout, sheet), std::nullopt);
            PreviewForm preview(sheet, &dialog);
            preview.show();
            QTest::qWait(100);
            preview.grab().save(QStringLiteral("%1/preview_%2%3.png").arg(out).arg(i + 1).arg(landscape ? "_landscape" : ""));
        }
    }
    printer.setPageOrientation(QPageLayout::Portrait);
    dialog.rotateClicked();
    dialog.update();
    QTest::qWait(100);
    dialog.grab().save(out + "/imageprt_rotated.png");

    PrintFormEdit edit(sheetFormatPath(home.path()), prompts);
    edit.show();
    QTest::qWait(100);
    edit.findChild<QListWidget*>("List1")->setCurrentRow(3);
    QTest::qWait(100);
    edit.grab().save(out + "/printformedit.png");
    edit.changeClicked();
    QTest::qWait(100);
    edit.grab().save(out + "/printformedit_edit.png");
}
