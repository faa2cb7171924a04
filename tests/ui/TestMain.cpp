// GUI tests need one QApplication; they run offscreen, also while CTest lists
// them, so no display is needed.
#include "tests/support/OneApplication.h"
#include "ui/speech/Speaker.h"

#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    vocalore::test::OneApplication<QApplication>("ui_dialog_tests");
    // The windows stay silent and never start the user's speech service.
    vocalore::SetSpeechBackendFactory([] { return std::unique_ptr<vocalore::TSpeechBackend>(); });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
