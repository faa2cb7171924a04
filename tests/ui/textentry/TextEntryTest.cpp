// Composition and character shortcuts, typed with real key events through the
// application key filter into the fields of real dialogs.

#include "DialogTestSupport.h"
#include "FieldsDialog.h"

#include "ui/files/PropertiesDialog.h"
#include "ui/textentry/SymbolEdit.h"
#include "ui/textentry/TextEntry.h"
#include "ui/window/KeyFilter.h"

#include "core/Composition.h"
#include "settings/Options.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <string>

namespace vocalore {
namespace {

using dialogtest::Child;

using test::English;
using test::Polish;
using test::Russian;

class TextEntryTest : public test::TFieldsTest {
protected:
    QWidget* Target() { return QApplication::focusWidget(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(Target(), key, modifiers);
    }
    void Key(char ch, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(Target(), ch, modifiers);
    }
    // Ctrl + a modifier character as a keyboard with it on its own key types it.
    void Modifier(char ch) { QTest::keyClick(Target(), ch, Qt::ControlModifier); }
    std::string Bytes(int i) const { return Dialog.Edits[i]->Bytes(); }

    TAppKeyFilter Filter;
    TOptions Options;
    TTextEntryKeys Keys{Filter, Options};
};

// Every row, every base letter, as the bytes the field gives back.
TEST_F(TextEntryTest, EveryRowComposesItsLettersByteForByte) {
    struct TRow {
        char Modifier;
        const char* Base;
        const char* Results;
    };
    const TRow rows[] = {
        {'\'', "aeiouydAEIOUYD", "\xE1\xE9\xED\xF3\xFA\xFD\xF0\xC1\xC9\xCD\xD3\xDA\xDD\xD0"},
        {'`', "aeiouAEIOU", "\xE0\xE8\xEC\xF2\xF9\xC0\xC8\xCC\xD2\xD9"},
        {':', "aeiouyAEIOUY", "\xE4\xEB\xEF\xF6\xFC\xFF\xC4\xCB\xCF\xD6\xDC\x9F"},
        {'^', "aeiouAEIOU", "\xE2\xEA\xEE\xF4\xFB\xC2\xCA\xCE\xD4\xDB"},
        {'~', "anoANO", "\xE3\xF1\xF5\xC3\xD1\xD5"},
        {'@', "aA", "\xE5\xC5"},
        {',', "cC", "\xE7\xC7"},
        {'/', "oO", "\xF8\xD8"},
        {'&', "aosAOS", "\xE6\x9C\xDF\xC6\x8C\xDF"},
    };
    for (const TRow& row : rows) {
        Dialog.Edits[0]->clear();
        for (const char* base = row.Base; *base; ++base) {
            Modifier(row.Modifier);
            const bool upper = *base >= 'A' && *base <= 'Z';
            Key(*base, upper ? Qt::ShiftModifier : Qt::NoModifier);
        }
        EXPECT_EQ(Bytes(0), row.Results) << "modifier " << row.Modifier;
    }
}

TEST_F(TextEntryTest, LetterTheRowLacksComesThroughAndClearsTheModifier) {
    Modifier('\'');
    Key('x');
    Key('e');
    Modifier('`');
    Key('y');
    Key('a');
    Modifier('^');
    Key('1');
    Key('o');
    EXPECT_EQ(Bytes(0), "xeya1o");
    EXPECT_EQ(Keys.PendingModifier(), 0);
}

// A character beyond ASCII (a key of its own on many keyboards) is no base
// letter: it is typed as it is and the pending modifier ends.
TEST_F(TextEntryTest, NonAsciiCharacterAfterAModifierIsTypedAsItIs) {
    Modifier('\'');
    QTest::sendKeyEvent(QTest::Click, Target(), Qt::Key_Eacute, QStringLiteral("\u00E9"),
                        Qt::NoModifier);
    Key('a');
    EXPECT_EQ(Bytes(0), "\xE9"
                        "a");
    EXPECT_EQ(Keys.PendingModifier(), 0);
}

// Shift, a plain key without Ctrl, a focus change: none of them ends the
// pending modifier; a second modifier replaces the first.
TEST_F(TextEntryTest, PendingModifierWaitsForTheNextCharacter) {
    // Ctrl+Shift+semicolon on a keyboard where that types a colon.
    QTest::keyClick(Target(), Qt::Key_Colon, Qt::ControlModifier | Qt::ShiftModifier);
    Key(Qt::Key_Shift, Qt::ShiftModifier);
    Key('U', Qt::ShiftModifier);
    EXPECT_EQ(Bytes(0), "\xDC");

    Modifier('\'');
    Key(Qt::Key_Left);
    Focus(1);
    Key('a');
    EXPECT_EQ(Bytes(1), "\xE1") << "composed in the field the focus moved to";

    Focus(0);
    Key(Qt::Key_End);
    Modifier('\'');
    Modifier('`');
    Key('a');
    EXPECT_EQ(Bytes(0), "\xDC\xE0");
}

// Ctrl+C keeps its meaning and ends the pending modifier; Ctrl alone and a
// Ctrl key without a character leave it.
TEST_F(TextEntryTest, OtherCtrlKeysKeepTheirMeaning) {
    Dialog.Edits[0]->setText(QStringLiteral("copy"));
    Dialog.Edits[0]->selectAll();
    QApplication::clipboard()->clear();
    Modifier('\'');
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("copy"));
    Key(Qt::Key_End);
    Key('e');
    EXPECT_EQ(Bytes(0), "copye");

    Modifier('\'');
    Key(Qt::Key_Control, Qt::ControlModifier);
    Key(Qt::Key_F2, Qt::ControlModifier);
    Key('e');
    EXPECT_EQ(Bytes(0), "copye\xE9");
}

// A modifier key is never a menu shortcut; a Ctrl shortcut that a menu takes
// still ends the pending modifier.
TEST_F(TextEntryTest, ModifierKeyTriggersNoShortcut) {
    QAction slash(&Dialog), save(&Dialog);
    slash.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Slash));
    save.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    Dialog.addAction(&slash);
    Dialog.addAction(&save);
    int slashes = 0, saves = 0;
    QObject::connect(&slash, &QAction::triggered, [&] { ++slashes; });
    QObject::connect(&save, &QAction::triggered, [&] { ++saves; });

    Modifier('/');
    Key('o');
    EXPECT_EQ(slashes, 0);
    EXPECT_EQ(Bytes(0), "\xF8");

    Modifier('/');
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(saves, 1);
    Key('o');
    EXPECT_EQ(Bytes(0), "\xF8o");
}

// The results are Western characters: a Central European field holds é but
// not à; a Cyrillic one holds neither, and nothing else arrives instead.
TEST_F(TextEntryTest, FieldTakesOnlyWhatItsCodePageHolds) {
    for (int i : {1, 2}) {
        Focus(i);
        Modifier('\'');
        Key('e');
        Modifier('`');
        Key('a');
        Modifier(':');
        Key('o');
    }
    EXPECT_EQ(Bytes(1), "\xE9\xF6"); // é ö in code page 1250
    EXPECT_EQ(Bytes(2), "");
}

TEST_F(TextEntryTest, KeysAreDiscardedWhilePrinting) {
    Filter.SetDiscardKeys(true);
    Modifier('\'');
    Key('e');
    EXPECT_EQ(Bytes(0), "");
    Filter.SetDiscardKeys(false);
    Key('e');
    EXPECT_EQ(Bytes(0), "e") << "the modifier pressed while printing left nothing pending";
}

// Composition works in a plain line edit of any dialog: the Properties
// dialog's description.
TEST_F(TextEntryTest, ComposesInEveryDialogsFields) {
    TPropertiesData data;
    data.ForeignLangID = 0x0407;
    data.NativeLangID = English;
    TPropertiesDialog properties(nullptr, data);
    properties.show();
    auto* description = Child<QLineEdit>(&properties, "edtDescription");
    description->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == description; }));
    QTest::keyClick(description, '\'', Qt::ControlModifier);
    QTest::keyClick(description, 'e');
    QTest::keyClick(description, '&', Qt::ControlModifier);
    QTest::keyClick(description, 'S', Qt::ShiftModifier);
    EXPECT_EQ(properties.Description(), "\xE9\xDF");
}

// The shortcut table of the options: an assigned combination types its
// character, in the character set it was chosen in, exactly those modifiers.
TEST_F(TextEntryTest, AssignedShortcutTypesItsCharacter) {
    Options.ShortcutChars[0] = MakeShortcutChar(0xE9, 0);    // Ctrl+Shift+A: é
    Options.ShortcutChars[91] = MakeShortcutChar(0xB3, 238); // Ctrl+Alt+F12: ł
    Options.ShortcutChars[52] = MakeShortcutChar('e', 0);    // Shift+F2: e
    Key(Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    Key(Qt::Key_F12, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    Key(Qt::Key_F12, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(Bytes(0), "\xE9") << "ł is not Western; Ctrl+Alt+Shift+F12 is no shortcut";
    Focus(1);
    Key(Qt::Key_F12, Qt::ControlModifier | Qt::AltModifier);
    Key(Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Bytes(1), "\xB3\xE9");

    // Delivered as it is: a pending modifier neither composes it nor ends.
    Focus(0);
    Dialog.Edits[0]->clear();
    Modifier('\'');
    Key(Qt::Key_F2, Qt::ShiftModifier);
    Key('a');
    EXPECT_EQ(Bytes(0), "e\xE1");
}

// The last letter of the table: unassigned, Ctrl+Shift+Z keeps the field's
// own meaning (redo); assigned, it types its character.
TEST_F(TextEntryTest, LastLetterShortcutRedoesUntilAssigned) {
    Key('a');
    Key(Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(Bytes(0), "");
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Bytes(0), "a") << "an unassigned combination reaches the field";
    Options.ShortcutChars[25] = MakeShortcutChar(0xFC, 0); // Ctrl+Shift+Z: ü
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Bytes(0), "a\xFC");
}

TEST_F(TextEntryTest, UnassignedShortcutIsAnyOtherKey) {
    QAction action(&Dialog);
    action.setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B));
    Dialog.addAction(&action);
    int triggered = 0;
    QObject::connect(&action, &QAction::triggered, [&] { ++triggered; });
    Options.ShortcutChars[0] = MakeShortcutChar(0xE9, 0);
    Key(Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(triggered, 1);
    EXPECT_EQ(Bytes(0), "");
}

} // namespace
} // namespace vocalore
