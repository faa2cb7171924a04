// Run one benchmark per process (--benchmark_filter): the speech library
// keeps its first connection's address for the life of a process.
//
// From the Speak key to the speech service starting to speak, through a real
// speech-dispatcher of the benchmark's own whose output module writes each
// message to a file (the moment a voice would start). Also the time the
// window itself spends on the key, which is all the user waits for.

#include "tests/support/OneApplication.h"
#include "tests/support/SpeechService.h"

#include "settings/SettingsStore.h"
#include "ui/common/PromptService.h"
#include "ui/speech/SpeechCommands.h"
#include "ui/window/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTest>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

namespace {

using namespace vocalore;

QApplication& App() { return test::OneApplication<QApplication>("bench_speech"); }

struct TSpeakingWindow {
    test::TSpeechService Service{test::TService::Recording};
    TFakePromptService Prompts{true};
    TMemorySettingsStore Store;
    std::unique_ptr<TMainForm> Form;
    QString Path;

    bool Start() {
        Path = QDir::temp().filePath(QStringLiteral("vocalore-bench-speech.vlo"));
        TVocabFile document;
        document.ForeignLangID = 0x0407;
        document.NativeLangID = 0x0409;
        document.PendingItem().Word = "der Hund";
        document.PendingItem().Translation = "dog";
        document.InsertPending(ipAtEnd);
        document.SaveToFile(Path.toStdString());
        Form = std::make_unique<TMainForm>(Store);
        if (!Form->FormCreate({Path}))
            return false;
        Form->show();
        Form->Document().SetCurrentIndex(0);
        Form->RefreshGrid();
        const bool ready = QTest::qWaitFor(
            [this] { return Form->Speech().Speaker().Status() != ssStarting; }, 10000);
        Form->UpdateCommands();
        return ready && Form->Action(cmEditSpeak)->isEnabled();
    }
    // Start, or the benchmark skipped with the reason.
    bool StartOrSkip(benchmark::State& state) {
        if (!test::SpeechServiceInstalled()) {
            state.SkipWithError("speech-dispatcher is not installed");
            return false;
        }
        if (!Start()) {
            state.SkipWithError("no speech service");
            return false;
        }
        return true;
    }
};

void BM_SpeakKeyToSpeechStart(benchmark::State& state) {
    App();
    TSpeakingWindow window;
    if (!window.StartOrSkip(state))
        return;
    QWidget* grid = window.Form->Grid();
    grid->setFocus();
    qsizetype said = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        QTest::keyClick(grid, Qt::Key_F5);
        // Waits with the event loop running, as the window does.
        const bool spoke =
            QTest::qWaitFor([&] { return window.Service.Texts().size() > said; }, 5000);
        const auto stop = std::chrono::steady_clock::now();
        if (!spoke) {
            state.SkipWithError("nothing was spoken");
            break;
        }
        said = window.Service.Texts().size();
        state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
    }
}
BENCHMARK(BM_SpeakKeyToSpeechStart)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);

// The key handler alone: the window hands the text to the speech thread.
void BM_SpeakKeyInTheWindow(benchmark::State& state) {
    App();
    TSpeakingWindow window;
    if (!window.StartOrSkip(state))
        return;
    QWidget* grid = window.Form->Grid();
    grid->setFocus();
    for (auto _ : state) {
        QTest::keyClick(grid, Qt::Key_F5);
        state.PauseTiming();
        QTest::qWait(20); // let the service take it, outside the timing
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SpeakKeyInTheWindow)->Unit(benchmark::kMicrosecond)->Iterations(30);

} // namespace
