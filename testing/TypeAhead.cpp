#include "TypeAhead.h"

#include "core/TextFunctions.h"

#include <algorithm>
#include <string>

namespace vocalore {

int32_t TypeAheadChoice(const std::vector<const TVocabItem*>& entries, int32_t selected,
                        std::string_view typed, uint16_t language) {
    const auto count = static_cast<int32_t>(entries.size());
    if (count == 0 || typed.empty())
        return -1;
    const std::string wanted = LowerCaseText(typed.substr(0, 1), language);
    const int32_t first = selected < 0 || selected >= count ? 0 : selected + 1;
    for (int32_t step = 0; step < count; ++step) {
        const int32_t index = (first + step) % count;
        const TVocabItem* item = entries[static_cast<size_t>(index)];
        if (!item)
            continue;
        const std::string_view word = item->Word;
        const auto skip = static_cast<size_t>(std::max(item->SortPosition, 0));
        if (skip >= word.size())
            continue;
        const std::string letters = LettersAndDigits(word.substr(skip), language, false);
        if (!letters.empty() && LowerCaseText(letters.substr(0, 1), language) == wanted)
            return index;
    }
    return -1;
}

} // namespace vocalore
