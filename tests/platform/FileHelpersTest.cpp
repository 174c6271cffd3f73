#include "platform/FileHelpers.h"
#include "platform/UserDefaults.h"
#include "support/SmallFilesystem.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <functional>
#include <vector>

#include <gtest/gtest.h>

TEST(FileHelpers, CopyMoveRemoveAndListTrees)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("src"));
    writeAll(source + QStringLiteral("/a.txt"), "A");
    writeAll(source + QStringLiteral("/sub/.hidden"), "H");
    writeAll(source + QStringLiteral("/sub/b.txt"), "B");

    const QString copy = dir.filePath(QStringLiteral("copy"));
    ASSERT_TRUE(lq::copyItem(source, copy));
    EXPECT_EQ(lq::folderEntries(copy, true),
        (QStringList { QStringLiteral("a.txt"), QStringLiteral("sub"), QStringLiteral("sub/.hidden"), QStringLiteral("sub/b.txt") }));
    EXPECT_EQ(lq::folderEntries(copy), (QStringList { QStringLiteral("a.txt"), QStringLiteral("sub") }));
    EXPECT_EQ(readAll(copy + QStringLiteral("/sub/b.txt")), QByteArray("B"));

    // Nothing is ever copied or moved over something that is there.
    QString why;
    writeAll(dir.filePath(QStringLiteral("taken")), "keep");
    EXPECT_FALSE(lq::copyItem(source + QStringLiteral("/a.txt"), dir.filePath(QStringLiteral("taken")), &why));
    EXPECT_FALSE(why.isEmpty());
    EXPECT_FALSE(lq::moveItem(copy, dir.filePath(QStringLiteral("taken"))));
    EXPECT_EQ(readAll(dir.filePath(QStringLiteral("taken"))), QByteArray("keep"));
    EXPECT_FALSE(lq::copyItem(dir.filePath(QStringLiteral("none")), dir.filePath(QStringLiteral("x"))));

    const QString moved = dir.filePath(QStringLiteral("moved"));
    ASSERT_TRUE(lq::moveItem(copy, moved));
    EXPECT_FALSE(QFileInfo::exists(copy));
    EXPECT_EQ(readAll(moved + QStringLiteral("/a.txt")), QByteArray("A"));

    ASSERT_TRUE(lq::removeItem(moved));
    EXPECT_FALSE(QFileInfo::exists(moved));
    EXPECT_TRUE(lq::removeItem(moved)); // nothing there is done
    EXPECT_TRUE(lq::modificationDate(source + QStringLiteral("/a.txt")).isValid());
    EXPECT_FALSE(lq::modificationDate(moved).isValid());
}

TEST(FileHelpers, AtomicWriteLeavesTheOldFileWholeOnFailure)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f.txt"));
    ASSERT_TRUE(lq::writeFileAtomically(path, "first"));
    ASSERT_TRUE(lq::writeFileAtomically(path, "second"));
    EXPECT_EQ(readAll(path), QByteArray("second"));
    QString why;
    EXPECT_FALSE(lq::writeFileAtomically(dir.filePath(QStringLiteral("missing/f.txt")), "x", &why));
    EXPECT_FALSE(why.isEmpty());
    // A folder in the way is never replaced.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    EXPECT_FALSE(lq::writeFileAtomically(dir.filePath(QStringLiteral("folder")), "x"));
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("folder"))).isDir());
}

// A new file is written where nothing is; whatever is there already (a
// file, a folder, a link, even one leading nowhere) is left as it is and
// reported, never written through.
TEST(FileHelpers, NewFilesAreWrittenOnlyWhereNothingIs)
{
    QTemporaryDir dir;
    const QString fresh = dir.filePath(QStringLiteral("fresh.html"));
    bool existed = true;
    ASSERT_TRUE(lq::writeNewFile(fresh, "new bytes", nullptr, &existed));
    EXPECT_FALSE(existed);
    EXPECT_EQ(readAll(fresh), QByteArray("new bytes"));

    writeAll(dir.filePath(QStringLiteral("old.html")), "old");
    writeAll(dir.filePath(QStringLiteral("target.txt")), "pointed at");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("target.txt")), dir.filePath(QStringLiteral("link.html"))));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("nowhere")), dir.filePath(QStringLiteral("dangling.html"))));
    for (const char* name : { "old.html", "folder", "link.html", "dangling.html" }) {
        QString why;
        existed = false;
        EXPECT_FALSE(lq::writeNewFile(dir.filePath(QString::fromLatin1(name)), "x", &why, &existed)) << name;
        EXPECT_TRUE(existed) << name;
        EXPECT_TRUE(why.contains(QString::fromLatin1(name))) << why.toStdString();
    }
    EXPECT_EQ(readAll(dir.filePath(QStringLiteral("old.html"))), QByteArray("old"));
    EXPECT_EQ(readAll(dir.filePath(QStringLiteral("target.txt"))), QByteArray("pointed at"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("nowhere"))));

    // A folder that is not there is no file that was there.
    QString why;
    existed = true;
    EXPECT_FALSE(lq::writeNewFile(dir.filePath(QStringLiteral("missing/f.html")), "x", &why, &existed));
    EXPECT_FALSE(existed);
    EXPECT_TRUE(why.contains(QStringLiteral("No such file or directory"))) << why.toStdString();
}

TEST(FileHelpers, SyncTreePutsEveryFileOfTheTreeOnTheDisk)
{
    QTemporaryDir dir;
    writeAll(dir.filePath(QStringLiteral("page.html")), "a");
    writeAll(dir.filePath(QStringLiteral("sub/deeper/b.html")), "b");
    EXPECT_TRUE(lq::syncTree(dir.path()));
    EXPECT_EQ(readAll(dir.filePath(QStringLiteral("sub/deeper/b.html"))), QByteArray("b"));
    QString why;
    EXPECT_FALSE(lq::syncTree(dir.filePath(QStringLiteral("missing")), &why));
    EXPECT_TRUE(why.contains(QStringLiteral("missing"))) << why.toStdString();
}

// On a full disk every way of writing fails with the system's reason, keeps
// what was there before and leaves no half-written file behind.
TEST(FileHelpers, WritesOnAFullDiskFailWholeWithTheSystemsReason)
{
    SmallFilesystem disk(256 * 1024);
    LQ_REQUIRE_MOUNTED(disk);
    const QString path = disk.filePath(QStringLiteral("page.html"));
    const QString source = disk.filePath(QStringLiteral("source.bin"));
    ASSERT_TRUE(lq::writeFileAtomically(path, "the old page"));
    ASSERT_TRUE(lq::writeFileAtomically(source, QByteArray(20000, 's')));
    disk.fillLeaving(0);
    const QStringList before = lq::folderEntries(disk.path());

    struct Case {
        const char* what;
        std::function<bool(QString*)> write;
    };
    const std::vector<Case> cases {
        { "a small write", [&](QString* why) { return lq::writeFileAtomically(path, QByteArray(100, 'a'), why); } },
        { "a write of several blocks", [&](QString* why) { return lq::writeFileAtomically(path, QByteArray(10000, 'b'), why); } },
        { "a durable owner-only write",
            [&](QString* why) { return lq::writeFileAtomically(path, QByteArray(5000, 'c'), why, { .ownerOnly = true, .durable = true }); } },
        { "a copy", [&](QString* why) { return lq::copyFile(source, disk.filePath(QStringLiteral("copy.bin")), why); } },
        { "a copy of a folder", [&](QString* why) { return lq::copyItem(source, disk.filePath(QStringLiteral("copied")), why); } },
        { "a new file of several blocks",
            [&](QString* why) { return lq::writeNewFile(disk.filePath(QStringLiteral("new.html")), QByteArray(10000, 'd'), why); } },
    };
    for (const Case& c : cases) {
        QString why;
        EXPECT_FALSE(c.write(&why)) << c.what;
        EXPECT_TRUE(why.contains(QStringLiteral("No space left on device"))) << c.what << ": " << why.toStdString();
        EXPECT_EQ(readAll(path), QByteArray("the old page")) << c.what;
        EXPECT_EQ(lq::folderEntries(disk.path()), before) << c.what;
    }
}

// Files written together replace their targets only once all are whole.
TEST(FileHelpers, PendingFilesReplaceTheirTargetsOnlyWhenCommitted)
{
    QTemporaryDir dir;
    const QString first = dir.filePath(QStringLiteral("one"));
    const QString second = dir.filePath(QStringLiteral("two"));
    writeAll(first, "old one");
    {
        lq::PendingFile pending;
        ASSERT_TRUE(pending.write(first, "new one", {}));
        EXPECT_EQ(readAll(first), QByteArray("old one"));
        // Not committed: gone with the object.
    }
    EXPECT_EQ(readAll(first), QByteArray("old one"));
    EXPECT_EQ(lq::folderEntries(dir.path()), QStringList { QStringLiteral("one") });

    lq::PendingFile one;
    lq::PendingFile two;
    ASSERT_TRUE(one.write(first, "new one", { .ownerOnly = true, .durable = true }));
    ASSERT_TRUE(two.write(second, "new two", {}));
    ASSERT_TRUE(one.commit());
    ASSERT_TRUE(two.commit());
    EXPECT_EQ(readAll(first), QByteArray("new one"));
    EXPECT_EQ(readAll(second), QByteArray("new two"));
    EXPECT_EQ(unixMode(first), 0600);
    EXPECT_EQ(lq::folderEntries(dir.path()), (QStringList { QStringLiteral("one"), QStringLiteral("two") }));
}

TEST(FileHelpers, NoChangeGoesThroughALinkBelowTheFolder)
{
    QTemporaryDir dir;
    const QString site = dir.filePath(QStringLiteral("Site.lqxl"));
    const QString outside = dir.filePath(QStringLiteral("outside"));
    writeAll(site + QStringLiteral("/files/a.txt"), "a");
    writeAll(outside + QStringLiteral("/victim.txt"), "v");
    ASSERT_TRUE(QFile::link(outside, site + QStringLiteral("/files/out")));
    ASSERT_TRUE(QFile::link(site + QStringLiteral("/files"), site + QStringLiteral("/inside")));
    ASSERT_TRUE(QFile::link(outside + QStringLiteral("/victim.txt"), site + QStringLiteral("/files/last.txt")));
    // The site reached through a link of its own is the user's choice.
    const QString viaLink = dir.filePath(QStringLiteral("Shortcut.lqxl"));
    ASSERT_TRUE(QFile::link(site, viaLink));
    struct Case {
        QString folder;
        QString path;
        const char* reason; // "" when the path is safe
    };
    const std::vector<Case> cases {
        { site, site + QStringLiteral("/files/a.txt"), "" },
        { site, site + QStringLiteral("/files/new/deeper/b.txt"), "" },
        { site, site + QStringLiteral("/files/last.txt"), "" }, // replaced or removed itself
        { viaLink, viaLink + QStringLiteral("/files/a.txt"), "" },
        { site, site + QStringLiteral("/files/out/victim.txt"), "is a link" },
        { site, site + QStringLiteral("/files/out/new/b.txt"), "is a link" },
        { site, site + QStringLiteral("/inside/a.txt"), "is a link" }, // even one that stays inside
        { site, site + QStringLiteral("/files/../../outside/victim.txt"), "lies outside" },
        { site, site, "lies outside" },
        { site, outside + QStringLiteral("/victim.txt"), "lies outside" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const QString why = lq::linkUnsafePath(c.folder, c.path);
        if (*c.reason == 0)
            EXPECT_EQ(why, QString());
        else
            EXPECT_TRUE(why.contains(QLatin1String(c.reason))) << why.toStdString();
        // Folders are made only where a change may go.
        QString error;
        const bool made = lq::makeFoldersBelow(c.folder, QFileInfo(c.path).path(), &error);
        EXPECT_EQ(made, *c.reason == 0) << error.toStdString();
    }
    EXPECT_EQ(lq::folderEntries(outside), QStringList { QStringLiteral("victim.txt") });
    EXPECT_TRUE(QFileInfo(site + QStringLiteral("/files/new/deeper")).isDir());
}

TEST(UserDefaults, MissingKeysReadAsZeroAndValuesSurviveASync)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("defaults.conf"));
    {
        lq::UserDefaults defaults(std::make_unique<QSettings>(file, QSettings::IniFormat));
        EXPECT_EQ(defaults.integerForKey(QStringLiteral("Missing")), 0);
        EXPECT_EQ(defaults.doubleForKey(QStringLiteral("Missing")), 0.0);
        EXPECT_FALSE(defaults.boolForKey(QStringLiteral("Missing")));
        EXPECT_EQ(defaults.stringForKey(QStringLiteral("Missing")), QStringLiteral(""));
        EXPECT_FALSE(defaults.hasKey(QStringLiteral("Missing")));
        defaults.setInteger(QStringLiteral("Version"), 6);
        defaults.setString(QStringLiteral("Text"), QStringLiteral("no number"));
        defaults.setBool(QStringLiteral("Flag"), true);
        defaults.setDouble(QStringLiteral("Factor"), 0.75);
        ASSERT_TRUE(defaults.synchronize());
    }
    lq::UserDefaults again(std::make_unique<QSettings>(file, QSettings::IniFormat));
    EXPECT_EQ(again.integerForKey(QStringLiteral("Version")), 6);
    EXPECT_EQ(again.integerForKey(QStringLiteral("Text")), 0);
    EXPECT_TRUE(again.boolForKey(QStringLiteral("Flag")));
    EXPECT_DOUBLE_EQ(again.doubleForKey(QStringLiteral("Factor")), 0.75);
    again.removeObjectForKey(QStringLiteral("Version"));
    EXPECT_EQ(again.integerForKey(QStringLiteral("Version")), 0);
}
