// The main window with a 100,000-item document: from the command line to the
// first painted grid, and scrolling (which must not measure items again).

#include "BenchDocument.h"
#include "tests/support/OneApplication.h"

#include "settings/SettingsStore.h"
#include "ui/common/PromptService.h"
#include "ui/window/Commands.h"
#include "ui/window/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

namespace {

using namespace vocalore;

QApplication& App() { return test::OneApplication<QApplication>("bench_ui"); }

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

// The item commands on 100,000 items, each followed by the repaint of the
// grid. Only the new item is measured; the last case measures every item
// again, to show what that would cost.
class TItemCommandBench {
public:
    TItemCommandBench() : FForm(FStore) {
        FForm.FormCreate({LargeDocument(100000)});
        FForm.resize(600, 400);
        FForm.show();
        QApplication::processEvents();
        FForm.Grid()->SelectRow(50000);
    }
    ~TItemCommandBench() { FForm.Document().Clear(); }
    TMainForm& Form() { return FForm; }
    void Run(TCommandId id) {
        FForm.UpdateCommands();
        FForm.Action(id)->trigger();
        FForm.Grid()->viewport()->repaint();
    }

private:
    bool FAppReady = (App(), true); // the application before any widget
    TFakePromptService FPrompts{true};
    TMemorySettingsStore FStore;
    TMainForm FForm;
};

void BM_ItemCommandsRepaint(benchmark::State& state) {
    TItemCommandBench bench;
    TMainForm& form = bench.Form();
    TVocabFile& document = form.Document();
    const auto kind = state.range(0);
    form.Action(cmEditCopy)->trigger();
    if (kind == 3)
        bench.Run(cmEditDelete);
    for (auto _ : state) {
        switch (kind) {
        case 0: { // Add, after the dialog closed
            TVocabItem& item = document.PendingItem();
            item.Word = "das neue Wort";
            item.Translation = "the new word";
            document.InsertPending(ipAfterCurrent);
            form.RefreshGrid();
            form.Grid()->viewport()->repaint();
            break;
        }
        case 1:
            bench.Run(cmEditDelete);
            break;
        case 2:
            bench.Run(cmEditPaste);
            break;
        case 3:
            bench.Run(cmEditUndo);
            break;
        case 4:
            for (int32_t i = 0; i < document.Count(); ++i)
                document.Items(i).DisplayWidth = 0;
            form.RefreshGrid();
            form.Grid()->viewport()->repaint();
            break;
        }
        // Undo gets a step of its own to take back; the rest keep the size.
        state.PauseTiming();
        if (kind == 3)
            bench.Run(cmEditDelete);
        else if (kind != 4)
            document.Undo();
        state.ResumeTiming();
    }
    static const char* const names[] = {"Add", "Delete", "Paste", "Undo", "measure all"};
    state.SetLabel(names[kind]);
}
BENCHMARK(BM_ItemCommandsRepaint)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

void BM_SortCommandRepaint(benchmark::State& state) {
    TItemCommandBench bench;
    for (auto _ : state) {
        state.PauseTiming();
        bench.Run(cmEditShuffle);
        bench.Form().Document().ClearUndo();
        state.ResumeTiming();
        bench.Run(cmEditSort);
    }
}
BENCHMARK(BM_SortCommandRepaint)->Unit(benchmark::kMillisecond);

} // namespace
