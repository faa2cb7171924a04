#include "PrintCommands.h"

#include "CommandSupport.h"
#include "DialogHelpers.h"
#include "KeyFilter.h"
#include "MainWindow.h"
#include "PageSetupDialog.h"

#include "core/DialogHelpers.h"
#include "core/VocabError.h"
#include "transfer/qt/PainterCanvas.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace vocalore {

namespace {

// The window is disabled and every key discarded while the job runs, and
// both come back also when the job fails.
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

QString TPrintCommands::JobTitle() const {
    return QString::fromLatin1(ProductName) + QStringLiteral(" - ") +
           QString::fromStdString(DocumentTitle(FForm.Document().FileName()));
}

void TPrintCommands::Print(bool showDialog) {
    // The current printer is the print service's default destination (which
    // the PRINTER variable chooses), else the first one it offers.
    QPrinterInfo current = QPrinterInfo::defaultPrinter();
    if (current.isNull()) {
        const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
        if (printers.isEmpty())
            throw EVocabFileError(NoPrinterInstalled);
        current = printers.first();
    }
    QPrinter printer(current, QPrinter::HighResolution);
    if (showDialog) {
        QPrintDialog dialog(&printer, &FForm);
        dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
        if (dialog.exec() != QDialog::Accepted)
            return;
        FForm.repaint();
    }
    PrintOn(printer);
}

void TPrintCommands::PrintOn(QPrinter& printer) {
    TWaitCursor wait;
    TPrintingGuard guard(FForm);
    PrintOnPrinter(FForm.Document(), printer, FForm.Settings().PageSetup,
                   JobTitle().toStdString());
}

void TPrintCommands::miFilePageSetupClick() {
    TPageSetupDialog::Execute(&FForm, FForm.Settings().PageSetup);
}

} // namespace vocalore
