// Which configured keyboard layout belongs to a language.

#include "core/KeyboardLayouts.h"

#include <gtest/gtest.h>

namespace vocalore {
namespace {

TEST(KeyboardLayouts, RuleNamesGiveTheLayoutsInGroupOrder) {
    EXPECT_EQ(ParseXkbLayouts("us,de,ru", ",nodeadkeys"),
              (std::vector<TXkbLayout>{{"us", ""}, {"de", "nodeadkeys"}, {"ru", ""}}));
    EXPECT_EQ(ParseXkbLayouts("us", ""), (std::vector<TXkbLayout>{{"us", ""}}));
    EXPECT_EQ(ParseXkbLayouts(" gb , ch ", " , fr "),
              (std::vector<TXkbLayout>{{"gb", ""}, {"ch", "fr"}}));
    EXPECT_TRUE(ParseXkbLayouts("", "").empty());
    // More variants than layouts: the extra ones belong to nothing.
    EXPECT_EQ(ParseXkbLayouts("de", "nodeadkeys,phonetic"),
              (std::vector<TXkbLayout>{{"de", "nodeadkeys"}}));
}

TEST(KeyboardLayouts, EachLayoutTypesOneLanguageVariantsIncluded) {
    EXPECT_EQ(XkbLayoutLanguage("us"), 0x0409);
    EXPECT_EQ(XkbLayoutLanguage("gb"), 0x0809);
    EXPECT_EQ(XkbLayoutLanguage("de"), 0x0407);
    EXPECT_EQ(XkbLayoutLanguage("at"), 0x0C07);
    EXPECT_EQ(XkbLayoutLanguage("ch"), 0x0807);
    EXPECT_EQ(XkbLayoutLanguage("ch", "fr"), 0x100C);
    EXPECT_EQ(XkbLayoutLanguage("ca"), 0x0C0C);
    EXPECT_EQ(XkbLayoutLanguage("ca", "eng"), 0x1009);
    EXPECT_EQ(XkbLayoutLanguage("rs"), 0x0C1A);
    EXPECT_EQ(XkbLayoutLanguage("rs", "latin"), 0x081A);
    EXPECT_EQ(XkbLayoutLanguage("pl"), 0x0415);
    EXPECT_EQ(XkbLayoutLanguage("ru"), 0x0419);
    EXPECT_EQ(XkbLayoutLanguage("gr"), 0x0408);
    EXPECT_EQ(XkbLayoutLanguage("tr"), 0x041F);
    EXPECT_EQ(XkbLayoutLanguage("lt"), 0x0427);
    // A variant without a row of its own types its layout's language.
    EXPECT_EQ(XkbLayoutLanguage("de", "nodeadkeys"), 0x0407);
    EXPECT_EQ(XkbLayoutLanguage("us", "intl"), 0x0409);
    EXPECT_EQ(XkbLayoutLanguage("xx"), 0);
    EXPECT_EQ(XkbLayoutLanguage("", "fr"), 0);
}

TEST(KeyboardLayouts, FirstExactMatchElseTheDefault) {
    const std::vector<uint16_t> layouts = {0x0409, 0x0407, 0x0809, 0x0407};
    EXPECT_EQ(ChooseKeyboardLayout(layouts, 0x0407, 0), 1) << "the first of two";
    EXPECT_EQ(ChooseKeyboardLayout(layouts, 0x0809, 0), 2);
    // English (Australia) shares the primary language, not the identifier.
    EXPECT_EQ(ChooseKeyboardLayout(layouts, 0x0C09, 3), 3);
    EXPECT_EQ(ChooseKeyboardLayout(layouts, 0, 2), 2);
    EXPECT_EQ(ChooseKeyboardLayout({}, 0x0409, 0), 0);
}

} // namespace
} // namespace vocalore
