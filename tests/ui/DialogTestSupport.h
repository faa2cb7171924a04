#pragma once
// Helpers for driving dialogs in the dialog tests.

#include "UiTestSupport.h"

#include <QWidget>

namespace vocalore::dialogtest {

// Modal dialogs are driven the same way as in the window tests.
using test::OnNextModal;

template <typename T> T* Child(QWidget* parent, const char* name) {
    return parent->findChild<T*>(QString::fromLatin1(name));
}

} // namespace vocalore::dialogtest
