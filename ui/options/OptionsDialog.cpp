#include "OptionsDialog.h"

#include "ui/common/DialogHelpers.h"
#include "ui/window/Help.h"

#include "core/CodePage.h"
#include "core/Languages.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace vocalore {

namespace {

// Pop-up help of the controls, by help context.
struct TControlHelp {
    int Context;
    const char* Text;
};
constexpr TControlHelp controlHelp[] = {
    {1900, "The key combinations you can give a character to. Choose one to see or change its "
           "character."},
    {1901, "The script the characters are shown in. Choose the script of the character you want."},
    {1902, "The character the chosen key combination types. The blank first entry leaves the key "
           "without a character."},
    {1903, "Takes the characters away from all key combinations."},
    {1904, "Selects the keyboard layout of the language of the field you are typing in."},
    {1905, "New and pasted words go to the end of the list instead of after the current word."},
    {1906, "Reminds you to mark with '@' where a word starts to count for sorting."},
    {1907, "Whether the notes of a word are part of the question, and in which test mode."},
    {1908, "How many answers multiple choice offers, from 3 to 10."},
    {1909, "The rules that judge a typed translation in passive testing."},
    {1910, "The rules that judge a typed word or phrase in active testing."},
    {1911, "The colour of the answer after a correct response."},
    {1912, "Goes on to the next question as soon as the answer is correct."},
    {1913, "The colour of the answer after an incorrect response."},
    {1914, "How many seconds Continue stays unavailable after an incorrect response, from 0 to "
           "20."},
    {1915, "Beeps after an incorrect response."},
    {1916, "Asks the words you get wrong more often, until you have recalled them again."},
    {1917, "The most penalty points one word can collect, from 1 to 5."},
    {1918, "A response counts as incorrect when you used a hint for it."},
};

void SetHelp(QWidget* control, int context) {
    control->setProperty("helpContext", context);
    for (const TControlHelp& help : controlHelp)
        if (help.Context == context)
            control->setWhatsThis(QString::fromLatin1(help.Text));
}

template <typename T> T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QCheckBox* CheckBox(const char* name, const char* caption, int context, QWidget* parent) {
    auto* box = Named(new QCheckBox(QString::fromLatin1(caption), parent), name);
    SetHelp(box, context);
    return box;
}

QGroupBox* Group(const char* name, const char* caption, QWidget* parent) {
    return Named(new QGroupBox(QString::fromLatin1(caption), parent), name);
}

QLabel* Text(const char* name, const char* text, QWidget* parent) {
    auto* label = Named(new QLabel(QString::fromLatin1(text), parent), name);
    label->setWordWrap(true);
    return label;
}

// Number fields take at most two digits.
QValidator* TwoDigits(QObject* parent) {
    return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,2}")),
                                           parent);
}

QComboBox* NumberBox(const char* name, int first, int last, int context, QWidget* parent) {
    auto* box = Named(new QComboBox(parent), name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    for (int n = first; n <= last; ++n)
        box->addItem(QString::number(n));
    box->lineEdit()->setValidator(TwoDigits(box));
    box->lineEdit()->setMaxLength(2);
    box->setMinimumContentsLength(3);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    SetHelp(box, context);
    return box;
}

// A check list tall enough for all of its entries, so that it never scrolls;
// measured when laid out, after the style has settled the row height.
class TCheckListBox final : public QListWidget {
public:
    using QListWidget::QListWidget;
    QSize sizeHint() const override {
        int rows = 0;
        for (int i = 0; i < count(); ++i)
            rows += sizeHintForRow(i);
        const int frame = 2 * frameWidth();
        return {sizeHintForColumn(0) + frame + 8, rows + frame + 2};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }
};

QListWidget* CheckList(const char* name, int count, int context, QWidget* parent) {
    auto* list = Named(new TCheckListBox(parent), name);
    for (int i = 0; i < count; ++i) {
        auto* item = new QListWidgetItem(
            QString::fromLatin1(PassiveEvaluationEntries[static_cast<size_t>(i)].Caption), list);
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Unchecked);
    }
    list->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SetHelp(list, context);
    return list;
}

void LoadCheckList(QListWidget* list, uint16_t flags) {
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setCheckState(
            (flags & PassiveEvaluationEntries[static_cast<size_t>(i)].Bit) != 0 ? Qt::Checked
                                                                                : Qt::Unchecked);
}

// Evaluation flags rebuilt from zero out of the checked entries.
uint16_t CheckListFlags(const QListWidget* list) {
    uint16_t flags = 0;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->checkState() == Qt::Checked)
            flags =
                static_cast<uint16_t>(flags | PassiveEvaluationEntries[static_cast<size_t>(i)].Bit);
    return flags;
}

QColor FromBgr(uint32_t value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

// One colour entry: the background, a swatch one and a half entry heights
// wide, then the name, vertically centred.
void DrawColourEntry(QPainter& painter, const QRect& r, const QPalette& palette,
                     const QString& name, const QColor& colour, bool selected, bool enabled) {
    painter.save();
    painter.fillRect(r, selected ? palette.highlight() : palette.base());
    const QColor text = !enabled   ? palette.color(QPalette::Disabled, QPalette::Text)
                        : selected ? palette.color(QPalette::HighlightedText)
                                   : palette.color(QPalette::Text);
    const int w = (r.height() * 3) / 2;
    const QRect swatch(r.left() + 2, r.top() + 2, w - 2, r.height() - 4);
    painter.fillRect(swatch, colour);
    painter.setPen(enabled ? QColor(Qt::black) : text);
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
    painter.setPen(text);
    painter.drawText(QRect(r.left() + w + 4, r.top(), std::max(0, r.width() - w - 4), r.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, name);
    painter.restore();
}

class TColourDelegate final : public QStyledItemDelegate {
public:
    explicit TColourDelegate(QComboBox* box) : QStyledItemDelegate(box), FBox(box) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        DrawColourEntry(*painter, option.rect, option.palette, index.data().toString(),
                        FromBgr(index.data(Qt::UserRole).toUInt()),
                        (option.state & QStyle::State_Selected) != 0, FBox->isEnabled());
    }

private:
    QComboBox* FBox;
};

// Shown for the bytes a code page leaves unassigned or gives to controls.
QString CharacterText(const TCodePage& codePage, unsigned char byte) {
    const char16_t ch = codePage.Decode(byte);
    const QChar c(ch);
    if (c.category() == QChar::Other_Control || c.category() == QChar::Other_PrivateUse)
        return {};
    return QString(c);
}

bool IsAssignable(int code) {
    return code >= 32 && code <= 255 && !(code >= '0' && code <= '9') &&
           !(code >= 'A' && code <= 'Z') && !(code >= 'a' && code <= 'z');
}

} // namespace

QKeySequence ShortcutKeySequence(const TShortcutKey& key) {
    Qt::KeyboardModifiers modifiers;
    if (key.Modifiers & smShift)
        modifiers |= Qt::ShiftModifier;
    if (key.Modifiers & smCtrl)
        modifiers |= Qt::ControlModifier;
    if (key.Modifiers & smAlt)
        modifiers |= Qt::AltModifier;
    const auto qtKey = key.Letter != 0 ? static_cast<Qt::Key>(Qt::Key_A + (key.Letter - 'A'))
                                       : static_cast<Qt::Key>(Qt::Key_F1 + (key.FunctionKey - 1));
    return QKeySequence(QKeyCombination(modifiers, qtKey));
}

// --- colour list ------------------------------------------------------------

TColourComboBox::TColourComboBox(QWidget* parent) : QComboBox(parent) {
    setItemDelegate(new TColourDelegate(this));
}

void TColourComboBox::FillColours(uint32_t selected) {
    clear();
    for (const TNamedColour& colour : AnswerColours)
        addItem(QString::fromLatin1(colour.Name), QVariant::fromValue<uint>(colour.Value));
    int index = findData(QVariant::fromValue<uint>(selected));
    if (index < 0) {
        addItem(QStringLiteral("Other"), QVariant::fromValue<uint>(selected));
        index = count() - 1;
    }
    setCurrentIndex(index);
}

uint32_t TColourComboBox::SelectedColour() const { return currentData().toUInt(); }

void TColourComboBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    if (currentIndex() < 0)
        return;
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    DrawColourEntry(painter, field, palette(), currentText(), FromBgr(currentData().toUInt()),
                    hasFocus(), isEnabled());
}

// --- the dialog ---------------------------------------------------------------

TOptionsDialog::TOptionsDialog(QWidget* owner, const TOptions& options, int32_t page,
                               int foreignCharSet, const QList<QWidget*>& extraPages)
    : QDialog(owner), FOptions(options), FShortcuts(options.ShortcutChars),
      FForeignCharSet(foreignCharSet) {
    setObjectName(QStringLiteral("OptionsDialog"));
    setWindowTitle(QStringLiteral("Options"));

    pcOptions = Named(new QTabWidget(this), "pcOptions");
    // All six page tabs stay in sight: the dialog grows to fit them.
    pcOptions->setUsesScrollButtons(false);
    pcOptions->addTab(CreateKeyboardPage(), QStringLiteral("Keyboard"));
    pcOptions->addTab(CreateEditingPage(), QStringLiteral("Editing"));
    pcOptions->addTab(CreateQuestionPage(), QStringLiteral("Question"));
    pcOptions->addTab(CreateEvaluationPage(), QStringLiteral("Evaluation"));
    pcOptions->addTab(CreateFeedbackPage(), QStringLiteral("Feedback"));
    pcOptions->addTab(CreateRepetitionPage(), QStringLiteral("Repetition"));
    for (QWidget* extra : extraPages)
        pcOptions->addTab(extra, extra->windowTitle());

    // Pages not yet shown are polished now, so that the dialog's fixed size
    // is measured with the fonts and metrics they will be shown with.
    for (int i = 0; i < pcOptions->count(); ++i)
        pcOptions->widget(i)->ensurePolished();

    const TDialogButtons buttons = AddDialogButtons(this, hcOptionsDialog);
    btnOK = buttons.OK;
    LayOutAboveButtonRow(this, pcOptions, buttons);

    LoadControls();
    // One size for every page, the largest any of them asks for, so that the
    // buttons never move when the page is turned.
    QSize largest;
    for (int i = 0; i < pcOptions->count(); ++i) {
        pcOptions->setCurrentIndex(i);
        layout()->activate();
        largest = largest.expandedTo(sizeHint()).expandedTo(size());
    }
    layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
    setFixedSize(largest);
    FShownPage = std::clamp<int32_t>(page, 0, pcOptions->count() - 1);
    pcOptions->setCurrentIndex(FShownPage);

    connect(btnOK, &QPushButton::clicked, this, &TOptionsDialog::btnOKClick);
    connect(pcOptions, &QTabWidget::currentChanged, this, &TOptionsDialog::pcOptionsChange);
    connect(cbShortcut, &QComboBox::currentIndexChanged, this, &TOptionsDialog::cbShortcutChange);
    connect(cbCharSet, &QComboBox::currentIndexChanged, this, &TOptionsDialog::ShortcutCharChange);
    connect(cbCharacter, &QComboBox::currentIndexChanged, this,
            &TOptionsDialog::ShortcutCharChange);
    connect(btnClearAll, &QPushButton::clicked, this, &TOptionsDialog::btnClearAllClick);
    connect(chbAutoContinue, &QCheckBox::toggled, this, &TOptionsDialog::chbAutoContinueClick);
    connect(chbUsePenaltyPoints, &QCheckBox::toggled, this,
            &TOptionsDialog::chbUsePenaltyPointsChange);
    // Only the user's tick moves the focus to the maximum.
    connect(chbUsePenaltyPoints, &QCheckBox::clicked, this, [this](bool checked) {
        if (checked) {
            // Selected, so that the number typed next replaces it.
            cbMaxPenaltyPoints->setFocus(Qt::OtherFocusReason);
            cbMaxPenaltyPoints->lineEdit()->selectAll();
        }
    });

    // Ctrl+Tab turns the page from any control, also from a list that would
    // take the key as type-ahead.
    auto* nextPage = new QShortcut(this);
    nextPage->setKeys(
        {QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)});
    connect(nextPage, &QShortcut::activated, this,
            [this] { pcOptions->setCurrentIndex((FShownPage + 1) % pcOptions->count()); });
    auto* previousPage = new QShortcut(this);
    previousPage->setKeys({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
                           QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                           QKeySequence(Qt::CTRL | Qt::Key_PageUp)});
    connect(previousPage, &QShortcut::activated, this, [this] {
        const int pages = pcOptions->count();
        pcOptions->setCurrentIndex((FShownPage + pages - 1) % pages);
    });

    EnablePopupHelp(this);
    PlaceDialog(this, owner);
}

QWidget* TOptionsDialog::CreateKeyboardPage() {
    auto* page = Named(new QWidget, "tsKeyboard");

    auto* gbShortcuts = Group("gbShortcuts", " Shortcuts: ", page);
    cbShortcut = Named(new QComboBox(gbShortcuts), "cbShortcut");
    for (const TShortcutKey& key : ShortcutKeys)
        cbShortcut->addItem(
            ShortcutKeySequence(key).toString(QKeySequence::NativeText) +
            (IsSystemReservedKey(key) ? QStringLiteral(" (reserved by the system)") : QString()));
    cbShortcut->setMaxVisibleItems(16);
    SetHelp(cbShortcut, 1900);
    cbCharSet = Named(new QComboBox(gbShortcuts), "cbCharSet");
    for (const TCharSetEntry& charSet : ShortcutCharSets)
        cbCharSet->addItem(QString::fromLatin1(charSet.Name), charSet.Code);
    SetHelp(cbCharSet, 1901);
    cbCharacter = Named(new QComboBox(gbShortcuts), "cbCharacter");
    QFont characterFont = cbCharacter->font();
    characterFont.setBold(true);
    characterFont.setPixelSize(16);
    cbCharacter->setFont(characterFont);
    for (int code = 32; code <= 255; ++code)
        if (IsAssignable(code))
            cbCharacter->addItem(QString(), code);
    cbCharacter->setMaxVisibleItems(16);
    cbCharacter->setMinimumContentsLength(2);
    SetHelp(cbCharacter, 1902);
    lblUnassigned = Named(new QLabel(QStringLiteral("[unassigned]"), gbShortcuts), "lblUnassigned");
    btnClearAll = Named(new QPushButton(QStringLiteral("Cl&ear All"), gbShortcuts), "btnClearAll");
    SetHelp(btnClearAll, 1903);

    auto* shortcuts = new QGridLayout(gbShortcuts);
    shortcuts->addWidget(BuddyLabel("&Key:", "lblShortcut", cbShortcut, gbShortcuts), 0, 0);
    shortcuts->addWidget(cbShortcut, 0, 1, 1, 2);
    shortcuts->addWidget(BuddyLabel("&Script:", "lblCharSet", cbCharSet, gbShortcuts), 1, 0);
    shortcuts->addWidget(cbCharSet, 1, 1, 1, 2);
    shortcuts->addWidget(BuddyLabel("&Character:", "lblCharacter", cbCharacter, gbShortcuts), 2, 0);
    shortcuts->addWidget(cbCharacter, 2, 1);
    shortcuts->addWidget(lblUnassigned, 2, 2);
    shortcuts->addWidget(btnClearAll, 0, 3, Qt::AlignTop);
    shortcuts->setColumnStretch(2, 1);
    shortcuts->setColumnMinimumWidth(2, lblUnassigned->sizeHint().width());

    auto* gbLayout = Group("gbLayout", " Layout: ", page);
    chbKeyboardSwitching =
        CheckBox("chbKeyboardSwitching", "&Automatic keyboard switching", 1904, gbLayout);
    auto* layout = new QVBoxLayout(gbLayout);
    layout->addWidget(chbKeyboardSwitching);
    layout->addWidget(Text("lblKeyboardText",
                           "Use your desktop's keyboard settings to set up the keyboard "
                           "languages and layouts you require.",
                           gbLayout));

    auto* column = new QVBoxLayout(page);
    column->addWidget(gbShortcuts);
    column->addWidget(gbLayout);
    column->addStretch();
    return page;
}

QWidget* TOptionsDialog::CreateEditingPage() {
    auto* page = Named(new QWidget, "tsEditing");
    chbAppendNewWords = CheckBox("chbAppendNewWords", "&Add new words at end of file", 1905, page);
    chbRequireSortPosition =
        CheckBox("chbRequireSortPosition", "&Warn if sorting position not specified", 1906, page);
    auto* column = new QVBoxLayout(page);
    column->addWidget(chbAppendNewWords);
    column->addWidget(chbRequireSortPosition);
    column->addStretch();
    return page;
}

QWidget* TOptionsDialog::CreateQuestionPage() {
    auto* page = Named(new QWidget, "tsQuestion");

    auto* gbNotes = Group("gbNotes", " Notes: ", page);
    cbTestNotes = Named(new QComboBox(gbNotes), "cbTestNotes");
    for (const char* entry : {"Never", "Only in Passive mode", "Only in Active mode", "Always"})
        cbTestNotes->addItem(QString::fromLatin1(entry));
    SetHelp(cbTestNotes, 1907);
    auto* notes = new QHBoxLayout(gbNotes);
    notes->addWidget(BuddyLabel("&Test Notes:", "lblTestNotes", cbTestNotes, gbNotes));
    notes->addWidget(cbTestNotes);
    notes->addStretch();

    auto* gbChoice = Group("gbMultipleChoice", " Multiple choice: ", page);
    cbNumChoices = NumberBox("cbNumChoices", 3, 10, 1908, gbChoice);
    auto* choice = new QHBoxLayout(gbChoice);
    choice->addWidget(
        BuddyLabel("&Number of items to choose from:", "lblNumChoices", cbNumChoices, gbChoice));
    choice->addWidget(cbNumChoices);
    choice->addStretch();

    auto* column = new QVBoxLayout(page);
    column->addWidget(gbNotes);
    column->addWidget(gbChoice);
    column->addStretch();
    return page;
}

QWidget* TOptionsDialog::CreateEvaluationPage() {
    auto* page = Named(new QWidget, "tsEvaluation");
    clbPassive =
        CheckList("clbPassive", static_cast<int>(PassiveEvaluationEntries.size()), 1909, page);
    clbActive = CheckList("clbActive", ActiveEvaluationEntryCount, 1910, page);
    auto* column = new QVBoxLayout(page);
    column->addWidget(
        BuddyLabel("&Translations (passive testing):", "lblPassive", clbPassive, page));
    column->addWidget(clbPassive);
    column->addWidget(BuddyLabel("&Word/phrase (active testing):", "lblActive", clbActive, page));
    column->addWidget(clbActive);
    column->addStretch();
    return page;
}

QWidget* TOptionsDialog::CreateFeedbackPage() {
    auto* page = Named(new QWidget, "tsFeedback");

    auto* gbRight = Group("gbCorrect", " Correct response: ", page);
    cbColourRight = Named(new TColourComboBox(gbRight), "cbColourRight");
    SetHelp(cbColourRight, 1911);
    chbAutoContinue = CheckBox("chbAutoContinue", "&Move straight to next question", 1912, gbRight);
    auto* right = new QGridLayout(gbRight);
    auto* lblColourRight = BuddyLabel("&Answer colour:", "lblColourRight", cbColourRight, gbRight);
    right->addWidget(lblColourRight, 0, 0);
    right->addWidget(cbColourRight, 0, 1);
    right->addWidget(chbAutoContinue, 1, 0, 1, 3);
    right->setColumnStretch(2, 1);

    auto* gbWrong = Group("gbIncorrect", " Incorrect response: ", page);
    cbColourWrong = Named(new TColourComboBox(gbWrong), "cbColourWrong");
    SetHelp(cbColourWrong, 1913);
    edtDelay = Named(new QLineEdit(gbWrong), "edtDelay");
    edtDelay->setValidator(TwoDigits(edtDelay));
    edtDelay->setMaxLength(2);
    edtDelay->setFixedWidth(edtDelay->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 16);
    SetHelp(edtDelay, 1914);
    chbBeep = CheckBox("chbBeep", "&Beep", 1915, gbWrong);
    auto* wrong = new QGridLayout(gbWrong);
    auto* lblColourWrong = BuddyLabel("A&nswer colour:", "lblColourWrong", cbColourWrong, gbWrong);
    auto* lblDelay = BuddyLabel("&Delay (seconds):", "lblDelay", edtDelay, gbWrong);
    wrong->addWidget(lblColourWrong, 0, 0);
    wrong->addWidget(cbColourWrong, 0, 1);
    wrong->addWidget(lblDelay, 1, 0);
    wrong->addWidget(edtDelay, 1, 1, Qt::AlignLeft);
    wrong->addWidget(chbBeep, 2, 0, 1, 3);
    wrong->setColumnStretch(2, 1);

    // Both colour lists line up and are wide enough for the longest name.
    const int width = std::max(cbColourRight->sizeHint().width(), 150);
    cbColourRight->setMinimumWidth(width);
    cbColourWrong->setMinimumWidth(width);
    int labels = 0;
    for (QWidget* label : {lblColourRight, lblColourWrong, lblDelay})
        labels = std::max(labels, label->sizeHint().width());
    right->setColumnMinimumWidth(0, labels);
    wrong->setColumnMinimumWidth(0, labels);

    auto* column = new QVBoxLayout(page);
    column->addWidget(gbRight);
    column->addWidget(gbWrong);
    column->addStretch();
    return page;
}

QWidget* TOptionsDialog::CreateRepetitionPage() {
    auto* page = Named(new QWidget, "tsRepetition");
    chbDisallowHints =
        CheckBox("chbDisallowHints", "&Treat response as incorrect if Hint used", 1918, page);

    auto* gbPenalty = Group("gbPenaltyPoints", " Penalty points: ", page);
    chbUsePenaltyPoints = CheckBox(
        "chbUsePenaltyPoints", "&Use penalty points to target difficult words", 1916, gbPenalty);
    cbMaxPenaltyPoints = NumberBox("cbMaxPenaltyPoints", 1, 5, 1917, gbPenalty);
    lblMaxPenaltyPoints = BuddyLabel("&Maximum penalty points per word:", "lblMaxPenaltyPoints",
                                     cbMaxPenaltyPoints, gbPenalty);
    lblPenaltyText = Text("lblPenaltyText",
                          "Each incorrect response incurs a penalty point against that word, up "
                          "to a specified maximum. You must recall the word correctly one more "
                          "time for every point assigned.",
                          gbPenalty);
    auto* penalty = new QGridLayout(gbPenalty);
    penalty->addWidget(chbUsePenaltyPoints, 0, 0, 1, 3);
    penalty->addWidget(lblMaxPenaltyPoints, 1, 0);
    penalty->addWidget(cbMaxPenaltyPoints, 1, 1);
    penalty->addWidget(lblPenaltyText, 2, 0, 1, 3);
    penalty->setColumnStretch(2, 1);

    auto* column = new QVBoxLayout(page);
    column->addWidget(chbDisallowHints);
    column->addWidget(gbPenalty);
    column->addStretch();
    return page;
}

void TOptionsDialog::LoadControls() {
    const TOptions& o = FOptions;
    chbKeyboardSwitching->setChecked(o.KeyboardSwitching);
    chbAppendNewWords->setChecked(o.AppendNewWords);
    chbRequireSortPosition->setChecked(o.RequireSortPosition);
    cbTestNotes->setCurrentIndex((o.TestNotes[tnPassive] ? 1 : 0) +
                                 (o.TestNotes[tnActive] ? 2 : 0));
    cbNumChoices->setEditText(QString::number(o.NumChoices));
    LoadCheckList(clbPassive, o.PassiveEvaluation);
    LoadCheckList(clbActive, o.ActiveEvaluation);
    cbColourRight->FillColours(o.ColourRight);
    cbColourWrong->FillColours(o.ColourWrong);
    chbAutoContinue->setChecked(o.AutoContinue);
    edtDelay->setText(QString::number(o.Delay));
    chbBeep->setChecked(o.Beep);
    chbDisallowHints->setChecked(o.DisallowHints);
    chbUsePenaltyPoints->setChecked(o.UsePenaltyPoints);
    cbMaxPenaltyPoints->setEditText(QString::number(o.MaxPenaltyPoints));
    chbAutoContinueClick();
    chbUsePenaltyPointsChange();
    cbShortcut->setCurrentIndex(0);
    cbShortcutChange();
}

TOptions TOptionsDialog::Options() const {
    TOptions o = FOptions;
    o.AppendNewWords = chbAppendNewWords->isChecked();
    o.RequireSortPosition = chbRequireSortPosition->isChecked();
    o.ShortcutChars = FShortcuts;
    o.KeyboardSwitching = chbKeyboardSwitching->isChecked();
    const int notes = cbTestNotes->currentIndex();
    o.TestNotes[tnPassive] = (notes & 1) != 0;
    o.TestNotes[tnActive] = (notes & 2) != 0;
    o.NumChoices = cbNumChoices->currentText().toInt();
    o.PassiveEvaluation = CheckListFlags(clbPassive);
    o.ActiveEvaluation = CheckListFlags(clbActive);
    o.ColourRight = cbColourRight->SelectedColour();
    o.ColourWrong = cbColourWrong->SelectedColour();
    o.AutoContinue = chbAutoContinue->isChecked();
    o.Delay = edtDelay->text().toInt();
    o.Beep = chbBeep->isChecked();
    o.UsePenaltyPoints = chbUsePenaltyPoints->isChecked();
    o.MaxPenaltyPoints = cbMaxPenaltyPoints->currentText().toInt();
    o.DisallowHints = chbDisallowHints->isChecked();
    return o;
}

int32_t TOptionsDialog::ShownPage() const { return FShownPage; }

bool TOptionsDialog::CheckPage(int page) {
    switch (page) {
    case opQuestion:
        return CheckIntField(cbNumChoices, 3, 10);
    case opFeedback:
        return CheckIntField(edtDelay, 0, 20);
    case opRepetition:
        return CheckIntField(cbMaxPenaltyPoints, 1, 5);
    default:
        return true;
    }
}

// A key with a character shows it in the script it was chosen in; a key
// without one shows the first entry in the script of the foreign language.
void TOptionsDialog::cbShortcutChange() {
    const int key = cbShortcut->currentIndex();
    if (key < 0)
        return;
    // A key the system keeps for itself offers no character; what the record
    // holds for it stays as it is.
    const bool reserved = IsSystemReservedKey(ShortcutKeys[static_cast<size_t>(key)]);
    cbCharSet->setEnabled(!reserved);
    cbCharacter->setEnabled(!reserved);
    lblUnassigned->setText(reserved ? QStringLiteral("[reserved by the system]")
                                    : QStringLiteral("[unassigned]"));
    const uint16_t entry = reserved ? uint16_t{0} : FShortcuts[static_cast<size_t>(key)];
    const uint8_t code = ShortcutCharCode(entry);
    const int charSet = code != 0 ? ShortcutCharSet(entry) : FForeignCharSet;
    {
        const QSignalBlocker blockCharSet(cbCharSet);
        const QSignalBlocker blockCharacter(cbCharacter);
        cbCharSet->setCurrentIndex(std::max(0, cbCharSet->findData(charSet)));
        cbCharacter->setCurrentIndex(code != 0 ? std::max(0, cbCharacter->findData(code)) : 0);
    }
    ShowCharacters();
}

void TOptionsDialog::ShortcutCharChange() {
    const int key = cbShortcut->currentIndex();
    if (key < 0 || IsSystemReservedKey(ShortcutKeys[static_cast<size_t>(key)]))
        return;
    const int character = cbCharacter->currentIndex();
    FShortcuts[static_cast<size_t>(key)] =
        character <= 0 ? uint16_t{0}
                       : MakeShortcutChar(static_cast<uint8_t>(cbCharacter->currentData().toInt()),
                                          static_cast<uint8_t>(cbCharSet->currentData().toInt()));
    ShowCharacters();
}

// The characters as the chosen script's code page has them.
void TOptionsDialog::ShowCharacters() {
    const TCodePage* codePage =
        TCodePage::ForCodePage(CharsetCodePage(cbCharSet->currentData().toInt()));
    if (!codePage)
        codePage = TCodePage::ForCodePage(1252);
    for (int i = 0; i < cbCharacter->count(); ++i)
        cbCharacter->setItemText(
            i,
            CharacterText(*codePage, static_cast<unsigned char>(cbCharacter->itemData(i).toInt())));
    lblUnassigned->setVisible(cbCharacter->currentIndex() == 0);
}

void TOptionsDialog::btnClearAllClick() {
    if (ShowMessageBox(QStringLiteral("Clear all shortcut key assignments?"), {}, TMsgIcon::Warning,
                       mbOK | mbCancel, mbNone, this) != mbOK)
        return;
    for (size_t i = 0; i < FShortcuts.size(); ++i)
        if (!IsSystemReservedKey(ShortcutKeys[i]))
            FShortcuts[i] = 0;
    {
        const QSignalBlocker block(cbShortcut);
        cbShortcut->setCurrentIndex(0);
    }
    cbShortcutChange();
    cbShortcut->setFocus(Qt::OtherFocusReason);
}

// A correct answer is never shown while the test moves straight on.
void TOptionsDialog::chbAutoContinueClick() {
    cbColourRight->setEnabled(!chbAutoContinue->isChecked());
}

void TOptionsDialog::chbUsePenaltyPointsChange() {
    const bool on = chbUsePenaltyPoints->isChecked();
    lblPenaltyText->setEnabled(on);
    lblMaxPenaltyPoints->setEnabled(on);
    cbMaxPenaltyPoints->setEnabled(on);
    if (!on)
        cbMaxPenaltyPoints->setEditText(QString::number(FOptions.MaxPenaltyPoints));
}

// Leaving a page checks its number first; a refused number keeps the page.
void TOptionsDialog::pcOptionsChange(int page) {
    if (page == FShownPage)
        return;
    {
        const QSignalBlocker block(pcOptions);
        pcOptions->setCurrentIndex(FShownPage);
    }
    if (!CheckPage(FShownPage))
        return;
    FShownPage = page;
    const QSignalBlocker block(pcOptions);
    pcOptions->setCurrentIndex(page);
}

void TOptionsDialog::btnOKClick() {
    if (!CheckPage(FShownPage))
        return;
    accept();
}

bool TOptionsDialog::Execute(QWidget* owner, TOptions& options, int32_t& page, int foreignCharSet,
                             const QList<QWidget*>& extraPages) {
    TOptionsDialog dialog(owner, options, page, foreignCharSet, extraPages);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    options = dialog.Options();
    page = dialog.ShownPage();
    return true;
}

} // namespace vocalore
