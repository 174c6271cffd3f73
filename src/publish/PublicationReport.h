#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QStringList>

class XmlBom;

// What a publication did, told in one line when it ended well, for the
// Activity log and the panel: "Published 3 files (5120 bytes) to
// <destination> and removed 2 files there in 1.2 s", or that nothing
// changed; and file by file, for the panel's details.
class PublicationReport {
public:
    // Starts the clock and counts the change set: its additions (with their
    // sizes below the local folder) and removals.
    void begin(XmlBom* bom, const QString& localFolder);
    QString line(const QString& destination) const;
    // The files sent and removed, one line each ("sent pictures/a.jpg
    // (5120 bytes)", "removed old.html").
    const QStringList& fileLines() const { return _fileLines; }

    int files() const { return _files; }
    int removals() const { return _removals; }
    qint64 bytes() const { return _bytes; }

private:
    QElapsedTimer _clock;
    int _files = 0;
    int _removals = 0;
    qint64 _bytes = 0;
    QStringList _fileLines;
};
