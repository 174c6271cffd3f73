#pragma once

#include "publish/FileFailure.h"

#include <QElapsedTimer>
#include <QSet>
#include <QString>
#include <QStringList>

class XmlBom;

// What a publication did, told in one line for the Activity log and the
// panel: "Published 3 files (5120 bytes) to <destination> and removed 2
// files there in 1.2 s", or that nothing changed; after files that failed,
// what arrived all the same and the first reasons of the failures. File by
// file, it goes to the panel's details.
class PublicationReport {
public:
    // Starts the clock and counts the change set: its additions (with their
    // sizes below the local folder) and removals.
    void begin(XmlBom* bom, const QString& localFolder);
    // The line of a publication where every file arrived.
    QString line(const QString& destination) const;
    // The line of one where the failed files did not arrive (or were not
    // removed): what did, then how many failed and the first reasons.
    QString line(const QString& destination, const FileFailures& failed) const;
    // The line of a publication that Cancel stopped: the files that
    // arrived (sent, or removed there) and that nothing more went.
    QString cancelledLine(const QString& destination, const QSet<QString>& sent, const QSet<QString>& removed) const;
    // The files that arrived before Cancel, one line each, as fileLines.
    QStringList arrivedFileLines(const QSet<QString>& sent, const QSet<QString>& removed) const;
    // The files sent and removed, one line each ("sent pictures/a.jpg
    // (5120 bytes)", "removed old.html"), less those that failed.
    QStringList fileLines(const FileFailures& failed = {}) const;

    int files() const { return _files; }
    int removals() const { return _removals; }
    qint64 bytes() const { return _bytes; }

private:
    struct Change {
        QString path;
        bool removal = false;
        qint64 size = 0;
    };
    QString sentence(const QString& destination, int files, qint64 bytes, int removals) const;
    static QString fileLine(const Change& change);
    static bool arrived(const Change& change, const QSet<QString>& sent, const QSet<QString>& removed);

    QElapsedTimer _clock;
    int _files = 0;
    int _removals = 0;
    qint64 _bytes = 0;
    QList<Change> _changes;
};
