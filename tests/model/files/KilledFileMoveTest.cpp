// The files pane's renames and moves killed (SIGKILL) at random moments: a
// second program (tests/programs/SiteHelper.cpp) opens a site made from the
// shipped starter and renames, or moves into another folder, every file of
// a folder of the site's files through the calls the pane makes, and is
// killed somewhere between being told to go and finishing. Each rename and
// move is one rename of the kernel, so every file is then at its old name
// or its new one, whole, never at both and never missing; nothing else is
// left in either folder, and the next open of the site finds it so.
//
// LQ_KILL_ROUNDS sets how many runs are killed; the figures go to the
// test's output.
#include "document/MyDocument.h"
#include "model/files/XmlFiles.h"
#include "model/files/XmlFolder.h"
#include "model/site/XmlSite.h"
#include "platform/FileHelpers.h"
#include "support/SiteHelperProcess.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <iostream>

namespace {

constexpr int pileSize = 60;

QString fileName(int i)
{
    return QStringLiteral("file%1.bin").arg(i, 2, 10, QLatin1Char('0'));
}

QByteArray contentOf(int i)
{
    return QByteArray(64 * 1024, char('a' + i % 26)) + QByteArray::number(i);
}

// Every entry of the folder, hidden ones too.
QStringList entriesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

class KilledFileMoveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(work.isValid());
        base = work.filePath(QStringLiteral("Base.lqxl"));
        rounds = qEnvironmentVariableIntValue("LQ_KILL_ROUNDS");
        if (rounds <= 0)
            rounds = 12;
        MyDocument document;
        ASSERT_TRUE(document.newDocument(base)) << document.lastError().toStdString();
        for (int i = 0; i < pileSize; ++i)
            writeAll(base + QStringLiteral("/files/pile/") + fileName(i), contentOf(i));
        ASSERT_TRUE(QDir().mkpath(base + QStringLiteral("/files/moved")));
    }

    QString freshCopy()
    {
        const QString site = work.filePath(QStringLiteral("Run %1.lqxl").arg(++runs));
        EXPECT_TRUE(lq::copyItem(base, site));
        return site;
    }

    // Where file i is after the command: its old place, its new one.
    std::pair<QString, QString> placesOf(const QString& site, const QString& command, int i) const
    {
        const QString old = site + QStringLiteral("/files/pile/") + fileName(i);
        if (command == QLatin1String("files-rename"))
            return { old, site + QStringLiteral("/files/pile/renamed-") + fileName(i) };
        return { old, site + QStringLiteral("/files/moved/") + fileName(i) };
    }

    // Runs the command to its end; answers how long its work took.
    qint64 runToTheEnd(const QString& command, const QString& site)
    {
        SiteHelperProcess helper(command, site, QStringLiteral("pile"));
        EXPECT_EQ(helper.nextLine(), QStringLiteral("opened"));
        EXPECT_EQ(helper.nextLine(), QStringLiteral("ready"));
        QElapsedTimer took;
        took.start();
        helper.go();
        EXPECT_EQ(helper.nextLine(), QStringLiteral("done"));
        const qint64 elapsed = took.elapsed();
        EXPECT_TRUE(helper.finishedWell());
        return elapsed;
    }

    // Kills the command at random moments, round after round, and checks
    // each file after every kill.
    void killRounds(const QString& command)
    {
        const QString whole = freshCopy();
        const qint64 took = std::max<qint64>(runToTheEnd(command, whole) * 12 / 10, 1);
        for (int i = 0; i < pileSize; ++i) {
            const auto [old, moved] = placesOf(whole, command, i);
            ASSERT_FALSE(QFileInfo::exists(old));
            ASSERT_EQ(readAll(moved), contentOf(i));
        }

        int killed = 0;
        int afterTheEnd = 0;
        qint64 atOld = 0;
        qint64 atNew = 0;
        int atBoth = 0;
        int missing = 0;
        int mixed = 0;
        int leftOver = 0;
        for (int round = 0; round < rounds && !HasFatalFailure(); ++round) {
            const QString site = freshCopy();
            {
                SiteHelperProcess helper(command, site, QStringLiteral("pile"));
                ASSERT_EQ(helper.nextLine(), QStringLiteral("opened"));
                ASSERT_EQ(helper.nextLine(), QStringLiteral("ready"));
                helper.go();
                QThread::usleep(QRandomGenerator::global()->bounded(quint64(took) * 1000));
                helper.kill();
                ++killed;
                if (helper.nextLine(0) == QStringLiteral("done"))
                    ++afterTheEnd;
            }
            QStringList expected;
            for (int i = 0; i < pileSize; ++i) {
                const auto [old, moved] = placesOf(site, command, i);
                const bool there = QFileInfo::exists(old);
                const bool here = QFileInfo::exists(moved);
                atOld += there ? 1 : 0;
                atNew += here ? 1 : 0;
                if (there && here) {
                    ++atBoth;
                    ADD_FAILURE() << fileName(i).toStdString() << " is at both names";
                } else if (!there && !here) {
                    ++missing;
                    ADD_FAILURE() << fileName(i).toStdString() << " went missing";
                } else if (readAll(there ? old : moved) != contentOf(i)) {
                    ++mixed;
                    ADD_FAILURE() << fileName(i).toStdString() << " is not whole";
                }
                expected.append(QFileInfo(there ? old : moved).filePath());
            }
            // Nothing but the files is left in either folder.
            QStringList found;
            for (const QString& folder : { site + QStringLiteral("/files/pile"), site + QStringLiteral("/files/moved") })
                for (const QString& entry : entriesIn(folder))
                    found.append(folder + QLatin1Char('/') + entry);
            found.sort();
            expected.sort();
            leftOver += int(found.size() - expected.size());
            EXPECT_EQ(found, expected);
            // The site opens with its files where the kill left them.
            MyDocument reopened;
            ASSERT_TRUE(reopened.readFromFile(site)) << reopened.lastError().toStdString();
            int listed = 0;
            for (const char* name : { "pile", "moved" })
                if (const std::shared_ptr<XmlFolder> folder = reopened.site()->files()->folderWithName(QLatin1String(name)))
                    listed += folder->numberChildren();
            EXPECT_EQ(listed, pileSize);
            lq::removeItem(site);
        }
        std::cout << command.toStdString() << " killed: " << killed << " kills, " << afterTheEnd << " after the end; files at the old name "
                  << atOld << ", at the new one " << atNew << "; " << atBoth << " at both, " << missing << " missing, " << mixed
                  << " not whole, " << leftOver << " other entries left" << std::endl;
    }

    QTemporaryDir work;
    QString base;
    int rounds = 12;
    int runs = 0;
};

} // namespace

TEST_F(KilledFileMoveTest, AKilledRenameLeavesEachFileAtOneNameWhole)
{
    killRounds(QStringLiteral("files-rename"));
}

TEST_F(KilledFileMoveTest, AKilledMoveLeavesEachFileInOneFolderWhole)
{
    killRounds(QStringLiteral("files-move"));
}
