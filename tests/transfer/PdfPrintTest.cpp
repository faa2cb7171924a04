// The QPainter canvas renders the layout into a PDF that holds the document's
// words in order, decoded from their code pages.

#include "TransferTestUtil.h"
#include "tests/support/OneApplication.h"

#include "transfer/qt/PainterCanvas.h"
#include "transfer/qt/PrinterCanvas.h"

#include <QGuiApplication>
#include <QPrinter>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>

#include <sys/mount.h>

using namespace vocalore;
using namespace vocalore::transfertest;

namespace {

void EnsureApplication() { test::OneApplication<QGuiApplication>("transfer_pdf_tests"); }

bool HavePopplerTools() { return !RunCommand("command -v pdftotext").empty(); }

// The words of the text, whitespace removed.
std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

} // namespace

TEST(PdfPrint, HoldsTheWordsOfTheDocumentInOrder) {
    if (!HavePopplerTools())
        GTEST_SKIP() << "pdftotext not available";
    EnsureApplication();
    TTempDir dir;
    TVocabFile doc;
    doc.ForeignLangID = 0x0419; // Russian, code page 1251
    doc.NativeLangID = 0x0407;  // German, code page 1252
    doc.SetProperty(piDescription, "Russische W\xF6rter");
    AddItem(doc, {"\xE4\xEE\xEC", "Substantiv", "", "Haus"});        // дом
    AddItem(doc, {"\xEA\xEE\xF8\xEA\xE0", "", "weiblich", "Katze"}); // кошка
    AddItem(doc, {"\xF1\xEE\xE1\xE0\xEA\xE0", "", "",
                  "Hund, R\xFC"
                  "de"}); // собака
    const std::string pdf = dir.File("out.pdf");
    PrintToPdf(doc, TPageSetup{}, pdf, "Vocalore - test");

    const std::string text = RunCommand("pdftotext -raw -enc UTF-8 '" + pdf + "' -");
    const std::vector<std::string> expected = {"Russische", "Wörter", "дом",      "Substantiv",
                                               "Haus",      "кошка",  "weiblich", "Katze",
                                               "собака",    "Hund,",  "Rüde"};
    EXPECT_EQ(Words(text), expected) << text;
}

TEST(PdfPrint, LongDocumentGetsPagesWithNumbers) {
    if (!HavePopplerTools())
        GTEST_SKIP() << "pdftotext not available";
    EnsureApplication();
    TTempDir dir;
    TVocabFile doc;
    doc.ForeignLangID = 0x0409;
    doc.NativeLangID = 0x0409;
    for (int i = 0; i < 300; ++i)
        AddItem(doc, {"word" + std::to_string(i), "", "", "t" + std::to_string(i)});
    const std::string pdf = dir.File("long.pdf");
    TPageSetup setup;
    setup.PrintTitle = false;
    PrintToPdf(doc, setup, pdf, "long");

    const std::string info = RunCommand("pdfinfo '" + pdf + "'");
    const size_t at = info.find("Pages:");
    ASSERT_NE(at, std::string::npos) << info;
    const int pages = std::atoi(info.c_str() + at + 6);
    EXPECT_GT(pages, 1);
    // The job's title is the PDF's own.
    const size_t title = info.find("Title:");
    ASSERT_NE(title, std::string::npos) << info;
    EXPECT_EQ(Words(info.substr(title, info.find('\n', title) - title)),
              (std::vector<std::string>{"Title:", "long"}));

    const std::vector<std::string> words = Words(RunCommand("pdftotext -raw '" + pdf + "' -"));
    std::vector<std::string> items;
    std::vector<std::string> numbers;
    for (const auto& w : words)
        (w.rfind("word", 0) == 0 || w[0] == 't' ? items : numbers).push_back(w);
    ASSERT_EQ(items.size(), 600u);
    for (int i = 0; i < 300; ++i) {
        EXPECT_EQ(items[2 * i], "word" + std::to_string(i));
        EXPECT_EQ(items[2 * i + 1], "t" + std::to_string(i));
    }
    std::vector<std::string> expectedNumbers;
    for (int p = 1; p <= pages; ++p)
        expectedNumbers.push_back(std::to_string(p));
    EXPECT_EQ(numbers, expectedNumbers);
}

TEST(PdfPrint, ErrorsOfTheJob) {
    EnsureApplication();
    TTempDir dir;
    TVocabFile doc;
    AddItem(doc, {"w", "", "", "t"});
    TPageSetup wide;
    wide.Margins.Left = wide.Margins.Right = 99 * 567; // 99 cm each side of A4
    EXPECT_EQ(ErrorOf([&] { PrintToPdf(doc, wide, dir.File("x.pdf"), "x"); }),
              "Margins exceed paper size.");
    EXPECT_FALSE(std::filesystem::exists(dir.File("x.pdf")));
    // A failed job leaves an earlier PDF at that path as it was, and no temporary file.
    PrintToPdf(doc, TPageSetup{}, dir.File("x.pdf"), "x");
    const auto before = std::filesystem::file_size(dir.File("x.pdf"));
    EXPECT_EQ(ErrorOf([&] { PrintToPdf(doc, wide, dir.File("x.pdf"), "x"); }),
              "Margins exceed paper size.");
    EXPECT_EQ(std::filesystem::file_size(dir.File("x.pdf")), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.File("")),
                            std::filesystem::directory_iterator{}),
              1);
    const std::string missing = dir.File("no/dir/x.pdf");
    EXPECT_EQ(ErrorOf([&] { PrintToPdf(doc, TPageSetup{}, missing, "x"); }),
              "Cannot create file " + missing + ". No such file or directory");
}

// A print onto a full disk keeps Qt's text and adds the file and the reason.
TEST(PdfPrint, FullDiskNamesTheFileAndTheReason) {
    EnsureApplication();
    TTempDir dir;
    const std::string mount = dir.File("small");
    std::filesystem::create_directory(mount);
    if (::mount("tmpfs", mount.c_str(), "tmpfs", 0, "size=16k") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here (needs root): " << std::strerror(errno);
    TVocabFile doc;
    doc.ForeignLangID = doc.NativeLangID = 0x0409;
    for (int i = 0; i < 3000; ++i)
        AddItem(doc, {"word" + std::to_string(i), "", "", "translation" + std::to_string(i)});
    const std::string pdf = mount + "/x.pdf";
    const std::string error = ErrorOf([&] { PrintToPdf(doc, TPageSetup{}, pdf, "x"); });
    ::umount(mount.c_str());
    const size_t newline = error.find('\n');
    ASSERT_NE(newline, std::string::npos) << error;
    EXPECT_TRUE(error.substr(0, newline) == "Cannot start a new page" ||
                error.substr(0, newline) == "The print job could not be finished.")
        << error;
    EXPECT_EQ(error.substr(newline + 1), pdf + ": No space left on device");
}

TEST(PdfPrint, TitleInTheNativeScriptAndCopiesPrintedOneAfterTheOther) {
    if (!HavePopplerTools())
        GTEST_SKIP() << "pdftotext not available";
    EnsureApplication();
    TTempDir dir;
    TVocabFile doc;
    doc.ForeignLangID = 0x0409; // English
    doc.NativeLangID = 0x0415;  // Polish, code page 1250
    doc.SetProperty(piDescription, "S\xB3owa angielskie");
    AddItem(doc, {"bee", "", "", "pszcz\xF3\xB3ka"});
    const std::string pdf = dir.File("copies.pdf");
    // A PDF printer makes no copies itself: the job prints the document three times.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    printer.setCopyCount(3);
    ASSERT_FALSE(printer.supportsMultipleCopies());
    PrintOnPrinter(doc, printer, TPageSetup{}, "Vocalore - test");
    EXPECT_NE(RunCommand("pdfinfo '" + pdf + "'").find("Pages:           3"), std::string::npos);
    const std::string text = RunCommand("pdftotext -raw -enc UTF-8 '" + pdf + "' -");
    const std::vector<std::string> once = {"Słowa", "angielskie", "bee", "pszczółka"};
    std::vector<std::string> thrice;
    for (int i = 0; i < 3; ++i)
        thrice.insert(thrice.end(), once.begin(), once.end());
    EXPECT_EQ(Words(text), thrice) << text;

    // A file name is printed as the file system spells it.
    TVocabFile named;
    named.ForeignLangID = 0x0409;
    named.NativeLangID = 0x0409;
    AddItem(named, {"cat", "", "", "Katze"});
    named.SaveToFile(dir.File("W\xC3\xB6rter \xD0\xB4\xD0\xBE\xD0\xBC.vlo"));
    PrintToPdf(named, TPageSetup{}, pdf, "Vocalore - test");
    EXPECT_EQ(Words(RunCommand("pdftotext -raw -enc UTF-8 '" + pdf + "' -")),
              (std::vector<std::string>{"Wörter", "дом", "cat", "Katze"}));
}

// The print dialog's range of pages is printed, no more; margins that leave no
// room never begin a job, so not even an empty page comes out.
TEST(PdfPrint, PageRangeAndRefusedMarginsOnAPrinter) {
    if (!HavePopplerTools())
        GTEST_SKIP() << "pdftotext not available";
    EnsureApplication();
    TTempDir dir;
    TVocabFile doc;
    doc.ForeignLangID = 0x0409;
    doc.NativeLangID = 0x0409;
    for (int i = 0; i < 120; ++i)
        AddItem(doc, {"w" + std::to_string(i), "", "", "t"});
    TPageSetup setup;
    setup.PrintTitle = false;
    setup.Columns = 1;
    const std::string all = dir.File("all.pdf");
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(all));
        PrintOnPrinter(doc, printer, setup, "Vocalore - test");
    }
    ASSERT_NE(RunCommand("pdfinfo '" + all + "'").find("Pages:           3"), std::string::npos);
    const std::string second = dir.File("second.pdf");
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(second));
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 2);
        PrintOnPrinter(doc, printer, setup, "Vocalore - test");
    }
    EXPECT_NE(RunCommand("pdfinfo '" + second + "'").find("Pages:           1"), std::string::npos);
    EXPECT_EQ(RunCommand("pdftotext -raw -enc UTF-8 '" + second + "' -"),
              RunCommand("pdftotext -raw -enc UTF-8 -f 2 -l 2 '" + all + "' -"));

    const std::string refused = dir.File("refused.pdf");
    TPageSetup wide = setup;
    wide.Margins = {1440 * 5, 1440, 1440 * 5, 1440};
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(refused));
    EXPECT_EQ(ErrorOf([&] { PrintOnPrinter(doc, printer, wide, "Vocalore - test"); }),
              "Margins exceed paper size.");
    EXPECT_FALSE(std::filesystem::exists(refused));
}
