// Pages written ahead on other cores: a site made from the starter archive,
// exported through the document's own queue once with every page written on
// the main thread and once with threads writing ahead, must come out the
// same, byte for byte, with the same Activity log and the same status line
// and progress after every step; an edit made between two time slices
// reaches every page written after it, as it does without threads.
#include "document/DocumentSiteBuilder.h"
#include "document/MyDocument.h"
#include "model/feed/XmlRSSItem.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlPhoto.h"
#include "pipeline/PageMaker.h"
#include "pipeline/ProcessorQueue.h"

#include "support/StarterSite.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"

#include <QElapsedTimer>
#include <QThread>

#include <functional>

#include <gtest/gtest.h>

namespace {

// The threads of the build while the object lives.
class BuildThreads {
public:
    explicit BuildThreads(int count) { lq::PageMaker::setThreads(count); }
    ~BuildThreads() { lq::PageMaker::setThreads(-1); }
    BuildThreads(const BuildThreads&) = delete;
    BuildThreads& operator=(const BuildThreads&) = delete;
};

// What one export left: every generated file, the Activity log, and the
// status line and progress the window was shown after each step.
struct Export {
    QMap<QString, QByteArray> files;
    QString activity;
    QStringList shown;
};

class PageMakerTest : public StarterSiteTest {
protected:
    PageMakerTest()
        : StarterSiteTest(QStringLiteral("Ahead.lqxl"))
    {
    }

    void SetUp() override
    {
        qputenv("LUMENQUILL_LIBEXEC", QByteArray(LQ_TEST_LIBEXEC));
        StarterSiteTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(fillSite());
    }

    void TearDown() override { document.queue().setDisplayHandler({}); }

    // The starter's pages and many more: text pages with names to escape, a
    // password-protected page, a group with an album of photos, and a feed
    // that names a page.
    void fillSite()
    {
        for (int i = 0; i < 30; ++i) {
            auto page = addPage(home(), 2, QStringLiteral("Page %1 & <\"%2\">").arg(i).arg(i % 3));
            page->setContent(QStringLiteral("Title of page %1 & more").arg(i));
        }
        auto secret = addPage(home(), 2, QStringLiteral("Private"));
        secret->setIsPassword(true);
        secret->setPassword(QStringLiteral("rosebud"));
        auto album = addPage(*addGroup(), 1, QStringLiteral("Photos"));
        for (int i = 0; i < 3; ++i) {
            const QString source = work.filePath(QStringLiteral("in%1.jpg").arg(i));
            writeAll(source, jpegBytes(160 + 20 * i, 120, i == 1 ? Qt::darkRed : Qt::darkCyan));
            ASSERT_NE(album->importPhotoIndexCaption(source, -1, QStringLiteral("Photo %1").arg(i)), nullptr);
        }
        for (int i = 0; i < 10; ++i)
            addPage(home(), i % 3, QStringLiteral("More %1").arg(i));
        XmlRSS& feed = publishFeed(QStringLiteral("News"), QStringLiteral("http://example.org/news"));
        auto item = XmlRSSItem::create();
        item->setLink(album->pageUUID());
        item->setTitle(QStringLiteral("New photos"));
        feed.addChild(item);
        writeAll(folder + QStringLiteral("/files/a.txt"), "my own file\n");
    }

    std::shared_ptr<XmlAlbum> page(const QString& name)
    {
        for (const XmlBasePtr& item : home().webItems())
            if (item->name() == name)
                return std::dynamic_pointer_cast<XmlAlbum>(item);
        return nullptr;
    }

    // Exports the site through the queue, one step per time slice; the edit
    // (when given) is made between the slices once that many have run, and
    // once the threads (if any) wrote a page ahead.
    Export exportSite(int editAfterSlices = -1, const std::function<void()>& edit = {})
    {
        const int writtenBefore = lq::PageMaker::pagesWrittenAheadInAll();
        // The Activity log runs on across builds: this build's lines are those after it.
        const qsizetype logged = document.activityText().size();
        Export done;
        document.queue().setDisplayHandler([&] {
            const ProcessorQueue& queue = document.queue();
            const QString line = queue.statusHidden() ? QStringLiteral("hidden")
                                                      : queue.statusMessage() + QStringLiteral(" ") + QString::number(queue.progress());
            if (done.shown.isEmpty() || done.shown.last() != line)
                done.shown.append(line);
        });
        qint64 now = 0;
        document.queue().setClock([&now] { return now += 300; });
        DocumentSiteBuilder builder(document);
        bool built = false;
        builder.buildSite([&built] { built = true; }, {}, {});
        for (int slice = 0; slice < 100000 && !document.queue().processors().isEmpty(); ++slice) {
            if (slice == editAfterSlices && edit) {
                if (lq::PageMaker::threads() > 0) {
                    QElapsedTimer waited;
                    waited.start();
                    while (lq::PageMaker::pagesWrittenAheadInAll() == writtenBefore && waited.elapsed() < 60000)
                        QThread::msleep(10);
                    EXPECT_GT(lq::PageMaker::pagesWrittenAheadInAll(), writtenBefore) << "no page was written ahead";
                }
                edit();
            }
            document.queue().processor();
        }
        EXPECT_TRUE(built) << document.lastError().toStdString();
        document.queue().stopProcessor();
        document.queue().setClock({});
        document.queue().setDisplayHandler({});
        done.files = generated();
        done.activity = document.activityText().mid(logged);
        return done;
    }

    static void expectSame(const Export& ahead, const Export& alone)
    {
        EXPECT_EQ(ahead.files.keys(), alone.files.keys());
        for (auto it = alone.files.begin(); it != alone.files.end(); ++it)
            EXPECT_TRUE(ahead.files.value(it.key()) == it.value()) << it.key().toStdString();
        EXPECT_EQ(ahead.activity.toStdString(), alone.activity.toStdString());
        EXPECT_EQ(ahead.shown, alone.shown);
    }
};

} // namespace

TEST_F(PageMakerTest, PagesWrittenAheadAreWhatTheMainThreadWrites)
{
    Export alone;
    {
        BuildThreads none(0);
        alone = exportSite();
    }
    ASSERT_FALSE(alone.activity.contains(QStringLiteral("ERROR"))) << alone.activity.toStdString();
    ASSERT_GT(alone.files.size(), 45);

    BuildThreads three(3);
    // Threads that are slow to take their copy leave the pages to the main
    // thread; the comparison counts only where some were written ahead.
    int madeAhead = 0;
    for (int round = 0; round < 3 && madeAhead == 0; ++round) {
        SCOPED_TRACE(round);
        const int before = lq::PageMaker::pagesMadeAheadInAll();
        const Export ahead = exportSite();
        madeAhead = lq::PageMaker::pagesMadeAheadInAll() - before;
        expectSame(ahead, alone);
    }
    EXPECT_GT(madeAhead, 0) << "no page was written ahead";
}

// An edit between two time slices (the window is free then) reaches every
// page written after it, also where a thread had written it before.
TEST_F(PageMakerTest, AnEditBetweenTwoSlicesReachesEveryPageWrittenAfterIt)
{
    const QString name = QStringLiteral("Page 3 & <\"0\">");
    const QString renamed = QStringLiteral("Renamed");
    const auto setName = [this](const QString& from, const QString& to) {
        const std::shared_ptr<XmlAlbum> edited = page(from);
        ASSERT_TRUE(edited);
        edited->setName(to);
    };
    // Past the style sheets and a few pages: the threads are then at work.
    constexpr int slices = 40;
    Export alone;
    {
        BuildThreads none(0);
        alone = exportSite(slices, [&] { setName(name, renamed); });
    }
    setName(renamed, name);
    BuildThreads three(3);
    const Export ahead = exportSite(slices, [&] { setName(name, renamed); });
    expectSame(ahead, alone);
    // Pages written before the edit kept the old name in their menus, those after took the new one.
    int before = 0;
    int after = 0;
    for (const QByteArray& bytes : alone.files) {
        before += bytes.contains("Page 3 &amp;") ? 1 : 0;
        after += bytes.contains("Renamed") ? 1 : 0;
    }
    EXPECT_GT(before, 0);
    EXPECT_GT(after, 0);
}

// A build cancelled while a thread writes pages ahead ends that thread and
// drops its copy of the site at once; the next build writes ahead again and
// gives what the main thread alone gives.
TEST_F(PageMakerTest, ACancelledBuildEndsItsThreadsAndTheNextBuildIsWhole)
{
    Export alone;
    {
        BuildThreads none(0);
        alone = exportSite();
    }
    if (lq::PageMaker::threads() == 0)
        GTEST_SKIP() << "one core: no page is written ahead";
    ASSERT_EQ(lq::PageMaker::threadsAtWorkInAll(), 0);

    const int writtenBefore = lq::PageMaker::pagesWrittenAheadInAll();
    DocumentSiteBuilder builder(document);
    QString failed;
    builder.buildSite({}, [&failed](const QString& why) { failed = why; }, {});
    QElapsedTimer waited;
    waited.start();
    for (int slice = 0; slice < 100000 && !document.queue().processors().isEmpty(); ++slice) {
        if (lq::PageMaker::pagesWrittenAheadInAll() > writtenBefore)
            break;
        if (lq::PageMaker::threadsAtWorkInAll() > 0) {
            // The main thread waits here while its thread writes a page ahead.
            while (lq::PageMaker::pagesWrittenAheadInAll() == writtenBefore && waited.elapsed() < 60000)
                QThread::msleep(10);
            break;
        }
        document.queue().processor();
    }
    ASSERT_GT(lq::PageMaker::pagesWrittenAheadInAll(), writtenBefore) << "no page was written ahead";
    ASSERT_FALSE(document.queue().processors().isEmpty()) << "the build ended before it could be cancelled";
    EXPECT_EQ(lq::PageMaker::threadsAtWorkInAll(), lq::PageMaker::threads());

    builder.cancelBuild();
    EXPECT_EQ(lq::PageMaker::threadsAtWorkInAll(), 0);
    EXPECT_TRUE(document.queue().processors().isEmpty());
    EXPECT_EQ(failed, QStringLiteral("The build of the site was cancelled."));
    document.queue().stopProcessor();

    const int madeBefore = lq::PageMaker::pagesMadeAheadInAll();
    const Export again = exportSite();
    EXPECT_GT(lq::PageMaker::pagesMadeAheadInAll(), madeBefore) << "no page was written ahead";
    EXPECT_EQ(lq::PageMaker::threadsAtWorkInAll(), 0);
    EXPECT_EQ(again.files.keys(), alone.files.keys());
    for (auto it = alone.files.begin(); it != alone.files.end(); ++it)
        EXPECT_TRUE(again.files.value(it.key()) == it.value()) << it.key().toStdString();
}
