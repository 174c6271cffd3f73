#pragma once

// Real servers for the publishing tests, started as child processes on
// 127.0.0.1 (free ports) and stopped by their process id: apache2 with
// mod_dav (WebDAV, basic or digest authentication), pyftpdlib (FTP) and
// OpenSSH's sshd with internal-sftp (SFTP). A server that cannot start says
// why in `why`; the tests then skip.
#include "support/TestFiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include <arpa/inet.h>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <vector>

namespace testservers {

// A port on 127.0.0.1 that nobody listens on now.
inline int freePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t size = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
        && ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

inline bool answers(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

inline bool waitForPort(int port, pid_t pid, int milliseconds = 10000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
        if (answers(port))
            return true;
        int status = 0;
        if (pid > 0 && ::waitpid(pid, &status, WNOHANG) == pid)
            return false;
        QThread::msleep(20);
    }
    return false;
}

// A foreground server run as our own child; stopped with SIGTERM (then
// SIGKILL) and reaped.
class ServerProcess {
public:
    ~ServerProcess() { stop(); }

    bool start(const QString& program, const QStringList& arguments, const QString& log)
    {
        std::vector<QByteArray> storage { program.toLocal8Bit() };
        for (const QString& argument : arguments)
            storage.push_back(argument.toLocal8Bit());
        std::vector<char*> argv;
        for (QByteArray& item : storage)
            argv.push_back(item.data());
        argv.push_back(nullptr);
        const QByteArray logPath = log.toLocal8Bit();
        _pid = ::fork();
        if (_pid == 0) {
            ::setpgid(0, 0);
            const int out = ::open(logPath.constData(), O_WRONLY | O_CREAT | O_APPEND, 0644);
            if (out >= 0) {
                ::dup2(out, 1);
                ::dup2(out, 2);
            }
            const int in = ::open("/dev/null", O_RDONLY);
            ::dup2(in, 0);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        return _pid > 0;
    }

    pid_t pid() const { return _pid; }

    void stop()
    {
        if (_pid <= 0)
            return;
        // The server's own children (apache's workers, sshd's sessions) are in its group.
        ::kill(-_pid, SIGTERM);
        ::kill(_pid, SIGTERM);
        for (int i = 0; i < 200; ++i) {
            int status = 0;
            if (::waitpid(_pid, &status, WNOHANG) == _pid) {
                ::kill(-_pid, SIGKILL);
                _pid = -1;
                return;
            }
            QThread::msleep(10);
        }
        ::kill(-_pid, SIGKILL);
        ::kill(_pid, SIGKILL);
        ::waitpid(_pid, nullptr, 0);
        _pid = -1;
    }

private:
    pid_t _pid = -1;
};

inline bool runQuietly(const QString& program, const QStringList& arguments, const QByteArray& input = QByteArray())
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted())
        return false;
    process.write(input);
    process.closeWriteChannel();
    return process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// apache2 serving <base>/dav with WebDAV, user "tester" / "secret"; over
// https with a certificate of its own (which no system trusts) when asked.
class WebDAVServer {
public:
    QTemporaryDir base;
    ServerProcess server;
    int port = 0;
    QString why;
    bool https = false;

    QString davRoot() const { return base.path() + QStringLiteral("/dav"); }
    QString address() const { return QStringLiteral("127.0.0.1:") + QString::number(port); }
    // The address with its scheme, as a user types it.
    QString url() const { return (https ? QStringLiteral("https://") : QStringLiteral("http://")) + address(); }
    QString accessLog() const { return QString::fromUtf8(readAll(base.path() + QStringLiteral("/logs/access.log"))); }
    // The request lines of the access log ("PUT /x.html 201"), in order.
    QStringList requests() const
    {
        QStringList lines;
        for (const QString& line : accessLog().split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const qsizetype open = line.indexOf(QLatin1Char('"'));
            const qsizetype close = line.lastIndexOf(QLatin1Char('"'));
            if (open < 0 || close <= open)
                continue;
            const QStringList request = line.mid(open + 1, close - open - 1).split(QLatin1Char(' '));
            const QString status = line.mid(close + 2).section(QLatin1Char(' '), 0, 0);
            if (request.size() >= 2)
                lines.append(request[0] + QLatin1Char(' ') + request[1] + QLatin1Char(' ') + status);
        }
        return lines;
    }

    bool start(bool digest, bool overHttps = false)
    {
        const QString apache = QStringLiteral("/usr/sbin/apache2");
        const QString modules = QStringLiteral("/usr/lib/apache2/modules");
        if (!QFileInfo(apache).isExecutable() || !QFileInfo(modules + QStringLiteral("/mod_dav_fs.so")).exists()) {
            why = QStringLiteral("apache2 with mod_dav is not installed (package apache2)");
            return false;
        }
        https = overHttps;
        if (https && !QFileInfo(modules + QStringLiteral("/mod_ssl.so")).exists()) {
            why = QStringLiteral("apache2 has no mod_ssl");
            return false;
        }
        const QString b = base.path();
        ::chmod(b.toLocal8Bit().constData(), 0755);
        for (const char* folder : { "dav", "logs", "lock", "run" })
            QDir().mkpath(b + QLatin1Char('/') + QLatin1String(folder));
        const bool root = ::geteuid() == 0;
        if (root)
            runQuietly(QStringLiteral("/bin/chown"), { QStringLiteral("www-data:www-data"), b + QStringLiteral("/dav"), b + QStringLiteral("/lock") });
        const QString realm = QStringLiteral("test");
        if (digest) {
            const QByteArray hash = QCryptographicHash::hash("tester:test:secret", QCryptographicHash::Md5).toHex();
            writeAll(b + QStringLiteral("/users"), "tester:test:" + hash + "\n");
        } else {
            writeAll(b + QStringLiteral("/users"), "tester:" + QByteArray("{SHA}") + QCryptographicHash::hash("secret", QCryptographicHash::Sha1).toBase64() + "\n");
        }
        port = freePort();
        QString conf;
        conf += QStringLiteral("ServerRoot \"") + b + QStringLiteral("\"\nServerName 127.0.0.1\nListen 127.0.0.1:") + QString::number(port) + QLatin1Char('\n');
        conf += QStringLiteral("PidFile \"") + b + QStringLiteral("/run/httpd.pid\"\nDefaultRuntimeDir \"") + b + QStringLiteral("/run\"\n");
        conf += QStringLiteral("Mutex file:") + b + QStringLiteral("/run default\nErrorLog \"") + b + QStringLiteral("/logs/error.log\"\nLogLevel warn\n");
        conf += QStringLiteral("LogFormat \"%h %u \\\"%r\\\" %>s %b\" short\nCustomLog \"") + b + QStringLiteral("/logs/access.log\" short\n");
        if (root)
            conf += QStringLiteral("User www-data\nGroup www-data\n");
        for (const char* module : { "mpm_event", "authn_core", "authn_file", "authz_core", "authz_user", "auth_basic", "auth_digest", "dav", "dav_fs" })
            conf += QStringLiteral("LoadModule ") + QLatin1String(module) + QStringLiteral("_module ") + modules + QStringLiteral("/mod_") + QLatin1String(module) + QStringLiteral(".so\n");
        if (https) {
            if (!runQuietly(QStringLiteral("/usr/bin/openssl"), { QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("rsa:2048"),
                    QStringLiteral("-nodes"), QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"),
                    QStringLiteral("-addext"), QStringLiteral("subjectAltName=IP:127.0.0.1"), QStringLiteral("-keyout"), b + QStringLiteral("/key.pem"),
                    QStringLiteral("-out"), b + QStringLiteral("/cert.pem") })) {
                why = QStringLiteral("openssl could not make a certificate");
                return false;
            }
            conf += QStringLiteral("LoadModule socache_shmcb_module ") + modules + QStringLiteral("/mod_socache_shmcb.so\nLoadModule ssl_module ") + modules
                + QStringLiteral("/mod_ssl.so\nSSLEngine on\nSSLCertificateFile \"") + b + QStringLiteral("/cert.pem\"\nSSLCertificateKeyFile \"") + b
                + QStringLiteral("/key.pem\"\n");
        }
        conf += QStringLiteral("StartServers 1\nServerLimit 2\nThreadsPerChild 16\nMaxRequestWorkers 32\nMinSpareThreads 1\nMaxSpareThreads 32\n");
        conf += QStringLiteral("DavLockDB \"") + b + QStringLiteral("/lock/DavLock\"\nDocumentRoot \"") + b + QStringLiteral("/dav\"\n");
        conf += QStringLiteral("<Directory />\n  AllowOverride None\n</Directory>\n<Directory \"") + b + QStringLiteral("/dav\">\n  Dav On\n");
        if (digest)
            conf += QStringLiteral("  AuthType Digest\n  AuthDigestProvider file\n");
        else
            conf += QStringLiteral("  AuthType Basic\n");
        conf += QStringLiteral("  AuthName \"") + realm + QStringLiteral("\"\n  AuthUserFile \"") + b + QStringLiteral("/users\"\n  Require valid-user\n</Directory>\n");
        writeAll(b + QStringLiteral("/httpd.conf"), conf.toUtf8());
        if (!server.start(apache, { QStringLiteral("-f"), b + QStringLiteral("/httpd.conf"), QStringLiteral("-DFOREGROUND") }, b + QStringLiteral("/logs/console.log"))
            || !waitForPort(port, server.pid())) {
            why = QStringLiteral("apache2 did not start: ") + QString::fromUtf8(readAll(b + QStringLiteral("/logs/console.log")))
                + QString::fromUtf8(readAll(b + QStringLiteral("/logs/error.log")));
            return false;
        }
        return true;
    }
};

// pyftpdlib serving <base>/ftp, user "tester" / "secret"; a second user,
// "visitor" / "secret", has <base>/ftp/visitor as home. It may be told to
// let the account only read one folder (as a server refuses writes where
// the account has no right to them), and to refuse every file of one name
// with "451 Requested action aborted: local error in processing" (or with
// words of the test's own after the 451) when it is stored under that
// name, or renamed to it.
class FTPServer {
public:
    QTemporaryDir base;
    ServerProcess server;
    int port = 0;
    QString why;
    QString readOnlyFolder;   // below the root; "" for none
    QString refusedName;      // a file name every STOR of which fails; "" for none
    QString refusalWords = QStringLiteral("Requested action aborted: local error in processing.");
    // How the server answers besides: "" as pyftpdlib does; "421 cleartext"
    // or "534 tls" to USER, as a server that takes only TLS logins; "552
    // lines" to every STOR, a full disk told in a reply of several lines
    // whose last line holds only timings.
    QString answers;

    // Makes the server lie about every file of the name it is told to
    // rename to: "nothing" answers the rename as done and drops the file,
    // "elsewhere" stores it with its spaces made "_", "short" keeps only its
    // first half; "" tells the truth again. Read at every rename.
    void lieAbout(const QString& name, const QString& lie) const
    {
        writeAll(base.path() + QStringLiteral("/lie-name"), name.toUtf8());
        writeAll(base.path() + QStringLiteral("/lie"), lie.toUtf8());
    }

    QString root() const { return base.path() + QStringLiteral("/ftp"); }
    QString log() const { return QString::fromUtf8(readAll(base.path() + QStringLiteral("/ftpd.log"))); }

    bool start()
    {
        const QString python = QStringLiteral("/usr/bin/python3");
        if (!QFileInfo(python).isExecutable() || !runQuietly(python, { QStringLiteral("-c"), QStringLiteral("import pyftpdlib") })) {
            why = QStringLiteral("pyftpdlib is not installed (package python3-pyftpdlib)");
            return false;
        }
        const QString b = base.path();
        QDir().mkpath(root());
        lieAbout(QString(), QString());
        port = freePort();
        const int passive = freePort();
        writeAll(b + QStringLiteral("/ftpd.py"),
            "import sys, logging\n"
            "from pyftpdlib.authorizers import DummyAuthorizer\n"
            "from pyftpdlib.handlers import FTPHandler\n"
            "from pyftpdlib.servers import FTPServer\n"
            "import os\n"
            "port, root, passive, readonly, refused, words, answers, lies = int(sys.argv[1]), sys.argv[2], int(sys.argv[3]), sys.argv[4], sys.argv[5], sys.argv[6], sys.argv[7], sys.argv[8]\n"
            "auth = DummyAuthorizer()\n"
            "auth.add_user('tester', 'secret', root, perm='elradfmwMT')\n"
            "os.makedirs(root + '/visitor', exist_ok=True)\n"
            "auth.add_user('visitor', 'secret', root + '/visitor', perm='elradfmwMT')\n"
            "if readonly:\n"
            "    os.makedirs(os.path.join(root, readonly), exist_ok=True)\n"
            "    auth.override_perm('tester', os.path.join(root, readonly), perm='elr', recursive=True)\n"
            "class Handler(FTPHandler):\n"
            "    def ftp_USER(self, line):\n"
            "        if answers == '421 cleartext':\n"
            "            self.respond('421 Sorry, cleartext sessions are not accepted on this server.')\n"
            "            self.close_when_done()\n"
            "            return\n"
            "        if answers == '534 tls':\n"
            "            self.respond('534 This server requires TLS')\n"
            "            return\n"
            "        return FTPHandler.ftp_USER(self, line)\n"
            "    def ftp_STOR(self, file, mode='w'):\n"
            "        if answers == '552 lines':\n"
            "            self.respond('552-Disk full - please upload later\\r\\n552 0.003 seconds (measured here), 1.21 Mbytes per second')\n"
            "            return\n"
            "        if refused and os.path.basename(file) == refused:\n"
            "            self.respond('451 ' + words)\n"
            "            return\n"
            "        return FTPHandler.ftp_STOR(self, file, mode)\n"
            "    def ftp_RNTO(self, path):\n"
            "        if refused and os.path.basename(path) == refused:\n"
            "            self._rnfr = None\n"
            "            self.respond('451 ' + words)\n"
            "            return\n"
            "        lie, name = open(lies + '/lie').read(), open(lies + '/lie-name', 'rb').read().decode()\n"
            "        if lie and self._rnfr and os.path.basename(path) == name:\n"
            "            if lie == 'nothing':\n"
            "                os.remove(self._rnfr)\n"
            "                self._rnfr = None\n"
            "                self.respond('250 Renaming ok.')\n"
            "                return\n"
            "            if lie == 'elsewhere':\n"
            "                path = os.path.join(os.path.dirname(path), name.replace(' ', '_'))\n"
            "            if lie == 'short':\n"
            "                os.truncate(self._rnfr, os.path.getsize(self._rnfr) // 2)\n"
            "        return FTPHandler.ftp_RNTO(self, path)\n"
            "Handler.authorizer = auth\n"
            "Handler.passive_ports = range(passive, passive + 1)\n"
            "Handler.auth_failed_timeout = 0.1\n"
            "logging.basicConfig(level=logging.INFO, stream=sys.stderr)\n"
            "server = FTPServer(('127.0.0.1', port), Handler)\n"
            "server.serve_forever()\n");
        if (!server.start(python, { QStringLiteral("-W"), QStringLiteral("ignore"), b + QStringLiteral("/ftpd.py"), QString::number(port), root(), QString::number(passive),
                                      readOnlyFolder, refusedName, refusalWords, answers, b },
                b + QStringLiteral("/ftpd.log"))
            || !waitForPort(port, server.pid())) {
            why = QStringLiteral("pyftpdlib did not start: ") + log();
            return false;
        }
        return true;
    }
};

// OpenSSH's sshd with internal-sftp for the account "lqsftptest" / "secret",
// whose home (and start folder) is <base>/sftp. Needs root (the account).
class SFTPServer {
public:
    QTemporaryDir base;
    ServerProcess server;
    int port = 0;
    QString why;
    QString user = QStringLiteral("lqsftptest");

    QString root() const { return base.path() + QStringLiteral("/sftp"); }
    QString log() const { return QString::fromUtf8(readAll(base.path() + QStringLiteral("/sshd.log"))); }

    // Whether the sessions go through the relay that can lie (set before start).
    bool relayed = false;

    // As FTPServer::lieAbout ("nothing" and "elsewhere"), for a relayed
    // server: OpenSSH's own SFTP server behind a relay that rewrites the
    // client's renames of that name. Read at every session.
    void lieAbout(const QString& name, const QString& lie) const
    {
        writeAll(base.path() + QStringLiteral("/lie-name"), name.toUtf8());
        writeAll(base.path() + QStringLiteral("/lie"), lie.toUtf8());
    }

    bool start()
    {
        const QString sshd = QStringLiteral("/usr/sbin/sshd");
        if (!QFileInfo(sshd).isExecutable()) {
            why = QStringLiteral("sshd is not installed (package openssh-server)");
            return false;
        }
        if (::geteuid() != 0) {
            why = QStringLiteral("the SFTP server needs root to make its test account");
            return false;
        }
        const QString b = base.path();
        ::chmod(b.toLocal8Bit().constData(), 0755);
        QDir().mkpath(root());
        if (!runQuietly(QStringLiteral("/usr/bin/id"), { user }))
            runQuietly(QStringLiteral("/usr/sbin/useradd"), { QStringLiteral("-M"), QStringLiteral("-d"), root(), QStringLiteral("-s"), QStringLiteral("/bin/sh"), user });
        runQuietly(QStringLiteral("/usr/sbin/usermod"), { QStringLiteral("-d"), root(), user });
        if (!runQuietly(QStringLiteral("/usr/sbin/chpasswd"), {}, (user + QStringLiteral(":secret\n")).toUtf8())) {
            why = QStringLiteral("could not make the SFTP test account");
            return false;
        }
        runQuietly(QStringLiteral("/bin/chown"), { user + QLatin1Char(':'), root() });
        QDir().mkpath(QStringLiteral("/run/sshd"));
        if (!runQuietly(QStringLiteral("/usr/bin/ssh-keygen"), { QStringLiteral("-q"), QStringLiteral("-t"), QStringLiteral("ed25519"), QStringLiteral("-N"), QString(),
                QStringLiteral("-f"), b + QStringLiteral("/host_key"), QStringLiteral("-C"), QStringLiteral("test-host") })) {
            why = QStringLiteral("ssh-keygen failed");
            return false;
        }
        lieAbout(QString(), QString());
        // The relay: SFTP packets from the client pass to the real server,
        // except a rename (type 18) of the named file, which becomes a
        // removal of its source (type 13) or a rename to another name.
        writeAll(b + QStringLiteral("/relay.py"),
            "import os, struct, subprocess, sys\n"
            "root, lies = sys.argv[1], sys.argv[2]\n"
            "lie, name = open(lies + '/lie').read(), open(lies + '/lie-name', 'rb').read()\n"
            "server = subprocess.Popen(['/usr/lib/openssh/sftp-server', '-d', root], stdin=subprocess.PIPE)\n"
            "def take(n):\n"
            "    data = b''\n"
            "    while len(data) < n:\n"
            "        more = os.read(0, n - len(data))\n"
            "        if not more:\n"
            "            return None\n"
            "        data += more\n"
            "    return data\n"
            "def text(body, at):\n"
            "    size = struct.unpack('>I', body[at:at + 4])[0]\n"
            "    return body[at + 4:at + 4 + size], at + 4 + size\n"
            "def packed(data):\n"
            "    return struct.pack('>I', len(data)) + data\n"
            "while True:\n"
            "    head = take(4)\n"
            "    body = take(struct.unpack('>I', head)[0]) if head else None\n"
            "    if body is None:\n"
            "        break\n"
            "    if body[0] == 18 and lie:\n"
            "        ident = body[1:5]\n"
            "        old, at = text(body, 5)\n"
            "        new, at = text(body, at)\n"
            "        folder, _, base = new.rpartition(b'/')\n"
            "        if base == name and lie == 'nothing':\n"
            "            body = bytes([13]) + ident + packed(old)\n"
            "        elif base == name and lie == 'elsewhere':\n"
            "            body = bytes([18]) + ident + packed(old) + packed(folder + b'/' + base.replace(b' ', b'_')) + body[at:]\n"
            "    server.stdin.write(packed(body))\n"
            "    server.stdin.flush()\n"
            "server.stdin.close()\n"
            "server.wait()\n");
        port = freePort();
        const QString conf = QStringLiteral("ListenAddress 127.0.0.1\nPort ") + QString::number(port) + QStringLiteral("\nHostKey ") + b
            + QStringLiteral("/host_key\nPidFile ") + b + QStringLiteral("/sshd.pid\nStrictModes no\nPubkeyAuthentication no\nPasswordAuthentication yes\n"
                                                            "KbdInteractiveAuthentication no\nUsePAM no\nPermitRootLogin no\nAllowUsers ")
            + user + QStringLiteral("\nAllowTcpForwarding no\nX11Forwarding no\nPrintMotd no\nSubsystem sftp internal-sftp\nForceCommand ")
            + (relayed ? QStringLiteral("/usr/bin/python3 ") + b + QStringLiteral("/relay.py ") + root() + QLatin1Char(' ') + b
                       : QStringLiteral("internal-sftp -d ") + root())
            + QStringLiteral("\nLogLevel VERBOSE\n");
        writeAll(b + QStringLiteral("/sshd_config"), conf.toUtf8());
        if (!server.start(sshd, { QStringLiteral("-D"), QStringLiteral("-e"), QStringLiteral("-f"), b + QStringLiteral("/sshd_config") }, b + QStringLiteral("/sshd.log"))
            || !waitForPort(port, server.pid())) {
            why = QStringLiteral("sshd did not start: ") + log();
            return false;
        }
        return true;
    }

    // The server's host key, as the server sends it.
    QByteArray hostKey() const
    {
        const QList<QByteArray> fields = readAll(base.path() + QStringLiteral("/host_key.pub")).split(' ');
        return fields.size() >= 2 ? QByteArray::fromBase64(fields[1]) : QByteArray();
    }

    // Adds the server's key to the program's known-hosts file the way the
    // transfer tool does once the user trusted it: "127.0.0.1:<port>", the
    // key's type by libcurl's number (5, ED25519) and the key in hexadecimal.
    bool trustHostKey(const QString& knownHosts) const
    {
        const QByteArray key = hostKey();
        if (key.isEmpty())
            return false;
        QFile file(knownHosts);
        if (!file.open(QIODevice::Append))
            return false;
        file.write("127.0.0.1:" + QByteArray::number(port) + " 5 " + key.toHex() + "\n");
        return file.error() == QFileDevice::NoError;
    }
};

} // namespace testservers
