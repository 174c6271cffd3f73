#include "platform/Alert.h"
#include "platform/PreviewView.h"
#include "platform/Services.h"
#include "support/LogCapture.h"
#include "support/ScopedServices.h"

#include <gtest/gtest.h>

namespace {

// A test's hooks, and those the code under test sets while it runs, end with
// its scope: the hooks before it answer again, whatever was set in between.
TEST(Services, AScopeEndsWithEveryHookSetWhileItLasted)
{
    QStringList alerts;
    const ScopedServices outer([&](lq::Services& services) {
        services.alertHandler = [&](const QString& title, const QString&, const QString&) { alerts.append(QStringLiteral("outer ") + title); };
    });
    {
        const ScopedServices inner([&](lq::Services& services) {
            services.alertHandler = [&](const QString& title, const QString&, const QString&) { alerts.append(QStringLiteral("inner ") + title); };
        });
        lq::runAlert(QStringLiteral("first"), QString(), QStringLiteral("OK"));
        const LogCapture log;
        lq::PreviewView::setUnavailable(lq::PreviewView::Kind::Web, QStringLiteral("no engine in this test"));
        EXPECT_FALSE(lq::PreviewView::canShow(lq::PreviewView::Kind::Web));
        lq::services().captionLookup = [](const QString&) { return QStringLiteral("a caption"); };
        lq::services().previewViewFactory = [](lq::PreviewView::Kind, const lq::Rect&) { return nullptr; };
    }
    lq::runAlert(QStringLiteral("second"), QString(), QStringLiteral("OK"));
    EXPECT_EQ(alerts, (QStringList { QStringLiteral("inner first"), QStringLiteral("outer second") }));
    EXPECT_TRUE(lq::PreviewView::canShow(lq::PreviewView::Kind::Web));
    EXPECT_FALSE(lq::services().captionLookup);
    EXPECT_FALSE(lq::services().previewViewFactory);
}

// What a scope changes is a copy of the hooks in place: the others stay.
TEST(Services, AScopeStartsFromTheHooksInPlace)
{
    int alerts = 0;
    const ScopedServices outer([&](lq::Services& services) {
        services.alertHandler = [&](const QString&, const QString&, const QString&) { ++alerts; };
    });
    const ScopedServices inner([](lq::Services& services) { services.captionLookup = [](const QString&) { return QString(); }; });
    lq::runAlert(QStringLiteral("Still shown"), QString(), QStringLiteral("OK"));
    EXPECT_EQ(alerts, 1);
}

} // namespace
