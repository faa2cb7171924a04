#include "ItemCommands.h"

#include "ui/common/DialogHelpers.h"
#include "ui/editing/EditDialog.h"
#include "ui/window/CommandSupport.h"
#include "ui/window/MainWindow.h"

#include "core/EditRecord.h"

namespace vocalore {

namespace {

InsertPosition NewItemPosition(const TOptions& options) {
    return options.AppendNewWords ? ipAtEnd : ipAfterCurrent;
}

} // namespace

void TItemCommands::miEditAddClick() {
    TVocabFile& document = FForm.Document();
    TOptions& options = FForm.Settings().Options;
    TEditDialogData data;
    data.ForeignLangID = document.ForeignLangID;
    data.NativeLangID = document.NativeLangID;
    data.RequireSortPosition = options.RequireSortPosition;
    const bool accepted = TEditDialog::Execute(&FForm, data, emAdd);
    options.RequireSortPosition = data.RequireSortPosition;
    if (!accepted)
        return;
    for (int32_t i = 0; i < document.Count(); ++i) {
        if (document.Items(i).Word != data.Record.Word)
            continue;
        if (ShowMessageBox(QStringLiteral("Word already exists. Add anyway?"), {},
                           TMsgIcon::Warning, mbOK | mbCancel, mbNone, &FForm) != mbOK)
            return;
        break;
    }
    FillItem(document.PendingItem(), data.Record);
    document.InsertPending(NewItemPosition(options));
    FForm.RefreshGrid();
}

void TItemCommands::miEditEditClick() {
    TVocabFile& document = FForm.Document();
    TOptions& options = FForm.Settings().Options;
    TEditDialogData data;
    data.Record = EditRecordOf(document.CurrentItem());
    data.ForeignLangID = document.ForeignLangID;
    data.NativeLangID = document.NativeLangID;
    data.RequireSortPosition = options.RequireSortPosition;
    const bool accepted = TEditDialog::Execute(&FForm, data, emEdit);
    options.RequireSortPosition = data.RequireSortPosition;
    if (!accepted)
        return;
    // The replacement starts a new test history.
    FillItem(document.PendingItem(), data.Record);
    document.ReplaceCurrent();
    FForm.RefreshGrid();
}

void TItemCommands::miEditDeleteClick() {
    FForm.ClearCutMark();
    FForm.Document().DeleteCurrent();
    FForm.RefreshGrid();
}

void TItemCommands::miEditCopyClick() {
    FForm.ClearCutMark();
    FForm.Document().CopyToClipboard(FForm.Clipboard());
}

void TItemCommands::miEditCutClick() {
    miEditCopyClick();
    FForm.SetCutIndex(FForm.Document().CurrentIndex());
}

void TItemCommands::miEditPasteClick() {
    TVocabFile& document = FForm.Document();
    const int32_t cut = FForm.CutIndex();
    const int32_t current = document.CurrentIndex();
    if (cut == -1) {
        // A cut-and-paste move never reads the clipboard; a paste always does.
        if (!TVocabFile::ClipboardHasItem(FForm.Clipboard()))
            return;
        document.PasteFromClipboard(FForm.Clipboard(), NewItemPosition(FForm.Settings().Options));
    } else if (cut == current || current == -1) {
        FForm.ClearCutMark();
    } else {
        document.SetCurrentIndex(cut);
        document.MoveCurrent(current);
        FForm.ClearCutMark();
    }
    FForm.RefreshGrid();
}

void TItemCommands::miEditMoveUpClick() {
    FForm.ClearCutMark();
    TVocabFile& document = FForm.Document();
    document.MoveCurrent(document.CurrentIndex() - 1);
    FForm.RefreshGrid();
}

void TItemCommands::miEditMoveDownClick() {
    FForm.ClearCutMark();
    TVocabFile& document = FForm.Document();
    document.MoveCurrent(document.CurrentIndex() + 1);
    FForm.RefreshGrid();
}

void TItemCommands::miEditSortClick() {
    FForm.ClearCutMark();
    TVocabFile& document = FForm.Document();
    {
        TWaitCursor wait;
        document.FillSortKeys();
        document.Sort();
    }
    FForm.RefreshGrid();
}

void TItemCommands::miEditShuffleClick() {
    FForm.ClearCutMark();
    FForm.Document().Shuffle();
    FForm.RefreshGrid();
}

void TItemCommands::miEditUndoClick() {
    FForm.ClearCutMark();
    FForm.Document().Undo();
    FForm.RefreshGrid();
}

void TItemCommands::miEditRedoClick() {
    FForm.ClearCutMark();
    FForm.Document().Redo();
    FForm.RefreshGrid();
}

} // namespace vocalore
