#include "app/splash.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QSvgRenderer>

// The resources live in a static library: they are registered by hand.
static void initStartupResources()
{
    Q_INIT_RESOURCE(faciora);
}

namespace app {

QPixmap startupPicture(int width)
{
    initStartupResources();
    QSvgRenderer renderer(QStringLiteral(":/faciora/startup.svg"));
    QSize size = renderer.defaultSize();
    if (!renderer.isValid() || size.isEmpty())
        size = QSize(350, 230);
    const int height = (size.height() * width + size.width() / 2) / size.width();
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, width, height));
    return pixmap;
}

SplashWindow::SplashWindow(int delayMs, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    picture_ = startupPicture();
    setFixedSize(picture_.size());
    setWindowTitle(QStringLiteral("Faciora"));
    setAttribute(Qt::WA_DeleteOnClose);
    timer_.setSingleShot(true);
    timer_.setInterval(delayMs);
    connect(&timer_, &QTimer::timeout, this, &SplashWindow::finish);
}

void SplashWindow::start()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    timer_.start();
}

void SplashWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
}

void SplashWindow::keyPressEvent(QKeyEvent*)
{
    // Impatient users get the main window at once.
    finish();
}

void SplashWindow::mousePressEvent(QMouseEvent*)
{
    finish();
}

void SplashWindow::finish()
{
    if (done_)
        return;
    done_ = true;
    timer_.stop();
    emit finished();
    close();
}

}  // namespace app
