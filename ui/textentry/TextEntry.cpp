#include "TextEntry.h"

#include "ui/window/KeyFilter.h"

#include "core/CodePage.h"
#include "core/Composition.h"
#include "settings/Options.h"
#include "transfer/PrintCanvas.h" // CharsetCodePage

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QWidget>

#include <utility>

#ifdef VOCALORE_HAVE_XKBCOMMON
#include <xkbcommon/xkbcommon.h>
#endif

namespace vocalore {

namespace {

// The character of a key code when no layout information comes with the event
// (offscreen, synthesized events): the key codes of the printable ASCII keys
// are their characters, letters in upper case.
std::optional<char32_t> CharOfKeyCode(int key, Qt::KeyboardModifiers modifiers) {
    if (key >= 'A' && key <= 'Z')
        return (modifiers & Qt::ShiftModifier) ? key : key - 'A' + 'a';
    if (key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde)
        return static_cast<char32_t>(key);
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return U'\r';
    case Qt::Key_Tab:
        return U'\t';
    case Qt::Key_Backspace:
        return U'\b';
    case Qt::Key_Escape:
        return U'\x1B';
    default:
        return std::nullopt;
    }
}

int CompositionRowOf(char32_t ch) {
    return ch < 0x80 ? vocalore::CompositionRowOf(static_cast<char>(ch)) : 0;
}

uint8_t ShortcutModifiers(Qt::KeyboardModifiers modifiers) {
    uint8_t result = 0;
    if (modifiers & Qt::ShiftModifier)
        result |= smShift;
    if (modifiers & Qt::ControlModifier)
        result |= smCtrl;
    if (modifiers & Qt::AltModifier)
        result |= smAlt;
    return result;
}

const TCodePage& Western() { return *TCodePage::ForCodePage(1252); }

} // namespace

std::optional<char32_t> KeyCharWithoutCtrl(const QKeyEvent& event) {
#ifdef VOCALORE_HAVE_XKBCOMMON
    // On X11 the native key is the keysym of the current layout group and
    // shift level; Ctrl and Alt never change the level, so it is the key as
    // typed without them.
    if (event.nativeVirtualKey() != 0 && QGuiApplication::platformName() == u"xcb") {
        const uint32_t ch = xkb_keysym_to_utf32(event.nativeVirtualKey());
        if (ch == 0)
            return std::nullopt;
        return ch;
    }
#endif
    // Elsewhere the event's text is the character unless Ctrl turned it into
    // a control code.
    const QString text = event.text();
    const QList<uint> points = text.toUcs4();
    if (points.size() == 1 && points[0] >= 0x20 && points[0] != 0x7F)
        return points[0];
    return CharOfKeyCode(event.key(), event.modifiers());
}

QString ShortcutCharText(uint16_t entry) {
    const uint8_t code = ShortcutCharCode(entry);
    if (code == 0)
        return {};
    // The character as the user saw it when choosing it, in its character set.
    const TCodePage* codePage = TCodePage::ForCodePage(CharsetCodePage(ShortcutCharSet(entry)));
    return QString(QChar((codePage ? *codePage : Western()).Decode(code)));
}

TTextEntryKeys::TTextEntryKeys(TAppKeyFilter& filter, const TOptions& options)
    : FFilter(filter), FOptions(options) {
    FClaimHookId = FFilter.AddClaimHook(
        [this](QObject*, QKeyEvent* event) { return ModifierKeyDown(*event); });
    FMessageHookId = FFilter.AddHook(
        [this](QObject* target, QKeyEvent* event) { return AppMessage(target, event); });
    FShortCutHookId = FFilter.AddHook(
        [this](QObject* target, QKeyEvent* event) { return AppShortCut(target, event); });
}

TTextEntryKeys::~TTextEntryKeys() {
    FFilter.RemoveHook(FClaimHookId);
    FFilter.RemoveHook(FMessageHookId);
    FFilter.RemoveHook(FShortCutHookId);
}

bool TTextEntryKeys::ModifierKeyDown(const QKeyEvent& event) {
    // Asked both before shortcuts are tried and at the key press itself; the
    // answer is the same both times, so the pending row is too. A Ctrl key
    // that a menu shortcut takes still clears it.
    if (FDelivering || !(event.modifiers() & Qt::ControlModifier))
        return false;
    // A key that gives no character (Ctrl itself, Shift, F2) leaves the row.
    const std::optional<char32_t> ch = KeyCharWithoutCtrl(event);
    if (!ch)
        return false;
    FPending = CompositionRowOf(*ch);
    return FPending > 0;
}

bool TTextEntryKeys::AppMessage(QObject* target, QKeyEvent* event) {
    if (ModifierKeyDown(*event))
        return true;
    const QString text = event->text();
    if (FDelivering || FPending == 0 || text.isEmpty())
        return false;
    const int row = std::exchange(FPending, 0);
    if (text.size() != 1 || text[0].unicode() >= 0x80)
        return false;
    const char base = static_cast<char>(text[0].unicode());
    const char composed = Compose(row, base);
    if (composed == base)
        return false;
    // The results are bytes of the Western code page; what the control makes
    // of the character (a field whose code page lacks it refuses it) is its own
    // business.
    Deliver(target, *event, QString(QChar(Western().Decode(static_cast<uint8_t>(composed)))));
    return true;
}

bool TTextEntryKeys::AppShortCut(QObject*, QKeyEvent* event) {
    if (FDelivering)
        return false;
    const int key = event->key();
    char letter = 0;
    uint8_t functionKey = 0;
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        letter = static_cast<char>(key);
    else if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        functionKey = static_cast<uint8_t>(key - Qt::Key_F1 + 1);
    else
        return false;
    const int index = ShortcutKeyIndex(ShortcutModifiers(event->modifiers()), letter, functionKey);
    if (index < 0)
        return false;
    const QString text = ShortcutCharText(FOptions.ShortcutChars[static_cast<size_t>(index)]);
    QWidget* focus = QApplication::focusWidget();
    if (text.isEmpty() || !focus)
        return false;
    Deliver(focus, *event, text);
    return true;
}

void TTextEntryKeys::Deliver(QObject* target, const QKeyEvent& original, const QString& text) {
    // A typed character with no key behind it: no shortcut matches it and the
    // control inserts it as text.
    const bool wasDelivering = std::exchange(FDelivering, true);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, original.nativeScanCode(),
                    original.nativeVirtualKey(), original.nativeModifiers(), text,
                    original.isAutoRepeat());
    QCoreApplication::sendEvent(target, &press);
    FDelivering = wasDelivering;
}

} // namespace vocalore
