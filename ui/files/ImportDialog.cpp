#include "ImportDialog.h"

#include "ui/common/DialogHelpers.h"
#include "ui/window/Help.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vocalore {

namespace {

constexpr std::array<const char*, 4> FieldNames{"Word/phrase", "Part of speech", "Notes",
                                                "Translations"};
constexpr int FieldRole = Qt::UserRole;

} // namespace

TImportDialog::TImportDialog(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("ImportDialog"));
    setWindowTitle(QStringLiteral("Convert Text File"));
    auto* content = new QWidget(this);

    auto* gbFormat = new QGroupBox(QStringLiteral(" Format: "), content);
    gbFormat->setObjectName(QStringLiteral("gbFormat"));
    rbTabDelimited = new QRadioButton(QStringLiteral("&Tab-delimited text"), gbFormat);
    rbTabDelimited->setObjectName(QStringLiteral("rbTabDelimited"));
    rbCommaSeparated = new QRadioButton(QStringLiteral("&CSV (comma-separated values)"), gbFormat);
    rbCommaSeparated->setObjectName(QStringLiteral("rbCommaSeparated"));
    rbTabDelimited->setChecked(true);
    auto* formatLayout = new QVBoxLayout(gbFormat);
    formatLayout->addWidget(rbTabDelimited);
    formatLayout->addWidget(rbCommaSeparated);

    auto* gbData = new QGroupBox(QStringLiteral(" Data: "), content);
    gbData->setObjectName(QStringLiteral("gbData"));
    edtStartFrom = new QLineEdit(QStringLiteral("1"), gbData);
    edtStartFrom->setObjectName(QStringLiteral("edtStartFrom"));
    edtStartFrom->setMaxLength(3);
    edtStartFrom->setFixedWidth(50);
    auto* dataLayout = new QHBoxLayout(gbData);
    dataLayout->addWidget(BuddyLabel("&Start from line:", "lblFirstLine", edtStartFrom, gbData));
    dataLayout->addWidget(edtStartFrom);
    dataLayout->addStretch();

    auto* gbFields = new QGroupBox(QStringLiteral(" Fields: "), content);
    gbFields->setObjectName(QStringLiteral("gbFields"));
    lbAvailable = new QListWidget(gbFields);
    lbAvailable->setObjectName(QStringLiteral("lbAvailable"));
    lbSelected = new QListWidget(gbFields);
    lbSelected->setObjectName(QStringLiteral("lbSelected"));
    for (QListWidget* list : {lbAvailable, lbSelected}) {
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setFixedSize(130, 80);
    }
    for (size_t i = 0; i < FieldNames.size(); ++i) {
        auto* item = new QListWidgetItem(QString::fromLatin1(FieldNames[i]), lbAvailable);
        item->setData(FieldRole, static_cast<int>(i));
    }
    btnAdd = new QPushButton(QStringLiteral("&Add"), gbFields);
    btnAdd->setObjectName(QStringLiteral("btnAdd"));
    btnRemove = new QPushButton(QStringLiteral("&Remove"), gbFields);
    btnRemove->setObjectName(QStringLiteral("btnRemove"));
    btnAdd->setEnabled(false);
    btnRemove->setEnabled(false);
    auto* fieldsLayout = new QGridLayout(gbFields);
    fieldsLayout->addWidget(BuddyLabel("A&vailable fields:", "lblAvailable", lbAvailable, gbFields),
                            0, 0);
    fieldsLayout->addWidget(lbAvailable, 1, 0);
    fieldsLayout->addWidget(btnAdd, 2, 0, Qt::AlignLeft);
    fieldsLayout->addWidget(BuddyLabel("&Fields to import:", "lblSelected", lbSelected, gbFields),
                            0, 1);
    fieldsLayout->addWidget(lbSelected, 1, 1);
    fieldsLayout->addWidget(btnRemove, 2, 1, Qt::AlignLeft);

    auto* contentLayout = new QVBoxLayout(content);
    contentLayout->setContentsMargins(0, 0, 0, 0);
    contentLayout->addWidget(gbFormat);
    contentLayout->addWidget(gbData);
    contentLayout->addWidget(gbFields);

    rbTabDelimited->setWhatsThis(
        QStringLiteral("The columns of each line are separated by tab characters."));
    rbCommaSeparated->setWhatsThis(QStringLiteral(
        "The columns of each line are separated by commas; texts may be in double quotes."));
    edtStartFrom->setWhatsThis(QStringLiteral(
        "The number of the first line to import, for example 2 to skip a line of headings."));
    lbAvailable->setWhatsThis(
        QStringLiteral("Fields not imported. Add moves the selected one to the fields to import."));
    lbSelected->setWhatsThis(QStringLiteral(
        "The fields to import, in the order of the file's columns: the first entry is read from "
        "the first column, and so on. The word/phrase must be among them."));

    const TDialogButtons buttons = AddDialogButtons(this, hcImportDialog);
    LayOutAboveButtonRow(this, content, buttons);

    // Choosing an entry (click or arrow keys) arms the button that acts on it;
    // focus alone chooses nothing.
    connect(lbAvailable, &QListWidget::itemSelectionChanged, this, [this] {
        if (!lbAvailable->selectedItems().isEmpty())
            btnAdd->setEnabled(true);
    });
    connect(lbSelected, &QListWidget::itemSelectionChanged, this, [this] {
        if (!lbSelected->selectedItems().isEmpty())
            btnRemove->setEnabled(true);
    });
    connect(lbAvailable, &QListWidget::itemDoubleClicked, this, [this] {
        if (btnAdd->isEnabled())
            btnAdd->click();
    });
    connect(lbSelected, &QListWidget::itemDoubleClicked, this, [this] {
        if (btnRemove->isEnabled())
            btnRemove->click();
    });
    connect(btnAdd, &QPushButton::clicked, this, &TImportDialog::btnAddClick);
    connect(btnRemove, &QPushButton::clicked, this, &TImportDialog::btnRemoveClick);
    connect(buttons.OK, &QPushButton::clicked, this, &TImportDialog::btnOKClick);
    EnablePopupHelp(this);
    PlaceDialog(this, owner);
}

void TImportDialog::MoveEntry(QListWidget* from, QListWidget* to, QPushButton* fromButton) {
    const int row = from->currentRow();
    if (row < 0)
        return;
    QListWidgetItem* item = from->takeItem(row);
    // The receiving list keeps its selection.
    const QSignalBlocker blocker(to);
    QListWidgetItem* current = to->currentItem();
    to->addItem(item);
    item->setSelected(false);
    to->setCurrentItem(current);
    if (!current)
        to->clearSelection();
    if (from->count() == 0) {
        fromButton->setEnabled(false);
        return;
    }
    from->setCurrentRow(std::min(row, from->count() - 1));
}

void TImportDialog::btnAddClick() { MoveEntry(lbAvailable, lbSelected, btnAdd); }

void TImportDialog::btnRemoveClick() { MoveEntry(lbSelected, lbAvailable, btnRemove); }

void TImportDialog::btnOKClick() {
    if (!CheckIntField(edtStartFrom, MinImportFirstLine, MaxImportFirstLine))
        return;
    TImportSettings settings;
    bool hasWord = false;
    for (int k = 0; k < lbSelected->count(); ++k) {
        const int field = lbSelected->item(k)->data(FieldRole).toInt();
        settings.Columns[static_cast<size_t>(field)] = k + 1;
        hasWord = hasWord || field == 0;
    }
    if (!hasWord) {
        ShowMessageBox(
            QStringLiteral(
                "The field 'Word/phrase' must be included in the list of fields to import."),
            {}, TMsgIcon::Warning, mbOK, mbNone, this);
        return;
    }
    settings.Csv = rbCommaSeparated->isChecked();
    settings.FirstLine = edtStartFrom->text().trimmed().toInt();
    FSettings = settings;
    accept();
}

bool TImportDialog::Execute(QWidget* owner, TImportSettings& settings) {
    TImportDialog dialog(owner);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    settings = dialog.Settings();
    return true;
}

} // namespace vocalore
