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
    f.ResetEnabled = f.Attempts > 0;
    return f;
}

std::string ProgressText(const TVocabFile& document) {
    return PercentText(document.LearntCount(), document.Count());
}

} // namespace vocalore
