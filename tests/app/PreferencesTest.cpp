// The preferences: defaults of a first start, the migration by stored
// version, the picture limits that are read but never written.
#include "app/UserPreferences.h"
#include "model/application/MyApplication.h"
#include "platform/InputLimits.h"
#include "platform/UserDefaults.h"
#include "publish/TransferLimits.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
