// The vocalore program: seeds the random generator, creates the main window
// (which does all further start-up work) and runs the event loop.

#include "core/Random.h"
#include "datafolder/DataFolder.h"
#include "settings/SettingsStore.h"
#include "ui/window/MainWindow.h"
#include "ui/window/SessionEnd.h"

#include <QApplication>

#include <cstdio>
#include <string_view>

namespace {

QString HelpText() {
    return QStringLiteral(
               "Usage: vocalore [FILE.vlo]\n"
               "       vocalore /p FILE.vlo\n"
               "Opens the vocabulary document FILE.vlo; without one, starts with the Tip of\n"
               "the Day and the Welcome dialog.\n"
               "\n"
               "  FILE.vlo       the document to open\n"
               "  /p FILE.vlo    print the document on the current printer, then end\n"
               "  --help, -h     this text\n"
               "  --version      the version\n"
               "\n"
               "Help pages: ") +
           vocalore::DataPath(QStringLiteral("help")) + QStringLiteral("\n");
}

// --help and --version answer in the terminal before any window exists, so
// they work without a display too. Returns true when one was asked for.
bool AnswerInTerminal(int argc, char* argv[]) {
    if (argc != 2)
        return false;
    const std::string_view arg = argv[1];
    if (arg == "--version") {
        std::fputs("vocalore " VOCALORE_VERSION "\n", stdout);
        return true;
    }
    if (arg != "--help" && arg != "-h")
        return false;
    QCoreApplication app(argc, argv); // the data folder is found from the executable
    std::fputs(HelpText().toLocal8Bit().constData(), stdout);
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    if (AnswerInTerminal(argc, argv))
        return 0;
    vocalore::Random::Randomize();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vocalore"));
    QApplication::setApplicationVersion(QStringLiteral(VOCALORE_VERSION));
    // Desktops match the running window to its menu entry and icon by this.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vocalore.Vocalore"));

    vocalore::TFileSettingsStore store;
    vocalore::TMainForm form(store);
    // Signals, the session manager and a lost display end the program the
    // normal way, also while the first dialogs are open.
    const vocalore::TSessionEnd sessionEnd(form);
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    if (!form.FormCreate(arguments))
        return form.ExitCode();
    if (form.SessionEnded())
        return 0;
    if (!form.isVisible())
        form.show();
    return QApplication::exec();
}
