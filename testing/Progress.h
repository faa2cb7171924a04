#pragma once
// The figures of the Statistics dialog and the progress shown while testing.

#include "core/VocabFile.h"

#include <cstdint>
#include <string>

namespace vocalore {

struct TStatisticsFigures {
    int32_t Learnt = 0;        // "Words learnt:"
    int32_t Items = 0;         // "Words in file:"
    std::string Progress;      // "Progress:", learnt of items
    int32_t Successes = 0;     // "Questions answered correctly:"
    int32_t Attempts = 0;      // "Questions attempted:"
    std::string SuccessRate;   // "Success rate:", successes of attempts
    bool ResetEnabled = false; // "&Reset statistics" whenever there is anything to reset
};

TStatisticsFigures StatisticsFigures(const TVocabFile& document);

// The status bar's progress while testing, e.g. "33%".
std::string ProgressText(const TVocabFile& document);

} // namespace vocalore
