#include "testing/TestSession.h"
#include "testing/Progress.h"

#include "core/Random.h"
#include "settings/Options.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

using namespace vocalore;

namespace {

constexpr uint16_t German = 0x0407;
constexpr uint16_t English = 0x0409;

// Records what the engine asked of the window; answers the Statistics dialog
// as scripted.
struct TScriptedView : TTestView {
    std::vector<std::string> Events;
    std::vector<std::string> Messages;
    bool ResetInStatistics = false;
    std::function<void()> OnQuestion;

    void EnterTestView() override { Events.push_back("enter"); }
    void LeaveTestView() override { Events.push_back("leave"); }
    void LayoutPanel() override { Events.push_back("layout"); }
    void ShowQuestion() override {
        Events.push_back("question");
        if (OnQuestion)
            OnQuestion();
    }
    void ShowFeedback() override { Events.push_back("feedback"); }
    void Beep() override { Events.push_back("beep"); }
    void ShowAllLearnt(const std::string& message) override {
        Events.push_back("message");
        Messages.push_back(message);
    }
    bool RunStatisticsDialog(const TVocabFile&) override {
        Events.push_back("statistics");
        return ResetInStatistics;
    }
    void Clear() { Events.clear(); }
};

struct Entry {
    std::string word;
    std::string translation;
    std::string notes;
    std::string category;
};

void Fill(TVocabFile& doc, const std::vector<Entry>& entries) {
    doc.ForeignLangID = German;
    doc.NativeLangID = English;
    for (const Entry& e : entries) {
        doc.PendingItem().Word = e.word;
        doc.PendingItem().Translation = e.translation;
        doc.PendingItem().Notes = e.notes;
        doc.PendingItem().Category = e.category;
        doc.InsertPending(ipAtEnd);
    }
    doc.SetCurrentIndex(-1);
}

const std::vector<Entry> Animals = {
    {"der Hund", "dog", "", "noun"},
    {"die Katze", "cat", "", "noun"},
    {"das Pferd", "horse", "", "noun"},
};

struct Fixture : ::testing::Test {
    TOptions options;
    TScriptedView view;
    TVocabFile doc;
    TTestSession session{view, options};

    void SetUp() override { Random::Seed(7); }
    const TVocabItem& Current() { return doc.CurrentItem(); }
    void AnswerRight() { session.SubmitTyped(doc, Current().Translation, ""); }
    void AnswerWrong() { session.SubmitTyped(doc, "zzz", ""); }
};

using TestSession = Fixture;

TEST_F(TestSession, StartAsksAnUnlearntItem) {
    Fill(doc, Animals);
    doc.Items(0).PenaltyPoints = -1;
    session.StartStop(doc);
    ASSERT_TRUE(session.Testing());
    EXPECT_EQ(view.Events, (std::vector<std::string>{"enter", "layout", "question"}));
    EXPECT_NE(doc.CurrentIndex(), 0);
    EXPECT_FALSE(session.Answered());
    session.StartStop(doc);
    EXPECT_FALSE(session.Testing());
    EXPECT_EQ(view.Events.back(), "leave");

    TVocabFile empty;
    view.Clear();
    session.Start(empty); // nothing to ask: the command is not even usable
    EXPECT_FALSE(TTestSession::CanStartStop(empty));
    EXPECT_FALSE(session.Testing());
    EXPECT_TRUE(view.Events.empty());
}

TEST_F(TestSession, AllLearntAtStartAnnouncesWithoutCongratulations) {
    Fill(doc, Animals);
    for (int i = 0; i < 3; ++i)
        doc.Items(i).PenaltyPoints = -1;
    session.Start(doc);
    EXPECT_FALSE(session.Testing());
    EXPECT_EQ(view.Events, (std::vector<std::string>{"message", "statistics"}));
    ASSERT_EQ(view.Messages.size(), 1u);
    EXPECT_EQ(view.Messages[0], "You have learnt all the vocabulary in Untitled.\n"
                                "Statistics must be reset before testing resumes...");
    EXPECT_EQ(doc.LearntCount(), 3);

    // Resetting in the dialog starts the test at once.
    view.Clear();
    view.ResetInStatistics = true;
    session.Start(doc);
    EXPECT_TRUE(session.Testing());
    EXPECT_EQ(view.Events,
              (std::vector<std::string>{"message", "statistics", "enter", "layout", "question"}));
    EXPECT_EQ(doc.LearntCount(), 0);
    EXPECT_TRUE(doc.Modified());
}

TEST_F(TestSession, LastItemLearntCongratulatesAndStops) {
    Fill(doc, {{"der Hund", "dog", "", ""}});
    doc.SaveToFile(::testing::TempDir() + "hund.vlo");
    session.Start(doc);
    AnswerWrong();
    EXPECT_EQ(view.Events.back(), "feedback");
    session.Continue(doc); // a single item comes back until answered right
    EXPECT_EQ(view.Events.back(), "question");
    AnswerRight();
    EXPECT_TRUE(session.Correct());
    view.Clear();
    session.Continue(doc);
    EXPECT_FALSE(session.Testing());
    EXPECT_EQ(view.Events, (std::vector<std::string>{"message", "statistics", "leave"}));
    EXPECT_EQ(view.Messages.back(),
              "Congratulations!\n\nYou have learnt all the vocabulary in hund.vlo.\n"
              "Statistics must be reset before testing resumes...");
}

TEST_F(TestSession, HintedRightAnswerFeedbackAndRecord) {
    struct Case {
        bool disallow;
        bool penalties;
        int32_t successes;
        int32_t points; // of the asked item after the answer
    };
    for (const Case c :
         {Case{false, true, 1, -1}, Case{true, true, 0, 1}, Case{true, false, 0, 0}}) {
        SCOPED_TRACE(testing::Message()
                     << "disallow " << c.disallow << " penalties " << c.penalties);
        TOptions opts;
        opts.DisallowHints = c.disallow;
        opts.UsePenaltyPoints = c.penalties;
        TScriptedView v;
        TVocabFile d;
        Fill(d, Animals);
        TTestSession s(v, opts);
        s.Start(d);
        const TVocabItem& asked = d.CurrentItem();
        ASSERT_TRUE(s.HintEnabled(abResponse));
        EXPECT_EQ(s.Hint(d, abResponse, ""), asked.Translation.substr(0, 1));
        EXPECT_TRUE(s.HintUsed());
        s.SubmitTyped(d, asked.Translation, "");
        EXPECT_TRUE(s.Correct()); // the feedback says "Right!"
        EXPECT_EQ(v.Events.back(), "feedback");
        EXPECT_EQ(std::count(v.Events.begin(), v.Events.end(), "beep"), 0);
        EXPECT_EQ(d.AttemptCount(), 1);
        EXPECT_EQ(d.SuccessCount(), c.successes);
        EXPECT_EQ(asked.PenaltyPoints, c.points);
    }
}

TEST_F(TestSession, WrongAnswerBeepsAndWaitsRightAnswerMayMoveOn) {
    Fill(doc, Animals);
    options.AutoContinue = true;
    session.Start(doc);
    view.Clear();
    AnswerWrong();
    EXPECT_EQ(view.Events, (std::vector<std::string>{"beep", "feedback"}));
    EXPECT_TRUE(session.Answered());
    EXPECT_FALSE(session.Correct());
    session.Continue(doc);
    view.Clear();
    const TVocabItem* before = &Current();
    // Continue while the question is still asked skips nothing.
    session.Continue(doc);
    EXPECT_TRUE(view.Events.empty());
    EXPECT_EQ(&Current(), before);
    AnswerRight(); // straight to the next question, no feedback
    EXPECT_EQ(view.Events, (std::vector<std::string>{"question"}));
    EXPECT_FALSE(session.Answered());
    EXPECT_NE(&Current(), before);

    options.AutoContinue = false;
    options.Beep = false;
    view.Clear();
    AnswerWrong();
    EXPECT_EQ(view.Events, (std::vector<std::string>{"feedback"}));
    // Submitting again while the feedback is shown records nothing more.
    const int32_t attempts = doc.AttemptCount();
    AnswerRight();
    EXPECT_EQ(doc.AttemptCount(), attempts);
    EXPECT_EQ(doc.UndoKind(), ukNone);
}

TEST_F(TestSession, EvaluationFollowsModeAndOptions) {
    Fill(doc, {{"der Hund", "dog, hound", "masc.", "noun"}});
    options.TestNotes = {true, false};
    session.Start(doc);
    EXPECT_TRUE(session.NotesTested()); // Passive with notes on
    struct Case {
        TTestMode mode;
        const char* response;
        const char* notes;
        bool word;
        bool notesOk;
    };
    const std::vector<Case> cases = {
        {tmPassive, "Hound; DOG", "Masc", true, true}, // passive defaults: any order, case
        {tmPassive, "dog", "masc.", true, true},       // an incomplete list is allowed
        {tmPassive, "dog", "fem.", true, false},       {tmPassive, "cat", "masc.", false, true},
        {tmActive, "der Hund", "", true, true},  // notes not asked in Active here
        {tmActive, "der hund", "", false, true}, // active defaults keep case
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.response);
        session.SetMode(doc, c.mode);
        if (session.Answered())
            session.Continue(doc);
        if (!session.Testing()) {
            doc.ResetStatistics();
            session.Start(doc);
        }
        ASSERT_EQ(session.Mode(), c.mode);
        session.SubmitTyped(doc, c.response, c.notes);
        EXPECT_EQ(session.WordCorrect(), c.word);
        EXPECT_EQ(session.NotesCorrect(), c.notesOk);
        EXPECT_EQ(session.Correct(), c.word && c.notesOk);
        EXPECT_EQ(session.Response(), c.response);
        EXPECT_EQ(session.NotesResponse(), c.notes);
        doc.ResetStatistics(); // keep the single item asked
    }
}

// Each judging path reads its own evaluation word: Active the active flags,
// Passive the passive flags, notes their fixed ones. A one-item document is
// asked afresh for every answer.
struct Judging : Fixture {
    TEvaluation Judge(TTestMode mode, const std::string& response, const std::string& notes = "") {
        session.Stop();
        doc.ResetStatistics();
        session.RestoreSettings(mode, false);
        session.Start(doc);
        session.SubmitTyped(doc, response, notes);
        return {session.WordCorrect(), session.NotesCorrect(), session.Correct()};
    }
    bool Right(TTestMode mode, const std::string& response) {
        return Judge(mode, response).WordCorrect;
    }
};

TEST_F(Judging, ActiveAndPassiveEachUseTheirOwnFlags) {
    Fill(doc, {{"der Hund/Welpe", "dog/hound", "", ""}});
    options.ActiveEvaluation = efIgnoreCase;
    options.PassiveEvaluation = efAlternatives;
    EXPECT_TRUE(Right(tmActive, "DER HUND/WELPE"));
    EXPECT_FALSE(Right(tmActive, "der Hund"));
    EXPECT_TRUE(Right(tmPassive, "hound"));
    EXPECT_FALSE(Right(tmPassive, "DOG/HOUND"));

    std::swap(options.ActiveEvaluation, options.PassiveEvaluation);
    EXPECT_FALSE(Right(tmActive, "DER HUND/WELPE"));
    EXPECT_TRUE(Right(tmActive, "der Hund"));
    EXPECT_FALSE(Right(tmPassive, "hound"));
    EXPECT_TRUE(Right(tmPassive, "DOG/HOUND"));

    // Read afresh at every answer: an accepted change applies to the next one.
    options.ActiveEvaluation = 0;
    EXPECT_FALSE(Right(tmActive, "der Hund"));
    EXPECT_TRUE(Right(tmActive, "der Hund/Welpe"));
}

TEST_F(Judging, OnlyPassiveAnswersAreTranslationLists) {
    Fill(doc, {{"der Hund, der Welpe", "dog, hound", "", ""}});
    // The list bit is the caller's: stored in the active word it is ignored,
    // missing from the passive word it is assumed.
    options.ActiveEvaluation = efTranslationList | efAnyOrder | efIncompleteList;
    options.PassiveEvaluation = efAnyOrder;
    EXPECT_FALSE(Right(tmActive, "der Welpe, der Hund"));
    EXPECT_FALSE(Right(tmActive, "der Hund"));
    EXPECT_TRUE(Right(tmActive, "der Hund, der Welpe"));
    EXPECT_TRUE(Right(tmPassive, "hound, dog"));
    EXPECT_FALSE(Right(tmPassive, "dog")); // incomplete lists not allowed
    options.PassiveEvaluation = efIncompleteList;
    EXPECT_TRUE(Right(tmPassive, "dog"));
    EXPECT_FALSE(Right(tmPassive, "hound, dog")); // order counts now
}

TEST_F(Judging, NotesIgnoreCaseAndPunctuationWhateverTheModeFlags) {
    Fill(doc, {{"der Hund", "dog", "masc. (pl. -e)", ""}});
    options.TestNotes = {true, true};
    for (const uint16_t flags : {uint16_t{0}, efDefaultPassive}) {
        options.ActiveEvaluation = flags;
        options.PassiveEvaluation = flags;
        for (const TTestMode mode : {tmPassive, tmActive}) {
            SCOPED_TRACE(testing::Message() << "mode " << int(mode) << " flags " << flags);
            const std::string word = mode == tmActive ? "der Hund" : "dog";
            TEvaluation r = Judge(mode, word, "MASC PL E");
            EXPECT_TRUE(r.WordCorrect);
            EXPECT_TRUE(r.NotesCorrect);
            EXPECT_TRUE(r.Correct);
            // Brackets are not optional in notes, even where the word's flags say so.
            r = Judge(mode, word, "masc.");
            EXPECT_TRUE(r.WordCorrect);
            EXPECT_FALSE(r.NotesCorrect);
            EXPECT_FALSE(r.Correct);
            EXPECT_EQ(doc.SuccessCount(), 0);
        }
    }
}

TEST_F(Judging, EachSideInItsOwnLanguage) {
    // English foreign, Turkish native (code page 1254: 0xFD dotless i, 0xDE/0xFE s cedilla).
    Fill(doc, {{"to go", "\xFDrmak", "k\xFD\xFE", ""}});
    doc.ForeignLangID = English;
    doc.NativeLangID = 0x041F;
    options.TestNotes = {true, true};
    options.ActiveEvaluation = efInfinitiveTo;
    options.PassiveEvaluation = efIgnoreCase;
    EXPECT_TRUE(Right(tmActive, "go"));     // the English rule applies to the word
    EXPECT_TRUE(Right(tmPassive, "IRMAK")); // Turkish I lowers to dotless i
    EXPECT_FALSE(Right(tmPassive, "irmak"));
    const TEvaluation r = Judge(tmActive, "to go", "KI\xDE");
    EXPECT_TRUE(r.NotesCorrect);
    EXPECT_FALSE(Judge(tmActive, "to go", "ki\xFE").NotesCorrect);
}

TEST_F(TestSession, NotesAskedOnlyWhenTheyExistAndTyping) {
    Fill(doc, {{"der Hund", "dog", "masc.", ""}, {"die Katze", "cat", "", ""}});
    options.TestNotes = {true, true};
    doc.Items(1).PenaltyPoints = -1;
    session.Start(doc);
    EXPECT_TRUE(session.NotesTested());
    EXPECT_TRUE(session.HintEnabled(abNotes));
    session.SetMultipleChoice(doc, true);
    EXPECT_FALSE(session.NotesTested());
    session.SetMultipleChoice(doc, false);
    doc.Items(0).PenaltyPoints = -1;
    doc.Items(1).PenaltyPoints = 0;
    session.Stop();
    session.Start(doc);
    EXPECT_EQ(Current().Word, "die Katze");
    EXPECT_FALSE(session.NotesTested());
    EXPECT_FALSE(session.HintEnabled(abNotes));
}

TEST_F(TestSession, ModeChangeAsksSameItemAgainUntilAnswered) {
    Fill(doc, Animals);
    session.Start(doc);
    const TVocabItem* asked = &Current();
    session.Hint(doc, abResponse, "");
    view.Clear();
    session.SetMode(doc, tmActive);
    EXPECT_EQ(view.Events, (std::vector<std::string>{"layout", "question"}));
    EXPECT_EQ(&Current(), asked);
    EXPECT_FALSE(session.HintUsed()); // forgotten with what was typed
    EXPECT_EQ(session.HintTarget(doc, abResponse), asked->Word);
    session.SetMode(doc, tmActive); // no change, nothing happens
    EXPECT_EQ(view.Events.size(), 2u);
    session.SubmitTyped(doc, "falsch", "");
    view.Clear();
    session.SetMode(doc, tmPassive); // answered: on to the next item
    EXPECT_TRUE(session.Testing());
    EXPECT_EQ(view.Events, (std::vector<std::string>{"layout", "question"}));
    EXPECT_NE(&Current(), asked);
    EXPECT_FALSE(session.Answered());
    EXPECT_EQ(session.HintTarget(doc, abResponse), Current().Translation);
}

TEST_F(TestSession, ModeChangeAfterTheLastItemIsLearntEndsTheTest) {
    Fill(doc, {{"der Hund", "dog", "", ""}});
    session.Start(doc);
    AnswerRight();
    view.Clear();
    session.SetMultipleChoice(doc, true);
    EXPECT_FALSE(session.Testing());
    EXPECT_EQ(view.Events, (std::vector<std::string>{"message", "statistics", "leave"}));
    EXPECT_EQ(doc.AttemptCount(), 1);
}

TEST_F(TestSession, AnswerTextsAreKeptUntilTheNextQuestion) {
    Fill(doc, Animals);
    options.TestNotes = {true, true};
    doc.Items(0).Notes = "masc.";
    doc.Items(1).PenaltyPoints = doc.Items(2).PenaltyPoints = -1;
    session.Start(doc);
    session.SubmitTyped(doc, "zzz", "fem.");
    EXPECT_EQ(session.Response(), "zzz"); // shown as the answer given
    EXPECT_EQ(session.NotesResponse(), "fem.");
    session.Continue(doc);
    EXPECT_EQ(session.Response(), "");
    EXPECT_EQ(session.NotesResponse(), "");
    session.SubmitTyped(doc, "yyy", "neutr.");
    session.SetMode(doc, tmActive);
    EXPECT_EQ(session.Response(), "");
    EXPECT_EQ(session.NotesResponse(), "");
}

TEST_F(TestSession, HintOnlyWhileTypingAnAnswer) {
    Fill(doc, {{"der Hund", "dog", "masc.", ""}, {"die Katze", "cat", "", ""}});
    EXPECT_FALSE(session.HintEnabled(abResponse)); // not testing
    session.Start(doc);
    EXPECT_TRUE(session.HintEnabled(abResponse));
    EXPECT_FALSE(session.HintEnabled(abOther));
    EXPECT_FALSE(session.HintEnabled(abNotes)); // notes not tested: a label
    try {
        session.Hint(doc, abOther, "");
        ADD_FAILURE() << "no error";
    } catch (const ETestingError& e) {
        EXPECT_STREQ(e.what(), "Command unavailable.");
    }
    EXPECT_FALSE(session.HintUsed());
    AnswerWrong();
    EXPECT_FALSE(session.HintEnabled(abResponse)); // answered
    session.Continue(doc);
    session.SetMultipleChoice(doc, true);
    EXPECT_FALSE(session.HintEnabled(abResponse));
    EXPECT_THROW(session.Hint(doc, abResponse, ""), ETestingError);
}

TEST_F(TestSession, MultipleChoiceSetsAndAnswers) {
    Fill(doc, {{"a", "1", "", "n"},
               {"b", "2", "", "n"},
               {"c", "3", "", "v"},
               {"d", "4", "", "v"},
               {"e", "5", "", "v"}});
    options.NumChoices = 4;
    session.RestoreSettings(tmActive, true);
    session.Start(doc);
    ASSERT_EQ(session.Choices().size(), 4u);
    EXPECT_EQ(std::count(session.Choices().begin(), session.Choices().end(), &Current()), 1);
    EXPECT_FALSE(session.NotesTested());
    // Nothing selected counts as wrong.
    session.SubmitChoice(doc, nullptr);
    EXPECT_FALSE(session.Correct());
    EXPECT_EQ(session.ChosenItem(), nullptr);
    EXPECT_EQ(doc.AttemptCount(), 1);
    EXPECT_EQ(doc.SuccessCount(), 0);
    session.Continue(doc);
    const TVocabItem* other = *std::find_if(session.Choices().begin(), session.Choices().end(),
                                            [&](const TVocabItem* i) { return i != &Current(); });
    session.SubmitChoice(doc, other);
    EXPECT_FALSE(session.Correct());
    EXPECT_EQ(session.ChosenItem(), other);
    session.Continue(doc);
    session.SubmitChoice(doc, &Current());
    EXPECT_TRUE(session.Correct());
    EXPECT_EQ(doc.SuccessCount(), 1);
    // Once answered, further picks and typed text record nothing.
    session.SubmitChoice(doc, nullptr);
    session.SubmitTyped(doc, "zzz", "");
    EXPECT_TRUE(session.Correct());
    EXPECT_EQ(doc.AttemptCount(), 3);

    // Text typed while the choices are shown picks none of them: wrong.
    session.Continue(doc);
    view.Clear();
    session.SubmitTyped(doc, Current().Translation, "");
    EXPECT_TRUE(session.Answered());
    EXPECT_FALSE(session.WordCorrect());
    EXPECT_FALSE(session.Correct());
    EXPECT_EQ(session.ChosenItem(), nullptr);
    EXPECT_EQ(view.Events, (std::vector<std::string>{"beep", "feedback"}));
    EXPECT_EQ(doc.AttemptCount(), 4);
    EXPECT_EQ(doc.SuccessCount(), 1);
    session.Stop();
    EXPECT_TRUE(session.Choices().empty()); // no item references outlive the test
    session.SubmitChoice(doc, &Current());  // no test: no answer
    EXPECT_EQ(doc.AttemptCount(), 4);

    // Fewer items than choices: every item once.
    TVocabFile two;
    Fill(two, {{"a", "1", "", ""}, {"b", "2", "", ""}});
    TTestSession s2(view, options);
    s2.RestoreSettings(tmPassive, true);
    s2.Start(two);
    EXPECT_EQ(s2.Choices().size(), 2u);
}

TEST_F(TestSession, DamagedOptionNumbersDoNotBreakTheTest) {
    Fill(doc, Animals);
    options.UsePenaltyPoints = true;
    options.MaxPenaltyPoints = -4;
    options.NumChoices = 0;
    session.RestoreSettings(tmPassive, true);
    session.Start(doc);
    EXPECT_EQ(session.Choices().size(), 3u);
    EXPECT_EQ(session.PenaltyMaximum(), 1);
    session.SubmitChoice(doc, nullptr);
    EXPECT_EQ(doc.AttemptCount(), 1);
    options.UsePenaltyPoints = false;
    EXPECT_EQ(session.PenaltyMaximum(), 0);
}

TEST_F(TestSession, SimulatedLearnerAlwaysFinishes) {
    struct Case {
        bool penalties;
        int32_t max;
        bool multipleChoice;
        double pRight;
        bool disallowHints;
        TTestMode mode;
    };
    const std::vector<Case> cases = {
        {true, 3, false, 0.7, false, tmPassive},
        {true, 5, false, 0.4, true, tmActive},
        {false, 0, false, 0.5, false, tmPassive},
        {true, 1, true, 0.6, false, tmActive},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "max " << c.max << " mc " << c.multipleChoice);
        TOptions opts;
        opts.UsePenaltyPoints = c.penalties;
        opts.MaxPenaltyPoints = c.penalties ? c.max : 3;
        opts.DisallowHints = c.disallowHints;
        opts.NumChoices = 5;
        TScriptedView v;
        TVocabFile d;
        std::vector<Entry> entries;
        for (int i = 0; i < 300; ++i)
            entries.push_back({"wort" + std::to_string(i), "word" + std::to_string(i), "",
                               std::string(1, static_cast<char>('a' + i % 4))});
        Fill(d, entries);
        TTestSession s(v, opts);
        s.RestoreSettings(c.mode, c.multipleChoice);
        Random::Seed(11);
        std::mt19937 learner(5);
        std::bernoulli_distribution right(c.pRight);
        std::bernoulli_distribution hint(0.2);

        bool askedLearnt = false;
        v.OnQuestion = [&] { askedLearnt = askedLearnt || d.CurrentItem().Learnt(); };
        s.Start(d);
        int answers = 0;
        while (s.Testing() && answers < 100000) {
            if (s.Answered()) {
                s.Continue(d);
                continue;
            }
            const TVocabItem& item = d.CurrentItem();
            const int32_t before = item.PenaltyPoints;
            const bool r = right(learner);
            if (c.multipleChoice) {
                const auto& choices = s.Choices();
                s.SubmitChoice(
                    d, r ? &item
                         : (choices.size() > 1 ? choices[choices[0] == &item ? 1 : 0] : nullptr));
            } else {
                if (hint(learner))
                    s.Hint(d, abResponse, "");
                s.SubmitTyped(d, r ? (s.Mode() == tmActive ? item.Word : item.Translation) : "?",
                              "");
            }
            ++answers;
            ASSERT_EQ(s.Correct(), r);
            ASSERT_LE(d.SuccessCount(), d.AttemptCount());
            ASSERT_LE(item.PenaltyPoints, s.PenaltyMaximum());
            ASSERT_EQ(item.LastTested, d.AttemptCount());
            const bool recordedRight = r && !(s.HintUsed() && c.disallowHints);
            if (!recordedRight) {
                ASSERT_GE(item.PenaltyPoints, 0);
            } else if (before == 0) {
                ASSERT_EQ(item.PenaltyPoints, -1);
            }
            ASSERT_FALSE(askedLearnt);
        }
        EXPECT_FALSE(s.Testing());
        EXPECT_EQ(d.LearntCount(), d.Count());
        EXPECT_EQ(d.AttemptCount(), answers);
        ASSERT_EQ(v.Messages.size(), 1u);
        EXPECT_EQ(v.Messages[0].rfind("Congratulations!\n\n", 0), 0u);
        EXPECT_EQ(ProgressText(d), "100%");
    }
}

TEST(Progress, FiguresAndPercentages) {
    TVocabFile doc;
    TStatisticsFigures f = StatisticsFigures(doc);
    EXPECT_EQ(f.Learnt, 0);
    EXPECT_EQ(f.Items, 0);
    EXPECT_EQ(f.Progress, "0%");
    EXPECT_EQ(f.SuccessRate, "0%");
    EXPECT_FALSE(f.ResetEnabled);
    Fill(doc, {{"a", "1", "", ""}, {"b", "2", "", ""}, {"c", "3", "", ""}});
    doc.SetCurrentIndex(0);
    doc.RecordAnswer(true, 0);
    EXPECT_EQ(ProgressText(doc), "33%");
    EXPECT_TRUE(StatisticsFigures(doc).ResetEnabled); // one answer is enough
    doc.SetCurrentIndex(1);
    doc.RecordAnswer(false, 0);
    doc.RecordAnswer(true, 0);
    f = StatisticsFigures(doc);
    EXPECT_EQ(f.Learnt, 2);
    EXPECT_EQ(f.Items, 3);
    EXPECT_EQ(f.Progress, "67%");
    EXPECT_EQ(f.Successes, 2);
    EXPECT_EQ(f.Attempts, 3);
    EXPECT_EQ(f.SuccessRate, "67%");
    EXPECT_TRUE(f.ResetEnabled);

    // Learnt or marked items with counters at zero (a merged list) can be
    // reset too: all learnt, they could never be tested again.
    const auto marked = [](int32_t points, int32_t lastTested) {
        TVocabFile d;
        auto item = std::make_unique<TVocabItem>();
        item->Word = "w";
        item->Translation = "t";
        item->PenaltyPoints = points;
        item->LastTested = lastTested;
        std::vector<std::unique_ptr<TVocabItem>> items;
        items.push_back(std::move(item));
        d.AppendItems(std::move(items));
        return StatisticsFigures(d).ResetEnabled;
    };
    EXPECT_TRUE(marked(-1, 0));
    EXPECT_TRUE(marked(2, 0));
    EXPECT_TRUE(marked(0, 1));
    EXPECT_FALSE(marked(0, 0));
}

} // namespace
