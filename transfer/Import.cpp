// Text import: a file image is cut into lines, each line into columns, and the
// columns chosen for the four item fields make one item per line with a word.

#include "Import.h"

#include "FileIO.h"

#include "core/VocabFile.h"

#include <memory>

namespace vocalore {

namespace {

// Bytes 0x01-0x20 separate CSV fields; a zero byte never reaches a line.
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

std::string_view Trim(std::string_view s) {
    size_t first = 0;
    while (first < s.size() && IsBlank(s[first]))
        ++first;
    size_t last = s.size();
    while (last > first && IsBlank(s[last - 1]))
        --last;
    return s.substr(first, last - first);
}

// Splits at TAB into trimmed views, at most MaxImportColumns of them.
void SplitTabs(std::string_view line, std::vector<std::string_view>& columns) {
    columns.clear();
    if (line.empty())
        return;
    size_t start = 0;
    while (static_cast<int32_t>(columns.size()) < MaxImportColumns) {
        const size_t tab = line.find('\t', start);
        if (tab == std::string_view::npos) {
            columns.push_back(Trim(line.substr(start)));
            break;
        }
        columns.push_back(Trim(line.substr(start, tab - start)));
        start = tab + 1;
    }
}

// Parses one CSV line straight into its tab-joined form, the shape the column
// splitter expects; `ends`, when given, receives where each field stops.
void CsvToTabLine(std::string_view line, std::string& joined,
                  std::vector<size_t>* ends = nullptr) {
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
            while (pos < len) {
                const char c = line[pos];
                if (c == '"') {
                    if (pos + 1 < len && line[pos + 1] == '"') {
                        joined.push_back('"');
                        pos += 2;
                        continue;
                    }
                    ++pos; // the closing quote
                    break;
                }
                joined.push_back(c);
                ++pos;
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

} // namespace

std::vector<std::string_view> SplitImportLines(std::string_view text) {
    const size_t zero = text.find('\0');
    if (zero != std::string_view::npos)
        text = text.substr(0, zero);
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
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

int32_t ImportTextBytes(TVocabFile& doc, std::string_view text, bool csv,
                        const std::array<int32_t, 4>& columns, int32_t firstLine) {
    if (firstLine < 1)
        Raise(msg::InvalidProcedureCall);
    const std::vector<std::string_view> lines = SplitImportLines(text);
    std::vector<std::unique_ptr<TVocabItem>> items;
    std::vector<std::string_view> cols;
    std::string joined;
    for (size_t i = static_cast<size_t>(firstLine) - 1; i < lines.size(); ++i) {
        std::string_view line = lines[i];
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
            continue;
        auto item = std::make_unique<TVocabItem>();
        item->Word = word;
        item->Category = column(fiCategory);
        item->Notes = column(fiNotes);
        item->Translation = column(fiTranslation);
        if (item->Translation.empty())
            item->Translation = MissingTranslation;
        items.push_back(std::move(item));
    }
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
