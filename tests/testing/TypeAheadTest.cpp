#include "testing/TypeAhead.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vocalore;

namespace {

TVocabItem Item(const char* word, int32_t sortPosition) {
    TVocabItem item;
    item.Word = word;
    item.SortPosition = sortPosition;
    return item;
}

TEST(TypeAheadChoice, LooksPastTheSortPositionAndWrapsFromTheSelection) {
    const TVocabItem katze = Item("die Katze", 4);
    const TVocabItem hund = Item("der Hund", 4);
    const TVocabItem kind = Item("das Kind", 4);
    const TVocabItem quote = Item("'s Kaffeehaus", 0); // leading punctuation doesn't count
    const TVocabItem article = Item("der", 4);         // nothing left past the article
    const std::vector<const TVocabItem*> entries{&katze, &hund, &kind, &article};
    constexpr uint16_t German = 0x0407;

    EXPECT_EQ(TypeAheadChoice(entries, -1, "k", German), 0);
    EXPECT_EQ(TypeAheadChoice(entries, 0, "k", German), 2);   // after the selection
    EXPECT_EQ(TypeAheadChoice(entries, 2, "K", German), 0);   // wraps, case ignored
    EXPECT_EQ(TypeAheadChoice(entries, 1, "h", German), 1);   // the selection itself comes last
    EXPECT_EQ(TypeAheadChoice(entries, -1, "d", German), -1); // the article's letter
    EXPECT_EQ(TypeAheadChoice(entries, -1, "z", German), -1);
    EXPECT_EQ(TypeAheadChoice(entries, 7, "k", German), 0); // a stale selection starts over
    EXPECT_EQ(TypeAheadChoice({}, -1, "k", German), -1);
    EXPECT_EQ(TypeAheadChoice(entries, -1, "", German), -1);
    EXPECT_EQ(TypeAheadChoice({&quote}, -1, "s", German), 0); // letters only: 's' of "'s"
    EXPECT_EQ(TypeAheadChoice({&quote}, -1, "k", German), -1);
    // A space right after the sort position is not the first letter either.
    const TVocabItem spaced = Item("der Hund", 3);
    EXPECT_EQ(TypeAheadChoice({&spaced}, -1, "h", German), 0);

    // Accented and Cyrillic first letters compare by the language's own case.
    const TVocabItem apfel = Item("\xC4pfel", 0); // Äpfel in 1252
    EXPECT_EQ(TypeAheadChoice({&apfel}, -1, "\xE4", German), 0);
    const TVocabItem dom = Item("\xC4\xEE\xEC", 0); // Дом in 1251
    EXPECT_EQ(TypeAheadChoice({&dom}, -1, "\xE4", 0x0419), 0);
}

} // namespace
