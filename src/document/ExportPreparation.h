#pragma once

#include <QString>

class MyDocument;

// The bookends of the build that goes before every preview, export or
// upload of a site (DocumentSiteBuilder runs it through the document's
// queue): "homepage" made afresh from the user's files before the site's
// scripts run; after them "index.html" made sure of, the generated site
// written to the disk, and the answer whether it may be published, which is
// no after any failed step. One per document, which it takes.
class ExportPreparation {
public:
    explicit ExportPreparation(MyDocument& document);
    ExportPreparation(const ExportPreparation&) = delete;
    ExportPreparation& operator=(const ExportPreparation&) = delete;

    // Starts counting the failures of a build afresh.
    void beginBuild();
    // Starts a build of the whole site: counts failures afresh and makes
    // "homepage" anew as a copy of "files" (with its folders "pictures" and
    // "bitmaps"; always made, even without "files"), so that after the build
    // it holds only what this build made and the user's own files. The last
    // build waits aside meanwhile (GeneratedSiteFolder).
    void beginFreshBuild();
    // Ends a build: makes sure "index.html" exists (a copy of the default
    // page unless a page has that name), puts the new build in place of the
    // last one (a file with the same bytes stays the file it was), writes the
    // generated site to the disk and answers whether it may be published
    // (buildMayBePublished).
    bool finishBuild();
    // Whether the site just built may go to the server: not after any step of
    // the build failed (a page or picture that could not be written). Then
    // the Activity log and the document's lastError say that the export
    // stopped and why.
    bool buildMayBePublished();

private:
    // Tells the failure in the Activity log and counts it against the build.
    void failBuildWith(const QString& why);
    void noteBuildFailure(const QString& what)
    {
        if (_buildFailures++ == 0)
            _firstBuildFailure = what;
    }

    MyDocument& _document;
    int _buildFailures = 0;
    QString _firstBuildFailure;
};
