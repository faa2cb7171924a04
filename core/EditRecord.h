#pragma once
// The edit record the Edit dialog fills, and the text rules it applies before
// an item is accepted: space normalisation and the '@' sort marker. Texts are
// bytes in their languages' code pages, so a byte index is a character index.

#include <cstdint>
#include <string>
#include <string_view>

namespace vocalore {

struct TVocabItem;

struct TEditRecord {
    std::string Word;
    std::string Category;
    std::string Notes;
    std::string Translation;
    int32_t SortPosition = 0; // index into Word of its first significant letter
};

TEditRecord EditRecordOf(const TVocabItem& item);
// A fresh item from the record: never tested, not learnt.
void FillItem(TVocabItem& item, const TEditRecord& record);

// Leading spaces go, every run of spaces becomes one, a trailing space goes.
// Only the space character counts.
std::string NormalizeSpaces(std::string_view text);

inline constexpr char SortMarker = '@';
inline constexpr int32_t SortPositionMissing = -1;

// The word as the Edit dialog shows it: the marker before the character at
// the sort position when that is past the start, or always when the user
// wants to be reminded. A position beyond the word puts it at the end.
std::string WordWithSortMarker(const std::string& word, int32_t sortPosition,
                               bool requireSortPosition);

// Takes the first marker out of `word` and returns the sort position it
// stood for. A marker with nothing after it, or none at all, gives 0, or
// SortPositionMissing when a marker is required. Later markers stay text.
int32_t TakeSortMarker(std::string& word, bool requireSortPosition);

} // namespace vocalore
