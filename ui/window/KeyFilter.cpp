#include "KeyFilter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <algorithm>

namespace vocalore {

TAppKeyFilter::TAppKeyFilter(QObject* parent) : QObject(parent) { qApp->installEventFilter(this); }

TAppKeyFilter::~TAppKeyFilter() { qApp->removeEventFilter(this); }

int TAppKeyFilter::AddHook(THook hook) {
    FHooks.push_back({FNextId, std::move(hook)});
    return FNextId++;
}

int TAppKeyFilter::AddClaimHook(THook hook) {
    FClaimHooks.push_back({FNextId, std::move(hook)});
    return FNextId++;
}

void TAppKeyFilter::RemoveHook(int id) {
    const auto same = [id](const TEntry& entry) { return entry.Id == id; };
    std::erase_if(FHooks, same);
    std::erase_if(FClaimHooks, same);
}

bool TAppKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (FDiscardKeys) {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
            return true;
        default:
            break;
        }
    }
    const bool claim = event->type() == QEvent::ShortcutOverride;
    if (event->type() != QEvent::KeyPress && !claim)
        return false;
    // A key the control ignores travels on to its parents through this filter
    // again; the hooks see it once, on its way to the focused control.
    QWidget* focus = QApplication::focusWidget();
    const bool first = focus
                           ? watched == focus
                           : watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow();
    if (!first)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    // Copy: a hook may add or remove hooks.
    const std::vector<TEntry> hooks = claim ? FClaimHooks : FHooks;
    for (const TEntry& entry : hooks) {
        if (entry.Hook(watched, key)) {
            // An accepted override keeps every shortcut off the key.
            if (claim)
                key->accept();
            return true;
        }
    }
    return false;
}

} // namespace vocalore
