#include "publish/PublishRequest.h"

#include "model/application/MyApplication.h"
#include "model/core/XmlBase.h"
#include "platform/SupportPaths.h"
#include "publish/FolderExport.h"
#include "publish/WebDAVRoad.h"
#include "publish/XmlLocation.h"

#include <QSettings>
#include <QUrl>

namespace {

QString accountOf(const XmlLocation& where)
{
    return where.username() + QLatin1Char(':') + where.password();
}

// The .Mac service's WebDAV and home page addresses for the account and folder.
void macAddresses(const XmlLocation& where, PublishRequest& request)
{
    const MyApplication& app = MyApplication::shared();
    if (app.macWebDAVHost().isEmpty()) {
        request.errorTitle = QStringLiteral("The .Mac service is not set up");
        request.error = QStringLiteral("The .Mac service no longer exists. To publish to a server that works the same way, set its host names as "
                                       "\"MacWebDAVHost\" and \"MacHomePageHost\" in ")
            + lq::userDefaults()->fileName() + QStringLiteral("; otherwise choose WebDAV, Folder or FTP as the server type.");
        return;
    }
    const QString user = XmlBase::urlescape(where.username());
    const QString folder = XmlBase::urlescape(where.location());
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
    request.location = &where;
}

void exportFolder(const XmlLocation& where, PublishRequest& request)
{
    // A folder chosen outside the home folder is stored as a file address.
    const QString stored = where.exportFolder();
    request.folder = stored.startsWith(QStringLiteral("file:")) ? QUrl(stored).toLocalFile() : lq::folderExportDestination(stored);
}

} // namespace

PublishRequest PublishRequest::fromLocation(XmlLocation& where, const QString& pathName, bool changesOnly)
{
    PublishRequest request;
    request.pathName = pathName;
    request.changesOnly = changesOnly;
    switch (where.serverType()) {
    case XmlLocation::MacAccount:
        request.road = Road::WebDAV;
        macAddresses(where, request);
        break;
    case XmlLocation::WebDAV:
        request.road = Road::WebDAV;
        webDAVAddresses(where, request);
        break;
    case XmlLocation::LocalFolder:
        request.road = Road::Folder;
        exportFolder(where, request);
        break;
    case XmlLocation::FTPServer:
        request.road = Road::FTP;
        ftpSettings(where, request);
        break;
    default:
        request.errorTitle = QStringLiteral("The destination cannot be used");
        request.error = QStringLiteral("The site's server type is not one this version knows; choose WebDAV, Folder or FTP.");
        break;
    }
    return request;
}
