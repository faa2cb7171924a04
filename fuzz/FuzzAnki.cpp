// Feeds arbitrary bytes to the flashcard package reader: it either refuses
// the package with a document error or gives notes that import without
// anything but the refusal of a character or a text too long. The first byte
// chooses what the rest is: a whole package, or a collection database that
// is packed (plain or zstd-compressed) before it is read, so that the
// fuzzer reaches the database reader without having to build zip archives.
#include "../tests/transfer/AnkiPackages.h"

#include "FuzzCheck.h"

#include "core/VocabError.h"
#include "core/VocabFile.h"
#include "transfer/AnkiPackage.h"

#include <string_view>

using vocalore::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vocalore;
    if (size == 0)
        return 0;
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::string image;
    switch (data[0] % 3) {
    case 0:
        image = rest;
        break;
    case 1:
        image = ankitest::MakeZip({{"collection.anki2", rest}});
        break;
    default:
        image = ankitest::MakeZip({{"collection.anki21b", ankitest::Zstd(rest)}});
        break;
    }
    (void)LooksLikeAnkiPackage(image);
    TAnkiPackage package;
    try {
        package = ReadAnkiPackage(image);
    } catch (const EVocabFileError&) {
        return 0;
    }
    (void)AnkiFieldCaptions(package);
    TVocabFile doc;
    doc.ForeignLangID = 0x0407;
    doc.NativeLangID = 0x0419; // German and Russian: two code pages
    TAnkiImportSettings settings;
    if (!package.Decks.empty())
        settings.Deck = package.Decks[data[0] % package.Decks.size()].Name;
    try {
        const TAnkiImportResult result = ImportAnkiData(doc, package, settings);
        Check(result.Count == doc.Count());
        Check(result.Count + result.EmptyWord + result.EmptyTranslation <=
              static_cast<int32_t>(package.Notes.size()));
    } catch (const EVocabFileError&) {
        Check(doc.Count() == 0);
        return 0;
    }
    vocalore::fuzz::CheckItemsComplete(doc);
    return 0;
}
