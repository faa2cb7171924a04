#include "TransferTestUtil.h"

#include "transfer/Export.h"

#include <cctype>
#include <sstream>
#include <streambuf>

using namespace vocalore;
using namespace vocalore::transfertest;

namespace {

const std::string WesternHeader =
    "{\\rtf1\\ansi\\deff1{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}"
    "{\\f1\\froman\\fcharset0 Times New Roman;}}\\pard\\plain\\fi-283\\li283\\fs24";

TVocabFile& GermanEnglish(TVocabFile& doc) {
    doc.ForeignLangID = 0x0407;
    doc.NativeLangID = 0x0409;
    return doc;
}

// A small RTF reader: checks that groups balance, that every control word and
// escape is well formed and that no raw byte of 0x80 and above appears; returns
// the plain text with \par as LF and \'hh decoded. The font table is skipped.
struct TRtfText {
    bool Ok = true;
    std::string Error;
    std::string Text;
};

TRtfText ReadRtf(const std::string& rtf) {
    TRtfText result;
    auto fail = [&](const std::string& why, size_t at) {
        result.Ok = false;
        result.Error = why + " at " + std::to_string(at);
        return result;
    };
    int depth = 0;
    int skipDepth = 0; // depth of the font table group while inside it
    size_t i = 0;
    if (rtf.rfind("{\\rtf1", 0) != 0)
        return fail("no {\\rtf1 start", 0);
    while (i < rtf.size()) {
        const auto c = static_cast<unsigned char>(rtf[i]);
        if (c >= 0x80)
            return fail("raw 8-bit byte", i);
        if (c == '{') {
            ++depth;
            ++i;
            continue;
        }
        if (c == '}') {
            if (skipDepth == depth)
                skipDepth = 0;
            if (--depth < 0)
                return fail("unbalanced }", i);
            ++i;
            if (depth == 0 && i != rtf.size())
                return fail("bytes after the closing brace", i);
            continue;
        }
        if (depth == 0)
            return fail("text outside the document group", i);
        if (c != '\\') {
            if (!skipDepth)
                result.Text.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        if (i + 1 >= rtf.size())
            return fail("dangling backslash", i);
        const char next = rtf[i + 1];
        if (next == '\\' || next == '{' || next == '}') {
            if (!skipDepth)
                result.Text.push_back(next);
            i += 2;
        } else if (next == '\'') {
            if (i + 3 >= rtf.size() || !std::isxdigit(rtf[i + 2]) || !std::isxdigit(rtf[i + 3]) ||
                std::isupper(rtf[i + 2]) || std::isupper(rtf[i + 3]))
                return fail("bad \\' escape", i);
            if (!skipDepth)
                result.Text.push_back(
                    static_cast<char>(std::stoi(rtf.substr(i + 2, 2), nullptr, 16)));
            i += 4;
        } else if (std::islower(static_cast<unsigned char>(next))) {
            size_t j = i + 1;
            while (j < rtf.size() && std::islower(static_cast<unsigned char>(rtf[j])))
                ++j;
            const std::string word = rtf.substr(i + 1, j - i - 1);
            if (j < rtf.size() && rtf[j] == '-')
                ++j;
            while (j < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[j])))
                ++j;
            if (j < rtf.size() && rtf[j] == ' ')
                ++j; // the delimiter space belongs to the control word
            if (word == "fonttbl")
                skipDepth = depth;
            if (word == "par" && !skipDepth)
                result.Text.push_back('\n');
            i = j;
        } else {
            return fail("unknown control symbol", i);
        }
    }
    if (depth != 0)
        return fail("unclosed group", rtf.size());
    return result;
}

// Fails writing after `limit` bytes.
class TFailingBuf : public std::streambuf {
public:
    explicit TFailingBuf(size_t limit) : FLimit(limit) {}

protected:
    std::streamsize xsputn(const char*, std::streamsize n) override {
        if (FWritten + static_cast<size_t>(n) > FLimit)
            return 0;
        FWritten += static_cast<size_t>(n);
        return n;
    }
    int overflow(int) override { return traits_type::eof(); }

private:
    size_t FLimit;
    size_t FWritten = 0;
};

} // namespace

TEST(RtfExport, EmptyDocumentIsHeaderAndClosingBrace) {
    TVocabFile doc;
    GermanEnglish(doc);
    EXPECT_EQ(RichTextBytes(doc), WesternHeader + "}");
}

TEST(RtfExport, ItemRunsWithAndWithoutItalicPart) {
    TVocabFile doc;
    GermanEnglish(doc);
    AddItem(doc, {"Haus", "noun", "neuter", "house"});
    AddItem(doc, {"gehen", "", "", "go"});
    AddItem(doc, {"laufen", "  ", " ", "run"});        // blank part of speech and notes
    AddItem(doc, {"Tisch", "", "der Tisch", "table"}); // notes only: no leading space
    AddItem(doc, {"rot", "adj", "", "red"});
    EXPECT_EQ(RichTextBytes(doc),
              WesternHeader +
                  "\\f0\\lang1031\\b Haus\\b0\\f1\\lang1033  \\i noun neuter\\i0  house\\par"
                  "\\f0\\lang1031\\b gehen\\b0\\f1\\lang1033  go\\par"
                  "\\f0\\lang1031\\b laufen\\b0\\f1\\lang1033  run\\par"
                  "\\f0\\lang1031\\b Tisch\\b0\\f1\\lang1033  \\i der Tisch\\i0  table\\par"
                  "\\f0\\lang1031\\b rot\\b0\\f1\\lang1033  \\i adj\\i0  red\\par"
                  "}");
}

TEST(RtfExport, EscapesBackslashBracesAndHighBytes) {
    const struct {
        std::string In, Out;
    } cases[] = {
        {"a\\b", "a\\\\b"},
        {"{x}", "\\{x\\}"},
        {"K\xF6nig", "K\\'f6nig"},
        {"\x80\xFF\xA0", "\\'80\\'ff\\'a0"},
        {"tab\there\r\n", "tab\there\r\n"}, // control bytes pass unchanged
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RtfEscape(c.In), c.Out) << c.In;
}

TEST(RtfExport, FontTableNamesTheCharacterSetsOfBothLanguages) {
    TVocabFile doc;
    doc.ForeignLangID = 0x0419; // Russian, 1251
    doc.NativeLangID = 0x0415;  // Polish, 1250
    const std::string rtf = RichTextBytes(doc);
    EXPECT_EQ(
        rtf, "{\\rtf1\\ansi\\deff1{\\fonttbl{\\f0\\froman\\fcharset204 Times New Roman Cyr;}"
             "{\\f1\\froman\\fcharset238 Times New Roman CE;}}\\pard\\plain\\fi-283\\li283\\fs24}");

    const struct {
        int Charset;
        const char* Suffix;
    } sets[] = {{161, " Greek"}, {162, " Tur"}, {186, " Baltic"}, {0, ""}, {77, ""}};
    for (const auto& s : sets) {
        const std::string header = RichTextBytes(doc, s.Charset, 0);
        EXPECT_NE(header.find("\\fcharset" + std::to_string(s.Charset) + " Times New Roman" +
                              s.Suffix + ";}"),
                  std::string::npos)
            << s.Charset;
    }
}

TEST(RtfExport, LanguageIdentifiersAreWrittenUnsigned) {
    TVocabFile doc;
    doc.ForeignLangID = 0xFC09;
    doc.NativeLangID = 0x8409;
    AddItem(doc, {"w", "", "", "t"});
    const std::string rtf = RichTextBytes(doc, 0, 0);
    EXPECT_NE(rtf.find("\\lang64521\\b w"), std::string::npos);
    EXPECT_NE(rtf.find("\\lang33801  t"), std::string::npos);
}

TEST(RtfExport, OutputIsBalancedAndReadsBackAsTheDocumentText) {
    TVocabFile doc;
    GermanEnglish(doc);
    AddItem(doc, {"{Haus}", "n\\", "", "house"});
    AddItem(doc, {"M\xE4"
                  "dchen\\",
                  "", "", "girl {young}"});
    AddItem(doc, {"}{", "}", "{", "\\'"});
    const std::string rtf = RichTextBytes(doc);
    EXPECT_EQ(rtf.find('\n'), std::string::npos);
    const TRtfText read = ReadRtf(rtf);
    ASSERT_TRUE(read.Ok) << read.Error;
    // The first of the two spaces after a control word is its delimiter.
    EXPECT_EQ(read.Text, "{Haus} n\\ house\n"
                         "M\xE4"
                         "dchen\\ girl {young}\n"
                         "}{ } { \\'\n");
}

TEST(TextExport, TabDelimitedLinesHaveThreeTabsAndCrLf) {
    TVocabFile doc;
    GermanEnglish(doc);
    EXPECT_EQ(TextExportBytes(doc, false), "");
    AddItem(doc, {"Haus", "noun", "das Haus, \"h\"", "house, home"});
    AddItem(doc, {"gehen", "", "", ""});
    AddItem(doc, {"K\xF6nig", "", "note", "king"});
    EXPECT_EQ(TextExportBytes(doc, false), "Haus\tnoun\tdas Haus, \"h\"\thouse, home\r\n"
                                           "gehen\t\t\t\r\n"
                                           "K\xF6nig\t\tnote\tking\r\n");
}

TEST(TextExport, CsvQuotesOnlyBlanksQuotesAndCommas) {
    const struct {
        std::string In, Out;
    } cases[] = {
        {"plain", "plain"},
        {"", ""},
        {"two words", "\"two words\""},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"\"", "\"\"\"\""},
        {" lead", "\" lead\""},
        {"tab\t", "\"tab\t\""},
        {"line\r\nbreak", "\"line\r\nbreak\""},
        {"\x01", "\"\x01\""},
        {"K\xF6nig\xE9", "K\xF6nig\xE9"}, // accented bytes never quote
        {"semi;colon", "semi;colon"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CsvField(c.In), c.Out) << c.In;

    TVocabFile doc;
    GermanEnglish(doc);
    AddItem(doc, {"Wort", "", "", ""});
    AddItem(doc, {"der Hund", "noun", "", "dog, hound"});
    EXPECT_EQ(TextExportBytes(doc, true), "Wort,,,\r\n"
                                          "\"der Hund\",noun,,\"dog, hound\"\r\n");
}

TEST(ExportFile, WritesFilesAndLeavesTheDocumentAlone) {
    TTempDir dir;
    TVocabFile doc;
    GermanEnglish(doc);
    AddItem(doc, {"Haus", "", "", "house"});
    const bool modified = doc.Modified();
    const auto steps = doc.UndoStepCount();

    // The format follows the call, whatever the name says.
    ExportRichText(doc, dir.File("list.txt"));
    ExportText(doc, dir.File("list.csv"), false);
    ExportText(doc, dir.File("list.rtf"), true);
    EXPECT_EQ(ReadFile(dir.File("list.txt")), RichTextBytes(doc));
    EXPECT_EQ(ReadFile(dir.File("list.csv")), "Haus\t\t\thouse\r\n");
    EXPECT_EQ(ReadFile(dir.File("list.rtf")), "Haus,,,house\r\n");

    // An existing longer file is truncated.
    WriteFile(dir.File("old.txt"), std::string(1000, 'x'));
    ExportText(doc, dir.File("old.txt"), false);
    EXPECT_EQ(ReadFile(dir.File("old.txt")), "Haus\t\t\thouse\r\n");

    EXPECT_EQ(doc.Modified(), modified);
    EXPECT_EQ(doc.UndoStepCount(), steps);
    EXPECT_EQ(doc.FileName(), "");
    EXPECT_EQ(doc.Count(), 1);
}

TEST(ExportFile, ReportsCreateAndWriteFailures) {
    TTempDir dir;
    TVocabFile doc;
    GermanEnglish(doc);
    AddItem(doc, {"Haus", "", "", "house"});
    const std::string missing = dir.File("no/such/folder/x.txt");
    EXPECT_EQ(ErrorOf([&] { ExportText(doc, missing, false); }),
              "Cannot create file " + missing + ". No such file or directory");
    EXPECT_EQ(ErrorOf([&] { ExportRichText(doc, dir.File("")); }).rfind("Cannot create file ", 0),
              0u);
    // A full device accepts the file but refuses the bytes.
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_EQ(ErrorOf([&] { ExportText(doc, "/dev/full", true); }),
                  "Stream write error\n/dev/full: No space left on device");
    }

    for (size_t limit : {size_t{0}, size_t{10}}) {
        TFailingBuf buf(limit);
        std::ostream out(&buf);
        EXPECT_EQ(ErrorOf([&] { ExportRichText(doc, out); }), "Stream write error");
    }
    std::ostringstream ok;
    ExportText(doc, ok, false);
    EXPECT_EQ(ok.str(), "Haus\t\t\thouse\r\n");
}

// The CSV we write must read back through Python's csv module into the same
// four fields.
TEST(ExportCsv, PythonCsvModuleReadsTheSameFields) {
    if (RunCommand("command -v python3").empty())
        GTEST_SKIP() << "python3 not available";
    TTempDir dir;
    TVocabFile doc;
    GermanEnglish(doc);
    const std::vector<TItemTexts> items = {
        {"Haus", "noun", "", "house, home"},
        {"say \"hi\"", " spaced ", "a,b,c", "\"quoted\""},
        {"K\xF6nig", "", "line1\r\nline2", "king"},
        {"x", "", "", ""},
        {"comma,", "tab\there", "semi;", "end"},
    };
    for (const auto& t : items)
        AddItem(doc, t);
    const std::string path = dir.File("out.csv");
    ExportText(doc, path, true);
    // One line per field, each field's bytes as hex, rows separated by "--".
    const std::string script = "import csv,sys\n"
                               "with open(sys.argv[1], newline='', encoding='latin-1') as f:\n"
                               "    for row in csv.reader(f):\n"
                               "        print(len(row))\n"
                               "        for v in row: print(v.encode('latin-1').hex())\n"
                               "        print('--')\n";
    WriteFile(dir.File("read.py"), script);
    const std::string out = RunCommand("python3 " + dir.File("read.py") + " " + path);
    std::string expected;
    static constexpr char Hex[] = "0123456789abcdef";
    for (const auto& t : items) {
        expected += "4\n";
        for (const std::string* f : {&t.Word, &t.Category, &t.Notes, &t.Translation}) {
            for (const char c : *f) {
                expected.push_back(Hex[static_cast<unsigned char>(c) >> 4]);
                expected.push_back(Hex[static_cast<unsigned char>(c) & 15]);
            }
            expected += "\n";
        }
        expected += "--\n";
    }
    EXPECT_EQ(out, expected);
}
