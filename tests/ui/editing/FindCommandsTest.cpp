// Find and Find Next through the menu actions, F3 and the modeless dialog.
#include "UiTestSupport.h"

#include "ui/common/PromptService.h"
#include "ui/editing/FindCommands.h"
#include "ui/editing/SearchDialog.h"
#include "ui/textentry/SymbolEdit.h"
#include "ui/window/MainWindow.h"

#include "core/CodePage.h"
#include "settings/SettingsStore.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace vocalore {
namespace {

using test::WriteDocument;

class FindCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::App();
        ASSERT_TRUE(Dir.isValid());
        Path = Dir.filePath(QStringLiteral("german.vlo"));
        WriteDocument(Path, {{"das Haus", "noun", "neut.", "house"},
                             {"der Hund", "noun", "masc.", "dog"},
                             {"die Hundeh\xFCtte", "noun", "", "kennel"},
                             {"der \xC4pfel", "noun", "", "apples"},
                             {"das Rathaus", "noun", "", "town hall"}});
        Form = std::make_unique<TMainForm>(Store);
    }
    void TearDown() override { Form.reset(); }

    void Start(const QString& path) {
        ASSERT_TRUE(Form->FormCreate({path}));
        Form->show();
        QApplication::setActiveWindow(Form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
        Form->Grid()->setFocus();
        Form->UpdateCommands();
    }
    void Start() { Start(Path); }
    TVocabFile& Doc() { return Form->Document(); }
    bool Enabled(TCommandId id) const { return Form->Action(id)->isEnabled(); }
    TSearchDialog* Dialog() { return Form->FindCommands().Dialog(); }
    template <class T> T* Child(const char* name) {
        return Dialog()->findChild<T*>(QString::fromLatin1(name));
    }
    TSymbolEdit* Text() { return Child<TSymbolEdit>("edtFind"); }
    QComboBox* Fields() { return Child<QComboBox>("cbField"); }
    QCheckBox* Box(const char* name) { return Child<QCheckBox>(name); }
    void OpenFind() {
        QApplication::setActiveWindow(Form.get());
        QTest::keyClick(Form->Grid(), Qt::Key_F, Qt::ControlModifier);
        Form->UpdateCommands();
    }
    // Types the text into the dialog and presses Find Next.
    void Search(const char* utf8) {
        Text()->setText(QString::fromUtf8(utf8));
        Child<QPushButton>("btnFind")->click();
        Form->UpdateCommands();
    }
    void F3() {
        QApplication::setActiveWindow(Form.get());
        Form->Grid()->setFocus();
        QTest::keyClick(Form->Grid(), Qt::Key_F3);
        Form->UpdateCommands();
    }

    QTemporaryDir Dir;
    QString Path;
    TMemorySettingsStore Store;
    TFakePromptService Prompts{true};
    std::unique_ptr<TMainForm> Form;
};

TEST_F(FindCommandsTest, FindNextStepsThroughTheMatchesAndWraps) {
    Start();
    EXPECT_TRUE(Enabled(cmEditFind));
    EXPECT_FALSE(Enabled(cmEditFindNext));
    OpenFind();
    ASSERT_TRUE(Dialog()->isVisible());
    EXPECT_FALSE(Dialog()->isModal());
    EXPECT_EQ(Dialog()->windowTitle(), QStringLiteral("Find"));
    EXPECT_EQ(Dialog()->focusWidget(), Text());
    EXPECT_FALSE(Child<QPushButton>("btnFind")->isEnabled());

    Search("haus"); // case is ignored: das Haus is current, Rathaus comes first
    EXPECT_EQ(Doc().CurrentIndex(), 4);
    EXPECT_EQ(Form->Grid()->Row(), 4);
    EXPECT_EQ(Form->SearchData().Text, "haus");
    EXPECT_EQ(Form->SearchData().Field, 0);
    EXPECT_TRUE(Dialog()->isVisible());
    EXPECT_EQ(Dialog()->focusWidget(), Text());
    EXPECT_TRUE(Enabled(cmEditFindNext));

    F3(); // wraps to the first item
    EXPECT_EQ(Doc().CurrentIndex(), 0);
    F3();
    EXPECT_EQ(Doc().CurrentIndex(), 4);
    EXPECT_TRUE(Prompts.Prompts().empty());

    // F3 in the dialog itself finds the next match too.
    QApplication::setActiveWindow(Dialog());
    Text()->setFocus();
    QTest::keyClick(Text(), Qt::Key_F3);
    EXPECT_EQ(Doc().CurrentIndex(), 0);
    EXPECT_EQ(Dialog()->focusWidget(), Text());

    // Accents are ignored unless asked for.
    Search("apfel");
    EXPECT_EQ(Doc().CurrentIndex(), 3);
    Box("chbMatchAccents")->setChecked(true);
    Doc().SetCurrentIndex(0);
    Search("apfel");
    EXPECT_EQ(Doc().CurrentIndex(), 0);
    EXPECT_EQ(Form->SearchData().Options, soMatchAccents);
    ASSERT_EQ(Prompts.Prompts().size(), 1u);
}

TEST_F(FindCommandsTest, NoMatchSaysSoInABoxCaptionedFind) {
    Start();
    Form->Grid()->SelectRow(2);
    OpenFind();
    Search("Katze");
    ASSERT_EQ(Prompts.Prompts().size(), 1u);
    EXPECT_EQ(Prompts.Last().Text, QStringLiteral("Search text not found."));
    EXPECT_EQ(Prompts.Last().Caption, QStringLiteral("Find"));
    EXPECT_EQ(Prompts.Last().Icon, TMsgIcon::Information);
    EXPECT_EQ(Prompts.Last().Buttons, mbOK);
    EXPECT_EQ(Doc().CurrentIndex(), 2);

    // Case counts when asked: "HAUS" is in no word.
    Box("chbMatchCase")->setChecked(true);
    Search("HAUS");
    EXPECT_EQ(Prompts.Prompts().size(), 2u);
    EXPECT_EQ(Form->SearchData().Options, soMatchCase);
}

TEST_F(FindCommandsTest, OnlyMatchBeingCurrentDoesNothing) {
    Start();
    Form->Grid()->SelectRow(1);
    OpenFind();
    Fields()->setCurrentIndex(3);
    Search("dog");
    EXPECT_EQ(Doc().CurrentIndex(), 1);
    EXPECT_TRUE(Prompts.Prompts().empty());
    EXPECT_EQ(Form->SearchData().Field, 3);
}

TEST_F(FindCommandsTest, WholeWordNeedsASingleWordAndFindNextSomeText) {
    Start();
    OpenFind();
    QCheckBox* word = Box("chbMatchWord");
    auto* find = Child<QPushButton>("btnFind");
    Text()->setText(QStringLiteral("Hund"));
    EXPECT_TRUE(word->isEnabled());
    EXPECT_TRUE(find->isEnabled());
    word->setChecked(true);
    for (const char* text : {"der Hund", "Hunde-", "Hund."}) {
        Text()->setText(QString::fromLatin1(text));
        EXPECT_FALSE(word->isEnabled()) << text;
        EXPECT_FALSE(word->isChecked()) << text;
    }
    Text()->setText(QStringLiteral("H\u00FCtte2"));
    EXPECT_TRUE(word->isEnabled());
    Text()->clear();
    EXPECT_FALSE(find->isEnabled());

    // Whole words: Hund finds der Hund, never Hundehuette.
    Doc().SetCurrentIndex(3);
    Text()->setText(QStringLiteral("Hund"));
    word->setChecked(true);
    find->click();
    EXPECT_EQ(Doc().CurrentIndex(), 1);
    EXPECT_EQ(Form->SearchData().Options, soMatchWord);
    F3();
    EXPECT_EQ(Doc().CurrentIndex(), 1);
    EXPECT_TRUE(Prompts.Prompts().empty());
}

TEST_F(FindCommandsTest, FieldInAnotherCharacterSetEmptiesTheText) {
    const QString russian = Dir.filePath(QStringLiteral("russian.vlo"));
    WriteDocument(russian, {{"\xE4\xEE\xEC", "", "", "house"}, {"\xEA\xEE\xF2", "", "cat", "cat"}},
                  0x0419, 0x0409);
    Start(russian);
    OpenFind();
    EXPECT_EQ(Text()->Language(), 0x0419);
    EXPECT_EQ(Text()->Tag(), TagForeign);
    Text()->setText(QString::fromUtf8("\u043A\u043E\u0442"));
    EXPECT_EQ(Text()->Bytes(), "\xEA\xEE\xF2");
    Fields()->setCurrentIndex(2);
    EXPECT_EQ(Text()->text(), QString());
    EXPECT_EQ(Text()->Language(), 0x0409);
    EXPECT_EQ(Text()->Tag(), TagNative);
    Text()->setText(QStringLiteral("cat"));
    Fields()->setCurrentIndex(3); // same character set: the text stays
    EXPECT_EQ(Text()->text(), QStringLiteral("cat"));
    Child<QPushButton>("btnFind")->click();
    EXPECT_EQ(Doc().CurrentIndex(), 1);
}

TEST_F(FindCommandsTest, PickingAFieldWithTheMouseSendsTheFocusToTheText) {
    Start();
    OpenFind();
    QComboBox* fields = Fields();
    fields->setFocus();
    QTest::keyClick(fields, Qt::Key_Down);
    EXPECT_EQ(fields->currentIndex(), 1);
    EXPECT_EQ(Dialog()->focusWidget(), fields);
    // Not held down: a change that came from the mouse.
    fields->setCurrentIndex(2);
    EXPECT_EQ(Dialog()->focusWidget(), Text());
    fields->setFocus();
    QTest::keyClick(fields, Qt::Key_Return);
    EXPECT_EQ(Dialog()->focusWidget(), Text());
    EXPECT_TRUE(Prompts.Prompts().empty()); // Enter in the list searched nothing
}

TEST_F(FindCommandsTest, DialogClosesWhenTestingStartsAndTheSearchLivesOn) {
    Start();
    OpenFind();
    Fields()->setCurrentIndex(3);
    Box("chbMatchCase")->setChecked(true);
    Search("town");
    EXPECT_EQ(Doc().CurrentIndex(), 4);
    Form->SetViewMode(vmTest);
    Form->UpdateCommands();
    EXPECT_FALSE(Dialog()->isVisible());
    EXPECT_FALSE(Enabled(cmEditFind));
    EXPECT_FALSE(Enabled(cmEditFindNext));
    Form->SetViewMode(vmEdit);
    Form->UpdateCommands();
    EXPECT_TRUE(Enabled(cmEditFindNext));

    // Shown again, the dialog brings back what was stored, not what was typed.
    Text()->setText(QStringLiteral("typed, never searched"));
    OpenFind();
    EXPECT_EQ(Text()->text(), QStringLiteral("town"));
    EXPECT_EQ(Text()->selectedText(), QStringLiteral("town"));
    EXPECT_EQ(Fields()->currentIndex(), 3);
    EXPECT_TRUE(Box("chbMatchCase")->isChecked());
    EXPECT_FALSE(Box("chbMatchAccents")->isChecked());

    // Cancel hides it; the search stays.
    Child<QPushButton>("btnCancel")->click();
    EXPECT_FALSE(Dialog()->isVisible());
    EXPECT_EQ(Form->SearchData().Text, "town");
    Doc().SetCurrentIndex(0);
    F3();
    EXPECT_EQ(Doc().CurrentIndex(), 4);
}

TEST_F(FindCommandsTest, DialogKeepsItsControlsApartInTheirTabOrder) {
    Start();
    OpenFind();
    QDialog* dialog = Dialog();
    dialog->adjustSize();
    const char* order[] = {"edtFind", "chbMatchCase", "chbMatchAccents", "chbMatchWord",
                           "btnFind", "btnCancel",    "btnHelp",         "cbField"};
    std::vector<QWidget*> controls;
    for (const char* name : order)
        controls.push_back(Child<QWidget>(name));
    controls.push_back(Child<QLabel>("lblFind"));
    controls.push_back(Child<QLabel>("lblField"));
    EXPECT_EQ(Child<QLabel>("lblFind")->buddy(), Text());
    EXPECT_EQ(Child<QLabel>("lblField")->buddy(), Fields());
    for (size_t i = 0; i < controls.size(); ++i) {
        ASSERT_NE(controls[i], nullptr) << i;
        EXPECT_TRUE(dialog->rect().contains(controls[i]->geometry())) << i;
        for (size_t j = i + 1; j < controls.size(); ++j)
            EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
                << controls[i]->objectName().toStdString() << " and "
                << controls[j]->objectName().toStdString();
    }
    for (size_t i = 0; i + 1 < std::size(order); ++i) {
        QWidget* next = controls[i]->nextInFocusChain();
        while (next && next->focusPolicy() == Qt::NoFocus)
            next = next->nextInFocusChain();
        EXPECT_EQ(next, controls[i + 1]) << order[i];
    }
    EXPECT_TRUE(Child<QPushButton>("btnFind")->isDefault());
}

TEST(SearchDialogPlace, MovesOffTheBandTowardsTheMiddleOfTheScreen) {
    const QRect dialog(100, 300, 200, 120); // rows 300..419
    // No overlap: stays.
    EXPECT_EQ(SearchDialogTop(QRect(0, 240, 500, 60), dialog, 1000), std::nullopt);
    EXPECT_EQ(SearchDialogTop(QRect(0, 420, 500, 60), dialog, 1000), std::nullopt);
    // Upper half: just below the band.
    EXPECT_EQ(SearchDialogTop(QRect(0, 280, 500, 60), dialog, 1000), 340);
    // Lower half (top + bottom beyond the screen height): just above it.
    EXPECT_EQ(SearchDialogTop(QRect(0, 400, 500, 60), dialog, 800), 280);
    // Exactly in the middle counts as the upper half.
    EXPECT_EQ(SearchDialogTop(QRect(0, 370, 500, 60), dialog, 800), 430);
    // A band beside the dialog does not overlap it.
    EXPECT_EQ(SearchDialogTop(QRect(400, 300, 100, 60), dialog, 1000), std::nullopt);
}

TEST_F(FindCommandsTest, FoundRowUnderTheDialogMovesTheDialogOff) {
    Start();
    OpenFind();
    TVocabGrid* grid = Form->Grid();
    // Put the dialog right over the row of das Rathaus.
    const QPoint row = grid->viewport()->mapToGlobal(grid->RowRect(4).topLeft());
    Dialog()->move(Dialog()->x(), row.y() - 10);
    QApplication::processEvents();
    Search("Rathaus");
    ASSERT_EQ(Doc().CurrentIndex(), 4);
    const int height = grid->RowHeight();
    const QRect band(grid->viewport()->mapToGlobal(QPoint(0, grid->RowRect(4).top() - height)),
                     QSize(grid->viewport()->width(), 3 * height));
    EXPECT_FALSE(Dialog()->frameGeometry().intersects(band));
    const bool lower =
        band.top() + band.top() + band.height() > Dialog()->screen()->geometry().height();
    if (lower)
        EXPECT_EQ(Dialog()->frameGeometry().bottom() + 1, band.top());
    else
        EXPECT_EQ(Dialog()->frameGeometry().top(), band.top() + band.height());
}

} // namespace
} // namespace vocalore
