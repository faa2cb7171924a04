// The Import ("Convert Text File") dialog: its lists, buttons, checks in
// order and the record it fills.

#include "DialogTestSupport.h"

#include "ui/common/PromptService.h"
#include "ui/files/ImportDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPaintEngine>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace vocalore {
namespace {

using dialogtest::Child;
QStringList Entries(QDialog* dialog, const char* list) {
    QStringList out;
    auto* widget = Child<QListWidget>(dialog, list);
    for (int i = 0; i < widget->count(); ++i)
        out << widget->item(i)->text();
    return out;
}

void ClickEntry(QDialog* dialog, const char* list, int row, bool twice = false) {
    auto* widget = Child<QListWidget>(dialog, list);
    const QPoint at = widget->visualItemRect(widget->item(row)).center();
    QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, at);
    if (twice)
        QTest::mouseDClick(widget->viewport(), Qt::LeftButton, {}, at);
}

void ShowActive(QDialog& dialog) {
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
}

// --- Import dialog ---------------------------------------------------------

TEST(ImportDialog, OpensWithTheFourFieldsAvailableAndNothingArmed) {
    TImportDialog dialog(nullptr);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Convert Text File"));
    EXPECT_TRUE(Child<QRadioButton>(&dialog, "rbTabDelimited")->isChecked());
    EXPECT_FALSE(Child<QRadioButton>(&dialog, "rbCommaSeparated")->isChecked());
    EXPECT_EQ(Child<QLineEdit>(&dialog, "edtStartFrom")->text(), QStringLiteral("1"));
    EXPECT_EQ(Child<QLineEdit>(&dialog, "edtStartFrom")->maxLength(), 3);
    EXPECT_EQ(Entries(&dialog, "lbAvailable"),
              (QStringList{"Word/phrase", "Part of speech", "Notes", "Translations"}));
    EXPECT_TRUE(Entries(&dialog, "lbSelected").isEmpty());
    EXPECT_FALSE(Child<QPushButton>(&dialog, "btnAdd")->isEnabled());
    EXPECT_FALSE(Child<QPushButton>(&dialog, "btnRemove")->isEnabled());
}

TEST(ImportDialog, AddAndRemoveMoveEntriesAndKeepASelectionWhereTheEntryWas) {
    TImportDialog dialog(nullptr);
    ShowActive(dialog);
    auto* add = Child<QPushButton>(&dialog, "btnAdd");
    auto* remove = Child<QPushButton>(&dialog, "btnRemove");
    auto* available = Child<QListWidget>(&dialog, "lbAvailable");
    auto* selected = Child<QListWidget>(&dialog, "lbSelected");

    ClickEntry(&dialog, "lbAvailable", 1);
    EXPECT_TRUE(add->isEnabled());
    add->click();
    EXPECT_EQ(Entries(&dialog, "lbSelected"), QStringList{"Part of speech"});
    // The entry now at the same position is selected; the other list keeps none.
    EXPECT_EQ(available->currentItem()->text(), QStringLiteral("Notes"));
    EXPECT_TRUE(available->currentItem()->isSelected());
    EXPECT_TRUE(selected->selectedItems().isEmpty());
    EXPECT_FALSE(remove->isEnabled());

    // The last entry moved: the new last one is selected.
    ClickEntry(&dialog, "lbAvailable", 2);
    add->click();
    EXPECT_EQ(Entries(&dialog, "lbAvailable"), (QStringList{"Word/phrase", "Notes"}));
    EXPECT_EQ(available->currentItem()->text(), QStringLiteral("Notes"));
    add->click();
    add->click();
    EXPECT_TRUE(Entries(&dialog, "lbAvailable").isEmpty());
    EXPECT_FALSE(add->isEnabled());
    EXPECT_EQ(Entries(&dialog, "lbSelected"),
              (QStringList{"Part of speech", "Translations", "Notes", "Word/phrase"}));

    // A double-click acts as the button: Remove goes to the end of the left list.
    ClickEntry(&dialog, "lbSelected", 1, true);
    EXPECT_EQ(Entries(&dialog, "lbAvailable"), QStringList{"Translations"});
    EXPECT_EQ(Entries(&dialog, "lbSelected"),
              (QStringList{"Part of speech", "Notes", "Word/phrase"}));
    EXPECT_EQ(selected->currentItem()->text(), QStringLiteral("Notes"));
    EXPECT_TRUE(available->selectedItems().isEmpty());
    ClickEntry(&dialog, "lbAvailable", 0, true);
    EXPECT_EQ(Entries(&dialog, "lbSelected").last(), QStringLiteral("Translations"));
    EXPECT_FALSE(add->isEnabled());

    // The arrow keys choose an entry too; entering the list does not.
    TImportDialog fresh(nullptr);
    ShowActive(fresh);
    auto* list = Child<QListWidget>(&fresh, "lbAvailable");
    list->setFocus();
    EXPECT_FALSE(Child<QPushButton>(&fresh, "btnAdd")->isEnabled());
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_TRUE(Child<QPushButton>(&fresh, "btnAdd")->isEnabled());
}

TEST(ImportDialog, OKChecksTheStartLineThenTheWordAndFillsTheColumns) {
    TFakePromptService prompts(true);
    TImportDialog dialog(nullptr);
    ShowActive(dialog);
    auto* start = Child<QLineEdit>(&dialog, "edtStartFrom");
    auto* ok = Child<QPushButton>(&dialog, "btnOK");

    for (const char* text : {"0", "", "x1", "-5"}) {
        prompts.Clear();
        start->setText(QString::fromLatin1(text));
        ClickEntry(&dialog, "lbAvailable", 0); // Word/phrase present: the line fails first
        ok->click();
        ASSERT_EQ(prompts.Prompts().size(), 1u) << text;
        EXPECT_EQ(prompts.Last().Text, QStringLiteral("Number must be between 1 and 32767."));
        EXPECT_EQ(prompts.Last().Icon, TMsgIcon::Warning);
        EXPECT_EQ(prompts.Last().Caption, QStringLiteral("Vocalore"));
        EXPECT_TRUE(start->hasFocus()) << text;
        EXPECT_EQ(start->selectedText(), start->text());
        EXPECT_TRUE(dialog.isVisible());
    }

    // A valid line without Word/phrase among the fields to import.
    start->setText(QStringLiteral("12"));
    ClickEntry(&dialog, "lbAvailable", 3);
    Child<QPushButton>(&dialog, "btnAdd")->click(); // Translations
    prompts.Clear();
    ok->click();
    ASSERT_EQ(prompts.Prompts().size(), 1u);
    EXPECT_EQ(prompts.Last().Text,
              QStringLiteral(
                  "The field 'Word/phrase' must be included in the list of fields to import."));
    EXPECT_EQ(prompts.Last().Icon, TMsgIcon::Warning);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Entries(&dialog, "lbSelected"), QStringList{"Translations"});

    // Translations then Word/phrase: the word from column 2, translations from 1.
    ClickEntry(&dialog, "lbAvailable", 0);
    Child<QPushButton>(&dialog, "btnAdd")->click();
    Child<QRadioButton>(&dialog, "rbCommaSeparated")->click();
    ok->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(dialog.Settings().Csv);
    EXPECT_EQ(dialog.Settings().FirstLine, 12);
    EXPECT_EQ(dialog.Settings().Columns, (std::array<int32_t, 4>{2, 0, 0, 1}));
}

TEST(ImportDialog, CancelLeavesTheSettingsAlone) {
    TImportSettings settings;
    settings.FirstLine = 7;
    dialogtest::OnNextModal([](QDialog* dialog) {
        Child<QLineEdit>(dialog, "edtStartFrom")->setText(QStringLiteral("3"));
        Child<QPushButton>(dialog, "btnCancel")->click();
    });
    EXPECT_FALSE(TImportDialog::Execute(nullptr, settings));
    EXPECT_EQ(settings.FirstLine, 7);
}

} // namespace
} // namespace vocalore
