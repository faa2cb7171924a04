#pragma once
// The fuzz targets' verdicts: an invariant that does not hold aborts, which
// the fuzzer reports together with the input that broke it.

#include "core/VocabFile.h"

#include <cstdlib>

namespace vocalore::fuzz {

inline void Check(bool ok) {
    if (!ok)
        std::abort();
}

// Every item an import added has a word and a translation.
inline void CheckItemsComplete(const TVocabFile& doc) {
    for (int32_t i = 0; i < doc.Count(); ++i)
        Check(!doc.Items(i).Word.empty() && !doc.Items(i).Translation.empty());
}

} // namespace vocalore::fuzz
