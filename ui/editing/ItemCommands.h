#pragma once
// The Edit menu's item commands as the main window carries them out: Add,
// Edit, Delete, Cut, Copy, Paste, Move Up, Move Down, Sort, Shuffle, Undo and
// Redo. The window owns one of these and forwards each command to it.

namespace vocalore {

class TMainForm;

class TItemCommands {
public:
    explicit TItemCommands(TMainForm& form) : FForm(form) {}

    void miEditAddClick();
    void miEditEditClick();
    void miEditDeleteClick();
    void miEditCutClick();
    void miEditCopyClick();
    void miEditPasteClick();
    void miEditMoveUpClick();
    void miEditMoveDownClick();
    void miEditSortClick();
    void miEditShuffleClick();
    void miEditUndoClick();
    void miEditRedoClick();

private:
    TMainForm& FForm;
};

} // namespace vocalore
