// The Page Setup dialog: units, checks in order, the record it fills, and the
// page preview.

#include "DialogTestSupport.h"

#include "ui/common/PromptService.h"
#include "ui/printing/PageSetupDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPaintEngine>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace vocalore {
namespace {

using dialogtest::Child;
void ShowActive(QDialog& dialog) {
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
}

// --- Page Setup dialog -----------------------------------------------------

// The locale for one test; the test program's own is English (United States).
class TLocaleScope {
public:
    explicit TLocaleScope(const QLocale& locale) { QLocale::setDefault(locale); }
    ~TLocaleScope() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
};

TEST(PageSetupDialog, InchesWithAPointForImperialUsersAndTheRecordInTheControls) {
    TPageSetup setup;
    setup.Margins = {1440, 720, 2160, 0};
    TPageSetupDialog dialog(nullptr, setup);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Page Setup"));
    EXPECT_EQ(Child<QGroupBox>(&dialog, "gbMargins")->title(),
              QStringLiteral(" Margins (inches): "));
    EXPECT_EQ(Child<QLineEdit>(&dialog, "edtLeft")->text(), QStringLiteral("1.00"));
    EXPECT_EQ(Child<QLineEdit>(&dialog, "edtTop")->text(), QStringLiteral("0.50"));
    EXPECT_EQ(Child<QLineEdit>(&dialog, "edtRight")->text(), QStringLiteral("1.50"));
    EXPECT_EQ(Child<QLineEdit>(&dialog, "edtBottom")->text(), QStringLiteral("0.00"));
    EXPECT_EQ(Child<QLineEdit>(&dialog, "edtLeft")->maxLength(), 5);
    auto* font = Child<QComboBox>(&dialog, "cbFontSize");
    EXPECT_EQ(font->currentText(), QStringLiteral("12"));
    EXPECT_EQ(font->count(), 9);
    EXPECT_EQ(font->itemText(8), QStringLiteral("24"));
    EXPECT_TRUE(Child<QCheckBox>(&dialog, "chbAddTitle")->isChecked());
    EXPECT_TRUE(Child<QRadioButton>(&dialog, "rbTwoCols")->isChecked());
    EXPECT_TRUE(Child<QCheckBox>(&dialog, "chbSeparator")->isChecked());
    EXPECT_TRUE(Child<QCheckBox>(&dialog, "chbSeparator")->isEnabled());

    // Inches back into twips, rounded half up.
    Child<QLineEdit>(&dialog, "edtLeft")->setText(QStringLiteral("0.5"));
    Child<QLineEdit>(&dialog, "edtBottom")->setText(QStringLiteral("0.333"));
    Child<QPushButton>(&dialog, "btnOK")->click();
    EXPECT_EQ(dialog.Setup().Margins, (TMargins{720, 720, 2160, 480}));
}

TEST(PageSetupDialog, CentimetresWithTheUsersDecimalCommaForMetricUsers) {
    const TLocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    TPageSetupDialog dialog(nullptr, TPageSetup{});
    EXPECT_EQ(Child<QGroupBox>(&dialog, "gbMargins")->title(), QStringLiteral(" Margins (cm): "));
    EXPECT_EQ(Child<QLineEdit>(&dialog, "edtLeft")->text(), QStringLiteral("2,54"));
    Child<QLineEdit>(&dialog, "edtLeft")->setText(QStringLiteral("2,5"));
    Child<QLineEdit>(&dialog, "edtRight")->setText(QStringLiteral("0"));
    Child<QLineEdit>(&dialog, "edtBottom")->setText(QStringLiteral("99"));
    Child<QPushButton>(&dialog, "btnOK")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Setup().Margins, (TMargins{1418, 1440, 0, 56133}));
}

TEST(PageSetupDialog, ChecksRunInOrderAndEachFailureFocusesItsField) {
    TFakePromptService prompts(true);
    TPageSetup setup;
    TPageSetupDialog dialog(nullptr, setup);
    ShowActive(dialog);
    auto* ok = Child<QPushButton>(&dialog, "btnOK");
    auto* font = Child<QComboBox>(&dialog, "cbFontSize");
    auto set = [&](const char* name, const char* text) {
        Child<QLineEdit>(&dialog, name)->setText(QString::fromLatin1(text));
    };
    // Everything wrong at once: the font size is reported first, then the
    // margins left, right, top, bottom.
    font->setEditText(QStringLiteral("7"));
    set("edtLeft", "abc");
    set("edtRight", "99.5");
    set("edtTop", "-1");
    set("edtBottom", "1,5");
    struct TStep {
        const char* Field;
        const char* Message;
        const char* Mend; // the valid text then entered
    };
    const std::vector<TStep> steps{
        {"cbFontSize", "Number must be between 8 and 24.", "24"},
        {"edtLeft", "Number must be between 0 and 99.", "0"},
        {"edtRight", "Number must be between 0 and 99.", "99"},
        {"edtTop", "Number must be between 0 and 99.", "1"},
        {"edtBottom", "Number must be between 0 and 99.", "2"},
    };
    for (const TStep& step : steps) {
        prompts.Clear();
        ok->click();
        ASSERT_EQ(prompts.Prompts().size(), 1u) << step.Field;
        EXPECT_EQ(prompts.Last().Text, QString::fromLatin1(step.Message)) << step.Field;
        EXPECT_EQ(prompts.Last().Icon, TMsgIcon::Warning);
        QWidget* field = Child<QWidget>(&dialog, step.Field);
        EXPECT_TRUE(field->hasFocus() || field->isAncestorOf(QApplication::focusWidget()))
            << step.Field;
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.Setup(), setup); // nothing stored yet
        if (QString::fromLatin1(step.Field) == QLatin1String("cbFontSize"))
            font->setEditText(QString::fromLatin1(step.Mend));
        else
            set(step.Field, step.Mend);
    }
    prompts.Clear();
    ok->click();
    EXPECT_TRUE(prompts.Prompts().empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Setup().FontSize, 24);
    EXPECT_EQ(dialog.Setup().Margins, (TMargins{0, 1440, 142560, 2880}));
}

TEST(PageSetupDialog, OneColumnDisablesTheSeparatorButKeepsItsState) {
    TPageSetup setup;
    setup.Columns = 0; // damaged: shown as one column
    TPageSetupDialog dialog(nullptr, setup);
    auto* separator = Child<QCheckBox>(&dialog, "chbSeparator");
    EXPECT_TRUE(Child<QRadioButton>(&dialog, "rbOneCol")->isChecked());
    EXPECT_FALSE(separator->isEnabled());
    Child<QRadioButton>(&dialog, "rbThreeCols")->click();
    EXPECT_TRUE(separator->isEnabled());
    separator->click();
    EXPECT_FALSE(separator->isChecked());
    Child<QRadioButton>(&dialog, "rbOneCol")->click();
    EXPECT_FALSE(separator->isEnabled());
    Child<QCheckBox>(&dialog, "chbAddTitle")->click();
    Child<QPushButton>(&dialog, "btnOK")->click();
    EXPECT_EQ(dialog.Setup().Columns, 1);
    EXPECT_FALSE(dialog.Setup().Separator);
    EXPECT_FALSE(dialog.Setup().PrintTitle);

    // Cancel hands nothing back.
    TPageSetup kept;
    dialogtest::OnNextModal([](QDialog* d) {
        Child<QRadioButton>(d, "rbThreeCols")->click();
        Child<QPushButton>(d, "btnCancel")->click();
    });
    EXPECT_FALSE(TPageSetupDialog::Execute(nullptr, kept));
    EXPECT_EQ(kept, TPageSetup{});
}

// A paint device that keeps the lines drawn on it.
class TLineRecorder final : public QPaintDevice {
public:
    QPaintEngine* paintEngine() const override { return &FEngine; }
    std::vector<QLine>& Lines() { return FEngine.Lines; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth:
            return 63;
        case PdmHeight:
            return 71;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
        case PdmDevicePixelRatioScaled:
            return metric == PdmDevicePixelRatio ? 1 : int(devicePixelRatioFScale());
        default:
            return 96;
        }
    }

private:
    class TEngine final : public QPaintEngine {
    public:
        // Every feature: the painter hands lines over as lines.
        TEngine() : QPaintEngine(AllFeatures) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawPolygon(const QPoint*, int, PolygonDrawMode) override {}
        void drawPath(const QPainterPath&) override {}
        void drawLines(const QLine* lines, int count) override {
            Lines.insert(Lines.end(), lines, lines + count);
        }
        void drawLines(const QLineF* lines, int count) override {
            for (int i = 0; i < count; ++i)
                Lines.push_back(lines[i].toLine());
        }
        Type type() const override { return User; }
        std::vector<QLine> Lines;
    };
    mutable TEngine FEngine;
};

std::vector<QLine> Recorded(int columns, bool separator) {
    TLineRecorder device;
    QPainter painter(&device);
    PaintPreview(painter, QRect(0, 0, 63, 71), columns, separator);
    painter.end();
    return device.Lines();
}

TEST(PageSetupDialog, PreviewDrawsTheColumnsAndSeparatorsOfTheArithmetic) {
    // 63 x 71 shrunk by 6: left 6, top 6, right 57, bottom 65. Rows every
    // two pixels from 6 to 64.
    const std::vector<QLine> two = Recorded(2, true);
    ASSERT_EQ(two.size(), 61u);
    EXPECT_EQ(two[0], QLine(6, 6, 28, 6));
    EXPECT_EQ(two[29], QLine(6, 64, 28, 64));
    EXPECT_EQ(two[30], QLine(34, 6, 56, 6));
    EXPECT_EQ(two[60], QLine(31, 6, 31, 64)); // the separator
    const std::vector<QLine> three = Recorded(3, false);
    ASSERT_EQ(three.size(), 90u);
    EXPECT_EQ(three[0], QLine(6, 6, 20, 6));
    EXPECT_EQ(three[30], QLine(24, 6, 38, 6));
    EXPECT_EQ(three[60], QLine(42, 6, 56, 6));
    // One column with the separator ticked: the wider gap, no vertical line.
    const std::vector<QLine> one = Recorded(1, true);
    ASSERT_EQ(one.size(), 30u);
    EXPECT_EQ(one[0], QLine(6, 6, 56, 6));
    for (const QLine& line : one)
        EXPECT_EQ(line.dy(), 0);
    EXPECT_EQ(one, PreviewLines(QRect(0, 0, 63, 71), 1, true));
}

TEST(PageSetupDialog, PreviewBoxShowsTheChosenColumns) {
    TPageSetupDialog dialog(nullptr, TPageSetup{});
    QWidget* box = Child<QWidget>(&dialog, "pbPreview");
    EXPECT_EQ(box->size(), QSize(63, 71));
    // What the box shows equals the arithmetic painted on a blank of its background.
    auto matches = [&](int columns, bool separator) {
        const QImage shown = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QImage expected(shown.size(), QImage::Format_RGB32);
        expected.fill(shown.pixel(0, 0));
        QPainter painter(&expected);
        painter.setPen(box->palette().color(QPalette::WindowText));
        PaintPreview(painter, QRect(QPoint(0, 0), shown.size()), columns, separator);
        painter.end();
        return shown == expected && shown.pixel(6, 6) != shown.pixel(0, 0);
    };
    EXPECT_TRUE(matches(2, true));
    EXPECT_FALSE(matches(3, true));
    Child<QCheckBox>(&dialog, "chbSeparator")->click();
    EXPECT_TRUE(matches(2, false));
    Child<QRadioButton>(&dialog, "rbThreeCols")->click();
    EXPECT_TRUE(matches(3, false));
}

} // namespace
} // namespace vocalore
