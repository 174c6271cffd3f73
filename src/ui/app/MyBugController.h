#pragma once
#include <QPointer>
#include <QWidget>

#include <memory>

class MyDocumentController;
class QNetworkAccessManager;
class QNetworkReply;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
namespace lq {
class ChildProcess;
}

// The bug-report window: the user's description above, the program's recent
// logs below; Submit sends both to the maker's server through curl, with the
// form fields the server's configuration page names. Credentials are removed
// from what is sent, and the user is told whether the report went out.
class MyBugController : public QWidget {
    Q_OBJECT
public:
    explicit MyBugController(QWidget* parent = nullptr);
    ~MyBugController() override;

    void setMyDocumentController(MyDocumentController* controller) { docController = controller; }
    // The folder whose activity logs are gathered (the support folder).
    void setLogFolder(const QString& folder) { _logFolder = folder; }

    // Gathers the logs into the console and shows the window.
    void bugs();
    // The same with a prepared description.
    void bugs(const QString& text);
    void submit();

    QPlainTextEdit* descriptionView() const { return description; }
    QPlainTextEdit* consoleView() const { return console; }
    // The file the last report was written to.
    const QString& reportFile() const { return _reportFile; }

Q_SIGNALS:
    // Submitting ended; sent says whether curl reported success.
    void submitFinished(bool sent);

private:
    void configurationArrived();
    void finishSubmit(bool sent, const QString& message);

    QPlainTextEdit* description;
    QPlainTextEdit* console;
    QPushButton* SubmitButton;
    QProgressBar* Spinner;
    MyDocumentController* docController = nullptr;

    QString _logFolder;
    QString _reportFile;
    bool _submitting = false;
    QNetworkAccessManager* _network;
    QPointer<QNetworkReply> _reply;
    std::unique_ptr<lq::ChildProcess> _curl;
};
