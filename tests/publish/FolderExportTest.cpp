#include "publish/FolderExport.h"
#include "publish/SendController.h"
#include "publish/XmlF.h"

#include "platform/Workspace.h"

#include "support/OutsideTree.h"
#include "support/Printers.h"
#include "support/PublishSite.h"

#include <QUrl>

#include <gtest/gtest.h>

namespace {

class FolderExport : public ::testing::Test {
protected:
    void SetUp() override
    {
        lq::setOpenURLHandler([this](const QUrl& url) {
            opened.append(url);
            return true;
        });
    }
    void TearDown() override { lq::setOpenURLHandler({}); }

    QString exportOnce()
    {
        std::shared_ptr<XmlD> current;
        auto bom = site.changes(&current);
        return lq::exportChangesToFolder(&site.document, bom.get(), current.get(), site.homepage(), destination());
    }
    QString destination() const { return site.dir.path() + QStringLiteral("/export"); }

    PublishSite site;
    QList<QUrl> opened;
};

} // namespace

TEST_F(FolderExport, CopiesAddsRemovesAndStoresTheTree)
{
    site.write(QStringLiteral("index.html"), "home");
    site.write(QStringLiteral("pictures/é ü.jpg"), "photo");
    site.write(QStringLiteral("old/gone.html"), "gone");
    EXPECT_EQ(exportOnce(), QString());
    EXPECT_EQ(filesBelow(destination()), filesBelow(site.homepage()));
    EXPECT_TRUE(sameFiles(site.homepage(), destination()));
    // The copy opens nothing itself: the folder road opens the site once it is told.
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(site.document.lastbom(), site.document.createXmlD(QString())->createXml());

    site.write(QStringLiteral("index.html"), "home, edited");
    QFile::remove(site.homepage() + QStringLiteral("/old/gone.html"));
    EXPECT_EQ(exportOnce(), QString());
    EXPECT_EQ(readAll(destination() + QStringLiteral("/index.html")), QByteArray("home, edited"));
    EXPECT_FALSE(QFileInfo::exists(destination() + QStringLiteral("/old/gone.html")));
    EXPECT_TRUE(QFileInfo(destination() + QStringLiteral("/old")).isDir());
    EXPECT_EQ(site.document.lastbom(), site.document.createXmlD(QString())->createXml());
}

TEST_F(FolderExport, FailuresAreReportedAndNotStored)
{
    site.write(QStringLiteral("index.html"), "home");
    site.write(QStringLiteral("about.html"), "about");
    // A folder where a file must go: that file cannot arrive.
    QDir().mkpath(destination() + QStringLiteral("/about.html/inside"));
    const QString error = exportOnce();
    EXPECT_TRUE(error.contains(QStringLiteral("about.html"))) << error.toStdString();
    EXPECT_EQ(lq::readLastXmlD(site.document.siteFolder)->filePaths(), QStringList({ QStringLiteral("index.html") }));

    // A destination that is a file: nothing is stored.
    QDir(destination()).removeRecursively();
    writeAll(destination(), "a file");
    QFile::remove(site.document.siteFolder + QStringLiteral("/lastbom.xmlbase"));
    EXPECT_EQ(exportOnce(), QStringLiteral("Destination folder:") + destination() + QStringLiteral(" is a file"));
    EXPECT_FALSE(QFileInfo::exists(site.document.siteFolder + QStringLiteral("/lastbom.xmlbase")));
}

// What an export killed in the middle left (files beside their places) is
// taken away by the next one; a link in the destination is never copied
// through: a link in a file's place is replaced, a folder's link stays and
// the files below it are said not to have arrived.
TEST_F(FolderExport, TheNextExportTakesAwayLeftoversAndNoCopyGoesThroughALink)
{
    const OutsideTree outside(site.dir.path() + QStringLiteral("/outside"));
    site.write(QStringLiteral("index.html"), "home");
    site.write(QStringLiteral("image1.jpg"), "published picture");
    site.write(QStringLiteral("pictures/image2.jpg"), "published picture 2");
    site.write(QStringLiteral("about.html"), "about");
    writeAll(destination() + QStringLiteral("/index.html.lqpart"), "half of an ");
    writeAll(destination() + QStringLiteral("/old/gone.html.lqpart"), "half");
    writeAll(destination() + QStringLiteral("/notes.txt"), "the user's own");
    ASSERT_TRUE(QFile::link(outside.filePath(QStringLiteral("image1.jpg")), destination() + QStringLiteral("/image1.jpg")));
    ASSERT_TRUE(QFile::link(outside.path(), destination() + QStringLiteral("/pictures")));
    ASSERT_TRUE(QFile::link(outside.filePath(QStringLiteral("secret.txt")), destination() + QStringLiteral("/about.html.lqpart")));

    const QString error = exportOnce();
    EXPECT_EQ(error, QStringLiteral("Could not copy: pictures/image2.jpg"));
    EXPECT_TRUE(outside.isUnchanged());
    EXPECT_EQ(readAll(destination() + QStringLiteral("/index.html")), QByteArray("home"));
    EXPECT_EQ(readAll(destination() + QStringLiteral("/about.html")), QByteArray("about"));
    const QFileInfo image(destination() + QStringLiteral("/image1.jpg"));
    EXPECT_TRUE(image.isFile() && !image.isSymLink());
    EXPECT_EQ(readAll(image.filePath()), QByteArray("published picture"));
    EXPECT_TRUE(QFileInfo(destination() + QStringLiteral("/pictures")).isSymLink());
    EXPECT_EQ(readAll(destination() + QStringLiteral("/notes.txt")), QByteArray("the user's own"));
    EXPECT_EQ(QDir(destination()).entryList({ QStringLiteral("*.lqpart") }, QDir::AllEntries | QDir::System | QDir::Hidden), QStringList());
    EXPECT_FALSE(QFileInfo::exists(destination() + QStringLiteral("/old/gone.html.lqpart")));
    // The picture that did not arrive is left out of the stored tree: the next export tries again.
    EXPECT_FALSE(lq::readLastXmlD(site.document.siteFolder)->filePaths().contains(QStringLiteral("pictures/image2.jpg")));
}

TEST(FolderExportDestination, HomeFolderAndExportFolder)
{
    EXPECT_EQ(lq::folderExportDestination(QStringLiteral("/Sites/mine")), QDir::homePath() + QStringLiteral("/Sites/mine"));
    EXPECT_EQ(lq::folderExportDestination(QDir::homePath() + QStringLiteral("/x")), QDir::homePath() + QStringLiteral("/x"));
}

TEST(PublishChanges, FailedListingSendsNothing)
{
    PublishSite site;
    site.write(QStringLiteral("index.html"), "home");
    site.write(QStringLiteral("old.html"), "old");
    std::shared_ptr<XmlD> current;
    std::shared_ptr<XmlD> last;
    QString error;
    auto bom = SendController::changesToPublish(&site.document, false, &current, &last, &error);
    ASSERT_TRUE(bom);
    site.document.setLastXmlD(current.get());

    // Everything: every file again, and only what the record names and
    // the site no longer makes is removed.
    QFile::remove(site.homepage() + QStringLiteral("/old.html"));
    bom = SendController::changesToPublish(&site.document, true, &current, &last, &error);
    ASSERT_TRUE(bom);
    EXPECT_EQ(bom->addFiles()->filePaths(), QStringList({ QStringLiteral("index.html") }));
    EXPECT_EQ(bom->removeFiles()->filePaths(), QStringList({ QStringLiteral("old.html") }));
    // With no record, nothing is removed.
    QFile::remove(site.document.siteFolder + QStringLiteral("/lastbom.xmlbase"));
    bom = SendController::changesToPublish(&site.document, true, &current, &last, &error);
    ASSERT_TRUE(bom);
    EXPECT_EQ(bom->addFiles()->filePaths(), QStringList({ QStringLiteral("index.html") }));
    EXPECT_EQ(bom->removeFiles()->fileCount(), 0);

    // Without the generated folder there is no change set, and so no removal.
    QDir(site.homepage()).removeRecursively();
    bom = SendController::changesToPublish(&site.document, false, &current, &last, &error);
    EXPECT_FALSE(bom);
    EXPECT_FALSE(error.isEmpty());
    SendController controller(&site.document);
    controller.showStartError(error);
    EXPECT_EQ(controller.status1(), QStringLiteral("The publication stopped"));
    EXPECT_EQ(controller.status2(), error);
    EXPECT_TRUE(controller.panelVisible());
    EXPECT_FALSE(controller.isRunning());
}
