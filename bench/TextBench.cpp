// Answer matching on realistic and heavy items, sorting 100,000 items with
// their keys filled first, and a Find over 100,000 items that matches nothing.
#include "core/TextFunctions.h"
#include "core/VocabFile.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace vocalore;

constexpr uint16_t English = 0x0409;
constexpr uint16_t German = 0x0407;
constexpr int ItemCount = 100000;

// A typical passive question: a few translations, one or two "/" words and
// brackets, the default flags.
void BM_MatchAnswerRealistic(benchmark::State& state) {
    const std::string expected = "to go (out), to leave/depart; (to) walk off";
    const std::string right = "walk off, go out";
    const std::string wrong = "to run away";
    const uint16_t flags = efDefaultPassive;
    bool result = false;
    for (auto _ : state) {
        result ^= MatchAnswer(expected, right, English, flags);
        result ^= MatchAnswer(expected, wrong, English, flags);
        benchmark::DoNotOptimize(result);
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_MatchAnswerRealistic);

// Six bracket pairs and three "/" words in one translation, answered wrongly
// so that every variant is tried.
void BM_MatchAnswerHeavy(benchmark::State& state) {
    const std::string expected =
        "(to) (be) big/large (and) (very) old/ancient (in) (the) town/city";
    const std::string given = "be huge and very old in the village";
    bool result = false;
    for (auto _ : state) {
        result ^= MatchAnswer(expected, given, English, efDefaultPassive);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_MatchAnswerHeavy)->Unit(benchmark::kMillisecond);

// Ten "/" words answered with every word's other alternative: a million
// variants in all, judged right.
void BM_MatchAnswerTenAlternatives(benchmark::State& state) {
    const std::string expected = "a/b c/d e/f g/h i/j k/l m/n o/p q/r s/t";
    const std::string given = "b d f h j l n p r t";
    bool result = true;
    for (auto _ : state) {
        result &= MatchAnswer(expected, given, English, efDefaultPassive);
        benchmark::DoNotOptimize(result);
    }
    if (!result)
        state.SkipWithError("judged wrong");
}
BENCHMARK(BM_MatchAnswerTenAlternatives)->Unit(benchmark::kMicrosecond);

// The heaviest item a person writes: sixteen translations, each with two "/"
// words and two brackets, answered in reverse order under the default flags
// (any order), right and then wrong in the last word.
void BM_MatchAnswerSixteenTranslations(benchmark::State& state) {
    std::string expected;
    std::string given;
    for (int i = 0; i < MaxTranslations; ++i) {
        if (i > 0) {
            expected += ", ";
            given += ", ";
        }
        expected += "(to) big/large" + std::to_string(i) + " (and) old/ancient";
        given += "large" + std::to_string(MaxTranslations - 1 - i) + " ancient";
    }
    const std::string wrong = given.substr(0, given.size() - 1);
    bool result = false;
    for (auto _ : state) {
        result ^=
            MatchAnswer(expected, state.range(0) == 0 ? given : wrong, English, efDefaultPassive);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_MatchAnswerSixteenTranslations)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void FillDocument(TVocabFile& doc) {
    doc.ForeignLangID = German;
    doc.NativeLangID = English;
    const char* articles[] = {"der ", "die ", "das "};
    const char* stems[] = {"\xc4pfel",
                           "Haus",
                           "Stra\xdf"
                           "e",
                           "M\xfc"
                           "ller",
                           "Zoo",
                           "apple",
                           "B\xe4"
                           "ckerei"};
    for (int i = 0; i < ItemCount; ++i) {
        TVocabItem& item = doc.PendingItem();
        item.Word =
            std::string(articles[i % 3]) + stems[i % 7] + std::to_string((i * 7919) % ItemCount);
        item.SortPosition = 4;
        item.Category = "noun";
        item.Translation = "a translation of item " + std::to_string(i) + ", another one";
        doc.InsertPending(ipAtEnd);
    }
}

void BM_FillSortKeysAndSort(benchmark::State& state) {
    TVocabFile doc;
    FillDocument(doc);
    for (auto _ : state) {
        doc.FillSortKeys();
        doc.Sort();
        state.PauseTiming();
        doc.Shuffle(); // start each round from a mixed order
        doc.ClearUndo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FillSortKeysAndSort)->Unit(benchmark::kMillisecond);

// Sort alone, with the keys already filled, against std::sort of the same
// keys as plain strings: the document sorts its items by key without
// running the collation again.
void BM_SortWithKeysFilled(benchmark::State& state) {
    TVocabFile doc;
    FillDocument(doc);
    for (auto _ : state) {
        state.PauseTiming();
        doc.Shuffle();
        doc.ClearUndo();
        doc.FillSortKeys();
        state.ResumeTiming();
        doc.Sort();
    }
}
BENCHMARK(BM_SortWithKeysFilled)->Unit(benchmark::kMillisecond);

void BM_StdSortOfTheSameKeys(benchmark::State& state) {
    TVocabFile doc;
    FillDocument(doc);
    std::vector<std::string> keys;
    for (auto _ : state) {
        state.PauseTiming();
        doc.Shuffle();
        doc.ClearUndo();
        doc.FillSortKeys();
        keys.clear();
        for (int32_t i = 0; i < doc.Count(); ++i)
            keys.push_back(doc.Items(i).SortKey);
        state.ResumeTiming();
        std::sort(keys.begin(), keys.end());
        benchmark::DoNotOptimize(keys.data());
    }
}
BENCHMARK(BM_StdSortOfTheSameKeys)->Unit(benchmark::kMillisecond);

void BM_FindNextNoMatch(benchmark::State& state) {
    TVocabFile doc;
    FillDocument(doc);
    const TSearchData search{"xylophon", fiWord, 0};
    const TSearchData wholeWord{"xylophon", fiTranslation, soMatchWord};
    for (auto _ : state) {
        benchmark::DoNotOptimize(doc.FindNext(state.range(0) == 0 ? search : wholeWord));
    }
}
BENCHMARK(BM_FindNextNoMatch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
