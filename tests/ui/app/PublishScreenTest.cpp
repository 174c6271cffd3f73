// Publishing a site made from the shipped starter, on a real X display
// (Xvfb), as its user does it: words typed at the end of a page's
// description in the open editor reach apache2 (WebDAV on 127.0.0.1) with
// the next Export, and the preview with the next Preview; the Cancel shown
// while the site is built stops the build and nothing is sent. Pictures of
// the window are kept in the build folder's "test-artefacts" (publish-*.png).
#include "ui/app/ExportController.h"
#include "ui/app/MyDocumentWindow.h"
#include "ui/app/SendPanel.h"
#include "document/MyDocument.h"
#include "ui/editors/panes/QZAlbumEditor.h"
#include "ui/editors/panes/TextEditorArea.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlContent.h"
#include "platform/Workspace.h"
#include "ui/widgets/MyCancelButton.h"
#include "ui/widgets/MyTextView.h"
#include "publish/SendController.h"
#include "publish/XmlLocation.h"
#include "support/EventLoop.h"
#include "support/HelperTools.h"
#include "support/PublishSite.h"
#include "support/RecordingPublishObserver.h"
#include "support/TestFiles.h"
#include "support/TestServers.h"
#include "support/ui/OnXvfb.h"
#include "support/ui/PublishPanelHands.h"
#include "support/ui/ScriptedModalHandler.h"
#include "support/ui/SheetButtons.h"

#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

namespace {

class PublishScreenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!runningOnXvfb())
            return;
        ASSERT_TRUE(work.isValid());
        oldHome = qgetenv("HOME");
        ASSERT_TRUE(QDir().mkpath(work.filePath(QStringLiteral("home"))));
        qputenv("HOME", work.filePath(QStringLiteral("home")).toUtf8());
        useBuiltHelperTools();
        lq::setOpenURLHandler([this](const QUrl& url) {
            opened.append(url);
            return true;
        });
        folder = work.filePath(QStringLiteral("Garden.lqxl"));
        ASSERT_TRUE(document.newDocument(folder)) << document.lastError().toStdString();
        window = std::make_unique<MyDocumentWindow>(document, nullptr);
        window->sender()->addObserver(&reports);
        window->resize(1100, 860);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        // The window the user works in has the keyboard.
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void TearDown() override
    {
        if (!runningOnXvfb())
            return;
        document.queue().setClock({});
        window.reset();
        lq::setOpenURLHandler({});
        qputenv("HOME", oldHome);
    }

    ExportController& panel() { return *window->exportController(); }
    void picture(const QString& name)
    {
        QApplication::processEvents();
        const QString file = testArtefactsFolder() + QStringLiteral("/publish-") + name + QStringLiteral(".png");
        EXPECT_TRUE(window->grab().save(file)) << file.toStdString();
    }
    // Clicks one of the window's outer tabs.
    void clickMainTab(const QString& identifier)
    {
        MyTabView* tabs = window->masterTab();
        const int index = tabs->indexOfTabViewItemWithIdentifier(identifier);
        ASSERT_GE(index, 0);
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(index).center());
        ASSERT_EQ(tabs->selectedIdentifier(), identifier);
    }
    // The first album page of the site, open in its editor.
    std::shared_ptr<XmlAlbum> openFirstPage()
    {
        std::shared_ptr<XmlAlbum> page;
        for (const XmlBasePtr& item : document.webItems()) {
            if (!page)
                page = std::dynamic_pointer_cast<XmlAlbum>(item);
        }
        if (page)
            window->setCurrentObject(page.get());
        return page;
    }
    // Types at the end of the open page's description, as a user does.
    void typeAtTheEndOfTheDescription(const QString& words)
    {
        auto* pane = dynamic_cast<QZAlbumEditor*>(window->panel(EditorKind::Album));
        ASSERT_NE(pane, nullptr);
        MyTextView* text = pane->descriptionArea()->view();
        ASSERT_TRUE(text->isVisible());
        QTest::mouseClick(text->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
        QTest::keyClick(text, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(text, words);
        QApplication::processEvents();
    }
    void destineToWebDAV(testservers::WebDAVServer& server)
    {
        clickServerTab(panel(), "webdav");
        typeIntoPublishField(panel(), PublishTag::WebDAVUser, QStringLiteral("tester"));
        typeIntoPublishField(panel(), PublishTag::WebDAVPassword, QStringLiteral("secret"));
        typeIntoPublishField(panel(), PublishTag::WebDAVAddress, QStringLiteral("http://") + server.address() + QStringLiteral("/site"));
    }
    void click(const QString& button) { QTest::mouseClick(buttonTitled(panel().exportview(), button), Qt::LeftButton); }

    QTemporaryDir work;
    QByteArray oldHome;
    QString folder;
    QList<QUrl> opened;
    ScopedModalHandler modal;
    MyDocument document;
    RecordingPublishObserver reports;
    std::unique_ptr<MyDocumentWindow> window;
};

} // namespace

TEST_F(PublishScreenTest, WordsTypedInTheOpenEditorAreExportedAndPreviewed)
{
    if (!runningOnXvfb()) {
        checkRunOnXvfb(runThisTestOnXvfb());
        return;
    }
    testservers::WebDAVServer server;
    if (!server.start(false))
        GTEST_SKIP() << server.why.toStdString();
    const std::shared_ptr<XmlAlbum> page = openFirstPage();
    ASSERT_NE(page, nullptr);
    typeAtTheEndOfTheDescription(QStringLiteral(" Zanzibar"));
    picture(QStringLiteral("typed"));

    // Straight to the Send tab, and Export: what the editor holds is sent.
    clickMainTab(QStringLiteral("Send"));
    destineToWebDAV(server);
    const qsizetype endings = reports.endings.size();
    click(QStringLiteral("Export"));
    ASSERT_TRUE(reports.waitForEnding(endings, 300000)) << reports.story().toStdString();
    ASSERT_EQ(reports.lastEnding()->outcome, PublishObserver::Outcome::Published) << reports.story().toStdString();
    SendPanel* shown = window->sendPanel();
    QTest::mouseClick(shown->detailsButton(), Qt::LeftButton);
    picture(QStringLiteral("finished"));
    const QString served = server.davRoot() + QStringLiteral("/site/");
    EXPECT_TRUE(QString::fromUtf8(readAll(served + page->fileName())).contains(QStringLiteral("Zanzibar")));
    EXPECT_TRUE(page->webcontent()->content().contains(QStringLiteral("Zanzibar")));
    EXPECT_FALSE(window->isWindowModified()) << "saved before it was sent";
    // One line in the Activity log; the files in the details.
    EXPECT_TRUE(document.activityText().contains(shown->status1()->text() + QLatin1Char('\n')));
    EXPECT_TRUE(shown->debugView()->isVisible());
    EXPECT_TRUE(shown->debugView()->toPlainText().contains(QStringLiteral("sent ") + page->fileName() + QStringLiteral(" (")));
    QTest::mouseClick(shown->cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(shown->isVisible());

    // More words, then Preview from the Send tab: the preview shows them too.
    clickMainTab(QStringLiteral("Editing"));
    typeAtTheEndOfTheDescription(QStringLiteral(" Quokka"));
    clickMainTab(QStringLiteral("Send"));
    click(QStringLiteral("Preview"));
    ASSERT_TRUE(processEventsUntil([&] { return !opened.isEmpty(); }, 300000));
    EXPECT_EQ(opened.last(), QUrl::fromLocalFile(folder + QStringLiteral("/homepage/index.html")));
    EXPECT_TRUE(QString::fromUtf8(readAll(folder + QStringLiteral("/homepage/") + page->fileName())).contains(QStringLiteral("Zanzibar Quokka")));
    EXPECT_FALSE(window->isWindowModified());
}

TEST_F(PublishScreenTest, TheCancelShownWhileTheSiteIsBuiltStopsItAndNothingIsSent)
{
    if (!runningOnXvfb()) {
        checkRunOnXvfb(runThisTestOnXvfb());
        return;
    }
    testservers::WebDAVServer server;
    if (!server.start(false))
        GTEST_SKIP() << server.why.toStdString();
    clickMainTab(QStringLiteral("Send"));
    destineToWebDAV(server);
    const QStringList requestsBefore = server.requests();
    // One step a slice: the build is long enough to be seen and cancelled.
    qint64 now = 0;
    document.queue().setClock([&now] { return now += 300; });
    const qsizetype endings = reports.endings.size();
    click(QStringLiteral("Export"));
    SendPanel* shown = window->sendPanel();
    ASSERT_TRUE(processEventsUntil([&] { return shown->status1()->text() == QStringLiteral("Building the site") && !window->sender()->debugLog().isEmpty(); }))
        << shown->status1()->text().toStdString() << "\n" << reports.story().toStdString();
    ASSERT_TRUE(window->sender()->isBuilding());
    MyCancelButton* cancel = shown->buildCancelButton();
    EXPECT_TRUE(cancel->isVisible());
    EXPECT_FALSE(shown->cancelButton()->isVisible());
    EXPECT_TRUE(cancel->hasFocus()) << "the keys go to the build's Cancel";
    picture(QStringLiteral("building"));

    // Escape, as a user gives it: the build stops, nothing goes to the server.
    QTest::keyClick(window->windowHandle(), Qt::Key_Escape);
    ASSERT_EQ(reports.endings.size(), endings + 1) << reports.story().toStdString();
    EXPECT_EQ(reports.lastEnding()->outcome, PublishObserver::Outcome::Cancelled);
    // The panel says so until Close.
    EXPECT_TRUE(shown->isVisible());
    EXPECT_EQ(shown->status1()->text(), QStringLiteral("Publication cancelled while the site was built: nothing was sent"));
    EXPECT_EQ(shown->cancelButton()->text(), QStringLiteral("Close"));
    EXPECT_FALSE(window->sender()->isRunning());
    EXPECT_TRUE(document.queue().processors().isEmpty());
    EXPECT_FALSE(document.queue().isArmed()) << "nothing of the build is left to run";
    EXPECT_EQ(server.requests(), requestsBefore);
    EXPECT_TRUE(filesBelow(server.davRoot() + QStringLiteral("/site")).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/lastbom.xmlbase")));
    EXPECT_TRUE(document.activityText().contains(QStringLiteral("Publication cancelled while the site was built: nothing was sent")));
    picture(QStringLiteral("cancelled"));
}
