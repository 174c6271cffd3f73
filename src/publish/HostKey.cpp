#include "publish/HostKey.h"

#include <QCryptographicHash>
#include <QStringList>

HostKey HostKey::fromToolWords(const QString& words, const QString& server)
{
    const QStringList parts = words.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() != 3 || parts[0] != QStringLiteral("NEWHOSTKEY"))
        return {};
    HostKey key;
    key.type = parts[1];
    key.blob = QByteArray::fromHex(parts[2].toLatin1());
    if (key.blob.toHex() != parts[2].toLatin1().toLower())
        return {};
    key.host = server;
    // "host:port", and "[address]:port" for an IPv6 address.
    const qsizetype colon = server.lastIndexOf(QLatin1Char(':'));
    const bool bracketed = server.startsWith(QLatin1Char('['));
    if (colon > 0 && (bracketed ? server.at(colon - 1) == QLatin1Char(']') : server.indexOf(QLatin1Char(':')) == colon)) {
        bool ok = false;
        const int port = server.mid(colon + 1).toInt(&ok);
        if (ok && port > 0) {
            key.port = port;
            key.host = server.left(colon);
        }
    }
    if (key.host.startsWith(QLatin1Char('[')) && key.host.endsWith(QLatin1Char(']')))
        key.host = key.host.mid(1, key.host.size() - 2);
    return key;
}

QString HostKey::fingerprint() const
{
    const QByteArray digest = QCryptographicHash::hash(blob, QCryptographicHash::Sha256);
    return QStringLiteral("SHA256:") + QString::fromLatin1(digest.toBase64(QByteArray::Base64Encoding | QByteArray::OmitTrailingEquals));
}
