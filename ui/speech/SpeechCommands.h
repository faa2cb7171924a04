#pragma once
// The Speak command (F5) and the automatic speaking while testing: in the
// grid the current word or phrase, in the test panel the question, and after
// a response the correct answer. Owns the speaker; the main window forwards
// the command, the idle pass and the moments speech must stop.

#include "ui/speech/Speaker.h"

#include <cstdint>
#include <optional>
#include <string>

class QAction;

namespace vocalore {

class TMainForm;

// What Speak reads at this moment: the item text and its language.
struct TSpeechTarget {
    std::string Text;
    uint16_t Language = 0;
};

inline constexpr const char* SpeakHint = "Speaks the current word, question or answer aloud";

class TSpeechCommands {
public:
    explicit TSpeechCommands(TMainForm& form);

    void miEditSpeakClick();
    // Speak's enabled state, and a status-bar hint that says why it is off.
    void UpdateCommand(QAction* action) const;
    // The test panel shows a new question, or the judgement of a response.
    void QuestionShown();
    void FeedbackShown();
    // Leaving the test, closing the document or the window silences the voice.
    void StopSpeaking();

    std::optional<TSpeechTarget> Target() const;
    TSpeaker& Speaker() { return FSpeaker; }

private:
    void SpeakTarget();

    TMainForm& FForm;
    TSpeaker FSpeaker;
};

} // namespace vocalore
