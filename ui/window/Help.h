#pragma once
// Help routing: topics are HTML pages in the help folder of the program's data,
// shown in the desktop browser; a context number picks the page and anchor.
// Pop-up help of dialog controls goes through QWhatsThis.

#include <QString>

#include <functional>

class QTextBrowser;
class QUrl;
class QWidget;

namespace vocalore {

// Dialog Help buttons.
inline constexpr int hcWelcomeDialog = 3000;
inline constexpr int hcNewDialog = 3001;
inline constexpr int hcImportDialog = 3002;
inline constexpr int hcPropertiesDialog = 3003;
inline constexpr int hcPageSetupDialog = 3004;
inline constexpr int hcEditDialog = 3005;
inline constexpr int hcFindDialog = 3006;
inline constexpr int hcStatisticsDialog = 3007;
inline constexpr int hcOptionsDialog = 3008;
// Pop-up help of the buttons every dialog has.
inline constexpr int hcOKButton = 1000;
inline constexpr int hcCancelButton = 1001;
inline constexpr int hcHelpButton = 1002;

// Page (and anchor) of a context number relative to the help folder, e.g.
// "files.html#open"; the contents page for 0 and for unknown numbers.
QString HelpPage(int context);

// The help folder: "help" in the data folder (DataFolder.h) unless set otherwise.
QString HelpFolder();
void SetHelpFolder(const QString& folder);

// Opens the contents page, or the topic of a non-zero context number. A
// missing page is reported in the error box. Returns true when a page opened.
bool ShowHelpContents();
bool ShowHelpTopic(int context);

// What opens a help URL; QDesktopServices by default, or the program's own
// help window where the desktop has no browser for HTML. Tests record instead.
void SetHelpOpener(std::function<bool(const QUrl&)> opener);
// Whether the desktop has a browser for HTML (xdg-mime's default for
// text/html, or $BROWSER); tests answer for it.
void SetHtmlViewerProbe(std::function<bool()> probe);
// The program's own help window (created when needed, closed by the user).
QTextBrowser* OpenHelpWindow();

// The pop-up text of a control's context number (empty when none), and a
// shorthand that gives a control that text as its "What's This?" help.
QString PopupHelpText(int context);
void SetPopupHelp(QWidget* control, int context);
// Gives a dialog the "?" caption button (where the window manager shows one)
// and Shift+F1, both of which let the user click a control for its pop-up help.
void EnablePopupHelp(QWidget* dialog);

} // namespace vocalore
