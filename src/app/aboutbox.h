#pragma once

#include <QDialog>

class QLabel;

namespace app {

// "ﾊﾞｰｼﾞｮﾝ情報": the program's name, its version and its picture. Modeless, owned by the
// main window; OK closes it.
class AboutBox : public QDialog {
    Q_OBJECT

public:
    static constexpr char16_t kVersionLabel[] = u" Version 2.0";

    explicit AboutBox(QWidget* parent = nullptr);

    QLabel* versionLabel() const { return version_; }

private:
    QLabel* version_ = nullptr;
};

}  // namespace app
