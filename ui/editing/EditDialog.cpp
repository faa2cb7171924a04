#include "EditDialog.h"

#include "ui/common/DialogHelpers.h"
#include "ui/textentry/SymbolEdit.h"
#include "ui/window/Help.h"

#include "core/TextFunctions.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace vocalore {

namespace {

constexpr const char* SortReminder =
    "To specify how this item should be sorted, insert '@' before the first significant "
    "letter.\n\nDo you want to be reminded about this in future?";

QFont FieldFont(bool bold, bool italic) {
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(16);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

} // namespace

TEditDialog::TEditDialog(QWidget* owner, TEditDialogData& data, TEditMode mode)
    : QDialog(owner), FData(data), FMode(mode) {
    setObjectName(QStringLiteral("EditDialog"));
    auto* content = new QWidget(this);
    auto* grid = new QGridLayout(content);
    grid->setContentsMargins(0, 0, 0, 0);

    struct TFieldSpec {
        const char* Name;
        const char* LabelName;
        const char* Label;
        int Tag;
        bool Bold, Italic;
        int Width;
        const char* Help;
    };
    auto field = [&](const TFieldSpec& shape) {
        auto* edit = new TSymbolEdit(content);
        edit->setObjectName(QString::fromLatin1(shape.Name));
        edit->SetTag(shape.Tag);
        edit->SetLanguage(shape.Tag == TagForeign ? data.ForeignLangID : data.NativeLangID);
        edit->setFont(FieldFont(shape.Bold, shape.Italic));
        edit->setMinimumWidth(shape.Width);
        edit->setWhatsThis(QString::fromLatin1(shape.Help));
        auto* label = new QLabel(QString::fromLatin1(shape.Label), content);
        label->setObjectName(QString::fromLatin1(shape.LabelName));
        label->setBuddy(edit);
        connect(edit, &QLineEdit::textChanged, this, &TEditDialog::DataChange);
        return std::pair{label, edit};
    };
    auto [lblForeign, foreign] =
        field({"edtForeign", "lblForeign", "&Word/phrase:", TagForeign, true, false, 407,
               "The word or phrase in the foreign language. Insert '@' before the first "
               "significant letter to say how the item is sorted."});
    auto [lblCategory, category] =
        field({"edtCategory", "lblCategory", "&Part of speech:", TagNative, false, true, 95,
               "The part of speech, such as noun or verb (optional)."});
    auto [lblNotes, notes] = field({"edtNotes", "lblNotes", "&Notes:", TagNative, false, true, 237,
                                    "Notes about the item (optional)."});
    auto [lblNative, native] =
        field({"edtNative", "lblNative", "&Translation(s):", TagNative, false, false, 407,
               "One or more translations in your own language."});
    edtForeign = foreign;
    edtCategory = category;
    edtNotes = notes;
    edtNative = native;
    grid->addWidget(lblForeign, 0, 0);
    grid->addWidget(edtForeign, 0, 1, 1, 3);
    grid->addWidget(lblCategory, 1, 0);
    grid->addWidget(edtCategory, 1, 1);
    grid->addWidget(lblNotes, 1, 2, Qt::AlignRight);
    grid->addWidget(edtNotes, 1, 3);
    grid->addWidget(lblNative, 2, 0);
    grid->addWidget(edtNative, 2, 1, 1, 3);
    grid->setColumnStretch(3, 1);

    const TDialogButtons buttons = AddDialogButtons(this, hcEditDialog);
    btnOK = buttons.OK;
    LayOutAboveButtonRow(this, content, buttons);
    connect(btnOK, &QPushButton::clicked, this, &TEditDialog::btnOKClick);
    setTabOrder(edtForeign, edtCategory);
    setTabOrder(edtCategory, edtNotes);
    setTabOrder(edtNotes, edtNative);
    setTabOrder(edtNative, buttons.OK);
    setTabOrder(buttons.OK, buttons.Cancel);
    setTabOrder(buttons.Cancel, buttons.Help);
    EnablePopupHelp(this);
    FormCreate();
}

void TEditDialog::FormCreate() {
    PlaceDialog(this, parentWidget());
    if (FMode == emAdd) {
        setWindowTitle(QStringLiteral("Add"));
    } else {
        setWindowTitle(QStringLiteral("Edit"));
        const TEditRecord& r = FData.Record;
        edtForeign->SetBytes(WordWithSortMarker(r.Word, r.SortPosition, FData.RequireSortPosition));
        edtCategory->SetBytes(r.Category);
        edtNotes->SetBytes(r.Notes);
        edtNative->SetBytes(r.Translation);
    }
    edtForeign->setFocus();
    FChanged = false;
}

void TEditDialog::Refuse(TSymbolEdit* field, const char* message) {
    ShowMessageBox(QString::fromLatin1(message), {}, TMsgIcon::Warning, mbOK, mbNone, this);
    field->selectAll();
    field->setFocus();
}

void TEditDialog::btnOKClick() {
    if (FMode == emEdit && !FChanged) {
        reject();
        return;
    }
    // The normalised texts are what the user sees when a check fails.
    for (TSymbolEdit* edit : {edtForeign, edtCategory, edtNotes, edtNative}) {
        const std::string normal = NormalizeSpaces(edit->Bytes());
        if (normal != edit->Bytes())
            edit->SetBytes(normal);
    }
    std::string word = edtForeign->Bytes();
    const int32_t sortPosition = TakeSortMarker(word, FData.RequireSortPosition);
    const std::string translation = edtNative->Bytes();

    if (word.empty())
        return Refuse(edtForeign, "Enter a word or phrase.");
    if (!BracketsValid(word))
        return Refuse(edtForeign, "Invalid use of brackets.");
    if (sortPosition == SortPositionMissing) {
        if (ShowMessageBox(QString::fromLatin1(SortReminder), {}, TMsgIcon::Warning, mbYes | mbNo,
                           mbNone, this) == mbNo)
            FData.RequireSortPosition = false;
        edtForeign->selectAll();
        edtForeign->setFocus();
        return;
    }
    if (translation.empty())
        return Refuse(edtNative, "Enter a translation.");
    if (!BracketsValid(translation))
        return Refuse(edtNative, "Invalid use of brackets.");

    FData.Record = {word, edtCategory->Bytes(), edtNotes->Bytes(), translation, sortPosition};
    accept();
}

bool TEditDialog::Execute(QWidget* owner, TEditDialogData& data, TEditMode mode) {
    TEditDialog dialog(owner, data, mode);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace vocalore
