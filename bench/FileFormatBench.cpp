// Save and load of a 100,000-item document, beside the floor of merely reading
// the same bytes from disk into memory.
#include "core/VocabFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
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
        item.Notes = i % 3 == 0 ? "masculine, plural Wortschatze" : "";
        item.Translation = "vocabulary, word stock; lexicon " + std::to_string(i);
        item.SortPosition = 4;
        doc.InsertPending(ipAtEnd);
    }
}

std::string TempPath() {
    return (std::filesystem::temp_directory_path() / "vocalore-bench.vlo").string();
}

void BM_SaveToFile(benchmark::State& state) {
    TVocabFile doc;
    FillDocument(doc);
    const std::string path = TempPath();
    for (auto _ : state)
        doc.SaveToFile(path);
    std::remove(path.c_str());
}
BENCHMARK(BM_SaveToFile)->Unit(benchmark::kMillisecond);

void BM_LoadFromFile(benchmark::State& state) {
    const std::string path = TempPath();
    {
        TVocabFile doc;
        FillDocument(doc);
        doc.SaveToFile(path);
    }
    for (auto _ : state) {
        TVocabFile doc;
        doc.LoadFromFile(path);
        benchmark::DoNotOptimize(doc.Count());
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_LoadFromFile)->Unit(benchmark::kMillisecond);

// The I/O floor: the same file read into memory and nothing else.
void BM_ReadBytesOnly(benchmark::State& state) {
    const std::string path = TempPath();
    {
        TVocabFile doc;
        FillDocument(doc);
        doc.SaveToFile(path);
    }
    for (auto _ : state) {
        std::ifstream in(path, std::ios::binary | std::ios::ate);
        std::string bytes(static_cast<size_t>(in.tellg()), '\0');
        in.seekg(0);
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        benchmark::DoNotOptimize(bytes.data());
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_ReadBytesOnly)->Unit(benchmark::kMillisecond);

} // namespace
