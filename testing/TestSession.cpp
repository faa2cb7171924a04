#include "TestSession.h"

#include "Hint.h"

#include "core/DisplayRules.h"
#include "settings/Options.h"

#include <algorithm>

namespace vocalore {

std::string AllLearntMessage(const std::string& fileName, bool congratulations) {
    std::string text = congratulations ? "Congratulations!\n\n" : "";
    text += "You have learnt all the vocabulary in " + DocumentTitle(fileName) + ".\n";
    text += "Statistics must be reset before testing resumes...";
    return text;
}

TTestSession::TTestSession(TTestView& view, const TOptions& options)
    : FView(view), FOptions(options) {}

void TTestSession::RestoreSettings(TTestMode mode, bool multipleChoice) {
    FMode = mode == tmActive ? tmActive : tmPassive;
    FMultipleChoice = multipleChoice;
}

int32_t TTestSession::PenaltyMaximum() const {
    // A damaged record must not turn every answer into a refused call.
    return FOptions.UsePenaltyPoints ? std::clamp(FOptions.MaxPenaltyPoints, 1, 5) : 0;
}

void TTestSession::StartStop(TVocabFile& document) {
    if (FTesting)
        Stop();
    else
        Start(document);
}

void TTestSession::Start(TVocabFile& document) {
    if (FTesting || !CanStartStop(document))
        return;
    if (!SelectOrAnnounce(document))
        return;
    FTesting = true;
    FView.EnterTestView();
    FView.LayoutPanel();
    PrepareQuestion(document);
}

void TTestSession::Stop() {
    if (!FTesting)
        return;
    FTesting = false;
    FAnswered = false;
    FChoices.clear();
    FChosenItem = nullptr;
    FView.LeaveTestView();
}

bool TTestSession::SelectOrAnnounce(TVocabFile& document) {
    if (document.SelectNextItem())
        return true;
    FView.ShowAllLearnt(AllLearntMessage(document.FileName(), FTesting));
    if (FView.RunStatisticsDialog(document))
        document.ResetStatistics();
    return document.SelectNextItem();
}

void TTestSession::PrepareQuestion(TVocabFile& document) {
    const TVocabItem& item = document.CurrentItem();
    FNotesTested = !item.Notes.empty() && FOptions.TestNotes[FMode] && !FMultipleChoice;
    FHintUsed = false;
    FAnswered = false;
    FResult = {};
    FResponse.clear();
    FNotesResponse.clear();
    FChosenItem = nullptr;
    if (FMultipleChoice)
        FChoices = document.ChooseChoices(std::clamp(FOptions.NumChoices, 3, 10));
    else
        FChoices.clear();
    FView.ShowQuestion();
}

void TTestSession::SubmitTyped(TVocabFile& document, const std::string& response,
                               const std::string& notesResponse) {
    if (!FTesting || FAnswered)
        return;
    FResponse = response;
    FNotesResponse = notesResponse;
    FChosenItem = nullptr;
    if (FMultipleChoice) {
        // Typed text can't pick a choice: nothing selected.
        Record(document, {false, true, false});
        return;
    }
    const uint16_t flags =
        FMode == tmActive ? FOptions.ActiveEvaluation : FOptions.PassiveEvaluation;
    Record(document,
           EvaluateTyped(document.CurrentItem(), FMode, flags, document.ForeignLangID,
                         document.NativeLangID, {FResponse, FNotesResponse, FNotesTested}));
}

void TTestSession::SubmitChoice(TVocabFile& document, const TVocabItem* chosen) {
    if (!FTesting || FAnswered)
        return;
    FResponse.clear();
    FNotesResponse.clear();
    FChosenItem = chosen;
    const bool correct = chosen != nullptr && chosen == &document.CurrentItem();
    Record(document, {correct, true, correct});
}

void TTestSession::Record(TVocabFile& document, const TEvaluation& result) {
    FResult = result;
    // The feedback shows the judgement; a hinted answer may still count as wrong.
    const bool recorded = result.Correct && !(FHintUsed && FOptions.DisallowHints);
    document.RecordAnswer(recorded, PenaltyMaximum());
    if (!result.Correct && FOptions.Beep)
        FView.Beep();
    if (FOptions.AutoContinue && result.Correct) {
        FAnswered = true;
        Continue(document);
        return;
    }
    FAnswered = true;
    FView.ShowFeedback();
}

void TTestSession::Continue(TVocabFile& document) {
    // Only an answered question moves on; otherwise one would go unrecorded.
    if (!FTesting || !FAnswered)
        return;
    if (SelectOrAnnounce(document))
        PrepareQuestion(document);
    else
        Stop();
}

void TTestSession::SetMode(TVocabFile& document, TTestMode mode) {
    if (mode == FMode)
        return;
    FMode = mode == tmActive ? tmActive : tmPassive;
    Refresh(document);
}

void TTestSession::SetMultipleChoice(TVocabFile& document, bool on) {
    if (on == FMultipleChoice)
        return;
    FMultipleChoice = on;
    Refresh(document);
}

void TTestSession::Refresh(TVocabFile& document) {
    if (!FTesting)
        return;
    if (FAnswered) {
        if (!SelectOrAnnounce(document)) {
            Stop();
            return;
        }
    }
    FView.LayoutPanel();
    PrepareQuestion(document);
}

bool TTestSession::HintEnabled(TAnswerBox focused) const {
    if (!FTesting || FAnswered || FMultipleChoice)
        return false;
    return focused == abResponse || (focused == abNotes && FNotesTested);
}

const std::string& TTestSession::HintTarget(const TVocabFile& document, TAnswerBox focused) const {
    const TVocabItem& item = document.CurrentItem();
    return focused == abNotes ? item.Notes : ExpectedText(item, FMode);
}

std::string TTestSession::Hint(const TVocabFile& document, TAnswerBox focused,
                               const std::string& boxText) {
    if (!HintEnabled(focused))
        throw ETestingError(CommandUnavailableText);
    std::string text = HintText(boxText, HintTarget(document, focused));
    FHintUsed = true;
    return text;
}

} // namespace vocalore
