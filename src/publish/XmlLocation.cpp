#include "publish/XmlLocation.h"

#include "application/MyApplication.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "publish/PublishAddress.h"
#include "publish/ServerKind.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

int integerOf(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : 0;
}

void appendText(QString& xml, const char* key, const QString& value)
{
    xml += QLatin1Char(' ') + QLatin1String(key) + QStringLiteral("=\"") + lq::escape(value) + QLatin1Char('"');
}

void appendNumber(QString& xml, const char* key, int value)
{
    xml += QLatin1Char(' ') + QLatin1String(key) + QStringLiteral("=\"") + QString::number(value) + QLatin1Char('"');
}

// The fields of a kept account, as the beginnings of their attributes' names.
const QString KeptLocation = QStringLiteral("location");
const QString KeptUser = QStringLiteral("username");
const QString KeptPassword = QStringLiteral("password");
const QString KeptPort = QStringLiteral("port");

bool hasPort(const QString& kind)
{
    return kind == QStringLiteral("FTP") || kind == QStringLiteral("SFTP");
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

std::shared_ptr<XmlLocation> XmlLocation::forNewSite(const QString& siteFolder)
{
    auto where = create();
    where->setServerType(LocalFolder);
    where->setExportFolder(QUrl::fromLocalFile(newSiteExportFolder(siteFolder)).toString());
    return where;
}

QString XmlLocation::newSiteExportFolder(const QString& siteFolder)
{
    const QFileInfo site(QDir::cleanPath(siteFolder));
    const QString named = site.absolutePath() + QLatin1Char('/') + site.completeBaseName();
    QString folder = named;
    // Never into something that is there already: it is not this site's.
    for (int counter = 2; QFileInfo::exists(folder) || QFileInfo(folder).isSymLink(); ++counter)
        folder = named + QLatin1Char(' ') + QString::number(counter);
    return folder;
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
        else if (!setKeptAttribute(key, value))
            XmlBase::setAttributeTo(key, value);
    });
}

void XmlLocation::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlBase::appendAttributes(xml);
        // A user and password typed into the address are stored as the account, never in it.
        Account inUse = fields();
        const QString location = storedAddress(accountKindInUse(), _location, &inUse);
        appendText(xml, "location", location);
        appendText(xml, "username", MyApplication::shared().encodeStringForKey(inUse.username, QStringLiteral("username")));
        appendText(xml, "password", MyApplication::shared().encodeStringForKey(inUse.password, QStringLiteral("password")));
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
        appendKeptAccounts(xml);
    });
}

void XmlLocation::appendKeptAccounts(QString& xml)
{
    const MyApplication& app = MyApplication::shared();
    for (const QString& kind : accountKinds()) {
        Account kept = account(kind);
        kept.location = storedAddress(kind, kept.location, &kept);
        if (kept.isEmpty())
            continue;
        xml += QLatin1Char(' ') + KeptLocation + kind + QStringLiteral("=\"") + lq::escape(kept.location) + QLatin1Char('"');
        xml += QLatin1Char(' ') + KeptUser + kind + QStringLiteral("=\"") + lq::escape(app.encodeStringForKey(kept.username, KeptUser))
            + QLatin1Char('"');
        xml += QLatin1Char(' ') + KeptPassword + kind + QStringLiteral("=\"")
            + lq::escape(app.encodeStringForKey(kept.password, KeptPassword)) + QLatin1Char('"');
        if (hasPort(kind))
            xml += QLatin1Char(' ') + KeptPort + kind + QStringLiteral("=\"") + lq::escape(kept.port) + QLatin1Char('"');
    }
}

bool XmlLocation::setKeptAttribute(const QString& key, const QString& value)
{
    for (const QString& field : { KeptLocation, KeptUser, KeptPassword, KeptPort }) {
        if (!key.startsWith(field))
            continue;
        const QString kind = key.mid(field.size());
        if (!accountKinds().contains(kind))
            return false;
        Account& kept = _kept[kind];
        if (field == KeptLocation)
            kept.location = value;
        else if (field == KeptUser)
            kept.username = MyApplication::shared().decodeStringForKey(value, KeptUser);
        else if (field == KeptPassword)
            kept.password = MyApplication::shared().decodeStringForKey(value, KeptPassword);
        else
            kept.port = value;
        return true;
    }
    return false;
}

QString XmlLocation::storedAddress(const QString& kind, const QString& address, Account* account)
{
    if (kind != QStringLiteral("WebDAV") && !hasPort(kind))
        return address;
    const PublishAddress typed = kind == QStringLiteral("WebDAV") ? PublishAddress::fromWebDAV(address) : PublishAddress::fromFtpHost(address);
    if (!typed.isValid() || !typed.hasCredentials())
        return address;
    if (account->username.isEmpty() && account->password.isEmpty()) {
        account->username = typed.user();
        account->password = typed.password();
    }
    return PublishAddress::withoutCredentials(address.trimmed());
}

// --- The account of each kind of server -------------------------------------------

const QStringList& XmlLocation::accountKinds()
{
    static const QStringList kinds { QStringLiteral("Mac"), QStringLiteral("WebDAV"), QStringLiteral("FTP"), QStringLiteral("SFTP") };
    return kinds;
}

QString XmlLocation::accountKind(int serverType, int ftpType)
{
    switch (serverType) {
    case MacAccount: return QStringLiteral("Mac");
    case WebDAV: return QStringLiteral("WebDAV");
    case FTPServer: return ftpType == 0 ? QStringLiteral("FTP") : QStringLiteral("SFTP");
    default: return QString();
    }
}

QString XmlLocation::accountKindInUse() const
{
    if (_fieldsKind)
        return *_fieldsKind;
    const QString chosen = accountKind(_serverType, _ftpType);
    const Account typed = fields();
    if (!chosen.isEmpty() || typed.isEmpty())
        return chosen;
    // A folder destination as read from a file: the fields are those of the
    // server whose kept account they are, or whose address they hold.
    for (auto kept = _kept.begin(); kept != _kept.end(); ++kept) {
        if (kept.value() == typed)
            return kept.key();
    }
    return _location.contains(QStringLiteral("://")) ? QStringLiteral("WebDAV") : accountKind(FTPServer, _ftpType);
}

XmlLocation::Account XmlLocation::account(const QString& kind) const
{
    if (kind.isEmpty())
        return {};
    return kind == accountKindInUse() ? fields() : _kept.value(kind);
}

void XmlLocation::keepAccount(const QString& kind, const Account& account)
{
    if (kind.isEmpty())
        return;
    if (kind == accountKindInUse())
        setFields(account);
    else
        _kept.insert(kind, account);
}

void XmlLocation::setFields(const Account& account)
{
    _location = account.location;
    _username = account.username;
    _password = account.password;
    _ftpPort = account.port;
}

XmlLocation::Address XmlLocation::addressFor(const QString& kind) const
{
    const QString inUse = accountKindInUse();
    const Address kept { _location, _ftpFolder };
    if (kind == inUse || kind.isEmpty())
        return kept;
    if (const Account own = _kept.value(kind); !own.location.isEmpty())
        return { own.location, _ftpFolder };
    const auto hostForm = [](const QString& kind) { return hasPort(kind); };
    Address made { QString(), _ftpFolder };
    if (inUse == QStringLiteral("WebDAV")) {
        PublishAddress typed = PublishAddress::fromWebDAV(_location);
        if (!typed.isValid())
            typed = PublishAddress::fromFtpHost(_location);
        if (!typed.isValid())
            return made;
        if (kind == QStringLiteral("Mac")) {
            made.location = typed.folder();
            return made;
        }
        made.location = typed.host();
        if (made.ftpFolder.trimmed().isEmpty())
            made.ftpFolder = typed.folder();
        return made;
    }
    if (hostForm(inUse)) {
        if (kind == QStringLiteral("Mac"))
            made.location = _ftpFolder;
        else if (kind == QStringLiteral("WebDAV"))
            made.location = PublishAddress::webDAVOfFtp(_location, _ftpFolder);
        else if (const PublishAddress server = PublishAddress::fromFtpHost(_location); server.isValid())
            made.location = server.host();   // the other protocol has a port of its own
        return made;
    }
    // From a .Mac folder, which names no server.
    if (inUse == QStringLiteral("Mac") && hostForm(kind) && made.ftpFolder.trimmed().isEmpty())
        made.ftpFolder = _location;
    return made;
}

void XmlLocation::chooseServerType(int serverType, int ftpType)
{
    const QString from = accountKindInUse();
    const QString to = accountKind(serverType, ftpType);
    const Address carried = addressFor(to);
    _serverType = serverType;
    _ftpType = ftpType;
    // A folder has no account: the fields stay those of their server.
    if (to.isEmpty() || to == from) {
        _fieldsKind = from;
        return;
    }
    if (!from.isEmpty())
        _kept.insert(from, fields());
    _fieldsKind = to;
    Account back = _kept.take(to);
    if (back.location.isEmpty())
        back.location = carried.location;
    setFields(back);
    _ftpFolder = carried.ftpFolder;
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
