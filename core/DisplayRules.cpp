#include "DisplayRules.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

namespace vocalore {

namespace {

constexpr char Separator = '/';
constexpr const char* Ellipsis = "...";

int32_t ClampToInt32(int64_t v) {
    if (v < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    if (v > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(v);
}

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The lowest index in [low, high) for which `fits` holds, or high when it
// holds for none. A longer text is never narrower, so `fits` is false up to
// some index and true from there on: a handful of measures instead of one
// per character, which a damaged 100,000-character path would make slow.
template <typename TFits> size_t FirstFitting(size_t low, size_t high, TFits fits) {
    size_t end = high;
    while (low < end) {
        const size_t middle = low + (end - low) / 2;
        if (fits(middle))
            end = middle;
        else
            low = middle + 1;
    }
    return low;
}

// The name cut at character boundaries, longest first, with "..." appended.
std::string CutName(const std::string& name, int width, const TTextMeasure& measure) {
    std::vector<size_t> boundaries; // byte offsets where a character starts, after the first
    for (size_t i = 1; i < name.size(); ++i)
        if (!IsUtf8Continuation(name[i]))
            boundaries.push_back(i);
    // boundaries[k] is the length in bytes of the first k + 1 characters;
    // candidate j keeps boundaries[K - 1 - j] bytes, the longest first.
    if (boundaries.size() < 2)
        return {};
    const size_t count = boundaries.size() - 1; // k runs from K - 1 down to 1
    auto candidate = [&](size_t j) { return name.substr(0, boundaries[count - j]) + Ellipsis; };
    const size_t j =
        FirstFitting(0, count, [&](size_t i) { return measure(candidate(i)) <= width; });
    return j == count ? std::string() : candidate(j);
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

} // namespace

std::string PercentText(int32_t part, int32_t whole) {
    if (whole == 0)
        return "0%";
    // part / whole x 100 + 0.5 as one exact fraction: in floating point 23 of
    // 40 comes out just below 57.5 and an exact half would not go up.
    int64_t numerator = 200 * int64_t{part} + whole;
    int64_t denominator = 2 * int64_t{whole};
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    return std::to_string(numerator / denominator) + "%"; // truncates toward zero
}

std::string DocumentTitle(const std::string& fileName, bool withFolder) {
    if (fileName.empty())
        return UntitledTitle;
    size_t slash = fileName.rfind(Separator);
    if (slash == std::string::npos)
        return fileName;
    std::string title = fileName.substr(slash + 1);
    if (title.empty()) // no file name to show: fall back to what we were given
        return fileName;
    return withFolder ? fileName.substr(0, slash + 1) + title : title;
}

std::string ShortenPath(const std::string& path, int width, const TTextMeasure& measure) {
    if (measure(path) <= width)
        return path;
    size_t first = path.find(Separator);
    size_t last = path.rfind(Separator);
    std::string name = last == std::string::npos ? path : path.substr(last + 1);
    if (first != last) {
        // Folders between the root and the name, dropped from the left; keep
        // at least one of them.
        const std::string root = path.substr(0, first + 1);
        std::vector<size_t> starts;
        for (size_t next = path.find(Separator, first + 1);
             next != std::string::npos && next < last; next = path.find(Separator, next + 1))
            starts.push_back(next + 1);
        auto candidate = [&](size_t i) {
            return root + Ellipsis + Separator + path.substr(starts[i]);
        };
        const size_t i = FirstFitting(0, starts.size(),
                                      [&](size_t k) { return measure(candidate(k)) <= width; });
        if (i < starts.size())
            return candidate(i);
    }
    if (measure(name) <= width)
        return name;
    return CutName(name, width, measure);
}

TScreenRect KeepOnScreen(const TScreenRect& window, const TScreenRect& workArea) {
    int64_t left = window.Left, top = window.Top;
    int64_t width = static_cast<int64_t>(window.Right) - window.Left;
    int64_t height = static_cast<int64_t>(window.Bottom) - window.Top;
    if (left + width > workArea.Right)
        left = workArea.Right - width;
    if (top + height > workArea.Bottom)
        top = workArea.Bottom - height;
    // The work area need not start at 0 (a task bar on the left or top).
    if (left < workArea.Left)
        left = workArea.Left;
    if (top < workArea.Top)
        top = workArea.Top;
    return {ClampToInt32(left), ClampToInt32(top), ClampToInt32(left + width),
            ClampToInt32(top + height)};
}

TScreenRect PlaceDialog(const TScreenRect& dialog, const TScreenRect& owner,
                        const TScreenRect& workArea) {
    int64_t width = static_cast<int64_t>(dialog.Right) - dialog.Left;
    int64_t height = static_cast<int64_t>(dialog.Bottom) - dialog.Top;
    int64_t ownerWidth = static_cast<int64_t>(owner.Right) - owner.Left;
    int64_t ownerHeight = static_cast<int64_t>(owner.Bottom) - owner.Top;
    int64_t left = owner.Left + (ownerWidth - width) / 2;
    int64_t top = owner.Top + (ownerHeight - height) / 2;
    TScreenRect placed{ClampToInt32(left), ClampToInt32(top), ClampToInt32(left + width),
                       ClampToInt32(top + height)};
    return KeepOnScreen(placed, workArea);
}

TScreenRect CentreOnScreen(int32_t width, int32_t height, int32_t screenWidth,
                           int32_t screenHeight) {
    int64_t left = (static_cast<int64_t>(screenWidth) - width) / 2;
    int64_t top = (static_cast<int64_t>(screenHeight) - height) / 2;
    return {ClampToInt32(left), ClampToInt32(top), ClampToInt32(left + width),
            ClampToInt32(top + height)};
}

bool IntFieldInRange(std::string_view text, int32_t min, int32_t max) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int64_t value = static_cast<int64_t>(min) - 1;
    int64_t parsed = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (ec == std::errc() && end == text.data() + text.size() && !text.empty())
        value = parsed;
    return value >= min && value <= max;
}

bool ParseRealField(std::string_view text, char decimalSeparator, double& value) {
    text = Trim(text);
    std::string s;
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        s += text[i++] == '-' ? "-" : "";
    size_t digits = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits)
        s += text[i];
    if (i < text.size() && text[i] == decimalSeparator) {
        s += '.';
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits)
            s += text[i];
    }
    if (digits == 0 || i != text.size())
        return false;
    double parsed = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), parsed);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

bool RealFieldInRange(std::string_view text, double min, double max, char decimalSeparator) {
    double value = 0;
    if (!ParseRealField(text, decimalSeparator, value))
        return false;
    return value >= min && value <= max;
}

std::string IntRangeMessage(int32_t min, int32_t max) {
    char buffer[80];
    std::snprintf(buffer, sizeof buffer, "Number must be between %d and %d.", min, max);
    return buffer;
}

std::string RealRangeMessage(double min, double max) {
    char buffer[120];
    std::snprintf(buffer, sizeof buffer, "Number must be between %g and %g.", min, max);
    return buffer;
}

} // namespace vocalore
