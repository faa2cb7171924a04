#include "AnkiImportDialog.h"

#include "ui/common/DialogHelpers.h"
#include "ui/window/Help.h"

#include "core/VocabItem.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace vocalore {

namespace {

// Entries carry their field number; "(none)" is 0 and only offered where an
// item field may stay empty.
void FillFields(QComboBox* box, const std::vector<std::string>& captions, bool optional,
                const TAnkiFieldRef& selected) {
    if (optional)
        box->addItem(QStringLiteral("(none)"), 0);
    for (size_t k = 0; k < captions.size(); ++k)
        box->addItem(QString::number(k + 1) + QStringLiteral(": ") +
                         QString::fromStdString(captions[k]),
                     static_cast<int>(k + 1));
    const int at = box->findData(selected.Number);
    box->setCurrentIndex(at >= 0 ? at : (optional ? 0 : box->count() - 1));
}

TAnkiFieldRef Chosen(const QComboBox* box) {
    return TAnkiFieldRef{box->currentIndex() < 0 ? 0 : box->currentData().toInt(), {}};
}

} // namespace

TAnkiImportDialog::TAnkiImportDialog(QWidget* owner, const TAnkiDialogData& data) : QDialog(owner) {
    setObjectName(QStringLiteral("AnkiImportDialog"));
    setWindowTitle(QStringLiteral("Import Anki Deck"));
    auto* content = new QWidget(this);

    auto* gbFields = new QGroupBox(QStringLiteral(" Fields: "), content);
    gbFields->setObjectName(QStringLiteral("gbFields"));
    auto* fields = new QGridLayout(gbFields);
    const struct {
        QComboBox** Box;
        const char* Name;
        const char* Label;
        const char* LabelName;
        int Field;
        bool Optional;
        const char* Help;
    } rows[] = {
        {&cbWord, "cbWord", "&Word/phrase:", "lblWord", fiWord, false,
         "The note field that holds the word or phrase in the foreign language."},
        {&cbTranslation, "cbTranslation", "&Translations:", "lblTranslation", fiTranslation, false,
         "The note field that holds the translations; its lines become translations separated "
         "by semicolons."},
        {&cbCategory, "cbCategory", "&Part of speech:", "lblCategory", fiCategory, true,
         "The note field that holds the part of speech, if any."},
        {&cbNotes, "cbNotes", "&Notes:", "lblNotes", fiNotes, true,
         "The note field that holds notes, if any."},
    };
    int row = 0;
    for (const auto& r : rows) {
        auto* box = new QComboBox(gbFields);
        box->setObjectName(QString::fromLatin1(r.Name));
        box->setMinimumWidth(220);
        box->setWhatsThis(QString::fromLatin1(r.Help));
        FillFields(box, data.FieldCaptions, r.Optional, data.Settings.Fields[size_t(r.Field)]);
        *r.Box = box;
        fields->addWidget(BuddyLabel(r.Label, r.LabelName, box, gbFields), row, 0);
        fields->addWidget(box, row, 1);
        ++row;
    }

    auto* gbDeck = new QGroupBox(QStringLiteral(" Deck: "), content);
    gbDeck->setObjectName(QStringLiteral("gbDeck"));
    cbDeck = new QComboBox(gbDeck);
    cbDeck->setObjectName(QStringLiteral("cbDeck"));
    cbDeck->setMinimumWidth(220);
    cbDeck->addItem(QStringLiteral("All decks"), QString());
    for (const std::string& deck : data.Decks)
        cbDeck->addItem(QString::fromStdString(deck), QString::fromStdString(deck));
    const int deckAt = cbDeck->findData(QString::fromStdString(data.Settings.Deck));
    cbDeck->setCurrentIndex(std::max(deckAt, 0));
    cbDeck->setEnabled(data.Decks.size() > 1);
    cbDeck->setWhatsThis(QStringLiteral(
        "The notes of this deck and of the decks below it are imported, or those of all decks."));
    auto* deckLayout = new QGridLayout(gbDeck);
    deckLayout->addWidget(BuddyLabel("&Deck:", "lblDeck", cbDeck, gbDeck), 0, 0);
    deckLayout->addWidget(cbDeck, 0, 1);
    deckLayout->setColumnStretch(1, 1);

    auto* contentLayout = new QVBoxLayout(content);
    contentLayout->setContentsMargins(0, 0, 0, 0);
    contentLayout->addWidget(gbFields);
    contentLayout->addWidget(gbDeck);

    const TDialogButtons buttons = AddDialogButtons(this, hcImportDialog);
    LayOutAboveButtonRow(this, content, buttons);
    connect(buttons.OK, &QPushButton::clicked, this, &QDialog::accept);
    EnablePopupHelp(this);
    PlaceDialog(this, owner);
}

TAnkiImportSettings TAnkiImportDialog::Settings() const {
    TAnkiImportSettings settings;
    settings.Fields[fiWord] = Chosen(cbWord);
    settings.Fields[fiTranslation] = Chosen(cbTranslation);
    settings.Fields[fiCategory] = Chosen(cbCategory);
    settings.Fields[fiNotes] = Chosen(cbNotes);
    settings.Deck = cbDeck->currentData().toString().toStdString();
    return settings;
}

bool TAnkiImportDialog::Execute(QWidget* owner, TAnkiDialogData& data) {
    TAnkiImportDialog dialog(owner, data);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    data.Settings = dialog.Settings();
    return true;
}

} // namespace vocalore
