#include "application/MyApplication.h"

#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "platform/Resources.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <cstdio>
#include <cstdlib>

namespace {
MyApplication* theApplication = nullptr;
}

MyApplication::MyApplication()
{
    if (theApplication) {
        std::fputs("Lumenquill: a second MyApplication was created\n", stderr);
        std::abort();
    }
    theApplication = this;
    lq::setLocalizer([this](const QString& key) { return localized(key); });
}

MyApplication::~MyApplication()
{
    if (theApplication == this) {
        theApplication = nullptr;
        lq::setLocalizer(nullptr);
    }
}

MyApplication& MyApplication::shared()
{
    if (!theApplication) {
        std::fputs("Lumenquill: MyApplication is used before it was created\n", stderr);
        std::abort();
    }
    return *theApplication;
}

MyApplication* MyApplication::instance()
{
    return theApplication;
}

// --- Services beside the registry ------------------------------------------------

void MyApplication::bug(const QString& text)
{
    if (_bugHandler)
        _bugHandler(text);
}

bool MyApplication::checkUnixAvail(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

QString MyApplication::fileInfoFilename(const QString& tool, const QString& filename)
{
    return lq::uiFrame(this, "fileInfo:filename:", [&]() -> QString {
        if (!checkUnixAvail(QStringLiteral("/usr/bin/php")))
            return {};
        if (filename.isNull())
            lq::log(QStringLiteral("nil filename"));
        QProcess process;
        process.setWorkingDirectory(QDir::homePath());
        QStringList arguments;
        if (!filename.isNull())
            arguments << filename;
        process.start(QCoreApplication::applicationDirPath() + QLatin1Char('/') + tool, arguments);
        if (!process.waitForFinished(-1))
            return {};
        return QString::fromLatin1(process.readAllStandardOutput());
    });
}

XmlBasePtr MyApplication::iPhotoLibrary()
{
    if (!_iPhotoLibrary && _iPhotoFactory)
        _iPhotoLibrary = _iPhotoFactory();
    return _iPhotoLibrary;
}

// --- Strings ----------------------------------------------------------------------

QString MyApplication::localized(const QString& key)
{
    if (!_strings) {
        _strings.emplace();
        _strings->loadFile(lq::resourcePath(QStringLiteral("strings/Localizable.strings")));
    }
    const QString blank = QStringLiteral(" ");
    const QString prefixed = _strings->value(QLatin1Char('S') + key, blank);
    if (prefixed != blank)
        return prefixed;
    return _strings->value(key, blank);
}

// --- Settings -------------------------------------------------------------------------

void MyApplication::setJpgCompressionFactor(float factor)
{
    _jpgCompressionFactor = std::clamp(factor, 0.6f, 0.95f);
}

QStringList MyApplication::allowedImportFileTypes() const
{
    return { QStringLiteral("jpg"), QStringLiteral("JPG"), QStringLiteral("jpeg"), QStringLiteral("JPEG"),
        QStringLiteral("gif"), QStringLiteral("GIF"), QStringLiteral("psd"), QStringLiteral("tif"),
        QStringLiteral("tiff"), QStringLiteral("TIF"), QStringLiteral("TIFF"), QStringLiteral("bmp"),
        QStringLiteral("BMP"), QStringLiteral("") };
}

QStringList MyApplication::allowedDynamicFileTypes() const
{
    return { QStringLiteral("php"), QStringLiteral("PHP"), QStringLiteral("php3"), QStringLiteral("PHP3"),
        QStringLiteral("php4"), QStringLiteral("PHP4"), QStringLiteral("asp"), QStringLiteral("aspx") };
}
