#include "UiTestSupport.h"

#include "ui/common/PromptService.h"
#include "ui/files/FileCommands.h"
#include "ui/files/NewDialog.h"
#include "ui/files/TipsDialog.h"
#include "ui/files/WelcomeDialog.h"
#include "ui/options/OptionsDialog.h"
#include "ui/window/Help.h"
#include "ui/window/KeyFilter.h"
#include "ui/window/MainWindow.h"

#include "settings/SettingsStore.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace vocalore {
namespace {

using test::OnNextModal;
using test::WriteDocument;

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::App();
        ASSERT_TRUE(Dir.isValid());
        SetHelpOpener([this](const QUrl& url) {
            HelpUrls.push_back(url);
            return true;
        });
        German = Dir.filePath(QStringLiteral("german.vlo"));
        WriteDocument(German, {{"der Hund", "noun", "", "dog"},
                               {"die Katze", "noun", "", "cat"},
                               {"das Haus", "noun", "", "house"}});
        Form = std::make_unique<TMainForm>(Store);
    }
    void TearDown() override {
        Form.reset();
        SetHelpOpener({});
        SetHelpFolder({});
    }

    // Starts with a document from the command line.
    void StartWith(const QString& path) {
        ASSERT_TRUE(Form->FormCreate({path}));
        Form->UpdateCommands();
    }

    // Empty pages in a help folder of the test's own.
    void MakeHelpPages(std::initializer_list<int> contexts) {
        QDir(Dir.path()).mkdir(QStringLiteral("help"));
        SetHelpFolder(Dir.filePath(QStringLiteral("help")));
        for (int context : contexts) {
            QFile page(
                Dir.filePath(QStringLiteral("help/") + HelpPage(context).section(u'#', 0, 0)));
            ASSERT_TRUE(page.open(QIODevice::WriteOnly));
        }
    }
    bool Enabled(TCommandId id) const { return Form->Action(id)->isEnabled(); }
    QString Panel(int i) const { return Form->StatusPanel(i)->text(); }
    QToolBar* ToolBar() const { return Form->findChild<QToolBar*>(QStringLiteral("tbrToolBar")); }
    int Errors() const {
        int n = 0;
        for (const TRecordedPrompt& p : Prompts.Prompts())
            n += p.Kind == TRecordedPrompt::pkMessage && p.Icon == TMsgIcon::Error;
        return n;
    }

    QTemporaryDir Dir;
    QString German;
    TMemorySettingsStore Store;
    TFakePromptService Prompts{true};
    std::vector<QUrl> HelpUrls;
    std::unique_ptr<TMainForm> Form;
};

TEST_F(MainWindowTest, FirstStartShowsTipThenWelcomeAndCancelLeavesEmptyWorkspace) {
    bool sawTips = false;
    bool sawWelcome = false;
    OnNextModal([&](QDialog* tips) {
        sawTips = dynamic_cast<TTipsDialog*>(tips) != nullptr;
        OnNextModal([&](QDialog* welcome) {
            sawWelcome = dynamic_cast<TWelcomeDialog*>(welcome) != nullptr;
            welcome->reject();
        });
        tips->reject();
    });
    ASSERT_TRUE(Form->FormCreate({}));
    Form->UpdateCommands();
    EXPECT_TRUE(sawTips);
    EXPECT_TRUE(sawWelcome);
    EXPECT_TRUE(Form->isVisible());
    EXPECT_EQ(Form->ViewMode(), vmNone);
    EXPECT_EQ(Form->windowTitle(), QStringLiteral("Vocalore"));
    const std::set<TCommandId> always{
        cmFileNew,       cmFileOpen,    cmFilePageSetup, cmFileExit, cmViewToolBar,
        cmViewStatusBar, cmViewOptions, cmHelpContents,  cmHelpTips, cmHelpAbout};
    for (const TCommandInfo& info : CommandTable())
        EXPECT_EQ(Enabled(info.Id), always.count(info.Id) == 1) << info.Name;
    for (int i = 1; i < 5; ++i)
        EXPECT_EQ(Panel(i), QString()) << i;
    EXPECT_FALSE(Form->RecentAction(0)->isVisible());
    EXPECT_EQ(Errors(), 0);
}

TEST_F(MainWindowTest, CommandLineDocumentOpensStraightIntoTheGrid) {
    StartWith(German);
    EXPECT_EQ(Form->ViewMode(), vmEdit);
    EXPECT_EQ(Form->Document().Count(), 3);
    EXPECT_EQ(Form->Document().CurrentIndex(), 0);
    EXPECT_EQ(Form->Grid()->Row(), 0);
    EXPECT_EQ(Form->windowTitle(), QStringLiteral("german.vlo - Vocalore"));
    EXPECT_EQ(Panel(1), QStringLiteral("DE - EN"));
    EXPECT_EQ(Panel(2), QStringLiteral("1"));
    EXPECT_EQ(Panel(3), QStringLiteral("3"));
    EXPECT_EQ(Panel(4), QString());
    EXPECT_EQ(Form->Settings().RecentFiles.Count(), 1);
    EXPECT_EQ(Prompts.Prompts().size(), 0u);
}

// The window has an icon of its own, and the status bar's panels hold what
// they show: the longest hint, a count of a million.
TEST_F(MainWindowTest, IconAndStatusPanelsThatHoldTheirText) {
    StartWith(German);
    EXPECT_FALSE(Form->windowIcon().isNull());
    EXPECT_FALSE(QApplication::windowIcon().isNull());
    auto fits = [](const QLabel* panel, const QString& text) {
        return panel->contentsRect().width() >= panel->fontMetrics().horizontalAdvance(text);
    };
    EXPECT_TRUE(fits(Form->StatusPanel(0),
                     QStringLiteral("Copies the selected item and prepares to move it")));
    EXPECT_GE(Form->StatusPanel(0)->width(), 300);
    // The window opens wide enough for all five panels side by side.
    const QLabel* last = Form->StatusPanel(4);
    EXPECT_LE(last->mapTo(Form.get(), QPoint(last->width(), 0)).x(), Form->width());
    for (int i = 1; i < 5; ++i)
        EXPECT_GE(Form->StatusPanel(i)->width(), i == 1 || i == 4 ? 60 : 50) << i;

    std::vector<std::unique_ptr<TVocabItem>> items;
    for (int i = 0; i < 1000000 - 3; ++i) {
        auto item = std::make_unique<TVocabItem>();
        item->Word = "w";
        item->Translation = "t";
        items.push_back(std::move(item));
    }
    Form->Document().AppendItems(std::move(items));
    Form->Document().SetCurrentIndex(999999);
    Form->UpdateCommands();
    EXPECT_EQ(Panel(3), QStringLiteral("1000000"));
    EXPECT_EQ(Panel(2), QStringLiteral("1000000"));
    EXPECT_TRUE(fits(Form->StatusPanel(3), Panel(3)));
    EXPECT_TRUE(fits(Form->StatusPanel(2), Panel(2)));
}

// The hint panel grows with the font in use: in a large one the longest hint
// still stands whole.
TEST_F(MainWindowTest, HintPanelHoldsTheLongestHintInALargeFont) {
    const QFont saved = QApplication::font();
    QFont large = saved;
    large.setPixelSize(28);
    QApplication::setFont(large);
    Form = std::make_unique<TMainForm>(Store);
    StartWith(German);
    const QLabel* hints = Form->StatusPanel(0);
    const QString longest = QStringLiteral("Copies the selected item and prepares to move it");
    EXPECT_GE(hints->contentsRect().width(), hints->fontMetrics().horizontalAdvance(longest));
    EXPECT_GT(hints->fontMetrics().height(), 20) << "the large font is not in use";
    Form.reset();
    QApplication::setFont(saved);
}

TEST_F(MainWindowTest, CommandLineFileThatCannotBeOpenedEndsTheProgram) {
    const QString broken = Dir.filePath(QStringLiteral("broken.vlo"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Vocalore 3 and then some bytes");
    file.close();
    EXPECT_FALSE(Form->FormCreate({broken}));
    EXPECT_FALSE(Form->isVisible());
    ASSERT_EQ(Prompts.Prompts().size(), 1u);
    EXPECT_EQ(Prompts.Last().Text, QStringLiteral("Invalid file format."));
    EXPECT_EQ(Prompts.Last().Caption, QStringLiteral("Vocalore"));
    EXPECT_EQ(Prompts.Last().Icon, TMsgIcon::Error);
}

TEST_F(MainWindowTest, DocumentInUnavailableLanguageIsRefusedWithThePathFirst) {
    const QString arabic = Dir.filePath(QStringLiteral("arabic.vlo"));
    WriteDocument(arabic, {{"a", "", "", "b"}}, 0x0401, 0x0409);
    EXPECT_FALSE(Form->FormCreate({arabic}));
    ASSERT_EQ(Prompts.Prompts().size(), 1u);
    // Named, and never a word about another system.
    EXPECT_EQ(Prompts.Last().Text,
              arabic + QStringLiteral("\n\nThis file uses a language that Vocalore does not "
                                      "support: Arabic (Saudi Arabia)."));
    EXPECT_EQ(UnsupportedLanguageMessage(0x0409, 0x040D),
              "This file uses a language that Vocalore does not support: Hebrew (Israel).");
    EXPECT_EQ(UnsupportedLanguageMessage(0x0401, 0x040D),
              "This file uses languages that Vocalore does not support: Arabic (Saudi Arabia) "
              "and Hebrew (Israel).");
    EXPECT_EQ(UnsupportedLanguageMessage(0x0401, 0x0401),
              "This file uses a language that Vocalore does not support: Arabic (Saudi Arabia).");
    EXPECT_EQ(UnsupportedLanguageMessage(0x0407, 0x00FF),
              "This file uses a language that Vocalore does not support: the language 00FF.");
}

TEST_F(MainWindowTest, NewWithModifiedDocumentAsksFirstAndCancelKeepsEverything) {
    StartWith(German);
    Form->Document().MoveCurrent(2);
    Form->RefreshGrid();
    Prompts.QueueButton(mbCancel);
    Form->Action(cmFileNew)->trigger();
    ASSERT_EQ(Prompts.Prompts().size(), 1u);
    EXPECT_EQ(Prompts.Last().Text, QStringLiteral("Save changes to german.vlo?"));
    EXPECT_EQ(Prompts.Last().Icon, TMsgIcon::Warning);
    EXPECT_EQ(Prompts.Last().Buttons, mbYes | mbNo | mbCancel);
    EXPECT_EQ(Form->Document().Count(), 3);
    EXPECT_TRUE(Form->Document().Modified());

    // No, then Cancel in the New dialog: the old document stays.
    Prompts.QueueButton(mbNo);
    bool sawNew = false;
    OnNextModal([&](QDialog* dialog) {
        sawNew = dynamic_cast<TNewDialog*>(dialog) != nullptr;
        dialog->reject();
    });
    Form->Action(cmFileNew)->trigger();
    EXPECT_TRUE(sawNew);
    EXPECT_EQ(Form->Document().Count(), 3);
    EXPECT_TRUE(Form->Document().Modified());

    // No, then OK: an empty untitled document with the languages chosen.
    Prompts.QueueButton(mbNo);
    OnNextModal([](QDialog* dialog) { dialog->accept(); });
    Form->Action(cmFileNew)->trigger();
    Form->UpdateCommands();
    EXPECT_EQ(Form->Document().Count(), 0);
    EXPECT_FALSE(Form->Document().Modified());
    EXPECT_EQ(Form->Document().ForeignLangID, 0x0407);
    EXPECT_EQ(Form->Document().NativeLangID, 0x0409);
    EXPECT_EQ(Form->windowTitle(), QStringLiteral("Untitled - Vocalore"));
    EXPECT_EQ(Panel(2), QStringLiteral("0"));
    EXPECT_FALSE(Enabled(cmTestStartTesting));
    EXPECT_FALSE(Enabled(cmEditEdit));
    EXPECT_TRUE(Enabled(cmEditAdd));
    EXPECT_TRUE(Enabled(cmFileSave));
    EXPECT_EQ(Errors(), 0);
}

TEST_F(MainWindowTest, SaveOfUntitledDocumentRunsSaveAsAndCancelLeavesItUntitledAndModified) {
    StartWith(German);
    Prompts.QueueButton(mbNo);
    OnNextModal([](QDialog* dialog) { dialog->accept(); });
    Form->Action(cmFileNew)->trigger();
    TVocabItem& item = Form->Document().PendingItem();
    item.Word = "neu";
    item.Translation = "new";
    Form->Document().InsertPending(ipAtEnd);
    Prompts.Clear();

    Form->Action(cmFileSave)->trigger();
    ASSERT_EQ(Prompts.Prompts().size(), 1u);
    const TRecordedPrompt& dialog = Prompts.Last();
    EXPECT_EQ(dialog.Kind, TRecordedPrompt::pkSaveFile);
    // The four types first; the UTF-8 and KVTML ones follow (OtherFormatsTest).
    EXPECT_TRUE(dialog.Filter.startsWith(
        QStringLiteral("Vocalore Document (*.vlo)|*.vlo|Rich Text Format (*.rtf)|*.rtf|"
                       "Tab-Delimited Text (*.txt)|*.txt|Comma-Separated Values (*.csv)|*.csv|")))
        << dialog.Filter.toStdString();
    EXPECT_EQ(dialog.FilterIndex, 1);
    EXPECT_EQ(dialog.DefaultSuffix, QStringLiteral("vlo"));
    // The suffix follows the chosen type; the question about replacing a
    // file comes once the real name is known.
    EXPECT_TRUE(dialog.SuffixFollowsFilter);
    EXPECT_FALSE(dialog.OverwritePrompt);
    EXPECT_EQ(dialog.FileName, QString());
    EXPECT_TRUE(Form->Document().FileName().empty());
    EXPECT_TRUE(Form->Document().Modified());

    // The save-changes prompt of an untitled document, answered Yes and then
    // cancelled in Save As, keeps the window open.
    Prompts.QueueButton(mbYes);
    EXPECT_FALSE(Form->QuerySave());
    EXPECT_EQ(Prompts.Prompts()[1].Text, QStringLiteral("Save changes to Untitled?"));
}

TEST_F(MainWindowTest, SaveAsInNativeFormatNamesTheDocument) {
    StartWith(German);
    Form->Document().MoveCurrent(1);
    const QString copy = Dir.filePath(QStringLiteral("copy.vlo"));
    Prompts.QueueFile(copy, 1);
    Form->Action(cmFileSaveAs)->trigger();
    Form->UpdateCommands();
    EXPECT_EQ(Prompts.Last().FileName, Dir.filePath(QStringLiteral("german")));
    EXPECT_EQ(Prompts.Last().Folder, Dir.path());
    EXPECT_EQ(Form->Document().FileName(), copy.toStdString());
    EXPECT_FALSE(Form->Document().Modified());
    EXPECT_EQ(Form->Settings().RecentFiles.Items(0), copy.toStdString());
    EXPECT_EQ(Form->windowTitle(), QStringLiteral("copy.vlo - Vocalore"));
}

TEST_F(MainWindowTest, SaveToReadOnlyFileShowsTheNoticeThenSaveAs) {
    StartWith(German);
    Form->Document().MoveCurrent(1);
    ASSERT_TRUE(QFile::setPermissions(German, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    if (::geteuid() == 0) {
        // Read-only is what keeps this user from writing: root may write it,
        // and the file keeps its mode (a read-only mount: DocumentSafetyTest).
        Form->Action(cmFileSave)->trigger();
        EXPECT_EQ(Prompts.Prompts().size(), 0u);
        EXPECT_FALSE(Form->Document().Modified());
        struct stat info {};
        ASSERT_EQ(::stat(German.toLocal8Bit().constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0440u);
        return;
    }
    Form->Action(cmFileSave)->trigger();
    ASSERT_EQ(Prompts.Prompts().size(), 2u);
    EXPECT_EQ(Prompts.Prompts()[0].Text,
              Dir.path() +
                  QStringLiteral(
                      "/german.vlo\nThis file is read-only. Please use a different file name."));
    EXPECT_EQ(Prompts.Prompts()[0].Icon, TMsgIcon::Warning);
    EXPECT_EQ(Prompts.Prompts()[1].Kind, TRecordedPrompt::pkSaveFile);
    EXPECT_TRUE(Form->Document().Modified());
}

TEST_F(MainWindowTest, OpeningABrokenFileKeepsTheCurrentDocument) {
    StartWith(German);
    Form->Document().MoveCurrent(2);
    const QString broken = Dir.filePath(QStringLiteral("short.vlo"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Voca");
    file.close();
    Prompts.QueueButton(mbNo);
    Prompts.QueueFile(broken);
    Form->Action(cmFileOpen)->trigger();
    EXPECT_EQ(Prompts.Prompts()[1].Caption, QStringLiteral("Open"));
    EXPECT_EQ(Prompts.Prompts()[1].Filter,
              QStringLiteral("Vocalore Documents (*.vlo)|*.vlo|KVTML Vocabulary (*.kvtml)|"
                             "*.kvtml|Anki Decks (*.apkg, *.colpkg)|*.apkg;*.colpkg|"
                             "All Files (*.*)|*.*"));
    EXPECT_EQ(Prompts.Last().Text, QStringLiteral("Stream read error"));
    EXPECT_EQ(Form->Document().Count(), 3);
    EXPECT_EQ(Form->Document().CurrentIndex(), 2);
    EXPECT_TRUE(Form->Document().Modified());
    EXPECT_EQ(Form->Document().FileName(), German.toStdString());
    EXPECT_EQ(Form->Settings().RecentFiles.Count(), 1);
}

TEST_F(MainWindowTest, RecentFilesReorderAndSurviveARestart) {
    const QString french = Dir.filePath(QStringLiteral("french.vlo"));
    WriteDocument(french, {{"le chien", "", "", "dog"}}, 0x040C, 0x0409);
    StartWith(German);
    ASSERT_TRUE(Form->OpenDocument(french));
    ASSERT_TRUE(Form->OpenDocument(German));
    Form->UpdateCommands();
    ASSERT_EQ(Form->Settings().RecentFiles.Count(), 2);
    EXPECT_EQ(Form->Settings().RecentFiles.Items(0), German.toStdString());
    EXPECT_TRUE(Form->RecentAction(0)->isVisible());
    EXPECT_TRUE(Form->RecentAction(0)->text().startsWith(QStringLiteral("&1 ")));
    EXPECT_TRUE(Form->RecentAction(1)->text().endsWith(QStringLiteral("french.vlo")));
    EXPECT_FALSE(Form->RecentAction(2)->isVisible());

    Form->RecentAction(1)->trigger();
    EXPECT_EQ(Form->Document().FileName(), french.toStdString());
    EXPECT_EQ(Form->Settings().RecentFiles.Items(0), french.toStdString());
    ASSERT_TRUE(Form->close());

    Form = std::make_unique<TMainForm>(Store);
    StartWith(German);
    const TRecentFileList& recent = Form->Settings().RecentFiles;
    ASSERT_EQ(recent.Count(), 2);
    EXPECT_EQ(recent.Items(0), German.toStdString());
    EXPECT_EQ(recent.Items(1), french.toStdString());
}

TEST_F(MainWindowTest, OptionsChangedWithF12AreKeptAndSurviveARestart) {
    const QString russian = Dir.filePath(QStringLiteral("russian.vlo"));
    WriteDocument(russian, {{"\xE4\xEE\xEC", "", "", "house"}}, 0x0419, 0x0409);
    StartWith(russian);
    bool sawOptions = false;
    OnNextModal([&](QDialog* dialog) {
        sawOptions = dynamic_cast<TOptionsDialog*>(dialog) != nullptr;
        auto* pages = dialog->findChild<QTabWidget*>(QStringLiteral("pcOptions"));
        EXPECT_EQ(pages->currentIndex(), opKeyboard);
        // A key without a character shows the foreign language's script.
        EXPECT_EQ(dialog->findChild<QComboBox*>(QStringLiteral("cbCharSet"))->currentText(),
                  QStringLiteral("Cyrillic"));
        pages->setCurrentIndex(opEditing);
        dialog->findChild<QCheckBox*>(QStringLiteral("chbAppendNewWords"))->click();
        dialog->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    });
    EXPECT_EQ(Form->Action(cmViewOptions)->shortcut(), QKeySequence(Qt::Key_F12));
    Form->Action(cmViewOptions)->trigger();
    EXPECT_TRUE(sawOptions);
    EXPECT_EQ(Errors(), 0);
    EXPECT_TRUE(Form->Settings().Options.AppendNewWords);
    EXPECT_EQ(Form->OptionsPage(), opEditing);

    // Cancel changes neither the options nor the page.
    OnNextModal([](QDialog* dialog) {
        auto* pages = dialog->findChild<QTabWidget*>(QStringLiteral("pcOptions"));
        EXPECT_EQ(pages->currentIndex(), opEditing);
        dialog->findChild<QCheckBox*>(QStringLiteral("chbAppendNewWords"))->click();
        pages->setCurrentIndex(opEvaluation);
        dialog->reject();
    });
    Form->Action(cmViewOptions)->trigger();
    EXPECT_TRUE(Form->Settings().Options.AppendNewWords);
    EXPECT_EQ(Form->OptionsPage(), opEditing);
    ASSERT_TRUE(Form->close());
    const TStoredValue& stored = Store.Keys[SettingsKeyPath]["Options"];
    ASSERT_EQ(stored.Data.size(), OptionsRecordSize);
    EXPECT_EQ(stored.Data[0], 1);

    // The page is remembered for the run only; the options are kept.
    Form = std::make_unique<TMainForm>(Store);
    StartWith(German);
    EXPECT_TRUE(Form->Settings().Options.AppendNewWords);
    EXPECT_EQ(Form->OptionsPage(), 0);
}

TEST_F(MainWindowTest, WindowBoundsSurviveARestartOnlyFromTheNormalState) {
    StartWith(German);
    const QRect normal(40, 30, 600, 420);
    Form->setGeometry(normal);
    ToolBar()->hide();
    ASSERT_TRUE(Form->close());

    Form = std::make_unique<TMainForm>(Store);
    StartWith(German);
    EXPECT_EQ(Form->geometry(), normal);
    EXPECT_TRUE(ToolBar()->isHidden());

    // Leaving maximised keeps the bounds of the last normal exit.
    Form->setGeometry(QRect(10, 10, 300, 200));
    Form->setWindowState(Qt::WindowMaximized);
    ASSERT_TRUE(Form->close());

    Form = std::make_unique<TMainForm>(Store);
    StartWith(German);
    EXPECT_EQ(Form->geometry(), normal);
}

TEST_F(MainWindowTest, SavePromptShortensTheMiddleOfALongNameAndKeepsItsQuestionMark) {
    const QString name = QStringLiteral("begin") + QString(240, u'x') + QStringLiteral("end.vlo");
    const QString path = Dir.filePath(name);
    ASSERT_TRUE(QFile::copy(German, path));
    StartWith(path);
    Form->Document().MoveCurrent(2);
    Prompts.QueueButton(mbCancel);
    Form->Action(cmFileNew)->trigger();
    ASSERT_EQ(Prompts.Prompts().size(), 1u);
    const QString text = Prompts.Last().Text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("Save changes to begin"))) << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("end.vlo?"))) << text.toStdString();
    EXPECT_LT(text.size(), name.size());
}

TEST_F(MainWindowTest, AnotherDocumentStartsScrolledToTheLeftAndTop) {
    const QString wide = Dir.filePath(QStringLiteral("wide.vlo"));
    {
        TVocabFile document;
        document.ForeignLangID = 0x0407;
        document.NativeLangID = 0x0409;
        for (int i = 0; i <= 60; ++i) {
            document.PendingItem().Word = i < 60 ? "die Eisenbahn" : std::string(200, 'w');
            document.PendingItem().Translation = "railway";
            document.InsertPending(ipAtEnd);
        }
        document.SaveToFile(wide.toStdString());
    }
    StartWith(wide);
    QScrollBar* across = Form->Grid()->horizontalScrollBar();
    QScrollBar* down = Form->Grid()->verticalScrollBar();
    ASSERT_GT(across->maximum(), 0);
    ASSERT_GT(down->maximum(), 0);
    across->setValue(across->maximum());
    Form->Grid()->SelectRow(60);
    ASSERT_GT(down->value(), 0);

    ASSERT_TRUE(Form->OpenDocument(wide));
    Form->SetViewMode(vmEdit);
    EXPECT_EQ(across->value(), 0);
    EXPECT_EQ(down->value(), 0);

    // Another trainer's list opens the same way.
    const QString list = Dir.filePath(QStringLiteral("list.kvtml"));
    QFile file(list);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<kvtml version=\"2.0\"><identifiers>"
               "<identifier id=\"0\"><locale>de</locale></identifier>"
               "<identifier id=\"1\"><locale>en</locale></identifier></identifiers><entries>"
               "<entry><translation id=\"0\"><text>" +
               QByteArray(200, 'w') +
               "</text></translation>"
               "<translation id=\"1\"><text>railway</text></translation></entry></entries>"
               "</kvtml>");
    file.close();
    ASSERT_GT(across->maximum(), 0);
    across->setValue(across->maximum());
    ASSERT_TRUE(Form->OpenDocument(list));
    Form->SetViewMode(vmEdit);
    ASSERT_GT(across->maximum(), 0);
    EXPECT_EQ(across->value(), 0);
}

TEST_F(MainWindowTest, AStoredPositionOffEveryScreenOpensTheWindowOnScreen) {
    StartWith(German);
    Form->setGeometry(QRect(5000, 5000, 600, 420));
    ASSERT_TRUE(Form->close());

    Form = std::make_unique<TMainForm>(Store);
    StartWith(German);
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(work.contains(Form->frameGeometry())) << Form->frameGeometry().x();
    EXPECT_EQ(Form->size(), QSize(600, 420));
}

TEST_F(MainWindowTest, CommandStatesFollowTheViewModeAndTheCurrentItem) {
    StartWith(German);
    EXPECT_FALSE(Enabled(cmEditMoveUp));
    EXPECT_TRUE(Enabled(cmEditMoveDown));
    EXPECT_FALSE(Enabled(cmEditUndo));
    EXPECT_EQ(Form->Action(cmEditUndo)->text(), QStringLiteral("&Undo"));
    EXPECT_FALSE(Enabled(cmEditFindNext));
    EXPECT_FALSE(Enabled(cmEditPaste));
    EXPECT_EQ(Form->Action(cmTestStartTesting)->text(), QStringLiteral("Start &Testing"));
    EXPECT_EQ(Form->Action(cmTestStartTesting)->toolTip(),
              QStringLiteral("Start Testing - Ctrl+T"));

    Form->Grid()->SelectRow(2);
    Form->UpdateCommands();
    EXPECT_TRUE(Enabled(cmEditMoveUp));
    EXPECT_FALSE(Enabled(cmEditMoveDown));
    EXPECT_EQ(Panel(2), QStringLiteral("3"));

    Form->SetCutIndex(1);
    Form->UpdateCommands();
    EXPECT_TRUE(Enabled(cmEditPaste));

    Form->SetViewMode(vmTest);
    Form->UpdateCommands();
    EXPECT_EQ(Form->CutIndex(), -1);
    for (const TCommandInfo& info : CommandTable()) {
        if (QString::fromLatin1(info.Name).startsWith(QStringLiteral("miEdit")) ||
            info.Id == cmFileImport) {
            EXPECT_FALSE(Enabled(info.Id)) << info.Name;
        }
    }
    for (TCommandId id : {cmFileSave, cmFileSaveAs, cmFilePrint, cmFileProperties, cmTestPassive,
                          cmTestActive, cmTestMultipleChoice, cmTestStatistics})
        EXPECT_TRUE(Enabled(id)) << Command(id).Name;
    QAction* testing = Form->Action(cmTestStartTesting);
    EXPECT_EQ(testing->text(), QStringLiteral("Stop &Testing"));
    EXPECT_TRUE(testing->isChecked());
    EXPECT_EQ(testing->toolTip(), QStringLiteral("Stop Testing - Ctrl+T"));
    EXPECT_TRUE(Form->findChild<QToolButton*>(QStringLiteral("tbStartTesting"))->isChecked());
    EXPECT_EQ(Panel(2), QStringLiteral("0%"));
    EXPECT_FALSE(Enabled(cmTestHint));
}

TEST_F(MainWindowTest, FailingCommandShowsTheDocumentsMessage) {
    StartWith(German);
    // Undo with nothing to undo is refused by the document; the window goes on.
    Form->RunCommand([this] { Form->miEditUndoClick(); });
    EXPECT_EQ(Prompts.Last().Text, QStringLiteral("Invalid procedure call."));
    EXPECT_EQ(Form->Document().Count(), 3);
}

TEST_F(MainWindowTest, IdlePassRecomputesStatesWhenTheQueueEmpties) {
    StartWith(German);
    Form->show();
    Form->Document().MoveCurrent(1);
    Form->RefreshGrid();
    QEventLoop loop;
    QTimer::singleShot(50, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(Panel(4), QStringLiteral("Modified"));
    EXPECT_EQ(Form->Action(cmEditUndo)->text(), QStringLiteral("&Undo Move"));
    EXPECT_TRUE(Enabled(cmEditUndo));
}

TEST_F(MainWindowTest, EscapeDropsTheCutMarkAndEnterRunsEdit) {
    StartWith(German);
    Form->show();
    Form->Grid()->setFocus();
    Form->SetCutIndex(0);
    QTest::keyClick(Form->Grid(), Qt::Key_Escape);
    EXPECT_EQ(Form->CutIndex(), -1);
    Form->UpdateCommands();
    QString opened;
    OnNextModal([&opened](QDialog* dialog) {
        opened = dialog->windowTitle();
        dialog->reject();
    });
    QTest::keyClick(Form->Grid(), Qt::Key_Return);
    EXPECT_EQ(opened, QStringLiteral("Edit"));
    EXPECT_TRUE(Prompts.Prompts().empty());
}

TEST_F(MainWindowTest, MenuBarEnteredWithAltKeepsEnterAndEscape) {
    StartWith(German);
    Form->show();
    Form->SetCutIndex(1);
    QApplication::setActiveWindow(Form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    Form->menuBar()->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), Form->menuBar());
    QTest::keyClick(Form->menuBar(), Qt::Key_Return);
    QTest::keyClick(Form->menuBar(), Qt::Key_Escape);
    EXPECT_TRUE(Prompts.Prompts().empty()); // neither Paste nor Edit ran
    EXPECT_EQ(Form->CutIndex(), 1);
}

TEST_F(MainWindowTest, ClosingAModifiedDocumentAsksAndCancelKeepsTheWindow) {
    StartWith(German);
    Form->show();
    Form->Document().MoveCurrent(1);
    Prompts.QueueButton(mbCancel);
    EXPECT_FALSE(Form->close());
    EXPECT_TRUE(Form->isVisible());
    EXPECT_TRUE(Store.Keys.empty());
    Prompts.QueueButton(mbNo);
    EXPECT_TRUE(Form->close());
    EXPECT_FALSE(Store.Keys.empty());
}

TEST_F(MainWindowTest, FailedSaveAtCloseKeepsTheWindowAndTheModifiedDocument) {
    const QString folder = Dir.filePath(QStringLiteral("lessons"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString path = folder + QStringLiteral("/week1.vlo");
    WriteDocument(path, {{"eins", "", "", "one"}, {"zwei", "", "", "two"}});
    StartWith(path);
    Form->show();
    Form->Document().MoveCurrent(1);
    ASSERT_TRUE(QDir(folder).removeRecursively()); // the save can only fail now

    Prompts.QueueButton(mbYes);
    EXPECT_FALSE(Form->close());
    EXPECT_TRUE(Form->isVisible());
    ASSERT_EQ(Prompts.Prompts().size(), 2u);
    EXPECT_EQ(Prompts.Last().Icon, TMsgIcon::Error);
    EXPECT_TRUE(Prompts.Last().Text.contains(path)) << Prompts.Last().Text.toStdString();
    EXPECT_TRUE(Form->Document().Modified());
    EXPECT_EQ(Form->Document().FileName(), path.toStdString());
    EXPECT_TRUE(Store.Keys.empty());
}

TEST_F(MainWindowTest, HelpTopicsOpensTheContentsPage) {
    StartWith(German);
    MakeHelpPages({0});
    Form->Action(cmHelpContents)->trigger();
    EXPECT_EQ(Errors(), 0);
    ASSERT_EQ(HelpUrls.size(), 1u);
    EXPECT_TRUE(HelpUrls[0].toString().contains(HelpPage(0).section(u'#', 0, 0)));
}

TEST_F(MainWindowTest, F1OnAHighlightedMenuItemOpensThatCommandsTopic) {
    StartWith(German);
    MakeHelpPages({2003});
    Form->show();
    QMenu* file = Form->findChild<QMenu*>(QStringLiteral("miFile"));
    ASSERT_NE(file, nullptr);
    file->popup(Form->mapToGlobal(QPoint(0, 0)));
    file->setActiveAction(Form->Action(cmFileSave));
    QTest::keyClick(file, Qt::Key_F1);
    EXPECT_EQ(Errors(), 0);
    ASSERT_EQ(HelpUrls.size(), 1u);
    EXPECT_TRUE(HelpUrls[0].toString().endsWith(HelpPage(2003)))
        << HelpUrls[0].toString().toStdString();
    EXPECT_FALSE(file->isVisible());
}

// The window installs composition for every dialog of the program: the
// Properties dialog's description gets the composed letters.
TEST_F(MainWindowTest, CompositionWorksInTheDialogsOfTheProgram) {
    StartWith(German);
    OnNextModal([](QDialog* dialog) {
        auto* description = dialog->findChild<QLineEdit*>(QStringLiteral("edtDescription"));
        dialog->activateWindow();
        description->setFocus();
        description->clear();
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == description; }));
        QTest::keyClick(description, '\'', Qt::ControlModifier);
        QTest::keyClick(description, 'e');
        QTest::keyClick(description, '&', Qt::ControlModifier);
        QTest::keyClick(description, 'O', Qt::ShiftModifier);
        dialog->accept();
    });
    Form->Action(cmFileProperties)->trigger();
    EXPECT_EQ(Form->Document().GetProperty(piDescription), "\xE9\x8C");
}

} // namespace
} // namespace vocalore
