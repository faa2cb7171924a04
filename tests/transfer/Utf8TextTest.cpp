// UTF-8 text files beside the code-page ones: recognition, storage in the
// languages' code pages, refusal of what they can't hold, and the UTF-8 twins
// of the text exports.
#include "TransferTestUtil.h"

#include "transfer/Export.h"
#include "transfer/Import.h"
#include "transfer/TextDecode.h"

using namespace vocalore;
using namespace vocalore::transfertest;

namespace {

constexpr std::array<int32_t, 4> WordCatNotesTrans{1, 2, 3, 4};
constexpr uint16_t German = 0x0407, English = 0x0409, Polish = 0x0415;

} // namespace

TEST(Utf8Text, RecognisedByTheMarkOrByValidMultiByteSequences) {
    const struct {
        std::string In;
        bool Utf8;
    } cases[] = {
        {"", false},
        {"plain ASCII\r\n", false}, // the same bytes either way
        {"\xEF\xBB\xBF", true},
        {"\xEF\xBB\xBFplain", true},
        {"\xC3\x9C"
         "bung",
         true},
        {"\xDC"
         "bung",
         false},                                  // code page 1252
        {"a\xE2\x82\xAC", true},                  // the euro sign, three bytes
        {"\xF0\x9F\x98\x80", true},               // four bytes
        {"\xC3", false},                          // cut short
        {"\xC3\x9C\xDC", false},                  // valid, then a code-page byte
        {"\xC0\xAF", false},                      // overlong
        {"\xED\xA0\x80", false},                  // a surrogate
        {"\xF4\x90\x80\x80", false},              // beyond U+10FFFF
        {"\xBB\xEF\xBB\xBF", false},              // a mark that does not come first
        {std::string("\xC3\x9C\0\xDC", 4), true}, // the reader stops at the zero byte
        {std::string("\xDC\0\xC3\x9C", 4), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsUtf8Text(c.In), c.Utf8) << c.In;
    EXPECT_EQ(StripUtf8Bom("\xEF\xBB\xBFx"), "x");
    EXPECT_EQ(StripUtf8Bom("x\xEF\xBB\xBF"), "x\xEF\xBB\xBF");
}

TEST(Utf8Text, TextsAreStoredInTheCodePagesOfTheirLanguages) {
    // The word in the foreign language's code page, the other fields in the
    // native one: the same letter gives different bytes on the two sides.
    TVocabFile doc;
    Languages(doc, Polish, German);
    const std::string tsv = "\xC5\x82\xC3\xB3\x64\xC5\xBA\tSubst.\t\xC3\x9C\x62ung\tBoot\r\n"
                            "\xC3\xB3\tx\ty\t\xC3\xB3\r\n";
    EXPECT_EQ(ImportTextBytes(doc, tsv, false, WordCatNotesTrans, 1), 2);
    const std::vector<TItemTexts> expected = {
        {"\xB3\xF3\x64\x9F", "Subst.",
         "\xDC"
         "bung",
         "Boot"},                   // łódź in 1250; Übung in 1252
        {"\xF3", "x", "y", "\xF3"}, // ó is 0xF3 in both
    };
    EXPECT_EQ(Items(doc), expected);

    // A byte-order mark is not part of the first word, also when the rest is ASCII.
    TVocabFile marked;
    Languages(marked, German, English);
    EXPECT_EQ(
        ImportTextBytes(marked, "\xEF\xBB\xBFHund\tn.\t\tdog\r\n", false, WordCatNotesTrans, 1), 1);
    EXPECT_EQ(marked.Items(0).Word, "Hund");

    // Every other file keeps its bytes, even ones no code page assigns.
    TVocabFile raw;
    Languages(raw, German, English);
    EXPECT_EQ(
        ImportTextBytes(raw, "\xDC\x62ung\t\t\t\x81\x9D\r\nplain\r\n", false, WordCatNotesTrans, 1),
        2);
    EXPECT_EQ(raw.Items(0).Word, "\xDC\x62ung");
    EXPECT_EQ(raw.Items(0).Translation, "\x81\x9D");
    EXPECT_EQ(raw.Items(1).Translation, MissingTranslation);
}

// "Unicode text" of a spreadsheet: UTF-16 with a byte-order mark, in both
// byte orders, and a character outside the basic plane.
TEST(Utf8Text, Utf16WithAMarkIsReadLikeUtf8) {
    auto utf16 = [](std::u16string_view text, bool little) {
        std::string bytes = little ? "\xFF\xFE" : "\xFE\xFF";
        for (const char16_t unit : text) {
            const char lo = static_cast<char>(unit & 0xFF), hi = static_cast<char>(unit >> 8);
            bytes += little ? lo : hi;
            bytes += little ? hi : lo;
        }
        return bytes;
    };
    for (const bool little : {true, false}) {
        TVocabFile doc;
        Languages(doc, German, Polish);
        const std::string file =
            utf16(u"\u00DCbung\tn.\t\t\u0141\u00F3d\u017A\r\nHaus\t\t\thouse\r\n", little);
        EXPECT_EQ(ImportTextBytes(doc, file, false, WordCatNotesTrans, 1), 2) << little;
        EXPECT_EQ(Items(doc), (std::vector<TItemTexts>{{"\xDC"
                                                        "bung",
                                                        "n.", "", "\xA3\xF3\x64\x9F"},
                                                       {"Haus", "", "", "house"}}))
            << little;
    }
    // A pair of surrogates is one character (in either order); a lone half,
    // and an odd last byte.
    EXPECT_EQ(Utf16ToUtf8Image(utf16(u"\U0001F600b", false)), "\xEF\xBB\xBF"
                                                              "\xF0\x9F\x98\x80"
                                                              "b");
    EXPECT_EQ(Utf16ToUtf8Image(utf16(u"a\U0001F600", true)), "\xEF\xBB\xBF"
                                                             "a\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf16ToUtf8Image(utf16(u"\xD83Dx", false)), "\xEF\xBB\xBF"
                                                          "\xEF\xBF\xBDx");
    EXPECT_EQ(Utf16ToUtf8Image(utf16(u"\xDE00", false)), "\xEF\xBB\xBF"
                                                         "\xEF\xBF\xBD");
    EXPECT_EQ(Utf16ToUtf8Image(utf16(u"x\xDE00", true)), "\xEF\xBB\xBF"
                                                         "x\xEF\xBF\xBD");
    EXPECT_EQ(Utf16ToUtf8Image(utf16(u"a", true) + "b"), "\xEF\xBB\xBF"
                                                         "a");
    EXPECT_EQ(Utf16ToUtf8Image("\xFF\xFE"), "\xEF\xBB\xBF");
    // Without a mark nothing is taken for UTF-16.
    EXPECT_EQ(Utf16ToUtf8Image("\xFF"), std::nullopt);
    EXPECT_EQ(Utf16ToUtf8Image("a\0b\0"), std::nullopt);
    EXPECT_EQ(Utf16ToUtf8Image("\xFF\xFF"), std::nullopt);
    EXPECT_EQ(Utf16ToUtf8Image("\xFE\xFE"), std::nullopt);
}

TEST(Utf8Text, UnencodableCharacterRefusesTheWholeFile) {
    TVocabFile doc;
    Languages(doc, German, English);
    AddItem(doc, {"Haus", "", "", "house"});
    ASSERT_TRUE(doc.Modified());
    const int32_t stepsBefore = doc.UndoStepCount();
    // Lines 1 and 2 are fine; line 3 holds a Polish letter in the translation.
    const std::string tsv = "Stra\xC3\x9F\x65\tn.\t\tstreet\r\n"
                            "\xC3\x84pfel\tn.\t\tapples\n"
                            "Zug\tn.\t\tpoci\xC4\x85g\r\n";
    EXPECT_EQ(ErrorOf([&] { ImportTextBytes(doc, tsv, false, WordCatNotesTrans, 1); }),
              "Line 3, Translations: the character \"\xC4\x85\" (U+0105) cannot be stored in "
              "English (United States) (code page 1252). Nothing was imported.");
    EXPECT_EQ(doc.Count(), 1);
    EXPECT_EQ(doc.UndoStepCount(), stepsBefore);

    // The foreign side is judged by the foreign code page: a Polish word in
    // a German document, in CSV on line 2 with the fields out of order.
    const std::string csv = "Haus,house\r\n\"do\xC5\x9B\xC4\x87\",mehr\r\n";
    EXPECT_EQ(ErrorOf([&] {
                  ImportTextBytes(doc, csv, true, {2, 0, 0, 1}, 1);
              }),
              "Line 2, Translations: the character \"\xC5\x9B\" (U+015B) cannot be stored in "
              "English (United States) (code page 1252). Nothing was imported.");
    EXPECT_EQ(ErrorOf([&] {
                  ImportTextBytes(doc, csv, true, {1, 0, 0, 2}, 1);
              }),
              "Line 2, Word/phrase: the character \"\xC5\x9B\" (U+015B) cannot be stored in "
              "German (Germany) (code page 1252). Nothing was imported.");
    // A line before the first line to read is not converted, so not refused.
    EXPECT_EQ(ImportTextBytes(doc, "\xC4\x85\r\n\xC3\xA4\r\n", false, WordCatNotesTrans, 2), 1);
    EXPECT_EQ(doc.Items(1).Word, "\xE4");

    // A file with the mark that then breaks UTF-8 is refused too, naming the byte.
    EXPECT_EQ(ErrorOf([&] {
                  ImportTextBytes(doc, "\xEF\xBB\xBFok\r\nK\xF6nig\tx\r\n", false,
                                  WordCatNotesTrans, 1);
              }),
              "Line 2, Word/phrase: the byte 0xF6 is not part of a UTF-8 character. Nothing "
              "was imported.");
    EXPECT_EQ(doc.Count(), 2);
}

// A spreadsheet's UTF-8 CSV: byte-order mark, every text quoted, CR LF, a
// header line, German and Polish with their special letters.
TEST(Utf8Text, SpreadsheetCsvIntoAGermanPolishDocument) {
    TTempDir dir;
    const std::string path = dir.File("Vokabeln.csv");
    WriteFile(path,
              "\xEF\xBB\xBF\"Deutsch\",\"Wortart\",\"Notiz\",\"Polnisch\"\r\n"
              "\"Stra\xC3\x9F\x65\",\"Subst.\",\"die\",\"ulica\"\r\n"
              "\"\xC3\x84pfel, Birnen\",\"Subst.\",\"Pl.\",\"jab\xC5\x82ka, gruszki\"\r\n"
              "\"\xC3\x9C\x62ung macht den Meister\",\"\",\"\",\"\xC4\x87wiczenie czyni "
              "mistrza\"\r\n"
              "\"Gr\xC3\xB6\xC3\x9F\x65\",\"Subst.\",\"\",\"rozmiar; wielko\xC5\x9B\xC4\x87\"\r\n"
              "\"sch\xC3\xB6n\",\"Adj.\",\"\",\"pi\xC4\x99kny, \xC5\xBC\xC3\xB3\xC5\x82ty? "
              "nie: \xC5\x82\x61\x64ny\"\r\n");
    TVocabFile doc;
    Languages(doc, German, Polish);
    EXPECT_EQ(ImportText(doc, path, true, WordCatNotesTrans, 2), 5);
    // Expected bytes from the published tables of code pages 1252 and 1250.
    const std::vector<TItemTexts> expected = {
        {"Stra\xDF"
         "e",
         "Subst.", "die", "ulica"},
        {"\xC4pfel, Birnen", "Subst.", "Pl.", "jab\xB3ka, gruszki"},
        {"\xDC"
         "bung macht den Meister",
         "", "", "\xE6wiczenie czyni mistrza"},
        {"Gr\xF6\xDF"
         "e",
         "Subst.", "", "rozmiar; wielko\x9C\xE6"},
        {"sch\xF6n", "Adj.", "", "pi\xEAkny, \xBF\xF3\xB3ty? nie: \xB3\x61\x64ny"},
    };
    EXPECT_EQ(Items(doc), expected);
    EXPECT_EQ(doc.Items(2).Notes, "");
}

TEST(Utf8Export, SameRowsAndQuotingAsTheCodePageTwins) {
    TVocabFile doc;
    Languages(doc, German, Polish);
    AddItem(doc, {"Stra\xDF"
                  "e",
                  "n.", "", "ulica"});
    AddItem(doc, {"\xC4pfel, Birnen", "", "say \"hi\"", "jab\xB3ka"});
    AddItem(doc, {"x", "", "", ""});
    for (const bool csv : {false, true}) {
        const std::string twin = TextExportBytes(doc, csv);
        const std::string utf8 = TextExportBytes(doc, csv, tcUtf8);
        EXPECT_FALSE(utf8.starts_with(Utf8Bom));
        // Only the converted letters differ: replace them back and the twin appears.
        std::string back = utf8;
        for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
                 {"\xC3\x9F", "\xDF"}, {"\xC3\x84", "\xC4"}, {"\xC5\x82", "\xB3"}}) {
            for (size_t at = back.find(from); at != std::string::npos; at = back.find(from))
                back.replace(at, from.size(), to);
        }
        EXPECT_EQ(back, twin) << (csv ? "csv" : "tsv");
    }
    EXPECT_EQ(TextExportBytes(doc, true, tcUtf8),
              "Stra\xC3\x9F\x65,n.,,ulica\r\n"
              "\"\xC3\x84pfel, Birnen\",,\"say \"\"hi\"\"\",jab\xC5\x82ka\r\n"
              "x,,,\r\n");

    // What we write in UTF-8 imports back to the same bytes.
    TTempDir dir;
    for (const bool csv : {false, true}) {
        const std::string path = dir.File(csv ? "out.csv" : "out.txt");
        ExportText(doc, path, csv, tcUtf8);
        TVocabFile back;
        Languages(back, German, Polish);
        EXPECT_EQ(ImportText(back, path, csv, WordCatNotesTrans, 1), 3);
        std::vector<TItemTexts> expected = Items(doc);
        expected[2].Translation = MissingTranslation;
        EXPECT_EQ(Items(back), expected) << (csv ? "csv" : "tsv");
    }
}

// Python's csv module, reading UTF-8, gets the four fields of every item as
// the code pages decode them.
TEST(Utf8Export, PythonCsvModuleReadsTheUtf8Csv) {
    if (RunCommand("command -v python3").empty())
        GTEST_SKIP() << "python3 not available";
    TTempDir dir;
    TVocabFile doc;
    Languages(doc, Polish, German);
    AddItem(doc, {"\xB3\xF3\x64\x9F", "Subst.", "die, das", "Boot"});
    AddItem(doc, {"\x9C\x77i\xEAty", "", "line1\r\nline2", "heilig \"ganz\""});
    AddItem(doc, {"\xBF\xF3\xB3w", "Subst.", "", "Schildkr\xF6te"});
    const std::string path = dir.File("out.csv");
    ExportText(doc, path, true, tcUtf8);
    WriteFile(dir.File("read.py"),
              "import csv,sys\n"
              "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
              "    for row in csv.reader(f):\n"
              "        print(len(row), *[v.encode('utf-8').hex() for v in row])\n");
    const std::string out = RunCommand("python3 " + dir.File("read.py") + " " + path);
    const std::vector<std::vector<std::string>> utf8 = {
        {"\xC5\x82\xC3\xB3\x64\xC5\xBA", "Subst.", "die, das", "Boot"},
        {"\xC5\x9Bwi\xC4\x99ty", "", "line1\r\nline2", "heilig \"ganz\""},
        {"\xC5\xBC\xC3\xB3\xC5\x82w", "Subst.", "", "Schildkr\xC3\xB6te"},
    };
    std::string expected;
    static constexpr char Hex[] = "0123456789abcdef";
    for (const auto& row : utf8) {
        expected += "4";
        for (const std::string& field : row) {
            expected += ' ';
            for (const char c : field) {
                expected.push_back(Hex[static_cast<unsigned char>(c) >> 4]);
                expected.push_back(Hex[static_cast<unsigned char>(c) & 15]);
            }
        }
        expected += "\n";
    }
    EXPECT_EQ(out, expected);
}
