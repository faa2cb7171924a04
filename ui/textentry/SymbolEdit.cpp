#include "SymbolEdit.h"

#include "ui/textentry/SymbolForm.h"

#include "core/CodePage.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QValidator>
#include <QVariant>

namespace vocalore {

namespace {

constexpr const char* TagProperty = "vocaloreTag";

class TCodePageValidator final : public QValidator {
public:
    TCodePageValidator(uint16_t languageId, QObject* parent)
        : QValidator(parent), FCodePage(TCodePage::ForLanguage(languageId)) {}
    State validate(QString& input, int&) const override {
        return FCodePage.CanEncode(input.toStdU16String()) ? Acceptable : Invalid;
    }

private:
    const TCodePage& FCodePage;
};

} // namespace

int ControlTag(const QObject* control) {
    return control ? control->property(TagProperty).toInt() : 0;
}

void SetControlTag(QObject* control, int tag) { control->setProperty(TagProperty, tag); }

TSymbolEdit::TSymbolEdit(QWidget* parent) : QLineEdit(parent) {
    setTextMargins(2, 0, 2, 0);
    SetLanguage(FLanguage);
}

TSymbolEdit::~TSymbolEdit() { ClosePicker(); }

void TSymbolEdit::SetLanguage(uint16_t languageId) {
    const std::string bytes = Bytes();
    FLanguage = languageId;
    delete validator();
    setValidator(new TCodePageValidator(languageId, this));
    SetBytes(bytes);
}

std::string TSymbolEdit::Bytes() const {
    const std::u16string text = this->text().toStdU16String();
    const TCodePage& codePage = TCodePage::ForLanguage(FLanguage);
    std::string bytes;
    bytes.reserve(text.size());
    for (const char16_t ch : text)
        if (const auto byte = codePage.Encode(ch))
            bytes += static_cast<char>(*byte);
    return bytes;
}

void TSymbolEdit::SetBytes(std::string_view bytes) {
    setText(QString::fromStdU16String(ToUtf16(bytes, FLanguage)));
}

} // namespace vocalore

namespace vocalore {

TSymbolForm* TSymbolEdit::Picker() const { return FPicker; }

void TSymbolEdit::OpenPicker() {
    if (FPicker)
        return;
    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    FPicker = new TSymbolForm(this);
    FPicker->show();
    FPicker->grabMouse();
    // Enter and Escape belong to the picker, before the dialog's default and
    // cancel buttons or the window's own keys can take them.
    qApp->installEventFilter(this);
}

void TSymbolEdit::ClosePicker() {
    if (!FPicker)
        return;
    qApp->removeEventFilter(this);
    TSymbolForm* picker = FPicker;
    FPicker = nullptr;
    picker->releaseMouse();
    picker->close(); // deletes itself
    QGuiApplication::restoreOverrideCursor();
}

void TSymbolEdit::PickerChoice(bool insert) {
    if (insert)
        InsertSelected();
    ClosePicker();
}

void TSymbolEdit::InsertSelected() {
    // Typed at the caret, over any selected text; the validator refuses
    // what the code page can't hold, and a read-only field takes nothing.
    const QString ch = FPicker ? FPicker->SelectedChar() : QString();
    if (!ch.isEmpty() && !isReadOnly())
        insert(ch);
}

void TSymbolEdit::contextMenuEvent(QContextMenuEvent* event) {
    // Never the edit menu. A mouse request opens the picker on the release
    // of the button, so that the release doesn't close it again at once.
    event->accept();
    if (event->reason() != QContextMenuEvent::Mouse) {
        setFocus(Qt::OtherFocusReason);
        OpenPicker();
    }
}

void TSymbolEdit::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void TSymbolEdit::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton && rect().contains(event->position().toPoint())) {
        event->accept();
        setFocus(Qt::MouseFocusReason);
        OpenPicker();
        return;
    }
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection() &&
        rect().contains(event->position().toPoint())) {
        event->accept();
        deselect();
        PasteFitted(true);
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void TSymbolEdit::Beep() {
    QApplication::beep();
    emit Beeped();
}

void TSymbolEdit::PasteFitted(bool selection) {
    if (isReadOnly())
        return;
    const QString clip = QGuiApplication::clipboard()->text(selection ? QClipboard::Selection
                                                                      : QClipboard::Clipboard);
    bool changed = false;
    const std::u16string fitted =
        TCodePage::ForLanguage(FLanguage).BestFit(clip.toStdU16String(), changed);
    if (!fitted.empty() || hasSelectedText())
        insert(QString::fromStdU16String(fitted));
    if (changed)
        Beep();
}

void TSymbolEdit::dropEvent(QDropEvent* event) {
    const QMimeData* data = event->mimeData();
    if (isReadOnly() || !data || !data->hasText()) {
        QLineEdit::dropEvent(event);
        return;
    }
    bool changed = false;
    const std::u16string fitted =
        TCodePage::ForLanguage(FLanguage).BestFit(data->text().toStdU16String(), changed);
    if (!changed) {
        QLineEdit::dropEvent(event);
        return;
    }
    // The validator would refuse the whole text for one letter it lacks; the
    // edit is handed the fitted text instead, where the user dropped it.
    if (!fitted.empty()) {
        QMimeData fittedData;
        fittedData.setText(QString::fromStdU16String(fitted));
        QDropEvent fittedDrop(event->position(), event->possibleActions(), &fittedData,
                              event->buttons(), event->modifiers());
        fittedDrop.setDropAction(event->dropAction());
        QLineEdit::dropEvent(&fittedDrop);
        event->setDropAction(fittedDrop.dropAction());
        event->setAccepted(fittedDrop.isAccepted());
    } else {
        event->ignore();
    }
    Beep();
}

void TSymbolEdit::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (event->matches(QKeySequence::Paste)) {
        event->accept();
        PasteFitted();
        return;
    }
    // A character the code page can't hold, typed, composed or from a
    // shortcut: refused, but not in silence.
    const QString text = event->text();
    if (!text.isEmpty() && text.front() >= u' ' && text.front() != u'\x7F' && !isReadOnly() &&
        !TCodePage::ForLanguage(FLanguage).CanEncode(text.toStdU16String())) {
        event->accept();
        Beep();
        return;
    }
    if (!FPicker) {
        if (key == Qt::Key_Menu ||
            (key == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)) {
            event->accept();
            OpenPicker();
            return;
        }
        QLineEdit::keyPressEvent(event);
        return;
    }
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        PickerChoice(true);
        return;
    case Qt::Key_Escape:
        event->accept();
        PickerChoice(false);
        return;
    case Qt::Key_Delete:
        QLineEdit::keyPressEvent(event);
        return;
    default:
        break;
    }
    // Keys that type something (letters, Backspace, Ctrl+C) edit as usual;
    // the others are the picker's, where only the arrows do anything.
    if (!event->text().isEmpty()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    FPicker->NavigationKey(key);
}

void TSymbolEdit::focusOutEvent(QFocusEvent* event) {
    ClosePicker();
    QLineEdit::focusOutEvent(event);
}

bool TSymbolEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched != this || !FPicker)
        return false;
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        break;
    default:
        return false;
    }
    if (event->type() == QEvent::ShortcutOverride) {
        key->accept();
        return true;
    }
    keyPressEvent(key);
    return true;
}

} // namespace vocalore
