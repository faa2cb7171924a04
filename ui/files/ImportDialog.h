#pragma once
// The Import dialog ("Convert Text File"): the format of a text file, the
// first line to read and which columns hold which item fields.

#include "transfer/Import.h"

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace vocalore {

class TImportDialog : public QDialog {
public:
    explicit TImportDialog(QWidget* owner);

    // Runs the dialog modally; on OK fills the settings, on Cancel leaves them.
    static bool Execute(QWidget* owner, TImportSettings& settings);

    // The settings as the controls give them (valid only after btnOKClick accepted).
    const TImportSettings& Settings() const { return FSettings; }

private:
    void btnAddClick();
    void btnRemoveClick();
    void btnOKClick();
    // Moves the selected entry of `from` to the end of `to`.
    void MoveEntry(QListWidget* from, QListWidget* to, QPushButton* fromButton);

    QRadioButton* rbTabDelimited;
    QRadioButton* rbCommaSeparated;
    QLineEdit* edtStartFrom;
    QListWidget* lbAvailable;
    QListWidget* lbSelected;
    QPushButton* btnAdd;
    QPushButton* btnRemove;
    TImportSettings FSettings;
};

} // namespace vocalore
