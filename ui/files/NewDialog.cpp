#include "NewDialog.h"

#include "ui/common/DialogHelpers.h"
#include "ui/window/Help.h"

#include "core/Languages.h"

#include <QCollator>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProxyStyle>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace vocalore {

namespace {

// Both lists show the language names in alphabetical order, each entry
// carrying its identifier.
void FillLanguages(QComboBox* box, uint16_t selected) {
    std::vector<std::pair<QString, uint16_t>> entries;
    for (const TLanguageEntry& entry : LanguageList())
        entries.emplace_back(QString::fromStdString(entry.Name), entry.Id);
    QCollator collator;
    std::stable_sort(entries.begin(), entries.end(), [&](const auto& a, const auto& b) {
        return collator.compare(a.first, b.first) < 0;
    });
    for (const auto& [name, id] : entries)
        box->addItem(name, QVariant::fromValue<uint>(id));
    box->setCurrentIndex(box->findData(QVariant::fromValue<uint>(selected)));
}

uint16_t SelectedId(const QComboBox* box) {
    return box->currentIndex() < 0 ? 0 : static_cast<uint16_t>(box->currentData().toUInt());
}

class TListPopupStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

} // namespace

TNewDialog::TNewDialog(QWidget* owner, uint16_t foreignLangId, uint16_t nativeLangId)
    : QDialog(owner) {
    setObjectName(QStringLiteral("NewDialog"));
    setWindowTitle(QStringLiteral("New"));

    auto* group = new QGroupBox(QStringLiteral(" Languages: "), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto* lblForeign = new QLabel(QStringLiteral("&Foreign:"), group);
    lblForeign->setObjectName(QStringLiteral("lblForeign"));
    cbForeign = new QComboBox(group);
    cbForeign->setObjectName(QStringLiteral("cbForeign"));
    auto* lblNative = new QLabel(QStringLiteral("&Native:"), group);
    lblNative->setObjectName(QStringLiteral("lblNative"));
    cbNative = new QComboBox(group);
    cbNative->setObjectName(QStringLiteral("cbNative"));
    lblForeign->setBuddy(cbForeign);
    lblNative->setBuddy(cbNative);
    // Menu-like pop-ups ignore the visible-item count and fill the screen with
    // over a hundred languages; a scrolling list shows about twenty.
    auto* listStyle = new TListPopupStyle;
    listStyle->setParent(this);
    for (QComboBox* box : {cbForeign, cbNative}) {
        box->setMinimumWidth(220);
        box->setMaxVisibleItems(20);
        box->setStyle(listStyle);
    }
    cbForeign->setWhatsThis(QStringLiteral(
        "The language you are learning: the words and phrases of the new file are written in it."));
    cbNative->setWhatsThis(QStringLiteral(
        "Your own language: translations, parts of speech and notes are written in it."));
    FillLanguages(cbForeign, foreignLangId);
    FillLanguages(cbNative, nativeLangId);

    auto* grid = new QGridLayout(group);
    grid->addWidget(lblForeign, 0, 0);
    grid->addWidget(cbForeign, 0, 1);
    grid->addWidget(lblNative, 1, 0);
    grid->addWidget(cbNative, 1, 1);

    const TDialogButtons dialogButtons = AddDialogButtons(this, hcNewDialog);
    btnOK = dialogButtons.OK;
    LayOutAboveButtonRow(this, group, dialogButtons);

    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cbForeign, &QComboBox::currentIndexChanged, this, &TNewDialog::UpdateOK);
    connect(cbNative, &QComboBox::currentIndexChanged, this, &TNewDialog::UpdateOK);
    UpdateOK();
    EnablePopupHelp(this);
    PlaceDialog(this, owner);
}

uint16_t TNewDialog::ForeignLangID() const { return SelectedId(cbForeign); }
uint16_t TNewDialog::NativeLangID() const { return SelectedId(cbNative); }

void TNewDialog::UpdateOK() {
    btnOK->setEnabled(cbForeign->currentIndex() >= 0 && cbNative->currentIndex() >= 0);
}

bool TNewDialog::Execute(QWidget* owner, uint16_t& foreignLangId, uint16_t& nativeLangId) {
    TNewDialog dialog(owner, foreignLangId, nativeLangId);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    foreignLangId = dialog.ForeignLangID();
    nativeLangId = dialog.NativeLangID();
    return true;
}

} // namespace vocalore
