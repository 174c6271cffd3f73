#include "pipeline/XmlCopy.h"

#include "platform/ConfinedFolder.h"
#include "platform/ExceptionFrame.h"
#include "platform/Resources.h"

#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>

#include <mutex>

namespace {

// The program's own copy of a support file: in its style resources, or
// among the site script, the lightbox and the bitmaps of generated sites;
// "" when it has none. Every page of a build copies the same few files, and
// the program's resources do not change while it runs: a file found is
// remembered (for the resource folder it was found in).
QString programSupportFile(const QString& filename)
{
    static std::mutex mutex;
    static QString folder;
    static QHash<QString, QString> found;
    const QString resources = lq::resourceFolder();
    {
        std::lock_guard lock(mutex);
        if (folder != resources) {
            folder = resources;
            found.clear();
        }
        if (const auto known = found.constFind(filename); known != found.cend())
            return *known;
    }
    QString source = lq::resourcePath(QStringLiteral("styles/") + filename);
    if (!QFileInfo::exists(source))
        source = lq::resourcePath(QStringLiteral("site/") + filename);
    if (!QFileInfo::exists(source))
        return QString();
    std::lock_guard lock(mutex);
    if (folder == resources)
        found.insert(filename, source);
    return source;
}

} // namespace

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
        const QString name = targetName(why);
        const std::shared_ptr<lq::ConfinedFolder> folder = name.isEmpty() ? nullptr : siteFolder(why);
        if (!folder) {
            reportFailure(QStringLiteral("error copying file:") + _filename + QStringLiteral(": ") + why);
            return false;
        }
        QString source = sharedSupportFolder() + QLatin1Char('/') + _filename;
        if (!QFileInfo::exists(source))
            source = programSupportFile(_filename);
        if (!QFileInfo::exists(source)) {
            reportFailure(QStringLiteral("error copying file:") + _filename + QStringLiteral(": no such support file"));
            return false;
        }
        // What is there already stays; a link there is never written through.
        if (folder->status(name).exists())
            return false;
        if (!folder->copyIn(source, name, &why))
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
