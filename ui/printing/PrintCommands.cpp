#include "PrintCommands.h"

#include "ui/common/DialogHelpers.h"
#include "ui/printing/PageSetupDialog.h"
#include "ui/window/CommandSupport.h"
#include "ui/window/KeyFilter.h"
#include "ui/window/MainWindow.h"

#include "core/DisplayRules.h"
#include "core/VocabError.h"
#include "transfer/qt/PrinterCanvas.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace vocalore {

namespace {

// The window is disabled and every key discarded while the job runs; both
// come back also when the job fails.
class TPrintingGuard {
public:
    explicit TPrintingGuard(TMainForm& form) : FForm(form) {
        FForm.setEnabled(false);
        FForm.KeyFilter().SetDiscardKeys(true);
    }
    ~TPrintingGuard() {
        FForm.KeyFilter().SetDiscardKeys(false);
        FForm.setEnabled(true);
    }
    TPrintingGuard(const TPrintingGuard&) = delete;
    TPrintingGuard& operator=(const TPrintingGuard&) = delete;

private:
    TMainForm& FForm;
};

} // namespace

TPrinterPick PickPrinter(const QString& defaultPrinter, const QStringList& printers,
                         QString& chosen) {
    if (!defaultPrinter.isEmpty()) {
        chosen = defaultPrinter;
        return ppCurrent;
    }
    if (printers.isEmpty())
        return ppNone;
    if (printers.size() > 1)
        return ppNoDefault;
    chosen = printers.front();
    return ppCurrent;
}

QString NoDefaultPrinterMessage(const QStringList& printers) {
    return QStringLiteral("No default printer is set, and Vocalore does not choose one of "
                          "several. The printers are: ") +
           printers.join(QStringLiteral(", ")) +
           QStringLiteral(".\nMake one the default (lpoptions -d NAME) or name it in the "
                          "PRINTER environment variable.");
}

TPrintService TPrintService::System() {
    TPrintService service;
    // The print service's default destination is the current printer (the
    // PRINTER variable chooses it too).
    service.CurrentPrinter = [](QPrinter& printer, QStringList& printers) {
        printers = QPrinterInfo::availablePrinterNames();
        QString chosen;
        const TPrinterPick pick = PickPrinter(QPrinterInfo::defaultPrinterName(), printers, chosen);
        if (pick == ppCurrent)
            printer.setPrinterName(chosen);
        return pick;
    };
    service.PrintDialog = [](QPrinter& printer, QWidget* owner) {
        QPrintDialog dialog(&printer, owner);
        dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
        // The job prints a range of pages itself; it has no selection and
        // no current page to offer.
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
        PlaceDialog(&dialog, owner);
        return dialog.exec() == QDialog::Accepted;
    };
    service.Job = &PrintOnPrinter;
    return service;
}

QString TPrintCommands::JobTitle() const {
    return QString::fromLatin1(ProductName) + QStringLiteral(" - ") +
           QString::fromStdString(DocumentTitle(FForm.Document().FileName()));
}

void TPrintCommands::Print(TPrintSource source) {
    QPrinter printer(QPrinter::HighResolution);
    QStringList printers;
    const TPrinterPick pick = FService.CurrentPrinter(printer, printers);
    if (pick == ppNone)
        throw EVocabFileError(NoPrinterInstalled);
    if (pick == ppNoDefault && source == psCommandLine)
        throw EVocabFileError(NoDefaultPrinterMessage(printers).toStdString());
    if (source == psMenu || pick == ppNoDefault) {
        bool accepted = false;
        {
            // The system dialog's fields are typed in the user's own layout.
            const TDefaultKeyboardScope defaultKeyboard;
            accepted = FService.PrintDialog(printer, &FForm);
        }
        if (!accepted)
            return;
        FForm.repaint();
    }
    TWaitCursor wait;
    TPrintingGuard guard(FForm);
    FService.Job(FForm.Document(), printer, FForm.Settings().PageSetup, JobTitle().toStdString());
}

void TPrintCommands::miFilePageSetupClick() {
    TPageSetupDialog::Execute(&FForm, FForm.Settings().PageSetup);
}

} // namespace vocalore
