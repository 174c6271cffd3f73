// The files below the element's root folder, reached through the folder's
// gateway (lq::ConfinedFolder): pictures written there and files read from it.
#include "model/core/XmlBase.h"

#include "model/core/ModelSettings.h"
#include "platform/ConfinedFolder.h"
#include "platform/ExceptionFrame.h"
#include "platform/ImageFiles.h"
#include "platform/InputLimits.h"

#include <QFile>

bool XmlBase::saveImageInRootFolder(const QImage& image, const QString& name, float compression, QString* error)
{
    return lq::modelFrame(this, "saveImage:inRootFolder:", [&]() -> bool {
        const std::shared_ptr<lq::ConfinedFolder> folder = rootFolder();
        const auto fail = [&](const QString& why) {
            if (error)
                *error = QStringLiteral("cannot write ") + rootDir() + QLatin1Char('/') + name + QStringLiteral(": ") + why;
            return false;
        };
        if (!folder)
            return fail(QStringLiteral("its folder cannot be opened"));
        const QByteArray bytes = lq::imageFileData(image, name, ModelSettings::shared().jpegFactor(compression));
        if (bytes.isEmpty())
            return fail(QStringLiteral("the picture cannot be encoded"));
        const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
        if (slash > 0 && !folder->makeFolder(name.left(slash), error))
            return false;
        return folder->writeFileAtomically(name, bytes, error);
    });
}

std::optional<QByteArray> XmlBase::readFileAt(const QString& path, qint64 bound, QString* error)
{
    return lq::modelFrame(this, "readFileAt:", [&]() -> std::optional<QByteArray> {
        const std::shared_ptr<lq::ConfinedFolder> folder = rootFolder();
        if (const std::optional<QString> name = folder ? folder->nameOf(path) : std::nullopt)
            return folder->readFile(*name, bound, error);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            if (error)
                *error = QStringLiteral("cannot read ") + path + QStringLiteral(": ") + file.errorString();
            return std::nullopt;
        }
        if (bound >= 0 && file.size() > bound) {
            if (error)
                *error = QStringLiteral("cannot read ") + path + QStringLiteral(": it holds more than ") + lq::describeSize(bound);
            return std::nullopt;
        }
        return file.readAll();
    });
}
