// What keeps a list from being lost in the window: the names Save As really
// writes, other writers of the open file, the lock of a second copy, the
// read-only notice, recovery copies and the end of a session.

#include "WindowTest.h"

#include "ui/common/PromptService.h"
#include "ui/files/FileCommands.h"
#include "ui/files/RecoveryCopies.h"
#include "ui/window/MainWindow.h"

#include "core/DocumentLock.h"
#include "core/FileIO.h"
#include "core/Recovery.h"
#include "settings/SettingsStore.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>

#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vocalore {
namespace {

using test::Bytes;
using test::WriteBytes;
using test::WriteDocument;

std::vector<std::string> Words(const TVocabFile& document) {
    std::vector<std::string> words;
    for (int32_t i = 0; i < document.Count(); ++i)
        words.push_back(document.Items(i).Word);
    return words;
}

// The recovery copies in the test run's folder, with their writers.
std::vector<TRecoveryCopy> AllCopies() {
    std::vector<TRecoveryCopy> copies;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(RecoveryFolder(), ec))
        if (auto copy = ReadRecoveryCopy(entry.path().string()))
            copies.push_back(std::move(*copy));
    return copies;
}

void RemoveAllCopies() {
    std::error_code ec;
    std::filesystem::remove_all(RecoveryFolder(), ec);
}

class DocumentSafetyTest : public test::TWindowTest {
protected:
    void SetUp() override {
        test::App();
        RemoveAllCopies();
        ASSERT_NO_FATAL_FAILURE(
            OpenWindowOn({{"der Hund", "noun", "", "dog"}, {"die Katze", "noun", "", "cat"}}));
    }
    void TearDown() override {
        Form.reset();
        RemoveAllCopies();
    }

    void Modify() {
        Form->Document().SetCurrentIndex(0);
        Form->Document().MoveCurrent(1);
        Form->UpdateCommands();
    }
    // Another program writes the open file: other items, another size.
    void WrittenElsewhere() {
        WriteDocument(German, {{"das Haus", "noun", "", "house"},
                               {"der Baum", "noun", "", "tree"},
                               {"die Blume", "noun", "", "flower"}});
    }
};

// The chosen type decides the extension, the question names the file really
// written, and an export never replaces a Vocalore document unasked.
TEST_F(DocumentSafetyTest, SaveAsNamesTheFileTheTypeWrites) {
    Modify();
    // The dialog comes filled with the document's name without extension.
    Prompts.QueueFile(Dir.filePath(QStringLiteral("german")), 3);
    Trigger(cmFileSaveAs);
    EXPECT_TRUE(Prompts.Prompts().front().SuffixFollowsFilter);
    EXPECT_FALSE(Prompts.Prompts().front().OverwritePrompt);
    EXPECT_EQ(Bytes(File("german.txt")),
              QByteArray("die Katze\tnoun\t\tcat\r\nder Hund\tnoun\t\tdog\r\n"));
    EXPECT_TRUE(Bytes(German).startsWith("Vocalore 2"));
    EXPECT_EQ(Messages(), 0); // nothing was there to replace
    EXPECT_TRUE(Form->Document().Modified());

    // An existing text file: the question names it.
    Prompts.Clear();
    Prompts.QueueFile(Dir.filePath(QStringLiteral("german")), 3);
    Prompts.QueueButton(mbNo);
    Trigger(cmFileSaveAs);
    ASSERT_EQ(Messages(), 1);
    EXPECT_EQ(Prompts.Last().Text,
              File("german.txt") + QStringLiteral(" already exists.\nDo you want to replace it?"));
    EXPECT_EQ(Prompts.Last().DefaultButton, mbNo);

    // The document's own file, chosen by its name: a question that says so,
    // No by default; No writes nothing.
    Prompts.Clear();
    const QByteArray before = Bytes(German);
    Prompts.QueueFile(German, 3);
    Prompts.QueueButton(mbNo);
    Trigger(cmFileSaveAs);
    ASSERT_EQ(Messages(), 1);
    EXPECT_TRUE(Prompts.Last().Text.startsWith(
        German + QStringLiteral("\nThis is the file of the open document. Replacing it with "
                                "Tab-Delimited Text")))
        << Prompts.Last().Text.toStdString();
    EXPECT_EQ(Prompts.Last().DefaultButton, mbNo);
    EXPECT_EQ(Bytes(German), before);
    // Yes replaces it as asked; the list is then saved nowhere, so it counts
    // as unsaved even where it was not, and the change on disk is not offered
    // for reloading.
    Trigger(cmFileSave);
    EXPECT_FALSE(Form->Document().Modified());
    Prompts.Clear();
    Prompts.QueueFile(German, 3);
    Prompts.QueueButton(mbYes);
    Trigger(cmFileSaveAs);
    EXPECT_TRUE(Bytes(German).startsWith("der Hund") || Bytes(German).startsWith("die Katze"));
    EXPECT_TRUE(Form->Document().Modified());
    Form->FileCommands().CheckDiskChange();
    EXPECT_EQ(Messages(), 1);
    Trigger(cmFileSave);
    const QByteArray saved = Bytes(German);
    EXPECT_TRUE(saved.startsWith("Vocalore 2"));
    Modify();
    // Also through a symbolic link to it.
    ASSERT_EQ(
        ::symlink(German.toLocal8Bit().constData(), File("link.vlo").toLocal8Bit().constData()), 0);
    Prompts.Clear();
    Prompts.QueueFile(File("link.vlo"), 2);
    Trigger(cmFileSaveAs); // unanswered: No
    EXPECT_TRUE(
        Prompts.Last().Text.contains(QStringLiteral("This is the file of the open document")));
    EXPECT_EQ(Bytes(German), saved);

    // Another Vocalore document.
    WriteDocument(File("other.vlo"), {{"das Haus", "noun", "", "house"}});
    const QByteArray other = Bytes(File("other.vlo"));
    Prompts.Clear();
    Prompts.QueueFile(File("other.vlo"), 4);
    Prompts.QueueButton(mbNo);
    Trigger(cmFileSaveAs);
    EXPECT_TRUE(Prompts.Last().Text.startsWith(
        File("other.vlo") + QStringLiteral("\nThis is a Vocalore document. Replacing it with "
                                           "Comma-Separated Values loses the list it holds.")))
        << Prompts.Last().Text.toStdString();
    EXPECT_EQ(Bytes(File("other.vlo")), other);
    // Yes replaces it, as asked.
    Prompts.Clear();
    Prompts.QueueFile(File("other.vlo"), 4);
    Prompts.QueueButton(mbYes);
    Trigger(cmFileSaveAs);
    EXPECT_TRUE(Bytes(File("other.vlo")).contains(",noun,,cat\r\n"));
    EXPECT_EQ(Form->Document().FileName(), German.toStdString());

    // The document type without an extension gets ".vlo" and no question.
    Prompts.Clear();
    Prompts.QueueFile(File("copy"), 1);
    Trigger(cmFileSaveAs);
    EXPECT_EQ(Messages(), 0);
    EXPECT_EQ(Form->Document().FileName(), File("copy.vlo").toStdString());
    EXPECT_FALSE(Form->Document().Modified());
}

// A change on disk by another writer is noticed before a save and when the
// window becomes active again, and the user chooses.
TEST_F(DocumentSafetyTest, OtherWritersAreNoticedBeforeASaveAndOnReturn) {
    Modify();
    WrittenElsewhere();
    const QByteArray theirs = Bytes(German);
    Prompts.QueueButton(mbCancel);
    Trigger(cmFileSave);
    ASSERT_EQ(Messages(), 1);
    EXPECT_TRUE(Prompts.Last().Text.startsWith(
        German +
        QStringLiteral("\nThis file was changed on disk since Vocalore opened or saved it")));
    EXPECT_EQ(Prompts.Last().DefaultButton, mbCancel);
    EXPECT_EQ(Bytes(German), theirs);
    EXPECT_TRUE(Form->Document().Modified());

    // No reloads their version.
    Prompts.Clear();
    Prompts.QueueButton(mbNo);
    Trigger(cmFileSave);
    EXPECT_EQ(Words(Form->Document()),
              (std::vector<std::string>{"das Haus", "der Baum", "die Blume"}));
    EXPECT_FALSE(Form->Document().Modified());
    EXPECT_EQ(Bytes(German), theirs);

    // Yes writes ours over it; the next save asks nothing.
    Modify();
    WrittenElsewhere();
    Prompts.Clear();
    Prompts.QueueButton(mbYes);
    Trigger(cmFileSave);
    EXPECT_FALSE(Form->Document().Modified());
    EXPECT_NE(Bytes(German), theirs);
    Modify();
    Prompts.Clear();
    Trigger(cmFileSave);
    EXPECT_EQ(Messages(), 0);

    // Coming back to the window: asked once per change; Yes reloads.
    Form->FileCommands().CheckDiskChange();
    EXPECT_EQ(Messages(), 0);
    WrittenElsewhere();
    Prompts.QueueButton(mbNo);
    Form->FileCommands().CheckDiskChange();
    ASSERT_EQ(Messages(), 1);
    EXPECT_EQ(Prompts.Last().Text,
              German + QStringLiteral("\nThis file was changed on disk by another program or "
                                      "another copy of Vocalore.\nDo you want to reload it?"));
    EXPECT_EQ(Words(Form->Document()),
              (std::vector<std::string>{"das Haus", "der Baum", "die Blume"}));
    Form->FileCommands().CheckDiskChange();
    EXPECT_EQ(Messages(), 1); // the same change is not offered again
    Modify();
    WrittenElsewhere();
    Prompts.QueueButton(mbYes);
    Form->FileCommands().CheckDiskChange();
    ASSERT_EQ(Messages(), 2);
    EXPECT_TRUE(
        Prompts.Last().Text.endsWith(QStringLiteral(" The changes made here would be lost.")));
    EXPECT_EQ(Prompts.Last().DefaultButton, mbNo);
    EXPECT_EQ(Words(Form->Document()),
              (std::vector<std::string>{"das Haus", "der Baum", "die Blume"}));
}

// A document another running copy holds: the user opens it anyway or not.
TEST_F(DocumentSafetyTest, DocumentOpenElsewhereIsSaidAndMayBeOpenedAnyway) {
    const QString shared = File("shared.vlo");
    WriteDocument(shared, {{"das Haus", "noun", "", "house"}});
    const std::string lock = TDocumentLock::LockFileName(shared.toStdString());
    std::ofstream(lock) << "anna,elsewhere,4242,1700000000\n";
    EXPECT_FALSE(Form->OpenDocument(shared));
    ASSERT_EQ(Messages(), 1);
    EXPECT_EQ(Prompts.Last().Text,
              shared + QStringLiteral("\nThis document is already open in Vocalore (anna on "
                                      "elsewhere). If both copies save it, one loses the other's "
                                      "changes.\nDo you want to open it anyway?"));
    EXPECT_EQ(Prompts.Last().ButtonTexts.at(mbYes), QStringLiteral("Open Anyway"));
    EXPECT_EQ(Prompts.Last().DefaultButton, mbCancel);
    EXPECT_EQ(Form->Document().FileName(), German.toStdString());

    Prompts.QueueButton(mbYes);
    EXPECT_TRUE(Form->OpenDocument(shared));
    EXPECT_EQ(Form->Document().FileName(), shared.toStdString());
    EXPECT_FALSE(TDocumentLock::HeldByOther(shared.toStdString()).has_value()); // ours now
    // The first document's lock went with it.
    EXPECT_FALSE(
        QFile::exists(QString::fromStdString(TDocumentLock::LockFileName(German.toStdString()))));
    Form.reset();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(lock)));
}

// The read-only notice covers every file this user can't write, a read-only
// mount included.
TEST_F(DocumentSafetyTest, ReadOnlyNoticeForAnyFileTheUserCannotWrite) {
    const QString folder = Dir.filePath(QStringLiteral("ro"));
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/list.vlo");
    WriteDocument(path, {{"das Haus", "noun", "", "house"}, {"der Baum", "noun", "", "tree"}});
    bool mounted = false;
    if (::geteuid() == 0) {
        mounted = ::mount(folder.toLocal8Bit().constData(), folder.toLocal8Bit().constData(),
                          nullptr, MS_BIND, nullptr) == 0 &&
                  ::mount(nullptr, folder.toLocal8Bit().constData(), nullptr,
                          MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
    } else {
        mounted = ::chmod(path.toLocal8Bit().constData(), 0444) == 0;
    }
    // Undone also when an assertion leaves the test early.
    struct TUnmount {
        QByteArray Folder;
        ~TUnmount() {
            if (!Folder.isEmpty())
                ::umount(Folder.constData());
        }
    } const unmount{::geteuid() == 0 ? folder.toLocal8Bit() : QByteArray()};
    ASSERT_TRUE(mounted) << "no read-only file could be made";
    ASSERT_TRUE(Form->OpenDocument(path));
    Modify();
    Prompts.Clear();
    Trigger(cmFileSave); // the notice, then Save As (cancelled)
    ASSERT_EQ(Prompts.Prompts().size(), 2u);
    EXPECT_EQ(Prompts.Prompts()[0].Text,
              path + QStringLiteral("\nThis file is read-only. Please use a different file name."));
    EXPECT_EQ(Prompts.Prompts()[1].Kind, TRecordedPrompt::pkSaveFile);
    EXPECT_TRUE(Form->Document().Modified());
}

// A copy of unsaved work while the document is modified, private to the
// user; gone after a save or a deliberate No.
TEST_F(DocumentSafetyTest, RecoveryCopiesFollowTheUnsavedState) {
    TRecoveryCopies& copies = Form->RecoveryCopies();
    EXPECT_EQ(copies.Interval(), 2); // the default
    copies.WriteSoon();
    copies.Wait();
    EXPECT_TRUE(AllCopies().empty()); // nothing unsaved
    Modify();
    copies.WriteSoon();
    copies.Wait();
    auto found = AllCopies();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].OriginalPath, German.toStdString());
    EXPECT_EQ(found[0].Kind, TRecoveryKind::Unsaved);
    EXPECT_EQ(found[0].Writer, ::getpid());
    TVocabFile back;
    back.LoadRecovered(found[0].Bytes, found[0].OriginalPath);
    EXPECT_EQ(Words(back), (std::vector<std::string>{"die Katze", "der Hund"}));
    struct stat info {};
    ASSERT_EQ(::stat(found[0].File.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    Trigger(cmFileSave);
    copies.Wait();
    EXPECT_TRUE(AllCopies().empty());

    Modify();
    copies.WriteNow();
    EXPECT_EQ(AllCopies().size(), 1u);
    Prompts.QueueButton(mbNo);
    EXPECT_TRUE(Form->QuerySave());
    copies.Wait();
    EXPECT_TRUE(AllCopies().empty());
}

// Copies of earlier runs are offered at the next start: Recover opens the
// unsaved document it was, Discard removes it, Later keeps it.
TEST_F(DocumentSafetyTest, StartOffersEachCopyOfAnEarlierRun) {
    Form.reset();
    auto leave = [](const std::string& path, std::initializer_list<const char*> words) {
        const pid_t child = ::fork();
        if (child == 0) {
            TVocabFile document;
            document.ForeignLangID = 0x0407;
            document.NativeLangID = 0x0409;
            for (const char* word : words) {
                document.PendingItem().Word = word;
                document.PendingItem().Translation = "x";
                document.InsertPending(ipAtEnd);
            }
            WriteRecoveryCopy(NewRecoveryFileName(TRecoveryKind::Unsaved), TRecoveryKind::Unsaved,
                              path, document.FileImage());
            ::_exit(0);
        }
        ::waitpid(child, nullptr, 0);
    };
    leave("", {"eins"});
    ::usleep(20000); // the older one is offered first
    leave(German.toStdString(), {"zwei", "drei"});

    Prompts.QueueButton(mbCancel); // Later
    Prompts.QueueButton(mbNo);     // Discard
    Form = std::make_unique<TMainForm>(Store);
    ASSERT_TRUE(Form->FormCreate({German}));
    ASSERT_GE(Prompts.Prompts().size(), 2u);
    const TRecordedPrompt& first = Prompts.Prompts()[0];
    EXPECT_TRUE(first.Text.startsWith(
        QStringLiteral("Vocalore ended without saving the changes to Untitled (1 items, kept at ")))
        << first.Text.toStdString();
    EXPECT_EQ(first.ButtonTexts.at(mbYes), QStringLiteral("Recover"));
    EXPECT_EQ(first.ButtonTexts.at(mbNo), QStringLiteral("Discard"));
    EXPECT_EQ(first.ButtonTexts.at(mbCancel), QStringLiteral("Later"));
    EXPECT_TRUE(Prompts.Prompts()[1].Text.contains(German + QStringLiteral(" (2 items")));
    EXPECT_EQ(Form->Document().FileName(), German.toStdString()); // the command line's
    EXPECT_FALSE(Form->Document().Modified());
    ASSERT_EQ(AllCopies().size(), 1u); // Later kept the untitled one
    Form.reset();

    Prompts.Clear();
    Prompts.QueueButton(mbYes);
    Form = std::make_unique<TMainForm>(Store);
    ASSERT_TRUE(Form->FormCreate({}));
    EXPECT_EQ(Form->ViewMode(), vmEdit);
    EXPECT_EQ(Words(Form->Document()), (std::vector<std::string>{"eins"}));
    EXPECT_TRUE(Form->Document().FileName().empty());
    EXPECT_TRUE(Form->Document().Modified());
    // Only this run's copy of it is left.
    const auto copies = AllCopies();
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].Writer, ::getpid());
}

// The end of a session without the user closing the window: a copy of the
// unsaved work and the settings; the session's question answered No leaves
// no copy.
TEST_F(DocumentSafetyTest, SessionEndKeepsUnsavedWorkAndTheSettings) {
    Modify();
    EXPECT_TRUE(Form->CommitSession(false));
    EXPECT_EQ(AllCopies().size(), 1u);
    EXPECT_EQ(Messages(), 0);
    Form->EndSession(false);
    EXPECT_TRUE(Form->SessionEnded());
    ASSERT_EQ(AllCopies().size(), 1u);
    EXPECT_EQ(AllCopies()[0].OriginalPath, German.toStdString());
    auto key = Store.OpenKey(SettingsKeyPath, false);
    ASSERT_TRUE(key);
    EXPECT_TRUE(key->Query("Options").has_value());
    EXPECT_TRUE(key->Query("RecoveryMinutes").has_value());
    Form.reset();
    RemoveAllCopies();

    Form = std::make_unique<TMainForm>(Store);
    ASSERT_TRUE(Form->FormCreate({German}));
    Modify();
    Prompts.Clear();
    Prompts.QueueButton(mbCancel);
    EXPECT_FALSE(Form->CommitSession(true));
    EXPECT_EQ(Prompts.Last().Text, QStringLiteral("Save changes to german.vlo?"));
    Prompts.QueueButton(mbNo);
    EXPECT_TRUE(Form->CommitSession(true));
    Form->EndSession(false);
    Form->RecoveryCopies().Wait();
    EXPECT_TRUE(AllCopies().empty());
}

} // namespace
} // namespace vocalore
