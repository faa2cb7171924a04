#include "MainWindow.h"

#include "ui/common/DialogHelpers.h"
#include "ui/common/PromptService.h"
#include "ui/common/QtClipboard.h"
#include "ui/editing/FindCommands.h"
#include "ui/editing/ItemCommands.h"
#include "ui/files/AboutDialog.h"
#include "ui/files/FileCommands.h"
#include "ui/files/RecoveryCopies.h"
#include "ui/files/TipsDialog.h"
#include "ui/files/WelcomeDialog.h"
#include "ui/options/OptionsCommands.h"
#include "ui/printing/PrintCommands.h"
#include "ui/speech/SpeechCommands.h"
#include "ui/testing/TestCommands.h"
#include "ui/textentry/KeyboardSwitcher.h"
#include "ui/textentry/SymbolEdit.h"
#include "ui/textentry/TextEntry.h"
#include "ui/window/CommandSupport.h"
#include "ui/window/Help.h"
#include "ui/window/IdleHook.h"
#include "ui/window/KeyFilter.h"
#include "ui/window/ToolImages.h"

#include "core/DisplayRules.h"
#include "core/Languages.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QLockFile>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <cstring>
#include <new>

#include <unistd.h>

namespace vocalore {

namespace {

// Client size the window opens with when no position is stored.
constexpr int DesignWidth = 528;
constexpr int DesignHeight = 357;
constexpr int RecentMenuWidth = 200;
constexpr std::array<int, 5> StatusPanelWidths{300, 60, 50, 50, 60};

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

// F1 on a highlighted menu item opens that command's help topic.
class TMenuHelpFilter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress ||
            static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1)
            return false;
        auto* menu = qobject_cast<QMenu*>(watched);
        QAction* action = menu ? menu->activeAction() : nullptr;
        if (!action)
            return false;
        const int context = action->property("helpContext").toInt();
        menu->close();
        if (context != 0)
            ShowHelpTopic(context);
        else
            ShowHelpContents();
        return true;
    }
};

} // namespace

std::string LocalPath(const QString& path) {
    // A relative name would mean another file once the working folder differs
    // (the recent files, the next run); symbolic links stay as the user named them.
    const QString absolute =
        path.isEmpty() ? path : QDir::cleanPath(QDir::current().absoluteFilePath(path));
    return QFile::encodeName(absolute).toStdString();
}

QString DisplayPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// Commands whose handlers are not built yet say so through the error box.
void CommandUnavailable() { throw EVocabFileError("Command unavailable."); }

// --- creation --------------------------------------------------------------

TMainForm::TMainForm(TSettingsStore& store, QWidget* parent)
    : QMainWindow(parent), FStore(store), FDocument(std::make_unique<TVocabFile>()),
      FClipboard(std::make_unique<TQtClipboard>()),
      FRecovery(std::make_unique<TRecoveryCopies>([this]() -> const TVocabFile* {
          return FViewMode == vmNone ? nullptr : FDocument.get();
      })),
      FFileCommands(std::make_unique<TFileCommands>(*this)),
      FPrintCommands(std::make_unique<TPrintCommands>(*this)),
      FItemCommands(std::make_unique<TItemCommands>(*this)),
      FFindCommands(std::make_unique<TFindCommands>(*this)),
      FSpeech(std::make_unique<TSpeechCommands>(*this)) {
    setObjectName(QStringLiteral("MainForm"));
    FFileCommands->SetRecoveryCopies(FRecovery.get());
    CreateCommands();
    CreateMenus();
    CreateToolBar();
    CreateViews();
    CreateStatusBar();
    // The design width leaves the tool bar and the status panels cut off
    // with this toolkit's metrics; the window opens wide enough for both.
    const int width =
        std::max({DesignWidth, tbrToolBar->sizeHint().width(), statusBar()->sizeHint().width()});
    resize(width, DesignHeight + menuBar()->sizeHint().height() + tbrToolBar->sizeHint().height() +
                      statusBar()->sizeHint().height());
}

TMainForm::~TMainForm() {
    if (FKeyboard)
        SetKeyboardSwitch({});
    if (FKeyFilter && FKeyHookId != 0)
        FKeyFilter->RemoveHook(FKeyHookId);
}

void TMainForm::CreateCommands() {
    for (const TCommandInfo& info : CommandTable()) {
        auto* action = new QAction(QString::fromLatin1(info.Caption), this);
        action->setObjectName(QString::fromLatin1(info.Name));
        if (info.Shortcut != 0)
            action->setShortcut(QKeySequence(QKeyCombination::fromCombined(info.Shortcut)));
        action->setStatusTip(QString::fromLatin1(info.Hint));
        action->setProperty("helpContext", info.HelpContext);
        action->setCheckable(info.Checkable);
        action->setIcon(ToolImage(info.Image));
        action->setIconVisibleInMenu(info.Image >= 0);
        FActions[static_cast<size_t>(info.Id)] = action;
    }
    auto bind = [this](TCommandId id, void (TMainForm::*handler)()) {
        connect(Action(id), &QAction::triggered, this,
                [this, handler] { RunCommand([this, handler] { (this->*handler)(); }); });
    };
    auto forward = [this](TCommandId id, auto* commands, auto handler) {
        connect(Action(id), &QAction::triggered, this, [this, commands, handler] {
            RunCommand([commands, handler] { (commands->*handler)(); });
        });
    };
    TFileCommands* files = FFileCommands.get();
    forward(cmFileNew, files, &TFileCommands::miFileNewClick);
    forward(cmFileOpen, files, &TFileCommands::miFileOpenClick);
    forward(cmFileImport, files, &TFileCommands::miFileImportClick);
    forward(cmFileSave, files, &TFileCommands::miFileSaveClick);
    forward(cmFileSaveAs, files, &TFileCommands::miFileSaveAsClick);
    forward(cmFileProperties, files, &TFileCommands::miFilePropertiesClick);
    TPrintCommands* printing = FPrintCommands.get();
    forward(cmFilePrint, printing, &TPrintCommands::miFilePrintClick);
    forward(cmFilePageSetup, printing, &TPrintCommands::miFilePageSetupClick);
    bind(cmFileExit, &TMainForm::miFileExitClick);
    TItemCommands* items = FItemCommands.get();
    forward(cmEditUndo, items, &TItemCommands::miEditUndoClick);
    forward(cmEditRedo, items, &TItemCommands::miEditRedoClick);
    forward(cmEditCut, items, &TItemCommands::miEditCutClick);
    forward(cmEditCopy, items, &TItemCommands::miEditCopyClick);
    forward(cmEditPaste, items, &TItemCommands::miEditPasteClick);
    forward(cmEditAdd, items, &TItemCommands::miEditAddClick);
    forward(cmEditEdit, items, &TItemCommands::miEditEditClick);
    forward(cmEditDelete, items, &TItemCommands::miEditDeleteClick);
    forward(cmEditMoveUp, items, &TItemCommands::miEditMoveUpClick);
    forward(cmEditMoveDown, items, &TItemCommands::miEditMoveDownClick);
    forward(cmEditSort, items, &TItemCommands::miEditSortClick);
    forward(cmEditShuffle, items, &TItemCommands::miEditShuffleClick);
    forward(cmEditFind, FFindCommands.get(), &TFindCommands::miEditFindClick);
    forward(cmEditFindNext, FFindCommands.get(), &TFindCommands::miEditFindNextClick);
    forward(cmEditSpeak, FSpeech.get(), &TSpeechCommands::miEditSpeakClick);
    connect(Action(cmViewOptions), &QAction::triggered, this,
            [this] { RunCommand([this] { miViewOptionsClick(*this); }); });
    auto test = [this](TCommandId id, void (TTestCommands::*handler)()) {
        connect(Action(id), &QAction::triggered, this,
                [this, handler] { RunCommand([this, handler] { (FTest.get()->*handler)(); }); });
    };
    test(cmTestStartTesting, &TTestCommands::miTestStartTestingClick);
    test(cmTestPassive, &TTestCommands::miTestPassiveClick);
    test(cmTestActive, &TTestCommands::miTestActiveClick);
    test(cmTestMultipleChoice, &TTestCommands::miTestMultipleChoiceClick);
    test(cmTestHint, &TTestCommands::miTestHintClick);
    test(cmTestStatistics, &TTestCommands::miTestStatisticsClick);
    bind(cmViewToolBar, &TMainForm::miViewToolBarClick);
    bind(cmViewStatusBar, &TMainForm::miViewStatusBarClick);
    bind(cmHelpContents, &TMainForm::miHelpContentsClick);
    bind(cmHelpTips, &TMainForm::miHelpTipsClick);
    bind(cmHelpAbout, &TMainForm::miHelpAboutClick);

    for (int n = 0; n < RecentFileMenuCount; ++n) {
        auto* action = new QAction(this);
        action->setObjectName(QStringLiteral("miFileRecent%1").arg(n + 1));
        action->setStatusTip(QString::fromLatin1(RecentFileHint));
        action->setProperty("helpContext", RecentFileHelpContext);
        action->setVisible(false);
        connect(action, &QAction::triggered, this,
                [this, n] { RunCommand([this, n] { FFileCommands->RecentFileClick(n); }); });
        FRecentActions[static_cast<size_t>(n)] = action;
    }
}

void TMainForm::CreateMenus() {
    menuBar()->setObjectName(QStringLiteral("mmMenu"));
    auto* helpFilter = new TMenuHelpFilter(this);
    auto menu = [this, helpFilter](const char* caption, const char* name) {
        QMenu* m = menuBar()->addMenu(QString::fromLatin1(caption));
        m->setObjectName(QString::fromLatin1(name));
        m->installEventFilter(helpFilter);
        return m;
    };
    auto add = [this](QMenu* m, std::initializer_list<TCommandId> ids) {
        for (TCommandId id : ids) {
            if (id == cmCount)
                m->addSeparator();
            else
                m->addAction(Action(id));
        }
    };
    QMenu* file = menu("&File", "miFile");
    add(file, {cmFileNew, cmFileOpen, cmFileImport, cmCount, cmFileSave, cmFileSaveAs, cmCount,
               cmFileProperties, cmCount, cmFilePrint, cmFilePageSetup, cmCount});
    for (QAction* recent : FRecentActions)
        file->addAction(recent);
    miFileRecentBar = file->addSeparator();
    miFileRecentBar->setObjectName(QStringLiteral("miFileRecentBar"));
    miFileRecentBar->setVisible(false);
    add(file, {cmFileExit});
    add(menu("&Edit", "miEdit"),
        {cmEditUndo,     cmEditRedo, cmCount,    cmEditCut,     cmEditCopy, cmEditPaste,
         cmCount,        cmEditAdd,  cmEditEdit, cmEditDelete,  cmCount,    cmEditMoveUp,
         cmEditMoveDown, cmCount,    cmEditSort, cmEditShuffle, cmCount,    cmEditFind,
         cmEditFindNext, cmCount,    cmEditSpeak});
    add(menu("&Test", "miTest"), {cmTestStartTesting, cmCount, cmTestPassive, cmTestActive, cmCount,
                                  cmTestMultipleChoice, cmCount, cmTestHint, cmTestStatistics});
    add(menu("&View", "miView"), {cmViewToolBar, cmViewStatusBar, cmCount, cmViewOptions});
    add(menu("&Help", "miHelp"), {cmHelpContents, cmHelpTips, cmCount, cmHelpAbout});
}

void TMainForm::CreateToolBar() {
    tbrToolBar = addToolBar(QStringLiteral("Tool Bar"));
    tbrToolBar->setObjectName(QStringLiteral("tbrToolBar"));
    tbrToolBar->setMovable(false);
    tbrToolBar->setFloatable(false);
    tbrToolBar->setIconSize(QSize(16, 16));
    tbrToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    tbrToolBar->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    // The print button prints at once; the menu item shows the print dialog
    // first. Its own action follows the menu item's enabled state.
    QAction* print = Action(cmFilePrint);
    auto* printAtOnce = new QAction(print->icon(), print->text(), this);
    printAtOnce->setObjectName(QStringLiteral("tbPrintAction"));
    printAtOnce->setStatusTip(print->statusTip());
    printAtOnce->setProperty("helpContext", print->property("helpContext"));
    connect(print, &QAction::enabledChanged, printAtOnce, &QAction::setEnabled);
    connect(printAtOnce, &QAction::triggered, this,
            [this] { RunCommand([this] { FPrintCommands->tbPrintClick(); }); });
    for (TCommandId id : ToolBarLayout()) {
        if (id == cmCount) {
            tbrToolBar->addSeparator();
            continue;
        }
        QAction* action = id == cmFilePrint ? printAtOnce : Action(id);
        tbrToolBar->addAction(action);
        if (QWidget* button = tbrToolBar->widgetForAction(action))
            button->setObjectName(QString::fromLatin1(Command(id).ToolButton));
        // Tool tip before the bar, status-bar text after it.
        const QString hint = MenuHint(id);
        action->setToolTip(hint.section(u'|', 0, 0));
    }
}

void TMainForm::CreateViews() {
    FViews = new QStackedWidget(this);
    pnlWorkspace = new QFrame(FViews);
    pnlWorkspace->setObjectName(QStringLiteral("pnlWorkspace"));
    pnlWorkspace->setFrameShape(QFrame::Panel);
    pnlWorkspace->setFrameShadow(QFrame::Sunken);
    pnlWorkspace->setAutoFillBackground(true);
    pnlWorkspace->setBackgroundRole(QPalette::Mid);
    dgVocab = new TVocabGrid(*this, FViews);
    FTest = std::make_unique<TTestCommands>(*this, FViews);
    pnlTest = FTest->Panel();
    pnlTest->setObjectName(QStringLiteral("pnlTest"));
    FViews->addWidget(pnlWorkspace);
    FViews->addWidget(dgVocab);
    FViews->addWidget(pnlTest);
    setCentralWidget(FViews);
}

void TMainForm::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("sbrStatusBar"));
    bar->setSizeGripEnabled(false);
    for (size_t i = 0; i < FStatusPanels.size(); ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("sbrPanel%1").arg(i));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setFixedWidth(StatusPanelWidths[i]);
        panel->setTextFormat(Qt::PlainText);
        bar->addWidget(panel);
        FStatusPanels[i] = panel;
    }
    bar->addWidget(new QWidget(bar), 1);
    // The hint panel holds the longest hint whole, in the font in use.
    QString longest = QString::fromLatin1(RecentFileHint);
    for (const TCommandInfo& command : CommandTable())
        if (command.Hint && std::strlen(command.Hint) > static_cast<size_t>(longest.size()))
            longest = QString::fromLatin1(command.Hint);
    FitStatusPanel(0, longest);
}

int TMainForm::StatusPanelWidth(size_t panel, const QString& text) const {
    const QLabel* label = FStatusPanels[panel];
    const int needed = label->fontMetrics().horizontalAdvance(text) + 2 * label->frameWidth() +
                       2 * label->margin() + label->fontMetrics().averageCharWidth();
    return std::max(StatusPanelWidths[panel], needed);
}

void TMainForm::FitStatusPanel(size_t panel, const QString& text) {
    const int width = StatusPanelWidth(panel, text);
    if (FStatusPanels[panel]->width() != width || FStatusPanels[panel]->minimumWidth() != width)
        FStatusPanels[panel]->setFixedWidth(width);
}

// --- start-up and shut-down ------------------------------------------------

bool TMainForm::FormCreate(const QStringList& arguments) {
    try {
        // The window manager, the task bar and every dialog show it.
        QApplication::setWindowIcon(ApplicationIcon());
        setWindowIcon(QApplication::windowIcon());
        // A named lock held for the life of the process; nothing waits on it.
        FInstanceLock =
            std::make_unique<QLockFile>(QDir::temp().filePath(QStringLiteral("Vocalore.lock")));
        FInstanceLock->setStaleLockTime(0);
        FInstanceLock->tryLock(0);

        FKeyFilter = std::make_unique<TAppKeyFilter>();
        // Composition sees every key before the window's own keys do.
        FTextEntry = std::make_unique<TTextEntryKeys>(*FKeyFilter, FSettings.Options);
        FKeyHookId = FKeyFilter->AddHook(
            [this](QObject* target, QKeyEvent* event) { return AppKey(target, event); });
        FKeyboard = std::make_unique<TKeyboardSwitcher>(
            MakePlatformKeyboard(), [this] { return bool(FSettings.Options.KeyboardSwitching); },
            [this](int tag) -> uint16_t {
                return tag == TagForeign ? FDocument->ForeignLangID : FDocument->NativeLangID;
            });
        SetKeyboardSwitch([this](bool toDefault) { FKeyboard->SwitchKeyboard(toDefault); });
        FIdleHook = std::make_unique<TIdleHook>([this] {
            UpdateCommands();
            // The layout follows the focus while the user works in the program.
            if (QGuiApplication::applicationState() == Qt::ApplicationActive &&
                !TDefaultKeyboardScope::Open())
                FKeyboard->SwitchKeyboard(false);
        });
        FSettings.RecentFiles.SetCapacity(MainRecentFileCapacity);
        setWindowTitle(QString::fromLatin1(ProductName));
        SetViewMode(vmNone);

        LoadSettings(FStore, FSettings, UserDefaultLanguage());
        ApplySettings();
        FSettingsLoaded = true;
        FRecovery->SetInterval(FSettings.RecoveryMinutes);
        // Coming back to the window: a document changed on disk meanwhile is
        // offered for reloading.
        connect(qApp, &QGuiApplication::applicationStateChanged, this,
                [this](Qt::ApplicationState state) {
                    if (state == Qt::ApplicationActive && !FClosing &&
                        QApplication::activeModalWidget() == nullptr)
                        RunCommand([this] { FFileCommands->CheckDiskChange(); });
                });

        ParseCommandLine(arguments, FPrintSwitch, FCommandLineFile);
        if (!FPrintSwitch && OfferRecoveryCopies()) {
            if (!isVisible())
                show();
            return true;
        }
        if (FCommandLineFile.isEmpty()) {
            show();
            if (FSettings.ShowTips)
                ShowTips(true);
            if (ShowWelcome())
                SetViewMode(vmEdit);
            return true;
        }
        if (!OpenDocument(FCommandLineFile)) {
            FExitCode = 1;
            return false;
        }
        if (FPrintSwitch) {
            bool printed = false;
            RunCommand([this, &printed] {
                FPrintCommands->Print(TPrintCommands::psCommandLine);
                printed = true;
            });
            FExitCode = printed ? 0 : 1;
            return false;
        }
        SetViewMode(vmEdit);
        return true;
    } catch (const std::exception& e) {
        AppException(QString::fromStdString(e.what()));
        FExitCode = 1;
        return false;
    }
}

void TMainForm::ParseCommandLine(const QStringList& arguments, bool& print, QString& file) {
    print = !arguments.isEmpty() &&
            arguments.first().compare(QStringLiteral("/p"), Qt::CaseInsensitive) == 0;
    file.clear();
    if (print)
        file = arguments.size() >= 2 ? arguments.at(1) : arguments.first();
    else if (!arguments.isEmpty())
        file = arguments.first();
}

void TMainForm::ApplySettings() {
    if (FSettings.HasWindowPosition) {
        const TScreenRect& r = FSettings.WindowPosition;
        setGeometry(r.Left, r.Top, r.Width(), r.Height());
        KeepOnScreen(this);
    } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize size = this->size();
        const TScreenRect r = CentreOnScreen(
            size.width(), size.height(), screen->geometry().width(), screen->geometry().height());
        move(r.Left, r.Top);
    }
    FDocument->ForeignLangID = FSettings.ForeignLangID;
    FDocument->NativeLangID = FSettings.NativeLangID;
    tbrToolBar->setVisible(FSettings.ShowToolBar);
    statusBar()->setVisible(FSettings.ShowStatusBar);
    TQtPromptService::SetFileDialogSize({FSettings.FileDialogWidth, FSettings.FileDialogHeight});
}

void TMainForm::CollectSettings() {
    FSettings.WindowState = isMinimized()                     ? wsMinimized
                            : isMaximized() || isFullScreen() ? wsMaximized
                                                              : wsNormal;
    if (FSettings.WindowState == wsNormal) {
        const QRect r = geometry();
        FSettings.WindowPosition = {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
        FSettings.HasWindowPosition = true;
    }
    FSettings.ForeignLangID = FDocument->ForeignLangID;
    FSettings.NativeLangID = FDocument->NativeLangID;
    FSettings.ShowToolBar = !tbrToolBar->isHidden();
    FSettings.ShowStatusBar = !statusBar()->isHidden();
    const QSize fileDialog = TQtPromptService::FileDialogSize();
    FSettings.FileDialogWidth = fileDialog.width();
    FSettings.FileDialogHeight = fileDialog.height();
}

bool TMainForm::FormCloseQuery() {
    bool canClose = false;
    RunCommand([this, &canClose] { canClose = QuerySave(); });
    return canClose;
}

void TMainForm::FormClose() {
    FSpeech->StopSpeaking();
    CollectSettings();
    SaveSettings(FStore, FSettings);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (FClosing) { // the session ended it
        event->accept();
        return;
    }
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    FClosing = true;
    event->accept();
}

// --- view modes, grid ------------------------------------------------------

void TMainForm::SetViewMode(TViewMode mode) {
    ClearCutMark();
    FFindCommands->CloseDialog();
    const bool leavingTest = FViewMode == vmTest && mode != vmTest;
    switch (mode) {
    case vmEdit:
        FViews->setCurrentWidget(dgVocab);
        RefreshGrid();
        dgVocab->setFocus();
        break;
    case vmTest:
        FViews->setCurrentWidget(pnlTest);
        break;
    case vmNone:
        FViews->setCurrentWidget(pnlWorkspace);
        break;
    }
    FViewMode = mode;
    if (leavingTest) {
        FTest->ViewLeft();
        FSpeech->StopSpeaking();
    }
}

void TMainForm::RefreshGrid() { dgVocab->RefreshGrid(); }

void TMainForm::SetCutIndex(int32_t index) {
    if (FCutIndex == index)
        return;
    FCutIndex = index;
    dgVocab->viewport()->update();
}

void TMainForm::ClearCutMark() { SetCutIndex(-1); }

void TMainForm::GridEdit() {
    if (IsEnabled(cmEditEdit))
        Trigger(cmEditEdit);
}

void TMainForm::GridDrop(int32_t row) {
    RunCommand([this, row] {
        FDocument->MoveCurrent(row);
        RefreshGrid();
    });
}

// --- commands ----------------------------------------------------------------

void TMainForm::RunCommand(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::bad_alloc&) {
        AppException(QStringLiteral("There is not enough memory to complete this command."));
    } catch (const std::exception& e) {
        AppException(QString::fromStdString(e.what()));
    } catch (...) {
        AppException(QStringLiteral("Unknown error."));
    }
}

void TMainForm::EndSession(bool quit) {
    if (!FClosing) {
        FClosing = true;
        FSessionEnded = true;
        if (!FNoCopyAtEnd)
            FRecovery->WriteNow();
        // A run that prints from the command line writes no settings.
        if (FSettingsLoaded && !FPrintSwitch) {
            CollectSettings();
            SaveSettings(FStore, FSettings);
        }
        FFileCommands->ReleaseLock();
    }
    if (quit) {
        // Out of any dialog first: each ends as if cancelled.
        QCoreApplication::exit(0);
    }
}

bool TMainForm::CommitSession(bool interactive) {
    if (FViewMode == vmNone || !FDocument->Modified())
        return true;
    if (!interactive) {
        FRecovery->WriteNow();
        return true;
    }
    bool mayEnd = false;
    RunCommand([this, &mayEnd] { mayEnd = QuerySave(); });
    // Still modified after the question: the user chose No.
    FNoCopyAtEnd = mayEnd && FDocument->Modified();
    return mayEnd;
}

bool TMainForm::OfferRecoveryCopies() {
    for (const TRecoveryCopy& copy : FindOrphanedRecoveryCopies()) {
        TVocabFile probe;
        try {
            probe.LoadRecovered(copy.Bytes, copy.OriginalPath);
        } catch (const EVocabFileError&) {
            continue; // not a document (the old content of another file): left alone
        }
        const QString name = QString::fromStdString(DocumentTitle(copy.OriginalPath, true));
        const QString when = QLocale().toString(
            QFileInfo(QString::fromStdString(copy.File)).lastModified(), QLocale::ShortFormat);
        const QString text =
            copy.Kind == TRecoveryKind::Unsaved
                ? QStringLiteral("Vocalore ended without saving the changes to %1 (%2 items, "
                                 "kept at %3).\nDo you want to recover them?")
                      .arg(name)
                      .arg(probe.Count())
                      .arg(when)
                : QStringLiteral("Vocalore ended while it was saving %1. The list the file "
                                 "held before (%2 items) was kept.\nDo you want to recover it?")
                      .arg(name)
                      .arg(probe.Count());
        if (!isVisible())
            show();
        const TMsgButton answer =
            ShowMessageBox(text, {}, TMsgIcon::Question, mbYes | mbNo | mbCancel, mbYes, this,
                           {{mbYes, QStringLiteral("Recover")},
                            {mbNo, QStringLiteral("Discard")},
                            {mbCancel, QStringLiteral("Later")}});
        if (answer == mbCancel)
            continue;
        if (answer == mbNo) {
            ::unlink(copy.File.c_str());
            continue;
        }
        FFileCommands->OpenRecovered(copy);
        SetViewMode(vmEdit);
        // Our own copy first, then the old one goes: a crash in between loses nothing.
        FRecovery->WriteNow();
        ::unlink(copy.File.c_str());
        return true;
    }
    return false;
}

void TMainForm::AppException(const QString& message) {
    ShowMessageBox(message, {}, TMsgIcon::Error, mbOK, mbNone, this);
}

bool TMainForm::IsEnabled(TCommandId id) const { return Action(id)->isEnabled(); }

void TMainForm::Trigger(TCommandId id) { Action(id)->trigger(); }

void TMainForm::InstallDocument(std::unique_ptr<TVocabFile> document) {
    FSpeech->StopSpeaking();
    FDocument = std::move(document);
}

bool TMainForm::QuerySave() { return FFileCommands->QuerySave(); }

bool TMainForm::OpenDocument(const QString& path) { return FFileCommands->OpenDocument(path); }

bool TMainForm::NewDocument() { return FFileCommands->NewDocument(); }

bool TMainForm::ChooseFile(QString& path) { return FFileCommands->ChooseFile(path); }

void TMainForm::miFileExitClick() { close(); }

void TMainForm::miEditUndoClick() { FItemCommands->miEditUndoClick(); }

void TMainForm::miEditRedoClick() { FItemCommands->miEditRedoClick(); }

void TMainForm::miViewToolBarClick() { tbrToolBar->setVisible(tbrToolBar->isHidden()); }

void TMainForm::miViewStatusBarClick() { statusBar()->setVisible(statusBar()->isHidden()); }

void TMainForm::miHelpContentsClick() { ShowHelpContents(); }

void TMainForm::miHelpTipsClick() { ShowTips(false); }

void TMainForm::miHelpAboutClick() { TAboutDialog::Execute(this); }

void TMainForm::ShowTips(bool fromStartup) {
    TTipsDialogData data;
    data.FileName = TipsFilePath();
    data.NextTip = FSettings.NextTip;
    data.ShowAtStartup = FSettings.ShowTips;
    ShowTipOfTheDay(this, data, fromStartup);
    FSettings.NextTip = data.NextTip;
    FSettings.ShowTips = data.ShowAtStartup;
}

bool TMainForm::ShowWelcome() {
    TWelcomeDialogData data;
    for (int32_t i = 0; i < FSettings.RecentFiles.Count(); ++i)
        data.RecentFiles.push_back(FSettings.RecentFiles.Items(i));
    if (!TWelcomeDialog::Execute(this, data))
        return false;
    if (!data.Open)
        return NewDocument();
    if (!data.FileName.empty())
        return OpenDocument(DisplayPath(data.FileName));
    QString path;
    return ChooseFile(path) && OpenDocument(path);
}

void TMainForm::LanguagesChanged(uint16_t foreignId, uint16_t nativeId) {
    const bool searchesWord = FSearchData.Field == fiWord;
    const uint16_t present = searchesWord ? FDocument->ForeignLangID : FDocument->NativeLangID;
    const uint16_t next = searchesWord ? foreignId : nativeId;
    // Characters of one character set mean nothing in another.
    if (LanguageCharset(present) != LanguageCharset(next))
        FSearchData.Text.clear();
    dgVocab->SetLanguages(foreignId, nativeId);
}

TClipboardPort& TMainForm::Clipboard() { return *FClipboard; }

// --- keys and hints ----------------------------------------------------------

bool TMainForm::AppKey(QObject* target, QKeyEvent* event) {
    auto* widget = qobject_cast<QWidget*>(target);
    // The menu bar, entered with Alt, takes its own Enter and Escape.
    if (!widget || widget->window() != this || widget == menuBar())
        return false;
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && FViewMode == vmEdit) {
        if (FCutIndex != -1 && IsEnabled(cmEditPaste))
            Trigger(cmEditPaste);
        else if (IsEnabled(cmEditEdit))
            Trigger(cmEditEdit);
        return true;
    }
    if (key == Qt::Key_Escape) {
        if (FViewMode == vmEdit) {
            ClearCutMark();
            if (dgVocab->Dragging())
                return false; // the grid cancels its drag
        } else if (FViewMode == vmTest) {
            RunCommand([this] { SetViewMode(vmEdit); });
        }
        return true; // the control never sees it
    }
    if (key == Qt::Key_Tab && modifiers == Qt::ControlModifier && FViewMode == vmTest) {
        if (FSettings.TestMode == 0 && IsEnabled(cmTestActive)) {
            Trigger(cmTestActive);
            return true;
        }
        if (FSettings.TestMode == 1 && IsEnabled(cmTestPassive)) {
            Trigger(cmTestPassive);
            return true;
        }
    }
    return false;
}

bool TMainForm::event(QEvent* event) {
    // Hints go to the first panel; the other panels stay in place.
    if (event->type() == QEvent::StatusTip) {
        FStatusPanels[0]->setText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

QString TMainForm::MenuHint(TCommandId id) const {
    const TCommandInfo& info = Command(id);
    return vocalore::MenuHint(Action(id)->text(), info.Shortcut, QString::fromLatin1(info.Hint));
}

// --- idle-time command states ----------------------------------------------

namespace {

void SetEnabled(QAction* action, bool enabled) {
    if (action->isEnabled() != enabled)
        action->setEnabled(enabled);
}

void SetChecked(QAction* action, bool checked) {
    if (action->isChecked() != checked)
        action->setChecked(checked);
}

void SetText(QAction* action, const QString& text) {
    if (action->text() != text)
        action->setText(text);
}

void SetLabel(QLabel* label, const QString& text) {
    if (label->text() != text)
        label->setText(text);
}

} // namespace

bool TMainForm::HintAvailable() const { return FTest->HintEnabled(); }

void TMainForm::UpdateCommands() {
    if (FClosing)
        return;
    UpdateCaption();
    UpdateRecentMenu();

    const TVocabFile& document = *FDocument;
    const bool edit = FViewMode == vmEdit;
    const bool test = FViewMode == vmTest;
    const bool open = FViewMode != vmNone;
    const int32_t current = document.CurrentIndex();
    const int32_t count = document.Count();
    const bool hasCurrent = edit && current != -1;

    SetEnabled(Action(cmFileImport), edit);
    for (TCommandId id :
         {cmFileSave, cmFileSaveAs, cmFileProperties, cmFilePrint, cmTestStatistics})
        SetEnabled(Action(id), open);

    const TUndoKind undo = edit ? document.UndoKind() : ukNone;
    const TUndoKind redo = edit ? document.RedoKind() : ukNone;
    SetEnabled(Action(cmEditUndo), undo != ukNone);
    SetText(Action(cmEditUndo),
            undo != ukNone
                ? QStringLiteral("&Undo ") +
                      QString::fromLatin1(UndoKindCaption(static_cast<TUndoKind>(undo & 0x7F)))
                : QStringLiteral("&Undo"));
    SetEnabled(Action(cmEditRedo), redo != ukNone);
    SetText(Action(cmEditRedo),
            redo != ukNone
                ? QStringLiteral("&Redo ") +
                      QString::fromLatin1(UndoKindCaption(static_cast<TUndoKind>(redo & 0x7F)))
                : QStringLiteral("&Redo"));

    for (TCommandId id : {cmEditCut, cmEditCopy, cmEditEdit, cmEditDelete})
        SetEnabled(Action(id), hasCurrent);
    SetEnabled(Action(cmEditPaste), edit && (FCutIndex != -1 || FClipboard->HasBlock()));
    SetEnabled(Action(cmEditMoveUp), hasCurrent && current > 0);
    SetEnabled(Action(cmEditMoveDown), hasCurrent && current < count - 1);
    for (TCommandId id : {cmEditAdd, cmEditSort, cmEditShuffle, cmEditFind})
        SetEnabled(Action(id), edit);
    SetEnabled(Action(cmEditFindNext), edit && !FSearchData.Text.empty());

    QAction* testing = Action(cmTestStartTesting);
    SetEnabled(testing, open && count > 0);
    SetChecked(testing, test);
    SetText(testing, test ? QStringLiteral("Stop &Testing") : QStringLiteral("Start &Testing"));
    SetEnabled(Action(cmTestPassive), test);
    SetChecked(Action(cmTestPassive), FSettings.TestMode == 0);
    SetEnabled(Action(cmTestActive), test);
    SetChecked(Action(cmTestActive), FSettings.TestMode == 1);
    SetEnabled(Action(cmTestMultipleChoice), test);
    SetChecked(Action(cmTestMultipleChoice), FSettings.MultipleChoice);
    SetEnabled(Action(cmTestHint), HintAvailable());
    FSpeech->UpdateCommand(Action(cmEditSpeak));

    SetChecked(Action(cmViewToolBar), !tbrToolBar->isHidden());
    SetChecked(Action(cmViewStatusBar), !statusBar()->isHidden());

    const QString tip = MenuHint(cmTestStartTesting).section(u'|', 0, 0);
    if (testing->toolTip() != tip)
        testing->setToolTip(tip);

    UpdateStatusBar();

    if (QApplication::activeWindow() && QApplication::activeWindow() != this)
        ClearCutMark();
}

void TMainForm::UpdateStatusBar() {
    if (FViewMode == vmNone) {
        for (size_t i = 1; i < FStatusPanels.size(); ++i)
            SetLabel(FStatusPanels[i], {});
        return;
    }
    const TVocabFile& document = *FDocument;
    SetLabel(FStatusPanels[1], Utf8(LanguageAbbreviation(document.ForeignLangID)) +
                                   QStringLiteral(" - ") +
                                   Utf8(LanguageAbbreviation(document.NativeLangID)));
    SetLabel(FStatusPanels[2], FViewMode == vmEdit
                                   ? QString::number(document.CurrentIndex() + 1)
                                   : Utf8(PercentText(document.LearntCount(), document.Count())));
    SetLabel(FStatusPanels[3], QString::number(document.Count()));
    // The row and count panels grow for long numbers (a row number is never
    // longer than the count), and go back to their size after.
    const QString widest = QString::number(document.Count());
    FitStatusPanel(2, widest.size() > 4 ? widest : QStringLiteral("100%"));
    FitStatusPanel(3, widest);
    SetLabel(FStatusPanels[4], document.Modified() ? QStringLiteral("Modified") : QString());
}

void TMainForm::UpdateCaption() {
    QString caption = QString::fromLatin1(ProductName);
    if (FViewMode != vmNone)
        caption = Utf8(DocumentTitle(FDocument->FileName())) + QStringLiteral(" - ") + caption;
    if (windowTitle() != caption)
        setWindowTitle(caption);
}

void TMainForm::UpdateRecentMenu() {
    const TRecentFileList& list = FSettings.RecentFiles;
    // Shortening measures text: only when the list or the font changed.
    if (FShownRecentFiles && *FShownRecentFiles == list && FShownRecentFont == font())
        return;
    FShownRecentFiles = list;
    FShownRecentFont = font();
    const QFontMetrics metrics(font());
    const TTextMeasure measure = [&metrics](std::string_view text) {
        return metrics.horizontalAdvance(
            QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    };
    for (int n = 0; n < RecentFileMenuCount; ++n) {
        QAction* action = FRecentActions[static_cast<size_t>(n)];
        if (list.Count() <= n) {
            if (action->isVisible())
                action->setVisible(false);
            continue;
        }
        QString shortened =
            Utf8(ShortenPath(DocumentTitle(list.Items(n), true), RecentMenuWidth, measure));
        // An ampersand in a path is text, not a mnemonic.
        shortened.replace(u'&', QStringLiteral("&&"));
        SetText(action, QStringLiteral("&%1 ").arg(n + 1) + shortened);
        if (!action->isVisible())
            action->setVisible(true);
    }
    const bool bar = FRecentActions[0]->isVisible();
    if (miFileRecentBar->isVisible() != bar)
        miFileRecentBar->setVisible(bar);
}

} // namespace vocalore
