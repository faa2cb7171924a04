#include "OptionsCommands.h"

#include "ui/options/OptionsDialog.h"
#include "ui/testing/TestCommands.h"
#include "ui/window/MainWindow.h"

#include "core/Languages.h"

namespace vocalore {

void miViewOptionsClick(TMainForm& form) {
    TOptions options = form.Settings().Options;
    if (!TOptionsDialog::Execute(&form, options, form.OptionsPage(),
                                 LanguageCharset(form.Document().ForeignLangID)))
        return;
    form.Settings().Options = options;
    // The question on show follows the new evaluation, feedback and choices.
    if (form.ViewMode() == vmTest)
        form.Testing().OptionsAccepted();
}

} // namespace vocalore
