#pragma once
// python3's http.server on 127.0.0.1, serving a temporary folder on a port
// the system picks; stopped when the object goes.
#include "support/EventLoop.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

class LocalHttpServer {
public:
    LocalHttpServer()
    {
        _server.setProcessChannelMode(QProcess::MergedChannels);
        _server.start(QStringLiteral("python3"), {QStringLiteral("-u"), QStringLiteral("-m"), QStringLiteral("http.server"), QStringLiteral("0"),
                                                   QStringLiteral("--bind"), QStringLiteral("127.0.0.1"), QStringLiteral("--directory"), _root.path()});
        static const QRegularExpression serving(QStringLiteral("port (\\d+)"));
        processEventsUntil([&] {
            _output += _server.readAll();
            const QRegularExpressionMatch match = serving.match(QString::fromUtf8(_output));
            if (match.hasMatch())
                _port = match.captured(1).toInt();
            return _port != 0 || _server.state() == QProcess::NotRunning;
        }, 15000);
    }
    ~LocalHttpServer()
    {
        _server.kill();
        _server.waitForFinished(5000);
    }
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    bool isRunning() const { return _port != 0; }
    QString address() const { return QStringLiteral("http://127.0.0.1:") + QString::number(_port); }
    // Serves the bytes at the path (relative to the server's root, "/" separated).
    void serve(const QString& path, const QByteArray& bytes)
    {
        const QString file = _root.path() + QLatin1Char('/') + path;
        QDir().mkpath(QFileInfo(file).path());
        QFile out(file);
        if (out.open(QIODevice::WriteOnly))
            out.write(bytes);
    }
    // Everything the server printed (its request log).
    QString output()
    {
        _output += _server.readAll();
        return QString::fromUtf8(_output);
    }

private:
    QTemporaryDir _root;
    QProcess _server;
    QByteArray _output;
    int _port = 0;
};
