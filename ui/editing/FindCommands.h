#pragma once
// Find and Find Next as the main window carries them out, with the one Find
// dialog of the run and the placing of that dialog off the row just found.

#include <QRect>

#include <optional>

namespace vocalore {

class TMainForm;
class TSearchDialog;

// Where the dialog goes so that it no longer covers the band around a found
// row (screen coordinates, bottoms exclusive): its new top, or nullopt when
// it may stay. In the lower half of the screen it goes above the band, else
// below it.
std::optional<int> SearchDialogTop(const QRect& band, const QRect& dialog, int screenHeight);

class TFindCommands {
public:
    explicit TFindCommands(TMainForm& form);

    void miEditFindClick();
    void miEditFindNextClick();
    void MoveSearchDialog();
    // The dialog closes whenever the window changes its view.
    void CloseDialog();
    TSearchDialog* Dialog() const { return FDialog; }

private:
    TMainForm& FForm;
    TSearchDialog* FDialog; // owned by the window
};

} // namespace vocalore
