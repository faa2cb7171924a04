#pragma once
// Import of items from tab-delimited or comma-separated text files.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vocalore {

class TVocabFile;

inline constexpr int32_t MaxImportColumns = 64;
inline constexpr int32_t MinImportFirstLine = 1;
inline constexpr int32_t MaxImportFirstLine = 32767;
// Stands in for a translation that the imported line does not give.
inline constexpr const char* MissingTranslation = "#Value?#";
inline constexpr const char* NothingToImport = "Nothing to import.";

// What the Import dialog fills in: the format, the first line to read (from 1)
// and, per item field (Word, Category, Notes, Translation), the 1-based column
// that holds it, 0 when the field is not imported.
struct TImportSettings {
    bool Csv = false;
    int32_t FirstLine = 1;
    std::array<int32_t, 4> Columns{0, 0, 0, 0};
};

// Cuts a file image into lines: CR LF, a lone CR and a lone LF each end a line;
// a zero byte ends the text. The views point into `text`.
std::vector<std::string_view> SplitImportLines(std::string_view text);

// One comma-separated line into its fields (quoting, blanks 0x01-0x20 as separators).
std::vector<std::string> ParseCsvLine(std::string_view line);

// A (tab-joined) line into at most 64 trimmed columns; an empty line has none.
std::vector<std::string> SplitTabColumns(std::string_view line);

// The columns of one line of the file in the chosen format.
std::vector<std::string> ImportColumns(std::string_view line, bool csv);

// Appends the items that the text (a whole file image) yields; returns how many.
// The document keeps its current item; see ImportText for the bookkeeping.
int32_t ImportTextBytes(TVocabFile& doc, std::string_view text, bool csv,
                        const std::array<int32_t, 4>& columns, int32_t firstLine);

// Reads the whole file, then appends one item per line that has a word. A
// positive result empties the history and marks the document modified.
int32_t ImportText(TVocabFile& doc, const std::string& path, bool csv,
                   const std::array<int32_t, 4>& columns, int32_t firstLine);
inline int32_t ImportText(TVocabFile& doc, const std::string& path, const TImportSettings& s) {
    return ImportText(doc, path, s.Csv, s.Columns, s.FirstLine);
}

} // namespace vocalore
