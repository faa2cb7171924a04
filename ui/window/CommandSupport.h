#pragma once
// Small pieces every command handler of the main window uses.

#include <QApplication>

#include <string>

class QString;

namespace vocalore {

// The hourglass cursor for the life of the object, restored also when the
// operation fails.
class TWaitCursor {
public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { Restore(); }
    void Restore() {
        if (FActive)
            QApplication::restoreOverrideCursor();
        FActive = false;
    }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;

private:
    bool FActive = true;
};

// Path conversions between the window (QString) and the document (bytes of
// the file system's encoding). LocalPath makes a relative path absolute
// against the working folder, without resolving symbolic links.
std::string LocalPath(const QString& path);
QString DisplayPath(const std::string& path);

// Refuses a command whose handler is not part of this program yet.
[[noreturn]] void CommandUnavailable();

} // namespace vocalore
