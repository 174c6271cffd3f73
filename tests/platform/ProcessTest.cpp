#include "platform/Process.h"
#include "support/Printers.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <vector>

namespace {
const QString sh = QStringLiteral("/bin/sh");
} // namespace

TEST(Process, ArgumentsReachTheToolAsTheyAre)
{
    // No shell stands between: blanks, quotes, variables and patterns stay literal.
    const QStringList words { QStringLiteral("two words"), QStringLiteral("$HOME"), QStringLiteral(";"),
        QStringLiteral("*"), QStringLiteral("\"quoted\""), QStringLiteral("`id`"), QString() };
    QStringList arguments { QStringLiteral("%s|\\n") };
    arguments += words;
    const lq::ProcessResult result = lq::runProcess(QStringLiteral("/usr/bin/printf"), arguments);
    ASSERT_TRUE(result.succeeded()) << result.failureDetail(QStringLiteral("printf")).toStdString();
    EXPECT_EQ(QString::fromUtf8(result.output), words.join(QStringLiteral("|\n")) + QStringLiteral("|\n"));
}

TEST(Process, RunsInTheWorkingFolder)
{
    QTemporaryDir dir;
    const lq::ProcessResult result = lq::runProcess(QStringLiteral("/bin/pwd"), { QStringLiteral("-P") }, dir.path());
    ASSERT_TRUE(result.succeeded());
    EXPECT_EQ(QString::fromUtf8(result.output).trimmed(), QFileInfo(dir.path()).canonicalFilePath());
}

TEST(Process, InputAndOutputLargerThanAPipe)
{
    // Far more than a pipe holds in both directions at once: neither side may stall.
    QByteArray input;
    input.reserve(1 << 20);
    for (int i = 0; input.size() < (1 << 20); ++i)
        input += QByteArray::number(i) + '\n';
    const lq::ProcessResult result = lq::runProcess(QStringLiteral("/bin/cat"), {}, QString(), input);
    ASSERT_TRUE(result.succeeded());
    EXPECT_EQ(result.output.size(), input.size());
    EXPECT_TRUE(result.output == input);

    // Without input, standard input is closed: a reader sees its end at once.
    const lq::ProcessResult empty = lq::runProcess(QStringLiteral("/bin/cat"), {});
    ASSERT_TRUE(empty.succeeded());
    EXPECT_TRUE(empty.output.isEmpty());
}

TEST(Process, ExitStatusAndErrorOutputAreReported)
{
    const lq::ProcessResult result = lq::runProcess(sh,
        { QStringLiteral("-c"), QStringLiteral("echo out; echo 'it broke' >&2; exit 3") });
    EXPECT_TRUE(result.started);
    EXPECT_FALSE(result.crashed);
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_FALSE(result.succeeded());
    EXPECT_EQ(result.output, QByteArray("out\n"));
    EXPECT_EQ(result.error, QByteArray("it broke\n"));
    EXPECT_EQ(result.failureDetail(QStringLiteral("/bin/sh")), QStringLiteral("/bin/sh exited with status 3: it broke"));
    // A program name with placeholder marks is reported as it stands.
    EXPECT_EQ(result.failureDetail(QStringLiteral("/opt/a%1b/tool")),
        QStringLiteral("/opt/a%1b/tool exited with status 3: it broke"));

    const lq::ProcessResult killed = lq::runProcess(sh, { QStringLiteral("-c"), QStringLiteral("kill -9 $$") });
    EXPECT_TRUE(killed.started);
    EXPECT_TRUE(killed.crashed);
    EXPECT_FALSE(killed.succeeded());
    EXPECT_EQ(killed.failureDetail(QStringLiteral("/bin/sh")), QStringLiteral("/bin/sh crashed"));

    const lq::ProcessResult fine = lq::runProcess(sh, { QStringLiteral("-c"), QStringLiteral("exit 0") });
    EXPECT_TRUE(fine.succeeded());
    EXPECT_EQ(fine.failureDetail(QStringLiteral("/bin/sh")), QString());
}

TEST(Process, ToolsThatCannotStart)
{
    QTemporaryDir dir;
    struct Case {
        QString program;
        QString folder;
    };
    const std::vector<Case> cases {
        { QStringLiteral("sh"), QString() },                         // not an absolute path: no PATH look-up
        { QStringLiteral("/no/such/tool"), QString() },
        { dir.path(), QString() },                                   // a folder is no tool
        { sh, dir.filePath(QStringLiteral("no-such-folder")) },      // missing working folder
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program.toStdString() + " in " + c.folder.toStdString());
        const lq::ProcessResult result = lq::runProcess(c.program, { QStringLiteral("-c"), QStringLiteral("exit 0") }, c.folder);
        EXPECT_FALSE(result.started);
        EXPECT_FALSE(result.succeeded());
        EXPECT_TRUE(result.failureDetail(c.program).startsWith(QStringLiteral("could not start ") + c.program));
    }
}

TEST(Process, DetachedToolRunsOnItsOwn)
{
    QTemporaryDir dir;
    const QString marker = dir.filePath(QStringLiteral("marker"));
    ASSERT_TRUE(lq::startDetachedProcess(QStringLiteral("/usr/bin/touch"), { QStringLiteral("marker") }, dir.path()));
    // It finishes some time after the call has returned.
    const QDeadlineTimer deadline(20000);
    while (!QFileInfo::exists(marker) && !deadline.hasExpired())
        QThread::msleep(10);
    EXPECT_TRUE(QFileInfo::exists(marker));

    EXPECT_FALSE(lq::startDetachedProcess(QStringLiteral("touch"), { marker }));
    EXPECT_FALSE(lq::startDetachedProcess(QStringLiteral("/no/such/tool"), {}));
}
