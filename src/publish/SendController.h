#pragma once

#include "publish/PublishObservers.h"
#include "publish/UploadRoad.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class DocumentBase;
class FTPRoad;
class XmlBom;
class XmlD;
class XmlLocation;

// The uploader: runs one publication at a time on one of its roads, keeps
// where it stands (title, two status lines, progress, Retry, the debug log)
// and tells each change to its observers (PublishObserver: the panels, a
// test's recorder). The roads, one for each kind of request
// (PublishRequest::Road), all through UploadRoad: WebDAV (one "curl" run
// per request), FTP and SFTP (one "FTP" or "SFTP" tool driven line by
// line), a folder (a copy). The panel widgets show what they are told and
// call cancel and retryFTP.
class SendController : public QObject, public UploadPanel {
    Q_OBJECT
public:
    explicit SendController(DocumentBase* document, QObject* parent = nullptr);
    ~SendController() override;

    // The change set of a publication: the generated folder listed anew
    // against the stored tree (everything: every file is sent, and only
    // what the stored tree names and the site no longer makes is
    // removed). A listing that fails gives nothing and the reason: taking it
    // as an empty site would delete every published file. A stored tree that
    // was refused counts as none; why goes to the Activity log and *notice.
    static std::shared_ptr<XmlBom> changesToPublish(DocumentBase* document, bool everything,
        std::shared_ptr<XmlD>* current, std::shared_ptr<XmlD>* last, QString* error, QString* notice = nullptr);
    // Who is told how publications go (not owned; each removes itself before it goes).
    void addObserver(PublishObserver* observer) { _observers.add(observer); }
    void removeObserver(PublishObserver* observer) { _observers.remove(observer); }
    const PublishObservers& observers() const { return _observers; }

    // A line the panel shows under the result of the next publication ("" for none).
    void setNotice(const QString& line) { _notice = line; }
    // Shows that a publication could not start (the panel waits for Cancel).
    void showStartError(const QString& message) override;

    // --- The roads -----------------------------------------------------------------
    // The road that takes the kind of request; none for none.
    UploadRoad* roadFor(PublishRequest::Road road) const;
    // Publishes the change set on the request's road, which takes the panel.
    void send(const PublishRequest& request, const ChangeSet& changes);
    // Tests the connection of the request's destination, stopping the run
    // under way; nothing for a road without a connection.
    void test(const PublishRequest& request);
    // The Retry button: stops the tool and asks for the changes to be
    // published again (the retry handler lists and compares anew).
    void retryFTP();

    // The design's names of the WebDAV, FTP and SFTP runs, on send and test.
    void startSendingLocationPathNamePassPhraseLastXmlDOpenURLDigest(XmlBom* bom, const QString& location,
        const QString& pathName, const QString& passPhrase, std::shared_ptr<XmlD> lastXmlD, const QString& openURL, int digest);
    // lastXmlD is stored after success, currentXmlD (what the server held
    // before) seeds the partial tree.
    void sendFTPBomLocationPathNameLastXmlDCurrentXmlD(XmlBom* bom, XmlLocation* location, const QString& pathName,
        std::shared_ptr<XmlD> lastXmlD, std::shared_ptr<XmlD> currentXmlD);
    void ftpTestExportPathName(XmlLocation* location, const QString& pathName);
    void webDAVTestLocationPassPhraseDigest(const QString& location, const QString& passPhrase, int digest);

    // --- The build before a publication ------------------------------------------
    // The site is built before its road sends it: the run starts there, the
    // panel says so and its Cancel calls `cancelBuild`, after which nothing
    // is sent.
    void beginBuild(std::function<void()> cancelBuild);
    // The build ended well: the road takes the run on.
    void buildEnded();
    // The build failed: the run ends, saying why; nothing was sent.
    void buildFailed(const QString& why);
    bool isBuilding() const { return _building; }

    // The Cancel (or Close) button, and Escape while a run is under way: a
    // publication stops wherever it is (building, calculating, removing,
    // sending) and its line says what arrived and that nothing more went.
    void cancel();
    bool isRunning() const { return _sending; }
    void debugSetState(bool open) override;

    // Asks the user whether to trust a server's host key met for the first
    // time (the window asks with an alert); without one no key is trusted.
    void setHostKeyQuestion(std::function<bool(const HostKey&)> question) { _hostKeyQuestion = std::move(question); }

    // Called for Retry to publish the changes again (the publisher sends
    // the changes of its last request).
    void setRetryHandler(std::function<void()> handler) { _retryHandler = std::move(handler); }

    // --- What the panel shows ---------------------------------------------------
    const QString& title() const { return _title; }
    // The title of the panel's Cancel button: "Close" for a test or once a publication went through.
    const QString& cancelTitle() const { return _cancelTitle; }
    const QString& status1() const override { return _status1; }
    const QString& status2() const override { return _status2; }
    int progress() const override { return _progress; }
    bool progressIndeterminate() const { return _indeterminate; }
    bool retryVisible() const { return _retryVisible; }
    bool panelVisible() const { return _panelVisible; }
    bool debugOpen() const { return _debugOpen; }
    const QString& debugLog() const { return _debugOut; }
    // After a publication that went through: where "Open in browser" goes ("" for none).
    const QString& resultAddress() const { return _resultAddress; }
    bool resultShown() const { return _resultShown; }
    // After Cancel stopped a publication: its line stays until Close.
    bool cancelShown() const { return _cancelShown; }
    // Whether the last upload ended with an error (or was cancelled).
    bool taskError() const override { return _taskError; }

    // --- What the roads change (UploadPanel) ------------------------------------
    DocumentBase* document() const override { return _document; }
    void setStatus(const QString& first, const QString& second) override;
    void setProgress(int value, bool indeterminate) override;
    void setPanelVisible(bool visible) override;
    void setRetryVisible(bool visible) override;
    void setTesting(bool testing, const QString& protocol) override;
    void clearDebugLog() override;
    void activity(const QString& line) override;
    void debug(const QString& line) override;
    void setSending(bool sending) override;
    void setTaskError(bool error) override;
    void finished() override;
    void showResult(const PublicationReport& report, const QString& destination, const QString& address) override;
    void showCancelled(const QString& line) override;
    void retry() override;
    void fileFailed(const FileFailure& failure) override;
    bool trustHostKey(const HostKey& key) override;

private:
    // A run starts (a road's publication or test, a folder export, or a
    // publication that could not start) and its observers are told.
    void beginRun(bool test);
    // How the run that just finished ended, as its state tells.
    PublishObserver::Ending ending() const;
    // Makes the road the one that owns the panel; another road's tool stops.
    void take(UploadRoad* road);

    DocumentBase* _document;
    std::function<void()> _retryHandler;
    std::function<bool(const HostKey&)> _hostKeyQuestion;
    std::function<void()> _cancelBuild;
    bool _building = false;
    // The run under way is a connection test.
    bool _testing = false;
    // One road for each kind of request but none, in the order of PublishRequest::Road.
    std::vector<std::pair<PublishRequest::Road, std::unique_ptr<UploadRoad>>> _roads;
    // The FTP road, whose Retry the panel's button presses.
    FTPRoad* _ftp = nullptr;
    // The road that owns the panel; none before the first publication.
    UploadRoad* _road = nullptr;

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
    bool _taskError = false;
    bool _sending = false;
    bool _resultShown = false;
    bool _cancelShown = false;
    QString _resultAddress;
    QString _notice;
    PublishObservers _observers;
    // The files of the current run that did not arrive, for its ending.
    FileFailures _failures;
    // Between the start of a run and its end.
    bool _runOpen = false;
    // The details of a run that began with its build keep the build's lines.
    bool _keepDetails = false;
};
