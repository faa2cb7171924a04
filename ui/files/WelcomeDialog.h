#pragma once
// The Welcome dialog of start-up: create a new document, pick a recent one or
// browse for one.

#include <QDialog>

#include <string>
#include <vector>

class QListWidget;
class QRadioButton;

namespace vocalore {

struct TWelcomeDialogData {
    std::vector<std::string> RecentFiles; // in: full paths, most recent first
    bool Open = false;                    // out: true open a file, false create a new document
    std::string FileName;                 // out: the picked recent file; empty for "Browse..."
};

inline constexpr const char* BrowseEntry = "Browse...";

class TWelcomeDialog : public QDialog {
public:
    TWelcomeDialog(QWidget* owner, TWelcomeDialogData& data);

    // Runs the dialog modally; the data's outputs are written only on OK.
    static bool Execute(QWidget* owner, TWelcomeDialogData& data);

    void btnOKClick();

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void UpdateList();

    TWelcomeDialogData& FData;
    QRadioButton* rbNew;
    QRadioButton* rbOpen;
    QListWidget* lbFileName;
};

} // namespace vocalore
