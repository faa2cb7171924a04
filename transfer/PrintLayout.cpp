// The layout works in device pixels with integer arithmetic throughout, so a
// recording canvas with known metrics reproduces every coordinate exactly.

#include "PrintLayout.h"

#include "Blanks.h"

#include "core/Languages.h"
#include "core/VocabFile.h"

#include <algorithm>
#include <filesystem>
#include <string_view>

namespace vocalore {

namespace {

int32_t ToPixels(int32_t dpi, int32_t twips) {
    return static_cast<int32_t>(static_cast<int64_t>(dpi) * twips / 1440);
}

class TLayout {
public:
    TLayout(const TVocabFile& doc, TPrintCanvas& canvas, const TPageSetup& setup)
        : FDoc(doc), FCanvas(canvas), FSetup(setup) {}

    void Prepare() {
        FLeftEdge = ToPixels(FCanvas.DpiX(), FSetup.Margins.Left);
        FTopEdge = ToPixels(FCanvas.DpiY(), FSetup.Margins.Top);
        FRightEdge = FCanvas.PageWidth() - ToPixels(FCanvas.DpiX(), FSetup.Margins.Right);
        FBottomEdge = FCanvas.PageHeight() - ToPixels(FCanvas.DpiY(), FSetup.Margins.Bottom);
        if (FLeftEdge >= FRightEdge || FTopEdge >= FBottomEdge)
            throw EPrintError(MarginsExceedPaper);
        FCanvas.SetFontName(PrintFontName);
        FCanvas.SetFontSize(FSetup.FontSize);
        FCanvas.SetFontStyle(fsRegular);
        FCanvas.SetCharset(0);
        FIndent = FCanvas.TextWidth("  ");
        FGap = 2 * FIndent;
    }

    void PrintDocument() {
        FPageNumber = 1;
        const TPrintTitle title = PrintTitle(FDoc);
        FPenX = FLeftEdge;
        FPenY = FTopEdge;
        if (!title.Text.empty() && FSetup.PrintTitle) {
            SetCharset(title.Charset);
            FCanvas.SetFontSize(FSetup.FontSize + 2);
            FContinuationX = FLeftEdge;
            FRightLimit = FRightEdge;
            PrintWrapped(title.Text, fsBold, &TLayout::TitleLineFeed);
            for (int i = 0; i < 3; ++i)
                TitleLineFeed();
        }
        FColumnTop = FPenY;
        FBottomLimit = FBottomEdge;
        FColumn = 0;
        NextColumn();
        FCanvas.SetFontSize(FSetup.FontSize);

        const int foreignCharset = LanguageCharset(FDoc.ForeignLangID);
        const int nativeCharset = LanguageCharset(FDoc.NativeLangID);
        for (int32_t i = 0; i < FDoc.Count(); ++i) {
            const TVocabItem& item = FDoc.Items(i);
            SetCharset(foreignCharset);
            FPenX = FColumnLeft;
            PrintWrapped(item.Word + " ", fsBold, &TLayout::NewLine);
            SetCharset(nativeCharset);
            if (!item.Category.empty())
                PrintWrapped(item.Category + " ", fsItalic, &TLayout::NewLine);
            if (!item.Notes.empty())
                PrintWrapped(item.Notes + " ", fsItalic, &TLayout::NewLine);
            PrintWrapped(item.Translation, fsRegular, &TLayout::NewLine);
            if (i + 1 < FDoc.Count())
                NewLine();
        }
        if (FPageNumber > 1)
            PrintPageNumber();
    }

private:
    using TLineBreak = void (TLayout::*)();

    void SetCharset(int32_t charset) {
        FCharset = charset;
        FCanvas.SetCharset(charset);
    }

    // A UTF-8 text is only cut between characters, never inside one.
    size_t CharStart(std::string_view text, size_t n) const {
        if (FCharset == Utf8Charset)
            while (n > 0 && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
                --n;
        return n;
    }
    size_t FirstCharLength(std::string_view text) const {
        size_t n = 1;
        if (FCharset == Utf8Charset)
            while (n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
                ++n;
        return n;
    }

    int32_t ColumnX(int32_t k) const {
        const int64_t span = int64_t{FRightEdge} - FLeftEdge + FGap;
        return FLeftEdge + static_cast<int32_t>(span * (k - 1) / FSetup.Columns);
    }

    void NextColumn() {
        ++FColumn;
        if (FColumn > FSetup.Columns) {
            PrintPageNumber();
            FCanvas.NewPage();
            ++FPageNumber;
            FColumn = 1;
            FColumnTop = FTopEdge;
        } else if (FSetup.Separator && FColumn > 1) {
            const int32_t x = ColumnX(FColumn) - FGap / 2 - 1;
            FCanvas.DrawLine(x, FColumnTop, x, FBottomLimit);
        }
        FColumnLeft = ColumnX(FColumn);
        FNextColumnLeft = ColumnX(FColumn + 1);
        FContinuationX = FColumnLeft + FIndent;
        FRightLimit = FNextColumnLeft - FGap;
    }

    void NewLine() {
        const int32_t h = FCanvas.TextHeight(" ");
        const int32_t y = FPenY + h;
        if (y + h >= FBottomLimit) {
            NextColumn();
            FPenX = FContinuationX;
            FPenY = FColumnTop;
        } else {
            FPenX = FContinuationX;
            FPenY = y;
        }
    }

    void TitleLineFeed() {
        FPenX = FLeftEdge;
        FPenY += FCanvas.TextHeight(" ");
    }

    void Draw(std::string_view text) {
        FCanvas.DrawText(FPenX, FPenY, text);
        FPenX += FCanvas.TextWidth(text);
    }

    // The longest prefix narrower than `avail`. Widths grow with the prefix,
    // so the answer lies below the first doubling length that no longer fits:
    // bisecting only up to there measures about a line's worth of text per
    // line instead of the whole rest of a long text, which keeps one long
    // unbroken text linear.
    size_t FittingLength(std::string_view text, int32_t avail) {
        auto fits = [&](size_t n) { return FCanvas.TextWidth(text.substr(0, n)) < avail; };
        size_t low = 0;
        size_t high = 1;
        while (high < text.size() && fits(high)) {
            low = high;
            high *= 2;
        }
        if (high >= text.size()) {
            high = text.size();
            if (fits(high))
                return high;
        }
        // fits(low) (or low is 0) and !fits(high).
        while (high - low > 1) {
            const size_t n = low + (high - low) / 2;
            if (fits(n))
                low = n;
            else
                high = n;
        }
        return low;
    }

    void PrintWrapped(std::string_view text, TFontStyle style, TLineBreak lineBreak) {
        for (;;) {
            FCanvas.SetFontStyle(style);
            const size_t n = CharStart(text, FittingLength(text, FRightLimit - FPenX));
            size_t b = n;
            if (b > 0 && b < text.size() && text[b - 1] != ' ') {
                if (text[b] == ' ') {
                    ++b;
                } else {
                    while (b > 0 && text[b - 1] != ' ')
                        --b;
                }
            }
            if (b == text.size()) {
                Draw(text);
                return;
            }
            if (b > 0) {
                Draw(text.substr(0, b));
                text.remove_prefix(b);
            } else if (FPenX <= FContinuationX) {
                // Nothing breaks at a space on an empty line: cut the word.
                const size_t cut = n > 0 ? n : FirstCharLength(text);
                Draw(text.substr(0, cut));
                text.remove_prefix(cut);
            }
            if (text.empty())
                return;
            (this->*lineBreak)();
        }
    }

    void PrintPageNumber() {
        FCanvas.SetFontStyle(fsRegular);
        const std::string number = std::to_string(FPageNumber);
        const int32_t width = FCanvas.TextWidth(number);
        const int32_t height = FCanvas.TextHeight(number);
        const int32_t x = static_cast<int32_t>((int64_t{FLeftEdge} + FRightEdge - width) / 2);
        FCanvas.DrawText(x, FBottomEdge + height, number);
    }

    const TVocabFile& FDoc;
    TPrintCanvas& FCanvas;
    const TPageSetup FSetup;

    int32_t FLeftEdge = 0, FTopEdge = 0, FRightEdge = 0, FBottomEdge = 0;
    int32_t FIndent = 0, FGap = 0;
    int32_t FPageNumber = 1, FColumn = 0;
    int32_t FColumnTop = 0, FColumnLeft = 0, FNextColumnLeft = 0;
    int32_t FContinuationX = 0, FRightLimit = 0, FBottomLimit = 0;
    int32_t FPenX = 0, FPenY = 0;
    int32_t FCharset = 0;
};

} // namespace

TPrintTitle PrintTitle(const TVocabFile& doc) {
    const std::string_view description = TrimBlanks(doc.GetProperty(piDescription));
    if (!description.empty())
        return {std::string(description), LanguageCharset(doc.NativeLangID)};
    if (doc.FileName().empty())
        return {{}, Utf8Charset};
    return {std::filesystem::path(doc.FileName()).stem().string(), Utf8Charset};
}

namespace {

// Lays out every page but passes on only those in the range; the job on the
// target begins with the first of them, so a job with nothing to print never
// reaches the printer.
class TPageFilter final : public TPrintCanvas {
public:
    TPageFilter(TPrintCanvas& target, TPageRange range) : FTarget(target), FRange(range) {}

    void BeginJob(const std::string& title) override { FTitle = title; }
    void EndJob() override {
        if (FBegun)
            FTarget.EndJob();
    }
    void NewPage() override { EnterPage(FPage + 1); }
    // Each copy starts again at page 1.
    void StartCopy() { EnterPage(1); }
    bool Begun() const { return FBegun; }
    int32_t Pages() const { return FPages; }

    int32_t PageWidth() const override { return FTarget.PageWidth(); }
    int32_t PageHeight() const override { return FTarget.PageHeight(); }
    int32_t DpiX() const override { return FTarget.DpiX(); }
    int32_t DpiY() const override { return FTarget.DpiY(); }
    void SetFontName(const std::string& family) override { FTarget.SetFontName(family); }
    void SetFontSize(int32_t points) override { FTarget.SetFontSize(points); }
    void SetFontStyle(TFontStyle style) override { FTarget.SetFontStyle(style); }
    void SetCharset(int32_t charset) override { FTarget.SetCharset(charset); }
    int32_t TextWidth(std::string_view text) override { return FTarget.TextWidth(text); }
    int32_t TextHeight(std::string_view text) override { return FTarget.TextHeight(text); }
    void DrawText(int32_t x, int32_t y, std::string_view text) override {
        if (FShown)
            FTarget.DrawText(x, y, text);
    }
    void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override {
        if (FShown)
            FTarget.DrawLine(x1, y1, x2, y2);
    }

private:
    void EnterPage(int32_t page) {
        FPage = page;
        FPages = std::max(FPages, page);
        FShown = (FRange.First <= 0 || page >= FRange.First) &&
                 (FRange.Last <= 0 || page <= FRange.Last);
        if (!FShown)
            return;
        if (FBegun) {
            FTarget.NewPage();
        } else {
            FTarget.BeginJob(FTitle);
            FBegun = true;
        }
    }

    TPrintCanvas& FTarget;
    TPageRange FRange;
    std::string FTitle;
    int32_t FPage = 0;
    int32_t FPages = 0;
    bool FShown = false;
    bool FBegun = false;
};

} // namespace

std::string PagesOutOfRangeMessage(int32_t pages) {
    return "The document has " + std::to_string(pages) + (pages == 1 ? " page" : " pages") +
           "; nothing was printed.";
}

void PrintJob(const TVocabFile& doc, TPrintCanvas& canvas, const TPageSetup& setup,
              const std::string& jobTitle, int32_t copies, TPageRange range) {
    TPageSetup sane = setup;
    SanitizePageSetup(sane);
    TPageFilter filter(canvas, range);
    TLayout layout(doc, filter, sane);
    layout.Prepare(); // refuses impossible margins before a job exists
    filter.BeginJob(jobTitle);
    try {
        for (int32_t copy = 0; copy < copies; ++copy) {
            filter.StartCopy();
            layout.PrintDocument();
        }
    } catch (...) {
        // The first error is the one to report.
        try {
            filter.EndJob();
        } catch (...) {
        }
        throw;
    }
    filter.EndJob();
    if (!filter.Begun())
        throw EPrintError(PagesOutOfRangeMessage(filter.Pages()));
}

} // namespace vocalore
