#include "Anki.h"

#include "HtmlText.h"
#include "Import.h"
#include "TextDecode.h"

#include "core/VocabError.h"
#include "core/VocabFile.h"

#include <algorithm>
#include <limits>
#include <map>
#include <memory>

namespace vocalore {

namespace {

// What a document file can hold in one text.
constexpr size_t MaxItemText = std::numeric_limits<uint16_t>::max();

bool SameNameNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) {
                   return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
               };
               return lower(x) == lower(y);
           });
}

std::string Place(int32_t noteNumber, const TAnkiNoteType* type, int32_t index, int field) {
    std::string where = "Note " + std::to_string(noteNumber) + ", field ";
    if (type && index < static_cast<int32_t>(type->Fields.size()))
        where += "\"" + type->Fields[size_t(index)] + "\"";
    else
        where += std::to_string(index + 1);
    return where + " (" + ImportFieldName(field) + ")";
}

std::string Plural(int32_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

int32_t AnkiFieldIndex(const TAnkiNoteType* type, const TAnkiFieldRef& ref) {
    if (ref.Number > 0)
        return ref.Number - 1;
    if (ref.Name.empty() || !type)
        return -1;
    const auto& fields = type->Fields;
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i] == ref.Name)
            return static_cast<int32_t>(i);
    for (size_t i = 0; i < fields.size(); ++i)
        if (SameNameNoCase(fields[i], ref.Name))
            return static_cast<int32_t>(i);
    return -1;
}

const TAnkiNoteType* FindAnkiNoteType(const TAnkiPackage& package, int64_t id) {
    for (const TAnkiNoteType& type : package.NoteTypes)
        if (type.Id == id)
            return &type;
    return nullptr;
}

bool AnkiNoteInDeck(const TAnkiPackage& package, const TAnkiNote& note, const std::string& deck) {
    if (deck.empty())
        return true;
    for (const int64_t id : note.Decks)
        for (const TAnkiDeck& d : package.Decks)
            if (d.Id == id &&
                (d.Name == deck || (d.Name.size() > deck.size() + 2 && d.Name.starts_with(deck) &&
                                    d.Name.compare(deck.size(), 2, "::") == 0)))
                return true;
    return false;
}

std::vector<std::string> AnkiFieldCaptions(const TAnkiPackage& package) {
    std::map<int64_t, size_t> uses;
    for (const TAnkiNote& note : package.Notes)
        ++uses[note.TypeId];
    std::vector<const TAnkiNoteType*> types;
    for (const TAnkiNoteType& type : package.NoteTypes)
        if (uses.count(type.Id))
            types.push_back(&type);
    std::stable_sort(types.begin(), types.end(),
                     [&](const auto* a, const auto* b) { return uses[a->Id] > uses[b->Id]; });
    std::vector<std::string> captions;
    for (const TAnkiNoteType* type : types)
        for (size_t k = 0; k < type->Fields.size(); ++k) {
            if (captions.size() <= k)
                captions.emplace_back();
            std::string& caption = captions[k];
            const std::string& name = type->Fields[k];
            const std::string joined = " / " + caption + " / ";
            if (caption.empty())
                caption = name;
            else if (caption != name && joined.find(" / " + name + " / ") == std::string::npos)
                caption += " / " + name;
        }
    return captions;
}

TAnkiImportResult ImportAnkiData(TVocabFile& doc, const TAnkiPackage& package,
                                 const TAnkiImportSettings& settings) {
    TAnkiImportResult result;
    std::vector<std::unique_ptr<TVocabItem>> items;
    int32_t number = 0;
    for (const TAnkiNote& note : package.Notes) {
        ++number;
        if (!AnkiNoteInDeck(package, note, settings.Deck))
            continue;
        const TAnkiNoteType* type = FindAnkiNoteType(package, note.TypeId);
        std::array<std::string, 4> texts;
        std::array<int32_t, 4> indexes{};
        for (int f = 0; f < 4; ++f) {
            const int32_t index = AnkiFieldIndex(type, settings.Fields[size_t(f)]);
            indexes[size_t(f)] = index;
            if (index < 0 || index >= static_cast<int32_t>(note.Fields.size()))
                continue;
            texts[size_t(f)] =
                HtmlFieldText(note.Fields[size_t(index)],
                              f == fiTranslation ? TBoundary::Semicolon : TBoundary::Space);
        }
        if (texts[fiWord].empty()) {
            ++result.EmptyWord;
            continue;
        }
        if (texts[fiTranslation].empty()) {
            ++result.EmptyTranslation;
            continue;
        }
        auto item = std::make_unique<TVocabItem>();
        for (int f = 0; f < 4; ++f) {
            const std::string& text = texts[size_t(f)];
            if (text.empty())
                continue;
            const std::string where = Place(number, type, indexes[size_t(f)], f);
            std::string bytes = TTextEncoder::EncodeAt(
                text, f == fiWord ? doc.ForeignLangID : doc.NativeLangID, where);
            if (bytes.size() > MaxItemText)
                throw EVocabFileError(where + ": the text is " + std::to_string(bytes.size()) +
                                      " bytes long; a text may hold at most 65535 bytes. "
                                      "Nothing was imported.");
            item->Field(f) = std::move(bytes);
        }
        items.push_back(std::move(item));
    }
    result.Count = doc.AppendItems(std::move(items));
    return result;
}

std::string AnkiLeftOutNote(const TAnkiImportResult& result) {
    const int32_t left = result.EmptyWord + result.EmptyTranslation;
    if (left == 0)
        return {};
    std::string note = " " + Plural(left, "note was", "notes were") + " left out: ";
    if (result.EmptyWord)
        note += std::to_string(result.EmptyWord) + " with an empty word/phrase";
    if (result.EmptyWord && result.EmptyTranslation)
        note += ", ";
    if (result.EmptyTranslation)
        note += std::to_string(result.EmptyTranslation) + " with an empty translation";
    return note + ".";
}

std::string AnkiImportMessage(const TAnkiImportResult& result) {
    const std::string head = result.Count == 0
                                 ? std::string(NothingToImport)
                                 : std::to_string(result.Count) + " items imported successfully.";
    return head + AnkiLeftOutNote(result);
}

} // namespace vocalore
