#pragma once
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;

// Asks the maker's web server which build is the newest
// ("<server>/versions/lqupdates2.php?y=<build>") without blocking the window:
// the reply arrives on the event loop within the time-out (2 s for the quiet
// launch check, 10 s when the user asked). The reply's first line is the
// newest build number, its second the text to show when that is newer.
class VersionCheck : public QObject {
    Q_OBJECT
public:
    static constexpr int launchTimeoutMs = 2000;
    static constexpr int userTimeoutMs = 10000;

    explicit VersionCheck(QObject* parent = nullptr);
    ~VersionCheck() override;

    // Arms the time-out of a check just started: `expire` is to be called
    // once the milliseconds have gone by (it does nothing when that check has
    // ended). By default a timer on the event loop; tests give their own clock.
    using TimeoutArming = std::function<void(int milliseconds, std::function<void()> expire)>;
    void setTimeoutArming(TimeoutArming arm);

    // Starts a check (a running one is dropped). With no server address the
    // check is off: a user's request is answered at once that it is off.
    void checkForUpdate(const QString& serverAddress, bool userAsked);
    bool isRunning() const { return _reply != nullptr; }

    // What a reply makes the check show, or nothing. Network errors and
    // replies that are not ASCII show nothing, as does a first line that is
    // no number; the second line is shown as it is.
    static std::optional<QString> messageForReply(const QByteArray& reply, bool userAsked);

Q_SIGNALS:
    // The check ended; message is what to show ("" for nothing).
    void finished(const QString& message, bool userAsked);

private:
    void replyFinished(bool userAsked);

    QNetworkAccessManager* _network;
    QNetworkReply* _reply = nullptr;
    TimeoutArming _armTimeout;
};
