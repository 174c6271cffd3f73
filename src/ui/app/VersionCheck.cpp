#include "ui/app/VersionCheck.h"

#include "ui/app/BuildInfo.h"
#include "platform/Log.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>

namespace {

// The leading whole number of the text (blanks skipped, optional sign); 0 when it has none.
int leadingInteger(const QByteArray& line)
{
    qsizetype i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
        ++i;
    bool negative = false;
    if (i < line.size() && (line[i] == '-' || line[i] == '+'))
        negative = line[i++] == '-';
    long long value = 0;
    while (i < line.size() && line[i] >= '0' && line[i] <= '9' && value < 1000000000LL)
        value = value * 10 + (line[i++] - '0');
    return static_cast<int>(negative ? -value : value);
}

} // namespace

VersionCheck::VersionCheck(QObject* parent)
    : QObject(parent)
    , _network(new QNetworkAccessManager(this))
{
    setTimeoutArming({});
}

VersionCheck::~VersionCheck()
{
    if (_reply) {
        _reply->disconnect(this);
        _reply->abort();
    }
}

void VersionCheck::setTimeoutArming(TimeoutArming arm)
{
    if (!arm) {
        arm = [this](int milliseconds, std::function<void()> expire) {
            QTimer::singleShot(milliseconds, this, std::move(expire));
        };
    }
    _armTimeout = std::move(arm);
}

std::optional<QString> VersionCheck::messageForReply(const QByteArray& reply, bool userAsked)
{
    for (char c : reply) {
        if (static_cast<unsigned char>(c) > 0x7F)
            return std::nullopt;
    }
    const QList<QByteArray> lines = reply.split('\n');
    const int newest = leadingInteger(lines.value(0));
    if (newest == 0)
        return std::nullopt;
    if (newest > BuildInfo::buildNumber) {
        if (lines.size() > 1 && !lines[1].isEmpty())
            return QString::fromLatin1(lines[1]);
        return QStringLiteral("A newer version of Lumenquill is available.");
    }
    if (userAsked)
        return QStringLiteral("Lumenquill is up to date");
    return std::nullopt;
}

void VersionCheck::checkForUpdate(const QString& serverAddress, bool userAsked)
{
    if (_reply) {
        _reply->disconnect(this);
        _reply->abort();
        _reply->deleteLater();
        _reply = nullptr;
    }
    const QUrl base(serverAddress);
    if (serverAddress.isEmpty() || !base.isValid() || (base.scheme() != QLatin1String("http") && base.scheme() != QLatin1String("https"))) {
        lq::log(QStringLiteral("Version check is off: no server address"));
        Q_EMIT finished(userAsked ? QStringLiteral("The version check is off: no server address is set.") : QString(), userAsked);
        return;
    }
    QUrl url(serverAddress + QStringLiteral("/versions/lqupdates2.php"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("y"), QString::number(BuildInfo::buildNumber));
    url.setQuery(query);
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    _reply = _network->get(request);
    connect(_reply, &QNetworkReply::finished, this, [this, userAsked] { replyFinished(userAsked); });
    // A server that never answers ends the check at the time-out, as one
    // that cannot be reached: the reply is aborted and shows nothing.
    _armTimeout(userAsked ? userTimeoutMs : launchTimeoutMs, [this, reply = QPointer<QNetworkReply>(_reply)] {
        if (reply && reply == _reply)
            reply->abort();
    });
}

void VersionCheck::replyFinished(bool userAsked)
{
    QNetworkReply* reply = _reply;
    _reply = nullptr;
    reply->deleteLater();
    std::optional<QString> message;
    if (reply->error() == QNetworkReply::NoError)
        message = messageForReply(reply->readAll(), userAsked);
    Q_EMIT finished(message.value_or(QString()), userAsked);
}
