// The composition table, byte for byte.

#include "core/Composition.h"

#include <gtest/gtest.h>

#include <string>

namespace vocalore {
namespace {

TEST(Composition, ModifierCharactersNumberTheRows) {
    const std::string modifiers = "\x27\x60\x3A\x5E\x7E\x40\x2C\x2F\x26";
    for (size_t i = 0; i < modifiers.size(); ++i)
        EXPECT_EQ(CompositionRowOf(modifiers[i]), static_cast<int>(i) + 1) << i;
    for (char ch : {'a', '"', ';', '\0', '*', '\\', '\xE9'})
        EXPECT_EQ(CompositionRowOf(ch), 0) << int(ch);
}

TEST(Composition, EveryRowTurnsItsLettersIntoItsBytes) {
    struct TRow {
        const char* Base;
        std::string Results;
    };
    const TRow rows[10] = {
        {"", ""},
        {"aeiouydAEIOUYD", "\xE1\xE9\xED\xF3\xFA\xFD\xF0\xC1\xC9\xCD\xD3\xDA\xDD\xD0"},
        {"aeiouAEIOU", "\xE0\xE8\xEC\xF2\xF9\xC0\xC8\xCC\xD2\xD9"},
        {"aeiouyAEIOUY", "\xE4\xEB\xEF\xF6\xFC\xFF\xC4\xCB\xCF\xD6\xDC\x9F"},
        {"aeiouAEIOU", "\xE2\xEA\xEE\xF4\xFB\xC2\xCA\xCE\xD4\xDB"},
        {"anoANO", "\xE3\xF1\xF5\xC3\xD1\xD5"},
        {"aA", "\xE5\xC5"},
        {"cC", "\xE7\xC7"},
        {"oO", "\xF8\xD8"},
        {"aosAOS", "\xE6\x9C\xDF\xC6\x8C\xDF"},
    };
    for (int row = 1; row <= 9; ++row) {
        const TRow& expected = rows[row];
        EXPECT_EQ(CompositionRow(row).Base, expected.Base) << row;
        EXPECT_EQ(std::string(CompositionRow(row).Results), expected.Results) << row;
        std::string composed;
        for (const char* base = expected.Base; *base; ++base)
            composed += Compose(row, *base);
        EXPECT_EQ(composed, expected.Results) << row;
        // Every other printable byte comes through unchanged.
        for (int ch = 0x20; ch < 0x7F; ++ch) {
            if (std::string(expected.Base).find(static_cast<char>(ch)) == std::string::npos) {
                EXPECT_EQ(Compose(row, static_cast<char>(ch)), static_cast<char>(ch)) << row;
            }
        }
    }
}

TEST(Composition, NoRowOutsideOneToNine) {
    for (int row : {0, -1, 10, 1000}) {
        EXPECT_TRUE(CompositionRow(row).Base.empty());
        EXPECT_EQ(Compose(row, 'e'), 'e');
    }
    // Neither the grave accent nor the circumflex knows "y"; both s and S
    // give the sharp s.
    EXPECT_EQ(Compose(2, 'y'), 'y');
    EXPECT_EQ(Compose(4, 'Y'), 'Y');
    EXPECT_EQ(Compose(9, 's'), '\xDF');
    EXPECT_EQ(Compose(9, 'S'), '\xDF');
}

} // namespace
} // namespace vocalore
