#include "settings/Options.h"
#include "settings/PageSetup.h"

#include <gtest/gtest.h>

#include <set>

using namespace vocalore;

namespace {

template <size_t N> uint32_t At(const std::array<uint8_t, N>& r, size_t offset, size_t size) {
    uint32_t v = 0;
    for (size_t i = 0; i < size; ++i)
        v |= static_cast<uint32_t>(r[offset + i]) << (8 * i);
    return v;
}

} // namespace

TEST(OptionsRecord, DefaultsSitAtTheirOffsetsAndEverythingElseIsZero) {
    TOptionsRecord r = EncodeOptions(TOptions{});
    struct Field {
        size_t offset, size;
        uint32_t value;
    } fields[] = {
        {0xBA, 1, 1},        // KeyboardSwitching
        {0xC0, 4, 4},        // NumChoices
        {0xC4, 2, 0x03FF},   // PassiveEvaluation
        {0xC6, 2, 0x000C},   // ActiveEvaluation
        {0xCC, 4, 0x0000FF}, // ColourWrong
        {0xD0, 4, 0xFF0000}, // ColourRight
        {0xD8, 1, 1},        // Beep
        {0xDC, 4, 3},        // MaxPenaltyPoints
    };
    std::set<size_t> covered;
    for (const auto& f : fields) {
        EXPECT_EQ(At(r, f.offset, f.size), f.value) << "offset " << f.offset;
        for (size_t i = 0; i < f.size; ++i)
            covered.insert(f.offset + i);
    }
    for (size_t i = 0; i < r.size(); ++i)
        if (!covered.count(i)) {
            EXPECT_EQ(r[i], 0) << "offset " << i;
        }
}

TEST(OptionsRecord, EveryFieldHasItsOwnPlace) {
    // Setting one field at a time must change exactly its own bytes.
    struct Field {
        const char* name;
        size_t offset, size;
        void (*set)(TOptions&);
        uint32_t stored;
    } fields[] = {
        {"AppendNewWords", 0x00, 1, [](TOptions& o) { o.AppendNewWords = true; }, 1},
        {"RequireSortPosition", 0x01, 1, [](TOptions& o) { o.RequireSortPosition = true; }, 1},
        {"first shortcut", 0x02, 2, [](TOptions& o) { o.ShortcutChars[0] = 0xEEE9; }, 0xEEE9},
        {"last shortcut", 0xB8, 2, [](TOptions& o) { o.ShortcutChars[91] = 0xA2B3; }, 0xA2B3},
        {"KeyboardSwitching", 0xBA, 1, [](TOptions& o) { o.KeyboardSwitching = false; }, 0},
        {"TestNotes passive", 0xBB, 1, [](TOptions& o) { o.TestNotes[tnPassive] = true; }, 1},
        {"TestNotes active", 0xBC, 1, [](TOptions& o) { o.TestNotes[tnActive] = true; }, 1},
        {"NumChoices", 0xC0, 4, [](TOptions& o) { o.NumChoices = 0x0A0B0C0D; }, 0x0A0B0C0D},
        {"PassiveEvaluation", 0xC4, 2, [](TOptions& o) { o.PassiveEvaluation = 0x1234; }, 0x1234},
        {"ActiveEvaluation", 0xC6, 2, [](TOptions& o) { o.ActiveEvaluation = 0x4321; }, 0x4321},
        {"AutoContinue", 0xC8, 1, [](TOptions& o) { o.AutoContinue = true; }, 1},
        {"ColourWrong", 0xCC, 4, [](TOptions& o) { o.ColourWrong = 0x00804020; }, 0x00804020},
        {"ColourRight", 0xD0, 4, [](TOptions& o) { o.ColourRight = 0x00102030; }, 0x00102030},
        {"Delay", 0xD4, 4, [](TOptions& o) { o.Delay = -2; }, 0xFFFFFFFE},
        {"Beep", 0xD8, 1, [](TOptions& o) { o.Beep = false; }, 0},
        {"UsePenaltyPoints", 0xD9, 1, [](TOptions& o) { o.UsePenaltyPoints = true; }, 1},
        {"MaxPenaltyPoints", 0xDC, 4, [](TOptions& o) { o.MaxPenaltyPoints = 5; }, 5},
        {"DisallowHints", 0xE0, 1, [](TOptions& o) { o.DisallowHints = true; }, 1},
    };
    const TOptionsRecord base = EncodeOptions(TOptions{});
    for (const auto& f : fields) {
        TOptions o;
        f.set(o);
        TOptionsRecord r = EncodeOptions(o);
        EXPECT_EQ(At(r, f.offset, f.size), f.stored) << f.name;
        for (size_t i = 0; i < r.size(); ++i)
            if (i < f.offset || i >= f.offset + f.size) {
                EXPECT_EQ(r[i], base[i]) << f.name << " touched offset " << i;
            }
        EXPECT_EQ(DecodeOptions(r), o) << f.name;
    }
}

TEST(OptionsRecord, DecodingIgnoresPaddingAndReadsAnyNonZeroFlagAsOn) {
    TOptionsRecord r = EncodeOptions(TOptions{});
    for (size_t pad : {0xBDu, 0xBEu, 0xBFu, 0xC9u, 0xCBu, 0xDAu, 0xDBu, 0xE1u, 0xEFu})
        r[pad] = 0x5A;
    r[0x00] = 2;
    r[0xD9] = 0xFF;
    TOptions o = DecodeOptions(r);
    EXPECT_TRUE(o.AppendNewWords);
    EXPECT_TRUE(o.UsePenaltyPoints);
    TOptions expected;
    expected.AppendNewWords = expected.UsePenaltyPoints = true;
    EXPECT_EQ(o, expected);
    TOptionsRecord clean = EncodeOptions(o);
    EXPECT_EQ(clean[0xBD], 0);
    EXPECT_EQ(clean[0xEF], 0);
    EXPECT_EQ(clean[0x00], 1);
}

TEST(OptionsRecord, SanitizingPutsOutOfRangeNumbersBackOneByOne) {
    struct Case {
        int32_t numChoices, delay, maxPenalty;
        int32_t wantChoices, wantDelay, wantPenalty;
    } cases[] = {
        {3, 0, 1, 3, 0, 1},   {10, 20, 5, 10, 20, 5},      {2, -1, 0, 4, 0, 3},
        {11, 21, 6, 4, 0, 3}, {0x7FFFFFFF, 5, 2, 4, 5, 2},
    };
    for (const auto& c : cases) {
        TOptions o;
        o.NumChoices = c.numChoices;
        o.Delay = c.delay;
        o.MaxPenaltyPoints = c.maxPenalty;
        o.ColourRight = 0x123456; // not one of the offered colours: left alone
        SanitizeOptions(o);
        EXPECT_EQ(o.NumChoices, c.wantChoices);
        EXPECT_EQ(o.Delay, c.wantDelay);
        EXPECT_EQ(o.MaxPenaltyPoints, c.wantPenalty);
        EXPECT_EQ(o.ColourRight, 0x123456u);
    }
}

TEST(OptionsTables, ShortcutKeysComeInRecordOrder) {
    struct Case {
        int index;
        const char* name;
    } cases[] = {
        {0, "Ctrl+Shift+A"}, {25, "Ctrl+Shift+Z"},  {26, "Ctrl+Alt+A"},  {51, "Ctrl+Alt+Z"},
        {52, "Shift+F2"},    {59, "Shift+F9"},      {60, "Shift+F11"},   {61, "Shift+F12"},
        {62, "Ctrl+F2"},     {72, "Ctrl+Shift+F2"}, {82, "Ctrl+Alt+F2"}, {91, "Ctrl+Alt+F12"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShortcutKeyName(ShortcutKeys[static_cast<size_t>(c.index)]), c.name);
    std::set<std::string> names;
    for (const auto& k : ShortcutKeys) {
        names.insert(ShortcutKeyName(k));
        EXPECT_NE(k.FunctionKey, 1);
        EXPECT_NE(k.FunctionKey, 10);
    }
    EXPECT_EQ(names.size(), 92u);
    EXPECT_EQ(ShortcutKeyIndex(smCtrl | smAlt, 'q', 0), 26 + 16);
    EXPECT_EQ(ShortcutKeyIndex(smCtrl | smShift, 0, 12), 81);
    EXPECT_EQ(ShortcutKeyIndex(smCtrl, 'A', 0), -1);
    EXPECT_EQ(ShortcutKeyIndex(smShift, 0, 10), -1);
    EXPECT_EQ(MakeShortcutChar(0xE9, 238), 0xEEE9);
    EXPECT_EQ(ShortcutCharCode(0xEEE9), 0xE9);
    EXPECT_EQ(ShortcutCharSet(0xEEE9), 238);
}

TEST(OptionsTables, ColoursCharSetsAndEvaluationEntries) {
    EXPECT_STREQ(AnswerColours[0].Name, "Black");
    EXPECT_STREQ(AnswerColours[9].Name, "Red");
    EXPECT_EQ(AnswerColours[9].Value, TOptions{}.ColourWrong);
    EXPECT_STREQ(AnswerColours[12].Name, "Blue");
    EXPECT_EQ(AnswerColours[12].Value, TOptions{}.ColourRight);
    EXPECT_EQ(AnswerColours[4].Value, 0x800000u) << "Navy is 0x00BBGGRR";
    EXPECT_EQ(AnswerColours[15].Value, 0xFFFFFFu);
    EXPECT_STREQ(ShortcutCharSets[2].Name, "Central European");
    EXPECT_EQ(ShortcutCharSets[2].Code, 238);
    EXPECT_EQ(ShortcutCharSets[5].Code, 162);

    uint16_t all = 0;
    for (const auto& e : PassiveEvaluationEntries)
        all |= e.Bit;
    EXPECT_EQ(all | efTranslationList, TOptions{}.PassiveEvaluation);
    EXPECT_EQ(PassiveEvaluationEntries[7].Bit, efAnyOrder) << "0x080 has no entry";
    uint16_t active = 0;
    for (int i = 0; i < ActiveEvaluationEntryCount; ++i)
        active |= PassiveEvaluationEntries[static_cast<size_t>(i)].Bit;
    EXPECT_EQ(active, 0x000F);
    EXPECT_STREQ(PassiveEvaluationEntries[4].Caption, "Accept infinitives without 'to'");
}

TEST(PageSetupRecord, LayoutAndDefaults) {
    TPageSetupRecord r = EncodePageSetup(TPageSetup{});
    const TPageSetupRecord expected = {12,   0, 0, 0, 1,    0, 0, 0, 2,    0, 0, 0, 1,    0, 0, 0,
                                       0xA0, 5, 0, 0, 0xA0, 5, 0, 0, 0xA0, 5, 0, 0, 0xA0, 5, 0, 0};
    EXPECT_EQ(r, expected);

    TPageSetup s{24, false, 3, false, {1, 2, 3, 0x01020304}};
    r = EncodePageSetup(s);
    EXPECT_EQ(At(r, 28, 4), 0x01020304u);
    EXPECT_EQ(At(r, 16, 4), 1u);
    EXPECT_EQ(DecodePageSetup(r), s);

    r[5] = r[6] = r[7] = r[13] = 0x77; // reserved bytes are ignored
    r[4] = 3;
    TPageSetup d = DecodePageSetup(r);
    EXPECT_TRUE(d.PrintTitle);
    EXPECT_EQ(EncodePageSetup(d)[5], 0);
}

TEST(PageSetupRecord, SanitizingReplacesDamagedFieldsWithDefaults) {
    struct Case {
        const char* what;
        TPageSetup in, out;
    } cases[] = {
        {"valid extremes",
         {8, false, 1, false, {0, 0, MaxMarginTwips, 5}},
         {8, false, 1, false, {0, 0, MaxMarginTwips, 5}}},
        {"valid top",
         {24, true, 3, true, {1440, 1440, 1440, 1440}},
         {24, true, 3, true, {1440, 1440, 1440, 1440}}},
        {"font too small", {7, true, 2, true, {}}, {12, true, 2, true, {}}},
        {"font too large", {25, false, 2, true, {}}, {12, false, 2, true, {}}},
        {"no columns", {10, true, 0, true, {}}, {10, true, 2, true, {}}},
        {"four columns", {10, true, 4, false, {}}, {10, true, 2, false, {}}},
        {"negative margins",
         {10, true, 1, true, {-1, 500, -1440, 0}},
         {10, true, 1, true, {1440, 500, 1440, 0}}},
        {"huge margin",
         {10, true, 1, true, {MaxMarginTwips + 1, 0, 0, 0}},
         {10, true, 1, true, {1440, 0, 0, 0}}},
    };
    for (auto c : cases) {
        SanitizePageSetup(c.in);
        EXPECT_EQ(c.in, c.out) << c.what;
    }
}
