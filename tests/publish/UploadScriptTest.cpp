#include "publish/UploadScript.h"
#include "publish/XmlBom.h"
#include "publish/XmlLocation.h"

#include "support/Printers.h"

#include <gtest/gtest.h>

namespace {

std::shared_ptr<XmlBom> changeSet()
{
    auto bom = XmlBom::create();
    auto add = XmlD::create();
    add->addFileMd5(QStringLiteral("index.html"), QStringLiteral("1"));
    add->addFileMd5(QStringLiteral("pictures/say \"hi\".jpg"), QStringLiteral("2"));
    auto remove = XmlD::create();
    remove->addFileMd5(QStringLiteral("old/gone.html"), QStringLiteral("3"));
    bom->setAddFiles(add);
    bom->setRemoveFiles(remove);
    return bom;
}

std::shared_ptr<XmlLocation> location(int app, int defaultPort, const QString& port, const QString& folder)
{
    auto location = XmlLocation::create();
    location->setLocation(QStringLiteral("ftp.example.com"));
    location->setUsername(QStringLiteral("me"));
    location->setPassword(QStringLiteral("pw"));
    location->setFtpApp(app);
    location->setFtpDefault(defaultPort);
    location->setFtpPort(port);
    location->setFtpFolder(folder);
    return location;
}

} // namespace

TEST(UploadScript, TransmitWithDefaultPort)
{
    auto bom = changeSet();
    const QString script = lq::uploadScriptText(location(0, 1, QStringLiteral("2121"), QStringLiteral("www")).get(), bom.get(), QStringLiteral("/s"));
    EXPECT_EQ(script,
        QStringLiteral("set theServer to \"ftp.example.com\"\nset theUser to \"me\"\nset thePassword to \"pw\"\n"
                       "set theUploadFolder to \"www\"\nset thePort to \"21\"\nset theProtocol to \"FTP\"\n\n"
                       "tell application \"Transmit\"\nset SuppressAppleScriptAlerts to true\nset theDoc to (make new document at end)\n"
                       "tell current session of theDoc\n"
                       "if (connect to theServer as user theUser with password thePassword with connection type theProtocol) then\n"
                       "create remote folder named theUploadFolder\nif (set their stuff to theUploadFolder) then\n"
                       "create remote folder named \"bitmaps\"\ncreate remote folder named \"pictures\"\n"
                       "if (set their stuff to \"/www/old\") then\ndelete remote item \"gone.html\"\nend if\nset their stuff to \"/www\"\n"
                       "upload item \"/s/homepage/index.html\" with resume mode replace\n"
                       "create remote folder named \"pictures\"\nif (set their stuff to \"/www/pictures\") then\n"
                       "upload item \"/s/homepage/pictures/say \\\"hi\\\".jpg\" with resume mode replace\nend if\nset their stuff to \"/www\"\n"
                       "end if\nend if\ndisconnect\nend tell\nend tell\n"));
}

TEST(UploadScript, CyberduckPortsAndFolders)
{
    auto bom = changeSet();
    const QString custom = lq::uploadScriptText(location(1, 0, QString(), QString()).get(), bom.get(), QStringLiteral("/s"));
    EXPECT_TRUE(custom.contains(QStringLiteral("set thePort to \"21\"\n")));
    EXPECT_TRUE(custom.contains(QStringLiteral("with password thePassword with port thePort\n")));
    EXPECT_FALSE(custom.contains(QStringLiteral("theUploadFolder\n")));
    EXPECT_TRUE(custom.contains(QStringLiteral("change folder to \"old\"\nif (exists file \"gone.html\") then\ndelete file \"gone.html\"\nend if\nchange folder to \"..\"\n")));
    EXPECT_TRUE(custom.contains(QStringLiteral("upload file \"/s/homepage/pictures/say \\\"hi\\\".jpg\" to \"//pictures\"\n")));
    EXPECT_TRUE(custom.endsWith(QStringLiteral("display dialog error_message\nend try\nend tell\n")));
    const QString other = lq::uploadScriptText(location(2, 0, QStringLiteral("99"), QStringLiteral("x")).get(), bom.get(), QStringLiteral("/s"));
    EXPECT_EQ(other, QStringLiteral("set theServer to \"ftp.example.com\"\nset theUser to \"me\"\nset thePassword to \"pw\"\n"
                                    "set theUploadFolder to \"x\"\nset thePort to \"99\"\n"));
}
