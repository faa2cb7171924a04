#pragma once
// Small list helpers shared by the document's translation units.

#include <algorithm>
#include <cstdint>
#include <vector>

namespace vocalore::detail {

// Moves one entry from index `from` to index `to`, shifting those between.
template <typename T> void MoveEntry(std::vector<T>& list, int32_t from, int32_t to) {
    auto first = list.begin();
    if (from < to)
        std::rotate(first + from, first + from + 1, first + to + 1);
    else
        std::rotate(first + to, first + from, first + from + 1);
}

} // namespace vocalore::detail
