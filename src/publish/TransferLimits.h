#pragma once

// Bounds on what a publication waits for and takes from a server: a server
// that stops answering, answers a byte at a time or lists without end must
// not hold the uploader or fill the memory. The values are settings (see
// UserPreferences); the defaults leave room for any real site and line.

#include <QHash>
#include <QStringList>
#include <QtGlobal>

namespace lq {

struct TransferLimits {
    // A transfer that moves no byte for this long has stalled and ends.
    int stallSeconds = 60;
    // The whole of one request may take this long, and in addition the time
    // its body needs at the slowest rate below.
    int baseSeconds = 120;
    qint64 slowestBytesPerSecond = 4 * 1024;
    // A folder listing is read up to this many bytes and names.
    qint64 listingBytes = 8 * 1024 * 1024;
    int listingNames = 100000;

    // The longest time one request with a body of the size may take.
    int wholeSeconds(qint64 bytes) const;
    // The bounds as the request tool "curl" takes them: "-y<stall>" and
    // "-m<whole>" for a body of the size.
    QStringList requestArguments(qint64 bytes) const;
    // The bounds as the transfer tool ("FTP", "SFTP") reads them from its
    // environment.
    QHash<QString, QString> toolEnvironment() const;
};

// The bounds in force.
const TransferLimits& transferLimits();
void setTransferLimits(const TransferLimits& limits);

} // namespace lq
