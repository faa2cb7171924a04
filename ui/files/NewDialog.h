#pragma once
// The New dialog: the foreign and the native language of a new document.

#include <QDialog>

#include <cstdint>

class QComboBox;
class QPushButton;

namespace vocalore {

class TNewDialog : public QDialog {
public:
    // Starts with the given languages selected (no selection for one the
    // language list doesn't offer).
    TNewDialog(QWidget* owner, uint16_t foreignLangId, uint16_t nativeLangId);

    // The selected identifiers; 0 when a list has no selection.
    uint16_t ForeignLangID() const;
    uint16_t NativeLangID() const;

    // Runs the dialog modally; on OK writes the chosen languages back.
    static bool Execute(QWidget* owner, uint16_t& foreignLangId, uint16_t& nativeLangId);

private:
    void UpdateOK();

    QComboBox* cbForeign;
    QComboBox* cbNative;
    QPushButton* btnOK;
};

} // namespace vocalore
