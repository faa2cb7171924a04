#pragma once
// The File menu's printing commands: Print and Page Setup. The main window
// owns one instance and forwards its commands here.

#include "settings/PageSetup.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <string>

class QPrinter;
class QWidget;

namespace vocalore {

class TMainForm;
class TVocabFile;

inline constexpr const char* NoPrinterInstalled = "No printer installed.";

// Whether the system has a current printer: the default queue, or the only
// one there is. With several queues and none of them the default, nothing is
// guessed.
enum class TPrinterPick { ppCurrent, ppNone, ppNoDefault };
using enum TPrinterPick;

// The pick among the system's queues: `chosen` becomes the current one.
TPrinterPick PickPrinter(const QString& defaultPrinter, const QStringList& printers,
                         QString& chosen);

// "No default printer is set. The printers are: a, b." and how to set one.
QString NoDefaultPrinterMessage(const QStringList& printers);

// What printing asks of the print service; tests replace parts of it.
struct TPrintService {
    // Directs the printer to the current printer; `printers` lists the
    // system's queues when there is none to pick.
    std::function<TPrinterPick(QPrinter& printer, QStringList& printers)> CurrentPrinter;
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
    // command line: at once on the current printer; without a default printer
    // the tool button shows the dialog and the command line names the queues.
    enum TPrintSource { psMenu, psToolButton, psCommandLine };
    void miFilePrintClick() { Print(psMenu); }
    void tbPrintClick() { Print(psToolButton); }
    void Print(TPrintSource source);
    void miFilePageSetupClick();

    // The job title: "Vocalore - " and the document's display title.
    QString JobTitle() const;

    TPrintService& Service() { return FService; }

private:
    TMainForm& FForm;
    TPrintService FService;
};

} // namespace vocalore
