// The formats beside the program's own from the window: Save As in UTF-8 and
// KVTML, Import of KVTML and UTF-8 text, Open of a KVTML file.

#include "WindowTest.h"

#include "ui/common/PromptService.h"
#include "ui/files/NewDialog.h"
#include "ui/window/MainWindow.h"

#include "core/Languages.h"
#include "settings/SettingsStore.h"
#include "transfer/Kvtml.h"
#include "transfer/qt/KvtmlXml.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace vocalore {
namespace {

using test::Bytes;
using test::OnNextModal;
using test::WriteBytes;
using test::WriteDocument;

// A German-Polish word list as Parley writes it: identifiers by locale,
// one with a name in its own language.
const QByteArray GermanPolishKvtml =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<kvtml version=\"2.0\">\n"
    "<information><title>Stadt</title></information>\n"
    "<identifiers><identifier id=\"0\"><name>Polski</name><locale>pl</locale></identifier>\n"
    "<identifier id=\"1\"><name>Deutsch</name><locale>de</locale></identifier></identifiers>\n"
    "<entries>\n"
    "<entry id=\"0\"><translation id=\"0\"><text>ulica</text></translation>"
    "<translation "
    "id=\"1\"><text>Stra\xC3\x9F\x65</text><comment>f.</comment></translation></entry>\n"
    "<entry id=\"1\"><translation id=\"0\"><text>poci\xC4\x85g</text></translation>"
    "<translation id=\"1\"><text>Zug</text></translation></entry>\n"
    "</entries>\n"
    "<lessons><container><name>L</name><entry id=\"0\"/><entry id=\"1\"/></container></lessons>\n"
    "</kvtml>\n";

class OtherFormatsTest : public test::TWindowTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(OpenWindowOn({{"die Stra\xDF"
                                               "e",
                                               "noun", "", "street"},
                                              {"der Zug", "noun", "pl. Z\xFCge", "train"}}));
    }
};

TEST_F(OtherFormatsTest, SaveAsOffersUtf8AndKvtmlAfterTheFourTypes) {
    Prompts.QueueFile(QString(), 1); // cancelled: only the offer is looked at
    Trigger(cmFileSaveAs);
    EXPECT_EQ(Prompts.Last().Filter,
              QStringLiteral("Vocalore Document (*.vlo)|*.vlo|Rich Text Format (*.rtf)|*.rtf|"
                             "Tab-Delimited Text (*.txt)|*.txt|Comma-Separated Values (*.csv)|"
                             "*.csv|Tab-Delimited Text, UTF-8 (*.txt)|*.txt|Comma-Separated "
                             "Values, UTF-8 (*.csv)|*.csv|KVTML Vocabulary (*.kvtml)|*.kvtml"));

    // Each by its type alone, and as an export: the document keeps its name.
    Prompts.QueueFile(File("utf8.txt"), 5);
    Trigger(cmFileSaveAs);
    EXPECT_EQ(Bytes(File("utf8.txt")), QByteArray("die Stra\xC3\x9F"
                                                  "e\tnoun\t\tstreet\r\n"
                                                  "der Zug\tnoun\tpl. Z\xC3\xBCge\ttrain\r\n"));
    Prompts.QueueFile(File("utf8.txt.csv"), 6);
    Trigger(cmFileSaveAs);
    EXPECT_EQ(Bytes(File("utf8.txt.csv")),
              QByteArray("\"die Stra\xC3\x9F"
                         "e\",noun,,street\r\n"
                         "\"der Zug\",noun,\"pl. Z\xC3\xBCge\",train\r\n"));
    Prompts.QueueFile(File("list.csv"), 7);
    Trigger(cmFileSaveAs);
    const TKvtmlData data = ReadKvtmlFile(File("list.csv").toStdString());
    ASSERT_EQ(data.Entries.size(), 2u);
    EXPECT_EQ(data.Entries[1].Translations.at(1).Comment, "pl. Z\xC3\xBCge");
    EXPECT_EQ(KvtmlLanguages(data), std::make_pair(uint16_t{0x0407}, uint16_t{0x0409}));
    EXPECT_EQ(Form->Document().FileName(), German.toStdString());
    EXPECT_EQ(Form->Settings().RecentFiles.Count(), 1);
    EXPECT_TRUE(LastError().isEmpty()) << LastError().toStdString();
}

TEST_F(OtherFormatsTest, ImportTakesKvtmlByNameOrContentAndSaysWhenLanguagesWereGuessed) {
    // English-German, the document's languages the other way round: matched.
    const QByteArray englishGerman =
        "<kvtml version=\"2.0\"><identifiers>"
        "<identifier id=\"0\"><locale>English</locale></identifier>"
        "<identifier id=\"1\"><locale>German</locale></identifier></identifiers><entries>"
        "<entry><translation id=\"0\"><text>house</text></translation>"
        "<translation id=\"1\"><text>das Haus</text></translation></entry></entries></kvtml>";
    ASSERT_TRUE(WriteBytes(File("words.kvtml"), englishGerman));
    Prompts.QueueFile(File("words.kvtml"), 4);
    Trigger(cmFileImport); // no Import dialog: a modal would never be answered
    ASSERT_EQ(Form->Document().Count(), 3);
    EXPECT_EQ(Form->Document().Items(2).Word, "das Haus");
    EXPECT_EQ(Form->Document().Items(2).Translation, "house");
    EXPECT_EQ(Form->Document().CurrentIndex(), 2);
    EXPECT_EQ(Prompts.Last().Text, QStringLiteral("1 items imported successfully."));

    // A Polish-German list under another name into a Czech-German document:
    // Polish is not Czech, so the sides go by position, and the message says so.
    ASSERT_TRUE(WriteBytes(File("list.xml"), GermanPolishKvtml));
    Prompts.QueueFile(File("list.xml"), 3);
    Form->Document().ForeignLangID = 0x0405;
    Form->Document().NativeLangID = 0x0407;
    Trigger(cmFileImport);
    ASSERT_EQ(Form->Document().Count(), 5);
    EXPECT_EQ(Prompts.Last().Text, QStringLiteral("2 items imported successfully.") +
                                       QString::fromUtf8(KvtmlUnmatchedNote));
    EXPECT_EQ(Form->Document().Items(4).Word, "poci\xB9g"); // code page 1250
    EXPECT_EQ(Form->Document().Items(4).Translation, "Zug");
}

TEST_F(OtherFormatsTest, Utf8TextIsStoredInTheCodePagesOrRefusedWhole) {
    ASSERT_TRUE(WriteBytes(File("list.txt"),
                           "\xEF\xBB\xBFT\xC3\xBCr\t\t\tdoor\r\nSchl\xC3\xBCssel\t\t\tkey\r\n"));
    auto acceptAllColumns = [](QDialog* dialog) {
        // All four fields in their order: columns 1 to 4.
        auto* list = dialog->findChild<QListWidget*>(QStringLiteral("lbAvailable"));
        auto* add = dialog->findChild<QPushButton*>(QStringLiteral("btnAdd"));
        for (int i = 0; i < 4; ++i) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(list->item(0)).center());
            add->click();
        }
        dialog->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    };
    OnNextModal(acceptAllColumns);
    Prompts.QueueFile(File("list.txt"), 2);
    Trigger(cmFileImport);
    ASSERT_EQ(Form->Document().Count(), 4);
    EXPECT_EQ(Form->Document().Items(2).Word, "T\xFCr");
    EXPECT_EQ(Form->Document().Items(3).Word, "Schl\xFCssel");

    // A Polish letter for the English translations: an error, nothing added.
    ASSERT_TRUE(WriteBytes(File("pl.txt"), "Zug\t\t\tpoci\xC4\x85g\r\n"));
    OnNextModal(acceptAllColumns);
    Prompts.QueueFile(File("pl.txt"), 2);
    Trigger(cmFileImport);
    EXPECT_EQ(LastError(), QStringLiteral("Line 1, Translations: the character \"\u0105\" "
                                          "(U+0105) cannot be stored in English (United States) "
                                          "(code page 1252). Nothing was imported."));
    EXPECT_EQ(Form->Document().Count(), 4);
}

TEST_F(OtherFormatsTest, OpenMakesAnUntitledDocumentInTheFilesLanguages) {
    ASSERT_TRUE(WriteBytes(File("stadt.kvtml"), GermanPolishKvtml));
    Prompts.QueueFile(File("stadt.kvtml"), 3);
    Trigger(cmFileOpen);
    ASSERT_TRUE(LastError().isEmpty()) << LastError().toStdString();
    const TVocabFile& doc = Form->Document();
    EXPECT_EQ(doc.ForeignLangID, 0x0415);
    EXPECT_EQ(doc.NativeLangID, 0x0407);
    EXPECT_EQ(doc.FileName(), "");
    EXPECT_EQ(doc.GetProperty(piDescription), "Stadt");
    ASSERT_EQ(doc.Count(), 2);
    EXPECT_EQ(doc.Items(1).Word, "poci\xB9g"); // code page 1250
    EXPECT_EQ(doc.Items(0).Translation, "Stra\xDF"
                                        "e");
    EXPECT_EQ(doc.Items(0).Notes, "f.");
    EXPECT_EQ(doc.CurrentIndex(), 0);
    EXPECT_TRUE(Form->windowTitle().startsWith(QStringLiteral("Untitled")))
        << Form->windowTitle().toStdString();
    EXPECT_EQ(Form->Settings().RecentFiles.Count(), 1); // only the German document

    // From the command line too: the window starts on it.
    TMemorySettingsStore store;
    TMainForm started(store);
    EXPECT_TRUE(started.FormCreate({File("stadt.kvtml")}));
    EXPECT_EQ(started.Document().Count(), 2);
    EXPECT_EQ(started.ViewMode(), vmEdit);
}

TEST_F(OtherFormatsTest, OpenAsksForLanguagesTheFileDoesNotName) {
    QByteArray unnamed = GermanPolishKvtml;
    unnamed.replace("<name>Polski</name><locale>pl</locale>", "<name>Original</name>");
    ASSERT_TRUE(WriteBytes(File("unnamed.kvtml"), unnamed));

    // Cancel in the New dialog: the open document stays.
    OnNextModal([](QDialog* dialog) {
        ASSERT_NE(dynamic_cast<TNewDialog*>(dialog), nullptr);
        dialog->reject();
    });
    Prompts.QueueFile(File("unnamed.kvtml"), 3);
    Trigger(cmFileOpen);
    EXPECT_EQ(Form->Document().FileName(), German.toStdString());

    // The dialog opens with the language the file does name, and the open
    // list's for the other; the user picks the other.
    uint16_t offeredForeign = 0, offeredNative = 0;
    OnNextModal([&](QDialog* dialog) {
        auto* newDialog = dynamic_cast<TNewDialog*>(dialog);
        ASSERT_NE(newDialog, nullptr);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr); // no hourglass over a question
        offeredForeign = newDialog->ForeignLangID();
        offeredNative = newDialog->NativeLangID();
        auto* foreign = dialog->findChild<QComboBox*>(QStringLiteral("cbForeign"));
        foreign->setCurrentIndex(foreign->findText(QString::fromStdString(LanguageName(0x0415))));
        dialog->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    });
    Prompts.QueueFile(File("unnamed.kvtml"), 3);
    Trigger(cmFileOpen);
    EXPECT_EQ(offeredForeign, 0x0407);
    EXPECT_EQ(offeredNative, 0x0407);
    EXPECT_EQ(Form->Document().ForeignLangID, 0x0415);
    ASSERT_EQ(Form->Document().Count(), 2);
    EXPECT_EQ(Form->Document().Items(1).Word, "poci\xB9g");
}

} // namespace
} // namespace vocalore
