// The table of failures in words, for the answers the test servers here
// cannot be made to give (ServerAnswersTest checks the ones they can): what
// each says, and whether it ends the run or only fails its file.
#include "publish/TransferMessages.h"

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
            false },
        { Protocol::FTP, Operation::Remove, 21, 550, "550 Permission denied.",
            "The server does not let this account remove \"a b.html\". The server said: \"Permission denied\".", false },
        { Protocol::FTP, Operation::Connect, 8, 421, "421 Too many connections.", "The connection to the server broke off. The server said: \"Too many connections\".",
            true },
        { Protocol::SFTP, Operation::Send, 25, 15, "Upload failed: Quota exceeded (15/-31)",
            "The server's disk is full: \"a b.html\" was not stored. The server said: \"Upload failed: Quota exceeded (15/-31)\".", false },
        { Protocol::SFTP, Operation::Send, 25, 4, "Upload failed: Operation failed (4/-31)",
            "The server did not accept \"a b.html\". The server said: \"Upload failed: Operation failed (4/-31)\".", false },
        { Protocol::SFTP, Operation::Send, 9, 3, "Upload failed: Permission denied (3/-31)",
            "The server does not let this account write \"a b.html\": its folder is not writable. The server said: \"Upload failed: Permission denied "
            "(3/-31)\".",
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
        const lq::TransferMessage message = lq::describeTransfer(outcome);
        EXPECT_EQ(message.text, QString::fromUtf8(c.text));
        EXPECT_EQ(message.endsRun, c.endsRun);
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
