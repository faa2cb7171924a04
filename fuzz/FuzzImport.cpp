// Feeds arbitrary bytes to the text import, both formats: line splitting, the
// CSV field rules and the column split must never fail, every imported item
// must carry a word and a translation, and the tab-delimited columns must
// respect their limits.
#include "core/VocabFile.h"
#include "transfer/Import.h"

#include <cstdlib>
#include <string_view>

namespace {

void Check(bool ok) {
    if (!ok)
        std::abort();
}

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
    for (const bool csv : {false, true}) {
        vocalore::TVocabFile doc;
        const int32_t added = vocalore::ImportTextBytes(doc, text, csv, {1, 2, 3, 4}, 1);
        Check(added == doc.Count());
        for (int32_t i = 0; i < doc.Count(); ++i)
            Check(!doc.Items(i).Word.empty() && !doc.Items(i).Translation.empty());
    }
    return 0;
}
