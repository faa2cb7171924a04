#pragma once
// The generated German-English document every benchmark measures: `count`
// items with a part of speech, notes on every third item (one accented byte
// among them) and a sort position.

#include "core/VocabFile.h"

#include <string>

namespace vocalore::bench {

inline void FillDocument(TVocabFile& doc, int count) {
    doc.ForeignLangID = 0x0407;
    doc.NativeLangID = 0x0409;
    for (int i = 0; i < count; ++i) {
        TVocabItem& item = doc.PendingItem();
        item.Word = "der Wortschatz " + std::to_string(i);
        item.Category = "noun";
        item.Notes = i % 3 == 0 ? "masculine, plural W\xF6rter" : "";
        item.Translation = "vocabulary, word stock; lexicon " + std::to_string(i);
        item.SortPosition = 4;
        doc.InsertPending(ipAtEnd);
    }
}

} // namespace vocalore::bench
