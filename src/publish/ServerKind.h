#pragma once

#include "publish/PublishRequest.h"

#include <QString>

class XmlLocation;

// What differs between the kinds of server a site publishes to, kept in
// one table beside the request (the one place a server type is looked at):
// the tab and title the publish panel shows for it, the road it takes and
// how its address is typed, what its tab stores of the destination, how
// the request gets its addresses, the text that tells one destination of
// the kind from another, and where the published site can be seen.
struct ServerKind {
    // How the destination's address is typed.
    enum class AddressForm { None, MacFolder, WebDAV, FtpHost };
    // What the kind's tab stores of the destination, beyond the type and the send choice.
    enum Field : int {
        Account = 1,           // user and password
        Address = 2,           // the address field
        Digest = 4,            // WebDAV digest authentication
        FtpSettings = 8,       // FTP or SFTP, port, default port, folder on the server
        ExportFolder = 16,     // the folder browser's folder
        UserWithoutDomain = 32 // "ann@mac.com" is stored as "ann"
    };

    int type;           // XmlLocation::ServerType; -1: a type this version does not know
    const char* tab;    // the publish panel's tab ("" for none)
    const char* title;  // the kind's name in the server type pop-up
    PublishRequest::Road road;
    AddressForm form;
    int fields;
    // Offered only to a site that publishes there already.
    bool retired;
    // Gives the request its addresses and account, or the reason the destination cannot be used.
    void (*fillRequest)(XmlLocation& where, PublishRequest& request);
    // The place the destination names (server and folder), as one text.
    QString (*place)(const XmlLocation& where);
    // Where the published site can be seen; "" when it cannot be told.
    QString (*siteAddress)(const XmlLocation& where);

    bool stores(Field field) const { return (fields & field) != 0; }
    // Whether a connection to it can be tested (a folder has none).
    bool testable() const { return road == PublishRequest::Road::WebDAV || road == PublishRequest::Road::FTP; }

    // The kind of a server type; an unknown type gives a kind that refuses to publish.
    static const ServerKind& of(int type);
    // The kind whose tab this is; none for another tab.
    static const ServerKind* withTab(const QString& tab);
    // The kinds the panel offers, in the order of their types.
    static int count();
    static const ServerKind& at(int index);
};
