#pragma once

#include "publish/FileFailure.h"

#include <QString>

// What a publication tells whoever watches it, from the request to the
// line that ends it: what stopped it before a road took it (the build, the
// destination), then the road's run (publication or connection test): its
// start, each stage with the second line under it, the progress, the lines
// for the Activity log and the tools' own talk, and how it ended. The
// publish panel and the uploader's panel show it; tests record it.
// Everything is told on the event loop of the publication, in order.
class PublishObserver {
public:
    // How a run of a road ended.
    enum class Outcome {
        Published,  // everything went through: the closing line ("Published N files…")
        TestPassed, // the connection test reached the server
        Failed,     // the run stopped: the headline, and the reason in `detail`
        Cancelled,  // Cancel stopped it; what the server confirmed is kept
    };
    struct Ending {
        Outcome outcome = Outcome::Failed;
        QString title;      // the panel's title as it ends ("Publication Finished" after a publication)
        QString line;       // the first status line as it ends
        QString detail;     // the second line: why it failed, or a note under the result ("" for none)
        QString address;    // after a publication: where "Open in browser" goes ("" for none)
        bool retry = false; // after a failure: Retry sends what is left
        // The files that did not arrive (or were not removed), each with
        // why, in the order they failed; the others went through.
        FileFailures failures;
    };

    virtual ~PublishObserver() = default;

    // --- Before a road takes the request ---------------------------------------
    // The generated site could not be built: nothing was sent.
    virtual void buildFailed(const QString& why) { (void)why; }
    // The stored destination cannot be used: nothing was built or sent.
    virtual void publicationRefused(const QString& title, const QString& why) { (void)title, (void)why; }
    // A folder destination is published from the panel, never on its own.
    virtual void destinationNeeded() { }

    // --- The road's run ------------------------------------------------------------
    // A run starts under its title ("Sending Files", "Testing WebDAV
    // Connection"); a connection test shows the tools' talk.
    virtual void runStarted(const QString& title, bool test) { (void)title, (void)test; }
    // The stage the run is in ("Calculating Changes", "3 file(s) left") and
    // what it does there ("Sending index.html"; "" for nothing).
    virtual void stageChanged(const QString& stage, const QString& detail) { (void)stage, (void)detail; }
    // Percent done; indeterminate while the run cannot tell.
    virtual void progressChanged(int percent, bool indeterminate) { (void)percent, (void)indeterminate; }
    // A readable line, also written to the document's Activity log.
    virtual void activityLine(const QString& line) { (void)line; }
    // A line of the transfer tools' own talk, for the details view.
    virtual void toolLine(const QString& line) { (void)line; }
    // The run ended; told once per run.
    virtual void runEnded(const Ending& ending) { (void)ending; }
    // The ended run was put away (Close): nothing shows any more.
    virtual void dismissed() { }
};
