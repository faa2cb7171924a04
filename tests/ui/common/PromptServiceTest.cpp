#include "ui/common/PromptService.h"
#include "ui/common/DialogHelpers.h"

#include "DialogTestSupport.h"

#include <QDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

namespace vocalore {
namespace {

TEST(PromptService, FakeRecordsPromptsAndAnswersFromItsQueue) {
    TFakePromptService fake(true);
    EXPECT_EQ(&TPromptService::Instance(), &fake);
    fake.QueueButton(mbNo);
    fake.QueueFile(QStringLiteral("/tmp/a.vlo"), 2);

    TMessageRequest message;
    message.Text = QStringLiteral("Save changes to Untitled?");
    message.Caption = QStringLiteral("Vocalore");
    message.Icon = TMsgIcon::Warning;
    message.Buttons = mbYes | mbNo | mbCancel;
    EXPECT_EQ(TPromptService::Instance().MessageBox(message), mbNo);

    TFileDialogRequest open;
    open.Caption = QStringLiteral("Open");
    open.Filter = QStringLiteral("Vocalore Documents (*.vlo)|*.vlo|All Files (*.*)|*.*");
    open.DefaultSuffix = QStringLiteral("vlo");
    const TFileDialogResult chosen = TPromptService::Instance().OpenFile(open);
    EXPECT_EQ(chosen.Path, QStringLiteral("/tmp/a.vlo"));
    EXPECT_EQ(chosen.FilterIndex, 2);

    ASSERT_EQ(fake.Prompts().size(), 2u);
    const TRecordedPrompt& box = fake.Prompts()[0];
    EXPECT_EQ(box.Kind, TRecordedPrompt::pkMessage);
    EXPECT_EQ(box.Text, message.Text);
    EXPECT_EQ(box.Icon, TMsgIcon::Warning);
    EXPECT_EQ(box.Buttons, mbYes | mbNo | mbCancel);
    EXPECT_EQ(box.DefaultButton, mbYes); // the first button unless told otherwise
    EXPECT_EQ(fake.Last().Kind, TRecordedPrompt::pkOpenFile);
    EXPECT_EQ(fake.Last().Caption, QStringLiteral("Open"));
    EXPECT_EQ(fake.Last().Filter, open.Filter);
    EXPECT_EQ(fake.Unanswered(), 0);
}

TEST(PromptService, UnscriptedPromptsAreCancelledAndCounted) {
    TFakePromptService fake(true);
    TMessageRequest request;
    request.Buttons = mbYes | mbNo | mbCancel;
    EXPECT_EQ(fake.MessageBox(request), mbCancel);
    request.Buttons = mbYes | mbNo;
    EXPECT_EQ(fake.MessageBox(request), mbNo);
    request.Buttons = mbOK;
    EXPECT_EQ(fake.MessageBox(request), mbOK);
    EXPECT_FALSE(fake.SaveFile({}).Accepted());
    EXPECT_EQ(fake.Unanswered(), 4);
}

TEST(PromptService, UninstallingGoesBackToTheRealDialogs) {
    {
        TFakePromptService fake(true);
        EXPECT_EQ(&TPromptService::Instance(), &fake);
    }
    EXPECT_NE(dynamic_cast<TQtPromptService*>(&TPromptService::Instance()), nullptr);
}

TEST(PromptService, FileDialogsOpenLargeEnoughAndKeepTheSizeTheUserGaveThem) {
    TPromptService::Install(nullptr);
    TQtPromptService::SetFileDialogSize({});
    const QSize first = TQtPromptService::FileDialogSize();
    EXPECT_GE(first.width(), 700);
    EXPECT_GE(first.height(), 450);
    TFileDialogRequest open;
    open.Caption = QStringLiteral("Open");
    QSize shown;
    dialogtest::OnNextModal([&](QDialog* dialog) {
        shown = dialog->size();
        dialog->resize(720, 500);
        dialog->reject();
    });
    EXPECT_FALSE(TPromptService::Instance().OpenFile(open).Accepted());
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(shown, first.boundedTo(work.size()));
    EXPECT_EQ(TQtPromptService::FileDialogSize(), QSize(720, 500));
    dialogtest::OnNextModal([&](QDialog* dialog) {
        shown = dialog->size();
        dialog->reject();
    });
    EXPECT_FALSE(TPromptService::Instance().SaveFile(open).Accepted());
    EXPECT_EQ(shown, QSize(720, 500));
    TQtPromptService::SetFileDialogSize({});
}

// The real file dialogs and message boxes stand centred over their owner,
// the message box with the size it has once laid out.
TEST(PromptService, FileDialogsAndMessageBoxesAreCentredOverTheirOwner) {
    TPromptService::Install(nullptr);
    QWidget owner;
    owner.setGeometry(100, 100, 600, 400);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    const QPoint centre = owner.frameGeometry().center();
    TQtPromptService::SetFileDialogSize(QSize(400, 300));
    TFileDialogRequest open;
    open.Parent = &owner;
    open.Caption = QStringLiteral("Open");
    QRect shown;
    dialogtest::OnNextModal([&](QDialog* dialog) {
        shown = dialog->frameGeometry();
        dialog->reject();
    });
    EXPECT_FALSE(TPromptService::Instance().OpenFile(open).Accepted());
    EXPECT_LE((shown.center() - centre).manhattanLength(), 2)
        << shown.x() << "," << shown.y() << " " << shown.width() << "x" << shown.height() << " "
        << centre.x() << "," << centre.y();
    TQtPromptService::SetFileDialogSize({});

    TMessageRequest message;
    message.Parent = &owner;
    message.Text = QStringLiteral("Save changes to a rather long document title.vlo?");
    message.Caption = QStringLiteral("Vocalore");
    message.Icon = TMsgIcon::Warning;
    message.Buttons = mbYes | mbNo | mbCancel;
    QSize laidOut;
    dialogtest::OnNextModal([&](QDialog* dialog) {
        shown = dialog->frameGeometry();
        laidOut = dialog->size();
        dialog->reject();
    });
    TPromptService::Instance().MessageBox(message);
    EXPECT_LE((shown.center() - centre).manhattanLength(), 2)
        << shown.x() << "," << shown.y() << " " << laidOut.width() << "x" << laidOut.height();
}

TEST(PromptService, FilterTextBecomesQtNameFilters) {
    struct Row {
        const char* filter;
        QStringList expected;
    } rows[] = {
        {"Vocalore Documents (*.vlo)|*.vlo|All Files (*.*)|*.*",
         {"Vocalore Documents (*.vlo)", "All Files (*)"}},
        {"Vocalore Documents (*.vlo)|*.vlo|Text Files (*.txt, *.csv)|*.txt;*.csv|All Files "
         "(*.*)|*.*",
         {"Vocalore Documents (*.vlo)", "Text Files (*.txt *.csv)", "All Files (*)"}},
        {"Plain|*.txt", {"Plain (*.txt)"}},
        {"", {}},
        {"Dangling name", {}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(QtNameFilters(QString::fromLatin1(row.filter)), row.expected) << row.filter;
}

TEST(DialogHelpers, MessageBoxCaptionIsTheProductUnlessGiven) {
    TFakePromptService fake(true);
    std::vector<bool> switches;
    SetKeyboardSwitch([&](bool toDefault) { switches.push_back(toDefault); });
    fake.QueueButton(mbCancel);
    EXPECT_EQ(ShowMessageBox(QStringLiteral("Word already exists. Add anyway?"), {},
                             TMsgIcon::Warning, mbOK | mbCancel),
              mbCancel);
    ShowMessageBox(QStringLiteral("Search text not found."), QStringLiteral("Find"));
    SetKeyboardSwitch(nullptr);

    ASSERT_EQ(fake.Prompts().size(), 2u);
    EXPECT_EQ(fake.Prompts()[0].Caption, QStringLiteral("Vocalore"));
    EXPECT_EQ(fake.Prompts()[0].Buttons, mbOK | mbCancel);
    EXPECT_EQ(fake.Prompts()[1].Caption, QStringLiteral("Find"));
    EXPECT_EQ(fake.Prompts()[1].Icon, TMsgIcon::Information);
    // The default layout while each box is open, the field's layout after it.
    EXPECT_EQ(switches, (std::vector<bool>{true, false, true, false}));
}

TEST(DialogHelpers, IntFieldOutsideItsRangeIsRefusedAndFocused) {
    struct Row {
        const char* text;
        bool accepted;
    } rows[] = {{"", false},  {"abc", false}, {"-1", false}, {"0", true},
                {"20", true}, {"21", false},  {"7", true}};
    QDialog dialog;
    auto* edit = new QLineEdit(&dialog);
    auto* other = new QLineEdit(&dialog);
    dialog.show();
    for (const Row& row : rows) {
        TFakePromptService fake(true);
        other->setFocus();
        edit->setText(QString::fromLatin1(row.text));
        edit->deselect();
        EXPECT_EQ(CheckIntField(edit, 0, 20), row.accepted) << row.text;
        if (row.accepted) {
            EXPECT_TRUE(fake.Prompts().empty());
            continue;
        }
        ASSERT_EQ(fake.Prompts().size(), 1u);
        EXPECT_EQ(fake.Last().Text, QStringLiteral("Number must be between 0 and 20."));
        EXPECT_EQ(fake.Last().Icon, TMsgIcon::Warning);
        EXPECT_EQ(fake.Last().Buttons, mbOK);
        EXPECT_EQ(edit->selectedText(), edit->text());
        EXPECT_EQ(dialog.focusWidget(), edit) << row.text;
    }
}

TEST(DialogHelpers, RealFieldUsesTheShortestNumberForm) {
    TFakePromptService fake(true);
    QLineEdit edit;
    edit.setText(QStringLiteral("2.5"));
    EXPECT_TRUE(CheckRealField(&edit, 0, 10.5));
    edit.setText(QStringLiteral("11"));
    EXPECT_FALSE(CheckRealField(&edit, 0, 10.5));
    EXPECT_EQ(fake.Last().Text, QStringLiteral("Number must be between 0 and 10.5."));
    // Spin boxes are read through their text as well.
    QSpinBox spin;
    spin.setRange(0, 100);
    spin.setValue(50);
    EXPECT_FALSE(CheckIntField(&spin, 1, 9));
    EXPECT_EQ(fake.Last().Text, QStringLiteral("Number must be between 1 and 9."));
}

TEST(DialogHelpers, DialogsAreCentredOverTheOwnerAndKeptOnScreen) {
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget owner;
    owner.setGeometry(work.left() + 100, work.top() + 100, 400, 300);
    owner.show();
    const QRect frame = owner.frameGeometry();

    QDialog small(&owner);
    small.resize(200, 100);
    PlaceDialog(&small, &owner);
    EXPECT_EQ(small.pos(), QPoint(frame.left() + (frame.width() - 200) / 2,
                                  frame.top() + (frame.height() - 100) / 2));

    // An owner off the left edge: the dialog goes to the work area's left.
    owner.move(work.left() - 350, work.top() + 100);
    QDialog offLeft(&owner);
    offLeft.resize(200, 100);
    PlaceDialog(&offLeft, &owner);
    EXPECT_EQ(offLeft.pos().x(), work.left());

    // A dialog larger than the screen shows its top left corner.
    QDialog huge(&owner);
    huge.resize(work.width() + 200, work.height() + 200);
    PlaceDialog(&huge, &owner);
    EXPECT_EQ(huge.pos(), work.topLeft());

    // Near the bottom right corner, the right and bottom edges meet the work area's.
    QDialog corner;
    corner.resize(300, 200);
    corner.move(work.right() - 100, work.bottom() - 50);
    KeepOnScreen(&corner);
    EXPECT_EQ(corner.pos(), QPoint(work.right() + 1 - 300, work.bottom() + 1 - 200));
}

} // namespace
} // namespace vocalore
