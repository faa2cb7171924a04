#include "OptionsCommands.h"

#include "ui/files/RecoveryCopies.h"
#include "ui/files/RecoveryPage.h"
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
    int32_t recoveryMinutes = form.Settings().RecoveryMinutes;
    const TVocabFile& document = form.Document();
    // The dialog owns the pages; each edits its copy above.
    auto* speechPage = new TSpeechPage(form.Speech().Speaker(), speech, document.ForeignLangID,
                                       document.NativeLangID);
    auto* recoveryPage = new TRecoveryPage(recoveryMinutes);
    if (!TOptionsDialog::Execute(&form, options, form.OptionsPage(),
                                 LanguageCharset(document.ForeignLangID),
                                 {speechPage, recoveryPage}))
        return;
    form.Settings().Options = options;
    form.Settings().Speech = speech;
    form.Settings().RecoveryMinutes = recoveryMinutes;
    form.RecoveryCopies().SetInterval(recoveryMinutes);
    // The question on show follows the new evaluation, feedback and choices.
    if (form.ViewMode() == vmTest)
        form.Testing().OptionsAccepted();
}

} // namespace vocalore
