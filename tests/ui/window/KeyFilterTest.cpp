#include "UiTestSupport.h"

#include "ui/window/KeyFilter.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace vocalore {
namespace {

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
