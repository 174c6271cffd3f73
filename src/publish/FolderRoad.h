#pragma once

#include "publish/UploadRoad.h"

// The folder road: the change set copied into a folder on this computer (a
// folder destination). The copy is one step: the run starts, then ends with
// what it did; every file that could be copied was, and the others are
// named with why. Once every file is there, the exported index.html opens in
// the browser (an alert says why when it cannot). A folder has no
// connection to test.
class FolderRoad final : public UploadRoad {
public:
    explicit FolderRoad(UploadPanel& panel);

    // Copies the change set of the request's generated folder into its folder.
    void send(const PublishRequest& request, const ChangeSet& changes) override;
    bool canTest() const override { return false; }
    void test(const PublishRequest& request) override;
    // Close, after a copy that failed: the panel goes.
    void cancel() override;
};
