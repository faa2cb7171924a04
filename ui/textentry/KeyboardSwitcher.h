#pragma once
// Automatic keyboard switching: the keyboard layout follows the language of
// the focused field (its control tag: -1 foreign, -2 native), falling back to
// the layout that was active when the program started. Behind a small
// backend interface: XKB layout groups on X11, nothing elsewhere.

#include "core/KeyboardLayouts.h"

#include <functional>
#include <memory>
#include <vector>

namespace vocalore {

class TKeyboardBackend {
public:
    virtual ~TKeyboardBackend() = default;
    // The layouts the user configured, in the system's order.
    virtual std::vector<TXkbLayout> Layouts() = 0;
    // Index of the active layout; -1 when it can't be told.
    virtual int ActiveLayout() = 0;
    virtual void ActivateLayout(int index) = 0;
};

// The X11 backend on a display of its own connection (nullptr: $DISPLAY);
// nullptr when there is no X server with the keyboard extension, or the
// program was built without XCB.
std::unique_ptr<TKeyboardBackend> MakeXkbKeyboard(const char* display = nullptr);
// The backend of the platform the program runs on: XKB under X11, else none;
// or what an installed factory makes (tests install a recording one).
std::unique_ptr<TKeyboardBackend> MakePlatformKeyboard();
void SetKeyboardBackendFactory(std::function<std::unique_ptr<TKeyboardBackend>()> factory);

class TKeyboardSwitcher {
public:
    // `enabled` reads the option; `languageOfTag` gives the document's
    // foreign language for -1 and its native one for -2. The default layout
    // is the one active now. A null backend never switches anything.
    TKeyboardSwitcher(std::unique_ptr<TKeyboardBackend> backend, std::function<bool()> enabled,
                      std::function<uint16_t(int tag)> languageOfTag);

    // Activates the default layout (toDefault) or the first layout of the
    // focused field's language, else the default; nothing when switched off.
    void SwitchKeyboard(bool toDefault);
    int DefaultLayout() const { return FDefault; }

private:
    std::unique_ptr<TKeyboardBackend> FBackend;
    std::function<bool()> FEnabled;
    std::function<uint16_t(int)> FLanguageOfTag;
    int FDefault = 0;
};

} // namespace vocalore
