#include "platform/DelayedCall.h"
#include "support/EventLoop.h"

#include <gtest/gtest.h>

#include <QStringList>

TEST(DelayedCall, RunsLaterInOrderAndCancelsByTargetAndKey)
{
    int target = 0;
    int other = 0;
    QStringList ran;
    lq::performAfter(&target, QStringLiteral("a"), 0.0, [&] { ran.append(QStringLiteral("a1")); });
    lq::performAfter(&target, QStringLiteral("a"), 0.0, [&] { ran.append(QStringLiteral("a2")); });
    lq::performAfter(&target, QStringLiteral("b"), 0.0, [&] { ran.append(QStringLiteral("b")); });
    lq::performAfter(&other, QStringLiteral("a"), 0.0, [&] { ran.append(QStringLiteral("other")); });
    // Nothing runs inside the call that schedules.
    EXPECT_TRUE(ran.isEmpty());
    EXPECT_EQ(lq::pendingCalls(&target, QStringLiteral("a")), 2);

    // Cancelling drops every call under that target and key, and only those.
    lq::cancel(&target, QStringLiteral("a"));
    EXPECT_EQ(lq::pendingCalls(&target, QStringLiteral("a")), 0);
    ASSERT_TRUE(processEventsUntil([&] { return ran.size() == 2; }));
    QStringList sorted = ran;
    sorted.sort();
    EXPECT_EQ(sorted, (QStringList { QStringLiteral("b"), QStringLiteral("other") }));
    EXPECT_EQ(lq::pendingCalls(&target, QStringLiteral("b")), 0);
}

TEST(DelayedCall, ACallMayScheduleAndCancelUnderItsOwnKey)
{
    int target = 0;
    int runs = 0;
    std::function<void()> again = [&] {
        ++runs;
        if (runs < 3)
            lq::performAfter(&target, QStringLiteral("tick"), 0.0, again);
    };
    lq::performAfter(&target, QStringLiteral("tick"), 0.0, again);
    ASSERT_TRUE(processEventsUntil([&] { return runs == 3; }));
    EXPECT_EQ(lq::pendingCalls(&target, QStringLiteral("tick")), 0);

    // cancelAll drops every key of the target.
    bool late = false;
    lq::performAfter(&target, QStringLiteral("x"), 0.0, [&] { late = true; });
    lq::performAfter(&target, QStringLiteral("y"), 0.0, [&] { late = true; });
    lq::cancelAll(&target);
    bool marker = false;
    lq::performAfter(&runs, QStringLiteral("z"), 0.0, [&] { marker = true; });
    ASSERT_TRUE(processEventsUntil([&] { return marker; }));
    EXPECT_FALSE(late);
}
