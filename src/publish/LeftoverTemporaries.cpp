#include "publish/LeftoverTemporaries.h"

#include "platform/ConfinedFolder.h"

namespace {

const QString RecordName = QStringLiteral("leftovers.txt");
// A record longer than this is no record of ours.
constexpr qint64 LongestRecord = 16 * 1024 * 1024;

} // namespace

void LeftoverTemporaries::read(const std::shared_ptr<lq::ConfinedFolder>& site)
{
    if (!site)
        return;
    _site = site;
    _entries.clear();
    _changed = false;
    if (!site->exists(RecordName))
        return;
    const std::optional<QByteArray> bytes = site->readFile(RecordName, LongestRecord);
    if (!bytes)
        return;
    for (const QByteArray& line : bytes->split('\n')) {
        const qsizetype space = line.indexOf(' ');
        if (space <= 0 || space + 1 >= line.size())
            continue;
        _entries.append({ QString::fromUtf8(line.mid(space + 1)), QString::fromUtf8(line.left(space)) });
    }
}

QStringList LeftoverTemporaries::at(const QString& destination) const
{
    QStringList paths;
    for (const auto& [where, path] : _entries)
        if (where == destination)
            paths.append(path);
    return paths;
}

void LeftoverTemporaries::add(const QString& destination, const QString& path)
{
    // A line end or space would break the record's lines; the tool escapes both.
    if (path.isEmpty() || path.contains(QLatin1Char(' ')) || path.contains(QLatin1Char('\n')) || destination.contains(QLatin1Char('\n')))
        return;
    if (_entries.contains({ destination, path }))
        return;
    _entries.append({ destination, path });
    _changed = true;
}

void LeftoverTemporaries::remove(const QString& destination, const QString& path)
{
    if (_entries.removeAll({ destination, path }) > 0)
        _changed = true;
}

bool LeftoverTemporaries::write(QString* why)
{
    if (!_changed || !_site)
        return true;
    if (_entries.isEmpty() && !_site->exists(RecordName)) {
        _changed = false;
        return true;
    }
    QByteArray text;
    for (const auto& [where, path] : _entries)
        text += path.toUtf8() + ' ' + where.toUtf8() + '\n';
    const bool written = _entries.isEmpty() ? _site->remove(RecordName, why)
                                            : _site->writeFileAtomically(RecordName, text, why, { .ownerOnly = true, .durable = true });
    if (written)
        _changed = false;
    return written;
}

QString LeftoverTemporaries::plainPath(const QString& escaped)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(escaped.toUtf8()));
}
