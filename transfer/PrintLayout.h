#pragma once
// Prints a document as a word list in columns: the title, one paragraph per
// item (word in bold, part of speech and notes in italics, translations plain),
// separator lines and page numbers.

#include "PrintCanvas.h"

#include "settings/PageSetup.h"

#include <cstdint>
#include <stdexcept>
#include <string>

namespace vocalore {

class TVocabFile;

class EPrintError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* MarginsExceedPaper = "Margins exceed paper size.";
inline constexpr const char* PrintFontName = "Times New Roman";

// The title line of a printed document: the description without surrounding
// blanks, in the native language's character set; else the file name without
// folder and extension, in UTF-8 as the file system spells it.
struct TPrintTitle {
    std::string Text;
    int32_t Charset = 0;
};
TPrintTitle PrintTitle(const TVocabFile& doc);
inline std::string PrintTitleText(const TVocabFile& doc) { return PrintTitle(doc).Text; }

// The pages of each copy to print, from 1; 0 and 0 for all of them.
struct TPageRange {
    int32_t First = 0;
    int32_t Last = 0;
};

// One print job: prints `copies` copies (a new page between them) of the
// pages in `range` and ends it, also when an error is raised. `copies` is 1
// when the printer makes the copies itself. The job is begun only at the
// first page to print: margins that leave no room ("Margins exceed paper
// size.") and a range past the document's end raise EPrintError before any
// job exists, so nothing reaches the printer. A damaged setup is laid out
// with the defaults of its damaged fields.
void PrintJob(const TVocabFile& doc, TPrintCanvas& canvas, const TPageSetup& setup,
              const std::string& jobTitle, int32_t copies = 1, TPageRange range = {});

// "The document has 2 pages; nothing was printed."
std::string PagesOutOfRangeMessage(int32_t pages);

} // namespace vocalore
