#pragma once
// The state of a test and the operations that move it on: start and stop,
// submitting an answer, continuing, mode and multiple-choice changes, refresh
// and hints. Everything that needs a window goes through TTestView.
//
// The session never keeps the document: each operation that needs it is handed
// the one installed document. Item references (the choice set, the chosen item)
// stay valid while testing, because the item list can't change then.

#include "testing/Evaluation.h"

#include "core/VocabFile.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace vocalore {

struct TOptions;

// A command refused because it makes no sense in the present state.
class ETestingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* CommandUnavailableText = "Command unavailable.";

// The answer control that has the focus, as far as hints are concerned.
enum TAnswerBox : uint8_t { abOther = 0, abResponse, abNotes };

// What the engine asks of the window around it: the test panel and the main
// window implement it; tests use a scripted double.
class TTestView {
public:
    virtual ~TTestView() = default;
    // Show the test panel in place of the grid, and back.
    virtual void EnterTestView() = 0;
    virtual void LeaveTestView() = 0;
    // Arrange the panel for the session's mode and multiple-choice setting.
    virtual void LayoutPanel() = 0;
    // Set the panel up for the question just prepared (current item, choices).
    virtual void ShowQuestion() = 0;
    // Show the judgement of the answer just recorded.
    virtual void ShowFeedback() = 0;
    virtual void Beep() = 0;
    // An information message box captioned "Vocalore".
    virtual void ShowAllLearnt(const std::string& message) = 0;
    // The Statistics dialog; true when it closed with "Reset statistics"
    // checked. The session resets the document itself.
    virtual bool RunStatisticsDialog(const TVocabFile& document) = 0;
};

// The all-learnt message; congratulations when the last item was learnt just now.
std::string AllLearntMessage(const std::string& fileName, bool congratulations);

class TTestSession {
public:
    // The options record lives for the whole run; the session reads it afresh
    // at every step, so accepted option changes apply at once.
    TTestSession(TTestView& view, const TOptions& options);

    // --- state ---
    bool Testing() const { return FTesting; }
    TTestMode Mode() const { return FMode; }
    bool MultipleChoice() const { return FMultipleChoice; }
    bool Answered() const { return FAnswered; }
    bool HintUsed() const { return FHintUsed; }
    bool NotesTested() const { return FNotesTested; }
    bool WordCorrect() const { return FResult.WordCorrect; }
    bool NotesCorrect() const { return FResult.NotesCorrect; }
    bool Correct() const { return FResult.Correct; }
    const std::string& Response() const { return FResponse; }
    const std::string& NotesResponse() const { return FNotesResponse; }
    const TVocabItem* ChosenItem() const { return FChosenItem; }
    // The multiple-choice set of the current question, in list order.
    const std::vector<const TVocabItem*>& Choices() const { return FChoices; }

    // The remembered mode and multiple-choice flag at start-up; nothing is refreshed.
    void RestoreSettings(TTestMode mode, bool multipleChoice);

    // --- operations ---
    // The Start/Stop command is usable with at least one item.
    static bool CanStartStop(const TVocabFile& document) { return document.Count() > 0; }
    void StartStop(TVocabFile& document);
    void Start(TVocabFile& document);
    void Stop();
    // Submit answer for a typed answer and for a multiple-choice pick (nullptr:
    // nothing selected, which is wrong). Ignored unless a question is being asked.
    void SubmitTyped(TVocabFile& document, const std::string& response,
                     const std::string& notesResponse);
    void SubmitChoice(TVocabFile& document, const TVocabItem* chosen);
    // Next question, or the all-learnt announcement and the end of the test.
    // Ignored unless the question has been answered.
    void Continue(TVocabFile& document);
    void SetMode(TVocabFile& document, TTestMode mode);
    void SetMultipleChoice(TVocabFile& document, bool on);
    // After a mode change or accepted options: the same question again while
    // asking, the next one after an answer.
    void Refresh(TVocabFile& document);

    // --- hints ---
    // The Hint command's enabled state for the focused answer control.
    bool HintEnabled(TAnswerBox focused) const;
    // What the Hint command reveals in that control.
    const std::string& HintTarget(const TVocabFile& document, TAnswerBox focused) const;
    // The control's new text; marks the question as hinted. ETestingError
    // "Command unavailable." when hints are not enabled for the control.
    std::string Hint(const TVocabFile& document, TAnswerBox focused, const std::string& boxText);

    // The penalty maximum for RecordAnswer: 0 with penalty points off.
    int32_t PenaltyMaximum() const;

private:
    bool SelectOrAnnounce(TVocabFile& document);
    void PrepareQuestion(TVocabFile& document);
    void Record(TVocabFile& document, const TEvaluation& result);

    TTestView& FView;
    const TOptions& FOptions;
    bool FTesting = false;
    TTestMode FMode = tmPassive;
    bool FMultipleChoice = false;
    bool FAnswered = false;
    bool FHintUsed = false;
    bool FNotesTested = false;
    TEvaluation FResult;
    std::string FResponse;
    std::string FNotesResponse;
    const TVocabItem* FChosenItem = nullptr;
    std::vector<const TVocabItem*> FChoices;
};

} // namespace vocalore
