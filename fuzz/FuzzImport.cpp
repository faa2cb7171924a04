// Feeds arbitrary bytes to the text import, both formats: line splitting, the
// CSV field rules and the column split must never fail, every imported item
// must carry a word and a translation, and the tab-delimited columns must
// respect their limits. A UTF-8 file may be refused (a character the code
// page can't hold), and then nothing is added.
#include "FuzzCheck.h"

#include "core/VocabFile.h"
#include "transfer/Import.h"
#include "transfer/TextDecode.h"

#include <array>
#include <string_view>

namespace {

using vocalore::fuzz::Check;

bool HasOuterBlank(const std::string& s) {
    return !s.empty() && (static_cast<unsigned char>(s.front()) <= 0x20 ||
                          static_cast<unsigned char>(s.back()) <= 0x20);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const std::string_view line : vocalore::SplitImportLines(text)) {
        Check(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos);
        for (const bool csv : {false, true}) {
            const auto columns = vocalore::ImportColumns(line, csv);
            Check(columns.size() <= static_cast<size_t>(vocalore::MaxImportColumns));
            for (const auto& c : columns)
                Check(!HasOuterBlank(c) && c.find('\t') == std::string::npos);
        }
        for (const auto& field : vocalore::ParseCsvLine(line))
            Check(field.size() <= line.size());
    }
    // The plain layout, and one with the fields out of order, a column at the
    // limit and a skipped first line.
    const struct {
        std::array<int32_t, 4> Columns;
        int32_t FirstLine;
    } layouts[] = {{{1, 2, 3, 4}, 1}, {{3, 64, 0, 1}, 2}};
    for (const bool csv : {false, true})
        for (const auto& layout : layouts) {
            vocalore::TVocabFile doc;
            doc.ForeignLangID = 0x0415; // Polish (1250) and Greek (1253): two code pages
            doc.NativeLangID = 0x0408;
            int32_t added = 0;
            try {
                added = vocalore::ImportTextBytes(doc, text, csv, layout.Columns, layout.FirstLine);
            } catch (const vocalore::EVocabFileError&) {
                Check((vocalore::IsUtf8Text(text) || vocalore::Utf16ToUtf8Image(text)) &&
                      doc.Count() == 0 && !doc.Modified());
            }
            Check(added == doc.Count());
            vocalore::fuzz::CheckItemsComplete(doc);
        }
    return 0;
}
