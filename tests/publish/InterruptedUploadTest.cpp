// A transfer tool killed in the middle of a file, on every road: the stored
// tree must claim only what the server confirmed, so that undoing the local
// change and publishing again leaves the server holding exactly the build;
// Cancel amid removals or sends says what arrived, and nothing more goes.
#include "publish/SendController.h"
#include "publish/WebDAVRoad.h"
#include "publish/XmlLocation.h"

#include "support/ChildProcesses.h"
#include "support/EventLoop.h"
#include "support/Printers.h"
#include "support/PublishSite.h"
#include "support/TestServers.h"

#include "platform/SupportPaths.h"

#include <QCryptographicHash>
#include <QMetaObject>
#include <QRegularExpression>

#include <csignal>
#include <ostream>

#include <gtest/gtest.h>

namespace {

enum class Road { WebDAV, FTP, SFTP };

void PrintTo(Road road, std::ostream* out)
{
    *out << (road == Road::WebDAV ? "WebDAV" : road == Road::FTP ? "FTP" : "SFTP");
}

// The size and MD5 of a file, short enough to show when two differ.
std::string digestOf(const QString& path)
{
    const QByteArray bytes = readAll(path);
    return std::to_string(bytes.size()) + " bytes, " + QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex().toStdString();
}

class InterruptedUpload : public ::testing::TestWithParam<Road> {
protected:
    void SetUp() override
    {
        QString why;
        switch (GetParam()) {
        case Road::WebDAV:
            if (!webDAV.start(false))
                why = webDAV.why;
            break;
        case Road::FTP:
            if (!ftp.start())
                why = ftp.why;
            break;
        case Road::SFTP:
            if (!sftp.start())
                why = sftp.why;
            break;
        }
        if (!why.isEmpty())
            GTEST_SKIP() << "server unavailable: " << why.toStdString();
        QFile::remove(lq::supportFolder() + QStringLiteral("/known_hosts"));
        // The server's new host key, trusted as the user asked about it would.
        if (GetParam() == Road::SFTP)
            ASSERT_TRUE(sftp.trustHostKey(lq::supportFolder() + QStringLiteral("/known_hosts")));
        // The site's folder exists on the server, owned by the server's account.
        QDir().mkpath(serverFolder());
        if (GetParam() == Road::WebDAV)
            testservers::runQuietly(QStringLiteral("/bin/chown"), { QStringLiteral("www-data:www-data"), serverFolder() });
        if (GetParam() == Road::SFTP)
            testservers::runQuietly(QStringLiteral("/bin/chown"), { sftp.user + QLatin1Char(':'), serverFolder() });
        location->setServerType(XmlLocation::FTPServer);
        location->setFtpType(GetParam() == Road::SFTP ? 1 : 0);
        location->setLocation(QStringLiteral("127.0.0.1:") + QString::number(GetParam() == Road::SFTP ? sftp.port : ftp.port));
        location->setUsername(GetParam() == Road::SFTP ? sftp.user : QStringLiteral("tester"));
        location->setPassword(QStringLiteral("secret"));
        location->setFtpFolder(QStringLiteral("site"));
    }

    QString serverFolder() const
    {
        switch (GetParam()) {
        case Road::WebDAV: return webDAV.davRoot() + QStringLiteral("/site");
        case Road::FTP: return ftp.root() + QStringLiteral("/site");
        case Road::SFTP: return sftp.root() + QStringLiteral("/site");
        }
        return QString();
    }

    // Publishes the changes as the publish panel does, without waiting.
    void startPublishing()
    {
        std::shared_ptr<XmlD> current;
        auto bom = site.changes(&current);
        if (GetParam() == Road::WebDAV)
            controller.startSendingLocationPathNamePassPhraseLastXmlDOpenURLDigest(bom.get(),
                WebDAVRoad::webDAVAddress(webDAV.address() + QStringLiteral("/site")), site.homepage(), QStringLiteral("tester:secret"),
                current, QString(), 0);
        else
            controller.sendFTPBomLocationPathNameLastXmlDCurrentXmlD(bom.get(), location.get(), site.homepage(), current,
                site.document.lastXmlD());
    }

    void publish()
    {
        startPublishing();
        ASSERT_TRUE(processEventsUntil([&] { return !controller.isRunning(); }, 60000));
        ASSERT_FALSE(controller.taskError()) << controller.status2().toStdString();
    }

    // Writes a large file of one repeated byte.
    void writeLarge(const QString& name, char byte, qint64 megabytes)
    {
        QFile file(site.homepage() + QLatin1Char('/') + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const QByteArray block(1024 * 1024, byte);
        for (qint64 i = 0; i < megabytes; ++i)
            ASSERT_EQ(file.write(block), block.size());
    }

    testservers::WebDAVServer webDAV;
    testservers::FTPServer ftp;
    testservers::SFTPServer sftp;
    PublishSite site;
    std::shared_ptr<XmlLocation> location = XmlLocation::create();
    SendController controller { &site.document };
};

} // namespace

TEST_P(InterruptedUpload, UndoneChangeIsSentAgainAfterAKilledTransfer)
{
    // Published as it stands: a page before the large file, the large file
    // (small for now) and a page after it.
    site.write(QStringLiteral("a.html"), "page a, first version");
    site.write(QStringLiteral("big.bin"), "the first version is small");
    site.write(QStringLiteral("z.html"), "page z, first version");
    publish();
    ASSERT_TRUE(sameFiles(site.homepage(), serverFolder()));

    // Every file changes; the tool is killed while it reads the large file.
    const QByteArray firstA = readAll(site.homepage() + QStringLiteral("/a.html"));
    const QByteArray firstBig = readAll(site.homepage() + QStringLiteral("/big.bin"));
    const QByteArray firstZ = readAll(site.homepage() + QStringLiteral("/z.html"));
    site.write(QStringLiteral("a.html"), "page a, second version");
    writeLarge(QStringLiteral("big.bin"), 'b', 256);
    site.write(QStringLiteral("z.html"), "page z, second version");
    const QString big = site.homepage() + QStringLiteral("/big.bin");
    const qint64 size = QFileInfo(big).size();
    startPublishing();
    bool killed = false;
    ASSERT_TRUE(processEventsUntil([&] {
        for (pid_t pid : ownChildren()) {
            const qint64 position = readPosition(pid, big);
            if (position > 0 && position < size) {
                ::kill(pid, SIGKILL);
                killed = true;
            }
        }
        return killed || !controller.isRunning();
    }, 120000));
    ASSERT_TRUE(killed) << "the large file was sent before the tool could be stopped";
    ASSERT_TRUE(processEventsUntil([&] { return !controller.isRunning(); }, 60000));
    EXPECT_TRUE(controller.taskError());
    controller.cancel();
    // The file in flight is not believed to be there, and the server still
    // holds the old one whole: the new one was going to a temporary name.
    std::shared_ptr<XmlD> stored = site.document.lastXmlD();
    ASSERT_TRUE(stored);
    EXPECT_FALSE(stored->filePaths().contains(QStringLiteral("big.bin")));
    EXPECT_EQ(digestOf(serverFolder() + QStringLiteral("/big.bin")), std::string("26 bytes, ") + QCryptographicHash::hash(firstBig, QCryptographicHash::Md5).toHex().toStdString());

    // The local change is undone and the site published again.
    site.write(QStringLiteral("a.html"), firstA);
    site.write(QStringLiteral("big.bin"), firstBig);
    site.write(QStringLiteral("z.html"), firstZ);
    publish();
    // Nothing of the killed transfer is left beside the files.
    EXPECT_EQ(filesBelow(serverFolder()), filesBelow(site.homepage()));
    for (const QString& file : filesBelow(site.homepage()))
        EXPECT_EQ(digestOf(serverFolder() + QLatin1Char('/') + file), digestOf(site.homepage() + QLatin1Char('/') + file)) << file.toStdString();
}

TEST_P(InterruptedUpload, CancelAmidRemovalsOrSendsSaysWhatArrivedAndNothingMoreGoes)
{
    // Cancel comes through the event loop, as the panel's button does, the
    // moment the panel names the file of the count given.
    struct CancelAt : PublishObserver {
        SendController* controller = nullptr;
        QString doing;
        int at = 0;
        int seen = 0;
        void stageChanged(const QString&, const QString& detail) override
        {
            if (!detail.startsWith(doing) || ++seen != at)
                return;
            QMetaObject::invokeMethod(controller, [c = controller] { c->cancel(); }, Qt::QueuedConnection);
        }
    };
    struct Case {
        const char* doing;
        int at;
    };
    int round = 0;
    for (const Case& c : { Case { "Removing ", 3 }, Case { "Sending ", 3 } }) {
        SCOPED_TRACE(c.doing);
        // Five old pages are published; they leave the site, five new ones come.
        const QString old = QStringLiteral("old%1-%2.html").arg(round);
        const QString fresh = QStringLiteral("new%1-%2.html").arg(round++);
        for (const QString& file : filesBelow(site.homepage()))
            QFile::remove(site.homepage() + QLatin1Char('/') + file);
        for (int i = 0; i < 5; ++i)
            site.write(old.arg(i), QByteArray("old page ") + QByteArray::number(i));
        publish();
        const qsizetype claimedBefore = site.document.lastXmlD()->filePaths().size();
        for (int i = 0; i < 5; ++i) {
            QFile::remove(site.homepage() + QLatin1Char('/') + old.arg(i));
            site.write(fresh.arg(i), QByteArray("new page ") + QByteArray::number(i));
        }
        CancelAt cancelAt;
        cancelAt.controller = &controller;
        cancelAt.doing = QString::fromLatin1(c.doing);
        cancelAt.at = c.at;
        controller.addObserver(&cancelAt);
        startPublishing();
        ASSERT_TRUE(processEventsUntil([&] { return !controller.isRunning(); }, 60000));
        controller.removeObserver(&cancelAt);
        ASSERT_EQ(cancelAt.seen, c.at) << "the publication ended before Cancel";

        // The line says what arrived; the server and the record hold just that.
        EXPECT_TRUE(controller.cancelShown());
        EXPECT_TRUE(controller.panelVisible());
        const QString line = controller.status1();
        EXPECT_EQ(site.document.activity.last(), line);
        const QStringList now = filesBelow(serverFolder());
        int removed = 0;
        int sent = 0;
        for (int i = 0; i < 5; ++i) {
            removed += now.contains(old.arg(i)) ? 0 : 1;
            sent += now.contains(fresh.arg(i)) ? 1 : 0;
        }
        // What the line says arrived: "N files were sent to … and M removed
        // there", or "M files were removed from …".
        const QRegularExpressionMatch said = QRegularExpression(QStringLiteral(
            "^Cancelled: (?:(\\d+) files? (?:was|were) sent to \\S+ and (\\d+) removed there|(\\d+) files? (?:was|were) removed from \\S+); "
            "nothing more was sent or removed\\.$")).match(line);
        ASSERT_TRUE(said.hasMatch()) << line.toStdString();
        const int saidSent = said.captured(1).toInt();
        const int saidRemoved = said.captured(1).isEmpty() ? said.captured(3).toInt() : said.captured(2).toInt();
        EXPECT_GT(saidSent + saidRemoved, 0);
        EXPECT_LT(saidSent + saidRemoved, 10) << "Cancel came before the end";
        // A file under way goes to a temporary name; a removal under way may
        // have reached the server before the tool stopped, unconfirmed.
        EXPECT_EQ(sent, saidSent) << line.toStdString();
        EXPECT_GE(removed, saidRemoved) << line.toStdString();
        EXPECT_LE(removed, saidRemoved + (saidSent == 0 ? 1 : 0)) << line.toStdString();
        // The record claims what the server holds, and at most that removal besides.
        std::shared_ptr<XmlD> stored = site.document.lastXmlD();
        ASSERT_TRUE(stored);
        const QStringList record = stored->filePaths();
        for (int i = 0; i < 5; ++i) {
            for (const QString& file : { old.arg(i), fresh.arg(i) })
                EXPECT_TRUE(!now.contains(file) || record.contains(file)) << file.toStdString();
        }
        EXPECT_EQ(record.size(), claimedBefore - saidRemoved + saidSent);
        controller.cancel();
        EXPECT_FALSE(controller.panelVisible());
    }
}

INSTANTIATE_TEST_SUITE_P(Roads, InterruptedUpload, ::testing::Values(Road::WebDAV, Road::FTP, Road::SFTP),
    [](const ::testing::TestParamInfo<Road>& info) {
        switch (info.param) {
        case Road::WebDAV: return std::string("WebDAV");
        case Road::FTP: return std::string("FTP");
        case Road::SFTP: return std::string("SFTP");
        }
        return std::string();
    });
