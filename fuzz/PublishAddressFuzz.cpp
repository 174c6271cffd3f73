// The publish panel's addresses as typed: a WebDAV address, an FTP or SFTP
// server with its port, and the conversions between them when the server
// type changes. The first line of the input is the address, the rest the
// folder on the server.
#include "FuzzSupport.h"

#include "publish/PublishAddress.h"

namespace {

bool holdsBlankOrControl(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() <= 0x20 || c.unicode() == 0x7f)
            return true;
    }
    return false;
}

// The part between "scheme://" and the path.
QString serverPart(const QString& address)
{
    const qsizetype start = address.indexOf(QStringLiteral("://"));
    const QString rest = start < 0 ? address : address.mid(start + 3);
    return rest.section(QLatin1Char('/'), 0, 0);
}

void checkWebDAV(const QString& typed)
{
    const PublishAddress address = PublishAddress::fromWebDAV(typed);
    if (!address.isValid()) {
        if (!address.webDAVAddress().isEmpty())
            fuzz::fail("a refused WebDAV address still gives an address", typed, address.webDAVAddress());
        const QString scheme = typed.trimmed().section(QStringLiteral("://"), 0, 0).toLower();
        if (typed.contains(QStringLiteral("://")) && (scheme == QStringLiteral("ftp") || scheme == QStringLiteral("sftp"))
            && !address.error().contains(QStringLiteral("\"FTP\"")))
            fuzz::fail("an FTP address refused without naming the FTP server type", typed, address.error());
        return;
    }
    const QString whole = address.webDAVAddress();
    if (!whole.startsWith(QStringLiteral("http://")) && !whole.startsWith(QStringLiteral("https://")))
        fuzz::fail("a WebDAV address that is not http or https", typed, whole);
    if (serverPart(whole).contains(QLatin1Char('@')))
        fuzz::fail("a user or password left in the WebDAV address", typed, whole);
    if (holdsBlankOrControl(whole))
        fuzz::fail("a blank or control character in the WebDAV address", typed, whole);
    if (address.host().isEmpty())
        fuzz::fail("a WebDAV address without a host", typed, whole);
    if (PublishAddress::withoutCredentials(whole) != whole)
        fuzz::fail("an address without credentials changed by taking them out", typed, whole);
    // The address given is taken back as it is.
    const PublishAddress again = PublishAddress::fromWebDAV(whole);
    if (!again.isValid() || again.webDAVAddress() != whole || again.hasCredentials())
        fuzz::fail("a WebDAV address read back differs", whole, again.isValid() ? again.webDAVAddress() : again.error());
}

void checkFtpHost(const QString& typed, const QString& folder)
{
    const PublishAddress server = PublishAddress::fromFtpHost(typed);
    if (!server.isValid()) {
        if (server.error().isEmpty())
            fuzz::fail("an FTP server refused without a reason", typed);
        if (!PublishAddress::webDAVOfFtp(typed, folder).isEmpty())
            fuzz::fail("a refused FTP server converted to a WebDAV address", typed);
        return;
    }
    const QString host = server.host();
    if (host.isEmpty() || host.contains(QLatin1Char('/')) || host.contains(QLatin1Char('@')) || holdsBlankOrControl(host))
        fuzz::fail("an FTP host that is not a bare host", typed, host);
    if (server.port() == 0 || server.port() > 65535 || server.port() < -1)
        fuzz::fail("an FTP port out of range", typed, QString::number(server.port()));
    // The host alone is taken back as the same host.
    const PublishAddress again = PublishAddress::fromFtpHost(host);
    if (!again.isValid() || again.host() != host || again.port() != -1 || !again.folder().isEmpty())
        fuzz::fail("an FTP host read back differs", host, again.isValid() ? again.host() : again.error());
    // From FTP to WebDAV: an address that WebDAV takes, on the same host.
    const QString webDAV = PublishAddress::webDAVOfFtp(typed, folder);
    const PublishAddress converted = PublishAddress::fromWebDAV(webDAV);
    if (!converted.isValid())
        fuzz::fail("an FTP server converted to a WebDAV address that WebDAV refuses", typed, webDAV + QLatin1Char(' ') + converted.error());
    if (converted.host() != host)
        fuzz::fail("an FTP server converted to a WebDAV address of another host", host, converted.host());
    if (converted.hasCredentials())
        fuzz::fail("an FTP server converted to a WebDAV address with credentials", typed, webDAV);
}

} // namespace

void fuzzOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString input = fuzz::text(data, size);
    const qsizetype line = input.indexOf(QLatin1Char('\n'));
    const QString typed = line < 0 ? input : input.left(line);
    const QString folder = line < 0 ? QString() : input.mid(line + 1);
    checkWebDAV(typed);
    checkFtpHost(typed, folder);
    // From WebDAV to FTP and back: the host stays.
    const PublishAddress webDAV = PublishAddress::fromWebDAV(typed);
    if (webDAV.isValid()) {
        const PublishAddress server = PublishAddress::fromFtpHost(webDAV.host());
        if (!server.isValid() || server.host() != webDAV.host())
            fuzz::fail("a WebDAV host that FTP does not take as it is", webDAV.host(), server.isValid() ? server.host() : server.error());
        checkFtpHost(webDAV.host(), webDAV.folder());
    }
}
