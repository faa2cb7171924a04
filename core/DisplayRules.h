#pragma once
// The window-independent part of the helpers every dialog shares: percentages,
// document titles, shortening a path to a width, placing a window inside the
// screen's work area, and the range check of number fields. The window code
// supplies measurements and rectangles.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace vocalore {

// A rectangle in screen pixels; Right and Bottom lie just outside it.
struct TScreenRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    int32_t Width() const { return Right - Left; }
    int32_t Height() const { return Bottom - Top; }
    bool operator==(const TScreenRect&) const = default;
};

// "0%" for a whole of 0, else part / whole rounded half up, e.g. "33%".
std::string PercentText(int32_t part, int32_t whole);

inline constexpr const char* UntitledTitle = "Untitled";
// "Untitled" for an empty name, else the file name without its folder; with
// withFolder, the folder (with its trailing "/") comes first.
std::string DocumentTitle(const std::string& fileName, bool withFolder = false);

// Width of a text in pixels, in whatever font the caller measures with.
using TTextMeasure = std::function<int(std::string_view text)>;
// The path unchanged if it fits; else the root, ".../" and as many trailing
// components as fit (at least one folder); else the bare file name; else the
// file name cut at a character boundary with "..." appended; else "" when
// fewer than two of its characters would remain. Text is UTF-8.
std::string ShortenPath(const std::string& path, int width, const TTextMeasure& measure);

// A window with right and bottom edges inside the work area, then left and top
// no further left or up than the work area's.
TScreenRect KeepOnScreen(const TScreenRect& window, const TScreenRect& workArea);
// The dialog centred over its owner (truncating toward zero), kept on screen.
TScreenRect PlaceDialog(const TScreenRect& dialog, const TScreenRect& owner,
                        const TScreenRect& workArea);
// A window of the given size centred on a screen of the given size.
TScreenRect CentreOnScreen(int32_t width, int32_t height, int32_t screenWidth,
                           int32_t screenHeight);

// Number fields: text that does not parse counts as min - 1, below the range.
bool IntFieldInRange(std::string_view text, int32_t min, int32_t max);
// decimalSeparator is the user's; surrounding blanks are allowed.
bool RealFieldInRange(std::string_view text, double min, double max, char decimalSeparator = '.');
// The value of a real field's text; false when it does not parse.
bool ParseRealField(std::string_view text, char decimalSeparator, double& value);
// "Number must be between %d and %d." / "... %g and %g."
std::string IntRangeMessage(int32_t min, int32_t max);
std::string RealRangeMessage(double min, double max);

} // namespace vocalore
