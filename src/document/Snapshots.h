#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

class QIODevice;
class XmlBase;
class XmlFiles;
namespace lq {
class ConfinedFolder;
}

// The snapshots in a document folder's "revert": one zip archive per save,
// named after the local time of the save ("Mon Dec 07,2026 11_29_17 PM.qvzip";
// a second save within the same second gets " 2" after the date, and so on).
//
// The clock may go back (a wrong clock put right, a change of time zone), so
// the names do not order the snapshots: each archive carries a sequence
// number, one past the largest in the folder when it was made, as an empty
// member "sequence-<number>". Newest first means by that number; snapshots
// of older releases, which carry none, follow every numbered one, newest
// date first.
//
// A version is a publication's when it carries the comment publications
// save with, else the user's own. Trimming counts each kind among its own,
// so that publications never push out a version the user saved (Trim).
class Snapshots {
public:
    // The comment of the versions publications make.
    static const QString publicationComment;
    // The publications' versions kept at open, beside the user's own.
    static constexpr int keptPublications = 50;
    static bool isPublication(const QString& comment) { return comment == publicationComment; }

    // Which versions a trim keeps, asked of each in turn, newest first:
    // of the user's own the newest `keptOwn` (counted among the user's own
    // only), and every commented one when `keepCommented`; of the
    // publications' the newest `keptPublished`. A file that is no version
    // counts as one of the user's without a comment.
    class Trim {
    public:
        Trim(int keptOwn, bool keepCommented, int keptPublished)
            : _keptOwn(keptOwn)
            , _keepCommented(keepCommented)
            , _keptPublished(keptPublished)
        {
        }
        bool keeps(const QString& comment)
        {
            if (isPublication(comment))
                return ++_published <= _keptPublished;
            return ++_own <= _keptOwn || (_keepCommented && !comment.isEmpty());
        }

    private:
        int _keptOwn;
        bool _keepCommented;
        int _keptPublished;
        int _own = 0;
        int _published = 0;
    };

    // The beginning of the name of the member that carries the sequence.
    static const QString sequenceMemberPrefix;

    // The sequence number the archive carries; nothing when it carries none
    // (or a number no save writes) or is no readable archive. The archive
    // at a path, below a folder (read through its gateway), or opened.
    static std::optional<qint64> sequenceOf(const QString& archive);
    static std::optional<qint64> sequenceOf(const lq::ConfinedFolder& folder, const QString& name);
    static std::optional<qint64> sequenceOf(QIODevice& archive);
    // The number for the next snapshot of the snapshot folder: one past the
    // largest there (1 for none). When the largest is the last number there
    // is (one no save wrote), the snapshots are first numbered afresh from 1
    // in their order, so that the next is still the newest.
    static qint64 nextSequence(lq::ConfinedFolder& revert);
    // A name (without extension) that no entry of the snapshot folder has
    // yet, for a snapshot made at that local time.
    static QString freeName(const lq::ConfinedFolder& revert, const QDateTime& time);
    // Sorts a list of the folder's files newest first (see above); files
    // that are no snapshots go last. The archives are read through the
    // list's gateway.
    static void sortNewestFirst(XmlFiles& list);
};
