#pragma once
// The ways a session ends besides the user closing the window: the desktop
// session manager asking to save, a logout or shutdown sending SIGTERM or
// SIGHUP, Ctrl+C sending SIGINT, and the display going away. Each ends the
// program the normal way, so that a recovery copy of unsaved work and the
// settings are written. Only the program installs this; tests drive the
// window's own end-of-session operations directly.

#include <QObject>

class QSocketNotifier;

namespace vocalore {

class TMainForm;

class TSessionEnd : public QObject {
    Q_OBJECT
public:
    explicit TSessionEnd(TMainForm& form);
    ~TSessionEnd() override;
    TSessionEnd(const TSessionEnd&) = delete;
    TSessionEnd& operator=(const TSessionEnd&) = delete;

private:
    void SignalArrived();

    TMainForm& FForm;
    QSocketNotifier* FNotifier = nullptr;
};

} // namespace vocalore
