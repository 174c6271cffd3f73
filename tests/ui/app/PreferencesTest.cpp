// The preferences: defaults of a first start, the migration by stored
// version, the picture limits that are read but never written.
#include "ui/app/UserPreferences.h"
#include "application/MyApplication.h"
#include "platform/InputLimits.h"
#include "platform/UserDefaults.h"
#include "publish/TransferLimits.h"
#include "support/LogCapture.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

namespace {

class PreferencesTest : public ::testing::Test {
protected:
    lq::UserDefaults& defaults()
    {
        if (!_defaults)
            _defaults = std::make_unique<lq::UserDefaults>(std::make_unique<QSettings>(file(), QSettings::IniFormat));
        return *_defaults;
    }
    QString file() const { return _folder.path() + QStringLiteral("/prefs.conf"); }
    QSettings stored() const { return QSettings(file(), QSettings::IniFormat); }

    QTemporaryDir _folder;
    std::unique_ptr<lq::UserDefaults> _defaults;
    MyApplication& app = MyApplication::shared();
};

TEST_F(PreferencesTest, FirstStartStoresTheMigratedDefaults)
{
    UserPreferences::readPreferences(defaults(), app);
    UserPreferences::checkForPrefsUpdate(defaults(), app);
    EXPECT_EQ(app.checkForUpdates(), 1);
    EXPECT_TRUE(app.autoLaunchBrowser());
    EXPECT_EQ(app.enableRTL(), 0);
    EXPECT_EQ(app.importCaptions(), 0);
    EXPECT_EQ(app.maxPictureWidth(), 1024);
    EXPECT_EQ(app.maxPictureHeight(), 1024);
    EXPECT_EQ(stored().value(QStringLiteral("Version")).toInt(), 6);
    EXPECT_EQ(stored().value(QStringLiteral("CheckForUpdates")).toInt(), 1);
    EXPECT_EQ(stored().value(QStringLiteral("autoLaunchBrowser")).toInt(), 1);
}

TEST_F(PreferencesTest, PictureLimitsAreReadButNeverWritten)
{
    const struct {
        int stored;
        int used;
    } cases[] = {{800, 1024}, {1023, 1024}, {1024, 1024}, {2000, 2000}};
    for (const auto& c : cases) {
        defaults().setInteger(QStringLiteral("MaxPictureWidth"), c.stored);
        defaults().setInteger(QStringLiteral("MaxPictureHeight"), c.stored);
        UserPreferences::readPreferences(defaults(), app);
        EXPECT_EQ(app.maxPictureWidth(), c.used) << c.stored;
        EXPECT_EQ(app.maxPictureHeight(), c.used) << c.stored;
        app.setMaxPictureWidth(5000);
        UserPreferences::writePreferences(defaults(), app);
        EXPECT_EQ(stored().value(QStringLiteral("MaxPictureWidth")).toInt(), c.stored);
    }
}

TEST_F(PreferencesTest, MigrationKeepsChoicesOfRecentVersions)
{
    // A version-5 user who turned the update check and the browser off keeps both off.
    defaults().setInteger(QStringLiteral("Version"), 5);
    defaults().setInteger(QStringLiteral("CheckForUpdates"), 0);
    defaults().setInteger(QStringLiteral("autoLaunchBrowser"), 0);
    defaults().setInteger(QStringLiteral("importCaptions"), 2);
    UserPreferences::readPreferences(defaults(), app);
    UserPreferences::checkForPrefsUpdate(defaults(), app);
    EXPECT_EQ(app.checkForUpdates(), 0);
    EXPECT_FALSE(app.autoLaunchBrowser());
    EXPECT_EQ(stored().value(QStringLiteral("Version")).toInt(), 6);
    EXPECT_EQ(stored().value(QStringLiteral("importCaptions")).toInt(), 2);

    // Below version 5 the update check is turned on again; the browser choice stays from version 1.
    defaults().setInteger(QStringLiteral("Version"), 4);
    UserPreferences::readPreferences(defaults(), app);
    UserPreferences::checkForPrefsUpdate(defaults(), app);
    EXPECT_EQ(app.checkForUpdates(), 1);
    EXPECT_FALSE(app.autoLaunchBrowser());
}

} // namespace

TEST_F(PreferencesTest, BoundsOnArchivesAndDocumentFilesAreSettings)
{
    const lq::InputLimits saved = lq::inputLimits();
    UserPreferences::readPreferences(defaults(), app);
    EXPECT_EQ(lq::inputLimits().archiveMemberBytes, 512 * lq::InputLimits::megabyte);
    EXPECT_EQ(lq::inputLimits().archiveRatio, 200);
    EXPECT_EQ(lq::inputLimits().documentTextBytes, 256 * lq::InputLimits::megabyte);
    EXPECT_EQ(lq::inputLimits().propertyListBytes, 512 * lq::InputLimits::megabyte);
    EXPECT_EQ(lq::inputLimits().propertyListExpansion, 1024 * 1024);

    defaults().setInteger(QStringLiteral("MaxPropertyListMB"), 32);
    defaults().setInteger(QStringLiteral("MaxPropertyListExpansionKB"), 16);
    UserPreferences::readPreferences(defaults(), app);
    EXPECT_EQ(lq::inputLimits().propertyListBytes, 32 * lq::InputLimits::megabyte);
    EXPECT_EQ(lq::inputLimits().propertyListExpansion, 16 * 1024);

    defaults().setInteger(QStringLiteral("MaxArchiveMemberMB"), 64);
    defaults().setInteger(QStringLiteral("MaxArchiveRatio"), 50);
    defaults().setInteger(QStringLiteral("MaxDocumentFileMB"), -3); // unusable: the default stays
    UserPreferences::readPreferences(defaults(), app);
    EXPECT_EQ(lq::inputLimits().archiveMemberBytes, 64 * lq::InputLimits::megabyte);
    EXPECT_EQ(lq::inputLimits().archiveRatio, 50);
    EXPECT_EQ(lq::inputLimits().documentTextBytes, 256 * lq::InputLimits::megabyte);
    UserPreferences::writePreferences(defaults(), app);
    lq::setInputLimits(saved);
}

TEST_F(PreferencesTest, BoundsOnServersAreSettingsThatReachTheTools)
{
    UserPreferences::readPreferences(defaults(), app);
    // A big file gets the base time and its size at the slowest rate.
    EXPECT_EQ(lq::transferLimits().requestArguments(0), QStringList({ QStringLiteral("-y60"), QStringLiteral("-m120") }));
    EXPECT_EQ(lq::transferLimits().requestArguments(40 * 1024 * 1024), QStringList({ QStringLiteral("-y60"), QStringLiteral("-m10360") }));

    defaults().setInteger(QStringLiteral("TransferStallSeconds"), 10);
    defaults().setInteger(QStringLiteral("TransferBaseSeconds"), 30);
    defaults().setInteger(QStringLiteral("TransferSlowestKBPerSecond"), 100);
    defaults().setInteger(QStringLiteral("MaxListingMB"), 2);
    defaults().setInteger(QStringLiteral("MaxListingNames"), 0); // unusable: the default stays
    UserPreferences::readPreferences(defaults(), app);
    EXPECT_EQ(lq::transferLimits().requestArguments(1024 * 1024), QStringList({ QStringLiteral("-y10"), QStringLiteral("-m40") }));
    const QHash<QString, QString> environment = lq::transferLimits().toolEnvironment();
    EXPECT_EQ(environment.value(QStringLiteral("LUMENQUILL_STALL_SECONDS")), QStringLiteral("10"));
    EXPECT_EQ(environment.value(QStringLiteral("LUMENQUILL_BASE_SECONDS")), QStringLiteral("30"));
    EXPECT_EQ(environment.value(QStringLiteral("LUMENQUILL_SLOWEST_RATE")), QStringLiteral("102400"));
    EXPECT_EQ(environment.value(QStringLiteral("LUMENQUILL_LISTING_BYTES")), QStringLiteral("2097152"));
    EXPECT_EQ(environment.value(QStringLiteral("LUMENQUILL_LISTING_NAMES")), QStringLiteral("100000"));
    lq::setTransferLimits(lq::TransferLimits());
}

TEST_F(PreferencesTest, ANumberPastItsRangeIsHeldThereWithALogLineNeverWrapped)
{
    // Numbers as a hand-edited settings file holds them.
    struct Case {
        const char* key;
        const char* stored;
        const char* logged; // the log line's end; nothing: no line
    };
    const Case cases[] = {
        { "TransferStallSeconds", "4294967297", "TransferStallSeconds holds 4294967297, more than 86400: 86400 is used" },
        { "TransferBaseSeconds", "1e12", "TransferBaseSeconds holds 1e12, more than 86400: 86400 is used" },
        { "TransferSlowestKBPerSecond", "12.9", nullptr },
        { "MaxListingNames", "-4294967297", "MaxListingNames holds -4294967297, less than -2147483648: -2147483648 is used" },
        { "MaxArchiveMemberMB", "99999999999999999999", "MaxArchiveMemberMB holds 99999999999999999999, more than 1048576: 1048576 is used" },
        { "importCaptions", "4294967298", "importCaptions holds 4294967298, more than 2147483647: 2147483647 is used" },
        { "MaxPictureWidth", "4294968320", "MaxPictureWidth holds 4294968320, more than 2147483647: 2147483647 is used" },
    };
    const lq::InputLimits savedInput = lq::inputLimits();
    const lq::TransferLimits savedTransfer = lq::transferLimits();
    for (const Case& c : cases)
        defaults().setString(QLatin1String(c.key), QLatin1String(c.stored));
    LogCapture log;
    UserPreferences::readPreferences(defaults(), app);
    for (const Case& c : cases) {
        const bool logged = std::any_of(log.lines.begin(), log.lines.end(), [&](const QString& line) {
            return line == QStringLiteral("The setting ") + QLatin1String(c.logged);
        });
        if (c.logged)
            EXPECT_TRUE(logged) << c.key << ": " << log.lines.join(QLatin1Char('\n')).toStdString();
        else
            EXPECT_FALSE(log.lines.join(QLatin1Char('\n')).contains(QLatin1String(c.key))) << log.lines.join(QLatin1Char('\n')).toStdString();
    }
    // A stall of a day, not of one second; a bound below one keeps its default.
    EXPECT_EQ(lq::transferLimits().stallSeconds, 86400);
    EXPECT_EQ(lq::transferLimits().baseSeconds, 86400);
    EXPECT_EQ(lq::transferLimits().slowestBytesPerSecond, 12 * 1024);
    EXPECT_EQ(lq::transferLimits().listingNames, 100000);
    EXPECT_EQ(lq::inputLimits().archiveMemberBytes, qint64(1024 * 1024) * lq::InputLimits::megabyte);
    // The title, not "both" (2); no limit rather than the smallest.
    EXPECT_EQ(app.importCaptions(), std::numeric_limits<int>::max());
    EXPECT_EQ(app.maxPictureWidth(), std::numeric_limits<int>::max());
    lq::setTransferLimits(savedTransfer);
    lq::setInputLimits(savedInput);
    app.setImportCaptions(0);
    app.setMaxPictureWidth(1024);
}
