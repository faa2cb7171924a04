#pragma once
// The print canvas on a paged device: a PDF file here, a printer through
// TPrinterCanvas (PrinterCanvas.h). Texts arrive as bytes in the code page of
// the current character set and are decoded here.
// Needs a QGuiApplication for the fonts.

#include "transfer/PrintCanvas.h"
#include "transfer/PrintLayout.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QString>

#include <optional>

class QPagedPaintDevice;

namespace vocalore {

class TCodePage;

class TPainterCanvas : public TPrintCanvas {
public:
    explicit TPainterCanvas(QPagedPaintDevice& device);
    ~TPainterCanvas() override;

    void BeginJob(const std::string& title) override;
    void EndJob() override;
    void NewPage() override;
    int32_t PageWidth() const override;
    int32_t PageHeight() const override;
    int32_t DpiX() const override;
    int32_t DpiY() const override;
    void SetFontName(const std::string& family) override;
    void SetFontSize(int32_t points) override;
    void SetFontStyle(TFontStyle style) override;
    void SetCharset(int32_t charset) override;
    int32_t TextWidth(std::string_view text) override;
    int32_t TextHeight(std::string_view text) override;
    void DrawText(int32_t x, int32_t y, std::string_view text) override;
    void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;

protected:
    // Gives the job its title before painting starts (a printer's document
    // name, a PDF's title); nothing by default.
    virtual void NameJob(const QString& title);
    // Called once the painter has ended the job (`ended` false when it could
    // not); raises EPrintError when the job failed.
    virtual void JobEnded(bool ended);

private:
    QString Decode(std::string_view text) const;
    const QFontMetrics& Metrics();
    void FontChanged();

    QPagedPaintDevice& FDevice;
    QPainter FPainter;
    QFont FFont;
    std::optional<QFontMetrics> FMetrics;
    const TCodePage* FCodePage = nullptr;
    bool FUtf8 = false;
};

// Lays the document out into a PDF file on A4 paper with no printer margins
// (the setup's margins are the only ones). Raises EPrintError when the PDF
// can't be written.
void PrintToPdf(const TVocabFile& doc, const TPageSetup& setup, const std::string& path,
                const std::string& jobTitle);

} // namespace vocalore
