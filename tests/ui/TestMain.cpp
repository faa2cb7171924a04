// GUI tests need one QApplication; they run offscreen, also while CTest lists
// them, so no display is needed.
#include "ui/speech/Speaker.h"

#include <QApplication>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    // Recovery copies and document locks go to a folder of the run's own: a
    // window opened here never offers, nor writes, the user's.
    QTemporaryDir state;
    qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
    QApplication app(argc, argv);
    // The windows stay silent and never start the user's speech service.
    vocalore::SetSpeechBackendFactory([] { return std::unique_ptr<vocalore::TSpeechBackend>(); });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
