#pragma once

#include "core/options.h"

#include <QDialog>
#include <QString>

#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;

namespace app {

// The options dialog "ｵﾌﾟｼｮﾝ": a window over core::OptionsDialog, which holds the working
// copy and decides what OK writes. Modeless; parent it to the main window. Each opening is
// a fresh load of the settings in use, so the window deletes itself when it closes.
//
// Controls carry the names of the settings they show (objectName): DfltfaceCK, Text1,
// UpDown1 (its arrows UpDown1Up and UpDown1Down), Option1, Option2, the fourteen kind boxes
// rinkakuCK to userCK, OKBTN and CANCELBTN.
class OptionForm : public QDialog {
    Q_OBJECT

public:
    // `settings` are the settings in use (the session's); OK updates them and writes
    // "ravoze.ini" in `appPath`. Both must outlive the window.
    OptionForm(core::Settings& settings, const QString& appPath, QWidget* parent = nullptr);
    ~OptionForm() override;

    const core::OptionsDialog& logic() const { return dialog_; }

signals:
    // OK changed the settings in use (whether or not the file could be written).
    void settingsChanged();

private:
    QWidget* buildFaceFrame();
    QWidget* buildSavedScreenFrame();
    QWidget* buildPartsFrame();
    void markChanged();
    void spin(int delta);
    void okClicked();

    core::Settings& settings_;
    QString appPath_;
    core::OptionsDialog dialog_;

    QTabWidget* tabs_ = nullptr;
    QCheckBox* defaultFace_ = nullptr;
    QLineEdit* savedScreens_ = nullptr;
    QToolButton* spinUp_ = nullptr;
    QToolButton* spinDown_ = nullptr;
    QRadioButton* overlay_ = nullptr;
    QRadioButton* single_ = nullptr;
    std::array<QCheckBox*, core::OptionsDialog::kBoxCount> boxes_{};
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace app
