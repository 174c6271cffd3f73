#pragma once
// An FTP server for one test: pyftpdlib on 127.0.0.1, run as a child of the
// test and stopped when the object goes. User "tester" / "secret"; the files
// land in folder().
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

class FtpServer {
public:
    // The passive ports are the twenty after the control port's hundred.
    explicit FtpServer(int port) : _port(port) {}
    ~FtpServer()
    {
        if (_server.state() != QProcess::NotRunning) {
            _server.kill();
            _server.waitForFinished(5000);
        }
    }
    FtpServer(const FtpServer&) = delete;
    FtpServer& operator=(const FtpServer&) = delete;

    static bool available()
    {
        return QProcess::execute(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QStringLiteral("import pyftpdlib")}) == 0;
    }

    bool start()
    {
        QDir().mkpath(folder());
        const QString script = _base.filePath(QStringLiteral("ftpd.py"));
        QFile file(script);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        file.write(
            "import sys, logging\n"
            "from pyftpdlib.authorizers import DummyAuthorizer\n"
            "from pyftpdlib.handlers import FTPHandler\n"
            "from pyftpdlib.servers import FTPServer\n"
            "port, root, user, password, lo, hi = int(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4], int(sys.argv[5]), int(sys.argv[6])\n"
            "auth = DummyAuthorizer()\n"
            "auth.add_user(user, password, root, perm='elradfmwMT')\n"
            "handler = FTPHandler\n"
            "handler.authorizer = auth\n"
            "handler.passive_ports = range(lo, hi + 1)\n"
            "handler.auth_failed_timeout = 0.1\n"
            "logging.basicConfig(level=logging.WARNING, stream=sys.stderr)\n"
            "server = FTPServer(('127.0.0.1', port), handler)\n"
            "print('listening', flush=True)\n"
            "server.serve_forever()\n");
        file.close();
        const int passive = _port + 100;
        _server.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-W"), QStringLiteral("ignore"), script, QString::number(_port), folder(),
                                                              QStringLiteral("tester"), QStringLiteral("secret"), QString::number(passive),
                                                              QString::number(passive + 19)});
        if (!_server.waitForStarted(5000))
            return false;
        while (_server.waitForReadyRead(10000)) {
            if (_server.readAllStandardOutput().contains("listening"))
                return true;
        }
        return false;
    }

    QString folder() const { return _base.path() + QStringLiteral("/ftp"); }

private:
    int _port;
    QTemporaryDir _base;
    QProcess _server;
};
