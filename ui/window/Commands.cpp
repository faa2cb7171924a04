#include "Commands.h"

#include <array>

namespace vocalore {

namespace {

constexpr int Key(Qt::Key key) { return QKeyCombination(key).toCombined(); }
constexpr int Ctrl(Qt::Key key) { return QKeyCombination(Qt::ControlModifier, key).toCombined(); }
constexpr int Alt(Qt::Key key) { return QKeyCombination(Qt::AltModifier, key).toCombined(); }

// clang-format off
constexpr std::array<TCommandInfo, cmCount> Table{{
    {cmFileNew, "miFileNew", "&New...", Ctrl(Qt::Key_N), "Creates a new file", 2000, 0, "tbNew", false},
    {cmFileOpen, "miFileOpen", "&Open...", Ctrl(Qt::Key_O), "Opens an existing file", 2001, 1, "tbOpen", false},
    {cmFileImport, "miFileImport", "&Import...", 0, "Adds vocabulary from another file", 2002, -1, nullptr, false},
    {cmFileSave, "miFileSave", "&Save", Ctrl(Qt::Key_S), "Saves the current file", 2003, 2, "tbSave", false},
    {cmFileSaveAs, "miFileSaveAs", "Save &As...", 0, "Saves the current file with a different name", 2004, -1, nullptr, false},
    {cmFileProperties, "miFileProperties", "P&roperties...", 0, "Displays information about the current file", 2005, -1, nullptr, false},
    {cmFilePrint, "miFilePrint", "&Print...", Ctrl(Qt::Key_P), "Prints the current file", 2006, 3, "tbPrint", false},
    {cmFilePageSetup, "miFilePageSetup", "Page S&etup...", 0, "Changes the layout of printed pages", 2007, -1, nullptr, false},
    {cmFileExit, "miFileExit", "E&xit", Alt(Qt::Key_F4), "Closes this program", 2009, -1, nullptr, false},
    {cmEditUndo, "miEditUndo", "&Undo", Ctrl(Qt::Key_Z), "Reverses an action", 2100, 4, "tbUndo", false},
    {cmEditRedo, "miEditRedo", "&Redo", Ctrl(Qt::Key_Y), "Repeats an action", 2101, 5, "tbRedo", false},
    {cmEditCut, "miEditCut", "Cu&t", Ctrl(Qt::Key_X), "Copies the selected item and prepares to move it", 2102, 6, "tbCut", false},
    {cmEditCopy, "miEditCopy", "&Copy", Ctrl(Qt::Key_C), "Copies the selected item to the clipboard", 2103, 7, "tbCopy", false},
    {cmEditPaste, "miEditPaste", "&Paste", Ctrl(Qt::Key_V), "Inserts the item on the clipboard", 2104, 8, "tbPaste", false},
    {cmEditAdd, "miEditAdd", "&Add...", Key(Qt::Key_Insert), "Adds a new item", 2105, 9, "tbAdd", false},
    {cmEditEdit, "miEditEdit", "&Edit...", Key(Qt::Key_F2), "Modifies the selected item", 2106, 10, "tbEdit", false},
    {cmEditDelete, "miEditDelete", "&Delete", Key(Qt::Key_Delete), "Deletes the selected item", 2107, 11, "tbDelete", false},
    {cmEditMoveUp, "miEditMoveUp", "&Move Up", Ctrl(Qt::Key_U), "Moves the selected item up", 2108, 12, nullptr, false},
    {cmEditMoveDown, "miEditMoveDown", "M&ove Down", Ctrl(Qt::Key_D), "Moves the selected item down", 2109, 13, nullptr, false},
    {cmEditSort, "miEditSort", "&Sort", Key(Qt::Key_F8), "Arranges items in alphabetical order", 2110, 14, "tbSort", false},
    {cmEditShuffle, "miEditShuffle", "S&huffle", 0, "Arranges items in a random order", 2111, -1, nullptr, false},
    {cmEditFind, "miEditFind", "&Find...", Ctrl(Qt::Key_F), "Searches the current file", 2112, 15, nullptr, false},
    {cmEditFindNext, "miEditFindNext", "Find &Next", Key(Qt::Key_F3), "Repeats the last search", 2113, -1, nullptr, false},
    {cmEditSpeak, "miEditSpeak", "&Speak", Key(Qt::Key_F5), "Speaks the current word, question or answer aloud", 2114, 24, "tbSpeak", false},
    {cmTestStartTesting, "miTestStartTesting", "Start/Stop &Testing", Ctrl(Qt::Key_T), "Starts or stops vocabulary testing", 2200, 16, "tbStartTesting", true},
    {cmTestPassive, "miTestPassive", "&Passive", 0, "Switches to Passive testing mode", 2201, 17, "tbPassive", true},
    {cmTestActive, "miTestActive", "&Active", 0, "Switches to Active testing mode", 2202, 18, "tbActive", true},
    {cmTestMultipleChoice, "miTestMultipleChoice", "&Multiple Choice", Ctrl(Qt::Key_M), "Turns Multiple Choice testing on or off", 2203, 19, "tbMultipleChoice", true},
    {cmTestHint, "miTestHint", "&Hint", Ctrl(Qt::Key_H), "Reveals the correct answer letter by letter", 2204, 20, "tbHint", false},
    {cmTestStatistics, "miTestStatistics", "&Statistics...", Key(Qt::Key_F9), "Displays testing statistics for the current file", 2205, 21, "tbStatistics", false},
    {cmViewToolBar, "miViewToolBar", "&Tool Bar", 0, "Shows or hides the Tool Bar", 2300, -1, nullptr, true},
    {cmViewStatusBar, "miViewStatusBar", "&Status Bar", 0, "Shows or hides the Status Bar", 2301, -1, nullptr, true},
    {cmViewOptions, "miViewOptions", "&Options...", Key(Qt::Key_F12), "Changes program settings", 2302, 22, nullptr, false},
    {cmHelpContents, "miHelpContents", "&Help Topics", Key(Qt::Key_F1), "Opens the Help system", 0, 23, nullptr, false},
    {cmHelpTips, "miHelpTips", "&Tip of the Day...", 0, "Displays the next Tip of the Day", 0, -1, nullptr, false},
    {cmHelpAbout, "miHelpAbout", "&About...", 0, "Displays information about this program", 0, -1, nullptr, false},
}};

constexpr std::array ToolBar{
    cmFileNew, cmFileOpen, cmFileSave, cmFilePrint, cmCount,
    cmEditCut, cmEditCopy, cmEditPaste, cmCount,
    cmEditUndo, cmEditRedo, cmCount,
    cmEditAdd, cmEditEdit, cmEditDelete, cmCount,
    cmEditSort, cmEditSpeak, cmCount,
    cmTestStartTesting, cmCount,
    cmTestPassive, cmTestActive, cmCount,
    cmTestMultipleChoice, cmCount,
    cmTestHint, cmTestStatistics,
};
// clang-format on

constexpr bool TableInOrder() {
    for (int i = 0; i < cmCount; ++i)
        if (Table[static_cast<size_t>(i)].Id != i)
            return false;
    return true;
}
static_assert(TableInOrder(), "command rows must follow TCommandId");

} // namespace

std::span<const TCommandInfo> CommandTable() { return Table; }

const TCommandInfo& Command(TCommandId id) { return Table[static_cast<size_t>(id)]; }

std::span<const TCommandId> ToolBarLayout() { return ToolBar; }

QString ShortCutText(int shortcut) {
    if (shortcut == 0)
        return {};
    const QKeyCombination combination = QKeyCombination::fromCombined(shortcut);
    const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
    QString text;
    if (modifiers & Qt::ShiftModifier)
        text += QStringLiteral("Shift+");
    if (modifiers & Qt::ControlModifier)
        text += QStringLiteral("Ctrl+");
    if (modifiers & Qt::AltModifier)
        text += QStringLiteral("Alt+");
    const Qt::Key key = combination.key();
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        text += QChar(u'A' + (key - Qt::Key_A));
    else if (key >= Qt::Key_0 && key <= Qt::Key_9)
        text += QChar(u'0' + (key - Qt::Key_0));
    else if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        text += QStringLiteral("F%1").arg(key - Qt::Key_F1 + 1);
    else if (key == Qt::Key_Insert)
        text += QStringLiteral("Ins");
    else if (key == Qt::Key_Delete)
        text += QStringLiteral("Del");
    return text;
}

QString MenuHint(const QString& caption, int shortcut, const QString& hint) {
    QString tip = caption;
    tip.remove(u'.');
    tip.remove(u'&');
    if (shortcut != 0)
        tip += QStringLiteral(" - ") + ShortCutText(shortcut);
    return tip + u'|' + hint;
}

} // namespace vocalore
