#pragma once

#include <QString>

class QPrinter;
class QWidget;

namespace print {

// The message boxes and printer dialogs of printing, behind one small interface so that
// tests can answer them without blocking.
class PrintPrompts {
public:
    virtual ~PrintPrompts() = default;
    // A message with an OK button and an exclamation icon.
    virtual void warning(QWidget* parent, const QString& title, const QString& text) = 0;
    // A message with an OK button and no icon.
    virtual void message(QWidget* parent, const QString& title, const QString& text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool askYesNo(QWidget* parent, const QString& title, const QString& text) = 0;
    // "プリンタ設定": paper, orientation and margins of `printer`; what the dialog raises
    // (a cancel included) is ignored.
    virtual void pageSetup(QWidget* parent, QPrinter& printer) = 0;
    // Before "O K" prints: the printer (a queue of the platform, or a PDF file) and its
    // options; false when the user cancelled.
    virtual bool choosePrinter(QWidget* parent, QPrinter& printer) = 0;
};

// The real dialogs: QMessageBox, QPageSetupDialog and QPrintDialog, modal over `parent`.
class DialogPrintPrompts final : public PrintPrompts {
public:
    void warning(QWidget* parent, const QString& title, const QString& text) override;
    void message(QWidget* parent, const QString& title, const QString& text) override;
    bool askYesNo(QWidget* parent, const QString& title, const QString& text) override;
    void pageSetup(QWidget* parent, QPrinter& printer) override;
    bool choosePrinter(QWidget* parent, QPrinter& printer) override;
};

}  // namespace print
