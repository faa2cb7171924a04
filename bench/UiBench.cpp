// The main window with a 100,000-item document: from the command line to the
// first painted grid, and scrolling (which must not measure items again).

#include "BenchDocument.h"

#include "settings/SettingsStore.h"
#include "ui/MainWindow.h"
#include "ui/PromptService.h"

#include <QApplication>
#include <QDir>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

namespace {

using namespace vocalore;

QApplication& App() {
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "bench_ui";
        static char* argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    return *app;
}

// A German-English document of `count` items, written once per run.
QString LargeDocument(int count) {
    const QString path = QDir::temp().filePath(QStringLiteral("vocalore-bench-%1.vlo").arg(count));
    TVocabFile document;
    bench::FillDocument(document, count);
    document.SaveToFile(path.toStdString());
    return path;
}

class TPaintWatch : public QObject {
public:
    bool Painted = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            Painted = true;
        return false;
    }
};

void BM_CommandLineToFirstPaintedGrid(benchmark::State& state) {
    App();
    const QString path = LargeDocument(static_cast<int>(state.range(0)));
    TFakePromptService prompts(true);
    for (auto _ : state) {
        TMemorySettingsStore store;
        const auto start = std::chrono::steady_clock::now();
        auto form = std::make_unique<TMainForm>(store);
        TPaintWatch watch;
        form->Grid()->viewport()->installEventFilter(&watch);
        if (!form->FormCreate({path}))
            state.SkipWithError("open failed");
        form->show();
        while (!watch.Painted)
            QApplication::processEvents();
        const auto stop = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
        form.reset();
    }
    state.SetLabel(std::to_string(state.range(0)) + " items");
}
BENCHMARK(BM_CommandLineToFirstPaintedGrid)
    ->Arg(100000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5);

void BM_ScrollOnePage(benchmark::State& state) {
    App();
    const QString path = LargeDocument(100000);
    TFakePromptService prompts(true);
    TMemorySettingsStore store;
    TMainForm form(store);
    form.FormCreate({path});
    form.show();
    QApplication::processEvents();
    TVocabGrid* grid = form.Grid();
    QScrollBar* bar = grid->verticalScrollBar();
    int top = 0;
    for (auto _ : state) {
        top = (top + grid->VisibleRowCount()) % bar->maximum();
        bar->setValue(top);
        grid->viewport()->repaint();
    }
    form.Document().Clear();
}
BENCHMARK(BM_ScrollOnePage)->Unit(benchmark::kMicrosecond);

} // namespace
