// Whole numbers from a settings file that a user may have edited by hand:
// held to their range with a line in the log, never wrapped.
#include "platform/UserDefaults.h"
#include "support/LogCapture.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <climits>
#include <memory>

TEST(UserDefaults, ANumberPastItsRangeIsHeldAtItsEndNeverWrapped)
{
    QTemporaryDir dir;
    lq::UserDefaults defaults(std::make_unique<QSettings>(dir.filePath(QStringLiteral("defaults.conf")), QSettings::IniFormat));
    struct Case {
        const char* stored;
        int lowest;
        int highest;
        std::optional<int> read;
        const char* logged; // the log line; nothing: none
    };
    const Case cases[] = {
        // Past an int: 2^32 + 1 is no 1, -(2^32 + 1) no -1.
        { "4294967297", INT_MIN, INT_MAX, INT_MAX, "The setting Number holds 4294967297, more than 2147483647: 2147483647 is used" },
        { "-4294967297", INT_MIN, INT_MAX, INT_MIN, "The setting Number holds -4294967297, less than -2147483648: -2147483648 is used" },
        { "18446744073709551617", INT_MIN, INT_MAX, INT_MAX, "The setting Number holds 18446744073709551617, more than 2147483647: 2147483647 is used" },
        { "2147483647", INT_MIN, INT_MAX, INT_MAX, nullptr },
        { "2147483648", INT_MIN, INT_MAX, INT_MAX, "The setting Number holds 2147483648, more than 2147483647: 2147483647 is used" },
        { "4294967296.5", INT_MIN, INT_MAX, INT_MAX, "The setting Number holds 4294967296.5, more than 2147483647: 2147483647 is used" },
        // Within a range of its own.
        { "250", 1, 100, 100, "The setting Number holds 250, more than 100: 100 is used" },
        { "0", 1, 100, 1, "The setting Number holds 0, less than 1: 1 is used" },
        { " 50 ", 1, 100, 50, nullptr },
        { "12.9", 1, 100, 12, nullptr },
        // No number at all reads as none, without a word.
        { "twelve", 1, 100, std::nullopt, nullptr },
        { "nan", 1, 100, std::nullopt, nullptr },
        { "", 1, 100, std::nullopt, nullptr },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        defaults.setString(QStringLiteral("Number"), QString::fromLatin1(c.stored));
        LogCapture log;
        EXPECT_EQ(defaults.integerInRange(QStringLiteral("Number"), c.lowest, c.highest), c.read);
        EXPECT_EQ(log.lines, c.logged ? QStringList { QString::fromLatin1(c.logged) } : QStringList());
        if (c.lowest == INT_MIN && c.highest == INT_MAX)
            EXPECT_EQ(defaults.integerForKey(QStringLiteral("Number")), c.read.value_or(0));
    }
    EXPECT_EQ(defaults.integerInRange(QStringLiteral("Missing"), 1, 100), std::nullopt);
}

TEST(UserDefaults, MissingKeysReadAsZeroAndValuesSurviveASync)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("defaults.conf"));
    {
        lq::UserDefaults defaults(std::make_unique<QSettings>(file, QSettings::IniFormat));
        EXPECT_EQ(defaults.integerForKey(QStringLiteral("Missing")), 0);
        EXPECT_EQ(defaults.doubleForKey(QStringLiteral("Missing")), 0.0);
        EXPECT_FALSE(defaults.boolForKey(QStringLiteral("Missing")));
        EXPECT_EQ(defaults.stringForKey(QStringLiteral("Missing")), QStringLiteral(""));
        EXPECT_FALSE(defaults.hasKey(QStringLiteral("Missing")));
        defaults.setInteger(QStringLiteral("Version"), 6);
        defaults.setString(QStringLiteral("Text"), QStringLiteral("no number"));
        defaults.setBool(QStringLiteral("Flag"), true);
        defaults.setDouble(QStringLiteral("Factor"), 0.75);
        ASSERT_TRUE(defaults.synchronize());
    }
    lq::UserDefaults again(std::make_unique<QSettings>(file, QSettings::IniFormat));
    EXPECT_EQ(again.integerForKey(QStringLiteral("Version")), 6);
    EXPECT_EQ(again.integerForKey(QStringLiteral("Text")), 0);
    EXPECT_TRUE(again.boolForKey(QStringLiteral("Flag")));
    EXPECT_DOUBLE_EQ(again.doubleForKey(QStringLiteral("Factor")), 0.75);
    again.removeObjectForKey(QStringLiteral("Version"));
    EXPECT_EQ(again.integerForKey(QStringLiteral("Version")), 0);
}
