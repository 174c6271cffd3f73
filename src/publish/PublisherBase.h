#pragma once

struct PublishRequest;

// What the publish panel and the document's Publish command ask of the
// publisher; tests hand in their own to see the requests.
class PublisherBase {
public:
    virtual ~PublisherBase() = default;
    // A publication started from the panel: the site is built, then the
    // uploader panel opens and the request's road sends it.
    virtual void publish(const PublishRequest& request) = 0;
    // The changes only, after a build, the uploader panel already showing.
    virtual void publishChanges(const PublishRequest& request) = 0;
    // Logs in with the request's account and reports the outcome (WebDAV,
    // FTP and SFTP; a folder has nothing to test).
    virtual void testConnection(const PublishRequest& request) = 0;
    // The document's Publish once the site was published before: the
    // changes since then go to the stored destination (a folder destination
    // is sent to the publish panel instead).
    virtual void sendChanges() = 0;
};
