#include "platform/UserDefaults.h"

#include "platform/SupportPaths.h"

#include <QSettings>

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

int UserDefaults::integerForKey(const QString& key) const
{
    bool ok = false;
    const int value = _settings->value(key).toInt(&ok);
    if (ok)
        return value;
    // "12.0" and other decimal forms are whole numbers too.
    const double decimal = _settings->value(key).toDouble(&ok);
    return ok ? static_cast<int>(decimal) : 0;
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
