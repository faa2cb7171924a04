#pragma once
// The Statistics dialog: how far the user has got with the document and how
// often answers were right; the one place where the counters are reset.

#include "testing/Progress.h"

#include <QDialog>

namespace vocalore {

class TStatisticsDialog : public QDialog {
    Q_OBJECT
public:
    TStatisticsDialog(QWidget* owner, const TStatisticsFigures& figures);

    // True only when OK was pressed with "&Reset statistics" ticked.
    static bool Execute(QWidget* owner, const TStatisticsFigures& figures);
    bool ResetRequested() const { return FReset; }

private:
    void btnOKClick();
    bool FReset = false;
};

} // namespace vocalore
