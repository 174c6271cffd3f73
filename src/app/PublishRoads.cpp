#include "app/PublishRoads.h"

#include "app/ExportController.h"
#include "document/MyDocument.h"
#include "publish/FolderExport.h"
#include "publish/PublicationReport.h"
#include "publish/SendController.h"
#include "publish/XmlBom.h"
#include "publish/XmlD.h"
#include "publish/XmlLocation.h"

#include <QUrl>

PublishRoads::PublishRoads(MyDocument& document, SendController& sender)
    : _document(document)
    , _sender(sender)
{
}

PublishRoads::~PublishRoads() = default;

std::shared_ptr<XmlD> PublishRoads::changeSet(bool changesOnly)
{
    std::shared_ptr<XmlD> current;
    QString error;
    QString notice;
    _bom = SendController::changesToPublish(&_document, !changesOnly, &current, &_last, &error, &notice);
    _sender.setNotice(notice);
    if (!_bom)
        _sender.showStartError(error);
    return current;
}

void PublishRoads::startSending(const Request& request)
{
    std::shared_ptr<XmlD> current = changeSet(request.changesOnly);
    if (!_bom)
        return;
    _sender.startSendingLocationPathNamePassPhraseLastXmlDOpenURLDigest(_bom.get(), request.baseURL, request.pathName,
        request.passPhrase, current, request.openURL, request.digest);
}

void PublishRoads::sendBom(const Request& request)
{
    std::shared_ptr<XmlD> current = changeSet(true);
    if (!_bom)
        return;
    _sender.sendBomLocationPathNamePassPhraseLastXmlDOpenURLDigest(_bom.get(), request.baseURL, request.pathName,
        request.passPhrase, current, request.openURL, request.digest);
}

void PublishRoads::sendFTPBom(XmlLocation* location, const QString& pathName, bool changesOnly)
{
    std::shared_ptr<XmlD> current = changeSet(changesOnly);
    if (!_bom)
        return;
    _sender.sendFTPBomLocationPathNameLastXmlDCurrentXmlD(_bom.get(), location, pathName, current, _last);
}

void PublishRoads::ftpTestExport(XmlLocation* location, const QString& pathName)
{
    _sender.ftpTestExportPathName(location, pathName);
}

void PublishRoads::webDAVTest(const Request& request)
{
    _sender.webDAVTestLocationPassPhraseDigest(request.baseURL, request.passPhrase, request.digest);
}

void PublishRoads::exportToFolder(const QString& pathName, const QString& folder, bool changesOnly)
{
    std::shared_ptr<XmlD> current = changeSet(changesOnly);
    if (!_bom)
        return;
    PublicationReport report;
    report.begin(_bom.get(), pathName);
    const QString error = lq::exportChangesToFolder(&_document, _bom.get(), current.get(), pathName, folder);
    if (!error.isEmpty()) {
        _sender.showStartError(error);
        return;
    }
    _sender.showResult(report.line(folder), QUrl::fromLocalFile(folder + QStringLiteral("/index.html")).toString());
}

void PublishRoads::sendChanges()
{
    if (!_panel)
        return;
    XmlLocation* where = _document.location();
    if (!where || where->serverType() == XmlLocation::LocalFolder) {
        _panel->exportWebsite();
        return;
    }
    _sender.setSending(true);
    if (!_panel->exportChanges()) {
        _sender.setPanelVisible(false);
        _sender.setSending(false);
    }
}
