#include "PromptService.h"

#include "ui/common/DialogHelpers.h"

#include <QDir>
#include <QFileDialog>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

namespace vocalore {

namespace {

TPromptService* installedService = nullptr;

TQtPromptService& QtService() {
    static TQtPromptService service;
    return service;
}

// Message-box buttons in the order the user sees them.
constexpr TMsgButton buttonOrder[] = {mbOK, mbYes, mbNo, mbCancel};

TMsgButton FirstButton(TMsgButtons buttons) {
    for (TMsgButton b : buttonOrder)
        if (buttons & b)
            return b;
    return mbOK;
}

QMessageBox::StandardButton QtButton(TMsgButton button) {
    switch (button) {
    case mbOK:
        return QMessageBox::Ok;
    case mbCancel:
        return QMessageBox::Cancel;
    case mbYes:
        return QMessageBox::Yes;
    case mbNo:
        return QMessageBox::No;
    case mbNone:
        break;
    }
    return QMessageBox::NoButton;
}

QMessageBox::Icon QtIcon(TMsgIcon icon) {
    switch (icon) {
    case TMsgIcon::Information:
        return QMessageBox::Information;
    case TMsgIcon::Warning:
        return QMessageBox::Warning;
    case TMsgIcon::Error:
        return QMessageBox::Critical;
    case TMsgIcon::Question:
        return QMessageBox::Question;
    case TMsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// The answer when a box is closed without a button: what Escape would mean.
TMsgButton EscapeAnswer(TMsgButtons buttons) {
    if (buttons & mbCancel)
        return mbCancel;
    if (buttons & mbNo)
        return mbNo;
    return FirstButton(buttons);
}

// Qt's own first size is too small to read the file list's columns.
constexpr QSize DefaultFileDialogSize(760, 480);

QSize& FileDialogSizeStore() {
    static QSize size;
    return size;
}

// The dialog's state (view, column widths) for the rest of the run.
QByteArray& FileDialogState() {
    static QByteArray state;
    return state;
}

TFileDialogResult RunFileDialog(const TFileDialogRequest& request, bool save) {
    QFileDialog dialog(request.Parent, request.Caption);
    // Ours rather than the desktop's, so that the size can be set and kept.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (!FileDialogState().isEmpty())
        dialog.restoreState(FileDialogState());
    // Laid out first: its minimum size then holds already, and the size it
    // is placed with is the size it is shown with.
    dialog.ensurePolished();
    if (dialog.layout())
        dialog.layout()->activate();
    dialog.resize(TQtPromptService::FileDialogSize());
    KeepOnScreen(&dialog);
    // Over the window like every other dialog, not at the screen's corner.
    PlaceDialog(&dialog, request.Parent);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(save && request.OverwritePrompt));
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setDirectory(request.Folder.isEmpty() ? QDir::currentPath() : request.Folder);
    if (!request.DefaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.DefaultSuffix);
    const QStringList filters = QtNameFilters(request.Filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = request.FilterIndex >= 1 && request.FilterIndex <= filters.size()
                              ? request.FilterIndex - 1
                              : 0;
        dialog.selectNameFilter(filters[index]);
    }
    if (request.SuffixFollowsFilter)
        QObject::connect(
            &dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
                // "Name (*.txt *.text)": the first pattern's extension.
                const qsizetype star = filter.lastIndexOf(QLatin1String("(*."));
                if (star < 0)
                    return;
                const QString rest = filter.mid(star + 3);
                const qsizetype end = rest.indexOf(QRegularExpression(QStringLiteral("[ )]")));
                const QString suffix = rest.left(end);
                if (!suffix.isEmpty() && !suffix.contains(u'*'))
                    dialog.setDefaultSuffix(suffix);
            });
    if (!request.FileName.isEmpty())
        dialog.selectFile(request.FileName);
    int answer;
    {
        const TDefaultKeyboardScope defaultKeyboard;
        answer = dialog.exec();
    }
    TQtPromptService::SetFileDialogSize(dialog.size());
    FileDialogState() = dialog.saveState();
    if (answer != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    TFileDialogResult result;
    result.Path = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    result.FilterIndex =
        std::max<int>(1, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1);
    return result;
}

} // namespace

QSize TQtPromptService::FileDialogSize() {
    const QSize stored = FileDialogSizeStore();
    return stored.isValid() && !stored.isEmpty() ? stored : DefaultFileDialogSize;
}

void TQtPromptService::SetFileDialogSize(QSize size) { FileDialogSizeStore() = size; }

TPromptService& TPromptService::Instance() {
    return installedService ? *installedService : QtService();
}

void TPromptService::Install(TPromptService* service) { installedService = service; }

QStringList QtNameFilters(const QString& filter) {
    QStringList result;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
        for (QString& pattern : patterns)
            if (pattern == QStringLiteral("*.*"))
                pattern = QStringLiteral("*"); // also files without an extension
        // Qt reads the patterns from the trailing parentheses of the name, so
        // the ones shown to the user ("Text Files (*.txt, *.csv)") are replaced
        // by the form Qt understands.
        QString name = parts[i].trimmed();
        const qsizetype open = name.lastIndexOf(u'(');
        if (name.endsWith(u')') && open > 0)
            name = name.left(open).trimmed();
        result << name + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return result;
}

namespace {

// A message box takes its size only when it is shown; it is centred over its
// owner then, before the window appears, and not with the size it had before.
class TPlacedMessageBox final : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        PlaceDialog(this, parentWidget());
    }
};

} // namespace

TMsgButton TQtPromptService::MessageBox(const TMessageRequest& request) {
    TPlacedMessageBox box(QtIcon(request.Icon), request.Caption, request.Text,
                          QMessageBox::NoButton, request.Parent);
    for (TMsgButton b : buttonOrder)
        if (request.Buttons & b) {
            QPushButton* button = box.addButton(QtButton(b));
            if (const auto text = request.ButtonTexts.find(b); text != request.ButtonTexts.end())
                button->setText(text->second);
        }
    const TMsgButton def =
        request.DefaultButton != mbNone ? request.DefaultButton : FirstButton(request.Buttons);
    box.setDefaultButton(QtButton(def));
    const QMessageBox::StandardButton escape = QtButton(EscapeAnswer(request.Buttons));
    box.setEscapeButton(escape);
    box.exec();
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Ok:
        return mbOK;
    case QMessageBox::Cancel:
        return mbCancel;
    case QMessageBox::Yes:
        return mbYes;
    case QMessageBox::No:
        return mbNo;
    default:
        return EscapeAnswer(request.Buttons);
    }
}

TFileDialogResult TQtPromptService::OpenFile(const TFileDialogRequest& request) {
    return RunFileDialog(request, false);
}

TFileDialogResult TQtPromptService::SaveFile(const TFileDialogRequest& request) {
    return RunFileDialog(request, true);
}

TFakePromptService::TFakePromptService(bool install) : FInstalled(install) {
    if (install)
        TPromptService::Install(this);
}

TFakePromptService::~TFakePromptService() {
    if (FInstalled && installedService == this)
        TPromptService::Install(nullptr);
}

void TFakePromptService::Clear() {
    FPrompts.clear();
    FButtons.clear();
    FFiles.clear();
    FUnanswered = 0;
}

TMsgButton TFakePromptService::MessageBox(const TMessageRequest& request) {
    TRecordedPrompt p;
    p.Kind = TRecordedPrompt::pkMessage;
    p.Text = request.Text;
    p.Caption = request.Caption;
    p.Icon = request.Icon;
    p.Buttons = request.Buttons;
    p.DefaultButton =
        request.DefaultButton != mbNone ? request.DefaultButton : FirstButton(request.Buttons);
    p.ButtonTexts = request.ButtonTexts;
    FPrompts.push_back(p);
    if (FButtons.empty()) {
        ++FUnanswered;
        return EscapeAnswer(request.Buttons);
    }
    const TMsgButton answer = FButtons.front();
    FButtons.pop_front();
    return answer;
}

TFileDialogResult TFakePromptService::FileDialog(TRecordedPrompt::TKind kind,
                                                 const TFileDialogRequest& request) {
    TRecordedPrompt p;
    p.Kind = kind;
    p.Caption = request.Caption;
    p.Filter = request.Filter;
    p.FilterIndex = request.FilterIndex;
    p.Folder = request.Folder;
    p.FileName = request.FileName;
    p.DefaultSuffix = request.DefaultSuffix;
    p.OverwritePrompt = request.OverwritePrompt;
    p.SuffixFollowsFilter = request.SuffixFollowsFilter;
    FPrompts.push_back(p);
    if (FFiles.empty()) {
        ++FUnanswered;
        return {};
    }
    TFileDialogResult answer = FFiles.front();
    FFiles.pop_front();
    return answer;
}

TFileDialogResult TFakePromptService::OpenFile(const TFileDialogRequest& request) {
    return FileDialog(TRecordedPrompt::pkOpenFile, request);
}

TFileDialogResult TFakePromptService::SaveFile(const TFileDialogRequest& request) {
    return FileDialog(TRecordedPrompt::pkSaveFile, request);
}

} // namespace vocalore
