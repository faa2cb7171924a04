#include "DialogTestSupport.h"

#include "ui/common/PromptService.h"
#include "ui/window/Help.h"
#include "ui/window/ToolImages.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

#include <gtest/gtest.h>

namespace vocalore {
namespace {

using dialogtest::Child;

const QString sourceDir = QStringLiteral(VOCALORE_SOURCE_DIR);

// Every command and dialog context leads to a page we ship, at an anchor
// that exists in it.
TEST(Help, EveryContextHasAShippedPageAndAnchor) {
    std::vector<int> contexts;
    for (int c = 2000; c <= 2009; ++c)
        contexts.push_back(c);
    for (int c = 2100; c <= 2114; ++c)
        contexts.push_back(c);
    for (int c = 2200; c <= 2205; ++c)
        contexts.push_back(c);
    for (int c = 2300; c <= 2302; ++c)
        contexts.push_back(c);
    for (int c = 3000; c <= 3008; ++c)
        contexts.push_back(c);
    for (int context : contexts) {
        const QString page = HelpPage(context);
        EXPECT_NE(page, QStringLiteral("index.html")) << context;
        const QString file = page.section(u'#', 0, 0);
        const QString anchor = page.section(u'#', 1);
        QFile html(sourceDir + QStringLiteral("/help/") + file);
        ASSERT_TRUE(html.open(QIODevice::ReadOnly)) << context << " " << file.toStdString();
        if (!anchor.isEmpty()) {
            EXPECT_TRUE(html.readAll().contains(("id=\"" + anchor + "\"").toUtf8()))
                << page.toStdString();
        }
    }
    EXPECT_EQ(HelpPage(0), QStringLiteral("index.html"));
    EXPECT_EQ(HelpPage(4711), QStringLiteral("index.html"));
}

TEST(Help, TopicsOpenInTheBrowserAtTheirAnchor) {
    std::vector<QUrl> opened;
    SetHelpFolder(sourceDir + QStringLiteral("/help"));
    SetHelpOpener([&](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    EXPECT_TRUE(ShowHelpTopic(2001));
    EXPECT_TRUE(ShowHelpContents());
    EXPECT_FALSE(ShowHelpTopic(0)); // no topic: nothing opens
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_TRUE(opened[0].isLocalFile());
    EXPECT_TRUE(opened[0].toLocalFile().endsWith(QStringLiteral("/help/files.html")));
    EXPECT_EQ(opened[0].fragment(), QStringLiteral("open"));
    EXPECT_TRUE(opened[1].toLocalFile().endsWith(QStringLiteral("/help/index.html")));

    // Without the help pages the user is told, not left wondering.
    QTemporaryDir empty;
    SetHelpFolder(empty.path());
    TFakePromptService fake(true);
    EXPECT_FALSE(ShowHelpTopic(3001));
    EXPECT_EQ(opened.size(), 2u);
    ASSERT_EQ(fake.Prompts().size(), 1u);
    EXPECT_EQ(fake.Last().Icon, TMsgIcon::Error);
    EXPECT_TRUE(fake.Last().Text.contains(QStringLiteral("newdialog.html")));
    EXPECT_TRUE(fake.Last().Text.contains(QStringLiteral("is missing")));

    // The page is there but nothing on the desktop can show it: say that instead.
    SetHelpFolder(sourceDir + QStringLiteral("/help"));
    SetHelpOpener([](const QUrl&) { return false; });
    EXPECT_FALSE(ShowHelpContents());
    ASSERT_EQ(fake.Prompts().size(), 2u);
    EXPECT_EQ(fake.Last().Icon, TMsgIcon::Error);
    EXPECT_TRUE(fake.Last().Text.contains(QStringLiteral("index.html")));
    EXPECT_TRUE(fake.Last().Text.startsWith(QStringLiteral("No program could be started")));
    EXPECT_FALSE(fake.Last().Text.contains(QStringLiteral("missing")));
    SetHelpFolder({});
    SetHelpOpener(nullptr);
}

// Where no browser is registered for HTML, the pages open in a help window of
// our own (xdg-open would start a terminal), and its links lead on.
TEST(Help, WithoutABrowserThePagesOpenInTheProgramsOwnWindow) {
    SetHelpFolder(sourceDir + QStringLiteral("/help"));
    bool asked = false;
    SetHtmlViewerProbe([&] {
        asked = true;
        return false;
    });
    TFakePromptService fake(true);
    EXPECT_TRUE(ShowHelpTopic(2001));
    EXPECT_TRUE(asked);
    QTextBrowser* window = OpenHelpWindow();
    ASSERT_TRUE(window->isVisible());
    EXPECT_TRUE(window->source().toLocalFile().endsWith(QStringLiteral("/help/files.html")));
    EXPECT_EQ(window->source().fragment(), QStringLiteral("open"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Working with files - Vocalore Help"));
    EXPECT_TRUE(fake.Prompts().empty());

    // A click on the "Testing" link of the page's navigation line.
    QTextCursor link = window->document()->find(QStringLiteral("Testing"));
    ASSERT_FALSE(link.isNull());
    ASSERT_EQ(link.charFormat().anchorHref(), QStringLiteral("testing.html"));
    QTextCursor inside(window->document());
    inside.setPosition(link.selectionStart() + 2);
    window->ensureCursorVisible();
    const QPoint at = window->cursorRect(inside).center();
    QTest::mouseClick(window->viewport(), Qt::LeftButton, {}, at);
    EXPECT_TRUE(window->source().toLocalFile().endsWith(QStringLiteral("/help/testing.html")))
        << window->source().toString().toStdString();
    EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral("Vocalore Help")));

    // With a browser, the desktop shows the page as before.
    std::vector<QUrl> opened;
    SetHelpOpener([&](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    SetHtmlViewerProbe([] { return true; });
    EXPECT_TRUE(ShowHelpContents());
    EXPECT_EQ(opened.size(), 1u);
    window->close();
    SetHtmlViewerProbe(nullptr);
    SetHelpOpener(nullptr);
    SetHelpFolder({});
}

// Without a probe the desktop is asked: $BROWSER, else what xdg-mime names
// for HTML. A handler that answers nothing, fails or hangs means no browser.
TEST(Help, TheDesktopsHtmlHandlerDecidesBetweenBrowserAndHelpWindow) {
    SetHelpFolder(sourceDir + QStringLiteral("/help"));
    SetHtmlViewerProbe(nullptr);
    SetHelpOpener(nullptr);
    TFakePromptService fake(true);
    QTemporaryDir bin;
    const QByteArray path = qgetenv("PATH");
    const QByteArray browser = qgetenv("BROWSER");
    qunsetenv("BROWSER");
    qputenv("PATH", bin.path().toLocal8Bit());
    auto fakeXdgMime = [&](const char* body) {
        QFile script(bin.filePath(QStringLiteral("xdg-mime")));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly | QIODevice::Truncate));
        script.write(QByteArray("#!/bin/sh\n") + body + "\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    };
    // Whether F1 went to the desktop, else to the help window. The desktop
    // can't start anything from this PATH, and says so.
    auto toBrowser = [&] {
        fake.Clear();
        const bool shown = ShowHelpContents();
        const bool browsed = !fake.Prompts().empty() &&
                             fake.Last().Text.startsWith(QStringLiteral("No program could"));
        EXPECT_EQ(shown, !browsed);
        if (QTextBrowser* window = OpenHelpWindow(); window->isVisible() == browsed)
            ADD_FAILURE() << "the help window is " << (browsed ? "open" : "closed") << " too";
        OpenHelpWindow()->close();
        return browsed;
    };
    EXPECT_FALSE(toBrowser()) << "no xdg-mime at all";
    fakeXdgMime("echo firefox-esr.desktop");
    EXPECT_TRUE(toBrowser());
    fakeXdgMime("echo");
    EXPECT_FALSE(toBrowser()) << "no handler named";
    fakeXdgMime("echo firefox-esr.desktop; exit 1");
    EXPECT_FALSE(toBrowser()) << "xdg-mime failed";
    fakeXdgMime("exec /bin/sleep 30");
    EXPECT_FALSE(toBrowser()) << "xdg-mime hangs";
    qputenv("BROWSER", "lynx");
    EXPECT_TRUE(toBrowser()) << "$BROWSER is asked first";

    // A closed help window is gone, not hidden: the next one starts afresh.
    QPointer<QTextBrowser> old = OpenHelpWindow();
    old->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(old.isNull());

    qputenv("PATH", path);
    if (browser.isNull())
        qunsetenv("BROWSER");
    else
        qputenv("BROWSER", browser);
    SetHelpFolder({});
}

TEST(ToolImages, ApplicationIconFromTheHicolorFolder) {
    QTemporaryDir icons;
    EXPECT_TRUE(HicolorIcon(icons.path()).isNull());
    for (const char* size : {"16x16", "48x48"}) {
        const QString folder =
            icons.filePath(QStringLiteral("hicolor/%1/apps").arg(QLatin1String(size)));
        ASSERT_TRUE(QDir().mkpath(folder));
        ASSERT_TRUE(QFile::copy(
            sourceDir + QStringLiteral("/packaging/icons/%1/vocalore.png").arg(QLatin1String(size)),
            folder + QStringLiteral("/vocalore.png")));
    }
    const QIcon icon = HicolorIcon(icons.path());
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{QSize(16, 16), QSize(48, 48)}));
    EXPECT_FALSE(ApplicationIcon().isNull());
}

TEST(ToolImages, TwentyFourImagesAndThePictures) {
    for (int i = 0; i < tiCount; ++i) {
        const QIcon icon = ToolImage(i);
        ASSERT_FALSE(icon.isNull()) << i;
        EXPECT_EQ(icon.availableSizes().value(0), QSize(16, 16)) << i;
    }
    EXPECT_TRUE(ToolImage(tiCount).isNull());
    EXPECT_EQ(ProgramPicture().size(), QSize(32, 32));
    EXPECT_EQ(DocumentPicture().size(), QSize(32, 32));
    EXPECT_EQ(TipPicture().size(), QSize(32, 32));
}

} // namespace
} // namespace vocalore
