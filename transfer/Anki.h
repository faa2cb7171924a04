#pragma once
// Flashcard packages (.apkg decks, .colpkg collections) as plain data, and how
// their notes become items. The package itself is read by transfer_anki
// (AnkiPackage.h); everything here needs neither zip nor SQL.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vocalore {

class TVocabFile;

// A note type: its name and its fields' names in order.
struct TAnkiNoteType {
    int64_t Id = 0;
    std::string Name;
    std::vector<std::string> Fields;
};

struct TAnkiDeck {
    int64_t Id = 0;
    std::string Name; // the levels joined by "::"
};

// A note: its field texts (UTF-8 HTML, as stored) and the decks its cards are in.
struct TAnkiNote {
    int64_t Id = 0;
    int64_t TypeId = 0;
    std::vector<std::string> Fields;
    std::vector<int64_t> Decks;
};

struct TAnkiPackage {
    std::string Collection; // the archive entry that was read
    std::vector<TAnkiNoteType> NoteTypes;
    std::vector<TAnkiDeck> Decks; // by name, only those that hold cards
    std::vector<TAnkiNote> Notes; // in the order they were created
};

// Which note field gives an item field: a field number (from 1), a field
// name, or nothing.
struct TAnkiFieldRef {
    int32_t Number = 0;
    std::string Name;
    bool Empty() const { return Number <= 0 && Name.empty(); }
};

struct TAnkiImportSettings {
    // By item field (Word, Category, Notes, Translation): by default the
    // first field is the word/phrase and the second the translations.
    std::array<TAnkiFieldRef, 4> Fields{TAnkiFieldRef{1, {}}, {}, {}, TAnkiFieldRef{2, {}}};
    std::string Deck; // empty: every deck; else this deck and the decks below it
};

// The index of the note field that gives an item field in a note of this
// type; -1 for none. A name matches exactly, else ignoring ASCII case.
int32_t AnkiFieldIndex(const TAnkiNoteType* type, const TAnkiFieldRef& ref);

const TAnkiNoteType* FindAnkiNoteType(const TAnkiPackage& package, int64_t id);

// True when the note has a card in the deck or in a deck below it.
bool AnkiNoteInDeck(const TAnkiPackage& package, const TAnkiNote& note, const std::string& deck);

// The names shown for field number k (from 0) of the package's note types:
// the distinct names joined by " / ", most used note type first.
std::vector<std::string> AnkiFieldCaptions(const TAnkiPackage& package);

struct TAnkiImportResult {
    int32_t Count = 0;
    int32_t EmptyWord = 0;        // notes left out: no word/phrase
    int32_t EmptyTranslation = 0; // notes left out: a word/phrase but no translation
};

// Appends one item per note of the chosen deck with a word/phrase and a
// translation, its texts made plain (HtmlText.h) and stored through the code
// pages of the document's languages. A character they can't hold, or a text
// too long for a document, refuses the whole package before anything is
// added, naming the note, the field and the character.
TAnkiImportResult ImportAnkiData(TVocabFile& doc, const TAnkiPackage& package,
                                 const TAnkiImportSettings& settings);

// "N items imported successfully." ("Nothing to import." for none) and, when
// notes were left out, how many and why.
std::string AnkiImportMessage(const TAnkiImportResult& result);
// The part after the first sentence: " N notes were left out: ..." or nothing.
std::string AnkiLeftOutNote(const TAnkiImportResult& result);

} // namespace vocalore
