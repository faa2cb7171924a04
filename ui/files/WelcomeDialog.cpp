#include "WelcomeDialog.h"

#include "ui/common/DialogHelpers.h"
#include "ui/window/Help.h"
#include "ui/window/ToolImages.h"

#include "core/DisplayRules.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vocalore {

namespace {

constexpr int listWidth = 320;
constexpr int listHeight = 140;

QLabel* Picture(const char* name, int image, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setPixmap(ToolImage(image).pixmap(16, 16));
    label->setFixedSize(16, 16);
    return label;
}

} // namespace

TWelcomeDialog::TWelcomeDialog(QWidget* owner, TWelcomeDialogData& data)
    : QDialog(owner), FData(data) {
    setObjectName(QStringLiteral("WelcomeDialog"));
    setWindowTitle(QStringLiteral("Welcome"));

    auto* imgNew = Picture("imgNew", tiNew, this);
    auto* imgOpen = Picture("imgOpen", tiOpen, this);
    rbNew = new QRadioButton(QStringLiteral("&Create a new file"), this);
    rbNew->setObjectName(QStringLiteral("rbNew"));
    rbOpen = new QRadioButton(QStringLiteral("&Open an existing file:"), this);
    rbOpen->setObjectName(QStringLiteral("rbOpen"));
    rbOpen->setChecked(true);
    rbNew->setWhatsThis(
        QStringLiteral("Starts a new, empty vocabulary file. You choose its two languages next."));
    rbOpen->setWhatsThis(
        QStringLiteral("Opens a vocabulary file you used recently, or lets you browse for one."));

    lbFileName = new QListWidget(this);
    lbFileName->setObjectName(QStringLiteral("lbFileName"));
    lbFileName->setFixedSize(listWidth, listHeight);
    lbFileName->setWhatsThis(QStringLiteral(
        "Choose \"Browse...\" to look for a file, or one of the files you used recently."));
    lbFileName->addItem(QString::fromLatin1(BrowseEntry));
    const QFontMetrics metrics(lbFileName->font());
    const int textWidth = listWidth - 2 * lbFileName->frameWidth() - 4;
    const TTextMeasure measure = [&](std::string_view text) {
        return metrics.horizontalAdvance(
            QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    };
    for (const std::string& path : data.RecentFiles) {
        auto* item = new QListWidgetItem(
            QString::fromStdString(ShortenPath(DocumentTitle(path, true), textWidth, measure)));
        item->setToolTip(QString::fromStdString(path));
        lbFileName->addItem(item);
    }
    lbFileName->setCurrentRow(0);

    const TDialogButtons dialogButtons = AddDialogButtons(this, hcWelcomeDialog);

    auto* choices = new QGridLayout;
    choices->setColumnMinimumWidth(0, 20);
    choices->addWidget(imgNew, 0, 0);
    choices->addWidget(rbNew, 0, 1);
    choices->setRowMinimumHeight(1, 8);
    choices->addWidget(imgOpen, 2, 0);
    choices->addWidget(rbOpen, 2, 1);
    choices->addWidget(lbFileName, 3, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(dialogButtons.OK);
    buttons->addWidget(dialogButtons.Cancel);
    buttons->addWidget(dialogButtons.Help);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(choices);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(dialogButtons.OK, &QPushButton::clicked, this, &TWelcomeDialog::btnOKClick);
    connect(rbNew, &QRadioButton::toggled, this, &TWelcomeDialog::UpdateList);
    connect(rbOpen, &QRadioButton::toggled, this, &TWelcomeDialog::UpdateList);
    connect(lbFileName, &QListWidget::itemPressed, this, [this] { rbOpen->setChecked(true); });
    connect(lbFileName, &QListWidget::itemDoubleClicked, this, &TWelcomeDialog::btnOKClick);
    rbNew->installEventFilter(this);
    rbOpen->installEventFilter(this);
    lbFileName->viewport()->installEventFilter(this);
    UpdateList();
    lbFileName->setFocus(Qt::OtherFocusReason);
    EnablePopupHelp(this);
    PlaceDialog(this, owner);
}

bool TWelcomeDialog::eventFilter(QObject* watched, QEvent* event) {
    // A double-click on a choice takes it at once.
    if ((watched == rbNew || watched == rbOpen) && event->type() == QEvent::MouseButtonDblClick) {
        static_cast<QRadioButton*>(watched)->setChecked(true);
        btnOKClick();
        return true;
    }
    // Filters see the press even while the list is disabled: choosing "open"
    // enables the list before the press reaches it, so the row is taken too.
    if (watched == lbFileName->viewport() && event->type() == QEvent::MouseButtonPress)
        rbOpen->setChecked(true);
    return QDialog::eventFilter(watched, event);
}

void TWelcomeDialog::UpdateList() { lbFileName->setEnabled(rbOpen->isChecked()); }

void TWelcomeDialog::btnOKClick() {
    FData.Open = rbOpen->isChecked();
    const int row = lbFileName->currentRow();
    FData.FileName = row <= 0 || row > static_cast<int>(FData.RecentFiles.size())
                         ? std::string()
                         : FData.RecentFiles[static_cast<size_t>(row - 1)];
    accept();
}

bool TWelcomeDialog::Execute(QWidget* owner, TWelcomeDialogData& data) {
    TWelcomeDialog dialog(owner, data);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace vocalore
