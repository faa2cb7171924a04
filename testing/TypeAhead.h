#pragma once
// Type-ahead in the multiple-choice list while the foreign side is asked: a
// typed letter picks the next entry whose word, past its sort position (an
// article, say), begins with that letter.

#include "core/VocabItem.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace vocalore {

// The entry the typed character selects, or -1 when none matches. The search
// starts after `selected` (at the first entry when it is -1), wraps round and
// looks at each entry once. `typed` is one character in the language's code
// page; case doesn't count, and neither do leading punctuation and spaces.
int32_t TypeAheadChoice(const std::vector<const TVocabItem*>& entries, int32_t selected,
                        std::string_view typed, uint16_t language);

} // namespace vocalore
