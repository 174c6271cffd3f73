#pragma once

#include "publish/ChangeSet.h"
#include "publish/FileFailure.h"
#include "publish/PublicationReport.h"
#include "publish/PublishRequest.h"

#include <QObject>
#include <QSet>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class DocumentBase;
struct HostKey;
class XmlD;
namespace lq {
class ChildProcess;
struct ProcessResult;
}

// What a road shows on the uploader's panel and reaches of the document.
// The uploader (SendController) keeps these values and tells its observers.
class UploadPanel {
public:
    virtual ~UploadPanel() = default;

    virtual DocumentBase* document() const = 0;
    virtual const QString& status1() const = 0;
    virtual const QString& status2() const = 0;
    virtual int progress() const = 0;
    virtual bool taskError() const = 0;

    virtual void setStatus(const QString& first, const QString& second) = 0;
    virtual void setProgress(int value, bool indeterminate) = 0;
    virtual void setPanelVisible(bool visible) = 0;
    virtual void setRetryVisible(bool visible) = 0;
    // A run starts: a connection test is titled "Testing <protocol>
    // Connection", a publication "Sending Files".
    virtual void setTesting(bool testing, const QString& protocol) = 0;
    virtual void debugSetState(bool open) = 0;
    virtual void clearDebugLog() = 0;
    // A readable line for the Activity log.
    virtual void activity(const QString& line) = 0;
    // A line of the tools' own talk, for the debug log only.
    virtual void debug(const QString& line) = 0;
    // Whether a publication or test is under way.
    virtual void setSending(bool sending) = 0;
    // The run ended with an error (or was cancelled): nothing more runs.
    virtual void setTaskError(bool error) = 0;
    // The run is over: the panel was hidden, or it shows how it ended.
    virtual void finished() = 0;
    // The publication went through: its one line (the report's, for the
    // destination) goes to the Activity log and stays on the panel, with
    // "Open in browser" when there is an address; the files it sent and
    // removed go to the panel's details.
    virtual void showResult(const PublicationReport& report, const QString& destination, const QString& address) = 0;
    // Cancel stopped a publication under way: its line (what arrived, and
    // that nothing more went) goes to the Activity log and stays on the
    // panel until Close.
    virtual void showCancelled(const QString& line) = 0;
    // Retry was pressed: the changes are listed and published again.
    virtual void retry() = 0;
    // The run could not start: the message in the Activity log and on the
    // panel, which waits for Cancel.
    virtual void showStartError(const QString& message) = 0;
    // One file did not arrive (or was not removed); the run goes on. The
    // reason goes to the Activity log and with the run's ending.
    virtual void fileFailed(const FileFailure& failure) = 0;
    // A server's host key is not known yet: whether the user trusts it.
    virtual bool trustHostKey(const HostKey& key) = 0;
};

// One way of publishing a change set (WebDAV, FTP and SFTP, a folder): every
// road takes the same request and tells the uploader's panel, and through it
// the publication's observers (PublishObserver), how its run goes. The base
// keeps what every road shares: the running tool, the progress counters and
// the trees to store as the last published one.
class UploadRoad : public QObject {
public:
    explicit UploadRoad(UploadPanel& panel);
    ~UploadRoad() override;

    // Publishes the change set to the request's destination.
    virtual void send(const PublishRequest& request, const ChangeSet& changes) = 0;
    // Whether the road has a connection to test.
    virtual bool canTest() const { return true; }
    // Tests the request's connection (when canTest).
    virtual void test(const PublishRequest& request) = 0;
    // The Cancel (or Close) button while this road runs.
    virtual void cancel() = 0;
    // Stops the tool without a word: another road takes the panel.
    void abandon() { stopTool(); }

protected:
    // Starts the helper tool; its handlers are called only while it is the
    // current run, on the event loop. Answers whether it started.
    bool startTool(const QString& program, const QStringList& arguments, const QString& workingFolder,
        const QHash<QString, QString>& environment, std::function<void(const QByteArray&)> output,
        std::function<void(const QByteArray&)> error, std::function<void(const lq::ProcessResult&)> ended);
    bool writeToTool(const QByteArray& bytes);
    void closeToolInput();
    // Stops the running tool; its handlers are not called any more.
    void stopTool();
    // Runs the step on the event loop, after the handler that asks for it.
    void later(std::function<void()> step);

    // "<n> file(s) left" with the progress of that kind (removals or sends).
    void showFilesLeft(bool removals, const QString& second);
    void countDone(bool removals);
    // Also forgets the failed files of an earlier run.
    void resetCounters();

    // The failure pattern every road shows: the message in the Activity log
    // and the second status line, the run stopped, the panel open.
    void showFailure(const QString& headline, const QString& message);

    // Stores the tree as the last published one.
    void store(XmlD* tree);

    // One file of the run did not arrive or was not removed: the panel is
    // told, and the stored tree will be the record of what arrived.
    void fileFailed(const QString& path, const QString& why);
    // The files the listing of the generated folder could not take.
    void reportListingFailures(const XmlD* current);
    // The files of this run that failed.
    const FileFailures& failures() const { return _failures; }
    // "The publication stopped" (or with Retry) once the run went through the
    // rest: one line says what arrived at the destination and which files
    // failed, with the first reasons; the run is over.
    void showFileFailures(const QString& headline, const QString& destination);

    // The record of what the server holds, as far as it confirmed: it starts
    // as the last published tree; a file leaves it when its transfer starts
    // and comes back with its new digest when the server confirmed it, so
    // an interrupted file is never believed to be there; a removed file
    // leaves it when the server confirmed the removal.
    void beginRecord(std::shared_ptr<XmlD> lastPublished);
    // The file may not be there any more: its transfer started, or its removal was confirmed.
    void recordAbsent(const QString& path);
    void recordSent(const QString& path, const QString& md5);
    // The server confirmed the removal of the file.
    void recordRemoved(const QString& path);
    // Stores the record as the last published tree when a transfer changed
    // it (after an error or Cancel); forgets it.
    void storeRecord();
    void forgetRecord();
    // Cancel ends the run: a publication under way says what arrived at the
    // destination before it (the files in the details) and stays on the
    // panel; anything else (a test, a run that had ended) is put away.
    void endCancelled(bool publication, const QString& destination);

    UploadPanel& _panel;
    // What the publication sends, for the line that ends it.
    PublicationReport _report;
    int removeDone = 0;
    int removeTotal = 0;
    int sendDone = 0;
    int sendTotal = 0;
    bool cancelpressed = false;
    // The tree stored as the last published one when everything went through.
    std::shared_ptr<XmlD> lastxmld;

private:
    FileFailures _failures;
    std::shared_ptr<XmlD> _record;
    bool _recordChanged = false;
    // What the server confirmed in this run, for the line of a Cancel.
    QSet<QString> _sent;
    QSet<QString> _removed;
    std::unique_ptr<lq::ChildProcess> task;
    // Stopped tools, destroyed on the next start (never inside their own handlers).
    std::vector<std::unique_ptr<lq::ChildProcess>> _retired;
    // Counts tool runs, so that the end of a stopped run is told from the current one.
    quint64 _runNumber = 0;
};
