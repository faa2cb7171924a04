#include "DialogTestSupport.h"

#include "ui/files/AboutDialog.h"
#include "ui/files/NewDialog.h"
#include "ui/files/PropertiesDialog.h"
#include "ui/files/WelcomeDialog.h"
#include "ui/window/Help.h"

#include "core/Languages.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWhatsThis>

#include <gtest/gtest.h>

#include <memory>

namespace vocalore {
namespace {

using dialogtest::Child;

constexpr uint16_t French = 0x040C;
constexpr uint16_t EnglishUS = 0x0409;
constexpr uint16_t Polish = 0x0415;
constexpr uint16_t Arabic = 0x0401; // code page 1256: never offered

QString Text(QWidget* dialog, const char* label) { return Child<QLabel>(dialog, label)->text(); }

TEST(NewDialog, OpensOnTheGivenLanguagesAndReturnsTheChosenOnes) {
    TNewDialog dialog(nullptr, French, EnglishUS);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("New"));
    auto* foreign = Child<QComboBox>(&dialog, "cbForeign");
    auto* native = Child<QComboBox>(&dialog, "cbNative");
    EXPECT_EQ(foreign->currentText(), QString::fromStdString(LanguageName(French)));
    EXPECT_EQ(native->currentText(), QString::fromStdString(LanguageName(EnglishUS)));
    EXPECT_EQ(foreign->count(), static_cast<int>(LanguageList().size()));
    EXPECT_TRUE(Child<QPushButton>(&dialog, "btnOK")->isEnabled());
    // The lists are sorted by name.
    for (int i = 1; i < foreign->count(); ++i)
        EXPECT_LE(QString::localeAwareCompare(foreign->itemText(i - 1), foreign->itemText(i)), 0);

    foreign->setCurrentIndex(foreign->findText(QString::fromStdString(LanguageName(Polish))));
    EXPECT_EQ(dialog.ForeignLangID(), Polish);
    EXPECT_EQ(dialog.NativeLangID(), EnglishUS);
}

TEST(NewDialog, LanguageListShowsAboutTwentyEntriesAndScrolls) {
    TNewDialog dialog(nullptr, French, EnglishUS);
    dialog.show();
    auto* foreign = Child<QComboBox>(&dialog, "cbForeign");
    ASSERT_GT(foreign->count(), 40);
    foreign->showPopup();
    QAbstractItemView* list = foreign->view();
    const int row = list->sizeHintForRow(0);
    ASSERT_GT(row, 0);
    EXPECT_LE(list->viewport()->height(), 21 * row);
    EXPECT_GE(list->viewport()->height(), 15 * row);
    foreign->hidePopup();
}

TEST(NewDialog, UnofferedLanguageLeavesNoSelectionAndOKDisabled) {
    TNewDialog dialog(nullptr, Arabic, EnglishUS);
    auto* foreign = Child<QComboBox>(&dialog, "cbForeign");
    auto* ok = Child<QPushButton>(&dialog, "btnOK");
    EXPECT_EQ(foreign->currentIndex(), -1);
    EXPECT_FALSE(ok->isEnabled());
    foreign->setCurrentIndex(0);
    EXPECT_TRUE(ok->isEnabled());
}

TEST(NewDialog, ExecuteWritesBackOnlyOnOK) {
    uint16_t foreign = French, native = EnglishUS;
    dialogtest::OnNextModal([](QDialog* dialog) {
        auto* box = Child<QComboBox>(dialog, "cbForeign");
        box->setCurrentIndex(box->findText(QString::fromStdString(LanguageName(Polish))));
        Child<QPushButton>(dialog, "btnCancel")->click();
    });
    EXPECT_FALSE(TNewDialog::Execute(nullptr, foreign, native));
    EXPECT_EQ(foreign, French);

    dialogtest::OnNextModal([](QDialog* dialog) {
        auto* box = Child<QComboBox>(dialog, "cbForeign");
        box->setCurrentIndex(box->findText(QString::fromStdString(LanguageName(Polish))));
        Child<QPushButton>(dialog, "btnOK")->click();
    });
    EXPECT_TRUE(TNewDialog::Execute(nullptr, foreign, native));
    EXPECT_EQ(foreign, Polish);
    EXPECT_EQ(native, EnglishUS);
}

TEST(NewDialog, ControlsHavePopUpHelpReachedWithShiftF1) {
    TNewDialog dialog(nullptr, French, EnglishUS);
    EXPECT_EQ(Child<QPushButton>(&dialog, "btnOK")->whatsThis(), PopupHelpText(hcOKButton));
    EXPECT_FALSE(Child<QPushButton>(&dialog, "btnCancel")->whatsThis().isEmpty());
    EXPECT_FALSE(Child<QComboBox>(&dialog, "cbForeign")->whatsThis().isEmpty());
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(&dialog, Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_TRUE(QWhatsThis::inWhatsThisMode());
    QWhatsThis::leaveWhatsThisMode();
}

TEST(PropertiesDialog, SizeTextSwitchesToKilobytesFrom1024Bytes) {
    struct Row {
        qint64 size;
        const char* text;
    } rows[] = {
        {0, "0 bytes"},
        {1023, "1023 bytes"},
        {1024, "1.00KB (1024 bytes)"},
        {1536, "1.50KB (1536 bytes)"},
        {2000000, "1,953.13KB (2000000 bytes)"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(FileSizeText(row.size), QString::fromLatin1(row.text)) << row.size;
}

TEST(PropertiesDialog, UntitledDocumentShowsNoFileFacts) {
    TPropertiesData data;
    data.ForeignLangID = French;
    data.NativeLangID = EnglishUS;
    data.Count = 57;
    TPropertiesDialog dialog(nullptr, data);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Properties"));
    EXPECT_EQ(Text(&dialog, "stDocumentTitle"), QStringLiteral("Untitled"));
    for (const char* name : {"stLocation", "stSize", "stModified"})
        EXPECT_TRUE(Text(&dialog, name).isEmpty()) << name;
    for (const char* name : {"chbReadOnly", "chbHidden", "chbArchive", "chbSystem"}) {
        EXPECT_FALSE(Child<QCheckBox>(&dialog, name)->isChecked()) << name;
        EXPECT_FALSE(Child<QCheckBox>(&dialog, name)->isEnabled()) << name;
    }
    EXPECT_EQ(Text(&dialog, "stWords"), QStringLiteral("57"));
    EXPECT_EQ(Text(&dialog, "stForeign"), QString::fromStdString(LanguageName(French)));
    EXPECT_EQ(Text(&dialog, "stNative"), QString::fromStdString(LanguageName(EnglishUS)));
    auto* tabs = Child<QTabWidget>(&dialog, "pcProperties");
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("General"));
    EXPECT_EQ(tabs->currentWidget()->objectName(), QStringLiteral("tsSummary"));
    dialog.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_TRUE(Child<QLineEdit>(&dialog, "edtDescription")->hasFocus());
}

TEST(PropertiesDialog, FileFactsComeFromTheFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("words.vlo"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(1536, 'x'));
    }
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    TPropertiesData data;
    data.FileName = path.toStdString();
    data.NativeLangID = EnglishUS;
    {
        TPropertiesDialog dialog(nullptr, data);
        EXPECT_EQ(Text(&dialog, "stDocumentTitle"), QStringLiteral("words.vlo"));
        EXPECT_EQ(Text(&dialog, "stSize"), QStringLiteral("1.50KB (1536 bytes)"));
        EXPECT_FALSE(Text(&dialog, "stModified").isEmpty());
        EXPECT_TRUE(Child<QCheckBox>(&dialog, "chbReadOnly")->isChecked());
        EXPECT_FALSE(Child<QCheckBox>(&dialog, "chbHidden")->isChecked());
        // The folder, shortened to the label when it is long.
        const QString location = Text(&dialog, "stLocation");
        EXPECT_FALSE(location.isEmpty());
        EXPECT_TRUE(dir.path().endsWith(location.section(u'/', -1)));
    }
    // Deleted since: title and location stay, size and time go.
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QFile::remove(path);
    TPropertiesDialog dialog(nullptr, data);
    EXPECT_EQ(Text(&dialog, "stDocumentTitle"), QStringLiteral("words.vlo"));
    EXPECT_FALSE(Text(&dialog, "stLocation").isEmpty());
    EXPECT_TRUE(Text(&dialog, "stSize").isEmpty());
    EXPECT_TRUE(Text(&dialog, "stModified").isEmpty());
}

TEST(PropertiesDialog, LongNamesAreShortenedToTheirLabelsAndTheDialogStaysOnScreen) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QString(200, u'f') + u'/' + QString(20, u'g'));
    const QString name = QString(240, u'n') + QStringLiteral(".vlo");
    TPropertiesData data;
    data.FileName = (folder + u'/' + name).toStdString();
    data.NativeLangID = EnglishUS;
    TPropertiesDialog dialog(nullptr, data);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QRect work = dialog.screen()->availableGeometry();
    EXPECT_LE(dialog.frameGeometry().width(), work.width());
    EXPECT_TRUE(work.contains(dialog.frameGeometry()));
    auto* ok = Child<QPushButton>(&dialog, "btnOK");
    EXPECT_TRUE(dialog.rect().contains(ok->geometry()));
    Child<QTabWidget>(&dialog, "pcProperties")->setCurrentIndex(0);
    // Each label shows what fits in the room it really has, the end of the name kept.
    for (const char* label : {"stDocumentTitle", "stLocation"}) {
        auto* shown = Child<QLabel>(&dialog, label);
        const QString text = shown->text();
        EXPECT_LE(shown->fontMetrics().horizontalAdvance(text), shown->width()) << label;
        EXPECT_FALSE(text.isEmpty()) << label;
    }
    EXPECT_TRUE(Text(&dialog, "stDocumentTitle").endsWith(QStringLiteral("nn.vlo")));
    EXPECT_TRUE(Text(&dialog, "stLocation").endsWith(QStringLiteral("ggg")));
    EXPECT_EQ(Child<QLabel>(&dialog, "stDocumentTitle")->toolTip(), name);
}

TEST(PropertiesDialog, UnchangedFieldsGiveBackTheStoredBytes) {
    TPropertiesData data;
    data.NativeLangID = Polish;
    data.Description = "Lekcja 3";
    data.Author = "";
    data.Comments = "line one\nline two\r\nline three"; // mixed line ends from elsewhere
    TPropertiesDialog dialog(nullptr, data);
    EXPECT_EQ(Child<QPlainTextEdit>(&dialog, "memComments")->toPlainText(),
              QStringLiteral("line one\nline two\nline three"));
    EXPECT_EQ(dialog.Description(), data.Description);
    EXPECT_EQ(dialog.Author(), data.Author);
    EXPECT_EQ(dialog.Comments(), data.Comments);
}

TEST(PropertiesDialog, EditedFieldsAreStoredInTheNativeCodePage) {
    TPropertiesData data;
    data.NativeLangID = Polish; // code page 1250
    data.Comments = "a";
    dialogtest::OnNextModal([](QDialog* dialog) {
        Child<QLineEdit>(dialog, "edtDescription")->setText(QStringLiteral("Łódź"));
        Child<QLineEdit>(dialog, "edtAuthor")->setText(QStringLiteral("Anna"));
        Child<QPlainTextEdit>(dialog, "memComments")->setPlainText(QStringLiteral("first\nsecond"));
        Child<QPushButton>(dialog, "btnOK")->click();
    });
    ASSERT_TRUE(TPropertiesDialog::Execute(nullptr, data));
    EXPECT_EQ(data.Description, std::string("\xA3\xF3\x64\x9F"));
    EXPECT_EQ(data.Author, "Anna");
    EXPECT_EQ(data.Comments, "first\r\nsecond");

    // Characters the code page can't hold are never typed in.
    TPropertiesDialog dialog(nullptr, data);
    auto* description = Child<QLineEdit>(&dialog, "edtDescription");
    description->clear();
    for (QChar ch : QStringLiteral("x\u0416y")) { // Cyrillic Zhe is not in 1250
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(description, &press);
    }
    EXPECT_EQ(description->text(), QStringLiteral("xy"));
    auto* comments = Child<QPlainTextEdit>(&dialog, "memComments");
    comments->setPlainText(QStringLiteral("ok\u0416"));
    EXPECT_EQ(comments->toPlainText(), QStringLiteral("ok"));
}

TEST(PropertiesDialog, CommentsTakeEnterAsANewLine) {
    TPropertiesData data;
    data.NativeLangID = EnglishUS;
    TPropertiesDialog dialog(nullptr, data);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto* ok = Child<QPushButton>(&dialog, "btnOK");
    auto* comments = Child<QPlainTextEdit>(&dialog, "memComments");
    EXPECT_TRUE(ok->isDefault());
    comments->setFocus();
    EXPECT_FALSE(ok->isDefault());
    QTest::keyClicks(comments, QStringLiteral("a"));
    QTest::keyClick(comments, Qt::Key_Return);
    QTest::keyClicks(comments, QStringLiteral("b"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.Comments(), "a\r\nb");
    Child<QLineEdit>(&dialog, "edtAuthor")->setFocus();
    EXPECT_TRUE(ok->isDefault());
}

TEST(WelcomeDialog, ListHoldsBrowseThenTheRecentFiles) {
    TWelcomeDialogData empty;
    {
        TWelcomeDialog dialog(nullptr, empty);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Welcome"));
        auto* list = Child<QListWidget>(&dialog, "lbFileName");
        ASSERT_EQ(list->count(), 1);
        EXPECT_EQ(list->item(0)->text(), QStringLiteral("Browse..."));
        EXPECT_EQ(list->currentRow(), 0);
        EXPECT_TRUE(Child<QRadioButton>(&dialog, "rbOpen")->isChecked());
    }
    TWelcomeDialogData data;
    data.RecentFiles = {"/home/user/words/french.vlo",
                        "/home/user/a/very/long/folder/name/that/goes/on/and/on/and/on/until/it/no/"
                        "longer/fits/russian.vlo"};
    TWelcomeDialog dialog(nullptr, data);
    auto* list = Child<QListWidget>(&dialog, "lbFileName");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("/home/user/words/french.vlo"));
    const QString shortened = list->item(2)->text();
    EXPECT_TRUE(shortened.contains(QStringLiteral("...")));
    EXPECT_TRUE(shortened.endsWith(QStringLiteral("russian.vlo")));
    EXPECT_LE(list->fontMetrics().horizontalAdvance(shortened), list->width());
}

TEST(WelcomeDialog, ChoicesComeBackOnOKOnly) {
    TWelcomeDialogData data;
    data.RecentFiles = {"/tmp/one.vlo", "/tmp/two.vlo"};
    {
        TWelcomeDialog dialog(nullptr, data);
        auto* list = Child<QListWidget>(&dialog, "lbFileName");
        auto* rbNew = Child<QRadioButton>(&dialog, "rbNew");
        rbNew->setChecked(true);
        EXPECT_FALSE(list->isEnabled());
        Child<QRadioButton>(&dialog, "rbOpen")->setChecked(true);
        EXPECT_TRUE(list->isEnabled());
        list->setCurrentRow(2);
        Child<QPushButton>(&dialog, "btnOK")->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_TRUE(data.Open);
        EXPECT_EQ(data.FileName, "/tmp/two.vlo");
    }
    {
        TWelcomeDialog dialog(nullptr, data);
        Child<QPushButton>(&dialog, "btnOK")->click(); // "Browse..." is selected
        EXPECT_TRUE(data.Open);
        EXPECT_EQ(data.FileName, "");
    }
    {
        data.FileName = "kept";
        data.Open = true;
        TWelcomeDialog dialog(nullptr, data);
        Child<QRadioButton>(&dialog, "rbNew")->setChecked(true);
        Child<QPushButton>(&dialog, "btnCancel")->click();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_TRUE(data.Open);
        EXPECT_EQ(data.FileName, "kept");
    }
}

TEST(WelcomeDialog, DoubleClickOnAChoiceTakesItAtOnce) {
    TWelcomeDialogData data;
    data.RecentFiles = {"/tmp/one.vlo"};
    data.Open = true;
    {
        TWelcomeDialog dialog(nullptr, data);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        QTest::mouseDClick(Child<QRadioButton>(&dialog, "rbNew"), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_FALSE(data.Open);
    }
    TWelcomeDialog dialog(nullptr, data);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    Child<QRadioButton>(&dialog, "rbNew")->setChecked(true);
    auto* list = Child<QListWidget>(&dialog, "lbFileName");
    ASSERT_FALSE(list->isEnabled());
    const QRect row = list->visualItemRect(list->item(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_TRUE(
        Child<QRadioButton>(&dialog, "rbOpen")->isChecked()); // a click in the list picks "open"
    EXPECT_TRUE(list->isEnabled());
    EXPECT_EQ(list->currentRow(), 1);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(data.Open);
    EXPECT_EQ(data.FileName, "/tmp/one.vlo");
}

// Every dialog's Help button opens the dialog's own topic, and Cancel leaves
// it unaccepted.
TEST(DialogButtons, HelpOpensTheDialogsTopicAndCancelRejects) {
    std::vector<QUrl> opened;
    SetHelpFolder(QStringLiteral(VOCALORE_SOURCE_DIR "/help"));
    SetHelpOpener([&](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    TWelcomeDialogData welcome;
    const TPropertiesData properties;
    std::unique_ptr<QDialog> dialogs[] = {std::make_unique<TWelcomeDialog>(nullptr, welcome),
                                          std::make_unique<TNewDialog>(nullptr, French, EnglishUS),
                                          std::make_unique<TPropertiesDialog>(nullptr, properties)};
    const int contexts[] = {hcWelcomeDialog, hcNewDialog, hcPropertiesDialog};
    for (size_t i = 0; i < std::size(dialogs); ++i) {
        QDialog* dialog = dialogs[i].get();
        const std::string name = dialog->objectName().toStdString();
        EXPECT_TRUE(Child<QPushButton>(dialog, "btnOK")->isDefault()) << name;
        Child<QPushButton>(dialog, "btnHelp")->click();
        ASSERT_EQ(opened.size(), i + 1) << name;
        EXPECT_TRUE(opened.back().toString().endsWith(HelpPage(contexts[i]))) << name;
        dialog->show();
        Child<QPushButton>(dialog, "btnCancel")->click();
        EXPECT_EQ(dialog->result(), QDialog::Rejected) << name;
        EXPECT_FALSE(dialog->isVisible()) << name;
    }
    SetHelpOpener(nullptr);
    SetHelpFolder({});
}

TEST(AboutDialog, ShowsNameAndVersion) {
    TAboutDialog dialog(nullptr);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("About"));
    EXPECT_EQ(Text(&dialog, "lblTitle"), QStringLiteral("Vocalore"));
    EXPECT_TRUE(Child<QLabel>(&dialog, "lblTitle")->font().bold());
    EXPECT_EQ(Text(&dialog, "lblVersion"), QStringLiteral("Version 2.0"));
    EXPECT_FALSE(Child<QLabel>(&dialog, "imgIcon")->pixmap().isNull());
    auto* ok = Child<QPushButton>(&dialog, "btnOK");
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    dialog.show();
    ok->click();
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
} // namespace vocalore
