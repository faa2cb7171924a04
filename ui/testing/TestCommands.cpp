#include "TestCommands.h"

#include "ui/common/DialogHelpers.h"
#include "ui/speech/SpeechCommands.h"
#include "ui/testing/StatisticsDialog.h"
#include "ui/textentry/SymbolEdit.h"
#include "ui/window/MainWindow.h"

#include "testing/Progress.h"

namespace vocalore {

TTestCommands::TTestCommands(TMainForm& form, QWidget* viewParent)
    : FForm(form), pnlTest(new TTestPanel(*this, viewParent)),
      FSession(*pnlTest, form.Settings().Options) {}

// The panel goes first: it refers to this object to the end.
TTestCommands::~TTestCommands() { delete pnlTest; }

TVocabFile& TTestCommands::TestDocument() { return FForm.Document(); }

const TOptions& TTestCommands::TestOptions() const { return FForm.Settings().Options; }

void TTestCommands::StoreSwitches() {
    TSettings& settings = FForm.Settings();
    settings.TestMode = static_cast<uint8_t>(FSession.Mode());
    settings.MultipleChoice = FSession.MultipleChoice();
}

void TTestCommands::miTestStartTestingClick() {
    if (FForm.ViewMode() == vmTest) {
        FForm.SetViewMode(vmEdit);
        return;
    }
    const TSettings& settings = FForm.Settings();
    FSession.RestoreSettings(settings.TestMode == 1 ? tmActive : tmPassive,
                             settings.MultipleChoice);
    FSession.Start(TestDocument());
    if (FForm.ViewMode() == vmEdit)
        FForm.RefreshGrid(); // a reset from the all-learnt message shows in the grid
}

void TTestCommands::miTestPassiveClick() {
    FSession.SetMode(TestDocument(), tmPassive);
    StoreSwitches();
}

void TTestCommands::miTestActiveClick() {
    FSession.SetMode(TestDocument(), tmActive);
    StoreSwitches();
}

void TTestCommands::miTestMultipleChoiceClick() {
    FSession.SetMultipleChoice(TestDocument(), !FSession.MultipleChoice());
    StoreSwitches();
}

void TTestCommands::miTestHintClick() {
    const TAnswerBox box = pnlTest->FocusedBox();
    TSymbolEdit* edit = pnlTest->AnswerEdit(box);
    if (!edit)
        throw ETestingError(CommandUnavailableText);
    edit->SetBytes(FSession.Hint(TestDocument(), box, edit->Bytes()));
    edit->end(false);
}

bool TTestCommands::HintEnabled() const {
    return FForm.ViewMode() == vmTest && FSession.HintEnabled(pnlTest->FocusedBox());
}

void TTestCommands::miTestStatisticsClick() {
    TVocabFile& document = TestDocument();
    if (!RunStatisticsDialog(document))
        return;
    // A question on screen stays; its answer is the first one counted afresh.
    document.ResetStatistics();
    if (FForm.ViewMode() == vmEdit)
        FForm.RefreshGrid();
}

void TTestCommands::OptionsAccepted() { FSession.Refresh(TestDocument()); }

void TTestCommands::ViewLeft() { FSession.Stop(); }

void TTestCommands::EnterTestView() { FForm.SetViewMode(vmTest); }

void TTestCommands::LeaveTestView() {
    if (FForm.ViewMode() == vmTest)
        FForm.SetViewMode(vmEdit);
}

void TTestCommands::ShowAllLearnt(const std::string& message) {
    ShowMessageBox(QString::fromLocal8Bit(message.c_str()), {}, TMsgIcon::Information, mbOK, mbNone,
                   &FForm);
}

bool TTestCommands::RunStatisticsDialog(const TVocabFile& document) {
    return TStatisticsDialog::Execute(&FForm, StatisticsFigures(document));
}

void TTestCommands::RunTestCommand(const std::function<void()>& action) {
    FForm.RunCommand(action);
}

void TTestCommands::QuestionShown() { FForm.Speech().QuestionShown(); }

void TTestCommands::FeedbackShown() { FForm.Speech().FeedbackShown(); }

} // namespace vocalore
