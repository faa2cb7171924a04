// Export, import and print layout of a 100,000-item document, each beside the
// floor of merely writing or reading the same bytes.
#include "core/VocabFile.h"
#include "transfer/Export.h"
#include "transfer/FileIO.h"
#include "transfer/Import.h"
#include "transfer/PrintLayout.h"
#include "transfer/RecordingCanvas.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

using namespace vocalore;

constexpr int ItemCount = 100000;

void FillDocument(TVocabFile& doc) {
    doc.ForeignLangID = 0x0407;
    doc.NativeLangID = 0x0409;
    for (int i = 0; i < ItemCount; ++i) {
        TVocabItem& item = doc.PendingItem();
        item.Word = "der Wortschatz " + std::to_string(i);
        item.Category = "noun";
        item.Notes = i % 3 == 0 ? "masculine, plural W\xF6rter" : "";
        item.Translation = "vocabulary, word stock; lexicon " + std::to_string(i);
        doc.InsertPending(ipAtEnd);
    }
}

const TVocabFile& Document() {
    static TVocabFile* doc = [] {
        auto* d = new TVocabFile;
        FillDocument(*d);
        return d;
    }();
    return *doc;
}

std::string TempPath(const char* name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

enum TFormat { fmTsv, fmCsv, fmRtf };

std::string Bytes(TFormat format) {
    return format == fmRtf ? RichTextBytes(Document()) : TextExportBytes(Document(), format == fmCsv);
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
        WriteWholeFile(path, bytes);
    std::remove(path.c_str());
}
BENCHMARK(BM_WriteBytesOnly)->Arg(fmTsv)->Arg(fmCsv)->Arg(fmRtf)->Unit(benchmark::kMillisecond);

void BM_Import(benchmark::State& state) {
    const bool csv = state.range(0) == fmCsv;
    const std::string path = TempPath("vocalore-bench-import");
    ExportText(Document(), path, csv);
    for (auto _ : state) {
        TVocabFile doc;
        benchmark::DoNotOptimize(ImportText(doc, path, csv, {1, 2, 3, 4}, 1));
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_Import)->Arg(fmTsv)->Arg(fmCsv)->Unit(benchmark::kMillisecond);

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
