#pragma once
// The Page Setup dialog: font size, title, columns, separator and margins of
// printed pages, with a miniature of the page.

#include "settings/PageSetup.h"

#include <QDialog>
#include <QLine>
#include <QRect>
#include <QWidget>

#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPainter;
class QRadioButton;

namespace vocalore {

// The lines of the page miniature in a paint box's client rectangle: text
// lines two pixels apart in `columns` columns, with separator lines when
// asked. Each line's end point is its last pixel.
std::vector<QLine> PreviewLines(const QRect& client, int columns, bool separator);
void PaintPreview(QPainter& painter, const QRect& client, int columns, bool separator);

class TPageSetupDialog : public QDialog {
public:
    // Margins are shown in centimetres when the locale measures metrically,
    // else in inches.
    TPageSetupDialog(QWidget* owner, const TPageSetup& setup);

    // Runs the dialog modally; on OK stores the entries into the record.
    static bool Execute(QWidget* owner, TPageSetup& setup);

    const TPageSetup& Setup() const { return FSetup; }
    bool Metric() const { return FMetric; }

private:
    void ColumnsClick(int columns);
    void btnOKClick();

    QComboBox* cbFontSize;
    QCheckBox* chbAddTitle;
    QGroupBox* gbMargins;
    QLineEdit* edtLeft;
    QLineEdit* edtTop;
    QLineEdit* edtRight;
    QLineEdit* edtBottom;
    QRadioButton* rbOneCol;
    QRadioButton* rbTwoCols;
    QRadioButton* rbThreeCols;
    QCheckBox* chbSeparator;
    QWidget* pbPreview;
    TPageSetup FSetup;
    int FColumns = 1;
    bool FMetric = true;
};

} // namespace vocalore
