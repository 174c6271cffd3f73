#include "publish/ServerKind.h"

#include "application/MyApplication.h"
#include "model/core/XmlBase.h"
#include "platform/Escaping.h"
#include "platform/SupportPaths.h"
#include "publish/FolderExport.h"
#include "publish/PublishAddress.h"
#include "publish/WebDAVRoad.h"
#include "publish/XmlLocation.h"

#include <QSettings>
#include <QUrl>

namespace {

using Road = PublishRequest::Road;
using Form = ServerKind::AddressForm;

QString accountOf(const XmlLocation& where)
{
    return where.username() + QLatin1Char(':') + where.password();
}

// The .Mac service's WebDAV and home page addresses for the account and folder.
void macAddresses(XmlLocation& where, PublishRequest& request)
{
    const MyApplication& app = MyApplication::shared();
    if (app.macWebDAVHost().isEmpty()) {
        request.errorTitle = QStringLiteral("The .Mac service is not set up");
        request.error = QStringLiteral("The .Mac service no longer exists. To publish to a server that works the same way, set its host names as "
                                       "\"MacWebDAVHost\" and \"MacHomePageHost\" in ")
            + lq::userDefaults()->fileName() + QStringLiteral("; otherwise choose WebDAV, Folder or FTP as the server type.");
        return;
    }
    const QString user = lq::urlEscape(where.username());
    const QString folder = lq::urlEscape(where.location());
    request.baseURL = QStringLiteral("http://") + app.macWebDAVHost() + QLatin1Char('/') + user + QStringLiteral("/Sites/") + folder;
    request.openURL = app.macHomePageHost().isEmpty()
        ? QString()
        : QStringLiteral("http://") + app.macHomePageHost() + QLatin1Char('/') + user + QLatin1Char('/') + folder + QLatin1Char('/');
    request.passPhrase = accountOf(where);
}

void webDAVAddresses(XmlLocation& where, PublishRequest& request)
{
    if (!where.takeAddress(where.location(), true, &request.destinationChanged, &request.error)) {
        request.errorTitle = QStringLiteral("The WebDAV address cannot be used");
        return;
    }
    request.baseURL = WebDAVRoad::webDAVAddress(where.location());
    request.passPhrase = accountOf(where);
    request.digest = where.digest();
}

void ftpSettings(XmlLocation& where, PublishRequest& request)
{
    if (!where.takeAddress(where.location(), false, &request.destinationChanged, &request.error)) {
        request.errorTitle = QStringLiteral("The FTP server cannot be used");
        return;
    }
    if (where.ftpDefault() == 0 && !where.ftpPort().trimmed().isEmpty()) {
        if (const QString refusal = PublishAddress::portRefusal(where.ftpPort()); !refusal.isEmpty()) {
            request.errorTitle = QStringLiteral("The FTP server cannot be used");
            request.error = QStringLiteral("The Port field holds ") + refusal;
            return;
        }
    }
    request.location = &where;
}

void exportFolder(XmlLocation& where, PublishRequest& request)
{
    // A folder chosen outside the home folder is stored as a file address.
    const QString stored = where.exportFolder();
    request.folder = lq::isFileAddress(stored) ? QUrl(stored).toLocalFile() : lq::folderExportDestination(stored);
}

void unknownType(XmlLocation&, PublishRequest& request)
{
    request.errorTitle = QStringLiteral("The destination cannot be used");
    request.error = QStringLiteral("The site's server type is not one this version knows; choose WebDAV, Folder or FTP.");
}

QString addressTyped(const XmlLocation& where)
{
    return where.location();
}

// The user is part of the place: a folder below another login's home is another folder.
QString ftpPlace(const XmlLocation& where)
{
    return QString::number(where.ftpType()) + QLatin1Char('|') + where.username() + QLatin1Char('@') + where.transferHost() + QLatin1Char('|')
        + where.ftpFolder();
}

QString folderPlace(const XmlLocation& where)
{
    const QString stored = where.exportFolder();
    return lq::isFileAddress(stored) ? stored : lq::relativeExportFolder(stored);
}

// The account's home page, with the location as a folder.
QString macHomePage(const XmlLocation& where)
{
    if (where.username().isEmpty() || XmlLocation::macHomePageHost().isEmpty())
        return QStringLiteral("");
    QString url = XmlLocation::macHomePageHost() + QLatin1Char('/') + where.username() + QLatin1Char('/');
    if (!where.location().isEmpty())
        url += where.location() + QLatin1Char('/');
    return url;
}

QString unknownAddress(const XmlLocation&)
{
    return QStringLiteral("");
}

constexpr int AccountAndAddress = ServerKind::Account | ServerKind::Address;

// In the order of XmlLocation::ServerType.
const ServerKind Kinds[] = {
    { XmlLocation::MacAccount, "mac", ".Mac", Road::WebDAV, Form::MacFolder, AccountAndAddress | ServerKind::UserWithoutDomain, true,
        macAddresses, addressTyped, macHomePage },
    { XmlLocation::WebDAV, "webdav", "WebDAV", Road::WebDAV, Form::WebDAV, AccountAndAddress | ServerKind::Digest, false, webDAVAddresses,
        addressTyped, addressTyped },
    { XmlLocation::LocalFolder, "folder", "Folder", Road::Folder, Form::None, ServerKind::ExportFolder, false, exportFolder, folderPlace,
        unknownAddress },
    { XmlLocation::FTPServer, "ftp", "FTP", Road::FTP, Form::FtpHost, AccountAndAddress | ServerKind::FtpSettings, false, ftpSettings,
        ftpPlace, unknownAddress },
};

const ServerKind Unknown = { -1, "", "", Road::None, Form::None, 0, false, unknownType, addressTyped, unknownAddress };

} // namespace

const ServerKind& ServerKind::of(int type)
{
    for (const ServerKind& kind : Kinds) {
        if (kind.type == type)
            return kind;
    }
    return Unknown;
}

const ServerKind* ServerKind::withTab(const QString& tab)
{
    for (const ServerKind& kind : Kinds) {
        if (tab == QLatin1String(kind.tab))
            return &kind;
    }
    return nullptr;
}

int ServerKind::count()
{
    return int(std::size(Kinds));
}

const ServerKind& ServerKind::at(int index)
{
    return Kinds[index];
}
