#pragma once

#include <QString>

#include <functional>

class MyDocument;

// The build that goes before every preview, export or upload of a site, and
// its hand-over to the publish panel: "homepage" made afresh from the user's
// files, every page, CSS and feed script run, "index.html" made sure of, the
// generated site written to the disk, and the panel called back, unless a
// step of the build failed. One per document, which it takes.
class ExportPreparation {
public:
    explicit ExportPreparation(MyDocument& document);
    ExportPreparation(const ExportPreparation&) = delete;
    ExportPreparation& operator=(const ExportPreparation&) = delete;

    // Stage 1 of an export: "homepage" is made afresh as a copy of "files"
    // (always made, even without "files"), the site's build processor is
    // queued and after it the call of stage 2. The operation is the publish
    // panel's, performed when the generated site is complete.
    void prepareForExport(const QString& operation);
    // Stage 2, run once the generator steps have queued their scripts:
    // queues the call of stage 3 behind every one of them.
    void continuePrepareForExport(const QString& operation);
    // Stage 3, run once every script has run: ends the build (finishBuild)
    // and hands over to the publish panel, unless a step of the build failed:
    // then nothing is handed over (see buildMayBePublished).
    void startExport(const QString& operation);
    // Starts counting the failures of a build afresh.
    void beginBuild();
    // Starts a build of the whole site: counts failures afresh and makes
    // "homepage" anew as a copy of "files" (with its folders "pictures" and
    // "bitmaps"), so that after the build it holds only what this build made
    // and the user's own files. The last build waits aside meanwhile
    // (GeneratedSiteFolder).
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
    // Ends an export under way: the queue is emptied, no later stage runs.
    void cancelExport();
    // The publish panel's side of an export: performs the named operation.
    void setExportHandler(std::function<void(const QString& operation)> handler) { _exportHandler = std::move(handler); }
    // The window's side: an export begins (true: show the Activity tab and
    // the Cancel button) or ends (false: back to editing, preview of the
    // page that was shown when it began).
    void setExportDisplayHandler(std::function<void(bool exporting, const QString& savedAlbum)> handler)
    {
        _exportDisplay = std::move(handler);
    }
    // The page shown when the export began.
    const QString& savedAlbum() const { return _savedAlbum; }

private:
    void noteBuildFailure(const QString& what)
    {
        if (_buildFailures++ == 0)
            _firstBuildFailure = what;
    }

    MyDocument& _document;
    int _buildFailures = 0;
    QString _firstBuildFailure;
    QString _savedAlbum;
    std::function<void(const QString&)> _exportHandler;
    std::function<void(bool, const QString&)> _exportDisplay;
};
