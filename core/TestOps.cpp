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
    // Weights are worked out in list order, so the shuffled walk below touches
    // only this compact array and not the items themselves.
    // 64 bits: counters read from a file can make gap x points exceed 32 bits.
    constexpr int64_t learnt = std::numeric_limits<int64_t>::min();
    std::vector<int64_t> weights(static_cast<size_t>(n));
    const int64_t attempts = FAttemptCount;
    for (int32_t i = 0; i < n; ++i) {
        const TVocabItem& item = *FItems[static_cast<size_t>(i)];
        if (IsLearnt(item)) {
            weights[static_cast<size_t>(i)] = learnt;
            continue;
        }
        const int64_t gap = item.LastTested > 0 ? attempts - item.LastTested : int64_t{n} - 1;
        weights[static_cast<size_t>(i)] = gap * (int64_t{item.PenaltyPoints} + 1);
    }

    std::vector<int32_t> order(static_cast<size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    ShuffleWhole(order);

    // Any unlearnt item must be choosable, whatever its weight.
    int64_t best = learnt;
    int32_t chosen = -1;
    for (const int32_t index : order) {
        const int64_t weight = weights[static_cast<size_t>(index)];
        if (weight == learnt)
            continue;
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

    // The counters stop at their largest value: a document that has reached
    // it keeps its statistics positive, and every item answered from then on
    // counts as answered most recently.
    constexpr int32_t most = std::numeric_limits<int32_t>::max();
    if (FAttemptCount < most)
        ++FAttemptCount;
    item.LastTested = std::max(FAttemptCount, 1);
    if (maxPenaltyPoints < item.PenaltyPoints)
        item.PenaltyPoints = maxPenaltyPoints;
    if (correct) {
        item.PenaltyPoints = lastUnlearnt ? -1 : item.PenaltyPoints - 1;
        if (FSuccessCount < most)
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
    return static_cast<int32_t>(std::count_if(FItems.begin(), FItems.end(),
                                              [](const auto& item) { return IsLearnt(*item); }));
}

std::vector<const TVocabItem*> TVocabFile::ChooseChoices(int32_t count) const {
    const TVocabItem& current = CurrentItem();
    if (count < 1)
        Raise(msg::InvalidParameter);

    // The pass of every other item, worked out in list order: 0 same part of
    // speech, 1 same and learnt, 2 different, 3 different and learnt.
    std::vector<int32_t> candidates;
    std::vector<uint8_t> passOf(FItems.size());
    candidates.reserve(FItems.size());
    for (size_t i = 0; i < FItems.size(); ++i) {
        const TVocabItem& item = *FItems[i];
        if (&item == &current)
            continue;
        candidates.push_back(static_cast<int32_t>(i));
        passOf[i] = static_cast<uint8_t>((item.Category == current.Category ? 0 : 2) +
                                         (IsLearnt(item) ? 1 : 0));
    }
    ShuffleWhole(candidates);

    const auto size = static_cast<size_t>(std::min(count, Count()));
    const size_t needed = size - 1;
    // One walk over the shuffled candidates fills all four passes, each in
    // shuffled order and never longer than the set can take.
    std::array<std::vector<int32_t>, 4> passes;
    for (const int32_t candidate : candidates) {
        auto& pass = passes[passOf[static_cast<size_t>(candidate)]];
        if (pass.size() < needed)
            pass.push_back(candidate);
    }

    std::vector<const TVocabItem*> choices;
    choices.reserve(size);
    choices.push_back(&current);
    for (const auto& pass : passes)
        for (const int32_t candidate : pass) {
            if (choices.size() == size)
                break;
            choices.push_back(FItems[static_cast<size_t>(candidate)].get());
        }
    ShuffleWhole(choices);
    return choices;
}

} // namespace vocalore
