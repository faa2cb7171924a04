#pragma once
// The Edit dialog, in which an item is entered (Add) or changed (Edit). It
// works on an edit record and never sees the document.

#include "core/EditRecord.h"

#include <QDialog>

#include <cstdint>

class QLabel;
class QPushButton;

namespace vocalore {

class TSymbolEdit;

enum class TEditMode { emAdd, emEdit };
using enum TEditMode;

struct TEditDialogData {
    TEditRecord Record;
    uint16_t ForeignLangID = 0;
    uint16_t NativeLangID = 0;
    // The user may switch the reminder off from inside the dialog; that
    // holds whether the dialog then ends with OK or Cancel.
    bool RequireSortPosition = false;
};

class TEditDialog : public QDialog {
    Q_OBJECT
public:
    TEditDialog(QWidget* owner, TEditDialogData& data, TEditMode mode);

    // Runs the dialog modally. On OK the record holds the accepted item; an
    // Edit without any change counts as Cancel.
    static bool Execute(QWidget* owner, TEditDialogData& data, TEditMode mode);

    void btnOKClick();
    bool Changed() const { return FChanged; }

private:
    void FormCreate();
    void DataChange() { FChanged = true; }
    void Refuse(TSymbolEdit* field, const char* message);

    TEditDialogData& FData;
    TEditMode FMode;
    bool FChanged = false;
    TSymbolEdit* edtForeign;
    TSymbolEdit* edtCategory;
    TSymbolEdit* edtNotes;
    TSymbolEdit* edtNative;
    QPushButton* btnOK;
};

} // namespace vocalore
