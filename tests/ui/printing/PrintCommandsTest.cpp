// Print and Page Setup from the window. The print service is replaced: the
// current printer is a PDF file, the print dialog and the job are recorded.

#include "UiTestSupport.h"

#include "ui/common/DialogHelpers.h"
#include "ui/common/PromptService.h"
#include "ui/printing/PageSetupDialog.h"
#include "ui/printing/PrintCommands.h"
#include "ui/window/KeyFilter.h"
#include "ui/window/MainWindow.h"

#include "settings/SettingsStore.h"
#include "transfer/PrintLayout.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace vocalore {
namespace {

using test::OnNextModal;
using test::WriteDocument;

struct TJobSeen {
    std::string Title;
    TPageSetup Setup;
    bool WindowEnabled = true;
    bool KeysDiscarded = false;
    bool WaitCursor = false;
    int32_t Items = 0;
};

class PrintCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::App();
        ASSERT_TRUE(Dir.isValid());
        German = Dir.filePath(QStringLiteral("german.vlo"));
        WriteDocument(German, {{"der Hund", "noun", "", "dog"}, {"die Katze", "noun", "", "cat"}});
        Form = std::make_unique<TMainForm>(Store);
        InstallService(*Form);
    }

    void InstallService(TMainForm& form) {
        TPrintService& service = form.PrintCommands().Service();
        service.CurrentPrinter = [this](QPrinter& printer, QStringList& printers) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(Dir.filePath(QStringLiteral("out.pdf")));
            printers = Queues;
            return !HasPrinter ? ppNone : Queues.size() > 1 ? ppNoDefault : ppCurrent;
        };
        service.PrintDialog = [this](QPrinter&, QWidget* owner) {
            ++Dialogs;
            DialogOwner = owner;
            Switches.push_back(-1); // the dialog is open
            return DialogAnswer;
        };
        service.Job = [this, &form](const TVocabFile& document, QPrinter&, const TPageSetup& setup,
                                    const std::string& title) {
            TJobSeen seen;
            seen.Title = title;
            seen.Setup = setup;
            seen.WindowEnabled = form.isEnabled();
            seen.KeysDiscarded = form.KeyFilter().DiscardKeys();
            seen.WaitCursor = QApplication::overrideCursor() &&
                              QApplication::overrideCursor()->shape() == Qt::WaitCursor;
            seen.Items = document.Count();
            Jobs.push_back(seen);
            if (!JobError.empty())
                throw EPrintError(JobError);
        };
    }

    void Start() {
        ASSERT_TRUE(Form->FormCreate({German}));
        Form->UpdateCommands();
    }

    QTemporaryDir Dir;
    QString German;
    TMemorySettingsStore Store;
    TFakePromptService Prompts{true};
    std::unique_ptr<TMainForm> Form;
    bool HasPrinter = true;
    QStringList Queues; // more than one: none of them is the default
    bool DialogAnswer = true;
    int Dialogs = 0;
    QWidget* DialogOwner = nullptr;
    std::string JobError;
    std::vector<TJobSeen> Jobs;
    std::vector<int> Switches; // 1 to the default layout, 0 back, -1 the print dialog
};

TEST_F(PrintCommandsTest, MenuShowsThePrintDialogAndTheToolButtonPrintsAtOnce) {
    Start();
    Form->Settings().PageSetup.Columns = 3;
    SetKeyboardSwitch([this](bool toDefault) { Switches.push_back(toDefault ? 1 : 0); });
    Form->Action(cmFilePrint)->trigger();
    SetKeyboardSwitch(nullptr);
    // The default layout while the print dialog is open, the field's after it.
    EXPECT_EQ(Switches, (std::vector<int>{1, -1, 0}));
    EXPECT_EQ(Dialogs, 1);
    EXPECT_EQ(DialogOwner, Form.get());
    ASSERT_EQ(Jobs.size(), 1u);
    EXPECT_EQ(Jobs[0].Title, "Vocalore - german.vlo");
    EXPECT_EQ(Jobs[0].Setup.Columns, 3);
    EXPECT_EQ(Jobs[0].Items, 2);

    // The tool button: no dialog.
    auto* button = Form->ToolBar()->findChild<QToolButton*>(QStringLiteral("tbPrint"));
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isEnabled());
    button->click();
    EXPECT_EQ(Dialogs, 1);
    EXPECT_EQ(Jobs.size(), 2u);

    // Cancel in the dialog prints nothing.
    DialogAnswer = false;
    Form->Action(cmFilePrint)->trigger();
    EXPECT_EQ(Dialogs, 2);
    EXPECT_EQ(Jobs.size(), 2u);
    EXPECT_TRUE(Prompts.Prompts().empty());
}

TEST_F(PrintCommandsTest, WindowIsDisabledAndKeysDiscardedWhilePrintingAndBothComeBack) {
    Start();
    Form->Action(cmFilePrint)->trigger();
    ASSERT_EQ(Jobs.size(), 1u);
    EXPECT_FALSE(Jobs[0].WindowEnabled);
    EXPECT_TRUE(Jobs[0].KeysDiscarded);
    EXPECT_TRUE(Jobs[0].WaitCursor);
    EXPECT_TRUE(Form->isEnabled());
    EXPECT_FALSE(Form->KeyFilter().DiscardKeys());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // A failing job: restored first, then the message.
    JobError = MarginsExceedPaper;
    Form->Action(cmFilePrint)->trigger();
    EXPECT_TRUE(Form->isEnabled());
    EXPECT_FALSE(Form->KeyFilter().DiscardKeys());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    ASSERT_EQ(Prompts.Prompts().size(), 1u);
    EXPECT_EQ(Prompts.Last().Text, QStringLiteral("Margins exceed paper size."));
    EXPECT_EQ(Prompts.Last().Icon, TMsgIcon::Error);
}

TEST_F(PrintCommandsTest, WithoutPrinterNothingButTheMessage) {
    Start();
    HasPrinter = false;
    for (TCommandId id : {cmFilePrint, cmFilePrint}) {
        Prompts.Clear();
        Form->Action(id)->trigger();
        ASSERT_EQ(Prompts.Prompts().size(), 1u);
        EXPECT_EQ(Prompts.Last().Text, QStringLiteral("No printer installed."));
    }
    Form->ToolBar()->findChild<QToolButton*>(QStringLiteral("tbPrint"))->click();
    EXPECT_EQ(Prompts.Last().Text, QStringLiteral("No printer installed."));
    EXPECT_EQ(Dialogs, 0);
    EXPECT_TRUE(Jobs.empty());
}

TEST_F(PrintCommandsTest, PrintSwitchPrintsWithoutWindowOrDialogAndReportsTheOutcome) {
    EXPECT_FALSE(Form->FormCreate({QStringLiteral("/P"), German}));
    EXPECT_FALSE(Form->isVisible());
    EXPECT_EQ(Dialogs, 0);
    ASSERT_EQ(Jobs.size(), 1u);
    EXPECT_EQ(Jobs[0].Title, "Vocalore - german.vlo");
    EXPECT_EQ(Form->ExitCode(), 0);
    EXPECT_TRUE(Prompts.Prompts().empty());

    // A failed job and a missing printer end with the message and a failure.
    for (bool printer : {true, false}) {
        TMainForm form(Store);
        InstallService(form);
        HasPrinter = printer;
        JobError = "Cannot start printing";
        Prompts.Clear();
        EXPECT_FALSE(form.FormCreate({QStringLiteral("/p"), German}));
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(form.ExitCode(), 1);
        ASSERT_EQ(Prompts.Prompts().size(), 1u);
        EXPECT_EQ(Prompts.Last().Text, printer ? QStringLiteral("Cannot start printing")
                                               : QStringLiteral("No printer installed."));
    }
    // So does a document that can't be opened.
    TMainForm form(Store);
    InstallService(form);
    EXPECT_FALSE(form.FormCreate({QStringLiteral("/p"), Dir.filePath(QStringLiteral("none.vlo"))}));
    EXPECT_EQ(form.ExitCode(), 1);
}

// Several queues and none the default: the program never picks one itself.
TEST_F(PrintCommandsTest, WithoutADefaultPrinterTheUserChooses) {
    Queues = {QStringLiteral("alice-laser"), QStringLiteral("office")};
    Start();
    // The tool button asks, as the menu does.
    Form->ToolBar()->findChild<QToolButton*>(QStringLiteral("tbPrint"))->click();
    EXPECT_EQ(Dialogs, 1);
    EXPECT_EQ(Jobs.size(), 1u);
    DialogAnswer = false;
    Form->ToolBar()->findChild<QToolButton*>(QStringLiteral("tbPrint"))->click();
    EXPECT_EQ(Dialogs, 2);
    EXPECT_EQ(Jobs.size(), 1u);
    Form->Action(cmFilePrint)->trigger();
    EXPECT_EQ(Dialogs, 3);
    EXPECT_TRUE(Prompts.Prompts().empty());

    // The command line names the queues and prints nothing.
    TMainForm form(Store);
    InstallService(form);
    EXPECT_FALSE(form.FormCreate({QStringLiteral("/p"), German}));
    EXPECT_EQ(form.ExitCode(), 1);
    EXPECT_EQ(Dialogs, 3);
    EXPECT_EQ(Jobs.size(), 1u);
    ASSERT_EQ(Prompts.Prompts().size(), 1u);
    EXPECT_EQ(Prompts.Last().Text, NoDefaultPrinterMessage(Queues));
    EXPECT_TRUE(Prompts.Last().Text.contains(QStringLiteral("alice-laser, office")));
    EXPECT_TRUE(Prompts.Last().Text.startsWith(QStringLiteral("No default printer is set")));

    // The pick itself: the default, else the only queue, else none.
    QString chosen;
    EXPECT_EQ(PickPrinter(QStringLiteral("office"), Queues, chosen), ppCurrent);
    EXPECT_EQ(chosen, QStringLiteral("office"));
    EXPECT_EQ(PickPrinter({}, {QStringLiteral("only")}, chosen), ppCurrent);
    EXPECT_EQ(chosen, QStringLiteral("only"));
    chosen.clear();
    EXPECT_EQ(PickPrinter({}, Queues, chosen), ppNoDefault);
    EXPECT_EQ(PickPrinter({}, {}, chosen), ppNone);
    EXPECT_TRUE(chosen.isEmpty());
}

TEST_F(PrintCommandsTest, PageSetupIsStoredOnOKOnlyAndKeptBetweenRuns) {
    Start();
    EXPECT_TRUE(Form->Action(cmFilePageSetup)->isEnabled());
    const TPageSetup before = Form->Settings().PageSetup;
    OnNextModal([](QDialog* dialog) {
        EXPECT_NE(dynamic_cast<TPageSetupDialog*>(dialog), nullptr);
        dialog->findChild<QComboBox*>(QStringLiteral("cbFontSize"))
            ->setEditText(QStringLiteral("16"));
        dialog->reject();
    });
    Form->Action(cmFilePageSetup)->trigger();
    EXPECT_EQ(Form->Settings().PageSetup, before);

    OnNextModal([](QDialog* dialog) {
        dialog->findChild<QComboBox*>(QStringLiteral("cbFontSize"))
            ->setEditText(QStringLiteral("16"));
        dialog->findChild<QRadioButton*>(QStringLiteral("rbThreeCols"))->click();
        dialog->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    });
    Form->Action(cmFilePageSetup)->trigger();
    EXPECT_EQ(Form->Settings().PageSetup.FontSize, 16);
    EXPECT_EQ(Form->Settings().PageSetup.Columns, 3);
    EXPECT_EQ(Form->Settings().PageSetup.Margins, before.Margins);

    // The next run starts with it and prints with it.
    Form->close();
    Form = std::make_unique<TMainForm>(Store);
    InstallService(*Form);
    Start();
    EXPECT_EQ(Form->Settings().PageSetup.FontSize, 16);
    Form->ToolBar()->findChild<QToolButton*>(QStringLiteral("tbPrint"))->click();
    ASSERT_EQ(Jobs.size(), 1u);
    EXPECT_EQ(Jobs[0].Setup.Columns, 3);
}

} // namespace
} // namespace vocalore
