// KVTML export and import of the 100,000-item document, beside the floor of
// the UTF-8 tab-delimited import of the same items.
#include "BenchDocument.h"

#include "transfer/Export.h"
#include "transfer/Import.h"
#include "transfer/Kvtml.h"
#include "transfer/qt/KvtmlXml.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace vocalore;

const TVocabFile& Document() {
    static TVocabFile* doc = [] {
        auto* d = new TVocabFile;
        bench::FillDocument(*d, 100000);
        return d;
    }();
    return *doc;
}

std::unique_ptr<TVocabFile> EmptyLike() {
    auto doc = std::make_unique<TVocabFile>();
    doc->ForeignLangID = Document().ForeignLangID;
    doc->NativeLangID = Document().NativeLangID;
    return doc;
}

void BM_KvtmlBytes(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(KvtmlBytes(Document()));
}
BENCHMARK(BM_KvtmlBytes)->Unit(benchmark::kMillisecond);

void BM_KvtmlReadAndImport(benchmark::State& state) {
    const std::string bytes = KvtmlBytes(Document());
    for (auto _ : state) {
        auto doc = EmptyLike();
        benchmark::DoNotOptimize(ImportKvtmlData(*doc, ReadKvtml(bytes)).Count);
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_KvtmlReadAndImport)->Unit(benchmark::kMillisecond);

void BM_Utf8TextImportFloor(benchmark::State& state) {
    const std::string text = TextExportBytes(Document(), false, tcUtf8);
    for (auto _ : state) {
        auto doc = EmptyLike();
        benchmark::DoNotOptimize(ImportTextBytes(*doc, text, false, {1, 2, 3, 4}, 1));
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Utf8TextImportFloor)->Unit(benchmark::kMillisecond);

} // namespace
