// Feeds arbitrary bytes to the KVTML reader: it either refuses the file with
// a document error or gives entries that import without anything but the
// refusal of a character; what imported must export to KVTML that reads
// back into the same items.
#include "FuzzCheck.h"

#include "core/VocabFile.h"
#include "transfer/Kvtml.h"
#include "transfer/qt/KvtmlXml.h"

#include <string_view>

using vocalore::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vocalore;
    const std::string_view image(reinterpret_cast<const char*>(data), size);
    (void)LooksLikeKvtml(image);
    TKvtmlData kvtml;
    try {
        kvtml = ReadKvtml(image);
    } catch (const EVocabFileError&) {
        return 0;
    }
    (void)KvtmlLanguages(kvtml);
    TVocabFile doc;
    doc.ForeignLangID = 0x0407;
    doc.NativeLangID = 0x0419; // German and Russian: two code pages
    try {
        const TKvtmlImportResult result = ImportKvtmlData(doc, kvtml);
        Check(result.Count == doc.Count());
    } catch (const EVocabFileError&) {
        Check(doc.Count() == 0);
        return 0;
    }
    vocalore::fuzz::CheckItemsComplete(doc);
    std::string bytes;
    try {
        bytes = KvtmlBytes(doc);
    } catch (const EVocabFileError&) {
        return 0; // a control character that XML can't carry
    }
    TVocabFile back;
    back.ForeignLangID = doc.ForeignLangID;
    back.NativeLangID = doc.NativeLangID;
    Check(ImportKvtmlData(back, ReadKvtml(bytes)).Count == doc.Count());
    for (int32_t i = 0; i < doc.Count(); ++i)
        for (int f = 0; f < FieldCount; ++f)
            Check(back.Items(i).Field(f) == doc.Items(i).Field(f));
    return 0;
}
