#include "SearchDialog.h"

#include "ui/common/DialogHelpers.h"
#include "ui/textentry/SymbolEdit.h"
#include "ui/window/Help.h"

#include "core/Languages.h"
#include "core/TextFunctions.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace vocalore {

TSearchDialog::TSearchDialog(QWidget* owner, TSearchData& searchData,
                             std::function<void()> findNext)
    : QDialog(owner), FSearchData(searchData), FFindNext(std::move(findNext)) {
    setObjectName(QStringLiteral("SearchDialog"));
    setWindowTitle(QStringLiteral("Find"));
    setModal(false);

    auto* lblField = new QLabel(QStringLiteral("&Search:"), this);
    lblField->setObjectName(QStringLiteral("lblField"));
    cbField = new QComboBox(this);
    cbField->setObjectName(QStringLiteral("cbField"));
    cbField->addItems({QStringLiteral("Word/phrase"), QStringLiteral("Part of speech"),
                       QStringLiteral("Notes"), QStringLiteral("Translation(s)")});
    cbField->setMinimumWidth(121);
    cbField->setWhatsThis(QStringLiteral("The part of each item that is searched."));
    lblField->setBuddy(cbField);

    auto* lblFind = new QLabel(QStringLiteral("&Find:"), this);
    lblFind->setObjectName(QStringLiteral("lblFind"));
    edtFind = new TSymbolEdit(this);
    edtFind->setObjectName(QStringLiteral("edtFind"));
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(16);
    edtFind->setFont(font);
    edtFind->setMinimumWidth(279);
    edtFind->setWhatsThis(QStringLiteral("The text to search for."));
    lblFind->setBuddy(edtFind);

    auto check = [this](const char* name, const char* caption, const char* help) {
        auto* box = new QCheckBox(QString::fromLatin1(caption), this);
        box->setObjectName(QString::fromLatin1(name));
        box->setWhatsThis(QString::fromLatin1(help));
        return box;
    };
    chbMatchCase = check("chbMatchCase", "Match &case",
                         "Finds only text whose capital and small letters are as typed.");
    chbMatchAccents =
        check("chbMatchAccents", "Match &accents", "Finds only text whose accents are as typed.");
    chbMatchWord = check("chbMatchWord", "Match &whole word",
                         "Finds only whole words. Available when the text is a single word.");

    auto button = [this](const char* name, const char* caption, const QString& help) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setWhatsThis(help);
        return b;
    };
    btnFind = button("btnFind", "Find Next", QStringLiteral("Finds the next item with the text."));
    btnFind->setDefault(true);
    QPushButton* btnCancel = button("btnCancel", "Cancel", PopupHelpText(hcCancelButton));
    QPushButton* btnHelp = button("btnHelp", "&Help", PopupHelpText(hcHelpButton));

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblField, 0, 0);
    grid->addWidget(cbField, 0, 1, Qt::AlignLeft);
    grid->addWidget(lblFind, 1, 0);
    grid->addWidget(edtFind, 1, 1, 1, 2);
    grid->addWidget(chbMatchCase, 2, 1);
    grid->addWidget(chbMatchAccents, 3, 1);
    grid->addWidget(chbMatchWord, 3, 2);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(btnFind);
    buttons->addWidget(btnCancel);
    buttons->addWidget(btnHelp);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 3, 4, 1);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(edtFind, chbMatchCase);
    setTabOrder(chbMatchCase, chbMatchAccents);
    setTabOrder(chbMatchAccents, chbMatchWord);
    setTabOrder(chbMatchWord, btnFind);
    setTabOrder(btnFind, btnCancel);
    setTabOrder(btnCancel, btnHelp);
    setTabOrder(btnHelp, cbField);

    connect(btnFind, &QPushButton::clicked, this, &TSearchDialog::btnFindClick);
    // F3 repeats the search here too, as in the main window; the dialog's own
    // fields are what it searches for.
    auto* findAgain = new QShortcut(QKeySequence(Qt::Key_F3), this);
    connect(findAgain, &QShortcut::activated, this, [this] {
        if (btnFind->isEnabled())
            btnFindClick();
    });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnHelp, &QPushButton::clicked, this, [] { ShowHelpTopic(hcFindDialog); });
    connect(edtFind, &QLineEdit::textChanged, this, &TSearchDialog::edtFindChange);
    connect(cbField, &QComboBox::currentIndexChanged, this, [this] {
        if (!FLoading)
            cbFieldClick(!FKeyDown);
    });
    cbField->installEventFilter(this);
    cbField->view()->installEventFilter(this);
    EnablePopupHelp(this);
}

void TSearchDialog::SetLanguages(uint16_t foreignId, uint16_t nativeId) {
    FForeignLangID = foreignId;
    FNativeLangID = nativeId;
}

uint16_t TSearchDialog::SearchLanguage() const {
    return cbField->currentIndex() == fiWord ? FForeignLangID : FNativeLangID;
}

void TSearchDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TSearchDialog::FormShow() {
    FLoading = true;
    cbField->setCurrentIndex(std::clamp<int>(FSearchData.Field, 0, FieldCount - 1));
    // The stored text is in the searched language (a change of languages
    // that would make it meaningless empties it).
    edtFind->SetLanguage(SearchLanguage());
    edtFind->SetBytes(FSearchData.Text);
    chbMatchCase->setChecked(FSearchData.Options & soMatchCase);
    chbMatchAccents->setChecked(FSearchData.Options & soMatchAccents);
    chbMatchWord->setChecked(FSearchData.Options & soMatchWord);
    FLoading = false;
    cbFieldClick(false);
    edtFind->setFocus();
    edtFind->selectAll();
}

void TSearchDialog::cbFieldClick(bool byMouse) {
    const uint16_t language = SearchLanguage();
    // Characters of one character set mean nothing in another.
    if (LanguageCharset(language) != LanguageCharset(edtFind->Language()))
        edtFind->clear();
    edtFind->SetLanguage(language);
    edtFind->SetTag(cbField->currentIndex() == fiWord ? TagForeign : TagNative);
    edtFindChange();
    if (byMouse)
        edtFind->setFocus();
}

void TSearchDialog::edtFindChange() {
    const std::string text = edtFind->Bytes();
    const bool oneWord = text == LettersAndDigits(text, SearchLanguage(), false);
    chbMatchWord->setEnabled(oneWord);
    if (!oneWord)
        chbMatchWord->setChecked(false);
    btnFind->setEnabled(!text.empty());
}

void TSearchDialog::btnFindClick() {
    FSearchData.Text = edtFind->Bytes();
    FSearchData.Field = static_cast<uint8_t>(cbField->currentIndex());
    FSearchData.Options = static_cast<uint8_t>((chbMatchCase->isChecked() ? soMatchCase : 0) |
                                               (chbMatchAccents->isChecked() ? soMatchAccents : 0) |
                                               (chbMatchWord->isChecked() ? soMatchWord : 0));
    if (FFindNext)
        FFindNext();
    edtFind->setFocus();
}

bool TSearchDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (watched == cbField && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            edtFind->setFocus();
            return true;
        }
        FKeyDown = true;
    } else if (event->type() == QEvent::KeyRelease) {
        FKeyDown = false;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace vocalore
