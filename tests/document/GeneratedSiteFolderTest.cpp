#include "document/GeneratedSiteFolder.h"
#include "document/MyDocument.h"
#include "platform/ConfinedFolder.h"
#include "publish/DigestListing.h"
#include "publish/XmlD.h"
#include "publish/XmlF.h"

#include "support/MovableClock.h"
#include "support/SiteBuildRun.h"
#include "support/StarterSite.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

// What identifies a file on disk: a file that stayed the file it was keeps
// all of it.
struct DiskState {
    ino_t inode = 0;
    qint64 changed = 0;
    qint64 modified = 0;
    bool operator==(const DiskState&) const = default;
};

DiskState diskState(const QString& path)
{
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    return { status.st_ino, status.st_ctim.tv_sec * 1000000000LL + status.st_ctim.tv_nsec,
        status.st_mtim.tv_sec * 1000000000LL + status.st_mtim.tv_nsec };
}

// Every entry below the folder: "path/ mode" for a folder, "path mode
// bytes" for a file, "path -> target" for a link.
QStringList describeFolder(const QString& root)
{
    QStringList lines;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(root).relativeFilePath(path);
        const QString mode = QString::number(unixMode(path), 8);
        if (it.fileInfo().isSymLink())
            lines.append(relative + QStringLiteral(" -> ") + it.fileInfo().symLinkTarget());
        else if (it.fileInfo().isDir())
            lines.append(relative + QStringLiteral("/ ") + mode);
        else
            lines.append(relative + QLatin1Char(' ') + mode + QLatin1Char(' ') + QString::fromUtf8(readAll(path)));
    }
    lines.sort();
    return lines;
}

QMap<QString, DiskState> diskStates(const QString& root)
{
    QMap<QString, DiskState> states;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        states.insert(QDir(root).relativeFilePath(path), diskState(path));
    }
    return states;
}

void writeMode(const QString& path, const QByteArray& bytes, int mode)
{
    writeAll(path, bytes);
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), static_cast<mode_t>(mode)), 0);
}

class GeneratedSiteFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir().mkpath(site + QStringLiteral("/temp")));
        gateway = lq::ConfinedFolder::open(site);
        ASSERT_TRUE(gateway);
        folder = std::make_unique<GeneratedSiteFolder>(*gateway);
    }

    QString home(const QString& name = QString()) const { return site + QStringLiteral("/homepage/") + name; }
    QString lastBuild() const { return site + QLatin1Char('/') + GeneratedSiteFolder::lastBuild(); }
    QString newBuild() const { return site + QLatin1Char('/') + GeneratedSiteFolder::newBuild(); }

    QTemporaryDir dir;
    const QString site = dir.path() + QStringLiteral("/Site.lqxl");
    std::shared_ptr<lq::ConfinedFolder> gateway;
    std::unique_ptr<GeneratedSiteFolder> folder;
};

} // namespace

// After the build the folder holds exactly the new build; of the last
// build, only the files with the same bytes and permissions stay, as the
// very files they were.
TEST_F(GeneratedSiteFolderTest, HoldsExactlyTheNewBuildAndKeepsTheFilesThatDidNotChange)
{
    // The last build.
    writeAll(home(QStringLiteral("same.html")), "same");
    writeAll(home(QStringLiteral("changed.html")), "aaaa");
    writeAll(home(QStringLiteral("grown.html")), "a");
    writeMode(home(QStringLiteral("mode.txt")), "m", 0644);
    writeAll(home(QStringLiteral("gone.html")), "gone");
    writeAll(home(QStringLiteral("kind/inner.html")), "a folder before");
    writeAll(home(QStringLiteral("became-folder")), "a file before");
    writeAll(home(QStringLiteral("oldfolder/deep/x.jpg")), "old");
    writeAll(home(QStringLiteral("pictures/keep.jpg")), QByteArray(300000, 'k'));
    writeAll(home(QStringLiteral("pictures/tail.jpg")), QByteArray(300000, 't'));
    ASSERT_TRUE(QDir().mkpath(home(QStringLiteral("bitmaps"))));
    ASSERT_TRUE(QFile::link(dir.path() + QStringLiteral("/elsewhere"), home(QStringLiteral("link.html"))));
    const QMap<QString, DiskState> last = diskStates(home());

    folder->setAside();
    EXPECT_FALSE(QFileInfo::exists(home())) << "the build starts where nothing is";

    // The new build.
    writeAll(home(QStringLiteral("same.html")), "same");
    writeAll(home(QStringLiteral("changed.html")), "bbbb");
    writeAll(home(QStringLiteral("grown.html")), "ab");
    writeMode(home(QStringLiteral("mode.txt")), "m", 0600);
    writeAll(home(QStringLiteral("new.html")), "new");
    writeAll(home(QStringLiteral("kind")), "a file now");
    writeAll(home(QStringLiteral("became-folder/inner.txt")), "a folder now");
    writeAll(home(QStringLiteral("pictures/keep.jpg")), QByteArray(300000, 'k'));
    QByteArray tail(300000, 't');
    tail[299999] = 'u';
    writeAll(home(QStringLiteral("pictures/tail.jpg")), tail);
    writeAll(home(QStringLiteral("pictures/new/n.jpg")), "n");
    ASSERT_TRUE(QDir().mkpath(home(QStringLiteral("bitmaps"))));
    writeAll(home(QStringLiteral("link.html")), "a file in place of a link");
    const QStringList built = describeFolder(home());

    QString error;
    ASSERT_TRUE(folder->settle(&error)) << error.toStdString();
    EXPECT_EQ(describeFolder(home()), built);
    EXPECT_FALSE(QFileInfo::exists(lastBuild()));
    EXPECT_FALSE(QFileInfo::exists(newBuild()));
    const QMap<QString, DiskState> now = diskStates(home());
    QStringList stayed;
    for (auto it = now.begin(); it != now.end(); ++it)
        if (last.value(it.key()) == it.value())
            stayed.append(it.key());
    EXPECT_EQ(stayed, QStringList({ QStringLiteral("pictures/keep.jpg"), QStringLiteral("same.html") }));
}

// The first build of a site has nothing worth keeping: it stays as it was made.
TEST_F(GeneratedSiteFolderTest, TheFirstBuildStaysAsItWasMade)
{
    ASSERT_TRUE(QDir().mkpath(home(QStringLiteral("pictures"))));
    folder->setAside();
    writeAll(home(QStringLiteral("index.html")), "index");
    const DiskState made = diskState(home(QStringLiteral("index.html")));
    ASSERT_TRUE(folder->settle());
    EXPECT_EQ(diskState(home(QStringLiteral("index.html"))), made);
    EXPECT_EQ(describeFolder(home()), QStringList { QStringLiteral("index.html 644 index") });
    EXPECT_FALSE(QFileInfo::exists(lastBuild()));
}

// A build stopped before it was whole leaves the last whole build aside:
// the next build compares with that one, and the unfinished one goes.
TEST_F(GeneratedSiteFolderTest, AStoppedBuildKeepsTheLastWholeBuildAside)
{
    writeAll(home(QStringLiteral("a.html")), "whole");
    const DiskState whole = diskState(home(QStringLiteral("a.html")));
    folder->setAside();
    writeAll(home(QStringLiteral("b.html")), "unfinished");
    // What a stopped putting-in-place would have left.
    writeAll(newBuild() + QStringLiteral("/c.html"), "left over");

    folder->setAside();
    EXPECT_FALSE(QFileInfo::exists(home()));
    EXPECT_FALSE(QFileInfo::exists(newBuild()));
    EXPECT_EQ(readAll(lastBuild() + QStringLiteral("/a.html")), QByteArray("whole"));
    writeAll(home(QStringLiteral("a.html")), "whole");
    ASSERT_TRUE(folder->settle());
    EXPECT_EQ(describeFolder(home()), QStringList { QStringLiteral("a.html 644 whole") });
    EXPECT_EQ(diskState(home(QStringLiteral("a.html"))), whole);
}

namespace {

// A site made from the starter archive, built the way an export builds it.
class RebuiltSiteTest : public StarterSiteTest {
protected:
    RebuiltSiteTest()
        : StarterSiteTest(QStringLiteral("Rebuilt.lqxl"))
    {
    }

    void SetUp() override
    {
        qputenv("LUMENQUILL_LIBEXEC", QByteArray(LQ_TEST_LIBEXEC));
        StarterSiteTest::SetUp();
    }

    void exportSite()
    {
        SiteBuildRun run(document);
        ASSERT_TRUE(run.wait()) << run.why.toStdString();
        ASSERT_FALSE(document.activityText().contains(QStringLiteral("ERROR"))) << document.activityText().toStdString();
    }

    // The tree the program lists for publishing, checked against the listing tool's.
    std::shared_ptr<XmlD> listed()
    {
        std::shared_ptr<XmlD> tree = document.createXmlD(QString());
        std::shared_ptr<XmlD> byTool = lq::createXmlD(homepage());
        EXPECT_TRUE(tree && byTool);
        if (tree && byTool) {
            EXPECT_EQ(tree->createXml(), byTool->createXml());
        }
        return tree;
    }

    // How many files listing the generated site again reads, with the cache the document keeps.
    int digestedByTheNextListing()
    {
        lq::ListingReport report;
        EXPECT_TRUE(lq::createXmlDWithCache(homepage(), folder + QLatin1Char('/') + MyDocument::generatedSiteDigests, nullptr, &report));
        return report.digested;
    }

    // Lets the files written so far grow older than the next listing's start
    // by more than the steps of the file system's clock.
    void letTimePass() { listingClock.letTimePass(); }

    MovableClock listingClock;
};

} // namespace

// Exporting a site again makes every file afresh; the files whose bytes
// did not change stay the files they were, so listing the site for
// publishing reads none of them again, and every change is still listed.
TEST_F(RebuiltSiteTest, AnUnchangedSiteIsListedWithoutReadingItAgainAndEveryChangeIsListed)
{
    addPage(home(), 2, QStringLiteral("Notes"));
    const std::shared_ptr<XmlAlbum> leaving = addPage(home(), 2, QStringLiteral("Leaving"));
    const std::shared_ptr<XmlAlbum> album = addPage(home(), 1, QStringLiteral("Photos"));
    for (int i = 0; i < 3; ++i) {
        const QString source = work.filePath(QStringLiteral("in%1.jpg").arg(i));
        writeAll(source, jpegBytes(800, 600, QColor::fromHsv(80 * i, 200, 200), 80));
        ASSERT_NE(album->importPhotoIndexCaption(source, -1, QStringLiteral("Photo %1").arg(i)), nullptr);
    }
    writeAll(folder + QStringLiteral("/files/a.txt"), "my own file\n");
    ASSERT_NO_FATAL_FAILURE(exportSite());
    letTimePass();
    ASSERT_TRUE(listed());
    const QMap<QString, DiskState> first = diskStates(homepage());
    const QMap<QString, QByteArray> bytes = generated();
    ASSERT_GT(first.size(), 10);

    ASSERT_NO_FATAL_FAILURE(exportSite());
    EXPECT_EQ(generated(), bytes);
    EXPECT_EQ(diskStates(homepage()), first) << "every file is the file it was";
    EXPECT_EQ(digestedByTheNextListing(), 0);

    // The user's file edited and a page removed.
    writeAll(folder + QStringLiteral("/files/a.txt"), "edited\n");
    const QString leftFile = leaving->fileName();
    home().removeChild(leaving.get());
    ASSERT_NO_FATAL_FAILURE(exportSite());
    EXPECT_FALSE(QFileInfo::exists(homepage(leftFile))) << "nothing of the last build is left behind";
    std::shared_ptr<XmlD> tree = listed();
    ASSERT_TRUE(tree);
    ASSERT_TRUE(tree->fileNamed(QStringLiteral("a.txt")));
    EXPECT_EQ(tree->fileNamed(QStringLiteral("a.txt"))->md5(),
        QString::fromLatin1(QCryptographicHash::hash("edited\n", QCryptographicHash::Md5).toHex()));
    EXPECT_FALSE(tree->fileNamed(leftFile));
    const QMap<QString, DiskState> third = diskStates(homepage());
    EXPECT_NE(third.value(QStringLiteral("a.txt")), first.value(QStringLiteral("a.txt")));
    EXPECT_EQ(third.value(QStringLiteral("lumenquill.js")), first.value(QStringLiteral("lumenquill.js")));
}
