#include "UiTestSupport.h"

#include "ui/common/PromptService.h"
#include "ui/grid/VocabGrid.h"
#include "ui/window/MainWindow.h"

#include "settings/SettingsStore.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace vocalore {
namespace {

class VocabGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::App();
        Form = std::make_unique<TMainForm>(Store);
        Form->resize(500, 400);
        Form->show();
        Document().ForeignLangID = 0x0407;
        Document().NativeLangID = 0x0409;
        Form->LanguagesChanged(0x0407, 0x0409);
    }

    TVocabFile& Document() { return Form->Document(); }
    TVocabGrid& Grid() { return *Form->Grid(); }

    void Add(const char* word, const char* translation, int32_t sortPosition = 0) {
        TVocabItem& item = Document().PendingItem();
        item.Word = word;
        item.Translation = translation;
        item.SortPosition = sortPosition;
        Document().InsertPending(ipAtEnd);
    }
    void Edit(int current = 0) {
        if (Document().Count() > 0)
            Document().SetCurrentIndex(current);
        Form->SetViewMode(vmEdit);
    }
    QPoint RowCentre(int row) {
        return Grid().RowRect(row).center() + QPoint(Grid().horizontalScrollBar()->value(), 0);
    }
    void Mouse(QEvent::Type type, QPoint point, Qt::MouseButtons buttons) {
        QMouseEvent event(type, point, Grid().viewport()->mapToGlobal(point),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(Grid().viewport(), &event);
    }

    TMemorySettingsStore Store;
    TFakePromptService Prompts{true};
    std::unique_ptr<TMainForm> Form;
};

TEST_F(VocabGridTest, EmptyDocumentShowsOneRowThatSelectsNothing) {
    Edit();
    EXPECT_EQ(Grid().RowCount(), 1);
    Grid().SelectRow(0);
    EXPECT_EQ(Document().CurrentIndex(), -1);
    EXPECT_FALSE(Grid().FindByFirstLetter(QStringLiteral("a")));
    EXPECT_EQ(Grid().ColumnWidth(), Grid().viewport()->width());
}

TEST_F(VocabGridTest, TypeToFindStepsThroughItemsFromTheirSortPosition) {
    Add("the house", "das Haus", 4);
    Add("horse", "Pferd");
    Add("...", "Punkte");
    Add("Hund", "dog");
    Edit(1);
    QTest::keyClick(&Grid(), Qt::Key_H);
    EXPECT_EQ(Document().CurrentIndex(), 3); // Hund: the search starts after the current item
    QTest::keyClick(&Grid(), Qt::Key_H);
    EXPECT_EQ(Document().CurrentIndex(), 0); // wraps around; "the" is skipped by its sort position
    QTest::keyClick(&Grid(), Qt::Key_H, Qt::ShiftModifier);
    EXPECT_EQ(Document().CurrentIndex(), 1); // case does not matter
    QTest::keyClick(&Grid(), Qt::Key_T);
    EXPECT_EQ(Document().CurrentIndex(), 1); // nothing starts with t: the selection stays
    EXPECT_EQ(Grid().Row(), 1);
}

TEST_F(VocabGridTest, DraggingAnItemMovesItAndUndoPutsItBack) {
    for (const char* word : {"eins", "zwei", "drei", "vier", "fünf"})
        Add(word, "x");
    Edit(0);
    Mouse(QEvent::MouseButtonPress, RowCentre(0), Qt::LeftButton);
    Mouse(QEvent::MouseMove, RowCentre(0) + QPoint(0, 3), Qt::LeftButton);
    EXPECT_TRUE(Grid().Dragging());
    Mouse(QEvent::MouseMove, RowCentre(3), Qt::LeftButton);
    EXPECT_EQ(Grid().DropTarget(), 3);
    Mouse(QEvent::MouseButtonRelease, RowCentre(3), Qt::NoButton);
    EXPECT_FALSE(Grid().Dragging());
    EXPECT_EQ(Document().Items(3).Word, "eins");
    EXPECT_EQ(Document().CurrentIndex(), 3);
    EXPECT_EQ(Grid().Row(), 3);
    EXPECT_EQ(Document().UndoKind(), ukMove);

    Form->UpdateCommands();
    Form->Action(cmEditUndo)->trigger();
    EXPECT_EQ(Document().Items(0).Word, "eins");
    EXPECT_EQ(Document().CurrentIndex(), 0);
    EXPECT_EQ(Grid().Row(), 0);
}

TEST_F(VocabGridTest, DroppingOnItsOwnRowOrBelowTheRowsChangesNothing) {
    for (const char* word : {"eins", "zwei", "drei"})
        Add(word, "x");
    Edit(1);
    Form->SetCutIndex(2);
    Mouse(QEvent::MouseButtonPress, RowCentre(1), Qt::LeftButton);
    Mouse(QEvent::MouseMove, RowCentre(1) + QPoint(3, 0), Qt::LeftButton);
    EXPECT_EQ(Form->CutIndex(), -1); // a drag drops the cut mark
    Mouse(QEvent::MouseButtonRelease, RowCentre(1), Qt::NoButton);
    const QPoint below(10, Grid().viewport()->height() - 2);
    Mouse(QEvent::MouseButtonPress, RowCentre(1), Qt::LeftButton);
    Mouse(QEvent::MouseMove, RowCentre(1) + QPoint(0, 3), Qt::LeftButton);
    Mouse(QEvent::MouseMove, below, Qt::LeftButton);
    EXPECT_EQ(Grid().DropTarget(), -1);
    Mouse(QEvent::MouseButtonRelease, below, Qt::NoButton);
    EXPECT_EQ(Document().Items(1).Word, "zwei");
    EXPECT_EQ(Document().UndoKind(), ukAdd);
}

TEST_F(VocabGridTest, SingleItemNeverStartsADrag) {
    Add("eins", "one");
    Edit(0);
    Mouse(QEvent::MouseButtonPress, RowCentre(0), Qt::LeftButton);
    Mouse(QEvent::MouseMove, RowCentre(0) + QPoint(0, 10), Qt::LeftButton);
    EXPECT_FALSE(Grid().Dragging());
    Mouse(QEvent::MouseButtonRelease, RowCentre(0), Qt::NoButton);
}

TEST_F(VocabGridTest, HoldingTheDraggedItemAboveTheGridScrollsUpToTheFirstRow) {
    for (int i = 0; i < 200; ++i)
        Add("Wort", "word");
    Edit(100);
    const int top = Grid().TopRow();
    ASSERT_GT(top, 5);
    const QPoint start = RowCentre(100);
    Mouse(QEvent::MouseButtonPress, start, Qt::LeftButton);
    Mouse(QEvent::MouseMove, start + QPoint(0, 3), Qt::LeftButton);
    Mouse(QEvent::MouseMove, QPoint(10, -5), Qt::LeftButton);
    EXPECT_EQ(Grid().ScrollDirection(), -1);
    EXPECT_TRUE(Grid().DragScrollTimer().isActive());
    EXPECT_EQ(Grid().DragScrollTimer().interval(), 40);
    // QTRY_* returns silently from a gtest body on timeout, so wait with a checked result.
    ASSERT_TRUE(QTest::qWaitFor([&] { return Grid().TopRow() == top - 3; }, 2000))
        << Grid().TopRow();
    Grid().DragScrollTimer().setInterval(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Grid().TopRow() == 0; }, 5000)) << Grid().TopRow();
    Mouse(QEvent::MouseButtonRelease, QPoint(10, -5), Qt::NoButton);
    EXPECT_FALSE(Grid().DragScrollTimer().isActive());
    EXPECT_EQ(Document().CurrentIndex(), 100);
    EXPECT_EQ(Document().UndoKind(), ukAdd);
}

TEST_F(VocabGridTest, ColumnWidthFollowsTheWidestItemAndShrinksWhenItGoes) {
    Add("kurz", "short");
    Edit(0);
    EXPECT_EQ(Grid().ColumnWidth(), Grid().viewport()->width());
    EXPECT_EQ(Grid().horizontalScrollBar()->maximum(), 0);
    Add("ein sehr langes Wort, das nicht in das Fenster passt, weil es so lang ist",
        "a very long word indeed");
    Form->RefreshGrid();
    const int wide = Document().Items(1).DisplayWidth;
    EXPECT_GT(wide, Grid().viewport()->width());
    EXPECT_EQ(Grid().ColumnWidth(), wide);
    EXPECT_EQ(Grid().horizontalScrollBar()->maximum(), wide - Grid().viewport()->width());
    Document().Undo();
    Form->RefreshGrid();
    EXPECT_EQ(Grid().ColumnWidth(), Grid().viewport()->width());
}

TEST_F(VocabGridTest, ItemWidthAddsThePiecesThatAreShown) {
    TVocabItem bare;
    bare.Word = "Haus";
    bare.Translation = "house";
    TVocabItem full = bare;
    full.Category = "noun";
    full.Notes = "neut.";
    EXPECT_GT(Grid().ItemWidth(full), Grid().ItemWidth(bare));
    TVocabItem emptyNotes = bare;
    emptyNotes.Category = "noun";
    TVocabItem noCategory = bare;
    noCategory.Notes = "noun";
    // Italic pieces are measured the same whichever of the two fields holds them.
    EXPECT_EQ(Grid().ItemWidth(emptyNotes), Grid().ItemWidth(noCategory));
}

// The rightmost pixel of a row that differs from the row's first pixel.
int InkRight(TVocabGrid& grid, int row) {
    const QImage image = grid.viewport()->grab().toImage();
    const QRect rect = grid.RowRect(row).intersected(image.rect());
    const QRgb background = image.pixel(rect.left(), rect.top());
    int right = -1;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (image.pixel(x, y) != background)
                right = std::max(right, x);
    return right;
}

TEST_F(VocabGridTest, ControlBytesAreDrawnAsTheMarkTheyAreMeasuredAs) {
    Add("a\tbcdefgh", "xyz");
    Add("abcdefgh", "xyz");
    Edit(1);
    TVocabItem& withTab = Document().Items(0);
    TVocabItem& plain = Document().Items(1);
    // The TAB takes the room of a visible mark, in the width and on screen:
    // drawn as a tab stop it would run past the measured width and overprint.
    EXPECT_GT(Grid().ItemWidth(withTab), Grid().ItemWidth(plain));
    EXPECT_LE(InkRight(Grid(), 0), Grid().ItemWidth(withTab));
    EXPECT_GT(InkRight(Grid(), 0), InkRight(Grid(), 1));
}

TEST_F(VocabGridTest, SelectedRowShowsTheFocusRectangleWhileTheGridHasFocus) {
    Add("Haus", "house");
    Add("Baum", "tree");
    Edit(0);
    QApplication::setActiveWindow(Form.get());
    Grid().setFocus(Qt::OtherFocusReason);
    Grid().clearFocus();
    QApplication::processEvents();
    const QImage unfocused = Grid().viewport()->grab().toImage();
    // A click gives the focus without any keyboard navigation.
    Grid().setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(Grid().hasFocus());
    const QImage focused = Grid().viewport()->grab().toImage();
    const QRect row = Grid().RowRect(0);
    EXPECT_NE(focused.copy(row), unfocused.copy(row));
    // Only the selected row carries it.
    const QRect other = Grid().RowRect(1);
    EXPECT_EQ(focused.copy(other), unfocused.copy(other));
    // Plain to see: dots in the highlighted-text colour along the row's top
    // and bottom, one pixel inside, where the highlight alone was before.
    const QRgb dot = Grid().palette().color(QPalette::HighlightedText).rgb();
    const QRgb highlight = Grid().palette().color(QPalette::Highlight).rgb();
    ASSERT_NE(dot, highlight);
    for (const int y : {row.top() + 1, row.bottom() - 1}) {
        int dots = 0;
        for (int x = row.left() + 1; x < row.right(); ++x)
            dots += focused.pixel(x, y) == dot;
        EXPECT_GE(dots, (row.width() - 2) / 3) << y;
        EXPECT_EQ(unfocused.pixel(row.right() - 3, y), highlight) << y;
    }
}

TEST_F(VocabGridTest, RefreshScrollsTheCurrentItemIntoView) {
    for (int i = 0; i < 100; ++i)
        Add("Wort", "word");
    Edit(0);
    EXPECT_EQ(Grid().TopRow(), 0);
    Document().SetCurrentIndex(99);
    Form->RefreshGrid();
    EXPECT_EQ(Grid().TopRow(), 100 - Grid().VisibleRowCount());
    Document().SetCurrentIndex(10);
    Form->RefreshGrid();
    EXPECT_EQ(Grid().TopRow(), 10);
    QTest::keyClick(&Grid(), Qt::Key_End);
    EXPECT_EQ(Document().CurrentIndex(), 99);
    QTest::keyClick(&Grid(), Qt::Key_Up);
    EXPECT_EQ(Document().CurrentIndex(), 98);
}

} // namespace
} // namespace vocalore
