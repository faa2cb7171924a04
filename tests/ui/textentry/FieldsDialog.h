#pragma once
// A dialog of three symbol edits (the default language, Polish, Russian) and a
// fixture that shows it with the focus in a field, for tests that type into
// real fields with real key events.

#include "ui/textentry/SymbolEdit.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <cstdint>

namespace vocalore::test {

constexpr uint16_t English = 0x0409, Polish = 0x0415, Russian = 0x0419;

class TFieldsDialog : public QDialog {
public:
    TFieldsDialog() {
        auto* layout = new QVBoxLayout(this);
        for (TSymbolEdit*& edit : Edits) {
            edit = new TSymbolEdit(this);
            layout->addWidget(edit);
        }
        Edits[1]->SetLanguage(Polish);
        Edits[2]->SetLanguage(Russian);
        resize(300, 160);
        move(100, 100);
    }
    // A default button, for tests of what Return does in a field.
    void AddOK() {
        OK = new QPushButton(QStringLiteral("OK"), this);
        OK->setDefault(true);
        layout()->addWidget(OK);
        connect(OK, &QPushButton::clicked, this, &QDialog::accept);
    }
    TSymbolEdit* Edits[3] = {};
    QPushButton* OK = nullptr;
};

class TFieldsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Dialog.show();
        Dialog.activateWindow();
        Focus(0);
    }
    void Focus(int i) {
        Dialog.Edits[i]->setFocus();
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return QApplication::focusWidget() == Dialog.Edits[i]; }));
    }
    TFieldsDialog Dialog;
};

} // namespace vocalore::test
