#pragma once
// The dialog of a flashcard package's import: which note field goes to the
// word/phrase, translations, part of speech and notes, and which deck.

#include "transfer/Anki.h"

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;

namespace vocalore {

// What the dialog shows and returns: the names of field numbers 1, 2, ...
// (AnkiFieldCaptions), the decks to choose from, and the choice (by field
// number; empty deck for every deck).
struct TAnkiDialogData {
    std::vector<std::string> FieldCaptions;
    std::vector<std::string> Decks;
    TAnkiImportSettings Settings;
};

class TAnkiImportDialog : public QDialog {
public:
    TAnkiImportDialog(QWidget* owner, const TAnkiDialogData& data);

    // Runs the dialog modally; on OK fills data.Settings, on Cancel leaves it.
    static bool Execute(QWidget* owner, TAnkiDialogData& data);

    TAnkiImportSettings Settings() const;

private:
    QComboBox* cbWord;
    QComboBox* cbTranslation;
    QComboBox* cbCategory;
    QComboBox* cbNotes;
    QComboBox* cbDeck;
};

} // namespace vocalore
