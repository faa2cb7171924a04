#include "DialogTestSupport.h"

#include "ui/common/PromptService.h"
#include "ui/files/RtfToHtml.h"
#include "ui/files/TipsDialog.h"
#include "ui/window/Help.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QUrl>

#include <gtest/gtest.h>

namespace vocalore {
namespace {

using dialogtest::Child;

const QString sourceDir = QStringLiteral(VOCALORE_SOURCE_DIR);
TEST(Tips, FileSplitsIntoLinesAtEveryKindOfLineEnd) {
    struct Row {
        QByteArray bytes;
        std::vector<QByteArray> lines;
    } rows[] = {
        {"", {}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\nc", {"a", "b", "c"}},
        {"a\n\nb", {"a", "", "b"}},
        {QByteArray("a\nb\0c\nd", 7), {"a", "b"}}, // a zero byte ends the text
        {"\r\n", {""}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(SplitTipLines(row.bytes), row.lines) << row.bytes.toStdString();
}

TEST(Tips, LineGivesHelpContextAndText) {
    struct Row {
        QByteArray line;
        int context;
        QByteArray text;
    } rows[] = {
        {"2001\tOpen a file", 2001, "Open a file"},
        {"No tab at all", 0, "No tab at all"},
        {"abc\tText", 0, "Text"},
        {"\tText", 0, "Text"},
        {"12\tA\tB", 12, "A\tB"},
    };
    for (const Row& row : rows) {
        const TTip tip = ParseTip(row.line);
        EXPECT_EQ(tip.Context, row.context) << row.line.toStdString();
        EXPECT_EQ(tip.Text, row.text) << row.line.toStdString();
    }
}

TEST(Tips, RichTextOfATipIsShownWithItsStyles) {
    EXPECT_EQ(TipDocument("T"), QByteArray("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss "
                                           "Verdana;}}{\\colortbl\\red0\\green0\\blue0;}"
                                           "\\deflang2057\\pard\\plain\\f0\\fs16 T\\par }"));
    const QString html =
        RtfToHtml(TipDocument("Press \\b Ctrl+T\\b0  now, \\i caf\\'e9\\i0  \\{x\\} a\\\\b"));
    EXPECT_FALSE(html.contains(QStringLiteral("Verdana"))); // the font table is no text
    EXPECT_TRUE(html.contains(QStringLiteral("font-size:8pt")));
    EXPECT_TRUE(html.contains(QStringLiteral("font-weight:bold\">Ctrl+T</span>")));
    EXPECT_TRUE(html.contains(QStringLiteral("font-style:italic\">caf\u00e9</span>")));
    EXPECT_TRUE(html.contains(QStringLiteral("{x} a\\b")));
    EXPECT_TRUE(html.contains(QStringLiteral(">Press </span>")));
    EXPECT_FALSE(html.endsWith(QStringLiteral("<br>")));
}

class TipsDialogTest : public ::testing::Test {
protected:
    QString WriteTips(const QByteArray& bytes) {
        const QString path = FDir.filePath(QStringLiteral("Tips.dat"));
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
        return path;
    }
    static QString Shown(TTipsDialog& dialog) {
        return Child<QTextBrowser>(&dialog, "reTip")->toPlainText();
    }
    QTemporaryDir FDir;
};

TEST_F(TipsDialogTest, NextTipWrapsAndAdvancesWithEveryTipShown) {
    TTipsDialogData data{
        WriteTips("0\tTip zero\r\n1\tTip one\r\n0\tTip two\r\n0\tTip three\r\n2002\tTip four\r\n"),
        7, true};
    TTipsDialog dialog(nullptr, data);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Tip of the Day"));
    EXPECT_EQ(Shown(dialog), QStringLiteral("Tip zero")); // 7 is past the end
    EXPECT_EQ(data.NextTip, 1);
    auto* details = Child<QPushButton>(&dialog, "btnDetails");
    EXPECT_FALSE(details->isEnabled()); // context 0
    Child<QPushButton>(&dialog, "btnNext")->click();
    EXPECT_EQ(Shown(dialog), QStringLiteral("Tip one"));
    EXPECT_TRUE(details->isEnabled());
    EXPECT_EQ(data.NextTip, 2);
    for (int i = 0; i < 3; ++i)
        Child<QPushButton>(&dialog, "btnNext")->click();
    EXPECT_EQ(Shown(dialog), QStringLiteral("Tip four"));
    EXPECT_EQ(data.NextTip, 5);
    Child<QPushButton>(&dialog, "btnNext")->click();
    EXPECT_EQ(Shown(dialog), QStringLiteral("Tip zero"));
    EXPECT_EQ(data.NextTip, 1);
}

TEST_F(TipsDialogTest, MissingOrEmptyFileShowsTipsUnavailable) {
    TTipsDialogData missing{FDir.filePath(QStringLiteral("none.dat")), 3, true};
    {
        TTipsDialog dialog(nullptr, missing);
        EXPECT_EQ(Shown(dialog), QStringLiteral("[Tips unavailable]"));
        EXPECT_FALSE(Child<QPushButton>(&dialog, "btnDetails")->isEnabled());
        EXPECT_FALSE(Child<QPushButton>(&dialog, "btnNext")->isEnabled());
    }
    EXPECT_EQ(missing.NextTip, 3); // left as it was
    TTipsDialogData empty{WriteTips(""), 3, true};
    TTipsDialog dialog(nullptr, empty);
    EXPECT_EQ(Shown(dialog), QStringLiteral("[Tips unavailable]"));
    EXPECT_EQ(empty.NextTip, 0);
}

TEST_F(TipsDialogTest, ReminderOnlyWhenTurnedOffAtStartup) {
    const QString path = WriteTips("0\tOnly tip\r\n");
    for (bool atStartup : {true, false}) {
        TFakePromptService fake(true);
        TTipsDialogData data{path, 0, true};
        dialogtest::OnNextModal([](QDialog* dialog) {
            Child<QCheckBox>(dialog, "chbShowAtStartup")->setChecked(false);
            dialog->reject(); // Close, Escape or the close box: the box is stored all the same
        });
        ShowTipOfTheDay(nullptr, data, atStartup);
        EXPECT_FALSE(data.ShowAtStartup);
        EXPECT_EQ(data.NextTip, 1);
        if (!atStartup) {
            EXPECT_TRUE(fake.Prompts().empty());
            continue;
        }
        ASSERT_EQ(fake.Prompts().size(), 1u);
        EXPECT_EQ(fake.Last().Text,
                  QStringLiteral("Tip of the Day can be turned on again via the Help menu."));
        EXPECT_EQ(fake.Last().Caption, QStringLiteral("Vocalore"));
        EXPECT_EQ(fake.Last().Icon, TMsgIcon::Information);
    }
}

// The tips we ship: enough of them, each with a topic that exists, and rich
// text whose groups are balanced.
TEST(Tips, ShippedTipsAreWellFormed) {
    QFile file(sourceDir + QStringLiteral("/ui/files/Tips.dat"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::vector<QByteArray> lines = SplitTipLines(file.readAll());
    EXPECT_GE(lines.size(), 10u);
    for (const QByteArray& line : lines) {
        const TTip tip = ParseTip(line);
        EXPECT_FALSE(tip.Text.trimmed().isEmpty());
        if (tip.Context != 0) {
            EXPECT_NE(HelpPage(tip.Context), QStringLiteral("index.html")) << line.toStdString();
        }
        int depth = 0;
        for (qsizetype i = 0; i < tip.Text.size(); ++i) {
            if (tip.Text[i] == '\\') {
                ++i;
                continue;
            }
            depth += tip.Text[i] == '{' ? 1 : tip.Text[i] == '}' ? -1 : 0;
            EXPECT_GE(depth, 0) << line.toStdString();
        }
        EXPECT_EQ(depth, 0) << line.toStdString();
        EXPECT_FALSE(RtfToHtml(TipDocument(tip.Text)).contains(u'\\')) << line.toStdString();
    }
}

} // namespace
} // namespace vocalore
