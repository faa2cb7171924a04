#include "core/DisplayRules.h"

#include <gtest/gtest.h>

using namespace vocalore;

namespace {

// Every character (not byte) is 10 pixels wide.
int Measure(std::string_view text) {
    int chars = 0;
    for (char c : text)
        chars += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return chars * 10;
}

std::string Shorten(const std::string& path, int widthInChars) {
    return ShortenPath(path, widthInChars * 10, Measure);
}

} // namespace

TEST(PercentText, RoundsHalfUpAndGuardsAgainstNoWhole) {
    struct Case {
        int32_t part, whole;
        const char* text;
    } cases[] = {
        {1, 3, "33%"},
        {2, 3, "67%"},
        {0, 0, "0%"},
        {5, 0, "0%"},
        {1, 8, "13%"},
        {3, 3, "100%"},
        {0, 7, "0%"},
        {1, 200, "1%"},
        {1, 201, "0%"},
        {7, 2, "350%"},
        {0x7FFFFFFF, 1, "214748364700%"},
        // Exact halves that binary floating point holds just below the half.
        {23, 40, "58%"},
        {29, 200, "15%"},
        {69, 120, "58%"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PercentText(c.part, c.whole), c.text) << c.part << "/" << c.whole;
}

TEST(DocumentTitle, BothForms) {
    EXPECT_EQ(DocumentTitle(""), "Untitled");
    EXPECT_EQ(DocumentTitle("", true), "Untitled");
    EXPECT_EQ(DocumentTitle("/home/u/Lessons/week3.vlo"), "week3.vlo");
    EXPECT_EQ(DocumentTitle("/home/u/Lessons/week3.vlo", true), "/home/u/Lessons/week3.vlo");
    EXPECT_EQ(DocumentTitle("week3.vlo"), "week3.vlo");
    EXPECT_EQ(DocumentTitle("week3.vlo", true), "week3.vlo");
    EXPECT_EQ(DocumentTitle("/week3.vlo", true), "/week3.vlo");
    EXPECT_EQ(DocumentTitle("/odd/folder/"), "/odd/folder/") << "no name: the path as given";
}

TEST(ShortenPath, KeepsRootAndTrailingComponentsThenTheNameThenCutsIt) {
    const std::string path = "/home/user/Lessons/week3.vlo"; // 28 characters
    struct Case {
        const char* what;
        std::string path;
        int width;
        std::string result;
    } cases[] = {
        {"fits", path, 28, path},
        {"drops the first folder", path, 27, "/.../user/Lessons/week3.vlo"},
        {"keeps one folder", path, 22, "/.../Lessons/week3.vlo"},
        {"no folder fits: bare name", path, 21, "week3.vlo"},
        {"bare name exactly", path, 9, "week3.vlo"},
        {"name cut", path, 8, "week3..."},
        {"name cut shorter", path, 6, "wee..."},
        {"two characters remain", path, 5, "we..."},
        {"fewer than two would remain", path, 4, ""},
        {"nothing fits at all", path, 0, ""},
        {"no folders but the root", "/a-long-name.vlo", 10, "a-long-..."},
        {"relative path keeps its first folder", "docs/lists/french/v.vlo", 21,
         "docs/.../french/v.vlo"},
        {"characters, not bytes", "/x/\xC3\xBC\xC3\xBC\xC3\xBC\xC3\xBC.vlo", 6,
         "\xC3\xBC\xC3\xBC\xC3\xBC..."},
        {"bare name of a name-only path", "abcdef", 5, "ab..."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Shorten(c.path, c.width), c.result) << c.what;

    // Every result fits, for every width.
    for (int w = 0; w <= 30; ++w)
        EXPECT_LE(Measure(Shorten(path, w)), w * 10) << w;
}

// A damaged settings file may hold a path of 100,000 characters: shortening
// it measures a few dozen candidates, not one per character or folder, and
// still finds the longest that fits.
TEST(ShortenPath, MeasuresFewCandidatesOfAHugePath) {
    std::string folders;
    for (int i = 0; i < 10000; ++i)
        folders += "/f" + std::to_string(i % 10) + "x";
    const std::string name(50000, 'n');
    int calls = 0;
    auto counting = [&](std::string_view text) {
        ++calls;
        return Measure(text);
    };
    const std::string path = folders + "/" + name;
    const std::string cut = ShortenPath(path, 1000 * 10, counting);
    EXPECT_EQ(cut, name.substr(0, 997) + "...");
    EXPECT_LT(calls, 60);

    calls = 0;
    const std::string kept = ShortenPath(folders + "/v.vlo", 25 * 10, counting);
    EXPECT_EQ(kept, "/.../f7x/f8x/f9x/v.vlo");
    EXPECT_LT(calls, 40);
    for (int w : {5, 9, 12, 13, 16, 17, 60})
        EXPECT_LE(Measure(ShortenPath(folders + "/v.vlo", w * 10, Measure)), w * 10) << w;
    EXPECT_EQ(ShortenPath(folders + "/v.vlo", 14 * 10, Measure), "/.../f9x/v.vlo");
    EXPECT_EQ(ShortenPath(folders + "/v.vlo", 13 * 10, Measure), "v.vlo");
}

TEST(Placement, DialogCentredOverOwnerAndKeptInsideTheWorkArea) {
    const TScreenRect work{0, 0, 1024, 738};
    struct Case {
        const char* what;
        TScreenRect dialog, owner, placed;
    } cases[] = {
        {"centred", {0, 0, 200, 100}, {100, 100, 601, 401}, {250, 200, 450, 300}},
        {"odd negative difference truncates toward zero",
         {0, 0, 201, 101},
         {500, 300, 600, 400},
         {450, 300, 651, 401}},
        {"larger than owner: negative offset pushed back",
         {0, 0, 400, 300},
         {10, 10, 110, 110},
         {0, 0, 400, 300}},
        {"owner off the left edge", {0, 0, 200, 100}, {-500, 200, -100, 400}, {0, 250, 200, 350}},
        {"owner past the bottom right",
         {0, 0, 200, 100},
         {900, 700, 1300, 900},
         {824, 638, 1024, 738}},
        {"dialog larger than the work area keeps its top left on screen",
         {0, 0, 2000, 1000},
         {0, 0, 1024, 738},
         {0, 0, 2000, 1000}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlaceDialog(c.dialog, c.owner, work), c.placed) << c.what;

    // A work area that does not start at 0 (task bar on the left).
    EXPECT_EQ(KeepOnScreen({-10, 5, 90, 55}, {48, 0, 1024, 738}), (TScreenRect{48, 5, 148, 55}));
    EXPECT_EQ(CentreOnScreen(640, 480, 1025, 769), (TScreenRect{192, 144, 832, 624}));
    EXPECT_EQ(CentreOnScreen(800, 600, 640, 480), (TScreenRect{-80, -60, 720, 540}));
}

TEST(NumberFields, RangeChecksTreatUnparsableTextAsBelowTheRange) {
    struct IntCase {
        const char* text;
        int32_t min, max;
        bool ok;
    } ints[] = {
        {"", 0, 20, false},        {"-1", -1, 5, true},  {"abc", -1, 5, false},
        {"20", 0, 20, true},       {"21", 0, 20, false}, {" 3 ", 3, 10, true},
        {"+4", 3, 10, true},       {"4x", 3, 10, false}, {"99999999999", 0, 20, false},
        {"", INT32_MIN, 0, false},
    };
    for (const auto& c : ints)
        EXPECT_EQ(IntFieldInRange(c.text, c.min, c.max), c.ok) << '"' << c.text << '"';

    struct RealCase {
        const char* text;
        char sep;
        bool ok;
        double value;
    } reals[] = {
        {"2.54", '.', true, 2.54}, {"2,54", ',', true, 2.54}, {"2.54", ',', false, 0},
        {"99", '.', true, 99},     {"0", '.', true, 0},       {".5", '.', true, 0.5},
        {"-0.5", '.', true, -0.5}, {"", '.', false, 0},       {".", '.', false, 0},
        {"1e3", '.', false, 0},    {"inf", '.', false, 0},    {"nan", '.', false, 0},
    };
    for (const auto& c : reals) {
        double v = -7;
        EXPECT_EQ(ParseRealField(c.text, c.sep, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(v, c.value) << c.text;
        }
    }
    EXPECT_TRUE(RealFieldInRange("99", 0, 99));
    EXPECT_FALSE(RealFieldInRange("99.01", 0, 99));
    EXPECT_FALSE(RealFieldInRange("-0.5", 0, 99));
    EXPECT_FALSE(RealFieldInRange("", 0, 99));

    EXPECT_EQ(IntRangeMessage(0, 20), "Number must be between 0 and 20.");
    EXPECT_EQ(RealRangeMessage(0, 99), "Number must be between 0 and 99.");
}
