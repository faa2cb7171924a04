#include "DialogHelpers.h"

#include "ui/window/Help.h"

#include "core/DisplayRules.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>

#include <climits>

namespace vocalore {

namespace {

std::function<void(bool)>& KeyboardSwitch() {
    static std::function<void(bool)> switchKeyboard;
    return switchKeyboard;
}

int OpenDefaultKeyboardScopes = 0;

QString ControlText(QWidget* control) {
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        return edit->text();
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(control))
        return spin->text();
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return combo->currentText();
    return {};
}

void RefuseField(QWidget* control, const QString& message) {
    ShowMessageBox(message, {}, TMsgIcon::Warning, mbOK, mbNone,
                   control ? control->window() : nullptr);
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->selectAll();
    if (control)
        control->setFocus(Qt::OtherFocusReason);
}

// Size of a dialog that may not have been laid out yet.
QSize DialogSize(QWidget* dialog) {
    if (dialog->testAttribute(Qt::WA_Resized) || dialog->isVisible())
        return dialog->frameGeometry().size();
    return dialog->sizeHint().expandedTo(dialog->minimumSize());
}

TScreenRect ToRect(QPoint pos, QSize size) {
    return {pos.x(), pos.y(), pos.x() + size.width(), pos.y() + size.height()};
}

TScreenRect ToRect(const QRect& r) { return ToRect(r.topLeft(), r.size()); }

// The screen without task bars and panels; the whole screen when unknown.
TScreenRect WorkArea(QWidget* window) {
    // The screen the window stands on; one that lies on no screen (a monitor
    // since unplugged) is brought to its own or the primary one.
    QScreen* screen = QGuiApplication::screenAt(window->frameGeometry().center());
    if (!screen)
        screen = window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {INT32_MIN / 2, INT32_MIN / 2, INT32_MAX / 2, INT32_MAX / 2};
    return ToRect(screen->availableGeometry());
}

} // namespace

TMsgButton ShowMessageBox(const QString& text, const QString& caption, TMsgIcon icon,
                          TMsgButtons buttons, TMsgButton defaultButton, QWidget* parent,
                          const std::map<TMsgButton, QString>& buttonTexts) {
    const TDefaultKeyboardScope defaultKeyboard;
    TMessageRequest request;
    request.Parent = parent ? parent : QApplication::activeWindow();
    request.Text = text;
    request.Caption = caption.isEmpty() ? QString::fromLatin1(ProductName) : caption;
    request.Icon = icon;
    request.Buttons = buttons;
    request.DefaultButton = defaultButton;
    request.ButtonTexts = buttonTexts;
    return TPromptService::Instance().MessageBox(request);
}

void SetKeyboardSwitch(std::function<void(bool toDefault)> switchKeyboard) {
    KeyboardSwitch() = std::move(switchKeyboard);
}

TDefaultKeyboardScope::TDefaultKeyboardScope() {
    ++OpenDefaultKeyboardScopes;
    if (KeyboardSwitch())
        KeyboardSwitch()(true);
}

TDefaultKeyboardScope::~TDefaultKeyboardScope() {
    --OpenDefaultKeyboardScopes;
    if (KeyboardSwitch())
        KeyboardSwitch()(false);
}

bool TDefaultKeyboardScope::Open() { return OpenDefaultKeyboardScopes > 0; }

namespace {

bool IsMenu(const QWidget* widget) {
    return qobject_cast<const QMenuBar*>(widget) || qobject_cast<const QMenu*>(widget);
}

} // namespace

QWidget* CommandFocusWidget() {
    static QPointer<QWidget> before;
    static const bool tracking = [] {
        before = QApplication::focusWidget();
        QObject::connect(qApp, &QApplication::focusChanged, qApp, [](QWidget*, QWidget* now) {
            if (now && !IsMenu(now))
                before = now;
        });
        return true;
    }();
    (void)tracking;
    QWidget* focus = QApplication::focusWidget();
    if (IsMenu(focus) || (!focus && qobject_cast<QMenu*>(QApplication::activePopupWidget())))
        return before;
    return focus;
}

QLabel* BuddyLabel(const char* caption, const char* name, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(QString::fromLatin1(caption), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setBuddy(buddy);
    return label;
}

void PlaceDialog(QWidget* dialog, QWidget* owner) {
    if (!dialog)
        return;
    if (!owner) {
        KeepOnScreen(dialog);
        return;
    }
    // Before the dialog is mapped its frame is not known yet: it will have the
    // owner's, and is centred with it.
    QSize size = DialogSize(dialog);
    const QWidget* ownerWindow = owner->window();
    if (dialog->frameGeometry().size() == dialog->geometry().size())
        size += ownerWindow->frameGeometry().size() - ownerWindow->geometry().size();
    const TScreenRect placed = PlaceDialog(ToRect(dialog->pos(), size),
                                           ToRect(ownerWindow->frameGeometry()), WorkArea(owner));
    dialog->move(placed.Left, placed.Top);
}

void KeepOnScreen(QWidget* window) {
    if (!window)
        return;
    const TScreenRect work = WorkArea(window);
    const QSize fits = window->size().boundedTo(QSize(work.Width(), work.Height()));
    if (fits != window->size() && window->isWindow())
        window->resize(fits);
    const TScreenRect kept =
        KeepOnScreen(ToRect(window->pos(), DialogSize(window)), WorkArea(window));
    window->move(kept.Left, kept.Top);
}

TDialogButtons AddDialogButtons(QDialog* dialog, int helpContext) {
    auto button = [dialog](const char* caption, const char* name, int popupContext) {
        auto* b = new QPushButton(QString::fromLatin1(caption), dialog);
        b->setObjectName(QString::fromLatin1(name));
        SetPopupHelp(b, popupContext);
        return b;
    };
    const TDialogButtons buttons{button("OK", "btnOK", hcOKButton),
                                 button("Cancel", "btnCancel", hcCancelButton),
                                 button("&Help", "btnHelp", hcHelpButton)};
    buttons.OK->setDefault(true);
    QObject::connect(buttons.Cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    QObject::connect(buttons.Help, &QPushButton::clicked, dialog,
                     [helpContext] { ShowHelpTopic(helpContext); });
    return buttons;
}

void LayOutAboveButtonRow(QDialog* dialog, QWidget* content, const TDialogButtons& buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(buttons.OK);
    row->addWidget(buttons.Cancel);
    row->addWidget(buttons.Help);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(content);
    layout->addLayout(row);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

TShortenedLabel::TShortenedLabel(TShorten shorten, int preferredWidth, QWidget* parent)
    : QLabel(parent), FShorten(std::move(shorten)), FPreferredWidth(preferredWidth) {}

void TShortenedLabel::SetFullText(const QString& text) {
    FFullText = text;
    setToolTip(text);
    // Until the layout has given the label its width, the whole text stands.
    setText(testAttribute(Qt::WA_PendingResizeEvent) ? text
                                                     : FShorten(text, width(), fontMetrics()));
    updateGeometry();
}

QSize TShortenedLabel::sizeHint() const {
    const int natural = fontMetrics().horizontalAdvance(FFullText) + 2 * margin() + 2;
    return {std::min(natural, FPreferredWidth), QLabel::sizeHint().height()};
}

QSize TShortenedLabel::minimumSizeHint() const {
    return {std::min(sizeHint().width(), fontMetrics().averageCharWidth() * 6),
            QLabel::minimumSizeHint().height()};
}

void TShortenedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    setText(FShorten(FFullText, width(), fontMetrics()));
}

QString TShortenedLabel::ElideMiddle(const QString& text, int width, const QFontMetrics& metrics) {
    return metrics.elidedText(text, Qt::ElideMiddle, width);
}

QString TShortenedLabel::ShortenPathText(const QString& path, int width,
                                         const QFontMetrics& metrics) {
    return QString::fromStdString(
        ShortenPath(path.toStdString(), width, [&](std::string_view text) {
            return metrics.horizontalAdvance(QString::fromUtf8(text.data(), text.size()));
        }));
}

bool CheckIntField(QWidget* control, int minimum, int maximum) {
    if (IntFieldInRange(ControlText(control).toStdString(), minimum, maximum))
        return true;
    RefuseField(control, QString::fromStdString(IntRangeMessage(minimum, maximum)));
    return false;
}

bool CheckRealField(QWidget* control, double minimum, double maximum) {
    const QString point = QLocale().decimalPoint();
    const char separator = point.size() == 1 && point[0].unicode() < 0x80
                               ? static_cast<char>(point[0].unicode())
                               : '.';
    if (RealFieldInRange(ControlText(control).toStdString(), minimum, maximum, separator))
        return true;
    RefuseField(control, QString::fromStdString(RealRangeMessage(minimum, maximum)));
    return false;
}

} // namespace vocalore
