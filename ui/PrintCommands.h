#pragma once
// The File menu's printing commands: Print and Page Setup. The main window
// owns one instance and forwards its commands here.

#include <QString>

class QPrinter;

namespace vocalore {

class TMainForm;

inline constexpr const char* NoPrinterInstalled = "No printer installed.";

class TPrintCommands {
public:
    explicit TPrintCommands(TMainForm& form) : FForm(form) {}

    // From the menu: the system print dialog first. From the tool bar and the
    // command line: at once on the current printer.
    void miFilePrintClick() { Print(true); }
    void tbPrintClick() { Print(false); }
    void Print(bool showDialog);
    void miFilePageSetupClick();

    // The job title: "Vocalore - " and the document's display title.
    QString JobTitle() const;

private:
    void PrintOn(QPrinter& printer);

    TMainForm& FForm;
};

} // namespace vocalore
