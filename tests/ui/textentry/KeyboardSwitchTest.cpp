// Keyboard switching: the layout follows the focused field's language, the
// default layout shows around message boxes and file dialogs, nothing moves
// with the option off; and on a real X server the XKB group follows the focus.

#include "DialogTestSupport.h"

#include "ui/common/DialogHelpers.h"
#include "ui/common/PromptService.h"
#include "ui/textentry/KeyboardSwitcher.h"
#include "ui/textentry/SymbolEdit.h"
#include "ui/window/MainWindow.h"

#include "settings/SettingsStore.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <vector>

namespace vocalore {
namespace {

constexpr uint16_t German = 0x0407, EnglishUS = 0x0409, EnglishUK = 0x0809;

// Lets the event loop wait for events, so that the idle pass runs.
void IdleMoment() {
    QEventLoop loop;
    QTimer::singleShot(30, &loop, &QEventLoop::quit);
    loop.exec();
}

// Layouts as configured; records every activation.
class TFakeKeyboard final : public TKeyboardBackend {
public:
    struct TState {
        std::vector<TXkbLayout> Layouts;
        int Active = 0;
        std::vector<int> Activations;
    };
    explicit TFakeKeyboard(TState& state) : FState(state) {}
    std::vector<TXkbLayout> Layouts() override { return FState.Layouts; }
    int ActiveLayout() override { return FState.Active; }
    void ActivateLayout(int index) override {
        FState.Active = index;
        FState.Activations.push_back(index);
    }

private:
    TState& FState;
};

class TTaggedDialog : public QDialog {
public:
    TTaggedDialog() {
        auto* layout = new QVBoxLayout(this);
        const int tags[3] = {TagForeign, TagNative, 0};
        for (int i = 0; i < 3; ++i) {
            Edits[i] = new TSymbolEdit(this);
            Edits[i]->SetTag(tags[i]);
            layout->addWidget(Edits[i]);
        }
    }
    TSymbolEdit* Edits[3] = {};
};

class KeyboardSwitchTest : public ::testing::Test {
protected:
    void SetUp() override {
        State.Layouts = {{"us", ""}, {"de", "nodeadkeys"}, {"gb", ""}};
        Dialog.show();
        Dialog.activateWindow();
    }
    void TearDown() override { SetKeyboardSwitch({}); }
    std::unique_ptr<TKeyboardSwitcher> MakeSwitcher(uint16_t native = EnglishUK) {
        auto switcher = std::make_unique<TKeyboardSwitcher>(
            std::make_unique<TFakeKeyboard>(State), [this] { return Enabled; },
            [native](int tag) { return tag == TagForeign ? German : native; });
        SetKeyboardSwitch([s = switcher.get()](bool toDefault) { s->SwitchKeyboard(toDefault); });
        return switcher;
    }
    void Focus(int i) {
        Dialog.Edits[i]->setFocus();
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return QApplication::focusWidget() == Dialog.Edits[i]; }));
    }

    TFakeKeyboard::TState State;
    bool Enabled = true;
    TTaggedDialog Dialog;
};

TEST_F(KeyboardSwitchTest, LayoutFollowsTheFocusedFieldsLanguage) {
    State.Active = 2; // the layout at start-up is the default
    auto switcher = MakeSwitcher();
    EXPECT_EQ(switcher->DefaultLayout(), 2);
    Focus(0);
    switcher->SwitchKeyboard(false);
    EXPECT_EQ(State.Active, 1) << "German";
    Focus(1);
    switcher->SwitchKeyboard(false);
    EXPECT_EQ(State.Active, 2) << "English (United Kingdom) exactly, not the US layout before it";
    Focus(0);
    switcher->SwitchKeyboard(false);
    switcher->SwitchKeyboard(true);
    EXPECT_EQ(State.Active, 2);
    Focus(0);
    switcher->SwitchKeyboard(false);
    Focus(2);
    switcher->SwitchKeyboard(false);
    EXPECT_EQ(State.Active, 2) << "a field of neither language gets the default";
    const size_t activations = State.Activations.size();
    switcher->SwitchKeyboard(false);
    EXPECT_EQ(State.Activations.size(), activations) << "the active layout is not set again";
}

// A language without a layout of exactly its variant gets the default layout.
TEST_F(KeyboardSwitchTest, OnlyTheExactVariantCounts) {
    State.Layouts = {{"gb", ""}, {"de", ""}, {"ch", ""}};
    State.Active = 1;
    auto switcher = MakeSwitcher(EnglishUS);
    Focus(1);
    State.Active = 2;
    switcher->SwitchKeyboard(false);
    EXPECT_EQ(State.Active, 1);
}

TEST_F(KeyboardSwitchTest, NothingChangesWithTheOptionOff) {
    Enabled = false;
    auto switcher = MakeSwitcher();
    TFakePromptService prompts(true);
    Focus(0);
    switcher->SwitchKeyboard(false);
    switcher->SwitchKeyboard(true);
    ShowMessageBox(QStringLiteral("Note"));
    EXPECT_TRUE(State.Activations.empty());
}

// Message boxes and file dialogs show the default layout; afterwards the
// focused field's layout is back.
TEST_F(KeyboardSwitchTest, DefaultLayoutAroundMessageBoxesAndFileDialogs) {
    auto switcher = MakeSwitcher();
    Focus(0);
    switcher->SwitchKeyboard(false);
    ASSERT_EQ(State.Active, 1);

    class TRecordingPrompts final : public TPromptService {
    public:
        explicit TRecordingPrompts(TFakeKeyboard::TState& state) : FState(state) {}
        TMsgButton MessageBox(const TMessageRequest&) override {
            Seen.push_back(FState.Active);
            return mbOK;
        }
        TFileDialogResult OpenFile(const TFileDialogRequest&) override { return {}; }
        TFileDialogResult SaveFile(const TFileDialogRequest&) override { return {}; }
        std::vector<int> Seen;

    private:
        TFakeKeyboard::TState& FState;
    } prompts(State);
    TPromptService::Install(&prompts);
    ShowMessageBox(QStringLiteral("Saved."));
    TPromptService::Install(nullptr);
    EXPECT_EQ(prompts.Seen, std::vector<int>{0});
    EXPECT_EQ(State.Active, 1);

    for (bool save : {false, true}) {
        int seen = -1;
        test::OnNextModal([&](QDialog* dialog) {
            seen = State.Active;
            dialog->reject();
        });
        TQtPromptService service;
        TFileDialogRequest request;
        request.Parent = &Dialog;
        save ? service.SaveFile(request) : service.OpenFile(request);
        EXPECT_EQ(seen, 0) << "save " << save;
        // Back in the field, the next idle pass brings its layout back.
        Dialog.activateWindow();
        Focus(0);
        switcher->SwitchKeyboard(false);
        EXPECT_EQ(State.Active, 1) << "save " << save;
    }
}

// The main window switches on its idle pass: the layout follows the focus
// from field to field of the Edit dialog.
TEST_F(KeyboardSwitchTest, MainWindowSwitchesWhileTheUserMovesThroughAForm) {
    SetKeyboardBackendFactory([this] { return std::make_unique<TFakeKeyboard>(State); });
    Dialog.hide();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("words.vlo"));
    test::WriteDocument(path, {{"der Hund", "noun", "", "dog"}}, German, EnglishUK);
    TMemorySettingsStore store;
    {
        TMainForm form(store);
        ASSERT_TRUE(form.FormCreate({path}));
        std::vector<int> seen;
        test::OnNextModal([&](QDialog* dialog) {
            dialog->activateWindow();
            for (const char* name : {"edtForeign", "edtNative", "edtForeign"}) {
                auto* field = dialog->findChild<TSymbolEdit*>(QString::fromLatin1(name));
                field->setFocus();
                EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == field; }));
                IdleMoment();
                seen.push_back(State.Active);
            }
            {
                // A message box opening while the field still has the focus:
                // the idle passes until it takes the focus keep the default.
                const TDefaultKeyboardScope box;
                IdleMoment();
                seen.push_back(State.Active);
            }
            seen.push_back(State.Active);
            dialog->reject();
        });
        form.Action(cmEditEdit)->trigger();
        EXPECT_EQ(seen, (std::vector<int>{1, 2, 1, 0, 1}));
    }
    SetKeyboardBackendFactory({});
}

// --- a real X server that takes several layouts ---------------------------

constexpr const char* XvncDisplay = ":31";

// Xvnc on display :31 with the layouts us and de, started here when it is
// not running yet and stopped again at the end.
class XkbKeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        const QString xvnc = QStandardPaths::findExecutable(QStringLiteral("Xvnc"));
        const QString setxkbmap = QStandardPaths::findExecutable(QStringLiteral("setxkbmap"));
        if (xvnc.isEmpty() || setxkbmap.isEmpty())
            GTEST_SKIP() << "needs Xvnc (tigervnc-standalone-server) and setxkbmap";
        if (!QFile::exists(QStringLiteral("/tmp/.X11-unix/X31"))) {
            Server.start(xvnc, {QString::fromLatin1(XvncDisplay), QStringLiteral("-SecurityTypes"),
                                QStringLiteral("None"), QStringLiteral("-localhost"),
                                QStringLiteral("-rfbport"), QStringLiteral("-1"),
                                QStringLiteral("-geometry"), QStringLiteral("640x480")});
            if (!Server.waitForStarted(5000) ||
                !QTest::qWaitFor([] { return QFile::exists(QStringLiteral("/tmp/.X11-unix/X31")); },
                                 10000))
                GTEST_SKIP() << "Xvnc did not start on display :31";
        }
        QProcess layouts;
        layouts.start(setxkbmap, {QStringLiteral("-display"), QString::fromLatin1(XvncDisplay),
                                  QStringLiteral("-layout"), QStringLiteral("us,de")});
        if (!layouts.waitForFinished(10000) || layouts.exitCode() != 0)
            GTEST_SKIP() << "setxkbmap could not configure two layouts on :31";
    }
    void TearDown() override {
        if (Server.state() != QProcess::NotRunning) {
            Server.terminate();
            Server.waitForFinished(5000);
        }
    }
    QProcess Server;
};

TEST_F(XkbKeyboardTest, GroupFollowsTheFocus) {
    auto backend = MakeXkbKeyboard(XvncDisplay);
    ASSERT_NE(backend, nullptr);
    EXPECT_EQ(backend->Layouts(), (std::vector<TXkbLayout>{{"us", ""}, {"de", ""}}));
    backend->ActivateLayout(0);
    // A connection of its own reads what the server holds.
    auto observer = MakeXkbKeyboard(XvncDisplay);
    ASSERT_NE(observer, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return observer->ActiveLayout() == 0; }, 2000));

    TTaggedDialog dialog;
    dialog.show();
    dialog.activateWindow();
    TKeyboardSwitcher switcher(
        std::move(backend), [] { return true; },
        [](int tag) { return tag == TagForeign ? German : EnglishUS; });
    const auto focus = [&](int i) {
        dialog.Edits[i]->setFocus();
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return QApplication::focusWidget() == dialog.Edits[i]; }));
        switcher.SwitchKeyboard(false);
    };
    // The server applies a group lock when it gets to it: wait for it.
    const auto group = [&](int expected) {
        return QTest::qWaitFor([&] { return observer->ActiveLayout() == expected; }, 2000);
    };
    focus(0);
    EXPECT_TRUE(group(1)) << "German field: the de group";
    focus(1);
    EXPECT_TRUE(group(0)) << "English field: the us group";
    focus(0);
    ASSERT_TRUE(group(1));
    switcher.SwitchKeyboard(true);
    EXPECT_TRUE(group(0)) << "the default group";
}

} // namespace
} // namespace vocalore
