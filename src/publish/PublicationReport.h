#pragma once

#include <QElapsedTimer>
#include <QString>

class XmlBom;

// What a publication did, told in one line when it ended well: "Published 3
// files (5120 bytes) to <destination> in 1.2 s", or that nothing changed.
class PublicationReport {
public:
    // Starts the clock and counts the change set: its additions (with their
    // sizes below the local folder) and removals.
    void begin(XmlBom* bom, const QString& localFolder);
    QString line(const QString& destination) const;

    int files() const { return _files; }
    qint64 bytes() const { return _bytes; }

private:
    QElapsedTimer _clock;
    int _files = 0;
    int _removals = 0;
    qint64 _bytes = 0;
};
