#pragma once
// The main window: owns the one open document for the whole run, carries the
// command set (menus, tool bar), the status bar and the three views, runs
// start-up and shut-down in order, and recomputes every command state when
// the event queue empties.

#include "ui/grid/VocabGrid.h"
#include "ui/window/Commands.h"

#include "core/VocabFile.h"
#include "settings/Settings.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QFrame;
class QLabel;
class QLockFile;
class QStackedWidget;
class QToolBar;
class QMenu;

namespace vocalore {

class TAppKeyFilter;
class TTextEntryKeys;
class TKeyboardSwitcher;
class TFileCommands;
class TFindCommands;
class TPrintCommands;
class TIdleHook;
class TItemCommands;
class TQtClipboard;
class TRecoveryCopies;
class TSpeechCommands;
class TTestCommands;

enum TViewMode : int { vmNone, vmEdit, vmTest };

class TMainForm : public QMainWindow, public TVocabGridHost {
    Q_OBJECT
public:
    // The settings store is read at start-up and written when the window closes.
    explicit TMainForm(TSettingsStore& store, QWidget* parent = nullptr);
    ~TMainForm() override;

    // Start-up after the window exists (settings, command line, first dialogs).
    // Arguments exclude the program name. Returns false when the program must
    // end at once without showing the window.
    bool FormCreate(const QStringList& arguments);
    // When FormCreate returned false: 0 when the program did what the command
    // line asked (printed), else 1.
    int ExitCode() const { return FExitCode; }

    // --- operations other parts call ---
    void SetViewMode(TViewMode mode);
    TViewMode ViewMode() const { return FViewMode; }
    void UpdateCommands();
    QString MenuHint(TCommandId id) const;
    void UpdateCaption();
    void ClearCutMark();
    void RefreshGrid();
    bool QuerySave();
    bool OpenDocument(const QString& path);
    bool NewDocument();
    bool ChooseFile(QString& path);
    // Frees the open document and installs the one that was just loaded.
    void InstallDocument(std::unique_ptr<TVocabFile> document);
    bool ShowWelcome();
    void LanguagesChanged(uint16_t foreignId, uint16_t nativeId);

    // The session ends without the user closing the window (a signal, the
    // display gone): a recovery copy of unsaved changes and the settings are
    // written, no question asked; with quit the event loop ends too.
    void EndSession(bool quit);
    bool SessionEnded() const { return FSessionEnded; }
    // The session manager's save request: the save question when the user
    // may be asked, else a recovery copy. False when the user cancelled.
    bool CommitSession(bool interactive);
    // Offers the recovery copies earlier runs left; true when one was opened.
    bool OfferRecoveryCopies();

    // Runs a command handler: a failure is shown in the error box and the
    // command is abandoned; the program goes on.
    void RunCommand(const std::function<void()>& handler);
    // The application-wide exception display.
    void AppException(const QString& message);

    // --- state ---
    TVocabFile& Document() { return *FDocument; }
    const TVocabFile& Document() const { return *FDocument; }
    TSettings& Settings() { return FSettings; }
    int32_t CutIndex() const { return FCutIndex; }
    void SetCutIndex(int32_t index);
    TSearchData& SearchData() { return FSearchData; }
    TFindCommands& FindCommands() { return *FFindCommands; }
    TFileCommands& FileCommands() { return *FFileCommands; }
    TRecoveryCopies& RecoveryCopies() { return *FRecovery; }
    TClipboardPort& Clipboard();
    QAction* Action(TCommandId id) const { return FActions[static_cast<size_t>(id)]; }
    QAction* RecentAction(int n) const { return FRecentActions[static_cast<size_t>(n)]; }
    TVocabGrid* Grid() const { return dgVocab; }
    QWidget* TestPanel() const { return pnlTest; }
    QToolBar* ToolBar() const { return tbrToolBar; }
    TTestCommands& Testing() { return *FTest; }
    TSpeechCommands& Speech() { return *FSpeech; }
    QLabel* StatusPanel(int index) const { return FStatusPanels[static_cast<size_t>(index)]; }
    TAppKeyFilter& KeyFilter() { return *FKeyFilter; }
    TTextEntryKeys& TextEntry() { return *FTextEntry; }
    TPrintCommands& PrintCommands() { return *FPrintCommands; }
    bool PrintSwitch() const { return FPrintSwitch; }
    QString CommandLineFile() const { return FCommandLineFile; }
    int32_t& OptionsPage() { return FOptionsPage; }

    // The command line: "/p" in any letter case first switches printing on.
    static void ParseCommandLine(const QStringList& arguments, bool& print, QString& file);

    // --- command handlers ---
    void miFileExitClick();
    void miEditUndoClick();
    void miEditRedoClick();
    void miViewToolBarClick();
    void miViewStatusBarClick();
    void miHelpContentsClick();
    void miHelpTipsClick();
    void miHelpAboutClick();
    // Tip of the Day; fromStartup brings the reminder when tips are switched off.
    void ShowTips(bool fromStartup);

    // --- the grid's host ---
    TVocabFile& GridDocument() override { return *FDocument; }
    int32_t GridCutIndex() const override { return FCutIndex; }
    void GridCommand(const std::function<void()>& action) override { RunCommand(action); }
    void GridEdit() override;
    void GridDragStarted() override { ClearCutMark(); }
    void GridDrop(int32_t row) override;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateCommands();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void CreateViews();
    void ApplySettings();
    void CollectSettings();
    void UpdateRecentMenu();
    void UpdateStatusBar();
    // A status panel's design width, or more when the text needs it.
    int StatusPanelWidth(size_t panel, const QString& text) const;
    void FitStatusPanel(size_t panel, const QString& text);
    bool HintAvailable() const;
    bool AppKey(QObject* target, QKeyEvent* event);
    bool IsEnabled(TCommandId id) const;
    void Trigger(TCommandId id);
    bool FormCloseQuery();
    void FormClose();

    TSettingsStore& FStore;
    std::unique_ptr<TVocabFile> FDocument;
    TSettings FSettings;
    TViewMode FViewMode = vmNone;
    int32_t FCutIndex = -1;
    TSearchData FSearchData;
    int32_t FOptionsPage = 0;
    bool FPrintSwitch = false;
    QString FCommandLineFile;
    bool FClosing = false;
    bool FSessionEnded = false;
    bool FSettingsLoaded = false; // nothing is written over settings never read
    bool FNoCopyAtEnd = false;    // the user answered No to the session's save question
    int FExitCode = 0;
    std::optional<TRecentFileList> FShownRecentFiles;
    QFont FShownRecentFont;

    std::array<QAction*, cmCount> FActions{};
    std::array<QAction*, 4> FRecentActions{};
    QAction* miFileRecentBar = nullptr;
    QToolBar* tbrToolBar = nullptr;
    std::array<QLabel*, 5> FStatusPanels{};
    QStackedWidget* FViews = nullptr;
    QFrame* pnlWorkspace = nullptr;
    TVocabGrid* dgVocab = nullptr;
    QWidget* pnlTest = nullptr;

    std::unique_ptr<TQtClipboard> FClipboard;
    std::unique_ptr<TRecoveryCopies> FRecovery;
    std::unique_ptr<TFileCommands> FFileCommands;
    std::unique_ptr<TPrintCommands> FPrintCommands;
    std::unique_ptr<TItemCommands> FItemCommands;
    std::unique_ptr<TTestCommands> FTest;
    std::unique_ptr<TFindCommands> FFindCommands;
    std::unique_ptr<TSpeechCommands> FSpeech;
    std::unique_ptr<TAppKeyFilter> FKeyFilter;
    std::unique_ptr<TTextEntryKeys> FTextEntry; // its hooks go before the filter
    std::unique_ptr<TKeyboardSwitcher> FKeyboard;
    std::unique_ptr<TIdleHook> FIdleHook;
    int FKeyHookId = 0;
    std::unique_ptr<QLockFile> FInstanceLock;
};

} // namespace vocalore
