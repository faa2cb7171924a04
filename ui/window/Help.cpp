#include "Help.h"

#include "ui/common/DialogHelpers.h"

#include "datafolder/DataFolder.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QShortcut>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QUrl>
#include <QWhatsThis>
#include <QWidget>

namespace vocalore {

namespace {

struct TTopic {
    int Context;
    const char* Page;
};

// Commands (2000..2302) and dialog Help buttons (3000..3008).
constexpr TTopic topics[] = {
    {2000, "files.html#new"},
    {2001, "files.html#open"},
    {2002, "files.html#import"},
    {2003, "files.html#save"},
    {2004, "files.html#saveas"},
    {2005, "files.html#properties"},
    {2006, "files.html#print"},
    {2007, "files.html#pagesetup"},
    {2008, "files.html#recent"},
    {2009, "files.html#exit"},
    {2100, "editing.html#undo"},
    {2101, "editing.html#undo"},
    {2102, "editing.html#cut"},
    {2103, "editing.html#copy"},
    {2104, "editing.html#paste"},
    {2105, "editing.html#add"},
    {2106, "editing.html#edit"},
    {2107, "editing.html#delete"},
    {2108, "editing.html#move"},
    {2109, "editing.html#move"},
    {2110, "editing.html#sort"},
    {2111, "editing.html#shuffle"},
    {2112, "editing.html#find"},
    {2113, "editing.html#find"},
    {2114, "editing.html#speak"},
    {2200, "testing.html#start"},
    {2201, "testing.html#modes"},
    {2202, "testing.html#modes"},
    {2203, "testing.html#choice"},
    {2204, "testing.html#hint"},
    {2205, "testing.html#statistics"},
    {2300, "view.html#toolbar"},
    {2301, "view.html#statusbar"},
    {2302, "view.html#options"},
    {hcWelcomeDialog, "welcome.html"},
    {hcNewDialog, "newdialog.html"},
    {hcImportDialog, "files.html#import"},
    {hcPropertiesDialog, "properties.html"},
    {hcPageSetupDialog, "files.html#pagesetup"},
    {hcEditDialog, "editing.html#editdialog"},
    {hcFindDialog, "editing.html#find"},
    {hcStatisticsDialog, "testing.html#statistics"},
    {hcOptionsDialog, "view.html#options"},
};

constexpr const char* contentsPage = "index.html";

QString& FolderOverride() {
    static QString folder;
    return folder;
}

std::function<bool(const QUrl&)>& Opener() {
    static std::function<bool(const QUrl&)> opener;
    return opener;
}

std::function<bool()>& ViewerProbe() {
    static std::function<bool()> probe;
    return probe;
}

// Whether the desktop would show an HTML page in a browser. Without one,
// xdg-open falls back to a terminal with a shell, which is no help at all.
bool DesktopShowsHtml() {
    if (ViewerProbe())
        return ViewerProbe()();
    if (!qEnvironmentVariableIsEmpty("BROWSER"))
        return true;
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return false;
    QProcess query;
    query.start(xdgMime,
                {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/html")});
    if (!query.waitForFinished(3000)) {
        query.kill();
        query.waitForFinished(1000);
        return false;
    }
    return query.exitCode() == 0 && !query.readAllStandardOutput().trimmed().isEmpty();
}

// The help pages in a window of the program's own: links between the pages
// and to their anchors work; links out of the help go to the desktop.
QTextBrowser* HelpWindow() {
    static QPointer<QTextBrowser> window;
    if (!window) {
        window = new QTextBrowser;
        window->setObjectName(QStringLiteral("HelpWindow"));
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setOpenLinks(true);
        window->setOpenExternalLinks(true);
        window->resize(720, 560);
        QObject::connect(window, &QTextBrowser::sourceChanged, window, [] {
            window->setWindowTitle(window->documentTitle().isEmpty()
                                       ? QStringLiteral("Vocalore Help")
                                       : window->documentTitle());
        });
    }
    return window;
}

void ShowInHelpWindow(const QUrl& url) {
    QTextBrowser* window = HelpWindow();
    window->setSource(url);
    window->setWindowTitle(window->documentTitle().isEmpty() ? QStringLiteral("Vocalore Help")
                                                             : window->documentTitle());
    window->show();
    window->raise();
    window->activateWindow();
}

bool OpenPage(const QString& page) {
    const qsizetype hash = page.indexOf(u'#');
    const QString file = QDir(HelpFolder()).filePath(hash < 0 ? page : page.left(hash));
    QUrl url = QUrl::fromLocalFile(file);
    if (hash >= 0)
        url.setFragment(page.mid(hash + 1));
    const QString shown = QDir::toNativeSeparators(file);
    if (!QFileInfo::exists(file)) {
        ShowMessageBox(QStringLiteral("The help page %1 is missing.").arg(shown), {},
                       TMsgIcon::Error);
        return false;
    }
    if (!Opener() && !DesktopShowsHtml()) {
        ShowInHelpWindow(url);
        return true;
    }
    if (Opener() ? Opener()(url) : QDesktopServices::openUrl(url))
        return true;
    ShowMessageBox(QStringLiteral("No program could be started to show the help page %1.\n\n"
                                  "Install a web browser, or open the page yourself.")
                       .arg(shown),
                   {}, TMsgIcon::Error);
    return false;
}

} // namespace

QString HelpPage(int context) {
    for (const TTopic& topic : topics)
        if (topic.Context == context)
            return QString::fromLatin1(topic.Page);
    return QString::fromLatin1(contentsPage);
}

QString HelpFolder() {
    if (!FolderOverride().isEmpty())
        return FolderOverride();
    return DataPath(QStringLiteral("help"));
}

void SetHelpFolder(const QString& folder) { FolderOverride() = folder; }

bool ShowHelpContents() { return OpenPage(QString::fromLatin1(contentsPage)); }

bool ShowHelpTopic(int context) {
    if (context == 0)
        return false;
    return OpenPage(HelpPage(context));
}

void SetHelpOpener(std::function<bool(const QUrl&)> opener) { Opener() = std::move(opener); }

void SetHtmlViewerProbe(std::function<bool()> probe) { ViewerProbe() = std::move(probe); }

QTextBrowser* OpenHelpWindow() { return HelpWindow(); }

QString PopupHelpText(int context) {
    switch (context) {
    case hcOKButton:
        return QStringLiteral("Closes this dialog box and saves any changes you have made.");
    case hcCancelButton:
        return QStringLiteral("Closes this dialog box without saving any changes you have made.");
    case hcHelpButton:
        return QStringLiteral("Opens the help topic of this dialog box.");
    default:
        return {};
    }
}

void SetPopupHelp(QWidget* control, int context) {
    if (control)
        control->setWhatsThis(PopupHelpText(context));
}

void EnablePopupHelp(QWidget* dialog) {
    if (!dialog)
        return;
    dialog->setWindowFlag(Qt::WindowContextHelpButtonHint, true);
    auto* shortcut = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1), dialog);
    QObject::connect(shortcut, &QShortcut::activated, [] { QWhatsThis::enterWhatsThisMode(); });
}

} // namespace vocalore
