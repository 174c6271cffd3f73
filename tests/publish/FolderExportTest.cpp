#include "publish/FolderExport.h"
#include "publish/Publisher.h"
#include "publish/SendController.h"
#include "publish/XmlF.h"
#include "publish/XmlLocation.h"

#include "document/DocumentSiteBuilder.h"
#include "platform/Workspace.h"

#include "support/OutsideTree.h"
#include "support/Printers.h"
#include "support/PublishSite.h"
#include "support/RecordingPublishObserver.h"
#include "support/StarterSite.h"

#include <QDirIterator>

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

// Files in the destination named as the copy's temporary files once were
// are the user's: none is removed, none is written through. A link in the
// destination is never copied through: a link in a file's place is
// replaced, a folder's link stays and the files below it are said not to
// have arrived.
TEST_F(FolderExport, FilesNamedLikeTemporaryOnesStayAndNoCopyGoesThroughALink)
{
    const OutsideTree outside(site.dir.path() + QStringLiteral("/outside"));
    site.write(QStringLiteral("index.html"), "home");
    site.write(QStringLiteral("image1.jpg"), "published picture");
    site.write(QStringLiteral("pictures/image2.jpg"), "published picture 2");
    site.write(QStringLiteral("about.html"), "about");
    writeAll(destination() + QStringLiteral("/index.html.lqpart"), "the user's own, beside a page");
    writeAll(destination() + QStringLiteral("/old/gone.html.lqpart"), "the user's own, in a folder");
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
    EXPECT_EQ(readAll(destination() + QStringLiteral("/index.html.lqpart")), QByteArray("the user's own, beside a page"));
    EXPECT_EQ(readAll(destination() + QStringLiteral("/old/gone.html.lqpart")), QByteArray("the user's own, in a folder"));
    EXPECT_TRUE(QFileInfo(destination() + QStringLiteral("/about.html.lqpart")).isSymLink());
    // Nothing of the copy's own is left beside the files.
    EXPECT_EQ(QDir(destination()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot),
        QStringList({ QStringLiteral("about.html"), QStringLiteral("about.html.lqpart"), QStringLiteral("image1.jpg"),
            QStringLiteral("index.html"), QStringLiteral("index.html.lqpart"), QStringLiteral("notes.txt"), QStringLiteral("old"),
            QStringLiteral("pictures") }));
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

namespace {

// Every file below the folder (hidden ones too) with its bytes.
QMap<QString, QByteArray> filesWithBytes(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(folder).relativeFilePath(path), readAll(path));
    }
    return files;
}

// The starter site published to a folder by the publisher, over the
// document's own build and the uploader.
class FolderPublication : public StarterSiteTest {
protected:
    FolderPublication()
        : StarterSiteTest(QStringLiteral("Site.lqxl"))
    {
    }
    void SetUp() override
    {
        useBuiltHelperTools();
        StarterSiteTest::SetUp();
        lq::setOpenURLHandler([](const QUrl&) { return true; });
        publisher.setSiteBuilder(&builder);
        publisher.addObserver(&reports);
    }
    void TearDown() override { lq::setOpenURLHandler({}); }

    QString destination() const { return work.filePath(QStringLiteral("published")); }
    // A file among the user's own files of the site, which the build publishes.
    void writeSiteFile(const QString& path, const QByteArray& bytes) { writeAll(folder + QStringLiteral("/files/") + path, bytes); }

    // Publishes the changes; answers how the run ended.
    PublishObserver::Ending publish()
    {
        XmlLocation& where = *document.location();
        where.setServerType(XmlLocation::LocalFolder);
        where.setExportFolder(QUrl::fromLocalFile(destination()).toString());
        const qsizetype endings = reports.endings.size();
        publisher.publish(PublishRequest::fromLocation(where, homepage(), true));
        EXPECT_TRUE(reports.waitForEnding(endings)) << reports.story().toStdString();
        const PublishObserver::Ending ending = reports.endings.value(reports.endings.size() - 1);
        sender.cancel();
        return ending;
    }

    RecordingPublishObserver reports;
    SendController sender { &document };
    DocumentSiteBuilder builder { document };
    Publisher publisher { document, sender };
};

} // namespace

// Site files named as temporary files are named, beside the files they
// seem to belong to, in a folder, hidden: each is published, kept and
// deleted like any other, through three publications with an edit
// between; the user's own such files in the destination stay as they are.
TEST_F(FolderPublication, FilesNamedLikeTemporaryOnesArePublishedKeptAndDeletedLikeAnyOther)
{
    const QMap<QString, QByteArray> usersOwn = {
        { QStringLiteral("mine.lqpart"), "the user's own" },
        { QStringLiteral("files/mine too.lqpart"), "the user's own, among the site's files" },
        { QStringLiteral("index.html.lqpart"), "the user's own, beside a page" },
    };
    for (auto it = usersOwn.cbegin(); it != usersOwn.cend(); ++it)
        writeAll(destination() + QLatin1Char('/') + it.key(), it.value());
    struct Edit {
        const char* what;
        QList<std::pair<const char*, const char*>> written; // path below the site's files, and bytes ("" removes it)
    };
    const Edit edits[] = {
        { "first", { { "files/notes.lqpart", "notes" }, { "x", "x" }, { "x.lqpart", "x, part" }, { ".x.lqpart", "hidden part" },
                       { "files/x", "x in a folder" }, { "files/.x.lqpart", "hidden part in a folder" } } },
        { "each edited", { { "files/notes.lqpart", "notes, edited" }, { "x", "x, edited" }, { "x.lqpart", "x, part, edited" },
                             { ".x.lqpart", "hidden part, edited" }, { "files/.x.lqpart", "hidden part in a folder, edited" } } },
        { "some removed", { { "files/notes.lqpart", "" }, { ".x.lqpart", "" }, { "x", "x, edited again" } } },
    };
    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.what);
        for (const auto& [path, bytes] : edit.written) {
            if (*bytes)
                writeSiteFile(QString::fromUtf8(path), bytes);
            else
                ASSERT_TRUE(QFile::remove(folder + QStringLiteral("/files/") + QString::fromUtf8(path)));
        }
        const PublishObserver::Ending ending = publish();
        ASSERT_EQ(ending.outcome, PublishObserver::Outcome::Published) << ending.line.toStdString() << ending.detail.toStdString();
        // The destination holds the site, byte for byte, and the user's own files.
        QMap<QString, QByteArray> expected = filesWithBytes(homepage());
        for (const auto& [path, bytes] : edit.written)
            EXPECT_EQ(expected.value(QString::fromUtf8(path)), QByteArray(bytes)) << path << " is published as the site holds it";
        expected.insert(usersOwn);
        EXPECT_EQ(filesWithBytes(destination()), expected);
        // The record of the temporary files goes with the last of them.
        EXPECT_FALSE(QFileInfo::exists(folder + QLatin1Char('/') + lq::exportRecordName));
    }
}

// The record of temporary files comes with the site folder, which may come
// from anywhere: it is taken only for the folder this publication goes to,
// and only for names of the form the copy gives its temporary files.
TEST_F(FolderPublication, ARecordOfTemporaryFilesIsTakenOnlyForThisDestinationAndItsOwnNames)
{
    OutsideTree outside(work.filePath(QStringLiteral("outside")));
    outside.add(QStringLiteral("a.0123abcd.lqpart"), "outside");
    writeAll(destination() + QStringLiteral("/mine.lqpart"), "the user's own");
    writeAll(destination() + QStringLiteral("/notes.txt"), "the user's own notes");
    struct Case {
        const char* what;
        QString folder;
        QStringList paths;
    } cases[] = {
        { "another folder", outside.path(), { QStringLiteral("a.0123abcd.lqpart"), QStringLiteral("secret.txt") } },
        { "names of another form", destination(), { QStringLiteral("mine.lqpart"), QStringLiteral("notes.txt") } },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        auto record = XmlD::create();
        record->setName(test.folder);
        for (const QString& path : test.paths)
            record->addFileMd5(path, QStringLiteral(""));
        writeAll(folder + QLatin1Char('/') + lq::exportRecordName, record->createXml().toUtf8());
        const PublishObserver::Ending ending = publish();
        ASSERT_EQ(ending.outcome, PublishObserver::Outcome::Published) << ending.line.toStdString();
        EXPECT_TRUE(outside.isUnchanged());
        EXPECT_EQ(readAll(outside.filePath(QStringLiteral("a.0123abcd.lqpart"))), QByteArray("outside"));
        EXPECT_EQ(readAll(destination() + QStringLiteral("/mine.lqpart")), QByteArray("the user's own"));
        EXPECT_EQ(readAll(destination() + QStringLiteral("/notes.txt")), QByteArray("the user's own notes"));
        EXPECT_FALSE(QFileInfo::exists(folder + QLatin1Char('/') + lq::exportRecordName));
    }
}
