#pragma once
// The File menu's printing commands: Print and Page Setup. The main window
// owns one instance and forwards its commands here.

#include "settings/PageSetup.h"

#include <QString>

#include <functional>
#include <string>

class QPrinter;
class QWidget;

namespace vocalore {

class TMainForm;
class TVocabFile;

inline constexpr const char* NoPrinterInstalled = "No printer installed.";

// What printing asks of the print service; tests replace parts of it.
struct TPrintService {
    // Directs the printer to the current printer; false when the system has none.
    std::function<bool(QPrinter& printer)> CurrentPrinter;
    // The system print dialog on the printer; false on Cancel.
    std::function<bool(QPrinter& printer, QWidget* owner)> PrintDialog;
    // The print job: all copies of the document on the printer.
    std::function<void(const TVocabFile& document, QPrinter& printer, const TPageSetup& setup,
                       const std::string& jobTitle)>
        Job;

    // Qt Print Support: the default destination (else the first printer),
    // QPrintDialog with print to file, the print layout on a QPainter.
    static TPrintService System();
};

class TPrintCommands {
public:
    explicit TPrintCommands(TMainForm& form) : FForm(form), FService(TPrintService::System()) {}

    // From the menu: the system print dialog first. From the tool bar and the
    // command line: at once on the current printer.
    void miFilePrintClick() { Print(true); }
    void tbPrintClick() { Print(false); }
    void Print(bool showDialog);
    void miFilePageSetupClick();

    // The job title: "Vocalore - " and the document's display title.
    QString JobTitle() const;

    TPrintService& Service() { return FService; }

private:
    TMainForm& FForm;
    TPrintService FService;
};

} // namespace vocalore
