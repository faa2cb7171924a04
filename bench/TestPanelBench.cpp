// The test panel on a 100,000-item document: from Continue to the next
// question painted (choosing the item, the choice set, the panel's layout
// and paint), typed and with multiple choice.

#include "BenchDocument.h"
#include "tests/support/OneApplication.h"

#include "settings/SettingsStore.h"
#include "ui/common/PromptService.h"
#include "ui/testing/TestCommands.h"
#include "ui/testing/TestPanel.h"
#include "ui/window/MainWindow.h"

#include <QApplication>
#include <QDir>

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

using namespace vocalore;

QApplication& App() { return test::OneApplication<QApplication>("bench_testpanel"); }

QString LargeDocument(int count) {
    const QString path =
        QDir::temp().filePath(QStringLiteral("vocalore-bench-test-%1.vlo").arg(count));
    TVocabFile document;
    bench::FillDocument(document, count);
    document.SaveToFile(path.toStdString());
    return path;
}

// range(0): item count; range(1): 1 for multiple choice.
void BM_ContinueToNextQuestionPainted(benchmark::State& state) {
    App();
    const QString path = LargeDocument(static_cast<int>(state.range(0)));
    TFakePromptService prompts(true);
    TMemorySettingsStore store;
    TMainForm form(store);
    if (!form.FormCreate({path})) {
        state.SkipWithError("open failed");
        return;
    }
    form.show();
    TOptions& options = form.Settings().Options;
    options.Beep = false;
    options.Delay = 0;
    options.NumChoices = 10;
    form.Settings().MultipleChoice = state.range(1) == 1;
    form.UpdateCommands();
    form.Action(cmTestStartTesting)->trigger();
    QApplication::processEvents();
    TTestSession& session = form.Testing().Session();
    TTestPanel& panel = *form.Testing().Panel();
    if (!session.Testing()) {
        state.SkipWithError("testing did not start");
        return;
    }
    for (auto _ : state) {
        // A wrong answer keeps every item in play; only Continue is timed.
        if (session.MultipleChoice())
            session.SubmitChoice(form.Document(), nullptr);
        else
            session.SubmitTyped(form.Document(), "wrong", "");
        panel.repaint();
        const auto start = std::chrono::steady_clock::now();
        panel.btnEnterClick();
        panel.repaint();
        const auto stop = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
    }
    state.SetLabel(std::to_string(state.range(0)) + " items" +
                   (state.range(1) == 1 ? ", multiple choice" : ", typed"));
    form.Action(cmTestStartTesting)->trigger();
    form.Document().Clear();
}
BENCHMARK(BM_ContinueToNextQuestionPainted)
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Args({1000, 0})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
