#pragma once

#include <QString>
#include <QVariant>

#include <climits>
#include <memory>
#include <optional>

class QSettings;

namespace lq {

// The user's defaults: the application's settings file (see userDefaults in
// SupportPaths.h), read and written by key. A key that is missing, or holds
// text that is no number, reads as 0, 0.0, NO or "". A whole number is never
// wrapped: one past what it may be is held to the nearer end, with a line in
// the log ("4294967297" reads as 2147483647, not as 1).
class UserDefaults {
public:
    UserDefaults();
    // Over another settings store (tests).
    explicit UserDefaults(std::unique_ptr<QSettings> settings);
    ~UserDefaults();
    UserDefaults(const UserDefaults&) = delete;
    UserDefaults& operator=(const UserDefaults&) = delete;

    bool hasKey(const QString& key) const;
    int integerForKey(const QString& key) const { return integerInRange(key, INT_MIN, INT_MAX).value_or(0); }
    // The whole number the key holds (a decimal one cut to its whole part),
    // held to lowest..highest, with a line in the log when it was outside;
    // nothing when the key is missing or holds no number.
    std::optional<int> integerInRange(const QString& key, int lowest, int highest) const;
    double doubleForKey(const QString& key) const;
    bool boolForKey(const QString& key) const;
    QString stringForKey(const QString& key) const;
    QVariant objectForKey(const QString& key) const;

    void setInteger(const QString& key, int value);
    void setDouble(const QString& key, double value);
    void setBool(const QString& key, bool value);
    void setString(const QString& key, const QString& value);
    void setObject(const QString& key, const QVariant& value);
    void removeObjectForKey(const QString& key);
    // Writes what changed to disk; answers whether that worked.
    bool synchronize();

private:
    std::unique_ptr<QSettings> _settings;
};

} // namespace lq
