// Folder exports killed (SIGKILL) at random moments: a second program
// (tests/programs/SiteHelper.cpp) exports a site made from the shipped
// starter into a folder that holds its last export, and is killed somewhere
// between being told to go and finishing. Every file of the folder is then
// the old one or the new one, whole, never a mix; and the next export leaves
// the folder as the site is, with nothing the killed one left behind.
//
// LQ_KILL_ROUNDS sets how many exports are killed; the figures go to the
// test's output.
#include "document/MyDocument.h"
#include "platform/FileHelpers.h"
#include "publish/DigestListing.h"
#include "publish/FolderExport.h"
#include "publish/XmlBom.h"
#include "publish/XmlD.h"
#include "support/HelperTools.h"
#include "support/SiteBuildRun.h"
#include "support/SiteHelperProcess.h"
#include "support/TestFiles.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <iostream>

namespace {

// Every file below the folder (hidden ones too) with its bytes; links are no files.
QMap<QString, QByteArray> filesIn(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(folder).relativeFilePath(path), readAll(path));
    }
    return files;
}

class KilledExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        useBuiltHelperTools();
        ASSERT_TRUE(work.isValid());
        base = work.filePath(QStringLiteral("Base.lqxl"));
        published = work.filePath(QStringLiteral("Published"));
        rounds = qEnvironmentVariableIntValue("LQ_KILL_ROUNDS");
        if (rounds <= 0)
            rounds = 30;
        MyDocument document;
        ASSERT_TRUE(document.newDocument(base)) << document.lastError().toStdString();
        // The user's own files, enough of them that an export takes a while.
        writeUserFiles("before");
        build(document);
        // Exported once: the folder holds the site as it was, and the site
        // the tree of that export.
        const std::shared_ptr<XmlD> current = document.createXmlD(QString());
        ASSERT_TRUE(current);
        const auto bom = XmlBom::createWithSourceDest(current.get(), nullptr);
        ASSERT_EQ(lq::exportChangesToFolder(&document, bom.get(), current.get(), base + QStringLiteral("/homepage"), published), QString());
        before = filesIn(published);
        // Then every file changes, and the site is built anew.
        writeUserFiles("after");
        build(document);
        after = filesIn(base + QStringLiteral("/homepage"));
        ASSERT_EQ(before.keys(), after.keys());
    }

    void writeUserFiles(const QByteArray& label)
    {
        for (int i = 0; i < 16; ++i)
            writeAll(base + QStringLiteral("/files/data/file%1.bin").arg(i, 2, 10, QLatin1Char('0')),
                label + QByteArray(3 * 1024 * 1024, char('a' + i % 26)) + QByteArray::number(i));
    }

    void build(MyDocument& document)
    {
        SiteBuildRun run(document);
        ASSERT_TRUE(run.wait()) << run.why.toStdString() << document.activityText().toStdString();
    }

    // A copy of the site and of the folder of its last export, for one run.
    std::pair<QString, QString> freshCopies()
    {
        ++runs;
        const QString site = work.filePath(QStringLiteral("Run %1.lqxl").arg(runs));
        const QString folder = work.filePath(QStringLiteral("Export %1").arg(runs));
        EXPECT_TRUE(lq::copyItem(base, site));
        EXPECT_TRUE(lq::copyItem(published, folder));
        return { site, folder };
    }

    // Exports to the end; answers how long its copying took.
    qint64 exportToTheEnd(const QString& site, const QString& folder)
    {
        SiteHelperProcess helper(QStringLiteral("export"), site, folder);
        EXPECT_EQ(helper.nextLine(), QStringLiteral("opened"));
        EXPECT_EQ(helper.nextLine(), QStringLiteral("ready"));
        helper.go();
        EXPECT_EQ(helper.nextLine(), QStringLiteral("listed"));
        QElapsedTimer took;
        took.start();
        EXPECT_EQ(helper.nextLine(), QStringLiteral("done"));
        const qint64 elapsed = took.elapsed();
        EXPECT_TRUE(helper.finishedWell());
        return elapsed;
    }

    QTemporaryDir work;
    QString base;
    QString published;
    QMap<QString, QByteArray> before;
    QMap<QString, QByteArray> after;
    int rounds = 30;
    int runs = 0;
};

} // namespace

TEST_F(KilledExportTest, AKilledExportLeavesEachFileOldOrNewAndTheNextOneLeavesNothingBehind)
{
    const auto [site, folder] = freshCopies();
    const qint64 took = exportToTheEnd(site, folder) * 11 / 10;
    ASSERT_EQ(filesIn(folder), after);

    int tried = 0;
    int finishedFirst = 0;
    int leftOver = 0;
    int mixed = 0;
    for (int round = 0; round < rounds && !HasFatalFailure(); ++round) {
        const auto [site, folder] = freshCopies();
        {
            SiteHelperProcess helper(QStringLiteral("export"), site, folder);
            ASSERT_EQ(helper.nextLine(), QStringLiteral("opened"));
            ASSERT_EQ(helper.nextLine(), QStringLiteral("ready"));
            helper.go();
            // Somewhere in the copying, or a little after.
            ASSERT_EQ(helper.nextLine(), QStringLiteral("listed"));
            QThread::usleep(QRandomGenerator::global()->bounded(quint64(std::max<qint64>(took, 1)) * 1000));
            helper.kill();
            ++tried;
            if (helper.nextLine(0) == QStringLiteral("done"))
                ++finishedFirst;
        }
        // Each file is the old one or the new one; a file still beside its
        // place is no file of the site.
        const QMap<QString, QByteArray> found = filesIn(folder);
        for (auto it = found.cbegin(); it != found.cend(); ++it) {
            if (it.key().endsWith(QStringLiteral(".lqpart"))) {
                ++leftOver;
                continue;
            }
            if (it.value() != before.value(it.key()) && it.value() != after.value(it.key())) {
                ++mixed;
                ADD_FAILURE() << it.key().toStdString() << " is neither the old file nor the new one";
            }
        }
        // No file of the site is ever missing: the new one replaces the old in one step.
        for (const QString& name : before.keys())
            EXPECT_TRUE(found.contains(name)) << name.toStdString() << " went missing";
        // The next export finishes the work and takes away what was left.
        exportToTheEnd(site, folder);
        EXPECT_EQ(filesIn(folder), after) << folder.toStdString();
        lq::removeItem(site);
        lq::removeItem(folder);
    }
    std::cout << "killed exports: " << tried << " kills tried, " << finishedFirst << " came after the end; " << leftOver
              << " temporary files left, each taken away by the next export; " << mixed << " files mixed" << std::endl;
    EXPECT_EQ(mixed, 0);
}
