#pragma once

#include "model/core/XmlBase.h"

// Where and how the site is published: server kind, address, account and
// the settings of the FTP roads. The root of "location.xmlbase". The account
// is kept in plain text in memory and stored enciphered. Its setters only
// store: the publish panel marks the document edited itself.
class XmlLocation final : public XmlBase {
public:
    // The kinds of server.
    enum ServerType { MacAccount = 0, WebDAV = 1, LocalFolder = 2, FTPServer = 3 };

    explicit XmlLocation(Key key);

    static std::shared_ptr<XmlLocation> create();
    static XmlLocation* cast(XmlBase* object) { return dynamic_cast<XmlLocation*>(object); }

    QString elementName() const override;
    // Never a parent.
    bool canYouBeMyParent(XmlBase* child) override;
    // The integers (text that is no number gives 0), the texts, and the
    // account through its stored form; the rest goes to the base.
    void setAttributeTo(const QString& key, const QString& value) override;
    // The base's, then location, username, password, serverType, exportType,
    // exportFolder, digest, ftpApp, ftpType, ftpPort, ftpDefault, ftpFolder;
    // the texts escaped, the account in its stored form.
    void appendAttributes(QString& xml) override;

    int serverType() const { return _serverType; }
    void setServerType(int value) { _serverType = value; }
    // 1: send only what changed since the last publication.
    int exportType() const { return _exportType; }
    void setExportType(int value) { _exportType = value; }
    const QString& location() const { return _location; }
    void setLocation(const QString& value) { _location = value; }
    const QString& username() const { return _username; }
    void setUsername(const QString& value) { _username = value; }
    const QString& password() const { return _password; }
    void setPassword(const QString& value) { _password = value; }
    // The user's home folder while none is set.
    QString exportFolder() const;
    void setExportFolder(const QString& value) { _exportFolder = value; }
    int digest() const { return _digest; }
    void setDigest(int value) { _digest = value; }
    // 0 Transmit, 1 Cyberduck.
    int ftpApp() const { return _ftpApp; }
    void setFtpApp(int value) { _ftpApp = value; }
    // 0 FTP, any other value SFTP.
    int ftpType() const { return _ftpType; }
    void setFtpType(int value) { _ftpType = value; }
    const QString& ftpPort() const { return _ftpPort; }
    void setFtpPort(const QString& value) { _ftpPort = value; }
    int ftpDefault() const { return _ftpDefault; }
    void setFtpDefault(int value) { _ftpDefault = value; }
    const QString& ftpFolder() const { return _ftpFolder; }
    void setFtpFolder(const QString& value) { _ftpFolder = value; }
    // The port the FTP client application is given: "21" with the default
    // port chosen or no port typed, else the typed one.
    QString effectiveFtpPort() const;
    // The server the FTP and SFTP tools connect to: the server as typed,
    // followed by ":" and the port typed in the Port field unless the
    // default port is chosen or the server already names its port.
    QString transferHost() const;

    // The stored forms of the account, and their readers (text that does
    // not decode gives the empty text).
    QString encodedUsername() const;
    QString encodedPassword() const;
    void setEncodedUsername(const QString& stored);
    void setEncodedPassword(const QString& stored);

    // The address where the published site can be seen, as its server type
    // tells (ServerKind): for a .Mac account with a user name its home page
    // (with the location as a folder), for a WebDAV server the location; ""
    // otherwise.
    QString baseURL() const;
    // The address of the .Mac home pages that baseURL uses ("http://" and
    // the configured host); "" while no host is set.
    static QString macHomePageHost();

    // Takes an address typed for WebDAV (or for an FTP server): a user and
    // password in it go to the account, never into the stored address; of
    // a whole address typed for FTP the server stays, and its port and
    // folder go to their fields. False, with the reason, when the address
    // cannot be used; *changed tells whether the destination changed.
    bool takeAddress(const QString& typed, bool webDAV, bool* changed, QString* error);

private:
    int _serverType = 0;
    int _exportType = 0;
    QString _location = QStringLiteral("");
    QString _username = QStringLiteral("");
    QString _password = QStringLiteral("");
    QString _exportFolder = QStringLiteral("");
    int _digest = 0;
    int _ftpApp = 0;
    int _ftpType = 0;
    QString _ftpPort = QStringLiteral("");
    int _ftpDefault = 0;
    QString _ftpFolder = QStringLiteral("");
};
