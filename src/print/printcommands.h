#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QPrinter;
class QWidget;

namespace imaging {
class Raster;
}

namespace print {

class PrintPrompts;

// The main window's three printing commands. Owns the printer, made on first use, so that
// "プリンタ設定" carries over from one print to the next.
class PrintCommands : public QObject {
    Q_OBJECT

public:
    // `owner` is the main window: the dialogs are modal over it. `prompts` null: the real
    // dialogs; otherwise it must outlive this object.
    PrintCommands(const QString& appPath, QWidget* owner, PrintPrompts* prompts = nullptr);
    ~PrintCommands() override;

    QPrinter& printer();
    PrintPrompts& prompts() { return *prompts_; }

    // "印刷(&P)...": the print dialog for `picture` (PrintSource 1: the editor's portrait
    // with its captions, 2: an image window's picture), modal.
    void print(int printSource, const imaging::Raster& picture);
    // "プリンタ設定(&R)...".
    void printerSetup();
    // "印刷用紙設定(&F)...".
    void editFormats();

private:
    QString appPath_;
    QWidget* owner_;
    std::unique_ptr<PrintPrompts> ownPrompts_;
    PrintPrompts* prompts_;
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace print
