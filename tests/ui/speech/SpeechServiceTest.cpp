// Speaking through a real speech-dispatcher. Each test starts one of its own:
// its own runtime folder and configuration, in which the only output module
// writes the language, the voice, the rate and the text of every message to a file
// instead of sounding it. The program starts the service by itself.

#include "tests/support/SpeechService.h"
#include "UiTestSupport.h"

#include "ui/common/PromptService.h"
#include "ui/options/OptionsDialog.h"
#include "ui/speech/SpeechCommands.h"
#include "ui/speech/SpeechPage.h"
#include "ui/testing/TestCommands.h"
#include "ui/testing/TestPanel.h"
#include "ui/window/MainWindow.h"

#include "core/Languages.h"
#include "settings/SettingsStore.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <utility>

namespace vocalore {
namespace {

using test::TService;
using test::TSpeechService;

constexpr uint16_t German = 0x0407;
constexpr uint16_t English = 0x0409;
constexpr uint16_t Russian = 0x0419;
constexpr uint16_t French = 0x040C;

class SpeechServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::App();
        if (!test::SpeechServiceInstalled())
            GTEST_SKIP() << "speech-dispatcher is not installed";
        ASSERT_TRUE(Dir.isValid());
        // The real service, not the silent one the other window tests use.
        SetSpeechBackendFactory({});
    }
    void TearDown() override {
        Form.reset();
        Service.reset();
    }

    // The service, then the window on a document; the window starts the service.
    void Open(TService kind, std::unique_ptr<TVocabFile> document) {
        Service = std::make_unique<TSpeechService>(kind);
        const QString path = Dir.filePath(QStringLiteral("list.vlo"));
        document->SaveToFile(path.toStdString());
        Form = std::make_unique<TMainForm>(Store);
        ASSERT_TRUE(Form->FormCreate({path}));
        Form->show();
        QApplication::setActiveWindow(Form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
        Form->Settings().Options.Beep = false;
        Form->Testing().Panel()->SetDelayUnit(10);
    }
    // Waits for the service to answer the window.
    void WaitReady() {
        ASSERT_TRUE(
            Eventually([&] { return Form->Speech().Speaker().Status() != ssStarting; }, 10000));
        ASSERT_EQ(Form->Speech().Speaker().Status(), ssReady)
            << Form->Speech().Speaker().Problem().toStdString();
        Form->UpdateCommands();
    }
    QAction* Speak() { return Form->Action(cmEditSpeak); }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
        Form->UpdateCommands();
    }
    void Run(TCommandId id) {
        Form->UpdateCommands();
        ASSERT_TRUE(Form->Action(id)->isEnabled()) << Command(id).Name;
        Form->Action(id)->trigger();
        Form->UpdateCommands();
    }
    void Answer(const QString& text) {
        QTest::keyClicks(QApplication::focusWidget(), text);
        Key(Qt::Key_Return);
    }
    // Waits while the window goes on handling events.
    template <typename F> static bool Eventually(F condition, int milliseconds) {
        return QTest::qWaitFor(condition, milliseconds);
    }
    std::string Record() const {
        return Service ? Service->Texts("said").join(u'|').toStdString() + " / " +
                             Service->Texts("begin").join(u'|').toStdString() + " / " +
                             Service->Texts("end").join(u'|').toStdString()
                       : std::string();
    }
    int Messages() const { return static_cast<int>(Prompts.Prompts().size()); }
    TSpeechSettings& Speech() { return Form->Settings().Speech; }

    static std::unique_ptr<TVocabFile> Document(uint16_t foreign, uint16_t native,
                                                std::initializer_list<test::TItemTexts> items) {
        auto document = std::make_unique<TVocabFile>();
        document->ForeignLangID = foreign;
        document->NativeLangID = native;
        for (const test::TItemTexts& texts : items) {
            TVocabItem& item = document->PendingItem();
            item.Word = texts[0];
            item.Category = texts[1];
            item.Notes = texts[2];
            item.Translation = texts[3];
            document->InsertPending(ipAtEnd);
        }
        return document;
    }

    QTemporaryDir Dir;
    TMemorySettingsStore Store;
    TFakePromptService Prompts{true};
    std::unique_ptr<TSpeechService> Service;
    std::unique_ptr<TMainForm> Form;
};

TEST_F(SpeechServiceTest, SpeakInTheGridReadsTheWordInTheForeignVoice) {
    // "der @Hund" sorts under H: the marker is not part of the word.
    auto document =
        Document(German, English, {{"der Hund", "n", "", "dog"}, {"\xC4pfel", "n", "", "apples"}});
    document->Items(0).SortPosition = 4;
    Open(TService::Recording, std::move(document));
    WaitReady();
    ASSERT_TRUE(Speak()->isEnabled());
    EXPECT_EQ(Speak()->statusTip(), QString::fromLatin1(SpeakHint));
    // The tool button sits right after Sort; the command is in the Edit menu.
    auto* button = Form->findChild<QToolButton*>(QStringLiteral("tbSpeak"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->defaultAction(), Speak());
    const QList<QAction*> tools = Form->ToolBar()->actions();
    const qsizetype sort = tools.indexOf(Form->Action(cmEditSort));
    ASSERT_GE(sort, 0);
    EXPECT_EQ(tools.value(sort + 1), Speak());
    EXPECT_TRUE(Form->findChild<QMenu*>(QStringLiteral("miEdit"))->actions().contains(Speak()));

    Form->Document().SetCurrentIndex(0);
    Form->RefreshGrid();
    Key(Qt::Key_F5);
    ASSERT_TRUE(Eventually(
        [&] { return Service->Texts() == QStringList{QStringLiteral("der Hund")}; }, 5000))
        << Record();
    Form->Document().SetCurrentIndex(1);
    Form->RefreshGrid();
    button->click();
    ASSERT_TRUE(Eventually([&] { return Service->Texts().size() == 2; }, 5000)) << Record();
    EXPECT_EQ(Service->Texts().at(1), QStringLiteral("\u00C4pfel"));
    EXPECT_EQ(Service->Languages(), QStringList({QStringLiteral("de"), QStringLiteral("de")}));
    // Slower than the service's own pace by default.
    EXPECT_LT(Service->Lines().at(0).Rate.toDouble(), 0.0);
    EXPECT_EQ(Messages(), 0);
}

TEST_F(SpeechServiceTest, TestingSpeaksTheQuestionInPassiveAndActiveMode) {
    Open(TService::Recording, Document(German, English, {{"Katze", "n", "", "cat/puss"}}));
    WaitReady();
    Speech().SpeakQuestion = true;
    Run(cmTestStartTesting);
    ASSERT_TRUE(
        Eventually([&] { return Service->Texts() == QStringList{QStringLiteral("Katze")}; }, 5000))
        << Record();
    EXPECT_EQ(Service->Languages(), QStringList{QStringLiteral("de")});
    // Active: the translations are the question, in the native voice, the
    // alternatives read as a list.
    Key(Qt::Key_Tab, Qt::ControlModifier);
    ASSERT_EQ(Form->Testing().Session().Mode(), tmActive);
    ASSERT_TRUE(Eventually([&] { return Service->Texts().size() == 2; }, 5000)) << Record();
    EXPECT_EQ(Service->Texts().at(1), QStringLiteral("cat, puss"));
    EXPECT_EQ(Service->Languages().at(1), QStringLiteral("en"));
    // F5 says the question again.
    Key(Qt::Key_F5);
    ASSERT_TRUE(Eventually([&] { return Service->Texts().size() == 3; }, 5000)) << Record();
    EXPECT_EQ(Service->Texts().at(2), QStringLiteral("cat, puss"));
    EXPECT_EQ(Messages(), 0);
}

TEST_F(SpeechServiceTest, AWrongResponseBringsTheCorrectAnswerOnlyWhenAsked) {
    Open(TService::Recording,
         Document(German, English, {{"Katze", "n", "", "cat"}, {"Hund", "n", "", "dog"}}));
    WaitReady();
    // Both automatic options off: a whole question goes by in silence.
    Run(cmTestStartTesting);
    Answer(QStringLiteral("wrong"));
    QTest::qWait(500);
    EXPECT_TRUE(Service->Texts().isEmpty());
    // F5 after the response reads the correct answer.
    const QString expected = QString::fromStdString(Form->Document().CurrentItem().Translation);
    Key(Qt::Key_F5);
    ASSERT_TRUE(Eventually([&] { return Service->Texts() == QStringList{expected}; }, 5000))
        << Record();

    Speech().SpeakAnswer = true;
    Key(Qt::Key_Return); // Continue
    QTest::qWait(300);
    EXPECT_EQ(Service->Texts().size(), 1); // the question stays silent
    const QString next = QString::fromStdString(Form->Document().CurrentItem().Translation);
    Answer(QStringLiteral("wrong"));
    ASSERT_TRUE(Eventually([&] { return Service->Texts().size() == 2; }, 5000)) << Record();
    EXPECT_EQ(Service->Texts().at(1), next);
    EXPECT_EQ(Service->Languages().at(1), QStringLiteral("en"));
    EXPECT_EQ(Messages(), 0);
}

TEST_F(SpeechServiceTest, ARussianNativeLanguageIsDecodedAndSpokenInRussian) {
    // "собака" in code page 1251.
    Open(TService::Recording,
         Document(German, Russian, {{"Hund", "", "", "\xF1\xEE\xE1\xE0\xEA\xE0"}}));
    WaitReady();
    Speech().SpeakQuestion = true;
    Speech().SpeakAnswer = true;
    Form->Settings().TestMode = 1; // Active: the Russian text is the question
    Run(cmTestStartTesting);
    ASSERT_TRUE(Eventually(
        [&] {
            return Service->Texts() ==
                   QStringList{QStringLiteral("\u0441\u043E\u0431\u0430\u043A\u0430")};
        },
        5000))
        << Record();
    EXPECT_EQ(Service->Languages(), QStringList{QStringLiteral("ru")});
    // The answer is the German word.
    Answer(QStringLiteral("Katze"));
    ASSERT_TRUE(Eventually([&] { return Service->Texts().size() == 2; }, 5000)) << Record();
    EXPECT_EQ(Service->Lines().at(1).Language, QStringLiteral("de"));
    EXPECT_EQ(Service->Lines().at(1).Text, QStringLiteral("Hund"));
}

TEST_F(SpeechServiceTest, ANewSpeakInterruptsTheOneInProgress) {
    Open(TService::Slow,
         Document(German, English, {{"eins", "", "", "one"}, {"zwei", "", "", "two"}}));
    WaitReady();
    Form->Document().SetCurrentIndex(0);
    Form->RefreshGrid();
    Key(Qt::Key_F5);
    ASSERT_TRUE(Eventually(
        [&] { return Service->Texts("begin") == QStringList{QStringLiteral("eins")}; }, 5000))
        << Record();
    Form->Document().SetCurrentIndex(1);
    Form->RefreshGrid();
    QElapsedTimer t;
    t.start();
    Key(Qt::Key_F5);
    ASSERT_TRUE(Eventually([&] { return Service->Texts("begin").size() == 2; }, 8000)) << Record();
    qWarning() << "begin2" << t.elapsed();
    ASSERT_TRUE(Eventually(
        [&] { return Service->Texts("end") == QStringList{QStringLiteral("zwei")}; }, 8000))
        << Record();
    qWarning() << "end2" << t.elapsed();
    EXPECT_EQ(Service->Texts("begin"),
              QStringList({QStringLiteral("eins"), QStringLiteral("zwei")}));
}

TEST_F(SpeechServiceTest, StoppingOrLeavingTheTestAndClosingTheDocumentSilenceTheVoice) {
    Open(TService::Slow, Document(German, English, {{"eins", "", "", "one"}}));
    WaitReady();
    Speech().SpeakQuestion = true;
    // Esc leaves the test panel.
    Run(cmTestStartTesting);
    ASSERT_TRUE(Eventually([&] { return Service->Texts("begin").size() == 1; }, 5000)) << Record();
    Key(Qt::Key_Escape);
    ASSERT_EQ(Form->ViewMode(), vmEdit);
    // Stop Testing.
    Run(cmTestStartTesting);
    ASSERT_TRUE(Eventually([&] { return Service->Texts("begin").size() == 2; }, 5000)) << Record();
    Run(cmTestStartTesting);
    ASSERT_EQ(Form->ViewMode(), vmEdit);
    // Another document replaces this one.
    Key(Qt::Key_F5);
    ASSERT_TRUE(Eventually([&] { return Service->Texts("begin").size() == 3; }, 5000)) << Record();
    Form->InstallDocument(std::make_unique<TVocabFile>());
    Form->SetViewMode(vmEdit);
    QTest::qWait(2600); // longer than a message lasts
    EXPECT_TRUE(Service->Texts("end").isEmpty());
}

TEST_F(SpeechServiceTest, ClosingTheWindowSilencesTheVoice) {
    Open(TService::Slow, Document(German, English, {{"eins", "", "", "one"}}));
    WaitReady();
    Key(Qt::Key_F5);
    ASSERT_TRUE(Eventually([&] { return Service->Texts("begin").size() == 1; }, 5000)) << Record();
    Form->close();
    Form.reset();
    QTest::qWait(2600);
    EXPECT_TRUE(Service->Texts("end").isEmpty());
}

TEST_F(SpeechServiceTest, ALanguageWithoutAVoiceDisablesSpeakAndSaysWhy) {
    Open(TService::Recording, Document(French, English, {{"chien", "", "", "dog"}}));
    WaitReady();
    EXPECT_FALSE(Speak()->isEnabled());
    EXPECT_TRUE(
        Speak()->statusTip().contains(QStringLiteral("no voice for French"), Qt::CaseInsensitive))
        << Speak()->statusTip().toStdString();
    // While testing in Passive mode the answer is English, which has a voice.
    Speech().SpeakQuestion = true;
    Run(cmTestStartTesting);
    EXPECT_FALSE(Speak()->isEnabled());
    Answer(QStringLiteral("cat"));
    EXPECT_TRUE(Speak()->isEnabled());
    Key(Qt::Key_F5);
    ASSERT_TRUE(
        Eventually([&] { return Service->Texts() == QStringList{QStringLiteral("dog")}; }, 5000))
        << Record();
    EXPECT_EQ(Messages(), 0);
}

TEST_F(SpeechServiceTest, WithoutAServiceTheProgramStaysSilentAndSaysWhy) {
    Open(TService::Unstartable, Document(German, English, {{"Katze", "", "", "cat"}}));
    ASSERT_TRUE(Eventually([&] { return Form->Speech().Speaker().Status() != ssStarting; }, 10000));
    EXPECT_EQ(Form->Speech().Speaker().Status(), ssUnavailable);
    Form->UpdateCommands();
    EXPECT_FALSE(Speak()->isEnabled());
    EXPECT_TRUE(Speak()->statusTip().contains(QStringLiteral("no speech service")))
        << Speak()->statusTip().toStdString();
    // A whole test with both automatic options goes on without a word or a box.
    Speech().SpeakQuestion = true;
    Speech().SpeakAnswer = true;
    Run(cmTestStartTesting);
    Answer(QStringLiteral("wrong"));
    EXPECT_EQ(Form->Testing().Panel()->findChild<QLabel*>(QStringLiteral("pnlTestStatus"))->text(),
              QStringLiteral("Wrong!"));
    Key(Qt::Key_F5);
    Key(Qt::Key_Return);
    EXPECT_FALSE(Form->Testing().Session().Answered());
    EXPECT_FALSE(Speak()->isEnabled());
    EXPECT_EQ(Messages(), 0);
    EXPECT_TRUE(Service->Texts().isEmpty());
}

// The page's language list: the document's languages first, every language once,
// also when a list has the same language on both sides.
TEST(SpeechPage, EveryLanguageOnceTheDocumentsFirst) {
    test::App();
    TSpeechSettings settings;
    TSpeaker speaker(nullptr, settings);
    for (const auto& [foreign, native] :
         {std::pair{German, English}, std::pair{English, English}}) {
        TSpeechPage page(speaker, settings, foreign, native);
        auto* language = page.findChild<QComboBox*>(QStringLiteral("cbLanguage"));
        EXPECT_EQ(language->itemData(0).toUInt(), foreign);
        if (foreign != native) {
            EXPECT_EQ(language->itemData(1).toUInt(), native);
        }
        EXPECT_EQ(static_cast<size_t>(language->count()), LanguageList().size());
        int english = 0;
        for (int i = 0; i < language->count(); ++i)
            english += language->itemData(i).toUInt() == English;
        EXPECT_EQ(english, 1);
    }
}

TEST_F(SpeechServiceTest, TheSpeechPageSetsTheOptionsAndLetsTheUserHearEachVoice) {
    Open(TService::Recording, Document(German, English, {{"Katze", "", "", "cat"}}));
    WaitReady();
    const TSpeechSettings before = Speech();
    std::vector<std::string> seen;
    // Cancel: the page's changes go.
    test::OnNextModal([](QDialog* dialog) {
        dialog->findChild<QTabWidget*>(QStringLiteral("pcOptions"))->setCurrentIndex(opSpeech);
        dialog->findChild<QCheckBox*>(QStringLiteral("chbSpeakQuestion"))->setChecked(true);
        dialog->reject();
    });
    Run(cmViewOptions);
    EXPECT_EQ(Speech(), before);

    test::OnNextModal([&seen, this](QDialog* dialog) {
        auto* pages = dialog->findChild<QTabWidget*>(QStringLiteral("pcOptions"));
        pages->setCurrentIndex(opSpeech);
        seen.push_back(pages->tabText(pages->currentIndex()).toStdString());
        auto* page = dialog->findChild<TSpeechPage*>(QStringLiteral("tsSpeech"));
        auto* language = page->findChild<QComboBox*>(QStringLiteral("cbLanguage"));
        auto* voice = page->findChild<QComboBox*>(QStringLiteral("cbVoice"));
        auto* state = page->findChild<QLabel*>(QStringLiteral("lblVoiceState"));
        auto* test = page->findChild<QPushButton*>(QStringLiteral("btnTest"));
        // The document's languages come first.
        seen.push_back(QString::number(language->itemData(0).toUInt(), 16).toStdString());
        seen.push_back(QString::number(language->itemData(1).toUInt(), 16).toStdString());
        // A language without a voice says so.
        language->setCurrentIndex(language->findData(French));
        seen.push_back(state->text().toStdString());
        seen.push_back(test->isEnabled() ? "test on" : "test off");
        language->setCurrentIndex(language->findData(German));
        seen.push_back(state->text().toStdString());
        seen.push_back(std::to_string(voice->count()));
        voice->setCurrentIndex(voice->findData(QStringLiteral("de-anna")));
        page->findChild<QSlider*>(QStringLiteral("tbRate"))->setValue(SpeechRateMin);
        page->findChild<QCheckBox*>(QStringLiteral("chbSpeakQuestion"))->setChecked(true);
        QTest::mouseClick(test, Qt::LeftButton);
        dialog->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    });
    Run(cmViewOptions);
    ASSERT_EQ(seen.size(), 7u);
    EXPECT_EQ(seen[0], "Speech");
    EXPECT_EQ(seen[1], "407");
    EXPECT_EQ(seen[2], "409");
    EXPECT_EQ(seen[3], "No voice for French (France).");
    EXPECT_EQ(seen[4], "test off");
    EXPECT_EQ(seen[5], "");
    EXPECT_EQ(seen[6], "3"); // "(Default)" and the service's two German voices
    // Test reads the language's name in the chosen voice at the chosen rate.
    ASSERT_TRUE(Eventually(
        [&] { return Service->Texts() == QStringList{QStringLiteral("Deutsch")}; }, 5000))
        << Record();
    EXPECT_EQ(Service->Languages(), QStringList{QStringLiteral("de")});
    EXPECT_EQ(Service->Lines().at(0).Voice, QStringLiteral("de-anna"));
    EXPECT_EQ(Service->Lines().at(0).Rate.toDouble(), -100.0);
    // OK keeps the page's settings: the next test speaks its question slowly.
    EXPECT_TRUE(Speech().SpeakQuestion);
    EXPECT_EQ(Speech().Rate, SpeechRateMin);
    EXPECT_EQ(Speech().Voice(German), "de-anna");
    Run(cmTestStartTesting);
    ASSERT_TRUE(Eventually([&] { return Service->Texts().size() == 2; }, 5000)) << Record();
    EXPECT_EQ(Service->Texts().at(1), QStringLiteral("Katze"));
    EXPECT_EQ(Service->Lines().at(1).Voice, QStringLiteral("de-anna"));
    EXPECT_EQ(Service->Lines().at(1).Rate.toDouble(), -100.0);
}

} // namespace
} // namespace vocalore
