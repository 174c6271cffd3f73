#include "ui/app/UserPreferences.h"

#include "application/MyApplication.h"
#include "platform/InputLimits.h"
#include "platform/UserDefaults.h"
#include "publish/TransferLimits.h"

#include <algorithm>
#include <climits>
#include <type_traits>

namespace UserPreferences {

namespace {
const QString serverKey = QStringLiteral("ServerAddress");
constexpr int smallestPictureLimit = 1024;
} // namespace

void readPreferences(lq::UserDefaults& defaults, MyApplication& app)
{
    app.setDeveloper(defaults.integerForKey(QStringLiteral("Developer")));
    app.setPrefsVersion(defaults.integerForKey(QStringLiteral("Version")));
    app.setCheckForUpdates(defaults.integerForKey(QStringLiteral("CheckForUpdates")));
    app.setAutoLaunchBrowser(defaults.integerForKey(QStringLiteral("autoLaunchBrowser")) != 0);
    app.setEnableRTL(defaults.integerForKey(QStringLiteral("enableRTL")));
    app.setImportCaptions(defaults.integerForKey(QStringLiteral("importCaptions")));
    app.setEnableBeforeAfter(defaults.integerForKey(QStringLiteral("enableBeforeAfter")));
    app.setMaxPictureWidth(std::max(smallestPictureLimit, defaults.integerForKey(QStringLiteral("MaxPictureWidth"))));
    app.setMaxPictureHeight(std::max(smallestPictureLimit, defaults.integerForKey(QStringLiteral("MaxPictureHeight"))));
    // Set by hand in the settings file; never written back.
    app.setMacWebDAVHost(defaults.stringForKey(QStringLiteral("MacWebDAVHost")).trimmed());
    app.setMacHomePageHost(defaults.stringForKey(QStringLiteral("MacHomePageHost")).trimmed());
    readInputLimits(defaults);
    readTransferLimits(defaults);
}

void readInputLimits(const lq::UserDefaults& defaults)
{
    // Each bound is a setting of its own; a missing or unusable one keeps
    // its default, one past its most is held there.
    lq::InputLimits limits;
    const auto take = [&](const char* key, qint64& bound, qint64 unit, int most) {
        const int value = defaults.integerInRange(QLatin1String(key), INT_MIN, most).value_or(0);
        if (value > 0)
            bound = qint64(value) * unit;
    };
    // Past a terabyte, a thousandfold or what one piece of memory can hold,
    // a bound bounds nothing.
    take("MaxArchiveMemberMB", limits.archiveMemberBytes, lq::InputLimits::megabyte, 1024 * 1024);
    take("MaxArchiveRatio", limits.archiveRatio, 1, 1000000);
    take("MaxDocumentFileMB", limits.documentTextBytes, lq::InputLimits::megabyte, 2047);
    take("MaxPropertyListMB", limits.propertyListBytes, lq::InputLimits::megabyte, 2047);
    take("MaxPropertyListExpansionKB", limits.propertyListExpansion, 1024, 2047 * 1024);
    lq::setInputLimits(limits);
}

void readTransferLimits(const lq::UserDefaults& defaults)
{
    lq::TransferLimits limits;
    const auto take = [&](const char* key, auto& bound, qint64 unit, int most) {
        const int value = defaults.integerInRange(QLatin1String(key), INT_MIN, most).value_or(0);
        if (value > 0)
            bound = static_cast<std::remove_reference_t<decltype(bound)>>(qint64(value) * unit);
    };
    constexpr int day = 24 * 60 * 60;
    take("TransferStallSeconds", limits.stallSeconds, 1, day);
    take("TransferBaseSeconds", limits.baseSeconds, 1, day);
    take("TransferSlowestKBPerSecond", limits.slowestBytesPerSecond, 1024, 1024 * 1024);
    take("MaxListingMB", limits.listingBytes, lq::InputLimits::megabyte, 2047);
    take("MaxListingNames", limits.listingNames, 1, 100000000);
    lq::setTransferLimits(limits);
}

void checkForPrefsUpdate(lq::UserDefaults& defaults, MyApplication& app)
{
    const int stored = app.prefsVersion();
    if (stored < 1)
        app.setAutoLaunchBrowser(true);
    if (stored < 5)
        app.setCheckForUpdates(1);
    // The older versions' crash logs lived where this system keeps none.
    writePreferences(defaults, app);
}

void writePreferences(lq::UserDefaults& defaults, const MyApplication& app)
{
    defaults.setInteger(QStringLiteral("Developer"), app.developer());
    defaults.setInteger(QStringLiteral("Version"), currentVersion);
    defaults.setInteger(QStringLiteral("CheckForUpdates"), app.checkForUpdates());
    defaults.setInteger(QStringLiteral("autoLaunchBrowser"), app.autoLaunchBrowser() ? 1 : 0);
    defaults.setInteger(QStringLiteral("enableRTL"), app.enableRTL());
    defaults.setInteger(QStringLiteral("importCaptions"), app.importCaptions());
    defaults.setInteger(QStringLiteral("enableBeforeAfter"), app.enableBeforeAfter());
    defaults.synchronize();
}

QString serverAddress(const lq::UserDefaults& defaults)
{
    return defaults.stringForKey(serverKey).trimmed();
}

void setServerAddress(lq::UserDefaults& defaults, const QString& address)
{
    defaults.setString(serverKey, address.trimmed());
    defaults.synchronize();
}

} // namespace UserPreferences
