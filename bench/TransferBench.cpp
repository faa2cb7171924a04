// Export, import and print layout of a 100,000-item document, each beside the
// floor of merely writing or reading the same bytes.
#include "BenchDocument.h"

#include "core/FileIO.h"
#include "transfer/Export.h"
#include "transfer/Import.h"
#include "transfer/PrintLayout.h"
#include "transfer/RecordingCanvas.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using namespace vocalore;

constexpr int ItemCount = 100000;

const TVocabFile& Document() {
    static TVocabFile* doc = [] {
        auto* d = new TVocabFile;
        bench::FillDocument(*d, ItemCount);
        return d;
    }();
    return *doc;
}

std::string TempPath(const char* name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

enum TFormat { fmTsv, fmCsv, fmRtf };

std::string Bytes(TFormat format) {
    return format == fmRtf ? RichTextBytes(Document())
                           : TextExportBytes(Document(), format == fmCsv);
}

void BM_Export(benchmark::State& state) {
    const auto format = static_cast<TFormat>(state.range(0));
    const TVocabFile& doc = Document();
    const std::string path = TempPath("vocalore-bench-export");
    for (auto _ : state) {
        if (format == fmRtf)
            ExportRichText(doc, path);
        else
            ExportText(doc, path, format == fmCsv);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(Bytes(format).size()));
    std::remove(path.c_str());
}
BENCHMARK(BM_Export)->Arg(fmTsv)->Arg(fmCsv)->Arg(fmRtf)->Unit(benchmark::kMillisecond);

// The floor of an export: the finished bytes written to the same file.
void BM_WriteBytesOnly(benchmark::State& state) {
    const std::string bytes = Bytes(static_cast<TFormat>(state.range(0)));
    const std::string path = TempPath("vocalore-bench-write");
    for (auto _ : state)
        ReplaceFile(path, bytes);
    std::remove(path.c_str());
}
BENCHMARK(BM_WriteBytesOnly)->Arg(fmTsv)->Arg(fmCsv)->Arg(fmRtf)->Unit(benchmark::kMillisecond);

void BM_Import(benchmark::State& state) {
    const bool csv = state.range(0) == fmCsv;
    const std::string path = TempPath("vocalore-bench-import");
    ExportText(Document(), path, csv);
    for (auto _ : state) {
        auto doc = std::make_unique<TVocabFile>();
        benchmark::DoNotOptimize(ImportText(*doc, path, csv, {1, 2, 3, 4}, 1));
        state.PauseTiming(); // freeing the document is not part of the import
        doc.reset();
        state.ResumeTiming();
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_Import)->Arg(fmTsv)->Arg(fmCsv)->Unit(benchmark::kMillisecond);

// The same without the file: the bytes are in memory already.
void BM_ImportBytes(benchmark::State& state) {
    const bool csv = state.range(0) == fmCsv;
    const std::string text = Bytes(csv ? fmCsv : fmTsv);
    for (auto _ : state) {
        auto doc = std::make_unique<TVocabFile>();
        benchmark::DoNotOptimize(ImportTextBytes(*doc, text, csv, {1, 2, 3, 4}, 1));
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ImportBytes)->Arg(fmTsv)->Arg(fmCsv)->Unit(benchmark::kMillisecond);

// The UTF-8 twins beside the code-page forms (tab-delimited): the cost of
// the recognition pass and of the conversion, both ways.
void BM_TextBytesCoding(benchmark::State& state) {
    const auto coding = static_cast<TTextCoding>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(TextExportBytes(Document(), false, coding));
}
BENCHMARK(BM_TextBytesCoding)
    ->Arg(int(tcCodePage))
    ->Arg(int(tcUtf8))
    ->Unit(benchmark::kMillisecond);

void BM_ImportBytesCoding(benchmark::State& state) {
    const std::string text =
        TextExportBytes(Document(), false, static_cast<TTextCoding>(state.range(0)));
    for (auto _ : state) {
        auto doc = std::make_unique<TVocabFile>();
        doc->ForeignLangID = Document().ForeignLangID;
        doc->NativeLangID = Document().NativeLangID;
        benchmark::DoNotOptimize(ImportTextBytes(*doc, text, false, {1, 2, 3, 4}, 1));
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ImportBytesCoding)
    ->Arg(int(tcCodePage))
    ->Arg(int(tcUtf8))
    ->Unit(benchmark::kMillisecond);

// The document's own floor: the same 100,000 items, already cut into texts,
// made into items and appended.
void BM_AppendItemsOnly(benchmark::State& state) {
    const TVocabFile& source = Document();
    for (auto _ : state) {
        std::vector<std::unique_ptr<TVocabItem>> items;
        items.reserve(static_cast<size_t>(source.Count()));
        for (int32_t i = 0; i < source.Count(); ++i) {
            const TVocabItem& s = source.Items(i);
            auto item = std::make_unique<TVocabItem>();
            item->Word = s.Word;
            item->Category = s.Category;
            item->Notes = s.Notes;
            item->Translation = s.Translation;
            items.push_back(std::move(item));
        }
        auto doc = std::make_unique<TVocabFile>();
        benchmark::DoNotOptimize(doc->AppendItems(std::move(items)));
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AppendItemsOnly)->Unit(benchmark::kMillisecond);

// The floor of an import: the same file read into memory and nothing else.
void BM_ReadBytesOnly(benchmark::State& state) {
    const std::string path = TempPath("vocalore-bench-read");
    ExportText(Document(), path, state.range(0) == fmCsv);
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadWholeFile(path).size());
    std::remove(path.c_str());
}
BENCHMARK(BM_ReadBytesOnly)->Arg(fmTsv)->Arg(fmCsv)->Unit(benchmark::kMillisecond);

// Laying 100,000 items out in two columns on the recording canvas.
void BM_PrintLayout(benchmark::State& state) {
    const TVocabFile& doc = Document();
    TPageSetup setup;
    setup.Columns = static_cast<int32_t>(state.range(0));
    int32_t pages = 0;
    for (auto _ : state) {
        TRecordingCanvas canvas;
        canvas.Keep = false;
        PrintJob(doc, canvas, setup, "bench");
        pages = canvas.Pages;
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_PrintLayout)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

} // namespace
