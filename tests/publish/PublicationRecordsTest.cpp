// The records of the last publication to each destination in a site
// folder: one set aside when the destination changes comes back, whole and
// the owner's alone, when the site names its destination again; a link in
// the way is never followed.
#include "platform/ConfinedFolder.h"
#include "publish/DigestListing.h"
#include "publish/PublicationRecords.h"
#include "publish/XmlD.h"
#include "support/OutsideTree.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString WebDAV = QStringLiteral("1|http://127.0.0.1:8080/site");
const QString FTP = QStringLiteral("3|0|tester@127.0.0.1:2121|site");

class PublicationRecordsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(work.isValid());
        site = work.filePath(QStringLiteral("Site.lqxl"));
        ASSERT_TRUE(QDir().mkpath(site));
        folder = lq::ConfinedFolder::open(site);
        ASSERT_TRUE(folder);
    }
    QString record() const { return site + QStringLiteral("/lastbom.xmlbase"); }
    QString kept(const QString& destination) const
    {
        return site + QLatin1Char('/') + lq::keptRecordsFolder() + QLatin1Char('/') + lq::keptRecordName(destination);
    }
    // A record naming one file, as a publication stores it.
    QByteArray publish(const QString& file)
    {
        auto tree = XmlD::create();
        tree->setName(QStringLiteral("homepage"));
        tree->addFileMd5(file, QStringLiteral("0123"));
        EXPECT_TRUE(lq::writeLastXmlD(site, tree.get(), nullptr));
        return readAll(record());
    }

    QTemporaryDir work;
    QString site;
    std::shared_ptr<lq::ConfinedFolder> folder;
};

} // namespace

TEST_F(PublicationRecordsTest, EachDestinationFindsItsOwnRecordAgain)
{
    const QByteArray atWebDAV = publish(QStringLiteral("dav.html"));
    QString why;
    // The first FTP publication: none yet; WebDAV's waits, its owner's alone.
    EXPECT_FALSE(lq::switchPublicationRecord(*folder, WebDAV, FTP, &why));
    EXPECT_TRUE(why.isEmpty()) << why.toStdString();
    EXPECT_FALSE(QFileInfo::exists(record()));
    EXPECT_EQ(readAll(kept(WebDAV)), atWebDAV);
    EXPECT_EQ(unixMode(kept(WebDAV)), 0600);
    EXPECT_EQ(unixMode(site + QStringLiteral("/lastboms")), 0700);
    const QByteArray atFTP = publish(QStringLiteral("ftp.html"));

    // Back and forth: each comes back as it was, the name tells no account.
    EXPECT_TRUE(lq::switchPublicationRecord(*folder, FTP, WebDAV, &why));
    EXPECT_EQ(readAll(record()), atWebDAV);
    EXPECT_EQ(unixMode(record()), 0600);
    EXPECT_EQ(readAll(kept(FTP)), atFTP);
    EXPECT_FALSE(QFileInfo::exists(kept(WebDAV)));
    EXPECT_FALSE(lq::keptRecordName(FTP).contains(QStringLiteral("tester")));
    EXPECT_TRUE(lq::switchPublicationRecord(*folder, WebDAV, FTP, &why));
    EXPECT_EQ(readAll(record()), atFTP);
    EXPECT_EQ(readAll(kept(WebDAV)), atWebDAV);
    // Naming the same destination changes nothing.
    EXPECT_TRUE(lq::switchPublicationRecord(*folder, FTP, FTP, &why));
    EXPECT_EQ(readAll(record()), atFTP);
}

TEST_F(PublicationRecordsTest, ALinkInTheWayIsNeverFollowed)
{
    struct Case {
        const char* what;
        QString link;    // below the site folder
        QString target;  // in the outside folder
    };
    const QList<Case> cases = {
        { "the record is a link", QStringLiteral("lastbom.xmlbase"), QStringLiteral("secret.txt") },
        { "the records' folder is a link", QStringLiteral("lastboms"), QStringLiteral("inner") },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(site).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(site));
        folder = lq::ConfinedFolder::open(site);
        OutsideTree outside(work.filePath(QStringLiteral("outside")));
        if (c.link != QStringLiteral("lastbom.xmlbase"))
            publish(QStringLiteral("index.html"));
        ASSERT_TRUE(QFile::link(outside.filePath(c.target), site + QLatin1Char('/') + c.link));
        // What cannot be set aside goes: the next publication sends everything.
        QString why;
        EXPECT_FALSE(lq::switchPublicationRecord(*folder, WebDAV, FTP, &why));
        EXPECT_FALSE(QFileInfo::exists(record()) || QFileInfo(record()).isSymLink());
        // Coming back finds nothing through the link either.
        EXPECT_FALSE(lq::switchPublicationRecord(*folder, FTP, WebDAV, &why));
        EXPECT_FALSE(QFileInfo::exists(record()) || QFileInfo(record()).isSymLink());
        EXPECT_TRUE(outside.isUnchanged());
    }
}
