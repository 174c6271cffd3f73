#pragma once
#include "app/SendControllerBase.h"

#include <memory>

class ExportController;
class MyDocument;
class SendController;
class XmlBom;
class XmlD;

// The publish panel's requests on the uploader: lists the generated folder,
// makes the change set against the last published tree (or against nothing,
// to send every file) and hands both to the uploader's road.
class PublishRoads : public SendControllerBase {
public:
    PublishRoads(MyDocument& document, SendController& sender);
    ~PublishRoads() override;

    void startSending(const Request& request) override;
    void sendBom(const Request& request) override;
    void sendFTPBom(XmlLocation* location, const QString& pathName, bool changesOnly) override;
    void ftpTestExport(XmlLocation* location, const QString& pathName) override;
    void webDAVTest(const Request& request) override;
    void exportToFolder(const QString& pathName, const QString& folder, bool changesOnly) override;
    void sendChanges() override;

    // The publish panel whose stored settings sendChanges uses (not owned).
    void setPublishPanel(ExportController* panel) { _panel = panel; }

private:
    // The current generated tree and the change set towards it; none, with
    // the reason on the uploader panel, when the folder cannot be listed.
    std::shared_ptr<XmlD> changeSet(bool changesOnly);

    MyDocument& _document;
    SendController& _sender;
    ExportController* _panel = nullptr;
    std::shared_ptr<XmlD> _last;
    std::shared_ptr<XmlBom> _bom;
};
