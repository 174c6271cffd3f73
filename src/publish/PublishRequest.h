#pragma once

#include <QString>

class XmlLocation;

// One publication, made from the destination: which road takes it, the
// generated folder it sends, and what the road needs to reach the place.
struct PublishRequest {
    // The ways a site reaches its destination.
    enum class Road { None, WebDAV, FTP, Folder };

    Road road = Road::None;
    QString pathName;          // the generated folder, "<site folder>/homepage"
    bool changesOnly = true;   // false: every generated file, nothing removed
    // WebDAV (and .Mac).
    QString baseURL;           // the WebDAV base address
    QString passPhrase;        // "user:password"
    QString openURL;           // opened after success when the browser preference is set; may be ""
    int digest = 0;            // 1: digest authentication
    // FTP and SFTP take their settings from the destination (not owned).
    XmlLocation* location = nullptr;
    // A folder destination: the folder the site is copied into.
    QString folder;
    // Why the destination cannot be used ("" when it can), with the title of
    // the alert that says so.
    QString errorTitle;
    QString error;
    // Making the request moved an account typed into the address to its
    // own fields: the destination changed.
    bool destinationChanged = false;

    bool isValid() const { return road != Road::None && error.isEmpty(); }

    // The request for the destination as stored: the road its server type
    // takes and the addresses and account of that road (an account typed
    // into the address is first taken out of it). A destination that
    // cannot be used gives the reason.
    static PublishRequest fromLocation(XmlLocation& where, const QString& pathName, bool changesOnly);
};
