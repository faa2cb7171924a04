// The text rules of the Edit dialog: spaces and the '@' sort marker.
#include "core/EditRecord.h"
#include "core/VocabItem.h"

#include <gtest/gtest.h>

namespace vocalore {
namespace {

TEST(EditRecord, SpacesAreTrimmedAndRunsBecomeOne) {
    EXPECT_EQ(NormalizeSpaces("   "), "");
    EXPECT_EQ(NormalizeSpaces("  der   Hund  "), "der Hund");
    EXPECT_EQ(NormalizeSpaces("a b"), "a b");
    // Only the space character: tabs and other blanks are text.
    EXPECT_EQ(NormalizeSpaces(" a\t\tb\xA0 "), "a\t\tb\xA0");
    EXPECT_EQ(NormalizeSpaces(""), "");
}

TEST(EditRecord, FirstMarkerGivesTheSortPosition) {
    struct TCase {
        const char* Shown;
        bool Require;
        const char* Word;
        int32_t Position;
    } cases[] = {
        {"der @Hund", false, "der Hund", 4},
        {"@Hund", false, "Hund", 0},
        {"@Hund", true, "Hund", 0},
        {"Hund", false, "Hund", 0},
        {"Hund", true, "Hund", -1},
        {"Hund@", false, "Hund", 0},
        {"Hund@", true, "Hund", -1},
        {"a@b@c", false, "ab@c", 1},
        {"@", false, "", 0},
        {"x@@", true, "x@", 1},
    };
    for (const TCase& c : cases) {
        std::string word = c.Shown;
        EXPECT_EQ(TakeSortMarker(word, c.Require), c.Position) << c.Shown;
        EXPECT_EQ(word, c.Word) << c.Shown;
    }
}

TEST(EditRecord, MarkerIsShownPastTheStartOrWhenRequired) {
    EXPECT_EQ(WordWithSortMarker("der Hund", 4, false), "der @Hund");
    EXPECT_EQ(WordWithSortMarker("Hund", 0, false), "Hund");
    EXPECT_EQ(WordWithSortMarker("Hund", 0, true), "@Hund");
    // A damaged position beyond the word puts the marker at its end.
    EXPECT_EQ(WordWithSortMarker("Hund", 9, false), "Hund@");
    EXPECT_EQ(WordWithSortMarker("Hund", -3, true), "@Hund");
    // Shown and parsed again, the position survives.
    std::string word = WordWithSortMarker("das Haus", 4, true);
    EXPECT_EQ(TakeSortMarker(word, true), 4);
    EXPECT_EQ(word, "das Haus");
}

TEST(EditRecord, FilledItemStartsAFreshTestHistory) {
    TVocabItem item;
    item.PenaltyPoints = -1;
    item.LastTested = 12;
    item.DisplayWidth = 300;
    item.SortKey = "k";
    FillItem(item, {"der Hund", "noun", "masc.", "dog", 4});
    EXPECT_EQ(item.Word, "der Hund");
    EXPECT_EQ(item.Category, "noun");
    EXPECT_EQ(item.Notes, "masc.");
    EXPECT_EQ(item.Translation, "dog");
    EXPECT_EQ(item.SortPosition, 4);
    EXPECT_EQ(item.PenaltyPoints, 0);
    EXPECT_EQ(item.LastTested, 0);
    EXPECT_EQ(item.DisplayWidth, 0);
    const TEditRecord back = EditRecordOf(item);
    EXPECT_EQ(back.Word, "der Hund");
    EXPECT_EQ(back.SortPosition, 4);
}

} // namespace
} // namespace vocalore
