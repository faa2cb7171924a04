#pragma once
// Typing foreign characters anywhere in the program, as two hooks of the
// application key filter:
// - composition: Ctrl + one of the nine modifier characters chooses a row, and
//   the next typed letter, in whatever control, arrives as that row's accented
//   letter;
// - character shortcuts: the 92 key combinations of the options record type
//   their assigned character into the focused control.

#include <QString>

#include <cstdint>
#include <optional>

class QKeyEvent;
class QObject;

namespace vocalore {

class TAppKeyFilter;
struct TOptions;

// The character a key press gives with Ctrl and Alt released (Shift and Caps
// Lock as they are) under the current keyboard layout; nullopt when the key
// gives none (Ctrl itself, F2, an arrow).
std::optional<char32_t> KeyCharWithoutCtrl(const QKeyEvent& event);

// The character a shortcut entry (code and character set) types; empty when
// the entry is unassigned.
QString ShortcutCharText(uint16_t entry);

class TTextEntryKeys {
public:
    // Installs both hooks; they come before any hook added later, so a
    // modifier key never reaches the main window's own keys. The options are
    // read at every key, so edits in the Options dialog apply at once.
    TTextEntryKeys(TAppKeyFilter& filter, const TOptions& options);
    ~TTextEntryKeys();
    TTextEntryKeys(const TTextEntryKeys&) = delete;
    TTextEntryKeys& operator=(const TTextEntryKeys&) = delete;

    // The row chosen by the last Ctrl + modifier key, 0 for none.
    int PendingModifier() const { return FPending; }

    // The message filter: composition. True when the key press is consumed.
    bool AppMessage(QObject* target, QKeyEvent* event);
    // The shortcut filter: a combination with a character types it.
    bool AppShortCut(QObject* target, QKeyEvent* event);

private:
    // The key-down half of composition; true for a modifier key.
    bool ModifierKeyDown(const QKeyEvent& event);
    // Sends a typed character that no hook may change.
    void Deliver(QObject* target, const QKeyEvent& original, const QString& text);

    TAppKeyFilter& FFilter;
    const TOptions& FOptions;
    int FPending = 0;
    bool FDelivering = false;
    int FClaimHookId = 0;
    int FMessageHookId = 0;
    int FShortCutHookId = 0;
};

} // namespace vocalore
