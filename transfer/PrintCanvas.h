#pragma once
// The surface the print layout draws on: a printer, a PDF file, or a recording
// for tests. Coordinates are device pixels with the origin at the top-left
// corner of the printable area; a text is drawn with its top at y.

#include "core/Languages.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vocalore {

enum class TFontStyle { fsRegular, fsBold, fsItalic };
using enum TFontStyle;

// Not a font character set of the documents: the text is UTF-8, as file
// names are spelled by the file system.
inline constexpr int32_t Utf8Charset = -1;

class TPrintCanvas {
public:
    virtual ~TPrintCanvas() = default;

    virtual void BeginJob(const std::string& title) = 0;
    virtual void EndJob() = 0;
    virtual void NewPage() = 0;

    // Size of the printable area and the resolution, in device pixels.
    virtual int32_t PageWidth() const = 0;
    virtual int32_t PageHeight() const = 0;
    virtual int32_t DpiX() const = 0;
    virtual int32_t DpiY() const = 0;

    virtual void SetFontName(const std::string& family) = 0;
    virtual void SetFontSize(int32_t points) = 0;
    virtual void SetFontStyle(TFontStyle style) = 0;
    // Font character set (0, 161, 162, 186, 204, 238): texts are bytes in its
    // code page; Utf8Charset: texts are UTF-8.
    virtual void SetCharset(int32_t charset) = 0;

    virtual int32_t TextWidth(std::string_view text) = 0;
    virtual int32_t TextHeight(std::string_view text) = 0;
    virtual void DrawText(int32_t x, int32_t y, std::string_view text) = 0;
    virtual void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) = 0;
};

} // namespace vocalore
