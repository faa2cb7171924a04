#pragma once
// The File menu's document commands: New, Open, Import, Save, Save As,
// Properties and the recent files. The main window owns one instance and
// forwards its commands here; the document stays the window's.

#include "core/DocumentLock.h"
#include "core/FileIO.h"
#include "core/Recovery.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QWidget;

namespace vocalore {

class TMainForm;
class TVocabFile;

// One entry of a file dialog's filter: its name and its patterns (';' between).
struct TFileFilterEntry {
    const char* Name;
    const char* Pattern;
};
// Why a document is refused at open: the language (or the two) it uses that
// the program does not offer, by name.
std::string UnsupportedLanguageMessage(uint16_t foreign, uint16_t native);

// "Name|pattern|Name|pattern", the form the prompt service takes.
QString FileFilter(const std::vector<TFileFilterEntry>& entries);

// The file types of Save As, in the order of the dialog's filter; the chosen
// entry alone decides how the file is written.
struct TSaveAsType {
    const char* Name;
    const char* Pattern;
    bool IsDocument; // writes the document itself: it takes the name, recent files too
    std::function<void(TVocabFile& document, const std::string& path)> Write;
};
const std::vector<TSaveAsType>& SaveAsTypes();

// What an import added, and what the count message says beyond the count
// (a KVTML file whose languages were taken by position).
struct TImportOutcome {
    TImportOutcome(int32_t added, QString note = {}) : Added(added), Note(std::move(note)) {}
    int32_t Added;
    QString Note;
};

// The kinds of file Import reads, tried in order; the first whose test takes
// the chosen file's extension (with its dot) reads it. Run returns what was
// added, or nothing when the user cancelled on the way.
struct TImportKind {
    std::function<bool(const QString& extension)> Matches;
    std::function<std::optional<TImportOutcome>(QWidget* owner, TVocabFile& document,
                                                const std::string& path)>
        Run;
};
const std::vector<TImportKind>& ImportKinds();
// The filter of Import's open dialog.
std::vector<TFileFilterEntry> ImportFilterEntries();

class TRecoveryCopies;

class TFileCommands {
public:
    explicit TFileCommands(TMainForm& form) : FForm(form) {}

    // Where the recovery copy of the document is kept (owned by the window).
    void SetRecoveryCopies(TRecoveryCopies* copies) { FRecovery = copies; }
    // The window became active again: a document changed on disk meanwhile
    // (another copy, a tool, a file copied over it) is offered for reloading.
    void CheckDiskChange();
    // Opens a recovery copy as the unsaved document it was.
    bool OpenRecovered(const TRecoveryCopy& copy);
    // The document's lock, released when the program ends.
    void ReleaseLock() { FLock.Release(); }

    void miFileNewClick();
    void miFileOpenClick();
    void miFileImportClick();
    void miFileSaveClick();
    void miFileSaveAsClick();
    void miFilePropertiesClick();
    void RecentFileClick(int index);

    // Asks to save a modified document; false when the user cancels or the
    // save fails.
    bool QuerySave();
    // Loads the file into a new document and installs it on success. A KVTML
    // file (told by its extension or content) or a flashcard package (told by
    // its content) becomes a new untitled document.
    bool OpenDocument(const QString& path);
    // The New dialog; on OK an empty document in the chosen languages.
    bool NewDocument();
    // The Open dialog.
    bool ChooseFile(QString& path);

private:
    bool OpenKvtml(const QString& path);
    bool OpenAnki(const QString& path);
    void ShowOpened(std::unique_ptr<TVocabFile> document);
    bool LoadDocument(const QString& path, bool askLock);
    // After the document was read from or written to its file.
    void NoteOnDisk(const std::string& path);
    // An untitled document: no file to watch, no lock.
    void ForgetDisk();
    // Before a save: true when the file may be written (unchanged on disk,
    // or the user chose to replace the other version).
    bool ConfirmChangedOnDisk(const std::string& path);
    // Before Save As writes: the real target and the user's consent.
    bool ConfirmSaveAsTarget(const QString& path, const TSaveAsType& type);
    // The open document's file, under this or another name.
    bool IsOwnFile(const QString& path) const;
    void SavedAs(const std::string& path);

    TMainForm& FForm;
    TRecoveryCopies* FRecovery = nullptr;
    TDocumentLock FLock;
    std::optional<TFileStamp> FDiskStamp; // what we last read or wrote
    std::optional<TFileStamp> FToldStamp; // a change already offered for reloading
    bool FCheckingDisk = false;
};

// The name Save As really writes: a name without an extension gets the
// chosen type's.
QString SaveAsPath(const QString& chosen, const TSaveAsType& type);

} // namespace vocalore
