// Sort, Shuffle and FindNext on a document, with their history steps.
#include "core/CodePage.h"
#include "core/Random.h"
#include "core/VocabFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace vocalore {
namespace {

constexpr uint16_t German = 0x0407;
constexpr uint16_t English = 0x0409;

class SortSearch : public ::testing::Test {
protected:
    void SetUp() override {
        Doc.ForeignLangID = German;
        Doc.NativeLangID = English;
    }
    // Words in UTF-8; the translation is the word's position of insertion.
    void Add(const char* word, int32_t sortPosition = 0, const char* translation = "") {
        TVocabItem& item = Doc.PendingItem();
        item.Word = FromUtf8(word, German).value();
        item.SortPosition = sortPosition;
        item.Translation = translation;
        Doc.InsertPending(ipAtEnd);
    }
    std::vector<std::string> Words() const {
        std::vector<std::string> words;
        for (int32_t i = 0; i < Doc.Count(); ++i)
            words.push_back(ToUtf8(Doc.Items(i).Word, German));
        return words;
    }
    void SortNow() {
        Doc.FillSortKeys();
        Doc.Sort();
    }
    int32_t Find(const char* text, uint8_t field = fiWord, uint8_t options = 0) const {
        const uint16_t language = field == fiWord ? German : English;
        return Doc.FindNext({FromUtf8(text, language).value(), field, options});
    }
    TVocabFile Doc;
};

using WordList = std::vector<std::string>;

TEST_F(SortSearch, SortFollowsTheLanguageIgnoringCaseAndPunctuation) {
    Add("Zoo");
    Add("apple");
    Add("Äpfel");
    SortNow();
    EXPECT_EQ(Words(), (WordList{"Äpfel", "apple", "Zoo"}));

    TVocabFile other;
    other.ForeignLangID = German;
    for (const char* word : {"b-c", "B", "'a", "ab", "a c"}) {
        other.PendingItem().Word = word;
        other.InsertPending(ipAtEnd);
    }
    other.FillSortKeys();
    other.Sort();
    std::vector<std::string> words;
    for (int32_t i = 0; i < other.Count(); ++i)
        words.push_back(other.Items(i).Word);
    // "'a" sorts as "a"; the kept space puts "a c" before "ab"
    EXPECT_EQ(words, (WordList{"'a", "a c", "ab", "B", "b-c"}));
}

TEST_F(SortSearch, SortSkipsTheLeadingCharactersOfTheSortPosition) {
    Add("der Hund", 4);
    Add("die Katze", 4);
    Add("das Auto", 4);
    Add("Zebra");
    Add("x", 5); // beyond the end: an empty key, first
    SortNow();
    EXPECT_EQ(Words(), (WordList{"x", "das Auto", "der Hund", "die Katze", "Zebra"}));
}

TEST_F(SortSearch, SortKeepsTheCurrentItemAndUndoRestoresOrder) {
    Add("c");
    Add("a");
    Add("b");
    Doc.SetCurrentIndex(0); // "c"
    SortNow();
    EXPECT_EQ(Words(), (WordList{"a", "b", "c"}));
    EXPECT_EQ(Doc.CurrentIndex(), 2);
    EXPECT_EQ(Doc.UndoKind(), ukSort);
    EXPECT_TRUE(Doc.Modified());
    Doc.Undo();
    EXPECT_EQ(Words(), (WordList{"c", "a", "b"}));
    EXPECT_EQ(Doc.CurrentIndex(), 0);
    Doc.Redo();
    EXPECT_EQ(Words(), (WordList{"a", "b", "c"}));
    EXPECT_EQ(Doc.CurrentIndex(), 2);
}

TEST_F(SortSearch, SortingASortedOrEmptyListStillRecordsAStep) {
    SortNow();
    EXPECT_EQ(Doc.UndoKind(), ukSort);
    EXPECT_TRUE(Doc.Modified());
    EXPECT_EQ(Doc.CurrentIndex(), -1);

    TVocabFile sorted;
    sorted.ForeignLangID = German;
    sorted.PendingItem().Word = "a";
    sorted.InsertPending(ipAtEnd);
    std::stringstream file;
    sorted.SaveToStream(file);
    sorted.LoadFromStream(file); // now unmodified
    ASSERT_FALSE(sorted.Modified());
    sorted.FillSortKeys();
    sorted.Sort();
    EXPECT_TRUE(sorted.Modified());
    EXPECT_FALSE(sorted.Undo());
}

TEST_F(SortSearch, ShuffleIsAPermutationWithItsStep) {
    for (int i = 0; i < 50; ++i)
        Add(std::to_string(i).c_str());
    Doc.SetCurrentIndex(7);
    const TVocabItem* current = &Doc.CurrentItem();
    const WordList before = Words();
    Random::Seed(42);
    Doc.Shuffle();
    WordList after = Words();
    EXPECT_NE(after, before);
    EXPECT_EQ(&Doc.CurrentItem(), current);
    EXPECT_EQ(Doc.UndoKind(), ukShuffle);
    std::sort(after.begin(), after.end());
    WordList sortedBefore = before;
    std::sort(sortedBefore.begin(), sortedBefore.end());
    EXPECT_EQ(after, sortedBefore);
    // the same seed gives the same order
    const WordList shuffled = Words();
    Doc.Undo();
    EXPECT_EQ(Words(), before);
    EXPECT_EQ(Doc.CurrentIndex(), 7);
    Random::Seed(42);
    Doc.Shuffle();
    EXPECT_EQ(Words(), shuffled);
}

// Each position in turn swaps with one drawn from the whole list, not only
// from the positions not yet visited.
TEST_F(SortSearch, ShuffleSwapsEachPositionWithAnyPosition) {
    const int n = 6;
    WordList expected;
    for (int i = 0; i < n; ++i) {
        Add(std::to_string(i).c_str());
        expected.push_back(std::to_string(i));
    }
    Random::Seed(2024);
    for (int i = 0; i < n; ++i)
        std::swap(expected[static_cast<size_t>(i)],
                  expected[static_cast<size_t>(Random::Index(n))]);
    Random::Seed(2024);
    Doc.Shuffle();
    EXPECT_EQ(Words(), expected);
}

TEST_F(SortSearch, ShuffleOfOneItemKeepsItCurrent) {
    Add("only");
    Doc.Shuffle();
    EXPECT_EQ(Doc.CurrentIndex(), 0);
    EXPECT_EQ(Doc.UndoKind(), ukShuffle);
}

TEST_F(SortSearch, FindNextWrapsAndVisitsTheCurrentItemLast) {
    Add("Haus");
    Add("Hund");
    Add("Haus am See");
    Doc.SetCurrentIndex(0);
    EXPECT_EQ(Find("haus"), 2);
    Doc.SetCurrentIndex(2);
    EXPECT_EQ(Find("haus"), 0);
    EXPECT_EQ(Find("hund"), 1);
    Doc.SetCurrentIndex(1);
    EXPECT_EQ(Find("hund"), 1); // the only match is found after all others
    Doc.SetCurrentIndex(-1);
    EXPECT_EQ(Find("haus"), 0);
    EXPECT_EQ(Find("katze"), -1);
    EXPECT_EQ(Find(""), -1);
    EXPECT_EQ(Doc.CurrentIndex(), -1);
    EXPECT_EQ(Doc.UndoKind(), ukAdd); // searching changes nothing
}

TEST_F(SortSearch, FindNextOptions) {
    Add("Haus");                              // 0
    Add("Äpfel", 0, "apples");                // 1
    Add("der Hund.", 0, "the dog");           // 2
    Add("Hundehütte", 0, "kennel, doghouse"); // 3
    struct {
        const char* Text;
        uint8_t Field;
        uint8_t Options;
        int32_t Found;
    } const cases[] = {
        {"haus", fiWord, 0, 0},
        {"haus", fiWord, soMatchCase, -1},
        {"Haus", fiWord, soMatchCase, 0},
        {"apfel", fiWord, 0, 1},
        {"apfel", fiWord, soMatchAccents, -1},
        {"äpfel", fiWord, soMatchAccents, 1},
        {"aepfel", fiWord, 0, -1},
        {"Hund", fiWord, soMatchWord, 2},
        {"Hund", fiWord, 0, 2},
        {"hütte", fiWord, soMatchWord, -1},
        {"hutte", fiWord, 0, 3},
        {"dog", fiTranslation, 0, 2},
        {"dog", fiTranslation, soMatchWord, 2},
        {"doghouse", fiTranslation, soMatchWord, 3},
        {"dog", fiNotes, 0, -1},
        {"dog", 4, 0, -1},
    };
    Doc.SetCurrentIndex(-1);
    for (const auto& c : cases)
        EXPECT_EQ(Find(c.Text, c.Field, c.Options), c.Found)
            << c.Text << " field " << int(c.Field) << " options " << int(c.Options);
    // From "der Hund." the whole word passes over "Hundehütte" and comes back.
    Doc.SetCurrentIndex(2);
    EXPECT_EQ(Find("Hund", fiWord, soMatchWord), 2);
    EXPECT_EQ(Find("Hund", fiWord, 0), 3);
}

TEST(SearchFormTest, NormalForms) {
    EXPECT_EQ(TVocabFile::SearchForm("\xc4pfel-Baum", German, 0), "apfel-baum");
    EXPECT_EQ(TVocabFile::SearchForm("\xc4pfel-Baum", German, soMatchCase), "Apfel-Baum");
    EXPECT_EQ(TVocabFile::SearchForm("\xc4pfel-Baum", German, soMatchAccents), "\xe4pfel-baum");
    EXPECT_EQ(TVocabFile::SearchForm("\xc4pfel-Baum", German, soMatchWord), " apfel baum ");
    EXPECT_EQ(TVocabFile::SearchForm("", German, soMatchWord), "  ");
}

} // namespace
} // namespace vocalore

namespace vocalore {

namespace {

std::vector<std::string> SortedWords(uint16_t language,
                                     std::vector<std::pair<std::string, int>> rows) {
    TVocabFile doc;
    doc.ForeignLangID = language;
    for (const auto& [word, position] : rows) {
        doc.PendingItem().Word = word;
        doc.PendingItem().SortPosition = position;
        doc.InsertPending(ipAtEnd);
    }
    doc.FillSortKeys();
    doc.Sort();
    std::vector<std::string> words;
    for (int32_t i = 0; i < doc.Count(); ++i)
        words.push_back(doc.Items(i).Word);
    return words;
}

} // namespace

// Sorting follows the foreign language's own alphabet, on its letters, digits
// and spaces only, after the skipped beginning of each word.
TEST(SortOrder, LanguageAlphabetLettersAndSkippedBeginning) {
    using V = std::vector<std::string>;
    // Swedish: Ä and Ö after Z; Czech: "ch" after "h"; Spanish: ñ after n.
    EXPECT_EQ(SortedWords(0x041D, {{"\xD6l", 0}, {"Zebra", 0}, {"Apa", 0}}),
              (V{"Apa", "Zebra", "\xD6l"}));
    EXPECT_EQ(SortedWords(0x0405, {{"chata", 0}, {"hrad", 0}, {"ihned", 0}}),
              (V{"hrad", "chata", "ihned"}));
    EXPECT_EQ(SortedWords(0x0C0A, {{"\xF1u", 0}, {"nube", 0}, {"oso", 0}}),
              (V{"nube", "\xF1u", "oso"}));
    EXPECT_EQ(SortedWords(0x0407, {{"\xD6l", 0}, {"Zebra", 0}, {"Apa", 0}}),
              (V{"Apa", "\xD6l", "Zebra"}));
    // Punctuation doesn't count: "-b" is a "b".
    EXPECT_EQ(SortedWords(0x0409, {{"-b", 0}, {"a", 0}, {"c", 0}}), (V{"a", "-b", "c"}));
    // Exactly SortPosition characters are skipped: "der Hund" sorts as "Hund".
    EXPECT_EQ(SortedWords(0x0407, {{"Igel", 0}, {"der Hund", 4}, {"Gans", 0}}),
              (V{"Gans", "der Hund", "Igel"}));
}

// Fields 1 to 3 are searched in the native language's code page: the byte
// 0xC4 is "Ä" in German (found as "a" when accents don't count) but "Д" in
// Russian.
TEST(FindNext, NativeFieldsUseTheNativeCodePage) {
    TVocabFile doc;
    doc.ForeignLangID = 0x0419; // Russian, 1251
    doc.NativeLangID = 0x0407;  // German, 1252
    doc.PendingItem().Word = "\xC4";
    doc.PendingItem().Notes = "\xC4";
    doc.PendingItem().Category = "\xC4";
    doc.PendingItem().Translation = "\xC4";
    doc.InsertPending(ipAtEnd);
    for (uint8_t field : {1, 2, 3})
        EXPECT_EQ(doc.FindNext(TSearchData{"a", field, 0}), 0) << int{field};
    EXPECT_EQ(doc.FindNext(TSearchData{"a", 0, 0}), -1);
}

} // namespace vocalore
