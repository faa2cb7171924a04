// The symbol edit and its character picker, driven with real key and mouse
// events in a dialog.

#include "DialogTestSupport.h"
#include "FieldsDialog.h"

#include "ui/textentry/SymbolEdit.h"
#include "ui/textentry/SymbolForm.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <string>

namespace vocalore {
namespace {

using test::Polish;
using test::Russian;

class SymbolEditTest : public test::TFieldsTest {
protected:
    SymbolEditTest() { Dialog.AddOK(); }
    TSymbolEdit* Edit(int i = 0) const { return Dialog.Edits[i]; }
    TSymbolForm* Picker(int i = 0) const { return Edit(i)->Picker(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, int i = 0) {
        QTest::keyClick(Edit(i), key, modifiers);
    }
    void Type(const char* text, int i = 0) { QTest::keyClicks(Edit(i), QString::fromLatin1(text)); }
    // Opens the picker of an edit with Shift+F10 and selects a cell.
    void OpenAt(int column, int row, int i = 0) {
        Key(Qt::Key_F10, Qt::ShiftModifier, i);
        ASSERT_NE(Picker(i), nullptr);
        Picker(i)->Select(column, row);
    }
};

TEST_F(SymbolEditTest, CharacterTableHoldsTheSymbolsThenTheUpperHalf) {
    std::string expected;
    for (int b = 33; b <= 47; ++b)
        expected += static_cast<char>(b);
    for (int b = 58; b <= 64; ++b)
        expected += static_cast<char>(b);
    for (int b = 91; b <= 96; ++b)
        expected += static_cast<char>(b);
    for (int b = 123; b <= 126; ++b)
        expected += static_cast<char>(b);
    for (int b = 128; b <= 255; ++b)
        expected += static_cast<char>(b);
    const auto& table = TSymbolForm::CharacterTable();
    EXPECT_EQ(std::string(table.begin(), table.end()), expected);
}

// The picker shows the bytes through the field's code page, in the field's
// font made bold, and sizes its cells by the widest upper-half character.
TEST_F(SymbolEditTest, PickerShowsTheFieldsScriptInItsFont) {
    const QString expected[3][3] = {
        // byte 0xE0 (column 0, row 8), 0xB3 (column 3, row 5), 0x81 (column 1, row 2)
        {QStringLiteral("\u00E0"), QStringLiteral("\u00B3"), QString()},
        {QStringLiteral("\u0155"), QStringLiteral("\u0142"), QString()},
        {QStringLiteral("\u0430"), QStringLiteral("\u0456"), QStringLiteral("\u0403")},
    };
    for (int i = 0; i < 3; ++i) {
        Focus(i);
        Key(Qt::Key_F10, Qt::ShiftModifier, i);
        TSymbolForm* picker = Picker(i);
        ASSERT_NE(picker, nullptr) << i;
        EXPECT_EQ(picker->CellText(0, 0), QStringLiteral("!"));
        EXPECT_EQ(picker->CellText(15, 1), QStringLiteral("~"));
        EXPECT_EQ(picker->CellText(0, 8), expected[i][0]) << i;
        EXPECT_EQ(picker->CellText(3, 5), expected[i][1]) << i;
        EXPECT_EQ(picker->CellText(1, 2), expected[i][2]) << i;

        QFont bold = Edit(i)->font();
        bold.setBold(true);
        const QFontMetrics metrics(bold);
        int widest = 0;
        for (int cell = 32; cell < 160; ++cell)
            widest =
                std::max(widest, metrics.horizontalAdvance(picker->CellText(cell % 16, cell / 16)));
        EXPECT_EQ(picker->CellWidth(), 2 + widest);
        EXPECT_EQ(picker->CellHeight(), 2 + metrics.height());
        EXPECT_EQ(picker->contentsRect().size(),
                  QSize(16 * picker->CellWidth(), 10 * picker->CellHeight()));
        Key(Qt::Key_Escape, Qt::NoModifier, i);
        EXPECT_EQ(Picker(i), nullptr);
    }
}

// Every way of asking for a context menu opens the picker and never the edit
// menu; the edit keeps the focus, the arrow cursor shows while it is open.
TEST_F(SymbolEditTest, ContextMenuRequestsOpenThePicker) {
    QTest::mouseClick(Edit(1), Qt::RightButton, {}, QPoint(5, 5));
    ASSERT_NE(Picker(1), nullptr);
    EXPECT_EQ(QApplication::focusWidget(), Edit(1)) << "a right click takes the focus";
    EXPECT_TRUE(Picker(1)->isVisible());
    EXPECT_EQ(QApplication::activeWindow(), &Dialog);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::ArrowCursor);
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<QMenu*>(w) && w->isVisible());
    TSymbolForm* first = Picker(1);
    Key(Qt::Key_F10, Qt::ShiftModifier, 1);
    EXPECT_EQ(Picker(1), first) << "an open picker stays the same";
    Key(Qt::Key_Escape, Qt::NoModifier, 1);
    EXPECT_EQ(Picker(1), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    Key(Qt::Key_Menu);
    EXPECT_NE(Picker(), nullptr);
    Key(Qt::Key_Escape);
    QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(2, 2),
                              Edit()->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(Edit(), &request);
    EXPECT_NE(Picker(), nullptr);
    Key(Qt::Key_Escape);
    Key(Qt::Key_F10);
    Key(Qt::Key_F10, Qt::ControlModifier);
    EXPECT_EQ(Picker(), nullptr) << "F10 without Shift is no request";
}

TEST_F(SymbolEditTest, ArrowKeysWrapAsTheTableSays) {
    struct TCase {
        int Column, Row; // -1: no selection
        Qt::Key Key;
        int NewColumn, NewRow;
    };
    const TCase cases[] = {
        {-1, -1, Qt::Key_Left, 15, 9},  {-1, -1, Qt::Key_Right, 0, 0},
        {-1, -1, Qt::Key_Up, 15, 9},    {-1, -1, Qt::Key_Down, 0, 0},
        {0, 4, Qt::Key_Left, 15, 4},    {15, 4, Qt::Key_Right, 0, 4},
        {7, 0, Qt::Key_Up, 7, 9},       {7, 9, Qt::Key_Down, 7, 0},
        {5, 5, Qt::Key_Left, 4, 5},     {5, 5, Qt::Key_Right, 6, 5},
        {5, 5, Qt::Key_Up, 5, 4},       {5, 5, Qt::Key_Down, 5, 6},
        {5, 5, Qt::Key_Home, 5, 5},     {5, 5, Qt::Key_End, 5, 5},
        {5, 5, Qt::Key_PageDown, 5, 5}, {-1, -1, Qt::Key_Home, -1, -1},
    };
    Type("abc");
    for (const TCase& c : cases) {
        OpenAt(c.Column, c.Row);
        Key(c.Key);
        EXPECT_EQ(Picker()->SelectedColumn(), c.NewColumn)
            << c.Column << "," << c.Row << " " << c.Key;
        EXPECT_EQ(Picker()->SelectedRow(), c.NewRow) << c.Column << "," << c.Row << " " << c.Key;
        Key(Qt::Key_Escape);
    }
    EXPECT_EQ(Edit()->text(), QStringLiteral("abc"));
    EXPECT_EQ(Edit()->cursorPosition(), 3) << "Home and End are the picker's, and do nothing";
}

// Enter inserts the selected character at the caret over the selected text;
// with nothing selected, or on Escape, it only closes. The dialog's default
// button never sees these keys while the picker is open.
TEST_F(SymbolEditTest, EnterInsertsTheSelectionAndEscapeCloses) {
    Type("Haus");
    Edit()->setSelection(1, 2); // "au"
    Key(Qt::Key_F10, Qt::ShiftModifier);
    Key(Qt::Key_Down); // (0, 0): "!"
    Key(Qt::Key_Return);
    EXPECT_EQ(Edit()->text(), QStringLiteral("H!s"));
    EXPECT_EQ(Picker(), nullptr);
    EXPECT_TRUE(Dialog.isVisible()) << "Enter did not reach the default button";

    OpenAt(-1, -1);
    Key(Qt::Key_Enter);
    EXPECT_EQ(Picker(), nullptr);
    OpenAt(9, 8); // é
    Key(Qt::Key_Escape);
    EXPECT_EQ(Picker(), nullptr);
    EXPECT_TRUE(Dialog.isVisible()) << "Escape did not reject the dialog";
    OpenAt(9, 8);
    Key(Qt::Key_Return);
    EXPECT_EQ(Edit()->Bytes(), "H!\xE9s");

    // With the picker closed Enter is the dialog's again.
    Key(Qt::Key_Return);
    EXPECT_EQ(Dialog.result(), QDialog::Accepted);
}

TEST_F(SymbolEditTest, TypingStillEditsWhileThePickerIsOpen) {
    Type("word");
    Key(Qt::Key_Left);
    OpenAt(3, 3);
    Type("xy");
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Edit()->text(), QStringLiteral("worxd"));
    Key(Qt::Key_Delete);
    EXPECT_EQ(Edit()->text(), QStringLiteral("worx"));
    ASSERT_NE(Picker(), nullptr) << "still open";
    EXPECT_EQ(Picker()->SelectedColumn(), 3);
    EXPECT_EQ(Picker()->SelectedRow(), 3);
}

// The picker holds the mouse: a move over a cell selects it, a move off the
// grid clears the selection; a release on the grid inserts, elsewhere closes.
TEST_F(SymbolEditTest, MouseChoosesWhereItIsReleased) {
    Key(Qt::Key_F10, Qt::ShiftModifier, 1);
    TSymbolForm* picker = Picker(1);
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(QWidget::mouseGrabber(), picker);
    QTest::mouseMove(picker, picker->CellRect(3, 5).center());
    EXPECT_EQ(picker->SelectedColumn(), 3);
    EXPECT_EQ(picker->SelectedRow(), 5);
    // A move with no button held, as the window system delivers it, also selects.
    const QPoint over = picker->CellRect(4, 6).center();
    QMouseEvent hover(QEvent::MouseMove, over, picker->mapToGlobal(over), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(picker, &hover);
    EXPECT_EQ(picker->SelectedColumn(), 4);
    EXPECT_EQ(picker->SelectedRow(), 6);
    const QRect last = picker->CellRect(15, 9);
    QTest::mouseMove(picker, last.bottomRight());
    EXPECT_EQ(picker->SelectedColumn(), 15) << "the last pixel is still in the last cell";
    QTest::mouseMove(picker, last.bottomRight() + QPoint(1, 0));
    EXPECT_EQ(picker->SelectedColumn(), -1);
    EXPECT_EQ(picker->SelectedRow(), -1);
    QTest::mouseMove(picker, picker->CellRect(3, 5).center());
    QTest::mouseClick(picker, Qt::LeftButton, {}, picker->CellRect(3, 5).center());
    EXPECT_EQ(Edit(1)->Bytes(), "\xB3"); // ł
    EXPECT_EQ(Picker(1), nullptr);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);

    Key(Qt::Key_F10, Qt::ShiftModifier, 1);
    picker = Picker(1);
    picker->Select(3, 5);
    QTest::mouseClick(picker, Qt::RightButton, {}, QPoint(-20, 10));
    EXPECT_EQ(Edit(1)->Bytes(), "\xB3") << "a release outside inserts nothing";
    EXPECT_EQ(Picker(1), nullptr);

    // The frame just right of the last column is outside too.
    Key(Qt::Key_F10, Qt::ShiftModifier, 1);
    picker = Picker(1);
    picker->Select(15, 0);
    const QPoint frame(picker->CellRect(15, 0).right() + 1, picker->CellRect(15, 0).center().y());
    QTest::mouseRelease(picker, Qt::LeftButton, {}, frame);
    EXPECT_EQ(Edit(1)->Bytes(), "\xB3") << "a release on the frame inserts nothing";
    EXPECT_EQ(Picker(1), nullptr);
}

TEST_F(SymbolEditTest, LosingTheFocusClosesThePicker) {
    OpenAt(2, 2);
    Focus(1);
    EXPECT_EQ(Picker(0), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    Type("z", 1);
    EXPECT_EQ(Edit(1)->text(), QStringLiteral("z"));
}

// A Cyrillic field inserts the Cyrillic letter it shows; a read-only field
// opens the picker but takes nothing from it.
TEST_F(SymbolEditTest, InsertedCharacterIsTheFieldsOwn) {
    Focus(2);
    OpenAt(0, 8, 2);
    Key(Qt::Key_Return, Qt::NoModifier, 2);
    EXPECT_EQ(Edit(2)->Bytes(), "\xE0");
    EXPECT_EQ(Edit(2)->text(), QStringLiteral("\u0430"));

    Focus(0);
    Edit()->setReadOnly(true);
    OpenAt(0, 0);
    Key(Qt::Key_Return);
    EXPECT_EQ(Edit()->text(), QString());
}

// Text pasted from another program: what the field's code page lacks becomes
// its closest letter, and the beep says that something changed.
TEST_F(SymbolEditTest, PasteKeepsWhatTheCodePageHoldsAndBeepsWhenItChanges) {
    int beeps[3] = {};
    for (int i = 0; i < 3; ++i)
        QObject::connect(Edit(i), &TSymbolEdit::Beeped, [&beeps, i] { ++beeps[i]; });
    QApplication::clipboard()->setText(QStringLiteral("\u0141\u00F3d\u017A city"));
    Type("in ");
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Edit()->text(), QStringLiteral("in L\u00F3dz city"));
    EXPECT_EQ(beeps[0], 1);
    // Over a selection, with Shift+Insert.
    Edit()->selectAll();
    Key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(Edit()->text(), QStringLiteral("L\u00F3dz city"));
    EXPECT_EQ(beeps[0], 2);

    // The Polish field holds every letter: no change, no beep.
    Focus(1);
    Key(Qt::Key_V, Qt::ControlModifier, 1);
    EXPECT_EQ(Edit(1)->text(), QStringLiteral("\u0141\u00F3d\u017A city"));
    EXPECT_EQ(beeps[1], 0);
    // Nothing close in Cyrillic either for a Chinese letter: dropped.
    Focus(2);
    QApplication::clipboard()->setText(QStringLiteral("\u65E5\u0416"));
    Key(Qt::Key_V, Qt::ControlModifier, 2);
    EXPECT_EQ(Edit(2)->text(), QStringLiteral("\u0416"));
    EXPECT_EQ(beeps[2], 1);
    // A read-only field takes nothing.
    Edit(2)->setReadOnly(true);
    Key(Qt::Key_V, Qt::ControlModifier, 2);
    EXPECT_EQ(Edit(2)->text(), QStringLiteral("\u0416"));
    EXPECT_EQ(beeps[2], 1);
}

// Text dragged in from another program is fitted the same way, where it was
// dropped; a field that can hold none of it takes nothing.
TEST_F(SymbolEditTest, DroppedTextIsFittedLikeAPaste) {
    int beeps[3] = {};
    for (int i = 0; i < 3; ++i)
        QObject::connect(Edit(i), &TSymbolEdit::Beeped, [&beeps, i] { ++beeps[i]; });
    auto drop = [](TSymbolEdit* edit, const QString& text, int x) {
        QMimeData data;
        data.setText(text);
        const QPoint at(x, edit->height() / 2);
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(edit, &enter);
        QDropEvent event(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(edit, &event);
        return event.isAccepted();
    };
    Type("city");
    EXPECT_TRUE(drop(Edit(), QStringLiteral("\u0141\u00F3d\u017A "), 0));
    EXPECT_EQ(Edit()->text(), QStringLiteral("L\u00F3dz city"));
    EXPECT_EQ(beeps[0], 1);
    // Text the field holds as it is: dropped unchanged and in silence.
    EXPECT_TRUE(drop(Edit(), QStringLiteral(" big"), Edit()->width() - 2));
    EXPECT_EQ(Edit()->text(), QStringLiteral("L\u00F3dz city big"));
    EXPECT_EQ(beeps[0], 1);
    EXPECT_TRUE(drop(Edit(1), QStringLiteral("\u0141\u00F3d\u017A"), 0));
    EXPECT_EQ(Edit(1)->text(), QStringLiteral("\u0141\u00F3d\u017A"));
    EXPECT_EQ(beeps[1], 0);

    EXPECT_FALSE(drop(Edit(2), QStringLiteral("\u65E5"), 0));
    EXPECT_EQ(Edit(2)->text(), QString());
    EXPECT_EQ(beeps[2], 1);
    Edit(2)->setReadOnly(true);
    EXPECT_FALSE(drop(Edit(2), QStringLiteral("\u0416"), 0));
    EXPECT_EQ(Edit(2)->text(), QString());
}

// A character the field can't hold, however it arrives (a key, a
// composition, a shortcut: each a typed character), is refused with a beep.
TEST_F(SymbolEditTest, RefusedCharacterBeeps) {
    int beeps = 0;
    QObject::connect(Edit(), &TSymbolEdit::Beeped, [&beeps] { ++beeps; });
    auto typed = [this](const QString& text) {
        for (const QChar ch : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(Edit(), &press);
        }
    };
    typed(QStringLiteral("a\u0142b"));
    EXPECT_EQ(Edit()->text(), QStringLiteral("ab"));
    EXPECT_EQ(beeps, 1);
    typed(QStringLiteral("\u0107"));
    EXPECT_EQ(beeps, 2);
    typed(QStringLiteral("\u00E9"));
    EXPECT_EQ(Edit()->text(), QStringLiteral("ab\u00E9"));
    Key(Qt::Key_Backspace);
    EXPECT_EQ(beeps, 2);
}

TEST_F(SymbolEditTest, PickerStaysInsideTheWorkArea) {
    const QRect work(0, 0, 1000, 700);
    const QSize size(300, 200);
    // Under the edit, left edges aligned.
    EXPECT_EQ(TSymbolForm::Placement(QRect(100, 100, 200, 24), size, work), QPoint(100, 124));
    // At the right edge: moved left to end at the work area's right edge.
    EXPECT_EQ(TSymbolForm::Placement(QRect(800, 100, 150, 24), size, work), QPoint(700, 124));
    EXPECT_EQ(TSymbolForm::Placement(QRect(700, 100, 150, 24), size, work), QPoint(700, 124));
    // At the bottom: above the edit, its bottom at the edit's top.
    EXPECT_EQ(TSymbolForm::Placement(QRect(100, 480, 200, 24), size, work), QPoint(100, 280));
    EXPECT_EQ(TSymbolForm::Placement(QRect(100, 476, 200, 24), size, work), QPoint(100, 500));
    // Off the left or top edge: pulled back in.
    EXPECT_EQ(TSymbolForm::Placement(QRect(-40, -30, 200, 24), size, work), QPoint(0, 0));
    // A work area that doesn't start at the origin (a panel at the top left).
    EXPECT_EQ(TSymbolForm::Placement(QRect(10, 10, 200, 24), size, QRect(50, 40, 950, 660)),
              QPoint(50, 40));

    // The real picker opens under its field.
    Key(Qt::Key_F10, Qt::ShiftModifier);
    ASSERT_NE(Picker(), nullptr);
    EXPECT_EQ(Picker()->pos(), Edit()->mapToGlobal(QPoint(0, Edit()->height())));
}

} // namespace
} // namespace vocalore
