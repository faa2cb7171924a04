#include "AboutDialog.h"

#include "ui/common/DialogHelpers.h"
#include "ui/window/ToolImages.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vocalore {

TAboutDialog::TAboutDialog(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(QStringLiteral("About"));

    auto* imgIcon = new QLabel(this);
    imgIcon->setObjectName(QStringLiteral("imgIcon"));
    imgIcon->setPixmap(ProgramPicture());
    imgIcon->setFixedSize(32, 32);
    auto* lblTitle = new QLabel(QString::fromLatin1(ProductName), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    lblTitle->setFont(titleFont);
    auto* lblVersion = new QLabel(QString::fromLatin1(VersionText), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    auto* lblComment = new QLabel(
        QStringLiteral("A vocabulary trainer for the words and phrases of a foreign language."),
        this);
    lblComment->setObjectName(QStringLiteral("lblComment"));

    auto* btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::reject);

    auto* text = new QVBoxLayout;
    text->addWidget(lblTitle);
    text->addWidget(lblVersion);
    text->addSpacing(8);
    text->addWidget(lblComment);
    auto* top = new QHBoxLayout;
    top->addWidget(imgIcon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    PlaceDialog(this, owner);
}

void TAboutDialog::Execute(QWidget* owner) {
    TAboutDialog dialog(owner);
    dialog.exec();
}

} // namespace vocalore
