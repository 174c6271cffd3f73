#include "pipeline/ProcessorQueue.h"
#include "pipeline/XmlCallSelector.h"
#include "pipeline/XmlCopy.h"
#include "pipeline/XmlCreate.h"
#include "pipeline/XmlProcessor.h"
#include "pipeline/XmlSidebarWidgetProcessor.h"
#include "platform/Escaping.h"
#include "platform/Exception.h"
#include "platform/ExceptionFrame.h"
#include "platform/DelayedCall.h"
#include "platform/FileHelpers.h"
#include "platform/Resources.h"
#include "support/EventLoop.h"
#include "support/QueueDocument.h"
#include "support/RecordingStep.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A script of the name whose steps, when run, add "<name><step number>" to the list.
std::shared_ptr<XmlProcessor> recordingScript(QStringList& ran, const QString& name, int steps)
{
    auto processor = XmlProcessor::create();
    processor->setStatusMessage(name);
    for (int i = 1; i <= steps; ++i)
        processor->addChild(RecordingStep::create([&ran, name, i] {
            ran.append(name + QString::number(i));
            return false;
        }));
    return processor;
}

// A copy of the program's resources, for the time of a test, to which the
// test adds support files.
class ResourceFolder {
public:
    explicit ResourceFolder(const QString& folder)
    {
        EXPECT_TRUE(lq::copyItem(QStringLiteral(LQ_TEST_RESOURCES), folder));
        lq::setResourceFolder(folder);
    }
    ~ResourceFolder() { lq::setResourceFolder(QStringLiteral(LQ_TEST_RESOURCES)); }
};

class ProcessorScriptTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(site.isValid() && resources.isValid());
        ASSERT_TRUE(QDir(site.path()).mkpath(QStringLiteral("homepage/bitmaps")));
        QDir(XmlCopy::sharedSupportFolder()).removeRecursively();
    }
    void TearDown() override { QDir(XmlCopy::sharedSupportFolder()).removeRecursively(); }

    QString resourceCopy() const { return resources.filePath(QStringLiteral("copy")); }
    QString header(const QString& status = QStringLiteral("Creating HTML for Home")) const
    {
        return QStringLiteral("<QZprocessor rootDir=\"") + lq::escape(site.path()) + QStringLiteral("\" status=\"") + status
            + QStringLiteral("\">\n");
    }
    // Runs slices until the queue has nothing left.
    void drain(ProcessorQueue& queue)
    {
        ASSERT_TRUE(processEventsUntil([&] { return queue.isIdle(); }));
    }

    QTemporaryDir site;
    QTemporaryDir resources;
    QueueDocument document;
};

} // namespace

TEST_F(ProcessorScriptTest, VerbatimTextAndSupportFilesReachTheSite)
{
    ResourceFolder folder(resourceCopy());
    writeAll(resources.filePath(QStringLiteral("copy/styles/lumenquill.js")), "// script");
    const auto processor = processorScript(header()
        + QStringLiteral("<QZcreate dir=\"homepage\" filename=\"a.html\"><!-- x --><![CDATA[x < y & \"z\"]]><!-- x --></QZcreate>\n"
                         "<QZnotAStep dir=\"homepage\" filename=\"b.html\" />\n"
                         "<QZcopy dir=\"homepage\" filename=\"lumenquill.js\" />\n")
        + QStringLiteral("</QZprocessor>\n"));
    ASSERT_TRUE(processor);
    // The step of an unknown name stays in the script, to fail when it runs.
    ASSERT_EQ(processor->numberChildren(), 3);
    EXPECT_EQ(processor->statusMessage(), QStringLiteral("Creating HTML for Home"));

    document.queue.startProcessor(processor);
    drain(document.queue);
    EXPECT_EQ(readAll(site.filePath(QStringLiteral("homepage/a.html"))), QByteArray("x < y & \"z\""));
    EXPECT_EQ(readAll(site.filePath(QStringLiteral("homepage/lumenquill.js"))), QByteArray("// script"));
    EXPECT_FALSE(QFileInfo::exists(site.filePath(QStringLiteral("homepage/b.html"))));
    EXPECT_EQ(document.queue.activityText(),
        QStringLiteral("Creating HTML for Home saving file:a.html\nCreating HTML for Home\n"
                       "Unknown build step <QZnotAStep>: nothing was done for it\n"
                       "Creating HTML for Home copying file:lumenquill.js\n"));
    EXPECT_EQ(document.queue.failedSteps(), 1);
    EXPECT_TRUE(document.queue.statusHidden());
    EXPECT_EQ(document.queue.progress(), 0.0);
}

TEST_F(ProcessorScriptTest, StepsWriteTheirFormsBack)
{
    auto processor = XmlProcessor::create();
    processor->setRootDir(QStringLiteral("/sites/a&b"));
    auto create = XmlCreate::create();
    create->setDir(QStringLiteral("homepage"));
    create->setFilename(QStringLiteral("x\"y.html"));
    processor->addChild(create);
    processor->addChild(XmlCopy::createForFileLocation(QStringLiteral("blank.gif"), QStringLiteral("homepage/bitmaps")));

    const auto again = processorScript(processor->createXml());
    ASSERT_TRUE(again);
    EXPECT_EQ(again->rootDir(), QStringLiteral("/sites/a&b"));
    ASSERT_EQ(again->numberChildren(), 2);
    const XmlCreate* readCreate = XmlCreate::cast(again->childAtIndex(0).get());
    const XmlCopy* readCopy = XmlCopy::cast(again->childAtIndex(1).get());
    ASSERT_TRUE(readCreate && readCopy);
    EXPECT_EQ(readCreate->filename(), QStringLiteral("x\"y.html"));
    EXPECT_EQ(readCopy->dir(), QStringLiteral("homepage/bitmaps"));
    EXPECT_EQ(readCopy->filename(), QStringLiteral("blank.gif"));
    EXPECT_TRUE(again->childAtIndex(1)->createXml().trimmed().startsWith(QStringLiteral("<QZcopy dir=\"homepage/bitmaps\" filename=\"blank.gif\"/>")));
}

TEST_F(ProcessorScriptTest, CopiesPreferTheSharedFolderAndNeverReplace)
{
    ResourceFolder folder(resourceCopy());
    writeAll(resources.filePath(QStringLiteral("copy/styles/prototype.js")), "resource");
    writeAll(resources.filePath(QStringLiteral("copy/styles/effects.js")), "resource");
    writeAll(XmlCopy::sharedSupportFolder() + QStringLiteral("/prototype.js"), "shared");
    writeAll(site.filePath(QStringLiteral("homepage/effects.js")), "already there");
    const auto processor = processorScript(header()
        + QStringLiteral("<QZcopy dir=\"homepage\" filename=\"prototype.js\" />\n"
                         "<QZcopy dir=\"homepage\" filename=\"effects.js\" />\n"
                         "<QZcopy dir=\"homepage\" filename=\"missing.js\" />\n"
                         "<QZcreate dir=\"nofolder\" filename=\"c.html\"></QZcreate>\n"
                         "<QZcreate dir=\"homepage\" filename=\"empty.html\"></QZcreate>\n")
        + QStringLiteral("</QZprocessor>\n"));
    document.queue.startProcessor(processor);
    drain(document.queue);
    EXPECT_EQ(readAll(site.filePath(QStringLiteral("homepage/prototype.js"))), QByteArray("shared"));
    EXPECT_EQ(readAll(site.filePath(QStringLiteral("homepage/effects.js"))), QByteArray("already there"));
    EXPECT_FALSE(QFileInfo::exists(site.filePath(QStringLiteral("homepage/missing.js"))));
    EXPECT_FALSE(QFileInfo::exists(site.filePath(QStringLiteral("nofolder"))));
    EXPECT_TRUE(QFileInfo(site.filePath(QStringLiteral("homepage/empty.html"))).isFile());
    EXPECT_EQ(QFileInfo(site.filePath(QStringLiteral("homepage/empty.html"))).size(), 0);
    // What could not be done is in the Activity log, not silent.
    EXPECT_TRUE(document.queue.activityText().contains(QStringLiteral("error copying file:missing.js")));
    EXPECT_TRUE(document.queue.activityText().contains(QStringLiteral("error saving file:c.html")));
}

// Every page of a build copies the same support files: each copy takes them
// from the resource folder in use when it runs, the program's style
// resources before the site's, and a file missing there is looked for again.
TEST_F(ProcessorScriptTest, CopiesTakeTheSupportFilesOfTheResourceFolderInUse)
{
    const auto copyInto = [&](const QString& dir) {
        document.queue.startProcessor(processorScript(header()
            + QStringLiteral("<QZcopy dir=\"%1\" filename=\"lumenquill.js\" />\n"
                             "<QZcopy dir=\"%1\" filename=\"later.js\" />\n")
                  .arg(dir)
            + QStringLiteral("</QZprocessor>\n")));
        drain(document.queue);
    };
    {
        ResourceFolder folder(resourceCopy());
        writeAll(resources.filePath(QStringLiteral("copy/site/lumenquill.js")), "site");
        ASSERT_TRUE(QDir(site.path()).mkpath(QStringLiteral("one")));
        copyInto(QStringLiteral("one"));
        EXPECT_EQ(readAll(site.filePath(QStringLiteral("one/lumenquill.js"))), QByteArray("site"));
        EXPECT_FALSE(QFileInfo::exists(site.filePath(QStringLiteral("one/later.js"))));
        writeAll(resources.filePath(QStringLiteral("copy/site/later.js")), "found later");
        ASSERT_TRUE(QDir(site.path()).mkpath(QStringLiteral("two")));
        copyInto(QStringLiteral("two"));
        EXPECT_EQ(readAll(site.filePath(QStringLiteral("two/lumenquill.js"))), QByteArray("site"));
        EXPECT_EQ(readAll(site.filePath(QStringLiteral("two/later.js"))), QByteArray("found later"));
    }
    {
        ResourceFolder other(resources.filePath(QStringLiteral("other")));
        writeAll(resources.filePath(QStringLiteral("other/styles/lumenquill.js")), "other styles");
        ASSERT_TRUE(QDir(site.path()).mkpath(QStringLiteral("three")));
        copyInto(QStringLiteral("three"));
        EXPECT_EQ(readAll(site.filePath(QStringLiteral("three/lumenquill.js"))), QByteArray("other styles"));
    }
    EXPECT_EQ(document.queue.activityText().count(QStringLiteral("error copying file:later.js")), 2);
}

TEST_F(ProcessorScriptTest, TargetsOutsideTheSiteFolderAreRefused)
{
    ResourceFolder folder(resourceCopy());
    writeAll(resources.filePath(QStringLiteral("copy/styles/lumenquill.js")), "// script");
    writeAll(site.filePath(QStringLiteral("site.xmlbase")), "document");
    const QString outside = QFileInfo(site.path()).dir().filePath(QStringLiteral("lq-outside-") + QFileInfo(site.path()).fileName());
    struct Case {
        const char* tag;
        QString dir;
        QString filename;
    };
    const std::vector<Case> cases {
        { "QZcreate", QStringLiteral("homepage"), QStringLiteral("../site.xmlbase") },
        { "QZcreate", QStringLiteral("homepage/.."), QStringLiteral("site.xmlbase") },
        { "QZcreate", QStringLiteral(".."), QFileInfo(outside).fileName() },
        { "QZcreate", QStringLiteral("/tmp"), QStringLiteral("lq-absolute.html") },
        { "QZcopy", QStringLiteral("homepage/../.."), QFileInfo(outside).fileName() },
    };
    QString text = header();
    for (const Case& c : cases)
        text += QStringLiteral("<") + QLatin1String(c.tag) + QStringLiteral(" dir=\"") + c.dir + QStringLiteral("\" filename=\"")
            + c.filename + QStringLiteral("\"><!-- x --><![CDATA[overwritten]]><!-- x --></") + QLatin1String(c.tag) + QStringLiteral(">\n");
    text += QStringLiteral("</QZprocessor>\n");
    document.queue.startProcessor(processorScript(text));
    drain(document.queue);
    EXPECT_EQ(readAll(site.filePath(QStringLiteral("site.xmlbase"))), QByteArray("document"));
    EXPECT_FALSE(QFileInfo::exists(outside));
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/tmp/lq-absolute.html")));
    EXPECT_EQ(document.queue.activityText().count(QStringLiteral("refused")), static_cast<qsizetype>(cases.size()));
}

TEST_F(ProcessorScriptTest, ProgressFailuresAndSlices)
{
    // A clock that only steps move on: each step takes 300 ms, so every
    // slice runs two steps (the second runs out the half second).
    qint64 now = 0;
    document.queue.setClock([&] { return now; });
    QStringList ran;
    auto processor = XmlProcessor::create();
    processor->setStatusMessage(QStringLiteral("Importing Photos..."));
    for (int i = 1; i <= 4; ++i)
        processor->addChild(RecordingStep::create([&, i]() -> bool {
            now += 300;
            ran.append(QString::number(i));
            if (i == 2)
                lq::raise(QStringLiteral("TestFailure"), QStringLiteral("broken"));
            return false;
        }));
    EXPECT_EQ(processor->progress(), 50.0); // no total yet
    document.queue.startProcessor(processor);
    EXPECT_TRUE(document.queue.isArmed());

    document.queue.processor();
    EXPECT_EQ(ran, (QStringList { QStringLiteral("1"), QStringLiteral("2") }));
    EXPECT_EQ(document.queue.progress(), 50.0);
    EXPECT_FALSE(document.queue.statusHidden());
    EXPECT_EQ(document.queue.statusMessage(), QStringLiteral("Importing Photos..."));
    EXPECT_TRUE(document.queue.isArmed()); // re-armed: the time ran out
    const QStringList lines = document.queue.activityText().split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines[2], QStringLiteral("**** ERROR ****"));
    EXPECT_EQ(lines[3], QStringLiteral("processor error: TestFailure: broken"));
    EXPECT_EQ(lines[4], lq::className(typeid(RecordingStep)));

    document.queue.processor();
    EXPECT_EQ(ran.size(), 4);
    EXPECT_EQ(document.queue.progress(), 100.0);
    document.queue.processor();
    EXPECT_TRUE(document.queue.statusHidden());
    EXPECT_EQ(document.queue.progress(), 0.0);
    EXPECT_TRUE(document.queue.processors().isEmpty());
}

TEST_F(ProcessorScriptTest, FailedStepsAreCountedAndTellWhatTheyBeganWith)
{
    // A step that fails deep inside framed operations, one that reports what
    // it could not do, one that succeeds, and a file step whose folder is missing.
    auto processor = processorScript(header() + QStringLiteral("<QZcreate dir=\"missing\" filename=\"a.html\">x</QZcreate></QZprocessor>"));
    ASSERT_NE(processor, nullptr);
    processor->insertChildAtIndex(RecordingStep::create([] {
        return lq::classFrame("Outer", [] {
            return lq::classFrame("Inner", []() -> bool { lq::raiseWriteFailure(QStringLiteral("cannot write x: No space left on device")); });
        });
    }), 0);
    processor->insertChildAtIndex(RecordingStep::create([] { return false; }), 1);
    document.queue.startProcessor(processor);
    document.queue.clearFailedSteps();
    while (!document.queue.processors().isEmpty())
        document.queue.processor();

    EXPECT_EQ(document.queue.failedSteps(), 2);
    EXPECT_EQ(document.queue.firstFailure(), QStringLiteral("File write failed: cannot write x: No space left on device"));
    const QString activity = document.queue.activityText();
    EXPECT_TRUE(activity.contains(QStringLiteral("processor error: File write failed: cannot write x: No space left on device")))
        << activity.toStdString();
    EXPECT_TRUE(activity.contains(QStringLiteral("error saving file:a.html"))) << activity.toStdString();
    document.queue.clearFailedSteps();
    EXPECT_EQ(document.queue.failedSteps(), 0);
    EXPECT_EQ(document.queue.firstFailure(), QString());
}

TEST_F(ProcessorScriptTest, ProgressAfterEachStepOfFour)
{
    // Steps that take a whole slice each.
    qint64 now = 0;
    document.queue.setClock([&] { return now; });
    auto processor = XmlProcessor::create();
    for (int i = 0; i < 4; ++i)
        processor->addChild(RecordingStep::create([&] {
            now += 5000;
            return false;
        }));
    document.queue.startProcessor(processor);
    QList<double> seen;
    for (int i = 0; i < 4; ++i) {
        document.queue.processor();
        seen.append(document.queue.progress());
    }
    EXPECT_EQ(seen, (QList<double> { 25.0, 50.0, 75.0, 100.0 }));
    document.queue.stopProcessor();
}

TEST_F(ProcessorScriptTest, ScriptsRunStrictlyInOrderAndQueuedScriptsGoLast)
{
    QStringList ran;
    QStringList statuses;
    document.queue.setDisplayHandler([&] {
        if (!document.queue.statusHidden() && (statuses.isEmpty() || statuses.last() != document.queue.statusMessage()))
            statuses.append(document.queue.statusMessage());
    });
    int refreshes = 0;
    document.queue.setRefreshHandler([&] { ++refreshes; });
    auto make = [&](const QString& name, int steps) { return recordingScript(ran, name, steps); };
    auto first = make(QStringLiteral("A"), 2);
    // A call-back queued behind A and B runs once both have run, before the
    // script that a step of A queues later.
    auto callBack = XmlProcessor::create();
    callBack->setStatusMessage(QStringLiteral("Exporting..."));
    callBack->addChild(XmlCallSelector::createWithTask(QStringLiteral("exportStage2:"), [&] { ran.append(QStringLiteral("call")); }));
    // A generator step: its script joins the end of the queue.
    first->addChild(RecordingStep::create([&] {
        ran.append(QStringLiteral("gen"));
        document.startProcessor(make(QStringLiteral("C"), 1));
        return true;
    }));
    document.queue.startProcessor(first);
    document.queue.startProcessor(make(QStringLiteral("B"), 2));
    document.queue.startProcessor(callBack);
    document.queue.startProcessor(XmlProcessor::create()); // no steps: ignored
    EXPECT_EQ(document.queue.processors().size(), 3);
    drain(document.queue);
    EXPECT_EQ(ran, (QStringList { QStringLiteral("A1"), QStringLiteral("A2"), QStringLiteral("gen"), QStringLiteral("B1"),
                       QStringLiteral("B2"), QStringLiteral("call"), QStringLiteral("C1") }));
    EXPECT_EQ(statuses, (QStringList { QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("Exporting..."), QStringLiteral("C") }));
    EXPECT_GE(refreshes, 1);
}

// A page generator queues its page's script to run next: each page is
// written before the next one is made, and the scripts behind wait.
TEST_F(ProcessorScriptTest, AScriptQueuedNextRunsBeforeTheRestOfTheScriptUnderWay)
{
    QStringList ran;
    auto make = [&](const QString& name, int steps) { return recordingScript(ran, name, steps); };
    auto build = XmlProcessor::create();
    for (const QString& page : { QStringLiteral("P"), QStringLiteral("Q") })
        build->addChild(RecordingStep::create([&, page] {
            ran.append(QStringLiteral("make ") + page);
            document.startProcessorNext(make(page, 2));
            document.startProcessorNext(XmlProcessor::create()); // no steps: ignored
            return false;
        }));
    document.queue.startProcessor(build);
    document.queue.startProcessor(make(QStringLiteral("B"), 1));
    // Stepping slice by slice: a slice that runs out of time in the middle
    // of a page's script goes on with it in the next one.
    qint64 now = 0;
    document.queue.setClock([&] { return now += 300; });
    std::size_t most = 0;
    while (!document.queue.processors().isEmpty()) {
        most = std::max(most, static_cast<std::size_t>(document.queue.processors().size()));
        document.queue.processor();
    }
    document.queue.stopProcessor();
    EXPECT_EQ(ran, (QStringList { QStringLiteral("make P"), QStringLiteral("P1"), QStringLiteral("P2"), QStringLiteral("make Q"),
                       QStringLiteral("Q1"), QStringLiteral("Q2"), QStringLiteral("B1") }));
    EXPECT_LE(most, 3u) << "never more than one page's script waits";
}

TEST_F(ProcessorScriptTest, CancelDropsWholeScripts)
{
    int runs = 0;
    auto processor = XmlProcessor::create();
    processor->addChild(RecordingStep::create([&] { return ++runs, false; }));
    document.queue.startProcessor(processor);
    document.queue.cancelActivity();
    EXPECT_TRUE(document.queue.isIdle());
    bool marker = false;
    lq::performAfter(&marker, QStringLiteral("later"), 0.3, [&] { marker = true; });
    ASSERT_TRUE(processEventsUntil([&] { return marker; }));
    EXPECT_EQ(runs, 0);
}

TEST(SidebarWidgetStep, AsksTheSiteAndAnswersNo)
{
    // The site writes nothing for a widget yet; the step never fails for
    // want of a document or a site, and never asks the editors to refresh.
    const auto step = XmlSidebarWidgetProcessor::createForWidget(QStringLiteral("0123456789ABCDEF"));
    EXPECT_EQ(step->widget(), QStringLiteral("0123456789ABCDEF"));
    EXPECT_FALSE(step->run());
    FakeDocument document;
    step->setDocument(&document);
    EXPECT_FALSE(step->run());
}
