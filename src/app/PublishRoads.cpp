#include "app/PublishRoads.h"

#include "document/MyDocument.h"
#include "publish/FolderExport.h"
#include "publish/SendController.h"
#include "publish/XmlBom.h"
#include "publish/XmlD.h"


PublishRoads::PublishRoads(MyDocument& document, SendController& sender)
    : _document(document)
    , _sender(sender)
{
}

PublishRoads::~PublishRoads() = default;

std::shared_ptr<XmlD> PublishRoads::changeSet(const QString& pathName, bool changesOnly)
{
    std::shared_ptr<XmlD> current = _document.createXmlD(QString());
    _last = _document.lastXmlD();
    _bom = XmlBom::createWithSourceDest(current.get(), changesOnly ? _last.get() : nullptr);
    _bom->setRootSource(pathName);
    return current;
}

void PublishRoads::startSending(const Request& request)
{
    std::shared_ptr<XmlD> current = changeSet(request.pathName, request.changesOnly);
    _sender.startSendingLocationPathNamePassPhraseLastXmlDOpenURLDigest(_bom.get(), request.baseURL, request.pathName,
        request.passPhrase, current, request.openURL, request.digest);
}

void PublishRoads::sendBom(const Request& request)
{
    std::shared_ptr<XmlD> current = changeSet(request.pathName, true);
    _sender.sendBomLocationPathNamePassPhraseLastXmlDOpenURLDigest(_bom.get(), request.baseURL, request.pathName,
        request.passPhrase, current, request.openURL, request.digest);
}

void PublishRoads::sendFTPBom(XmlLocation* location, const QString& pathName, bool changesOnly)
{
    std::shared_ptr<XmlD> current = changeSet(pathName, changesOnly);
    _sender.sendFTPBomLocationPathNameLastXmlDCurrentXmlD(_bom.get(), location, pathName, current, _last);
}

void PublishRoads::ftpTestExport(XmlLocation* location, const QString& pathName)
{
    _sender.ftpTestExportPathName(location, pathName);
}

void PublishRoads::exportToFolder(const QString& pathName, const QString& folder, bool changesOnly)
{
    std::shared_ptr<XmlD> current = changeSet(pathName, changesOnly);
    lq::exportChangesToFolder(&_document, _bom.get(), current.get(), pathName, folder);
}
