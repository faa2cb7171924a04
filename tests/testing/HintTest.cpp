#include "testing/Hint.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vocalore;

namespace {

TEST(HintText, RevealsLetterByLetter) {
    struct Case {
        const char* box;
        const char* target;
        const char* result;
    };
    const std::vector<Case> cases = {
        {"", "house", "h"},
        {"ho", "house", "hou"},
        {"hoz", "house", "hou"}, // the wrong letter and after it goes
        {"hozzzz", "house", "hou"},
        {"Ho", "house", "h"},       // case counts
        {"hous", "house", "house"}, // the last letter completes the word
        {"house", "house", "house"},
        {"houses and more", "house", "house"}, // surplus removed
        {"", "a", "a"},                        // one letter: the whole target at once
        {"x", "a", "a"},
        {"", "", ""},
        {"abc", "", ""},
        {"der Ha", "der Hund/die Hunde", "der Hu"}, // alternatives stay as stored
        {"\xE4", "\xE4pfel", "\xE4p"},              // bytes of the code page
        {"a", "\xE4pfel", "\xE4"},                  // accents count
    };
    for (const Case& c : cases)
        EXPECT_EQ(HintText(c.box, c.target), c.result)
            << "box '" << c.box << "' target '" << c.target << "'";
}

TEST(HintText, SuccessiveHintsOnAFiveLetterWord) {
    std::string box;
    std::vector<std::string> seen;
    for (int i = 0; i < 6; ++i) {
        box = HintText(box, "house");
        seen.push_back(box);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"h", "ho", "hou", "hous", "house", "house"}));
}

} // namespace
