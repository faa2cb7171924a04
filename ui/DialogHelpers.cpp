#include "DialogHelpers.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QLocale>
#include <QScreen>
#include <QWidget>

#include <climits>

namespace vocalore {

namespace {

std::function<void(bool)>& KeyboardSwitch()
{
    static std::function<void(bool)> switchKeyboard;
    return switchKeyboard;
}

QString ControlText(QWidget* control)
{
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        return edit->text();
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(control))
        return spin->text();
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return combo->currentText();
    return {};
}

void RefuseField(QWidget* control, const QString& message)
{
    ShowMessageBox(message, {}, TMsgIcon::Warning, mbOK, mbNone, control ? control->window() : nullptr);
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->selectAll();
    if (control)
        control->setFocus(Qt::OtherFocusReason);
}

// Size of a dialog that may not have been laid out yet.
QSize DialogSize(QWidget* dialog)
{
    if (dialog->testAttribute(Qt::WA_Resized) || dialog->isVisible())
        return dialog->frameGeometry().size();
    return dialog->sizeHint().expandedTo(dialog->minimumSize());
}

// Truncating toward zero like the integer division of the placement rule.
int Half(int value) { return value / 2; }

} // namespace

TMsgButton ShowMessageBox(const QString& text, const QString& caption, TMsgIcon icon, TMsgButtons buttons,
                          TMsgButton defaultButton, QWidget* parent)
{
    if (KeyboardSwitch())
        KeyboardSwitch()(true);
    TMessageRequest request;
    request.Parent = parent ? parent : QApplication::activeWindow();
    request.Text = text;
    request.Caption = caption.isEmpty() ? QString::fromLatin1(ProductName) : caption;
    request.Icon = icon;
    request.Buttons = buttons;
    request.DefaultButton = defaultButton;
    const TMsgButton answer = TPromptService::Instance().MessageBox(request);
    if (KeyboardSwitch())
        KeyboardSwitch()(false);
    return answer;
}

void SetKeyboardSwitch(std::function<void(bool toDefault)> switchKeyboard)
{
    KeyboardSwitch() = std::move(switchKeyboard);
}

void PlaceDialog(QWidget* dialog, QWidget* owner)
{
    if (!dialog)
        return;
    if (owner) {
        const QRect frame = owner->window()->frameGeometry();
        const QSize size = DialogSize(dialog);
        dialog->move(frame.left() + Half(frame.width() - size.width()),
                     frame.top() + Half(frame.height() - size.height()));
    }
    KeepOnScreen(dialog);
}

void KeepOnScreen(QWidget* window)
{
    if (!window)
        return;
    QScreen* screen = window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect work = screen->availableGeometry();
    const QSize size = DialogSize(window);
    QPoint pos = window->pos();
    // Right and bottom edges first, then a negative left or top becomes the
    // work area's origin, so a window larger than the screen shows its top left.
    if (pos.x() + size.width() > work.right() + 1)
        pos.setX(work.right() + 1 - size.width());
    if (pos.y() + size.height() > work.bottom() + 1)
        pos.setY(work.bottom() + 1 - size.height());
    if (pos.x() < work.left())
        pos.setX(work.left());
    if (pos.y() < work.top())
        pos.setY(work.top());
    window->move(pos);
}

long long ParseIntField(const QString& text, int minimum)
{
    bool ok = false;
    const long long value = text.trimmed().toLongLong(&ok, 10);
    if (!ok)
        return static_cast<long long>(minimum) - 1;
    return value;
}

double ParseRealField(const QString& text, double minimum)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    double value = QLocale().toDouble(trimmed, &ok);
    if (!ok)
        value = QLocale::c().toDouble(trimmed, &ok);
    return ok ? value : minimum - 1;
}

bool CheckIntField(QWidget* control, int minimum, int maximum)
{
    const long long value = ParseIntField(ControlText(control), minimum);
    if (value >= minimum && value <= maximum)
        return true;
    RefuseField(control, QString::asprintf("Number must be between %d and %d.", minimum, maximum));
    return false;
}

bool CheckRealField(QWidget* control, double minimum, double maximum)
{
    const double value = ParseRealField(ControlText(control), minimum);
    if (value >= minimum && value <= maximum)
        return true;
    RefuseField(control, QString::asprintf("Number must be between %g and %g.", minimum, maximum));
    return false;
}

} // namespace vocalore
