#pragma once

#include "publish/FileFailure.h"

#include <QString>

struct HostKey;

namespace lq {

// What one request to a server came back with, as the transfer tools tell
// it: libcurl's result, the server's reply and its own words.
struct TransferOutcome {
    enum class Protocol { WebDAV, FTP, SFTP };
    // What the request was for.
    enum class Operation { Connect, Send, Remove, MakeFolder };

    Protocol protocol = Protocol::WebDAV;
    Operation operation = Operation::Send;
    int curlCode = 0;      // libcurl's result; 0 when the request itself went through
    int reply = 0;         // the HTTP status, FTP reply code or SFTP status; 0 for none
    QString words;         // the server's own words, else libcurl's
    QString file;          // the file or folder below the site the request was for ("" for none)
    QString host;          // the server as typed ("host" or "host:port")
    QString knownHosts;    // SFTP: the file that keeps the servers' host keys
    bool keptCopy = false;       // a send: the server keeps the copy it had, should this one fail
    bool usedDigest = false;     // WebDAV: the request used Digest authentication
    QString offeredAuth;         // WebDAV: the schemes a 401 reply offered ("Basic Digest")
};

// How to tell the user about an outcome, and what it means for the run.
struct TransferMessage {
    QString text;            // what happened, which file, what the server said
    bool endsRun = true;     // false: only this file failed, the others go on
    bool retryHelps = true;  // Retry may go through with the settings as they are
};

// The one table from libcurl's codes, HTTP statuses, FTP replies and SFTP
// statuses to what the user reads. Texts come from the string table
// (keys "Transfer..."), with "{file}", "{host}", "{words}", "{reply}" and
// "{knownHosts}" filled in; the server's words follow every text that does
// not quote them, and a reply the table does not know still names the file
// and quotes the server.
TransferMessage describeTransfer(const TransferOutcome& outcome);

// The user did not trust a server's new host key: nothing was sent.
QString untrustedHostKeyMessage(const HostKey& key);
// The question to the user about a server's new host key: its title and its text.
QString hostKeyQuestionTitle(const HostKey& key);
QString hostKeyQuestion(const HostKey& key);
// An SFTP status (SSH_FX_*) in words ("permission denied"); "" for one unknown.
QString sftpStatusWords(int status);

// A file the listing of the generated folder could not take, and why.
QString unreadFileMessage(const FileFailure& unread);
// A file the copy into a destination folder could not make (its why is
// the file system's).
QString copyFailureMessage(const FileFailure& failed);
// A file whose name the protocol ("FTP") cannot carry: it holds a line break.
QString uncarriedNameMessage(const QString& file, const QString& protocol);
// A file the server said it stored, and that reading it back found
// otherwise, as the transfer tool tells it: "none" (nothing under its name),
// "elsewhere <name>" (a name like it instead, URL-escaped) or "<n> bytes"
// (its name holds that many).
QString unconfirmedSendMessage(const QString& file, const QString& found);
// The second status line after a run in which some files failed: how many,
// and the first reasons.
QString failureSummary(const FileFailures& failures);

// A text of the string table with its fields filled in, in one pass (a
// value holding "{file}" stays as it is).
QString filledText(const QString& key, const QList<std::pair<QString, QString>>& fields);

} // namespace lq
