#pragma once

// The build of a site as every publication and preview has it made: the
// document's DocumentSiteBuilder, through the document's own queue. It
// starts when made; `wait` runs the event loop until it ended.
#include "document/DocumentSiteBuilder.h"
#include "document/MyDocument.h"
#include "support/EventLoop.h"

#include <QString>

class SiteBuildRun {
public:
    explicit SiteBuildRun(MyDocument& document)
        : _builder(document)
    {
        _builder.buildSite([this] { ended = published = true; },
            [this](const QString& reason) {
                ended = true;
                why = reason;
            },
            {});
    }

    // Whether the build ended with a site that may be published; `why` says why not.
    bool wait(int limitMilliseconds = 300000)
    {
        processEventsUntil([this] { return ended; }, limitMilliseconds);
        return published;
    }
    void cancel() { _builder.cancelBuild(); }
    DocumentSiteBuilder& builder() { return _builder; }

    bool ended = false;
    bool published = false;
    QString why;

private:
    DocumentSiteBuilder _builder;
};
