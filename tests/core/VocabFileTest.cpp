#include "TestDocs.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vocalore;
using namespace vocalore::testdocs;

namespace {

TEST(VocabFile, NewDocumentIsEmptyAndUnmodified) {
    TVocabFile doc;
    EXPECT_EQ(doc.Count(), 0);
    EXPECT_EQ(doc.CurrentIndex(), -1);
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(doc.UndoKind(), ukNone);
    EXPECT_EQ(doc.SavedPosition(), 0);
}

TEST(VocabFile, InsertPendingPositions) {
    TVocabFile doc;
    Add(doc, "a", "", ipAfterCurrent); // empty document: appended and selected
    EXPECT_EQ(doc.CurrentIndex(), 0);
    Add(doc, "b");
    Add(doc, "c");
    doc.SetCurrentIndex(0);
    Add(doc, "x", "", ipAfterCurrent);
    EXPECT_EQ(Words(doc), (W{"a", "x", "b", "c"}));
    EXPECT_EQ(doc.CurrentIndex(), 1);
    doc.SetCurrentIndex(-1);
    Add(doc, "y", "", ipAfterCurrent); // no current item: appended whatever the position
    EXPECT_EQ(Words(doc), (W{"a", "x", "b", "c", "y"}));
    EXPECT_EQ(doc.CurrentIndex(), 4);
    EXPECT_TRUE(doc.Modified());
    // The pending slot is fresh after each insert.
    EXPECT_TRUE(doc.PendingItem().Word.empty());
    EXPECT_EQ(doc.PendingItem().PenaltyPoints, 0);
}

TEST(VocabFile, DeleteCurrentSelectsNeighbour) {
    TVocabFile doc;
    Fill(doc, {"a", "b", "c"});
    doc.SetCurrentIndex(1);
    doc.DeleteCurrent(); // the item that moved into its place
    EXPECT_EQ(Words(doc), (W{"a", "c"}));
    EXPECT_EQ(doc.CurrentIndex(), 1);
    doc.DeleteCurrent(); // the last: the new last item
    EXPECT_EQ(doc.CurrentIndex(), 0);
    doc.DeleteCurrent(); // the only one
    EXPECT_EQ(doc.Count(), 0);
    EXPECT_EQ(doc.CurrentIndex(), -1);
    EXPECT_EQ(ErrorOf([&] { doc.DeleteCurrent(); }), "No current item");
}

TEST(VocabFile, MoveCurrent) {
    TVocabFile doc;
    Fill(doc, {"a", "b", "c", "d"});
    doc.SetCurrentIndex(0);
    doc.MoveCurrent(2);
    EXPECT_EQ(Words(doc), (W{"b", "c", "a", "d"}));
    EXPECT_EQ(doc.CurrentIndex(), 2);
    doc.MoveCurrent(0);
    EXPECT_EQ(Words(doc), (W{"a", "b", "c", "d"}));
    const int32_t steps = doc.UndoStepCount();
    doc.MoveCurrent(0); // to itself: nothing recorded
    EXPECT_EQ(doc.UndoStepCount(), steps);
    EXPECT_EQ(ErrorOf([&] { doc.MoveCurrent(4); }), "Invalid item index");
    EXPECT_EQ(ErrorOf([&] { doc.MoveCurrent(-1); }), "Invalid item index");
    doc.SetCurrentIndex(-1);
    EXPECT_EQ(ErrorOf([&] { doc.MoveCurrent(1); }), "No current item");
}

TEST(VocabFile, RefusalsLeaveStateAlone) {
    TVocabFile doc;
    Fill(doc, {"a", "b"});
    EXPECT_EQ(ErrorOf([&] { doc.SetCurrentIndex(2); }), "Invalid property value.");
    EXPECT_EQ(ErrorOf([&] { doc.SetCurrentIndex(-2); }), "Invalid property value.");
    EXPECT_EQ(doc.CurrentIndex(), 1);
    doc.SetCurrentIndex(-1);
    EXPECT_EQ(ErrorOf([&] { doc.CurrentItem(); }), "No current item");
    EXPECT_EQ(ErrorOf([&] { doc.ReplaceCurrent(); }), "No current item");
    EXPECT_EQ(ErrorOf([&] { doc.Items(2); }), "Invalid item index");
    EXPECT_EQ(ErrorOf([&] { doc.Items(-1); }), "Invalid item index");
    EXPECT_EQ(ErrorOf([&] { doc.GetProperty(8); }), "Invalid property array index.");
    EXPECT_EQ(ErrorOf([&] { doc.SetProperty(-1, "x"); }), "Invalid property array index.");
    EXPECT_EQ(doc.UndoStepCount(), 2);
}

TEST(VocabFile, ReplaceCurrentStartsStatisticsAfresh) {
    TVocabFile doc;
    Add(doc, "Haus", "house");
    doc.CurrentItem().PenaltyPoints = -1;
    doc.CurrentItem().LastTested = 7;
    TVocabItem& pending = doc.PendingItem();
    pending.Word = "Haus";
    pending.Translation = "house, home";
    doc.ReplaceCurrent();
    EXPECT_EQ(doc.CurrentItem().Translation, "house, home");
    EXPECT_EQ(doc.CurrentItem().PenaltyPoints, 0);
    EXPECT_EQ(doc.CurrentItem().LastTested, 0);
    EXPECT_EQ(doc.UndoKind(), ukEdit);
    doc.Undo(); // the old item with its statistics, not only its texts
    EXPECT_EQ(doc.CurrentItem().Translation, "house");
    EXPECT_EQ(doc.CurrentItem().PenaltyPoints, -1);
    EXPECT_EQ(doc.CurrentItem().LastTested, 7);
}

TEST(VocabFile, SetPropertyModifiesOnlyOnChange) {
    TVocabFile doc;
    doc.SetProperty(piAuthor, "");
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(doc.SavedPosition(), 0);
    doc.SetProperty(piAuthor, "Ann");
    EXPECT_TRUE(doc.Modified());
    EXPECT_EQ(doc.SavedPosition(), -1);
    EXPECT_EQ(doc.GetProperty(piAuthor), "Ann");
    EXPECT_EQ(doc.UndoStepCount(), 0);
}

TEST(VocabFile, SameLanguagesIgnoresSubLanguages) {
    TVocabFile doc;
    doc.ForeignLangID = 0x0407;                      // German (Germany)
    doc.NativeLangID = 0x0409;                       // English (United States)
    EXPECT_TRUE(doc.SameLanguages(0x0C07, 0x0809));  // Austria, United Kingdom
    EXPECT_FALSE(doc.SameLanguages(0x0409, 0x0407)); // exchanged
    EXPECT_FALSE(doc.SameLanguages(0x0407, 0x040C));
}

TEST(VocabFile, ClearKeepsPendingItem) {
    TVocabFile doc;
    Fill(doc, {"a"});
    doc.SetProperty(0, "d");
    doc.PendingItem().Word = "half-typed";
    doc.Clear();
    EXPECT_EQ(doc.Count(), 0);
    EXPECT_EQ(doc.GetProperty(0), "");
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(doc.UndoKind(), ukNone);
    EXPECT_EQ(doc.PendingItem().Word, "half-typed");
}

class MergeFileTest : public ::testing::Test {
protected:
    TTempDir dir;
};

TEST_F(MergeFileTest, AppendsUnlearntCopiesAndEmptiesHistory) {
    TVocabFile source;
    source.ForeignLangID = 0x0C07;
    source.NativeLangID = 0x0809;
    Add(source, "der Hund", "dog");
    source.Items(0).SortPosition = 4;
    source.Items(0).PenaltyPoints = -1;
    source.Items(0).LastTested = 12;
    Add(source, "die Katze", "cat");
    source.SetProperty(0, "not taken over");
    const std::string path = dir / "source.vlo";
    source.SaveToFile(path);

    TVocabFile doc;
    doc.ForeignLangID = 0x0407;
    doc.NativeLangID = 0x0409;
    Add(doc, "Haus", "house");
    doc.SetCurrentIndex(0);
    EXPECT_EQ(doc.MergeFile(path), 2);
    EXPECT_EQ(Words(doc), (W{"Haus", "der Hund", "die Katze"}));
    EXPECT_EQ(doc.Items(1).SortPosition, 4);
    EXPECT_EQ(doc.Items(1).PenaltyPoints, 0);
    EXPECT_EQ(doc.Items(1).LastTested, 0);
    EXPECT_EQ(doc.CurrentIndex(), 0);
    EXPECT_EQ(doc.GetProperty(0), "");
    EXPECT_EQ(doc.UndoKind(), ukNone);
    EXPECT_EQ(doc.SavedPosition(), -1);
    EXPECT_TRUE(doc.Modified());
}

TEST_F(MergeFileTest, RefusalsChangeNothing) {
    TVocabFile other;
    other.ForeignLangID = 0x0409;
    other.NativeLangID = 0x0407;
    Add(other, "x");
    const std::string swapped = dir / "swapped.vlo";
    other.SaveToFile(swapped);
    TVocabFile empty;
    empty.ForeignLangID = 0x0407;
    empty.NativeLangID = 0x0409;
    const std::string emptyPath = dir / "empty.vlo";
    empty.SaveToFile(emptyPath);

    TVocabFile doc;
    doc.ForeignLangID = 0x0407;
    doc.NativeLangID = 0x0409;
    Add(doc, "Haus");
    doc.Undo();
    doc.Redo();
    EXPECT_EQ(ErrorOf([&] { doc.MergeFile(swapped); }), "Languages are different.");
    EXPECT_EQ(ErrorOf([&] {
                  doc.MergeFile(dir / "missing.vlo");
              }).rfind("Cannot open file " + dir / "missing.vlo", 0),
              0u);
    EXPECT_EQ(doc.MergeFile(emptyPath), 0);
    EXPECT_EQ(doc.Count(), 1);
    EXPECT_EQ(doc.UndoKind(), ukAdd); // history untouched when nothing was added
}

} // namespace
