#include "publish/FolderExport.h"

#include "model/core/DocumentBase.h"
#include "platform/ConfinedFolder.h"
#include "platform/Log.h"
#include "publish/XmlBom.h"
#include "publish/XmlD.h"

#include <QDir>

namespace lq {

QString folderExportDestination(const QString& exportFolder)
{
    const QString home = QDir::homePath();
    // An export folder that is already a full path below the home folder stays as it is.
    if (exportFolder.startsWith(home + QLatin1Char('/')) || exportFolder == home)
        return exportFolder;
    return home + exportFolder;
}

bool isFileAddress(const QString& storedFolder)
{
    return storedFolder.startsWith(QStringLiteral("file:"));
}

QString relativeExportFolder(const QString& stored)
{
    const QString home = QDir::homePath();
    QString relative = stored;
    if (relative == home)
        relative.clear();
    else if (relative.startsWith(home + QLatin1Char('/')))
        relative = relative.mid(home.size());
    if (!relative.startsWith(QLatin1Char('/')))
        relative.prepend(QLatin1Char('/'));
    return relative;
}

QString exportChangesToFolder(DocumentBase* document, XmlBom* bom, XmlD* current, const QString& source,
    const QString& destination)
{
    if (!bom)
        return QStringLiteral("Nothing to export");
    bom->setRootSource(source);
    bom->setRootDest(destination);
    // The names of the copy's temporary files are the site's to keep: the
    // destination's names are the user's.
    if (document)
        bom->setTemporaryRecord(document->siteFolder(), exportRecordName);
    const QString error = bom->createFiles();
    if (!error.isEmpty())
        log(error);
    if (!error.isEmpty() && bom->failedFiles().isEmpty())
        return error;   // the folders themselves failed: the stored tree stays
    if (current && document) {
        // The stored tree claims only what arrived.
        XmlBasePtr stored = current->copyWithZone();
        auto* tree = XmlD::cast(stored.get());
        for (const QString& path : bom->failedFiles())
            tree->removeFileMd5(path, QString());
        document->setLastXmlD(tree);
    }
    return error;
}

} // namespace lq
