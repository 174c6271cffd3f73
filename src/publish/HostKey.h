#pragma once

#include <QByteArray>
#include <QString>

// A server's SSH host key as the user is asked about it: whose it is, its
// type and its fingerprint in the form ssh prints ("ED25519 key fingerprint
// is SHA256:…"), so that it can be compared with what the host publishes.
struct HostKey {
    QString host;       // the server's name or address
    int port = 22;
    QString type;       // "ED25519", "ECDSA", "RSA", "DSA"
    QByteArray blob;    // the key as the server sends it

    // From the transfer tool's "NEWHOSTKEY <type> <hexadecimal blob>" and
    // the server as typed ("host" or "host:port"); an empty key when the
    // words are not of that form.
    static HostKey fromToolWords(const QString& words, const QString& server);
    bool isEmpty() const { return blob.isEmpty(); }
    // "SHA256:" and the base64 of the blob's SHA-256, without padding.
    QString fingerprint() const;
    // The tool's form of the blob, for TRUSTKEY.
    QString toolKey() const { return QString::fromLatin1(blob.toHex()); }
};
