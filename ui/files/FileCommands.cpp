#include "FileCommands.h"

#include "ui/common/DialogHelpers.h"
#include "ui/common/PromptService.h"
#include "ui/files/AnkiImportDialog.h"
#include "ui/files/ImportDialog.h"
#include "ui/files/NewDialog.h"
#include "ui/files/PropertiesDialog.h"
#include "ui/files/RecoveryCopies.h"
#include "ui/window/CommandSupport.h"
#include "ui/window/MainWindow.h"

#include "core/DisplayRules.h"
#include "core/Languages.h"
#include "core/VocabFile.h"
#include "transfer/AnkiPackage.h"
#include "transfer/Export.h"
#include "transfer/Import.h"
#include "transfer/Kvtml.h"
#include "transfer/qt/KvtmlXml.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QToolBar>

namespace vocalore {

namespace {

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

const QLatin1String KvtmlFilter("KVTML Vocabulary (*.kvtml)|*.kvtml");
const QLatin1String AnkiFilter("Anki Decks (*.apkg, *.colpkg)|*.apkg;*.colpkg");

bool IsKvtml(const QString& path, const std::string& localPath) {
    return path.endsWith(QLatin1String(".kvtml"), Qt::CaseInsensitive) ||
           LooksLikeKvtmlFile(localPath);
}

// By name, so that a broken package is refused as one, or by content.
bool IsAnki(const QString& path, const std::string& localPath) {
    return path.endsWith(QLatin1String(".apkg"), Qt::CaseInsensitive) ||
           path.endsWith(QLatin1String(".colpkg"), Qt::CaseInsensitive) ||
           LooksLikeAnkiPackageFile(localPath);
}

constexpr int SavePromptNameWidth = 420;

// Reads a flashcard package and asks which fields and deck to take; nothing
// when the user cancels. A package with no notes is refused before asking.
std::optional<TAnkiImportSettings> ChooseAnkiSettings(QWidget* owner, const TAnkiPackage& package) {
    if (package.Notes.empty())
        throw EVocabFileError(NothingToImport);
    TAnkiDialogData data;
    data.FieldCaptions = AnkiFieldCaptions(package);
    for (const TAnkiDeck& deck : package.Decks)
        data.Decks.push_back(deck.Name);
    if (!TAnkiImportDialog::Execute(owner, data))
        return std::nullopt;
    return data.Settings;
}

// Appends the package's notes; a package that gives no item is refused with
// the reasons, and the document stays as it was.
TAnkiImportResult ImportAnkiNotes(TVocabFile& document, const TAnkiPackage& package,
                                  const TAnkiImportSettings& settings) {
    const TAnkiImportResult result = ImportAnkiData(document, package, settings);
    if (result.Count == 0)
        throw EVocabFileError(AnkiImportMessage(result));
    return result;
}

} // namespace

void TFileCommands::miFileNewClick() {
    if (QuerySave() && NewDocument())
        FForm.SetViewMode(vmEdit);
}

bool TFileCommands::NewDocument() {
    TVocabFile& document = FForm.Document();
    uint16_t foreign = document.ForeignLangID;
    uint16_t native = document.NativeLangID;
    if (!TNewDialog::Execute(&FForm, foreign, native))
        return false;
    FForm.LanguagesChanged(foreign, native);
    if (FRecovery != nullptr)
        FRecovery->Discard(); // QuerySave let the old document go
    ForgetDisk();
    document.Clear();
    document.ForeignLangID = foreign;
    document.NativeLangID = native;
    FForm.ClearCutMark();
    FForm.Grid()->ScrollToStart();
    return true;
}

void TFileCommands::miFileOpenClick() {
    // Keep the tool button from staying drawn pressed behind the dialog.
    if (QWidget* button = FForm.ToolBar()->widgetForAction(FForm.Action(cmFileOpen)))
        button->repaint();
    QString path;
    if (QuerySave() && ChooseFile(path) && OpenDocument(path))
        FForm.SetViewMode(vmEdit);
}

bool TFileCommands::ChooseFile(QString& path) {
    FForm.ClearCutMark();
    TFileDialogRequest request;
    request.Parent = &FForm;
    request.Caption = QStringLiteral("Open");
    request.Folder = QDir::currentPath();
    request.Filter = QStringLiteral("Vocalore Documents (*.vlo)|*.vlo|") + KvtmlFilter + u'|' +
                     AnkiFilter + QStringLiteral("|All Files (*.*)|*.*");
    request.FilterIndex = 1;
    request.DefaultSuffix = QStringLiteral("vlo");
    const TFileDialogResult result = TPromptService::Instance().OpenFile(request);
    if (!result.Accepted())
        return false;
    path = result.Path;
    return true;
}

std::string UnsupportedLanguageMessage(uint16_t foreign, uint16_t native) {
    std::vector<std::string> names;
    for (const uint16_t id : {foreign, native})
        if (!IsLanguageAvailable(id) && (names.empty() || id != foreign))
            names.push_back(LanguageNameOrId(id));
    if (names.size() == 2 && names[0] == names[1])
        names.pop_back();
    if (names.size() == 1)
        return "This file uses a language that Vocalore does not support: " + names[0] + ".";
    return "This file uses languages that Vocalore does not support: " + names[0] + " and " +
           names[1] + ".";
}

bool TFileCommands::OpenDocument(const QString& path) { return LoadDocument(path, true); }

bool TFileCommands::LoadDocument(const QString& path, bool askLock) {
    if (IsAnki(path, LocalPath(path)))
        return OpenAnki(path);
    if (IsKvtml(path, LocalPath(path)))
        return OpenKvtml(path);
    if (askLock) {
        if (const auto other = TDocumentLock::HeldByOther(LocalPath(path))) {
            const QString who =
                other->User.empty()
                    ? QString()
                    : QStringLiteral(" (%1 on %2)").arg(Utf8(other->User), Utf8(other->Host));
            const TMsgButton answer = ShowMessageBox(
                path + QStringLiteral("\nThis document is already open in Vocalore") + who +
                    QStringLiteral(". If both copies save it, one loses the other's changes.\n"
                                   "Do you want to open it anyway?"),
                {}, TMsgIcon::Warning, mbYes | mbCancel, mbCancel, &FForm,
                {{mbYes, QStringLiteral("Open Anyway")}});
            if (answer != mbYes)
                return false;
        }
    }
    TWaitCursor wait;
    auto document = std::make_unique<TVocabFile>();
    try {
        document->LoadFromFile(LocalPath(path));
        if (!IsLanguageAvailable(document->ForeignLangID) ||
            !IsLanguageAvailable(document->NativeLangID))
            throw EVocabFileError(
                LocalPath(path) + "\n\n" +
                UnsupportedLanguageMessage(document->ForeignLangID, document->NativeLangID));
    } catch (const std::exception& e) {
        wait.Restore();
        FForm.AppException(QString::fromStdString(e.what()));
        return false;
    }
    ShowOpened(std::move(document));
    NoteOnDisk(FForm.Document().FileName());
    FForm.Settings().RecentFiles.Add(LocalPath(path));
    return true;
}

void TFileCommands::NoteOnDisk(const std::string& path) {
    FDiskStamp = FileStampOf(path);
    FToldStamp.reset();
    if (FLock.LockedPath() != path)
        FLock.Take(path);
}

void TFileCommands::ForgetDisk() {
    FDiskStamp.reset();
    FToldStamp.reset();
    FLock.Release();
}

bool TFileCommands::OpenRecovered(const TRecoveryCopy& copy) {
    auto document = std::make_unique<TVocabFile>();
    document->LoadRecovered(copy.Bytes, copy.OriginalPath);
    ShowOpened(std::move(document));
    if (!copy.OriginalPath.empty()) {
        // The file on disk is whatever it is now; the recovered list differs
        // from it, so a save asks only when it changes again.
        NoteOnDisk(copy.OriginalPath);
    }
    return true;
}

bool TFileCommands::ConfirmChangedOnDisk(const std::string& path) {
    if (!FDiskStamp)
        return true;
    const std::optional<TFileStamp> now = FileStampOf(path);
    if (!now || *now == *FDiskStamp)
        return true; // unchanged, or gone: the save makes it again
    const TMsgButton answer = ShowMessageBox(
        DisplayPath(path) +
            QStringLiteral("\nThis file was changed on disk since Vocalore opened or saved it, "
                           "by another program or another copy of Vocalore.\n"
                           "Do you want to replace it with this document?\n\n"
                           "Choose No to reload the file from disk instead; the changes made "
                           "here are then lost."),
        {}, TMsgIcon::Warning, mbYes | mbNo | mbCancel, mbCancel, &FForm);
    if (answer == mbYes)
        return true;
    if (answer == mbNo && LoadDocument(DisplayPath(path), false))
        FForm.SetViewMode(vmEdit);
    return false;
}

void TFileCommands::CheckDiskChange() {
    if (FCheckingDisk || !FDiskStamp || FForm.ViewMode() == vmNone)
        return;
    const std::string path = FForm.Document().FileName();
    const std::optional<TFileStamp> now = FileStampOf(path);
    if (!now || *now == *FDiskStamp || (FToldStamp && *now == *FToldStamp))
        return;
    FToldStamp = now;
    FCheckingDisk = true; // the box itself deactivates and activates the window
    const bool modified = FForm.Document().Modified();
    const TMsgButton answer = ShowMessageBox(
        DisplayPath(path) +
            QStringLiteral("\nThis file was changed on disk by another program or another "
                           "copy of Vocalore.\nDo you want to reload it?") +
            (modified ? QStringLiteral(" The changes made here would be lost.") : QString()),
        {}, TMsgIcon::Warning, mbYes | mbNo, modified ? mbNo : mbYes, &FForm);
    FCheckingDisk = false;
    if (answer == mbYes && LoadDocument(DisplayPath(path), false))
        FForm.SetViewMode(vmEdit);
}

// Another trainer's list becomes a new untitled document in the languages
// its identifiers name; the New dialog asks for any it can't tell.
bool TFileCommands::OpenKvtml(const QString& path) {
    auto document = std::make_unique<TVocabFile>();
    try {
        TWaitCursor wait;
        const TKvtmlData data = ReadKvtmlFile(LocalPath(path));
        auto [foreign, native] = KvtmlLanguages(data);
        if (!IsLanguageAvailable(foreign) || !IsLanguageAvailable(native)) {
            wait.Restore();
            if (!IsLanguageAvailable(foreign))
                foreign = FForm.Document().ForeignLangID;
            if (!IsLanguageAvailable(native))
                native = FForm.Document().NativeLangID;
            if (!TNewDialog::Execute(&FForm, foreign, native))
                return false;
        }
        document->ForeignLangID = foreign;
        document->NativeLangID = native;
        ImportKvtmlData(*document, data);
        SetKvtmlProperties(*document, data);
    } catch (const std::exception& e) {
        FForm.AppException(QString::fromStdString(e.what()));
        return false;
    }
    ShowOpened(std::move(document));
    return true;
}

// A flashcard package names no languages: the New dialog asks for them, then
// the package's own dialog for its fields and deck; the notes become a new
// untitled document.
bool TFileCommands::OpenAnki(const QString& path) {
    auto document = std::make_unique<TVocabFile>();
    try {
        TAnkiPackage package;
        {
            TWaitCursor wait;
            package = ReadAnkiPackageFile(LocalPath(path));
        }
        uint16_t foreign = FForm.Document().ForeignLangID;
        uint16_t native = FForm.Document().NativeLangID;
        if (!TNewDialog::Execute(&FForm, foreign, native))
            return false;
        const std::optional<TAnkiImportSettings> settings = ChooseAnkiSettings(&FForm, package);
        if (!settings)
            return false;
        document->ForeignLangID = foreign;
        document->NativeLangID = native;
        TWaitCursor wait;
        ImportAnkiNotes(*document, package, *settings);
    } catch (const std::exception& e) {
        FForm.AppException(QString::fromStdString(e.what()));
        return false;
    }
    ShowOpened(std::move(document));
    return true;
}

// An opened document starts at its first item, scrolled to the left.
void TFileCommands::ShowOpened(std::unique_ptr<TVocabFile> document) {
    // QuerySave let the old document go, its copy and its file with it.
    if (FRecovery != nullptr)
        FRecovery->Discard();
    ForgetDisk();
    FForm.LanguagesChanged(document->ForeignLangID, document->NativeLangID);
    FForm.ClearCutMark();
    if (document->Count() > 0)
        document->SetCurrentIndex(0);
    FForm.InstallDocument(std::move(document));
    FForm.Grid()->ScrollToStart();
}

void TFileCommands::RecentFileClick(int index) {
    TRecentFileList& recent = FForm.Settings().RecentFiles;
    if (!QuerySave() || index >= recent.Count())
        return;
    // Copy: opening reorders the list.
    const QString path = DisplayPath(recent.Items(index));
    if (OpenDocument(path))
        FForm.SetViewMode(vmEdit);
}

bool TFileCommands::QuerySave() {
    const TVocabFile& document = FForm.Document();
    if (FForm.ViewMode() == vmNone || !document.Modified())
        return true;
    // A name too long for the box loses its middle, never its end or the '?'.
    const QString title = TShortenedLabel::ElideMiddle(Utf8(DocumentTitle(document.FileName())),
                                                       SavePromptNameWidth, FForm.fontMetrics());
    const TMsgButton answer =
        ShowMessageBox(QStringLiteral("Save changes to ") + title + u'?', {}, TMsgIcon::Warning,
                       mbYes | mbNo | mbCancel, mbNone, &FForm);
    if (answer == mbCancel)
        return false;
    if (answer == mbNo) {
        if (FRecovery != nullptr)
            FRecovery->Discard(); // a deliberate No: the changes are not wanted
        return true;
    }
    miFileSaveClick();
    return !FForm.Document().Modified();
}

void TFileCommands::miFileSaveClick() {
    FForm.ClearCutMark();
    TVocabFile& document = FForm.Document();
    const std::string& fileName = document.FileName();
    if (fileName.empty()) {
        miFileSaveAsClick();
        return;
    }
    // Read-only is whatever keeps this user from writing the file: its
    // permissions, its owner, a read-only mount.
    if (QFileInfo::exists(DisplayPath(fileName)) && !MayWriteFile(fileName)) {
        ShowMessageBox(
            Utf8(DocumentTitle(fileName, true)) +
                QStringLiteral("\nThis file is read-only. Please use a different file name."),
            {}, TMsgIcon::Warning, mbOK, mbNone, &FForm);
        miFileSaveAsClick();
        return;
    }
    if (!ConfirmChangedOnDisk(fileName))
        return;
    {
        TWaitCursor wait;
        document.SaveToFile(fileName);
    }
    SavedAs(document.FileName());
}

void TFileCommands::SavedAs(const std::string& path) {
    NoteOnDisk(path);
    if (FRecovery != nullptr)
        FRecovery->Discard();
}

const std::vector<TSaveAsType>& SaveAsTypes() {
    static const std::vector<TSaveAsType> types{
        {"Vocalore Document (*.vlo)", "*.vlo", true,
         [](TVocabFile& document, const std::string& path) { document.SaveToFile(path); }},
        {"Rich Text Format (*.rtf)", "*.rtf", false,
         [](TVocabFile& document, const std::string& path) { ExportRichText(document, path); }},
        {"Tab-Delimited Text (*.txt)", "*.txt", false,
         [](TVocabFile& document, const std::string& path) { ExportText(document, path, false); }},
        {"Comma-Separated Values (*.csv)", "*.csv", false,
         [](TVocabFile& document, const std::string& path) { ExportText(document, path, true); }},
        // For the desktop's other programs, beside the code-page forms above.
        {"Tab-Delimited Text, UTF-8 (*.txt)", "*.txt", false,
         [](TVocabFile& document, const std::string& path) {
             ExportText(document, path, false, tcUtf8);
         }},
        {"Comma-Separated Values, UTF-8 (*.csv)", "*.csv", false,
         [](TVocabFile& document, const std::string& path) {
             ExportText(document, path, true, tcUtf8);
         }},
        {"KVTML Vocabulary (*.kvtml)", "*.kvtml", false,
         [](TVocabFile& document, const std::string& path) { ExportKvtml(document, path); }},
    };
    return types;
}

const std::vector<TImportKind>& ImportKinds() {
    static const std::vector<TImportKind> kinds{
        // Byte for byte: "x.VLO" is not a document but a text file.
        {[](const QString& extension) { return extension == QLatin1String(".vlo"); },
         [](QWidget*, TVocabFile& document,
            const std::string& path) -> std::optional<TImportOutcome> {
             TWaitCursor wait;
             return document.MergeFile(path);
         }},
        // Any other name: a flashcard package or a KVTML file by its content,
        // else text (UTF-8 or code page, told apart by the import itself).
        {[](const QString&) { return true; },
         [](QWidget* owner, TVocabFile& document,
            const std::string& path) -> std::optional<TImportOutcome> {
             if (IsAnki(QString::fromStdString(path), path)) {
                 TAnkiPackage package;
                 {
                     TWaitCursor wait;
                     package = ReadAnkiPackageFile(path);
                 }
                 const std::optional<TAnkiImportSettings> settings =
                     ChooseAnkiSettings(owner, package);
                 if (!settings)
                     return std::nullopt;
                 TWaitCursor wait;
                 const TAnkiImportResult result = ImportAnkiNotes(document, package, *settings);
                 return TImportOutcome(result.Count,
                                       QString::fromStdString(AnkiLeftOutNote(result)));
             }
             if (IsKvtml(QString::fromStdString(path), path)) {
                 TWaitCursor wait;
                 const TKvtmlImportResult result = ImportKvtml(document, path);
                 return TImportOutcome(result.Count, QString::fromUtf8(KvtmlImportNote(result)));
             }
             TImportSettings settings;
             if (!TImportDialog::Execute(owner, settings))
                 return std::nullopt;
             TWaitCursor wait;
             return ImportText(document, path, settings);
         }},
    };
    return kinds;
}

QString FileFilter(const std::vector<TFileFilterEntry>& entries) {
    QStringList parts;
    for (const TFileFilterEntry& entry : entries)
        parts << QString::fromUtf8(entry.Name) << QString::fromUtf8(entry.Pattern);
    return parts.join(u'|');
}

namespace {

std::vector<TFileFilterEntry> SaveAsFilterEntries() {
    std::vector<TFileFilterEntry> entries;
    for (const TSaveAsType& type : SaveAsTypes())
        entries.push_back({type.Name, type.Pattern});
    return entries;
}

// The extension from the last dot of the file's name, with the dot.
QString Extension(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot);
}

} // namespace

void TFileCommands::miFileSaveAsClick() {
    FForm.ClearCutMark();
    TVocabFile& document = FForm.Document();
    const std::string& fileName = document.FileName();
    TFileDialogRequest request;
    request.Parent = &FForm;
    request.Caption = QStringLiteral("Save As");
    request.Filter = FileFilter(SaveAsFilterEntries());
    request.FilterIndex = 1;
    request.DefaultSuffix = QStringLiteral("vlo");
    request.SuffixFollowsFilter = true;
    // Asked below, about the file that will really be written.
    request.OverwritePrompt = false;
    if (fileName.empty()) {
        request.Folder = QDir::currentPath();
    } else {
        const QFileInfo info(DisplayPath(fileName));
        request.Folder = info.absolutePath();
        const QString suffix = info.suffix();
        QString base = info.absoluteFilePath();
        if (!suffix.isEmpty())
            base.chop(suffix.size() + 1);
        request.FileName = base;
    }
    const TFileDialogResult result = TPromptService::Instance().SaveFile(request);
    if (!result.Accepted())
        return;
    const std::vector<TSaveAsType>& types = SaveAsTypes();
    if (result.FilterIndex < 1 || result.FilterIndex > static_cast<int>(types.size()))
        return;
    // The chosen type alone decides the format, whatever the typed extension.
    const TSaveAsType& type = types[static_cast<size_t>(result.FilterIndex - 1)];
    const QString path = SaveAsPath(result.Path, type);
    if (!ConfirmSaveAsTarget(path, type))
        return;
    const bool overOwnFile = !type.IsDocument && IsOwnFile(path);
    {
        TWaitCursor wait;
        type.Write(document, LocalPath(path));
    }
    // An export leaves the document's name, modified state and recent files
    // alone; one the user let replace the document's own file leaves the
    // list saved nowhere, so it counts as unsaved, and the change on disk is ours.
    if (overOwnFile) {
        document.MarkUnsaved();
        FDiskStamp = FileStampOf(document.FileName());
    }
    if (type.IsDocument) {
        FForm.Settings().RecentFiles.Add(LocalPath(path));
        SavedAs(document.FileName());
    }
}

bool TFileCommands::IsOwnFile(const QString& path) const {
    const std::string& own = FForm.Document().FileName();
    const std::optional<TFileStamp> ownStamp = own.empty() ? std::nullopt : FileStampOf(own);
    const std::optional<TFileStamp> targetStamp = FileStampOf(LocalPath(path));
    return ownStamp && targetStamp && ownStamp->Inode == targetStamp->Inode &&
           ownStamp->Device == targetStamp->Device;
}

QString SaveAsPath(const QString& chosen, const TSaveAsType& type) {
    const QString name = QFileInfo(chosen).fileName();
    if (name.contains(u'.') && !name.endsWith(u'.'))
        return chosen;
    const QString pattern = QString::fromUtf8(type.Pattern); // "*.txt"
    const QString extension = pattern.mid(pattern.indexOf(u'.') + 1);
    return name.endsWith(u'.') ? chosen + extension : chosen + u'.' + extension;
}

namespace {

// "Tab-Delimited Text" of "Tab-Delimited Text (*.txt)".
QString TypeName(const TSaveAsType& type) {
    QString name = QString::fromUtf8(type.Name);
    const qsizetype open = name.lastIndexOf(QLatin1String(" ("));
    return open > 0 ? name.left(open) : name;
}

bool IsVocaloreDocument(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(10) == QByteArrayLiteral("Vocalore 2");
}

} // namespace

bool TFileCommands::ConfirmSaveAsTarget(const QString& path, const TSaveAsType& type) {
    const QFileInfo target(path);
    if (!target.exists())
        return true;
    // The same file also under another name (a link, another spelling).
    const bool isOwn = IsOwnFile(path);
    QString text;
    if (!type.IsDocument && isOwn)
        text = path +
               QStringLiteral("\nThis is the file of the open document. Replacing it with ") +
               TypeName(type) +
               QStringLiteral(" loses the document's own format: the file could no longer be "
                              "opened as a Vocalore document.\nDo you want to replace it?");
    else if (!type.IsDocument && IsVocaloreDocument(path))
        text = path + QStringLiteral("\nThis is a Vocalore document. Replacing it with ") +
               TypeName(type) +
               QStringLiteral(" loses the list it holds.\nDo you want to replace it?");
    else
        text = path + QStringLiteral(" already exists.\nDo you want to replace it?");
    return ShowMessageBox(text, QStringLiteral("Save As"), TMsgIcon::Warning, mbYes | mbNo, mbNo,
                          &FForm) == mbYes;
}

void TFileCommands::miFileImportClick() {
    FForm.ClearCutMark();
    TFileDialogRequest request;
    request.Parent = &FForm;
    request.Caption = QStringLiteral("Import");
    request.Folder = QDir::currentPath();
    request.Filter = FileFilter(ImportFilterEntries());
    request.FilterIndex = 1;
    const TFileDialogResult result = TPromptService::Instance().OpenFile(request);
    if (!result.Accepted())
        return;
    const QString extension = Extension(result.Path);
    TVocabFile& document = FForm.Document();
    std::optional<TImportOutcome> added;
    for (const TImportKind& kind : ImportKinds()) {
        if (kind.Matches(extension)) {
            added = kind.Run(&FForm, document, LocalPath(result.Path));
            break;
        }
    }
    if (!added)
        return;
    if (added->Added == 0)
        throw EVocabFileError(NothingToImport);
    document.SetCurrentIndex(document.Count() - 1);
    FForm.RefreshGrid();
    ShowMessageBox(QString::number(added->Added) + QStringLiteral(" items imported successfully.") +
                       added->Note,
                   QStringLiteral("Import"), TMsgIcon::Information, mbOK, mbNone, &FForm);
}

std::vector<TFileFilterEntry> ImportFilterEntries() {
    return {{"Vocalore Documents (*.vlo)", "*.vlo"},
            {"Text Files (*.txt, *.csv)", "*.txt;*.csv"},
            {"KVTML Vocabulary (*.kvtml)", "*.kvtml"},
            {"Anki Decks (*.apkg, *.colpkg)", "*.apkg;*.colpkg"},
            {"All Files (*.*)", "*.*"}}; // the catch-all last
}

void TFileCommands::miFilePropertiesClick() {
    TVocabFile& document = FForm.Document();
    TPropertiesData data;
    data.FileName = document.FileName();
    data.ForeignLangID = document.ForeignLangID;
    data.NativeLangID = document.NativeLangID;
    data.Count = document.Count();
    data.Description = document.GetProperty(piDescription);
    data.Author = document.GetProperty(piAuthor);
    data.Comments = document.GetProperty(piComments);
    if (!TPropertiesDialog::Execute(&FForm, data))
        return;
    document.SetProperty(piDescription, data.Description);
    document.SetProperty(piAuthor, data.Author);
    document.SetProperty(piComments, data.Comments);
}

} // namespace vocalore
