#pragma once
// Runs a handler every time the event loop is about to wait for more events,
// that is whenever the event queue has become empty (also inside modal
// dialogs). One pass per idle moment; a pass never nests in another.

#include <QObject>

#include <functional>

namespace vocalore {

class TIdleHook final : public QObject {
public:
    explicit TIdleHook(std::function<void()> onIdle, QObject* parent = nullptr);

private:
    void AboutToBlock();

    std::function<void()> FOnIdle;
    bool FRunning = false;
};

} // namespace vocalore
