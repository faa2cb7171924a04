#include "PrinterCanvas.h"

#include "transfer/PrintLayout.h"

#include <QPrinter>

#include <algorithm>

namespace vocalore {

TPrinterCanvas::TPrinterCanvas(QPrinter& printer) : TPainterCanvas(printer), FPrinter(printer) {}

void TPrinterCanvas::NameJob(const QString& title) { FPrinter.setDocName(title); }

void TPrinterCanvas::JobEnded(bool ended) {
    if (!ended || FPrinter.printerState() == QPrinter::Error)
        throw EPrintError("The print job could not be sent to " +
                          FPrinter.printerName().toStdString());
}

void PrintOnPrinter(const TVocabFile& doc, QPrinter& printer, const TPageSetup& setup,
                    const std::string& jobTitle) {
    int32_t copies = 1;
    if (!printer.supportsMultipleCopies()) {
        copies = std::max(printer.copyCount(), 1);
        printer.setCopyCount(1);
    }
    // The print dialog's page range, which the job itself must honour.
    TPageRange range;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0)
        range = {printer.fromPage(), printer.toPage()};
    TPrinterCanvas canvas(printer);
    PrintJob(doc, canvas, setup, jobTitle, copies, range);
}

} // namespace vocalore
