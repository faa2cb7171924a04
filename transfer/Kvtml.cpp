#include "Kvtml.h"

#include "Blanks.h"
#include "Import.h"
#include "LanguageLabel.h"
#include "TextDecode.h"

#include "core/FileIO.h"
#include "core/VocabFile.h"

#include <memory>

namespace vocalore {

namespace {

bool Names(const TKvtmlIdentifier& identifier, uint16_t languageId) {
    return SameLanguage(KvtmlIdentifierLanguage(identifier), languageId);
}

// Trimmed like an imported column; line breaks and TABs inside (XML lets a
// text run over lines) become spaces, since an item's text is one line.
std::string OneLine(std::string_view text) {
    std::string out(TrimBlanks(text));
    for (char& c : out)
        if (IsBlank(c))
            c = ' ';
    return out;
}

const TKvtmlTranslation* Side(const TKvtmlEntry& entry, int id) {
    const auto it = entry.Translations.find(id);
    return it == entry.Translations.end() ? nullptr : &it->second;
}

} // namespace

uint16_t KvtmlIdentifierLanguage(const TKvtmlIdentifier& identifier) {
    if (const uint16_t id = LanguageFromLabel(identifier.Locale))
        return id;
    return LanguageFromLabel(identifier.Name);
}

TKvtmlSides MatchKvtmlSides(const TKvtmlData& data, uint16_t foreignId, uint16_t nativeId) {
    const TKvtmlIdentifier* word = nullptr;
    for (const TKvtmlIdentifier& identifier : data.Identifiers)
        if (Names(identifier, foreignId)) {
            word = &identifier;
            break;
        }
    const TKvtmlIdentifier* translation = nullptr;
    for (const TKvtmlIdentifier& identifier : data.Identifiers)
        if (&identifier != word && identifier.Id != (word ? word->Id : -1) &&
            Names(identifier, nativeId)) {
            translation = &identifier;
            break;
        }
    if (data.Identifiers.size() == 1) {
        const int only = data.Identifiers.front().Id;
        return {only, only == 1 ? 0 : 1, false, true};
    }
    if (!word || !translation)
        return {};
    return {word->Id, translation->Id, true};
}

std::pair<uint16_t, uint16_t> KvtmlLanguages(const TKvtmlData& data) {
    uint16_t languages[2] = {0, 0};
    for (const TKvtmlIdentifier& identifier : data.Identifiers)
        if (identifier.Id == 0 || identifier.Id == 1)
            languages[identifier.Id] = KvtmlIdentifierLanguage(identifier);
    return {languages[0], languages[1]};
}

TKvtmlImportResult ImportKvtmlData(TVocabFile& doc, const TKvtmlData& data) {
    TKvtmlImportResult result;
    result.Sides = MatchKvtmlSides(data, doc.ForeignLangID, doc.NativeLangID);
    const TTextEncoder encoder(doc.ForeignLangID, doc.NativeLangID);
    std::vector<std::unique_ptr<TVocabItem>> items;
    for (const TKvtmlEntry& entry : data.Entries) {
        const TKvtmlTranslation* word = Side(entry, result.Sides.Word);
        const TKvtmlTranslation* translation = Side(entry, result.Sides.Translation);
        if (!word)
            continue;
        const std::string wordText = OneLine(word->Text);
        if (wordText.empty())
            continue;
        auto item = std::make_unique<TVocabItem>();
        item->Word = encoder.Encode(wordText, fiWord, word->TextLine);

        std::string text = translation ? OneLine(translation->Text) : std::string();
        result.Translated = result.Translated || !text.empty();
        item->Translation = text.empty()
                                ? std::string(MissingTranslation)
                                : encoder.Encode(text, fiTranslation, translation->TextLine);

        const TKvtmlTranslation* noted = word;
        if (translation && !OneLine(translation->Comment).empty())
            noted = translation;
        item->Notes = encoder.Encode(OneLine(noted->Comment), fiNotes, noted->CommentLine);

        const TKvtmlTranslation* typed = word;
        if (OneLine(word->WordType).empty() && translation)
            typed = translation;
        item->Category = encoder.Encode(OneLine(typed->WordType), fiCategory, typed->Line);
        items.push_back(std::move(item));
    }
    result.Count = doc.AppendItems(std::move(items));
    return result;
}

void SetKvtmlProperties(TVocabFile& doc, const TKvtmlData& data) {
    const struct {
        int Index;
        const char* Caption;
        const std::string& Text;
        int64_t Line;
    } properties[] = {
        {piDescription, "Description", data.Title, data.TitleLine},
        {piAuthor, "Author", data.Author, data.AuthorLine},
        {piComments, "Comments", data.Comment, data.CommentLine},
    };
    std::string encoded[3];
    for (size_t i = 0; i < 3; ++i) // all or none
        encoded[i] =
            TTextEncoder::Encode(std::string(TrimBlanks(properties[i].Text)), doc.NativeLangID,
                                 properties[i].Caption, properties[i].Line);
    for (size_t i = 0; i < 3; ++i)
        doc.SetProperty(properties[i].Index, encoded[i]);
}

std::string KvtmlImportMessage(const TKvtmlImportResult& result) {
    return std::to_string(result.Count) + " items imported successfully." + KvtmlImportNote(result);
}

const char* KvtmlImportNote(const TKvtmlImportResult& result) {
    if (result.Sides.OneLanguage)
        return result.Translated ? KvtmlOneNamedLanguageNote : KvtmlOneLanguageNote;
    return result.Sides.Matched ? "" : KvtmlUnmatchedNote;
}

bool LooksLikeKvtml(std::string_view image) {
    image = StripUtf8Bom(image.substr(0, 4096));
    const size_t start = image.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos || image[start] != '<')
        return false;
    // The XML declaration, a DOCTYPE and comments may come first.
    for (size_t at = image.find("<kvtml", start); at != std::string_view::npos;
         at = image.find("<kvtml", at + 1)) {
        const size_t end = at + 6;
        if (end < image.size() && (IsBlank(image[end]) || image[end] == '>' || image[end] == '/'))
            return true;
    }
    return false;
}

bool LooksLikeKvtmlFile(const std::string& path) {
    try {
        return LooksLikeKvtml(ReadWholeFile(path));
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace vocalore
