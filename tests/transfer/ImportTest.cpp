#include "TransferTestUtil.h"

#include "transfer/Export.h"
#include "transfer/Import.h"

#include <sys/stat.h>

using namespace vocalore;
using namespace vocalore::transfertest;

namespace {

using Strings = std::vector<std::string>;

Strings ToStrings(const std::vector<std::string_view>& views) {
    return {views.begin(), views.end()};
}

constexpr std::array<int32_t, 4> WordCatNotesTrans{1, 2, 3, 4};

} // namespace

TEST(ImportLines, LineEndsAndTheZeroByte) {
    const struct {
        std::string In;
        Strings Lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"a\r\n", {"a"}},
        {"a\n\nb", {"a", "", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}}, // LF CR is two line ends
        {std::string("a\nb\0c\nd", 7), {"a", "b"}},
        {std::string("\0abc", 4), {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ToStrings(SplitImportLines(c.In)), c.Lines) << c.In;
}

TEST(ImportColumns, TabColumnsAreTrimmedAndLimited) {
    const struct {
        std::string In;
        Strings Columns;
    } cases[] = {
        {"", {}},
        {" ", {""}},
        {"a", {"a"}},
        {" a \t b\t\tc ", {"a", "b", "", "c"}},
        {"a\t", {"a", ""}},
        {"\x01x\x1F\t\x7F", {"x", "\x7F"}},
        {"K\xF6nig \t\xA0", {"K\xF6nig", "\xA0"}}, // 0xA0 is not a blank byte
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitTabColumns(c.In), c.Columns) << c.In;

    std::string wide;
    for (int i = 1; i <= 70; ++i)
        wide += std::to_string(i) + "\t";
    const Strings cols = SplitTabColumns(wide);
    ASSERT_EQ(cols.size(), 64u);
    EXPECT_EQ(cols.front(), "1");
    EXPECT_EQ(cols.back(), "64");
}

TEST(ImportColumns, CsvFieldRules) {
    const struct {
        std::string In;
        Strings Fields;  // ParseCsvLine
        Strings Columns; // after the TAB join, split and trim
    } cases[] = {
        {"", {}, {}},
        {"   ", {}, {}},
        {"a,b,c", {"a", "b", "c"}, {"a", "b", "c"}},
        {"a,,b", {"a", "", "b"}, {"a", "", "b"}},
        {"a,b,", {"a", "b"}, {"a", "b"}}, // trailing comma: no empty field
        {",a", {"", "a"}, {"", "a"}},
        {"a b,c", {"a", "b", "c"}, {"a", "b", "c"}}, // a blank ends an unquoted field
        {"  a ,  b  ", {"a", "b"}, {"a", "b"}},
        {"\"x, y\",z", {"x, y", "z"}, {"x, y", "z"}},
        {"\"say \"\"hi\"\"\",w", {"say \"hi\"", "w"}, {"say \"hi\"", "w"}},
        {"\"\"", {""}, {}}, // one empty field joins to an empty line
        {"\"\",\"\"", {"", ""}, {"", ""}},
        {"\"open, never closed", {"open, never closed"}, {"open, never closed"}},
        {"\"ab\"cd,e", {"ab", "cd", "e"}, {"ab", "cd", "e"}}, // text after the closing quote
        {"\" pad \",x", {" pad ", "x"}, {"pad", "x"}},        // trimmed as a column
        {"\"a\tb\",c", {"a\tb", "c"}, {"a", "b", "c"}},       // a quoted TAB splits the column
        {"a\"b,c", {"a\"b", "c"}, {"a\"b", "c"}},             // a quote inside a bare field is data
        {"\"x\"\"", {"x\""}, {"x\""}},
        {"a,\x01,b", {"a", "", "b"}, {"a", "", "b"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseCsvLine(c.In), c.Fields) << c.In;
        EXPECT_EQ(ImportColumns(c.In, true), c.Columns) << c.In;
    }
}

TEST(ImportText, MapsColumnsSkipsLinesWithoutAWordAndFillsTheTranslation) {
    const std::string text = "Haus\tnoun\tneuter\thouse\r\n"
                             "\tnoun\t\tno word\r\n" // empty word: skipped
                             "  gehen  \t\t\t\r\n"   // no translation
                             "\r\n"                  // empty line
                             "only\n"                // one column
                             "a\tb\tc\td\te\tf\n";
    TVocabFile doc;
    EXPECT_EQ(ImportTextBytes(doc, text, false, WordCatNotesTrans, 1), 4);
    const std::vector<TItemTexts> expected = {
        {"Haus", "noun", "neuter", "house"},
        {"gehen", "", "", "#Value?#"},
        {"only", "", "", "#Value?#"},
        {"a", "b", "c", "d"},
    };
    EXPECT_EQ(Items(doc), expected);
    for (int32_t i = 0; i < doc.Count(); ++i) {
        EXPECT_EQ(doc.Items(i).LastTested, 0);
        EXPECT_EQ(doc.Items(i).SortPosition, 0);
        EXPECT_EQ(doc.Items(i).PenaltyPoints, 0);
    }

    // Translations in column 1, words in column 2, nothing else; a word column
    // beyond the line's columns skips the line.
    TVocabFile swapped;
    EXPECT_EQ(
        ImportTextBytes(swapped, "house\tHaus\ncar\n\tTisch\nx\ty\tz", false, {2, 0, 0, 1}, 1), 3);
    const std::vector<TItemTexts> swappedExpected = {
        {"Haus", "", "", "house"}, {"Tisch", "", "", "#Value?#"}, {"y", "", "", "x"}};
    EXPECT_EQ(Items(swapped), swappedExpected);

    // Column numbers outside the line (0, negative, too large) give empty texts.
    TVocabFile odd;
    EXPECT_EQ(ImportTextBytes(odd, "w\tc\tn\tt", false, {1, -1, 99, 0}, 1), 1);
    EXPECT_EQ(Items(odd), (std::vector<TItemTexts>{{"w", "", "", "#Value?#"}}));
}

TEST(ImportText, CsvLinesGoThroughTheFieldRules) {
    const std::string text = "\"x, y\",word\r\n" // two columns, the first with its comma
                             "a b,c\r\n"         // three columns
                             "\"Wort\",,\"n\"\"q\"\"\",\"t\"\r\n";
    TVocabFile doc;
    EXPECT_EQ(ImportTextBytes(doc, text, true, WordCatNotesTrans, 1), 3);
    const std::vector<TItemTexts> expected = {
        {"x, y", "word", "", "#Value?#"},
        {"a", "b", "c", "#Value?#"},
        {"Wort", "", "n\"q\"", "t"},
    };
    EXPECT_EQ(Items(doc), expected);
}

TEST(ImportText, FirstLineSkipsAndNothingToImportChangesNothing) {
    const std::string text = "header\tline\nHaus\thouse\nTisch\ttable\n";
    TVocabFile doc;
    EXPECT_EQ(ImportTextBytes(doc, text, false, {1, 0, 0, 2}, 2), 2);
    EXPECT_EQ(doc.Items(0).Word, "Haus");

    TVocabFile other;
    EXPECT_EQ(ImportTextBytes(other, "one line", false, {1, 0, 0, 2}, 2), 0);
    EXPECT_EQ(ImportTextBytes(other, "a\nb\n", false, {1, 0, 0, 2}, 4), 0);
    EXPECT_EQ(ImportTextBytes(other, "", true, {1, 0, 0, 2}, 1), 0);
    EXPECT_EQ(ImportTextBytes(other, "\t\n,\n \"\"\n", true, {1, 0, 0, 2}, 1), 0);
    EXPECT_EQ(other.Count(), 0);
    EXPECT_FALSE(other.Modified());

    for (int32_t bad : {0, -1, INT32_MIN})
        EXPECT_EQ(ErrorOf([&] {
                      ImportTextBytes(other, "a", false, {1, 0, 0, 0}, bad);
                  }),
                  "Invalid procedure call.");
    EXPECT_EQ(ImportTextBytes(other, "a", false, {1, 0, 0, 0}, INT32_MAX), 0);
}

// A column longer than a saved text may be refuses the whole file, naming the
// line, before anything is added; 65,535 bytes still fit.
TEST(ImportText, ATextTooLongToSaveRefusesTheFile) {
    const std::string fits(65535, 'n');
    const std::string tooLong(65536, 'n');
    TVocabFile doc;
    EXPECT_EQ(ImportTextBytes(doc, "Haus\thouse\t" + fits + "\n", false, {1, 0, 3, 2}, 1), 1);
    EXPECT_EQ(doc.Items(0).Notes.size(), 65535u);
    for (bool csv : {false, true}) {
        const char sep = csv ? ',' : '\t';
        const std::string text = std::string("Haus") + sep + "house\nTisch" + sep + "table" + sep +
                                 tooLong + "\nStuhl" + sep + "chair\n";
        TVocabFile other;
        EXPECT_EQ(ErrorOf([&] {
                      ImportTextBytes(other, text, csv, {1, 0, 3, 2}, 1);
                  }),
                  "Line 2, Notes: the text is 65536 bytes long; a text may hold at most 65535 "
                  "bytes. Nothing was imported.");
        EXPECT_EQ(other.Count(), 0);
        EXPECT_FALSE(other.Modified());
    }
    TVocabFile words;
    EXPECT_EQ(ErrorOf([&] {
                  ImportTextBytes(words, "x\n" + tooLong + "\n", false, {1, 0, 0, 0}, 1);
              }),
              "Line 2, Word/phrase: the text is 65536 bytes long; a text may hold at most 65535 "
              "bytes. Nothing was imported.");
}

TEST(ImportText, HistoryAndModifiedBookkeeping) {
    TTempDir dir;
    TVocabFile doc;
    AddItem(doc, {"alt", "", "", "old"});
    doc.SaveToFile(dir.File("doc.vlo"));
    AddItem(doc, {"neu", "", "", "new"});
    doc.SetCurrentIndex(0);
    ASSERT_EQ(doc.UndoKind(), ukAdd);

    WriteFile(dir.File("in.txt"), "Haus\thouse\n");
    EXPECT_EQ(ImportText(doc, dir.File("in.txt"), false, {1, 0, 0, 2}, 1), 1);
    EXPECT_EQ(doc.Count(), 3);
    EXPECT_EQ(doc.Items(2).Word, "Haus");
    EXPECT_EQ(doc.CurrentIndex(), 0); // the command selects, not the import
    EXPECT_TRUE(doc.Modified());
    EXPECT_EQ(doc.UndoKind(), ukNone);
    EXPECT_EQ(doc.RedoKind(), ukNone);
    EXPECT_EQ(doc.SavedPosition(), -1);

    // Nothing imported: no bookkeeping at all.
    doc.SaveToFile(dir.File("doc.vlo"));
    AddItem(doc, {"x", "", "", "y"});
    WriteFile(dir.File("empty.txt"), "");
    EXPECT_EQ(ImportText(doc, dir.File("empty.txt"), false, {1, 0, 0, 2}, 1), 0);
    EXPECT_EQ(doc.UndoKind(), ukAdd);
}

TEST(ImportText, FileErrorsChangeNothing) {
    TTempDir dir;
    TVocabFile doc;
    AddItem(doc, {"alt", "", "", "old"});
    const std::string missing = dir.File("missing.txt");
    EXPECT_EQ(ErrorOf([&] {
                  ImportText(doc, missing, false, {1, 0, 0, 2}, 1);
              }),
              "Cannot open file " + missing + ". No such file or directory");
    EXPECT_EQ(ErrorOf([&] {
                  ImportText(doc, dir.File(""), false, {1, 0, 0, 2}, 1);
              }).rfind("Cannot open file ", 0),
              0u);
    // The first line is checked before the file is touched.
    EXPECT_EQ(ErrorOf([&] {
                  ImportText(doc, missing, false, {1, 0, 0, 2}, 0);
              }),
              "Invalid procedure call.");
    // A pipe without a writer or an endless device is refused, never waited on.
    const std::string fifo = dir.File("pipe.txt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ErrorOf([&] {
                  ImportText(doc, fifo, false, {1, 0, 0, 2}, 1);
              }),
              "Cannot open file " + fifo + ". Not a regular file");
    EXPECT_EQ(ErrorOf([&] {
                  ImportText(doc, "/dev/zero", false, {1, 0, 0, 2}, 1);
              }),
              "Cannot open file /dev/zero. Not a regular file");
    EXPECT_EQ(doc.Count(), 1);
    EXPECT_EQ(doc.UndoKind(), ukAdd);
}

TEST(ImportText, ExportedTextImportsBack) {
    TTempDir dir;
    TVocabFile doc;
    doc.ForeignLangID = 0x0407;
    doc.NativeLangID = 0x0409;
    const std::vector<TItemTexts> items = {
        {"Haus", "noun", "das Haus", "house, home"},
        {"K\xF6nig", "", "", "king"},
        {"say \"hi\"", "phrase", "a,b", "\"quoted\""},
    };
    for (const auto& t : items)
        AddItem(doc, t);
    for (bool csv : {false, true}) {
        const std::string path = dir.File(csv ? "x.csv" : "x.txt");
        ExportText(doc, path, csv);
        TVocabFile back;
        EXPECT_EQ(ImportText(back, path, csv, WordCatNotesTrans, 1), 3);
        EXPECT_EQ(Items(back), items) << (csv ? "csv" : "tsv");
    }
}

// A CSV file written by Python's csv module imports into the fields the rules
// give: quoted fields whole, unquoted fields split at blanks.
TEST(ImportText, CsvWrittenByPython) {
    if (RunCommand("command -v python3").empty())
        GTEST_SKIP() << "python3 not available";
    TTempDir dir;
    const std::string script = "import csv,sys\n"
                               "rows=[['hello world','a,b','say "
                               "\"hi\"','x'],['Haus','','','house'],[' pad ','n','','t']]\n"
                               "with open(sys.argv[1],'w',newline='',encoding='latin-1') as f:\n"
                               "    csv.writer(f).writerows(rows)\n"
                               "with open(sys.argv[2],'w',newline='',encoding='latin-1') as f:\n"
                               "    csv.writer(f,quoting=csv.QUOTE_ALL).writerows(rows)\n";
    WriteFile(dir.File("write.py"), script);
    RunCommand("python3 " + dir.File("write.py") + " " + dir.File("minimal.csv") + " " +
               dir.File("all.csv"));

    TVocabFile minimal;
    EXPECT_EQ(ImportText(minimal, dir.File("minimal.csv"), true, WordCatNotesTrans, 1), 3);
    const std::vector<TItemTexts> minimalExpected = {
        {"hello", "world", "a,b", "say \"hi\""}, // the space splits the unquoted field
        {"Haus", "", "", "house"},
        {"pad", "n", "", "t"}, // unquoted: leading blanks skipped, the trailing one ends it
    };
    EXPECT_EQ(Items(minimal), minimalExpected);

    TVocabFile quoted;
    EXPECT_EQ(ImportText(quoted, dir.File("all.csv"), true, WordCatNotesTrans, 1), 3);
    const std::vector<TItemTexts> quotedExpected = {
        {"hello world", "a,b", "say \"hi\"", "x"},
        {"Haus", "", "", "house"},
        {"pad", "n", "", "t"},
    };
    EXPECT_EQ(Items(quoted), quotedExpected);
}
