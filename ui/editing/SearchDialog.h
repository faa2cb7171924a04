#pragma once
// The modeless Find dialog. It edits the window's search parameters and asks
// the window to find the next match; it never sees the document.

#include "core/VocabFile.h"

#include <QDialog>

#include <cstdint>
#include <functional>

class QCheckBox;
class QComboBox;
class QPushButton;

namespace vocalore {

class TSymbolEdit;

class TSearchDialog : public QDialog {
    Q_OBJECT
public:
    // `findNext` runs the window's Find Next after the dialog stored its values.
    TSearchDialog(QWidget* owner, TSearchData& searchData, std::function<void()> findNext);

    // The document's languages decide the character set of the text field.
    void SetLanguages(uint16_t foreignId, uint16_t nativeId);
    uint16_t SearchLanguage() const;

    void FormShow();
    // byMouse: the field was picked with the mouse, which sends the focus on
    // to the text.
    void cbFieldClick(bool byMouse);
    void edtFindChange();
    void btnFindClick();

    TSymbolEdit* FindEdit() const { return edtFind; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TSearchData& FSearchData;
    std::function<void()> FFindNext;
    uint16_t FForeignLangID = 0;
    uint16_t FNativeLangID = 0;
    bool FKeyDown = false; // a key is held in the field list
    bool FLoading = false;
    QComboBox* cbField;
    TSymbolEdit* edtFind;
    QCheckBox* chbMatchCase;
    QCheckBox* chbMatchAccents;
    QCheckBox* chbMatchWord;
    QPushButton* btnFind;
};

} // namespace vocalore
