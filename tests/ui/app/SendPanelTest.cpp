// The uploader's panel in the document window, offscreen, with the site a
// new user has (the shipped starter), its real build and apache2 WebDAV on
// 127.0.0.1: Escape stops a publication at every stage and the panel and the
// Activity log say what arrived; a publication leaves one Activity line; a
// folder export opens the exported home page, or says why it could not.
#include "ui/app/ExportController.h"
#include "ui/app/MyDocumentWindow.h"
#include "ui/app/SendPanel.h"
#include "document/MyDocument.h"
#include "model/site/XmlWebItem.h"
#include "platform/Workspace.h"
#include "publish/DigestListing.h"
#include "publish/SendController.h"
#include "publish/XmlD.h"
#include "publish/XmlLocation.h"
#include "ui/widgets/MyMatrix.h"
#include "ui/widgets/WidgetServices.h"
#include "support/EventLoop.h"
#include "support/HelperTools.h"
#include "support/PublishSite.h"
#include "support/RecordingPublishObserver.h"
#include "support/ScopedServices.h"
#include "support/TestFiles.h"
#include "support/TestServers.h"
#include "support/ui/PublishPanelHands.h"
#include "support/ui/ScriptedModalHandler.h"
#include "support/ui/SheetButtons.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// Presses Escape on the window, as a user does, the moment the panel first
// shows a stage the test waits for; the key arrives through the event loop,
// as a user's key does.
struct EscapeAt : PublishObserver {
    std::function<bool(const QString& stage, const QString& detail)> moment;
    QWidget* window = nullptr;
    bool pressed = false;
    void stageChanged(const QString& stage, const QString& detail) override
    {
        if (pressed || !moment || !moment(stage, detail))
            return;
        pressed = true;
        QMetaObject::invokeMethod(
            window, [w = window] { QTest::keyClick(w->windowHandle(), Qt::Key_Escape); }, Qt::QueuedConnection);
    }
};

class SendPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(work.isValid());
        oldHome = qgetenv("HOME");
        ASSERT_TRUE(QDir().mkpath(work.filePath(QStringLiteral("home"))));
        qputenv("HOME", work.filePath(QStringLiteral("home")).toUtf8());
        useBuiltHelperTools();
        lq::setOpenURLHandler([this](const QUrl& url) {
            opened.append(url);
            return opens;
        });
        folder = work.filePath(QStringLiteral("Garden.lqxl"));
        ASSERT_TRUE(document.newDocument(folder)) << document.lastError().toStdString();
        window = std::make_unique<MyDocumentWindow>(document, nullptr);
        window->sender()->addObserver(&reports);
        escape.window = window.get();
        window->sender()->addObserver(&escape);
        window->resize(1100, 860);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->setMainTab(QStringLiteral("Send"));
    }
    void TearDown() override
    {
        if (window)
            window->sender()->removeObserver(&escape);
        window.reset();
        lq::setOpenURLHandler({});
        qputenv("HOME", oldHome);
    }

    ExportController& panel() { return *window->exportController(); }
    SendPanel& shown() { return *window->sendPanel(); }
    void click(const QString& button) { QTest::mouseClick(buttonTitled(panel().exportview(), button), Qt::LeftButton); }
    // The panel's Close, after a run that ended.
    void closePanel()
    {
        ASSERT_EQ(shown().cancelButton()->text(), QStringLiteral("Close"));
        QTest::mouseClick(shown().cancelButton(), Qt::LeftButton);
    }
    void destineToWebDAV()
    {
        clickServerTab(panel(), "webdav");
        typeIntoPublishField(panel(), PublishTag::WebDAVUser, QStringLiteral("tester"));
        typeIntoPublishField(panel(), PublishTag::WebDAVPassword, QStringLiteral("secret"));
        typeIntoPublishField(panel(), PublishTag::WebDAVAddress, QStringLiteral("http://") + server.address() + QStringLiteral("/site"));
    }
    void sendOnlyTheChanges(bool changes)
    {
        publishControl<MyMatrix>(panel(), PublishTag::ExportType)->selectCellWithTag(changes ? 1 : 0);
    }
    // Export, then the run's ending.
    const PublishObserver::Ending& exportAndWait()
    {
        const qsizetype endings = reports.endings.size();
        click(QStringLiteral("Export"));
        EXPECT_TRUE(reports.waitForEnding(endings, 300000)) << reports.story().toStdString();
        return reports.endings.last();
    }
    // The Activity log's lines since the text given.
    QStringList activitySince(const QString& before) const
    {
        return document.activityText().mid(before.size()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    QString served() const { return server.davRoot() + QStringLiteral("/site"); }
    QStringList claimed() const
    {
        const std::shared_ptr<XmlD> stored = lq::readLastXmlD(folder);
        return stored ? stored->filePaths() : QStringList();
    }
    int puts() const { return server.requests().filter(QStringLiteral("\"PUT ")).size(); }

    QTemporaryDir work;
    QByteArray oldHome;
    QString folder;
    QList<QUrl> opened;
    bool opens = true;
    const ScopedServices widgets { lq::registerWidgetServices };
    ScopedModalHandler modal;
    testservers::WebDAVServer server;
    MyDocument document;
    RecordingPublishObserver reports;
    EscapeAt escape;
    std::unique_ptr<MyDocumentWindow> window;
};

} // namespace

TEST_F(SendPanelTest, EscapeStopsAPublicationAtEveryStageAndSaysWhatArrived)
{
    if (!server.start(false))
        GTEST_SKIP() << server.why.toStdString();
    destineToWebDAV();
    struct Case {
        const char* stage;
        // When Escape comes: the panel's first and second lines.
        std::function<bool(const QString&, const QString&)> moment;
        // The files taken out of the site before (a publication that removes).
        int pagesDeleted;
        // What the line says arrived.
        const char* line;
        int sent;
        int removed;
    };
    int sending = 0;
    int removing = 0;
    const QList<Case> cases {
        { "building", [](const QString& stage, const QString&) { return stage == QStringLiteral("Building the site"); }, 0,
            "^Publication cancelled while the site was built: nothing was sent$", 0, 0 },
        { "calculating changes", [](const QString& stage, const QString&) { return stage == QStringLiteral("Calculating Changes"); }, 0,
            "^Cancelled: nothing was sent to http://[0-9.:]+/site\\.$", 0, 0 },
        { "sending",
            [&sending](const QString&, const QString& detail) { return detail.startsWith(QStringLiteral("Sending ")) && ++sending == 4; }, 0,
            "^Cancelled: 3 files were sent to http://[0-9.:]+/site; nothing more was sent\\.$", 3, 0 },
        { "removing",
            [&removing](const QString&, const QString& detail) { return detail.startsWith(QStringLiteral("Removing ")) && ++removing == 2; }, 2,
            "^Cancelled: 1 file was removed from http://[0-9.:]+/site; nothing more was sent or removed\\.$", 0, 1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stage);
        if (c.pagesDeleted > 0) {
            // The whole site is there first; then pages leave it, and only the changes go.
            sendOnlyTheChanges(false);
            escape.moment = {};
            ASSERT_EQ(exportAndWait().outcome, PublishObserver::Outcome::Published) << reports.story().toStdString();
            closePanel();
            for (int i = 0; i < c.pagesDeleted; ++i) {
                const std::shared_ptr<XmlBase> last = document.webItems().value(document.webItems().size() - 1);
                ASSERT_NE(dynamic_cast<XmlWebItem*>(last.get()), nullptr);
                last->parent()->removeChild(last.get());
            }
            sendOnlyTheChanges(true);
        }
        const QStringList onServer = filesBelow(served());
        const QStringList claimedBefore = claimed();
        const int putsBefore = puts();
        const QString before = document.activityText();
        escape.pressed = false;
        escape.moment = c.moment;

        const PublishObserver::Ending& end = exportAndWait();
        ASSERT_TRUE(escape.pressed) << reports.story().toStdString();
        EXPECT_EQ(end.outcome, PublishObserver::Outcome::Cancelled) << reports.story().toStdString();
        EXPECT_FALSE(window->sender()->isRunning());
        EXPECT_TRUE(QRegularExpression(QString::fromLatin1(c.line)).match(end.line).hasMatch()) << end.line.toStdString();

        // The panel stays with the line until Close; the Activity log has that line alone.
        EXPECT_TRUE(shown().isVisible());
        EXPECT_EQ(shown().status1()->text(), end.line);
        EXPECT_EQ(shown().cancelButton()->text(), QStringLiteral("Close"));
        EXPECT_TRUE(shown().cancelButton()->isVisible());
        EXPECT_EQ(activitySince(before), QStringList { end.line });

        // The server holds what the line says, and nothing more was sent.
        const QStringList now = filesBelow(served());
        EXPECT_LE(puts() - putsBefore, c.sent + 1) << "only the transfer under way may have gone on";
        if (c.removed == 0)
            EXPECT_LE(now.size(), onServer.size() + c.sent + 1);
        QStringList gone;
        for (const QString& file : onServer) {
            if (!now.contains(file))
                gone << file;
        }
        EXPECT_EQ(gone.size(), c.removed) << gone.join(QLatin1Char(' ')).toStdString();
        // The record claims only what the server confirmed.
        const QStringList record = claimed();
        for (const QString& file : record)
            EXPECT_TRUE(now.contains(file)) << file.toStdString();
        if (c.sent > 0)
            EXPECT_EQ(record.size(), claimedBefore.size() + c.sent);
        if (c.removed > 0)
            EXPECT_EQ(record.size(), claimedBefore.size() - c.removed);
        // The files that arrived are in the details.
        const QString details = window->sender()->debugLog();
        EXPECT_EQ(details.count(QRegularExpression(QStringLiteral("^sent "), QRegularExpression::MultilineOption)), c.sent) << details.toStdString();
        EXPECT_EQ(details.count(QRegularExpression(QStringLiteral("^removed "), QRegularExpression::MultilineOption)), c.removed);

        // Close puts it away; nothing is left running.
        closePanel();
        EXPECT_FALSE(shown().isVisible());
        EXPECT_TRUE(document.queue().processors().isEmpty());
    }

    // Then a whole publication: one line in the Activity log, the files in the details.
    escape.moment = {};
    sendOnlyTheChanges(false);
    const QString before = document.activityText();
    const PublishObserver::Ending& end = exportAndWait();
    ASSERT_EQ(end.outcome, PublishObserver::Outcome::Published) << reports.story().toStdString();
    EXPECT_EQ(activitySince(before), QStringList { end.line });
    for (const QString& file : filesBelow(folder + QStringLiteral("/homepage")))
        EXPECT_EQ(readAll(served() + QLatin1Char('/') + file), readAll(folder + QStringLiteral("/homepage/") + file)) << file.toStdString();
    QTest::mouseClick(shown().detailsButton(), Qt::LeftButton);
    for (const QString& file : filesBelow(folder + QStringLiteral("/homepage")))
        EXPECT_TRUE(shown().debugView()->toPlainText().contains(QStringLiteral("sent ") + file + QStringLiteral(" ("))) << file.toStdString();
}

TEST_F(SendPanelTest, AFolderExportOpensItsHomePageOrSaysWhyItCannot)
{
    modal.state->sheetAnswer = [](QDialog* sheet) { return typeAndPressTheDefaultButton(sheet, QStringLiteral("site out")); };
    click(QStringLiteral("New Folder"));
    const QString destination = work.filePath(QStringLiteral("home/site out"));
    const QUrl page = QUrl::fromLocalFile(destination + QStringLiteral("/index.html"));

    ASSERT_EQ(exportAndWait().outcome, PublishObserver::Outcome::Published) << reports.story().toStdString();
    EXPECT_TRUE(QFileInfo::exists(destination + QStringLiteral("/index.html")));
    EXPECT_EQ(opened, QList<QUrl> { page });
    EXPECT_TRUE(modal.state->alerts.isEmpty());
    closePanel();

    // The system cannot open it: the user is told, with why.
    opens = false;
    ASSERT_EQ(exportAndWait().outcome, PublishObserver::Outcome::Published) << reports.story().toStdString();
    EXPECT_EQ(opened, (QList<QUrl> { page, page }));
    ASSERT_EQ(modal.state->alerts.size(), 1);
    EXPECT_EQ(modal.state->alerts[0].title, QStringLiteral("The Site Did Not Open"));
    EXPECT_TRUE(modal.state->alerts[0].message.contains(destination + QStringLiteral("/index.html"))) << modal.state->alerts[0].message.toStdString();
    EXPECT_TRUE(modal.state->alerts[0].message.contains(QStringLiteral("The system could not open"))) << modal.state->alerts[0].message.toStdString();

    // "Open in browser" on the panel says so too.
    QTest::mouseClick(shown().openButton(), Qt::LeftButton);
    ASSERT_EQ(modal.state->alerts.size(), 2);
    EXPECT_EQ(modal.state->alerts[1].title, QStringLiteral("The Site Did Not Open"));
}
