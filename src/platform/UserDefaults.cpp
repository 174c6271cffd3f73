#include "platform/UserDefaults.h"

#include "platform/Log.h"
#include "platform/SupportPaths.h"

#include <QSettings>

#include <cmath>

namespace lq {

UserDefaults::UserDefaults()
    : _settings(userDefaults())
{
}

UserDefaults::UserDefaults(std::unique_ptr<QSettings> settings)
    : _settings(std::move(settings))
{
}

UserDefaults::~UserDefaults() = default;

bool UserDefaults::hasKey(const QString& key) const
{
    return _settings->contains(key);
}

std::optional<int> UserDefaults::integerInRange(const QString& key, int lowest, int highest) const
{
    const QVariant stored = _settings->value(key);
    if (!stored.isValid())
        return std::nullopt;
    const QString text = stored.toString().trimmed();
    bool ok = false;
    // Read wide first, so that a number past an int is seen as such.
    double value = double(text.toLongLong(&ok));
    if (!ok) {
        // "12.0" and other decimal forms are whole numbers too.
        value = text.toDouble(&ok);
        if (!ok || std::isnan(value))
            return std::nullopt;
        value = std::trunc(value);
    }
    if (value >= double(lowest) && value <= double(highest))
        return int(value);
    const int used = value < double(lowest) ? lowest : highest;
    log(QStringLiteral("The setting ") + key + QStringLiteral(" holds ") + text + (used == lowest ? QStringLiteral(", less than ") : QStringLiteral(", more than "))
        + QString::number(used) + QStringLiteral(": ") + QString::number(used) + QStringLiteral(" is used"));
    return used;
}

double UserDefaults::doubleForKey(const QString& key) const
{
    bool ok = false;
    const double value = _settings->value(key).toDouble(&ok);
    return ok ? value : 0.0;
}

bool UserDefaults::boolForKey(const QString& key) const
{
    const QVariant value = _settings->value(key);
    if (!value.isValid())
        return false;
    const QString text = value.toString().trimmed().toLower();
    if (text == QStringLiteral("true") || text == QStringLiteral("yes"))
        return true;
    return integerForKey(key) != 0;
}

QString UserDefaults::stringForKey(const QString& key) const
{
    const QVariant value = _settings->value(key);
    return value.isValid() ? value.toString() : QStringLiteral("");
}

QVariant UserDefaults::objectForKey(const QString& key) const
{
    return _settings->value(key);
}

void UserDefaults::setInteger(const QString& key, int value) { _settings->setValue(key, value); }
void UserDefaults::setDouble(const QString& key, double value) { _settings->setValue(key, value); }
void UserDefaults::setBool(const QString& key, bool value) { _settings->setValue(key, value); }
void UserDefaults::setString(const QString& key, const QString& value) { _settings->setValue(key, value); }
void UserDefaults::setObject(const QString& key, const QVariant& value) { _settings->setValue(key, value); }
void UserDefaults::removeObjectForKey(const QString& key) { _settings->remove(key); }

bool UserDefaults::synchronize()
{
    _settings->sync();
    return _settings->status() == QSettings::NoError;
}

} // namespace lq
