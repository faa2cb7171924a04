#pragma once
// A canvas that records every drawing call with its coordinates and font, with
// simple exact metrics: every byte is PointSize * DpiX / 144 pixels wide (half
// an em) and a text is PointSize * DpiY / 60 pixels high (1.2 em). Tests and
// benchmarks lay documents out on it without a printer.

#include "PrintCanvas.h"

#include <string>
#include <vector>

namespace vocalore {

struct TCanvasCall {
    enum TKind { ckBeginJob, ckEndJob, ckNewPage, ckText, ckLine };
    TKind Kind = ckText;
    int32_t X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    std::string Text; // the text drawn, or the job title
    int32_t FontSize = 0;
    TFontStyle Style = fsRegular;
    int32_t Charset = 0;
    int32_t Page = 0; // 1-based page of the call within the job
};

class TRecordingCanvas : public TPrintCanvas {
public:
    // Defaults: a Letter page (8.5 x 11 inches) at 720 dots per inch.
    TRecordingCanvas(int32_t width = 6120, int32_t height = 7920, int32_t dpiX = 720,
                     int32_t dpiY = 720)
        : FWidth(width), FHeight(height), FDpiX(dpiX), FDpiY(dpiY) {}

    void BeginJob(const std::string& title) override;
    void EndJob() override;
    void NewPage() override;
    int32_t PageWidth() const override { return FWidth; }
    int32_t PageHeight() const override { return FHeight; }
    int32_t DpiX() const override { return FDpiX; }
    int32_t DpiY() const override { return FDpiY; }
    void SetFontName(const std::string& family) override { FFontName = family; }
    void SetFontSize(int32_t points) override { FFontSize = points; }
    void SetFontStyle(TFontStyle style) override { FStyle = style; }
    void SetCharset(int32_t charset) override { FCharset = charset; }
    int32_t TextWidth(std::string_view text) override;
    int32_t TextHeight(std::string_view text) override;
    void DrawText(int32_t x, int32_t y, std::string_view text) override;
    void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;

    int32_t CharWidth() const { return FFontSize * FDpiX / 144; }
    int32_t LineHeight() const { return FFontSize * FDpiY / 60; }
    const std::string& FontName() const { return FFontName; }

    // When false, only the number of calls is kept (for long benchmarks).
    bool Keep = true;
    std::vector<TCanvasCall> Calls;
    int64_t CallCount = 0;
    int32_t Pages = 0;

    // The drawn texts, in order, and those of one kind.
    std::vector<const TCanvasCall*> Texts() const;
    std::vector<const TCanvasCall*> Lines() const;

private:
    void Record(TCanvasCall call);

    int32_t FWidth, FHeight, FDpiX, FDpiY;
    std::string FFontName;
    int32_t FFontSize = 0;
    TFontStyle FStyle = fsRegular;
    int32_t FCharset = 0;
};

} // namespace vocalore
