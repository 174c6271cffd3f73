#include "publish/PublishAddress.h"

#include <QRegularExpression>
#include <QUrl>

namespace {

const QString WebDAVExample = QStringLiteral("https://example.com/folder");

// The scheme before "://", in lower case; "" when the text begins with none.
QString schemeOf(const QString& typed)
{
    static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*)://"));
    const QRegularExpressionMatch match = scheme.match(typed);
    return match.hasMatch() ? match.captured(1).toLower() : QString();
}

bool holdsControlCharacter(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return true;
    }
    return false;
}

QString quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString bracketed(const QString& host)
{
    return host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
}

QString withoutOuterSlashes(QString path)
{
    while (path.startsWith(QLatin1Char('/')))
        path.remove(0, 1);
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

} // namespace

QString PublishAddress::asMeant(const QString& typed)
{
    static const QRegularExpression sloppy(QStringLiteral("^(\\s*)(https?|ftps?|sftp):([/\\\\]*)"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = sloppy.match(typed);
    // "scheme://" as it should be, or a scheme with nothing after it.
    if (!match.hasMatch() || match.captured(3).startsWith(QStringLiteral("//")) || match.capturedEnd() == typed.size())
        return typed;
    return match.captured(1) + match.captured(2) + QStringLiteral("://") + typed.mid(match.capturedEnd());
}

// The typed address as a message quotes it: never with its password.
QString PublishAddress::shown(const QString& typed)
{
    return quoted(withoutCredentials(typed.trimmed()));
}

QString PublishAddress::portRefusal(const QString& typed)
{
    bool number = false;
    const int port = typed.trimmed().toInt(&number);
    if (number && port > 0 && port < 65536)
        return QString();
    return quoted(typed.trimmed()) + QStringLiteral(" is no port: type a number from 1 to 65535, or choose the default port.");
}

PublishAddress PublishAddress::fromWebDAV(const QString& text)
{
    PublishAddress address;
    QString typed = asMeant(text.trimmed());
    if (typed.isEmpty()) {
        address._error = QStringLiteral("No WebDAV address is set: type the address of the server, such as ") + WebDAVExample + QLatin1Char('.');
        return address;
    }
    const QString scheme = schemeOf(typed);
    if (scheme == QStringLiteral("ftp") || scheme == QStringLiteral("ftps")) {
        address._error = shown(typed) + QStringLiteral(" is the address of an FTP server, which WebDAV cannot reach. "
                                                         "Choose \"FTP\" as the server type to publish over FTP.");
        return address;
    }
    if (scheme == QStringLiteral("sftp")) {
        address._error = shown(typed) + QStringLiteral(" is the address of an SFTP server, which WebDAV cannot reach. "
                                                         "Choose \"FTP\" as the server type and \"SFTP\" as its type.");
        return address;
    }
    if (holdsControlCharacter(typed)) {
        address._error = QStringLiteral("The WebDAV address holds a line break or another control character.");
        return address;
    }
    if (scheme.isEmpty())
        typed.prepend(QStringLiteral("http://"));
    else if (scheme != QStringLiteral("http") && scheme != QStringLiteral("https")) {
        address._error = shown(text) + QStringLiteral(" is no WebDAV address: a WebDAV address begins with http:// or https://.");
        return address;
    }
    QUrl url(typed, QUrl::TolerantMode);
    if (!url.isValid() || url.host().isEmpty()) {
        address._error = shown(text) + QStringLiteral(" names no server. Type an address such as ") + WebDAVExample + QLatin1Char('.');
        return address;
    }
    if (url.hasQuery() || url.hasFragment()) {
        address._error = shown(text)
            + QStringLiteral(" holds \"?\" or \"#\", which end a WebDAV folder's address. Type them in a folder's name as %3F and %23.");
        return address;
    }
    if (url.port(-1) == 0) {
        address._error = shown(text) + QStringLiteral(" names port 0, which no server listens on.");
        return address;
    }
    if (!url.userInfo().isEmpty() || typed.section(QLatin1Char('/'), 2, 2).contains(QLatin1Char('@'))) {
        address._hasCredentials = true;
        address._user = url.userName(QUrl::FullyDecoded);
        address._password = url.password(QUrl::FullyDecoded);
    }
    url.setUserInfo(QString());
    address._host = bracketed(url.host());
    address._port = url.port(-1);
    address._folder = withoutOuterSlashes(url.path(QUrl::FullyDecoded));
    QString whole = url.toString(QUrl::FullyEncoded);
    // The requests add their own "/" and names.
    while (whole.endsWith(QLatin1Char('/')) && whole.count(QLatin1Char('/')) > 2)
        whole.chop(1);
    address._webDAV = whole;
    return address;
}

PublishAddress PublishAddress::fromFtpHost(const QString& text)
{
    PublishAddress address;
    const QString typed = asMeant(text.trimmed());
    if (typed.isEmpty()) {
        address._error = QStringLiteral("No FTP server is set: type its name, such as ftp.example.com.");
        return address;
    }
    if (holdsControlCharacter(typed)) {
        address._error = QStringLiteral("The FTP server's name holds a line break or another control character.");
        return address;
    }
    const QString scheme = schemeOf(typed);
    const QStringList known = {QStringLiteral("ftp"), QStringLiteral("ftps"), QStringLiteral("sftp"), QStringLiteral("http"), QStringLiteral("https")};
    if (!scheme.isEmpty() && !known.contains(scheme)) {
        address._error = shown(typed) + QStringLiteral(" is no FTP server: type its name, such as ftp.example.com.");
        return address;
    }
    QUrl url(scheme.isEmpty() ? QStringLiteral("ftp://") + typed : typed, QUrl::TolerantMode);
    if (!url.isValid() || url.host().isEmpty() || url.hasQuery() || url.hasFragment()) {
        address._error = shown(typed) + QStringLiteral(" names no FTP server: type its name, such as ftp.example.com, and its port in the Port field.");
        return address;
    }
    if (url.port(-1) == 0) {
        address._error = shown(typed) + QStringLiteral(" names port 0, which no server listens on.");
        return address;
    }
    if (!url.userInfo().isEmpty() || typed.section(QLatin1Char('/'), 0, scheme.isEmpty() ? 0 : 2).contains(QLatin1Char('@'))) {
        address._hasCredentials = true;
        address._user = url.userName(QUrl::FullyDecoded);
        address._password = url.password(QUrl::FullyDecoded);
    }
    address._host = bracketed(url.host());
    address._port = url.port(-1);
    address._folder = withoutOuterSlashes(url.path(QUrl::FullyDecoded));
    return address;
}

QString PublishAddress::webDAVOfFtp(const QString& ftpHost, const QString& folder)
{
    const PublishAddress server = fromFtpHost(ftpHost);
    if (!server.isValid())
        return QString();
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(server._host.startsWith(QLatin1Char('[')) ? server._host.mid(1, server._host.size() - 2) : server._host);
    const QString below = withoutOuterSlashes(folder.trimmed());
    url.setPath(QLatin1Char('/') + (below.isEmpty() ? server._folder : below));
    return url.toString();
}

QString PublishAddress::withoutCredentials(const QString& typed)
{
    const QString address = asMeant(typed);
    const qsizetype start = address.indexOf(QStringLiteral("://"));
    const qsizetype server = start < 0 ? 0 : start + 3;
    qsizetype end = address.indexOf(QLatin1Char('/'), server);
    if (end < 0)
        end = address.size();
    if (end == server)
        return address;
    const qsizetype at = address.lastIndexOf(QLatin1Char('@'), end - 1);
    if (at < server)
        return address;
    return address.left(server) + address.mid(at + 1);
}
