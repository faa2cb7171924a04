#include "DialogTestSupport.h"

#include "ui/Help.h"
#include "ui/PromptService.h"
#include "ui/RtfToHtml.h"
#include "ui/TipsDialog.h"
#include "ui/ToolImages.h"

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

// Every command and dialog context leads to a page we ship, at an anchor
// that exists in it.
TEST(Help, EveryContextHasAShippedPageAndAnchor) {
    std::vector<int> contexts;
    for (int c = 2000; c <= 2009; ++c)
        contexts.push_back(c);
    for (int c = 2100; c <= 2113; ++c)
        contexts.push_back(c);
    for (int c = 2200; c <= 2205; ++c)
        contexts.push_back(c);
    for (int c = 2300; c <= 2302; ++c)
        contexts.push_back(c);
    for (int c = 3000; c <= 3008; ++c)
        contexts.push_back(c);
    for (int context : contexts) {
        const QString page = HelpPage(context);
        EXPECT_NE(page, QStringLiteral("index.html")) << context;
        const QString file = page.section(u'#', 0, 0);
        const QString anchor = page.section(u'#', 1);
        QFile html(sourceDir + QStringLiteral("/help/") + file);
        ASSERT_TRUE(html.open(QIODevice::ReadOnly)) << context << " " << file.toStdString();
        if (!anchor.isEmpty()) {
            EXPECT_TRUE(html.readAll().contains(("id=\"" + anchor + "\"").toUtf8()))
                << page.toStdString();
        }
    }
    EXPECT_EQ(HelpPage(0), QStringLiteral("index.html"));
    EXPECT_EQ(HelpPage(4711), QStringLiteral("index.html"));
}

TEST(Help, TopicsOpenInTheBrowserAtTheirAnchor) {
    std::vector<QUrl> opened;
    SetHelpFolder(sourceDir + QStringLiteral("/help"));
    SetHelpOpener([&](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    EXPECT_TRUE(ShowHelpTopic(2001));
    EXPECT_TRUE(ShowHelpContents());
    EXPECT_FALSE(ShowHelpTopic(0)); // no topic: nothing opens
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_TRUE(opened[0].isLocalFile());
    EXPECT_TRUE(opened[0].toLocalFile().endsWith(QStringLiteral("/help/files.html")));
    EXPECT_EQ(opened[0].fragment(), QStringLiteral("open"));
    EXPECT_TRUE(opened[1].toLocalFile().endsWith(QStringLiteral("/help/index.html")));

    // Without the help pages the user is told, not left wondering.
    QTemporaryDir empty;
    SetHelpFolder(empty.path());
    TFakePromptService fake(true);
    EXPECT_FALSE(ShowHelpTopic(3001));
    EXPECT_EQ(opened.size(), 2u);
    ASSERT_EQ(fake.Prompts().size(), 1u);
    EXPECT_EQ(fake.Last().Icon, TMsgIcon::Error);
    EXPECT_TRUE(fake.Last().Text.contains(QStringLiteral("newdialog.html")));
    EXPECT_TRUE(fake.Last().Text.contains(QStringLiteral("is missing")));

    // The page is there but nothing on the desktop can show it: say that instead.
    SetHelpFolder(sourceDir + QStringLiteral("/help"));
    SetHelpOpener([](const QUrl&) { return false; });
    EXPECT_FALSE(ShowHelpContents());
    ASSERT_EQ(fake.Prompts().size(), 2u);
    EXPECT_EQ(fake.Last().Icon, TMsgIcon::Error);
    EXPECT_TRUE(fake.Last().Text.contains(QStringLiteral("index.html")));
    EXPECT_TRUE(fake.Last().Text.startsWith(QStringLiteral("No program could be started")));
    EXPECT_FALSE(fake.Last().Text.contains(QStringLiteral("missing")));
    SetHelpFolder({});
    SetHelpOpener(nullptr);
}

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
    QFile file(sourceDir + QStringLiteral("/ui/Tips.dat"));
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

TEST(ToolImages, TwentyFourImagesAndThePictures) {
    for (int i = 0; i < tiCount; ++i) {
        const QIcon icon = ToolImage(i);
        ASSERT_FALSE(icon.isNull()) << i;
        EXPECT_EQ(icon.availableSizes().value(0), QSize(16, 16)) << i;
    }
    EXPECT_TRUE(ToolImage(tiCount).isNull());
    EXPECT_EQ(ProgramPicture().size(), QSize(32, 32));
    EXPECT_EQ(DocumentPicture().size(), QSize(32, 32));
    EXPECT_EQ(TipPicture().size(), QSize(32, 32));
}

} // namespace
} // namespace vocalore
