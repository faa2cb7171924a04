#include "SessionEnd.h"

#include "ui/window/MainWindow.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>

#include <fcntl.h>
#include <unistd.h>

namespace vocalore {

namespace {

// A signal handler may only write to a pipe; the event loop reads it.
int signalPipe[2] = {-1, -1};
std::atomic<TMainForm*> endingForm{nullptr};

void OnSignal(int number) {
    const int saved = errno;
    const char byte = static_cast<char>(number);
    (void)!::write(signalPipe[1], &byte, 1);
    errno = saved;
}

// The display went away: the platform plugin ends the process with exit(),
// which runs this before anything is destroyed.
void AtExit() {
    if (TMainForm* form = endingForm.exchange(nullptr))
        form->EndSession(false);
}

} // namespace

TSessionEnd::TSessionEnd(TMainForm& form) : FForm(form) {
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        FNotifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
        connect(FNotifier, &QSocketNotifier::activated, this, &TSessionEnd::SignalArrived);
        struct sigaction action {};
        action.sa_handler = OnSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (const int number : {SIGTERM, SIGHUP, SIGINT})
            ::sigaction(number, &action, nullptr);
    }
    // The session manager's save request: the save question where the user
    // may answer, else a recovery copy; the session then ends the program.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
        if (!FForm.CommitSession(manager.allowsInteraction()))
            manager.cancel();
        manager.release();
    });
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { FForm.EndSession(false); });
    endingForm = &FForm;
    static const bool registered = std::atexit(AtExit) == 0;
    (void)registered;
}

TSessionEnd::~TSessionEnd() {
    endingForm = nullptr;
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    for (const int number : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(number, &action, nullptr);
}

void TSessionEnd::SignalArrived() {
    char bytes[16];
    while (::read(signalPipe[0], bytes, sizeof bytes) > 0) {
    }
    FForm.EndSession(true);
}

} // namespace vocalore
