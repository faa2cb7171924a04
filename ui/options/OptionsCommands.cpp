#include "OptionsCommands.h"

#include "ui/options/OptionsDialog.h"
#include "ui/speech/SpeechCommands.h"
#include "ui/speech/SpeechPage.h"
#include "ui/testing/TestCommands.h"
#include "ui/window/MainWindow.h"

#include "core/Languages.h"

namespace vocalore {

void miViewOptionsClick(TMainForm& form) {
    TOptions options = form.Settings().Options;
    TSpeechSettings speech = form.Settings().Speech;
    const TVocabFile& document = form.Document();
    // The dialog owns the page; the page edits `speech`.
    auto* speechPage = new TSpeechPage(form.Speech().Speaker(), speech, document.ForeignLangID,
                                       document.NativeLangID);
    if (!TOptionsDialog::Execute(&form, options, form.OptionsPage(),
                                 LanguageCharset(document.ForeignLangID), speechPage))
        return;
    form.Settings().Options = options;
    form.Settings().Speech = speech;
    // The question on show follows the new evaluation, feedback and choices.
    if (form.ViewMode() == vmTest)
        form.Testing().OptionsAccepted();
}

} // namespace vocalore
