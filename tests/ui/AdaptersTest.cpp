#include "UiTestSupport.h"

#include "ui/KeyFilter.h"
#include "ui/QtClipboard.h"

#include "core/Clipboard.h"

#include <QAction>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace vocalore {
namespace {

TEST(QtClipboard, CarriesTheBlockAndThePlainTextTogether) {
    test::App();
    TQtClipboard clipboard;
    QGuiApplication::clipboard()->setText(QStringLiteral("from another program"));
    EXPECT_FALSE(clipboard.HasBlock());
    EXPECT_EQ(clipboard.GetBlock(), std::nullopt);

    const std::string block("\x07\x04\x09\x04\x04\0\0\0das Haus\tnoun\t\thouse\0", 28);
    clipboard.PutItem(block, "das Haus\tnoun\t\thouse");
    EXPECT_TRUE(clipboard.HasBlock());
    EXPECT_EQ(clipboard.GetBlock(), block);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("das Haus\tnoun\t\thouse"));

    // Another program taking the clipboard is noticed without asking again.
    QGuiApplication::clipboard()->setText(QStringLiteral("plain"));
    EXPECT_FALSE(clipboard.HasBlock());
}

TEST(AppKeyFilter, HooksSeeAKeyOnceOnItsWayToTheFocusedControl) {
    test::App();
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new QLineEdit(&window);
    layout->addWidget(edit);
    window.show();
    QApplication::setActiveWindow(&window);
    edit->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    TAppKeyFilter filter;
    std::vector<QObject*> seen;
    const int id = filter.AddHook([&](QObject* target, QKeyEvent* event) {
        seen.push_back(target);
        return event->key() == Qt::Key_X; // consume x
    });
    // F5 is ignored by the line edit and travels on to its parents.
    QTest::keyClick(edit, Qt::Key_F5);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], edit);
    QTest::keyClick(edit, Qt::Key_X);
    QTest::keyClick(edit, Qt::Key_Y);
    EXPECT_EQ(edit->text(), QStringLiteral("y"));

    filter.RemoveHook(id);
    QTest::keyClick(edit, Qt::Key_X);
    EXPECT_EQ(edit->text(), QStringLiteral("yx"));
    EXPECT_EQ(seen.size(), 3u);

    // While printing, nothing reaches a hook or the control, shortcuts included.
    int shortcuts = 0;
    QAction copy(&window);
    copy.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    window.addAction(&copy);
    QObject::connect(&copy, &QAction::triggered, [&] { ++shortcuts; });
    QTest::keyClick(edit, Qt::Key_K, Qt::ControlModifier);
    ASSERT_EQ(shortcuts, 1);
    filter.AddHook([&](QObject* target, QKeyEvent*) {
        seen.push_back(target);
        return false;
    });
    filter.SetDiscardKeys(true);
    QTest::keyClick(edit, Qt::Key_Z);
    QTest::keyClick(edit, Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), QStringLiteral("yx"));
    EXPECT_EQ(shortcuts, 1);
    EXPECT_EQ(seen.size(), 3u);
    filter.SetDiscardKeys(false);
    QTest::keyClick(edit, Qt::Key_Z);
    EXPECT_EQ(edit->text(), QStringLiteral("yxz"));
}

} // namespace
} // namespace vocalore
