// Whole tests through the real test panel: keys and clicks as a user gives
// them, the window's commands, and what the panel then shows.

#include "UiTestSupport.h"

#include "ui/common/PromptService.h"
#include "ui/testing/ChoiceList.h"
#include "ui/testing/StatisticsDialog.h"
#include "ui/testing/TestCommands.h"
#include "ui/testing/TestPanel.h"
#include "ui/textentry/SymbolEdit.h"
#include "ui/window/MainWindow.h"

#include "settings/SettingsStore.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <optional>
#include <stdexcept>

#include <gtest/gtest.h>

namespace vocalore {
namespace {

using test::OnNextModal;
using test::WriteDocument;

constexpr uint32_t Blue = 0xFF0000; // 0x00BBGGRR
constexpr uint32_t Red = 0x0000FF;

class TestPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::App();
        ASSERT_TRUE(Dir.isValid());
        Form = std::make_unique<TMainForm>(Store);
    }
    void TearDown() override { Form.reset(); }

    QString Path(const char* name) const { return Dir.filePath(QString::fromLatin1(name)); }

    // Opens the document, shows the window active and sets the options a
    // test relies on (no beep, no delay unless asked).
    void StartWith(const QString& path) {
        ASSERT_TRUE(Form->FormCreate({path}));
        Form->show();
        QApplication::setActiveWindow(Form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
        Options().Beep = false;
        Options().ColourRight = Blue;
        Options().ColourWrong = Red;
        Form->UpdateCommands();
        PanelWidget().SetDelayUnit(10);
    }
    // Offscreen, the window doesn't become active again by itself after a dialog.
    void Reactivate() {
        QApplication::setActiveWindow(Form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    }
    TOptions& Options() { return Form->Settings().Options; }
    TTestPanel& PanelWidget() { return *Form->Testing().Panel(); }
    TTestSession& Session() { return Form->Testing().Session(); }
    const TVocabItem& Current() { return Form->Document().CurrentItem(); }

    template <typename T> T* Child(const char* name) {
        T* child = Form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    TSymbolEdit* Response() { return Child<TSymbolEdit>("edtResponse"); }
    TSymbolEdit* Notes() { return Child<TSymbolEdit>("edtNotes"); }
    TChoiceList* List() { return Child<TChoiceList>("lbResponse"); }
    QPushButton* EnterButton() { return Child<QPushButton>("btnEnter"); }
    QPushButton* Toggle() { return Child<QPushButton>("btnToggleAnswer"); }
    QString Status() { return Child<QLabel>("pnlTestStatus")->text(); }
    QString Caption(const char* name) { return Child<QLabel>(name)->text(); }
    QColor TextColour(QWidget* w) { return w->palette().color(QPalette::Text); }
    QWidget* Focused() { return QApplication::focusWidget(); }

    // A command as the menu runs it, after the idle pass set its state.
    void Run(TCommandId id) {
        Form->UpdateCommands();
        ASSERT_TRUE(Form->Action(id)->isEnabled()) << Command(id).Name;
        Form->Action(id)->trigger();
        Form->UpdateCommands();
    }
    bool Enabled(TCommandId id) {
        Form->UpdateCommands();
        return Form->Action(id)->isEnabled();
    }
    // Types into the focused control and presses Enter there.
    void Answer(const QString& text) {
        QWidget* target = Focused();
        ASSERT_NE(target, nullptr);
        QTest::keyClicks(target, text);
        QTest::keyClick(Focused(), Qt::Key_Return);
        Form->UpdateCommands();
    }
    QString Translation() { return QString::fromStdString(Current().Translation); }
    QString Word() { return QString::fromLatin1(Current().Word.c_str()); }
    int Errors() const {
        int n = 0;
        for (const TRecordedPrompt& p : Prompts.Prompts())
            n += p.Kind == TRecordedPrompt::pkMessage && p.Icon == TMsgIcon::Error;
        return n;
    }

    QTemporaryDir Dir;
    TMemorySettingsStore Store;
    TFakePromptService Prompts{true};
    std::unique_ptr<TMainForm> Form;
};

TEST_F(TestPanelTest, TypedPassiveAnswersRightThenWrongWithTheToggle) {
    WriteDocument(Path("two.vlo"),
                  {{"der Hund", "noun", "", "dog"}, {"die Katze", "noun", "", "cat"}});
    StartWith(Path("two.vlo"));
    Run(cmTestStartTesting);
    ASSERT_EQ(Form->ViewMode(), vmTest);
    EXPECT_TRUE(PanelWidget().isVisible());
    EXPECT_FALSE(Form->Grid()->isVisible());
    EXPECT_EQ(Form->Action(cmTestStartTesting)->text(), QStringLiteral("Stop &Testing"));
    EXPECT_EQ(Caption("lblResponse"), QStringLiteral("Translation(s):"));
    EXPECT_EQ(PanelWidget().QuestionText(), Word());
    EXPECT_EQ(Child<TSymbolEdit>("edtCategory")->text(), QStringLiteral("noun"));
    EXPECT_TRUE(Child<TSymbolEdit>("edtCategory")->isReadOnly());
    EXPECT_EQ(Focused(), Response());
    EXPECT_EQ(EnterButton()->text(), QStringLiteral("Enter"));
    EXPECT_FALSE(Toggle()->isEnabled());
    EXPECT_FALSE(Child<QLabel>("imgResult")->isVisible());
    EXPECT_EQ(Form->StatusPanel(2)->text(), QStringLiteral("0%"));

    // Right: the expected text in the right colour, Continue focused, no toggle.
    const std::string firstWord = Current().Word;
    Answer(Translation().toUpper());
    EXPECT_EQ(Status(), QStringLiteral("Right!"));
    EXPECT_TRUE(Child<QLabel>("imgResult")->isVisible());
    EXPECT_EQ(Response()->text(), Translation());
    EXPECT_TRUE(Response()->isReadOnly());
    EXPECT_EQ(TextColour(Response()), QColor(0, 0, 255));
    EXPECT_EQ(EnterButton()->text(), QStringLiteral("Continue"));
    EXPECT_TRUE(EnterButton()->isEnabled());
    EXPECT_EQ(Focused(), EnterButton());
    EXPECT_FALSE(Toggle()->isEnabled());
    EXPECT_EQ(Form->StatusPanel(2)->text(), QStringLiteral("50%"));
    EXPECT_EQ(Form->Document().UndoKind(), ukNone);

    // Enter on Continue: the other item, asked afresh.
    QTest::keyClick(Focused(), Qt::Key_Return);
    EXPECT_NE(Current().Word, firstWord);
    EXPECT_EQ(Status(), QString());
    EXPECT_EQ(Response()->text(), QString());
    EXPECT_FALSE(Response()->isReadOnly());
    EXPECT_EQ(TextColour(Response()), QApplication::palette().color(QPalette::Text));
    EXPECT_EQ(Focused(), Response());
    EXPECT_EQ(EnterButton()->text(), QStringLiteral("Enter"));
    EXPECT_FALSE(Toggle()->isEnabled());
    EXPECT_FALSE(Child<QLabel>("imgResult")->isVisible());

    // Wrong: the correct answer in the wrong colour; the toggle shows the
    // user's own text and back.
    Answer(QStringLiteral("horse"));
    EXPECT_EQ(Status(), QStringLiteral("Wrong!"));
    EXPECT_EQ(Response()->text(), Translation());
    EXPECT_EQ(TextColour(Response()), QColor(255, 0, 0));
    ASSERT_TRUE(Toggle()->isEnabled());
    EXPECT_EQ(Toggle()->text(), QStringLiteral("Your &Answer"));
    QTest::mouseClick(Toggle(), Qt::LeftButton);
    EXPECT_EQ(Response()->text(), QStringLiteral("horse"));
    EXPECT_EQ(TextColour(Response()), QApplication::palette().color(QPalette::Text));
    EXPECT_EQ(Toggle()->text(), QStringLiteral("Correct &Answer"));
    QTest::mouseClick(Toggle(), Qt::LeftButton);
    EXPECT_EQ(Response()->text(), Translation());
    EXPECT_EQ(TextColour(Response()), QColor(255, 0, 0));
    EXPECT_EQ(Toggle()->text(), QStringLiteral("Your &Answer"));

    EXPECT_EQ(Form->Document().AttemptCount(), 2);
    EXPECT_EQ(Form->Document().SuccessCount(), 1);
    EXPECT_TRUE(Form->Document().Modified());

    // Esc stops; the grid comes back with the last item selected.
    QTest::keyClick(Focused(), Qt::Key_Escape);
    EXPECT_EQ(Form->ViewMode(), vmEdit);
    EXPECT_FALSE(Session().Testing());
    EXPECT_TRUE(Form->Grid()->isVisible());
    EXPECT_EQ(Form->Grid()->Row(), Form->Document().CurrentIndex());
    EXPECT_EQ(PanelWidget().QuestionText(), QString());
    EXPECT_EQ(Errors(), 0);
}

TEST_F(TestPanelTest, NotesRowsOrderAndFocusFollowTheMode) {
    WriteDocument(Path("notes.vlo"), {{"die Stadt", "noun", "fem.", "town"},
                                      {"schnell", "adjective", "", "fast"},
                                      {"rot", "adjective", "", "red"}});
    StartWith(Path("notes.vlo"));
    Options().TestNotes = {true, true};
    Run(cmTestStartTesting);
    // Wrong answers until the item with notes is the one asked.
    while (Current().Notes.empty()) {
        Answer(QStringLiteral("x"));
        QTest::keyClick(Focused(), Qt::Key_Return);
    }
    const int32_t attempts = Form->Document().AttemptCount();
    ASSERT_EQ(Current().Notes, "fem.");
    // Typed, the notes are not part of the question; with multiple choice in
    // Passive mode they follow the word.
    EXPECT_EQ(PanelWidget().QuestionNotes(), QString());
    Run(cmTestMultipleChoice);
    EXPECT_EQ(PanelWidget().QuestionText(), QStringLiteral("die Stadt"));
    EXPECT_EQ(PanelWidget().QuestionNotes(), QStringLiteral("fem."));
    Run(cmTestMultipleChoice);
    ASSERT_EQ(Current().Notes, "fem.");
    auto* notesRow = Child<QWidget>("pnlNotes");
    auto* responseRow = Child<QWidget>("pnlResponse");

    // Passive: notes above the answer, focused; Tab goes on to the answer.
    EXPECT_LT(notesRow->y(), responseRow->y());
    EXPECT_EQ(Focused(), Notes());
    EXPECT_FALSE(Notes()->isReadOnly());
    EXPECT_EQ(Notes()->text(), QString());
    QTest::keyClick(Notes(), Qt::Key_Tab);
    EXPECT_EQ(Focused(), Response());

    // Ctrl+Tab: the same item from the other side, answer row on top.
    const std::string asked = Current().Word;
    QTest::keyClick(Focused(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(Session().Mode(), tmActive);
    EXPECT_EQ(Form->Settings().TestMode, 1);
    EXPECT_EQ(Current().Word, asked);
    EXPECT_EQ(Caption("lblResponse"), QStringLiteral("Word/phrase:"));
    EXPECT_EQ(PanelWidget().QuestionText(), QStringLiteral("town"));
    EXPECT_LT(responseRow->y(), notesRow->y());
    EXPECT_EQ(Focused(), Response());
    EXPECT_EQ(Response()->Tag(), TagForeign);
    QTest::keyClick(Response(), Qt::Key_Tab);
    EXPECT_EQ(Focused(), Notes());

    // A right word with wrong notes: word in the right colour, notes in the wrong one.
    QTest::keyClicks(Response(), QStringLiteral("die Stadt"));
    QTest::keyClicks(Notes(), QStringLiteral("masc."));
    QTest::keyClick(Notes(), Qt::Key_Return);
    EXPECT_EQ(Status(), QStringLiteral("Wrong!"));
    EXPECT_EQ(TextColour(Response()), QColor(0, 0, 255));
    EXPECT_EQ(Notes()->text(), QStringLiteral("fem."));
    EXPECT_EQ(TextColour(Notes()), QColor(255, 0, 0));
    EXPECT_TRUE(Notes()->isReadOnly());
    QTest::mouseClick(Toggle(), Qt::LeftButton);
    EXPECT_EQ(Notes()->text(), QStringLiteral("masc."));
    EXPECT_EQ(TextColour(Notes()), QApplication::palette().color(QPalette::Text));
    EXPECT_EQ(Response()->text(), QStringLiteral("die Stadt"));

    // Ctrl+Tab after the answer moves on to the next question.
    QTest::keyClick(Focused(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(Session().Mode(), tmPassive);
    EXPECT_FALSE(Session().Answered());
    EXPECT_EQ(Form->Document().AttemptCount(), attempts + 1);

    // The item without notes is never asked for them: its notes box is a label.
    while (!Current().Notes.empty()) {
        Answer(QStringLiteral("x"));
        QTest::keyClick(Focused(), Qt::Key_Return);
    }
    ASSERT_TRUE(Current().Notes.empty());
    EXPECT_FALSE(Session().NotesTested());
    EXPECT_TRUE(Notes()->isReadOnly());
    EXPECT_EQ(Notes()->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(Focused(), Response());

    // Back to the item with notes: its notes box is editable again.
    while (Current().Notes.empty()) {
        Answer(QStringLiteral("x"));
        QTest::keyClick(Focused(), Qt::Key_Return);
    }
    EXPECT_FALSE(Notes()->isReadOnly());
    EXPECT_EQ(Notes()->text(), QString());
    EXPECT_EQ(Focused(), Notes());
}

TEST_F(TestPanelTest, DelayHoldsContinueAfterAWrongAnswerOnly) {
    WriteDocument(Path("two.vlo"),
                  {{"der Hund", "noun", "", "dog"}, {"die Katze", "noun", "", "cat"}});
    StartWith(Path("two.vlo"));
    Options().Delay = 5; // 5 x 10 ms in the test
    Run(cmTestStartTesting);
    Answer(QStringLiteral("wrong"));
    EXPECT_EQ(Status(), QStringLiteral("Wrong!"));
    EXPECT_FALSE(EnterButton()->isEnabled());
    EXPECT_TRUE(Toggle()->isEnabled());
    // Enter within the delay does nothing, and a click on the button neither.
    const std::string asked = Current().Word;
    QTest::keyClick(Focused(), Qt::Key_Return);
    EXPECT_TRUE(Session().Answered());
    ASSERT_TRUE(QTest::qWaitFor([this] { return EnterButton()->isEnabled(); }, 2000));
    EXPECT_EQ(Focused(), EnterButton());
    QTest::keyClick(Focused(), Qt::Key_Return);
    EXPECT_FALSE(Session().Answered());
    EXPECT_NE(Current().Word, asked);

    // A right answer never waits.
    Answer(Translation());
    EXPECT_EQ(Status(), QStringLiteral("Right!"));
    EXPECT_TRUE(EnterButton()->isEnabled());

    // Esc still stops testing within the delay.
    QTest::keyClick(Focused(), Qt::Key_Return);
    Options().Delay = 20;
    Answer(QStringLiteral("wrong"));
    EXPECT_FALSE(EnterButton()->isEnabled());
    QTest::keyClick(Focused(), Qt::Key_Escape);
    EXPECT_EQ(Form->ViewMode(), vmEdit);
    EXPECT_FALSE(Child<QTimer>("timAnswer")->isActive());

    // Delay 0: Continue at once.
    Options().Delay = 0;
    Run(cmTestStartTesting);
    Answer(QStringLiteral("wrong"));
    EXPECT_TRUE(EnterButton()->isEnabled());
}

TEST_F(TestPanelTest, AutoContinueMovesStraightOnAfterARightAnswer) {
    WriteDocument(Path("three.vlo"), {{"der Hund", "noun", "", "dog"},
                                      {"die Katze", "noun", "", "cat"},
                                      {"das Haus", "noun", "", "house"}});
    StartWith(Path("three.vlo"));
    Options().AutoContinue = true;
    Run(cmTestStartTesting);
    const std::string asked = Current().Word;
    Answer(Translation());
    EXPECT_FALSE(Session().Answered());
    EXPECT_NE(Current().Word, asked);
    EXPECT_EQ(Status(), QString());
    EXPECT_EQ(Focused(), Response());
    // A wrong answer still shows its feedback.
    Answer(QStringLiteral("nothing"));
    EXPECT_EQ(Status(), QStringLiteral("Wrong!"));
}

TEST_F(TestPanelTest, MultipleChoiceByKeysAndMouse) {
    WriteDocument(Path("two.vlo"),
                  {{"der Hund", "noun", "", "dog"}, {"die Katze", "noun", "", "cat"}});
    StartWith(Path("two.vlo"));
    Options().NumChoices = 4;
    Run(cmTestStartTesting);
    Run(cmTestMultipleChoice);
    EXPECT_TRUE(Form->Settings().MultipleChoice);
    TChoiceList* list = List();
    ASSERT_TRUE(list->isVisible());
    EXPECT_FALSE(Child<QWidget>("pnlResponse")->isVisible());
    EXPECT_FALSE(Child<QWidget>("pnlNotes")->isVisible());
    // Exactly four rows, two of them empty.
    EXPECT_EQ(list->height(), 4 * 20 + 2 * list->frameWidth());
    EXPECT_EQ(list->RowHeight(), 20);
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(Focused(), list);
    EXPECT_EQ(list->SelectedIndex(), -1);
    EXPECT_FALSE(Enabled(cmTestHint));
    // The buttons keep the 12-pixel gap under the list that they keep under
    // the typed rows: counted from the first pixel row below the list.
    EXPECT_EQ(Child<QWidget>("pnlButtons")->y() - (list->geometry().bottom() + 1), 12);

    // Arrows move without answering; Enter answers with the selection.
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->SelectedIndex(), 0);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->SelectedIndex(), 1);
    EXPECT_FALSE(Session().Answered());
    const int right = list->Choices()[0] == &Current() ? 0 : 1;
    while (list->SelectedIndex() != right)
        QTest::keyClick(list, Qt::Key_Up);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(Status(), QStringLiteral("Right!"));
    EXPECT_FALSE(list->isEnabled());
    EXPECT_EQ(list->count(), 1);
    EXPECT_EQ(list->TextColour(), QColor(0, 0, 255));

    // A click on the list after the answer moves on.
    const QPoint inList = list->geometry().center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->viewport()->rect().center());
    EXPECT_FALSE(Session().Answered()) << "click at " << inList.x() << "," << inList.y();
    ASSERT_TRUE(list->isEnabled());
    EXPECT_EQ(list->count(), 2);

    // A click on an entry answers at once: here the wrong one.
    const int wrong = list->Choices()[0] == &Current() ? 1 : 0;
    Options().Delay = 5;
    const QRect entry = list->visualItemRect(list->item(wrong));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, entry.center());
    EXPECT_EQ(Status(), QStringLiteral("Wrong!"));
    EXPECT_EQ(list->TextColour(), QColor(255, 0, 0));
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->Choices()[0], &Current());
    // Your answer: the chosen entry in the window-text colour.
    QTest::mouseClick(Toggle(), Qt::LeftButton);
    ASSERT_EQ(list->count(), 1);
    EXPECT_NE(list->Choices()[0], &Current());
    // Within the delay a click on the list doesn't move on.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->viewport()->rect().center());
    EXPECT_TRUE(Session().Answered());
    ASSERT_TRUE(QTest::qWaitFor([this] { return EnterButton()->isEnabled(); }, 2000));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->viewport()->rect().center());
    EXPECT_FALSE(Session().Answered());

    // Enter with nothing selected counts as wrong.
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(Status(), QStringLiteral("Wrong!"));
    EXPECT_EQ(Form->Document().AttemptCount(), 3);
    EXPECT_EQ(Form->Document().SuccessCount(), 1);

    // Stopping lets go of the entries' items.
    QTest::keyClick(Focused(), Qt::Key_Escape);
    EXPECT_EQ(Form->ViewMode(), vmEdit);
    EXPECT_EQ(list->count(), 0);
    EXPECT_TRUE(list->Choices().empty());
}

TEST_F(TestPanelTest, TypeAheadInActiveModeLooksPastTheArticle) {
    TVocabFile document;
    document.ForeignLangID = 0x0407;
    document.NativeLangID = 0x0409;
    for (const auto& [word, sortPosition, translation] :
         std::initializer_list<std::tuple<const char*, int, const char*>>{
             {"die Katze", 4, "cat"}, {"der Hund", 4, "dog"}, {"das Kind", 4, "child"}}) {
        TVocabItem& item = document.PendingItem();
        item.Word = word;
        item.SortPosition = sortPosition;
        item.Translation = translation;
        document.InsertPending(ipAtEnd);
    }
    document.SaveToFile(Path("articles.vlo").toStdString());
    StartWith(Path("articles.vlo"));
    Form->Settings().TestMode = 1;
    Form->Settings().MultipleChoice = true;
    Options().NumChoices = 3;
    Run(cmTestStartTesting);
    TChoiceList* list = List();
    ASSERT_EQ(list->count(), 3);
    auto rowOf = [&](const char* word) {
        for (int i = 0; i < 3; ++i)
            if (list->Choices()[static_cast<size_t>(i)]->Word == word)
                return i;
        return -1;
    };
    // The article's letter selects nothing and changes nothing.
    QTest::keyClick(list, Qt::Key_D);
    EXPECT_EQ(list->SelectedIndex(), -1);
    QTest::keyClick(list, Qt::Key_H);
    EXPECT_EQ(list->SelectedIndex(), rowOf("der Hund"));
    // K twice goes through both K words, in list order from the selection.
    QTest::keyClick(list, Qt::Key_K);
    const int firstK = list->SelectedIndex();
    QTest::keyClick(list, Qt::Key_K);
    const int secondK = list->SelectedIndex();
    EXPECT_NE(firstK, secondK);
    EXPECT_TRUE((firstK == rowOf("die Katze") && secondK == rowOf("das Kind")) ||
                (firstK == rowOf("das Kind") && secondK == rowOf("die Katze")));
    EXPECT_FALSE(Session().Answered());
    // Entries show the foreign words in Active mode.
    EXPECT_EQ(list->EntryText(rowOf("der Hund")), QStringLiteral("der Hund"));
}

TEST_F(TestPanelTest, HintRevealsLetterByLetterWhereAllowed) {
    WriteDocument(Path("one.vlo"), {{"der Hund", "noun", "male", "dog"}});
    StartWith(Path("one.vlo"));
    Run(cmTestStartTesting);
    EXPECT_TRUE(Enabled(cmTestHint));
    // Ctrl+H from the keyboard: "d", then the rest at once (one letter short).
    QTest::keyClick(Response(), Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(Response()->text(), QStringLiteral("d"));
    QTest::keyClicks(Response(), QStringLiteral("x"));
    Run(cmTestHint);
    EXPECT_EQ(Response()->text(), QStringLiteral("do"));
    EXPECT_EQ(Response()->cursorPosition(), 2);
    Run(cmTestHint);
    EXPECT_EQ(Response()->text(), QStringLiteral("dog"));
    EXPECT_TRUE(Session().HintUsed());
    // Notes not tested: no hint from the notes box either (it can't take focus).
    EXPECT_EQ(Notes()->focusPolicy(), Qt::NoFocus);

    // A hinted right answer is shown right and, hints allowed, counted right.
    QTest::keyClick(Response(), Qt::Key_Return);
    EXPECT_EQ(Status(), QStringLiteral("Right!"));
    EXPECT_EQ(Form->Document().SuccessCount(), 1);
    EXPECT_FALSE(Enabled(cmTestHint)); // answered
    EXPECT_EQ(Errors(), 0);
}

// Alt+T gives the keyboard to the menu bar; the answer box that had it before
// still decides Hint, and H in the menu gives the hint there.
TEST_F(TestPanelTest, HintFromTheKeyboardMenuJudgesTheAnswerBox) {
    WriteDocument(Path("one.vlo"), {{"der Hund", "noun", "male", "dog"}});
    StartWith(Path("one.vlo"));
    Run(cmTestStartTesting);
    ASSERT_EQ(QApplication::focusWidget(), Response());
    QTest::keyClick(Form.get(), Qt::Key_T, Qt::AltModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    EXPECT_NE(QApplication::focusWidget(), Response());
    EXPECT_TRUE(Enabled(cmTestHint));
    QTest::keyClick(menu, Qt::Key_H);
    EXPECT_EQ(Response()->text(), QStringLiteral("d"));
    EXPECT_EQ(Errors(), 0);
    // Once answered, the menu shows it disabled.
    QTest::keyClick(Response(), Qt::Key_Return);
    QTest::keyClick(Form.get(), Qt::Key_T, Qt::AltModifier);
    EXPECT_FALSE(Enabled(cmTestHint));
    if (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
}

// A window narrower than the panel's design width keeps the result glyph and
// Continue in sight.
TEST_F(TestPanelTest, NarrowWindowKeepsTheResultAndContinueInSight) {
    WriteDocument(Path("one.vlo"), {{"der Hund", "noun", "male", "dog"}});
    StartWith(Path("one.vlo"));
    Run(cmTestStartTesting);
    Form->resize(300, Form->height());
    QApplication::processEvents();
    TTestPanel& panel = PanelWidget();
    const QRect inside = panel.contentsRect();
    for (const char* name : {"imgResult", "btnEnter", "btnToggleAnswer", "edtResponse"}) {
        auto* widget = Child<QWidget>(name);
        const QRect at(widget->mapTo(&panel, QPoint(0, 0)), widget->size());
        EXPECT_TRUE(inside.contains(at)) << name << " " << at.right() << " > " << inside.right();
    }
    EXPECT_LE(Form->centralWidget()->width(), Form->width());
}

TEST_F(TestPanelTest, DisallowedHintTurnsARightAnswerIntoAFailure) {
    WriteDocument(Path("two.vlo"),
                  {{"der Hund", "noun", "", "dog"}, {"die Katze", "noun", "", "cat"}});
    StartWith(Path("two.vlo"));
    Options().DisallowHints = true;
    Options().UsePenaltyPoints = true;
    Options().MaxPenaltyPoints = 3;
    Run(cmTestStartTesting);
    Run(cmTestHint);
    QTest::keyClicks(Response(), Translation().mid(1));
    QTest::keyClick(Response(), Qt::Key_Return);
    EXPECT_EQ(Status(), QStringLiteral("Right!"));
    EXPECT_EQ(Form->Document().SuccessCount(), 0);
    EXPECT_EQ(Current().PenaltyPoints, 1);
    // Stopping and Hint outside testing: the command is refused.
    Run(cmTestStartTesting);
    EXPECT_FALSE(Enabled(cmTestHint));
    Form->RunCommand([this] { Form->Testing().miTestHintClick(); });
    EXPECT_EQ(Prompts.Last().Text, QStringLiteral("Command unavailable."));
}

TEST_F(TestPanelTest, AllLearntGoesThroughStatisticsAndResetContinues) {
    WriteDocument(Path("one.vlo"), {{"der Hund", "noun", "", "dog"}});
    StartWith(Path("one.vlo"));
    Run(cmTestStartTesting);
    Answer(QStringLiteral("cat"));
    QTest::keyClick(Focused(), Qt::Key_Return);
    ASSERT_EQ(Current().Word, "der Hund"); // the only item comes back
    Answer(QStringLiteral("dog"));

    // Continue after the last item: congratulations, then Statistics with
    // the figures; ticking Reset and OK goes straight on testing.
    bool sawDialog = false;
    OnNextModal([&](QDialog* dialog) {
        sawDialog = dynamic_cast<TStatisticsDialog*>(dialog) != nullptr;
        auto text = [dialog](const char* name) {
            return dialog->findChild<QLabel*>(QString::fromLatin1(name))->text();
        };
        EXPECT_EQ(text("stLearnt"), QStringLiteral("1"));
        EXPECT_EQ(text("stItems"), QStringLiteral("1"));
        EXPECT_EQ(text("stProgress"), QStringLiteral("100%"));
        EXPECT_EQ(text("stSuccesses"), QStringLiteral("1"));
        EXPECT_EQ(text("stAttempts"), QStringLiteral("2"));
        EXPECT_EQ(text("stSuccessRate"), QStringLiteral("50%"));
        EXPECT_EQ(dialog->focusWidget(),
                  dialog->findChild<QProgressBar*>(QStringLiteral("pbProgress")));
        auto* reset = dialog->findChild<QCheckBox*>(QStringLiteral("chbReset"));
        EXPECT_TRUE(reset->isEnabled());
        reset->setChecked(true);
        dialog->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    });
    QTest::keyClick(Focused(), Qt::Key_Return);
    Reactivate();
    EXPECT_TRUE(sawDialog);
    ASSERT_FALSE(Prompts.Prompts().empty());
    EXPECT_EQ(Prompts.Last().Text,
              QStringLiteral("Congratulations!\n\nYou have learnt all the vocabulary in one.vlo.\n"
                             "Statistics must be reset before testing resumes..."));
    EXPECT_EQ(Prompts.Last().Icon, TMsgIcon::Information);
    EXPECT_EQ(Form->ViewMode(), vmTest);
    EXPECT_FALSE(Session().Answered());
    EXPECT_EQ(Form->Document().AttemptCount(), 0);
    EXPECT_EQ(Current().PenaltyPoints, 0);

    // Learnt again; this time Cancel: testing stops.
    Answer(QStringLiteral("dog"));
    OnNextModal([](QDialog* dialog) { dialog->reject(); });
    QTest::keyClick(Focused(), Qt::Key_Return);
    EXPECT_EQ(Form->ViewMode(), vmEdit);
    EXPECT_EQ(Form->Document().LearntCount(), 1);

    // Starting on a learnt document: the message without congratulations;
    // OK with the box clear leaves it learnt and testing not started.
    OnNextModal(
        [](QDialog* dialog) { dialog->findChild<QPushButton*>(QStringLiteral("btnOK"))->click(); });
    Run(cmTestStartTesting);
    EXPECT_TRUE(Prompts.Last().Text.startsWith(QStringLiteral("You have learnt all")));
    EXPECT_EQ(Form->ViewMode(), vmEdit);
    EXPECT_EQ(Form->Document().LearntCount(), 1);

    // Counters reach the file at the next save.
    Form->Action(cmFileSave)->trigger();
    TVocabFile saved;
    saved.LoadFromFile(Path("one.vlo").toStdString());
    EXPECT_EQ(saved.AttemptCount(), 1);
    EXPECT_EQ(saved.SuccessCount(), 1);
    EXPECT_EQ(saved.LearntCount(), 1);
}

TEST_F(TestPanelTest, StatisticsDuringAQuestionKeepsItOnScreen) {
    WriteDocument(Path("two.vlo"),
                  {{"der Hund", "noun", "", "dog"}, {"die Katze", "noun", "", "cat"}});
    StartWith(Path("two.vlo"));
    Run(cmTestStartTesting);
    Answer(QStringLiteral("wrong"));
    QTest::keyClick(Focused(), Qt::Key_Return);
    const std::string asked = Current().Word;
    OnNextModal([](QDialog* dialog) {
        dialog->findChild<QCheckBox*>(QStringLiteral("chbReset"))->setChecked(true);
        dialog->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    });
    Run(cmTestStatistics);
    Reactivate();
    EXPECT_EQ(Focused(), Response());
    EXPECT_EQ(Form->Document().AttemptCount(), 0);
    EXPECT_EQ(Current().Word, asked);
    EXPECT_FALSE(Session().Answered());
    Answer(Translation());
    EXPECT_EQ(Form->Document().AttemptCount(), 1);
    EXPECT_EQ(Form->Document().SuccessCount(), 1);
}

TEST(StatisticsDialogTest, FiguresAlignmentAndResetRule) {
    test::App();
    TStatisticsFigures fresh;
    fresh.Progress = "0%";
    fresh.SuccessRate = "0%";
    {
        TStatisticsDialog dialog(nullptr, fresh);
        auto* reset = dialog.findChild<QCheckBox*>(QStringLiteral("chbReset"));
        EXPECT_FALSE(reset->isEnabled());
        auto* tabs = dialog.findChild<QTabWidget*>(QStringLiteral("pcStatistics"));
        EXPECT_EQ(tabs->currentIndex(), 0);
        EXPECT_EQ(tabs->tabText(0), QStringLiteral("Progress"));
        EXPECT_EQ(tabs->tabText(1), QStringLiteral("Success Rate"));
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Statistics"));
        for (const char* name :
             {"stLearnt", "stItems", "stProgress", "stSuccesses", "stAttempts", "stSuccessRate"}) {
            auto* value = dialog.findChild<QLabel*>(QString::fromLatin1(name));
            ASSERT_NE(value, nullptr) << name;
            EXPECT_TRUE(value->alignment() & Qt::AlignRight) << name;
        }
        EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("stProgress"))->text(),
                  QStringLiteral("0%"));
        // Each value sits right of its caption, on the same row.
        QStringList captions;
        for (QLabel* label : dialog.findChildren<QLabel*>())
            if (label->objectName().isEmpty())
                captions << label->text();
        for (const char* caption :
             {"Words learnt:", "Words in file:", "Progress:", "Questions answered correctly:",
              "Questions attempted:", "Success rate:"})
            EXPECT_TRUE(captions.contains(QString::fromLatin1(caption))) << caption;
        dialog.show();
        auto* learnt = dialog.findChild<QLabel*>(QStringLiteral("stLearnt"));
        for (QLabel* label : dialog.findChildren<QLabel*>())
            if (label->text() == QStringLiteral("Words learnt:")) {
                EXPECT_LT(label->geometry().right(), learnt->geometry().left());
                EXPECT_EQ(label->geometry().center().y(), learnt->geometry().center().y());
            }
    }
    // 1 of 8 learnt: the bar and the rounding that sends 12.5 up.
    TVocabFile document;
    for (int i = 0; i < 8; ++i) {
        document.PendingItem().Word = "w" + std::to_string(i);
        document.InsertPending(ipAtEnd);
    }
    document.SetCurrentIndex(0);
    document.RecordAnswer(true, 0);
    const TStatisticsFigures figures = StatisticsFigures(document);
    TStatisticsDialog dialog(nullptr, figures);
    auto* bar = dialog.findChild<QProgressBar*>(QStringLiteral("pbProgress"));
    EXPECT_EQ(bar->maximum(), 8);
    EXPECT_EQ(bar->value(), 1);
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("stProgress"))->text(),
              QStringLiteral("13%"));
    // OK with the box clear is not a reset; ticked, it is.
    auto* reset = dialog.findChild<QCheckBox*>(QStringLiteral("chbReset"));
    EXPECT_TRUE(reset->isEnabled());
    OnNextModal([](QDialog* d) { d->findChild<QPushButton*>(QStringLiteral("btnOK"))->click(); });
    EXPECT_FALSE(TStatisticsDialog::Execute(nullptr, figures));
    OnNextModal([](QDialog* d) {
        d->findChild<QCheckBox*>(QStringLiteral("chbReset"))->setChecked(true);
        d->findChild<QPushButton*>(QStringLiteral("btnCancel"))->click();
    });
    EXPECT_FALSE(TStatisticsDialog::Execute(nullptr, figures));
    OnNextModal([](QDialog* d) {
        d->findChild<QCheckBox*>(QStringLiteral("chbReset"))->setChecked(true);
        d->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    });
    EXPECT_TRUE(TStatisticsDialog::Execute(nullptr, figures));
}

TEST(ResultGlyphTest, TintedOnATransparentGroundAndWhiteStaysVisible) {
    test::App();
    const QImage tick = ResultGlyph(true, Blue);
    EXPECT_EQ(qAlpha(tick.pixel(0, 19)), 0);
    int blue = 0;
    int other = 0;
    for (int y = 0; y < tick.height(); ++y)
        for (int x = 0; x < tick.width(); ++x) {
            const QRgb p = tick.pixel(x, y);
            if (qAlpha(p) == 0)
                continue;
            ++(p == qRgb(0, 0, 255) ? blue : other);
        }
    EXPECT_GT(blue, 20);
    EXPECT_EQ(other, 0);
    // The cross has both strokes.
    const QImage cross = ResultGlyph(false, Red);
    EXPECT_EQ(cross.pixel(6, 6), qRgb(255, 0, 0));
    EXPECT_EQ(cross.pixel(14, 6), qRgb(255, 0, 0));
    EXPECT_EQ(qAlpha(cross.pixel(10, 2)), 0);

    // White: the ground is turned red before the glyph is tinted, so the
    // glyph stays visible and the ground still goes transparent.
    const QImage white = ResultGlyph(false, 0xFFFFFF);
    int whitePixels = 0;
    for (int y = 0; y < white.height(); ++y)
        for (int x = 0; x < white.width(); ++x)
            whitePixels += white.pixel(x, y) == qRgb(255, 255, 255) && qAlpha(white.pixel(x, y));
    EXPECT_GT(whitePixels, 20);
    EXPECT_EQ(qAlpha(white.pixel(0, 19)), 0);
    EXPECT_EQ(ColourFromBgr(0x00336699), QColor(0x99, 0x66, 0x33));
}

// The window builds the panel before the session that reports to it, so the
// panel must build and place itself without asking for the session.
class SessionLaterHost final : public TTestPanelHost {
public:
    TVocabFile& TestDocument() override { return Document; }
    TTestSession& Session() override {
        if (!Later)
            throw std::logic_error("the session was asked for before it existed");
        return *Later;
    }
    const TOptions& TestOptions() const override { return Options; }
    void EnterTestView() override {}
    void LeaveTestView() override {}
    void ShowAllLearnt(const std::string&) override {}
    bool RunStatisticsDialog(const TVocabFile&) override { return false; }
    void RunTestCommand(const std::function<void()>& action) override { action(); }

    TVocabFile Document;
    TOptions Options;
    std::optional<TTestSession> Later;
};

TEST(TestPanelBuildTest, PanelIsBuiltAndPlacedBeforeItsSession) {
    test::App();
    SessionLaterHost host;
    std::unique_ptr<TTestPanel> panel;
    ASSERT_NO_THROW(panel = std::make_unique<TTestPanel>(host));
    host.Later.emplace(*panel, host.Options);
    // Placed for typed answers: the buttons sit below the lower row, not the hidden list.
    panel->resize(700, 300);
    panel->show();
    const auto* list = panel->findChild<TChoiceList*>(QStringLiteral("lbResponse"));
    const auto* buttons = panel->findChild<QPushButton*>(QStringLiteral("btnEnter"));
    ASSERT_TRUE(list && buttons);
    EXPECT_TRUE(list->isHidden());
    EXPECT_LT(buttons->parentWidget()->geometry().top(), list->geometry().bottom());
}

} // namespace
} // namespace vocalore
