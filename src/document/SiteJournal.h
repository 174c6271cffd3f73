#pragma once

#include <QList>
#include <QString>

namespace lq {
class ConfinedFolder;
}

// One change of several files of a document folder, made all or nothing.
//
// Every new file is first written whole into a staging folder inside the
// document folder. Then the journal ".lumenquill-journal", which names where
// each staged file goes, is written at once and forced onto the disk: from
// that moment the change counts as made. The files are moved into place one
// rename at a time, and the journal and the staging folder go.
//
// A program killed on the way leaves no journal (nothing was replaced yet:
// the staging folder is thrown away) or a whole one, which the next opening
// of the folder plays to its end (recover). Either way the folder holds the
// files of before the change or of after it, never some of each.
//
// A change may also bring new files (a theme's pictures and site files):
// each only fills a place where nothing is, making the folders it needs
// below the document folder, and never replaces what is there by then.
//
// Every step goes through the document folder's gateway (lq::ConfinedFolder):
// no file is staged, checked or moved through a link, and what is checked
// before the journal is written is taken again by descriptors when the file
// moves, so nothing swapped in between leads a move outside the folder.
class SiteJournal {
public:
    // The journal's file name in the document folder.
    static const QString journalName;
    // The beginnings of the names of what a change leaves while under way:
    // staging folders of saves and of reverts, and files written beside
    // their targets.
    static const QString saveStagingPrefix;
    static const QString revertStagingPrefix;
    static const QString themeStagingPrefix;

    // A change of the document folder; its staging folder begins with the prefix.
    SiteJournal(lq::ConfinedFolder& folder, const QString& stagingPrefix);
    // A change that was not committed leaves nothing behind.
    ~SiteJournal();
    SiteJournal(const SiteJournal&) = delete;
    SiteJournal& operator=(const SiteJournal&) = delete;

    // Makes the staging folder (private to its owner).
    bool begin(QString* error);
    // The staging folder's name below the document folder, once begun.
    const QString& stagingName() const { return _staging; }
    // A name below the staging folder as a name below the document folder.
    QString staged(const QString& name) const { return _staging + QLatin1Char('/') + name; }
    // The document folder.
    lq::ConfinedFolder& folder() const { return _folder; }
    // Writes the bytes into the staging folder under the target's file name
    // (private to its owner) and notes that they replace the target, a path
    // relative to the document folder.
    bool stageFile(const QString& target, const QByteArray& bytes, QString* error);
    // Copies the file or folder at the path, which is the program's own (a
    // private temporary folder), into the staging folder under the name.
    bool stageCopy(const QString& source, const QString& name, QString* error);
    // Notes that the file at the path relative to the staging folder
    // replaces the target, a path relative to the document folder.
    void addMove(const QString& staged, const QString& target);
    // Notes that the file at the path relative to the staging folder comes
    // to the target, a new file there (see isNewFileTarget): it fills the
    // place only while nothing is there.
    void addNewFile(const QString& staged, const QString& target);
    // Forces the staged files onto the disk, writes the journal, moves every
    // file into place and removes the journal and the staging folder. Once
    // the journal is written the change is made, even if a later step
    // fails: the next recover finishes it.
    bool commit(QString* error);

    // Finishes a change that a killed program left in the document folder
    // (its journal is played to the end), then removes what changes under
    // way leave behind: staging folders and files written beside their
    // targets, in the folder, "revert" and "bitmaps2". A journal that names
    // anything but the document's own files is not followed. Answers
    // whether the folder is clean.
    static bool recover(lq::ConfinedFolder& folder, QString* error = nullptr);

    // Whether the target, a path relative to the document folder, is one a
    // change may replace: the four element files, a snapshot archive in
    // "revert" or a theme picture in "bitmaps2".
    static bool isReplaceableTarget(const QString& target);
    // Whether the target, a path relative to the document folder, is one a
    // change may bring as a new file: a theme picture in "bitmaps2" or a
    // file at any depth below "files".
    static bool isNewFileTarget(const QString& target);

    // One file a change moves into place.
    struct Move {
        QString staged;
        QString target;
        // Fills an empty place only, never replacing.
        bool newFile = false;
    };

private:
    lq::ConfinedFolder& _folder;
    QString _prefix;
    QString _staging;
    QList<Move> _moves;
    bool _committed = false;
};
