#pragma once

#include "publish/ChangeSet.h"
#include "publish/PublishRequest.h"
#include "publish/PublisherBase.h"

#include <memory>

class DocumentBase;
class PublishObserver;
class SendController;
class SiteBuilder;
class XmlBom;
class XmlD;

// The one road of a publication: takes a request made from the destination,
// has the site built, makes the change set (the generated folder listed
// against the last published tree, or against nothing to send every file)
// and hands both to the uploader, whose road for the request (WebDAV, FTP
// and SFTP, or a copy into a folder) takes them. Its observers
// (PublishObserver, held by the uploader) are told the whole publication:
// what stopped it before a road ran, then the road's stages, progress and
// ending.
class Publisher final : public PublisherBase {
public:
    Publisher(DocumentBase& document, SendController& uploader);
    ~Publisher() override;

    // What the site is built by before it is sent; none: it is sent as it is.
    void setSiteBuilder(SiteBuilder* builder) { _builder = builder; }
    // Who is told how publications go (not owned): the window's panels, a test's recorder.
    void addObserver(PublishObserver* observer);
    void removeObserver(PublishObserver* observer);

    void publish(const PublishRequest& request) override;
    void publishChanges(const PublishRequest& request) override;
    void testConnection(const PublishRequest& request) override;
    void sendChanges() override;

    // Sends the generated folder as it is, without a build, on the request's road.
    void send(const PublishRequest& request);

private:
    // Builds the site, then sends the request; a failed build goes to the observer.
    void buildThenSend(const PublishRequest& request);
    // The change set towards the current generated tree; no change set, with
    // the reason on the uploader panel, when the folder cannot be listed.
    ChangeSet changeSet(bool changesOnly);

    DocumentBase& _document;
    SendController& _uploader;
    SiteBuilder* _builder = nullptr;
    // The last request sent, for Retry.
    PublishRequest _last;
    // Counts the builds asked for: only the newest one's end is taken.
    quint64 _builds = 0;
    std::shared_ptr<XmlD> _lastPublished;
    std::shared_ptr<XmlBom> _bom;
};
