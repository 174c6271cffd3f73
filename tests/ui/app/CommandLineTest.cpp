// The command line as the program reads it before anything starts.
#include "ui/app/CommandLine.h"

#include <gtest/gtest.h>

TEST(CommandLine, ReadsItsOptionsAndLeavesQtsOwn)
{
    struct Case {
        QStringList arguments;
        CommandLine::Action action;
        QString tab;
        QStringList websites;
        QString mistake;
    };
    using Action = CommandLine::Action;
    const QList<Case> cases = {
        {{}, Action::StartWindows, {}, {}, {}},
        {{"--tab", "Send", "/sites/Travel.lqxl"}, Action::StartWindows, "Send", {"/sites/Travel.lqxl"}, {}},
        {{"--tab=layout", "a.lqxl", "b.lqxl"}, Action::StartWindows, "layout", {"a.lqxl", "b.lqxl"}, {}},
        // Qt's own options, and the web engine's after "--webEngineArgs".
        {{"-platform", "offscreen", "-style", "Fusion", "-reverse", "x.lqxl"}, Action::StartWindows, {}, {"x.lqxl"}, {}},
        {{"x.lqxl", "--webEngineArgs", "--remote-debugging-port=9000", "--bogus"}, Action::StartWindows, {}, {"x.lqxl"}, {}},
        {{"--help", "--bogus"}, Action::Mistake, {}, {}, "Unknown option 'bogus'."},
        {{"-h"}, Action::ShowHelp, {}, {}, {}},
        {{"--version"}, Action::ShowVersion, {}, {}, {}},
        {{"--screenshot"}, Action::Mistake, {}, {}, "Missing value after '--screenshot'."},
    };
    for (const Case& c : cases) {
        const CommandLine line = CommandLine::parse(QStringList{QStringLiteral("lumenquill")} + c.arguments);
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        EXPECT_EQ(line.action, c.action);
        EXPECT_EQ(line.tab, c.tab);
        EXPECT_EQ(line.websites, c.websites);
        EXPECT_EQ(line.mistake, c.mistake);
    }
    const CommandLine shot = CommandLine::parse({QStringLiteral("lumenquill"), QStringLiteral("--screenshot"), QStringLiteral("/tmp/a.png"),
        QStringLiteral("--quit-after-launch")});
    EXPECT_EQ(shot.screenshot, QStringLiteral("/tmp/a.png"));
    EXPECT_TRUE(shot.quitAfterLaunch);
}
