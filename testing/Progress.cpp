#include "Progress.h"

#include "core/DisplayRules.h"

namespace vocalore {

TStatisticsFigures StatisticsFigures(const TVocabFile& document) {
    TStatisticsFigures f;
    f.Learnt = document.LearntCount();
    f.Items = document.Count();
    f.Progress = PercentText(f.Learnt, f.Items);
    f.Successes = document.SuccessCount();
    f.Attempts = document.AttemptCount();
    f.SuccessRate = PercentText(f.Successes, f.Attempts);
    // Anything to reset: the counters, or items learnt or marked in an earlier
    // test (a merged or imported list may bring them with counters at zero,
    // and all-learnt it could never be tested again).
    f.ResetEnabled = f.Attempts != 0 || f.Successes != 0;
    for (int32_t i = 0; i < document.Count() && !f.ResetEnabled; ++i) {
        const TVocabItem& item = document.Items(i);
        f.ResetEnabled = item.PenaltyPoints != 0 || item.LastTested != 0;
    }
    return f;
}

std::string ProgressText(const TVocabFile& document) {
    return PercentText(document.LearntCount(), document.Count());
}

} // namespace vocalore
