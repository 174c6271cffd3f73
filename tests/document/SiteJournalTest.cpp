// What a site folder holds when it opens after a change was cut short, or
// when someone else put it there: leftovers of changes go, and a journal is
// followed only as far as it names the document's own files.
#include "document/MyDocument.h"
#include "document/SiteJournal.h"
#include "platform/FileHelpers.h"
#include "support/Printers.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class SiteJournalTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(work.isValid());
        folder = work.filePath(QStringLiteral("Site.lqxl"));
        MyDocument document;
        ASSERT_TRUE(document.newDocument(folder)) << document.lastError().toStdString();
        savedSite = readAll(folder + QStringLiteral("/site.xmlbase"));
        victim = work.filePath(QStringLiteral("victim.txt"));
        writeAll(victim, "not the site's");
    }

    QTemporaryDir work;
    QString folder;
    QByteArray savedSite;
    QString victim;
};

} // namespace

TEST_F(SiteJournalTest, WhatInterruptedChangesLeaveGoesAtTheNextOpen)
{
    const QStringList leftovers { QStringLiteral(".site.xmlbase.lqtmp-3fa9"), QStringLiteral(".lqtmp-Ab12Cd/site.xmlbase"),
        QStringLiteral(".lumenquill-revert-x1Y2z3/snapshot/bitmaps2/a.png"), QStringLiteral("revert/.Mon Dec 07,2026 11_29_17 PM.qvzip.lqtmp-77"),
        QStringLiteral("bitmaps2/.b.png.lqtmp-1"), QStringLiteral(".lumenquill-theme-Q1w2E3/files/fonts/a.ttf") };
    for (const QString& path : leftovers)
        writeAll(folder + QLatin1Char('/') + path, "half written");
    // The user's own hidden files and pictures stay.
    const QStringList theirs { QStringLiteral(".notes"), QStringLiteral("bitmaps2/b.png"), QStringLiteral("files/.lqtmp-mine") };
    for (const QString& path : theirs)
        writeAll(folder + QLatin1Char('/') + path, "mine");

    MyDocument document;
    ASSERT_TRUE(document.readFromFile(folder)) << document.lastError().toStdString();
    for (const QString& path : leftovers)
        EXPECT_FALSE(QFileInfo::exists(folder + QLatin1Char('/') + path)) << path.toStdString();
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/.lqtmp-Ab12Cd")));
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/.lumenquill-revert-x1Y2z3")));
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/.lumenquill-theme-Q1w2E3")));
    for (const QString& path : theirs)
        EXPECT_EQ(readAll(folder + QLatin1Char('/') + path), QByteArray("mine")) << path.toStdString();
}

TEST_F(SiteJournalTest, AJournalNamingAnythingButTheSitesOwnFilesIsNotFollowed)
{
    struct Case {
        const char* what;
        QByteArray journal;
        bool opens; // false: the folder does not open, and says why
    };
    const QByteArray header = "lumenquill journal 1\n";
    const QList<Case> cases {
        { "a target outside the folder", header + ".lqtmp-a/site.xmlbase\t../victim.txt\nend\n", true },
        { "a target that is no document file", header + ".lqtmp-a/site.xmlbase\tpictures/image1.jpg\nend\n", true },
        { "a staged file outside a staging folder", header + "../victim.txt\tsite.xmlbase\nend\n", true },
        { "a staging folder that is a link", header + ".lqtmp-link/victim.txt\tsite.xmlbase\nend\n", true },
        { "a journal cut short", header + ".lqtmp-a/site.xmlbase\tsite.xmlbase\n", true },
        { "a snapshot folder that is a link", header + ".lqtmp-a/site.xmlbase\trevert/x.qvzip\nend\n", false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeAll(folder + QStringLiteral("/.lqtmp-a/site.xmlbase"), "<QZsite/>");
        ASSERT_TRUE(QFile::link(work.path(), folder + QStringLiteral("/.lqtmp-link")));
        const bool linkedRevert = !c.opens;
        if (linkedRevert) {
            ASSERT_TRUE(QDir(folder + QStringLiteral("/revert")).removeRecursively());
            ASSERT_TRUE(QFile::link(work.path(), folder + QStringLiteral("/revert")));
        }
        writeAll(folder + QLatin1Char('/') + SiteJournal::journalName, c.journal);

        MyDocument document;
        EXPECT_EQ(document.readFromFile(folder), c.opens) << document.lastError().toStdString();
        EXPECT_EQ(readAll(victim), QByteArray("not the site's"));
        EXPECT_TRUE(QFileInfo(victim).isFile());
        EXPECT_EQ(readAll(folder + QStringLiteral("/site.xmlbase")), savedSite);
        EXPECT_EQ(QDir(work.path()).entryList(QDir::Files), QStringList { QStringLiteral("victim.txt") });
        if (c.opens) {
            EXPECT_FALSE(QFileInfo::exists(folder + QLatin1Char('/') + SiteJournal::journalName));
            EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/.lqtmp-a")));
            EXPECT_FALSE(QFileInfo(folder + QStringLiteral("/.lqtmp-link")).isSymLink());
        } else {
            EXPECT_TRUE(document.lastError().contains(QStringLiteral("cannot be finished"))) << document.lastError().toStdString();
            ASSERT_TRUE(QFile::remove(folder + QStringLiteral("/revert")));
            ASSERT_TRUE(QDir().mkdir(folder + QStringLiteral("/revert")));
            ASSERT_TRUE(QFile::remove(folder + QLatin1Char('/') + SiteJournal::journalName));
            lq::removeItem(folder + QStringLiteral("/.lqtmp-a"));
            QFile::remove(folder + QStringLiteral("/.lqtmp-link"));
        }
    }
}

TEST_F(SiteJournalTest, ANewFileFillsAnEmptyPlaceOnlyAndNeverGoesThroughALink)
{
    // A change that brings new files, killed once its journal was written.
    const QString staging = QStringLiteral(".lumenquill-theme-a");
    const QList<QPair<QString, QByteArray>> brought {
        { QStringLiteral("bitmaps2/A000.png"), "a picture" },
        { QStringLiteral("files/deep/er/read me.txt"), "in folders the site has not" },
        { QStringLiteral("files/mine.txt"), "the theme's" },
    };
    writeAll(folder + QStringLiteral("/files/mine.txt"), "mine");
    QByteArray journal = "lumenquill journal 1\n";
    for (const auto& [path, bytes] : brought) {
        writeAll(folder + QLatin1Char('/') + staging + QLatin1Char('/') + path, bytes);
        journal += (staging + QLatin1Char('/') + path + QLatin1Char('\t') + path).toUtf8() + "\tnew\n";
    }
    writeAll(folder + QLatin1Char('/') + SiteJournal::journalName, journal + "end\n");
    {
        MyDocument document;
        ASSERT_TRUE(document.readFromFile(folder)) << document.lastError().toStdString();
    }
    EXPECT_EQ(readAll(folder + QStringLiteral("/bitmaps2/A000.png")), QByteArray("a picture"));
    EXPECT_EQ(readAll(folder + QStringLiteral("/files/deep/er/read me.txt")), QByteArray("in folders the site has not"));
    EXPECT_EQ(readAll(folder + QStringLiteral("/files/mine.txt")), QByteArray("mine"));
    EXPECT_FALSE(QFileInfo::exists(folder + QLatin1Char('/') + staging));
    EXPECT_FALSE(QFileInfo::exists(folder + QLatin1Char('/') + SiteJournal::journalName));

    // A new file named where only replacing is allowed, or below a folder
    // that is a link out of the site, is never put there.
    ASSERT_TRUE(QFile::link(work.path(), folder + QStringLiteral("/files/out")));
    struct Case {
        const char* what;
        QString target;
        bool opens; // false: the folder does not open, and says why
    };
    const QList<Case> cases {
        { "a document file", QStringLiteral("site.xmlbase"), true },
        { "a picture of the photos", QStringLiteral("pictures/image1.jpg"), true },
        { "up and out of the files", QStringLiteral("files/../../victim.txt"), true },
        { "below a folder that is a link", QStringLiteral("files/out/new.txt"), false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeAll(folder + QLatin1Char('/') + staging + QStringLiteral("/x"), "<QZsite evil=\"1\"/>");
        writeAll(folder + QLatin1Char('/') + SiteJournal::journalName,
            "lumenquill journal 1\n" + (staging + QStringLiteral("/x\t") + c.target).toUtf8() + "\tnew\nend\n");
        MyDocument document;
        EXPECT_EQ(document.readFromFile(folder), c.opens) << document.lastError().toStdString();
        EXPECT_EQ(readAll(folder + QStringLiteral("/site.xmlbase")), savedSite);
        EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/pictures/image1.jpg")));
        EXPECT_EQ(QDir(work.path()).entryList(QDir::Files), QStringList { QStringLiteral("victim.txt") });
        EXPECT_EQ(readAll(victim), QByteArray("not the site's"));
        QFile::remove(folder + QLatin1Char('/') + SiteJournal::journalName);
        lq::removeItem(folder + QLatin1Char('/') + staging);
    }
}
