// Two programs on one site: the second program that opens a site another
// program holds is told which program holds it and opens nothing; a site
// whose program was killed is taken over; one closed is free again.
#include "document/MyDocument.h"
#include "document/SiteLock.h"
#include "model/site/XmlSite.h"
#include "platform/FileHelpers.h"
#include "support/SiteHelperProcess.h"
#include "support/Printers.h"
#include "support/SmallFilesystem.h"
#include "support/TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QMap>
#include <QSysInfo>
#include <QTemporaryDir>

#include <functional>

#include <future>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

class SiteLockTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(work.isValid());
        folder = work.filePath(QStringLiteral("Shared.lqxl"));
        MyDocument document;
        ASSERT_TRUE(document.newDocument(folder)) << document.lastError().toStdString();
    }

    QTemporaryDir work;
    QString folder;
};

} // namespace

TEST_F(SiteLockTest, ASiteHeldByAnotherProgramOpensNothingUntilThatProgramIsGone)
{
    SiteHelperProcess other(QStringLiteral("hold"), folder);
    ASSERT_EQ(other.nextLine(), QStringLiteral("opened"));

    // What an interrupted save would have left stays: the refused open touches nothing.
    writeAll(folder + QStringLiteral("/.site.xmlbase.lqtmp-1f"), "left by the other program's save");
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    MyDocument second;
    EXPECT_FALSE(second.readFromFile(folder));
    EXPECT_EQ(second.site(), nullptr);
    EXPECT_TRUE(second.lastError().contains(QStringLiteral("open in another program"))) << second.lastError().toStdString();
    EXPECT_TRUE(second.lastError().contains(QStringLiteral("site_helper"))) << second.lastError().toStdString();
    EXPECT_TRUE(second.lastError().contains(QString::number(other.pid()))) << second.lastError().toStdString();
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), entries);

    // Killed, the other program leaves its lock behind; it is taken over.
    other.kill();
    MyDocument third;
    ASSERT_TRUE(third.readFromFile(folder)) << third.lastError().toStdString();
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/.site.xmlbase.lqtmp-1f")));

    // Now this program holds it, and says so to the next one.
    SiteHelperProcess fourth(QStringLiteral("hold"), folder);
    const QString refusal = fourth.nextLine();
    EXPECT_TRUE(refusal.startsWith(QStringLiteral("refused: it is open in another program"))) << refusal.toStdString();
    EXPECT_TRUE(refusal.contains(QString::number(QCoreApplication::applicationPid()))) << refusal.toStdString();
    EXPECT_FALSE(fourth.finishedWell());
}

TEST_F(SiteLockTest, ASiteClosedByItsProgramIsFreeAgain)
{
    {
        SiteHelperProcess other(QStringLiteral("hold"), folder);
        ASSERT_EQ(other.nextLine(), QStringLiteral("opened"));
        other.go();
        ASSERT_TRUE(other.finishedWell());
    }
    EXPECT_FALSE(QFileInfo::exists(folder + QLatin1Char('/') + SiteLock::lockName));
    {
        MyDocument document;
        ASSERT_TRUE(document.readFromFile(folder)) << document.lastError().toStdString();
        EXPECT_TRUE(QFileInfo::exists(folder + QLatin1Char('/') + SiteLock::lockName));
        // Saved under another name, the document lets the old folder go.
        const QString moved = work.filePath(QStringLiteral("Moved.lqxl"));
        ASSERT_TRUE(document.saveAs(moved)) << document.lastError().toStdString();
        SiteHelperProcess held(QStringLiteral("hold"), moved);
        EXPECT_TRUE(held.nextLine().startsWith(QStringLiteral("refused: "))) << "the new folder is held";
        SiteHelperProcess old(QStringLiteral("hold"), folder);
        EXPECT_EQ(old.nextLine(), QStringLiteral("opened"));
        old.go();
        EXPECT_TRUE(old.finishedWell());
    }
    EXPECT_FALSE(QFileInfo::exists(folder + QLatin1Char('/') + SiteLock::lockName));
}

// A copy of a site this program holds (made while it was open, by a file
// manager or a backup) carries the lock file that names this program; the
// copy is held by nobody and opens, here and in another program.
TEST_F(SiteLockTest, ACopyOfAnOpenSiteIsHeldByNobody)
{
    MyDocument document;
    ASSERT_TRUE(document.readFromFile(folder)) << document.lastError().toStdString();
    const QString copy = work.filePath(QStringLiteral("Copy.lqxl"));
    ASSERT_TRUE(lq::copyItem(folder, copy));
    ASSERT_TRUE(QFileInfo::exists(copy + QLatin1Char('/') + SiteLock::lockName)) << "the copy carries the lock file";
    {
        MyDocument opened;
        ASSERT_TRUE(opened.readFromFile(copy)) << opened.lastError().toStdString();
        // Held now by this program for real: another one is refused.
        SiteHelperProcess other(QStringLiteral("hold"), copy);
        EXPECT_TRUE(other.nextLine().startsWith(QStringLiteral("refused: "))) << "the copy is held once opened";
    }
    // The original stays held all along.
    SiteHelperProcess other(QStringLiteral("hold"), folder);
    EXPECT_TRUE(other.nextLine().startsWith(QStringLiteral("refused: ")));
}

TEST_F(SiteLockTest, ALockWhoseHolderIsGoneIsTakenOverThoughItsNumberLivesOn)
{
    // The lock of a folder this program holds, as it lies in the folder.
    MyDocument holder;
    ASSERT_TRUE(holder.readFromFile(folder)) << holder.lastError().toStdString();
    const QByteArray held = readAll(folder + QLatin1Char('/') + SiteLock::lockName);
    ASSERT_TRUE(held.startsWith(QByteArray::number(QCoreApplication::applicationPid()) + '\n'));

    // A thread of this program, whose number a killed holder may have had.
    std::promise<pid_t> started;
    std::promise<void> done;
    std::thread thread([&] {
        started.set_value(::gettid());
        done.get_future().wait();
    });
    const pid_t threadNumber = started.get_future().get();
    QByteArray ofThread = held;
    ofThread.replace(0, held.indexOf('\n'), QByteArray::number(threadNumber));

    struct Case {
        const char* what;
        QByteArray lock;
    };
    const QList<Case> cases {
        { "a copy of the folder, with this program's lock", held },
        { "a lock naming a number that is now a thread's", ofThread },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString copy = work.filePath(QStringLiteral("Copy.lqxl"));
        ASSERT_TRUE(lq::copyItem(folder, copy));
        writeAll(copy + QLatin1Char('/') + SiteLock::lockName, c.lock);
        {
            MyDocument opened;
            EXPECT_TRUE(opened.readFromFile(copy)) << opened.lastError().toStdString();
        }
        EXPECT_TRUE(lq::removeItem(copy));
    }
    done.set_value();
    thread.join();
    // The folder held keeps its lock.
    EXPECT_EQ(readAll(folder + QLatin1Char('/') + SiteLock::lockName), held);
}

namespace {

// Every file, folder and link below the folder with its bytes (a link's
// target) and mode, to tell that nothing there changed.
QMap<QString, std::pair<QByteArray, int>> treeOf(const QString& folder)
{
    QMap<QString, std::pair<QByteArray, int>> tree;
    for (const QString& name : lq::folderEntries(folder, true)) {
        const QString path = folder + QLatin1Char('/') + name;
        const QFileInfo entry(path);
        tree.insert(name, { entry.isSymLink() ? entry.symLinkTarget().toUtf8() : readAll(path), unixMode(path) });
    }
    return tree;
}

} // namespace

// Whatever lies under the lock's name, the open neither waits for it nor is
// kept from the site: anything but a lock a live program holds is taken
// over, with a line in the Activity log, and nothing it points at is touched.
TEST_F(SiteLockTest, WhateverLiesUnderTheLocksNameNeitherHoldsTheOpenNorKeepsTheSite)
{
    const QString outside = work.filePath(QStringLiteral("outside"));
    writeAll(outside + QStringLiteral("/known.txt"), "known, and no lock");
    writeAll(outside + QStringLiteral("/dir/inner.txt"), "inner");
    ASSERT_TRUE(QFile::setPermissions(outside + QStringLiteral("/known.txt"), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    const auto outsideBefore = treeOf(outside);

    struct Case {
        const char* what;
        std::function<void(const QString& lock)> make;
        QString line; // how the Activity log tells what was taken over
    };
    const auto link = [](const QString& target) {
        return [target](const QString& lock) {
            ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(lock).constData()), 0);
        };
    };
    QByteArray garbage;
    for (int i = 0; i < 3000; ++i)
        garbage += char((i * 37) % 256);
    const QList<Case> cases {
        { "a pipe", [](const QString& lock) { ASSERT_EQ(::mkfifo(QFile::encodeName(lock).constData(), 0644), 0); }, QStringLiteral("it was a pipe") },
        { "a link to a device", link(QStringLiteral("/dev/zero")), QStringLiteral("it was a link") },
        { "a link to a file elsewhere", link(outside + QStringLiteral("/known.txt")), QStringLiteral("it was a link") },
        { "a link to a folder elsewhere", link(outside + QStringLiteral("/dir")), QStringLiteral("it was a link") },
        { "a dangling link", link(outside + QStringLiteral("/missing")), QStringLiteral("it was a link") },
        { "an empty file", [](const QString& lock) { writeAll(lock, ""); }, QStringLiteral("it was empty") },
        { "garbage", [&](const QString& lock) { writeAll(lock, garbage); }, QStringLiteral("it names no program") },
        { "a live program that holds nothing", [](const QString& lock) { writeAll(lock, "1\ninit\n" + QSysInfo::machineHostName().toUtf8() + "\n"); },
            QStringLiteral("it was left by init, process 1, which no longer holds it") },
        { "a second name of a file elsewhere",
            [&](const QString& lock) {
                ASSERT_EQ(::link(QFile::encodeName(outside + QStringLiteral("/known.txt")).constData(), QFile::encodeName(lock).constData()), 0);
            },
            QStringLiteral("it has another link, which is never written through") },
        { "an empty folder", [](const QString& lock) { ASSERT_TRUE(QDir().mkdir(lock)); }, QStringLiteral("it was an empty folder") },
        { "a folder with a file", [](const QString& lock) { writeAll(lock + QStringLiteral("/kept.txt"), "kept"); },
            QStringLiteral("it was a folder, moved aside as \"") + SiteLock::lockName + QStringLiteral(" (moved aside 1)\"") },
    };
    int number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString copy = work.filePath(QStringLiteral("Case%1.lqxl").arg(++number));
        ASSERT_TRUE(lq::copyItem(folder, copy));
        const QString lock = copy + QLatin1Char('/') + SiteLock::lockName;

        // Another program opens it at once (the watchdog is the helper's
        // line; a hang would leave none), and lets it go.
        c.make(lock);
        {
            SiteHelperProcess other(QStringLiteral("hold"), copy);
            ASSERT_EQ(other.nextLine(20000), QStringLiteral("opened"));
            other.go();
            EXPECT_TRUE(other.finishedWell());
        }
        EXPECT_FALSE(QFileInfo::exists(lock) || QFileInfo(lock).isSymLink()) << "a program that lets go leaves no lock";

        // This program too, telling what it took over; then it holds the site.
        lq::removeItem(copy + QLatin1Char('/') + SiteLock::lockName + QStringLiteral(" (moved aside 1)"));
        c.make(lock);
        MyDocument opened;
        ASSERT_TRUE(opened.readFromFile(copy)) << opened.lastError().toStdString();
        EXPECT_TRUE(opened.activityText().contains(QStringLiteral("Taking over the lock of ") + copy + QStringLiteral(": ") + c.line))
            << opened.activityText().toStdString();
        EXPECT_TRUE(opened.lockWarning().isEmpty()) << opened.lockWarning().toStdString();
        const QFileInfo held(lock);
        EXPECT_TRUE(held.isFile() && !held.isSymLink());
        struct stat heldStatus {};
        EXPECT_EQ(::lstat(QFile::encodeName(lock).constData(), &heldStatus), 0);
        EXPECT_EQ(heldStatus.st_nlink, 1u) << "the lock is a file of its own";
        EXPECT_TRUE(readAll(lock).startsWith(QByteArray::number(QCoreApplication::applicationPid()) + '\n'));
        SiteHelperProcess second(QStringLiteral("hold"), copy);
        const QString refusal = second.nextLine(20000);
        EXPECT_TRUE(refusal.startsWith(QStringLiteral("refused: it is open in another program: "))) << refusal.toStdString();
        if (QString(c.what) == QStringLiteral("a folder with a file")) {
            EXPECT_EQ(readAll(copy + QLatin1Char('/') + SiteLock::lockName + QStringLiteral(" (moved aside 1)/kept.txt")), QByteArray("kept"));
        }
        EXPECT_EQ(treeOf(outside), outsideBefore);
    }
}

// A lock a live program holds that gains a second name (a backup made of
// hard links, say) still keeps the site: it is neither taken over nor
// written, and the file under the other name keeps the holder's text.
TEST_F(SiteLockTest, ALockALiveProgramHoldsIsNotTakenOverForItsSecondName)
{
    SiteHelperProcess other(QStringLiteral("hold"), folder);
    ASSERT_EQ(other.nextLine(), QStringLiteral("opened"));
    const QString lock = folder + QLatin1Char('/') + SiteLock::lockName;
    const QString second = work.filePath(QStringLiteral("backup.lock"));
    ASSERT_EQ(::link(QFile::encodeName(lock).constData(), QFile::encodeName(second).constData()), 0);
    const QByteArray text = readAll(second);
    ASSERT_TRUE(text.startsWith(QByteArray::number(other.pid()) + '\n'));

    MyDocument refused;
    EXPECT_FALSE(refused.readFromFile(folder));
    EXPECT_TRUE(refused.lastError().contains(QStringLiteral("open in another program: site_helper"))) << refused.lastError().toStdString();
    EXPECT_EQ(readAll(second), text);
    EXPECT_EQ(readAll(lock), text);
    other.go();
    EXPECT_TRUE(other.finishedWell());
}

// A site on a full disk opens for changes all the same, and says that it is
// not locked; a save once the disk has room locks it again.
TEST(SiteLockOnAFullDisk, TheSiteOpensSaysItIsNotLockedAndIsLockedAgainOnceThereIsRoom)
{
    // Room for the site's files and a few more, then not one file more.
    SmallFilesystem disk(16 * 1024 * 1024, QString(), 2000);
    LQ_REQUIRE_MOUNTED(disk);
    const QString folder = disk.filePath(QStringLiteral("Full.lqxl"));
    {
        MyDocument made;
        ASSERT_TRUE(made.newDocument(folder)) << made.lastError().toStdString();
    }
    QStringList fillers;
    for (int i = 0; i < 5000; ++i) {
        const QString filler = disk.filePath(QStringLiteral("inode-%1").arg(i));
        QFile file(filler);
        if (!file.open(QIODevice::WriteOnly))
            break;
        fillers.append(filler);
    }
    ASSERT_LT(fillers.size(), 5000) << "the file system takes any number of files";

    MyDocument document;
    ASSERT_TRUE(document.readFromFile(folder)) << document.lastError().toStdString();
    EXPECT_TRUE(document.lockWarning().contains(QStringLiteral("cannot be made: No space left on device"))) << document.lockWarning().toStdString();
    EXPECT_FALSE(QFileInfo::exists(folder + QLatin1Char('/') + SiteLock::lockName));

    // With room again, the next save locks it: another program is refused.
    for (const QString& filler : fillers)
        ASSERT_TRUE(QFile::remove(filler));
    document.site()->setDisableImageWell(3);
    ASSERT_TRUE(document.saveFileWithComment(folder, QStringLiteral("with room"))) << document.lastError().toStdString();
    EXPECT_TRUE(document.lockWarning().isEmpty()) << document.lockWarning().toStdString();
    SiteHelperProcess other(QStringLiteral("hold"), folder);
    EXPECT_TRUE(other.nextLine(20000).startsWith(QStringLiteral("refused: it is open in another program")));
}

TEST(SiteLockOnAFullDisk, ALockFileWithoutRoomForItsTextStillKeepsOtherProgramsOut)
{
    SmallFilesystem disk(16 * 1024 * 1024);
    LQ_REQUIRE_MOUNTED(disk);
    const QString folder = disk.filePath(QStringLiteral("Full.lqxl"));
    {
        MyDocument made;
        ASSERT_TRUE(made.newDocument(folder)) << made.lastError().toStdString();
    }
    disk.fillLeaving(0);
    MyDocument document;
    ASSERT_TRUE(document.readFromFile(folder)) << document.lastError().toStdString();
    EXPECT_TRUE(document.lockWarning().contains(QStringLiteral("cannot be written: No space left on device"))) << document.lockWarning().toStdString();
    // The system's lock holds without the text: the other program is told no name.
    SiteHelperProcess other(QStringLiteral("hold"), folder);
    EXPECT_EQ(other.nextLine(20000), QStringLiteral("refused: it is open in another program"));
}
