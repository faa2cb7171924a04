#pragma once
// The main window's complete command set: one row per menu item, with the
// tool button that runs the same handler.

#include <QKeyCombination>
#include <QString>

#include <span>

namespace vocalore {

enum TCommandId : int {
    cmFileNew,
    cmFileOpen,
    cmFileImport,
    cmFileSave,
    cmFileSaveAs,
    cmFileProperties,
    cmFilePrint,
    cmFilePageSetup,
    cmFileExit,
    cmEditUndo,
    cmEditRedo,
    cmEditCut,
    cmEditCopy,
    cmEditPaste,
    cmEditAdd,
    cmEditEdit,
    cmEditDelete,
    cmEditMoveUp,
    cmEditMoveDown,
    cmEditSort,
    cmEditShuffle,
    cmEditFind,
    cmEditFindNext,
    cmEditSpeak,
    cmTestStartTesting,
    cmTestPassive,
    cmTestActive,
    cmTestMultipleChoice,
    cmTestHint,
    cmTestStatistics,
    cmViewToolBar,
    cmViewStatusBar,
    cmViewOptions,
    cmHelpContents,
    cmHelpTips,
    cmHelpAbout,
    cmCount
};

struct TCommandInfo {
    TCommandId Id;
    const char* Name;       // object name of the menu item
    const char* Caption;    // initial caption; some change at run time
    int Shortcut;           // QKeyCombination::toCombined(), 0 = none
    const char* Hint;       // status-bar text
    int HelpContext;        // 0 = none
    int Image;              // index into the tool images, -1 = none
    const char* ToolButton; // object name of the tool button, nullptr = none
    bool Checkable;
};

std::span<const TCommandInfo> CommandTable();
const TCommandInfo& Command(TCommandId id);

// Recent-file menu items share one hint and help context.
inline constexpr const char* RecentFileHint = "Opens a recently used file";
inline constexpr int RecentFileHelpContext = 2008;

// Tool bar, left to right; cmCount marks a separator.
std::span<const TCommandId> ToolBarLayout();

// "Ctrl+O", "Shift+F2", "Del": modifiers Shift, Ctrl, Alt in that order.
QString ShortCutText(int shortcut);

// Tool-button hint "tip|status text" built from a menu item's caption,
// shortcut and hint: "Open - Ctrl+O|Opens an existing file".
QString MenuHint(const QString& caption, int shortcut, const QString& hint);

} // namespace vocalore
