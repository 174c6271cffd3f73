#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class DocumentBase;
class XmlBom;
class XmlD;
class XmlLocation;
namespace lq {
class ChildProcess;
struct ProcessResult;
}

// The uploader: runs one publication at a time as a series of helper-tool
// runs and keeps what its panel shows (title, two status lines, progress,
// Retry, the debug log). Three roads: WebDAV (one "curl" run per request),
// FTP and SFTP (one "FTP" or "SFTP" tool driven line by line), and the
// upload script of an FTP client application. The panel widgets only show
// these values and call cancel and retryFTP.
class SendController : public QObject {
    Q_OBJECT
public:
    explicit SendController(DocumentBase* document, QObject* parent = nullptr);
    ~SendController() override;

    // One request of the WebDAV work list.
    struct SendItem {
        QString function;   // "verify", "mkloc", "remove" or "send"
        QString location;   // remote address
        QString pathName;   // local file ("send")
        QString passphrase; // "user:password"
        int digest = 0;     // non-zero: digest authentication
        QString status;     // shown in the second status line while it runs
        QString relativePath; // the file's path below the site folder ("remove", "send")
        QString md5;          // its digest in the change set
    };

    // The WebDAV base address of a location as typed: an explicit "http://"
    // or "https://" stays, anything else is a host (and path) reached over
    // "http://".
    static QString webDAVAddress(const QString& location);

    // The change set of a publication: the generated folder listed anew
    // against the stored tree (everything: against nothing, and nothing is
    // removed). A listing that fails gives nothing and the reason: taking it
    // as an empty site would delete every published file.
    static std::shared_ptr<XmlBom> changesToPublish(DocumentBase* document, bool everything,
        std::shared_ptr<XmlD>* current, std::shared_ptr<XmlD>* last, QString* error);
    // Shows that a publication could not start (the panel waits for Cancel).
    void showStartError(const QString& message);

    // --- WebDAV ---------------------------------------------------------------
    void startSendingLocationPathNamePassPhraseLastXmlDOpenURLDigest(XmlBom* bom, const QString& location,
        const QString& pathName, const QString& passPhrase, std::shared_ptr<XmlD> lastXmlD, const QString& openURL, int digest);
    void sendBomLocationPathNamePassPhraseLastXmlDOpenURLDigest(XmlBom* bom, const QString& location,
        const QString& pathName, const QString& passPhrase, std::shared_ptr<XmlD> lastXmlD, const QString& openURL, int digest);

    // --- FTP and SFTP ----------------------------------------------------------
    // Publishes the change set; lastXmlD is stored after success, currentXmlD
    // (what the server held before) seeds the partial tree.
    void sendFTPBomLocationPathNameLastXmlDCurrentXmlD(XmlBom* bom, XmlLocation* location, const QString& pathName,
        std::shared_ptr<XmlD> lastXmlD, std::shared_ptr<XmlD> currentXmlD);
    void ftpTestExportPathName(XmlLocation* location, const QString& pathName);
    // The Retry button: stops the tool and asks for the changes to be
    // published again (the retry handler lists and compares anew).
    void retryFTP();
    static QString ftpStripVornSlashes(const QString& folder);

    // --- Upload script ---------------------------------------------------------
    // Running an upload script needs a scripting bridge this system lacks:
    // the panel says so and nothing is sent.
    void sendFTP(const QString& scriptPath);

    // The Cancel (or Close) button.
    void cancel();
    bool isRunning() const { return _sending; }
    bool debugSend() const { return _debugSend; }
    void debugSetState(bool open);

    // Called for Retry to publish the changes again (the publish panel's
    // exportChanges2).
    void setRetryHandler(std::function<void()> handler) { _retryHandler = std::move(handler); }

    // --- What the panel shows ---------------------------------------------------
    const QString& title() const { return _title; }
    const QString& cancelTitle() const { return _cancelTitle; }
    const QString& status1() const { return _status1; }
    const QString& status2() const { return _status2; }
    int progress() const { return _progress; }
    bool progressIndeterminate() const { return _indeterminate; }
    bool retryVisible() const { return _retryVisible; }
    bool panelVisible() const { return _panelVisible; }
    bool debugOpen() const { return _debugOpen; }
    const QString& debugLog() const { return _debugOut; }
    // Whether the last upload ended with an error (or was cancelled).
    bool taskError() const { return _taskError; }
    const QList<SendItem>& sendItems() const { return _sendItems; }

Q_SIGNALS:
    // Anything the panel shows changed.
    void changed();
    // The publication ended: the panel was hidden (after success or Cancel)
    // or an error is shown.
    void finished();

private:
    void setStatus(const QString& first, const QString& second);
    void setProgress(int value, bool indeterminate);
    void setPanelVisible(bool visible);
    void setTesting(bool testing);
    void ftpDebug(const QString& text);
    void activity(const QString& line);

    // WebDAV
    void addRemoveItems(XmlD* tree, const QString& location, const QString& relative, const QString& passPhrase, int digest);
    void addSendItems(XmlD* tree, const QString& location, const QString& local, const QString& relative,
        const QString& passPhrase, int digest);
    void doCurlFunction();
    void taskCompleted(const lq::ProcessResult& result);
    void endWebDAV();
    void webDAVError(int status);

    // FTP
    struct ToolTask {
        QString module;
        QString toolPath;
        QString rootPath;
        QStringList commands;
    };
    bool ftpCreateTask(const QString& module, const QString& folder, QString* why);
    void ftpCommonCommands(XmlLocation* location);
    void ftpAddRemoveFiles(XmlD* tree, const QString& path, const QString& plain);
    void ftpAddSendFiles(XmlD* tree, const QString& path, const QString& plain);
    void ftpLaunchTask();
    void ftpTaskCompleted(const lq::ProcessResult& result);
    void ftpHandleReturnedData(const QByteArray& bytes);
    void ftpProcessLine(const QString& line);
    void ftpDoCommand();
    void ftpProcessError(const QString& message);
    void ftpEndRoad();
    void ftpFail(const QString& message);
    void stopTool();
    // Runs the step on the event loop, after the handler that asks for it.
    void later(std::function<void()> step);

    DocumentBase* _document;
    std::function<void()> _retryHandler;

    QString _title = QStringLiteral("Sending Files");
    QString _cancelTitle = QStringLiteral("Cancel");
    QString _status1;
    QString _status2;
    int _progress = 0;
    bool _indeterminate = true;
    bool _retryVisible = false;
    bool _panelVisible = false;
    bool _debugOpen = false;
    QString _debugOut;

    QList<SendItem> _sendItems;
    int removeDone = 0;
    int removeTotal = 0;
    int sendDone = 0;
    int sendTotal = 0;
    bool cancelpressed = false;
    bool _taskError = false;
    // WebDAV requests that failed without ending the upload: the stored
    // tree must not claim them.
    QList<SendItem> _failedItems;
    std::unique_ptr<lq::ChildProcess> task;
    // Stopped tools, destroyed on the next start (never inside their own handlers).
    std::vector<std::unique_ptr<lq::ChildProcess>> _retired;
    std::shared_ptr<XmlD> lastxmld;
    std::shared_ptr<XmlD> partialxmld;
    QString exportsDir;
    bool _sending = false;
    QString _openURL;
    bool _debugSend = false;
    QString _errorString;
    bool ftpSend = false;
    bool ftpSend2 = false;
    bool ftpTest = false;

    QList<ToolTask> tasksToDo;
    QByteArray _incomingString;
    bool _quitSent = false;
    bool _quitConfirmed = false;
    QString lastStatus2;
    // Counts tool runs, so that the end of a stopped run is told from the current one.
    quint64 _runNumber = 0;
};
