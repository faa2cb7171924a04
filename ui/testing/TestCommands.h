#pragma once
// The Test menu: starting and stopping a test, the mode and multiple-choice
// switches, Hint and Statistics. It owns the test session and the test panel;
// the main window creates it, shows its panel as the test view and forwards
// the commands to it.

#include "ui/testing/TestPanel.h"

#include "testing/TestSession.h"

namespace vocalore {

class TMainForm;

class TTestCommands final : public TTestPanelHost {
public:
    // The panel is created as a child of viewParent.
    TTestCommands(TMainForm& form, QWidget* viewParent);
    ~TTestCommands() override;

    TTestPanel* Panel() const { return pnlTest; }
    TTestSession& Session() override { return FSession; }

    // --- commands ---
    void miTestStartTestingClick();
    void miTestPassiveClick();
    void miTestActiveClick();
    void miTestMultipleChoiceClick();
    void miTestHintClick();
    void miTestStatisticsClick();
    // Options accepted in the Options dialog while testing.
    void OptionsAccepted();
    // The window left the test view by another way (Esc, New, Open).
    void ViewLeft();

    // The Hint command's enabled state for the focused control.
    bool HintEnabled() const;

    // --- TTestPanelHost ---
    TVocabFile& TestDocument() override;
    const TOptions& TestOptions() const override;
    void EnterTestView() override;
    void LeaveTestView() override;
    void ShowAllLearnt(const std::string& message) override;
    bool RunStatisticsDialog(const TVocabFile& document) override;
    void RunTestCommand(const std::function<void()>& action) override;
    void QuestionShown() override;
    void FeedbackShown() override;

private:
    // The mode switches are remembered in the settings between runs.
    void StoreSwitches();

    TMainForm& FForm;
    TTestPanel* pnlTest;
    TTestSession FSession;
};

} // namespace vocalore
