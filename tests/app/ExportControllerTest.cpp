// The publish panel: its tagged controls store the destination, it hands
// the uploader what to send, refuses the home and Desktop folders, and
// forgets the last published tree when the destination moves.
#include "app/ExportController.h"
#include "app/FSBrowser.h"
#include "document/MyDocument.h"
#include "app/MyDocumentWindow.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "model/theme/XmlTheme.h"
#include "platform/Workspace.h"
#include "platform/widgets/ControlTags.h"
#include "platform/widgets/MyCheckBox.h"
#include "platform/widgets/MyMatrix.h"
#include "platform/widgets/MyPopUpButton.h"
#include "platform/widgets/MyTabView.h"
#include "platform/widgets/MyTextField.h"
#include "publish/XmlLocation.h"
#include "support/EventLoop.h"
#include "support/HelperTools.h"
#include "support/ui/ScriptedModalHandler.h"
#include "support/SmallFilesystem.h"
#include "support/TestServers.h"
#include "publish/SendController.h"
#include "publish/XmlD.h"
#include "app/SendPanel.h"
#include "support/ui/StarterArchive.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

struct FakeSender : SendControllerBase {
    QStringList calls;
    QList<Request> requests;
    QString folder;
    bool changesOnly = false;
    void startSending(const Request& r) override { calls << "startSending"; requests << r; }
    void sendBom(const Request& r) override { calls << "sendBom"; requests << r; }
    void sendFTPBom(XmlLocation*, const QString&, bool only) override { calls << "sendFTPBom"; changesOnly = only; }
    void ftpTestExport(XmlLocation*, const QString&) override { calls << "ftpTestExport"; }
    void exportToFolder(const QString&, const QString& to, bool only) override
    {
        calls << "exportToFolder";
        folder = to;
        changesOnly = only;
    }
};

class ExportControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(work.isValid());
        oldHome = qgetenv("HOME");
        home = work.filePath(QStringLiteral("home"));
        ASSERT_TRUE(QDir().mkpath(home + QStringLiteral("/Desktop")));
        ASSERT_TRUE(QDir().mkpath(home + QStringLiteral("/Sites/mine")));
        ASSERT_TRUE(QDir().mkpath(home + QStringLiteral("/.hidden")));
        QFile plain(home + QStringLiteral("/notes.txt"));
        ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
        plain.close();
        qputenv("HOME", home.toUtf8());

        const QString archive = work.filePath(QStringLiteral("default.qvzip"));
        ASSERT_TRUE(writeStarterArchive(work.path(), archive));
        folder = work.filePath(QStringLiteral("Site.lqxl"));
        ASSERT_TRUE(document.newDocumentFromArchive(folder, archive));
        // The fake uploader gets its work at once: the build is left out.
        MyDocumentWindow::setSiteBuilder([](MyDocument&, std::function<void()> then) { then(); });
        window = std::make_unique<MyDocumentWindow>(document, nullptr);
        panel = window->exportController();
        panel->setSender(&sender);
    }
    void TearDown() override
    {
        MyDocumentWindow::setSiteBuilder({});
        window.reset();
        qputenv("HOME", oldHome);
    }

    template <typename T>
    T* control(int tag) { return qobject_cast<T*>(lq::viewWithTag(panel->exportview(), tag)); }
    void type(int tag, const QString& text)
    {
        auto* field = control<MyTextField>(tag);
        field->setText(text);
        panel->controlTextDidChange(field);
    }
    void choose(int tag, int index)
    {
        auto* popUp = control<MyPopUpButton>(tag);
        popUp->setCurrentIndex(index);
        panel->action(popUp);
    }
    // The real build and the real uploader of the window, not the fakes:
    // the window is made anew by the test.
    void useRealBuildAndUploader()
    {
        useBuiltHelperTools();
        MyDocumentWindow::setSiteBuilder({});
        panel->setSender(nullptr);
        window.reset();
    }
    // Publishes everything to the WebDAV server at the address, as a user
    // does with the panel's controls.
    void publishEverythingTo(const QString& address)
    {
        choose(5000, 1);
        type(5005, QStringLiteral("tester"));
        type(5006, QStringLiteral("secret"));
        type(5008, address);
        control<MyMatrix>(5001)->selectCellWithTag(1);
        panel->exportButton();
    }
    void writeLastTree()
    {
        QFile tree(folder + QStringLiteral("/lastbom.xmlbase"));
        ASSERT_TRUE(tree.open(QIODevice::WriteOnly));
        tree.write("<xmld/>");
    }

    QTemporaryDir work;
    QByteArray oldHome;
    QString home;
    QString folder;
    ScopedModalHandler modal;
    MyDocument document;
    std::unique_ptr<MyDocumentWindow> window;
    ExportController* panel = nullptr;
    FakeSender sender;
};

TEST_F(ExportControllerTest, EveryTaggedControlIsThere)
{
    for (int tag = 5000; tag <= 5018; ++tag)
        EXPECT_NE(lq::viewWithTag(panel->exportview(), tag), nullptr) << tag;
    for (const char* id : {"mac", "webdav", "folder", "ftp"})
        EXPECT_NE(panel->exportTab()->tabViewItemWithIdentifier(QString::fromLatin1(id)), nullptr) << id;
}

TEST_F(ExportControllerTest, WebDAVPublicationFromThePanel)
{
    choose(5000, 1);
    EXPECT_EQ(panel->exportTab()->selectedIdentifier(), QStringLiteral("webdav"));
    type(5005, QStringLiteral("ann"));
    type(5006, QStringLiteral("pa:ss"));
    type(5008, QStringLiteral("127.0.0.1:8080/site"));
    // All three sets of fields show the one stored account.
    EXPECT_EQ(control<MyTextField>(5014)->text(), QString());
    panel->updateGUI();
    EXPECT_EQ(control<MyTextField>(5014)->text(), QStringLiteral("ann"));
    EXPECT_EQ(control<MyTextField>(5002)->text(), QStringLiteral("ann"));
    EXPECT_TRUE(window->isWindowModified());

    control<MyMatrix>(5001)->selectCellWithTag(0);
    window->setMainTab(QStringLiteral("Send"));
    panel->exportButton();
    ASSERT_EQ(sender.calls, QStringList{"startSending"});
    const auto& request = sender.requests[0];
    EXPECT_EQ(request.baseURL, QStringLiteral("http://127.0.0.1:8080/site"));
    EXPECT_EQ(request.passPhrase, QStringLiteral("ann:pa:ss"));
    EXPECT_EQ(request.pathName, folder + QStringLiteral("/homepage"));
    EXPECT_FALSE(request.changesOnly);
    EXPECT_EQ(window->masterTab()->selectedIdentifier(), QStringLiteral("Editing"));
    EXPECT_EQ(document.location()->serverType(), 1);
    EXPECT_EQ(document.location()->exportType(), 0);

    // A later publication of the changes compares with the last tree, whatever the choice.
    EXPECT_TRUE(panel->exportChanges());
    ASSERT_EQ(sender.calls.size(), 2);
    EXPECT_EQ(sender.calls[1], QStringLiteral("sendBom"));
    EXPECT_TRUE(sender.requests[1].changesOnly);
}

TEST_F(ExportControllerTest, MacUserNameLosesItsDomain)
{
    choose(5000, 0);
    control<MyTextField>(5002)->setText(QStringLiteral("ann@mac.com"));
    control<MyTextField>(5004)->setText(QStringLiteral("my site"));
    panel->exportButton();
    EXPECT_EQ(control<MyTextField>(5002)->text(), QStringLiteral("ann"));
    EXPECT_EQ(document.location()->username(), QStringLiteral("ann"));
    EXPECT_TRUE(panel->openURL().endsWith(QStringLiteral("/ann/my%20site/"))) << panel->openURL().toStdString();
    EXPECT_TRUE(panel->baseURL().endsWith(QStringLiteral("/ann/Sites/my%20site"))) << panel->baseURL().toStdString();
}

TEST_F(ExportControllerTest, HomeAndDesktopAreRefusedAsExportFolders)
{
    choose(5000, 2);
    for (const QString& path : {QStringLiteral("/"), QStringLiteral("/Desktop")}) {
        ASSERT_TRUE(panel->fsBrowser()->setPath(path));
        panel->exportButton();
    }
    ASSERT_EQ(modal.state->alerts.size(), 2);
    EXPECT_EQ(modal.state->alerts[0].title, QStringLiteral("Whoops"));
    EXPECT_TRUE(modal.state->alerts[0].message.startsWith(
        QStringLiteral("You have chosen to export your website to either your home directory or your Desktop.\tThis is not")));
    EXPECT_TRUE(sender.calls.isEmpty());

    // A folder below either is fine.
    ASSERT_TRUE(panel->fsBrowser()->setPath(QStringLiteral("/Sites/mine")));
    panel->exportButton();
    EXPECT_EQ(sender.calls, QStringList{"exportToFolder"});
    EXPECT_EQ(sender.folder, home + QStringLiteral("/Sites/mine"));
    EXPECT_EQ(document.location()->exportFolder(), QStringLiteral("/Sites/mine"));
    // A folder destination never publishes changes on its own.
    EXPECT_FALSE(panel->exportChanges());
}

TEST_F(ExportControllerTest, BrowserShowsVisibleFoldersOnly)
{
    EXPECT_EQ(FSBrowser::visibleSubNodes(home), (QStringList{"Desktop", "Sites"}));
    EXPECT_FALSE(panel->fsBrowser()->setPath(QStringLiteral("/.hidden")));
    // A stored folder that is gone shows the Desktop.
    document.location()->setExportFolder(QStringLiteral("/gone"));
    panel->updateGUI();
    EXPECT_EQ(panel->fsBrowser()->path(), QStringLiteral("/Desktop"));
    // A new folder under the selected one becomes the selection.
    panel->createFolderNamed(QStringLiteral("export"));
    EXPECT_EQ(panel->fsBrowser()->path(), QStringLiteral("/Desktop/export"));
    EXPECT_TRUE(QFileInfo(home + QStringLiteral("/Desktop/export")).isDir());
    panel->createFolderNamed(QStringLiteral("../escape"));
    EXPECT_FALSE(QFileInfo::exists(home + QStringLiteral("/escape")));
}

TEST_F(ExportControllerTest, ExportFolderStoredAbsoluteIsReadRelative)
{
    struct Case {
        QString stored;
        QString relative;
    };
    const QList<Case> cases = {
        {QString(), QStringLiteral("/")},
        {QStringLiteral("/Sites/mine"), QStringLiteral("/Sites/mine")},
        {home + QStringLiteral("/Sites/mine"), QStringLiteral("/Sites/mine")},
        {home, QStringLiteral("/")},
        {QStringLiteral("Sites"), QStringLiteral("/Sites")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExportController::relativeExportFolder(c.stored.isEmpty() ? QDir::homePath() : c.stored), c.relative) << c.stored.toStdString();
    document.location()->setExportFolder(home + QStringLiteral("/Sites/mine"));
    panel->updateGUI();
    EXPECT_EQ(panel->fsBrowser()->path(), QStringLiteral("/Sites/mine"));
}

TEST_F(ExportControllerTest, NewDestinationForgetsTheLastPublishedTree)
{
    choose(5000, 1);
    type(5008, QStringLiteral("127.0.0.1/a"));
    writeLastTree();
    // Account changes keep it; the address does not.
    type(5005, QStringLiteral("bob"));
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/lastbom.xmlbase")));
    type(5008, QStringLiteral("127.0.0.1/b"));
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("/lastbom.xmlbase")));
    EXPECT_FALSE(panel->notice()->text().isEmpty());

    writeLastTree();
    choose(5000, 3);
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("/lastbom.xmlbase")));
    writeLastTree();
    type(5016, QStringLiteral("public_html"));
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("/lastbom.xmlbase")));
}

TEST_F(ExportControllerTest, ConnectionTestOnlyForFTP)
{
    choose(5000, 1);
    panel->testFTPExport();
    EXPECT_TRUE(sender.calls.isEmpty());
    choose(5000, 3);
    control<MyTextField>(5013)->setText(QStringLiteral("127.0.0.1"));
    control<MyTextField>(5014)->setText(QStringLiteral("ann"));
    control<MyTextField>(5015)->setText(QStringLiteral("wrong"));
    panel->testFTPExport();
    EXPECT_EQ(sender.calls, QStringList{"ftpTestExport"});
    EXPECT_EQ(document.location()->password(), QStringLiteral("wrong"));
    EXPECT_EQ(document.location()->location(), QStringLiteral("127.0.0.1"));
}

TEST_F(ExportControllerTest, PreviewSavesBuildsAndOpensTheHomePage)
{
    QList<QUrl> opened;
    lq::setOpenURLHandler([&](const QUrl& url) {
        opened.append(url);
        return true;
    });
    int builds = 0;
    MyDocumentWindow::setSiteBuilder([&](MyDocument&, std::function<void()> then) {
        ++builds;
        then();
    });
    const int snapshots = QDir(folder + QStringLiteral("/revert")).entryList(QDir::Files).size();
    document.setNow([] { return QDateTime(QDate(2030, 1, 1), QTime(12, 0)); });
    panel->previewInBrowserButton();
    MyDocumentWindow::setSiteBuilder({});
    lq::setOpenURLHandler({});
    EXPECT_EQ(builds, 1);
    EXPECT_EQ(QDir(folder + QStringLiteral("/revert")).entryList(QDir::Files).size(), snapshots + 1);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(folder + QStringLiteral("/homepage/index.html")));
}

// Every file below the folder, as relative paths.
QStringList filesBelow(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next().mid(folder.size() + 1));
    files.sort();
    return files;
}

TEST_F(ExportControllerTest, FirstPublicationToAWebDAVServerSendsEveryFile)
{
    testservers::WebDAVServer server;
    if (!server.start(false))
        GTEST_SKIP() << server.why.toStdString();
    useRealBuildAndUploader();
    window = std::make_unique<MyDocumentWindow>(document, nullptr);
    panel = window->exportController();

    const QString homepage = folder + QStringLiteral("/homepage");
    for (const QString& name : {QStringLiteral("index.html"), QStringLiteral("page1.html"), QStringLiteral("pictures/a.css")}) {
        QFile file(homepage + QLatin1Char('/') + name);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(file).absolutePath()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<p>" + name.toUtf8() + "</p>");
    }
    publishEverythingTo(server.address());
    // The site is built first, then sent.
    ASSERT_TRUE(processEventsUntil([&] {
        return window->sender()->taskError() || (QFile::exists(folder + QStringLiteral("/lastbom.xmlbase")) && !window->sender()->isRunning());
    }, 120000));
    EXPECT_FALSE(window->sender()->taskError()) << window->sender()->status1().toStdString() << " / "
                                                << window->sender()->status2().toStdString();
    EXPECT_FALSE(window->sender()->panelVisible());
    EXPECT_TRUE(window->sendPanel()->isHidden());
    EXPECT_EQ(filesBelow(server.davRoot()), filesBelow(homepage));
    EXPECT_FALSE(filesBelow(homepage).isEmpty());
    // What the server holds is now the current tree.
    ASSERT_TRUE(QFile::exists(folder + QStringLiteral("/lastbom.xmlbase")));
    QString stored;
    QString current;
    document.lastXmlD()->writeXmlInString(stored);
    document.createXmlD(QString())->writeXmlInString(current);
    EXPECT_EQ(stored, current);
}

TEST_F(ExportControllerTest, ABuildThatCouldNotWriteItsFilesPublishesNothing)
{
    SmallFilesystem disk(24 * 1024 * 1024);
    LQ_REQUIRE_MOUNTED(disk);
    testservers::WebDAVServer server;
    if (!server.start(false))
        GTEST_SKIP() << server.why.toStdString();
    useRealBuildAndUploader();

    // The starter site on a disk with room for its document but not for its pages.
    MyDocument full;
    const QString fullFolder = disk.filePath(QStringLiteral("Site.lqxl"));
    ASSERT_TRUE(full.newDocument(fullFolder)) << full.lastError().toStdString();
    window = std::make_unique<MyDocumentWindow>(full, nullptr);
    panel = window->exportController();
    struct CloseFirst {
        std::unique_ptr<MyDocumentWindow>& window;
        ~CloseFirst() { window.reset(); }
    } closeFirst { window };
    disk.fillLeaving(16 * 1024);

    publishEverythingTo(server.address());
    ASSERT_TRUE(processEventsUntil([&] { return panel->notice()->text().contains(QStringLiteral("The export stopped")); }, 120000))
        << full.activityText().toStdString();
    EXPECT_TRUE(full.activityText().contains(QStringLiteral("No space left on device"))) << full.activityText().toStdString();
    EXPECT_TRUE(full.activityText().contains(QStringLiteral("The export stopped"))) << full.activityText().toStdString();
    EXPECT_FALSE(window->sender()->isRunning());
    EXPECT_TRUE(filesBelow(server.davRoot()).isEmpty()) << filesBelow(server.davRoot()).join(QLatin1Char(' ')).toStdString();
    EXPECT_FALSE(QFile::exists(fullFolder + QStringLiteral("/lastbom.xmlbase")));
}

TEST_F(ExportControllerTest, ConnectionTestWithAWrongPasswordFails)
{
    testservers::FTPServer server;
    if (!server.start())
        GTEST_SKIP() << server.why.toStdString();
    useBuiltHelperTools();
    panel->setSender(nullptr);
    window.reset();
    window = std::make_unique<MyDocumentWindow>(document, nullptr);
    panel = window->exportController();

    choose(5000, 3);
    control<MyTextField>(5013)->setText(QStringLiteral("127.0.0.1"));
    control<MyTextField>(5014)->setText(QStringLiteral("tester"));
    control<MyTextField>(5015)->setText(QStringLiteral("wrong"));
    control<MyTextField>(5011)->setText(QString::number(server.port));
    control<MyCheckBox>(5012)->setChecked(false);
    panel->testFTPExport();
    ASSERT_TRUE(processEventsUntil([&] { return window->sender()->status1() == QStringLiteral("Test Failed"); }, 30000))
        << window->sender()->status1().toStdString() << " / " << window->sender()->status2().toStdString();
    EXPECT_EQ(window->sendPanel()->status1()->text(), QStringLiteral("Test Failed"));
    // Nothing was published.
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("/lastbom.xmlbase")));
}

} // namespace
