// The vocalore program: seeds the random generator, creates the main window
// (which does all further start-up work) and runs the event loop.

#include "core/Random.h"
#include "settings/SettingsStore.h"
#include "ui/MainWindow.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    vocalore::Random::Randomize();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vocalore"));
    QApplication::setApplicationVersion(QStringLiteral("2.0"));

    vocalore::TFileSettingsStore store;
    vocalore::TMainForm form(store);
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    if (!form.FormCreate(arguments))
        return 0;
    if (!form.isVisible())
        form.show();
    return QApplication::exec();
}
