#include "publish/TransferMessages.h"

#include "platform/StringTable.h"
#include "publish/HostKey.h"
#include "publish/XmlD.h"

#include <algorithm>
#include <array>

namespace lq {

namespace {

// What went wrong, told apart by what the user can do about it.
enum class Kind {
    ServerNotFound,
    NoConnection,
    TimedOut,
    ConnectionLost,
    CertificateUntrusted,
    SecureConnectionFailed,
    LoginRefused,
    DigestNeeded,
    BasicNeeded,
    HostKeyChanged,
    EncryptionRequired,
    NotWebDAV,
    BadAddress,
    WriteRefused,
    RemoveRefused,
    FolderRefused,
    PlaceRefused,
    DiskFull,
    StoppedPartWay,
    Unreadable,
    MissingFolder,
    Conflict,
    NotAllowed,
    Redirect,
    ServerFailed,
    Rejected,
    Failed,
};

struct Row {
    Kind kind;
    const char* key;       // the text in the string table
    bool endsRun;          // the server or the account cannot be used: nothing more is tried
    bool retryHelps;
};

// The table: one row a kind. A kind that is about one file lets the others go on.
constexpr std::array rows {
    Row { Kind::ServerNotFound, "TransferServerNotFound", true, true },
    Row { Kind::NoConnection, "TransferNoConnection", true, true },
    Row { Kind::TimedOut, "TransferTimedOut", true, true },
    Row { Kind::ConnectionLost, "TransferConnectionLost", true, true },
    Row { Kind::CertificateUntrusted, "TransferCertificateUntrusted", true, false },
    Row { Kind::SecureConnectionFailed, "TransferSecureConnection", true, true },
    Row { Kind::LoginRefused, "TransferLoginRefused", true, true },
    Row { Kind::DigestNeeded, "TransferDigestNeeded", true, false },
    Row { Kind::BasicNeeded, "TransferBasicNeeded", true, false },
    // Retrying reaches the same key: the user has to accept it first.
    Row { Kind::HostKeyChanged, "TransferHostKeyChanged", true, false },
    // Only FTPS would do, which the program does not speak.
    Row { Kind::EncryptionRequired, "TransferEncryptionRequired", true, false },
    Row { Kind::NotWebDAV, "TransferNotWebDAV", true, false },
    Row { Kind::BadAddress, "TransferBadAddress", true, false },
    Row { Kind::WriteRefused, "TransferWriteRefused", false, true },
    Row { Kind::RemoveRefused, "TransferRemoveRefused", false, true },
    Row { Kind::FolderRefused, "TransferFolderRefused", false, true },
    Row { Kind::PlaceRefused, "TransferPlaceRefused", true, true },
    Row { Kind::DiskFull, "TransferDiskFull", false, true },
    Row { Kind::StoppedPartWay, "TransferStoppedPartWay", false, true },
    Row { Kind::Unreadable, "TransferUnreadable", false, true },
    Row { Kind::MissingFolder, "TransferMissingFolder", false, true },
    Row { Kind::Conflict, "TransferConflict", false, true },
    Row { Kind::NotAllowed, "TransferNotAllowed", false, true },
    Row { Kind::Redirect, "TransferRedirect", false, true },
    Row { Kind::ServerFailed, "TransferServerFailed", false, true },
    Row { Kind::Rejected, "TransferRejected", false, true },
    Row { Kind::Failed, "TransferFailedFile", false, true },
};

const Row& rowOf(Kind kind)
{
    for (const Row& row : rows)
        if (row.kind == kind)
            return row;
    return rows.back();
}

// libcurl's codes (curl/curl.h), by number: the tools pass them on as they are.
enum CurlCode {
    UnsupportedProtocol = 1,
    UrlMalformat = 3,
    CouldntResolveHost = 6,
    CouldntConnect = 7,
    WeirdServerReply = 8,
    RemoteAccessDenied = 9,
    PartialFile = 18,
    QuoteError = 21,
    UploadFailed = 25,
    ReadError = 26,
    OperationTimedOut = 28,
    SslConnectError = 35,
    FileCouldntReadFile = 37,
    GotNothing = 52,
    SendError = 55,
    RecvError = 56,
    PeerFailedVerification = 60,
    LoginDenied = 67,
    RemoteDiskFull = 70,
    SslCacertBadfile = 77,
    RemoteFileNotFound = 78,
    Ssh = 79,
    SslIssuerError = 83,
};

// SFTP statuses (draft-ietf-secsh-filexfer-02 and later).
enum SftpStatus {
    NoSuchFile = 2,
    PermissionDenied = 3,
    NoSpaceOnFilesystem = 14,
    QuotaExceeded = 15,
    WriteProtect = 12,
};

// An FTP server that takes no login without TLS: pure-ftpd's "Sorry,
// cleartext sessions are not accepted", vsftpd's "530 Non-anonymous
// sessions must use encryption", or a 534 (RFC 2228: refused by policy).
bool saysEncryptionRequired(const TransferOutcome& outcome)
{
    if (outcome.protocol != TransferOutcome::Protocol::FTP || outcome.reply < 400)
        return false;
    if (outcome.reply == 534)
        return true;
    const QString& words = outcome.words;
    return words.contains(QStringLiteral("TLS"), Qt::CaseInsensitive) || words.contains(QStringLiteral("SSL"), Qt::CaseInsensitive)
        || words.contains(QStringLiteral("cleartext"), Qt::CaseInsensitive) || words.contains(QStringLiteral("encryption"), Qt::CaseInsensitive)
        || words.contains(QStringLiteral("encrypted"), Qt::CaseInsensitive);
}

bool wordsSayDiskFull(const QString& words)
{
    return words.contains(QStringLiteral("No space left"), Qt::CaseInsensitive)
        || words.contains(QStringLiteral("disk full"), Qt::CaseInsensitive)
        || words.contains(QStringLiteral("quota"), Qt::CaseInsensitive);
}

// The kind of a refusal to do something to one file or folder.
Kind refusalFor(TransferOutcome::Operation operation)
{
    switch (operation) {
    case TransferOutcome::Operation::Remove: return Kind::RemoveRefused;
    case TransferOutcome::Operation::MakeFolder: return Kind::FolderRefused;
    default: return Kind::WriteRefused;
    }
}

// The kind of a server's reply to a request for one file.
Kind kindOfFileReply(const TransferOutcome& outcome)
{
    const int reply = outcome.reply;
    if (outcome.protocol == TransferOutcome::Protocol::SFTP) {
        switch (reply) {
        case NoSuchFile: return Kind::MissingFolder;
        case PermissionDenied:
        case WriteProtect: return refusalFor(outcome.operation);
        case NoSpaceOnFilesystem:
        case QuotaExceeded: return Kind::DiskFull;
        default: return wordsSayDiskFull(outcome.words) ? Kind::DiskFull : Kind::Rejected;
        }
    }
    if (outcome.protocol == TransferOutcome::Protocol::FTP) {
        // 452 and 552: no room (RFC 959); 550, 553, 532: not allowed there.
        if (reply == 452 || reply == 552 || wordsSayDiskFull(outcome.words))
            return Kind::DiskFull;
        if (reply == 550 || reply == 553 || reply == 532)
            return refusalFor(outcome.operation);
        return Kind::Rejected;
    }
    if (reply == 507 || (reply == 413 && wordsSayDiskFull(outcome.words)))
        return Kind::DiskFull;
    if (reply == 403)
        return refusalFor(outcome.operation);
    if (reply == 404 && outcome.operation == TransferOutcome::Operation::Send)
        return Kind::MissingFolder;
    // 409 to a PUT: a folder of the path is missing, or one stands where the file goes.
    if (reply == 409 && outcome.operation == TransferOutcome::Operation::Send)
        return Kind::Conflict;
    if (reply == 405 || reply == 501)
        return outcome.operation == TransferOutcome::Operation::Connect || outcome.operation == TransferOutcome::Operation::MakeFolder
            ? Kind::NotWebDAV
            : Kind::NotAllowed;
    if (reply >= 300 && reply < 400)
        return Kind::Redirect;
    if (reply >= 500)
        return Kind::ServerFailed;
    return Kind::Rejected;
}

Kind kindOf(const TransferOutcome& outcome)
{
    const bool sftp = outcome.protocol == TransferOutcome::Protocol::SFTP;
    // Whatever libcurl made of it (a refused login, a reply it did not
    // expect, a connection closed), the server's words tell.
    if (saysEncryptionRequired(outcome))
        return Kind::EncryptionRequired;
    switch (outcome.curlCode) {
    case 0:
        break;
    case UnsupportedProtocol:
    case UrlMalformat: return Kind::BadAddress;
    case CouldntResolveHost: return Kind::ServerNotFound;
    case CouldntConnect: return Kind::NoConnection;
    case OperationTimedOut: return Kind::TimedOut;
    case WeirdServerReply:
    case GotNothing:
    case SendError:
    case RecvError: return Kind::ConnectionLost;
    case SslConnectError: return Kind::SecureConnectionFailed;
    case PeerFailedVerification: return sftp ? Kind::HostKeyChanged : Kind::CertificateUntrusted;
    case SslCacertBadfile:
    case SslIssuerError: return Kind::CertificateUntrusted;
    case LoginDenied: return Kind::LoginRefused;
    case ReadError:
    case FileCouldntReadFile: return Kind::Unreadable;
    case RemoteDiskFull: return Kind::DiskFull;
    // libcurl's "server did not report OK, got 451": the reply tells why;
    // without one, the server stopped taking the file and answers again.
    case PartialFile: return outcome.reply != 0 ? kindOfFileReply(outcome) : Kind::StoppedPartWay;
    case RemoteFileNotFound: return Kind::MissingFolder;
    case RemoteAccessDenied:
        if (outcome.reply == 530)
            return Kind::LoginRefused;
        return kindOfFileReply(outcome) == Kind::DiskFull ? Kind::DiskFull : refusalFor(outcome.operation);
    case UploadFailed:
    case QuoteError:
        return kindOfFileReply(outcome);
    case Ssh:
        // libssh2's own failures carry the SFTP status when there is one;
        // a write the server refused part way carries none.
        if (outcome.reply != 0)
            return kindOfFileReply(outcome);
        return outcome.operation == TransferOutcome::Operation::Send && !outcome.file.isEmpty() ? Kind::StoppedPartWay : Kind::Failed;
    default:
        return Kind::Failed;
    }
    // The request went through and the server answered no.
    if (outcome.protocol == TransferOutcome::Protocol::WebDAV && outcome.reply == 401) {
        const bool offersDigest = outcome.offeredAuth.contains(QStringLiteral("Digest"), Qt::CaseInsensitive);
        const bool offersBasic = outcome.offeredAuth.contains(QStringLiteral("Basic"), Qt::CaseInsensitive);
        if (offersDigest && !offersBasic && !outcome.usedDigest)
            return Kind::DigestNeeded;
        if (offersBasic && !offersDigest && outcome.usedDigest)
            return Kind::BasicNeeded;
        return Kind::LoginRefused;
    }
    if (outcome.protocol == TransferOutcome::Protocol::FTP && outcome.reply == 530)
        return Kind::LoginRefused;
    return kindOfFileReply(outcome);
}

bool isAboutOneFile(Kind kind)
{
    return !rowOf(kind).endsRun;
}

// The server's words for a message: one line, without the reply number
// it begins with, and not without end.
QString cleanWords(const QString& words, int reply)
{
    QString clean = words.simplified();
    const QString number = QString::number(reply);
    if (reply != 0 && clean.startsWith(number))
        clean = clean.mid(number.size()).trimmed();
    while (clean.startsWith(QLatin1Char('-')))
        clean = clean.mid(1).trimmed();
    // The texts around the words end their own sentences.
    while (clean.endsWith(QLatin1Char('.')))
        clean.chop(1);
    constexpr qsizetype longest = 300;
    if (clean.size() > longest)
        clean = clean.left(longest) + QStringLiteral("…");
    return clean;
}

} // namespace

QString filledText(const QString& key, const QList<std::pair<QString, QString>>& fields)
{
    const QString text = localized(key);
    QString filled;
    filled.reserve(text.size() + 64);
    qsizetype at = 0;
    while (at < text.size()) {
        const qsizetype open = text.indexOf(QLatin1Char('{'), at);
        if (open < 0)
            break;
        const qsizetype close = text.indexOf(QLatin1Char('}'), open);
        if (close < 0)
            break;
        const QStringView field = QStringView(text).sliced(open + 1, close - open - 1);
        const auto found = std::find_if(fields.cbegin(), fields.cend(), [&](const auto& pair) { return pair.first == field; });
        filled += QStringView(text).sliced(at, open - at);
        if (found != fields.cend())
            filled += found->second;
        else
            filled += QStringView(text).sliced(open, close - open + 1);
        at = close + 1;
    }
    filled += QStringView(text).sliced(std::min(at, text.size()));
    return filled;
}

TransferMessage describeTransfer(const TransferOutcome& outcome)
{
    Kind kind = kindOf(outcome);
    // Before any file (connecting, the folder the site goes to) a refusal
    // means the server or the account cannot be used at all.
    const bool connecting = outcome.operation == TransferOutcome::Operation::Connect || outcome.file.isEmpty();
    QString key = QString::fromLatin1(rowOf(kind).key);
    if (connecting && isAboutOneFile(kind)) {
        switch (kind) {
        case Kind::WriteRefused:
        case Kind::RemoveRefused:
        case Kind::FolderRefused:
            kind = Kind::PlaceRefused;
            key = QString::fromLatin1(rowOf(kind).key);
            break;
        case Kind::DiskFull:
            key = QStringLiteral("TransferDiskFullNoFile");
            break;
        default:
            kind = Kind::Failed;
            key = QStringLiteral("TransferFailed");
            break;
        }
    }
    if (kind == Kind::ConnectionLost && !outcome.file.isEmpty())
        key = QStringLiteral("TransferConnectionLostDuring");
    if (kind == Kind::StoppedPartWay && outcome.keptCopy)
        key = QStringLiteral("TransferStoppedPartWayKept");
    // An SFTP status is a number for programs: the words say it.
    if (kind == Kind::Rejected && (outcome.reply == 0 || outcome.protocol == TransferOutcome::Protocol::SFTP))
        key = QStringLiteral("TransferRejectedNoReply");
    const Row& row = rowOf(kind);
    const bool sftp = outcome.protocol == TransferOutcome::Protocol::SFTP;
    const QString status = sftp ? sftpStatusWords(outcome.reply) : QString();
    const QString words = cleanWords(outcome.words, outcome.reply);
    const QList<std::pair<QString, QString>> fields {
        { QStringLiteral("file"), XmlD::shownName(outcome.file) },
        { QStringLiteral("host"), outcome.host },
        { QStringLiteral("words"), words },
        { QStringLiteral("reply"), QString::number(outcome.reply) },
        { QStringLiteral("knownHosts"), outcome.knownHosts },
    };
    TransferMessage message;
    message.text = filledText(key, fields);
    // What the server answered goes with every message that does not quote
    // it already; libcurl's own words alone add nothing to the message. An
    // SFTP server answers with a status, said in words.
    if (!status.isEmpty())
        message.text += QLatin1Char(' ')
            + filledText(QStringLiteral("TransferSFTPStatus"), { { QStringLiteral("status"), status }, { QStringLiteral("reply"), QString::number(outcome.reply) } });
    else if (!localized(key).contains(QStringLiteral("{words}")) && !words.isEmpty() && outcome.reply != 0)
        message.text += QLatin1Char(' ') + filledText(QStringLiteral("TransferServerSaid"), fields);
    message.endsRun = row.endsRun || connecting;
    message.retryHelps = row.retryHelps;
    return message;
}

QString sftpStatusWords(int status)
{
    // SSH_FX_* of draft-ietf-secsh-filexfer, by number from 1.
    static const char* const words[] = {
        "end of file", "no such file", "permission denied", "failure", "bad message", "no connection", "connection lost",
        "operation not supported", "invalid handle", "no such path", "file already exists", "write protected", "no media in drive",
        "disk full", "quota exceeded", "unknown principal", "lock conflict", "folder not empty", "not a folder", "invalid file name",
        "link loop",
    };
    if (status < 1 || status > static_cast<int>(std::size(words)))
        return QString();
    return QString::fromLatin1(words[status - 1]);
}

namespace {
QList<std::pair<QString, QString>> hostKeyFields(const HostKey& key)
{
    return { { QStringLiteral("host"), key.host }, { QStringLiteral("port"), QString::number(key.port) }, { QStringLiteral("type"), key.type },
        { QStringLiteral("fingerprint"), key.fingerprint() } };
}
} // namespace

QString untrustedHostKeyMessage(const HostKey& key)
{
    return filledText(QStringLiteral("TransferHostKeyNotTrusted"), hostKeyFields(key));
}

QString hostKeyQuestionTitle(const HostKey& key)
{
    return filledText(QStringLiteral("HostKeyQuestionTitle"), hostKeyFields(key));
}

QString hostKeyQuestion(const HostKey& key)
{
    return filledText(QStringLiteral("HostKeyQuestion"), hostKeyFields(key));
}

QString unreadFileMessage(const FileFailure& unread)
{
    return filledText(QStringLiteral("TransferUnreadable"),
        { { QStringLiteral("file"), XmlD::shownName(unread.path) }, { QStringLiteral("words"), unread.why } });
}

QString copyFailureMessage(const FileFailure& failed)
{
    return filledText(QStringLiteral("TransferCopyFailed"),
        { { QStringLiteral("file"), XmlD::shownName(failed.path) }, { QStringLiteral("words"), failed.why } });
}

QString uncarriedNameMessage(const QString& file, const QString& protocol)
{
    return filledText(QStringLiteral("TransferNameNotCarried"), { { QStringLiteral("file"), XmlD::shownName(file) }, { QStringLiteral("protocol"), protocol } });
}

QString unconfirmedSendMessage(const QString& file, const QString& found)
{
    const QString shown = XmlD::shownName(file);
    const QString elsewhere = QStringLiteral("elsewhere ");
    if (found.startsWith(elsewhere)) {
        const QString name = QString::fromUtf8(QByteArray::fromPercentEncoding(found.mid(elsewhere.size()).toUtf8()));
        return filledText(QStringLiteral("TransferHeldElsewhere"), { { QStringLiteral("file"), shown }, { QStringLiteral("name"), XmlD::shownName(name) } });
    }
    const QString bytes = QStringLiteral(" bytes");
    bool counted = false;
    const qint64 held = found.endsWith(bytes) ? found.chopped(bytes.size()).toLongLong(&counted) : -1;
    if (counted)
        return filledText(QStringLiteral("TransferHeldOtherSize"), { { QStringLiteral("file"), shown }, { QStringLiteral("held"), QString::number(held) } });
    return filledText(QStringLiteral("TransferNotHeld"), { { QStringLiteral("file"), shown } });
}

QString failureSummary(const FileFailures& failures)
{
    if (failures.isEmpty())
        return QString();
    QString summary = filledText(QStringLiteral("TransferFilesFailed"), { { QStringLiteral("count"), QString::number(failures.size()) } });
    constexpr qsizetype shown = 3;
    for (qsizetype i = 0; i < std::min(shown, failures.size()); ++i)
        summary += QLatin1Char(' ') + failures.at(i).why;
    if (failures.size() > shown)
        summary += QLatin1Char(' ') + filledText(QStringLiteral("TransferMoreFailed"), { { QStringLiteral("count"), QString::number(failures.size() - shown) } });
    return summary;
}

} // namespace lq
