#include "pipeline/XmlCopy.h"

#include "platform/ExceptionFrame.h"
#include "platform/FileHelpers.h"
#include "platform/Resources.h"

#include <QFileInfo>
#include <QStandardPaths>

XmlCopy::XmlCopy(Key key)
    : XmlCreate(key)
{
}

std::shared_ptr<XmlCopy> XmlCopy::create()
{
    return make<XmlCopy>();
}

std::shared_ptr<XmlCopy> XmlCopy::createForFileLocation(const QString& filename, const QString& dir)
{
    auto step = create();
    step->setFilename(filename);
    step->setDir(dir);
    return step;
}

QString XmlCopy::elementName() const
{
    return QStringLiteral("QZcopy");
}

QString XmlCopy::sharedSupportFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Moravine/vorns");
}

bool XmlCopy::run()
{
    return lq::modelFrame(this, "run", [&] {
        QString why;
        const QString target = targetPath(why);
        if (target.isEmpty()) {
            reportFailure(QStringLiteral("error copying file:") + _filename + QStringLiteral(": ") + why);
            return false;
        }
        QString source = sharedSupportFolder() + QLatin1Char('/') + _filename;
        if (!QFileInfo::exists(source))
            source = lq::resourcePath(QStringLiteral("styles/") + _filename);
        // The site script, the lightbox and the bitmaps of generated sites.
        if (!QFileInfo::exists(source))
            source = lq::resourcePath(QStringLiteral("site/") + _filename);
        if (!QFileInfo::exists(source)) {
            reportFailure(QStringLiteral("error copying file:") + _filename + QStringLiteral(": no such support file"));
            return false;
        }
        const QFileInfo existing(target);
        if (existing.exists() || existing.isSymLink())
            return false;
        if (!lq::copyItem(source, target, &why))
            reportFailure(QStringLiteral("error copying file:") + _filename + QStringLiteral(": ") + why);
        return false;
    });
}

QString XmlCopy::statusMessage()
{
    return lq::modelFrame(this, "statusMessage", [&] {
        return processorStatus() + QStringLiteral(" copying file:") + _filename + QLatin1Char('\n');
    });
}
