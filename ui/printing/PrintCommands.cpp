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

TPrintService TPrintService::System() {
    TPrintService service;
    // The print service's default destination is the current printer (the
    // PRINTER variable chooses it too); without one, the first printer.
    service.CurrentPrinter = [](QPrinter& printer) {
        QPrinterInfo current = QPrinterInfo::defaultPrinter();
        if (current.isNull()) {
            const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
            if (printers.isEmpty())
                return false;
            current = printers.first();
        }
        printer.setPrinterName(current.printerName());
        return true;
    };
    service.PrintDialog = [](QPrinter& printer, QWidget* owner) {
        QPrintDialog dialog(&printer, owner);
        dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
        return dialog.exec() == QDialog::Accepted;
    };
    service.Job = &PrintOnPrinter;
    return service;
}

QString TPrintCommands::JobTitle() const {
    return QString::fromLatin1(ProductName) + QStringLiteral(" - ") +
           QString::fromStdString(DocumentTitle(FForm.Document().FileName()));
}

void TPrintCommands::Print(bool showDialog) {
    QPrinter printer(QPrinter::HighResolution);
    if (!FService.CurrentPrinter(printer))
        throw EVocabFileError(NoPrinterInstalled);
    if (showDialog) {
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
