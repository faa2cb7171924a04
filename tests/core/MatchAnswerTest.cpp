// Answer matching, rule by rule. Texts are written in UTF-8 here and turned
// into the bytes of the language's code page, as items store them.
#include "core/CodePage.h"
#include "core/TextFunctions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vocalore {
namespace {

constexpr uint16_t English = 0x0409;
constexpr uint16_t EnglishUK = 0x0809;
constexpr uint16_t German = 0x0407;
constexpr uint16_t French = 0x040C;
constexpr uint16_t Russian = 0x0419;

std::string Bytes(const char* utf8, uint16_t language) {
    const auto bytes = FromUtf8(utf8, language);
    EXPECT_TRUE(bytes.has_value()) << utf8;
    return bytes.value_or("");
}

struct TCase {
    uint16_t Language;
    uint16_t Flags;
    const char* Expected;
    const char* Given;
    bool Right;
};

void CheckCases(const std::vector<TCase>& cases) {
    for (const TCase& c : cases) {
        EXPECT_EQ(MatchAnswer(Bytes(c.Expected, c.Language), Bytes(c.Given, c.Language), c.Language,
                              c.Flags),
                  c.Right)
            << "expected \"" << c.Expected << "\" given \"" << c.Given << "\" flags 0x" << std::hex
            << c.Flags << " language 0x" << c.Language;
    }
}

TEST(MatchAnswer, IdenticalTextsAreRightUnderAnyFlags) {
    CheckCases({
        {English, 0x008, "a / b", "a / b", true},
        {English, 0x008, "a / b", "a", false},
        {English, 0x008, "a / b", "b", false},
        {English, 0x004, "a (b", "a (b", true},
        {English, 0x3FF, "", "", true},
        {English, 0x000, "x", "x", true},
        {German, 0x000, "Äpfel", "Äpfel", true},
    });
}

TEST(MatchAnswer, PlainComparisonCaseAndPunctuation) {
    CheckCases({
        {English, 0x000, "House", "house", false},
        {English, 0x001, "House", "house", true},
        {German, 0x001, "ÜBER", "über", true},
        {English, 0x000, "a-b", "ab", false},
        {English, 0x002, "a-b", "ab", true},
        {English, 0x002, "ice cream", "icecream", true},
        {English, 0x002, "well, done!", "well done", true},
        {English, 0x002, "$5", "5", true},
        {English, 0x002, "House", "house", false},
        {English, 0x003, "It's House!", "its house", true},
        {Russian, 0x001, "Дом", "дом", true},
        {Russian, 0x000, "Дом", "дом", false},
    });
}

TEST(MatchAnswer, AccentsAlwaysCount) {
    for (uint16_t flags : {0x000, 0x001, 0x002, 0x003, 0x3FF}) {
        for (uint16_t language : {German, English, French}) {
            EXPECT_FALSE(
                MatchAnswer(Bytes("Haus", language), Bytes("Häus", language), language, flags));
        }
    }
    CheckCases({{French, 0x001, "élève", "ELEVE", false}, {French, 0x001, "élève", "ÉLÈVE", true}});
}

TEST(MatchAnswer, RuleSAlternatives) {
    CheckCases({
        {English, 0x008, "big/large house", "big house", true},
        {English, 0x008, "big/large house", "large house", true},
        {English, 0x008, "big/large house", "big/large house", true},
        {English, 0x008, "big/large house", "large/big house", true},
        {English, 0x008, "big/large house", "house", false},
        {English, 0x008, "big/large house", "big large house", false},
        {English, 0x008, "word/", "word", true},
        {English, 0x008, "word/", "", false},
        {English, 0x008, "/word", "word", false},
        {English, 0x008, "/word", "", false},
        {English, 0x008, "/word", "/word", true},
        // the apostrophe belongs to the word
        {English, 0x008, "it's/its", "it's", true},
        {English, 0x008, "it's/its", "its", true},
        {English, 0x008, "it's/its", "it", false},
        // digits too; punctuation ends the word
        {English, 0x008, "1st/first, ok", "first, ok", true},
        {English, 0x008, "x-a/b", "x-b", true},
        // without the bit "/" is an ordinary character
        {English, 0x000, "big/large house", "big house", false},
        // the alternatives nest with the rules below them
        {English, 0x009, "Big/large house", "LARGE HOUSE", true},
        {German, 0x008, "groß/riesig", "riesig", true},
        {Russian, 0x008, "дом/здание", "здание", true},
    });
}

TEST(MatchAnswer, RuleSThreeAlternativesInOneWord) {
    const std::vector<const char*> accepted = {"a",     "b",     "c",    "a/b", "b/a",
                                               "a/c",   "c/a",   "b/c",  "c/b", "a/b/c",
                                               "a/c/b", "b/a/c", "b/c/a"};
    for (const char* given : accepted)
        EXPECT_TRUE(MatchAnswer("a/b/c", given, English, 0x008)) << given;
    for (const char* given : {"c/a/b", "c/b/a", "", "d", "a/a", "ab"})
        EXPECT_FALSE(MatchAnswer("a/b/c", given, English, 0x008)) << given;
}

TEST(MatchAnswer, RuleBOptionalParts) {
    CheckCases({
        {English, 0x004, "to go (out)", "to go out", true},
        {English, 0x004, "to go (out)", "to go", true},
        {English, 0x004, "to go (out)", "to go ", false},
        {English, 0x004, "to go (out)", "to goout", false},
        {English, 0x004, "child(ren)", "children", true},
        {English, 0x004, "child(ren)", "child", true},
        {English, 0x004, "child(ren)", "child ren", false},
        {English, 0x004, "(to) go", "to go", true},
        {English, 0x004, "(to) go", "go", true},
        {English, 0x004, "(to) go", " go", false},
        {English, 0x004, "a (b) c", "a c", true},
        {English, 0x004, "a (b) c", "a b c", true},
        {English, 0x004, "a (b) c", "a  c", false},
        // every combination of two pairs
        {English, 0x004, "(a) b (c)", "b", true},
        {English, 0x004, "(a) b (c)", "a b", true},
        {English, 0x004, "(a) b (c)", "b c", true},
        {English, 0x004, "(a) b (c)", "a b c", true},
        {English, 0x004, "(a) b (c)", "(a) b c", true},
        {English, 0x004, "(a) b (c)", "a b (c)", true},
        {English, 0x004, "(a) b (c)", "a c", false},
        // unmatched brackets give no variants
        {English, 0x004, "a (b", "a b", false},
        {English, 0x004, "a) b", "a b", false},
        {English, 0x000, "to go (out)", "to go", false},
        // brackets and alternatives together
        {English, 0x00C, "(to) leave/depart", "depart", true},
        {English, 0x00C, "(to) leave/depart", "to leave/depart", true},
        {English, 0x00C, "(to) leave/depart", "to depart", true},
        {English, 0x00C, "(to) leave/depart", "to", false},
    });
}

TEST(MatchAnswer, RuleLListsOfTranslations) {
    CheckCases({
        {English, 0x080, "house, home", "home, house", false},
        {English, 0x180, "house, home", "home, house", true},
        {English, 0x280, "house, home", "home", true},
        {English, 0x080, "house, home", "home", false},
        {English, 0x080, "house, home", "house; home", true},
        {English, 0x080, "house, home", " house ,home ", true},
        {English, 0x280, "house, home", "", false},
        {English, 0x380, "house, home", "", false},
        {English, 0x080, ",;", "", true},
        {English, 0x280, "house, home", "house, home, hut", false},
        // same order: expected ones may be left out, given ones stay in order
        {English, 0x280, "a, b, c", "a, c", true},
        {English, 0x280, "a, b, c", "c, a", false},
        {English, 0x380, "a, b, c", "c, a", true},
        // each translation goes through the rules below L
        {English, 0x3FF, "to go (out), leave/depart", "go out, depart", true},
        {English, 0x3FF, "to go (out), leave/depart", "Leave", true},
        {English, 0x3FF, "to go (out), leave/depart", "go in", false},
        // text after the sixteenth translation is ignored
        {English, 0x080, "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17",
         "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16", true},
    });
}

TEST(MatchAnswer, EnglishContractions) {
    CheckCases({
        {English, 0x020, "I will not go", "I won't go", true},
        {English, 0x020, "I won't go", "I will not go", true},
        {English, 0x020, "I would go", "I'd go", true},
        {English, 0x020, "he's gone", "he has gone", true},
        {English, 0x020, "I can't", "I cannot", true},
        {English, 0x020, "I am", "I'm", true},
        {English, 0x021, "I Would go", "i'D GO", true},
        {English, 0x000, "I won't go", "I will not go", false},
        {EnglishUK, 0x020, "we shall see", "we will see", true},
        {German, 0x020, "I won't go", "I will not go", false},
        {French, 0x020, "I'd go", "I would go", false},
    });
}

TEST(MatchAnswer, EnglishIzeAndInfinitive) {
    CheckCases({
        {English, 0x050, "to realize", "realise", true},
        {English, 0x040, "realize", "realise", true},
        {English, 0x040, "organise", "organize", true},
        {English, 0x000, "realize", "realise", false},
        {English, 0x010, "to go", "go", true},
        {English, 0x010, "To go", "go", true},
        {English, 0x010, "go", "to go", false},
        {English, 0x010, "to go", "to go", true},
        {English, 0x010, "to  go", "to go", false},
        {EnglishUK, 0x010, "to go", "go", true},
        {German, 0x050, "to go", "go", false},
        {French, 0x010, "to go", "go", false},
        {German, 0x040, "realize", "realise", false},
    });
}

TEST(MatchAnswer, DefaultPassiveFlagsOnARealisticItem) {
    const uint16_t flags = efDefaultPassive;
    CheckCases({
        {English, flags, "to realize, (to) understand; grasp/comprehend", "understand", true},
        {English, flags, "to realize, (to) understand; grasp/comprehend", "Realise, comprehend",
         true},
        {English, flags, "to realize, (to) understand; grasp/comprehend", "grasp, understand",
         true},
        {English, flags, "to realize, (to) understand; grasp/comprehend", "to know", false},
        {German, flags, "der Apfel, die Birne", "Die Birne", true},
        {German, flags, "der Apfel, die Birne", "die Birne, der Äpfel", false},
    });
}

// Ten words of three alternatives each would mean billions of variants; the
// judgement gives up after a bounded search instead of freezing the window.
TEST(MatchAnswer, ManyAlternativesStayBounded) {
    const char* many = "a/b/c d/e/f g/h/i j/k/l m/n/o p/q/r s/t/u v/w/x y/z/a b/c/d";
    CheckCases({
        {English, efDefaultPassive, many, many, true},
        {English, efDefaultPassive, many, "a d g j m p s v y b", true}, // found early, depth first
        {English, efDefaultPassive, many, "zzz", false},
        {English, efDefaultPassive, many, "c/b/a f e d", false},
    });
    // The heaviest realistic item still gets a full search.
    CheckCases({
        {English, efDefaultPassive,
         "(to) (be) big/large (and) (very) old/ancient (in) (the) town/city",
         "be large and old in the city", true},
    });
}

TEST(TextFunctions, BracketsValid) {
    struct {
        const char* Text;
        bool Valid;
    } const cases[] = {
        {"a (b) c", true},    {"(a)(b)", true}, {"", true},        {"abc", true},
        {"a (b (c))", false}, {"a (b", false},  {"a) b (", false}, {")(", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BracketsValid(c.Text), c.Valid) << c.Text;
}

TEST(TextFunctions, ExpandContractionsInOrder) {
    struct {
        const char* Text;
        const char* Expanded;
    } const cases[] = {
        {"I won't", "I will not"}, {"I'd", "I had"},
        {"I would", "I had"},      {"he's", "he is"},
        {"he has", "he is"},       {"WON'T", "will not"},
        {"don't", "do not"},       {"they're", "they are"},
        {"we've", "we have"},      {"you'll", "you will"},
        {"I'm", "I am"},           {"cannot", "can not"},
        {"shan't", "will not"},    {"Shall", "will"},
        {"chase", "cise"},         {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExpandContractions(c.Text), c.Expanded) << c.Text;
}

TEST(TextFunctions, SplitText) {
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitText("a,,b", ",", false, 16, true), (V{"a", "b"}));
    EXPECT_EQ(SplitText("a,,b", ",", false, 16, false), (V{"a", "", "b"}));
    EXPECT_EQ(SplitText("a,b,c", ",", false, 2, false), (V{"a", "b"}));
    EXPECT_EQ(SplitText("", ",", false, 16, false), V{});
    EXPECT_EQ(SplitText(",", ",", false, 16, false), (V{"", ""}));
    EXPECT_EQ(SplitText(" a ;\t b ,", ",;", true, 16, true), (V{"a", "b"}));
    EXPECT_EQ(SplitText(" a ;\t b ,", ",;", true, 16, false), (V{"a", "b", ""}));
    EXPECT_EQ(SplitText("w\t\t\tt\textra", "\t", false, 4, false), (V{"w", "", "", "t"}));
    // skipped empty pieces don't count towards the maximum
    EXPECT_EQ(SplitText(",,a,,b,c", ",", false, 2, true), (V{"a", "b"}));
}

TEST(TextFunctions, CharacterClassesAndMappings) {
    EXPECT_EQ(LettersAndDigits(Bytes("der Hund, 2x!", German), German, false), "derHund2x");
    EXPECT_EQ(LettersAndDigits(Bytes("der Hund, 2x!", German), German, true), "der Hund 2x");
    EXPECT_EQ(LettersAndDigits(Bytes("Łódź-Ś", 0x0415), 0x0415, false), Bytes("ŁódźŚ", 0x0415));
    EXPECT_EQ(LettersAndDigits(Bytes("Москва!", Russian), Russian, false),
              Bytes("Москва", Russian));
    EXPECT_EQ(NonAlphanumericTo(Bytes("Ä-b c.", German), German, '_'), Bytes("Ä_b_c_", German));
    EXPECT_EQ(LowerCaseText(Bytes("ÄPFEL Straße", German), German), Bytes("äpfel straße", German));
    EXPECT_EQ(LowerCaseText(Bytes("ΑΘΗΝΑ", 0x0408), 0x0408), Bytes("αθηνα", 0x0408));
    EXPECT_EQ(LowerCaseText(Bytes("ISTANBUL İ", 0x041F), 0x041F), Bytes("ıstanbul i", 0x041F));
    EXPECT_EQ(LowerCaseText(Bytes("I", English), English), "i");
    EXPECT_EQ(RemoveAccents(Bytes("Äpfel élève ñ ß", German), German),
              Bytes("Apfel eleve n ß", German));
    EXPECT_EQ(RemoveAccents(Bytes("Łódź", 0x0415), 0x0415), Bytes("Łodz", 0x0415));
    EXPECT_EQ(RemoveAccents(Bytes("Ёж й", Russian), Russian), Bytes("Еж и", Russian));
    // bytes the code page leaves unassigned are neither letters nor changed
    EXPECT_EQ(LettersAndDigits("a\xD2"
                               "b",
                               0x0408, false),
              "ab");
    EXPECT_EQ(LowerCaseText("\xD2", 0x0408), "\xD2");
    EXPECT_EQ(RemoveAccents("\x81", English), "\x81");
}

} // namespace
} // namespace vocalore
