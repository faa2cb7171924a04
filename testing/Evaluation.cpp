#include "Evaluation.h"

#include "core/TextFunctions.h"

namespace vocalore {

const std::string& ExpectedText(const TVocabItem& item, TTestMode mode) {
    return mode == tmActive ? item.Word : item.Translation;
}

TEvaluation EvaluateTyped(const TVocabItem& item, TTestMode mode, uint16_t modeFlags,
                          uint16_t foreignLangID, uint16_t nativeLangID,
                          const TTypedAnswer& answer) {
    TEvaluation result;
    if (mode == tmActive)
        result.WordCorrect = MatchAnswer(item.Word, answer.Response, foreignLangID,
                                         static_cast<uint16_t>(modeFlags & ~efTranslationList));
    else
        result.WordCorrect = MatchAnswer(item.Translation, answer.Response, nativeLangID,
                                         static_cast<uint16_t>(modeFlags | efTranslationList));
    if (answer.NotesTested)
        result.NotesCorrect = MatchAnswer(item.Notes, answer.NotesResponse, nativeLangID, efNotes);
    result.Correct = result.WordCorrect && result.NotesCorrect;
    return result;
}

} // namespace vocalore
