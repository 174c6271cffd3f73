#include "publish/XmlLocation.h"

#include "model/application/MyApplication.h"
#include "platform/ExceptionFrame.h"
#include "publish/PublishAddress.h"
#include "publish/ServerKind.h"

#include <QDir>

namespace {

int integerOf(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : 0;
}

void appendText(QString& xml, const char* key, const QString& value)
{
    xml += QLatin1Char(' ') + QLatin1String(key) + QStringLiteral("=\"") + XmlBase::escape(value) + QLatin1Char('"');
}

void appendNumber(QString& xml, const char* key, int value)
{
    xml += QLatin1Char(' ') + QLatin1String(key) + QStringLiteral("=\"") + QString::number(value) + QLatin1Char('"');
}

} // namespace

XmlLocation::XmlLocation(Key key)
    : XmlBase(key)
{
}

std::shared_ptr<XmlLocation> XmlLocation::create()
{
    return make<XmlLocation>();
}

QString XmlLocation::elementName() const
{
    return QStringLiteral("QZlocation");
}

bool XmlLocation::canYouBeMyParent(XmlBase* child)
{
    return false;
}

void XmlLocation::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == QStringLiteral("serverType"))
            setServerType(integerOf(value));
        else if (key == QStringLiteral("exportType"))
            setExportType(integerOf(value));
        else if (key == QStringLiteral("location"))
            setLocation(value);
        else if (key == QStringLiteral("username"))
            setEncodedUsername(value);
        else if (key == QStringLiteral("password"))
            setEncodedPassword(value);
        else if (key == QStringLiteral("exportFolder"))
            setExportFolder(value);
        else if (key == QStringLiteral("digest"))
            setDigest(integerOf(value));
        else if (key == QStringLiteral("ftpApp"))
            setFtpApp(integerOf(value));
        else if (key == QStringLiteral("ftpType"))
            setFtpType(integerOf(value));
        else if (key == QStringLiteral("ftpPort"))
            setFtpPort(value);
        else if (key == QStringLiteral("ftpDefault"))
            setFtpDefault(integerOf(value));
        else if (key == QStringLiteral("ftpFolder"))
            setFtpFolder(value);
        else
            XmlBase::setAttributeTo(key, value);
    });
}

void XmlLocation::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlBase::appendAttributes(xml);
        appendText(xml, "location", _location);
        appendText(xml, "username", encodedUsername());
        appendText(xml, "password", encodedPassword());
        appendNumber(xml, "serverType", _serverType);
        appendNumber(xml, "exportType", _exportType);
        appendText(xml, "exportFolder", exportFolder());
        appendNumber(xml, "digest", _digest);
        appendNumber(xml, "ftpApp", _ftpApp);
        appendNumber(xml, "ftpType", _ftpType);
        // Escaped like every other text: a folder name may hold quotes and ampersands.
        appendText(xml, "ftpPort", _ftpPort);
        appendNumber(xml, "ftpDefault", _ftpDefault);
        appendText(xml, "ftpFolder", _ftpFolder);
    });
}

QString XmlLocation::exportFolder() const
{
    return _exportFolder.isEmpty() ? QDir::homePath() : _exportFolder;
}

QString XmlLocation::effectiveFtpPort() const
{
    return (_ftpDefault != 0 || _ftpPort.isEmpty()) ? QStringLiteral("21") : _ftpPort;
}

QString XmlLocation::encodedUsername() const
{
    return MyApplication::shared().encodeStringForKey(_username, QStringLiteral("username"));
}

QString XmlLocation::encodedPassword() const
{
    return MyApplication::shared().encodeStringForKey(_password, QStringLiteral("password"));
}

void XmlLocation::setEncodedUsername(const QString& stored)
{
    setUsername(MyApplication::shared().decodeStringForKey(stored, QStringLiteral("username")));
}

void XmlLocation::setEncodedPassword(const QString& stored)
{
    setPassword(MyApplication::shared().decodeStringForKey(stored, QStringLiteral("password")));
}

QString XmlLocation::macHomePageHost()
{
    const QString host = MyApplication::shared().macHomePageHost();
    return host.isEmpty() ? QString() : QStringLiteral("http://") + host;
}

QString XmlLocation::transferHost() const
{
    const QString host = _location.trimmed();
    const QString port = _ftpPort.trimmed();
    if (_ftpDefault != 0 || port.isEmpty() || host.contains(QLatin1Char(':')))
        return host;
    return host + QLatin1Char(':') + port;
}

QString XmlLocation::baseURL() const
{
    return lq::modelFrame(this, "baseURL", [&] { return ServerKind::of(_serverType).siteAddress(*this); });
}

bool XmlLocation::takeAddress(const QString& typed, bool webDAV, bool* changed, QString* error)
{
    *changed = false;
    const PublishAddress address = webDAV ? PublishAddress::fromWebDAV(typed) : PublishAddress::fromFtpHost(typed);
    if (!address.isValid()) {
        *error = address.error();
        return false;
    }
    QString kept = typed.trimmed();
    if (address.hasCredentials()) {
        // The account goes where accounts are kept, never into the address.
        setUsername(address.user());
        setPassword(address.password());
        kept = PublishAddress::withoutCredentials(kept);
    }
    if (!webDAV && (kept.contains(QStringLiteral("://")) || kept.contains(QLatin1Char('/')))) {
        // The FTP form holds a server: the rest of a whole address goes to its fields.
        kept = address.host();
        if (address.port() > 0) {
            setFtpPort(QString::number(address.port()));
            setFtpDefault(0);
        }
        if (!address.folder().isEmpty())
            setFtpFolder(address.folder());
    }
    if (kept != _location || address.hasCredentials()) {
        setLocation(kept);
        *changed = true;
    }
    return true;
}
