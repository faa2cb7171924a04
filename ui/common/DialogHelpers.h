#pragma once
// Small helpers every window and dialog shares: the one message box, dialog
// placement over the owner, and the range checks of number fields.

#include "ui/common/PromptService.h"

#include <QLabel>
#include <QString>

#include <functional>
#include <map>

class QDialog;
class QPushButton;
class QWidget;

namespace vocalore {

inline constexpr const char* ProductName = "Vocalore";

// Shows a message box through the prompt service. An empty caption means the
// product name. The default keyboard layout is active while the box is open.
TMsgButton ShowMessageBox(const QString& text, const QString& caption = {},
                          TMsgIcon icon = TMsgIcon::Information, TMsgButtons buttons = mbOK,
                          TMsgButton defaultButton = mbNone, QWidget* parent = nullptr,
                          const std::map<TMsgButton, QString>& buttonTexts = {});

// The keyboard switching of the language services, called with true before a
// message box (the default layout) and with false after it (the layout of the
// focused control). Without one installed nothing switches.
void SetKeyboardSwitch(std::function<void(bool toDefault)> switchKeyboard);
// The default layout for as long as it lives, the focused control's layout
// again after: around message boxes and the file and print dialogs.
class TDefaultKeyboardScope {
public:
    TDefaultKeyboardScope();
    ~TDefaultKeyboardScope();
    TDefaultKeyboardScope(const TDefaultKeyboardScope&) = delete;
    TDefaultKeyboardScope& operator=(const TDefaultKeyboardScope&) = delete;

    // Whether such a scope is open. The window's idle pass then leaves the
    // layout alone: the box may not have the focus yet, and the field that
    // still has it would bring its own layout back under the box.
    static bool Open();
};

// The focused control as commands judge it: while the menu bar or one of its
// menus holds the keyboard (Alt+T), the control that had the focus before.
QWidget* CommandFocusWidget();

// A label named `name` whose mnemonic focuses `buddy`.
QLabel* BuddyLabel(const char* caption, const char* name, QWidget* buddy, QWidget* parent);

// Centres the dialog over its owner, then keeps it inside the work area.
// Without an owner (or a hidden one) the dialog is only kept on screen.
void PlaceDialog(QWidget* dialog, QWidget* owner);
// Moves a top-level window so that it lies inside its screen's work area.
void KeepOnScreen(QWidget* window);

// The OK, Cancel and Help buttons a dialog ends with: named btnOK, btnCancel
// and btnHelp, OK the default, each with its pop-up help. Cancel rejects and
// Help opens the dialog's topic; what OK does is the dialog's own.
struct TDialogButtons {
    QPushButton* OK;
    QPushButton* Cancel;
    QPushButton* Help;
};
TDialogButtons AddDialogButtons(QDialog* dialog, int helpContext);
// The usual layout: the content above, the three buttons in a row at the right
// below it, and a size that fits the content.
void LayOutAboveButtonRow(QDialog* dialog, QWidget* content, const TDialogButtons& buttons);

// A one-line label that shortens its text to the width the layout gives it, so
// a long file name never widens its dialog past the screen. It asks for no more
// than preferredWidth pixels; the full text is its tool tip.
class TShortenedLabel : public QLabel {
public:
    using TShorten =
        std::function<QString(const QString& text, int width, const QFontMetrics& metrics)>;
    TShortenedLabel(TShorten shorten, int preferredWidth, QWidget* parent = nullptr);
    void SetFullText(const QString& text);
    const QString& FullText() const { return FFullText; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The two ways of shortening: the middle of a name, or a path's folders.
    static QString ElideMiddle(const QString& text, int width, const QFontMetrics& metrics);
    static QString ShortenPathText(const QString& path, int width, const QFontMetrics& metrics);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    TShorten FShorten;
    int FPreferredWidth;
    QString FFullText;
};

// Range checks of number fields (QLineEdit, spin boxes, editable combo boxes).
// On failure they show "Number must be between ..." with a warning icon,
// select the text of a line edit and focus the control.
bool CheckIntField(QWidget* control, int minimum, int maximum);
bool CheckRealField(QWidget* control, double minimum, double maximum);

} // namespace vocalore
