#include "platform/Exception.h"
#include "platform/ExceptionFrame.h"
#include "support/LogCapture.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// Three model operations calling each other; the innermost fails.
class Worker {
public:
    virtual ~Worker() = default;
    int outer() { return lq::modelFrame(this, "outer", [&] { return middle() + 1; }); }
    int middle() { return lq::modelFrame(this, "middle:", [&] { return inner() + 1; }); }
    int inner()
    {
        return lq::modelFrame(this, "inner", [&]() -> int { lq::raise(QStringLiteral("NSRangeException"), QStringLiteral("index 7 beyond bounds")); });
    }
    void stopsHere()
    {
        lq::uiFrame(this, "stopsHere:", [&] { outer(); });
    }
};

class SubWorker : public Worker {};

} // namespace

TEST(ExceptionFrame, ModelFramesLogTheChainAndPassTraceOn)
{
    LogCapture log;
    SubWorker worker;
    try {
        worker.outer();
        FAIL() << "the failure must reach the caller";
    } catch (const lq::Exception& e) {
        EXPECT_EQ(e.reason(), QStringLiteral("trace"));
    }
    // The class name is the object's own class, as the log has always shown it.
    EXPECT_EQ(log.lines, (QStringList {
                             QStringLiteral("Error: ----------------------------------"),
                             QStringLiteral("Catch:[(anonymous namespace)::SubWorker inner] NSRangeException: index 7 beyond bounds"),
                             QStringLiteral("Trace:[(anonymous namespace)::SubWorker middle:]"),
                             QStringLiteral("Trace:[(anonymous namespace)::SubWorker outer]"),
                         }));
}

TEST(ExceptionFrame, InterfaceFrameStopsTheFailure)
{
    LogCapture log;
    Worker worker;
    EXPECT_NO_THROW(worker.stopsHere());
    ASSERT_GE(log.lines.size(), 2);
    EXPECT_EQ(log.lines.at(log.lines.size() - 2), QStringLiteral("Trace:[(anonymous namespace)::Worker stopsHere:]"));
    EXPECT_EQ(log.lines.last(), QStringLiteral("-----------------------------------------"));
}

TEST(ExceptionFrame, InterfaceFrameCatchingAFailureLogsItWithoutTheErrorRule)
{
    LogCapture log;
    Worker worker;
    const int answer = lq::uiFrame(&worker, "tableView:objectValue:", [&]() -> int {
        lq::raise(QStringLiteral("NSInvalidArgumentException"), QStringLiteral("nil key"));
    });
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(log.lines, (QStringList {
                             QStringLiteral("Catch:[(anonymous namespace)::Worker tableView:objectValue:] NSInvalidArgumentException: nil key"),
                             QStringLiteral("-----------------------------------------"),
                         }));
}

TEST(ExceptionFrame, ClassFramesUseTheirLabelAndStandardFailuresAreNamed)
{
    LogCapture log;
    EXPECT_THROW(lq::classFrame("XmlBase +urlescape:", [] { throw std::out_of_range("past the end"); }), lq::Exception);
    EXPECT_EQ(log.lines, (QStringList { QStringLiteral("Error: ----------------------------------"),
                             QStringLiteral("Catch:XmlBase +urlescape: std::out_of_range: past the end") }));

    // A trace passing through a class frame logs its label only.
    log.lines.clear();
    EXPECT_THROW(lq::classFrame("XmlBase +escape:", [] { lq::raise(QStringLiteral("Trace"), QStringLiteral("trace")); }),
        lq::Exception);
    EXPECT_EQ(log.lines, QStringList { QStringLiteral("Trace:XmlBase +escape:") });

    // A frame answers its body's value when nothing fails.
    EXPECT_EQ(lq::classFrame("XmlBase +reverseWord:", [] { return 42; }), 42);
}

TEST(ExceptionFrame, DivisionGuard)
{
    EXPECT_NO_THROW(lq::guardDivisor(2.0, QStringLiteral("width = 0")));
    try {
        lq::guardDivisor(0.0, QStringLiteral("width = 0"));
        FAIL();
    } catch (const lq::Exception& e) {
        EXPECT_EQ(e.name(), QStringLiteral("Divide By 0"));
        EXPECT_EQ(e.reason(), QStringLiteral("width = 0"));
    }
}
