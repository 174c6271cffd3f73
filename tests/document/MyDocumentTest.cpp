#include "document/MyDocument.h"
#include "document/RevertController.h"
#include "model/core/ElementFiles.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "platform/FileHelpers.h"
#include "platform/Process.h"
#include "platform/Zip.h"
#include "publish/XmlD.h"
#include "publish/XmlLocation.h"
#include "support/EventLoop.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QStringList fourFiles { QStringLiteral("site.xmlbase"), QStringLiteral("theme.xmlbase"), QStringLiteral("location.xmlbase"),
    QStringLiteral("rss.xmlbase") };

QStringList snapshots(const QString& folder)
{
    return QDir(folder + QStringLiteral("/revert")).entryList(QDir::Files, QDir::Name);
}

// A site document made from a starter archive the test writes itself.
class MyDocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(work.isValid());
        const QString starter = work.filePath(QStringLiteral("starter"));
        ASSERT_TRUE(QDir().mkpath(starter));
        auto site = XmlSite::create();
        site->newDocument();
        site->setDisableImageWell(1);
        ASSERT_TRUE(lq::saveToFile(*site, starter + QStringLiteral("/site.xmlbase")));
        ASSERT_TRUE(lq::saveToFile(*XmlTheme::create(), starter + QStringLiteral("/theme.xmlbase")));
        archive = work.filePath(QStringLiteral("default.qvzip"));
        ASSERT_TRUE(lq::zipAdd(archive, starter, QStringLiteral("site.xmlbase"), false));
        ASSERT_TRUE(lq::zipAdd(archive, starter, QStringLiteral("theme.xmlbase"), false));
        folder = work.filePath(QStringLiteral("My Site.lqxl"));
        // Each save one minute after the one before: no two in one second.
        document.setNow([this] { return clock = clock.addSecs(60); });
    }

    void makeNew() { ASSERT_TRUE(document.newDocumentFromArchive(folder, archive)) << document.lastError().toStdString(); }

    // Real snapshot archives dated one day apart, oldest first, with comments where given.
    void makeSnapshots(int count, const QHash<int, QString>& comments = {})
    {
        QDir(folder + QStringLiteral("/revert")).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/revert")));
        const QDateTime first(QDate(2020, 1, 1), QTime(13, 0, 0));
        for (int i = 0; i < count; ++i) {
            const QString path = folder + QStringLiteral("/revert/") + MyDocument::snapshotName(first.addDays(i)) + QStringLiteral(".qvzip");
            ASSERT_TRUE(lq::zipAdd(path, folder, QStringLiteral("site.xmlbase"), false));
            if (comments.contains(i)) {
                ASSERT_TRUE(lq::setZipComment(path, comments.value(i)));
            }
        }
    }

    QTemporaryDir work;
    QString archive;
    QString folder;
    QDateTime clock { QDate(2026, 12, 7), QTime(23, 0, 0) };
    MyDocument document;
};

} // namespace

TEST(MyDocumentNames, SnapshotNamesAreEnglishTwelveHourDates)
{
    EXPECT_EQ(MyDocument::snapshotName(QDateTime(QDate(2026, 12, 7), QTime(23, 29, 17))), QStringLiteral("Mon Dec 07,2026 11_29_17 PM"));
    EXPECT_EQ(MyDocument::snapshotName(QDateTime(QDate(2026, 3, 1), QTime(0, 5, 9))), QStringLiteral("Sun Mar 01,2026 12_05_09 AM"));
}

TEST_F(MyDocumentTest, ANewSiteHasItsFilesFoldersAndFirstSnapshot)
{
    makeNew();
    for (const QString& name : fourFiles)
        EXPECT_TRUE(QFileInfo(folder + QLatin1Char('/') + name).isFile()) << name.toStdString();
    for (const char* name : { "pictures", "temp", "bitmaps2", "revert", "homepage/pictures", "homepage/bitmaps", "files" })
        EXPECT_TRUE(QFileInfo(folder + QLatin1Char('/') + QLatin1String(name)).isDir()) << name;
    const QStringList first = snapshots(folder);
    ASSERT_EQ(first.size(), 1);
    static const QRegularExpression dated(QStringLiteral(
        "^(Mon|Tue|Wed|Thu|Fri|Sat|Sun) (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) [0-3][0-9],[0-9]{4} (0[1-9]|1[0-2])_[0-5][0-9]_[0-5][0-9] (AM|PM)\\.qvzip$"));
    EXPECT_TRUE(dated.match(first.first()).hasMatch()) << first.first().toStdString();
    EXPECT_EQ(document.fileName(), folder);
    EXPECT_FALSE(document.isDocumentEdited());
    EXPECT_EQ(document.site()->disableImageWell(), 1);
    // A new site publishes to a folder until a server is chosen.
    EXPECT_EQ(document.location()->serverType(), XmlLocation::LocalFolder);

    // A save with a comment makes a newer snapshot that carries it.
    document.site()->setDisableImageWell(0);
    EXPECT_TRUE(document.isDocumentEdited());
    ASSERT_TRUE(document.saveFileWithComment(folder, QStringLiteral("hello")));
    EXPECT_FALSE(document.isDocumentEdited());
    const QStringList both = snapshots(folder);
    ASSERT_EQ(both.size(), 2);
    const QString newest = folder + QStringLiteral("/revert/") + MyDocument::snapshotName(clock) + QStringLiteral(".qvzip");
    ASSERT_TRUE(both.contains(QFileInfo(newest).fileName()));
    const lq::ProcessResult comment = lq::runProcess(QStringLiteral("/usr/bin/unzip"), { QStringLiteral("-z"), newest });
    ASSERT_TRUE(comment.succeeded());
    EXPECT_TRUE(QString::fromUtf8(comment.output).split(QLatin1Char('\n')).contains(QStringLiteral("hello")))
        << comment.output.toStdString();
    // It holds the site as saved, the theme, the theme bitmaps and its place
    // in the order of snapshots: the second.
    const lq::ProcessResult listing = lq::runProcess(QStringLiteral("/usr/bin/unzip"), { QStringLiteral("-Z1"), newest });
    EXPECT_EQ(QString::fromUtf8(listing.output).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
        (QStringList { QStringLiteral("site.xmlbase"), QStringLiteral("theme.xmlbase"), QStringLiteral("bitmaps2/"), QStringLiteral("sequence-2") }));
}

TEST_F(MyDocumentTest, TheDocumentsFilesAndSnapshotsAreItsOwnersAlone)
{
    makeNew();
    const auto expectPrivate = [&](const char* when) {
        EXPECT_EQ(unixMode(folder), 0700) << when;
        EXPECT_EQ(unixMode(folder + QStringLiteral("/revert")), 0700) << when;
        for (const QString& name : fourFiles)
            EXPECT_EQ(unixMode(folder + QLatin1Char('/') + name), 0600) << when << ": " << name.toStdString();
        for (const QString& snapshot : snapshots(folder))
            EXPECT_EQ(unixMode(folder + QStringLiteral("/revert/") + snapshot), 0600) << when << ": " << snapshot.toStdString();
    };
    expectPrivate("a new site");

    // A document of an older release, readable by everyone, is private after its next save.
    for (const QString& name : fourFiles)
        ASSERT_TRUE(QFile::setPermissions(folder + QLatin1Char('/') + name, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
    const QFile::Permissions open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
        | QFile::ReadOther | QFile::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(folder, open));
    ASSERT_TRUE(QFile::setPermissions(folder + QStringLiteral("/revert"), open));
    MyDocument older;
    ASSERT_TRUE(older.readFromFile(folder));
    older.setNow([this] { return clock = clock.addSecs(60); });
    older.location()->setPassword(QStringLiteral("the destination's password"));
    ASSERT_TRUE(older.saveFileWithComment(folder, QStringLiteral("private now")));
    expectPrivate("a save");
    EXPECT_EQ(snapshots(folder).size(), 2);

    // What was last published is the document's too.
    auto published = XmlD::create();
    published->setName(QStringLiteral("homepage"));
    older.setLastXmlD(published.get());
    EXPECT_EQ(unixMode(folder + QStringLiteral("/lastbom.xmlbase")), 0600);
}

TEST_F(MyDocumentTest, ANewSiteNeverOverwritesWhatIsThere)
{
    writeAll(folder + QStringLiteral("/keep.txt"), "mine");
    EXPECT_FALSE(document.newDocumentFromArchive(folder, archive));
    EXPECT_FALSE(document.lastError().isEmpty());
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList { QStringLiteral("keep.txt") });
    EXPECT_EQ(document.site(), nullptr);
}

TEST_F(MyDocumentTest, OpenReadsTheFourTreesAndKeepsTheFiftyNewestSnapshots)
{
    makeNew();
    document.location()->setUsername(QStringLiteral("bob"));
    document.location()->setPassword(QStringLiteral("p:w"));
    ASSERT_TRUE(document.writeWithBackupToFile(folder));
    makeSnapshots(53);
    QDir(folder + QStringLiteral("/temp")).removeRecursively();

    MyDocument reopened;
    ASSERT_TRUE(reopened.readFromFile(folder));
    EXPECT_FALSE(reopened.isDocumentEdited());
    EXPECT_EQ(reopened.fileName(), folder);
    EXPECT_EQ(reopened.site()->disableImageWell(), 1);
    EXPECT_EQ(reopened.location()->username(), QStringLiteral("bob"));
    EXPECT_EQ(reopened.location()->password(), QStringLiteral("p:w"));
    EXPECT_TRUE(reopened.siteNeedsRebuild()); // the caches were gone
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/temp")).isDir());
    EXPECT_EQ(reopened.location()->serverType(), XmlLocation::LocalFolder);
    const QStringList kept = snapshots(folder);
    ASSERT_EQ(kept.size(), 50);
    const QDateTime first(QDate(2020, 1, 1), QTime(13, 0, 0));
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(kept.contains(MyDocument::snapshotName(first.addDays(i)) + QStringLiteral(".qvzip"))) << i;
    EXPECT_TRUE(kept.contains(MyDocument::snapshotName(first.addDays(3)) + QStringLiteral(".qvzip")));
}

TEST_F(MyDocumentTest, AStoredDestinationKeepsItsTypeOrTheDefault)
{
    makeNew();
    struct Case {
        const char* stored;
        int serverType;
    };
    const Case cases[] = {
        {"<QZlocation serverType=\"3\"/>", XmlLocation::FTPServer},
        {"<QZlocation location=\"travel\"/>", XmlLocation::MacAccount},
    };
    for (const Case& c : cases) {
        writeAll(folder + QStringLiteral("/location.xmlbase"), c.stored);
        MyDocument reopened;
        ASSERT_TRUE(reopened.readFromFile(folder));
        EXPECT_EQ(reopened.location()->serverType(), c.serverType) << c.stored;
    }
}

TEST_F(MyDocumentTest, TheVersionListTrimsUncommentedSnapshotsBeyondTwenty)
{
    makeNew();
    // Newest first, the 21st and 23rd carry comments: indexes 4 and 2 oldest first.
    makeSnapshots(25, { { 4, QStringLiteral("keep me") }, { 2, QStringLiteral("and me") } });
    RevertController versions(&document);
    versions.refreshFiles();
    EXPECT_EQ(versions.numberOfRows(), 25);
    EXPECT_TRUE(versions.statusVisible());
    const QDateTime first(QDate(2020, 1, 1), QTime(13, 0, 0));
    EXPECT_EQ(versions.objectValue(QStringLiteral("name"), 0), MyDocument::snapshotName(first.addDays(24)).replace(QLatin1Char('_'), QLatin1Char(':')));
    EXPECT_EQ(versions.objectValue(QStringLiteral("comment"), 20), QStringLiteral("keep me"));
    EXPECT_TRUE(versions.shouldEditColumn(QStringLiteral("comment")));
    EXPECT_FALSE(versions.shouldEditColumn(QStringLiteral("name")));

    ASSERT_TRUE(processEventsUntil([&] { return !versions.statusVisible(); }));
    EXPECT_EQ(versions.numberOfRows(), 22);
    EXPECT_EQ(snapshots(folder).size(), 22);
    for (int gone : { 0, 1, 3 })
        EXPECT_FALSE(snapshots(folder).contains(MyDocument::snapshotName(first.addDays(gone)) + QStringLiteral(".qvzip"))) << gone;

    // Twenty or fewer: nothing to trim.
    makeSnapshots(20);
    versions.refreshFiles();
    EXPECT_FALSE(versions.statusVisible());
    EXPECT_EQ(versions.numberOfRows(), 20);
    EXPECT_FALSE(versions.revert(-1));
}

TEST_F(MyDocumentTest, AFailedSaveAnswersNoAndKeepsTheOldFilesWhole)
{
    makeNew();
    const QByteArray savedSite = readAll(folder + QStringLiteral("/site.xmlbase"));
    const int before = snapshots(folder).size();
    document.site()->setDisableImageWell(0);

    // Something the program cannot replace stands in the way of one file.
    ASSERT_TRUE(QFile::remove(folder + QStringLiteral("/location.xmlbase")));
    writeAll(folder + QStringLiteral("/location.xmlbase/inside"), "x");
    EXPECT_FALSE(document.saveFileWithComment(folder, QStringLiteral("should not be claimed")));
    EXPECT_TRUE(document.isDocumentEdited());
    EXPECT_TRUE(document.lastError().contains(QStringLiteral("location.xmlbase"))) << document.lastError().toStdString();
    EXPECT_EQ(readAll(folder + QStringLiteral("/site.xmlbase")), savedSite);
    EXPECT_EQ(snapshots(folder).size(), before);
    QDir(folder + QStringLiteral("/location.xmlbase")).removeRecursively();
}

TEST_F(MyDocumentTest, ASaveOntoAReadOnlyFolderAnswersNo)
{
    makeNew();
    const QByteArray savedSite = readAll(folder + QStringLiteral("/site.xmlbase"));
    const QByteArray savedTheme = readAll(folder + QStringLiteral("/theme.xmlbase"));
    document.site()->setDisableImageWell(0);
    const QFile::Permissions writable = QFileInfo(folder).permissions();
    ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    const bool stillWritable = QFile(folder + QStringLiteral("/probe")).open(QIODevice::WriteOnly);
    if (stillWritable) {
        QFile::remove(folder + QStringLiteral("/probe"));
        QFile::setPermissions(folder, writable);
        GTEST_SKIP() << "permissions do not hold for this user";
    }
    const bool saved = document.saveFileWithComment(folder, QString());
    QFile::setPermissions(folder, writable);
    EXPECT_FALSE(saved);
    EXPECT_TRUE(document.isDocumentEdited());
    EXPECT_FALSE(document.lastError().isEmpty());
    EXPECT_EQ(readAll(folder + QStringLiteral("/site.xmlbase")), savedSite);
    EXPECT_EQ(readAll(folder + QStringLiteral("/theme.xmlbase")), savedTheme);
}

TEST_F(MyDocumentTest, SaveAsMovesTheDocumentAndNeverOverwrites)
{
    makeNew();
    const QString taken = work.filePath(QStringLiteral("Taken.lqxl"));
    writeAll(taken + QStringLiteral("/site.xmlbase"), "other");
    EXPECT_FALSE(document.saveAs(taken));
    EXPECT_EQ(readAll(taken + QStringLiteral("/site.xmlbase")), QByteArray("other"));
    EXPECT_EQ(document.fileName(), folder);

    const QByteArray oldSite = readAll(folder + QStringLiteral("/site.xmlbase"));
    document.site()->setDisableImageWell(0);
    const QString moved = work.filePath(QStringLiteral("Moved.lqxl"));
    ASSERT_TRUE(document.saveAs(moved)) << document.lastError().toStdString();
    EXPECT_EQ(document.fileName(), moved);
    EXPECT_FALSE(document.isDocumentEdited());
    EXPECT_EQ(readAll(folder + QStringLiteral("/site.xmlbase")), oldSite);
    EXPECT_TRUE(readAll(moved + QStringLiteral("/site.xmlbase")).contains("disableImageWell=\"0\""));
    EXPECT_EQ(snapshots(moved).size(), 2);
}

TEST_F(MyDocumentTest, RevertTakesTheSnapshotAndMovesThePictureCounterPastThePictures)
{
    makeNew();
    const QString first = folder + QStringLiteral("/revert/") + snapshots(folder).first();
    document.site()->setDisableImageWell(0);
    ASSERT_TRUE(document.writeWithBackupToFile(folder));
    writeAll(folder + QStringLiteral("/pictures/image7.jpg"), "picture");
    writeAll(folder + QStringLiteral("/pictures/image12.png"), "not a stored picture");

    ASSERT_TRUE(document.revertFromFile(first));
    EXPECT_EQ(document.site()->disableImageWell(), 1);
    EXPECT_EQ(document.site()->imageSeqTest(), 8);
    EXPECT_EQ(document.currentType(), 0);
    EXPECT_EQ(document.currentObject(), document.site()->homepage()->UUID());

    // A snapshot without a theme leaves the trees as they are.
    const QString partial = work.filePath(QStringLiteral("partial.qvzip"));
    ASSERT_TRUE(lq::zipAdd(partial, folder, QStringLiteral("site.xmlbase"), false));
    XmlSite* before = document.site();
    EXPECT_FALSE(document.revertFromFile(partial));
    EXPECT_EQ(document.site(), before);
}

namespace {

// An archive of the given files (paths relative to a staging folder).
QString snapshotOf(const QString& where, const QString& name, const QHash<QString, QByteArray>& files)
{
    const QString staging = where + QLatin1Char('/') + name + QStringLiteral("-files");
    for (auto it = files.begin(); it != files.end(); ++it)
        writeAll(staging + QLatin1Char('/') + it.key(), it.value());
    const QString archive = where + QLatin1Char('/') + name + QStringLiteral(".qvzip");
    for (const QString& entry : QDir(staging).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
        EXPECT_TRUE(lq::zipAdd(archive, staging, entry, true)) << entry.toStdString();
    return archive;
}

// Every entry of the folder with its bytes (folders with none).
QMap<QString, QByteArray> contentsOf(const QString& folder)
{
    QMap<QString, QByteArray> contents;
    for (const QString& entry : lq::folderEntries(folder, true))
        contents.insert(entry, QFileInfo(folder + QLatin1Char('/') + entry).isDir() ? QByteArray() : readAll(folder + QLatin1Char('/') + entry));
    return contents;
}

QByteArray siteWithPages(int pages)
{
    auto site = XmlSite::create();
    site->newDocument();
    for (int i = 0; i < pages; ++i) {
        auto page = XmlAlbum::create();
        site->homepage()->addChild(page);
        page->newDocument();
    }
    return site->createXml().toUtf8();
}

} // namespace

TEST_F(MyDocumentTest, ARefusedSnapshotLeavesTheDocumentAndItsFolderAsTheyWere)
{
    makeNew();
    for (int i = 0; i < 5; ++i) {
        auto page = XmlAlbum::create();
        document.site()->homepage()->addChild(page);
        page->newDocument();
    }
    ASSERT_TRUE(document.writeWithBackupToFile(folder));
    const int pages = int(document.webItems().size());
    const QByteArray theme = XmlTheme::create()->createXml().toUtf8();
    QByteArray notUtf8 = siteWithPages(1);
    notUtf8.insert(10, "\xff\xfe");

    struct Case {
        const char* what;
        QHash<QString, QByteArray> files;
    };
    const std::vector<Case> cases {
        { "only a site", { { QStringLiteral("site.xmlbase"), siteWithPages(1) } } },
        { "a site that is no UTF-8", { { QStringLiteral("site.xmlbase"), notUtf8 }, { QStringLiteral("theme.xmlbase"), theme } } },
        { "a theme in the place of the site", { { QStringLiteral("site.xmlbase"), theme }, { QStringLiteral("theme.xmlbase"), theme } } },
        { "a site and theme only below a folder",
            { { QStringLiteral("sub/site.xmlbase"), siteWithPages(1) }, { QStringLiteral("sub/theme.xmlbase"), theme },
                { QStringLiteral("location.xmlbase"), "<QZlocation serverType=\"1\" location=\"evil.example\"/>" } } },
    };
    for (const Case& c : cases) {
        const QMap<QString, QByteArray> before = contentsOf(folder);
        XmlSite* site = document.site();
        const QString snapshot = snapshotOf(work.path(), QString::fromLatin1(c.what).replace(QLatin1Char(' '), QLatin1Char('-')), c.files);
        EXPECT_FALSE(document.revertFromFile(snapshot)) << c.what;
        EXPECT_FALSE(document.lastError().isEmpty()) << c.what;
        EXPECT_EQ(document.site(), site) << c.what;
        EXPECT_EQ(contentsOf(folder), before) << c.what;
    }
    // Not an archive at all.
    writeAll(work.filePath(QStringLiteral("broken.qvzip")), "PK but nothing more");
    const QMap<QString, QByteArray> before = contentsOf(folder);
    EXPECT_FALSE(document.revertFromFile(work.filePath(QStringLiteral("broken.qvzip"))));
    EXPECT_EQ(contentsOf(folder), before);

    // The folder still opens with every page.
    MyDocument reopened;
    ASSERT_TRUE(reopened.readFromFile(folder));
    EXPECT_EQ(reopened.webItems().size(), pages);
}

TEST_F(MyDocumentTest, ARevertTakesOnlyTheDocumentsOwnFilesFromTheSnapshot)
{
    makeNew();
    document.location()->setLocation(QStringLiteral("mine.example/site"));
    ASSERT_TRUE(document.writeWithBackupToFile(folder));
    const QByteArray location = readAll(folder + QStringLiteral("/location.xmlbase"));
    const QByteArray feed = readAll(folder + QStringLiteral("/rss.xmlbase"));
    const QString snapshot = snapshotOf(work.path(), QStringLiteral("hostile"),
        { { QStringLiteral("site.xmlbase"), siteWithPages(2) }, { QStringLiteral("theme.xmlbase"), XmlTheme::create()->createXml().toUtf8() },
            { QStringLiteral("bitmaps2/00000000000000A1.png"), "picture" },
            { QStringLiteral("location.xmlbase"), "<QZlocation serverType=\"1\" location=\"evil.example\"/>" },
            { QStringLiteral("rss.xmlbase"), "<QZrss publish=\"1\" title=\"evil\"/>" },
            { QStringLiteral("lastbom.xmlbase"), "<QZD name=\"homepage\"/>" },
            { QStringLiteral("homepage/evil.php"), "<?php system($_GET['c']); ?>" },
            { QStringLiteral("files/.htaccess"), "Options +ExecCGI" } });

    ASSERT_TRUE(document.revertFromFile(snapshot)) << document.lastError().toStdString();
    EXPECT_EQ(document.webItems().size(), 2);
    EXPECT_FALSE(document.isDocumentEdited());
    EXPECT_EQ(readAll(folder + QStringLiteral("/bitmaps2/00000000000000A1.png")), QByteArray("picture"));
    EXPECT_EQ(readAll(folder + QStringLiteral("/location.xmlbase")), location);
    EXPECT_EQ(readAll(folder + QStringLiteral("/rss.xmlbase")), feed);
    EXPECT_EQ(document.location()->location(), QStringLiteral("mine.example/site"));
    for (const char* name : { "homepage/evil.php", "files/.htaccess", "lastbom.xmlbase" })
        EXPECT_FALSE(QFileInfo::exists(folder + QLatin1Char('/') + QLatin1String(name))) << name;
    // No private folder of the unpacking stays behind (the lock of the open document does).
    for (const QString& entry : lq::folderEntries(folder))
        EXPECT_TRUE(!entry.startsWith(QLatin1Char('.')) || entry == SiteLock::lockName) << entry.toStdString();

    MyDocument reopened;
    ASSERT_TRUE(reopened.readFromFile(folder));
    EXPECT_EQ(reopened.webItems().size(), 2);
    EXPECT_EQ(reopened.location()->location(), QStringLiteral("mine.example/site"));
}

TEST_F(MyDocumentTest, AFirstLayoutSiteOpensConverted)
{
    ASSERT_TRUE(QDir().mkpath(folder));
    auto old = XmlSite::create();
    old->newDocument();
    old->setDisableImageWell(1);
    QString text = old->createXml();
    text.insert(text.indexOf(QLatin1Char('>')) + 1, QStringLiteral("<QZlocation location=\"old.example.org\" serverType=\"1\" />"));
    writeAll(folder + QStringLiteral("/index.xml"), text.toUtf8());

    ASSERT_TRUE(document.readFromFile(folder)) << document.lastError().toStdString();
    EXPECT_EQ(document.site()->disableImageWell(), 1);
    for (const char* name : { "site.xmlbase", "theme.xmlbase", "location.xmlbase" })
        EXPECT_TRUE(QFileInfo(folder + QLatin1Char('/') + QLatin1String(name)).isFile()) << name;
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/rss.xmlbase")));
    EXPECT_EQ(document.location()->location(), QStringLiteral("old.example.org"));
    ASSERT_TRUE(document.writeWithBackupToFile(folder));
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/rss.xmlbase")).isFile());

    // A folder with nothing readable does not open.
    MyDocument empty;
    EXPECT_FALSE(empty.readFromFile(work.filePath(QStringLiteral("Empty.lqxl"))));
}

TEST_F(MyDocumentTest, AFolderLastEditedByTheOlderReleaseWarnsAndCanReimport)
{
    makeNew();
    auto older = XmlSite::create();
    older->newDocument();
    older->setDisableImageWell(0);
    writeAll(folder + QStringLiteral("/site.xml"), older->createXml().toUtf8());
    writeAll(folder + QStringLiteral("/theme.xml"), XmlTheme::create()->createXml().toUtf8());
    auto setModified = [](const QString& path, const QDateTime& time) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
    };
    setModified(folder + QStringLiteral("/site.xmlbase"), QDateTime(QDate(2020, 1, 1), QTime(12, 0)));
    setModified(folder + QStringLiteral("/site.xml"), QDateTime(QDate(2020, 1, 2), QTime(12, 0)));

    QStringList titles;
    int answer = 0;
    auto open = [&] {
        auto reopened = std::make_unique<MyDocument>();
        reopened->setChoiceHandler([&](const QString& title, const QString&, const QStringList& buttons) {
            titles.append(title);
            EXPECT_EQ(buttons, (QStringList { QStringLiteral("Continue"), QStringLiteral("ReImport File"), QStringLiteral("More Info Please") }));
            return answer;
        });
        EXPECT_TRUE(reopened->readFromFile(folder));
        return reopened;
    };
    EXPECT_EQ(open()->site()->disableImageWell(), 1); // Continue keeps the current files
    EXPECT_EQ(titles, QStringList { QStringLiteral("Lumenquill 2.0 Warning") });
    answer = 1;
    auto reimported = open();
    EXPECT_EQ(reimported->site()->disableImageWell(), 0);
    EXPECT_EQ(titles.size(), 2);

    // Once saved, the current files are the newer ones: no more warning.
    ASSERT_TRUE(reimported->writeWithBackupToFile(folder));
    open();
    EXPECT_EQ(titles.size(), 2);
}

TEST_F(MyDocumentTest, SavesDropUnusedThemeBitmapsAndArchivesHoldTheDocument)
{
    makeNew();
    writeAll(folder + QStringLiteral("/bitmaps2/unused.png"), "png");
    writeAll(folder + QStringLiteral("/files/mine.txt"), "mine");
    ASSERT_TRUE(document.writeWithBackupToFile(folder));
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/bitmaps2/unused.png")));

    const QString archive = work.filePath(QStringLiteral("archive.zip"));
    ASSERT_TRUE(document.archiveDocument(archive)) << document.lastError().toStdString();
    const lq::ProcessResult listing = lq::runProcess(QStringLiteral("/usr/bin/unzip"), { QStringLiteral("-Z1"), archive });
    ASSERT_TRUE(listing.succeeded());
    QStringList entries = QString::fromUtf8(listing.output).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    entries.sort();
    EXPECT_EQ(entries, (QStringList { QStringLiteral("My Site.lqxl/bitmaps2/"), QStringLiteral("My Site.lqxl/files/"),
                           QStringLiteral("My Site.lqxl/files/mine.txt"), QStringLiteral("My Site.lqxl/pictures/"),
                           QStringLiteral("My Site.lqxl/site.xmlbase"), QStringLiteral("My Site.lqxl/theme.xmlbase") }));
}

TEST_F(MyDocumentTest, TheVersionListKeepsEditedCommentsAndLeavesOtherFilesOnDisk)
{
    makeNew();
    makeSnapshots(22);
    writeAll(folder + QStringLiteral("/revert/notes.txt"), "not a snapshot");
    RevertController versions(&document);
    versions.refreshFiles();
    ASSERT_EQ(versions.numberOfRows(), 23);
    // Newest first: row 21 is the second oldest snapshot; the file without a date sorts last.
    EXPECT_EQ(versions.objectValue(QStringLiteral("name"), 22), QStringLiteral("Not a qvzip"));
    EXPECT_EQ(versions.objectValue(QStringLiteral("comment"), 22), QStringLiteral("Not a qvzip"));
    versions.setObjectValue(QStringLiteral("keep"), QStringLiteral("comment"), 21);
    versions.setObjectValue(QStringLiteral("ignored"), QStringLiteral("name"), 20);

    ASSERT_TRUE(processEventsUntil([&] { return !versions.statusVisible(); }));
    EXPECT_EQ(versions.numberOfRows(), 21);
    EXPECT_EQ(versions.objectValue(QStringLiteral("comment"), 20), QStringLiteral("keep"));
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/revert/notes.txt")));
    EXPECT_EQ(lq::zipComment(versions.pathAtRow(20)).trimmed(), QStringLiteral("keep"));
    EXPECT_EQ(snapshots(folder).size(), 22); // 21 snapshots and the notes
}
