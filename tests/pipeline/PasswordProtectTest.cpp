#include "pipeline/ProcessorQueue.h"
#include "pipeline/XmlPasswordProtect.h"
#include "pipeline/XmlProcessor.h"
#include "platform/AuxiliaryTools.h"
#include "platform/Process.h"
#include "support/HeadlessChromium.h"
#include "support/HtmlValidator.h"
#include "support/OutsideTree.h"
#include "support/QueueDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A step that looks at the site when the queue runs it.
class LookingStep : public XmlRun {
public:
    explicit LookingStep(Key key)
        : XmlRun(key)
    {
    }
    static std::shared_ptr<LookingStep> create(std::function<void()> look)
    {
        auto step = make<LookingStep>();
        step->look = std::move(look);
        return step;
    }
    bool run() override
    {
        look();
        return false;
    }
    std::function<void()> look;
};

// Points the helper tools at a folder while it lives.
class ToolFolder {
public:
    explicit ToolFolder(const QString& folder)
        : _old(qgetenv("LUMENQUILL_LIBEXEC"))
    {
        qputenv("LUMENQUILL_LIBEXEC", folder.toUtf8());
    }
    ~ToolFolder() { qputenv("LUMENQUILL_LIBEXEC", _old); }

private:
    QByteArray _old;
};

const char pageText[] = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
                        "\"http://www.w3.org/TR/html4/loose.dtd\">\n<html><head><title>Secret</title></head>"
                        "<body><p id=\"secret\">The hidden garden opens at dawn</p></body></html>\n";

class PasswordProtectTest : public SiteWithQueueTest {
protected:
    void SetUp() override
    {
        SiteWithQueueTest::SetUp();
        ASSERT_TRUE(tools.isValid());
        page = album;
        site->homepage()->setPassPhrase(QStringLiteral("Say the <word>"));
        site->homepage()->setSubmitLabel(QStringLiteral("Enter"));
        page->setIsPassword(true);
        page->setPassword(QStringLiteral("open sesame"));
        writeAll(homepage(QStringLiteral("secret.html")), QByteArray(pageText));
    }

    std::shared_ptr<XmlProcessor> protectScript(std::function<void()> after)
    {
        auto processor = XmlProcessor::create();
        processor->setRootDir(folder.path());
        processor->setStatusMessage(QStringLiteral("Creating HTML for Secret"));
        processor->addChild(XmlPasswordProtect::createForAlbumFilenameNewnameBkgnd(page->UUID(), QStringLiteral("secret.html"),
            QStringLiteral("xx") + page->UUID() + QStringLiteral(".html"), QStringLiteral("#336699")));
        processor->addChild(LookingStep::create(std::move(after)));
        return processor;
    }
    // A "qvtea" in the test's tool folder that writes its arguments to a file
    // and then runs the real tool.
    void recordingTool()
    {
        const QString path = tools.filePath(QStringLiteral("qvtea"));
        writeAll(path, QByteArray("#!/bin/sh\nprintf '%s\\n' \"$@\" > '") + tools.filePath(QStringLiteral("arguments")).toUtf8()
                + "'\nexec '" + QByteArray(LQ_TEST_LIBEXEC) + "/qvtea' \"$@\"\n");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void drain() { document.drain(); }

    QTemporaryDir tools;
    std::shared_ptr<XmlAlbum> page;
};

// Runs headless Chromium on the page and answers the page as it ends up.
int runChromium(const QString& url, QByteArray* out, QByteArray* err)
{
    return runHeadlessChromium({ "--headless=new", "--virtual-time-budget=20000", "--dump-dom" }, url, out, err);
}

} // namespace

TEST_F(PasswordProtectTest, ThePageIsProtectedBeforeTheNextStepAndThePasswordStaysOffTheCommandLine)
{
    ToolFolder toolFolder(tools.path());
    recordingTool();
    ASSERT_FALSE(lq::auxiliaryTool(QStringLiteral("qvtea")).isEmpty());
    writeAll(homepage(QStringLiteral("xx") + page->UUID() + QStringLiteral(".html")), QByteArray("an old open copy"));

    QByteArray seen;
    document.queue.startProcessor(protectScript([&] { seen = readAll(homepage(QStringLiteral("secret.html"))); }));
    drain();

    EXPECT_FALSE(seen.isEmpty());
    EXPECT_FALSE(seen.contains("hidden garden")) << "the next step already sees the protected page";
    EXPECT_TRUE(seen.contains("Say the &lt;word&gt;"));
    EXPECT_TRUE(seen.contains("value=\"Enter\""));
    EXPECT_TRUE(seen.contains("background-color: #336699"));
    EXPECT_FALSE(QFileInfo::exists(homepage(QStringLiteral("xx") + page->UUID() + QStringLiteral(".html"))));
    const QStringList arguments = QString::fromUtf8(readAll(tools.filePath(QStringLiteral("arguments")))).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(arguments.size(), 6) << arguments.join('|').toStdString();
    EXPECT_EQ(arguments[0], QStringLiteral("secret.html"));
    EXPECT_EQ(arguments[2], QStringLiteral("-")) << "the password comes over standard input";
    EXPECT_FALSE(arguments.join(' ').contains(QStringLiteral("sesame")));
    EXPECT_TRUE(document.queue.activityText().contains(QStringLiteral("Creating HTML for Secret password protecting file:secret.html\n")));

    // The same page protected again gives the same bytes.
    writeAll(homepage(QStringLiteral("secret.html")), QByteArray(pageText));
    document.queue.startProcessor(protectScript([] {}));
    drain();
    EXPECT_EQ(readAll(homepage(QStringLiteral("secret.html"))), seen);
}

// Links where the tool reads and writes lead nowhere: a page that is a link
// is not read (nothing outside comes into the site), links under the second
// and the temporary name are removed, never written through, and a
// generated site that is itself a link is not entered.
TEST_F(PasswordProtectTest, NoLinkLeadsTheProtectionOutsideTheSite)
{
    const OutsideTree outside(tools.filePath(QStringLiteral("outside")));
    const QString second = QStringLiteral("xx") + page->UUID() + QStringLiteral(".html");
    struct Case {
        const char* what;
        std::function<void()> plant;
        bool protectedPage; // the page ends up protected (else it is removed, and the failure told)
    };
    const QList<Case> cases {
        { "the page a link to a file outside",
            [&] {
                QFile::remove(homepage(QStringLiteral("secret.html")));
                ASSERT_TRUE(QFile::link(outside.filePath(QStringLiteral("secret.txt")), homepage(QStringLiteral("secret.html"))));
            },
            false },
        { "the second name a link",
            [&] { ASSERT_TRUE(QFile::link(outside.filePath(QStringLiteral("image1.jpg")), homepage(second))); }, true },
        { "the temporary name a link",
            [&] { ASSERT_TRUE(QFile::link(outside.filePath(QStringLiteral("image2.jpg")), homepage(QStringLiteral("secret.html.qvtea-tmp")))); },
            true },
        { "the generated site a link",
            [&] {
                ASSERT_TRUE(QDir(homepage(QString())).removeRecursively());
                ASSERT_TRUE(QFile::link(outside.path(), folder.path() + QStringLiteral("/homepage")));
            },
            false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(folder.path() + QStringLiteral("/homepage"));
        QDir().mkpath(homepage(QString()));
        writeAll(homepage(QStringLiteral("secret.html")), QByteArray(pageText));
        c.plant();
        document.queue.startProcessor(protectScript([] {}));
        drain();
        EXPECT_TRUE(outside.isUnchanged());
        if (!c.protectedPage) {
            EXPECT_TRUE(document.queue.activityText().contains(QStringLiteral("error protecting secret.html"))) << document.queue.activityText().toStdString();
            continue;
        }
        const QByteArray page = readAll(homepage(QStringLiteral("secret.html")));
        EXPECT_TRUE(page.contains("Say the &lt;word&gt;"));
        EXPECT_FALSE(page.contains("hidden garden"));
        EXPECT_FALSE(QFileInfo(homepage(second)).isSymLink());
        EXPECT_FALSE(QFileInfo(homepage(QStringLiteral("secret.html.qvtea-tmp"))).isSymLink());
    }
    EXPECT_FALSE(document.queue.activityText().contains(QStringLiteral("the outside secret")));
}

TEST_F(PasswordProtectTest, AFailedProtectionIsReportedAndThePageRemoved)
{
    const QString failing = tools.filePath(QStringLiteral("failing"));
    ASSERT_TRUE(QDir().mkpath(failing));
    writeAll(failing + QStringLiteral("/qvtea"), "#!/bin/sh\necho broken >&2\nexit 4\n");
    QFile::setPermissions(failing + QStringLiteral("/qvtea"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    struct Case {
        const char* what;
        QString toolFolder;
        QString password;
    };
    const std::vector<Case> cases {
        { "no tool", tools.filePath(QStringLiteral("none")), QStringLiteral("open sesame") },
        { "the tool fails", failing, QStringLiteral("open sesame") },
        { "no password", QStringLiteral(LQ_TEST_LIBEXEC), QString() },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ToolFolder toolFolder(c.toolFolder);
        page->setPassword(c.password);
        writeAll(homepage(QStringLiteral("secret.html")), QByteArray(pageText));
        document.queue.setActivityText(QString());
        bool existed = true;
        document.queue.startProcessor(protectScript([&] { existed = QFileInfo::exists(homepage(QStringLiteral("secret.html"))); }));
        drain();
        EXPECT_FALSE(existed) << "an unprotected page never stays for publishing";
        EXPECT_TRUE(document.queue.activityText().contains(QStringLiteral("XmlPasswordProtect run: error protecting secret.html")))
            << document.queue.activityText().toStdString();
    }
}

TEST_F(PasswordProtectTest, TheToolTakesThePasswordOnlyFromStandardInputAndStretchesIt)
{
    const QString tool = QStringLiteral(LQ_TEST_LIBEXEC) + QStringLiteral("/qvtea");
    const QString second = QStringLiteral("xx") + page->UUID() + QStringLiteral(".html");
    lq::ProcessOptions options;
    options.workingFolder = folder.path() + QStringLiteral("/homepage");

    // A password given as an argument is refused: the page stays as it is.
    options.input = QByteArray("from standard input");
    const lq::ProcessResult refused = lq::runProcess(tool,
        { QStringLiteral("secret.html"), second, QStringLiteral("open sesame"), QStringLiteral("Password"), QStringLiteral("Enter"),
            QStringLiteral("#FFFFFF") },
        options);
    EXPECT_TRUE(refused.started);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(readAll(homepage(QStringLiteral("secret.html"))), QByteArray(pageText));

    // From standard input, with at least 600,000 rounds of the key derivation,
    // and the same bytes for the same page.
    const QStringList arguments { QStringLiteral("secret.html"), second, QStringLiteral("-"), QStringLiteral("Password"),
        QStringLiteral("Enter"), QStringLiteral("#FFFFFF") };
    options.input = QByteArray("open sesame");
    const lq::ProcessResult first = lq::runProcess(tool, arguments, options);
    ASSERT_TRUE(first.succeeded()) << first.failureDetail(tool).toStdString();
    const QByteArray protectedPage = readAll(homepage(QStringLiteral("secret.html")));
    static const QRegularExpression rounds(QStringLiteral("iterations: (\\d+)"));
    const QRegularExpressionMatch found = rounds.match(QString::fromUtf8(protectedPage));
    ASSERT_TRUE(found.hasMatch());
    EXPECT_GE(found.captured(1).toInt(), 600000);
    writeAll(homepage(QStringLiteral("secret.html")), QByteArray(pageText));
    ASSERT_TRUE(lq::runProcess(tool, arguments, options).succeeded());
    EXPECT_EQ(readAll(homepage(QStringLiteral("secret.html"))), protectedPage);
}

TEST_F(PasswordProtectTest, APageOutsideASiteStartsNoTool)
{
    ToolFolder toolFolder(tools.path());
    recordingTool();
    auto loose = XmlAlbum::create();
    loose->setPassword(QStringLiteral("x"));
    auto step = XmlPasswordProtect::createForAlbumFilenameNewnameBkgnd(loose->UUID(), QStringLiteral("secret.html"),
        QStringLiteral("xx.html"), QStringLiteral("#FFFFFF"));
    EXPECT_FALSE(step->run());
    EXPECT_FALSE(QFileInfo::exists(tools.filePath(QStringLiteral("arguments"))));
    EXPECT_EQ(readAll(homepage(QStringLiteral("secret.html"))), QByteArray(pageText));
}

TEST_F(PasswordProtectTest, TheBrowserOpensTheProtectedPageWithThePassword)
{
    ToolFolder toolFolder(QStringLiteral(LQ_TEST_LIBEXEC));
    document.queue.startProcessor(protectScript([] {}));
    drain();
    QByteArray prompt = readAll(homepage(QStringLiteral("secret.html")));
    ASSERT_TRUE(prompt.contains("qvOpen"));
    EXPECT_FALSE(prompt.contains("hidden garden"));

    // Valid HTML 4.01 Transitional, when the validator is there.
    if (htmlValidatorAvailable()) {
        const QString errors = validationErrors(homepage(QStringLiteral("secret.html")));
        EXPECT_TRUE(errors.isEmpty()) << errors.toStdString();
    }

    // The user types the password and submits: the test page does what the
    // user does once the prompt has loaded, then keeps the page busy (the
    // browser's clock is virtual and would not wait for the decryption)
    // until the page is open or the prompt answered.
    const QString tried = homepage(QStringLiteral("tried.html"));
    const auto typing = [&](const QByteArray& password) {
        QByteArray page = prompt;
        page.replace("</body>", "<script type=\"text/javascript\">document.getElementById('qvpassword').value = '" + password
                + "'; document.getElementById('qvsubmit').click();\n"
                  "var spins = 0;\n"
                  "function spin() { var x = 0; for (var i = 0; i < 3000000; i++) x += i;\n"
                  "  var m = document.getElementById('qvmessage');\n"
                  "  if (++spins < 400 && m && m.firstChild.nodeValue.length < 2) setTimeout(spin, 10); }\n"
                  "spin();</script>\n</body>");
        return page;
    };
    writeAll(tried, typing("open sesame"));
    QByteArray out;
    QByteArray err;
    if (runChromium(QStringLiteral("file://") + tried, &out, &err) != 0)
        GTEST_SKIP() << "chromium cannot start here, so the prompt is not tried in a browser: " << err.left(400).constData();
    EXPECT_TRUE(out.contains("The hidden garden opens at dawn")) << out.left(2000).constData();

    // A wrong password shows the message and keeps the page closed.
    writeAll(tried, typing("guess"));
    ASSERT_EQ(runChromium(QStringLiteral("file://") + tried, &out, &err), 0);
    EXPECT_FALSE(out.contains("hidden garden"));
    EXPECT_TRUE(out.contains("<p id=\"qvmessage\">Wrong password</p>")) << out.right(1500).constData();
}
