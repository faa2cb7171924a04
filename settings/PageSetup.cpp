#include "settings/PageSetup.h"

#include "settings/RecordBytes.h"

namespace vocalore {

namespace {
enum : size_t {
    oFontSize = 0,
    oPrintTitle = 4,
    oColumns = 8,
    oSeparator = 12,
    oMarginLeft = 16,
    oMarginTop = 20,
    oMarginRight = 24,
    oMarginBottom = 28,
};

} // namespace

TPageSetupRecord EncodePageSetup(const TPageSetup& s) {
    TPageSetupRecord r{};
    PutI32(r, oFontSize, s.FontSize);
    PutFlag(r, oPrintTitle, s.PrintTitle);
    PutI32(r, oColumns, s.Columns);
    PutFlag(r, oSeparator, s.Separator);
    PutI32(r, oMarginLeft, s.Margins.Left);
    PutI32(r, oMarginTop, s.Margins.Top);
    PutI32(r, oMarginRight, s.Margins.Right);
    PutI32(r, oMarginBottom, s.Margins.Bottom);
    return r;
}

TPageSetup DecodePageSetup(const TPageSetupRecord& r) {
    TPageSetup s;
    s.FontSize = GetI32(r, oFontSize);
    s.PrintTitle = r[oPrintTitle] != 0;
    s.Columns = GetI32(r, oColumns);
    s.Separator = r[oSeparator] != 0;
    s.Margins.Left = GetI32(r, oMarginLeft);
    s.Margins.Top = GetI32(r, oMarginTop);
    s.Margins.Right = GetI32(r, oMarginRight);
    s.Margins.Bottom = GetI32(r, oMarginBottom);
    return s;
}

void SanitizePageSetup(TPageSetup& s) {
    const TPageSetup defaults;
    KeepInRange(s.FontSize, 8, 24, defaults.FontSize);
    KeepInRange(s.Columns, 1, 3, defaults.Columns);
    for (int32_t* margin : {&s.Margins.Left, &s.Margins.Top, &s.Margins.Right, &s.Margins.Bottom})
        KeepInRange(*margin, 0, MaxMarginTwips, TwipsPerInch);
}

} // namespace vocalore
