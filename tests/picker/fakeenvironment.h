#pragma once

#include "picker/pickerenvironment.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <array>

namespace pickertest {

// The main window as the picker sees it, recording what the picker asks of it.
class FakeEnvironment : public picker::PickerEnvironment {
public:
    bool figureMenuEnabled = false;
    int checkedFigureItem = -1;
    int positionDialogClosed = 0;
    QSize editorSizeTwips;
    std::array<QString, 4> status;  // panels 1..3
    bool userImageMenuEnabled = true;
    std::array<bool, 3> shown{true, true, false};  // ToolbarShown
    int activations = 0;
    int characterDialogs = 0;
    QStringList messages;  // "title: text"

    bool figurePosMenuEnabled() const override { return figureMenuEnabled; }
    void setFigurePosMenuEnabled(bool enabled) override { figureMenuEnabled = enabled; }
    void closePositionDialog() override { ++positionDialogClosed; }
    void checkFigurePosItem(int mode) override { checkedFigureItem = mode; }
    void setEditorWindowSizeTwips(QSize size) override { editorSizeTwips = size; }
    void setStatusText(int panel, const QString& text) override
    {
        if (panel >= 1 && panel <= 3)
            status[std::size_t(panel)] = text;
    }
    void setUserImageMenuEnabled(bool enabled) override { userImageMenuEnabled = enabled; }
    bool toolbarShown(int toolbar) const override
    {
        return toolbar >= 0 && toolbar < 3 && shown[std::size_t(toolbar)];
    }
    void pickerActivated() override { ++activations; }
    void showCharacterDialog() override { ++characterDialogs; }
    void showMessage(QWidget*, const QString& title, const QString& text) override
    {
        messages << title + QStringLiteral(": ") + text;
    }
};

}  // namespace pickertest
