#include "publish/PublicationRecords.h"

#include "platform/ConfinedFolder.h"

#include <QCryptographicHash>

namespace lq {

namespace {

const QString CurrentRecord = QStringLiteral("lastbom.xmlbase");

} // namespace

QString keptRecordsFolder()
{
    return QStringLiteral("lastboms");
}

QString keptRecordName(const QString& destination)
{
    const QByteArray digest = QCryptographicHash::hash(destination.toUtf8(), QCryptographicHash::Sha256).toHex().left(32);
    return QString::fromLatin1(digest) + QStringLiteral(".xmlbase");
}

bool switchPublicationRecord(ConfinedFolder& site, const QString& from, const QString& to, QString* error)
{
    using Kind = ConfinedFolder::Kind;
    if (from == to)
        return site.status(CurrentRecord).kind == Kind::File;
    QString why;
    const auto failed = [&](const QString& what) {
        if (error)
            *error = what + (why.isEmpty() ? QString() : QStringLiteral(": ") + why);
        return false;
    };
    // A link or anything else in the record's place is no record: it goes.
    const Kind current = site.status(CurrentRecord).kind;
    if (current != Kind::Missing) {
        const bool setAside = current == Kind::File && site.makeFolder(keptRecordsFolder(), &why, false, 0700)
            && site.rename(CurrentRecord, keptRecordsFolder() + QLatin1Char('/') + keptRecordName(from), ConfinedFolder::Replace::Always, &why);
        if (!setAside && !site.remove(CurrentRecord, &why))
            return failed(QStringLiteral("The record of the last publication could not be set aside"));
    }
    why.clear();
    const QString kept = keptRecordsFolder() + QLatin1Char('/') + keptRecordName(to);
    const bool back = site.status(kept).kind == Kind::File && site.rename(kept, CurrentRecord, ConfinedFolder::Replace::Never, &why);
    site.syncFolder(keptRecordsFolder());
    site.syncFolder();
    if (!back && !why.isEmpty())
        return failed(QStringLiteral("The record of the last publication there could not be taken back"));
    return back;
}

} // namespace lq
