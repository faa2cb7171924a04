#include "TestDocs.h"

#include "core/Random.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace vocalore;
using namespace vocalore::testdocs;

namespace {

void MarkSaved(TVocabFile& doc) {
    std::ostringstream out;
    doc.SaveToStream(out);
}

struct Snapshot {
    W words;
    int32_t current;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Snap(const TVocabFile& doc) { return {Words(doc), doc.CurrentIndex()}; }

TEST(UndoHistory, SixKindsUndoneAndRedoneInOrder) {
    Random::Seed(7);
    TVocabFile doc;
    Fill(doc, {"delta", "alpha", "charlie", "bravo"});
    doc.ClearUndo();
    doc.SetCurrentIndex(1);
    std::vector<Snapshot> states{Snap(doc)};
    std::vector<TUndoKind> kinds;

    Add(doc, "echo", "", ipAfterCurrent);
    kinds.push_back(ukAdd), states.push_back(Snap(doc));
    doc.PendingItem().Word = "ECHO";
    doc.ReplaceCurrent();
    kinds.push_back(ukEdit), states.push_back(Snap(doc));
    doc.SetCurrentIndex(0);
    doc.DeleteCurrent();
    kinds.push_back(ukDelete), states.push_back(Snap(doc));
    doc.MoveCurrent(3);
    kinds.push_back(ukMove), states.push_back(Snap(doc));
    for (int32_t i = 0; i < doc.Count(); ++i)
        doc.Items(i).SortKey = doc.Items(i).Word;
    doc.Sort();
    kinds.push_back(ukSort), states.push_back(Snap(doc));
    doc.Shuffle();
    kinds.push_back(ukShuffle), states.push_back(Snap(doc));

    ASSERT_EQ(doc.UndoStepCount(), 6);
    for (int k = 5; k >= 0; --k) {
        EXPECT_EQ(doc.UndoKind(), kinds[static_cast<size_t>(k)]);
        doc.Undo();
        // Undo restores the list; the current index is the step's old index,
        // which is the current index before the operation, except for a move
        // of a selected item (old index = where it came from).
        EXPECT_EQ(Snap(doc).words, states[static_cast<size_t>(k)].words) << "undo " << k;
    }
    EXPECT_EQ(Snap(doc), states[0]);
    EXPECT_EQ(doc.UndoKind(), ukNone);
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(doc.RedoKind(), kinds[static_cast<size_t>(k)]);
        doc.Redo();
        EXPECT_EQ(Snap(doc), states[static_cast<size_t>(k) + 1]) << "redo " << k;
    }
    EXPECT_EQ(doc.RedoKind(), ukNone);
    EXPECT_EQ(ErrorOf([&] { doc.Redo(); }), "Invalid procedure call.");
}

TEST(UndoHistory, UndoBackToSavedStateClearsModified) {
    TVocabFile doc;
    Fill(doc, {"a", "b"});
    MarkSaved(doc);
    EXPECT_FALSE(doc.Modified());
    doc.DeleteCurrent();
    EXPECT_TRUE(doc.Modified());
    EXPECT_FALSE(doc.Undo());
    EXPECT_EQ(doc.CurrentIndex(), 1); // the deleted last item is back at the end, selected
    EXPECT_EQ(Words(doc), (W{"a", "b"}));
    EXPECT_TRUE(doc.Redo());
    EXPECT_FALSE(doc.Undo());
    EXPECT_TRUE(doc.Undo()); // before the save: modified again
}

TEST(UndoHistory, NewStepDiscardsRedoStepsAndSavedState) {
    TVocabFile doc;
    Fill(doc, {"a", "b", "c"});
    MarkSaved(doc);
    doc.Undo();
    doc.Undo();
    Add(doc, "x");
    EXPECT_EQ(doc.RedoKind(), ukNone);
    EXPECT_EQ(doc.SavedPosition(), -1);
    EXPECT_TRUE(doc.Undo());
    EXPECT_TRUE(doc.Redo());
    EXPECT_EQ(doc.UndoStepCount(), 2);
}

TEST(UndoHistory, CapsAtFiveHundredSteps) {
    TVocabFile doc;
    Add(doc, "only");
    MarkSaved(doc); // saved at position 1
    for (int i = 0; i < 500; ++i) {
        doc.PendingItem().Word = "edit " + std::to_string(i);
        doc.ReplaceCurrent();
    }
    EXPECT_EQ(doc.UndoStepCount(), 500);
    EXPECT_EQ(doc.SavedPosition(), -1); // the saved state was dropped with the oldest step
    int undone = 0;
    while (doc.UndoKind() != ukNone) {
        EXPECT_TRUE(doc.Undo());
        ++undone;
    }
    EXPECT_EQ(undone, 500);
    EXPECT_EQ(doc.CurrentItem().Word, "only");
}

// Large orders push the oldest steps out before the memory budget is passed;
// the steps kept still undo to exactly the states they came from.
TEST(UndoHistory, StaysWithinItsMemoryBudget) {
    Random::Seed(11);
    TVocabFile doc;
    for (int i = 0; i < 10000; ++i)
        Add(doc, "w" + std::to_string(i));
    MarkSaved(doc);
    const size_t budget = size_t{1} << 20; // 25 orders of 10,000 items
    doc.SetUndoMemoryBudget(budget);
    std::vector<W> states{Words(doc)};
    for (int i = 0; i < 100; ++i) {
        doc.Shuffle();
        states.push_back(Words(doc));
        EXPECT_LE(doc.UndoHistoryBytes(), budget);
    }
    const int32_t kept = doc.UndoStepCount();
    EXPECT_GE(kept, 20);
    EXPECT_LE(kept, 26);
    for (int32_t k = 1; k <= kept; ++k) {
        EXPECT_TRUE(doc.Undo()); // the saved state went with the oldest steps
        EXPECT_EQ(Words(doc), states[states.size() - 1 - static_cast<size_t>(k)]);
    }
    EXPECT_EQ(doc.UndoKind(), ukNone);
    // Small steps after a large one count too, and the newest always stays.
    Add(doc, "new");
    EXPECT_EQ(doc.UndoStepCount(), 1);
    doc.SetUndoMemoryBudget(1);
    doc.Shuffle();
    EXPECT_EQ(doc.UndoStepCount(), 1);
    EXPECT_EQ(doc.UndoKind(), ukShuffle);
    doc.ClearUndo();
    EXPECT_EQ(doc.UndoHistoryBytes(), 0u);
}

TEST(UndoHistory, UndoOfAddReselectsPreviousItem) {
    TVocabFile doc;
    Fill(doc, {"a", "b", "c"});
    doc.SetCurrentIndex(0);
    Add(doc, "x", "", ipAfterCurrent);
    EXPECT_EQ(doc.CurrentIndex(), 1);
    doc.Undo();
    EXPECT_EQ(Words(doc), (W{"a", "b", "c"}));
    EXPECT_EQ(doc.CurrentIndex(), 0);
    doc.Redo();
    EXPECT_EQ(Words(doc), (W{"a", "x", "b", "c"}));
    EXPECT_EQ(doc.CurrentIndex(), 1);
}

// Move Up, Move Down and a drag all leave the moved item current, and so do
// their undo and redo, wherever the selection went in between: the user sees
// the item being put back.
TEST(UndoHistory, UndoOfAMoveKeepsTheMovedItemCurrent) {
    TVocabFile doc;
    Fill(doc, {"a", "b", "c", "d", "e"});
    doc.ClearUndo();
    doc.SetCurrentIndex(2);
    doc.MoveCurrent(1); // up
    doc.MoveCurrent(0); // up again
    ASSERT_EQ(Words(doc), (W{"c", "a", "b", "d", "e"}));
    doc.SetCurrentIndex(4);
    doc.Undo();
    EXPECT_EQ(Words(doc), (W{"a", "c", "b", "d", "e"}));
    EXPECT_EQ(doc.CurrentIndex(), 1);
    doc.Undo();
    EXPECT_EQ(Words(doc), (W{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(doc.CurrentIndex(), 2);
    doc.Redo();
    EXPECT_EQ(doc.CurrentIndex(), 1);
    EXPECT_EQ(doc.CurrentItem().Word, "c");
    doc.Undo();

    doc.SetCurrentIndex(3);
    doc.MoveCurrent(4); // down to the end
    doc.SetCurrentIndex(0);
    doc.Undo();
    EXPECT_EQ(Words(doc), (W{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(doc.CurrentIndex(), 3);

    doc.SetCurrentIndex(4);
    doc.MoveCurrent(0); // dragged to the top
    doc.Undo();
    EXPECT_EQ(doc.CurrentIndex(), 4);
    EXPECT_EQ(doc.CurrentItem().Word, "e");
    doc.Redo();
    EXPECT_EQ(Words(doc), (W{"e", "a", "b", "c", "d"}));
    EXPECT_EQ(doc.CurrentIndex(), 0);
}

TEST(UndoHistory, OtherEventsAndTheHistory) {
    TVocabFile doc;
    Fill(doc, {"a", "b"});
    doc.SetCurrentIndex(0);
    doc.ForeignLangID = 0x0407;
    EXPECT_EQ(doc.UndoStepCount(), 2); // index and language changes record nothing
    doc.SetProperty(0, "desc");
    EXPECT_EQ(doc.UndoStepCount(), 2);
    EXPECT_EQ(doc.SavedPosition(), -1);
    doc.ClearUndo();
    EXPECT_EQ(doc.UndoKind(), ukNone);
    EXPECT_EQ(doc.SavedPosition(), -1); // callers set it
    EXPECT_EQ(ErrorOf([&] { doc.Undo(); }), "Invalid procedure call.");
    doc.Clear();
    EXPECT_EQ(doc.SavedPosition(), 0);
}

// Random operations against a plain model of the list: undo and redo always
// bring back exactly the list each step started from.
TEST(UndoHistory, RandomOperationsRoundTrip) {
    Random::Seed(42);
    TVocabFile doc;
    std::vector<W> history{Words(doc)};
    int counter = 0;
    for (int round = 0; round < 300; ++round) {
        const int op = Random::Index(doc.Count() == 0 ? 1 : 5);
        if (op == 0) {
            Add(doc, "w" + std::to_string(counter++), "",
                Random::Index(2) ? ipAtEnd : ipAfterCurrent);
        } else if (op == 1) {
            doc.PendingItem().Word = "e" + std::to_string(counter++);
            doc.SetCurrentIndex(Random::Index(doc.Count()));
            doc.ReplaceCurrent();
        } else if (op == 2) {
            doc.SetCurrentIndex(Random::Index(doc.Count()));
            doc.DeleteCurrent();
        } else if (op == 3) {
            doc.SetCurrentIndex(Random::Index(doc.Count()));
            const int32_t target = Random::Index(doc.Count());
            if (target == doc.CurrentIndex())
                continue;
            doc.MoveCurrent(target);
        } else {
            doc.Shuffle();
        }
        history.push_back(Words(doc));
    }
    for (size_t k = history.size() - 1; k > 0; --k) {
        ASSERT_EQ(Words(doc), history[k]);
        doc.Undo();
    }
    EXPECT_EQ(Words(doc), history[0]);
    for (size_t k = 1; k < history.size(); ++k) {
        doc.Redo();
        ASSERT_EQ(Words(doc), history[k]);
    }
}

} // namespace
