#pragma once
// The Properties dialog: facts about the open document and its file, and the
// three properties the user edits (description, author, comments).

#include <QDialog>

#include <cstdint>
#include <string>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace vocalore {

class TShortenedLabel;

// Plain values copied out of the document and back; the dialog never sees it.
struct TPropertiesData {
    std::string FileName; // empty for an untitled document
    uint16_t ForeignLangID = 0;
    uint16_t NativeLangID = 0;
    int32_t Count = 0;
    // Properties 0, 1 and 2 as stored: bytes in the native language's code
    // page; line breaks of the comments as CR LF. Written back on OK.
    std::string Description;
    std::string Author;
    std::string Comments;
};

// "%d bytes", or from 1024 bytes on "1.50KB (1536 bytes)" with the user's
// separators in the kilobyte figure.
QString FileSizeText(qint64 size);

class TPropertiesDialog : public QDialog {
public:
    TPropertiesDialog(QWidget* owner, const TPropertiesData& data);

    // The edited properties in stored form. A field the user left unchanged
    // gives back exactly the stored bytes.
    std::string Description() const;
    std::string Author() const;
    std::string Comments() const;

    // Runs the dialog modally; on OK writes the three properties back.
    static bool Execute(QWidget* owner, TPropertiesData& data);

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    std::string Stored(const QString& shown, const QString& initial,
                       const std::string& initialBytes, bool comments) const;
    void FillFileFacts();

    TPropertiesData FData;
    QString FInitialDescription, FInitialAuthor, FInitialComments;
    QTabWidget* pcProperties;
    TShortenedLabel* stLocation;
    QLabel* stSize;
    QLabel* stModified;
    QLineEdit* edtDescription;
    QLineEdit* edtAuthor;
    QPlainTextEdit* memComments;
    QPushButton* btnOK;
};

} // namespace vocalore
