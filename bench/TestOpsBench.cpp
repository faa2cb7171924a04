// The steps between two questions on a 100,000-item document: choosing the
// next item, drawing ten choices, and recording an answer.
#include "core/Random.h"
#include "core/VocabFile.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace vocalore;

constexpr int ItemCount = 100000;

// A document halfway through learning: a third learnt, some items holding
// penalty points, answers spread over the attempt clock.
void FillDocument(TVocabFile& doc) {
    static const char* const categories[] = {"noun", "verb", "adjective", "adverb", ""};
    for (int i = 0; i < ItemCount; ++i) {
        TVocabItem& item = doc.PendingItem();
        item.Word = "das Wort " + std::to_string(i);
        item.Category = categories[i % 5];
        item.Translation = "word " + std::to_string(i);
        doc.InsertPending(ipAtEnd);
    }
    doc.SetCurrentIndex(0);
    for (int i = 0; i < 1000; ++i)
        doc.RecordAnswer(false, 3); // moves the attempt clock on
    for (int i = 0; i < ItemCount; ++i) {
        TVocabItem& item = doc.Items(i);
        item.PenaltyPoints = i % 3 == 0 ? -1 : i % 4;
        item.LastTested = i % 7 == 0 ? 0 : (i * 37) % 1000 + 1;
    }
}

void BM_SelectNextItem(benchmark::State& state) {
    TVocabFile doc;
    FillDocument(doc);
    Random::Seed(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.SelectNextItem());
}
BENCHMARK(BM_SelectNextItem)->Unit(benchmark::kMillisecond);

void BM_ChooseChoices10(benchmark::State& state) {
    TVocabFile doc;
    FillDocument(doc);
    doc.SetCurrentIndex(1);
    Random::Seed(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.ChooseChoices(10));
}
BENCHMARK(BM_ChooseChoices10)->Unit(benchmark::kMillisecond);

// RecordAnswer counts the learnt items for the last-item rule.
void BM_RecordAnswer(benchmark::State& state) {
    TVocabFile doc;
    FillDocument(doc);
    doc.SetCurrentIndex(1);
    for (auto _ : state)
        doc.RecordAnswer(false, 3);
}
BENCHMARK(BM_RecordAnswer)->Unit(benchmark::kMillisecond);

} // namespace
