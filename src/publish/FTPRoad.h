#pragma once

#include "publish/LeftoverTemporaries.h"
#include "publish/UploadRoad.h"

#include <QList>
#include <QSet>
#include <QStringList>

struct HostKey;
class XmlBom;
class XmlLocation;
struct DigestEntry;

// The FTP and SFTP road: one "FTP" or "SFTP" tool driven through a line
// protocol, one command at a time. Local records between the commands keep
// the record of what the tool confirmed, so an interrupted publication is
// stored as far as it got and Retry sends only the rest. Also tests a
// connection.
class FTPRoad final : public UploadRoad {
public:
    explicit FTPRoad(UploadPanel& panel);

    // Publishes the change set to the request's destination (its server
    // settings); the current tree is stored after success, the last
    // published one (what the server held before) seeds the partial tree.
    void send(const PublishRequest& request, const ChangeSet& changes) override;
    // Connects with the destination's settings and lists its base folder.
    void test(const PublishRequest& request) override;
    // The Retry button: stops the tool and asks for the changes to be
    // published again.
    void retryFTP();
    void cancel() override;

    static QString ftpStripVornSlashes(const QString& folder);

private:
    struct ToolTask {
        QString module;
        QString toolPath;
        QString rootPath;
        QStringList commands;
    };
    bool ftpCreateTask(const QString& module, const QString& folder, QString* why);
    // Queues the connection's commands; "" when done, else why a value
    // cannot be sent (nothing is queued then).
    QString ftpCommonCommands(XmlLocation* location);
    // Why the entry cannot go over this road (a name that leads out of the
    // folder, a line end over FTP), or "" when it can.
    QString refusalOf(const DigestEntry& entry) const;
    // Queues the commands and records for each file of a removal or addition tree.
    void ftpAddFiles(XmlD* tree, bool removals);
    // Queues the removal of the temporary files an earlier run left at the
    // destination; a name the site's trees hold is the site's file by now,
    // and leaves the record instead.
    void ftpAddLeftovers(const ChangeSet& changes);
    // Writes the record of temporary files left on the server.
    void keepLeftovers();
    void ftpLaunchTask();
    void ftpTaskCompleted(const lq::ProcessResult& result);
    void ftpHandleReturnedData(const QByteArray& bytes);
    void ftpProcessLine(const QString& line);
    void ftpDoCommand();
    // A "-ERR" answer: one file failed (the run goes on), or the run ends.
    void ftpProcessFailure(const QString& answer);
    void ftpProcessError(const QString& message, bool retryHelps = true);
    // The server's host key is not known yet: the user is asked whether to
    // trust it; yes stores it and connects, no ends the run with nothing sent.
    void askAboutHostKey(const HostKey& key);
    void ftpEndRoad();
    void ftpFail(const QString& message);

    bool ftpTest = false;
    // Whether this road owns the panel.
    bool ftpSend2 = false;
    QList<ToolTask> tasksToDo;
    QByteArray _incomingString;
    bool _quitSent = false;
    bool _quitConfirmed = false;
    QString lastStatus2;
    // The base folder as a connection test names it.
    QString _baseFolder;
    // Where the publication goes, as its closing line names it.
    QString _destination;
    // The server as typed, and whether it is reached over SFTP.
    QString _host;
    bool _sftp = false;
    // The temporary files the tool made and never said were gone, and the
    // destination they are kept under (protocol, account, server, folder).
    LeftoverTemporaries _leftovers;
    QString _leftoverPlace;
    // The command the tool answers next, and the plain path of its file.
    QString _pendingVerb;
    QString _pendingPath;
    // The files the last publication left on the server.
    QSet<QString> _heldBefore;
    // Counts runs, so that a question answered after its run ended is dropped.
    quint64 _runs = 0;
};
