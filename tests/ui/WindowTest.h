#pragma once
// The frame most window command tests start from: a main window on a
// document of their own in a folder of their own, settings in memory and
// prompts answered from a script.

#include "UiTestSupport.h"

#include "ui/common/PromptService.h"
#include "ui/window/MainWindow.h"

#include "settings/SettingsStore.h"

#include <QAction>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

namespace vocalore::test {

class TWindowTest : public ::testing::Test {
protected:
    // The window on `items`, saved as german.vlo.
    void OpenWindowOn(std::initializer_list<TItemTexts> items) {
        App();
        ASSERT_TRUE(Dir.isValid());
        German = Dir.filePath(QStringLiteral("german.vlo"));
        WriteDocument(German, items);
        Form = std::make_unique<TMainForm>(Store);
        ASSERT_TRUE(Form->FormCreate({German}));
        Form->UpdateCommands();
    }

    QString File(const char* name) const { return Dir.filePath(QString::fromLatin1(name)); }
    void Trigger(TCommandId id) {
        Form->Action(id)->trigger();
        Form->UpdateCommands();
    }
    // The messages shown so far, all of them or those with an error icon.
    int Messages() const { return CountMessages(false); }
    int Errors() const { return CountMessages(true); }
    // The text of the last error message, empty when there was none.
    QString LastError() const {
        for (auto it = Prompts.Prompts().rbegin(); it != Prompts.Prompts().rend(); ++it)
            if (it->Kind == TRecordedPrompt::pkMessage && it->Icon == TMsgIcon::Error)
                return it->Text;
        return {};
    }

    QTemporaryDir Dir;
    QString German;
    TMemorySettingsStore Store;
    TFakePromptService Prompts{true};
    std::unique_ptr<TMainForm> Form;

private:
    int CountMessages(bool errorsOnly) const {
        int n = 0;
        for (const TRecordedPrompt& p : Prompts.Prompts())
            n += p.Kind == TRecordedPrompt::pkMessage && (!errorsOnly || p.Icon == TMsgIcon::Error);
        return n;
    }
};

} // namespace vocalore::test
