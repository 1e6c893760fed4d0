#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace app {

// The start-up picture, drawn `width` pixels wide (350 in the splash window).
QPixmap startupPicture(int width = 350);

// The splash window: borderless, the size of the start-up picture. After the delay, or at
// once on a key press or a click, it reports finished() and closes.
class SplashWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kDelayMs = 3000;

    explicit SplashWindow(int delayMs = kDelayMs, QWidget* parent = nullptr);

    // Shows the window and starts the timer.
    void start();

signals:
    void finished();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void finish();

    QPixmap picture_;
    QTimer timer_;
    bool done_ = false;
};

}  // namespace app
