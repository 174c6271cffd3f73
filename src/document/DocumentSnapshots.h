#pragma once

#include <QByteArray>
#include <QString>

class MyDocument;
class SiteJournal;

// The snapshots a document's saves leave in "revert": each save's snapshot,
// staged in the same change as the files it holds, the theme pictures of
// "bitmaps2" the save keeps, and the trim to the newest snapshots at open.
// It takes the document and works through the gateway to its folder: a
// "revert" or "bitmaps2" that is a link is never listed, trimmed or written
// through (the document's Activity log says so).
class DocumentSnapshots {
public:
    explicit DocumentSnapshots(MyDocument& document);

    // Stages the snapshot of a save in its change: the site and theme texts
    // as staged, and the theme pictures that stay, with the comment as the
    // archive comment. `incoming`: the folder below the staging folder of
    // the theme pictures the save brings, or "". The archive is made in a
    // private folder of the program from copies taken through the gateway.
    // False (and why) when the snapshot could not be made; the save goes on
    // without it.
    bool stageSnapshot(SiteJournal& change, const QByteArray& site, const QByteArray& theme,
        const QString& comment, const QString& incoming, QString& why);
    // Removes the theme pictures of "bitmaps2" the theme no longer uses.
    void pruneBitmaps();
    // Keeps the newest of the user's own snapshots (MyDocument::keptSnapshots)
    // and of the publications' (Snapshots::keptPublications), each counted
    // among its own kind, and removes the others.
    void trimSnapshots();

private:
    MyDocument& _document;
};
