#include "DialogTestSupport.h"

#include "ui/common/PromptService.h"
#include "ui/files/RecoveryPage.h"
#include "ui/options/OptionsDialog.h"
#include "ui/speech/SpeechPage.h"
#include "ui/window/Help.h"

#include "core/CodePage.h"
#include "settings/Settings.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

namespace vocalore {
namespace {

using dialogtest::Child;
using dialogtest::OnNextModal;

constexpr int Cyrillic = 204;
constexpr int Greek = 161;
constexpr int CentralEuropean = 238;

class OptionsDialogTest : public ::testing::Test {
protected:
    // A dialog on the given record, shown and active so that focus can be
    // checked.
    TOptionsDialog& Open(const TOptions& options, int page = opKeyboard, int charSet = Cyrillic) {
        Dialog = std::make_unique<TOptionsDialog>(
            nullptr, options, page, charSet,
            QList<QWidget*>{new TSpeechPage(Speaker, Speech, 0x0407, 0x0409), // no speech service
                            new TRecoveryPage(RecoveryMinutes)});
        Dialog->show();
        QApplication::setActiveWindow(Dialog.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(Dialog.get()));
        return *Dialog;
    }
    template <typename T> T* C(const char* name) { return Child<T>(Dialog.get(), name); }
    QTabWidget* Pages() { return C<QTabWidget>("pcOptions"); }
    QComboBox* Combo(const char* name) { return C<QComboBox>(name); }
    QCheckBox* Check(const char* name) { return C<QCheckBox>(name); }
    QListWidget* List(const char* name) { return C<QListWidget>(name); }
    void SetChecked(QListWidget* list, int row, bool on) {
        list->item(row)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
    int CharacterIndex(int code) { return Combo("cbCharacter")->findData(code); }
    // The shortcut entry the dialog would store for a key.
    uint16_t Shortcut(int key) { return Dialog->Options().ShortcutChars[static_cast<size_t>(key)]; }

    TFakePromptService Prompts{true};
    TSpeechSettings Speech;
    TSpeaker Speaker{nullptr, Speech};
    std::unique_ptr<TOptionsDialog> Dialog;
    int32_t RecoveryMinutes = DefaultRecoveryMinutes;
};

// --- layout and lists --------------------------------------------------------

TEST_F(OptionsDialogTest, PagesInOrderWithTheListsFilled) {
    Open(TOptions{});
    EXPECT_EQ(Dialog->windowTitle(), QStringLiteral("Options"));
    const char* pages[] = {"Keyboard", "Editing",    "Question", "Evaluation",
                           "Feedback", "Repetition", "Speech",   "Files"};
    ASSERT_EQ(Pages()->count(), opPageCount);
    for (int i = 0; i < opPageCount; ++i)
        EXPECT_EQ(Pages()->tabText(i), QString::fromLatin1(pages[i]));
    // A stored page number past either end opens the nearest page.
    for (const auto& [stored, shown] : {std::pair{42, opPageCount - 1}, std::pair{-3, 0}}) {
        Open(TOptions{}, stored);
        EXPECT_EQ(Pages()->currentIndex(), shown) << stored;
        EXPECT_EQ(Dialog->ShownPage(), shown) << stored;
    }
    Open(TOptions{});

    // The 92 keys as this desktop spells shortcuts, in record order.
    QComboBox* keys = Combo("cbShortcut");
    ASSERT_EQ(keys->count(), 92);
    EXPECT_EQ(keys->itemText(0), QStringLiteral("Ctrl+Shift+A"));
    EXPECT_EQ(keys->itemText(25), QStringLiteral("Ctrl+Shift+Z"));
    EXPECT_EQ(keys->itemText(26), QStringLiteral("Ctrl+Alt+A"));
    EXPECT_EQ(keys->itemText(52), QStringLiteral("Shift+F2"));
    EXPECT_EQ(keys->itemText(59), QStringLiteral("Shift+F9"));
    EXPECT_EQ(keys->itemText(60), QStringLiteral("Shift+F11"));
    EXPECT_EQ(keys->itemText(62), QStringLiteral("Ctrl+F2"));
    EXPECT_EQ(keys->itemText(72), QStringLiteral("Ctrl+Shift+F2"));
    EXPECT_EQ(keys->itemText(81), QStringLiteral("Ctrl+Shift+F12"));
    // Ctrl+Alt with a function key belongs to the system (a text console).
    EXPECT_EQ(keys->itemText(82), QStringLiteral("Ctrl+Alt+F2 (reserved by the system)"));
    EXPECT_EQ(keys->itemText(91), QStringLiteral("Ctrl+Alt+F12 (reserved by the system)"));
    for (int i = 0; i < 92; ++i)
        EXPECT_EQ(keys->itemText(i).section(QStringLiteral(" ("), 0, 0),
                  ShortcutKeySequence(ShortcutKeys[static_cast<size_t>(i)])
                      .toString(QKeySequence::NativeText));

    QComboBox* scripts = Combo("cbCharSet");
    ASSERT_EQ(scripts->count(), 6);
    EXPECT_EQ(scripts->itemText(0), QStringLiteral("Western"));
    EXPECT_EQ(scripts->itemText(5), QStringLiteral("Turkish"));

    // 32 .. 255 without digits and letters, in code order.
    QComboBox* characters = Combo("cbCharacter");
    ASSERT_EQ(characters->count(), 224 - 62);
    EXPECT_EQ(characters->itemData(0).toInt(), 32);
    EXPECT_EQ(characters->itemData(16).toInt(), 58); // after '/' come ':' ...
    EXPECT_EQ(characters->itemData(characters->count() - 1).toInt(), 255);
    for (int i = 1; i < characters->count(); ++i)
        EXPECT_GT(characters->itemData(i).toInt(), characters->itemData(i - 1).toInt());
    EXPECT_EQ(characters->findData(int('0')), -1);
    EXPECT_EQ(characters->findData(int('z')), -1);
    EXPECT_TRUE(characters->font().bold());
    EXPECT_EQ(characters->font().pixelSize(), 16);

    const QComboBox* notes = Combo("cbTestNotes");
    ASSERT_EQ(notes->count(), 4);
    EXPECT_EQ(notes->itemText(2), QStringLiteral("Only in Active mode"));
    EXPECT_EQ(Combo("cbNumChoices")->itemText(0), QStringLiteral("3"));
    EXPECT_EQ(Combo("cbNumChoices")->count(), 8);
    EXPECT_EQ(Combo("cbMaxPenaltyPoints")->count(), 5);
    EXPECT_EQ(List("clbPassive")->count(), 9);
    EXPECT_EQ(List("clbActive")->count(), 4);
    EXPECT_EQ(List("clbActive")->item(3)->text(),
              QStringLiteral("Treat words separated by / as alternatives"));
    for (const char* list : {"cbColourRight", "cbColourWrong"}) {
        ASSERT_EQ(Combo(list)->count(), 16) << list;
        EXPECT_EQ(Combo(list)->itemText(12), QStringLiteral("Blue")) << list;
    }
}

// Every control of every page lies inside its page, none covers another, and
// each caption stands on the left of its control, on the same line.
TEST_F(OptionsDialogTest, EveryPageIsLaidOutWithoutOverlapsAndCaptionsBesideTheirControls) {
    Open(TOptions{});
    for (int page = 0; page < opPageCount; ++page) {
        Pages()->setCurrentIndex(page);
        QWidget* sheet = Pages()->widget(page);
        ASSERT_TRUE(sheet->isVisible()) << page;
        const QRect area = sheet->rect();
        std::vector<std::pair<QWidget*, QRect>> leaves;
        for (QWidget* w : sheet->findChildren<QWidget*>()) {
            // The page's own controls: children of the page or of one of its groups.
            const bool own = w->parentWidget() == sheet ||
                             qobject_cast<QGroupBox*>(w->parentWidget()) != nullptr;
            if (!own || !w->isVisible() || qobject_cast<QGroupBox*>(w))
                continue;
            const QRect r(w->mapTo(sheet, QPoint(0, 0)), w->size());
            EXPECT_TRUE(area.contains(r)) << w->objectName().toStdString();
            leaves.emplace_back(w, r);
        }
        ASSERT_GE(leaves.size(), 2u) << page;
        for (size_t i = 0; i < leaves.size(); ++i)
            for (size_t j = i + 1; j < leaves.size(); ++j)
                EXPECT_FALSE(leaves[i].second.intersects(leaves[j].second))
                    << leaves[i].first->objectName().toStdString() << " covers "
                    << leaves[j].first->objectName().toStdString();
        for (QLabel* label : sheet->findChildren<QLabel*>()) {
            QWidget* buddy = label->buddy();
            if (!buddy)
                continue;
            const QRect l(label->mapTo(sheet, QPoint(0, 0)), label->size());
            const QRect b(buddy->mapTo(sheet, QPoint(0, 0)), buddy->size());
            const std::string name = label->objectName().toStdString();
            if (qobject_cast<QListWidget*>(buddy)) { // a list has its caption above
                EXPECT_LE(l.bottom(), b.top()) << name;
                continue;
            }
            EXPECT_LT(l.right(), b.left()) << name;
            EXPECT_LE(std::abs(l.center().y() - b.center().y()), 3) << name;
        }
    }
    // The two colour lists line up, and the Clear All button sits on the key's line.
    EXPECT_EQ(Combo("cbColourRight")->mapToGlobal(QPoint()).x(),
              Combo("cbColourWrong")->mapToGlobal(QPoint()).x());
    Pages()->setCurrentIndex(opKeyboard);
    EXPECT_EQ(C<QPushButton>("btnClearAll")->geometry().center().y(),
              Combo("cbShortcut")->geometry().center().y());
}

TEST_F(OptionsDialogTest, ControlsCarryTheirHelpContextsAndPopUpHelp) {
    Open(TOptions{});
    const std::pair<const char*, int> controls[] = {{"cbShortcut", 1900},
                                                    {"cbCharSet", 1901},
                                                    {"cbCharacter", 1902},
                                                    {"btnClearAll", 1903},
                                                    {"chbKeyboardSwitching", 1904},
                                                    {"chbAppendNewWords", 1905},
                                                    {"chbRequireSortPosition", 1906},
                                                    {"cbTestNotes", 1907},
                                                    {"cbNumChoices", 1908},
                                                    {"clbPassive", 1909},
                                                    {"clbActive", 1910},
                                                    {"cbColourRight", 1911},
                                                    {"chbAutoContinue", 1912},
                                                    {"cbColourWrong", 1913},
                                                    {"edtDelay", 1914},
                                                    {"chbBeep", 1915},
                                                    {"chbUsePenaltyPoints", 1916},
                                                    {"cbMaxPenaltyPoints", 1917},
                                                    {"chbDisallowHints", 1918}};
    for (const auto& [name, context] : controls) {
        QWidget* control = C<QWidget>(name);
        ASSERT_NE(control, nullptr) << name;
        EXPECT_EQ(control->property("helpContext").toInt(), context) << name;
        EXPECT_FALSE(control->whatsThis().isEmpty()) << name;
    }
    EXPECT_EQ(C<QPushButton>("btnOK")->whatsThis(), PopupHelpText(hcOKButton));
    std::vector<QUrl> opened;
    SetHelpFolder(QStringLiteral(VOCALORE_SOURCE_DIR "/help"));
    SetHelpOpener([&](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    C<QPushButton>("btnHelp")->click();
    SetHelpOpener(nullptr);
    SetHelpFolder({});
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_TRUE(opened[0].toString().endsWith(HelpPage(hcOptionsDialog)));
}

// --- every control, through to the stored bytes --------------------------------

TEST_F(OptionsDialogTest, EveryControlLoadsFromTheRecordAndOKWritesEachField) {
    TOptions stored;
    stored.AppendNewWords = true;
    stored.KeyboardSwitching = false;
    stored.TestNotes = {true, false};
    stored.NumChoices = 7;
    stored.PassiveEvaluation = 0x0121; // capitalization, contractions, order
    stored.ActiveEvaluation = 0x0003;
    stored.AutoContinue = true;
    stored.ColourRight = 0x008000; // Green
    stored.ColourWrong = 0x800080; // Purple
    stored.Delay = 12;
    stored.Beep = false;
    stored.UsePenaltyPoints = true;
    stored.MaxPenaltyPoints = 4;
    stored.ShortcutChars[5] = MakeShortcutChar(0xE9, 0);
    Open(stored);

    EXPECT_TRUE(Check("chbAppendNewWords")->isChecked());
    EXPECT_FALSE(Check("chbRequireSortPosition")->isChecked());
    EXPECT_FALSE(Check("chbKeyboardSwitching")->isChecked());
    EXPECT_EQ(Combo("cbTestNotes")->currentIndex(), 1);
    EXPECT_EQ(Combo("cbNumChoices")->currentText(), QStringLiteral("7"));
    const bool passive[] = {true, false, false, false, false, true, false, true, false};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(List("clbPassive")->item(i)->checkState() == Qt::Checked, passive[i]) << i;
    const bool active[] = {true, true, false, false};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(List("clbActive")->item(i)->checkState() == Qt::Checked, active[i]) << i;
    EXPECT_EQ(Combo("cbColourRight")->currentText(), QStringLiteral("Green"));
    EXPECT_EQ(Combo("cbColourWrong")->currentText(), QStringLiteral("Purple"));
    EXPECT_TRUE(Check("chbAutoContinue")->isChecked());
    EXPECT_EQ(C<QLineEdit>("edtDelay")->text(), QStringLiteral("12"));
    EXPECT_FALSE(Check("chbBeep")->isChecked());
    EXPECT_TRUE(Check("chbUsePenaltyPoints")->isChecked());
    EXPECT_EQ(Combo("cbMaxPenaltyPoints")->currentText(), QStringLiteral("4"));
    EXPECT_FALSE(Check("chbDisallowHints")->isChecked());

    // Change everything.
    Check("chbAppendNewWords")->setChecked(false);
    Check("chbRequireSortPosition")->setChecked(true);
    Check("chbKeyboardSwitching")->setChecked(true);
    Combo("cbShortcut")->setCurrentIndex(80); // Ctrl+Shift+F11
    Combo("cbCharSet")->setCurrentIndex(Combo("cbCharSet")->findData(Greek));
    Combo("cbCharacter")->setCurrentIndex(CharacterIndex(0xE1));
    Combo("cbTestNotes")->setCurrentIndex(3);
    Combo("cbNumChoices")->setEditText(QStringLiteral("10"));
    for (int i = 0; i < 9; ++i)
        SetChecked(List("clbPassive"), i, !passive[i]);
    for (int i = 0; i < 4; ++i)
        SetChecked(List("clbActive"), i, !active[i]);
    Combo("cbColourRight")->setCurrentIndex(15); // White
    Combo("cbColourWrong")->setCurrentIndex(0);  // Black
    Check("chbAutoContinue")->setChecked(false);
    C<QLineEdit>("edtDelay")->setText(QStringLiteral("20"));
    Check("chbBeep")->setChecked(true);
    Combo("cbMaxPenaltyPoints")->setEditText(QStringLiteral("5"));
    Check("chbDisallowHints")->setChecked(true);
    Pages()->setCurrentIndex(opRepetition);
    C<QPushButton>("btnOK")->click();
    ASSERT_EQ(Dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(Prompts.Prompts().empty());

    TOptions expected = stored;
    expected.AppendNewWords = false;
    expected.RequireSortPosition = true;
    expected.KeyboardSwitching = true;
    expected.ShortcutChars[80] = MakeShortcutChar(0xE1, Greek);
    expected.TestNotes = {true, true};
    expected.NumChoices = 10;
    expected.PassiveEvaluation = 0x025E; // the other six entries
    expected.ActiveEvaluation = 0x000C;
    expected.ColourRight = 0xFFFFFF;
    expected.ColourWrong = 0x000000;
    expected.AutoContinue = false;
    expected.Delay = 20;
    expected.Beep = true;
    expected.MaxPenaltyPoints = 5;
    expected.DisallowHints = true;
    const TOptionsRecord written = EncodeOptions(Dialog->Options());
    EXPECT_EQ(written, EncodeOptions(expected));
    // A few fields read straight from the bytes.
    EXPECT_EQ(written[0xBB], 1);
    EXPECT_EQ(written[0xBC], 1);
    EXPECT_EQ(written[0xC0], 10);
    EXPECT_EQ(written[0xC4] | written[0xC5] << 8, 0x025E);
    EXPECT_EQ(written[0x02 + 2 * 5], 0xE9); // an untouched key keeps its character
    EXPECT_EQ(written[0x02 + 2 * 80], 0xE1);
    EXPECT_EQ(written[0x02 + 2 * 80 + 1], Greek);
    EXPECT_EQ(written[0xD4], 20);
    EXPECT_EQ(written[0xDC], 5);
    EXPECT_EQ(written[0xE0], 1);
}

TEST_F(OptionsDialogTest, TestNotesIndexIsPassivePlusTwiceActive) {
    for (int index = 0; index < 4; ++index) {
        Open(TOptions{});
        Combo("cbTestNotes")->setCurrentIndex(index);
        const TOptions written = Dialog->Options();
        EXPECT_EQ(written.TestNotes[tnPassive], (index & 1) != 0) << index;
        EXPECT_EQ(written.TestNotes[tnActive], (index & 2) != 0) << index;
        Open(written);
        EXPECT_EQ(Combo("cbTestNotes")->currentIndex(), index);
    }
}

TEST_F(OptionsDialogTest, DefaultPassiveEvaluationLosesOnlyTheTranslationListBit) {
    Open(TOptions{});
    const TOptions written = Dialog->Options();
    EXPECT_EQ(written.PassiveEvaluation, 0x037F);
    EXPECT_EQ(written.ActiveEvaluation, 0x000C);
    TOptions expected;
    expected.PassiveEvaluation = 0x037F;
    EXPECT_EQ(EncodeOptions(written), EncodeOptions(expected));
}

// --- colour lists --------------------------------------------------------------

TEST_F(OptionsDialogTest, ColourEntriesDrawASwatchBeforeTheName) {
    Open(TOptions{});
    auto* colours = C<TColourComboBox>("cbColourWrong");
    QAbstractItemView* view = colours->view();
    const QModelIndex lime = colours->model()->index(10, 0);
    QImage image(120, 20, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QStyleOptionViewItem option;
    option.initFrom(view);
    option.rect = QRect(0, 0, 120, 20);
    option.state = QStyle::State_Enabled;
    {
        QPainter painter(&image);
        view->itemDelegate()->paint(&painter, option, lime);
    }
    // w = 20 * 3 / 2 = 30: the swatch spans x 2 .. 29 and y 2 .. 17.
    EXPECT_EQ(image.pixelColor(15, 10), QColor(0, 255, 0));
    EXPECT_EQ(image.pixelColor(28, 16), QColor(0, 255, 0));
    EXPECT_NE(image.pixelColor(30, 10), QColor(0, 255, 0));
    EXPECT_NE(image.pixelColor(15, 18), QColor(0, 255, 0));
    EXPECT_EQ(image.pixelColor(1, 1), option.palette.color(QPalette::Base));
    // A black frame round the swatch; the name in the text colour after it.
    for (QPoint frame : {QPoint(2, 10), QPoint(29, 10), QPoint(15, 2), QPoint(15, 17)})
        EXPECT_EQ(image.pixelColor(frame), QColor(Qt::black)) << frame.x() << "," << frame.y();
    auto nameHas = [&image](const QColor& colour) {
        for (int x = 34; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y)
                if (image.pixelColor(x, y) == colour)
                    return true;
        return false;
    };
    EXPECT_TRUE(nameHas(option.palette.color(QPalette::Text)));

    // Selected: the entry is filled with the selection colour.
    option.state |= QStyle::State_Selected;
    {
        QPainter painter(&image);
        view->itemDelegate()->paint(&painter, option, lime);
    }
    EXPECT_EQ(image.pixelColor(1, 1), option.palette.color(QPalette::Highlight));
    EXPECT_EQ(image.pixelColor(15, 10), QColor(0, 255, 0));
    EXPECT_TRUE(nameHas(option.palette.color(QPalette::HighlightedText)));
    EXPECT_FALSE(nameHas(option.palette.color(QPalette::Text)));

    // A disabled list draws its names grey.
    colours->setEnabled(false);
    option.state = QStyle::State_None;
    image.fill(Qt::magenta);
    {
        QPainter painter(&image);
        view->itemDelegate()->paint(&painter, option, lime);
    }
    const QColor grey = option.palette.color(QPalette::Disabled, QPalette::Text);
    ASSERT_NE(grey, option.palette.color(QPalette::Text));
    EXPECT_TRUE(nameHas(grey));
    EXPECT_FALSE(nameHas(option.palette.color(QPalette::Text)));
    colours->setEnabled(true);

    // The closed list shows the chosen colour's swatch too.
    const QImage closed = colours->grab().toImage();
    bool red = false;
    for (int x = 0; x < closed.width() / 2 && !red; ++x)
        red = closed.pixelColor(x, closed.height() / 2) == QColor(255, 0, 0);
    EXPECT_TRUE(red);
}

TEST_F(OptionsDialogTest, ColourOutsideTheListIsOfferedAsOtherAndKept) {
    TOptions stored;
    stored.ColourRight = 0x123456;
    Open(stored);
    auto* right = C<TColourComboBox>("cbColourRight");
    EXPECT_EQ(right->count(), 17);
    EXPECT_EQ(right->currentText(), QStringLiteral("Other"));
    EXPECT_EQ(Dialog->Options().ColourRight, 0x123456u);
    EXPECT_EQ(C<TColourComboBox>("cbColourWrong")->count(), 16);
    right->setCurrentIndex(1);
    // The first colour of the list is an offered one like any other.
    stored.ColourWrong = 0x000000;
    Open(stored);
    EXPECT_EQ(C<TColourComboBox>("cbColourWrong")->count(), 16);
    EXPECT_EQ(C<TColourComboBox>("cbColourWrong")->currentText(), QStringLiteral("Black"));
    right = C<TColourComboBox>("cbColourRight");
    right->setCurrentIndex(1);
    EXPECT_EQ(Dialog->Options().ColourRight, 0x000080u);
}

// --- dependent controls ----------------------------------------------------------

TEST_F(OptionsDialogTest, AutoContinueDisablesTheRightAnswerColour) {
    TOptions stored;
    stored.AutoContinue = true;
    Open(stored, opFeedback);
    EXPECT_FALSE(Combo("cbColourRight")->isEnabled());
    EXPECT_TRUE(Combo("cbColourWrong")->isEnabled());
    Check("chbAutoContinue")->click();
    EXPECT_TRUE(Combo("cbColourRight")->isEnabled());
    Check("chbAutoContinue")->click();
    EXPECT_FALSE(Combo("cbColourRight")->isEnabled());
    Open(TOptions{}, opFeedback);
    EXPECT_TRUE(Combo("cbColourRight")->isEnabled());
}

TEST_F(OptionsDialogTest, PenaltyPointsSwitchTheirMaximumAndRestoreTheStoredValue) {
    Open(TOptions{}, opRepetition);
    QComboBox* maximum = Combo("cbMaxPenaltyPoints");
    QCheckBox* use = Check("chbUsePenaltyPoints");
    EXPECT_FALSE(maximum->isEnabled());
    EXPECT_FALSE(C<QLabel>("lblMaxPenaltyPoints")->isEnabled());
    EXPECT_FALSE(C<QLabel>("lblPenaltyText")->isEnabled());

    use->click();
    EXPECT_TRUE(maximum->isEnabled());
    EXPECT_TRUE(C<QLabel>("lblMaxPenaltyPoints")->isEnabled());
    EXPECT_TRUE(C<QLabel>("lblPenaltyText")->isEnabled());
    EXPECT_TRUE(maximum->hasFocus());

    maximum->setEditText(QStringLiteral("5"));
    use->click();
    EXPECT_FALSE(maximum->isEnabled());
    EXPECT_EQ(maximum->currentText(), QStringLiteral("3"));
    C<QPushButton>("btnOK")->click();
    ASSERT_EQ(Dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(Dialog->Options().UsePenaltyPoints);
    EXPECT_EQ(Dialog->Options().MaxPenaltyPoints, 3);

    // Switched off, an invalid edit is thrown away, so the page can be left.
    TOptions on;
    on.UsePenaltyPoints = true;
    on.MaxPenaltyPoints = 2;
    Open(on, opRepetition);
    Combo("cbMaxPenaltyPoints")->setEditText(QStringLiteral("9"));
    Check("chbUsePenaltyPoints")->click();
    EXPECT_EQ(Combo("cbMaxPenaltyPoints")->currentText(), QStringLiteral("2"));
    Pages()->setCurrentIndex(opKeyboard);
    EXPECT_EQ(Pages()->currentIndex(), opKeyboard);
    EXPECT_TRUE(Prompts.Prompts().empty());
}

// --- page validation --------------------------------------------------------------

TEST_F(OptionsDialogTest, LeavingAPageWithABadNumberKeepsThePage) {
    struct TCase {
        int Page;
        const char* Control;
        const char* Text;
        const char* Message;
    };
    const TCase cases[] = {
        {opQuestion, "cbNumChoices", "11", "Number must be between 3 and 10."},
        {opQuestion, "cbNumChoices", "2", "Number must be between 3 and 10."},
        {opFeedback, "edtDelay", "", "Number must be between 0 and 20."},
        {opFeedback, "edtDelay", "21", "Number must be between 0 and 20."},
        {opRepetition, "cbMaxPenaltyPoints", "0", "Number must be between 1 and 5."},
        {opRepetition, "cbMaxPenaltyPoints", "", "Number must be between 1 and 5."},
    };
    for (const TCase& c : cases) {
        TOptions stored;
        stored.UsePenaltyPoints = true;
        Open(stored, c.Page);
        Prompts.Clear();
        QWidget* control = C<QWidget>(c.Control);
        if (auto* edit = qobject_cast<QLineEdit*>(control))
            edit->setText(QString::fromLatin1(c.Text));
        else
            qobject_cast<QComboBox*>(control)->setEditText(QString::fromLatin1(c.Text));
        Pages()->setCurrentIndex(opEditing);
        EXPECT_EQ(Pages()->currentIndex(), c.Page) << c.Control << " " << c.Text;
        EXPECT_EQ(Dialog->ShownPage(), c.Page);
        ASSERT_EQ(Prompts.Prompts().size(), 1u) << c.Control << " " << c.Text;
        EXPECT_EQ(Prompts.Last().Text, QString::fromLatin1(c.Message));
        EXPECT_EQ(Prompts.Last().Caption, QStringLiteral("Vocalore"));
        EXPECT_EQ(Prompts.Last().Icon, TMsgIcon::Warning);
        EXPECT_TRUE(control->hasFocus()) << c.Control;

        // OK refuses the same way and leaves the dialog open.
        C<QPushButton>("btnOK")->click();
        EXPECT_TRUE(Dialog->isVisible());
        EXPECT_EQ(Prompts.Prompts().size(), 2u);
    }
    // A plain edit box gets its whole text selected.
    Open(TOptions{}, opFeedback);
    C<QLineEdit>("edtDelay")->setText(QStringLiteral("99"));
    Pages()->setCurrentIndex(opKeyboard);
    EXPECT_EQ(C<QLineEdit>("edtDelay")->selectedText(), QStringLiteral("99"));
}

TEST_F(OptionsDialogTest, OnlyThePageShownIsCheckedAndGoodNumbersPass) {
    Open(TOptions{}, opQuestion);
    Combo("cbNumChoices")->setEditText(QStringLiteral("10"));
    Pages()->setCurrentIndex(opFeedback);
    EXPECT_EQ(Pages()->currentIndex(), opFeedback);
    C<QLineEdit>("edtDelay")->setText(QStringLiteral("0"));
    Pages()->setCurrentIndex(opEvaluation);
    EXPECT_EQ(Pages()->currentIndex(), opEvaluation);
    EXPECT_TRUE(Prompts.Prompts().empty());
    // A bad number on a page not shown isn't looked at; the page shown is.
    Combo("cbNumChoices")->setEditText(QStringLiteral("99"));
    EXPECT_TRUE(Dialog->CheckPage(opEvaluation));
    EXPECT_FALSE(Dialog->CheckPage(opQuestion));
    // Number fields take at most two digits.
    C<QLineEdit>("edtDelay")->clear();
    QTest::keyClicks(C<QLineEdit>("edtDelay"), QStringLiteral("1x234"));
    EXPECT_EQ(C<QLineEdit>("edtDelay")->text(), QStringLiteral("12"));
    QLineEdit* choices = Combo("cbNumChoices")->lineEdit();
    choices->clear();
    QTest::keyClicks(choices, QStringLiteral("-7a"));
    EXPECT_EQ(choices->text(), QStringLiteral("7"));
}

TEST_F(OptionsDialogTest, CtrlTabTurnsThePageFromAnyControlAndStillChecks) {
    Open(TOptions{}, opKeyboard);
    QComboBox* script = Combo("cbCharSet");
    script->setFocus();
    QTest::keyClick(script, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(Pages()->currentIndex(), opEditing);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(Pages()->currentIndex(), opQuestion);
    Combo("cbNumChoices")->setEditText(QStringLiteral("12"));
    Combo("cbNumChoices")->setFocus();
    QTest::keyClick(Combo("cbNumChoices")->lineEdit(), Qt::Key_Backtab,
                    Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Pages()->currentIndex(), opQuestion);
    EXPECT_EQ(Prompts.Prompts().size(), 1u);
    Combo("cbNumChoices")->setEditText(QStringLiteral("5"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab,
                    Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Pages()->currentIndex(), opEditing);
    Pages()->setCurrentIndex(opRepetition);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(Pages()->currentIndex(), opSpeech);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(Pages()->currentIndex(), opFiles);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(Pages()->currentIndex(), opKeyboard);
}

// --- shortcut editor ------------------------------------------------------------

TEST_F(OptionsDialogTest, ChoosingAKeyShowsItsCharacterInItsScript) {
    TOptions stored;
    stored.ShortcutChars[0] = MakeShortcutChar(0xE8, CentralEuropean); // č in 1250
    stored.ShortcutChars[60] = MakeShortcutChar(0xE8, 0);              // è in 1252
    Open(stored, opKeyboard, Cyrillic);
    QComboBox* character = Combo("cbCharacter");
    QComboBox* script = Combo("cbCharSet");
    QLabel* unassigned = C<QLabel>("lblUnassigned");
    EXPECT_EQ(script->currentData().toInt(), CentralEuropean);
    EXPECT_EQ(character->currentData().toInt(), 0xE8);
    EXPECT_EQ(character->currentText(), QString(QChar(0x010D)));
    EXPECT_FALSE(unassigned->isVisible());

    Combo("cbShortcut")->setCurrentIndex(60);
    EXPECT_EQ(script->currentData().toInt(), 0);
    EXPECT_EQ(character->currentText(), QString(QChar(0x00E8)));

    // A key without a character: the first entry, the foreign language's script.
    Combo("cbShortcut")->setCurrentIndex(1);
    EXPECT_EQ(character->currentIndex(), 0);
    EXPECT_EQ(script->currentData().toInt(), Cyrillic);
    EXPECT_TRUE(unassigned->isVisible());
    EXPECT_EQ(unassigned->text(), QStringLiteral("[unassigned]"));
    // Every entry shows its byte through the script's code page.
    const TCodePage& cyrillic = *TCodePage::ForCodePage(1251);
    EXPECT_EQ(character->itemText(CharacterIndex(0xC0)), QString(QChar(cyrillic.Decode(0xC0))));
    EXPECT_EQ(character->itemText(CharacterIndex(0xC0)), QString(QChar(0x0410)));
    EXPECT_EQ(character->itemText(CharacterIndex('!')), QStringLiteral("!"));
    // Merely looking at keys assigned nothing.
    EXPECT_EQ(Shortcut(1), 0);
    EXPECT_EQ(Dialog->Options().ShortcutChars, stored.ShortcutChars);
}

TEST_F(OptionsDialogTest, ChoosingACharacterOrScriptAssignsIt) {
    Open(TOptions{}, opKeyboard, Cyrillic);
    QComboBox* character = Combo("cbCharacter");
    QComboBox* script = Combo("cbCharSet");
    QLabel* unassigned = C<QLabel>("lblUnassigned");
    Combo("cbShortcut")->setCurrentIndex(30);
    character->setCurrentIndex(CharacterIndex(0xC0));
    EXPECT_EQ(Shortcut(30), MakeShortcutChar(0xC0, Cyrillic));
    EXPECT_FALSE(unassigned->isVisible());
    EXPECT_EQ(character->currentText(), QString(QChar(0x0410))); // А

    script->setCurrentIndex(script->findData(Greek));
    EXPECT_EQ(Shortcut(30), MakeShortcutChar(0xC0, Greek));
    EXPECT_EQ(character->currentText(), QString(QChar(0x0390))); // ΐ
    // Bytes the code page leaves unassigned show as blanks.
    const TCodePage& greek = *TCodePage::ForCodePage(1253);
    int blanks = 0;
    for (int code = 0x80; code <= 0xFF; ++code)
        if (greek.Decode(static_cast<unsigned char>(code)) >= TCodePage::UnassignedBase) {
            EXPECT_EQ(character->itemText(CharacterIndex(code)), QString()) << code;
            ++blanks;
        }
    EXPECT_GT(blanks, 0);

    // Another key and back again.
    Combo("cbShortcut")->setCurrentIndex(31);
    EXPECT_EQ(character->currentIndex(), 0);
    EXPECT_EQ(script->currentData().toInt(), Cyrillic);
    Combo("cbShortcut")->setCurrentIndex(30);
    EXPECT_EQ(script->currentData().toInt(), Greek);
    EXPECT_EQ(character->currentData().toInt(), 0xC0);

    // The first key takes a character like any other.
    Combo("cbShortcut")->setCurrentIndex(0);
    character->setCurrentIndex(CharacterIndex('!'));
    EXPECT_EQ(Shortcut(0), MakeShortcutChar('!', Cyrillic));
    Combo("cbShortcut")->setCurrentIndex(30);

    // The first entry takes the character away, script and all.
    character->setCurrentIndex(0);
    EXPECT_EQ(Shortcut(30), 0);
    EXPECT_TRUE(unassigned->isVisible());
    script->setCurrentIndex(script->findData(CentralEuropean));
    EXPECT_EQ(Shortcut(30), 0);
    EXPECT_TRUE(unassigned->isVisible());
}

TEST_F(OptionsDialogTest, ClearAllAsksFirstThenEmptiesEveryKey) {
    TOptions stored;
    for (size_t i = 0; i < stored.ShortcutChars.size(); ++i)
        stored.ShortcutChars[i] = MakeShortcutChar(0xE0 + i % 16, 0);
    Open(stored, opKeyboard, Greek);
    Combo("cbShortcut")->setCurrentIndex(40);

    Prompts.QueueButton(mbCancel);
    C<QPushButton>("btnClearAll")->click();
    ASSERT_EQ(Prompts.Prompts().size(), 1u);
    EXPECT_EQ(Prompts.Last().Text, QStringLiteral("Clear all shortcut key assignments?"));
    EXPECT_EQ(Prompts.Last().Caption, QStringLiteral("Vocalore"));
    EXPECT_EQ(Prompts.Last().Icon, TMsgIcon::Warning);
    EXPECT_EQ(Prompts.Last().Buttons, mbOK | mbCancel);
    EXPECT_EQ(Dialog->Options().ShortcutChars, stored.ShortcutChars);
    EXPECT_EQ(Combo("cbShortcut")->currentIndex(), 40);

    Combo("cbCharSet")->setFocus();
    Prompts.QueueButton(mbOK);
    C<QPushButton>("btnClearAll")->click();
    // The keys the system keeps are not shown, and what they hold stays.
    for (int i = 0; i < ShortcutKeyCount; ++i)
        EXPECT_EQ(Shortcut(i), i >= 82 ? stored.ShortcutChars[size_t(i)] : 0) << i;
    EXPECT_EQ(Combo("cbShortcut")->currentIndex(), 0);
    EXPECT_EQ(Combo("cbCharacter")->currentIndex(), 0);
    EXPECT_EQ(Combo("cbCharSet")->currentData().toInt(), Greek);
    EXPECT_TRUE(C<QLabel>("lblUnassigned")->isVisible());
    EXPECT_TRUE(Combo("cbShortcut")->hasFocus());

    // Cancel leaves the caller's record alone.
    TOptions options = stored;
    int32_t page = opKeyboard;
    OnNextModal([](QDialog* dialog) { dialog->reject(); });
    EXPECT_FALSE(TOptionsDialog::Execute(nullptr, options, page, 0));
    EXPECT_EQ(options, stored);
}

// Ctrl+Alt+F1 ... F12 switch to a text console: the ten such keys offer no
// character, and what the record holds for them is written back unchanged.
TEST_F(OptionsDialogTest, KeysTheSystemReservesOfferNoCharacterAndKeepTheirEntry) {
    TOptions stored;
    stored.ShortcutChars[85] = MakeShortcutChar(0xE9, 0); // Ctrl+Alt+F5
    Open(stored, opKeyboard, Greek);
    int reserved = 0;
    for (int i = 0; i < ShortcutKeyCount; ++i)
        reserved += IsSystemReservedKey(ShortcutKeys[size_t(i)]);
    EXPECT_EQ(reserved, 10);
    Combo("cbShortcut")->setCurrentIndex(85);
    EXPECT_FALSE(Combo("cbCharacter")->isEnabled());
    EXPECT_FALSE(Combo("cbCharSet")->isEnabled());
    EXPECT_EQ(Combo("cbCharacter")->currentIndex(), 0);
    EXPECT_EQ(Combo("cbCharSet")->currentData().toInt(), Greek) << "the stored entry shows";
    EXPECT_EQ(C<QLabel>("lblUnassigned")->text(), QStringLiteral("[reserved by the system]"));
    EXPECT_TRUE(C<QLabel>("lblUnassigned")->isVisible());
    Combo("cbCharacter")->setCurrentIndex(5); // even if reached somehow
    EXPECT_EQ(Shortcut(85), stored.ShortcutChars[85]);
    // Any other key is as before.
    Combo("cbShortcut")->setCurrentIndex(81);
    EXPECT_TRUE(Combo("cbCharacter")->isEnabled());
    EXPECT_TRUE(Combo("cbCharSet")->isEnabled());
    EXPECT_EQ(C<QLabel>("lblUnassigned")->text(), QStringLiteral("[unassigned]"));
    C<QPushButton>("btnOK")->click();
    EXPECT_EQ(Dialog->Options().ShortcutChars, stored.ShortcutChars);
    // The layout text speaks of this desktop.
    const QString text = C<QLabel>("lblKeyboardText")->text();
    EXPECT_EQ(text, QStringLiteral("Use your desktop's keyboard settings to set up the keyboard "
                                   "languages and layouts you require."));
}

// Ctrl+PageDown and Ctrl+PageUp turn the pages as Ctrl+Tab does, from a
// list that would otherwise take the keys.
TEST_F(OptionsDialogTest, CtrlPageDownAndUpTurnThePages) {
    Open(TOptions{}, opKeyboard);
    Combo("cbShortcut")->setFocus();
    QTest::keyClick(Combo("cbShortcut"), Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(Pages()->currentIndex(), opEditing);
    EXPECT_EQ(Combo("cbShortcut")->currentIndex(), 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(Pages()->currentIndex(), opQuestion);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(Pages()->currentIndex(), opKeyboard);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(Pages()->currentIndex(), opFiles); // the last page
}

// Ticking "Use penalty points" selects the maximum: a typed 5 replaces it.
TEST_F(OptionsDialogTest, TickingPenaltyPointsSelectsTheMaximum) {
    Open(TOptions{}, opRepetition);
    Check("chbUsePenaltyPoints")->click();
    QLineEdit* maximum = Combo("cbMaxPenaltyPoints")->lineEdit();
    ASSERT_TRUE(maximum->hasFocus());
    EXPECT_EQ(maximum->selectedText(), QStringLiteral("3"));
    QTest::keyClicks(maximum, QStringLiteral("5"));
    EXPECT_EQ(Combo("cbMaxPenaltyPoints")->currentText(), QStringLiteral("5"));
}

// One size for every page, so that the buttons never move.
TEST_F(OptionsDialogTest, EveryPageHasTheSameDialogSize) {
    Open(TOptions{}, opKeyboard);
    const QSize first = Dialog->size();
    const QPoint ok = C<QPushButton>("btnOK")->pos();
    for (int page = 0; page < Pages()->count(); ++page) {
        Pages()->setCurrentIndex(page);
        QApplication::processEvents();
        EXPECT_EQ(Dialog->size(), first) << page;
        EXPECT_EQ(C<QPushButton>("btnOK")->pos(), ok) << page;
    }
}

// --- the remembered page ---------------------------------------------------------

TEST_F(OptionsDialogTest, OKRemembersThePageShownAndCancelDoesNot) {
    TOptions options;
    int32_t page = opEvaluation;
    OnNextModal([](QDialog* dialog) {
        auto* pages = Child<QTabWidget>(dialog, "pcOptions");
        EXPECT_EQ(pages->currentIndex(), opEvaluation);
        pages->setCurrentIndex(opEditing);
        Child<QCheckBox>(dialog, "chbAppendNewWords")->setChecked(true);
        Child<QPushButton>(dialog, "btnOK")->click();
    });
    EXPECT_TRUE(TOptionsDialog::Execute(nullptr, options, page, 0));
    EXPECT_EQ(page, opEditing);
    EXPECT_TRUE(options.AppendNewWords);

    OnNextModal([](QDialog* dialog) {
        auto* pages = Child<QTabWidget>(dialog, "pcOptions");
        EXPECT_EQ(pages->currentIndex(), opEditing);
        pages->setCurrentIndex(opRepetition);
        Child<QCheckBox>(dialog, "chbAppendNewWords")->setChecked(false);
        Child<QPushButton>(dialog, "btnCancel")->click();
    });
    EXPECT_FALSE(TOptionsDialog::Execute(nullptr, options, page, 0));
    EXPECT_EQ(page, opEditing);
    EXPECT_TRUE(options.AppendNewWords);

    // A failed check on OK keeps the dialog open; nothing is written until
    // the number is put right.
    OnNextModal([](QDialog* dialog) {
        auto* pages = Child<QTabWidget>(dialog, "pcOptions");
        pages->setCurrentIndex(opQuestion);
        auto* choices = Child<QComboBox>(dialog, "cbNumChoices");
        choices->setEditText(QStringLiteral("1"));
        Child<QPushButton>(dialog, "btnOK")->click();
        EXPECT_TRUE(dialog->isVisible());
        choices->setEditText(QStringLiteral("6"));
        Child<QPushButton>(dialog, "btnOK")->click();
    });
    EXPECT_TRUE(TOptionsDialog::Execute(nullptr, options, page, 0));
    EXPECT_EQ(options.NumChoices, 6);
    EXPECT_EQ(page, opQuestion);
    EXPECT_EQ(Prompts.Prompts().size(), 1u);
}

} // namespace
} // namespace vocalore
