// Text import: a file image is cut into lines, each line into columns, and the
// columns chosen for the four item fields make one item per line with a word.

#include "Import.h"

#include "Blanks.h"
#include "TextDecode.h"
#include "core/FileIO.h"

#include "core/VocabFile.h"

#include <cstring>
#include <memory>

namespace vocalore {

namespace {

// Splits at TAB into trimmed views, at most MaxImportColumns of them.
void SplitTabs(std::string_view line, std::vector<std::string_view>& columns) {
    columns.clear();
    if (line.empty())
        return;
    size_t start = 0;
    while (static_cast<int32_t>(columns.size()) < MaxImportColumns) {
        const size_t tab = line.find('\t', start);
        if (tab == std::string_view::npos) {
            columns.push_back(TrimBlanks(line.substr(start)));
            break;
        }
        columns.push_back(TrimBlanks(line.substr(start, tab - start)));
        start = tab + 1;
    }
}

// Parses one CSV line straight into its tab-joined form, the shape the column
// splitter expects; `ends`, when given, receives where each field stops.
void CsvToTabLine(std::string_view line, std::string& joined, std::vector<size_t>* ends = nullptr) {
    joined.clear();
    if (ends)
        ends->clear();
    const size_t len = line.size();
    size_t pos = 0;
    auto skipBlanks = [&] {
        while (pos < len && IsBlank(line[pos]))
            ++pos;
    };
    bool first = true;
    skipBlanks();
    while (pos < len) {
        if (!first)
            joined.push_back('\t');
        first = false;
        if (line[pos] == '"') {
            ++pos;
            for (;;) {
                const size_t quote = line.find('"', pos);
                if (quote == std::string_view::npos) { // never closed: the rest of the line
                    joined.append(line.substr(pos));
                    pos = len;
                    break;
                }
                joined.append(line.substr(pos, quote + 1 - pos)); // up to and with the quote
                if (quote + 1 < len && line[quote + 1] == '"') {
                    pos = quote + 2; // a doubled quote stands for one
                    continue;
                }
                joined.pop_back(); // the closing quote
                pos = quote + 1;
                break;
            }
        } else {
            const size_t start = pos;
            while (pos < len && line[pos] != ',' && !IsBlank(line[pos]))
                ++pos;
            joined.append(line.substr(start, pos - start));
        }
        if (ends)
            ends->push_back(joined.size());
        skipBlanks();
        if (pos < len && line[pos] == ',') {
            ++pos;
            skipBlanks();
        }
    }
}

// Calls fn with each line, in order, until it returns false. CR LF, a lone CR
// and a lone LF end a line; a zero byte ends the text.
template <typename F> void ForEachLine(std::string_view text, F&& fn) {
    if (text.empty())
        return;
    if (const void* zero = std::memchr(text.data(), '\0', text.size()))
        text = text.substr(0, size_t(static_cast<const char*>(zero) - text.data()));
    const char* const end = text.data() + text.size();
    const char* start = text.data();
    // memchr for each line end keeps the scan vectorised; a CR usually sits
    // right before the LF, so the second search is short.
    while (start < end) {
        const auto* lf = static_cast<const char*>(std::memchr(start, '\n', size_t(end - start)));
        const char* limit = lf ? lf : end;
        const auto* cr = static_cast<const char*>(std::memchr(start, '\r', size_t(limit - start)));
        if (!cr && !lf) {
            fn(std::string_view(start, size_t(end - start)));
            return;
        }
        const char* stop = cr ? cr : lf;
        if (!fn(std::string_view(start, size_t(stop - start))))
            return;
        start = stop + 1;
        if (cr && start < end && *start == '\n')
            ++start;
    }
}

} // namespace

std::vector<std::string_view> SplitImportLines(std::string_view text) {
    std::vector<std::string_view> lines;
    ForEachLine(text, [&](std::string_view line) {
        lines.push_back(line);
        return true;
    });
    return lines;
}

std::vector<std::string> ParseCsvLine(std::string_view line) {
    std::string joined;
    std::vector<size_t> ends;
    CsvToTabLine(line, joined, &ends);
    std::vector<std::string> fields;
    size_t start = 0;
    for (const size_t end : ends) {
        fields.push_back(joined.substr(start, end - start));
        start = end + 1; // past the joining TAB
    }
    return fields;
}

std::vector<std::string> SplitTabColumns(std::string_view line) {
    std::vector<std::string_view> views;
    SplitTabs(line, views);
    return {views.begin(), views.end()};
}

std::vector<std::string> ImportColumns(std::string_view line, bool csv) {
    if (!csv)
        return SplitTabColumns(line);
    std::string joined;
    CsvToTabLine(line, joined);
    return SplitTabColumns(joined);
}

constexpr size_t MaxImportedTextSize = 65535;

int32_t ImportTextBytes(TVocabFile& doc, std::string_view text, bool csv,
                        const std::array<int32_t, 4>& columns, int32_t firstLine) {
    if (firstLine < 1)
        Raise(msg::InvalidProcedureCall);
    // A UTF-8 file is cut and split exactly like a code-page one (every
    // separator and blank is ASCII); only its texts are converted.
    std::string fromUtf16;
    if (std::optional<std::string> converted = Utf16ToUtf8Image(text)) {
        fromUtf16 = std::move(*converted);
        text = fromUtf16;
    }
    const bool utf8 = IsUtf8Text(text);
    if (utf8)
        text = StripUtf8Bom(text);
    const TTextEncoder encoder(doc.ForeignLangID, doc.NativeLangID);
    auto store = [&](std::string& target, std::string_view value, int field, int64_t line) {
        if (utf8)
            target = encoder.Encode(value, field, line);
        else
            target = value;
        // The file format holds at most 65,535 bytes a text: such an item
        // could never be saved, so the file is refused before anything is added.
        if (target.size() > MaxImportedTextSize)
            throw EVocabFileError("Line " + std::to_string(line) + ", " + ImportFieldName(field) +
                                  ": the text is " + std::to_string(target.size()) +
                                  " bytes long; a text may hold at most 65535 bytes. Nothing "
                                  "was imported.");
    };
    std::vector<std::unique_ptr<TVocabItem>> items;
    std::vector<std::string_view> cols;
    std::string joined;
    int64_t lineNumber = 0;
    ForEachLine(text, [&](std::string_view line) {
        if (++lineNumber < firstLine)
            return true;
        if (csv) {
            CsvToTabLine(line, joined);
            line = joined;
        }
        SplitTabs(line, cols);
        auto column = [&](int field) -> std::string_view {
            const int32_t c = columns[static_cast<size_t>(field)];
            if (c < 1 || c > static_cast<int32_t>(cols.size()))
                return {};
            return cols[static_cast<size_t>(c) - 1];
        };
        const std::string_view word = column(fiWord);
        if (word.empty())
            return true;
        auto item = std::make_unique<TVocabItem>();
        store(item->Word, word, fiWord, lineNumber);
        store(item->Category, column(fiCategory), fiCategory, lineNumber);
        store(item->Notes, column(fiNotes), fiNotes, lineNumber);
        const std::string_view translation = column(fiTranslation);
        store(item->Translation,
              translation.empty() ? std::string_view(MissingTranslation) : translation,
              fiTranslation, lineNumber);
        items.push_back(std::move(item));
        return true;
    });
    return doc.AppendItems(std::move(items));
}

int32_t ImportText(TVocabFile& doc, const std::string& path, bool csv,
                   const std::array<int32_t, 4>& columns, int32_t firstLine) {
    if (firstLine < 1)
        Raise(msg::InvalidProcedureCall);
    const std::string text = ReadWholeFile(path);
    return ImportTextBytes(doc, text, csv, columns, firstLine);
}

} // namespace vocalore
