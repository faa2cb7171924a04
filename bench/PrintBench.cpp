// Printing to PDF with the real fonts: the layout alone (measuring with the
// printer's font metrics, drawing nothing) and the whole job (the PDF file
// written), at 10,000 and 100,000 items, so the growth between them shows.
// Also one long unbroken text, which must not cost more than its length.

#include "BenchDocument.h"
#include "tests/support/OneApplication.h"

#include "transfer/PrintLayout.h"
#include "transfer/qt/PainterCanvas.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

namespace vocalore {
namespace {

void EnsureApplication() { test::OneApplication<QGuiApplication>("bench_print"); }

std::string TempPdf() {
    return (std::filesystem::temp_directory_path() / "vocalore-bench-print.pdf").string();
}

// The painter canvas with the printer's metrics whose drawing is left out:
// what the layout itself costs.
class TMeasureOnlyCanvas final : public TPainterCanvas {
public:
    using TPainterCanvas::TPainterCanvas;
    void BeginJob(const std::string&) override {}
    void EndJob() override {}
    void NewPage() override {}
    void DrawText(int32_t, int32_t, std::string_view) override {}
    void DrawLine(int32_t, int32_t, int32_t, int32_t) override {}
};

void BM_PrintLayoutWithFontMetrics(benchmark::State& state) {
    EnsureApplication();
    TVocabFile doc;
    bench::FillDocument(doc, static_cast<int>(state.range(0)));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(TempPdf()));
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, {}));
    for (auto _ : state) {
        TMeasureOnlyCanvas canvas(printer);
        PrintJob(doc, canvas, TPageSetup{}, "bench");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PrintLayoutWithFontMetrics)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void BM_PrintWholeJobToPdf(benchmark::State& state) {
    EnsureApplication();
    TVocabFile doc;
    bench::FillDocument(doc, static_cast<int>(state.range(0)));
    const std::string path = TempPdf();
    for (auto _ : state)
        PrintToPdf(doc, TPageSetup{}, path, "Vocalore - bench");
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    state.SetItemsProcessed(state.iterations() * state.range(0));
    std::remove(path.c_str());
}
BENCHMARK(BM_PrintWholeJobToPdf)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// One word of the given length: broken into lines in time linear in it.
void BM_PrintOneLongWord(benchmark::State& state) {
    EnsureApplication();
    TVocabFile doc;
    doc.ForeignLangID = 0x0407;
    doc.NativeLangID = 0x0409;
    TVocabItem& item = doc.PendingItem();
    item.Word = std::string(static_cast<size_t>(state.range(0)), 'w');
    item.Translation = "word";
    doc.InsertPending(ipAtEnd);
    const std::string path = TempPdf();
    for (auto _ : state)
        PrintToPdf(doc, TPageSetup{}, path, "Vocalore - bench");
    std::remove(path.c_str());
}
BENCHMARK(BM_PrintOneLongWord)->Arg(6500)->Arg(65000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vocalore
