#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

class QWidget;

namespace app {

// The file dialogs and message boxes of the main window, behind one small interface so that
// tests can answer them without blocking.
class Prompts {
public:
    // An empty path means the dialog was cancelled.
    struct FileChoice {
        QString path;
        int filterIndex = -1;  // index into the filters handed in
    };

    virtual ~Prompts() = default;

    // Filters are "name(pattern)" texts; `selectedFilter` indexes them. The save dialog asks
    // before an existing file is replaced.
    virtual FileChoice getOpenFileName(QWidget* parent, const QString& title,
                                       const QStringList& filters, int selectedFilter) = 0;
    virtual FileChoice getSaveFileName(QWidget* parent, const QString& title,
                                       const QStringList& filters, int selectedFilter) = 0;
    // A question box with a question icon; returns the button pressed.
    virtual QMessageBox::StandardButton question(QWidget* parent, const QString& title,
                                                 const QString& text,
                                                 QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton) = 0;
    // A message with an OK button.
    virtual void information(QWidget* parent, const QString& title, const QString& text,
                             QMessageBox::Icon icon = QMessageBox::NoIcon) = 0;
};

// The real dialogs: QFileDialog and QMessageBox, modal over `parent`.
class DialogPrompts final : public Prompts {
public:
    FileChoice getOpenFileName(QWidget* parent, const QString& title, const QStringList& filters,
                               int selectedFilter) override;
    FileChoice getSaveFileName(QWidget* parent, const QString& title, const QStringList& filters,
                               int selectedFilter) override;
    QMessageBox::StandardButton question(QWidget* parent, const QString& title, const QString& text,
                                         QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton defaultButton) override;
    void information(QWidget* parent, const QString& title, const QString& text,
                     QMessageBox::Icon icon) override;
};

}  // namespace app
