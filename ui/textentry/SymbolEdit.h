#pragma once
// The single-line edit of all vocabulary text: it holds text of one language,
// accepts only characters that language's code page can hold, and opens the
// character picker on a context-menu request instead of the edit menu.

#include <QLineEdit>
#include <QPointer>

#include <cstdint>
#include <string>
#include <string_view>

namespace vocalore {

class TSymbolForm;

// The control tag convention: the keyboard switching reads a focused control's
// tag to know the language of its text.
inline constexpr int TagForeign = -1;
inline constexpr int TagNative = -2;
int ControlTag(const QObject* control);
void SetControlTag(QObject* control, int tag);

class TSymbolEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TSymbolEdit(QWidget* parent = nullptr);
    ~TSymbolEdit() override;

    // The language of the text: its code page decides which characters the
    // edit accepts and which the picker shows. Text the new code page can't
    // hold is dropped.
    void SetLanguage(uint16_t languageId);
    uint16_t Language() const { return FLanguage; }

    // -1 foreign, -2 native, anything else neither.
    void SetTag(int tag) { SetControlTag(this, tag); }
    int Tag() const { return ControlTag(this); }

    // The text as bytes of the language's code page.
    std::string Bytes() const;
    void SetBytes(std::string_view bytes);

    // The character picker it has open, or nullptr. A context-menu request
    // (right-button release, the menu key, Shift+F10) opens it under the
    // field; Enter inserts the selected character and closes it, Escape and
    // the loss of focus close it. While it is open the arrow keys move its
    // selection, typed characters, Backspace and Delete still edit.
    TSymbolForm* Picker() const;
    void OpenPicker();
    void ClosePicker();
    // A mouse button released over the picker (insert = true) or elsewhere.
    void PickerChoice(bool insert);

    // Pastes the clipboard's text (or the X11 selection) at the caret, each
    // character the code page lacks replaced by its closest letters or
    // dropped; beeps when anything was changed.
    void PasteFitted(bool selection = false);

signals:
    // Emitted with each beep: a character refused, a paste changed.
    void Beeped();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // Dragged text, fitted to the code page as a paste is.
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void InsertSelected();
    void Beep();

    uint16_t FLanguage = 0x0409;
    QPointer<TSymbolForm> FPicker;
};

} // namespace vocalore
