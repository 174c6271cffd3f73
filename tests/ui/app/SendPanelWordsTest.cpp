// What a server says, and the names it is told, reach the Send panel of the
// document window as their characters: a site made from the shipped
// starter, published with the window's own Export to servers on 127.0.0.1
// that answer with markup (pyftpdlib refusing a file with a 451 of such
// words, a WebDAV server of the test's own whose status lines hold them) or
// that cannot take a file whose name holds it (sshd, where a folder of that
// name is in the way). The panel's title and lines, and the notice, show
// the words as written, never drawn.
#include "ui/app/ExportController.h"
#include "ui/app/MyDocumentWindow.h"
#include "ui/app/SendPanel.h"
#include "document/MyDocument.h"
#include "platform/SupportPaths.h"
#include "platform/Workspace.h"
#include "publish/SendController.h"
#include "publish/XmlLocation.h"

#include "support/EventLoop.h"
#include "support/HelperTools.h"
#include "support/RecordingPublishObserver.h"
#include "support/TestFiles.h"
#include "support/TestServers.h"
#include "support/ui/ScriptedModalHandler.h"
#include "support/ui/ShownText.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

namespace {

// An HTTP server that answers every request with one status and the words
// given after it on the status line.
class AnsweringWebServer {
public:
    QTemporaryDir base;
    testservers::ServerProcess server;
    int port = 0;
    QString why;

    bool start(int status, const QString& words)
    {
        const QString python = QStringLiteral("/usr/bin/python3");
        writeAll(base.path() + QStringLiteral("/answer.py"), R"PY(
import sys
from http.server import BaseHTTPRequestHandler, HTTPServer
port, status, words = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
class Handler(BaseHTTPRequestHandler):
    protocol_version = 'HTTP/1.1'
    def answer(self):
        length = int(self.headers.get('Content-Length') or 0)
        if length:
            self.rfile.read(length)
        self.send_response(status, words)
        self.send_header('Content-Length', '0')
        self.end_headers()
    def __getattr__(self, name):
        if name.startswith('do_'):
            return self.answer
        raise AttributeError(name)
HTTPServer(('127.0.0.1', port), Handler).serve_forever()
)PY");
        port = testservers::freePort();
        const QString log = base.path() + QStringLiteral("/answer.log");
        if (!server.start(python, { base.path() + QStringLiteral("/answer.py"), QString::number(port), QString::number(status), words }, log)
            || !testservers::waitForPort(port, server.pid())) {
            why = QStringLiteral("the answering server did not start: ") + QString::fromUtf8(readAll(log));
            return false;
        }
        return true;
    }
};

class SendPanelWordsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(work.isValid());
        oldHome = qgetenv("HOME");
        ASSERT_TRUE(QDir().mkpath(work.filePath(QStringLiteral("home"))));
        qputenv("HOME", work.filePath(QStringLiteral("home")).toUtf8());
        useBuiltHelperTools();
        lq::setOpenURLHandler([](const QUrl&) { return true; });
        folder = work.filePath(QStringLiteral("Garden.lqxl"));
        ASSERT_TRUE(document.newDocument(folder)) << document.lastError().toStdString();
        QFile::remove(lq::supportFolder() + QStringLiteral("/known_hosts"));
        window = std::make_unique<MyDocumentWindow>(document, nullptr);
        window->sender()->addObserver(&reports);
        window->setMainTab(QStringLiteral("Send"));
        window->show();
    }
    void TearDown() override
    {
        window.reset();
        lq::setOpenURLHandler({});
        qputenv("HOME", oldHome);
    }

    void toFTP(bool sftp, int port, const QString& user)
    {
        XmlLocation& where = *document.location();
        where.setServerType(XmlLocation::FTPServer);
        where.setFtpType(sftp ? 1 : 0);
        where.setLocation(QStringLiteral("127.0.0.1:") + QString::number(port));
        where.setUsername(user);
        where.setPassword(QStringLiteral("secret"));
        where.setFtpFolder(QStringLiteral("site"));
    }
    void toWebDAV(int port)
    {
        XmlLocation& where = *document.location();
        where.setServerType(XmlLocation::WebDAV);
        where.setLocation(QStringLiteral("http://127.0.0.1:") + QString::number(port) + QStringLiteral("/site"));
        where.setUsername(QStringLiteral("tester"));
        where.setPassword(QStringLiteral("secret"));
    }

    // Export in the window, as its button does; how the run ended.
    const PublishObserver::Ending* exportInTheWindow()
    {
        ExportController* panel = window->exportController();
        panel->updateGUI();
        const qsizetype before = reports.endings.size();
        panel->exportButton();
        if (!reports.waitForEnding(before, 300000))
            return nullptr;
        QApplication::processEvents();
        return reports.lastEnding();
    }

    // The panel shows the words in one of its lines, and every line as it
    // was written.
    void expectShownAsWritten(const QString& words)
    {
        SendPanel* shown = window->sendPanel();
        ASSERT_NE(shown, nullptr);
        QStringList lines;
        for (const QLabel* label : shown->findChildren<QLabel*>()) {
            EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->text().toStdString();
            EXPECT_EQ(shownText(*label), label->text());
            lines.append(label->text());
        }
        const QLabel* notice = window->exportController()->notice();
        EXPECT_EQ(notice->textFormat(), Qt::PlainText);
        EXPECT_EQ(shownText(*notice), notice->text());
        EXPECT_TRUE(shown->status1()->isVisibleTo(window.get()));
        EXPECT_FALSE(lines.filter(words).isEmpty()) << "the words, as written, in one of the panel's lines:\n"
                                                    << lines.join(QLatin1Char('\n')).toStdString() << "\n" << reports.story().toStdString();
    }

    QTemporaryDir work;
    QByteArray oldHome;
    QString folder;
    ScopedModalHandler modal;
    MyDocument document;
    RecordingPublishObserver reports;
    std::unique_ptr<MyDocumentWindow> window;
};

} // namespace

TEST_F(SendPanelWordsTest, AnFTPServerRefusingAFileWithMarkupIsQuotedAsWritten)
{
    for (const QString& words : wordsWithMarkup()) {
        SCOPED_TRACE(words.toStdString());
        testservers::FTPServer ftp;
        ftp.refusedName = QStringLiteral("index.html");
        ftp.refusalWords = words;
        if (!ftp.start())
            GTEST_SKIP() << ftp.why.toStdString();
        toFTP(false, ftp.port, QStringLiteral("tester"));
        const PublishObserver::Ending* ending = exportInTheWindow();
        ASSERT_TRUE(ending) << reports.story().toStdString();
        EXPECT_EQ(ending->outcome, PublishObserver::Outcome::Failed) << reports.story().toStdString();
        expectShownAsWritten(words);
    }
}

TEST_F(SendPanelWordsTest, AWebDAVServerAnsweringWithMarkupIsQuotedAsWritten)
{
    for (const QString& words : wordsWithMarkup()) {
        SCOPED_TRACE(words.toStdString());
        AnsweringWebServer server;
        if (!server.start(403, words))
            GTEST_SKIP() << server.why.toStdString();
        toWebDAV(server.port);
        const PublishObserver::Ending* ending = exportInTheWindow();
        ASSERT_TRUE(ending) << reports.story().toStdString();
        EXPECT_EQ(ending->outcome, PublishObserver::Outcome::Failed) << reports.story().toStdString();
        expectShownAsWritten(words);
    }
}

// An SFTP status carries no words of the server's: the outside words there
// are the names. A site file whose name holds markup meets a folder of that
// name on the server, and the failure names it.
TEST_F(SendPanelWordsTest, AnSFTPFailureNamingAFileWithMarkupShowsTheNameAsWritten)
{
    testservers::SFTPServer sftp;
    if (!sftp.start())
        GTEST_SKIP() << sftp.why.toStdString();
    const QStringList names = {
        QStringLiteral("<b>bold<b>.txt"),
        QStringLiteral("<img src=x>.txt"),
        QStringLiteral("<a href=x>link<a>.txt"),
        QStringLiteral("<table><tr><td>cell.txt"),
        QStringLiteral("&lt;script&gt;.txt"),
    };
    for (const QString& name : names) {
        writeAll(folder + QStringLiteral("/files/") + name, "notes\n");
        const QString inTheWay = sftp.root() + QStringLiteral("/site/") + name;
        ASSERT_TRUE(QDir().mkpath(inTheWay));
        writeAll(inTheWay + QStringLiteral("/kept"), "kept\n");
    }
    toFTP(true, sftp.port, sftp.user);
    testservers::runQuietly(QStringLiteral("/bin/chown"), { sftp.user + QLatin1Char(':'), sftp.root() + QStringLiteral("/site") });
    const PublishObserver::Ending* ending = exportInTheWindow();
    ASSERT_TRUE(ending) << reports.story().toStdString();
    EXPECT_EQ(ending->outcome, PublishObserver::Outcome::Failed) << reports.story().toStdString();
    // The panel names the first files that failed; each name as written.
    SendPanel* shown = window->sendPanel();
    const QString lines = shown->status1()->text() + QLatin1Char('\n') + shown->status2()->text();
    int named = 0;
    for (const QString& name : names)
        named += lines.contains(name) ? 1 : 0;
    EXPECT_GE(named, 1) << lines.toStdString() << "\n" << reports.story().toStdString();
    expectShownAsWritten(QStringLiteral(".txt"));
}
