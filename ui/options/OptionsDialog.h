#pragma once
// The Options dialog: the options record on six pages, and the Speech page
// after them. It edits a copy of the
// record, keeps its own copy of the 92 shortcut assignments, checks the number
// of the page being left, and hands the record back only on OK.

#include "settings/Options.h"

#include <QComboBox>
#include <QDialog>
#include <QKeySequence>
#include <QList>

#include <array>
#include <cstdint>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace vocalore {

// The pages in the order they are shown.
enum TOptionsPage : int {
    opKeyboard,
    opEditing,
    opQuestion,
    opEvaluation,
    opFeedback,
    opRepetition,
    opSpeech,
    opFiles,
    opPageCount
};

// A shortcut key as this desktop spells and matches it.
QKeySequence ShortcutKeySequence(const TShortcutKey& key);

// A combo box of answer colours that draws a swatch before each name, closed
// and in its list. Each entry carries its 0x00BBGGRR value.
class TColourComboBox : public QComboBox {
public:
    explicit TColourComboBox(QWidget* parent = nullptr);
    // The 16 colours; a value that is none of them is offered as a 17th
    // entry, "Other", so that it shows and survives OK.
    void FillColours(uint32_t selected);
    uint32_t SelectedColour() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

class TOptionsDialog : public QDialog {
public:
    // foreignCharSet: the character set shown for a key without a character
    // (the open document's foreign language).
    // extraPages: pages that keep settings of their own (speech, recovery
    // copies), after the six pages of the record, each under its window
    // title; the dialog takes them over.
    TOptionsDialog(QWidget* owner, const TOptions& options, int32_t page, int foreignCharSet,
                   const QList<QWidget*>& extraPages = {});

    // The record as the controls describe it; fields the dialog doesn't show
    // keep their values. Meaningful after a successful check.
    TOptions Options() const;
    int32_t ShownPage() const;
    // Checks the number of the page shown; false after the refusal was shown.
    bool CheckPage(int page);

    // Runs the dialog modally; on OK writes the record and the shown page.
    static bool Execute(QWidget* owner, TOptions& options, int32_t& page, int foreignCharSet,
                        const QList<QWidget*>& extraPages = {});

private:
    QWidget* CreateKeyboardPage();
    QWidget* CreateEditingPage();
    QWidget* CreateQuestionPage();
    QWidget* CreateEvaluationPage();
    QWidget* CreateFeedbackPage();
    QWidget* CreateRepetitionPage();
    void LoadControls();

    void cbShortcutChange();
    void ShortcutCharChange();
    void ShowCharacters();
    void btnClearAllClick();
    void chbAutoContinueClick();
    void chbUsePenaltyPointsChange();
    void pcOptionsChange(int page);
    void btnOKClick();

    TOptions FOptions;
    std::array<uint16_t, ShortcutKeyCount> FShortcuts{};
    int FForeignCharSet = 0;
    int FShownPage = 0;

    QTabWidget* pcOptions;
    QComboBox* cbShortcut;
    QComboBox* cbCharSet;
    QComboBox* cbCharacter;
    QLabel* lblUnassigned;
    QPushButton* btnClearAll;
    QCheckBox* chbKeyboardSwitching;
    QCheckBox* chbAppendNewWords;
    QCheckBox* chbRequireSortPosition;
    QComboBox* cbTestNotes;
    QComboBox* cbNumChoices;
    QListWidget* clbPassive;
    QListWidget* clbActive;
    TColourComboBox* cbColourRight;
    QCheckBox* chbAutoContinue;
    TColourComboBox* cbColourWrong;
    QLineEdit* edtDelay;
    QCheckBox* chbBeep;
    QCheckBox* chbDisallowHints;
    QCheckBox* chbUsePenaltyPoints;
    QLabel* lblMaxPenaltyPoints;
    QComboBox* cbMaxPenaltyPoints;
    QLabel* lblPenaltyText;
    QPushButton* btnOK;
};

} // namespace vocalore
