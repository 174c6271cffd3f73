// Two programs on one site: the second program that opens a site another
// program holds is told which program holds it and opens nothing; a site
// whose program was killed is taken over; one closed is free again.
#include "document/MyDocument.h"
#include "document/SiteLock.h"
#include "model/site/XmlSite.h"
#include "platform/FileHelpers.h"
#include "support/SiteHelperProcess.h"
#include "support/Printers.h"
#include "support/TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <future>
#include <thread>

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
