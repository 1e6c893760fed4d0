#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace app {

// The help page of the program folder: "help/Ravoze.html", else "Ravoze.html", names
// matched without regard to case. Empty when there is none.
QString helpPagePath(const QString& appPath);

// The help window: the HTML help pages in a browser, modeless, owned by the main window.
class HelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows `page` (the contents page); links between the pages stay in this window.
    void showPage(const QString& page);
    QTextBrowser* browser() const { return browser_; }

private:
    QTextBrowser* browser_ = nullptr;
};

}  // namespace app
