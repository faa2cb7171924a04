// The layout on the recording canvas. Its default page is Letter at 720 dpi
// (6120 x 7920 pixels); one-inch margins give the edges 720, 720, 5400, 7200.
// At 12 points a byte is 60 pixels wide and a line 144 high; at 14 points
// (the title) 70 and 168. Indent 120, gap 240.

#include "TransferTestUtil.h"

#include "transfer/PrintLayout.h"
#include "transfer/RecordingCanvas.h"

#include <algorithm>
#include <cctype>

using namespace vocalore;
using namespace vocalore::transfertest;

namespace {

struct TDrawn {
    std::string Text;
    int32_t X, Y;
    TFontStyle Style;
    int32_t Page;
    bool operator==(const TDrawn&) const = default;
};

void PrintTo(const TDrawn& d, std::ostream* os) {
    *os << "{\"" << d.Text << "\" " << d.X << "," << d.Y << " style " << static_cast<int>(d.Style)
        << " page " << d.Page << "}";
}

std::vector<TDrawn> Drawn(const TRecordingCanvas& canvas) {
    std::vector<TDrawn> out;
    for (const TCanvasCall* c : canvas.Texts())
        out.push_back({c->Text, c->X1, c->Y1, c->Style, c->Page});
    return out;
}

TPageSetup NoTitle(int32_t columns = 2) {
    TPageSetup s;
    s.PrintTitle = false;
    s.Columns = columns;
    return s;
}

TRecordingCanvas Print(const TVocabFile& doc, const TPageSetup& setup, int32_t copies = 1) {
    TRecordingCanvas canvas;
    PrintJob(doc, canvas, setup, "Vocalore - test", copies);
    return canvas;
}

} // namespace

TEST(PrintLayout, TitleThenItemRunsWithFontsAndCharsets) {
    TVocabFile doc;
    doc.ForeignLangID = 0x0419; // Russian: character set 204
    doc.NativeLangID = 0x0415;  // Polish: 238
    doc.SetProperty(piDescription, " \t My List \r\n");
    AddItem(doc, {"Haus", "n", "", "house"});
    AddItem(doc, {"Tisch", "", "der", "table"});
    const TRecordingCanvas canvas = Print(doc, TPageSetup{});

    ASSERT_GE(canvas.Calls.size(), 2u);
    EXPECT_EQ(canvas.Calls.front().Kind, TCanvasCall::ckBeginJob);
    EXPECT_EQ(canvas.Calls.front().Text, "Vocalore - test");
    EXPECT_EQ(canvas.Calls.back().Kind, TCanvasCall::ckEndJob);
    EXPECT_EQ(canvas.FontName(), "Times New Roman");

    // Title at 14 points, then three title lines down: 720 + 3 * 168 = 1224.
    const std::vector<TDrawn> expected = {
        {"My List", 720, 720, fsBold, 1},
        {"Haus ", 720, 1224, fsBold, 1},
        {"n ", 720 + 5 * 60, 1224, fsItalic, 1},
        {"house", 720 + 7 * 60, 1224, fsRegular, 1},
        {"Tisch ", 720, 1224 + 144, fsBold, 1},
        {"der ", 720 + 6 * 60, 1368, fsItalic, 1},
        {"table", 720 + 10 * 60, 1368, fsRegular, 1},
    };
    EXPECT_EQ(Drawn(canvas), expected);

    const auto texts = canvas.Texts();
    EXPECT_EQ(texts[0]->FontSize, 14);
    // The description is native text: the native language's character set.
    EXPECT_EQ(texts[0]->Charset, 238);
    EXPECT_EQ(texts[1]->FontSize, 12);
    EXPECT_EQ(texts[1]->Charset, 204);
    EXPECT_EQ(texts[2]->Charset, 238);
    EXPECT_EQ(texts[3]->Charset, 238);
    // One column in use: no separator, and one page: no page number.
    EXPECT_TRUE(canvas.Lines().empty());
    EXPECT_EQ(canvas.Pages, 1);
}

TEST(PrintLayout, TitleFallsBackToTheFileNameAndMayBeAbsent) {
    TTempDir dir;
    TVocabFile doc;
    AddItem(doc, {"w", "", "", "t"});
    // Untitled and without description: no title even when it is asked for.
    EXPECT_EQ(Drawn(Print(doc, TPageSetup{})).front(), (TDrawn{"w ", 720, 720, fsBold, 1}));

    doc.SaveToFile(dir.File("My Words.v1.vlo"));
    EXPECT_EQ(PrintTitleText(doc), "My Words.v1");
    EXPECT_EQ(Drawn(Print(doc, TPageSetup{})).front().Text, "My Words.v1");
    // A file name is spelled as the file system spells it, whatever the languages.
    doc.NativeLangID = 0x0419;
    const TRecordingCanvas canvas = Print(doc, TPageSetup{});
    EXPECT_EQ(canvas.Texts().front()->Charset, Utf8Charset);
    // Switched off.
    EXPECT_EQ(Drawn(Print(doc, NoTitle())).front().Text, "w ");

    doc.SetProperty(piDescription, "   ");
    EXPECT_EQ(PrintTitleText(doc), "My Words.v1");
}

TEST(PrintLayout, LongTitleWrapsAtTheRightEdge) {
    TVocabFile doc;
    // 4680 pixels at 70 per byte: 66 bytes fit on a title line.
    doc.SetProperty(piDescription, std::string(60, 'a') + " " + std::string(10, 'b'));
    AddItem(doc, {"w", "", "", "t"});
    const auto drawn = Drawn(Print(doc, TPageSetup{}));
    ASSERT_GE(drawn.size(), 3u);
    EXPECT_EQ(drawn[0], (TDrawn{std::string(60, 'a') + " ", 720, 720, fsBold, 1}));
    EXPECT_EQ(drawn[1], (TDrawn{std::string(10, 'b'), 720, 720 + 168, fsBold, 1}));
    EXPECT_EQ(drawn[2], (TDrawn{"w ", 720, 720 + 4 * 168, fsBold, 1}));
}

TEST(PrintLayout, WrappingBreaksAtSpacesAndCutsOverlongWords) {
    // Column 1 runs from 720 to the right limit 2940; continuation x is 840.
    TVocabFile doc;
    // A word of 50 letters: 36 fit from the column left (2160 < 2220), then the
    // rest goes on at the continuation x.
    AddItem(doc, {std::string(50, 'w'), "", "", "x"});
    // A following piece that doesn't fit moves whole to the next line.
    AddItem(doc, {std::string(30, 'a'), "", "", "bbbbbbb ccc"});
    // Breaking at the last space that fits; the space stays on the line.
    AddItem(doc, {std::string(30, 'a'), "", "", "bb cccccccc"});
    // A space right after the fitting part goes with the line.
    AddItem(doc, {std::string(30, 'a'), "", "", "bbbbb ccc"});
    const auto drawn = Drawn(Print(doc, NoTitle()));
    const std::vector<TDrawn> expected = {
        {std::string(36, 'w'), 720, 720, fsBold, 1},
        {std::string(14, 'w') + " ", 840, 864, fsBold, 1},
        {"x", 840 + 15 * 60, 864, fsRegular, 1},
        {std::string(30, 'a') + " ", 720, 1008, fsBold, 1},
        {"bbbbbbb ccc", 840, 1152, fsRegular, 1},
        {std::string(30, 'a') + " ", 720, 1296, fsBold, 1},
        {"bb ", 720 + 31 * 60, 1296, fsRegular, 1},
        {"cccccccc", 840, 1440, fsRegular, 1},
        {std::string(30, 'a') + " ", 720, 1584, fsBold, 1},
        {"bbbbb ", 720 + 31 * 60, 1584, fsRegular, 1},
        {"ccc", 840, 1728, fsRegular, 1},
    };
    EXPECT_EQ(drawn, expected);
}

TEST(PrintLayout, ColumnsSeparatorsAndPageNumbers) {
    // Without a title 44 one-line items fill a column: the 45th line would end
    // at 720 + 45 * 144 = 7200, the bottom limit, so it starts a new column.
    TVocabFile doc;
    for (int i = 0; i < 200; ++i)
        AddItem(doc, {"w" + std::to_string(i), "", "", "t"});

    const TRecordingCanvas two = Print(doc, NoTitle(2));
    std::vector<TDrawn> words;
    for (const auto& d : Drawn(two))
        if (d.Style == fsBold)
            words.push_back(d);
    ASSERT_EQ(words.size(), 200u);
    EXPECT_EQ(words[43], (TDrawn{"w43 ", 720, 720 + 43 * 144, fsBold, 1}));
    EXPECT_EQ(words[44], (TDrawn{"w44 ", 3180, 720, fsBold, 1}));
    EXPECT_EQ(words[88], (TDrawn{"w88 ", 720, 720, fsBold, 2}));
    EXPECT_EQ(words[199], (TDrawn{"w199 ", 720, 720 + 23 * 144, fsBold, 3}));
    EXPECT_EQ(two.Pages, 3);

    // Page numbers centred below the bottom edge on every page: x = (720 + 5400 - 60) / 2.
    std::vector<TDrawn> numbers;
    for (const auto& d : Drawn(two))
        if (d.Text.size() == 1 && std::isdigit(static_cast<unsigned char>(d.Text[0])))
            numbers.push_back(d);
    const std::vector<TDrawn> expectedNumbers = {{"1", 3030, 7344, fsRegular, 1},
                                                 {"2", 3030, 7344, fsRegular, 2},
                                                 {"3", 3030, 7344, fsRegular, 3}};
    EXPECT_EQ(numbers, expectedNumbers);

    // A separator where a second column begins (not on page 3), at
    // 3180 - 120 - 1, from the column top down.
    const auto lines = two.Lines();
    ASSERT_EQ(lines.size(), 2u);
    for (const TCanvasCall* l : lines) {
        EXPECT_EQ(l->X1, 3059);
        EXPECT_EQ(l->X2, 3059);
        EXPECT_EQ(l->Y1, 720);
        EXPECT_EQ(l->Y2, 7200);
    }

    // Three columns: X(k) = 720 + 4920 (k - 1) / 3, so 720, 2360, 4000.
    const TRecordingCanvas three = Print(doc, NoTitle(3));
    const auto threeDrawn = Drawn(three);
    auto wordAt = [&](const std::string& w) {
        for (const auto& d : threeDrawn)
            if (d.Text == w + " ")
                return d;
        return TDrawn{};
    };
    EXPECT_EQ(wordAt("w44").X, 2360);
    EXPECT_EQ(wordAt("w88").X, 4000);
    EXPECT_EQ(wordAt("w132").Page, 2);
    ASSERT_EQ(three.Lines().size(), 3u); // page 2 holds two columns
    EXPECT_EQ(three.Lines()[0]->X1, 2360 - 121);
    EXPECT_EQ(three.Lines()[1]->X1, 4000 - 121);

    // One column: never a separator, even when asked for.
    EXPECT_TRUE(Print(doc, NoTitle(1)).Lines().empty());
    TPageSetup noSeparator = NoTitle(2);
    noSeparator.Separator = false;
    EXPECT_TRUE(Print(doc, noSeparator).Lines().empty());
}

TEST(PrintLayout, SeparatorStartsBelowTheTitleOnTheFirstPage) {
    TVocabFile doc;
    doc.SetProperty(piDescription, "T");
    for (int i = 0; i < 60; ++i)
        AddItem(doc, {"w", "", "", "t"});
    const TRecordingCanvas canvas = Print(doc, TPageSetup{});
    ASSERT_EQ(canvas.Lines().size(), 1u);
    EXPECT_EQ(canvas.Lines()[0]->Y1, 1224);
    // Below the title there is room for 41 lines: 1224 + 41 * 144 = 7128 < 7200.
    const auto drawn = Drawn(canvas);
    EXPECT_EQ(drawn[1 + 2 * 40].Y, 1224 + 40 * 144);
    EXPECT_EQ(drawn[1 + 2 * 41].X, 3180);
}

TEST(PrintLayout, AColumnBreakInsideAnItemContinuesAtTheNextColumnTop) {
    TVocabFile doc;
    for (int i = 0; i < 43; ++i)
        AddItem(doc, {"w", "", "", "t"});
    // The 44th item takes two lines; its second line would end at the bottom limit.
    AddItem(doc, {std::string(40, 'x'), "", "", "t"});
    const auto drawn = Drawn(Print(doc, NoTitle()));
    ASSERT_GE(drawn.size(), 3u);
    const TDrawn second = drawn[drawn.size() - 2];
    EXPECT_EQ(second, (TDrawn{"xxxx ", 3180 + 120, 720, fsBold, 1}));
    EXPECT_EQ(drawn.back(), (TDrawn{"t", 3300 + 5 * 60, 720, fsRegular, 1}));
}

TEST(PrintLayout, PageNumberUsesRegularStyleInTheMiddleOfABoldWord) {
    TVocabFile doc;
    // Fill two columns, then a word that breaks onto the next page.
    for (int i = 0; i < 87; ++i)
        AddItem(doc, {"w", "", "", "t"});
    AddItem(doc, {std::string(40, 'x'), "", "", "t"});
    const TRecordingCanvas canvas = Print(doc, NoTitle());
    const auto drawn = Drawn(canvas);
    const auto it =
        std::find_if(drawn.begin(), drawn.end(), [](const TDrawn& d) { return d.Text == "1"; });
    ASSERT_NE(it, drawn.end());
    EXPECT_EQ(it->Style, fsRegular);
    EXPECT_EQ(it->Page, 1);
    EXPECT_EQ(drawn.back().Page, 2);
    EXPECT_EQ(drawn.back().Text, "2");
    EXPECT_EQ((drawn.end() - 2)->Style, fsRegular); // the translation "t"
    EXPECT_EQ((drawn.end() - 3)->Style, fsBold);    // the rest of the word
}

TEST(PrintLayout, CopiesAreSeparatedByANewPage) {
    TVocabFile doc;
    doc.SetProperty(piDescription, "Title");
    AddItem(doc, {"w", "", "", "t"});
    const TRecordingCanvas canvas = Print(doc, TPageSetup{}, 2);
    EXPECT_EQ(canvas.Pages, 2);
    const auto drawn = Drawn(canvas);
    ASSERT_EQ(drawn.size(), 6u);
    EXPECT_EQ(drawn[3], (TDrawn{"Title", 720, 720, fsBold, 2}));
    // Each copy is a one-page document: no page numbers.
    for (const auto& d : drawn)
        EXPECT_NE(d.Text, "1");
}

// A range of pages: only those reach the printer, in every copy, and a
// range past the end prints nothing at all.
TEST(PrintLayout, PageRangeKeepsOnlyItsPages) {
    TVocabFile doc;
    for (int i = 0; i < 200; ++i) // three pages in two columns
        AddItem(doc, {"w" + std::to_string(i), "", "", "t"});
    const std::vector<TDrawn> all = Drawn(Print(doc, NoTitle(2)));
    auto onPage = [&](int32_t page) {
        std::vector<TDrawn> out;
        for (TDrawn d : all)
            if (d.Page == page)
                out.push_back(d);
        return out;
    };
    auto printed = [&](TPageRange range, int32_t copies = 1) {
        TRecordingCanvas canvas;
        PrintJob(doc, canvas, NoTitle(2), "job", copies, range);
        return canvas;
    };
    auto renumbered = [](std::vector<TDrawn> drawn, int32_t page) {
        for (TDrawn& d : drawn)
            d.Page = page;
        return drawn;
    };

    const TRecordingCanvas second = printed({2, 2});
    EXPECT_EQ(second.Pages, 1);
    EXPECT_EQ(Drawn(second), renumbered(onPage(2), 1)); // its page number "2" included
    EXPECT_EQ(second.Lines().size(), 1u);

    // From 2 to the end, twice (the program making the copies).
    const TRecordingCanvas twice = printed({2, 0}, 2);
    EXPECT_EQ(twice.Pages, 4);
    std::vector<TDrawn> want;
    int32_t out = 0;
    for (int32_t page : {2, 3, 2, 3}) {
        const auto p = renumbered(onPage(page), ++out);
        want.insert(want.end(), p.begin(), p.end());
    }
    EXPECT_EQ(Drawn(twice), want);
    EXPECT_EQ(printed({1, 3}).Pages, 3);
    EXPECT_EQ(printed({0, 0}).Pages, 3);
    EXPECT_EQ(printed({3, 9}).Pages, 1);

    // Past the end: no job at all, and the message says why.
    TRecordingCanvas none;
    EXPECT_EQ(ErrorOf([&] {
                  PrintJob(doc, none, NoTitle(2), "job", 1, {4, 5});
              }),
              "The document has 3 pages; nothing was printed.");
    for (const TCanvasCall& call : none.Calls)
        EXPECT_NE(call.Kind, TCanvasCall::ckBeginJob);
    EXPECT_EQ(PagesOutOfRangeMessage(1), "The document has 1 page; nothing was printed.");
}

TEST(PrintLayout, MarginsExceedingThePaperEndTheJob) {
    TVocabFile doc;
    AddItem(doc, {"w", "", "", "t"});
    const struct {
        int32_t Left, Top, Right, Bottom;
    } cases[] = {
        {1440 * 5, 1440, 1440 * 4, 1440}, // 3600 + 2880 pixels of 6120
        {1440 * 4, 1440, 1440 * 4, 1440},
        {1440, 1440 * 6, 1440, 1440 * 5},
        {1440 * 8, 0, 0, 0},
        {0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        TPageSetup setup;
        setup.Margins = {c.Left, c.Top, c.Right, c.Bottom};
        TRecordingCanvas canvas;
        const std::string error = ErrorOf([&] { PrintJob(doc, canvas, setup, "job"); });
        const bool exceeds = c.Left / 2 + c.Right / 2 >= 6120 || c.Top / 2 + c.Bottom / 2 >= 7920;
        EXPECT_EQ(error, exceeds ? "Margins exceed paper size." : "(no error)") << c.Left;
        // Refused margins never begin a job, so no empty page reaches the printer.
        const bool begun = std::any_of(canvas.Calls.begin(), canvas.Calls.end(), [](auto& call) {
            return call.Kind == TCanvasCall::ckBeginJob;
        });
        EXPECT_EQ(begun, !exceeds) << c.Left;
        if (!exceeds) {
            EXPECT_EQ(canvas.Calls.back().Kind, TCanvasCall::ckEndJob);
        }
    }
    // Exactly touching: left edge = right edge is refused.
    TPageSetup touching;
    touching.Margins = {6120, 0, 6120, 0};
    TRecordingCanvas canvas;
    EXPECT_EQ(ErrorOf([&] { PrintJob(doc, canvas, touching, "job"); }),
              "Margins exceed paper size.");
}

TEST(PrintLayout, DamagedSetupIsLaidOutWithDefaults) {
    TVocabFile doc;
    for (int i = 0; i < 50; ++i)
        AddItem(doc, {"w", "", "", "t"});
    TPageSetup damaged = NoTitle(0);
    damaged.FontSize = 99;
    const TRecordingCanvas canvas = Print(doc, damaged);
    const auto texts = canvas.Texts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front()->FontSize, 12);
    EXPECT_EQ(canvas.Lines().size(), 1u); // two columns with their separator

    TPageSetup negative = NoTitle(-5);
    negative.Margins.Left = -100000;
    EXPECT_EQ(Drawn(Print(doc, negative)).front().X, 720);
}

TEST(PrintLayout, EmptyDocumentPrintsOnlyItsTitle) {
    TVocabFile doc;
    doc.SetProperty(piDescription, "Empty");
    const auto drawn = Drawn(Print(doc, TPageSetup{}));
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].Text, "Empty");
    TVocabFile untitled;
    EXPECT_TRUE(Drawn(Print(untitled, TPageSetup{})).empty());
}

namespace {

// Measures like the recording canvas and counts the bytes it was asked to
// measure: the work the line breaking does.
class TCountingCanvas final : public TRecordingCanvas {
public:
    using TRecordingCanvas::TRecordingCanvas;
    int32_t TextWidth(std::string_view text) override {
        Measured += static_cast<int64_t>(text.size());
        return TRecordingCanvas::TextWidth(text);
    }
    int64_t Measured = 0;
};

// The line breaking as first written: bisection over the whole rest of the
// text. Used only to check that the faster search draws the same.
std::vector<std::string> ReferenceLines(std::string text, int32_t avail0, int32_t availLater,
                                        int32_t charWidth) {
    std::vector<std::string> lines;
    int32_t avail = avail0;
    bool lineEmpty = true;
    for (;;) {
        size_t low = 0, high = text.size() + 1, n = text.size();
        while (n != low && n != high) {
            if (static_cast<int32_t>(n) * charWidth < avail)
                low = n;
            else
                high = n;
            n = (low + high) / 2;
        }
        size_t b = n;
        if (b > 0 && b < text.size() && text[b - 1] != ' ') {
            if (text[b] == ' ')
                ++b;
            else
                while (b > 0 && text[b - 1] != ' ')
                    --b;
        }
        if (b == text.size()) {
            lines.push_back(text);
            return lines;
        }
        if (b > 0) {
            lines.push_back(text.substr(0, b));
            text.erase(0, b);
        } else if (lineEmpty) {
            const size_t cut = n > 0 ? n : 1;
            lines.push_back(text.substr(0, cut));
            text.erase(0, cut);
        }
        if (text.empty())
            return lines;
        avail = availLater;
        lineEmpty = true;
    }
}

} // namespace

TEST(PrintLayout, OneLongTextIsBrokenInLinearTimeWithTheSameLines) {
    // One column: left 720, right limit 5400, continuation x 840, 60 pixels a byte.
    const TPageSetup setup = NoTitle(1);
    auto lines = [&](const std::string& word, int64_t* measured) {
        TVocabFile doc;
        AddItem(doc, {word, "", "", ""});
        TCountingCanvas canvas;
        PrintJob(doc, canvas, setup, "t");
        *measured = canvas.Measured;
        std::vector<std::string> out;
        for (const TCanvasCall* call : canvas.Texts())
            if (call->Style == fsBold)
                out.push_back(call->Text);
        return out;
    };
    // Unbroken, with spaces now and then, with a space right at a break.
    for (const std::string& word :
         {std::string(1000, 'x'), std::string(77, 'a') + " " + std::string(300, 'b') + " c",
          std::string(78, 'd') + " " + std::string(80, 'e'), std::string("  ") + "f"}) {
        int64_t measured = 0;
        EXPECT_EQ(lines(word, &measured), ReferenceLines(word + " ", 4680, 4560, 60))
            << word.size();
    }
    // Ten times the text costs about ten times the measuring, not a hundred.
    int64_t small = 0, large = 0;
    lines(std::string(6500, 'x'), &small);
    lines(std::string(65000, 'x'), &large);
    EXPECT_LT(large, 15 * small);
    // About a line's worth per line (78 bytes), a few probes each.
    EXPECT_LT(large, 65000 * 20);
}

TEST(PrintLayout, Utf8TitleIsCutBetweenCharacters) {
    TTempDir dir;
    TVocabFile doc;
    AddItem(doc, {"w", "", "", "t"});
    // 40 Cyrillic letters of two bytes each: 66 bytes fit on a title line,
    // which would end inside a letter.
    std::string name;
    for (int i = 0; i < 40; ++i)
        name += "\xD0\x96";
    doc.SaveToFile(dir.File(name + ".vlo"));
    const TRecordingCanvas canvas = Print(doc, TPageSetup{});
    const auto texts = canvas.Texts();
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[0]->Text.size(), 66u);
    EXPECT_EQ(texts[0]->Text + texts[1]->Text, name);
    EXPECT_EQ(texts[1]->Charset, Utf8Charset);
}

TEST(PrintLayout, Utf8TitleOnAColumnNarrowerThanACharacterKeepsEachCharacterWhole) {
    TTempDir dir;
    TVocabFile doc;
    AddItem(doc, {"w", "", "", "t"});
    doc.SaveToFile(dir.File("\xD0\x96\xD0\xAF.vlo"));
    // 100 pixels between the margins: one byte of the title (70) fits, one
    // two-byte letter (140) does not, so each line takes one whole letter.
    TRecordingCanvas canvas(720 + 100 + 720, 7920);
    TPageSetup setup;
    setup.Columns = 1;
    PrintJob(doc, canvas, setup, "t");
    const auto texts = canvas.Texts();
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[0]->Text, "\xD0\x96");
    EXPECT_EQ(texts[1]->Text, "\xD0\xAF");
    EXPECT_EQ(texts[1]->Y1, texts[0]->Y1 + 168); // the next title line
}
