#include "FuzzSupport.h"

#include "application/MyApplication.h"
#include "document/DocumentElements.h"
#include "platform/Exception.h"
#include "platform/Log.h"
#include "platform/Random.h"
#include "platform/Resources.h"
#include "platform/SupportPaths.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

// Sanitizer defaults, as in the test programs: GCC-built Qt and glibc's
// dynamic thread-local blocks confuse the leak checker's TLS interception.
extern "C" const char* __asan_default_options()
{
    return "intercept_tls_get_addr=0";
}

namespace fuzz {

void setUp(int* argc, char*** argv)
{
    // A private home, so that nothing the targets do reaches the user's files.
    static const QByteArray home = QDir::tempPath().toUtf8() + "/lumenquill-fuzz-home";
    QDir().mkpath(QString::fromUtf8(home));
    qputenv("HOME", home);
    qputenv("XDG_DATA_HOME", home + "/.local/share");
    qputenv("XDG_CONFIG_HOME", home + "/.config");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    lq::seedRandomFromEntropy();
    // Both live as long as the process.
    new QGuiApplication(*argc, *argv);
    lq::setApplicationIdentity();
    lq::setResourceFolder(QStringLiteral(LQ_FUZZ_RESOURCES));
    new MyApplication;
    lq::registerDocumentElements();
    // Hostile input makes the model log a lot; the log is not what is tested.
    lq::setLogSink([](const QString&) {});
}

QString text(const std::uint8_t* data, std::size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

QByteArray bytes(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

void fail(const char* property, const QString& first, const QString& second)
{
    std::fprintf(stderr, "\nProperty broken: %s\n", property);
    if (!first.isNull())
        std::fprintf(stderr, "--- first ---\n%s\n", first.toUtf8().constData());
    if (!second.isNull())
        std::fprintf(stderr, "--- second ---\n%s\n", second.toUtf8().constData());
    std::fflush(stderr);
    std::abort();
}

} // namespace fuzz

