// The item commands driven through their actions and shortcuts, with the Edit
// dialog answered from inside its own event loop.
#include "UiTestSupport.h"

#include "ui/common/PromptService.h"
#include "ui/common/QtClipboard.h"
#include "ui/editing/EditDialog.h"
#include "ui/textentry/SymbolEdit.h"
#include "ui/window/MainWindow.h"

#include "core/Clipboard.h"
#include "core/CodePage.h"
#include "settings/SettingsStore.h"

#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <utility>

namespace vocalore {
namespace {

using test::WriteDocument;

constexpr const char* Reminder =
    "To specify how this item should be sorted, insert '@' before the first significant "
    "letter.\n\nDo you want to be reminded about this in future?";

TSymbolEdit* Field(QDialog* dialog, const char* name) {
    return dialog->findChild<TSymbolEdit*>(QString::fromLatin1(name));
}

void PressOK(QDialog* dialog) { dialog->findChild<QPushButton*>(QStringLiteral("btnOK"))->click(); }

class ItemCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::App();
        ASSERT_TRUE(Dir.isValid());
        Path = Dir.filePath(QStringLiteral("german.vlo"));
        WriteDocument(Path, {{"der Hund", "noun", "", "dog"},
                             {"die Katze", "noun", "", "cat"},
                             {"das Haus", "noun", "", "house"},
                             {"der Baum", "noun", "", "tree"}});
        Form = std::make_unique<TMainForm>(Store);
    }
    void TearDown() override { Form.reset(); }

    void Start() {
        ASSERT_TRUE(Form->FormCreate({Path}));
        Form->show();
        // Shortcuts reach only the active window.
        QApplication::setActiveWindow(Form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
        Form->Grid()->setFocus();
        Form->UpdateCommands();
    }
    TVocabFile& Doc() { return Form->Document(); }
    bool Enabled(TCommandId id) const { return Form->Action(id)->isEnabled(); }
    QString Caption(TCommandId id) const { return Form->Action(id)->text(); }
    std::vector<std::string> Words() {
        std::vector<std::string> words;
        for (int32_t i = 0; i < Doc().Count(); ++i)
            words.push_back(Doc().Items(i).Word);
        return words;
    }
    // Runs `action` on the next modal dialog, with a timer the window owns.
    void OnNextModal(std::function<void(QDialog*)> action) {
        test::OnNextModal(std::move(action), Form.get());
    }
    // A key pressed in the grid of the active window.
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QApplication::setActiveWindow(Form.get());
        Form->Grid()->setFocus();
        QTest::keyClick(Form->Grid(), key, modifiers);
        Form->UpdateCommands();
    }
    // Runs a command the way the user does: its action, then the idle pass.
    void Run(TCommandId id) {
        ASSERT_TRUE(Enabled(id)) << Command(id).Name;
        Form->Action(id)->trigger();
        Form->UpdateCommands();
    }
    // The next Edit dialog gets these texts (nullptr keeps a field) and OK;
    // if it is still open afterwards, `then` runs, else it is cancelled.
    void Answer(std::array<const char*, 4> texts, std::function<void(QDialog*)> then = {}) {
        OnNextModal([this, texts, then](QDialog* dialog) {
            Dialog = dialog->windowTitle();
            const char* names[] = {"edtForeign", "edtCategory", "edtNotes", "edtNative"};
            for (int i = 0; i < 4; ++i)
                if (texts[static_cast<size_t>(i)])
                    Field(dialog, names[i])
                        ->setText(QString::fromUtf8(texts[static_cast<size_t>(i)]));
            PressOK(dialog);
            if (dialog->isVisible()) {
                if (then)
                    then(dialog);
                if (dialog->isVisible())
                    dialog->reject();
            }
        });
    }

    QTemporaryDir Dir;
    QString Path;
    TMemorySettingsStore Store;
    TFakePromptService Prompts{true};
    std::unique_ptr<TMainForm> Form;
    QString Dialog; // caption of the last Edit dialog seen
};

TEST_F(ItemCommandsTest, AddInsertsAfterTheCurrentItemOrAtTheEndByTheOption) {
    Start();
    Form->Grid()->SelectRow(1);
    Answer({"die Maus", "noun", "fem.", "mouse"});
    Key(Qt::Key_Insert);
    EXPECT_EQ(Dialog, QStringLiteral("Add"));
    EXPECT_EQ(Words(), (std::vector<std::string>{"der Hund", "die Katze", "die Maus", "das Haus",
                                                 "der Baum"}));
    EXPECT_EQ(Doc().CurrentIndex(), 2);
    EXPECT_EQ(Form->Grid()->Row(), 2);
    const TVocabItem& added = Doc().Items(2);
    EXPECT_EQ(added.Notes, "fem.");
    EXPECT_EQ(added.Category, "noun");
    EXPECT_EQ(added.Translation, "mouse");
    EXPECT_EQ(added.PenaltyPoints, 0);
    EXPECT_EQ(Caption(cmEditUndo), QStringLiteral("&Undo Add"));

    Form->Settings().Options.AppendNewWords = true;
    Form->Grid()->SelectRow(0);
    Answer({"der Vogel", "", "", "bird"});
    Run(cmEditAdd);
    EXPECT_EQ(Doc().Count(), 6);
    EXPECT_EQ(Doc().Items(5).Word, "der Vogel");
    EXPECT_EQ(Doc().CurrentIndex(), 5);
    EXPECT_FALSE(Enabled(cmEditMoveDown));
    EXPECT_TRUE(Prompts.Prompts().empty());

    // Cancel adds nothing.
    OnNextModal([](QDialog* dialog) { dialog->reject(); });
    Run(cmEditAdd);
    EXPECT_EQ(Doc().Count(), 6);
}

TEST_F(ItemCommandsTest, AddToAnEmptyDocumentAppendsAndSelects) {
    Start();
    for (int i = 0; i < 4; ++i)
        Run(cmEditDelete);
    EXPECT_EQ(Doc().Count(), 0);
    EXPECT_FALSE(Enabled(cmEditDelete));
    EXPECT_FALSE(Enabled(cmEditEdit));
    Answer({"der Hund", "", "", "dog"});
    Run(cmEditAdd);
    EXPECT_EQ(Words(), std::vector<std::string>{"der Hund"});
    EXPECT_EQ(Doc().CurrentIndex(), 0);
    EXPECT_TRUE(Enabled(cmEditEdit));
}

TEST_F(ItemCommandsTest, ChecksRunInOrderAndFocusTheirField) {
    Start();
    struct TSeen {
        QString Text;
        QString Focus;
        QString Selected;
    };
    std::vector<TSeen> seen;
    auto look = [&seen, this](QDialog* dialog) {
        QWidget* focus = dialog->focusWidget();
        auto* edit = qobject_cast<QLineEdit*>(focus);
        seen.push_back({Prompts.Prompts().empty() ? QString() : Prompts.Last().Text,
                        focus ? focus->objectName() : QString(),
                        edit ? edit->selectedText() : QString()});
    };
    Answer({"   ", "", "", ""}, [&](QDialog* dialog) {
        look(dialog);
        Field(dialog, "edtForeign")->setText(QStringLiteral("a(b"));
        PressOK(dialog);
        look(dialog);
        Field(dialog, "edtForeign")->setText(QStringLiteral("  der   Vogel "));
        Field(dialog, "edtNative")->setText(QStringLiteral("   "));
        PressOK(dialog);
        look(dialog);
        Field(dialog, "edtNative")->setText(QStringLiteral("bird)"));
        PressOK(dialog);
        look(dialog);
        Field(dialog, "edtNative")->setText(QStringLiteral("bird (animal)"));
        Field(dialog, "edtNotes")->setText(QStringLiteral("(unbalanced"));
        PressOK(dialog);
    });
    Run(cmEditAdd);
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].Text, QStringLiteral("Enter a word or phrase."));
    EXPECT_EQ(seen[0].Focus, QStringLiteral("edtForeign"));
    EXPECT_EQ(seen[1].Text, QStringLiteral("Invalid use of brackets."));
    EXPECT_EQ(seen[1].Focus, QStringLiteral("edtForeign"));
    EXPECT_EQ(seen[1].Selected, QStringLiteral("a(b"));
    EXPECT_EQ(seen[2].Text, QStringLiteral("Enter a translation."));
    EXPECT_EQ(seen[2].Focus, QStringLiteral("edtNative"));
    EXPECT_EQ(seen[3].Text, QStringLiteral("Invalid use of brackets."));
    EXPECT_EQ(seen[3].Focus, QStringLiteral("edtNative"));
    EXPECT_EQ(seen[3].Selected, QStringLiteral("bird)"));
    for (const TRecordedPrompt& prompt : Prompts.Prompts()) {
        EXPECT_EQ(prompt.Caption, QStringLiteral("Vocalore"));
        EXPECT_EQ(prompt.Icon, TMsgIcon::Warning);
        EXPECT_EQ(prompt.Buttons, mbOK);
    }
    // Notes are not checked; spaces are normalised in every field.
    EXPECT_EQ(Prompts.Prompts().size(), 4u);
    EXPECT_EQ(Doc().CurrentItem().Word, "der Vogel");
    EXPECT_EQ(Doc().CurrentItem().Notes, "(unbalanced");
    EXPECT_EQ(Doc().CurrentItem().Translation, "bird (animal)");
}

TEST_F(ItemCommandsTest, SortMarkerIsParsedOnOKAndShownWhenEditing) {
    Start();
    Answer({"  der  @Vogel  ", "", "", "bird"});
    Run(cmEditAdd);
    EXPECT_EQ(Doc().CurrentItem().Word, "der Vogel");
    EXPECT_EQ(Doc().CurrentItem().SortPosition, 4);

    QString shown;
    OnNextModal([&shown](QDialog* dialog) {
        shown = Field(dialog, "edtForeign")->text();
        dialog->reject();
    });
    Key(Qt::Key_F2);
    EXPECT_EQ(shown, QStringLiteral("der @Vogel"));

    // A marker at the end counts as none; a second marker stays in the word.
    Answer({"Vogel@", nullptr, nullptr, nullptr});
    Run(cmEditEdit);
    EXPECT_EQ(Doc().CurrentItem().Word, "Vogel");
    EXPECT_EQ(Doc().CurrentItem().SortPosition, 0);
    Answer({"a@b@c", nullptr, nullptr, nullptr});
    Run(cmEditEdit);
    EXPECT_EQ(Doc().CurrentItem().Word, "ab@c");
    EXPECT_EQ(Doc().CurrentItem().SortPosition, 1);

    // At position 0 the marker is shown only to a user who wants reminding.
    Doc().SetCurrentIndex(0);
    Form->Settings().Options.RequireSortPosition = true;
    OnNextModal([&shown](QDialog* dialog) {
        shown = Field(dialog, "edtForeign")->text();
        dialog->reject();
    });
    Run(cmEditEdit);
    EXPECT_EQ(shown, QStringLiteral("@der Hund"));
}

TEST_F(ItemCommandsTest, ReminderNoSwitchesItOffForGoodAndItIsSaved) {
    Start();
    Form->Settings().Options.RequireSortPosition = true;
    int asked = 0;
    Prompts.QueueButton(mbYes);
    Prompts.QueueButton(mbNo);
    Answer({"Vogel", "", "", "bird"}, [&](QDialog* dialog) {
        asked = static_cast<int>(Prompts.Prompts().size());
        EXPECT_EQ(dialog->focusWidget()->objectName(), QStringLiteral("edtForeign"));
        PressOK(dialog); // asked again, answered No: the dialog stays open
        EXPECT_TRUE(dialog->isVisible());
        PressOK(dialog);
    });
    Run(cmEditAdd);
    EXPECT_EQ(asked, 1);
    ASSERT_EQ(Prompts.Prompts().size(), 2u);
    for (const TRecordedPrompt& prompt : Prompts.Prompts()) {
        EXPECT_EQ(prompt.Text, QString::fromLatin1(Reminder));
        EXPECT_EQ(prompt.Buttons, mbYes | mbNo);
        EXPECT_EQ(prompt.Icon, TMsgIcon::Warning);
    }
    EXPECT_FALSE(Form->Settings().Options.RequireSortPosition);
    EXPECT_EQ(Doc().CurrentItem().Word, "Vogel");
    EXPECT_EQ(Doc().CurrentItem().SortPosition, 0);

    Answer({"Fisch", "", "", "fish"});
    Run(cmEditAdd);
    EXPECT_EQ(Prompts.Prompts().size(), 2u);
    EXPECT_EQ(Doc().CurrentItem().Word, "Fisch");

    // Switched off also when that dialog is then cancelled; kept after a restart.
    Form->Settings().Options.RequireSortPosition = true;
    Prompts.QueueButton(mbNo);
    Answer({"Kuh", "", "", "cow"}, [](QDialog* dialog) { dialog->reject(); });
    Run(cmEditAdd);
    EXPECT_FALSE(Form->Settings().Options.RequireSortPosition);
    EXPECT_EQ(Doc().CurrentItem().Word, "Fisch");
    Form->close();
    TSettings reloaded;
    LoadSettings(Store, reloaded, 0x0409);
    EXPECT_FALSE(reloaded.Options.RequireSortPosition);
}

TEST_F(ItemCommandsTest, ExistingWordIsQuestionedOnceAndCancelAddsNothing) {
    Start();
    Doc().Items(2).Word = "der Hund"; // the word twice
    Answer({"der Hund", "", "", "hound"});
    Run(cmEditAdd);
    ASSERT_EQ(Prompts.Prompts().size(), 1u);
    EXPECT_EQ(Prompts.Last().Text, QStringLiteral("Word already exists. Add anyway?"));
    EXPECT_EQ(Prompts.Last().Buttons, mbOK | mbCancel);
    EXPECT_EQ(Prompts.Last().Icon, TMsgIcon::Warning);
    EXPECT_EQ(Doc().Count(), 4);
    EXPECT_FALSE(Enabled(cmEditUndo));

    Prompts.QueueButton(mbOK);
    Answer({"der Hund", "", "", "hound"});
    Run(cmEditAdd);
    EXPECT_EQ(Prompts.Prompts().size(), 2u);
    EXPECT_EQ(Doc().Count(), 5);
    EXPECT_EQ(Doc().CurrentItem().Translation, "hound");

    // Only an exact, case-sensitive match is questioned.
    Answer({"Der Hund", "", "", "hound"});
    Run(cmEditAdd);
    EXPECT_EQ(Prompts.Prompts().size(), 2u);
    EXPECT_EQ(Doc().Count(), 6);
}

TEST_F(ItemCommandsTest, EditReplacesTheItemAndUnlearnsItButUnchangedOKRecordsNothing) {
    Start();
    Form->Grid()->SelectRow(1);
    Doc().Items(1).PenaltyPoints = -1;
    Doc().Items(1).LastTested = 7;

    QString caption;
    OnNextModal([&caption](QDialog* dialog) {
        caption = dialog->windowTitle();
        EXPECT_EQ(Field(dialog, "edtCategory")->text(), QStringLiteral("noun"));
        EXPECT_EQ(Field(dialog, "edtNative")->text(), QStringLiteral("cat"));
        EXPECT_EQ(Field(dialog, "edtForeign")->Tag(), TagForeign);
        EXPECT_EQ(Field(dialog, "edtNative")->Tag(), TagNative);
        EXPECT_EQ(Field(dialog, "edtForeign")->Language(), 0x0407);
        EXPECT_EQ(Field(dialog, "edtNotes")->Language(), 0x0409);
        PressOK(dialog);
        EXPECT_FALSE(dialog->isVisible());
    });
    Key(Qt::Key_Return);
    EXPECT_EQ(caption, QStringLiteral("Edit"));
    EXPECT_FALSE(Enabled(cmEditUndo));
    EXPECT_FALSE(Doc().Modified());
    EXPECT_TRUE(Doc().Items(1).Learnt());

    // A changed field replaces the item with a fresh one.
    Answer({"die Katze", nullptr, nullptr, "cat, puss"});
    Run(cmEditEdit);
    EXPECT_EQ(Caption(cmEditUndo), QStringLiteral("&Undo Edit"));
    EXPECT_EQ(Doc().Items(1).Translation, "cat, puss");
    EXPECT_EQ(Doc().Items(1).PenaltyPoints, 0);
    EXPECT_EQ(Doc().Items(1).LastTested, 0);
    EXPECT_EQ(Doc().CurrentIndex(), 1);
    Run(cmEditUndo);
    EXPECT_EQ(Doc().Items(1).Translation, "cat");
    EXPECT_TRUE(Doc().Items(1).Learnt());
    EXPECT_EQ(Caption(cmEditRedo), QStringLiteral("&Redo Edit"));
}

TEST_F(ItemCommandsTest, DeleteSelectsTheNextItemOrTheNewLastAndUndoBringsItBack) {
    Start();
    Form->Grid()->SelectRow(1);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Words(), (std::vector<std::string>{"der Hund", "das Haus", "der Baum"}));
    EXPECT_EQ(Doc().CurrentIndex(), 1);
    EXPECT_EQ(Form->Grid()->Row(), 1);
    EXPECT_EQ(Caption(cmEditUndo), QStringLiteral("&Undo Delete"));
    EXPECT_TRUE(Prompts.Prompts().empty()); // no confirmation

    Form->Grid()->SelectRow(2);
    Form->SetCutIndex(0);
    Run(cmEditDelete);
    EXPECT_EQ(Form->CutIndex(), -1);
    EXPECT_EQ(Doc().CurrentIndex(), 1);
    EXPECT_EQ(Doc().CurrentItem().Word, "das Haus");
    EXPECT_FALSE(Enabled(cmEditMoveDown));

    Key(Qt::Key_Z, Qt::ControlModifier);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Words(), (std::vector<std::string>{"der Hund", "die Katze", "das Haus", "der Baum"}));
    EXPECT_EQ(Doc().CurrentIndex(), 1);
    EXPECT_FALSE(Enabled(cmEditUndo));
    EXPECT_EQ(Caption(cmEditUndo), QStringLiteral("&Undo"));
    EXPECT_EQ(Caption(cmEditRedo), QStringLiteral("&Redo Delete"));
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Doc().Count(), 3);
}

TEST_F(ItemCommandsTest, CopyAndPasteGoThroughTheSystemClipboard) {
    QGuiApplication::clipboard()->setText(QStringLiteral("plain text of another program"));
    Start();
    EXPECT_FALSE(Enabled(cmEditPaste));
    Form->Grid()->SelectRow(2);
    Doc().Items(2).PenaltyPoints = -1;
    Doc().Items(2).SortPosition = 4;
    Doc().Items(2).Notes = "";
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_FALSE(Doc().Modified());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("das Haus\tnoun\t\thouse"));
    EXPECT_TRUE(Enabled(cmEditPaste));

    Form->Grid()->SelectRow(0);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Words(), (std::vector<std::string>{"der Hund", "das Haus", "die Katze", "das Haus",
                                                 "der Baum"}));
    EXPECT_EQ(Doc().CurrentIndex(), 1);
    EXPECT_EQ(Form->Grid()->Row(), 1);
    const TVocabItem& pasted = Doc().Items(1);
    EXPECT_EQ(pasted.SortPosition, 4);
    EXPECT_EQ(pasted.PenaltyPoints, 0); // a pasted item is not learnt
    EXPECT_EQ(pasted.Category, "noun");
    EXPECT_EQ(pasted.Notes, "");
    EXPECT_EQ(Caption(cmEditUndo), QStringLiteral("&Undo Add"));

    Form->Settings().Options.AppendNewWords = true;
    Run(cmEditPaste);
    EXPECT_EQ(Doc().Count(), 6);
    EXPECT_EQ(Doc().CurrentIndex(), 5);

    // Undo takes the pasted item out and selects the item current before it.
    Run(cmEditUndo);
    EXPECT_EQ(Doc().Count(), 5);
    EXPECT_EQ(Doc().CurrentIndex(), 1);
    EXPECT_TRUE(Prompts.Prompts().empty());

    // Plain text from another program is no item: Paste is disabled.
    QGuiApplication::clipboard()->setText(QStringLiteral("das Haus\tnoun\t\thouse"));
    Form->UpdateCommands();
    EXPECT_FALSE(Enabled(cmEditPaste));
}

TEST_F(ItemCommandsTest, ItemFromADocumentInOtherLanguagesIsRefused) {
    Start();
    TVocabItem item;
    item.Word = "house";
    item.Translation = "Haus";
    // English-German: the languages the other way round.
    const std::string swapped = EncodeClipboardBlock(0x0409, 0x0407, item);
    Form->Clipboard().PutItem(swapped, "house\t\t\tHaus");
    Form->UpdateCommands();
    Run(cmEditPaste);
    ASSERT_EQ(Prompts.Prompts().size(), 1u);
    EXPECT_EQ(Prompts.Last().Text, QStringLiteral("Languages are different."));
    EXPECT_EQ(Prompts.Last().Icon, TMsgIcon::Error);
    EXPECT_EQ(Doc().Count(), 4);
    EXPECT_FALSE(Doc().Modified());

    // Other sub-languages of the same two languages are accepted (Swiss
    // German, British English).
    Form->Clipboard().PutItem(EncodeClipboardBlock(0x0807, 0x0809, item), "house");
    Run(cmEditPaste);
    EXPECT_EQ(Prompts.Prompts().size(), 1u);
    EXPECT_EQ(Doc().Count(), 5);
    EXPECT_EQ(Doc().CurrentItem().Word, "house");

    // A block of our format that is broken.
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(ClipboardMimeType),
                  QByteArray("\x07\x04\x09\x04\0\0\0\0a\tb\0", 13));
    QGuiApplication::clipboard()->setMimeData(data);
    Form->UpdateCommands();
    Run(cmEditPaste);
    EXPECT_EQ(Prompts.Last().Text, QStringLiteral("No valid data on clipboard."));
    EXPECT_EQ(Doc().Count(), 5);
}

TEST_F(ItemCommandsTest, CutMarksTheRowAndPasteMovesTheItemThere) {
    QGuiApplication::clipboard()->clear();
    WriteDocument(Path, {{"a", "", "", "1"},
                         {"b", "", "", "2"},
                         {"c", "", "", "3"},
                         {"d", "", "", "4"},
                         {"e", "", "", "5"},
                         {"f", "", "", "6"}});
    Start();
    Form->Grid()->SelectRow(1);
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Form->CutIndex(), 1);
    EXPECT_EQ(Doc().Count(), 6); // the item stays until it is pasted
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("b\t\t\t2"));
    EXPECT_FALSE(Enabled(cmEditUndo));

    Form->Grid()->SelectRow(4);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Words(), (std::vector<std::string>{"a", "c", "d", "e", "b", "f"}));
    EXPECT_EQ(Doc().CurrentIndex(), 4);
    EXPECT_EQ(Form->Grid()->Row(), 4);
    EXPECT_EQ(Form->CutIndex(), -1);
    EXPECT_EQ(Caption(cmEditUndo), QStringLiteral("&Undo Move"));

    // Enter pastes while a mark exists; upward moves shift the others down.
    Key(Qt::Key_X, Qt::ControlModifier);
    Form->Grid()->SelectRow(0);
    Key(Qt::Key_Return);
    EXPECT_EQ(Words(), (std::vector<std::string>{"b", "a", "c", "d", "e", "f"}));
    EXPECT_EQ(Doc().CurrentIndex(), 0);

    // Cut and Paste on the same item only removes the mark.
    Run(cmEditCut);
    Run(cmEditPaste);
    EXPECT_EQ(Form->CutIndex(), -1);
    EXPECT_EQ(Words(), (std::vector<std::string>{"b", "a", "c", "d", "e", "f"}));
    EXPECT_EQ(Caption(cmEditUndo), QStringLiteral("&Undo Move"));
    EXPECT_EQ(Doc().UndoPosition(), 2);

    // Every other item command drops the mark.
    for (TCommandId id : {cmEditCopy, cmEditMoveDown, cmEditSort, cmEditShuffle, cmEditUndo,
                          cmEditRedo, cmEditDelete}) {
        Form->SetCutIndex(Doc().CurrentIndex());
        Run(id);
        EXPECT_EQ(Form->CutIndex(), -1) << Command(id).Name;
    }
    EXPECT_TRUE(Prompts.Prompts().empty());
}

TEST_F(ItemCommandsTest, MovesStopAtTheEndsAndKeepTheItemCurrent) {
    Start();
    EXPECT_FALSE(Enabled(cmEditMoveUp));
    Key(Qt::Key_D, Qt::ControlModifier);
    Key(Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(Words(), (std::vector<std::string>{"die Katze", "das Haus", "der Hund", "der Baum"}));
    EXPECT_EQ(Doc().CurrentIndex(), 2);
    EXPECT_TRUE(Enabled(cmEditMoveUp));
    Run(cmEditMoveDown);
    EXPECT_EQ(Doc().CurrentIndex(), 3);
    EXPECT_FALSE(Enabled(cmEditMoveDown));
    Key(Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(Doc().CurrentIndex(), 2);
    EXPECT_EQ(Words(), (std::vector<std::string>{"die Katze", "das Haus", "der Hund", "der Baum"}));
    EXPECT_EQ(Caption(cmEditUndo), QStringLiteral("&Undo Move"));

    // Undo and Redo take the selection along with the item.
    Run(cmEditUndo);
    EXPECT_EQ(Form->Grid()->Row(), 3);
    Run(cmEditRedo);
    EXPECT_EQ(Doc().CurrentIndex(), 2);
    EXPECT_EQ(Form->Grid()->Row(), 2);
}

TEST_F(ItemCommandsTest, SortFollowsTheForeignCollationFromTheSortPosition) {
    WriteDocument(Path, {{"Zoo", "", "", "zoo"},
                         {"der Hund", "", "", "dog"},
                         {"apple", "", "", "apple"},
                         {"\xC4pfel", "", "", "apples"}});
    Start();
    Doc().Items(1).SortPosition = 4;
    Form->Grid()->SelectRow(2);
    Key(Qt::Key_F8);
    EXPECT_EQ(Words(), (std::vector<std::string>{"\xC4pfel", "apple", "der Hund", "Zoo"}));
    EXPECT_EQ(Doc().CurrentItem().Word, "apple");
    EXPECT_EQ(Form->Grid()->Row(), Doc().CurrentIndex());
    EXPECT_EQ(Caption(cmEditUndo), QStringLiteral("&Undo Sort"));
    EXPECT_TRUE(Doc().Modified());

    Run(cmEditUndo);
    EXPECT_EQ(Words(), (std::vector<std::string>{"Zoo", "der Hund", "apple", "\xC4pfel"}));
    EXPECT_EQ(Doc().CurrentIndex(), 2);
    EXPECT_FALSE(Doc().Modified());
    EXPECT_EQ(Caption(cmEditRedo), QStringLiteral("&Redo Sort"));

    Run(cmEditShuffle);
    EXPECT_EQ(Caption(cmEditUndo), QStringLiteral("&Undo Shuffle"));
    EXPECT_EQ(Doc().CurrentItem().Word, "apple");
    EXPECT_EQ(Form->Grid()->Row(), Doc().CurrentIndex());
    std::vector<std::string> shuffled = Words();
    std::sort(shuffled.begin(), shuffled.end());
    EXPECT_EQ(shuffled, (std::vector<std::string>{"Zoo", "apple", "der Hund", "\xC4pfel"}));
}

TEST_F(ItemCommandsTest, GridKeepsTheCurrentItemInViewAfterEachCommand) {
    TVocabFile document;
    document.ForeignLangID = 0x0407;
    document.NativeLangID = 0x0409;
    for (int i = 0; i < 200; ++i) {
        document.PendingItem().Word = "w" + std::to_string(1000 + i);
        document.PendingItem().Translation = "t";
        document.InsertPending(ipAtEnd);
    }
    document.SaveToFile(Path.toStdString());
    Start();
    Form->resize(500, 300);
    TVocabGrid* grid = Form->Grid();
    auto inView = [grid] {
        return grid->Row() >= grid->TopRow() &&
               grid->Row() < grid->TopRow() + grid->VisibleRowCount();
    };
    Form->Settings().Options.AppendNewWords = true;
    Answer({"zzz", "", "", "last"});
    Run(cmEditAdd);
    EXPECT_EQ(grid->Row(), 200);
    EXPECT_TRUE(inView());
    Run(cmEditUndo);
    EXPECT_EQ(grid->Row(), 0);
    EXPECT_TRUE(inView());
    Form->Grid()->SelectRow(150);
    Form->Grid()->SetTopRow(0);
    Run(cmEditDelete);
    EXPECT_EQ(grid->Row(), 150);
    EXPECT_TRUE(inView());
    Run(cmEditShuffle);
    EXPECT_TRUE(inView());
    EXPECT_EQ(Doc().CurrentIndex(), grid->Row());
}

TEST_F(ItemCommandsTest, NoItemCommandIsAvailableWhileTesting) {
    Start();
    Form->Clipboard().PutItem(EncodeClipboardBlock(0x0407, 0x0409, Doc().Items(0)), "x");
    Form->Document().MoveCurrent(1);
    Form->UpdateCommands();
    EXPECT_TRUE(Enabled(cmEditPaste));
    EXPECT_TRUE(Enabled(cmEditUndo));
    Form->SetViewMode(vmTest);
    Form->UpdateCommands();
    for (TCommandId id : {cmEditUndo, cmEditRedo, cmEditCut, cmEditCopy, cmEditPaste, cmEditAdd,
                          cmEditEdit, cmEditDelete, cmEditMoveUp, cmEditMoveDown, cmEditSort,
                          cmEditShuffle, cmEditFind, cmEditFindNext})
        EXPECT_FALSE(Enabled(id)) << Command(id).Name;
    // The keys do nothing either.
    Key(Qt::Key_Insert);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Doc().Count(), 4);
    EXPECT_EQ(Caption(cmEditUndo), QStringLiteral("&Undo"));
}

// Shared check of a dialog's face: every control in view and clear of the
// others, labels that focus their fields, and the tab order.
void ExpectLaidOut(QDialog* dialog, const std::vector<const char*>& tabOrder,
                   const std::vector<std::pair<const char*, const char*>>& buddies) {
    dialog->adjustSize();
    std::vector<QWidget*> controls;
    for (const char* name : tabOrder) {
        auto* control = dialog->findChild<QWidget*>(QString::fromLatin1(name));
        ASSERT_NE(control, nullptr) << name;
        controls.push_back(control);
    }
    for (const auto& [label, field] : buddies) {
        auto* l = dialog->findChild<QLabel*>(QString::fromLatin1(label));
        ASSERT_NE(l, nullptr) << label;
        EXPECT_EQ(l->buddy(), dialog->findChild<QWidget*>(QString::fromLatin1(field))) << label;
        controls.push_back(l);
    }
    const QRect inside = dialog->rect();
    for (size_t i = 0; i < controls.size(); ++i) {
        const QRect a = controls[i]->geometry();
        EXPECT_TRUE(inside.contains(a)) << controls[i]->objectName().toStdString();
        EXPECT_GT(a.width(), 0) << controls[i]->objectName().toStdString();
        for (size_t j = i + 1; j < controls.size(); ++j)
            EXPECT_FALSE(a.intersects(controls[j]->geometry()))
                << controls[i]->objectName().toStdString() << " and "
                << controls[j]->objectName().toStdString();
    }
    for (size_t i = 0; i + 1 < tabOrder.size(); ++i) {
        QWidget* next = controls[i]->nextInFocusChain();
        while (next && next->focusPolicy() == Qt::NoFocus)
            next = next->nextInFocusChain();
        EXPECT_EQ(next, controls[i + 1]) << tabOrder[i];
    }
}

TEST_F(ItemCommandsTest, EditDialogShowsEachFieldInItsOwnStyleAndOrder) {
    Start();
    OnNextModal([](QDialog* dialog) {
        ExpectLaidOut(
            dialog,
            {"edtForeign", "edtCategory", "edtNotes", "edtNative", "btnOK", "btnCancel", "btnHelp"},
            {{"lblForeign", "edtForeign"},
             {"lblCategory", "edtCategory"},
             {"lblNotes", "edtNotes"},
             {"lblNative", "edtNative"}});
        struct TStyle {
            const char* Name;
            bool Bold, Italic;
        } styles[] = {{"edtForeign", true, false},
                      {"edtCategory", false, true},
                      {"edtNotes", false, true},
                      {"edtNative", false, false}};
        for (const TStyle& style : styles) {
            const QFont font = Field(dialog, style.Name)->font();
            EXPECT_EQ(font.bold(), style.Bold) << style.Name;
            EXPECT_EQ(font.italic(), style.Italic) << style.Name;
            EXPECT_EQ(font.pixelSize(), 16) << style.Name;
        }
        EXPECT_TRUE(dialog->findChild<QPushButton*>(QStringLiteral("btnOK"))->isDefault());
        dialog->reject();
    });
    Run(cmEditAdd);
}

} // namespace
} // namespace vocalore
