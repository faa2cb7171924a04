#include "TestPanel.h"

#include "ui/common/DialogHelpers.h"
#include "ui/testing/ChoiceList.h"
#include "ui/textentry/SymbolEdit.h"

#include "core/CodePage.h"
#include "settings/Options.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace vocalore {

namespace {

// Design positions in pixels.
constexpr int RowLeft = 12;
constexpr int RowWidth = 501;
constexpr int RowHeight = 27;
constexpr int UpperRowTop = 54;
constexpr int LowerRowTop = 86;
constexpr int RowGap = 12;
constexpr int MinFieldColumn = 90;
constexpr int CategoryWidth = 83;
constexpr int ButtonHeight = 25;
constexpr int GlyphSize = 20;

QString Decode(const std::string& bytes, uint16_t language) {
    return QString::fromStdU16String(ToUtf16(bytes, language));
}

QColor WindowText() { return QApplication::palette().color(QPalette::Text); }

int TextWidth(const QWidget* widget, const QString& text) {
    return widget->fontMetrics().horizontalAdvance(text);
}

// Black on white, as the two hidden source pictures hold them.
QImage GlyphPicture(bool right) {
    QImage image(GlyphSize, GlyphSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    if (right) {
        painter.drawLine(4, 10, 8, 14);
        painter.drawLine(8, 14, 16, 4);
    } else {
        painter.drawLine(5, 5, 15, 15);
        painter.drawLine(15, 5, 5, 15);
    }
    return image;
}

} // namespace

QColor ColourFromBgr(uint32_t colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

QImage ResultGlyph(bool right, uint32_t colour) {
    QImage image = GlyphPicture(right);
    const QRgb white = qRgb(255, 255, 255);
    const QRgb black = qRgb(0, 0, 0);
    const QRgb target = ColourFromBgr(colour).rgb();
    if ((colour & 0xFFFFFF) == 0xFFFFFF) {
        // A white glyph on a white ground would vanish.
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) == white)
                    image.setPixel(x, y, qRgb(255, 0, 0));
    }
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == black)
                image.setPixel(x, y, target);
    // The colour of the bottom-left pixel is the background, drawn transparent.
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb background = image.pixel(0, image.height() - 1);
    for (int y = 0; y < result.height(); ++y)
        for (int x = 0; x < result.width(); ++x)
            if (image.pixel(x, y) == background)
                result.setPixel(x, y, qRgba(0, 0, 0, 0));
    return result;
}

// The paint box of the question: the panel paints it.
class TQuestionBox final : public QWidget {
public:
    TQuestionBox(TTestPanel& panel, QWidget* parent) : QWidget(parent), FPanel(panel) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        FPanel.pbQuestionPaint(painter);
    }

private:
    TTestPanel& FPanel;
};

TTestPanel::TTestPanel(TTestPanelHost& host, QWidget* parent) : QFrame(parent), FHost(host) {
    setObjectName(QStringLiteral("pnlTest"));
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Plain);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);

    FQuestionFont = QFont(QStringLiteral("Times New Roman"));
    FQuestionFont.setPixelSize(16);
    FQuestionBoldFont = FQuestionFont;
    FQuestionBoldFont.setBold(true);
    FQuestionItalicFont = FQuestionFont;
    FQuestionItalicFont.setItalic(true);

    pbQuestion = new TQuestionBox(*this, this);
    pbQuestion->setObjectName(QStringLiteral("pbQuestion"));
    pbQuestion->setFont(FQuestionFont);
    imgResult = new QLabel(this);
    imgResult->setObjectName(QStringLiteral("imgResult"));
    imgResult->setAlignment(Qt::AlignCenter);
    imgResult->hide();
    bvlTest = new QFrame(this);
    bvlTest->setObjectName(QStringLiteral("bvlTest"));
    bvlTest->setFrameShape(QFrame::HLine);
    bvlTest->setFrameShadow(QFrame::Raised);

    pnlNotes = new QWidget(this);
    pnlNotes->setObjectName(QStringLiteral("pnlNotes"));
    lblCategory = new QLabel(QStringLiteral("Part of speech:"), pnlNotes);
    lblCategory->setObjectName(QStringLiteral("lblCategory"));
    edtCategory = new TSymbolEdit(pnlNotes);
    edtCategory->setObjectName(QStringLiteral("edtCategory"));
    edtCategory->setReadOnly(true);
    edtCategory->setFocusPolicy(Qt::NoFocus);
    edtCategory->SetTag(TagNative);
    lblNotes = new QLabel(QStringLiteral("Notes:"), pnlNotes);
    lblNotes->setObjectName(QStringLiteral("lblNotes"));
    edtNotes = new TSymbolEdit(pnlNotes);
    edtNotes->setObjectName(QStringLiteral("edtNotes"));
    edtNotes->SetTag(TagNative);
    QFont italic = FQuestionItalicFont;
    edtCategory->setFont(italic);
    edtNotes->setFont(italic);
    SetLabelLook(edtCategory, true);
    {
        QPalette colours = edtCategory->palette();
        colours.setColor(QPalette::Text, QApplication::palette().color(QPalette::WindowText));
        edtCategory->setPalette(colours);
    }

    pnlResponse = new QWidget(this);
    pnlResponse->setObjectName(QStringLiteral("pnlResponse"));
    lblResponse = new QLabel(QStringLiteral("Translation(s):"), pnlResponse);
    lblResponse->setObjectName(QStringLiteral("lblResponse"));
    edtResponse = new TSymbolEdit(pnlResponse);
    edtResponse->setObjectName(QStringLiteral("edtResponse"));
    edtResponse->setFont(FQuestionFont);
    lblResponse->setBuddy(edtResponse);

    lbResponse = new TChoiceList(this);
    lbResponse->hide();

    pnlButtons = new QWidget(this);
    pnlButtons->setObjectName(QStringLiteral("pnlButtons"));
    pnlTestStatus = new QLabel(pnlButtons);
    pnlTestStatus->setObjectName(QStringLiteral("pnlTestStatus"));
    pnlTestStatus->setFrameShape(QFrame::Panel);
    pnlTestStatus->setFrameShadow(QFrame::Sunken);
    pnlTestStatus->setAlignment(Qt::AlignCenter);
    pnlTestStatus->setAttribute(Qt::WA_TransparentForMouseEvents);
    btnToggleAnswer = new QPushButton(QStringLiteral("Your &Answer"), pnlButtons);
    btnToggleAnswer->setObjectName(QStringLiteral("btnToggleAnswer"));
    btnToggleAnswer->setEnabled(false);
    btnEnter = new QPushButton(QStringLiteral("Enter"), pnlButtons);
    btnEnter->setObjectName(QStringLiteral("btnEnter"));
    btnEnter->setDefault(true);
    // Both buttons as wide as the longer caption needs in this style.
    btnToggleAnswer->setText(QStringLiteral("Correct &Answer"));
    const int buttonWidth = std::max(93, btnToggleAnswer->sizeHint().width() + 4);
    btnToggleAnswer->setText(QStringLiteral("Your &Answer"));
    FButtonWidth = buttonWidth;

    timAnswer = new QTimer(this);
    timAnswer->setObjectName(QStringLiteral("timAnswer"));
    timAnswer->setSingleShot(true);

    connect(btnEnter, &QPushButton::clicked, this, &TTestPanel::btnEnterClick);
    connect(btnToggleAnswer, &QPushButton::clicked, this, &TTestPanel::btnToggleAnswerClick);
    connect(timAnswer, &QTimer::timeout, this, &TTestPanel::timAnswerTimer);
    connect(lbResponse, &TChoiceList::EntryClicked, this, [this] {
        if (!Session().Answered())
            btnEnterClick();
    });

    // The field column leaves room for the widest row label in this font.
    const int labels = std::max({TextWidth(lblCategory, lblCategory->text()),
                                 TextWidth(lblResponse, QStringLiteral("Translation(s):")),
                                 TextWidth(lblResponse, QStringLiteral("Word/phrase:"))});
    FFieldColumn = std::max(MinFieldColumn, labels + 8);
    // Never narrower than its design width: the result glyph and Continue
    // sit at the right edge and would be cut off.
    setMinimumWidth(RowLeft * 2 + RowWidth + 2 * frameWidth());
    PlaceControls();
}

TTestPanel::~TTestPanel() = default;

void TTestPanel::SetDelayUnit(int milliseconds) { FDelayUnit = std::max(1, milliseconds); }

void TTestPanel::PlaceControls() {
    const int width = std::max(this->width(), RowLeft * 2 + RowWidth);
    pbQuestion->setGeometry(12, 14, width - 57, 25);
    imgResult->setGeometry(width - 45, 4, 33, 35);
    bvlTest->setGeometry(12, 40, width - 24, 2);

    const int column = FFieldColumn;
    lblCategory->setGeometry(0, 0, column, RowHeight);
    edtCategory->setGeometry(column, 0, CategoryWidth, RowHeight);
    const int notesLabel = column + CategoryWidth + 21;
    const int notesLabelWidth = TextWidth(lblNotes, lblNotes->text()) + 6;
    lblNotes->setGeometry(notesLabel, 0, notesLabelWidth, RowHeight);
    const int notesEdit = notesLabel + std::max(52, notesLabelWidth);
    edtNotes->setGeometry(notesEdit, 0, RowWidth - notesEdit, RowHeight);
    lblResponse->setGeometry(0, 0, column, RowHeight);
    edtResponse->setGeometry(column, 0, RowWidth - column, RowHeight);

    const int upper = UpperRowTop;
    const int lower = LowerRowTop;
    pnlNotes->setGeometry(RowLeft, FNotesOnTop ? upper : lower, RowWidth, RowHeight);
    pnlResponse->setGeometry(RowLeft, FNotesOnTop ? lower : upper, RowWidth, RowHeight);

    const int listLeft = RowLeft + column;
    const int rows = std::clamp(FHost.TestOptions().NumChoices, 3, 10);
    lbResponse->setGeometry(listLeft, UpperRowTop, RowLeft + RowWidth - listLeft,
                            lbResponse->HeightForRows(rows));
    // The list's visibility, not the session, says which layout is shown: the
    // panel is built (and placed) before the session it shows exists.
    const int bottom =
        lbResponse->isHidden() ? lower + RowHeight : lbResponse->geometry().bottom() + 1;
    // The buttons end where the rows end; the status panel takes the rest.
    const int buttonsWidth = RowLeft + RowWidth - listLeft;
    pnlButtons->setGeometry(listLeft, bottom + RowGap, buttonsWidth, ButtonHeight);
    btnEnter->setGeometry(buttonsWidth - FButtonWidth, 0, FButtonWidth, ButtonHeight);
    btnToggleAnswer->setGeometry(buttonsWidth - 2 * FButtonWidth - 5, 0, FButtonWidth,
                                 ButtonHeight);
    pnlTestStatus->setGeometry(0, 0, std::max(0, buttonsWidth - 2 * FButtonWidth - 11),
                               ButtonHeight);
}

void TTestPanel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    PlaceControls();
}

void TTestPanel::LayoutPanel() {
    const TTestSession& session = Session();
    const TVocabFile& document = Document();
    const bool active = session.Mode() == tmActive;
    const uint16_t answerLanguage = active ? document.ForeignLangID : document.NativeLangID;
    lblResponse->setText(active ? QStringLiteral("Word/phrase:")
                                : QStringLiteral("Translation(s):"));
    const bool choice = session.MultipleChoice();
    lbResponse->setVisible(choice);
    pnlResponse->setVisible(!choice);
    pnlNotes->setVisible(!choice);
    if (choice) {
        lbResponse->SetLanguages(session.Mode(), document.ForeignLangID, document.NativeLangID);
        SetControlTag(lbResponse, active ? TagForeign : TagNative);
    } else {
        edtResponse->SetLanguage(answerLanguage);
        edtResponse->SetTag(active ? TagForeign : TagNative);
        // Part of speech and notes are native-language texts in either mode.
        edtCategory->SetLanguage(document.NativeLangID);
        edtNotes->SetLanguage(document.NativeLangID);
    }
    FNotesOnTop = !active;
    QWidget* upper = FNotesOnTop ? static_cast<QWidget*>(edtNotes) : edtResponse;
    QWidget* lower = FNotesOnTop ? static_cast<QWidget*>(edtResponse) : edtNotes;
    setTabOrder(upper, lower);
    setTabOrder(lower, lbResponse);
    setTabOrder(lbResponse, btnEnter);
    setTabOrder(btnEnter, btnToggleAnswer);
    PlaceControls();
}

void TTestPanel::SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette colours = widget->palette();
    if (colours.color(QPalette::Text) == colour)
        return;
    colours.setColor(QPalette::Text, colour);
    widget->setPalette(colours);
}

void TTestPanel::SetLabelLook(TSymbolEdit* edit, bool label) {
    QPalette colours = edit->palette();
    colours.setColor(QPalette::Base, label ? palette().color(QPalette::Window)
                                           : QApplication::palette().color(QPalette::Base));
    edit->setPalette(colours);
    edit->setFrame(!label);
}

void TTestPanel::ShowQuestion() {
    const TTestSession& session = Session();
    const TVocabItem& item = Document().CurrentItem();
    pbQuestion->update();
    imgResult->hide();
    FShowingOwnAnswer = false;
    if (session.MultipleChoice()) {
        lbResponse->setEnabled(true);
        lbResponse->SetTextColour(WindowText());
        lbResponse->SetChoices(session.Choices());
        lbResponse->setFocus();
    } else {
        SetTextColour(edtResponse, WindowText());
        edtResponse->clear();
        edtResponse->setReadOnly(false);
        edtCategory->SetBytes(item.Category);
        edtCategory->setCursorPosition(0);
        SetTextColour(edtNotes, WindowText());
        const bool notes = session.NotesTested();
        edtNotes->setFocusPolicy(notes ? Qt::StrongFocus : Qt::NoFocus);
        edtNotes->setReadOnly(!notes);
        SetLabelLook(edtNotes, !notes);
        if (notes)
            edtNotes->clear();
        else
            edtNotes->SetBytes(item.Notes);
        edtNotes->setCursorPosition(0);
        if (session.Mode() == tmPassive && notes)
            edtNotes->setFocus();
        else
            edtResponse->setFocus();
    }
    timAnswer->stop();
    btnEnter->setEnabled(true);
    btnEnter->setText(QStringLiteral("Enter"));
    btnToggleAnswer->setEnabled(false);
    btnToggleAnswer->setText(QStringLiteral("Your &Answer"));
    pnlTestStatus->clear();
    FHost.QuestionShown();
}

void TTestPanel::ShowFeedback() {
    const TTestSession& session = Session();
    const TOptions& options = Options();
    const bool correct = session.Correct();
    pnlTestStatus->setText(correct ? QStringLiteral("Right!") : QStringLiteral("Wrong!"));
    imgResult->setPixmap(QPixmap::fromImage(
        ResultGlyph(correct, correct ? options.ColourRight : options.ColourWrong)));
    imgResult->show();
    if (session.MultipleChoice()) {
        lbResponse->setEnabled(false);
    } else {
        edtResponse->setReadOnly(true);
        if (session.NotesTested())
            edtNotes->setReadOnly(true);
    }
    FShowingOwnAnswer = false;
    DisplayAnswer();
    btnToggleAnswer->setEnabled(!correct);
    btnEnter->setText(QStringLiteral("Continue"));
    btnEnter->setEnabled(true);
    btnEnter->setFocus();
    const int delay = std::clamp(options.Delay, 0, 20);
    if (!correct && delay > 0) {
        btnEnter->setEnabled(false);
        timAnswer->start(delay * FDelayUnit);
    }
    FHost.FeedbackShown();
}

void TTestPanel::DisplayAnswer() {
    const TTestSession& session = Session();
    const TOptions& options = Options();
    const TVocabItem& item = Document().CurrentItem();
    const QColor right = ColourFromBgr(options.ColourRight);
    const QColor wrong = ColourFromBgr(options.ColourWrong);
    btnToggleAnswer->setText(FShowingOwnAnswer ? QStringLiteral("Correct &Answer")
                                               : QStringLiteral("Your &Answer"));
    if (session.MultipleChoice()) {
        if (FShowingOwnAnswer) {
            std::vector<const TVocabItem*> chosen;
            if (session.ChosenItem())
                chosen.push_back(session.ChosenItem());
            lbResponse->SetChoices(chosen);
            lbResponse->SetTextColour(WindowText());
        } else {
            lbResponse->SetChoices({&item});
            lbResponse->SetTextColour(session.Correct() ? right : wrong);
        }
        return;
    }
    if (FShowingOwnAnswer) {
        edtResponse->SetBytes(session.Response());
        SetTextColour(edtResponse, WindowText());
        if (session.NotesTested()) {
            edtNotes->SetBytes(session.NotesResponse());
            SetTextColour(edtNotes, WindowText());
        }
    } else {
        edtResponse->SetBytes(ExpectedText(item, session.Mode()));
        SetTextColour(edtResponse, session.WordCorrect() ? right : wrong);
        if (session.NotesTested()) {
            edtNotes->SetBytes(item.Notes);
            SetTextColour(edtNotes, session.NotesCorrect() ? right : wrong);
        }
    }
    edtResponse->setCursorPosition(0);
    edtNotes->setCursorPosition(0);
}

void TTestPanel::btnToggleAnswerClick() {
    if (!Session().Answered())
        return;
    FShowingOwnAnswer = !FShowingOwnAnswer;
    DisplayAnswer();
}

void TTestPanel::timAnswerTimer() {
    timAnswer->stop();
    btnEnter->setEnabled(true);
    QWidget* focused = QApplication::focusWidget();
    if (!focused || isAncestorOf(focused))
        btnEnter->setFocus();
}

void TTestPanel::btnEnterClick() {
    FHost.RunTestCommand([this] {
        TTestSession& session = Session();
        if (!session.Testing() || !btnEnter->isEnabled())
            return;
        TVocabFile& document = FHost.TestDocument();
        if (session.Answered())
            session.Continue(document);
        else if (session.MultipleChoice())
            session.SubmitChoice(document, lbResponse->SelectedItem());
        else
            session.SubmitTyped(document, edtResponse->Bytes(), edtNotes->Bytes());
    });
}

void TTestPanel::LeaveTestView() {
    timAnswer->stop();
    // The entries refer to items; a document opened next may free them.
    lbResponse->SetChoices({});
    FHost.LeaveTestView();
}

void TTestPanel::Beep() { QApplication::beep(); }

void TTestPanel::keyPressEvent(QKeyEvent* event) {
    // btnEnter is the default button: Enter presses it from anywhere in the panel.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        if (btnEnter->isEnabled())
            btnEnterClick();
        return;
    }
    QFrame::keyPressEvent(event);
}

void TTestPanel::mouseReleaseEvent(QMouseEvent* event) {
    // The list is disabled after an answer; a click on it then moves on.
    const TTestSession& session = Session();
    if (session.Testing() && session.MultipleChoice() && session.Answered() &&
        lbResponse->geometry().contains(event->position().toPoint()) && btnEnter->isEnabled()) {
        event->accept();
        btnEnterClick();
        return;
    }
    QFrame::mouseReleaseEvent(event);
}

TAnswerBox TTestPanel::FocusedBox() const {
    const QWidget* focused = CommandFocusWidget();
    if (focused == edtResponse && edtResponse->isVisible() && !edtResponse->isReadOnly())
        return abResponse;
    if (focused == edtNotes && edtNotes->isVisible() && !edtNotes->isReadOnly())
        return abNotes;
    return abOther;
}

TSymbolEdit* TTestPanel::AnswerEdit(TAnswerBox box) const {
    return box == abNotes ? edtNotes : box == abResponse ? edtResponse : nullptr;
}

QString TTestPanel::QuestionText() const {
    const TTestSession& session = Session();
    const TVocabFile& document = Document();
    if (!session.Testing() || document.CurrentIndex() < 0)
        return {};
    const TVocabItem& item = document.CurrentItem();
    return session.Mode() == tmPassive ? Decode(item.Word, document.ForeignLangID)
                                       : Decode(item.Translation, document.NativeLangID);
}

QString TTestPanel::QuestionNotes() const {
    const TTestSession& session = Session();
    const TVocabFile& document = Document();
    if (!session.Testing() || document.CurrentIndex() < 0 || session.Mode() != tmPassive ||
        !session.MultipleChoice())
        return {};
    return Decode(document.CurrentItem().Notes, document.NativeLangID);
}

void TTestPanel::pbQuestionPaint(QPainter& painter) {
    int x = 0;
    auto draw = [&](const QFont& font, const QString& text) {
        if (text.isEmpty())
            return;
        const QFontMetrics metrics(font);
        const QString piece = text + u' ';
        painter.setFont(font);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QPoint(x, metrics.ascent()), piece);
        x += metrics.horizontalAdvance(piece);
    };
    draw(FQuestionBoldFont, QuestionText());
    draw(FQuestionItalicFont, QuestionNotes());
}

} // namespace vocalore
