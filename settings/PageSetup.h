#pragma once
// The page layout for printing: one record for the whole run, stored as the
// 32-byte binary value "PageSetup" (little-endian, fixed offsets).

#include <array>
#include <cstddef>
#include <cstdint>

namespace vocalore {

inline constexpr size_t PageSetupRecordSize = 32;
inline constexpr int32_t TwipsPerInch = 1440;
inline constexpr int32_t TwipsPerCm = 567;

struct TMargins {
    int32_t Left = TwipsPerInch; // twips
    int32_t Top = TwipsPerInch;
    int32_t Right = TwipsPerInch;
    int32_t Bottom = TwipsPerInch;
    bool operator==(const TMargins&) const = default;
};

// The initial values are the defaults used when no stored record can be read.
struct TPageSetup {
    int32_t FontSize = 12;  // points, 8 .. 24
    bool PrintTitle = true; // stored byte read as on when not zero
    int32_t Columns = 2;    // 1 .. 3
    bool Separator = true;  // vertical lines between columns
    TMargins Margins;

    bool operator==(const TPageSetup&) const = default;
};

// The largest margin the Page Setup dialog accepts (99 inches).
inline constexpr int32_t MaxMarginTwips = 99 * TwipsPerInch;

using TPageSetupRecord = std::array<uint8_t, PageSetupRecordSize>;

TPageSetupRecord EncodePageSetup(const TPageSetup& setup);
// Reads every field as stored (reserved bytes ignored).
TPageSetup DecodePageSetup(const TPageSetupRecord& record);
// A damaged record must never reach the print layout: FontSize outside 8..24,
// Columns outside 1..3 and margins outside 0..MaxMarginTwips are replaced with
// their defaults, field by field.
void SanitizePageSetup(TPageSetup& setup);

} // namespace vocalore
