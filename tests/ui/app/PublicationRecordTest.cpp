// What a publication leaves on its destination, for a site made from the
// shipped starter and sent from its window's publish panel to a folder and
// to real servers on 127.0.0.1 (apache2 WebDAV, pyftpdlib, sshd): a page
// deleted through the navigator and the Trash leaves the destination at the
// next Export whatever is chosen to send, a file the program never sent
// stays, and each destination keeps its own record of the last
// publication, so going to another server and back sends only what changed.
#include "ui/app/ExportController.h"
#include "ui/app/MenuTags.h"
#include "ui/app/MyDocumentWindow.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyMatrix.h"
#include "platform/FileHelpers.h"
#include "platform/SupportPaths.h"
#include "platform/Workspace.h"
#include "publish/SendController.h"
#include "publish/XmlLocation.h"
#include "support/HelperTools.h"
#include "support/PublishSite.h"
#include "support/RecordingPublishObserver.h"
#include "support/TestServers.h"
#include "support/ui/PublishPanelHands.h"
#include "support/ui/SheetButtons.h"
#include "support/ui/SitePanes.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

enum class Where { Folder, WebDAV, FTP, SFTP };

const char* nameOf(Where where)
{
    switch (where) {
    case Where::Folder: return "Folder";
    case Where::WebDAV: return "WebDAV";
    case Where::FTP: return "FTP";
    case Where::SFTP: return "SFTP";
    }
    return "";
}

const QString DestinationChanged = QStringLiteral("The destination changed: the next publication sends the whole site.");

class PublicationRecordTest : public SitePanesTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(homeFolder.isValid());
        oldHome = qgetenv("HOME");
        qputenv("HOME", homeFolder.path().toUtf8());
        keepStarterPages = true;
        SitePanesTest::SetUp();
        if (HasFatalFailure())
            return;
        useBuiltHelperTools();
        lq::setOpenURLHandler([](const QUrl&) { return true; });
        window->sender()->addObserver(&reports);
        window->setMainTab(QStringLiteral("Send"));
        QFile::remove(lq::supportFolder() + QStringLiteral("/known_hosts"));
    }
    void TearDown() override
    {
        if (window)
            window->sender()->removeObserver(&reports);
        window.reset();
        lq::setOpenURLHandler({});
        qputenv("HOME", oldHome);
    }

    ExportController& panel() { return *window->exportController(); }
    QString siteFolder() const { return document.fileName(); }
    QString generated() const { return siteFolder() + QStringLiteral("/homepage"); }

    // Starts the server the destination needs; false, with why, when it cannot.
    bool startServer(Where where, QString* why)
    {
        switch (where) {
        case Where::Folder: return true;
        case Where::WebDAV: return webdav.start(false) || (*why = webdav.why, false);
        case Where::FTP: return ftp.start() || (*why = ftp.why, false);
        case Where::SFTP: return sftp.start() || (*why = sftp.why, false);
        }
        return false;
    }
    // The destination as the user types it on the panel, with the send choice.
    void chooseDestination(Where where, int exportType)
    {
        switch (where) {
        case Where::Folder: clickServerTab(panel(), "folder"); break;
        case Where::WebDAV:
            clickServerTab(panel(), "webdav");
            typeIntoPublishField(panel(), PublishTag::WebDAVAddress, webdav.url() + QStringLiteral("/site"));
            typeIntoPublishField(panel(), PublishTag::WebDAVUser, QStringLiteral("tester"));
            typeIntoPublishField(panel(), PublishTag::WebDAVPassword, QStringLiteral("secret"));
            break;
        case Where::FTP:
        case Where::SFTP: {
            const bool overSSH = where == Where::SFTP;
            clickServerTab(panel(), "ftp");
            choosePublishItem(panel(), PublishTag::FtpType, overSSH ? 1 : 0);
            typeIntoPublishField(panel(), PublishTag::FtpServer, QStringLiteral("127.0.0.1"));
            typeIntoPublishField(panel(), PublishTag::FtpPort, QString::number(overSSH ? sftp.port : ftp.port));
            typeIntoPublishField(panel(), PublishTag::FtpFolder, QStringLiteral("site"));
            typeIntoPublishField(panel(), PublishTag::FtpUser, overSSH ? sftp.user : QStringLiteral("tester"));
            typeIntoPublishField(panel(), PublishTag::FtpPassword, QStringLiteral("secret"));
            break;
        }
        }
        publishControl<MyMatrix>(panel(), PublishTag::ExportType)->selectCellWithTag(exportType);
    }
    // Where the destination's files are on the disk.
    QString destinationRoot(Where where) const
    {
        switch (where) {
        case Where::Folder: return QUrl(document.location()->exportFolder()).toLocalFile();
        case Where::WebDAV: return webdav.davRoot() + QStringLiteral("/site");
        case Where::FTP: return ftp.root() + QStringLiteral("/site");
        case Where::SFTP: return sftp.root() + QStringLiteral("/site");
        }
        return QString();
    }
    // The panel's Export, until the publication ends; the ending.
    const PublishObserver::Ending* exportAndWait()
    {
        const qsizetype before = reports.endings.size();
        buttonTitled(panel().exportview(), QStringLiteral("Export"))->click();
        if (!reports.waitForEnding(before, 300000))
            return nullptr;
        const PublishObserver::Ending* ending = reports.lastEnding();
        window->sender()->cancel();
        return ending;
    }
    int putRequests() const { return static_cast<int>(webdav.requests().filter(QStringLiteral("PUT ")).size()); }

    // The page's Delete key in the navigator, then Empty Trash, as a user takes a page off the site.
    void deletePage(const std::shared_ptr<XmlAlbum>& page)
    {
        window->setMainTab(QStringLiteral("Editing"));
        choose(navOutline(), page.get());
        QTest::keyClick(&navOutline(), Qt::Key_Delete);
        ASSERT_EQ(page->parent(), &trash());
        choose(navOutline(), &trash());
        modal.state->alertAnswers = { 0 };
        auto* button = trashPane().findChild<MyButton*>(QStringLiteral("emptyTrash"));
        ASSERT_NE(button, nullptr);
        button->click();
        ASSERT_EQ(trash().numberChildren(), 0);
        window->setMainTab(QStringLiteral("Send"));
    }
    // The last page of the starter's home page.
    std::shared_ptr<XmlAlbum> starterPage()
    {
        const auto pages = home().childrenOfType<XmlAlbum>();
        return pages.isEmpty() ? nullptr : pages.last();
    }

    QTemporaryDir homeFolder;
    QByteArray oldHome;
    testservers::WebDAVServer webdav;
    testservers::FTPServer ftp;
    testservers::SFTPServer sftp;
    RecordingPublishObserver reports;
};

class DeletedPages : public PublicationRecordTest, public ::testing::WithParamInterface<std::tuple<Where, int>> {
};

} // namespace

TEST_P(DeletedPages, LeaveTheDestinationWhateverIsSentAndTheOwnersFilesStay)
{
    const auto [where, exportType] = GetParam();
    QString why;
    if (!startServer(where, &why))
        GTEST_SKIP() << why.toStdString();
    const std::shared_ptr<XmlAlbum> page = starterPage();
    ASSERT_NE(page, nullptr);
    chooseDestination(where, exportType);
    const PublishObserver::Ending* first = exportAndWait();
    ASSERT_NE(first, nullptr) << reports.story().toStdString();
    ASSERT_EQ(first->outcome, PublishObserver::Outcome::Published) << reports.story().toStdString();
    const QString root = destinationRoot(where);
    const QString pageFile = page->fileName();
    ASSERT_TRUE(QFileInfo::exists(root + QLatin1Char('/') + pageFile)) << filesBelow(root).join(QLatin1Char(' ')).toStdString();
    // A file of the owner's own, put there by other means.
    writeAll(root + QStringLiteral("/mine.html"), "placed by the owner");

    deletePage(page);
    const PublishObserver::Ending* second = exportAndWait();
    ASSERT_NE(second, nullptr) << reports.story().toStdString();
    ASSERT_EQ(second->outcome, PublishObserver::Outcome::Published) << reports.story().toStdString();
    EXPECT_FALSE(QFileInfo::exists(root + QLatin1Char('/') + pageFile));
    EXPECT_EQ(readAll(root + QStringLiteral("/mine.html")), QByteArray("placed by the owner"));
    QStringList expected = filesBelow(generated());
    expected.append(QStringLiteral("mine.html"));
    expected.sort();
    QStringList there = filesBelow(root);
    there.sort();
    EXPECT_EQ(there, expected);
    EXPECT_TRUE(second->line.contains(QStringLiteral("removed "), Qt::CaseInsensitive)) << second->line.toStdString();
    // Every file is still sent again when that is the choice.
    if (exportType != 1) {
        const QString sent = QStringLiteral("Published ") + QString::number(filesBelow(generated()).size()) + QStringLiteral(" files");
        EXPECT_TRUE(second->line.startsWith(sent)) << second->line.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(EachDestinationAndSendChoice, DeletedPages,
    ::testing::Combine(::testing::Values(Where::Folder, Where::WebDAV, Where::FTP, Where::SFTP), ::testing::Values(0, 1)),
    [](const ::testing::TestParamInfo<std::tuple<Where, int>>& info) {
        return std::string(nameOf(std::get<0>(info.param))) + (std::get<1>(info.param) == 1 ? "OnlyChanges" : "EveryFile");
    });

TEST_F(PublicationRecordTest, AServerLeftForAnotherAndChosenAgainGetsOnlyTheChanges)
{
    QString why;
    if (!startServer(Where::WebDAV, &why) || !startServer(Where::FTP, &why))
        GTEST_SKIP() << why.toStdString();
    chooseDestination(Where::WebDAV, 1);
    const PublishObserver::Ending* ending = exportAndWait();
    ASSERT_NE(ending, nullptr) << reports.story().toStdString();
    ASSERT_EQ(ending->outcome, PublishObserver::Outcome::Published) << reports.story().toStdString();
    const int putsThere = putRequests();
    EXPECT_EQ(putsThere, filesBelow(generated()).size());

    // FTP was never published to: it gets the whole site.
    chooseDestination(Where::FTP, 1);
    EXPECT_EQ(panel().notice()->text(), DestinationChanged);
    ending = exportAndWait();
    ASSERT_NE(ending, nullptr) << reports.story().toStdString();
    ASSERT_EQ(ending->outcome, PublishObserver::Outcome::Published) << reports.story().toStdString();
    EXPECT_EQ(filesBelow(destinationRoot(Where::FTP)), filesBelow(generated()));

    // Back to the same WebDAV address and account: it holds the site already.
    clickServerTab(panel(), "webdav");
    EXPECT_NE(panel().notice()->text(), DestinationChanged);
    EXPECT_EQ(publishFieldText(panel(), PublishTag::WebDAVAddress), webdav.url() + QStringLiteral("/site"));
    ending = exportAndWait();
    ASSERT_NE(ending, nullptr) << reports.story().toStdString();
    ASSERT_EQ(ending->outcome, PublishObserver::Outcome::Published) << reports.story().toStdString();
    EXPECT_EQ(putRequests(), putsThere) << webdav.requests().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(ending->line, QStringLiteral("Nothing changed since the last publication"));

    // And FTP's record waited for it the same way.
    clickServerTab(panel(), "ftp");
    ending = exportAndWait();
    ASSERT_NE(ending, nullptr) << reports.story().toStdString();
    EXPECT_EQ(ending->line, QStringLiteral("Nothing changed since the last publication")) << reports.story().toStdString();

    // The records are the owner's alone, and none holds the password.
    for (const QString& record : lq::folderEntries(siteFolder() + QStringLiteral("/lastboms"))) {
        const QString path = siteFolder() + QStringLiteral("/lastboms/") + record;
        EXPECT_EQ(QFileInfo(path).permissions() & ~(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser), 0)
            << record.toStdString();
        EXPECT_FALSE(record.contains(QStringLiteral("secret")));
        EXPECT_FALSE(readAll(path).contains("secret"));
    }
    EXPECT_EQ(QFileInfo(siteFolder() + QStringLiteral("/lastbom.xmlbase")).permissions()
            & ~(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser),
        0);
}

TEST_F(PublicationRecordTest, ASiteWithTheOneRecordOfOlderReleasesPublishesOnlyTheChanges)
{
    QString why;
    if (!startServer(Where::WebDAV, &why) || !startServer(Where::FTP, &why))
        GTEST_SKIP() << why.toStdString();
    chooseDestination(Where::WebDAV, 1);
    const PublishObserver::Ending* ending = exportAndWait();
    ASSERT_NE(ending, nullptr) << reports.story().toStdString();
    ASSERT_EQ(ending->outcome, PublishObserver::Outcome::Published) << reports.story().toStdString();
    ASSERT_TRUE(window->saveDocument());
    // What an older release leaves: the destination, and one record beside it.
    ASSERT_TRUE(QFileInfo(siteFolder() + QStringLiteral("/lastbom.xmlbase")).isFile());
    ASSERT_FALSE(QFileInfo::exists(siteFolder() + QStringLiteral("/lastboms")));
    const int puts = putRequests();

    // The site's window opened anew; Site ▸ Publish sends the changes at once.
    window->sender()->removeObserver(&reports);
    window = std::make_unique<MyDocumentWindow>(document, defaults.get());
    window->sender()->addObserver(&reports);
    window->setMainTab(QStringLiteral("Send"));
    qsizetype before = reports.endings.size();
    window->menuClicked(MenuTag::Publish);
    ASSERT_TRUE(reports.waitForEnding(before, 300000)) << reports.story().toStdString();
    ASSERT_EQ(reports.lastEnding()->outcome, PublishObserver::Outcome::Published) << reports.story().toStdString();
    EXPECT_EQ(putRequests(), puts) << webdav.requests().join(QLatin1Char('\n')).toStdString();
    window->sender()->cancel();

    // It is that destination's record: another one and back keeps it.
    chooseDestination(Where::FTP, 1);
    EXPECT_EQ(panel().notice()->text(), DestinationChanged);
    EXPECT_FALSE(QFileInfo::exists(siteFolder() + QStringLiteral("/lastbom.xmlbase")));
    clickServerTab(panel(), "webdav");
    before = reports.endings.size();
    window->menuClicked(MenuTag::Publish);
    ASSERT_TRUE(reports.waitForEnding(before, 300000)) << reports.story().toStdString();
    ASSERT_EQ(reports.lastEnding()->outcome, PublishObserver::Outcome::Published) << reports.story().toStdString();
    EXPECT_EQ(putRequests(), puts) << webdav.requests().join(QLatin1Char('\n')).toStdString();
}
