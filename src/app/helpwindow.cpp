#include "app/helpwindow.h"

#include "core/inifile.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace app {

QString helpPagePath(const QString& appPath)
{
    static const QString kPage = QStringLiteral("Ravoze.html");
    for (const QString& folder : {QDir(appPath).filePath(QStringLiteral("help")), appPath}) {
        const QString path = core::findFileNoCase(folder, kPage);
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("Faciora ﾍﾙﾌﾟ"));
    browser_ = new QTextBrowser(this);
    browser_->setOpenExternalLinks(false);
    browser_->setOpenLinks(true);

    auto* back = new QPushButton(QStringLiteral("戻る"), this);
    auto* contents = new QPushButton(QStringLiteral("目次"), this);
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    back->setEnabled(false);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(contents, &QPushButton::clicked, browser_, &QTextBrowser::home);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(contents);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_, 1);
    resize(640, 560);
}

void HelpWindow::showPage(const QString& page)
{
    browser_->setSearchPaths({QFileInfo(page).absolutePath()});
    browser_->setSource(QUrl::fromLocalFile(page));
}

}  // namespace app
