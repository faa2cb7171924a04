#pragma once
// The test panel pnlTest: shows the question, takes the typed answer or hosts
// the multiple-choice list, shows the judgement and holds the Enter/Continue
// button. It only displays what the test session decided and passes the
// user's input on; the rules live in the session.

#include "testing/TestSession.h"

#include <QFrame>
#include <QImage>

#include <functional>

class QLabel;
class QPushButton;
class QTimer;

namespace vocalore {

class TChoiceList;
class TSymbolEdit;
struct TOptions;

// What the panel needs from the window around it. The parts of TTestView that
// concern the whole window (switching views, the message box, the Statistics
// dialog) are passed on to it.
class TTestPanelHost {
public:
    virtual ~TTestPanelHost() = default;
    virtual TVocabFile& TestDocument() = 0;
    virtual TTestSession& Session() = 0;
    virtual const TOptions& TestOptions() const = 0;
    virtual void EnterTestView() = 0;
    virtual void LeaveTestView() = 0;
    virtual void ShowAllLearnt(const std::string& message) = 0;
    virtual bool RunStatisticsDialog(const TVocabFile& document) = 0;
    // Runs an action the user started; a failure is shown, not thrown on.
    virtual void RunTestCommand(const std::function<void()>& action) = 0;
    // The question, or the judgement of a response, is now on show.
    virtual void QuestionShown() {}
    virtual void FeedbackShown() {}
};

// The result glyph: a tick (right) or a cross, drawn in `colour` (0x00BBGGRR)
// on a transparent background. For a white glyph the white ground is turned
// red first, so that the glyph itself never becomes the transparent colour.
QImage ResultGlyph(bool right, uint32_t colour);
QColor ColourFromBgr(uint32_t colour);

class TTestPanel : public QFrame, public TTestView {
    Q_OBJECT
public:
    explicit TTestPanel(TTestPanelHost& host, QWidget* parent = nullptr);
    ~TTestPanel() override;

    // --- TTestView ---
    void EnterTestView() override { FHost.EnterTestView(); }
    void LeaveTestView() override;
    void LayoutPanel() override;
    void ShowQuestion() override;
    void ShowFeedback() override;
    void Beep() override;
    void ShowAllLearnt(const std::string& message) override { FHost.ShowAllLearnt(message); }
    bool RunStatisticsDialog(const TVocabFile& document) override {
        return FHost.RunStatisticsDialog(document);
    }

    // The answer box that has the focus and can take a hint's text, if any.
    TAnswerBox FocusedBox() const;
    TSymbolEdit* AnswerEdit(TAnswerBox box) const;
    bool ShowingOwnAnswer() const { return FShowingOwnAnswer; }
    // Milliseconds per second of the answer delay; tests shorten it.
    void SetDelayUnit(int milliseconds);
    // The question as drawn: the bold text and the italic notes after it.
    QString QuestionText() const;
    QString QuestionNotes() const;

    // --- event handlers ---
    void btnEnterClick();
    void btnToggleAnswerClick();
    void timAnswerTimer();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class TQuestionBox;
    void pbQuestionPaint(QPainter& painter);
    void DisplayAnswer();
    void PlaceControls();
    void SetTextColour(QWidget* edit, const QColor& colour);
    void SetLabelLook(TSymbolEdit* edit, bool label);
    TTestSession& Session() const { return FHost.Session(); }
    const TVocabFile& Document() const { return FHost.TestDocument(); }
    const TOptions& Options() const { return FHost.TestOptions(); }

    TTestPanelHost& FHost;
    bool FShowingOwnAnswer = false;
    bool FNotesOnTop = true;
    int FFieldColumn = 90;
    int FDelayUnit = 1000;
    int FButtonWidth = 93;

    QWidget* pbQuestion = nullptr;
    QLabel* imgResult = nullptr;
    QFrame* bvlTest = nullptr;
    QWidget* pnlNotes = nullptr;
    QLabel* lblCategory = nullptr;
    TSymbolEdit* edtCategory = nullptr;
    QLabel* lblNotes = nullptr;
    TSymbolEdit* edtNotes = nullptr;
    QWidget* pnlResponse = nullptr;
    QLabel* lblResponse = nullptr;
    TSymbolEdit* edtResponse = nullptr;
    TChoiceList* lbResponse = nullptr;
    QWidget* pnlButtons = nullptr;
    QLabel* pnlTestStatus = nullptr;
    QPushButton* btnToggleAnswer = nullptr;
    QPushButton* btnEnter = nullptr;
    QTimer* timAnswer = nullptr;
    QFont FQuestionFont;
    QFont FQuestionBoldFont;
    QFont FQuestionItalicFont;
};

} // namespace vocalore
