#pragma once

#include <QString>

// What the publisher tells the one who asked for a publication before its
// road takes it: the build failed, the destination cannot be used, or the
// destination is chosen in the publish panel. Once a road runs, its
// progress, Activity log lines and the line that ends it ("Published N
// files…", or the failure) go to the uploader (UploadPanel).
class PublishObserver {
public:
    virtual ~PublishObserver() = default;

    // The generated site could not be built: nothing was sent.
    virtual void buildFailed(const QString& why) = 0;
    // The stored destination cannot be used: nothing was built or sent.
    virtual void publicationRefused(const QString& title, const QString& why) = 0;
    // A folder destination is published from the panel, never on its own.
    virtual void destinationNeeded() = 0;
};
