#include "UiTestSupport.h"

#include "ui/common/QtClipboard.h"

#include "core/Clipboard.h"

#include <QClipboard>

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

} // namespace
} // namespace vocalore
