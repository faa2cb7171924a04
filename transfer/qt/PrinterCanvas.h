#pragma once
// The print canvas on a real printer (Qt Print Support). Kept apart from the
// painter canvas so that PDF output, which the companion tool uses, needs
// only Qt Gui.

#include "PainterCanvas.h"

class QPrinter;

namespace vocalore {

class TPrinterCanvas : public TPainterCanvas {
public:
    explicit TPrinterCanvas(QPrinter& printer);

protected:
    void NameJob(const QString& title) override; // the printer's document name
    // A printer that could not take the job says so in its state.
    void JobEnded(bool ended) override;

private:
    QPrinter& FPrinter;
};

// One print job on a configured printer. When the printer makes the copies
// itself the document is sent once; otherwise it is printed as many times as
// the printer's copy count asks, one copy after the other.
void PrintOnPrinter(const TVocabFile& doc, QPrinter& printer, const TPageSetup& setup,
                    const std::string& jobTitle);

} // namespace vocalore
