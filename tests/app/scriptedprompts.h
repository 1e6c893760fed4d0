#pragma once

// Prompts answered from a script, so that the file dialogs and message boxes of the main
// window never block a test. Every prompt is recorded.

#include "app/prompts.h"

#include <QList>
#include <QStringList>

struct ScriptedPrompts : app::Prompts {
    struct Asked {
        QString title;
        QString text;
        QStringList filters;
        int selected = -1;
    };

    // Answers, taken from the front; an empty list cancels the dialog or answers Cancel.
    QList<FileChoice> openChoices;
    QList<FileChoice> saveChoices;
    QList<QMessageBox::StandardButton> answers;

    QList<Asked> openDialogs;
    QList<Asked> saveDialogs;
    QList<Asked> questions;
    QList<Asked> messages;

    FileChoice getOpenFileName(QWidget*, const QString& title, const QStringList& filters,
                               int selected) override
    {
        openDialogs << Asked{title, {}, filters, selected};
        return openChoices.isEmpty() ? FileChoice{} : openChoices.takeFirst();
    }
    FileChoice getSaveFileName(QWidget*, const QString& title, const QStringList& filters,
                               int selected) override
    {
        saveDialogs << Asked{title, {}, filters, selected};
        return saveChoices.isEmpty() ? FileChoice{} : saveChoices.takeFirst();
    }
    QMessageBox::StandardButton question(QWidget*, const QString& title, const QString& text,
                                         QMessageBox::StandardButtons,
                                         QMessageBox::StandardButton) override
    {
        questions << Asked{title, text, {}, -1};
        return answers.isEmpty() ? QMessageBox::Cancel : answers.takeFirst();
    }
    void information(QWidget*, const QString& title, const QString& text, QMessageBox::Icon) override
    {
        messages << Asked{title, text, {}, -1};
    }
};
