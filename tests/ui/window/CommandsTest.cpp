#include "ui/window/Commands.h"
#include "ui/window/MainWindow.h"

#include <gtest/gtest.h>

#include <set>

namespace vocalore {
namespace {

TEST(Commands, ToolHintsJoinCaptionShortcutAndHint) {
    struct {
        TCommandId Id;
        const char* Expected;
    } rows[] = {
        {cmFileOpen, "Open - Ctrl+O|Opens an existing file"},
        {cmFileSaveAs, "Save As|Saves the current file with a different name"},
        {cmEditAdd, "Add - Ins|Adds a new item"},
        {cmEditDelete, "Delete - Del|Deletes the selected item"},
        {cmEditEdit, "Edit - F2|Modifies the selected item"},
        {cmViewOptions, "Options - F12|Changes program settings"},
        {cmFileExit, "Exit - Alt+F4|Closes this program"},
        {cmTestStatistics, "Statistics - F9|Displays testing statistics for the current file"},
    };
    for (const auto& row : rows) {
        const TCommandInfo& info = Command(row.Id);
        EXPECT_EQ(MenuHint(QString::fromLatin1(info.Caption), info.Shortcut,
                           QString::fromLatin1(info.Hint)),
                  QString::fromLatin1(row.Expected))
            << info.Name;
    }
    EXPECT_EQ(MenuHint(QStringLiteral("Stop &Testing"), Command(cmTestStartTesting).Shortcut,
                       QStringLiteral("x")),
              QStringLiteral("Stop Testing - Ctrl+T|x"));
}

TEST(Commands, ShortcutTextPutsModifiersInFixedOrder) {
    const int ctrlShiftAltA =
        QKeyCombination(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier, Qt::Key_A)
            .toCombined();
    EXPECT_EQ(ShortCutText(ctrlShiftAltA), QStringLiteral("Shift+Ctrl+Alt+A"));
    EXPECT_EQ(ShortCutText(QKeyCombination(Qt::ShiftModifier, Qt::Key_F2).toCombined()),
              QStringLiteral("Shift+F2"));
    EXPECT_EQ(ShortCutText(0), QString());
}

TEST(Commands, TableHasEveryCommandOnceWithItsToolButton) {
    std::set<std::string> names;
    int buttons = 0;
    for (const TCommandInfo& info : CommandTable()) {
        EXPECT_TRUE(names.insert(info.Name).second) << info.Name;
        if (info.ToolButton) {
            ++buttons;
            EXPECT_GE(info.Image, 0) << info.Name;
        }
    }
    EXPECT_EQ(names.size(), 36u);
    EXPECT_EQ(buttons, 20);
    int separators = 0;
    for (TCommandId id : ToolBarLayout())
        separators += id == cmCount;
    EXPECT_EQ(separators, 8);
    EXPECT_EQ(static_cast<int>(ToolBarLayout().size()) - separators, 20);
}

TEST(Commands, CommandLineRecognisesThePrintSwitchInAnyCase) {
    struct {
        QStringList Arguments;
        bool Print;
        const char* File;
    } rows[] = {
        {{}, false, ""},
        {{"a.vlo"}, false, "a.vlo"},
        {{"a.vlo", "b.vlo"}, false, "a.vlo"},
        {{"/p"}, true, "/p"},
        {{"/P", "a.vlo"}, true, "a.vlo"},
        {{"/p", "a.vlo", "b.vlo"}, true, "a.vlo"},
        {{"-p", "a.vlo"}, false, "-p"},
    };
    for (const auto& row : rows) {
        bool print = !row.Print;
        QString file = QStringLiteral("stale");
        TMainForm::ParseCommandLine(row.Arguments, print, file);
        EXPECT_EQ(print, row.Print) << row.Arguments.join(u' ').toStdString();
        EXPECT_EQ(file, QString::fromLatin1(row.File)) << row.Arguments.join(u' ').toStdString();
    }
}

} // namespace
} // namespace vocalore
