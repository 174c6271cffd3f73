#pragma once
// A publisher that only notes what the publish panel and the document's
// commands ask of it.
#include "publish/PublishRequest.h"
#include "publish/PublisherBase.h"

#include <QList>
#include <QStringList>

struct FakeSender : PublisherBase {
    QStringList calls;
    QList<PublishRequest> requests;
    QString folder;
    bool changesOnly = false;
    void note(const char* call, const PublishRequest& r)
    {
        calls << QString::fromLatin1(call);
        requests << r;
        folder = r.folder;
        changesOnly = r.changesOnly;
    }
    void publish(const PublishRequest& r) override { note("publish", r); }
    void publishChanges(const PublishRequest& r) override { note("publishChanges", r); }
    void testConnection(const PublishRequest& r) override { note("testConnection", r); }
    void sendChanges() override { calls << "sendChanges"; }
};
