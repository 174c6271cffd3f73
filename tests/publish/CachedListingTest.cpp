#include "platform/ConfinedFolder.h"
#include "publish/DigestCache.h"
#include "publish/DigestListing.h"
#include "publish/XmlD.h"
#include "publish/XmlF.h"

#include "support/HelperTools.h"
#include "support/MovableClock.h"
#include "support/TestFiles.h"

#include <QCryptographicHash>
#include <QTemporaryDir>

#include <functional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

// "path=md5" for every file node and "path/" for every folder node, in tree order.
QStringList describe(const XmlD* tree, const QString& prefix = QString())
{
    QStringList lines;
    for (const XmlBasePtr& child : tree->children()) {
        const QString path = prefix + child->name();
        if (XmlD::isFileNode(child.get())) {
            lines.append(path + QLatin1Char('=') + XmlF::cast(child.get())->md5());
        } else {
            lines.append(path + QLatin1Char('/'));
            lines += describe(XmlD::cast(child.get()), path + QLatin1Char('/'));
        }
    }
    return lines;
}

QString md5(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

timespec modificationTime(const QString& path)
{
    struct stat status {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &status), 0) << path.toStdString();
    return status.st_mtim;
}

// Sets the file's access and modification times, as a program with its
// own idea of the time (or a clock set back) would leave them.
void setModificationTime(const QString& path, timespec time)
{
    const timespec times[2] = { time, time };
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0) << path.toStdString();
}

// Writes the bytes into the file that is there (the same inode), from its start.
void overwriteInPlace(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

class CachedListing : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString site(const QString& name = QString()) const { return dir.path() + QStringLiteral("/homepage/") + name; }
    QString cache() const { return dir.path() + QStringLiteral("/homepage.digests"); }

    std::shared_ptr<XmlD> list(lq::ListingReport* report = nullptr)
    {
        QString error;
        std::shared_ptr<XmlD> tree = lq::createXmlDWithCache(site(), cache(), &error, report);
        EXPECT_TRUE(tree) << error.toStdString();
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        return tree;
    }

    // How many files a listing read.
    int digested()
    {
        lq::ListingReport report;
        list(&report);
        return report.digested;
    }

    // The digest the listing gives the file at the path.
    QString listedDigest(const QString& path)
    {
        std::shared_ptr<XmlD> tree = list();
        const XmlF* file = tree ? tree->fileNamed(path) : nullptr;
        return file ? file->md5() : QString();
    }

    // Lets the files written so far grow older than the start of the next
    // listing by more than the steps of the file system's clock, so that a
    // listing may remember them.
    void letTimePass() { listingClock.letTimePass(); }

    QTemporaryDir dir;
    MovableClock listingClock;
};

} // namespace

// The same tree as the listing tool's, read from the files or from what the last listing kept.
TEST_F(CachedListing, GivesTheListingToolsTree)
{
    useBuiltHelperTools();
    writeAll(site(QStringLiteral("é ü.txt")), "accented\n");
    writeAll(site(QStringLiteral("a&b <c>.html")), "markup");
    writeAll(site(QStringLiteral(".hidden")), "hidden");
    writeAll(site(QStringLiteral("Zebra.html")), "capital");
    writeAll(site(QStringLiteral("pictures/photo.jpg")), QByteArray(300000, 'p'));
    writeAll(site(QStringLiteral("pictures/deep/x.css")), "");
    writeAll(site(QStringLiteral("files/x: y.txt")), "colon");
    ASSERT_TRUE(QDir().mkpath(site(QStringLiteral("bitmaps"))));

    QString error;
    std::shared_ptr<XmlD> byTool = lq::createXmlD(site(), &error);
    ASSERT_TRUE(byTool) << error.toStdString();
    lq::ListingReport first;
    std::shared_ptr<XmlD> read = list(&first);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->name(), QStringLiteral("homepage"));
    EXPECT_EQ(describe(read.get()), describe(byTool.get()));
    EXPECT_EQ(first.files, 7);
    EXPECT_EQ(first.digested, 7);

    letTimePass();
    list();
    lq::ListingReport again;
    std::shared_ptr<XmlD> remembered = list(&again);
    ASSERT_TRUE(remembered);
    EXPECT_EQ(again.digested, 0) << "nothing moved";
    EXPECT_EQ(describe(remembered.get()), describe(byTool.get()));
}

TEST_F(CachedListing, ReadsOnlyTheFilesThatMoved)
{
    for (int i = 0; i < 20; ++i)
        writeAll(site(QStringLiteral("page%1.html").arg(i)), QByteArray("page ") + QByteArray::number(i));
    letTimePass();
    EXPECT_EQ(digested(), 20);
    EXPECT_EQ(digested(), 0);

    writeAll(site(QStringLiteral("page7.html")), "another page");
    lq::ListingReport report;
    std::shared_ptr<XmlD> tree = list(&report);
    EXPECT_EQ(report.digested, 1);
    EXPECT_EQ(report.files, 20);
    EXPECT_EQ(tree->fileNamed(QStringLiteral("page7.html"))->md5(), md5("another page"));
    EXPECT_EQ(tree->fileNamed(QStringLiteral("page8.html"))->md5(), md5("page 8"));
}

// A change that keeps the file's size and modification time is still seen:
// each one moves the change time or the inode.
TEST_F(CachedListing, SeesEveryChangeThatKeepsSizeAndModificationTime)
{
    const QByteArray before = "0123456789";
    const QByteArray after = "abcdefghij";
    const QString path = site(QStringLiteral("page.html"));
    const struct Case {
        const char* what;
        std::function<void(const timespec& time)> change;
    } cases[] = {
        { "rewritten in place, its modification time put back to the nanosecond",
            [&](const timespec& time) {
                overwriteInPlace(path, after);
                setModificationTime(path, time);
            } },
        { "replaced by renaming another file of the same size and time over it",
            [&](const timespec& time) {
                const QString other = dir.path() + QStringLiteral("/other.html");
                writeAll(other, after);
                setModificationTime(other, time);
                ASSERT_EQ(::rename(QFile::encodeName(other).constData(), QFile::encodeName(path).constData()), 0);
            } },
        { "removed and written again (the inode may come back), its time put back",
            [&](const timespec& time) {
                ASSERT_TRUE(QFile::remove(path));
                writeAll(path, after);
                setModificationTime(path, time);
            } },
        { "rewritten after the clock was set back an hour",
            [&](const timespec& time) {
                overwriteInPlace(path, after);
                setModificationTime(path, { time.tv_sec - 3600, time.tv_nsec });
            } },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        QFile::remove(cache());
        writeAll(path, before);
        letTimePass();
        EXPECT_EQ(listedDigest(QStringLiteral("page.html")), md5(before));
        EXPECT_EQ(digested(), 0) << "remembered";
        test.change(modificationTime(path));
        EXPECT_EQ(listedDigest(QStringLiteral("page.html")), md5(after));
    }
}

// A file that changed while the listing began could change again within the
// same step of the clock without showing it: it is read again next time.
TEST_F(CachedListing, NeverRemembersAFileAsNewAsTheListing)
{
    writeAll(site(QStringLiteral("new.html")), "new");
    EXPECT_EQ(digested(), 1);
    EXPECT_EQ(digested(), 1) << "written just before the listing began";
    letTimePass();
    EXPECT_EQ(digested(), 1);
    EXPECT_EQ(digested(), 0);
}

// A file stamped ahead of the listing (written before the clock was set
// back) could be stamped with the same times again: it is never remembered.
TEST_F(CachedListing, NeverTrustsTimesAheadOfTheListing)
{
    const QString path = site(QStringLiteral("ahead.html"));
    writeAll(path, "0123456789");
    const timespec ahead { modificationTime(path).tv_sec + 3600, 5 };
    setModificationTime(path, ahead);
    letTimePass();
    EXPECT_EQ(digested(), 1);
    EXPECT_EQ(digested(), 1);
    overwriteInPlace(path, "abcdefghij");
    setModificationTime(path, ahead);
    EXPECT_EQ(listedDigest(QStringLiteral("ahead.html")), md5("abcdefghij"));
}

// Kept digests are dropped whole when the clock now stands before the
// start of the listing that kept them.
TEST_F(CachedListing, AClockSetBackSinceTheLastListingReadsEverythingAgain)
{
    writeAll(site(QStringLiteral("a.html")), "a");
    writeAll(site(QStringLiteral("b/c.html")), "c");
    letTimePass();
    list();
    EXPECT_EQ(digested(), 0);
    const std::shared_ptr<lq::ConfinedFolder> folder = lq::ConfinedFolder::open(dir.path());
    ASSERT_TRUE(folder);
    lq::DigestCache kept = lq::DigestCache::read(*folder, QStringLiteral("homepage.digests"));
    ASSERT_EQ(kept.size(), 2);
    kept.setListedAt(kept.listedAt() + qint64(3600) * 1000000000);
    ASSERT_TRUE(kept.write(*folder, QStringLiteral("homepage.digests")));
    EXPECT_EQ(digested(), 2);
    EXPECT_EQ(digested(), 0) << "kept again under the clock as it now stands";
}

TEST_F(CachedListing, ALostOrDamagedCacheOnlyCostsReadingAgain)
{
    writeAll(site(QStringLiteral("a.html")), "first");
    writeAll(site(QStringLiteral("pictures/b.jpg")), QByteArray(5000, 'b'));
    letTimePass();
    list();
    const QByteArray good = readAll(cache());
    ASSERT_GT(good.size(), 40);
    const QStringList expected = { QStringLiteral("a.html=") + md5("first"), QStringLiteral("pictures/"),
        QStringLiteral("pictures/b.jpg=") + md5(QByteArray(5000, 'b')) };
    QByteArray flipped = good;
    flipped[flipped.size() / 2] = static_cast<char>(flipped[flipped.size() / 2] ^ 0x20);
    const struct Case {
        const char* what;
        QByteArray bytes;
        bool remove;
    } cases[] = {
        { "missing", QByteArray(), true },
        { "empty", QByteArray(), false },
        { "cut short", good.left(good.size() / 2), false },
        { "one byte changed", flipped, false },
        { "another kind of file", QByteArray("<QZD name=\"homepage\"/>"), false },
        { "longer than it says", good + QByteArray(20, '\0'), false },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        if (test.remove)
            QFile::remove(cache());
        else
            writeAll(cache(), test.bytes);
        lq::ListingReport report;
        std::shared_ptr<XmlD> tree = list(&report);
        ASSERT_TRUE(tree);
        EXPECT_EQ(describe(tree.get()), expected);
        EXPECT_EQ(report.digested, 2);
        EXPECT_EQ(digested(), 0) << "the cache is whole again";
    }
}

// Only plain files and folders are listed: a link (to a file or folder
// outside) is never followed, and a pipe is never opened; each is named.
TEST_F(CachedListing, LeavesOutLinksAndSpecialFiles)
{
    writeAll(site(QStringLiteral("index.html")), "index");
    const QString outside = dir.path() + QStringLiteral("/outside");
    writeAll(outside + QStringLiteral("/secret.txt"), "secret");
    ASSERT_TRUE(QFile::link(outside + QStringLiteral("/secret.txt"), site(QStringLiteral("secret.txt"))));
    ASSERT_TRUE(QFile::link(outside, site(QStringLiteral("elsewhere"))));
    ASSERT_TRUE(QFile::link(dir.path() + QStringLiteral("/nothing"), site(QStringLiteral("dangling.html"))));
    ASSERT_EQ(::mkfifo(QFile::encodeName(site(QStringLiteral("pipe"))).constData(), 0600), 0);
    std::shared_ptr<XmlD> tree = list();
    ASSERT_TRUE(tree);
    EXPECT_EQ(describe(tree.get()), QStringList { QStringLiteral("index.html=") + md5("index") });
    // Each is named with why, so that it is neither sent nor taken for deleted.
    QStringList unread;
    for (const FileFailure& failure : tree->listingFailures())
        unread.append(failure.path + QStringLiteral(": ") + failure.why);
    unread.sort();
    EXPECT_EQ(unread, QStringList({ QStringLiteral("dangling.html: it is a link, which is never followed"),
                          QStringLiteral("elsewhere: it is a link, which is never followed"),
                          QStringLiteral("pipe: it is neither a file nor a folder"),
                          QStringLiteral("secret.txt: it is a link, which is never followed") }));
}

TEST_F(CachedListing, AMissingFolderGivesNothingAndTellsWhy)
{
    QString error;
    EXPECT_FALSE(lq::createXmlDWithCache(site(), cache(), &error));
    EXPECT_TRUE(error.contains(dir.path() + QStringLiteral("/homepage"))) << error.toStdString();
}
