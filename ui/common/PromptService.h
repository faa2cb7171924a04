#pragma once
// Every message box and file dialog of the program goes through one prompt
// service, so that GUI tests can install a scripted fake that records what the
// user would have seen and answers without blocking.

#include <QSize>
#include <QString>
#include <QStringList>

#include <deque>
#include <map>
#include <vector>

class QWidget;

namespace vocalore {

enum class TMsgIcon { None, Information, Warning, Error, Question };

// Buttons of a message box; a set of them is an OR of the values.
enum TMsgButton : int { mbNone = 0, mbOK = 1, mbCancel = 2, mbYes = 4, mbNo = 8 };
using TMsgButtons = int;

struct TMessageRequest {
    QWidget* Parent = nullptr;
    QString Text;
    QString Caption;
    TMsgIcon Icon = TMsgIcon::None;
    TMsgButtons Buttons = mbOK;
    TMsgButton DefaultButton = mbNone; // mbNone: the first button of the set
    // Own captions for some buttons ("Recover" on mbYes); the rest keep theirs.
    std::map<TMsgButton, QString> ButtonTexts;
};

enum class TFileDialogKind { Open, Save };

struct TFileDialogRequest {
    QWidget* Parent = nullptr;
    QString Caption;
    QString Folder;   // initial folder; empty = the process's current folder
    QString FileName; // initial file name (may be a full path)
    // Filter text in the "Name|pattern|Name|pattern" form the program uses
    // everywhere; patterns are separated by ';'.
    QString Filter;
    int FilterIndex = 1;          // 1-based entry of Filter chosen initially
    QString DefaultSuffix;        // without the dot, e.g. "vlo"
    bool OverwritePrompt = false; // Save only
    // The default suffix follows the chosen filter entry (its first pattern),
    // so a name typed without an extension gets the chosen type's.
    bool SuffixFollowsFilter = false;
};

struct TFileDialogResult {
    QString Path;        // empty when the user cancelled
    int FilterIndex = 1; // 1-based entry the user chose
    bool Accepted() const { return !Path.isEmpty(); }
};

class TPromptService {
public:
    virtual ~TPromptService() = default;
    virtual TMsgButton MessageBox(const TMessageRequest& request) = 0;
    virtual TFileDialogResult OpenFile(const TFileDialogRequest& request) = 0;
    virtual TFileDialogResult SaveFile(const TFileDialogRequest& request) = 0;

    // The service in use: the installed one, else the real Qt service.
    static TPromptService& Instance();
    // Installs a service (not owned); nullptr goes back to the Qt service.
    static void Install(TPromptService* service);
};

// Splits "Name|pattern|Name|pattern" into Qt name filters "Name (pattern pattern)".
QStringList QtNameFilters(const QString& filter);

// The real dialogs: QMessageBox and QFileDialog.
class TQtPromptService final : public TPromptService {
public:
    TMsgButton MessageBox(const TMessageRequest& request) override;
    TFileDialogResult OpenFile(const TFileDialogRequest& request) override;
    TFileDialogResult SaveFile(const TFileDialogRequest& request) override;

    // The size the file dialogs open at; each dialog's last size is kept for
    // the next one (and, through the settings, for the next run).
    static QSize FileDialogSize();
    static void SetFileDialogSize(QSize size);
};

// One prompt as the user would have seen it.
struct TRecordedPrompt {
    enum TKind { pkMessage, pkOpenFile, pkSaveFile } Kind = pkMessage;
    QString Text;    // message text
    QString Caption; // window caption of the box or dialog
    TMsgIcon Icon = TMsgIcon::None;
    TMsgButtons Buttons = mbNone;
    TMsgButton DefaultButton = mbNone;
    std::map<TMsgButton, QString> ButtonTexts;
    QString Filter; // file dialogs
    int FilterIndex = 1;
    QString Folder;
    QString FileName;
    QString DefaultSuffix;
    bool OverwritePrompt = false;
    bool SuffixFollowsFilter = false;
};

// Scripted answers for tests. Each prompt is recorded; it takes the next
// queued answer of its kind. An unscripted message box answers with its
// default button (or Cancel/No when it has them, so nothing is destroyed by
// accident) and an unscripted file dialog is cancelled; both count in
// Unanswered() so a test can notice a prompt it did not expect.
class TFakePromptService final : public TPromptService {
public:
    TFakePromptService() = default;
    // Installs itself for its lifetime.
    explicit TFakePromptService(bool install);
    ~TFakePromptService() override;

    void QueueButton(TMsgButton button) { FButtons.push_back(button); }
    void QueueFile(const QString& path, int filterIndex = 1) {
        FFiles.push_back({path, filterIndex});
    }

    const std::vector<TRecordedPrompt>& Prompts() const { return FPrompts; }
    const TRecordedPrompt& Last() const { return FPrompts.back(); }
    int Unanswered() const { return FUnanswered; }
    bool QueueEmpty() const { return FButtons.empty() && FFiles.empty(); }
    void Clear();

    TMsgButton MessageBox(const TMessageRequest& request) override;
    TFileDialogResult OpenFile(const TFileDialogRequest& request) override;
    TFileDialogResult SaveFile(const TFileDialogRequest& request) override;

private:
    TFileDialogResult FileDialog(TRecordedPrompt::TKind kind, const TFileDialogRequest& request);

    std::vector<TRecordedPrompt> FPrompts;
    std::deque<TMsgButton> FButtons;
    std::deque<TFileDialogResult> FFiles;
    int FUnanswered = 0;
    bool FInstalled = false;
};

} // namespace vocalore
