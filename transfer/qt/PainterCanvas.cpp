#include "PainterCanvas.h"

#include "core/CodePage.h"
#include "core/FileIO.h"
#include "core/VocabError.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

namespace vocalore {

TPainterCanvas::TPainterCanvas(QPagedPaintDevice& device) : FDevice(device) {
    FCodePage = TCodePage::ForCodePage(1252);
}

TPainterCanvas::~TPainterCanvas() {
    if (FPainter.isActive())
        FPainter.end();
}

void TPainterCanvas::BeginJob(const std::string& title) {
    NameJob(QString::fromStdString(title));
    if (!FPainter.begin(&FDevice))
        throw EPrintError("Cannot start printing " + title);
    FontChanged();
}

void TPainterCanvas::EndJob() {
    if (FPainter.isActive())
        JobEnded(FPainter.end());
}

void TPainterCanvas::JobEnded(bool ended) {
    if (!ended)
        throw EPrintError("The print job could not be finished.");
}

void TPainterCanvas::NewPage() {
    if (!FDevice.newPage())
        throw EPrintError("Cannot start a new page");
}

int32_t TPainterCanvas::PageWidth() const { return FDevice.width(); }
int32_t TPainterCanvas::PageHeight() const { return FDevice.height(); }
int32_t TPainterCanvas::DpiX() const { return FDevice.logicalDpiX(); }
int32_t TPainterCanvas::DpiY() const { return FDevice.logicalDpiY(); }

void TPainterCanvas::SetFontName(const std::string& family) {
    FFont.setFamily(QString::fromStdString(family));
    FontChanged();
}

void TPainterCanvas::SetFontSize(int32_t points) {
    FFont.setPointSize(points);
    FontChanged();
}

void TPainterCanvas::SetFontStyle(TFontStyle style) {
    const bool bold = style == fsBold;
    const bool italic = style == fsItalic;
    if (FFont.bold() == bold && FFont.italic() == italic)
        return;
    FFont.setBold(bold);
    FFont.setItalic(italic);
    FontChanged();
}

void TPainterCanvas::SetCharset(int32_t charset) {
    FUtf8 = charset == Utf8Charset;
    const TCodePage* page = TCodePage::ForCodePage(CharsetCodePage(charset));
    FCodePage = page ? page : TCodePage::ForCodePage(1252);
}

void TPainterCanvas::FontChanged() {
    FMetrics.reset();
    if (FPainter.isActive())
        FPainter.setFont(FFont);
}

const QFontMetrics& TPainterCanvas::Metrics() {
    if (!FMetrics)
        FMetrics.emplace(FFont, &FDevice);
    return *FMetrics;
}

QString TPainterCanvas::Decode(std::string_view text) const {
    if (FUtf8)
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (!FCodePage)
        return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    const std::u16string wide = FCodePage->ToUtf16(text);
    return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

int32_t TPainterCanvas::TextWidth(std::string_view text) {
    return Metrics().horizontalAdvance(Decode(text));
}

int32_t TPainterCanvas::TextHeight(std::string_view) { return Metrics().height(); }

void TPainterCanvas::DrawText(int32_t x, int32_t y, std::string_view text) {
    FPainter.drawText(x, y + Metrics().ascent(), Decode(text));
}

void TPainterCanvas::DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    FPainter.drawLine(x1, y1, x2, y2);
}

void TPainterCanvas::NameJob(const QString&) {}

namespace {

// A PDF carries the job's title as its own.
class TPdfCanvas final : public TPainterCanvas {
public:
    explicit TPdfCanvas(QPdfWriter& writer) : TPainterCanvas(writer), FWriter(writer) {}

protected:
    void NameJob(const QString& title) override { FWriter.setTitle(title); }

private:
    QPdfWriter& FWriter;
};

} // namespace

namespace {

// Why the file could not take more bytes, found by trying: a short write at
// its end (undone at once), else a full file system; empty when both work.
std::string WriteFailureReason(const std::string& file) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return std::strerror(errno);
    struct stat info {};
    int error = ::fstat(fd, &info) == 0 ? 0 : errno;
    if (error == 0) {
        const std::string probe(1 << 16, '\0');
        if (::pwrite(fd, probe.data(), probe.size(), info.st_size) < 0 || ::fsync(fd) != 0)
            error = errno;
        (void)::ftruncate(fd, info.st_size);
    }
    ::close(fd);
    if (error == 0) {
        struct statvfs space {};
        if (::statvfs(file.c_str(), &space) == 0 && space.f_bavail == 0)
            error = ENOSPC;
    }
    return error == 0 ? std::string() : std::strerror(error);
}

} // namespace

void PrintToPdf(const TVocabFile& doc, const TPageSetup& setup, const std::string& path,
                const std::string& jobTitle) {
    // The PDF is written beside the target first and replaces it only when the
    // job succeeded, so a failed print never destroys an earlier file. Creating
    // the temporary file also gives the reason Qt would not report.
    const std::string temp = CreateTemporaryBeside(path);
    try {
        {
            QPdfWriter writer(QString::fromStdString(temp));
            writer.setResolution(1200); // as a high-resolution printer
            writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                             QMarginsF(0, 0, 0, 0)));
            TPdfCanvas canvas(writer);
            PrintJob(doc, canvas, setup, jobTitle);
        } // the PDF is complete once the writer is gone
        ReplaceFile(path, ReadWholeFile(temp));
    } catch (const EPrintError& error) {
        // Qt reports a failed write only as a page it could not start; the
        // system's reason goes on a line of its own.
        const std::string reason = WriteFailureReason(temp);
        std::remove(temp.c_str());
        if (reason.empty())
            throw;
        throw EPrintError(std::string(error.what()) + "\n" + path + ": " + reason);
    } catch (...) {
        std::remove(temp.c_str());
        throw;
    }
    std::remove(temp.c_str());
}

} // namespace vocalore
