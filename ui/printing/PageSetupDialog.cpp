#include "PageSetupDialog.h"

#include "ui/common/DialogHelpers.h"
#include "ui/window/Help.h"

#include "core/DisplayRules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <cmath>

namespace vocalore {

namespace {

constexpr int PreviewWidth = 63;
constexpr int PreviewHeight = 71;
constexpr int PreviewInset = 6;

char DecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 && point[0].unicode() < 0x80 ? static_cast<char>(point[0].unicode())
                                                          : '.';
}

// The miniature page, repainted whenever columns or separator change.
class TPreviewBox final : public QWidget {
public:
    TPreviewBox(QWidget* parent, const int& columns, const QCheckBox* separator)
        : QWidget(parent), FColumns(columns), FSeparator(separator) {
        setFixedSize(PreviewWidth, PreviewHeight);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        PaintPreview(painter, rect(), FColumns, FSeparator->isChecked());
    }

private:
    const int& FColumns;
    const QCheckBox* FSeparator;
};

QLineEdit* MarginEdit(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(5);
    edit->setFixedWidth(50);
    return edit;
}

} // namespace

std::vector<QLine> PreviewLines(const QRect& client, int columns, bool separator) {
    // Right and bottom lie just outside the rectangle, as in the arithmetic.
    const int left = client.left() + PreviewInset;
    const int top = client.top() + PreviewInset;
    const int right = client.left() + client.width() - PreviewInset;
    const int bottom = client.top() + client.height() - PreviewInset;
    const int g = separator ? 5 : 3;
    const int n = std::max(columns, 1);
    const int e = right + g - left;
    std::vector<QLine> lines;
    for (int i = 0; i < n; ++i) {
        const int x1 = left + i * e / n;
        const int x2 = left + (i + 1) * e / n - g; // excluded
        for (int k = 0; k <= (bottom - top) / 2; ++k) {
            const int y = top + 2 * k;
            if (x2 > x1)
                lines.emplace_back(x1, y, x2 - 1, y);
        }
        if (separator && i > 0) {
            const int x = left + i * e / n - g / 2 - 1;
            lines.emplace_back(x, top, x, bottom - 1);
        }
    }
    return lines;
}

void PaintPreview(QPainter& painter, const QRect& client, int columns, bool separator) {
    const std::vector<QLine> lines = PreviewLines(client, columns, separator);
    painter.drawLines(lines.data(), static_cast<int>(lines.size()));
}

TPageSetupDialog::TPageSetupDialog(QWidget* owner, const TPageSetup& setup)
    : QDialog(owner), FSetup(setup) {
    setObjectName(QStringLiteral("PageSetupDialog"));
    setWindowTitle(QStringLiteral("Page Setup"));
    FMetric = QLocale().measurementSystem() == QLocale::MetricSystem;
    auto* content = new QWidget(this);

    auto* pnlDocument = new QGroupBox(QStringLiteral(" Document: "), content);
    pnlDocument->setObjectName(QStringLiteral("pnlDocument"));
    cbFontSize = new QComboBox(pnlDocument);
    cbFontSize->setObjectName(QStringLiteral("cbFontSize"));
    cbFontSize->setEditable(true);
    for (int size = 8; size <= 24; size += 2)
        cbFontSize->addItem(QString::number(size));
    cbFontSize->lineEdit()->setMaxLength(2);
    cbFontSize->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,2}")), cbFontSize));
    cbFontSize->setInsertPolicy(QComboBox::NoInsert);
    chbAddTitle = new QCheckBox(QStringLiteral("&Print title"), pnlDocument);
    chbAddTitle->setObjectName(QStringLiteral("chbAddTitle"));
    auto* documentLayout = new QGridLayout(pnlDocument);
    documentLayout->addWidget(BuddyLabel("&Font size:", "lblFontSize", cbFontSize, pnlDocument), 0,
                              0);
    documentLayout->addWidget(cbFontSize, 0, 1);
    documentLayout->addWidget(chbAddTitle, 1, 0, 1, 2);

    gbMargins = new QGroupBox(FMetric ? QStringLiteral(" Margins (cm): ")
                                      : QStringLiteral(" Margins (inches): "),
                              content);
    gbMargins->setObjectName(QStringLiteral("gbMargins"));
    edtLeft = MarginEdit("edtLeft", gbMargins);
    edtTop = MarginEdit("edtTop", gbMargins);
    edtRight = MarginEdit("edtRight", gbMargins);
    edtBottom = MarginEdit("edtBottom", gbMargins);
    auto* marginsLayout = new QGridLayout(gbMargins);
    marginsLayout->addWidget(BuddyLabel("&Left:", "lblLeft", edtLeft, gbMargins), 0, 0);
    marginsLayout->addWidget(edtLeft, 0, 1);
    marginsLayout->addWidget(BuddyLabel("&Top:", "lblTop", edtTop, gbMargins), 0, 2);
    marginsLayout->addWidget(edtTop, 0, 3);
    marginsLayout->addWidget(BuddyLabel("&Right:", "lblRight", edtRight, gbMargins), 1, 0);
    marginsLayout->addWidget(edtRight, 1, 1);
    marginsLayout->addWidget(BuddyLabel("&Bottom:", "lblBottom", edtBottom, gbMargins), 1, 2);
    marginsLayout->addWidget(edtBottom, 1, 3);

    auto* gbColumns = new QGroupBox(QStringLiteral(" Columns: "), content);
    gbColumns->setObjectName(QStringLiteral("gbColumns"));
    rbOneCol = new QRadioButton(QStringLiteral("&One"), gbColumns);
    rbOneCol->setObjectName(QStringLiteral("rbOneCol"));
    rbTwoCols = new QRadioButton(QStringLiteral("T&wo"), gbColumns);
    rbTwoCols->setObjectName(QStringLiteral("rbTwoCols"));
    rbThreeCols = new QRadioButton(QStringLiteral("Th&ree"), gbColumns);
    rbThreeCols->setObjectName(QStringLiteral("rbThreeCols"));
    chbSeparator = new QCheckBox(QStringLiteral("&Separator"), gbColumns);
    chbSeparator->setObjectName(QStringLiteral("chbSeparator"));
    auto* columnsLayout = new QVBoxLayout(gbColumns);
    int tag = 1;
    for (QRadioButton* button : {rbOneCol, rbTwoCols, rbThreeCols}) {
        button->setProperty("tag", tag);
        columnsLayout->addWidget(button);
        connect(button, &QRadioButton::clicked, this, [this, tag] { ColumnsClick(tag); });
        ++tag;
    }
    columnsLayout->addWidget(chbSeparator);

    auto* lblPreview = new QLabel(QStringLiteral("Preview:"), content);
    lblPreview->setObjectName(QStringLiteral("lblPreview"));
    auto* pnlPreview = new QFrame(content);
    pnlPreview->setObjectName(QStringLiteral("pnlPreview"));
    pnlPreview->setFrameShape(QFrame::Panel);
    pnlPreview->setFrameShadow(QFrame::Sunken);
    pnlPreview->setAutoFillBackground(true);
    pnlPreview->setBackgroundRole(QPalette::Base);
    pbPreview = new TPreviewBox(pnlPreview, FColumns, chbSeparator);
    pbPreview->setObjectName(QStringLiteral("pbPreview"));
    auto* previewLayout = new QVBoxLayout(pnlPreview);
    previewLayout->setContentsMargins(2, 2, 2, 2);
    previewLayout->addWidget(pbPreview);
    connect(chbSeparator, &QCheckBox::toggled, pbPreview, [this] { pbPreview->update(); });

    auto* grid = new QGridLayout(content);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(pnlDocument, 0, 0);
    grid->addWidget(gbMargins, 1, 0);
    grid->addWidget(gbColumns, 0, 1, 2, 1);
    auto* previewColumn = new QVBoxLayout;
    previewColumn->addWidget(lblPreview);
    previewColumn->addWidget(pnlPreview);
    previewColumn->addStretch();
    grid->addLayout(previewColumn, 0, 2, 2, 1);

    cbFontSize->setWhatsThis(QStringLiteral("The point size of the printed items, 8 to 24."));
    chbAddTitle->setWhatsThis(QStringLiteral(
        "Prints the file's description, or else its name, above the first page's columns."));
    for (QLineEdit* edit : {edtLeft, edtTop, edtRight, edtBottom})
        edit->setWhatsThis(QStringLiteral("The distance from the edge of the printable area, 0 to "
                                          "99, in the unit the group names."));
    rbOneCol->setWhatsThis(QStringLiteral("The number of columns on each page."));
    chbSeparator->setWhatsThis(QStringLiteral("Draws a line between neighbouring columns."));
    pbPreview->setWhatsThis(QStringLiteral("A miniature of a page with these columns."));

    const TDialogButtons buttons = AddDialogButtons(this, hcPageSetupDialog);
    LayOutAboveButtonRow(this, content, buttons);
    connect(buttons.OK, &QPushButton::clicked, this, &TPageSetupDialog::btnOKClick);

    // The record as stored.
    cbFontSize->setEditText(QString::number(setup.FontSize));
    chbAddTitle->setChecked(setup.PrintTitle);
    FColumns = setup.Columns == 2 || setup.Columns == 3 ? setup.Columns : 1;
    (FColumns == 3 ? rbThreeCols : FColumns == 2 ? rbTwoCols : rbOneCol)->setChecked(true);
    chbSeparator->setChecked(setup.Separator);
    chbSeparator->setEnabled(FColumns > 1);
    const double perUnit = FMetric ? TwipsPerCm : TwipsPerInch;
    const QLocale locale;
    auto show = [&](QLineEdit* edit, int32_t twips) {
        edit->setText(locale.toString(twips / perUnit, 'f', 2));
    };
    show(edtLeft, setup.Margins.Left);
    show(edtTop, setup.Margins.Top);
    show(edtRight, setup.Margins.Right);
    show(edtBottom, setup.Margins.Bottom);

    EnablePopupHelp(this);
    PlaceDialog(this, owner);
}

void TPageSetupDialog::ColumnsClick(int columns) {
    FColumns = columns;
    chbSeparator->setEnabled(columns > 1);
    pbPreview->update();
}

void TPageSetupDialog::btnOKClick() {
    if (!CheckIntField(cbFontSize, 8, 24))
        return;
    for (QLineEdit* edit : {edtLeft, edtRight, edtTop, edtBottom})
        if (!CheckRealField(edit, 0, 99))
            return;
    const double perUnit = FMetric ? TwipsPerCm : TwipsPerInch;
    auto twips = [perUnit](const QLineEdit* edit) {
        double value = 0;
        ParseRealField(edit->text().toStdString(), DecimalSeparator(), value);
        return static_cast<int32_t>(std::trunc(value * perUnit + 0.5));
    };
    FSetup.FontSize = cbFontSize->currentText().trimmed().toInt();
    FSetup.PrintTitle = chbAddTitle->isChecked();
    FSetup.Columns = FColumns;
    FSetup.Separator = chbSeparator->isChecked();
    FSetup.Margins = {twips(edtLeft), twips(edtTop), twips(edtRight), twips(edtBottom)};
    accept();
}

bool TPageSetupDialog::Execute(QWidget* owner, TPageSetup& setup) {
    TPageSetupDialog dialog(owner, setup);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    setup = dialog.Setup();
    return true;
}

} // namespace vocalore
