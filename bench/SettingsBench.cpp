// Start-up and exit cost of the settings (read once, written once), and the
// path shortening the File menu repeats on every idle pass.
#include "settings/Settings.h"
#include "settings/SettingsFile.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

using namespace vocalore;

namespace {

TSettings FullSettings() {
    TSettings s;
    s.WindowPosition = {100, 80, 900, 680};
    for (int i = 0; i < MainRecentFileCapacity; ++i)
        s.RecentFiles.Add("/home/user/Documents/Vocabulary/Lessons/week" + std::to_string(i) +
                          ".vlo");
    for (auto& c : s.Options.ShortcutChars)
        c = MakeShortcutChar(0xE9, 0);
    return s;
}

std::string TempFile() {
    return (std::filesystem::temp_directory_path() /
            ("vocalore-bench-" + std::to_string(::getpid()) + ".ini"))
        .string();
}

void BM_LoadSettings(benchmark::State& state) {
    std::string path = TempFile();
    TFileSettingsStore store(path);
    SaveSettings(store, FullSettings());
    for (auto _ : state) {
        TSettings s;
        LoadSettings(store, s, 0x0409);
        benchmark::DoNotOptimize(s.Options.NumChoices);
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadSettings);

void BM_SaveSettings(benchmark::State& state) {
    std::string path = TempFile();
    TFileSettingsStore store(path);
    TSettings s = FullSettings();
    for (auto _ : state)
        benchmark::DoNotOptimize(SaveSettings(store, s));
    std::filesystem::remove(path);
}
BENCHMARK(BM_SaveSettings);

void BM_ParseSettingsFile(benchmark::State& state) {
    TMemorySettingsStore memory;
    SaveSettings(memory, FullSettings());
    TSettingsDocument doc;
    for (auto& [name, value] : memory.Keys.begin()->second)
        doc.FindOrAdd(SettingsKeyPath).Set(name, value);
    std::string text = FormatSettingsFile(doc);
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseSettingsFile(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseSettingsFile);

// The menu entry width for a deep path: every candidate is measured.
void BM_ShortenPath(benchmark::State& state) {
    std::string path = "/home/user";
    for (int i = 0; i < 20; ++i)
        path += "/folder" + std::to_string(i);
    path += "/a-rather-long-file-name-for-a-lesson.vlo";
    auto measure = [](std::string_view t) { return static_cast<int>(t.size()) * 7; };
    for (auto _ : state)
        benchmark::DoNotOptimize(ShortenPath(path, 200, measure));
}
BENCHMARK(BM_ShortenPath);

// A damaged settings file: 50,000 recent-file entries, one of them a path of
// 100,000 characters. Start-up reads them all and shortens the long one for
// the menu; exit writes them all back.
void BM_StartAndExitWithHugeRecentList(benchmark::State& state) {
    std::string path = TempFile();
    TFileSettingsStore store(path);
    TSettings s = FullSettings();
    s.RecentFiles.Clear();
    std::string longPath;
    while (longPath.size() < 100000)
        longPath += "/folder" + std::to_string(longPath.size() % 97);
    longPath += "/lesson.vlo";
    s.RecentFiles.Append(longPath);
    for (int i = 1; i < 50000; ++i)
        s.RecentFiles.Append("/home/user/Vocabulary/lesson" + std::to_string(i) + ".vlo");
    SaveSettings(store, s);
    auto measure = [](std::string_view t) { return static_cast<int>(t.size()) * 7; };
    const bool exit = state.range(0) == 1;
    for (auto _ : state) {
        if (exit) {
            benchmark::DoNotOptimize(SaveSettings(store, s));
            continue;
        }
        TSettings loaded;
        LoadSettings(store, loaded, 0x0409);
        benchmark::DoNotOptimize(ShortenPath(loaded.RecentFiles.Items(0), 400, measure));
    }
    std::filesystem::remove(path);
}
// 0: start (read and shorten), 1: exit (write, fsync included)
BENCHMARK(BM_StartAndExitWithHugeRecentList)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
