// Answer matching, rule by rule. Texts are written in UTF-8 here and turned
// into the bytes of the language's code page, as items store them.
#include "core/CodePage.h"
#include "core/Languages.h"
#include "core/TextFunctions.h"

#include <gtest/gtest.h>
#include <unicode/ustring.h>

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

// Ten "/" words mean a million variants and ten bracket pairs 59,049; each
// answer is judged exactly, the right ones found however deep they lie.
TEST(MatchAnswer, ManyAlternativesAreJudgedExactly) {
    const char* pairs = "a/b c/d e/f g/h i/j k/l m/n o/p q/r s/t";
    const char* threes = "a/b/c d/e/f g/h/i j/k/l m/n/o p/q/r s/t/u v/w/x y/z/a b/c/d";
    CheckCases({
        {English, efDefaultPassive, pairs, "b d f h j l n p r t", true},
        {English, efDefaultPassive, pairs, "b/a d/c f/e h/g j/i l/k n/m p/o r/q t/s", true},
        {English, efDefaultPassive, pairs, "a d f h j l n p r t", true},
        {English, efDefaultPassive, pairs, "b d f h j l n p r", false},
        {English, efDefaultPassive, pairs, "b d f h j l n p r a", false},
        {English, efDefaultPassive, threes, threes, true},
        {English, efDefaultPassive, threes, "a d g j m p s v y b", true},
        {English, efDefaultPassive, threes,
         "b/c/a e/f/d h/i/g k/l/j n/o/m q/r/p t/u/s w/x/v z/a/y c/d/b", true},
        {English, efDefaultPassive, threes, "c e g j m p s v y b", true},
        {English, efDefaultPassive, threes, "zzz", false},
        {English, efDefaultPassive, threes, "c/b/a f e d", false},
        {English, efDefaultPassive,
         "(to) (be) big/large (and) (very) old/ancient (in) (the) town/city",
         "be large and old in the city", true},
        {English, 0x004, "(a) (b) (c) (d) (e) (f) (g) (h) (i) (j) k", "j k", true},
        {English, 0x004, "(a) (b) (c) (d) (e) (f) (g) (h) (i) (j) k", "a c e g i k", true},
        {English, 0x004, "(a) (b) (c) (d) (e) (f) (g) (h) (i) (j) k",
         "(a) b (c) d (e) f (g) h (i) j k", true},
        {English, 0x004, "(a) (b) (c) (d) (e) (f) (g) (h) (i) (j) k", "a c e g i", false},
        // the settled beginning with every rule below: contractions, "iz",
        // "to " taken off, case and punctuation
        {English, efDefaultPassive, "to realize/grasp (it) won't/can't stop, x",
         "Realise, it WON'T stop!", false},
        {English, efDefaultPassive | efIncompleteList, "to realize/grasp (it) won't/can't stop, x",
         "Realise it will not stop", true},
        {English, efDefaultPassive, "to organize/order (the) (big) house/flat", "organise big flat",
         true},
    });
}

// Whether "(a)(b)" loses a space depends on which part goes first; every
// order counts, as when each removal starts the search again.
TEST(MatchAnswer, RuleBTouchingPairsTakeEveryOrder) {
    CheckCases({
        {English, 0x004, "( a)( a) a", "a a", true},
        {English, 0x004, "( a)( a) a", " a a", true},
        {English, 0x004, "a (b)(c)", "a", true},
        {English, 0x004, "a (b)(c)", "a b", true},
        {English, 0x004, "a (b)(c)", "a c", true},
        {English, 0x004, "a (b)(c)", "a bc", true},
        {English, 0x004, "a (b)(c)", "a (b)", true},
        {English, 0x004, "a (b)(c)", "a c b", false},
        // a "/" word inside the last of the touching pairs
        {English, 0x00C, "(a)(b)(c d/e)", "c e", true},
        {English, 0x00C, "(a)(b)(c d/e)", "ab", true},
        {English, 0x00C, "x (a)(b)(c d/e)", "x", true},
        {English, efDefaultPassive, "(a)(b)(c d/e)", "a b", true},
        {English, efDefaultPassive, "(a)(b)(c d/e)", "b e", false},
    });
}

// A hostile text with billions of equally promising variants is cut short
// and counts as wrong; it must not freeze the window.
TEST(MatchAnswer, HostileTextsStopAtTheGuard) {
    std::string alternatives;
    std::string letters;
    for (int i = 0; i < 30; ++i) {
        alternatives += i == 0 ? "a/a" : " a/a";
        letters += 'a';
    }
    EXPECT_FALSE(
        MatchAnswer(alternatives, letters + "b", English, efIgnorePunctuation | efAlternatives));
    std::string touching;
    for (int i = 0; i < 20; ++i)
        touching += "(a)";
    EXPECT_FALSE(MatchAnswer(touching, letters.substr(0, 20) + "b", English, efOptionalBrackets));
    // Once cut short, the rest of the answer is wrong too: a hostile first
    // translation doesn't let the comparisons after it through.
    EXPECT_FALSE(MatchAnswer(touching + ", x", letters.substr(0, 20) + "b, y", English,
                             efOptionalBrackets | efTranslationList | efAnyOrder));
}

// "Ignore capitalization" takes letter case and nothing else away.
TEST(MatchAnswer, IgnoreCaseFoldsLetterCaseOnly) {
    constexpr uint16_t Greek = 0x0408;
    constexpr uint16_t Turkish = 0x041F;
    constexpr uint16_t Spanish = 0x0C0A;
    CheckCases({
        {English, 0x001, "x²", "x2", false},
        {English, 0x003, "x²", "x2", false},
        {Spanish, 0x001, "ª", "a", false},
        {Spanish, 0x001, "1º", "1o", false},
        {Spanish, 0x001, "1º", "1O", false},
        {Greek, 0x001, "λόγος", "λόγοσ", false},
        {Greek, 0x001, "λόγος", "ΛΌΓΟΣ", true},
        {Greek, 0x001, "λόγοσ", "ΛΌΓΟΣ", false},
        {Greek, 0x001, "σοφός", "ΣΟΦΌΣ", true},
        {Greek, 0x001, "λόγος", "λογος", false},
        {German, 0x001, "Straße", "STRASSE", true},
        {German, 0x001, "STRASSE", "straße", true},
        {German, 0x000, "Straße", "STRASSE", false},
        {German, 0x001, "Straße", "Strase", false},
        {Turkish, 0x001, "ılık", "ILIK", true},
        {Turkish, 0x001, "iyi", "İYİ", true},
        {Turkish, 0x001, "iyi", "IYI", false},
        {Turkish, 0x001, "ılık", "İLİK", false},
        {English, 0x001, "iyi", "IYI", true},
        {French, 0x001, "Œuvre", "œUVRE", true},
        {French, 0x001, "ÿ", "Ÿ", true},
        {Russian, 0x001, "Ёлка", "ёЛКА", true},
        {Russian, 0x001, "Ёлка", "елка", false},
    });
}

// Every upper- and lower-case pair that a language's code page holds is
// equal with 0x001 and different without it.
TEST(MatchAnswer, EveryCasePairOfTheOfferedLanguages) {
    for (const TLanguageEntry& entry : LanguageList()) {
        const TCodePage& page = TCodePage::ForLanguage(entry.Id);
        const std::string locale = LanguageLocale(entry.Id);
        // Greek capitals lose their accents in the Greek upper case; only
        // the dotted and dotless i need the language.
        const bool turkic = locale.rfind("tr", 0) == 0 || locale.rfind("az", 0) == 0;
        const char* upperLocale = turkic ? locale.c_str() : "";
        for (int b = 0x41; b < 256; ++b) {
            const char16_t lower = page.Decode(static_cast<unsigned char>(b));
            if (lower == 0x03C2) // a final sigma alone has no capital of its own
                continue;
            UChar upper[4];
            UChar back[4];
            UErrorCode status = U_ZERO_ERROR;
            const int32_t length = u_strToUpper(upper, 4, &lower, 1, upperLocale, &status);
            if (U_FAILURE(status) || length != 1 || upper[0] == lower)
                continue;
            // A pair of the language: its capital turns back into it.
            const int32_t backLength = u_strToLower(back, 4, upper, 1, locale.c_str(), &status);
            if (U_FAILURE(status) || backLength != 1 || back[0] != lower)
                continue;
            const auto upperByte = page.Encode(upper[0]);
            if (!upperByte)
                continue;
            const std::string small(1, static_cast<char>(b));
            const std::string capital(1, static_cast<char>(*upperByte));
            EXPECT_TRUE(MatchAnswer(small, capital, entry.Id, efIgnoreCase))
                << entry.Name << " byte " << b;
            EXPECT_FALSE(MatchAnswer(small, capital, entry.Id, 0)) << entry.Name << " byte " << b;
        }
    }
}

// Canonically equal texts are equal answers: Vietnamese stores accents as
// combining marks beside precomposed letters.
TEST(MatchAnswer, CanonicallyEqualTextsMatch) {
    constexpr uint16_t Vietnamese = 0x042A;
    const TCodePage* page = TCodePage::ForCodePage(1258);
    ASSERT_NE(page, nullptr);
    const auto composed = page->FromUtf16(u"\u00C0");    // À
    const auto decomposed = page->FromUtf16(u"A\u0300"); // A + grave
    ASSERT_TRUE(composed && decomposed);
    EXPECT_TRUE(MatchAnswer(*composed, *decomposed, Vietnamese, 0));
    EXPECT_FALSE(MatchAnswer(*composed, "A", Vietnamese, 0x003));
    EXPECT_TRUE(
        MatchAnswer(*composed, page->FromUtf16(u"a\u0300").value_or(""), Vietnamese, 0x001));
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
    EXPECT_EQ(RemoveAccents("a\xD2", 0x0408), "a\xD2");
    EXPECT_EQ(RemoveAccents("\x81", English), "\x81");
}

} // namespace
} // namespace vocalore
