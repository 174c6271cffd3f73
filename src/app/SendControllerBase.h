#pragma once
#include <QString>

class XmlLocation;

// What the publish panel asks of the uploader panel. The panel prepares the
// destination (addresses, account) and says whether only the changes since
// the last publication are sent; the uploader lists the generated folder,
// compares it with the last published tree, transfers, shows its progress
// with Cancel and Retry, and stores "lastbom.xmlbase" as it ends.
class SendControllerBase {
public:
    struct Request {
        int serverType = 0;
        QString baseURL;      // WebDAV base address
        QString pathName;     // "<site folder>/homepage"
        QString passPhrase;   // "user:password"
        QString openURL;      // opened after success when the browser preference is set; may be ""
        int digest = 0;       // 1: digest authentication
        bool changesOnly = true;   // false: every generated file, nothing removed
    };

    virtual ~SendControllerBase() = default;
    // A publication started from the panel (the uploader panel opens).
    virtual void startSending(const Request& request) = 0;
    // The changes only, the uploader panel already showing (Retry, sendChanges).
    virtual void sendBom(const Request& request) = 0;
    // The FTP and SFTP roads take their settings from the destination.
    virtual void sendFTPBom(XmlLocation* location, const QString& pathName, bool changesOnly) = 0;
    // Logs in with the destination's settings and reports the outcome.
    virtual void ftpTestExport(XmlLocation* location, const QString& pathName) = 0;
    // Tests a WebDAV address and account (the request's base address and pass phrase).
    virtual void webDAVTest(const Request& request) = 0;
    // Copies the generated folder into a local folder (additions copied,
    // removals deleted) and stores the last published tree.
    virtual void exportToFolder(const QString& pathName, const QString& folder, bool changesOnly) = 0;
    // The document's Publish once the site was published before: the
    // changes since then go to the stored destination with its settings (a
    // folder destination opens the publish panel instead).
    virtual void sendChanges() = 0;
};
