// Platforms without a keyboard-layout service: nothing ever switches.

#include "ui/textentry/KeyboardSwitcher.h"

namespace vocalore {

std::unique_ptr<TKeyboardBackend> MakeXkbKeyboard(const char*) { return nullptr; }

} // namespace vocalore
