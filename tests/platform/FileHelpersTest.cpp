#include "platform/FileHelpers.h"
#include "support/SmallFilesystem.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
