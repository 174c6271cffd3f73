#include "publish/XmlLocation.h"
#include "model/application/MyApplication.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

std::shared_ptr<XmlLocation> readBack(XmlLocation& location)
{
    return std::dynamic_pointer_cast<XmlLocation>(XmlBase::createWithXmlRootDir(location.createXml(), QString()));
}

} // namespace

TEST(XmlLocation, ANewDestinationWritesItsDefaultsInOrder)
{
    auto location = XmlLocation::create();
    const QString xml = location->createXml();
    const QStringList order { QStringLiteral(" location=\"\""), QStringLiteral(" username=\""), QStringLiteral(" password=\""),
        QStringLiteral(" serverType=\"0\""), QStringLiteral(" exportType=\"0\""),
        QStringLiteral(" exportFolder=\"") + XmlBase::escape(QDir::homePath()) + QLatin1Char('"'), QStringLiteral(" digest=\"0\""),
        QStringLiteral(" ftpApp=\"0\" ftpType=\"0\" ftpPort=\"\" ftpDefault=\"0\" ftpFolder=\"\"") };
    qsizetype at = 0;
    for (const QString& part : order) {
        const qsizetype found = xml.indexOf(part, at);
        ASSERT_GE(found, at) << part.toStdString() << " in " << xml.toStdString();
        at = found + part.size();
    }
    EXPECT_TRUE(xml.startsWith(QStringLiteral("<QZlocation ")));
    EXPECT_EQ(location->exportFolder(), QDir::homePath());
    EXPECT_FALSE(location->canYouBeMyParent(XmlLocation::create().get()));

    // The stored account is enciphered, and reads back as the empty texts.
    const auto again = readBack(*location);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->username(), QStringLiteral(""));
    EXPECT_EQ(again->password(), QStringLiteral(""));
}

TEST(XmlLocation, EveryFieldSurvivesAFileRoundTrip)
{
    QTemporaryDir dir;
    auto location = XmlLocation::create();
    location->setServerType(XmlLocation::FTPServer);
    location->setExportType(1);
    location->setLocation(QStringLiteral("ftp.example.org"));
    location->setUsername(QStringLiteral("bob"));
    location->setPassword(QStringLiteral("p:w"));
    location->setExportFolder(QStringLiteral("/srv/out <&>"));
    location->setDigest(1);
    location->setFtpApp(1);
    location->setFtpType(2);
    location->setFtpPort(QStringLiteral("2\"1"));
    location->setFtpDefault(0);
    location->setFtpFolder(QStringLiteral("a\"b&c"));
    const QString xml = location->createXml();
    EXPECT_FALSE(xml.contains(QStringLiteral("bob")));
    EXPECT_FALSE(xml.contains(QStringLiteral("p:w")));

    const QString path = dir.filePath(QStringLiteral("location.xmlbase"));
    ASSERT_TRUE(location->saveToFile(path));
    const auto again = std::dynamic_pointer_cast<XmlLocation>(XmlBase::createWithFile(path));
    ASSERT_TRUE(again);
    EXPECT_EQ(again->serverType(), 3);
    EXPECT_EQ(again->exportType(), 1);
    EXPECT_EQ(again->location(), QStringLiteral("ftp.example.org"));
    EXPECT_EQ(again->username(), QStringLiteral("bob"));
    EXPECT_EQ(again->password(), QStringLiteral("p:w"));
    EXPECT_EQ(again->exportFolder(), QStringLiteral("/srv/out <&>"));
    EXPECT_EQ(again->digest(), 1);
    EXPECT_EQ(again->ftpApp(), 1);
    EXPECT_EQ(again->ftpType(), 2);
    EXPECT_EQ(again->ftpPort(), QStringLiteral("2\"1"));
    EXPECT_EQ(again->ftpDefault(), 0);
    EXPECT_EQ(again->ftpFolder(), QStringLiteral("a\"b&c"));
}

TEST(XmlLocation, AttributesReadAsTheirKinds)
{
    auto location = XmlLocation::create();
    location->setAttributeTo(QStringLiteral("serverType"), QStringLiteral("x"));
    location->setAttributeTo(QStringLiteral("digest"), QStringLiteral("7"));
    location->setAttributeTo(QStringLiteral("username"), QStringLiteral("not a stored form"));
    location->setAttributeTo(QStringLiteral("password"), location->encodedUsername()); // the wrong key
    EXPECT_EQ(location->serverType(), 0);
    EXPECT_EQ(location->digest(), 7);
    EXPECT_EQ(location->username(), QStringLiteral(""));
    EXPECT_EQ(location->password(), QStringLiteral(""));
}

TEST(XmlLocation, PortAndBaseAddress)
{
    struct Case {
        int ftpDefault;
        QString port;
        QString expected;
    };
    for (const Case& c : { Case { 1, QStringLiteral("2121"), QStringLiteral("21") }, Case { 0, QString(), QStringLiteral("21") },
             Case { 0, QStringLiteral("2121"), QStringLiteral("2121") } }) {
        auto location = XmlLocation::create();
        location->setFtpDefault(c.ftpDefault);
        location->setFtpPort(c.port);
        EXPECT_EQ(location->effectiveFtpPort(), c.expected);
    }

    auto location = XmlLocation::create();
    location->setLocation(QStringLiteral("https://dav.example.org/site"));
    location->setServerType(XmlLocation::WebDAV);
    EXPECT_EQ(location->baseURL(), QStringLiteral("https://dav.example.org/site"));
    location->setServerType(XmlLocation::LocalFolder);
    EXPECT_EQ(location->baseURL(), QStringLiteral(""));
    location->setServerType(XmlLocation::FTPServer);
    EXPECT_EQ(location->baseURL(), QStringLiteral(""));
    location->setServerType(XmlLocation::MacAccount);
    EXPECT_EQ(location->baseURL(), QStringLiteral(""));
    location->setUsername(QStringLiteral("bob"));
    location->setLocation(QStringLiteral("travel"));
    // The .Mac service closed: without a configured host there is no address.
    MyApplication::shared().setMacHomePageHost(QString());
    EXPECT_EQ(location->baseURL(), QStringLiteral(""));
    MyApplication::shared().setMacHomePageHost(QStringLiteral("homepage.example.org"));
    EXPECT_EQ(location->baseURL(), QStringLiteral("http://homepage.example.org/bob/travel/"));
    location->setLocation(QString());
    EXPECT_EQ(location->baseURL(), QStringLiteral("http://homepage.example.org/bob/"));
    MyApplication::shared().setMacHomePageHost(QString());
}

TEST(XmlLocation, TransferHostTakesThePortField)
{
    struct Case {
        const char* server;
        const char* port;
        int ftpDefault;
        const char* host;
    };
    const Case cases[] = {
        {"127.0.0.1", "2121", 0, "127.0.0.1:2121"},
        {" ftp.example.org ", " 2121 ", 0, "ftp.example.org:2121"},
        {"127.0.0.1", "", 0, "127.0.0.1"},
        {"127.0.0.1", "2121", 1, "127.0.0.1"},
        // A port typed with the server wins.
        {"127.0.0.1:21", "2121", 0, "127.0.0.1:21"},
    };
    for (const Case& c : cases) {
        auto location = XmlLocation::create();
        location->setLocation(QString::fromUtf8(c.server));
        location->setFtpPort(QString::fromUtf8(c.port));
        location->setFtpDefault(c.ftpDefault);
        EXPECT_EQ(location->transferHost(), QString::fromUtf8(c.host)) << c.server << " " << c.port;
    }
}
