#include "core/Random.h"
#include "core/VocabFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <map>
#include <numeric>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace vocalore;

namespace {

struct ItemRow {
    const char* word;
    const char* category = "";
    int32_t lastTested = 0;
    int32_t points = 0;
};

void Build(TVocabFile& doc, const std::vector<ItemRow>& rows) {
    for (const ItemRow& s : rows) {
        doc.PendingItem().Word = s.word;
        doc.PendingItem().Category = s.category;
        doc.InsertPending(ipAtEnd);
    }
    for (int32_t i = 0; i < doc.Count(); ++i) {
        doc.Items(i).LastTested = rows[static_cast<size_t>(i)].lastTested;
        doc.Items(i).PenaltyPoints = rows[static_cast<size_t>(i)].points;
    }
}

// Brings AttemptCount to n by recording wrong answers on one item, then puts
// that item's counters back.
void SetAttempts(TVocabFile& doc, int32_t n, int32_t scratch) {
    const TVocabItem saved = doc.Items(scratch);
    for (int32_t i = 0; i < n; ++i) {
        doc.SetCurrentIndex(scratch);
        doc.Items(scratch).PenaltyPoints = 0;
        doc.RecordAnswer(false, 0);
    }
    doc.Items(scratch).LastTested = saved.LastTested;
    doc.Items(scratch).PenaltyPoints = saved.PenaltyPoints;
}

std::string ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const EVocabFileError& e) {
        return e.what();
    }
    return "";
}

TEST(SelectNextItem, WeightsOfTheWorkedExample) {
    TVocabFile doc;
    Build(doc, {{"seven", "", 7, 2},   // (10 - 7) x 3 = 9
                {"fresh", "", 0, 0},   // never answered: (5 - 1) x 1 = 4
                {"ten", "", 10, 0},    // just answered: 0
                {"nine", "", 9, 1},    // 1 x 2 = 2
                {"done", "", 4, -1}}); // learnt
    SetAttempts(doc, 10, 4);
    ASSERT_EQ(doc.AttemptCount(), 10);
    for (uint64_t seed = 1; seed <= 200; ++seed) {
        Random::Seed(seed);
        ASSERT_TRUE(doc.SelectNextItem());
        ASSERT_EQ(doc.CurrentItem().Word, "seven") << "seed " << seed;
    }
    // Without the heavy item the never-answered one wins over the others.
    doc.Items(0).PenaltyPoints = -1;
    Random::Seed(3);
    ASSERT_TRUE(doc.SelectNextItem());
    EXPECT_EQ(doc.CurrentItem().Word, "fresh");
}

TEST(SelectNextItem, TieGoesToFirstInShuffledOrder) {
    TVocabFile doc;
    Build(doc, {{"a"}, {"b"}, {"c"}, {"d"}, {"e", "", 0, -1}, {"f"}});
    const int32_t n = doc.Count();
    std::map<std::string, int> hits;
    for (uint64_t seed = 0; seed < 3000; ++seed) {
        // The documented walk: each position swapped with one drawn from the whole list.
        Random::Seed(seed);
        std::vector<int32_t> order(static_cast<size_t>(n));
        std::iota(order.begin(), order.end(), 0);
        for (int32_t i = 0; i < n; ++i)
            std::swap(order[static_cast<size_t>(i)], order[static_cast<size_t>(Random::Index(n))]);
        const int32_t expected = *std::find_if(order.begin(), order.end(),
                                               [&](int32_t k) { return !doc.Items(k).Learnt(); });
        Random::Seed(seed);
        ASSERT_TRUE(doc.SelectNextItem());
        ASSERT_EQ(doc.CurrentIndex(), expected) << "seed " << seed;
        ++hits[doc.CurrentItem().Word];
    }
    EXPECT_EQ(hits.count("e"), 0u);
    // Every unlearnt item can be asked first.
    EXPECT_EQ(hits.size(), 5u);
}

TEST(SelectNextItem, JustAnsweredItemWaitsAndAllLearntKeepsCurrent) {
    TVocabFile doc;
    Build(doc, {{"a"}, {"b"}});
    for (uint64_t seed = 0; seed < 50; ++seed) {
        Random::Seed(seed);
        doc.SetCurrentIndex(0);
        doc.RecordAnswer(false, 3);
        ASSERT_TRUE(doc.SelectNextItem());
        EXPECT_EQ(doc.CurrentIndex(), 1);
        doc.RecordAnswer(false, 3);
        ASSERT_TRUE(doc.SelectNextItem());
        EXPECT_EQ(doc.CurrentIndex(), 0);
    }
    doc.Items(0).PenaltyPoints = -1;
    doc.Items(1).PenaltyPoints = -1;
    doc.SetCurrentIndex(1);
    EXPECT_FALSE(doc.SelectNextItem());
    EXPECT_EQ(doc.CurrentIndex(), 1);

    TVocabFile empty;
    EXPECT_FALSE(empty.SelectNextItem());
    EXPECT_EQ(empty.CurrentIndex(), -1);
}

TEST(SelectNextItem, CountersFromAFileNeverHideAnUnlearntItem) {
    // Values no session produces (last tested beyond the attempt count, huge
    // points, other negatives) must neither overflow nor end the test early.
    TVocabFile doc;
    Build(doc, {{"ahead", "", 2000000000, 2000000000}, {"odd", "", 0, -7}});
    doc.SetCurrentIndex(0);
    Random::Seed(1);
    ASSERT_TRUE(doc.SelectNextItem());
    EXPECT_EQ(doc.CurrentIndex(), 0);
    EXPECT_EQ(doc.LearntCount(), 1); // any negative counts as learnt
    doc.RecordAnswer(false, 3);      // points capped to the maximum first
    EXPECT_EQ(doc.CurrentItem().PenaltyPoints, 3);
    doc.SetCurrentIndex(1);
    EXPECT_EQ(ErrorOf([&] { doc.RecordAnswer(true, 0); }), "Invalid procedure call.");
}

struct Step {
    bool correct;
    int32_t max;
    int32_t pointsAfter;
};

TEST(RecordAnswer, PenaltyPointArithmetic) {
    struct Case {
        const char* name;
        int32_t startPoints;
        bool onlyUnlearnt;
        std::vector<Step> steps;
    };
    const std::vector<Case> cases = {
        {"max 3, four wrong, then four right",
         0,
         false,
         {{false, 3, 1},
          {false, 3, 2},
          {false, 3, 3},
          {false, 3, 3},
          {true, 3, 2},
          {true, 3, 1},
          {true, 3, 0},
          {true, 3, -1}}},
        {"max 2, three wrong, three right",
         0,
         false,
         {{false, 2, 1}, {false, 2, 2}, {false, 2, 2}, {true, 2, 1}, {true, 2, 0}, {true, 2, -1}}},
        {"maximum lowered from 5 to 2 before the answer counts",
         5,
         false,
         {{false, 2, 2}, {true, 2, 1}}},
        {"lowered maximum, right answer", 5, false, {{true, 2, 1}}},
        {"penalty points off", 0, false, {{false, 0, 0}, {false, 0, 0}, {true, 0, -1}}},
        {"switched off with points held", 3, false, {{false, 0, 0}}},
        {"switched off, right answer with points held", 3, false, {{true, 0, -1}}},
        {"last unlearnt item learnt by one right answer", 3, true, {{false, 3, 3}, {true, 3, -1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TVocabFile doc;
        Build(doc, {{"target", "", 0, c.startPoints}, {"other", "", 0, c.onlyUnlearnt ? -1 : 0}});
        int32_t attempts = 0;
        int32_t successes = 0;
        for (const Step& s : c.steps) {
            doc.SetCurrentIndex(0);
            doc.RecordAnswer(s.correct, s.max);
            ++attempts;
            successes += s.correct ? 1 : 0;
            EXPECT_EQ(doc.Items(0).PenaltyPoints, s.pointsAfter);
            EXPECT_EQ(doc.Items(0).LastTested, attempts);
            EXPECT_EQ(doc.AttemptCount(), attempts);
            EXPECT_EQ(doc.SuccessCount(), successes);
        }
        EXPECT_EQ(doc.Items(1).LastTested, 0);
    }
}

TEST(RecordAnswer, EmptiesHistoryAndMarksModified) {
    TVocabFile doc;
    Build(doc, {{"a"}, {"b"}});
    doc.Undo();
    ASSERT_EQ(doc.RedoKind(), ukAdd);
    doc.SetCurrentIndex(0);
    doc.RecordAnswer(true, 0);
    EXPECT_EQ(doc.UndoKind(), ukNone);
    EXPECT_EQ(doc.RedoKind(), ukNone);
    EXPECT_EQ(doc.UndoStepCount(), 0);
    EXPECT_EQ(doc.SavedPosition(), -1);
    EXPECT_TRUE(doc.Modified());
}

TEST(RecordAnswer, RefusalsChangeNothing) {
    TVocabFile doc;
    Build(doc, {{"a", "", 0, -1}, {"b", "", 0, 2}});
    const int32_t steps = doc.UndoStepCount();
    doc.SetCurrentIndex(-1);
    EXPECT_EQ(ErrorOf([&] { doc.RecordAnswer(true, 3); }), "No current item");
    doc.SetCurrentIndex(0);
    EXPECT_EQ(ErrorOf([&] { doc.RecordAnswer(true, 3); }), "Invalid procedure call.");
    doc.SetCurrentIndex(1);
    EXPECT_EQ(ErrorOf([&] { doc.RecordAnswer(true, -1); }), "Invalid procedure call.");
    EXPECT_EQ(doc.AttemptCount(), 0);
    EXPECT_EQ(doc.Items(1).PenaltyPoints, 2);
    EXPECT_EQ(doc.Items(1).LastTested, 0);
    EXPECT_EQ(doc.UndoStepCount(), steps);
}

TEST(ResetStatistics, ClearsEveryCounter) {
    TVocabFile doc;
    Build(doc, {{"a", "", 3, -1}, {"b", "", 5, 4}, {"c"}});
    doc.SetCurrentIndex(2);
    doc.RecordAnswer(true, 0);
    std::ostringstream saved;
    doc.SaveToStream(saved); // saved state
    ASSERT_FALSE(doc.Modified());
    doc.ResetStatistics();
    for (int32_t i = 0; i < doc.Count(); ++i) {
        EXPECT_EQ(doc.Items(i).LastTested, 0);
        EXPECT_EQ(doc.Items(i).PenaltyPoints, 0);
    }
    EXPECT_EQ(doc.AttemptCount(), 0);
    EXPECT_EQ(doc.SuccessCount(), 0);
    EXPECT_EQ(doc.LearntCount(), 0);
    EXPECT_EQ(doc.UndoStepCount(), 0);
    EXPECT_EQ(doc.SavedPosition(), -1);
    EXPECT_TRUE(doc.Modified());
}

TEST(ChooseChoices, FourPassesInOrder) {
    TVocabFile doc;
    Build(doc, {{"cur", "noun"},
                {"n1", "noun"},
                {"n2", "noun"},
                {"nL", "noun", 0, -1},
                {"v1", "verb"},
                {"v2", "verb"},
                {"vL1", "verb", 0, -1},
                {"vL2", "verb", 0, -1},
                {"Noun", "Noun"}}); // case decides the part of speech
    doc.SetCurrentIndex(0);
    const std::set<std::string> unlearntNouns{"n1", "n2"};
    const std::set<std::string> otherUnlearnt{"v1", "v2", "Noun"};
    struct Case {
        int32_t count;
        std::set<std::string> always;   // must all be present
        std::set<std::string> fillFrom; // the rest comes from here
        size_t size;
    };
    const std::vector<Case> cases = {
        {1, {"cur"}, {}, 1},
        {3, {"cur", "n1", "n2"}, {}, 3},
        {4, {"cur", "n1", "n2", "nL"}, {}, 4},
        {5, {"cur", "n1", "n2", "nL"}, otherUnlearnt, 5},
        {7, {"cur", "n1", "n2", "nL", "v1", "v2", "Noun"}, {}, 7},
        {8, {"cur", "n1", "n2", "nL", "v1", "v2", "Noun"}, {"vL1", "vL2"}, 8},
        {100, {"cur", "n1", "n2", "nL", "v1", "v2", "Noun", "vL1", "vL2"}, {}, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        std::set<size_t> currentPositions;
        for (uint64_t seed = 0; seed < 60; ++seed) {
            Random::Seed(seed);
            const auto choices = doc.ChooseChoices(c.count);
            ASSERT_EQ(choices.size(), c.size);
            std::set<std::string> words;
            for (const TVocabItem* item : choices)
                words.insert(item->Word);
            ASSERT_EQ(words.size(), choices.size()) << "an item offered twice";
            for (const auto& w : c.always)
                EXPECT_TRUE(words.count(w)) << w;
            for (const auto& w : words)
                EXPECT_TRUE(c.always.count(w) || c.fillFrom.count(w)) << w;
            const auto at = std::find(choices.begin(), choices.end(), &doc.CurrentItem());
            currentPositions.insert(static_cast<size_t>(at - choices.begin()));
        }
        // The right answer lands anywhere in the list.
        EXPECT_EQ(currentPositions.size(), c.size);
    }
}

TEST(ChooseChoices, EmptyPartOfSpeechMatchesEmptyAndErrors) {
    TVocabFile doc;
    Build(doc, {{"cur"}, {"blank"}, {"verb", "verb"}});
    doc.SetCurrentIndex(0);
    for (uint64_t seed = 0; seed < 20; ++seed) {
        Random::Seed(seed);
        const auto choices = doc.ChooseChoices(2);
        ASSERT_EQ(choices.size(), 2u);
        EXPECT_TRUE(choices[0]->Word == "blank" || choices[1]->Word == "blank");
    }
    EXPECT_EQ(ErrorOf([&] { doc.ChooseChoices(0); }), "Invalid parameter.");
    EXPECT_EQ(ErrorOf([&] { doc.ChooseChoices(-5); }), "Invalid parameter.");
    doc.SetCurrentIndex(-1);
    EXPECT_EQ(ErrorOf([&] { doc.ChooseChoices(4); }), "No current item");
    // Drawing choices is no change to the document.
    EXPECT_EQ(doc.UndoKind(), ukAdd);
}

TEST(ChooseChoices, ReproducibleWithASeed) {
    TVocabFile doc;
    std::vector<ItemRow> rows;
    std::vector<std::string> words;
    for (int i = 0; i < 50; ++i)
        words.push_back("w" + std::to_string(i));
    for (const auto& w : words)
        rows.push_back({w.c_str(), (w.size() % 2) ? "a" : "b"});
    Build(doc, rows);
    doc.SetCurrentIndex(7);
    Random::Seed(42);
    const auto first = doc.ChooseChoices(10);
    Random::Seed(42);
    EXPECT_EQ(doc.ChooseChoices(10), first);
}

} // namespace

namespace {

// A document loaded with the given counters (only a file can set them).
void LoadCounters(TVocabFile& doc, int32_t attempts, int32_t successes) {
    auto le = [](int32_t v) {
        std::string bytes(4, '\0');
        for (int k = 0; k < 4; ++k)
            bytes[static_cast<size_t>(k)] =
                static_cast<char>((static_cast<uint32_t>(v) >> (8 * k)) & 0xFF);
        return bytes;
    };
    std::istringstream in("Vocalore 2" + std::string("\x09\x04\x09\x04", 4) + le(attempts) +
                          le(successes) + std::string(20, '\0'));
    doc.LoadFromStream(in);
}

} // namespace

TEST(RecordAnswer, CountersStopAtTheirLargestValue) {
    constexpr int32_t most = std::numeric_limits<int32_t>::max();
    TVocabFile doc;
    LoadCounters(doc, most, most);
    Build(doc, {{"dog"}, {"cat"}, {"cow"}});
    doc.SetCurrentIndex(0);
    doc.RecordAnswer(true, 3);
    EXPECT_EQ(doc.AttemptCount(), most);
    EXPECT_EQ(doc.SuccessCount(), most);
    EXPECT_EQ(doc.Items(0).LastTested, most); // answered, and most recently
    doc.SetCurrentIndex(1);
    doc.RecordAnswer(false, 3);
    EXPECT_EQ(doc.AttemptCount(), most);
    EXPECT_EQ(doc.Items(1).LastTested, most);
    EXPECT_EQ(doc.Items(1).PenaltyPoints, 1);
    // The never-answered item has the largest gap and comes next.
    Random::Seed(3);
    ASSERT_TRUE(doc.SelectNextItem());
    EXPECT_EQ(doc.CurrentIndex(), 2);

    // One below the largest value still counts up to it.
    TVocabFile below;
    LoadCounters(below, most - 1, 5);
    Build(below, {{"dog"}, {"cat"}});
    below.SetCurrentIndex(0);
    below.RecordAnswer(true, 3);
    EXPECT_EQ(below.AttemptCount(), most);
    EXPECT_EQ(below.SuccessCount(), 6);
    EXPECT_EQ(below.Items(0).LastTested, most);

    // A damaged negative count never makes an answered item look unanswered.
    TVocabFile negative;
    LoadCounters(negative, -5, 0);
    Build(negative, {{"dog"}, {"cat"}});
    negative.SetCurrentIndex(0);
    negative.RecordAnswer(false, 3);
    EXPECT_GT(negative.Items(0).LastTested, 0);
}

// A never-answered item weighs (item count - 1) x (points + 1): with five
// items it ties with an item answered two attempts ago holding one point,
// and the tie goes either way by the shuffle.
TEST(SelectNextItem, NeverAnsweredGapIsTheItemCountLessOne) {
    std::set<int32_t> chosen;
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        TVocabFile doc;
        Build(doc, {{"scratch", "", 0, -1},
                    {"tested", "", 8, 1},
                    {"never"},
                    {"l1", "", 0, -1},
                    {"l2", "", 0, -1}});
        SetAttempts(doc, 10, 0);
        doc.Items(0).PenaltyPoints = -1;
        Random::Seed(seed);
        ASSERT_TRUE(doc.SelectNextItem());
        chosen.insert(doc.CurrentIndex());
    }
    EXPECT_EQ(chosen, (std::set<int32_t>{1, 2}));
}

// The choices are shuffled: the current item turns up in every place.
TEST(ChooseChoices, TheCurrentItemTakesEveryPlace) {
    TVocabFile doc;
    Build(doc, {{"a", "n"}, {"b", "n"}, {"c", "n"}, {"d", "n"}});
    doc.SetCurrentIndex(0);
    std::set<size_t> places;
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        Random::Seed(seed);
        const auto choices = doc.ChooseChoices(4);
        ASSERT_EQ(choices.size(), 4u);
        places.insert(static_cast<size_t>(std::find(choices.begin(), choices.end(), &doc.Items(0)) -
                                          choices.begin()));
    }
    EXPECT_EQ(places, (std::set<size_t>{0, 1, 2, 3}));
}
