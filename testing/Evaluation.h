#pragma once
// Judging a typed answer to an item.

#include "core/VocabItem.h"

#include <cstdint>
#include <string_view>

namespace vocalore {

// 0 Passive: the foreign side is shown and a translation asked;
// 1 Active: the translation is shown and the foreign side asked.
// The values are the stored "TestMode" and the index into TOptions::TestNotes.
enum TTestMode : uint8_t { tmPassive = 0, tmActive = 1 };

struct TEvaluation {
    bool WordCorrect = false;
    bool NotesCorrect = true; // true when notes were not asked
    bool Correct = false;
};

struct TTypedAnswer {
    std::string_view Response;
    std::string_view NotesResponse;
    bool NotesTested = false;
};

// modeFlags is the options' evaluation word for the mode; the translation-list
// bit is forced on for Passive and off for Active whatever it holds. Notes are
// compared ignoring case, punctuation and spacing.
TEvaluation EvaluateTyped(const TVocabItem& item, TTestMode mode, uint16_t modeFlags,
                          uint16_t foreignLangID, uint16_t nativeLangID,
                          const TTypedAnswer& answer);

// The text a typed answer is compared with, and the one the Hint command reveals.
const std::string& ExpectedText(const TVocabItem& item, TTestMode mode);

} // namespace vocalore
