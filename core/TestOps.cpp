// The document side of testing: choosing the next item, recording answers,
// resetting the counters and drawing multiple-choice sets.

#include "Random.h"
#include "VocabFile.h"

#include <algorithm>
#include <array>
#include <limits>
#include <numeric>

namespace vocalore {

namespace {

// Files may carry any negative value; every one of them counts as learnt, so
// that selection, the learnt count and the last-item rule agree.
bool IsLearnt(const TVocabItem& item) { return item.PenaltyPoints < 0; }

// Visits each position in turn and swaps it with one drawn from the whole
// list; the same walk serves selection and multiple choice.
template <typename T> void ShuffleWhole(std::vector<T>& list) {
    const auto n = static_cast<int32_t>(list.size());
    for (int32_t i = 0; i < n; ++i)
        std::swap(list[static_cast<size_t>(i)], list[static_cast<size_t>(Random::Index(n))]);
}

} // namespace

bool TVocabFile::SelectNextItem() {
    const int32_t n = Count();
    std::vector<int32_t> order(static_cast<size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    ShuffleWhole(order);

    // 64 bits: counters read from a file can make gap x points exceed 32 bits,
    // and any unlearnt item must be choosable whatever its weight.
    int64_t best = std::numeric_limits<int64_t>::min();
    int32_t chosen = -1;
    const int64_t attempts = FAttemptCount;
    for (const int32_t index : order) {
        const TVocabItem& item = *FItems[static_cast<size_t>(index)];
        if (IsLearnt(item))
            continue;
        const int64_t gap = item.LastTested > 0 ? attempts - item.LastTested : int64_t{n} - 1;
        const int64_t weight = gap * (int64_t{item.PenaltyPoints} + 1);
        if (chosen < 0 || weight > best) {
            best = weight;
            chosen = index;
        }
    }
    if (chosen < 0)
        return false;
    FCurrentIndex = chosen;
    return true;
}

void TVocabFile::RecordAnswer(bool correct, int32_t maxPenaltyPoints) {
    TVocabItem& item = CurrentItem();
    if (IsLearnt(item) || maxPenaltyPoints < 0)
        Raise(msg::InvalidProcedureCall);
    const bool lastUnlearnt = Count() - LearntCount() == 1;

    ++FAttemptCount;
    item.LastTested = FAttemptCount;
    if (maxPenaltyPoints < item.PenaltyPoints)
        item.PenaltyPoints = maxPenaltyPoints;
    if (correct) {
        item.PenaltyPoints = lastUnlearnt ? -1 : item.PenaltyPoints - 1;
        ++FSuccessCount;
    } else if (item.PenaltyPoints < maxPenaltyPoints) {
        ++item.PenaltyPoints;
    }
    EmptyHistoryAfterChange();
}

void TVocabFile::ResetStatistics() {
    for (auto& item : FItems) {
        item->LastTested = 0;
        item->PenaltyPoints = 0;
    }
    FAttemptCount = 0;
    FSuccessCount = 0;
    EmptyHistoryAfterChange();
}

int32_t TVocabFile::LearntCount() const {
    return static_cast<int32_t>(
        std::count_if(FItems.begin(), FItems.end(), [](const auto& item) { return IsLearnt(*item); }));
}

std::vector<const TVocabItem*> TVocabFile::ChooseChoices(int32_t count) const {
    const TVocabItem& current = CurrentItem();
    if (count < 1)
        Raise(msg::InvalidParameter);

    std::vector<const TVocabItem*> candidates;
    candidates.reserve(FItems.size());
    for (const auto& item : FItems)
        if (item.get() != &current)
            candidates.push_back(item.get());
    ShuffleWhole(candidates);

    const auto size = static_cast<size_t>(std::min(count, Count()));
    const size_t needed = size - 1;
    // One walk sorts the candidates into the four passes, each kept in
    // shuffled order and never longer than the set can take.
    std::array<std::vector<const TVocabItem*>, 4> passes;
    for (const TVocabItem* candidate : candidates) {
        const size_t pass = (candidate->Category == current.Category ? 0 : 2) + (IsLearnt(*candidate) ? 1 : 0);
        if (passes[pass].size() < needed)
            passes[pass].push_back(candidate);
    }

    std::vector<const TVocabItem*> choices;
    choices.reserve(size);
    choices.push_back(&current);
    for (const auto& pass : passes)
        for (const TVocabItem* candidate : pass) {
            if (choices.size() == size)
                break;
            choices.push_back(candidate);
        }
    ShuffleWhole(choices);
    return choices;
}

} // namespace vocalore
