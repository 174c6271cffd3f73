// The preferences: defaults of a first start, the migration by stored
// version, the picture limits that are read but never written.
#include "app/UserPreferences.h"
#include "model/application/MyApplication.h"
#include "platform/InputLimits.h"
#include "platform/UserDefaults.h"

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
