// Saves and reverts killed (SIGKILL) at random moments: a second program
// (tests/programs/SiteHelper.cpp) saves or reverts a site made from the
// shipped starter, and is killed somewhere between being told to go and
// finishing. The site then opens, here, as it was before or as the change
// made it, never a mix of both, with the snapshots that go with that state,
// and nothing that the interrupted change left stays in the folder.
//
// LQ_KILL_ROUNDS sets how many saves are killed (the reverts are two thirds
// of that); the figures go to the test's output.
#include "document/MyDocument.h"
#include "document/Snapshots.h"
#include "model/feed/XmlRSS.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "publish/XmlLocation.h"
#include "templates/XmlStyleSheet.h"
#include "platform/FileHelpers.h"
#include "platform/Process.h"
#include "support/SiteHelperProcess.h"
#include "support/Printers.h"
#include "support/TestFiles.h"
#include "support/ZipListing.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <iostream>

namespace {

const QStringList fourFiles { QStringLiteral("site.xmlbase"), QStringLiteral("theme.xmlbase"), QStringLiteral("location.xmlbase"),
    QStringLiteral("rss.xmlbase") };

// What of a site folder a save or a revert may change: the four files, the
// snapshots' names and the theme pictures' names.
struct SiteState {
    QMap<QString, QByteArray> files;
    QStringList snapshots;
    QStringList pictures;

    static SiteState of(const QString& folder)
    {
        SiteState state;
        for (const QString& name : fourFiles)
            state.files.insert(name, readAll(folder + QLatin1Char('/') + name));
        state.snapshots = QDir(folder + QStringLiteral("/revert")).entryList(QDir::Files, QDir::Name);
        state.pictures = QDir(folder + QStringLiteral("/bitmaps2")).entryList(QDir::Files, QDir::Name);
        return state;
    }
};

// What an interrupted change may leave: staging folders, files written
// beside their targets, the journal; in the folder, "revert" and "bitmaps2".
QStringList leftovers(const QString& folder)
{
    static const QRegularExpression pending(QStringLiteral("^\\.(lqtmp-|lumenquill-revert-|lumenquill-journal)|\\.lqtmp-"));
    QStringList found;
    for (const QString& sub : { QString(), QStringLiteral("/revert"), QStringLiteral("/bitmaps2") }) {
        for (const QString& name : lq::folderEntries(folder + sub))
            if (pending.match(name).hasMatch())
                found.append(sub + QLatin1Char('/') + name);
    }
    return found;
}

// A member of a snapshot, as it is stored there.
QByteArray snapshotMember(const QString& archive, const QString& member)
{
    return lq::runProcess(QStringLiteral("/usr/bin/unzip"), { QStringLiteral("-p"), archive, member }).output;
}

// The snapshots of the state that the other state has not.
QStringList addedSnapshots(const SiteState& state, const SiteState& other)
{
    QStringList added;
    for (const QString& name : state.snapshots)
        if (!other.snapshots.contains(name))
            added.append(name);
    return added;
}

// Whether each snapshot the save added holds the site and the theme it wrote.
void expectSnapshotsHoldTheFiles(const QString& folder, const SiteState& state, const SiteState& before)
{
    for (const QString& name : addedSnapshots(state, before)) {
        const QString archive = folder + QStringLiteral("/revert/") + name;
        EXPECT_EQ(snapshotMember(archive, QStringLiteral("site.xmlbase")), state.files[QStringLiteral("site.xmlbase")]) << name.toStdString();
        EXPECT_EQ(snapshotMember(archive, QStringLiteral("theme.xmlbase")), state.files[QStringLiteral("theme.xmlbase")]) << name.toStdString();
    }
}

// How the sites found after the kills were.
struct Figures {
    int tried = 0;
    int finishedFirst = 0; // the change ended before the kill came
    int old = 0;
    int fresh = 0;
    int mixed = 0;
};

class KilledChangeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(work.isValid());
        base = work.filePath(QStringLiteral("Base.lqxl"));
        MyDocument document;
        ASSERT_TRUE(document.newDocument(base)) << document.lastError().toStdString();
        // The state every run starts from: the four trees edited as the
        // helper edits them, and saved once more after the starter.
        auto page = XmlAlbum::create();
        document.site()->homepage()->addChild(page);
        page->newDocument();
        page->setName(QStringLiteral("Page before"));
        document.defaultTemplate()->setName(QStringLiteral("Template before"));
        document.location()->setUsername(QStringLiteral("before"));
        document.rss()->setTitle(QStringLiteral("before"));
        ASSERT_TRUE(document.saveFileWithComment(base, QStringLiteral("before")));
        rounds = qEnvironmentVariableIntValue("LQ_KILL_ROUNDS");
        if (rounds <= 0)
            rounds = 30;
    }

    // A copy of the base site, for one run.
    QString freshCopy()
    {
        const QString copy = work.filePath(QStringLiteral("Run %1.lqxl").arg(++runs));
        QString why;
        EXPECT_TRUE(lq::copyItem(base, copy, &why)) << why.toStdString();
        return copy;
    }

    struct Ended {
        SiteState state;
        qint64 took = 0;
        QString folder;
    };
    // Runs the change to its end on a copy: the state it makes, and how long it takes.
    Ended changeToTheEnd(const QString& command, const std::function<QString(const QString&)>& argument)
    {
        const QString folder = freshCopy();
        SiteHelperProcess helper(command, folder, argument(folder));
        EXPECT_EQ(helper.nextLine(), QStringLiteral("opened"));
        EXPECT_EQ(helper.nextLine(), QStringLiteral("ready"));
        QElapsedTimer took;
        took.start();
        helper.go();
        EXPECT_EQ(helper.nextLine(), QStringLiteral("done"));
        const qint64 elapsed = took.elapsed();
        EXPECT_TRUE(helper.finishedWell());
        return { SiteState::of(folder), elapsed, folder };
    }

    // Runs the change on a copy and kills it after a random time of up to
    // `within` milliseconds; then opens the site and tells which state it has.
    void killOnce(const QString& command, const std::function<QString(const QString&)>& argument, qint64 within,
        const SiteState& before, const SiteState& after, Figures& figures)
    {
        const QString folder = freshCopy();
        {
            SiteHelperProcess helper(command, folder, argument(folder));
            ASSERT_EQ(helper.nextLine(), QStringLiteral("opened"));
            ASSERT_EQ(helper.nextLine(), QStringLiteral("ready"));
            helper.go();
            QThread::usleep(QRandomGenerator::global()->bounded(quint64(within) * 1000));
            helper.kill();
            ++figures.tried;
            if (helper.nextLine(0) == QStringLiteral("done"))
                ++figures.finishedFirst;
        }

        MyDocument reopened;
        ASSERT_TRUE(reopened.readFromFile(folder)) << reopened.lastError().toStdString();
        const SiteState found = SiteState::of(folder);
        EXPECT_EQ(leftovers(folder), QStringList()) << folder.toStdString();
        if (found.files == before.files) {
            ++figures.old;
            EXPECT_EQ(found.snapshots, before.snapshots);
            EXPECT_EQ(found.pictures, before.pictures);
        } else if (found.files == after.files) {
            ++figures.fresh;
            // The snapshots the change adds are named after the time it ran.
            EXPECT_EQ(addedSnapshots(before, found), QStringList());
            EXPECT_EQ(addedSnapshots(found, before).size(), addedSnapshots(after, before).size());
            EXPECT_EQ(found.pictures, after.pictures);
            expectSnapshotsHoldTheFiles(folder, found, before);
        } else {
            ++figures.mixed;
            for (const QString& name : fourFiles)
                ADD_FAILURE() << name.toStdString() << (found.files[name] == before.files[name] ? " is the old one" : "")
                              << (found.files[name] == after.files[name] ? " is the new one" : "");
        }
    }

    static void report(const char* what, const Figures& figures)
    {
        std::cout << what << ": " << figures.tried << " kills tried, " << figures.finishedFirst << " came after the end; states found: "
                  << figures.old << " old, " << figures.fresh << " new, " << figures.mixed << " mixed" << std::endl;
    }

    QTemporaryDir work;
    QString base;
    int rounds = 30;
    int runs = 0;
};

} // namespace

TEST_F(KilledChangeTest, AKilledSaveLeavesTheOldSiteOrTheNewOneWithItsSnapshot)
{
    const auto label = [](const QString&) { return QStringLiteral("after"); };
    const SiteState before = SiteState::of(base);
    const Ended saved = changeToTheEnd(QStringLiteral("save"), label);
    const SiteState& after = saved.state;
    ASSERT_FALSE(HasFailure());
    // The save changes the site, the theme, the destination and the feed
    // settings, and adds one snapshot that holds the site and theme it wrote.
    for (const QString& name : fourFiles)
        ASSERT_NE(after.files[name], before.files[name]) << name.toStdString();
    ASSERT_EQ(addedSnapshots(after, before).size(), 1);
    expectSnapshotsHoldTheFiles(saved.folder, after, before);
    // Twice the same save writes the same files: the two states are known.
    const Ended again = changeToTheEnd(QStringLiteral("save"), label);
    ASSERT_EQ(again.state.files, after.files);
    // Kills fall anywhere in the time of the slower of the two, and a little after.
    const qint64 took = std::max(saved.took, again.took) * 11 / 10;

    Figures figures;
    for (int round = 0; round < rounds && !HasFatalFailure(); ++round)
        killOnce(QStringLiteral("save"), label, took, before, after, figures);
    report("killed saves", figures);
    EXPECT_EQ(figures.mixed, 0);
}

TEST_F(KilledChangeTest, AKilledRevertLeavesTheOldSiteOrTheRevertedOne)
{
    // Back to the starter's snapshot, the oldest.
    const auto oldest = [](const QString& folder) {
        QStringList names = QDir(folder + QStringLiteral("/revert")).entryList(QDir::Files);
        std::sort(names.begin(), names.end(), [&](const QString& a, const QString& b) {
            return Snapshots::sequenceOf(folder + QStringLiteral("/revert/") + a) < Snapshots::sequenceOf(folder + QStringLiteral("/revert/") + b);
        });
        return folder + QStringLiteral("/revert/") + names.value(0);
    };
    const SiteState before = SiteState::of(base);
    const Ended reverted = changeToTheEnd(QStringLiteral("revert"), oldest);
    const SiteState& after = reverted.state;
    ASSERT_FALSE(HasFailure());
    ASSERT_NE(after.files[QStringLiteral("site.xmlbase")], before.files[QStringLiteral("site.xmlbase")]);
    ASSERT_NE(after.files[QStringLiteral("theme.xmlbase")], before.files[QStringLiteral("theme.xmlbase")]);
    EXPECT_EQ(after.snapshots, before.snapshots);
    const Ended again = changeToTheEnd(QStringLiteral("revert"), oldest);
    ASSERT_EQ(again.state.files, after.files);
    const qint64 took = std::max(reverted.took, again.took) * 11 / 10;

    Figures figures;
    for (int round = 0; round < rounds * 2 / 3 && !HasFatalFailure(); ++round)
        killOnce(QStringLiteral("revert"), oldest, took, before, after, figures);
    report("killed reverts", figures);
    EXPECT_EQ(figures.mixed, 0);
}
