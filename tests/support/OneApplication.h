#pragma once
// One Qt application for a whole test or benchmark program: created on first
// use and never destroyed, so no window, printer or painter outlives it at
// exit. Without a platform chosen it runs offscreen. Recovery copies and
// document locks go to a folder of the program's own: a window opened here
// never offers, nor writes, the user's.

#include <QByteArray>
#include <QTemporaryDir>
#include <QtGlobal>

namespace vocalore::test {

template <class TApplication> TApplication& OneApplication(const char* name) {
    static TApplication* app = [name] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static QTemporaryDir state;
        qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
        static int argc = 1;
        static QByteArray program(name);
        static char* argv[] = {program.data(), nullptr};
        return new TApplication(argc, argv);
    }();
    return *app;
}

} // namespace vocalore::test
