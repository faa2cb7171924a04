#include "Random.h"
#include "TextFunctions.h"
#include "TextTables.h"
#include "VocabFile.h"

#include <algorithm>
#include <numeric>

namespace vocalore {

namespace {

// Word without the leading characters that sorting skips (an article, say).
std::string_view SignificantPart(const TVocabItem& item) {
    const std::string_view word = item.Word;
    if (item.SortPosition <= 0)
        return word;
    const auto skip = static_cast<size_t>(item.SortPosition);
    return skip >= word.size() ? std::string_view() : word.substr(skip);
}

std::string SearchFormWith(const detail::TTextTables& tables, std::string_view text,
                           uint8_t options) {
    std::string form((options & soMatchCase) != 0 ? std::string(text) : tables.LowerCase(text));
    if ((options & soMatchAccents) == 0)
        form = tables.RemoveAccents(form);
    if ((options & soMatchWord) != 0) {
        for (char& c : form)
            if (!tables.IsAlnum(static_cast<unsigned char>(c)))
                c = ' ';
        form = ' ' + form + ' ';
    }
    return form;
}

} // namespace

void TVocabFile::FillSortKeys() {
    for (auto& item : FItems)
        item->SortKey = vocalore::SortKey(SignificantPart(*item), ForeignLangID);
}

void TVocabFile::Sort() {
    // Keys and positions side by side, so a comparison reaches the key bytes
    // without going through the item first. string_view compares like
    // memcmp: unsigned bytes, a prefix first.
    std::vector<std::pair<std::string_view, int32_t>> keyed;
    keyed.reserve(FItems.size());
    for (size_t i = 0; i < FItems.size(); ++i)
        keyed.emplace_back(FItems[i]->SortKey, static_cast<int32_t>(i));
    std::sort(keyed.begin(), keyed.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<int32_t> order;
    order.reserve(keyed.size());
    for (const auto& entry : keyed)
        order.push_back(entry.second);
    ReorderWithStep(std::move(order), ukSort);
}

void TVocabFile::Shuffle() {
    const auto n = static_cast<int32_t>(FItems.size());
    std::vector<int32_t> order(FItems.size());
    std::iota(order.begin(), order.end(), 0);
    for (int32_t i = 0; i < n; ++i)
        std::swap(order[static_cast<size_t>(i)], order[static_cast<size_t>(Random::Index(n))]);
    ReorderWithStep(std::move(order), ukShuffle);
}

std::string TVocabFile::SearchForm(const std::string& text, uint16_t language, uint8_t options) {
    return SearchFormWith(detail::TextTablesFor(language), text, options);
}

int32_t TVocabFile::FindNext(const TSearchData& search) const {
    if (search.Field >= FieldCount || FItems.empty() || search.Text.empty())
        return -1;
    const uint16_t language = search.Field == fiWord ? ForeignLangID : NativeLangID;
    const detail::TTextTables& tables = detail::TextTablesFor(language);
    const std::string needle = SearchFormWith(tables, search.Text, search.Options);
    if (needle.empty())
        return -1;
    const auto n = static_cast<int32_t>(FItems.size());
    const int32_t first = FCurrentIndex + 1; // 0 without a current item
    for (int32_t k = 0; k < n; ++k) {
        const int32_t index = (first + k) % n;
        const std::string hay = SearchFormWith(
            tables, FItems[static_cast<size_t>(index)]->Field(search.Field), search.Options);
        if (hay.find(needle) != std::string::npos)
            return index;
    }
    return -1;
}

} // namespace vocalore
