#pragma once
// The application-wide key filter: every key press of the program passes the
// installed hooks before it reaches its control. The main window's own keys
// (Enter, Escape, Ctrl+Tab) are one hook; accent composition and character
// shortcuts add theirs.

#include <QObject>

#include <functional>
#include <vector>

class QKeyEvent;

namespace vocalore {

class TAppKeyFilter final : public QObject {
public:
    // A hook returns true to consume the key. `target` is the control the key
    // is meant for (the focused one).
    using THook = std::function<bool(QObject* target, QKeyEvent* event)>;

    explicit TAppKeyFilter(QObject* parent = nullptr);
    ~TAppKeyFilter() override;

    // Hooks run in the order they were added; returns an id for RemoveHook.
    int AddHook(THook hook);
    // Asked before any shortcut may take a key press: returning true claims the
    // key for the focused control, so no menu or shortcut acts on it and the
    // key press follows through the ordinary hooks.
    int AddClaimHook(THook hook);
    void RemoveHook(int id);

    // While on (printing runs), every key press, release and shortcut of the
    // program is swallowed before any hook or control sees it.
    void SetDiscardKeys(bool on) { FDiscardKeys = on; }
    bool DiscardKeys() const { return FDiscardKeys; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TEntry {
        int Id;
        THook Hook;
    };
    std::vector<TEntry> FHooks;
    std::vector<TEntry> FClaimHooks;
    int FNextId = 1;
    bool FDiscardKeys = false;
};

} // namespace vocalore
