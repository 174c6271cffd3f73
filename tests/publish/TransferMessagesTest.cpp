// The table of failures in words, for the answers the test servers here
// cannot be made to give (ServerAnswersTest checks the ones they can): what
// each says, and whether it ends the run or only fails its file.
#include "publish/TransferMessages.h"
#include "publish/HostKey.h"

#include <gtest/gtest.h>

namespace {

using Protocol = lq::TransferOutcome::Protocol;
using Operation = lq::TransferOutcome::Operation;

} // namespace

TEST(TransferMessages, EachAnswerSaysWhatHappenedToWhichFileAndWhetherTheRestGoesOn)
{
    struct Case {
        Protocol protocol;
        Operation operation;
        int curlCode;
        int reply;
        const char* words;
        const char* text;
        bool endsRun;
        bool keptCopy = false;   // the server had the file before
    };
    const Case cases[] = {
        { Protocol::WebDAV, Operation::Send, 0, 405, "Method Not Allowed",
            "The server does not allow this request for \"a b.html\": it answered 405. The server said: \"Method Not Allowed\".", false },
        { Protocol::WebDAV, Operation::Send, 0, 409, "Conflict",
            "The server cannot store \"a b.html\" there: a folder of its path is missing, or a folder stands where the file goes. The server said: "
            "\"Conflict\".",
            false },
        { Protocol::WebDAV, Operation::Send, 0, 302, "Found",
            "The server answered the request for \"a b.html\" with a redirect (302) instead of storing it: check the address. The server said: \"Found\".",
            false },
        { Protocol::WebDAV, Operation::Remove, 0, 423, "Locked", "The server did not accept \"a b.html\": it answered 423. The server said: \"Locked\".",
            false },
        { Protocol::WebDAV, Operation::Connect, 56, 0, "Recv failure: Connection reset by peer", "The connection to the server broke off.", true },
        { Protocol::WebDAV, Operation::Send, 52, 0, "Empty reply from server",
            "The connection to the server broke off during the request for \"a b.html\".", true },
        { Protocol::WebDAV, Operation::Connect, 35, 0, "SSL connect error",
            "No secure connection could be made with the server: SSL connect error.", true },
        { Protocol::WebDAV, Operation::Connect, 0, 401, "Unauthorized",
            "The server does not take Digest authentication: untick \"Digest\" and publish again. The server said: \"Unauthorized\".", true },
        { Protocol::FTP, Operation::Send, 18, 452, "452 Insufficient storage space in system.",
            "The server's disk is full: \"a b.html\" was not stored. The server said: \"Insufficient storage space in system\".", false },
        { Protocol::FTP, Operation::Send, 25, 552, "552 Exceeded storage allocation.",
            "The server's disk is full: \"a b.html\" was not stored. The server said: \"Exceeded storage allocation\".", false },
        { Protocol::FTP, Operation::Send, 18, 0, "Send failure: Broken pipe",
            "The server stopped taking \"a b.html\" part way, and kept the copy it had before: its disk may be full, or it takes no file this large.",
            false, true },
        { Protocol::FTP, Operation::Send, 18, 0, "Send failure: Broken pipe",
            "The server stopped taking \"a b.html\" part way, so it was not stored: its disk may be full, or it takes no file this large.", false },
        // A server that takes only TLS logins, whatever libcurl made of its reply.
        { Protocol::FTP, Operation::Connect, 28, 421, "421 Sorry, cleartext sessions are not accepted on this server.",
            "The server accepts only encrypted (FTPS) connections, which Lumenquill does not offer, so nothing was sent. Choose SFTP as the FTP type "
            "if the server offers it. The server said: \"Sorry, cleartext sessions are not accepted on this server\".",
            true },
        { Protocol::FTP, Operation::Connect, 67, 530, "530 Non-anonymous sessions must use encryption.",
            "The server accepts only encrypted (FTPS) connections, which Lumenquill does not offer, so nothing was sent. Choose SFTP as the FTP type "
            "if the server offers it. The server said: \"Non-anonymous sessions must use encryption\".",
            true },
        { Protocol::FTP, Operation::Connect, 67, 534, "534 Policy requires SSL.",
            "The server accepts only encrypted (FTPS) connections, which Lumenquill does not offer, so nothing was sent. Choose SFTP as the FTP type "
            "if the server offers it. The server said: \"Policy requires SSL\".",
            true },
        { Protocol::FTP, Operation::Remove, 21, 550, "550 Permission denied.",
            "The server does not let this account remove \"a b.html\". The server said: \"Permission denied\".", false },
        { Protocol::FTP, Operation::Connect, 8, 421, "421 Too many connections.", "The connection to the server broke off. The server said: \"Too many connections\".",
            true },
        { Protocol::SFTP, Operation::Send, 25, 15, "Upload failed: Quota exceeded (15/-31)",
            "The server's disk is full: \"a b.html\" was not stored. The server answered \"quota exceeded\" (SFTP status 15).", false },
        { Protocol::SFTP, Operation::Send, 79, 14, "Upload failed: (14/-31)",
            "The server's disk is full: \"a b.html\" was not stored. The server answered \"disk full\" (SFTP status 14).", false },
        { Protocol::SFTP, Operation::Send, 25, 4, "Upload failed: Operation failed (4/-31)",
            "The server did not accept \"a b.html\". The server answered \"failure\" (SFTP status 4).", false },
        { Protocol::SFTP, Operation::Send, 79, 2, "Upload failed: No such file or directory (2/-31)",
            "The server has no folder for \"a b.html\". The server answered \"no such file\" (SFTP status 2).", false },
        // A write the server refused part way: libssh2 keeps its status to itself.
        { Protocol::SFTP, Operation::Send, 79, 0, "Error in the SSH layer",
            "The server stopped taking \"a b.html\" part way, so it was not stored: its disk may be full, or it takes no file this large.", false },
        { Protocol::SFTP, Operation::Send, 79, 0, "Error in the SSH layer",
            "The server stopped taking \"a b.html\" part way, and kept the copy it had before: its disk may be full, or it takes no file this large.",
            false, true },
        { Protocol::SFTP, Operation::Send, 9, 3, "Upload failed: Permission denied (3/-31)",
            "The server does not let this account write \"a b.html\": its folder is not writable. The server answered \"permission denied\" "
            "(SFTP status 3).",
            false },
        { Protocol::SFTP, Operation::Send, 99, 0, "Something new", "The transfer of \"a b.html\" failed: Something new.", false },
        { Protocol::FTP, Operation::Connect, 99, 0, "Something new", "The transfer failed: Something new.", true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        lq::TransferOutcome outcome;
        outcome.protocol = c.protocol;
        outcome.operation = c.operation;
        outcome.curlCode = c.curlCode;
        outcome.reply = c.reply;
        outcome.words = QString::fromUtf8(c.words);
        outcome.file = c.operation == Operation::Connect ? QString() : QStringLiteral("a b.html");
        outcome.host = QStringLiteral("example.org:2121");
        outcome.usedDigest = true;
        outcome.offeredAuth = QStringLiteral("Basic ");
        outcome.keptCopy = c.keptCopy;
        const lq::TransferMessage message = lq::describeTransfer(outcome);
        EXPECT_EQ(message.text, QString::fromUtf8(c.text));
        EXPECT_EQ(message.endsRun, c.endsRun);
        // Retrying cannot make a server take what it refuses by policy.
        if (message.text.contains(QStringLiteral("FTPS")))
            EXPECT_FALSE(message.retryHelps);
    }
}

TEST(TransferMessages, AChangedHostKeySaysWhereTheKnownOneIsAndOffersNoRetry)
{
    lq::TransferOutcome outcome;
    outcome.protocol = Protocol::SFTP;
    outcome.operation = Operation::Connect;
    outcome.curlCode = 60;
    outcome.host = QStringLiteral("example.org:22");
    outcome.knownHosts = QStringLiteral("/home/me/.local/share/Lumenquill/known_hosts");
    const lq::TransferMessage message = lq::describeTransfer(outcome);
    EXPECT_TRUE(message.text.contains(QStringLiteral("in /home/me/.local/share/Lumenquill/known_hosts, on the line that starts with \"example.org:22 \"")))
        << message.text.toStdString();
    EXPECT_TRUE(message.endsRun);
    EXPECT_FALSE(message.retryHelps);
    // The same code over https is a certificate, and a name with a line end is shown as an escape.
    outcome.protocol = Protocol::WebDAV;
    outcome.words = QStringLiteral("SSL certificate problem: self-signed certificate");
    EXPECT_TRUE(lq::describeTransfer(outcome).text.startsWith(QStringLiteral("The server's certificate is not one this computer trusts")));
    outcome.operation = Operation::Send;
    outcome.curlCode = 0;
    outcome.reply = 507;
    outcome.file = QStringLiteral("two\nlines.html");
    EXPECT_TRUE(lq::describeTransfer(outcome).text.startsWith(QStringLiteral("The server's disk is full: \"two\\x0alines.html\" was not stored.")))
        << lq::describeTransfer(outcome).text.toStdString();
}

TEST(TransferMessages, TheEndOfARunCountsTheFailedFilesAndNamesTheFirst)
{
    FileFailures failures;
    for (int i = 1; i <= 5; ++i)
        failures.append({ QStringLiteral("p%1.html").arg(i), QStringLiteral("Reason %1.").arg(i) });
    EXPECT_EQ(lq::failureSummary(failures),
        QStringLiteral("5 file(s) could not be sent or removed; the details name each. Reason 1. Reason 2. Reason 3. And 2 more."));
    EXPECT_EQ(lq::failureSummary({ failures.first() }), QStringLiteral("1 file(s) could not be sent or removed; the details name each. Reason 1."));
    EXPECT_EQ(lq::failureSummary({}), QString());
}

TEST(TransferMessages, ANewHostKeyIsShownAsSshShowsIt)
{
    struct Case {
        const char* words;
        const char* server;
        const char* host;   // "" when the words are not a new key
        int port;
        const char* type;
    };
    const Case cases[] = {
        { "NEWHOSTKEY ED25519 0011ff", "example.org", "example.org", 22, "ED25519" },
        { "NEWHOSTKEY RSA 0011ff", "example.org:2222", "example.org", 2222, "RSA" },
        { "NEWHOSTKEY ECDSA 0011ff", "[::1]:2200", "::1", 2200, "ECDSA" },
        { "NEWHOSTKEY ED25519 0011f", "example.org", "", 0, "" },
        { "NEWHOSTKEY ED25519 00zz", "example.org", "", 0, "" },
        { "Login denied", "example.org", "", 0, "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.words);
        const HostKey key = HostKey::fromToolWords(QString::fromLatin1(c.words), QString::fromLatin1(c.server));
        EXPECT_EQ(key.isEmpty(), *c.host == 0);
        if (key.isEmpty())
            continue;
        EXPECT_EQ(key.host, QString::fromLatin1(c.host));
        EXPECT_EQ(key.port, c.port);
        EXPECT_EQ(key.type, QString::fromLatin1(c.type));
        EXPECT_EQ(key.toolKey(), QStringLiteral("0011ff"));
    }
    // The SHA-256 of the three bytes 00 11 ff, in base64 without its padding.
    const HostKey key = HostKey::fromToolWords(QStringLiteral("NEWHOSTKEY ED25519 0011ff"), QStringLiteral("example.org:2222"));
    EXPECT_EQ(key.fingerprint(), QStringLiteral("SHA256:2h06j0I+Xb5LSj70wLYa6BX0mqYLOxrLmQMi5VIjEj0"));
    EXPECT_FALSE(key.fingerprint().endsWith(QLatin1Char('=')));
    const QString question = lq::hostKeyQuestion(key);
    EXPECT_TRUE(question.contains(QStringLiteral("example.org on port 2222"))) << question.toStdString();
    EXPECT_TRUE(question.contains(QStringLiteral("ED25519 key fingerprint is ") + key.fingerprint())) << question.toStdString();
    const QString refused = lq::untrustedHostKeyMessage(key);
    EXPECT_TRUE(refused.contains(QStringLiteral("nothing was sent and the key was not stored"))) << refused.toStdString();
}
