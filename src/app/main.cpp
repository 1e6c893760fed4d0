#include "imaging/engine/raster.h"
#include "imaging/engine/text.h"
#include "imaging/view/imageview.h"

#include <QApplication>
#include <QMainWindow>
#include <QStatusBar>

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

}  // namespace

int main(int argc, char** argv)
{
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
