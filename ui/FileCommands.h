#pragma once
// The File menu's document commands: New, Open, Import, Save, Save As,
// Properties and the recent files. The main window owns one instance and
// forwards its commands here; the document stays the window's.

#include <QString>

namespace vocalore {

class TMainForm;

class TFileCommands {
public:
    explicit TFileCommands(TMainForm& form) : FForm(form) {}

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
    // Loads the file into a new document and installs it on success.
    bool OpenDocument(const QString& path);
    // The New dialog; on OK an empty document in the chosen languages.
    bool NewDocument();
    // The Open dialog.
    bool ChooseFile(QString& path);

private:
    TMainForm& FForm;
};

} // namespace vocalore
