#include "platform/AuxiliaryTools.h"
#include "platform/ChildProcess.h"
#include "platform/Process.h"
#include "support/EventLoop.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
const QString sh = QStringLiteral("/bin/sh");
} // namespace

TEST(Process, EnvironmentAndAMegabyteOfErrorOutput)
{
    // A tool that writes 1 MiB to standard error and some to standard output
    // must not stall on a full pipe; the variables reach it.
    lq::ProcessOptions options;
    options.environment.insert(QStringLiteral("LQ_WORD"), QStringLiteral("a b;c"));
    const lq::ProcessResult result = lq::runProcess(sh,
        { QStringLiteral("-c"), QStringLiteral("head -c 1048576 /dev/zero >&2; printf %s \"$LQ_WORD\"") }, options);
    ASSERT_TRUE(result.succeeded()) << result.failureDetail(sh).toStdString();
    EXPECT_EQ(result.error.size(), 1048576);
    EXPECT_EQ(result.output, QByteArray("a b;c"));
}

TEST(ChildProcess, StreamsOutputTakesInputAndReportsTheEnd)
{
    QTemporaryDir folder;
    lq::ChildProcess child;
    QByteArray output;
    QByteArray error;
    std::optional<lq::ProcessResult> end;
    child.setWorkingFolder(folder.path());
    child.setEnvironment({ { QStringLiteral("LQ_GREETING"), QStringLiteral("hello") } });
    child.setOutputHandler([&](const QByteArray& bytes) { output += bytes; });
    child.setErrorHandler([&](const QByteArray& bytes) { error += bytes; });
    child.setFinishedHandler([&](const lq::ProcessResult& result) { end = result; });
    ASSERT_TRUE(child.start(sh, { QStringLiteral("-c"),
        QStringLiteral("read line; echo \"$LQ_GREETING $line\"; pwd -P; echo oops >&2; exit 4") }));
    EXPECT_TRUE(child.write("world\n"));
    child.closeInput();
    ASSERT_TRUE(processEventsUntil([&] { return end.has_value(); }));
    EXPECT_TRUE(end->started);
    EXPECT_EQ(end->exitCode, 4);
    EXPECT_EQ(QString::fromUtf8(output), QStringLiteral("hello world\n") + QFileInfo(folder.path()).canonicalFilePath() + QStringLiteral("\n"));
    EXPECT_EQ(error, QByteArray("oops\n"));
    EXPECT_FALSE(child.isRunning());
}

TEST(ChildProcess, TerminationAndToolsThatCannotStart)
{
    lq::ChildProcess sleeper;
    std::optional<lq::ProcessResult> end;
    sleeper.setFinishedHandler([&](const lq::ProcessResult& result) { end = result; });
    ASSERT_TRUE(sleeper.start(QStringLiteral("/bin/sleep"), { QStringLiteral("600") }));
    EXPECT_TRUE(sleeper.isRunning());
    sleeper.terminate();
    ASSERT_TRUE(processEventsUntil([&] { return end.has_value(); }));
    EXPECT_TRUE(end->crashed);
    EXPECT_FALSE(end->succeeded());

    // A bare name is never looked up along PATH; the failure still arrives
    // through the handler, later.
    for (const QString& program : { QStringLiteral("sleep"), QStringLiteral("/nonexistent/tool") }) {
        lq::ChildProcess missing;
        std::optional<lq::ProcessResult> failed;
        missing.setFinishedHandler([&](const lq::ProcessResult& result) { failed = result; });
        EXPECT_FALSE(missing.start(program, {}));
        EXPECT_FALSE(failed.has_value());
        ASSERT_TRUE(processEventsUntil([&] { return failed.has_value(); })) << program.toStdString();
        EXPECT_FALSE(failed->started);
        EXPECT_FALSE(failed->startError.isEmpty());
    }
}

TEST(AuxiliaryTools, FoundByNameInTheOverrideFolderOnly)
{
    QTemporaryDir folder;
    const QString tool = folder.filePath(QStringLiteral("xmldir"));
    writeAll(tool, "#!/bin/sh\n");
    writeAll(folder.filePath(QStringLiteral("plain")), "not a tool");
    ASSERT_TRUE(QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    ASSERT_TRUE(QFile::setPermissions(folder.filePath(QStringLiteral("plain")), QFile::ReadOwner | QFile::WriteOwner));

    const QByteArray saved = qgetenv("LUMENQUILL_LIBEXEC");
    qputenv("LUMENQUILL_LIBEXEC", folder.path().toUtf8());
    EXPECT_EQ(lq::auxiliaryTool(QStringLiteral("xmldir")), QFileInfo(tool).absoluteFilePath());
    EXPECT_EQ(lq::auxiliaryTool(QStringLiteral("plain")), QString()); // not executable
    EXPECT_EQ(lq::auxiliaryTool(QStringLiteral("missing")), QString());
    EXPECT_EQ(lq::auxiliaryTool(QStringLiteral("../xmldir")), QString());
    qunsetenv("LUMENQUILL_LIBEXEC");
    EXPECT_TRUE(lq::auxiliaryToolFolder().endsWith(QStringLiteral("/libexec/lumenquill")));
    if (!saved.isEmpty())
        qputenv("LUMENQUILL_LIBEXEC", saved);
}
