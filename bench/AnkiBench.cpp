// Import of a 10,000-note flashcard package in each layout: the plain
// database and the zstd-compressed one of current versions; then the parts
// (reading the package alone, and the field text step alone).
#include "../tests/transfer/AnkiPackages.h"

#include "core/VocabFile.h"
#include "transfer/AnkiPackage.h"
#include "transfer/HtmlText.h"

#include <benchmark/benchmark.h>

#include <array>

namespace {

using namespace vocalore;

std::array<std::string, 2> MakePackages() {
    ankitest::TCollectionPlan plan;
    plan.Types = {{1, "Basic (and reversed)", {"Front", "Back", "Extra"}}};
    for (int i = 1; i <= 10000; ++i) {
        const std::string n = std::to_string(i);
        plan.Notes.push_back(
            {1,
             {"das <b>Wort</b> " + n + " [sound:w" + n + ".mp3]",
              "<div>the word " + n + "</div><div>a term &amp; more</div>", "Pl. W&ouml;rter"},
             1});
    }
    return {ankitest::MakePackage(plan, false), ankitest::MakePackage(plan, true)};
}

const std::string& Package(bool compressed) {
    static const std::array<std::string, 2> packages = MakePackages();
    return packages[compressed ? 1 : 0];
}

void BM_AnkiImport(benchmark::State& state) {
    const std::string& image = Package(state.range(0) != 0);
    for (auto _ : state) {
        TVocabFile doc;
        doc.ForeignLangID = 0x0407;
        doc.NativeLangID = 0x0409;
        const TAnkiImportResult result = ImportAnkiData(doc, ReadAnkiPackage(image), {});
        if (result.Count != 10000)
            state.SkipWithError("not every note was imported");
    }
    state.SetLabel(state.range(0) ? "collection.anki21b (zstd)" : "collection.anki2");
}
BENCHMARK(BM_AnkiImport)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_AnkiReadPackage(benchmark::State& state) {
    const std::string& image = Package(state.range(0) != 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadAnkiPackage(image));
}
BENCHMARK(BM_AnkiReadPackage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_HtmlFieldText(benchmark::State& state) {
    const std::string field = "<div>the word 1234</div><div>a term &amp; more</div> {{c1::x::y}}";
    for (auto _ : state)
        benchmark::DoNotOptimize(HtmlFieldText(field, TBoundary::Semicolon));
}
BENCHMARK(BM_HtmlFieldText);

} // namespace
