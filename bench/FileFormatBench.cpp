// Save and load of a 100,000-item document, beside the floor of merely reading
// the same bytes from disk into memory.
#include "BenchDocument.h"

#include "core/Recovery.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace vocalore;

constexpr int ItemCount = 100000;

std::string TempPath() {
    return (std::filesystem::temp_directory_path() / "vocalore-bench.vlo").string();
}

void BM_SaveToFile(benchmark::State& state) {
    TVocabFile doc;
    bench::FillDocument(doc, ItemCount);
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
        bench::FillDocument(doc, ItemCount);
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

// A recovery copy in two parts: the image taken on the window's thread (all
// that can hold up typing) and the atomic, synced write a worker thread does.
void BM_RecoveryImage(benchmark::State& state) {
    TVocabFile doc;
    bench::FillDocument(doc, ItemCount);
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.FileImage().size());
}
BENCHMARK(BM_RecoveryImage)->Unit(benchmark::kMillisecond);

void BM_RecoveryWrite(benchmark::State& state) {
    const std::filesystem::path home =
        std::filesystem::temp_directory_path() / "vocalore-bench-state";
    ::setenv("XDG_STATE_HOME", home.c_str(), 1);
    TVocabFile doc;
    bench::FillDocument(doc, ItemCount);
    const std::string image = doc.FileImage();
    const std::string file = NewRecoveryFileName(TRecoveryKind::Unsaved);
    for (auto _ : state)
        WriteRecoveryCopy(file, TRecoveryKind::Unsaved, "/home/user/list.vlo", image);
    state.counters["bytes"] = static_cast<double>(image.size());
    std::filesystem::remove_all(home);
}
BENCHMARK(BM_RecoveryWrite)->Unit(benchmark::kMillisecond);

// The I/O floor: the same file read into memory and nothing else.
void BM_ReadBytesOnly(benchmark::State& state) {
    const std::string path = TempPath();
    {
        TVocabFile doc;
        bench::FillDocument(doc, ItemCount);
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

namespace {

// One edit while the history is at its cap: the oldest step is dropped each time.
void BM_EditWithFullHistory(benchmark::State& state) {
    vocalore::TVocabFile doc;
    doc.PendingItem().Word = "Haus";
    doc.InsertPending(vocalore::ipAtEnd);
    for (int i = 0; i < vocalore::MaxUndoSteps; ++i) {
        doc.PendingItem().Word = "Haus";
        doc.ReplaceCurrent();
    }
    for (auto _ : state) {
        doc.PendingItem().Word = "Haus";
        doc.ReplaceCurrent();
    }
}
BENCHMARK(BM_EditWithFullHistory);

} // namespace
