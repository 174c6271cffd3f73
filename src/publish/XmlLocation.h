#pragma once

#include "model/core/XmlBase.h"

#include <QMap>
#include <optional>

// Where and how the site is published: server kind, address, account and
// the settings of the FTP roads. The root of "location.xmlbase". The account
// is kept in plain text in memory and stored enciphered. Its setters only
// store: the publish panel marks the document edited itself.
//
// Each kind of server (.Mac, WebDAV, FTP, SFTP) keeps its own address,
// user, password and port (Account): the fields location, username,
// password and ftpPort hold those of the kind in use, the others are kept
// aside and come back when their kind is chosen again (chooseServerType).
// The file keeps the fields as older releases read them, and after them
// each kept account under names of its own ("locationSFTP", "usernameSFTP",
// "passwordSFTP", "portSFTP"...), so that older files read as they were.
class XmlLocation final : public XmlBase {
public:
    // The kinds of server.
    enum ServerType { MacAccount = 0, WebDAV = 1, LocalFolder = 2, FTPServer = 3 };

    // The address and account typed for one kind of server.
    struct Account {
        QString location;
        QString username;
        QString password;
        QString port;   // FTP and SFTP
        bool isEmpty() const { return location.isEmpty() && username.isEmpty() && password.isEmpty() && port.isEmpty(); }
        bool operator==(const Account&) const = default;
    };

    explicit XmlLocation(Key key);

    static std::shared_ptr<XmlLocation> create();
    // The destination of a new site: a folder of its own, beside the site's
    // document and named after it ("Holiday" for "Holiday.lqxl"; "Holiday 2"
    // when that name is taken), which the first export makes. Stored as a
    // file address, since no folder is there yet to be chosen.
    static std::shared_ptr<XmlLocation> forNewSite(const QString& siteFolder);
    // The folder forNewSite chooses.
    static QString newSiteExportFolder(const QString& siteFolder);
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
    // The plain setters of the type: the fields are then taken as the
    // account of the type set (chooseServerType keeps each kind's).
    void setServerType(int value)
    {
        if (value != _serverType)
            _fieldsKind.reset();
        _serverType = value;
    }
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
    void setFtpType(int value)
    {
        if (value != _ftpType)
            _fieldsKind.reset();
        _ftpType = value;
    }
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

    // --- The account of each kind of server ---------------------------------------
    // The kind of server a server type (with FTP's type) keeps an account
    // for: "Mac", "WebDAV", "FTP" or "SFTP"; "" for a folder or a type this
    // version does not know.
    static QString accountKind(int serverType, int ftpType);
    static const QStringList& accountKinds();
    // The kind whose account the fields hold: the chosen server type's, or,
    // while a folder is chosen, the server's the fields were last typed
    // for ("" when none).
    QString accountKindInUse() const;
    // The account of the kind: the fields for the kind in use, else the one
    // kept aside (empty for a kind never used).
    Account account(const QString& kind) const;
    // Stores the account of a kind (into the fields for the kind in use).
    void keepAccount(const QString& kind, const Account& account);
    // The address a kind shows: its own; for a kind never used, the address
    // in use in the kind's form ("http://host/folder" for WebDAV, the host
    // for FTP and SFTP, the folder for .Mac), with the FTP folder it names
    // when none is set.
    struct Address {
        QString location;
        QString ftpFolder;
    };
    Address addressFor(const QString& kind) const;
    // Chooses the server type and FTP's type. The account in the fields is
    // kept aside for its kind, and the chosen kind's comes back into them.
    // A kind never used starts with the address of the one left, in its
    // own form (addressFor), and no user, password or port: an account
    // never goes to a server it was not typed for. A folder changes no field.
    void chooseServerType(int serverType, int ftpType);

    // Takes an address typed for WebDAV (or for an FTP server): a user and
    // password in it go to the account, never into the stored address; of
    // a whole address typed for FTP the server stays, and its port and
    // folder go to their fields. False, with the reason, when the address
    // cannot be used; *changed tells whether the destination changed.
    bool takeAddress(const QString& typed, bool webDAV, bool* changed, QString* error);

private:
    Account fields() const { return { _location, _username, _password, _ftpPort }; }
    void setFields(const Account& account);
    // An attribute of a kept account ("portSFTP"); false for another name.
    bool setKeptAttribute(const QString& key, const QString& value);
    void appendKeptAccounts(QString& xml);
    // The address as it is stored: never a user or password (those of the
    // address go to `account` when it has none).
    static QString storedAddress(const QString& kind, const QString& address, Account* account);

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
    // The accounts of the kinds not in use, by kind.
    QMap<QString, Account> _kept;
    // The kind the fields hold, once chosen; before, it follows the server type.
    std::optional<QString> _fieldsKind;
};
