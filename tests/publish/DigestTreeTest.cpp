#include "platform/ConfinedFolder.h"
#include "platform/FileHelpers.h"
#include "publish/DigestListing.h"
#include "publish/XmlBom.h"
#include "publish/XmlD.h"
#include "publish/XmlF.h"

#include "support/HelperTools.h"
#include "support/HostileNames.h"
#include "support/Printers.h"
#include "support/TestFiles.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

std::shared_ptr<XmlD> treeOf(std::initializer_list<std::pair<const char*, const char*>> files)
{
    auto tree = XmlD::create();
    for (const auto& [path, md5] : files)
        tree->addFileMd5(QString::fromUtf8(path), QString::fromUtf8(md5));
    return tree;
}

// "path=md5" for every file node, and "path/" for every folder node, in tree order.
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

QStringList list(std::initializer_list<const char*> items)
{
    QStringList result;
    for (const char* item : items)
        result.append(QString::fromUtf8(item));
    return result;
}

// The paths of every file below the folder, hidden ones too, sorted.
QStringList filesIn(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(folder).relativeFilePath(it.next()));
    files.sort();
    return files;
}

QStringList sorted(QStringList items)
{
    items.sort();
    return items;
}

} // namespace

TEST(DigestTree, AddFileMakesFoldersAndOnlyUpdatesDigestsAfterwards)
{
    auto tree = XmlD::create();
    tree->addFileMd5(QStringLiteral("a/b/c.html"), QStringLiteral("1"));
    EXPECT_EQ(describe(tree.get()), list({ "a/", "a/b/", "a/b/c.html=1" }));
    tree->addFileMd5(QStringLiteral("a/b/c.html"), QStringLiteral("2"));
    tree->addFileMd5(QString(), QStringLiteral("3"));
    tree->addFileMd5(QStringLiteral("x.html"), QString());
    EXPECT_EQ(describe(tree.get()), list({ "a/", "a/b/", "a/b/c.html=2" }));
    // A path through a file name sets that file's digest.
    tree->addFileMd5(QStringLiteral("a/b/c.html/deeper"), QStringLiteral("4"));
    EXPECT_EQ(describe(tree.get()), list({ "a/", "a/b/", "a/b/c.html=4" }));
}

TEST(DigestTree, RemoveFileKeepsFoldersAndStopsAtFiles)
{
    auto tree = treeOf({ { "a/b/c.html", "1" }, { "a/d.html", "2" }, { "e.html", "3" } });
    tree->removeFileMd5(QStringLiteral("a/b/c.html"), QStringLiteral("other"));
    tree->removeFileMd5(QStringLiteral("e.html/more"), QString());
    tree->removeFileMd5(QStringLiteral("missing/x"), QString());
    EXPECT_EQ(describe(tree.get()), list({ "a/", "a/b/", "a/d.html=2" }));
}

TEST(DigestTree, WalkGivesPlainPathsAndAddressesFolderFirst)
{
    auto tree = treeOf({ { "index.html", "1" }, { "my photos/a#1?.jpg", "2" }, { "my photos/deeper/x;y.html", "3" }, { "z.css", "4" } });
    QStringList seen;
    tree->forEachEntry([&](const DigestEntry& entry) {
        seen.append((entry.folder ? QStringLiteral("D ") : QStringLiteral("F ")) + entry.path + QStringLiteral(" | ") + entry.address);
    });
    EXPECT_EQ(seen, QStringList({ QStringLiteral("F index.html | index.html"), QStringLiteral("D my photos | my%20photos"),
                        QStringLiteral("F my photos/a#1?.jpg | my%20photos/a%231%3F.jpg"), QStringLiteral("D my photos/deeper | my%20photos/deeper"),
                        QStringLiteral("F my photos/deeper/x;y.html | my%20photos/deeper/x%3By.html"), QStringLiteral("F z.css | z.css") }));
}

TEST(DigestTree, ReadsAndWritesItsXml)
{
    auto tree = treeOf({ { "pictures/my photo & co.jpg", "abc" }, { "index.html", "def" } });
    tree->setName(QStringLiteral("homepage"));
    const XmlBasePtr copy = XmlBase::createWithXmlRootDir(tree->createXml(), QString());
    ASSERT_TRUE(XmlD::isFolderNode(copy.get()));
    EXPECT_EQ(copy->name(), QStringLiteral("homepage"));
    EXPECT_EQ(describe(XmlD::cast(copy.get())), describe(tree.get()));
}

TEST(ChangeSet, ComparesTreesFileByFile)
{
    auto older = treeOf({ { "index.html", "1" }, { "old.html", "2" }, { "gone/a.jpg", "3" }, { "pics/p.jpg", "4" }, { "pics/q.jpg", "5" } });
    auto newer = treeOf({ { "index.html", "9" }, { "new.html", "2" }, { "pics/p.jpg", "4" }, { "pics/q.jpg", "6" } });
    auto bom = XmlBom::createWithSourceDest(newer.get(), older.get());
    EXPECT_EQ(describe(bom->addFiles()), list({ "index.html=9", "new.html=2", "pics/", "pics/q.jpg=6" }));
    EXPECT_EQ(describe(bom->removeFiles()), list({ "old.html=2", "gone/", "gone/a.jpg=3", "pics/" }));

    auto same = XmlBom::createWithSourceDest(newer.get(), newer.get());
    EXPECT_EQ(describe(same->addFiles()), list({ "pics/" }));
    EXPECT_EQ(describe(same->removeFiles()), list({ "pics/" }));

    auto first = XmlBom::createWithSourceDest(newer.get(), nullptr);
    EXPECT_EQ(first->addFiles()->fileCount(), 4);
    auto everything = XmlBom::createWithSourceDest(nullptr, older.get());
    EXPECT_EQ(everything->addFiles()->numberChildren(), 0);
    EXPECT_EQ(everything->removeFiles()->fileCount(), 5);
}


// Folders of thousands of files, a file and a folder of one name, and a
// stored tree that names one file twice: each file is still matched with its
// own counterpart.
TEST(ChangeSet, MatchesFilesByNameInLargeFolders)
{
    auto older = XmlD::create();
    auto newer = XmlD::create();
    for (int i = 0; i < 3000; ++i) {
        const QString name = QStringLiteral("pictures/image") + QString::number(i) + QStringLiteral(".jpg");
        older->addFileMd5(name, QString::number(i));
        if (i != 2999)
            newer->addFileMd5(name, i == 1500 ? QStringLiteral("changed") : QString::number(i));
    }
    newer->addFileMd5(QStringLiteral("pictures/image3000.jpg"), QStringLiteral("3000"));
    // "notes" is a file in the old tree and a folder in the new one.
    older->addFileMd5(QStringLiteral("notes"), QStringLiteral("n"));
    newer->addFileMd5(QStringLiteral("notes/a.html"), QStringLiteral("a"));
    // A stored tree may name a file twice; the copy with the same digest counts.
    for (const char* md5 : { "old", "same" }) {
        auto twice = XmlF::create();
        twice->setName(QStringLiteral("twice.html"));
        twice->setMd5(QString::fromUtf8(md5));
        older->addChild(twice);
    }
    newer->addFileMd5(QStringLiteral("twice.html"), QStringLiteral("same"));

    auto bom = XmlBom::createWithSourceDest(newer.get(), older.get());
    EXPECT_EQ(describe(bom->addFiles()),
        list({ "pictures/", "pictures/image1500.jpg=changed", "pictures/image3000.jpg=3000", "notes/", "notes/a.html=a" }));
    EXPECT_EQ(describe(bom->removeFiles()), list({ "pictures/", "pictures/image2999.jpg=2999", "notes=n" }));
}
class ChangeSetFolders : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString source() const { return dir.path() + QStringLiteral("/source"); }
    QString dest() const { return dir.path() + QStringLiteral("/dest"); }
};

TEST_F(ChangeSetFolders, CopiesAdditionsDeletesRemovalsAndKeepsFolders)
{
    writeAll(source() + QStringLiteral("/index.html"), "new index");
    writeAll(source() + QStringLiteral("/pics/é ü.jpg"), "picture");
    writeAll(dest() + QStringLiteral("/index.html"), "old index");
    writeAll(dest() + QStringLiteral("/old/gone.html"), "gone");
    auto bom = XmlBom::create();
    bom->setAddFiles(treeOf({ { "index.html", "1" }, { "pics/é ü.jpg", "2" } }));
    bom->setRemoveFiles(treeOf({ { "old/gone.html", "3" } }));
    bom->setRootSource(source());
    bom->setRootDest(dest());
    EXPECT_EQ(bom->createFiles(), QString());
    EXPECT_EQ(readAll(dest() + QStringLiteral("/index.html")), QByteArray("new index"));
    EXPECT_EQ(readAll(dest() + QStringLiteral("/pics/é ü.jpg")), QByteArray("picture"));
    EXPECT_FALSE(QFileInfo::exists(dest() + QStringLiteral("/old/gone.html")));
    EXPECT_TRUE(QFileInfo(dest() + QStringLiteral("/old")).isDir());
    EXPECT_TRUE(QDir(dest()).entryList({ QStringLiteral("*.lqpart") }, QDir::Files).isEmpty());
}

TEST_F(ChangeSetFolders, ReportsFolderErrorsAndFilesThatDidNotArrive)
{
    auto bom = XmlBom::create();
    bom->setAddFiles(treeOf({ { "index.html", "1" }, { "missing.html", "2" } }));
    bom->setRemoveFiles(treeOf({ { "keep.html", "3" } }));
    bom->setRootSource(source());
    bom->setRootDest(dest());
    EXPECT_EQ(bom->createFiles(), QStringLiteral("Source folder:") + source() + QStringLiteral(" does not exist"));

    writeAll(source() + QStringLiteral("/index.html"), "index");
    writeAll(dest() + QStringLiteral("/keep.html"), "kept");
    writeAll(dest() + QStringLiteral("/missing.html"), "the old one stays");
    const QString answer = bom->createFiles();
    EXPECT_TRUE(answer.contains(QStringLiteral("missing.html"))) << answer.toStdString();
    EXPECT_EQ(bom->failedFiles(), list({ "missing.html" }));
    EXPECT_EQ(readAll(dest() + QStringLiteral("/missing.html")), QByteArray("the old one stays"));
    EXPECT_EQ(readAll(dest() + QStringLiteral("/index.html")), QByteArray("index"));
    EXPECT_FALSE(QFileInfo::exists(dest() + QStringLiteral("/keep.html")));

    // Same source and destination: nothing is copied, the removals are made.
    writeAll(dest() + QStringLiteral("/keep.html"), "kept");
    bom->setRootSource(dest());
    EXPECT_EQ(bom->createFiles(), QString());
    EXPECT_FALSE(QFileInfo::exists(dest() + QStringLiteral("/keep.html")));

    writeAll(dir.path() + QStringLiteral("/afile"), "x");
    bom->setRootSource(source());
    bom->setRootDest(dir.path() + QStringLiteral("/afile"));
    EXPECT_EQ(bom->createFiles(), QStringLiteral("Destination folder:") + dir.path() + QStringLiteral("/afile is a file"));
}

TEST_F(ChangeSetFolders, ListingMatchesMd5sumAndComparesWithItself)
{
    useBuiltHelperTools();
    const QString site = dir.path() + QStringLiteral("/homepage");
    writeAll(site + QStringLiteral("/é ü.txt"), "accented\n");
    writeAll(site + QStringLiteral("/a&b <c>.html"), "markup");
    writeAll(site + QStringLiteral("/pictures/photo.jpg"), QByteArray(300000, 'p'));
    writeAll(site + QStringLiteral("/pictures/deep/x.css"), "");
    writeAll(site + QStringLiteral("/files/x: y.txt"), "colon");

    QString error;
    std::shared_ptr<XmlD> tree = lq::createXmlD(site + QLatin1Char('/'), &error);
    ASSERT_TRUE(tree) << error.toStdString();
    EXPECT_EQ(tree->name(), QStringLiteral("homepage"));
    const QString colon = QString::fromLatin1(QCryptographicHash::hash("colon", QCryptographicHash::Md5).toHex());
    const QString photo = QString::fromLatin1(QCryptographicHash::hash(QByteArray(300000, 'p'), QCryptographicHash::Md5).toHex());
    EXPECT_EQ(describe(tree.get()).filter(QStringLiteral("/")),
        QStringList({ QStringLiteral("files/"), QStringLiteral("files/x: y.txt=") + colon, QStringLiteral("pictures/"),
            QStringLiteral("pictures/photo.jpg=") + photo, QStringLiteral("pictures/deep/"),
            QStringLiteral("pictures/deep/x.css=d41d8cd98f00b204e9800998ecf8427e") }));

    // Every digest is md5sum's.
    for (const QString& path : tree->filePaths()) {
        QProcess md5sum;
        md5sum.setWorkingDirectory(site);
        md5sum.start(QStringLiteral("md5sum"), { QStringLiteral("--"), path });
        ASSERT_TRUE(md5sum.waitForFinished());
        const QString expected = QString::fromUtf8(md5sum.readAllStandardOutput()).section(QLatin1Char(' '), 0, 0);
        XmlD* node = tree.get();
        const QStringList parts = path.split(QLatin1Char('/'));
        for (int i = 0; i + 1 < parts.size(); ++i)
            node = node->folderNamed(parts[i]);
        ASSERT_TRUE(node);
        ASSERT_TRUE(node->fileNamed(parts.last())) << path.toStdString();
        EXPECT_EQ(node->fileNamed(parts.last())->md5(), expected) << path.toStdString();
    }
    EXPECT_EQ(tree->fileCount(), 5);

    auto bom = XmlBom::createWithSourceDest(tree.get(), tree.get());
    EXPECT_EQ(bom->addFiles()->fileCount(), 0);
    EXPECT_EQ(describe(bom->addFiles()), list({ "files/", "pictures/", "pictures/deep/" }));
    EXPECT_EQ(bom->removeFiles()->fileCount(), 0);
}

// A link in the listed folder, to a file or a folder outside it, is left
// out: nothing outside the folder is listed, and so nothing is published.
TEST_F(ChangeSetFolders, ALinkInTheListedFolderIsLeftOutNeverFollowed)
{
    useBuiltHelperTools();
    const QString site = dir.path() + QStringLiteral("/site");
    const QString outside = dir.path() + QStringLiteral("/outside");
    writeAll(site + QStringLiteral("/homepage/index.html"), "home");
    writeAll(site + QStringLiteral("/homepage/pictures/a.jpg"), "a");
    writeAll(outside + QStringLiteral("/secret.txt"), "secret");
    writeAll(outside + QStringLiteral("/inner/deep.txt"), "deep");
    ASSERT_TRUE(QFile::link(outside + QStringLiteral("/secret.txt"), site + QStringLiteral("/homepage/secret.txt")));
    ASSERT_TRUE(QFile::link(outside + QStringLiteral("/inner"), site + QStringLiteral("/homepage/inner")));
    ASSERT_TRUE(QFile::link(outside + QStringLiteral("/secret.txt"), site + QStringLiteral("/homepage/pictures/b.jpg")));

    const std::shared_ptr<lq::ConfinedFolder> root = lq::ConfinedFolder::open(site);
    ASSERT_TRUE(root);
    QString error;
    const std::shared_ptr<XmlD> tree = lq::createXmlD(*root, QStringLiteral("homepage"), &error);
    ASSERT_TRUE(tree) << error.toStdString();
    EXPECT_EQ(tree->name(), QStringLiteral("homepage"));
    EXPECT_EQ(tree->filePaths(), (QStringList { QStringLiteral("index.html"), QStringLiteral("pictures/a.jpg") }));

    // The listed folder itself a link: nothing is listed, and the reason says so.
    ASSERT_TRUE(lq::removeItem(site + QStringLiteral("/homepage")));
    ASSERT_TRUE(QFile::link(outside, site + QStringLiteral("/homepage")));
    error.clear();
    EXPECT_FALSE(lq::createXmlD(*root, QStringLiteral("homepage"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("link"))) << error.toStdString();
}

TEST_F(ChangeSetFolders, FailedListingGivesNothing)
{
    useBuiltHelperTools();
    QString error;
    EXPECT_FALSE(lq::createXmlD(dir.path() + QStringLiteral("/nowhere/"), &error));
    EXPECT_FALSE(error.isEmpty());
    qputenv("LUMENQUILL_LIBEXEC", dir.path().toUtf8());
    writeAll(dir.path() + QStringLiteral("/site/index.html"), "x");
    error.clear();
    EXPECT_FALSE(lq::createXmlD(dir.path() + QStringLiteral("/site/"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("xmldir"))) << error.toStdString();
    useBuiltHelperTools();
}

TEST_F(ChangeSetFolders, StoresTheLastPublishedTree)
{
    EXPECT_FALSE(lq::readLastXmlD(dir.path()));
    auto tree = treeOf({ { "index.html", "1" }, { "pics/a.jpg", "2" } });
    QStringList activity;
    ASSERT_TRUE(lq::writeLastXmlD(dir.path(), tree.get(), [&](const QString& line) { activity.append(line); }));
    ASSERT_EQ(activity.size(), 1);
    EXPECT_TRUE(activity[0].startsWith(QStringLiteral("lastXmlD: <QZD")));
    std::shared_ptr<XmlD> back = lq::readLastXmlD(dir.path());
    ASSERT_TRUE(back);
    EXPECT_EQ(describe(back.get()), describe(tree.get()));
    EXPECT_FALSE(lq::writeLastXmlD(dir.path(), nullptr, [&](const QString& line) { activity.append(line); }));
    EXPECT_EQ(activity.last(), QStringLiteral("lastXmlD: "));
    EXPECT_TRUE(lq::readLastXmlD(dir.path()));
    writeAll(dir.path() + QStringLiteral("/lastbom.xmlbase"), "<QZlocation/>");
    EXPECT_FALSE(lq::readLastXmlD(dir.path()));
}

TEST_F(ChangeSetFolders, ARecordNamingAnythingButAPlainNameIsSetAside)
{
    // One node of the name in a tree of plain ones: as a file, and as the
    // folder that holds a file.
    const auto recordWith = [&](const QString& name, bool asFolder) {
        auto tree = treeOf({ { "index.html", "1" }, { "pictures/a.jpg", "2" } });
        tree->setName(QStringLiteral("homepage"));
        auto node = asFolder ? XmlD::create() : XmlF::create();
        node->setName(name);
        if (asFolder) {
            auto inside = XmlF::create();
            inside->setName(QStringLiteral("victim.txt"));
            node->addChild(inside);
        }
        tree->folderNamed(QStringLiteral("pictures"))->addChild(node);
        return tree;
    };
    // Also when the record spells them as references.
    const QStringList refused = { QStringLiteral(".."), QStringLiteral("."), QString(), QStringLiteral("../victim.txt"), QStringLiteral("/etc/passwd"),
        QStringLiteral("..\\victim.txt"), QStringLiteral("&#x2E;&#x2E;&#x2F;victim.txt"), QStringLiteral("&#x2F;etc&#x2F;passwd"), QStringLiteral("&#x2E;&#x2E;") };
    for (const QString& name : refused) {
        for (const bool asFolder : { false, true }) {
            SCOPED_TRACE(name.toStdString() + (asFolder ? " as a folder" : " as a file"));
            const bool reference = name.contains(QLatin1Char('&'));
            std::shared_ptr<XmlD> tree = recordWith(reference ? QStringLiteral("CONTROL") : name, asFolder);
            ASSERT_TRUE(lq::writeLastXmlD(dir.path(), tree.get(), nullptr));
            if (reference) {
                const QString path = dir.path() + QStringLiteral("/lastbom.xmlbase");
                writeAll(path, readAll(path).replace("\"CONTROL\"", "\"" + name.toUtf8() + "\""));
            }
            QString why;
            EXPECT_FALSE(lq::readLastXmlD(dir.path(), &why));
            EXPECT_TRUE(why.startsWith(QStringLiteral("The record of the last publication was set aside: it names pictures/\""))) << why.toStdString();
            EXPECT_TRUE(why.endsWith(QStringLiteral("Every file is sent and none is removed."))) << why.toStdString();
        }
    }
    // Names that only look like those are plain names, and so are names
    // with tabs and other control characters: a file can have them.
    for (const QString& name : { QStringLiteral("..a"), QStringLiteral("a..b"), QStringLiteral(".htaccess"), QStringLiteral("café & co.txt"),
             QStringLiteral("%2e%2e"), QStringLiteral("a\tb"), QStringLiteral("\t"), QStringLiteral("bell\x07") }) {
        SCOPED_TRACE(name.toStdString());
        std::shared_ptr<XmlD> tree = recordWith(name, false);
        ASSERT_TRUE(lq::writeLastXmlD(dir.path(), tree.get(), nullptr));
        QString why;
        std::shared_ptr<XmlD> back = lq::readLastXmlD(dir.path(), &why);
        ASSERT_TRUE(back) << why.toStdString();
        EXPECT_EQ(describe(back.get()), describe(tree.get()));
        EXPECT_TRUE(why.isEmpty());
    }
}

TEST(DigestTree, AddressSegmentsNeverSplitOrClimb)
{
    struct Case {
        const char* name;
        const char* segment;
    };
    for (const Case& c : { Case { "../victim.txt", "..%2Fvictim.txt" }, Case { "a\\b", "a%5Cb" }, Case { "a\nb", "a%0Ab" }, Case { "a?b#c;d", "a%3Fb%23c%3Bd" } }) {
        EXPECT_EQ(XmlD::addressSegment(QString::fromUtf8(c.name)), QString::fromUtf8(c.segment)) << c.name;
    }
}

TEST_F(ChangeSetFolders, EveryNameAFileCanHaveComesBackFromTheRecord)
{
    auto tree = XmlD::create();
    tree->setName(QStringLiteral("homepage"));
    for (const QString& name : hostileNames()) {
        tree->addFileMd5(name, QStringLiteral("1"));
        tree->addFileMd5(QStringLiteral("in ") + name + QLatin1Char('/') + name, QStringLiteral("2"));
    }
    tree->addFileMd5(hostileNames().first() + QLatin1Char('/') + hostileNames().last(), QStringLiteral("3"));
    ASSERT_TRUE(lq::writeLastXmlD(dir.path(), tree.get(), nullptr));
    QString why;
    std::shared_ptr<XmlD> back = lq::readLastXmlD(dir.path(), &why);
    ASSERT_TRUE(back) << why.toStdString();
    EXPECT_EQ(back->name(), QStringLiteral("homepage"));
    EXPECT_EQ(describe(back.get()), describe(tree.get()));
    // Written and read again, the record stays the same text.
    const QByteArray first = readAll(dir.path() + QStringLiteral("/lastbom.xmlbase"));
    ASSERT_TRUE(lq::writeLastXmlD(dir.path(), back.get(), nullptr));
    EXPECT_EQ(readAll(dir.path() + QStringLiteral("/lastbom.xmlbase")), first);
}

TEST_F(ChangeSetFolders, RecordsOfEarlierVersionsReadAsBefore)
{
    struct Case {
        const char* stored;   // the name attribute as an earlier version wrote it
        const char* name;
    };
    const Case cases[] = {
        { "a&#160; b.html", "a  b.html" },
        { "tab&#009;here.txt", "tab\there.txt" },
        { "caf&eacute; &ldquo;x&rdquo;.txt", "café “x”.txt" },
        { "&#149; item.txt", "• item.txt" },
        { "a &amp; b &quot;c&quot; &lt;d&gt;.txt", "a & b \"c\" <d>.txt" },
        // What the listing once gave for an apostrophe stays what was stored.
        { "Mom&amp;apos;s notes.txt", "Mom&apos;s notes.txt" },
        { "&nbsp;&middot;.txt", "•.txt" },
        { "plain.html", "plain.html" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        writeAll(dir.path() + QStringLiteral("/lastbom.xmlbase"),
            QByteArray("<QZD name=\"homepage\">\n <QZF name=\"") + c.stored + "\" md5=\"1\"/>\n</QZD>\n");
        QString why;
        std::shared_ptr<XmlD> stored = lq::readLastXmlD(dir.path(), &why);
        ASSERT_TRUE(stored) << why.toStdString();
        EXPECT_EQ(stored->filePaths(), QStringList { QString::fromUtf8(c.name) });
    }
}

TEST_F(ChangeSetFolders, TheListingTakesEveryNameAsTheFileHasIt)
{
    useBuiltHelperTools();
    const QString site = dir.path() + QStringLiteral("/homepage");
    int i = 0;
    for (const QString& name : hostileNames())
        writeAll(site + QLatin1Char('/') + name, "file " + QByteArray::number(++i));
    // Folders of such names (each listed by a run of its own), and every name inside one.
    for (const QString& folderName : { hostileNames().at(2), hostileNames().at(3), hostileNames().at(9), hostileNames().at(10) })
        writeAll(site + QLatin1Char('/') + folderName + QStringLiteral(" folder/") + folderName, "inside " + QByteArray::number(++i));
    for (const QString& name : hostileNames())
        writeAll(site + QStringLiteral("/all in ") + hostileNames().at(4) + QLatin1Char('/') + name, "deeper " + QByteArray::number(++i));
    QString error;
    std::shared_ptr<XmlD> listed = lq::createXmlD(site + QLatin1Char('/'), &error);
    ASSERT_TRUE(listed) << error.toStdString();
    EXPECT_TRUE(listed->listingFailures().isEmpty()) << listed->listingFailures().value(0).why.toStdString();
    EXPECT_EQ(sorted(listed->filePaths()), filesIn(site));
    listed->forEachEntry([&](const DigestEntry& entry) {
        if (entry.file)
            EXPECT_EQ(entry.file->md5(), QString::fromLatin1(QCryptographicHash::hash(readAll(site + QLatin1Char('/') + entry.path), QCryptographicHash::Md5).toHex()))
                << entry.path.toStdString();
    });

    // Stored, and listed again: nothing to send and nothing to remove.
    ASSERT_TRUE(lq::writeLastXmlD(dir.path(), listed.get(), nullptr));
    std::shared_ptr<XmlD> stored = lq::readLastXmlD(dir.path());
    ASSERT_TRUE(stored);
    std::shared_ptr<XmlD> again = lq::createXmlD(site + QLatin1Char('/'));
    ASSERT_TRUE(again);
    auto bom = XmlBom::createWithSourceDest(again.get(), stored.get());
    EXPECT_EQ(bom->addFiles()->filePaths(), QStringList());
    EXPECT_EQ(bom->removeFiles()->filePaths(), QStringList());
}

TEST_F(ChangeSetFolders, TheListingNamesWhatItCannotTakeAndNothingOfItIsRemoved)
{
    useBuiltHelperTools();
    const QString site = dir.path() + QStringLiteral("/homepage");
    writeAll(site + QStringLiteral("/index.html"), "home");
    writeAll(site + QStringLiteral("/files/kept.txt"), "kept");
    // A name in Latin-1, not UTF-8; a link to nothing; a pipe.
    const QByteArray latin1 = QFile::encodeName(site + QStringLiteral("/files/")) + "caf\xe9.txt";
    const int fd = ::open(latin1.constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);
    ASSERT_EQ(::symlink("nowhere.txt", QFile::encodeName(site + QStringLiteral("/files/dangling.txt")).constData()), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(site + QStringLiteral("/pipe")).constData(), 0644), 0);

    std::shared_ptr<XmlD> listed = lq::createXmlD(site + QLatin1Char('/'));
    ASSERT_TRUE(listed);
    EXPECT_EQ(sorted(listed->filePaths()), list({ "files/kept.txt", "index.html" }));
    QStringList failures;
    for (const FileFailure& failure : listed->listingFailures())
        failures.append(failure.path + QStringLiteral(": ") + failure.why);
    EXPECT_EQ(sorted(failures), list({ "files/caf\\xE9.txt: its name is not UTF-8 text", "files/dangling.txt: it is a link, which is never followed",
                                    "pipe: it is neither a file nor a folder" }));

    // Published before: none of them is removed now.
    auto stored = treeOf({ { "index.html", "1" }, { "files/dangling.txt", "2" }, { "pipe", "3" }, { "gone.html", "4" } });
    auto bom = XmlBom::createWithSourceDest(listed.get(), stored.get());
    EXPECT_EQ(bom->removeFiles()->filePaths(), list({ "gone.html" }));
    // A name Qt cannot give is removed by its bytes.
    ::unlink(latin1.constData());
}

