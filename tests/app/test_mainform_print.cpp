// The File menu's printing commands and the file toolbar's print button.

#include "mainform_fixture.h"
#include "print/fakeprompts.h"

#include "imaging/view/imageview.h"
#include "print/imageprt.h"
#include "print/printformedit.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>

#include <functional>

namespace {

using app::MenuItem;

struct MainFormPrintTest : MainFormTest {
    FakePrintPrompts printPrompts;

    void startWithPrinting()
    {
        for (const char* name : {"PRTSET.DFT", "format.bmp"})
            ASSERT_TRUE(QFile::copy(QStringLiteral(FACIORA_DIST_DIR "/") + QLatin1String(name), path(name)));
        app::MainFormOptions options;
        options.appPath = home.path();
        options.prompts = &prompts;
        options.printPrompts = &printPrompts;
        form = std::make_unique<app::MainForm>(options);
        form->show();
        form->start();
        settle();
    }

    // Runs `look` on the modal dialog the command opens, then closes it.
    template <typename Dialog>
    bool whileOpen(const std::function<void()>& command, const std::function<void(Dialog&)>& look)
    {
        bool seen = false;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
                poll.stop();
                seen = true;
                look(*d);
                d->reject();
            }
        });
        poll.start();
        command();
        return seen;
    }
};

}  // namespace

TEST_F(MainFormPrintTest, TheEditorsPortraitIsPrintedWithItsCaptions)
{
    startWithPrinting();
    const QList<QAction*> fileMenu = form->menuBar()->actions().first()->menu()->actions();
    const struct {
        MenuItem item;
        const char16_t* text;
    } items[] = {{MenuItem::FprtFrm, u"印刷用紙設定(&F)..."},
                 {MenuItem::Fprtset, u"プリンタ設定(&R)..."},
                 {MenuItem::FPrint, u"印刷(&P)..."}};
    for (const auto& i : items) {
        QAction* a = action(i.item);
        ASSERT_TRUE(a);
        EXPECT_EQ(a->text(), QString::fromUtf16(i.text));
        EXPECT_TRUE(a->isVisible() && a->isEnabled());
        EXPECT_TRUE(fileMenu.contains(a));
    }
    QAction* button = form->fileAction(app::FileButton::PrintImage);
    EXPECT_TRUE(form->fileToolbar()->actions().contains(button));
    EXPECT_TRUE(button->isEnabled());

    // A caption: on the editor's display only, in the printed picture.
    core::CaptionEntry& caption = form->session().captions[1];
    caption.Text = " ";
    caption.Shown = true;
    caption.TextSettingA = 0x20;
    caption.TextSettingC = 0xff0000;
    caption.BoxWidth = 10;
    caption.BoxHeight = 10;
    editor()->composePortrait();
    const imaging::Raster& canvas = editor()->canvas().raster();
    EXPECT_NE(canvas.pixel(2, 2), 0xffff0000u);

    for (const std::function<void()>& command :
         {std::function<void()>([&] { trigger(MenuItem::FPrint); }), std::function<void()>([&] { button->trigger(); })}) {
        EXPECT_TRUE(whileOpen<print::ImagePrt>(command, [&](print::ImagePrt& d) {
            EXPECT_EQ(d.PrintSource(), print::kPrintSourceEditor);
            EXPECT_EQ(d.Pic1().size(), canvas.size());
            EXPECT_EQ(d.Pic1().pixel(2, 2), 0xffff0000u);
            EXPECT_EQ(d.formats().count, 6);
        }));
    }
    EXPECT_NE(editor()->canvas().raster().pixel(2, 2), 0xffff0000u);

    EXPECT_TRUE(whileOpen<print::PrintFormEdit>([&] { trigger(MenuItem::FprtFrm); },
                                                [](print::PrintFormEdit& d) { EXPECT_EQ(d.table().count, 6); }));
    trigger(MenuItem::Fprtset);
    EXPECT_EQ(printPrompts.pageSetups, 1);

    // Without a document window the printing commands are gone.
    trigger(MenuItem::FClose);
    for (const auto& i : items)
        EXPECT_FALSE(action(i.item)->isVisible());
    EXPECT_FALSE(button->isEnabled());
}
