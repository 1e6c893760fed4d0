#include "core/session.h"
#include "imaging/engine/raster.h"
#include "imaging/engine/text.h"
#include "imaging/view/imageview.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMainWindow>
#include <QStatusBar>

#include <cstdio>
#include <cstring>

namespace {

// Until the portrait windows exist the program shows what the engine draws: a face laid
// onto a canvas through a mask and a colour picture, as every part will be, and a caption.
imaging::Raster enginePreview()
{
    using imaging::Raster;
    using imaging::Region;
    Raster canvas(300, 300, 24, qRgb(255, 255, 255));

    Raster mask(300, 300, 1, qRgb(255, 255, 255));
    mask.setRegion(Region::ellipse(QRect(70, 50, 160, 190)));
    mask.fill(qRgb(0, 0, 0));
    mask.freeRegion();

    Raster colour(300, 300, 24, qRgb(0, 0, 0));
    colour.setRegion(Region::ellipse(QRect(70, 50, 160, 190)));
    colour.fill(qRgb(255, 192, 128));
    colour.setRegion(Region::ellipse(QRect(110, 120, 22, 14)));
    colour.fill(qRgb(0, 0, 0));
    colour.setRegion(Region::ellipse(QRect(168, 120, 22, 14)));
    colour.fill(qRgb(0, 0, 0));
    colour.setRegion(Region::roundedRectangle(QRect(125, 190, 50, 12), 6, 6));
    colour.fill(qRgb(200, 40, 40));
    colour.freeRegion();

    canvas.combine(0, 0, 300, 300, mask, 0, 0, imaging::kCombineMask);
    canvas.combine(0, 0, 300, 300, colour, 0, 0, imaging::kCombineColour);

    imaging::TextStyle style;
    style.fontName = QStringLiteral("ＭＳ Ｐゴシック");
    style.fontSize = 14;
    style.alignment = Qt::AlignHCenter | Qt::AlignBottom;
    canvas.drawText(QStringLiteral("似顔絵 Faciora"), QRect(0, 250, 300, 40), style);
    return canvas;
}

void printError(const QString& message)
{
    std::fprintf(stderr, "faciora: %s\n", message.toLocal8Bit().constData());
}

// The batch commands: they need no display and write nothing but their output.
//   faciora --render DOC.fcr OUT.png   the document as opening it would show it
//   faciora --render-new OUT.png       the portrait that "新規作成" gives
int runBatch(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    QString document;
    QString output;
    if (args.value(1) == QLatin1String("--render") && args.size() == 4) {
        document = args[2];
        output = args[3];
    } else if (args.value(1) == QLatin1String("--render-new") && args.size() == 3) {
        output = args[2];
    } else {
        printError(QStringLiteral("usage: faciora --render DOC.fcr OUT.png | faciora --render-new OUT.png"));
        return 2;
    }
    if (auto error = core::renderPortraitFile(core::appPath(), document, output)) {
        printError(*error);
        return 2;
    }
    return 0;
}

bool isBatch(int argc, char** argv)
{
    return argc > 1 && (std::strcmp(argv[1], "--render") == 0 || std::strcmp(argv[1], "--render-new") == 0);
}

}  // namespace

int main(int argc, char** argv)
{
    if (isBatch(argc, argv))
        return runBatch(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Faciora"));

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Faciora"));
    auto* view = new imaging::ImageView(&window);
    view->setRaster(enginePreview());
    view->viewNormal();
    window.setCentralWidget(view);
    window.statusBar()->showMessage(QStringLiteral(" Version 2.0"));
    window.resize(340, 360);
    window.show();
    return app.exec();
}
