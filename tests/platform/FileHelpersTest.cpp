#include "platform/FileHelpers.h"
#include "platform/UserDefaults.h"
#include "support/TestFiles.h"

#include <QSettings>
#include <QTemporaryDir>

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

TEST(FileHelpers, PlainWriteReplacesTheContentAndReportsEveryFailure)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.html"));
    ASSERT_TRUE(lq::writeFile(path, "a longer first content"));
    ASSERT_TRUE(lq::writeFile(path, "short"));
    EXPECT_EQ(readAll(path), QByteArray("short")) << "nothing of the longer content stays";
    ASSERT_TRUE(lq::writeFile(path, QByteArray()));
    EXPECT_EQ(readAll(path), QByteArray());

    QString why;
    EXPECT_FALSE(lq::writeFile(dir.filePath(QStringLiteral("missing/page.html")), "x", &why));
    EXPECT_TRUE(why.contains(QStringLiteral("missing/page.html"))) << why.toStdString();
    // A full disk shows only when the buffered bytes go out: that is caught too.
    if (QFileInfo::exists(QStringLiteral("/dev/full"))) {
        why.clear();
        EXPECT_FALSE(lq::writeFile(QStringLiteral("/dev/full"), QByteArray(100000, 'x'), &why));
        EXPECT_FALSE(why.isEmpty());
        why.clear();
        EXPECT_FALSE(lq::writeFile(QStringLiteral("/dev/full"), "small", &why));
        EXPECT_FALSE(why.isEmpty());
    }

    writeAll(dir.filePath(QStringLiteral("sub/deeper/b.html")), "b");
    EXPECT_TRUE(lq::syncTree(dir.path()));
    why.clear();
    EXPECT_FALSE(lq::syncTree(dir.filePath(QStringLiteral("missing")), &why));
    EXPECT_TRUE(why.contains(QStringLiteral("missing"))) << why.toStdString();
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
