#include "document/GeneratedSiteFolder.h"

#include "platform/ConfinedFolder.h"
#include "platform/FileDescriptor.h"
#include "platform/Log.h"

#include <QSet>

#include <cerrno>
#include <cstring>

#include <sys/statvfs.h>
#include <unistd.h>

namespace {

using Kind = lq::ConfinedFolder::Kind;

QString below(const QString& folder, const QString& name)
{
    return folder + QLatin1Char('/') + name;
}

// The names in the folder; nothing when it cannot be read.
std::optional<QStringList> namesIn(const lq::ConfinedFolder& site, const QString& folder)
{
    const std::optional<QList<lq::ConfinedFolder::Entry>> entries = site.list(folder);
    if (!entries)
        return std::nullopt;
    QStringList names;
    for (const lq::ConfinedFolder::Entry& entry : *entries)
        names.append(entry.name);
    return names;
}

// Whether a plain file lies anywhere below the folder (links not entered),
// and the bytes of all of them.
struct Contents {
    bool holdsAFile = false;
    qint64 bytes = 0;
};

Contents contentsOf(const lq::ConfinedFolder& site, const QString& folder)
{
    Contents contents;
    const std::optional<QList<lq::ConfinedFolder::Entry>> entries = site.list(folder, nullptr, true);
    for (const lq::ConfinedFolder::Entry& entry : entries.value_or(QList<lq::ConfinedFolder::Entry>())) {
        if (entry.kind != Kind::File)
            continue;
        contents.holdsAFile = true;
        contents.bytes += site.status(below(folder, entry.name)).size;
    }
    return contents;
}

// Whether the disk holding the site has room for a build of that size
// beside the one that waits aside, with room to spare: where it has not,
// the last build goes first, as it always did.
bool roomBeside(const lq::ConfinedFolder& site, qint64 bytes)
{
    struct statvfs disk {};
    if (::fstatvfs(site.descriptor(), &disk) != 0)
        return false;
    constexpr qint64 spare = 64 * 1024 * 1024;
    const qint64 free = static_cast<qint64>(disk.f_bavail) * static_cast<qint64>(disk.f_frsize);
    return free >= 2 * bytes + spare;
}

// Reads exactly `count` bytes; a short file or an error counts as a difference.
bool readFully(int descriptor, char* data, qsizetype count)
{
    while (count > 0) {
        const ssize_t got = ::read(descriptor, data, static_cast<size_t>(count));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        data += got;
        count -= got;
    }
    return true;
}

// Whether the two plain files hold the same bytes.
bool sameBytes(const lq::ConfinedFolder& site, const QString& one, const QString& other, qint64 size)
{
    const lq::FileDescriptor first = site.openForReading(one);
    const lq::FileDescriptor second = first.isValid() ? site.openForReading(other) : lq::FileDescriptor();
    if (!second.isValid())
        return false;
    constexpr qsizetype chunk = 256 * 1024;
    QByteArray a(chunk, Qt::Uninitialized);
    QByteArray b(chunk, Qt::Uninitialized);
    bool same = true;
    for (qint64 left = size; same && left > 0;) {
        const qsizetype count = static_cast<qsizetype>(std::min<qint64>(left, chunk));
        same = readFully(first.get(), a.data(), count) && readFully(second.get(), b.data(), count)
            && std::memcmp(a.constData(), b.constData(), count) == 0;
        left -= count;
    }
    // Both must end where their size said.
    char extra = 0;
    return same && ::read(first.get(), &extra, 1) == 0 && ::read(second.get(), &extra, 1) == 0;
}

// Whether the old entry may stay in place of the new one: both plain files
// with the same permissions and the same bytes.
bool mayStay(const lq::ConfinedFolder& site, const QString& newName, const lq::ConfinedFolder::Status& newEntry,
    const QString& oldName, const lq::ConfinedFolder::Status& oldEntry)
{
    return newEntry.kind == Kind::File && oldEntry.kind == Kind::File && newEntry.size == oldEntry.size
        && newEntry.mode == oldEntry.mode && sameBytes(site, newName, oldName, newEntry.size);
}

// Makes the old folder hold what the new one holds, leaving in place every
// old file that may stay and moving everything else over from the new one.
bool mergeInto(lq::ConfinedFolder& site, const QString& fresh, const QString& last, QString* error)
{
    const std::optional<QStringList> freshNames = namesIn(site, fresh);
    const std::optional<QStringList> lastNames = namesIn(site, last);
    if (!freshNames || !lastNames) {
        if (error)
            *error = QStringLiteral("cannot read the folder ") + site.pathOf(freshNames ? last : fresh);
        return false;
    }
    for (const QString& name : *freshNames) {
        const QString newName = below(fresh, name);
        const QString oldName = below(last, name);
        const lq::ConfinedFolder::Status newEntry = site.status(newName);
        if (!newEntry.exists())
            continue;
        const lq::ConfinedFolder::Status oldEntry = site.status(oldName);
        if (newEntry.kind == Kind::Folder && oldEntry.kind == Kind::Folder) {
            if (newEntry.mode != oldEntry.mode && !site.setMode(oldName, newEntry.mode, error))
                return false;
            if (!mergeInto(site, newName, oldName, error))
                return false;
            continue;
        }
        if (mayStay(site, newName, newEntry, oldName, oldEntry))
            continue;
        // A rename puts a file in place of a file or a link at once; where
        // a folder is on either side, the old entry goes first.
        if (oldEntry.exists() && (oldEntry.kind == Kind::Folder || newEntry.kind == Kind::Folder) && !site.remove(oldName, error))
            return false;
        if (!site.rename(newName, oldName, lq::ConfinedFolder::Replace::Always, error))
            return false;
    }
    const QSet<QString> kept(freshNames->cbegin(), freshNames->cend());
    for (const QString& name : *lastNames)
        if (!kept.contains(name) && !site.remove(below(last, name), error))
            return false;
    return true;
}

} // namespace

GeneratedSiteFolder::GeneratedSiteFolder(lq::ConfinedFolder& site)
    : _site(site)
{
}

QString GeneratedSiteFolder::homepage()
{
    return QStringLiteral("homepage");
}

QString GeneratedSiteFolder::lastBuild()
{
    return QStringLiteral("temp/last-homepage");
}

QString GeneratedSiteFolder::newBuild()
{
    return QStringLiteral("temp/new-homepage");
}

bool GeneratedSiteFolder::setAside(QString* error)
{
    // What a stopped putting-in-place left behind is of no use.
    QString why;
    if (!_site.remove(newBuild(), &why))
        lq::log(QStringLiteral("The last build's leftovers stay: ") + why);
    const lq::ConfinedFolder::Status home = _site.status(homepage());
    if (home.kind == Kind::Folder && _site.status(lastBuild()).kind == Kind::Missing
        && roomBeside(_site, contentsOf(_site, homepage()).bytes)) {
        if (_site.makeFolder(QStringLiteral("temp"), &why)
            && _site.rename(homepage(), lastBuild(), lq::ConfinedFolder::Replace::Never, &why))
            return true;
        lq::log(QStringLiteral("The last build was not set aside: ") + why);
    }
    return _site.remove(homepage(), error);
}

bool GeneratedSiteFolder::settle(QString* error)
{
    const lq::ConfinedFolder::Status last = _site.status(lastBuild());
    if (last.kind == Kind::Missing)
        return true;
    // With nothing worth keeping (the first build of a site), the new build simply stays.
    if (last.kind != Kind::Folder || _site.status(homepage()).kind != Kind::Folder || !contentsOf(_site, lastBuild()).holdsAFile)
        return _site.remove(lastBuild(), error);
    QString why;
    _site.remove(newBuild(), &why);
    if (!_site.rename(homepage(), newBuild(), lq::ConfinedFolder::Replace::Never, error))
        return false;
    if (!_site.rename(lastBuild(), homepage(), lq::ConfinedFolder::Replace::Never, error)) {
        // The new build goes back where it was, whole.
        if (!_site.rename(newBuild(), homepage(), lq::ConfinedFolder::Replace::Never, &why))
            return false;
        return _site.remove(lastBuild(), error);
    }
    if (!mergeInto(_site, newBuild(), homepage(), error))
        return false;
    return _site.remove(newBuild(), error);
}
