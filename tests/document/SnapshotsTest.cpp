// Snapshots and the clock: every save has a snapshot of its own, even two
// within one second, and the newest stays the newest when the clock goes
// back, for the trimming at open and for the Versions tab alike. Snapshots
// of older releases, which carry no sequence, keep the order of their dates.
#include "document/MyDocument.h"
#include "document/RevertController.h"
#include "document/Snapshots.h"
#include "model/files/XmlFile.h"
#include "model/files/XmlStandAloneFiles.h"
#include "model/site/XmlSite.h"
#include "platform/ConfinedFolder.h"
#include "platform/Zip.h"
#include "publish/XmlLocation.h"
#include "platform/FileHelpers.h"
#include "platform/Process.h"
#include "support/HelperTools.h"
#include "support/Printers.h"
#include "support/SiteBuildRun.h"
#include "support/TestFiles.h"
#include "support/ZipListing.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString displayName(const QDateTime& time, const QString& counter = QString())
{
    return MyDocument::snapshotName(time).replace(QLatin1Char('_'), QLatin1Char(':')) + counter;
}

class SnapshotsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(work.isValid());
        folder = work.filePath(QStringLiteral("Clock.lqxl"));
        document.setNow([this] { return clock; });
        ASSERT_TRUE(document.newDocument(folder)) << document.lastError().toStdString();
    }

    // An edit of the site, then a save with the comment at the clock's time.
    void saveEdited(int mark, const QString& comment = QString())
    {
        document.site()->setDisableImageWell(mark);
        ASSERT_TRUE(document.saveFileWithComment(folder, comment)) << document.lastError().toStdString();
        ASSERT_TRUE(document.lastError().isEmpty()) << document.lastError().toStdString();
    }

    QString snapshot(const QString& name) const { return folder + QStringLiteral("/revert/") + name + QStringLiteral(".qvzip"); }
    QStringList snapshotFiles() const { return QDir(folder + QStringLiteral("/revert")).entryList(QDir::Files, QDir::Name); }

    // The Versions tab's names, top row first.
    static QStringList rows(const RevertController& versions)
    {
        QStringList names;
        for (int row = 0; row < versions.numberOfRows(); ++row)
            names.append(versions.objectValue(QStringLiteral("name"), row));
        return names;
    }

    QTemporaryDir work;
    QString folder;
    QDateTime clock { QDate(2026, 12, 7), QTime(23, 29, 17) };
    MyDocument document;
};

} // namespace

TEST_F(SnapshotsTest, TwoSavesWithinOneSecondEachKeepTheirOwnSnapshot)
{
    // The new site's first snapshot, then two saves in the same second.
    saveEdited(7, QStringLiteral("first of the second"));
    saveEdited(8, QStringLiteral("second of the second"));
    const QString dated = MyDocument::snapshotName(clock);
    EXPECT_EQ(snapshotFiles(), (QStringList { dated + QStringLiteral(" 2.qvzip"), dated + QStringLiteral(" 3.qvzip"), dated + QStringLiteral(".qvzip") }));
    EXPECT_EQ(unzipComment(snapshot(dated)), QString());
    EXPECT_EQ(unzipComment(snapshot(dated + QStringLiteral(" 2"))), QStringLiteral("first of the second"));
    EXPECT_EQ(unzipComment(snapshot(dated + QStringLiteral(" 3"))), QStringLiteral("second of the second"));

    // The tab lists them newest first, each read as the date of its save.
    RevertController versions(&document);
    versions.refreshFiles();
    EXPECT_EQ(rows(versions), (QStringList { displayName(clock, QStringLiteral(" 3")), displayName(clock, QStringLiteral(" 2")), displayName(clock) }));
    auto listed = XmlStandAloneFiles::create();
    listed->setRootDir(folder + QStringLiteral("/revert"));
    listed->setFoldersFiles(false, true);
    listed->refresh();
    ASSERT_EQ(listed->numberChildren(), 3);
    for (const XmlBasePtr& entry : listed->children())
        EXPECT_EQ(XmlFile::creationDateOf(entry.get()).value_or(0.0), double(clock.toSecsSinceEpoch())) << entry->name().toStdString();

    // The first save of the second comes back as it was.
    ASSERT_TRUE(versions.revert(1)) << document.lastError().toStdString();
    EXPECT_EQ(document.site()->disableImageWell(), 7);
}

TEST_F(SnapshotsTest, TheClockSetBackNeverCostsTheNewestSnapshot)
{
    const QDateTime began = clock;
    for (int save = 1; save <= MyDocument::keptSnapshots; ++save) {
        clock = began.addSecs(60 * save);
        saveEdited(save % 2);
    }
    // The clock is put a year back; the next save is still the newest.
    clock = began.addYears(-1);
    saveEdited(42, QStringLiteral("after the clock went back"));
    ASSERT_EQ(snapshotFiles().size(), MyDocument::keptSnapshots + 2);

    MyDocument reopened;
    ASSERT_TRUE(reopened.readFromFile(folder)) << reopened.lastError().toStdString();
    const QStringList kept = snapshotFiles();
    ASSERT_EQ(kept.size(), MyDocument::keptSnapshots);
    EXPECT_TRUE(kept.contains(MyDocument::snapshotName(clock) + QStringLiteral(".qvzip")));
    // The two oldest saves went: the new site's and the first edit's.
    EXPECT_FALSE(kept.contains(MyDocument::snapshotName(began) + QStringLiteral(".qvzip")));
    EXPECT_FALSE(kept.contains(MyDocument::snapshotName(began.addSecs(60)) + QStringLiteral(".qvzip")));

    // The Versions tab shows it first and keeps it when it trims to twenty.
    RevertController versions(&reopened);
    versions.refreshFiles();
    ASSERT_EQ(versions.objectValue(QStringLiteral("name"), 0), displayName(clock));
    EXPECT_EQ(versions.objectValue(QStringLiteral("name"), 1), displayName(began.addSecs(60 * MyDocument::keptSnapshots)));
    while (versions.statusVisible())
        versions.deleteExtraReverts();
    EXPECT_EQ(versions.numberOfRows(), RevertController::keptNewest);
    EXPECT_EQ(versions.objectValue(QStringLiteral("name"), 0), displayName(clock));
    EXPECT_EQ(versions.objectValue(QStringLiteral("comment"), 0), QStringLiteral("after the clock went back"));
    ASSERT_TRUE(versions.revert(0)) << reopened.lastError().toStdString();
    EXPECT_EQ(reopened.site()->disableImageWell(), 42);
}

TEST_F(SnapshotsTest, SnapshotsOfOlderReleasesFollowInTheOrderOfTheirDates)
{
    // Snapshots as older releases made them: no sequence, dated 2020.
    const QDateTime first(QDate(2020, 1, 1), QTime(13, 0, 0));
    for (int day = 0; day < MyDocument::keptSnapshots + 3; ++day) {
        const QString archive = snapshot(MyDocument::snapshotName(first.addDays(day)));
        ASSERT_TRUE(lq::zipAdd(archive, folder, QStringLiteral("site.xmlbase"), false));
        ASSERT_FALSE(Snapshots::sequenceOf(archive).has_value());
    }
    // A save with the clock set to 2019 is newer than all of them.
    clock = first.addYears(-1);
    saveEdited(3);
    ASSERT_EQ(Snapshots::sequenceOf(snapshot(MyDocument::snapshotName(clock))), 2);

    MyDocument reopened;
    ASSERT_TRUE(reopened.readFromFile(folder)) << reopened.lastError().toStdString();
    RevertController versions(&reopened);
    versions.refreshFiles();
    ASSERT_EQ(versions.numberOfRows(), MyDocument::keptSnapshots);
    const QDateTime newSite(QDate(2026, 12, 7), QTime(23, 29, 17));
    EXPECT_EQ(versions.objectValue(QStringLiteral("name"), 0), displayName(clock));
    EXPECT_EQ(versions.objectValue(QStringLiteral("name"), 1), displayName(newSite));
    for (int row = 2; row < versions.numberOfRows(); ++row)
        EXPECT_EQ(versions.objectValue(QStringLiteral("name"), row), displayName(first.addDays(MyDocument::keptSnapshots + 2 - (row - 2)))) << row;
}

TEST_F(SnapshotsTest, ASequenceNoSaveWritesCountsAsNone)
{
    // Archives from elsewhere, each with one forged sequence member.
    struct Case {
        const char* member;
        std::optional<qint64> sequence;
    };
    const Case cases[] {
        { "sequence-17", 17 },
        { "sequence-0", std::nullopt },
        { "sequence--5", std::nullopt },
        { "sequence-12abc", std::nullopt },
        { "sequence-9223372036854775807", std::nullopt },
        { "sequence-99999999999999999999999", std::nullopt },
        { "bitmaps2/sequence-40", std::nullopt },
    };
    const QString forged = work.filePath(QStringLiteral("forged"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.member);
        writeAll(forged + QLatin1Char('/') + QLatin1String(c.member), "");
        const QString archive = work.filePath(QStringLiteral("forged.qvzip"));
        QFile::remove(archive);
        ASSERT_TRUE(lq::zipAdd(archive, forged, QString::fromLatin1(c.member), false));
        EXPECT_EQ(Snapshots::sequenceOf(archive), c.sequence);
        lq::removeItem(forged);

        // Put among the site's snapshots, the next save still gets the next number.
        const QString planted = snapshot(QStringLiteral("Planted"));
        ASSERT_TRUE(QFile::copy(archive, planted));
        const qint64 next = std::max<qint64>(c.sequence.value_or(0), 1) + 1;
        EXPECT_EQ(Snapshots::nextSequence(*lq::ConfinedFolder::open(folder + QStringLiteral("/revert"))), next);
        ASSERT_TRUE(QFile::remove(planted));
    }
}

TEST_F(SnapshotsTest, AForgedNumberAtTheEndOfTheRangeNeitherStopsTheNumberingNorCostsTheNewest)
{
    // The last numbers a sequence may carry (2^48 - 1 and below).
    for (const qint64 forgedNumber : { (qint64(1) << 48) - 1, (qint64(1) << 48) - 2 }) {
        SCOPED_TRACE(forgedNumber);
        // An archive put among the snapshots, carrying a number no save wrote.
        const QString forged = work.filePath(QStringLiteral("forged"));
        const QString member = Snapshots::sequenceMemberPrefix + QString::number(forgedNumber);
        writeAll(forged + QStringLiteral("/site.xmlbase"), readAll(folder + QStringLiteral("/site.xmlbase")));
        writeAll(forged + QLatin1Char('/') + member, "");
        const QString planted = snapshot(QStringLiteral("Planted"));
        ASSERT_TRUE(lq::zipAdd(planted, forged, QStringLiteral("site.xmlbase"), false));
        ASSERT_TRUE(lq::zipAdd(planted, forged, member, false));
        lq::removeItem(forged);
        ASSERT_EQ(Snapshots::sequenceOf(planted), forgedNumber);

        // Each save after it is numbered above everything there.
        QStringList saved;
        for (int save = 1; save <= 3; ++save) {
            clock = clock.addSecs(60);
            saveEdited(100 + save, QStringLiteral("save ") + QString::number(save));
            const QString made = snapshot(MyDocument::snapshotName(clock));
            saved.append(made);
            const std::optional<qint64> number = Snapshots::sequenceOf(made);
            ASSERT_TRUE(number.has_value()) << "save " << save;
            for (const QString& name : snapshotFiles()) {
                const QString other = snapshot(QFileInfo(name).completeBaseName());
                if (other != made) {
                    EXPECT_LT(Snapshots::sequenceOf(other).value_or(0), *number) << name.toStdString();
                }
            }
        }
        // The forged one is an old one now; the unpacked archive is whole.
        EXPECT_LT(Snapshots::sequenceOf(planted).value_or(forgedNumber), Snapshots::sequenceOf(saved.first()).value_or(0));
        const lq::ProcessResult test = lq::runProcess(QStringLiteral("/usr/bin/unzip"), { QStringLiteral("-tq"), planted });
        EXPECT_TRUE(test.succeeded()) << test.output.constData();

        // Opened with more snapshots than are kept, the newest stays, first in the tab.
        for (int save = 0; save < MyDocument::keptSnapshots; ++save) {
            clock = clock.addSecs(60);
            saveEdited(save % 2);
        }
        clock = clock.addSecs(60);
        saveEdited(77, QStringLiteral("the newest"));
        MyDocument reopened;
        ASSERT_TRUE(reopened.readFromFile(folder)) << reopened.lastError().toStdString();
        EXPECT_TRUE(QFileInfo::exists(snapshot(MyDocument::snapshotName(clock))));
        RevertController versions(&reopened);
        versions.refreshFiles();
        EXPECT_EQ(versions.objectValue(QStringLiteral("comment"), 0), QStringLiteral("the newest"));
        QFile::remove(planted);
    }
}

TEST_F(SnapshotsTest, APublicationOfAnUnchangedSiteAddsNoVersion)
{
    const qsizetype made = snapshotFiles().size();
    const auto publish = [&](MyDocument& site) {
        clock = clock.addSecs(60);
        ASSERT_TRUE(site.saveForPublication()) << site.lastError().toStdString();
        ASSERT_TRUE(site.lastError().isEmpty()) << site.lastError().toStdString();
    };
    publish(document);
    EXPECT_EQ(snapshotFiles().size(), made) << "nothing changed since the new site's version";

    // A change: one version, with the comment publications carry.
    document.site()->setDisableImageWell(5);
    publish(document);
    ASSERT_EQ(snapshotFiles().size(), made + 1);
    EXPECT_EQ(unzipComment(snapshot(MyDocument::snapshotName(clock))), Snapshots::publicationComment);
    // Published again unchanged, or with only the destination changed (which no version holds): none.
    publish(document);
    document.location()->setFtpFolder(QStringLiteral("www"));
    document.updateChangeCount(DocumentBase::ChangeDone);
    publish(document);
    EXPECT_EQ(snapshotFiles().size(), made + 1);
    EXPECT_TRUE(readAll(folder + QStringLiteral("/location.xmlbase")).contains("ftpFolder=\"www\"")) << "the save itself happened";
    EXPECT_FALSE(document.isDocumentEdited());

    // Opened again, and published: none.
    MyDocument reopened;
    ASSERT_TRUE(reopened.readFromFile(folder)) << reopened.lastError().toStdString();
    reopened.setNow([this] { return clock; });
    publish(reopened);
    EXPECT_EQ(snapshotFiles().size(), made + 1);

    // An older version brought back is the state a publication then sends: kept as a version.
    RevertController versions(&reopened);
    versions.refreshFiles();
    ASSERT_TRUE(versions.revert(versions.numberOfRows() - 1)) << reopened.lastError().toStdString();
    publish(reopened);
    EXPECT_EQ(snapshotFiles().size(), made + 2);
    // A save of the user's own is a version, changed or not.
    clock = clock.addSecs(60);
    ASSERT_TRUE(reopened.saveFileWithComment(folder, QString()));
    EXPECT_EQ(snapshotFiles().size(), made + 3);
}

// An export saves the site, then builds it; the build fills in what it
// measures (a template's width, font records made on first use), which is
// no edit and makes no version at the next export.
TEST_F(SnapshotsTest, ExportsOfAnUnchangedSavedSiteAddNoVersion)
{
    useBuiltHelperTools();
    const auto exportTheSite = [&] {
        clock = clock.addSecs(60);
        ASSERT_TRUE(document.saveForPublication()) << document.lastError().toStdString();
        ASSERT_TRUE(SiteBuildRun(document).wait());
    };
    const qsizetype saved = snapshotFiles().size();
    for (int run = 0; run < 3; ++run) {
        exportTheSite();
        EXPECT_EQ(snapshotFiles().size(), saved) << "after export " << run + 1;
    }
    EXPECT_FALSE(document.isDocumentEdited());

    // An edit between: one version, and none at the export after it.
    document.site()->setDisableImageWell(7);
    exportTheSite();
    EXPECT_EQ(snapshotFiles().size(), saved + 1);
    exportTheSite();
    EXPECT_EQ(snapshotFiles().size(), saved + 1);
    // Every save of the user's own still keeps its version, two within one second too.
    ASSERT_TRUE(document.saveFileWithComment(folder, QString()));
    ASSERT_TRUE(document.saveFileWithComment(folder, QString()));
    EXPECT_EQ(snapshotFiles().size(), saved + 3);
}

TEST_F(SnapshotsTest, PublicationsNeverPushOutTheUsersVersions)
{
    // The user's own versions, oldest first: the new site's, a commented one, then 21 saves.
    QStringList own { MyDocument::snapshotName(clock) + QStringLiteral(".qvzip") };
    for (int save = 0; save < 22; ++save) {
        clock = clock.addSecs(60);
        saveEdited(save % 2, save == 0 ? QStringLiteral("before the theme change") : QString());
        own.append(MyDocument::snapshotName(clock) + QStringLiteral(".qvzip"));
    }
    ASSERT_EQ(snapshotFiles().size(), 23);
    // Then more publications than are kept, each newer than every one of the user's.
    const QString staging = work.filePath(QStringLiteral("planted"));
    ASSERT_TRUE(QDir().mkpath(staging));
    ASSERT_TRUE(QFile::copy(folder + QStringLiteral("/site.xmlbase"), staging + QStringLiteral("/site.xmlbase")));
    const std::shared_ptr<lq::ConfinedFolder> revert = lq::ConfinedFolder::open(folder + QStringLiteral("/revert"));
    ASSERT_TRUE(revert);
    qint64 sequence = Snapshots::nextSequence(*revert);
    QStringList published;
    for (int publication = 0; publication < Snapshots::keptPublications + 3; ++publication, ++sequence) {
        clock = clock.addSecs(60);
        const QString member = Snapshots::sequenceMemberPrefix + QString::number(sequence);
        writeAll(staging + QLatin1Char('/') + member, "");
        const QString archive = snapshot(MyDocument::snapshotName(clock));
        ASSERT_TRUE(lq::zipAdd(archive, staging, QStringLiteral("site.xmlbase"), false));
        ASSERT_TRUE(lq::zipAdd(archive, staging, member, false));
        ASSERT_TRUE(lq::setZipComment(archive, Snapshots::publicationComment));
        ASSERT_TRUE(QFile::remove(staging + QLatin1Char('/') + member));
        published.prepend(QFileInfo(archive).fileName());
    }

    // At open: every one of the user's stays; of the publications, the newest.
    MyDocument reopened;
    ASSERT_TRUE(reopened.readFromFile(folder)) << reopened.lastError().toStdString();
    QStringList kept = snapshotFiles();
    for (const QString& name : own)
        EXPECT_TRUE(kept.contains(name)) << name.toStdString();
    for (int newest = 0; newest < published.size(); ++newest)
        EXPECT_EQ(kept.contains(published[newest]), newest < Snapshots::keptPublications) << published[newest].toStdString();

    // The Versions tab: the user's newest twenty and the commented one stay,
    // whatever the publications after them.
    RevertController versions(&reopened);
    versions.refreshFiles();
    while (versions.statusVisible())
        versions.deleteExtraReverts();
    kept = snapshotFiles();
    EXPECT_EQ(kept.size(), Snapshots::keptPublications + RevertController::keptNewest + 1);
    for (int newest = 0; newest < RevertController::keptNewest; ++newest)
        EXPECT_TRUE(kept.contains(own.value(own.size() - 1 - newest))) << newest;
    QStringList comments;
    for (int row = 0; row < versions.numberOfRows(); ++row)
        comments.append(versions.objectValue(QStringLiteral("comment"), row));
    EXPECT_TRUE(comments.contains(QStringLiteral("before the theme change")));
    EXPECT_EQ(comments.count(Snapshots::publicationComment), Snapshots::keptPublications);
}
