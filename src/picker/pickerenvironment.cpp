#include "picker/pickerenvironment.h"

#include <QMessageBox>

namespace picker {

void PickerEnvironment::showMessage(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox::information(parent, title, text, QMessageBox::Ok);
}

}  // namespace picker
