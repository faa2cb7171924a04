#include "PropertiesDialog.h"

#include "ui/common/DialogHelpers.h"
#include "ui/window/Help.h"
#include "ui/window/ToolImages.h"

#include "core/CodePage.h"
#include "core/DisplayRules.h"
#include "core/Languages.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QFileInfo>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QValidator>

namespace vocalore {

namespace {

constexpr int locationWidth = 260;

QString Decode(const std::string& bytes, uint16_t languageId, bool comments) {
    QString text = QString::fromStdU16String(ToUtf16(bytes, languageId));
    if (comments) {
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(u'\r', u'\n');
    }
    return text;
}

// Characters the code page can't hold never get into the text, so nothing is
// lost silently on the way back to bytes.
QString Encodable(const QString& text, const TCodePage& codePage) {
    QString result;
    result.reserve(text.size());
    for (QChar ch : text)
        if (codePage.Encode(ch.unicode()))
            result += ch;
    return result;
}

class TCodePageValidator : public QValidator {
public:
    TCodePageValidator(const TCodePage& codePage, QObject* parent)
        : QValidator(parent), FCodePage(codePage) {}
    State validate(QString& input, int&) const override {
        return FCodePage.CanEncode(input.toStdU16String()) ? Acceptable : Invalid;
    }

private:
    const TCodePage& FCodePage;
};

QLabel* NewLabel(const char* name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QLabel* NewStatic(const char* name, QWidget* parent) {
    QLabel* label = NewLabel(name, {}, parent);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

TShortenedLabel* NewShortened(const char* name, TShortenedLabel::TShorten shorten,
                              QWidget* parent) {
    auto* label = new TShortenedLabel(std::move(shorten), locationWidth, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QFrame* Line(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

// The user's long time format with seconds but without a time zone.
QString LongTimeFormat() {
    QString format = QLocale().timeFormat(QLocale::LongFormat);
    format.remove(u't');
    return format.trimmed();
}

} // namespace

QString FileSizeText(qint64 size) {
    QString bytes = QStringLiteral("%1 bytes").arg(size);
    if (size <= 1023)
        return bytes;
    return QLocale().toString(static_cast<double>(size) / 1024.0, 'f', 2) + QStringLiteral("KB (") +
           bytes + u')';
}

TPropertiesDialog::TPropertiesDialog(QWidget* owner, const TPropertiesData& data)
    : QDialog(owner), FData(data) {
    setObjectName(QStringLiteral("PropertiesDialog"));
    setWindowTitle(QStringLiteral("Properties"));
    const TCodePage& nativePage = TCodePage::ForLanguage(data.NativeLangID);

    pcProperties = new QTabWidget(this);
    pcProperties->setObjectName(QStringLiteral("pcProperties"));

    // General: the file.
    auto* tsGeneral = new QWidget;
    tsGeneral->setObjectName(QStringLiteral("tsGeneral"));
    auto* imgIcon = NewLabel("imgIcon", {}, tsGeneral);
    imgIcon->setPixmap(DocumentPicture());
    imgIcon->setFixedSize(32, 32);
    auto* stDocumentTitle =
        NewShortened("stDocumentTitle", &TShortenedLabel::ElideMiddle, tsGeneral);
    stDocumentTitle->SetFullText(QString::fromStdString(DocumentTitle(data.FileName)));
    stLocation = NewShortened("stLocation", &TShortenedLabel::ShortenPathText, tsGeneral);
    stLocation->setMinimumWidth(locationWidth);
    stSize = NewStatic("stSize", tsGeneral);
    stModified = NewStatic("stModified", tsGeneral);
    auto* chbReadOnly = new QCheckBox(QStringLiteral("Read-only"), tsGeneral);
    chbReadOnly->setObjectName(QStringLiteral("chbReadOnly"));
    auto* chbHidden = new QCheckBox(QStringLiteral("Hidden"), tsGeneral);
    chbHidden->setObjectName(QStringLiteral("chbHidden"));
    auto* chbArchive = new QCheckBox(QStringLiteral("Archive"), tsGeneral);
    chbArchive->setObjectName(QStringLiteral("chbArchive"));
    auto* chbSystem = new QCheckBox(QStringLiteral("System"), tsGeneral);
    chbSystem->setObjectName(QStringLiteral("chbSystem"));
    for (QCheckBox* box : {chbReadOnly, chbHidden, chbArchive, chbSystem})
        box->setEnabled(false);

    auto* general = new QGridLayout(tsGeneral);
    general->setColumnMinimumWidth(0, 80);
    general->addWidget(imgIcon, 0, 0);
    general->addWidget(stDocumentTitle, 0, 1, 1, 2);
    general->addWidget(Line(tsGeneral), 1, 0, 1, 3);
    general->addWidget(NewLabel("lblLocation", QStringLiteral("Location:"), tsGeneral), 2, 0);
    general->addWidget(stLocation, 2, 1, 1, 2);
    general->addWidget(NewLabel("lblSize", QStringLiteral("Size:"), tsGeneral), 3, 0);
    general->addWidget(stSize, 3, 1, 1, 2);
    general->addWidget(Line(tsGeneral), 4, 0, 1, 3);
    general->addWidget(NewLabel("lblModified", QStringLiteral("Modified:"), tsGeneral), 5, 0);
    general->addWidget(stModified, 5, 1, 1, 2);
    general->addWidget(Line(tsGeneral), 6, 0, 1, 3);
    general->addWidget(NewLabel("lblAttributes", QStringLiteral("Attributes:"), tsGeneral), 7, 0);
    general->addWidget(chbReadOnly, 7, 1);
    general->addWidget(chbHidden, 7, 2);
    general->addWidget(chbArchive, 8, 1);
    general->addWidget(chbSystem, 8, 2);
    general->setRowStretch(9, 1);

    // Summary: the properties and the languages.
    auto* tsSummary = new QWidget;
    tsSummary->setObjectName(QStringLiteral("tsSummary"));
    edtDescription = new QLineEdit(tsSummary);
    edtDescription->setObjectName(QStringLiteral("edtDescription"));
    edtAuthor = new QLineEdit(tsSummary);
    edtAuthor->setObjectName(QStringLiteral("edtAuthor"));
    memComments = new QPlainTextEdit(tsSummary);
    memComments->setObjectName(QStringLiteral("memComments"));
    memComments->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memComments->setTabChangesFocus(true);
    memComments->setFixedHeight(memComments->fontMetrics().lineSpacing() * 4 + 10);
    for (QLineEdit* edit : {edtDescription, edtAuthor}) {
        edit->setValidator(new TCodePageValidator(nativePage, edit));
        edit->setMinimumWidth(locationWidth);
    }
    FInitialDescription = Decode(data.Description, data.NativeLangID, false);
    FInitialAuthor = Decode(data.Author, data.NativeLangID, false);
    FInitialComments = Decode(data.Comments, data.NativeLangID, true);
    edtDescription->setText(FInitialDescription);
    edtAuthor->setText(FInitialAuthor);
    memComments->setPlainText(FInitialComments);
    connect(memComments, &QPlainTextEdit::textChanged, this, [this, page = &nativePage] {
        const QString text = memComments->toPlainText();
        const QString kept = Encodable(text, *page);
        if (kept == text)
            return;
        QApplication::beep();
        QTextCursor cursor = memComments->textCursor();
        const int position = cursor.position() - static_cast<int>(text.size() - kept.size());
        memComments->setPlainText(kept);
        cursor = memComments->textCursor();
        cursor.setPosition(std::clamp(position, 0, static_cast<int>(kept.size())));
        memComments->setTextCursor(cursor);
    });

    auto* lblTitle = NewLabel("lblTitle", QStringLiteral("&Description:"), tsSummary);
    lblTitle->setBuddy(edtDescription);
    auto* lblAuthor = NewLabel("lblAuthor", QStringLiteral("&Author:"), tsSummary);
    lblAuthor->setBuddy(edtAuthor);
    auto* lblComments = NewLabel("lblComments", QStringLiteral("&Comments:"), tsSummary);
    lblComments->setBuddy(memComments);
    lblComments->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* stWords = NewStatic("stWords", tsSummary);
    stWords->setText(QString::number(data.Count));

    auto* gbLanguages = new QGroupBox(QStringLiteral(" Languages: "), tsSummary);
    gbLanguages->setObjectName(QStringLiteral("gbLanguages"));
    auto* stForeign = NewStatic("stForeign", gbLanguages);
    stForeign->setText(QString::fromStdString(LanguageName(data.ForeignLangID)));
    auto* stNative = NewStatic("stNative", gbLanguages);
    stNative->setText(QString::fromStdString(LanguageName(data.NativeLangID)));
    auto* languages = new QFormLayout(gbLanguages);
    languages->addRow(NewLabel("lblForeign", QStringLiteral("Foreign:"), gbLanguages), stForeign);
    languages->addRow(NewLabel("lblNative", QStringLiteral("Native:"), gbLanguages), stNative);

    auto* summary = new QFormLayout(tsSummary);
    summary->addRow(lblTitle, edtDescription);
    summary->addRow(lblAuthor, edtAuthor);
    summary->addRow(lblComments, memComments);
    summary->addRow(NewLabel("lblWords", QStringLiteral("Words:"), tsSummary), stWords);
    summary->addRow(gbLanguages);

    pcProperties->addTab(tsGeneral, QStringLiteral("General"));
    pcProperties->addTab(tsSummary, QStringLiteral("Summary"));

    const TDialogButtons dialogButtons = AddDialogButtons(this, hcPropertiesDialog);
    btnOK = dialogButtons.OK;
    edtDescription->setWhatsThis(QStringLiteral("A short description of the file, for example the "
                                                "textbook and chapter the words come from."));
    edtAuthor->setWhatsThis(
        QStringLiteral("The name of the person who wrote the vocabulary list."));
    memComments->setWhatsThis(
        QStringLiteral("Any remarks about the file. Press Enter to start a new line."));

    LayOutAboveButtonRow(this, pcProperties, dialogButtons);

    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    memComments->installEventFilter(this);

    FillFileFacts();
    pcProperties->setCurrentWidget(tsSummary);
    edtDescription->setFocus(Qt::OtherFocusReason);
    EnablePopupHelp(this);
    PlaceDialog(this, owner);
}

void TPropertiesDialog::FillFileFacts() {
    if (FData.FileName.empty())
        return;
    const QFileInfo info(QString::fromStdString(FData.FileName));
    const QString folder = info.absolutePath();
    stLocation->SetFullText(folder);
    if (!info.exists())
        return;
    stSize->setText(FileSizeText(info.size()));
    const QDateTime modified = info.lastModified().toLocalTime();
    const QLocale locale;
    stModified->setText(locale.toString(modified.date(), QLocale::ShortFormat) + u' ' +
                        locale.toString(modified.time(), LongTimeFormat()));
    // Without write permission for its owner the file counts as read-only; a
    // leading dot hides it. Archive and system have no equivalent here.
    findChild<QCheckBox*>(QStringLiteral("chbReadOnly"))
        ->setChecked(!info.permission(QFileDevice::WriteOwner));
    findChild<QCheckBox*>(QStringLiteral("chbHidden"))->setChecked(info.isHidden());
}

bool TPropertiesDialog::eventFilter(QObject* watched, QEvent* event) {
    // Enter makes a new line in the comments, so OK is not the default
    // button while they have the focus.
    if (watched == memComments) {
        if (event->type() == QEvent::FocusIn)
            btnOK->setDefault(false);
        else if (event->type() == QEvent::FocusOut)
            btnOK->setDefault(true);
    }
    return QDialog::eventFilter(watched, event);
}

std::string TPropertiesDialog::Stored(const QString& shown, const QString& initial,
                                      const std::string& initialBytes, bool comments) const {
    if (shown == initial)
        return initialBytes;
    QString text = shown;
    if (comments)
        text.replace(u'\n', QStringLiteral("\r\n"));
    const TCodePage& codePage = TCodePage::ForLanguage(FData.NativeLangID);
    if (auto bytes = codePage.FromUtf16(text.toStdU16String()))
        return *bytes;
    return codePage.FromUtf16(Encodable(text, codePage).toStdU16String()).value_or(std::string());
}

std::string TPropertiesDialog::Description() const {
    return Stored(edtDescription->text(), FInitialDescription, FData.Description, false);
}

std::string TPropertiesDialog::Author() const {
    return Stored(edtAuthor->text(), FInitialAuthor, FData.Author, false);
}

std::string TPropertiesDialog::Comments() const {
    return Stored(memComments->toPlainText(), FInitialComments, FData.Comments, true);
}

bool TPropertiesDialog::Execute(QWidget* owner, TPropertiesData& data) {
    TPropertiesDialog dialog(owner, data);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    data.Description = dialog.Description();
    data.Author = dialog.Author();
    data.Comments = dialog.Comments();
    return true;
}

} // namespace vocalore
