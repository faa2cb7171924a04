#include "EditRecord.h"

#include "VocabItem.h"

#include <algorithm>

namespace vocalore {

TEditRecord EditRecordOf(const TVocabItem& item) {
    return {item.Word, item.Category, item.Notes, item.Translation, item.SortPosition};
}

void FillItem(TVocabItem& item, const TEditRecord& record) {
    item = TVocabItem{};
    item.Word = record.Word;
    item.Category = record.Category;
    item.Notes = record.Notes;
    item.Translation = record.Translation;
    item.SortPosition = record.SortPosition;
}

std::string NormalizeSpaces(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    bool pendingSpace = false;
    for (const char ch : text) {
        if (ch == ' ') {
            pendingSpace = !result.empty();
            continue;
        }
        if (pendingSpace)
            result += ' ';
        pendingSpace = false;
        result += ch;
    }
    return result;
}

std::string WordWithSortMarker(const std::string& word, int32_t sortPosition,
                               bool requireSortPosition) {
    if (sortPosition <= 0 && !requireSortPosition)
        return word;
    const auto at = static_cast<size_t>(std::clamp<int64_t>(sortPosition, 0, int64_t(word.size())));
    std::string shown = word;
    shown.insert(at, 1, SortMarker);
    return shown;
}

int32_t TakeSortMarker(std::string& word, bool requireSortPosition) {
    const size_t at = word.find(SortMarker);
    const int32_t unmarked = requireSortPosition ? SortPositionMissing : 0;
    if (at == std::string::npos)
        return unmarked;
    word.erase(at, 1);
    return at < word.size() ? static_cast<int32_t>(at) : unmarked;
}

} // namespace vocalore
