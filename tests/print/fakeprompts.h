#pragma once

#include "print/printprompts.h"

#include <QList>
#include <QStringList>

#include <functional>

// Print prompts answered from a script; every prompt is recorded.
struct FakePrintPrompts : print::PrintPrompts {
    QStringList warnings;   // "title|text"
    QStringList messages;
    QStringList questions;
    QList<bool> answers;    // askYesNo, from the front; none left: No
    int pageSetups = 0;
    int printerChoices = 0;
    std::function<bool(QPrinter&)> onChoosePrinter;  // unset: cancelled
    std::function<void(QPrinter&)> onPageSetup;

    void warning(QWidget*, const QString& title, const QString& text) override { warnings << title + u'|' + text; }
    void message(QWidget*, const QString& title, const QString& text) override { messages << title + u'|' + text; }
    bool askYesNo(QWidget*, const QString& title, const QString& text) override
    {
        questions << title + u'|' + text;
        return answers.isEmpty() ? false : answers.takeFirst();
    }
    void pageSetup(QWidget*, QPrinter& printer) override
    {
        ++pageSetups;
        if (onPageSetup)
            onPageSetup(printer);
    }
    bool choosePrinter(QWidget*, QPrinter& printer) override
    {
        ++printerChoices;
        return onChoosePrinter ? onChoosePrinter(printer) : false;
    }
};
