#pragma once

#include <QString>

// A destination's address as the user typed it into the publish panel: a
// WebDAV address ("https://host:8080/folder", or without its scheme), or an
// FTP or SFTP server ("host", "host:2121", "[::1]:21", or a whole address
// whose host, port and path are taken). A user and password found in it
// are taken out: the address it answers never holds them, since addresses
// end up on command lines that every local user can read.
class PublishAddress {
public:
    // "http://" or "https://" and a server; "ftp://" and "sftp://" are
    // refused with a reason that names the FTP server type.
    static PublishAddress fromWebDAV(const QString& typed);
    // A host with its port; a whole address ("ftp://host:2121/folder") gives
    // its host, port and folder.
    static PublishAddress fromFtpHost(const QString& typed);
    // A WebDAV address of an FTP or SFTP server: "http://host/" and the folder.
    static QString webDAVOfFtp(const QString& ftpHost, const QString& folder);
    // An address with whatever stands before "@" in its server part taken out.
    static QString withoutCredentials(const QString& address);
    // The address with its scheme as the user meant it: "http:/host",
    // "http:host" and "http:\\host" are "http://host" (for http, https,
    // ftp, ftps and sftp).
    static QString asMeant(const QString& typed);
    // Why a port typed into a field cannot be used ("" when it can: a
    // number from 1 to 65535, spaces around it aside).
    static QString portRefusal(const QString& typed);

    // Why the typed text cannot be used; "" when it can.
    const QString& error() const { return _error; }
    bool isValid() const { return _error.isEmpty(); }

    // The WebDAV address: scheme, host, port and path, escaped, with no
    // trailing "/" after the path and never a user or password.
    const QString& webDAVAddress() const { return _webDAV; }
    // The server's name as a host field shows it: IPv6 addresses in brackets, no port.
    const QString& host() const { return _host; }
    // The port that was typed; -1 when none.
    int port() const { return _port; }
    // The path below the server, without its leading and trailing "/", unescaped.
    const QString& folder() const { return _folder; }

    // The user and password typed into the address, unescaped.
    bool hasCredentials() const { return _hasCredentials; }
    const QString& user() const { return _user; }
    const QString& password() const { return _password; }

private:
    static QString shown(const QString& typed);

    QString _error;
    QString _webDAV;
    QString _host;
    int _port = -1;
    QString _folder;
    bool _hasCredentials = false;
    QString _user;
    QString _password;
};
