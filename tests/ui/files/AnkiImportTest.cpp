// Flashcard packages from the window: Import asks for fields and deck and
// says what it left out; Open makes an untitled document in the languages the
// New dialog gives.

#include "WindowTest.h"

#include "../../transfer/AnkiPackages.h"

#include "ui/common/PromptService.h"
#include "ui/files/AnkiImportDialog.h"
#include "ui/files/NewDialog.h"
#include "ui/window/MainWindow.h"

#include "core/Languages.h"
#include "settings/SettingsStore.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vocalore {
namespace {

using test::OnNextModal;
using test::WriteBytes;
using test::WriteDocument;

QStringList Entries(const QComboBox* box) {
    QStringList entries;
    for (int i = 0; i < box->count(); ++i)
        entries << box->itemText(i);
    return entries;
}

void Choose(QDialog* dialog, const char* box, const QString& text) {
    auto* combo = dialog->findChild<QComboBox*>(QString::fromLatin1(box));
    ASSERT_NE(combo, nullptr) << box;
    const int at = combo->findText(text);
    ASSERT_GE(at, 0) << text.toStdString();
    combo->setCurrentIndex(at);
}

void ClickOK(QDialog* dialog) { dialog->findChild<QPushButton*>(QStringLiteral("btnOK"))->click(); }

class AnkiImportTest : public test::TWindowTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(OpenWindowOn({{"der Zug", "noun", "", "train"}}));
        ankitest::TCollectionPlan plan;
        plan.Types = {{3, "Vokabel", {"Wort", "Bedeutung", "Hinweis"}}};
        plan.Decks = {{1, "Default"}, {7, "Deutsch"}, {8, "Deutsch::Verben"}};
        plan.Notes = {{3, {"das <b>Haus</b>", "the house<br>the home", "n."}, 7},
                      {3, {"gehen [sound:g.mp3]", "to go", "irr."}, 8},
                      {3, {"sehen", "", "irr."}, 8},
                      {3, {"", "nothing"}, 7}};
        ASSERT_TRUE(WriteBytes(File("deck.apkg"),
                               QByteArray::fromStdString(ankitest::MakePackage(plan, true))));
    }
};

TEST_F(AnkiImportTest, ImportShowsTheNoteFieldsAndDecksAndCountsWhatWasLeftOut) {
    Trigger(cmFileImport);
    EXPECT_TRUE(Prompts.Last().Filter.endsWith(
        QStringLiteral("|Anki Decks (*.apkg, *.colpkg)|*.apkg;*.colpkg|All Files (*.*)|*.*")))
        << Prompts.Last().Filter.toStdString();

    OnNextModal([](QDialog* dialog) {
        ASSERT_NE(dynamic_cast<TAnkiImportDialog*>(dialog), nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Import Anki Deck"));
        const auto* word = dialog->findChild<QComboBox*>(QStringLiteral("cbWord"));
        const auto* translation = dialog->findChild<QComboBox*>(QStringLiteral("cbTranslation"));
        const auto* notes = dialog->findChild<QComboBox*>(QStringLiteral("cbNotes"));
        const auto* deck = dialog->findChild<QComboBox*>(QStringLiteral("cbDeck"));
        EXPECT_EQ(Entries(word), (QStringList{"1: Wort", "2: Bedeutung", "3: Hinweis"}));
        EXPECT_EQ(word->currentText(), QStringLiteral("1: Wort"));
        EXPECT_EQ(translation->currentText(), QStringLiteral("2: Bedeutung"));
        EXPECT_EQ(Entries(notes), (QStringList{"(none)", "1: Wort", "2: Bedeutung", "3: Hinweis"}));
        EXPECT_EQ(notes->currentText(), QStringLiteral("(none)"));
        EXPECT_EQ(Entries(deck), (QStringList{"All decks", "Deutsch", "Deutsch::Verben"}));
        EXPECT_TRUE(deck->isEnabled());
        Choose(dialog, "cbNotes", QStringLiteral("3: Hinweis"));
        Choose(dialog, "cbDeck", QStringLiteral("Deutsch::Verben"));
        ClickOK(dialog);
    });
    Prompts.QueueFile(File("deck.apkg"), 5);
    Trigger(cmFileImport);
    ASSERT_TRUE(LastError().isEmpty()) << LastError().toStdString();
    const TVocabFile& doc = Form->Document();
    ASSERT_EQ(doc.Count(), 2);
    EXPECT_EQ(doc.Items(1).Word, "gehen");
    EXPECT_EQ(doc.Items(1).Translation, "to go");
    EXPECT_EQ(doc.Items(1).Notes, "irr.");
    EXPECT_EQ(doc.CurrentIndex(), 1);
    EXPECT_EQ(Prompts.Last().Caption, QStringLiteral("Import"));
    EXPECT_EQ(Prompts.Last().Text, QStringLiteral("1 items imported successfully. 1 note was left "
                                                  "out: 1 with an empty translation."));

    // Every deck, by content under another name: semicolons between the lines.
    ASSERT_TRUE(QFile::copy(File("deck.apkg"), File("deck.bin")));
    OnNextModal(ClickOK);
    Prompts.QueueFile(File("deck.bin"), 3);
    Trigger(cmFileImport);
    ASSERT_EQ(doc.Count(), 4);
    EXPECT_EQ(doc.Items(2).Word, "das Haus");
    EXPECT_EQ(doc.Items(2).Translation, "the house; the home");
    EXPECT_EQ(doc.Items(2).Notes, "");
    EXPECT_EQ(Prompts.Last().Text,
              QStringLiteral("2 items imported successfully. 2 notes were left out: 1 with an "
                             "empty word/phrase, 1 with an empty translation."));
}

TEST_F(AnkiImportTest, CancelBrokenPackagesAndUnstorableLettersChangeNothing) {
    OnNextModal([](QDialog* dialog) { dialog->reject(); });
    Prompts.QueueFile(File("deck.apkg"), 5);
    const size_t before = Prompts.Prompts().size();
    Trigger(cmFileImport);
    EXPECT_EQ(Prompts.Prompts().size(), before + 1); // the open dialog, no message
    EXPECT_EQ(Form->Document().Count(), 1);
    EXPECT_FALSE(Form->Document().Modified());

    // Named as a package but not one: refused as a package, no text dialog.
    ASSERT_TRUE(WriteBytes(File("broken.apkg"), "word\ttranslation\r\n"));
    Prompts.QueueFile(File("broken.apkg"), 5);
    Trigger(cmFileImport);
    EXPECT_EQ(LastError(), QStringLiteral("Invalid Anki package: the file is not a zip archive."));

    // Translations into a Polish document's English side: the ł is refused.
    ankitest::TCollectionPlan plan;
    plan.Notes = {{1, {"dobry", "good"}}, {1, {"Łódź", "Łódź (city)"}}};
    ASSERT_TRUE(
        WriteBytes(File("pl.apkg"), QByteArray::fromStdString(ankitest::MakePackage(plan))));
    OnNextModal(ClickOK);
    Prompts.QueueFile(File("pl.apkg"), 5);
    Trigger(cmFileImport);
    EXPECT_EQ(LastError(), QStringLiteral("Note 2, field \"Front\" (Word/phrase): the character "
                                          "\"\u0141\" (U+0141) cannot be stored in German "
                                          "(Germany) (code page 1252). Nothing was imported."));
    EXPECT_EQ(Form->Document().Count(), 1);
    EXPECT_FALSE(Form->Document().Modified());

    // Only notes that give no item: the reasons come with "Nothing to import."
    plan.Notes = {{1, {"", "x"}}, {1, {"y", "<br>"}}};
    ASSERT_TRUE(
        WriteBytes(File("empty.apkg"), QByteArray::fromStdString(ankitest::MakePackage(plan))));
    OnNextModal(ClickOK);
    Prompts.QueueFile(File("empty.apkg"), 5);
    Trigger(cmFileImport);
    EXPECT_EQ(LastError(), QStringLiteral("Nothing to import. 2 notes were left out: 1 with an "
                                          "empty word/phrase, 1 with an empty translation."));
    EXPECT_EQ(Form->Document().Count(), 1);
}

TEST_F(AnkiImportTest, OpenAsksForTheLanguagesThenTheFields) {
    // Cancel in the New dialog keeps the document that was open.
    OnNextModal([](QDialog* dialog) { dialog->reject(); });
    Prompts.QueueFile(File("deck.apkg"), 5);
    Trigger(cmFileOpen);
    EXPECT_EQ(Form->Document().FileName(), German.toStdString());

    std::vector<QString> order;
    OnNextModal([&](QDialog* dialog) {
        ASSERT_NE(dynamic_cast<TNewDialog*>(dialog), nullptr);
        order.push_back(dialog->objectName());
        Choose(dialog, "cbForeign", QString::fromStdString(LanguageName(0x0415)));
        OnNextModal([&](QDialog* fields) {
            order.push_back(fields->objectName());
            Choose(fields, "cbCategory", QStringLiteral("3: Hinweis"));
            ClickOK(fields);
        });
        ClickOK(dialog);
    });
    Prompts.QueueFile(File("deck.apkg"), 5);
    Trigger(cmFileOpen);
    ASSERT_TRUE(LastError().isEmpty()) << LastError().toStdString();
    EXPECT_TRUE(Prompts.Prompts()[1].Filter.endsWith(
        QStringLiteral("|Anki Decks (*.apkg, *.colpkg)|*.apkg;*.colpkg|All Files (*.*)|*.*")));
    EXPECT_EQ(order, (std::vector<QString>{"NewDialog", "AnkiImportDialog"}));
    const TVocabFile& doc = Form->Document();
    EXPECT_EQ(doc.FileName(), "");
    EXPECT_EQ(doc.ForeignLangID, 0x0415);
    EXPECT_EQ(doc.NativeLangID, 0x0409);
    ASSERT_EQ(doc.Count(), 2);
    EXPECT_EQ(doc.Items(0).Word, "das Haus");
    EXPECT_EQ(doc.Items(0).Category, "n.");
    EXPECT_EQ(doc.CurrentIndex(), 0);
    EXPECT_EQ(Form->ViewMode(), vmEdit);
    EXPECT_TRUE(Form->windowTitle().startsWith(QStringLiteral("Untitled")));
    EXPECT_EQ(Form->Settings().RecentFiles.Count(), 1); // only the German document
}

} // namespace
} // namespace vocalore
