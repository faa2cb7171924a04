#include "IdleHook.h"

#include <QAbstractEventDispatcher>
#include <QThread>

namespace vocalore {

TIdleHook::TIdleHook(std::function<void()> onIdle, QObject* parent)
    : QObject(parent), FOnIdle(std::move(onIdle)) {
    if (auto* dispatcher = QAbstractEventDispatcher::instance(QThread::currentThread()))
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                &TIdleHook::AboutToBlock);
}

void TIdleHook::AboutToBlock() {
    if (FRunning || !FOnIdle)
        return;
    FRunning = true;
    // Nothing may cross the event loop; the handler reports its own failures.
    try {
        FOnIdle();
    } catch (...) {
    }
    FRunning = false;
}

} // namespace vocalore
