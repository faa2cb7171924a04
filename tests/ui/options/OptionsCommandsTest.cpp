// Options set the way a user sets them, through F12 and the dialog, and what
// the rest of the window then does with them.

#include "UiTestSupport.h"

#include "ui/common/PromptService.h"
#include "ui/files/RecoveryCopies.h"
#include "ui/options/OptionsDialog.h"
#include "ui/testing/ChoiceList.h"
#include "ui/testing/TestCommands.h"
#include "ui/testing/TestPanel.h"
#include "ui/textentry/SymbolEdit.h"
#include "ui/window/MainWindow.h"

#include "settings/SettingsStore.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace vocalore {
namespace {

using test::OnNextModal;
using test::WriteDocument;

class OptionsCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::App();
        ASSERT_TRUE(Dir.isValid());
        Path = Dir.filePath(QStringLiteral("five.vlo"));
        WriteDocument(Path, {{"der Hund", "noun", "", "dog"},
                             {"die Katze", "noun", "", "cat"},
                             {"das Haus", "noun", "", "house"},
                             {"der Baum", "noun", "", "tree"},
                             {"die Blume", "noun", "", "flower"}});
        Form = std::make_unique<TMainForm>(Store);
        ASSERT_TRUE(Form->FormCreate({Path}));
        Form->show();
        Activate();
        Form->Settings().Options.Beep = false;
        Form->UpdateCommands();
    }
    void TearDown() override { Form.reset(); }

    void Activate() {
        QApplication::setActiveWindow(Form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    }
    // F12, then `edit` on the dialog's page `page`, then OK.
    void SetOptions(int page, std::function<void(QDialog*)> edit) {
        OnNextModal([page, edit](QDialog* dialog) {
            dialog->findChild<QTabWidget*>(QStringLiteral("pcOptions"))->setCurrentIndex(page);
            edit(dialog);
            dialog->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
        });
        Run(cmViewOptions);
        Activate();
    }
    void Run(TCommandId id) {
        Form->UpdateCommands();
        ASSERT_TRUE(Form->Action(id)->isEnabled()) << Command(id).Name;
        Form->Action(id)->trigger();
        Form->UpdateCommands();
    }
    template <typename T> T* Child(const char* name) {
        T* child = Form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    template <typename T> static T* In(QDialog* dialog, const char* name) {
        return dialog->findChild<T*>(QString::fromLatin1(name));
    }
    TSymbolEdit* Response() { return Child<TSymbolEdit>("edtResponse"); }
    QString Status() { return Child<QLabel>("pnlTestStatus")->text(); }
    const TVocabItem& Current() { return Form->Document().CurrentItem(); }
    void Answer(const QString& text) {
        QTest::keyClicks(Response(), text);
        QTest::keyClick(Response(), Qt::Key_Return);
    }
    // Continue after an answer, to the next question.
    void Continue() {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        ASSERT_FALSE(Form->Testing().Session().Answered());
    }

    QTemporaryDir Dir;
    QString Path;
    TMemorySettingsStore Store;
    TFakePromptService Prompts{true};
    std::unique_ptr<TMainForm> Form;
};

TEST_F(OptionsCommandsTest, OKWhileTestingRefreshesTheQuestionWithTheNewChoices) {
    Form->Settings().Options.NumChoices = 4;
    Run(cmTestStartTesting);
    Run(cmTestMultipleChoice);
    auto* list = Child<TChoiceList>("lbResponse");
    ASSERT_TRUE(list->isVisible());
    EXPECT_EQ(list->count(), 4);
    const std::string asked = Current().Word;
    const int32_t attempts = Form->Document().AttemptCount();

    SetOptions(opQuestion, [](QDialog* dialog) {
        In<QComboBox>(dialog, "cbNumChoices")->setEditText(QStringLiteral("3"));
    });
    EXPECT_EQ(Form->Settings().Options.NumChoices, 3);
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(Current().Word, asked);
    EXPECT_EQ(Form->Document().AttemptCount(), attempts);
    bool listed = false;
    for (const TVocabItem* choice : list->Choices())
        listed = listed || choice == &Current();
    EXPECT_TRUE(listed);
    EXPECT_EQ(Form->ViewMode(), vmTest);
}

TEST_F(OptionsCommandsTest, EvaluationAndFeedbackFromTheDialogJudgeTheNextAnswer) {
    // Capitalization counts once its rule is unticked; wrong answers turn green.
    SetOptions(opEvaluation, [](QDialog* dialog) {
        In<QListWidget>(dialog, "clbPassive")->item(0)->setCheckState(Qt::Unchecked);
    });
    EXPECT_EQ(Form->Settings().Options.PassiveEvaluation, 0x037E);
    SetOptions(opFeedback, [](QDialog* dialog) {
        auto* colour = In<QComboBox>(dialog, "cbColourWrong");
        colour->setCurrentIndex(colour->findText(QStringLiteral("Green")));
        In<QCheckBox>(dialog, "chbAutoContinue")->setChecked(true);
    });
    Run(cmTestStartTesting);
    Answer(QString::fromStdString(Current().Translation).toUpper());
    EXPECT_EQ(Status(), QStringLiteral("Wrong!"));
    EXPECT_EQ(Response()->palette().color(QPalette::Text), QColor(0, 128, 0));
    Continue();
    // A right answer moves straight on.
    const std::string asked = Current().Word;
    Answer(QString::fromStdString(Current().Translation));
    EXPECT_FALSE(Form->Testing().Session().Answered());
    EXPECT_NE(Current().Word, asked);
}

TEST_F(OptionsCommandsTest, TickedAddAtEndPutsANewItemLast) {
    Form->Grid()->SelectRow(1);
    SetOptions(opEditing,
               [](QDialog* dialog) { In<QCheckBox>(dialog, "chbAppendNewWords")->click(); });
    OnNextModal([](QDialog* dialog) {
        In<QLineEdit>(dialog, "edtForeign")->setText(QStringLiteral("der Vogel"));
        In<QLineEdit>(dialog, "edtNative")->setText(QStringLiteral("bird"));
        In<QPushButton>(dialog, "btnOK")->click();
    });
    Run(cmEditAdd);
    ASSERT_EQ(Form->Document().Count(), 6);
    EXPECT_EQ(Form->Document().Items(5).Word, "der Vogel");
    EXPECT_EQ(Form->Document().CurrentIndex(), 5);
}

TEST_F(OptionsCommandsTest, SortReminderFollowsTheTickAndItsNoShowsInTheDialog) {
    SetOptions(opEditing,
               [](QDialog* dialog) { In<QCheckBox>(dialog, "chbRequireSortPosition")->click(); });
    ASSERT_TRUE(Form->Settings().Options.RequireSortPosition);
    // A new word without '@' brings the reminder; No switches it off for good.
    Prompts.QueueButton(mbNo);
    OnNextModal([](QDialog* dialog) {
        In<QLineEdit>(dialog, "edtForeign")->setText(QStringLiteral("der Vogel"));
        In<QLineEdit>(dialog, "edtNative")->setText(QStringLiteral("bird"));
        In<QPushButton>(dialog, "btnOK")->click();
        if (dialog->isVisible())
            In<QPushButton>(dialog, "btnOK")->click();
    });
    Run(cmEditAdd);
    Activate();
    ASSERT_FALSE(Prompts.Prompts().empty());
    EXPECT_TRUE(Prompts.Prompts()[0].Text.startsWith(QStringLiteral("To specify how this item")));
    EXPECT_FALSE(Form->Settings().Options.RequireSortPosition);
    EXPECT_EQ(Form->Document().Count(), 6);
    bool shownOff = false;
    SetOptions(opEditing, [&shownOff](QDialog* dialog) {
        shownOff = !In<QCheckBox>(dialog, "chbRequireSortPosition")->isChecked();
    });
    EXPECT_TRUE(shownOff);
    EXPECT_FALSE(Form->Settings().Options.RequireSortPosition);
}

TEST_F(OptionsCommandsTest, NotesChosenInTheDialogAreAskedForInTheTest) {
    WriteDocument(Path, {{"die Stadt", "noun", "fem.", "town"}});
    ASSERT_TRUE(Form->OpenDocument(Path));
    Run(cmTestStartTesting);
    auto* notes = Child<TSymbolEdit>("edtNotes");
    EXPECT_TRUE(notes->isReadOnly());
    SetOptions(opQuestion, [](QDialog* dialog) {
        In<QComboBox>(dialog, "cbTestNotes")->setCurrentIndex(1); // Only in Passive mode
    });
    EXPECT_TRUE(Form->Testing().Session().NotesTested());
    EXPECT_FALSE(notes->isReadOnly());
    EXPECT_EQ(notes->text(), QString());
}

TEST_F(OptionsCommandsTest, ShortcutAssignedInTheDialogTypesItsCharacter) {
    SetOptions(opKeyboard, [](QDialog* dialog) {
        auto* keys = In<QComboBox>(dialog, "cbShortcut");
        keys->setCurrentIndex(keys->findText(QStringLiteral("Ctrl+Alt+B")));
        auto* characters = In<QComboBox>(dialog, "cbCharacter");
        characters->setCurrentIndex(characters->findData(0xE9));
    });
    EXPECT_EQ(Form->Settings().Options.ShortcutChars[27], MakeShortcutChar(0xE9, 0));
    Run(cmTestStartTesting);
    QTest::keyClick(Response(), Qt::Key_B, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(Response()->text(), QStringLiteral("\u00E9"));
}

TEST_F(OptionsCommandsTest, FilesPageSetsHowOftenRecoveryCopiesAreKept) {
    // The page after Speech shows the interval in use, and 0 as "never".
    auto filesPage = [](QDialog* dialog) {
        auto* pages = In<QTabWidget>(dialog, "pcOptions");
        auto* page = pages->findChild<QWidget*>(QStringLiteral("tsFiles"));
        return std::make_pair(pages, page);
    };
    int shown = -1;
    QString speechTab, filesTab, zeroText, fifteenText;
    OnNextModal([&](QDialog* dialog) {
        auto [pages, page] = filesPage(dialog);
        ASSERT_NE(page, nullptr);
        speechTab = pages->tabText(pages->count() - 2);
        filesTab = pages->tabText(pages->indexOf(page));
        auto* minutes = In<QSpinBox>(dialog, "seRecoveryMinutes");
        shown = minutes->value();
        minutes->setValue(0);
        zeroText = minutes->text();
        minutes->setValue(15);
        fifteenText = minutes->text();
        In<QPushButton>(dialog, "btnCancel")->click();
    });
    Run(cmViewOptions);
    Activate();
    EXPECT_EQ(speechTab, QStringLiteral("Speech"));
    EXPECT_EQ(filesTab, QStringLiteral("Files"));
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(zeroText, QStringLiteral("never"));
    EXPECT_EQ(fifteenText, QStringLiteral("15 min"));
    // Cancel keeps the interval.
    EXPECT_EQ(Form->Settings().RecoveryMinutes, 2);
    EXPECT_EQ(Form->RecoveryCopies().Interval(), 2);

    // OK takes effect at once and is kept with the settings.
    for (int minutes : {0, 45}) {
        OnNextModal([&](QDialog* dialog) {
            auto [pages, page] = filesPage(dialog);
            pages->setCurrentWidget(page);
            In<QSpinBox>(dialog, "seRecoveryMinutes")->setValue(minutes);
            In<QPushButton>(dialog, "btnOK")->click();
        });
        Run(cmViewOptions);
        Activate();
        EXPECT_EQ(Form->Settings().RecoveryMinutes, minutes);
        EXPECT_EQ(Form->RecoveryCopies().Interval(), minutes);
    }
    ASSERT_TRUE(Form->close());
    auto key = Store.OpenKey(SettingsKeyPath, false);
    ASSERT_TRUE(key);
    const auto stored = key->Query("RecoveryMinutes");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->Data, (std::vector<uint8_t>{45, 0, 0, 0}));
}

} // namespace
} // namespace vocalore
