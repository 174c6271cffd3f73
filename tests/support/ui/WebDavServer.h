#pragma once
// A WebDAV server for one test: apache2 with mod_dav on 127.0.0.1, its own
// configuration and folders in a temporary folder, run in the foreground as
// a child of the test and stopped when the object goes. Basic
// authentication as "tester" / "secret"; the files land in folder().
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

class WebDavServer {
public:
    explicit WebDavServer(int port) : _port(port) {}
    ~WebDavServer()
    {
        if (_apache.state() != QProcess::NotRunning) {
            _apache.terminate();
            if (!_apache.waitForFinished(10000)) {
                _apache.kill();
                _apache.waitForFinished(5000);
            }
        }
    }
    WebDavServer(const WebDavServer&) = delete;
    WebDavServer& operator=(const WebDavServer&) = delete;

    static bool available() { return QFileInfo(QStringLiteral("/usr/sbin/apache2")).isExecutable() && QFileInfo(QStringLiteral("/usr/bin/htpasswd")).isExecutable(); }

    // Starts the server and waits until it answers; false (with why()) when it does not.
    bool start()
    {
        const QString base = _base.path();
        ::chmod(base.toLocal8Bit().constData(), 0755);
        for (const char* sub : {"dav", "logs", "lock", "run"})
            QDir().mkpath(base + QLatin1Char('/') + QLatin1String(sub));
        if (::getuid() == 0) {
            if (struct passwd* www = ::getpwnam("www-data")) {
                for (const char* sub : {"dav", "lock"})
                    (void)::chown((base + QLatin1Char('/') + QLatin1String(sub)).toLocal8Bit().constData(), www->pw_uid, www->pw_gid);
            }
        }
        if (QProcess::execute(QStringLiteral("/usr/bin/htpasswd"), {QStringLiteral("-bc"), base + QStringLiteral("/htpasswd"),
                                 QStringLiteral("tester"), QStringLiteral("secret")}) != 0)
            return fail(QStringLiteral("htpasswd failed"));
        const QString m = QStringLiteral("/usr/lib/apache2/modules");
        QString conf;
        conf += QStringLiteral("ServerRoot \"") + base + QStringLiteral("\"\nServerName 127.0.0.1\nListen 127.0.0.1:") + QString::number(_port) + QLatin1Char('\n');
        conf += QStringLiteral("PidFile \"") + base + QStringLiteral("/run/httpd.pid\"\nDefaultRuntimeDir \"") + base + QStringLiteral("/run\"\n");
        conf += QStringLiteral("Mutex file:") + base + QStringLiteral("/run default\nErrorLog \"") + base + QStringLiteral("/logs/error.log\"\nLogLevel warn\n");
        conf += QStringLiteral("User www-data\nGroup www-data\n");
        for (const char* module : {"mpm_event", "authn_core", "authn_file", "authz_core", "authz_user", "auth_basic", "dav", "dav_fs"})
            conf += QStringLiteral("LoadModule ") + QLatin1String(module) + QStringLiteral("_module ") + m + QStringLiteral("/mod_") + QLatin1String(module) + QStringLiteral(".so\n");
        conf += QStringLiteral("StartServers 1\nServerLimit 2\nThreadsPerChild 16\nMaxRequestWorkers 32\nMinSpareThreads 1\nMaxSpareThreads 32\n");
        conf += QStringLiteral("DavLockDB \"") + base + QStringLiteral("/lock/DavLock\"\nDocumentRoot \"") + base + QStringLiteral("/dav\"\n");
        conf += QStringLiteral("<Directory />\n  AllowOverride None\n</Directory>\n<Directory \"") + base
            + QStringLiteral("/dav\">\n  Dav On\n  AuthType Basic\n  AuthName \"test\"\n  AuthUserFile \"") + base
            + QStringLiteral("/htpasswd\"\n  Require valid-user\n</Directory>\n");
        QFile file(base + QStringLiteral("/httpd.conf"));
        if (!file.open(QIODevice::WriteOnly) || file.write(conf.toUtf8()) < 0)
            return fail(QStringLiteral("cannot write the configuration"));
        file.close();
        _apache.setProcessChannelMode(QProcess::MergedChannels);
        _apache.start(QStringLiteral("/usr/sbin/apache2"), {QStringLiteral("-f"), file.fileName(), QStringLiteral("-DFOREGROUND")});
        if (!_apache.waitForStarted(5000))
            return fail(QStringLiteral("apache2 did not start"));
        for (int i = 0; i < 200; ++i) {
            QTcpSocket probe;
            probe.connectToHost(QStringLiteral("127.0.0.1"), static_cast<quint16>(_port));
            if (probe.waitForConnected(100))
                return true;
            if (_apache.state() == QProcess::NotRunning)
                return fail(QString::fromLocal8Bit(_apache.readAll()));
            QThread::msleep(25);
        }
        return fail(QStringLiteral("apache2 does not answer"));
    }

    QString folder() const { return _base.path() + QStringLiteral("/dav"); }
    const QString& why() const { return _why; }

private:
    bool fail(const QString& why)
    {
        _why = why;
        return false;
    }

    int _port;
    QTemporaryDir _base;
    QProcess _apache;
    QString _why;
};
