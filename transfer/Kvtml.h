#pragma once
// KVTML vocabulary files (of KDE's Parley and KWordQuiz) as plain data, and
// how their entries become items. The XML itself is read and written by
// transfer_kvtml (qt/KvtmlXml.h); everything here needs no Qt.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vocalore {

class TVocabFile;

// One language column of an entry. Texts are UTF-8 as the file gives them;
// the lines say where, for the messages.
struct TKvtmlTranslation {
    std::string Text, Comment, WordType;
    int64_t TextLine = 0, CommentLine = 0, Line = 0;
};

struct TKvtmlEntry {
    std::map<int, TKvtmlTranslation> Translations; // by identifier
};

// A language of the file: KVTML 2 gives a name and a locale (which real files
// fill with a code such as "de" or with a name such as "German"); KVTML 1 a
// language attribute, kept as the locale.
struct TKvtmlIdentifier {
    int Id = 0;
    std::string Name, Locale;
};

struct TKvtmlData {
    int Version = 2; // 1 for the older attribute format
    std::string Title, Author, Comment;
    int64_t TitleLine = 0, AuthorLine = 0, CommentLine = 0;
    std::vector<TKvtmlIdentifier> Identifiers;
    std::vector<TKvtmlEntry> Entries; // in file order
};

// Which identifiers give the word/phrase and the translation. Matched is
// false when the file's languages could not be told apart from the
// document's; then identifier 0 is the word/phrase and 1 the translation.
// A file that names one language only: that language is the word/phrase
// (whether or not it matched) and a second side, if the entries have one,
// the translations.
struct TKvtmlSides {
    int Word = 0;
    int Translation = 1;
    bool Matched = false;
    bool OneLanguage = false;
};
TKvtmlSides MatchKvtmlSides(const TKvtmlData& data, uint16_t foreignId, uint16_t nativeId);

// The offered language an identifier names, by its locale and then its name; 0 when none.
uint16_t KvtmlIdentifierLanguage(const TKvtmlIdentifier& identifier);
// Foreign and native language for a new document from identifiers 0 and 1;
// 0 where the file doesn't tell.
std::pair<uint16_t, uint16_t> KvtmlLanguages(const TKvtmlData& data);

struct TKvtmlImportResult {
    int32_t Count = 0;
    TKvtmlSides Sides;
    bool Translated = false; // some item got a translation from the file
};

// Appends one item per entry with a word/phrase: its text from the word
// side, the translation (or "#Value?#") from the translation side, the notes
// from the translation's comment (else the word's), the part of speech from
// the word's type (else the translation's). Every text is stored through the
// code pages of the document's languages; a character they can't hold
// refuses the whole file before anything is added.
TKvtmlImportResult ImportKvtmlData(TVocabFile& doc, const TKvtmlData& data);

// Title, author and comment of the file as the document's description,
// author and comments (native code page; refused like the texts).
void SetKvtmlProperties(TVocabFile& doc, const TKvtmlData& data);

// The count message of the Import command ("N items imported
// successfully."), with KvtmlImportNote after it.
std::string KvtmlImportMessage(const TKvtmlImportResult& result);
// What the count message adds: nothing when both languages matched, else
// how the sides were chosen.
const char* KvtmlImportNote(const TKvtmlImportResult& result);
inline constexpr const char* KvtmlUnmatchedNote =
    " The file's languages did not match the document's: its first language became the "
    "word/phrase, its second the translations.";
inline constexpr const char* KvtmlOneLanguageNote =
    " The file holds one language only: it became the word/phrase, and the items have no "
    "translations.";
inline constexpr const char* KvtmlOneNamedLanguageNote =
    " The file names one language only: it became the word/phrase, and the file's second "
    "texts the translations.";

// True when a file image looks like KVTML: optional byte-order mark and
// blanks, then XML whose root element, within the first 4 KiB, is "kvtml".
bool LooksLikeKvtml(std::string_view image);
// The same for a file; false when it can't be read (the import that follows
// reports why).
bool LooksLikeKvtmlFile(const std::string& path);

} // namespace vocalore
