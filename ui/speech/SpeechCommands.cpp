#include "SpeechCommands.h"

#include "ui/testing/TestCommands.h"
#include "ui/window/MainWindow.h"

#include <QAction>

namespace vocalore {

TSpeechCommands::TSpeechCommands(TMainForm& form)
    : FForm(form), FSpeaker(MakeSpeechBackend(), form.Settings().Speech) {}

std::optional<TSpeechTarget> TSpeechCommands::Target() const {
    const TVocabFile& document = FForm.Document();
    if (document.CurrentIndex() == -1)
        return std::nullopt;
    const TVocabItem& item = document.CurrentItem();
    switch (FForm.ViewMode()) {
    case vmEdit:
        return TSpeechTarget{item.Word, document.ForeignLangID};
    case vmTest: {
        const TTestSession& session = FForm.Testing().Session();
        if (!session.Testing())
            return std::nullopt;
        // The question before the response, the correct answer after it.
        const bool foreign = (session.Mode() == tmPassive) != session.Answered();
        if (foreign)
            return TSpeechTarget{item.Word, document.ForeignLangID};
        return TSpeechTarget{item.Translation, document.NativeLangID};
    }
    case vmNone:
        break;
    }
    return std::nullopt;
}

void TSpeechCommands::SpeakTarget() {
    if (const std::optional<TSpeechTarget> target = Target())
        FSpeaker.Speak(target->Text, target->Language);
}

void TSpeechCommands::miEditSpeakClick() { SpeakTarget(); }

void TSpeechCommands::UpdateCommand(QAction* action) const {
    const std::optional<TSpeechTarget> target = Target();
    // Without a target the service's own trouble is still worth telling.
    const QString why = target
                            ? FSpeaker.Unavailable(target->Language)
                            : (FSpeaker.Status() == ssReady ? QString() : FSpeaker.Unavailable(0));
    const bool enabled = target && why.isEmpty();
    if (action->isEnabled() != enabled)
        action->setEnabled(enabled);
    const QString hint = why.isEmpty() ? QString::fromLatin1(SpeakHint) : why;
    if (action->statusTip() != hint)
        action->setStatusTip(hint);
}

void TSpeechCommands::QuestionShown() {
    if (FForm.Settings().Speech.SpeakQuestion)
        SpeakTarget();
}

void TSpeechCommands::FeedbackShown() {
    if (FForm.Settings().Speech.SpeakAnswer)
        SpeakTarget();
}

void TSpeechCommands::StopSpeaking() { FSpeaker.Stop(); }

} // namespace vocalore
