#pragma once

// A main window for the editor's tests: records what the editor asks of it and answers the
// save question as told.

#include "editor/editorenvironment.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace editortest {

class FakeEnvironment : public editor::EditorEnvironment {
public:
    // EditorHost / HistoryHost / FigureMenuHost
    bool figurePosMenuEnabled() const override { return figureMenu; }
    void setFigurePosMenuEnabled(bool on) override { figureMenu = on; }
    void checkFigurePosItem(int mode) override { checkedMode = mode; }
    void setBusyPointer(bool busy) override { busyPointer = busy; }
    void closePositionDialog() override { calls << QStringLiteral("closePositionDialog"); }
    void setEditorClientSize(int w, int h) override
    {
        clientSize = QSize(w, h);
        if (editor)
            editor->resize(w, h);
    }
    void PlaceEditorWindow() override { ++placed; }
    void setUndoEnabled(bool on) override { undoEnabled = on; }
    void setRedoEnabled(bool on) override { redoEnabled = on; }
    QSize editorWindowSizeTwips() const override { return windowTwips; }
    void setEditorWindowSizeTwips(QSize size) override { windowTwips = size; }

    // EditorEnvironment
    void setStatusText(int panel, const QString& text) override
    {
        if (panel == 3)
            statusPanel3 = text;
    }
    QString DocumentName() const override { return documentName; }
    void setEditorOpen(bool open) override { editorOpen = open; }
    void showEditorLoaded() override { calls << QStringLiteral("loaded"); }
    void showEditorUnloaded() override { calls << QStringLiteral("unloaded"); }
    void SetMenuMode(int mode) override { calls << QStringLiteral("SetMenuMode(%1)").arg(mode); }
    void closePicker() override { calls << QStringLiteral("closePicker"); }
    void closePartsPos() override { calls << QStringLiteral("closePartsPos"); }
    bool reopenAfterExport() const override { return reopen; }
    void setReopenAfterExport(bool on) override { reopen = on; }
    SaveAnswer askSaveChanges(QWidget*, const QString& caption) override
    {
        questions << caption;
        return answer;
    }
    void showError(QWidget*, const QString& text) override { errors << text; }

    QWidget* editor = nullptr;
    bool figureMenu = false;
    int checkedMode = -1;
    bool busyPointer = false;
    QSize clientSize;
    int placed = 0;
    bool undoEnabled = true;
    bool redoEnabled = true;
    QSize windowTwips{4500, 4905};
    QString statusPanel3;
    QString documentName;
    bool editorOpen = false;
    bool reopen = false;
    SaveAnswer answer = SaveAnswer::No;
    QStringList calls;
    QStringList questions;
    QStringList errors;
};

}  // namespace editortest
