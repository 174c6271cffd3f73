#pragma once

#include "publish/TransferMessages.h"
#include "publish/UploadRoad.h"

#include <QList>

class XmlBom;
struct DigestEntry;

// The WebDAV road (.Mac and WebDAV destinations): every change becomes one
// item of a work list and every item one run of the "curl" tool. A missing
// folder is made after its parent was verified. The current tree is stored
// when the list ran through; after a failure or Cancel, the record of what
// the server confirmed.
class WebDAVRoad final : public UploadRoad {
public:
    explicit WebDAVRoad(UploadPanel& panel);

    // One request of the work list.
    struct SendItem {
        QString function;     // "verify", "mkloc", "remove" or "send"
        QString location;     // remote address
        QString pathName;     // local file ("send")
        QString passphrase;   // "user:password"
        int digest = 0;       // non-zero: digest authentication
        QString status;       // shown in the second status line while it runs
        QString relativePath; // the path below the site folder of the file, or of the folder ("" for the site's own)
        QString md5;          // its digest in the change set
    };

    // The WebDAV base address of a location as typed: an explicit "http://"
    // or "https://" stays, anything else is a host (and path) reached over
    // "http://". Never a user or password; "" for an address that cannot
    // be used (PublishAddress tells why).
    static QString webDAVAddress(const QString& location);

    // Sends the change set to the request's base address with its account
    // (and digest authentication when asked); the current tree is stored
    // when everything went through.
    void send(const PublishRequest& request, const ChangeSet& changes) override;
    // Tests the address and account: PROPFIND of the folder, or of the
    // folders above it while it is missing (the first publication makes it).
    void test(const PublishRequest& request) override;
    void cancel() override;

private:
    // The "user:password" as the fields give it, less the line breaks a
    // paste leaves at the end of either.
    static QString takenPassPhrase(const QString& passPhrase);
    // "" when the account can go to the request tool, else why not.
    static QString passPhraseRefusal(const QString& passPhrase);
    // Whether the entry's path holds a name that is not safe; such an entry
    // is never sent or removed and counts as failed.
    bool refusedPath(const DigestEntry& entry);
    void addRemoveItems(XmlD* tree, const QString& location, const QString& passPhrase, int digest);
    void addSendItems(XmlD* tree, const QString& location, const QString& local, const QString& passPhrase, int digest);
    void doCurlFunction();
    QStringList curlArguments(const SendItem& item) const;
    void taskCompleted(const lq::ProcessResult& result);
    void endWebDAV();
    // What the request's failure means, from the tool's exit status and
    // what it said on standard error.
    lq::TransferMessage messageFor(const SendItem& item, int status) const;
    void webDAVError(const SendItem& item, int status);
    // A request failed for its file (or folder) only: it, and what lies
    // below a folder, did not arrive; the rest goes on.
    void itemFailed(const SendItem& item, const QString& why);
    void stopWithError(const QString& message);
    void runTest(const QString& address);
    void testCompleted(const QString& address, int status);

    QList<SendItem> _sendItems;
    // What the running request tool says on standard error.
    QString _toolReport;
    QString _openURL;
    // Where the publication goes, as its closing line names it.
    QString _destination;
    // The address a connection test was asked for; "" while publishing.
    QString _testAddress;
    QString _testPassPhrase;
    int _testDigest = 0;
    bool _debugSend = false;
    QString _errorString;
};
