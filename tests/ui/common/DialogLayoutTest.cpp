// What the user sees of each dialog: every control on every page lies inside
// its window and on top of no other, and every field has a label whose
// mnemonic reaches it. A label left out of its layout stays in its box's
// corner, two controls put into one grid cell cover each other, and a label
// never made leaves its field nameless; all of them show here.

#include "DialogTestSupport.h"

#include "ui/editing/EditDialog.h"
#include "ui/editing/SearchDialog.h"
#include "ui/files/AboutDialog.h"
#include "ui/files/AnkiImportDialog.h"
#include "ui/files/ImportDialog.h"
#include "ui/files/NewDialog.h"
#include "ui/files/PropertiesDialog.h"
#include "ui/files/RecoveryPage.h"
#include "ui/files/WelcomeDialog.h"
#include "ui/options/OptionsDialog.h"
#include "ui/printing/PageSetupDialog.h"
#include "ui/speech/SpeechPage.h"
#include "ui/testing/StatisticsDialog.h"

#include "settings/Options.h"
#include "settings/Settings.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace vocalore {
namespace {

constexpr uint16_t German = 0x0407, EnglishUS = 0x0409;

// The controls the dialog's own code made and named; Qt's parts inside a
// combo box or a spin box are theirs ("qt_..." or no name).
std::vector<QWidget*> NamedControls(QWidget* window) {
    std::vector<QWidget*> controls;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const QString name = w->objectName();
        if (w->isVisible() && !name.isEmpty() && !name.startsWith(QLatin1String("qt_")))
            controls.push_back(w);
    }
    return controls;
}

// Each control outside the window or over another one, by name.
std::vector<std::string> Misplaced(QWidget* window, const std::string& page) {
    const std::vector<QWidget*> controls = NamedControls(window);
    auto box = [&](QWidget* w) { return QRect(w->mapTo(window, QPoint(0, 0)), w->size()); };
    std::vector<std::string> found;
    for (size_t i = 0; i < controls.size(); ++i) {
        QWidget* a = controls[i];
        if (!window->rect().contains(box(a)))
            found.push_back(page + a->objectName().toStdString() + " lies outside the window");
        for (size_t j = i + 1; j < controls.size(); ++j) {
            QWidget* b = controls[j];
            if (a->isAncestorOf(b) || b->isAncestorOf(a) || !box(a).intersects(box(b)))
                continue;
            found.push_back(page + a->objectName().toStdString() + " and " +
                            b->objectName().toStdString() + " overlap");
        }
    }
    return found;
}

// Each field without a label that names it and whose mnemonic reaches it:
// without one the keyboard user can't get there at once, nor tell what the
// field is for.
std::vector<std::string> Unlabelled(QWidget* window, const std::string& page) {
    std::vector<std::string> found;
    const std::vector<QWidget*> controls = NamedControls(window);
    for (QWidget* w : controls) {
        const bool field = qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                           qobject_cast<QAbstractSpinBox*>(w) ||
                           qobject_cast<QAbstractItemView*>(w) || qobject_cast<QPlainTextEdit*>(w);
        // The recent-file list is named by the "Open an existing file:" choice above it.
        const bool namedByItsChoice = w->objectName() == QLatin1String("lbFileName");
        auto* edit = qobject_cast<QLineEdit*>(w);
        if (!field || namedByItsChoice || (edit && edit->isReadOnly()))
            continue;
        const bool labelled = std::any_of(controls.begin(), controls.end(), [w](QWidget* c) {
            auto* label = qobject_cast<QLabel*>(c);
            return label && label->buddy() == w && label->text().contains(QLatin1Char('&'));
        });
        if (!labelled)
            found.push_back(page + w->objectName().toStdString() + " has no label");
    }
    return found;
}

// The dialog shown, then each page of each of its tab widgets in turn.
std::vector<std::string> ProblemsOnEveryPage(QDialog& dialog) {
    dialog.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    std::vector<std::string> found;
    auto check = [&](const std::string& page) {
        for (const std::vector<std::string>& problems :
             {Misplaced(&dialog, page), Unlabelled(&dialog, page)})
            found.insert(found.end(), problems.begin(), problems.end());
    };
    check("");
    for (QTabWidget* tabs : dialog.findChildren<QTabWidget*>()) {
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            QApplication::processEvents();
            check(tabs->tabText(page).remove(QLatin1Char('&')).toStdString() + ": ");
        }
    }
    return found;
}

TEST(DialogLayout, EveryFieldIsLabelledAndNoControlCoversAnotherOrLeavesTheWindow) {
    // The Speech page refers to these while its dialog lives.
    TSpeechSettings speech;
    TSpeaker speaker(nullptr, speech);
    int32_t recoveryMinutes = DefaultRecoveryMinutes;
    std::vector<std::unique_ptr<QDialog>> dialogs;
    dialogs.push_back(std::make_unique<TAboutDialog>(nullptr));
    TEditDialogData edit;
    edit.ForeignLangID = German;
    edit.NativeLangID = EnglishUS;
    dialogs.push_back(std::make_unique<TEditDialog>(nullptr, edit, emAdd));
    dialogs.push_back(std::make_unique<TImportDialog>(nullptr));
    TAnkiDialogData anki;
    anki.FieldCaptions = {"Front / Text", "Back / Back Extra", "Extra"};
    anki.Decks = {"Deutsch", "Deutsch::Verben"};
    dialogs.push_back(std::make_unique<TAnkiImportDialog>(nullptr, anki));
    dialogs.push_back(std::make_unique<TNewDialog>(nullptr, German, EnglishUS));
    dialogs.push_back(std::make_unique<TOptionsDialog>(
        nullptr, TOptions{}, 0, 0,
        QList<QWidget*>{new TSpeechPage(speaker, speech, German, EnglishUS),
                        new TRecoveryPage(recoveryMinutes)}));
    dialogs.push_back(std::make_unique<TPageSetupDialog>(nullptr, TPageSetup{}));
    TPropertiesData properties;
    properties.FileName = "/home/user/lessons/Lektion 1.vlo";
    properties.ForeignLangID = German;
    properties.NativeLangID = EnglishUS;
    dialogs.push_back(std::make_unique<TPropertiesDialog>(nullptr, properties));
    TSearchData search;
    dialogs.push_back(std::make_unique<TSearchDialog>(nullptr, search, [] {}));
    dialogs.push_back(std::make_unique<TStatisticsDialog>(nullptr, TStatisticsFigures{}));
    TWelcomeDialogData welcome;
    welcome.RecentFiles = {"/home/user/lessons/Lektion 1.vlo"};
    dialogs.push_back(std::make_unique<TWelcomeDialog>(nullptr, welcome));

    for (const auto& dialog : dialogs) {
        const std::vector<std::string> found = ProblemsOnEveryPage(*dialog);
        EXPECT_TRUE(found.empty())
            << dialog->windowTitle().toStdString() << ": " << testing::PrintToString(found);
        dialog->hide();
    }
}

} // namespace
} // namespace vocalore
