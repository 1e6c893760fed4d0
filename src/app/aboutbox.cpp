#include "app/aboutbox.h"

#include "app/splash.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace app {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    auto* picture = new QLabel(this);
    picture->setPixmap(startupPicture(175));
    auto* name = new QLabel(QStringLiteral("Faciora"), this);
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    name->setFont(big);
    version_ = new QLabel(QString::fromUtf16(kVersionLabel), this);
    auto* note = new QLabel(QStringLiteral("似顔絵作成ソフト"), this);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKBTN"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(version_);
    texts->addWidget(note);
    texts->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addLayout(texts, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(ok, 0, Qt::AlignRight);
    setModal(false);
}

}  // namespace app
