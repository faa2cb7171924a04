// Save As in each of its types and Import of each kind, from the window, with
// the scripted prompt service answering the file dialogs.

#include "WindowTest.h"

#include "ui/common/PromptService.h"
#include "ui/files/ImportDialog.h"
#include "ui/window/MainWindow.h"

#include "core/FileIO.h"
#include "settings/SettingsStore.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace vocalore {
namespace {

using test::Bytes;
using test::OnNextModal;
using test::WriteBytes;
using test::WriteDocument;

// Clicks an entry of a list as the user does.
void ClickEntry(QDialog* dialog, const char* list, int row) {
    auto* widget = dialog->findChild<QListWidget*>(QString::fromLatin1(list));
    QTest::mouseClick(widget->viewport(), Qt::LeftButton, {},
                      widget->visualItemRect(widget->item(row)).center());
}

class FileCommandsTest : public test::TWindowTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(OpenWindowOn({{"der Hund", "noun", "", "dog"},
                                              {"die Katze", "noun", "", "cat"},
                                              {"das Haus", "noun", "", "house, home"}}));
    }
};

TEST_F(FileCommandsTest, ExportTypesWriteTheirFormatWhateverTheNameAndLeaveTheDocumentAlone) {
    Form->Document().MoveCurrent(1); // modified
    Form->UpdateCommands();
    const QString caption = Form->windowTitle();
    const std::string recent = Form->Settings().RecentFiles.Items(0);

    // Each type with a name whose extension belongs to another type.
    struct TCase {
        int FilterIndex;
        const char* Name;
        QByteArray Expected;
    };
    const std::vector<TCase> cases{
        {2, "list.txt", QByteArray("{\\rtf1\\ansi")},
        {3, "list.csv", QByteArray("die Katze\tnoun\t\tcat\r\nder Hund\tnoun\t\tdog\r\n")},
        {4, "list.rtf", QByteArray("\"die Katze\",noun,,cat\r\n\"der Hund\",noun,,dog\r\n")},
    };
    for (const TCase& c : cases) {
        Prompts.QueueFile(File(c.Name), c.FilterIndex);
        Trigger(cmFileSaveAs);
        EXPECT_TRUE(Bytes(File(c.Name)).startsWith(c.Expected)) << c.Name;
        EXPECT_EQ(Form->Document().FileName(), German.toStdString()) << c.Name;
        EXPECT_TRUE(Form->Document().Modified()) << c.Name;
        EXPECT_EQ(Form->windowTitle(), caption) << c.Name;
        EXPECT_EQ(Form->Settings().RecentFiles.Count(), 1) << c.Name;
        EXPECT_EQ(Form->Settings().RecentFiles.Items(0), recent) << c.Name;
    }
    EXPECT_TRUE(Bytes(File("list.txt")).endsWith("house, home\\par}"));
    EXPECT_EQ(Errors(), 0);

    // The document type with a foreign extension still writes a document.
    Prompts.QueueFile(File("copy.csv"), 1);
    Trigger(cmFileSaveAs);
    EXPECT_TRUE(Bytes(File("copy.csv")).startsWith("Vocalore 2"));
    EXPECT_EQ(Form->Document().FileName(), File("copy.csv").toStdString());
    EXPECT_FALSE(Form->Document().Modified());
    EXPECT_EQ(Form->windowTitle(), QStringLiteral("copy.csv - Vocalore"));
    EXPECT_EQ(Form->Settings().RecentFiles.Items(0), File("copy.csv").toStdString());
}

TEST_F(FileCommandsTest, CancelledOrFailedExportChangesNothing) {
    Prompts.QueueFile(QString(), 2); // cancelled
    Trigger(cmFileSaveAs);
    EXPECT_EQ(Prompts.Prompts().size(), 1u);
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files).size(), 1);

    // An earlier file at the target survives a failed export: here the
    // target's folder does not exist, so nothing can be written.
    ASSERT_TRUE(WriteBytes(File("old.rtf"), "earlier"));
    Prompts.QueueFile(File("missing/old.rtf"), 2);
    Trigger(cmFileSaveAs);
    EXPECT_EQ(Errors(), 1);
    EXPECT_TRUE(Prompts.Last().Text.contains(QStringLiteral("missing/old.rtf")))
        << Prompts.Last().Text.toStdString();
    EXPECT_EQ(Bytes(File("old.rtf")), QByteArray("earlier"));
    EXPECT_EQ(Form->Document().FileName(), German.toStdString());
    EXPECT_EQ(Form->Settings().RecentFiles.Count(), 1);
    EXPECT_FALSE(Form->Document().Modified());
}

// Relative names are kept as absolute ones, so the recent files still open
// from another working folder; a symbolic link is kept as the user named it.
TEST_F(FileCommandsTest, RelativePathsBecomeAbsoluteWithoutResolvingLinks) {
    ASSERT_TRUE(QDir(Dir.path()).mkdir(QStringLiteral("sub")));
    ASSERT_TRUE(QFile::link(Dir.filePath(QStringLiteral("sub")), File("link")));
    WriteDocument(File("sub/lesson.vlo"), {{"ja", "", "", "yes"}});
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(Dir.path()));
    const QString root = QDir::current().absolutePath();
    auto recent = [&] { return QString::fromStdString(Form->Settings().RecentFiles.Items(0)); };

    // Open, through a link and a "..".
    Prompts.QueueFile(QStringLiteral("link/../link/lesson.vlo"));
    Trigger(cmFileOpen);
    EXPECT_EQ(recent(), root + QStringLiteral("/link/lesson.vlo"));
    EXPECT_EQ(QString::fromStdString(Form->Document().FileName()), recent());

    // Save As with a relative name.
    Prompts.QueueFile(QStringLiteral("sub/copy.vlo"));
    Trigger(cmFileSaveAs);
    EXPECT_EQ(recent(), root + QStringLiteral("/sub/copy.vlo"));

    // The command line.
    TMemorySettingsStore store;
    TMainForm form(store);
    ASSERT_TRUE(form.FormCreate({QStringLiteral("sub/lesson.vlo")}));
    EXPECT_EQ(QString::fromStdString(form.Settings().RecentFiles.Items(0)),
              root + QStringLiteral("/sub/lesson.vlo"));

    // Import: the file is read from where the user chose it.
    WriteDocument(File("sub/more.vlo"), {{"nein", "", "", "no"}});
    Prompts.QueueFile(QStringLiteral("sub/more.vlo"));
    Trigger(cmFileImport);
    EXPECT_EQ(Errors(), 0);
    ASSERT_TRUE(QDir::setCurrent(before));
}

TEST_F(FileCommandsTest, ImportDialogOfferesDocumentsAndTextAndCancelDoesNothing) {
    EXPECT_TRUE(Form->Action(cmFileImport)->isEnabled());
    Trigger(cmFileImport);
    ASSERT_EQ(Prompts.Prompts().size(), 1u);
    const TRecordedPrompt& dialog = Prompts.Last();
    EXPECT_EQ(dialog.Kind, TRecordedPrompt::pkOpenFile);
    EXPECT_EQ(dialog.Caption, QStringLiteral("Import"));
    EXPECT_EQ(dialog.Filter, QStringLiteral("Vocalore Documents (*.vlo)|*.vlo|Text Files (*.txt, "
                                            "*.csv)|*.txt;*.csv|KVTML Vocabulary "
                                            "(*.kvtml)|*.kvtml|Anki Decks (*.apkg, *.colpkg)|"
                                            "*.apkg;*.colpkg|All Files (*.*)|*.*"));
    EXPECT_EQ(dialog.FilterIndex, 1);
    EXPECT_EQ(dialog.Folder, QDir::currentPath());
    EXPECT_EQ(dialog.FileName, QString());
    EXPECT_EQ(Form->Document().Count(), 3);
    EXPECT_FALSE(Form->Document().Modified());
}

TEST_F(FileCommandsTest, DocumentIsMergedAndItsLastItemBecomesCurrent) {
    const QString other = File("more.vlo");
    WriteDocument(other, {{"der Baum", "", "", "tree"}, {"die T\xFCr", "", "", "door"}});
    Prompts.QueueFile(other);
    Trigger(cmFileImport);
    ASSERT_EQ(Form->Document().Count(), 5);
    EXPECT_EQ(Form->Document().Items(4).Word, "die T\xFCr");
    EXPECT_EQ(Form->Document().CurrentIndex(), 4);
    EXPECT_EQ(Form->Grid()->Row(), 4);
    EXPECT_TRUE(Form->Document().Modified());
    EXPECT_FALSE(Form->Action(cmEditUndo)->isEnabled());
    EXPECT_FALSE(Form->Action(cmEditRedo)->isEnabled());
    const TRecordedPrompt& message = Prompts.Last();
    EXPECT_EQ(message.Text, QStringLiteral("2 items imported successfully."));
    EXPECT_EQ(message.Caption, QStringLiteral("Import"));
    EXPECT_EQ(message.Icon, TMsgIcon::Information);

    // Another pair of languages is refused; an empty document imports nothing.
    const QString french = File("french.vlo");
    WriteDocument(french, {{"la porte", "", "", "door"}}, 0x040C, 0x0409);
    Prompts.QueueFile(french);
    Trigger(cmFileImport);
    EXPECT_EQ(Prompts.Last().Text, QStringLiteral("Languages are different."));
    const QString empty = File("empty.vlo");
    WriteDocument(empty, {});
    Prompts.QueueFile(empty);
    Trigger(cmFileImport);
    EXPECT_EQ(Prompts.Last().Text, QStringLiteral("Nothing to import."));
    EXPECT_EQ(Prompts.Last().Icon, TMsgIcon::Error);
    EXPECT_EQ(Form->Document().Count(), 5);
    EXPECT_EQ(Form->Document().CurrentIndex(), 4);
}

TEST_F(FileCommandsTest, OnlyTheExactLowerCaseExtensionMerges) {
    // A document under an upper-case extension is a text file to convert.
    const QString upper = File("more.VLO");
    WriteDocument(upper, {{"der Baum", "", "", "tree"}});
    bool sawImportDialog = false;
    OnNextModal([&](QDialog* dialog) {
        sawImportDialog = dynamic_cast<TImportDialog*>(dialog) != nullptr &&
                          dialog->windowTitle() == QStringLiteral("Convert Text File");
        dialog->reject();
    });
    Prompts.QueueFile(upper);
    Trigger(cmFileImport);
    EXPECT_TRUE(sawImportDialog);
    // Cancel in the Import dialog: nothing happens, nothing is said.
    EXPECT_EQ(Prompts.Prompts().size(), 1u);
    EXPECT_EQ(Form->Document().Count(), 3);
    EXPECT_FALSE(Form->Document().Modified());
}

TEST_F(FileCommandsTest, TextFileIsConvertedWithTheDialogsColumns) {
    // Translations in column 1, the word in column 2; the second line has no
    // word and is skipped; the third has no translation.
    const QString text = File("words.csv");
    ASSERT_TRUE(WriteBytes(text, "tree,\"der Baum\"\r\nalone,\r\n,\"die T\xFCr\"\r\n"));
    OnNextModal([](QDialog* dialog) {
        auto* add = dialog->findChild<QPushButton*>(QStringLiteral("btnAdd"));
        dialog->findChild<QRadioButton*>(QStringLiteral("rbCommaSeparated"))->setChecked(true);
        ClickEntry(dialog, "lbAvailable", 3); // Translations
        add->click();
        ClickEntry(dialog, "lbAvailable", 0); // Word/phrase
        add->click();
        dialog->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    });
    Prompts.QueueFile(text, 2);
    Trigger(cmFileImport);
    ASSERT_EQ(Form->Document().Count(), 5);
    EXPECT_EQ(Form->Document().Items(3).Word, "der Baum");
    EXPECT_EQ(Form->Document().Items(3).Translation, "tree");
    EXPECT_EQ(Form->Document().Items(4).Word, "die T\xFCr");
    EXPECT_EQ(Form->Document().Items(4).Translation, "#Value?#");
    EXPECT_EQ(Form->Document().CurrentIndex(), 4);
    EXPECT_EQ(Prompts.Last().Text, QStringLiteral("2 items imported successfully."));

    // A file that gives no item: "Nothing to import.", the document unchanged.
    const QString blank = File("blank.txt");
    ASSERT_TRUE(WriteBytes(blank, "\r\n\t\tno word\r\n"));
    OnNextModal([](QDialog* dialog) {
        ClickEntry(dialog, "lbAvailable", 0);
        dialog->findChild<QPushButton*>(QStringLiteral("btnAdd"))->click();
        dialog->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    });
    Prompts.QueueFile(blank, 2);
    Trigger(cmFileImport);
    EXPECT_EQ(Prompts.Last().Text, QStringLiteral("Nothing to import."));
    EXPECT_EQ(Form->Document().Count(), 5);
}

} // namespace
} // namespace vocalore
