#include "ui/app/MyBugController.h"

#include "ui/app/BugReport.h"
#include "ui/app/BuildInfo.h"
#include "ui/app/MyDocumentController.h"
#include "ui/app/StartupLog.h"
#include "platform/ChildProcess.h"
#include "platform/ExceptionFrame.h"
#include "platform/FileHelpers.h"
#include "platform/Log.h"
#include "ui/widgets/ModalHandler.h"
#include "ui/widgets/ScreenText.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int configurationTimeoutMs = 10000;
const QString bugWindowTitle = QStringLiteral("Report a Bug");
} // namespace

MyBugController::MyBugController(QWidget* parent)
    : QWidget(parent, Qt::Window)
    , description(new QPlainTextEdit(this))
    , console(new QPlainTextEdit(this))
    , SubmitButton(new QPushButton(QStringLiteral("Submit"), this))
    , Spinner(new QProgressBar(this))
    , _network(new QNetworkAccessManager(this))
{
    setWindowTitle(bugWindowTitle);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lq::plainLabel(QStringLiteral("Please describe the problem:"), this));
    layout->addWidget(description, 1);
    layout->addWidget(lq::plainLabel(QStringLiteral("Log:"), this));
    console->setReadOnly(true);
    layout->addWidget(console, 2);
    Spinner->setRange(0, 0);
    Spinner->hide();
    layout->addWidget(Spinner);
    layout->addWidget(SubmitButton, 0, Qt::AlignRight);
    connect(SubmitButton, &QPushButton::clicked, this, [this] { lq::uiFrame(this, "submit:", [this] { submit(); }); });
    resize(560, 480);
}

MyBugController::~MyBugController()
{
    if (_reply) {
        _reply->disconnect(this);
        _reply->abort();
    }
}

void MyBugController::bugs()
{
    lq::uiFrame(this, "bugs", [this] {
        Spinner->hide();
        SubmitButton->show();
        QByteArray logs;
        if (!_logFolder.isEmpty()) {
            for (const QString& path : StartupLog::logPaths(_logFolder)) {
                QFile file(path);
                if (file.open(QIODevice::ReadOnly))
                    logs += file.readAll();
            }
        }
        console->setPlainText(BugReport::redactCredentials(QString::fromUtf8(logs)));
        show();
        raise();
        activateWindow();
    });
}

void MyBugController::bugs(const QString& text)
{
    description->setPlainText(text);
    bugs();
}

void MyBugController::submit()
{
    if (_submitting)
        return;
    _submitting = true;
    Spinner->show();
    SubmitButton->hide();

    const QString report = BugReport::redactCredentials(description->toPlainText() + QStringLiteral("\nLog:\n") + console->toPlainText());
    _reportFile = BugReport::tempfile();
    if (!lq::writeFileAtomically(_reportFile, report.toUtf8(), nullptr, { .ownerOnly = true })) {
        finishSubmit(false, QStringLiteral("The report could not be written to ") + _reportFile + QStringLiteral("."));
        return;
    }

    const QString server = docController ? docController->serverAddress() : QString();
    if (server.isEmpty()) {
        finishSubmit(false, QStringLiteral("Bug reports are off: no server address is set in the preferences."));
        return;
    }
    QNetworkRequest request(QUrl(server + QStringLiteral("/versions/bugs2.txt")));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setTransferTimeout(configurationTimeoutMs);
    _reply = _network->get(request);
    connect(_reply, &QNetworkReply::finished, this, [this] { lq::uiFrame(this, "submit:", [this] { configurationArrived(); }); });
}

void MyBugController::configurationArrived()
{
    QNetworkReply* reply = _reply;
    _reply = nullptr;
    reply->deleteLater();
    if (reply->error() != QNetworkReply::NoError) {
        finishSubmit(false, QStringLiteral("The report could not be sent: the server did not answer."));
        return;
    }
    QString why;
    const std::optional<QStringList> fields = BugReport::curlArgumentsFromConfiguration(reply->readAll(), &why);
    if (!fields) {
        lq::log(QStringLiteral("MyBugController submit: configuration refused: ") + why);
        finishSubmit(false, QStringLiteral("The report could not be sent: ") + why + QStringLiteral("."));
        return;
    }
    QStringList arguments{QStringLiteral("-q"), QStringLiteral("--silent"), QStringLiteral("--show-error"), QStringLiteral("--fail"),
        QStringLiteral("--max-time"), QStringLiteral("60"),
        QStringLiteral("-Fsubject=Lumenquill") + QString::number(BuildInfo::buildNumber),
        QStringLiteral("-Fmessage=<") + _reportFile};
    arguments += *fields;
    _curl = std::make_unique<lq::ChildProcess>();
    _curl->setWorkingFolder(QDir::homePath());
    _curl->setFinishedHandler([this](const lq::ProcessResult& result) {
        lq::uiFrame(this, "submit:", [&] {
            if (!result.started)
                lq::log(QStringLiteral("MyBugController submit: curl: ") + result.startError);
            const bool sent = result.started && !result.crashed && result.exitCode == 0;
            finishSubmit(sent, sent ? QString()
                                    : QStringLiteral("The report could not be sent (curl ended with status ") + QString::number(result.exitCode) + QStringLiteral(")."));
        });
    });
    _curl->start(QStringLiteral("/usr/bin/curl"), arguments);
}

void MyBugController::finishSubmit(bool sent, const QString& message)
{
    _submitting = false;
    Spinner->hide();
    SubmitButton->show();
    if (sent) {
        hide();
        lq::runAlert(nullptr, QStringLiteral("Thank You"), QStringLiteral("Your bug has been submitted and we appreciate your feedback in reporting bugs."));
    } else {
        lq::runAlert(this, bugWindowTitle, message);
    }
    Q_EMIT submitFinished(sent);
    if (sent && docController)
        docController->checkForUpdate(true);
}
