#include "app/prompts.h"

#include <QFileDialog>

namespace app {

namespace {

Prompts::FileChoice runFileDialog(QWidget* parent, const QString& title, const QStringList& filters,
                                  int selectedFilter, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    if (selectedFilter >= 0 && selectedFilter < filters.size())
        dialog.selectNameFilter(filters[selectedFilter]);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return {dialog.selectedFiles().constFirst(), int(filters.indexOf(dialog.selectedNameFilter()))};
}

}  // namespace

Prompts::FileChoice DialogPrompts::getOpenFileName(QWidget* parent, const QString& title,
                                                   const QStringList& filters, int selectedFilter)
{
    return runFileDialog(parent, title, filters, selectedFilter, QFileDialog::AcceptOpen);
}

Prompts::FileChoice DialogPrompts::getSaveFileName(QWidget* parent, const QString& title,
                                                   const QStringList& filters, int selectedFilter)
{
    return runFileDialog(parent, title, filters, selectedFilter, QFileDialog::AcceptSave);
}

QMessageBox::StandardButton DialogPrompts::question(QWidget* parent, const QString& title,
                                                    const QString& text,
                                                    QMessageBox::StandardButtons buttons,
                                                    QMessageBox::StandardButton defaultButton)
{
    return QMessageBox::question(parent, title, text, buttons, defaultButton);
}

void DialogPrompts::information(QWidget* parent, const QString& title, const QString& text,
                                QMessageBox::Icon icon)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace app
