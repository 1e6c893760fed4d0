#include "editor/editorenvironment.h"

#include <QMessageBox>

namespace editor {

EditorEnvironment::SaveAnswer EditorEnvironment::askSaveChanges(QWidget* parent, const QString& caption)
{
    const auto answer = QMessageBox::question(
        parent, QStringLiteral("Faciora"), QStringLiteral("保存しますか？") + u'\n' + caption,
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Yes)
        return SaveAnswer::Yes;
    if (answer == QMessageBox::No)
        return SaveAnswer::No;
    return SaveAnswer::Cancel;
}

void EditorEnvironment::showError(QWidget* parent, const QString& text)
{
    QMessageBox::critical(parent, QStringLiteral("Faciora"), text);
}

}  // namespace editor
