#include "publish/DigestCache.h"

#include "platform/ConfinedFolder.h"
#include "platform/FileHelpers.h"
#include "platform/InputLimits.h"
#include "platform/Strings.h"

#include <QCryptographicHash>
#include <QtEndian>

#include <cstring>

#include <sys/stat.h>

namespace lq {

namespace {

ListingClock& currentListingClock()
{
    static ListingClock clock = [](qint64 stamped) { return stamped; };
    return clock;
}

} // namespace

void setListingClock(ListingClock clock)
{
    currentListingClock() = clock ? std::move(clock) : [](qint64 stamped) { return stamped; };
}

const ListingClock& listingClock()
{
    return currentListingClock();
}

namespace {

// The file: this mark, the time the listing began, the number of entries,
// the entries, and last the MD5 digest of everything before it, so that a
// torn or damaged file is known as such. An entry: the path's length and
// its UTF-8 bytes, the five numbers of the state, and the 16 bytes of the
// file's digest. Every number is little-endian.
constexpr char mark[8] = { 'L', 'Q', 'D', 'I', 'G', 'S', '0', '1' };
constexpr int digestBytes = 16;
constexpr int checksumBytes = 16;

template <class T>
void put(QByteArray& out, T value)
{
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

// Reads the numbers and bytes of an entry in order, refusing to go past the end.
class Reader {
public:
    Reader(const char* data, qsizetype size)
        : _at(data)
        , _end(data + size)
    {
    }
    template <class T>
    bool take(T& value)
    {
        if (_end - _at < static_cast<qsizetype>(sizeof(T)))
            return false;
        value = qFromLittleEndian<T>(_at);
        _at += sizeof(T);
        return true;
    }
    bool take(qsizetype count, const char*& bytes)
    {
        if (count < 0 || _end - _at < count)
            return false;
        bytes = _at;
        _at += count;
        return true;
    }
    bool atEnd() const { return _at == _end; }

private:
    const char* _at;
    const char* _end;
};

qint64 nanoseconds(const timespec& time)
{
    return static_cast<qint64>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

} // namespace

FileState FileState::of(const struct stat& status)
{
    FileState state;
    state.size = status.st_size;
    state.modified = nanoseconds(status.st_mtim);
    state.changed = nanoseconds(status.st_ctim);
    state.inode = status.st_ino;
    state.device = status.st_dev;
    return state;
}

DigestCache DigestCache::read(const ConfinedFolder& folder, const QString& name, QString* problem)
{
    DigestCache cache;
    const QString path = folder.pathOf(name);
    const auto refuse = [&](const QString& why) {
        if (problem)
            *problem = why;
        return DigestCache();
    };
    QString why;
    const ConfinedFolder::Status status = folder.status(name, &why);
    if (status.kind == ConfinedFolder::Kind::Missing)
        return cache;
    if (status.size > inputLimits().documentTextBytes)
        return refuse(path + QStringLiteral(" is larger than ") + describeSize(inputLimits().documentTextBytes));
    const std::optional<QByteArray> read = folder.readFile(name, inputLimits().documentTextBytes, &why);
    if (!read)
        return refuse(why);
    const QByteArray& bytes = *read;
    const qsizetype body = bytes.size() - checksumBytes;
    if (body < static_cast<qsizetype>(sizeof mark + sizeof(qint64) + sizeof(quint32)) || std::memcmp(bytes.constData(), mark, sizeof mark) != 0)
        return refuse(path + QStringLiteral(" is no digest cache"));
    const QByteArray checksum = QCryptographicHash::hash(QByteArrayView(bytes.constData(), body), QCryptographicHash::Md5);
    if (std::memcmp(checksum.constData(), bytes.constData() + body, checksumBytes) != 0)
        return refuse(path + QStringLiteral(" is damaged"));

    Reader reader(bytes.constData() + sizeof mark, body - static_cast<qsizetype>(sizeof mark));
    quint32 count = 0;
    if (!reader.take(cache._listedAt) || !reader.take(count))
        return refuse(path + QStringLiteral(" is damaged"));
    cache._entries.reserve(static_cast<qsizetype>(qMin<quint32>(count, 1u << 20)));
    for (quint32 i = 0; i < count; ++i) {
        quint32 pathSize = 0;
        const char* pathBytes = nullptr;
        Entry entry;
        const char* digest = nullptr;
        if (!reader.take(pathSize) || !reader.take(pathSize, pathBytes) || !reader.take(entry.state.size)
            || !reader.take(entry.state.modified) || !reader.take(entry.state.changed) || !reader.take(entry.state.inode)
            || !reader.take(entry.state.device) || !reader.take(digestBytes, digest))
            return refuse(path + QStringLiteral(" is damaged"));
        entry.digest = QString::fromLatin1(QByteArray(digest, digestBytes).toHex());
        cache._entries.insert(lq::fileNameFromUtf8(QByteArrayView(pathBytes, pathSize)), std::move(entry));
    }
    if (!reader.atEnd())
        return refuse(path + QStringLiteral(" is damaged"));
    return cache;
}

bool DigestCache::write(ConfinedFolder& folder, const QString& name, QString* error) const
{
    QByteArray out;
    out.reserve(sizeof mark + 4 + _entries.size() * 100 + checksumBytes);
    out.append(mark, sizeof mark);
    put<qint64>(out, _listedAt);
    put<quint32>(out, static_cast<quint32>(_entries.size()));
    for (auto it = _entries.cbegin(); it != _entries.cend(); ++it) {
        const QByteArray name = it.key().toUtf8();
        const FileState& state = it->state;
        put<quint32>(out, static_cast<quint32>(name.size()));
        out.append(name);
        put<qint64>(out, state.size);
        put<qint64>(out, state.modified);
        put<qint64>(out, state.changed);
        put<quint64>(out, state.inode);
        put<quint64>(out, state.device);
        out.append(QByteArray::fromHex(it->digest.toLatin1()).leftJustified(digestBytes, '\0', true));
    }
    out.append(QCryptographicHash::hash(out, QCryptographicHash::Md5));
    // A cache lost in a crash is only read again: it need not reach the disk first.
    return folder.writeFileAtomically(name, out, error);
}

QString DigestCache::digest(const QString& path, const FileState& state) const
{
    const auto found = _entries.constFind(path);
    if (found == _entries.cend() || !(found->state == state))
        return QString();
    return found->digest;
}

void DigestCache::remember(const QString& path, const FileState& state, const QString& digest)
{
    // Only MD5 digests as the listing writes them are kept.
    if (digest.size() != 2 * digestBytes)
        return;
    _entries.insert(path, Entry { state, digest });
}

} // namespace lq
