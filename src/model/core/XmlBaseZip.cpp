// The zip archives of XmlBase: theme archives, snapshots and document
// archives, handled by the platform's zip layer (platform/Zip.h), which
// checks what it unpacks and logs every failure as "zip failed: <detail>".
#include "model/core/XmlBase.h"

#include "platform/ExceptionFrame.h"
#include "platform/Zip.h"

#include <QFileInfo>

bool XmlBase::zipRootDirFilenameRecursive(const QString& archive, const QString& rootDir, const QString& filename, bool recursive)
{
    return lq::classFrame("XmlBase +zip:rootDir:filename:recursive", [&] { return lq::zipAdd(archive, rootDir, filename, recursive); });
}

std::optional<XmlBaseList> XmlBase::unzipTo(const QString& archive, const QString& folder, QString* error)
{
    return lq::classFrame("XmlBase +unzip:to:", [&]() -> std::optional<XmlBaseList> {
        const std::optional<QStringList> files = lq::unzipInto(archive, folder, error);
        if (!files)
            return std::nullopt;
        XmlBaseList trees;
        for (const QString& file : *files) {
            if (QFileInfo(file).suffix() != QLatin1String("xmlbase"))
                continue;
            if (XmlBasePtr tree = createWithFile(folder + QLatin1Char('/') + file))
                trees.append(tree);
        }
        return trees;
    });
}

QImage XmlBase::getIconFromZip(const QString& archive)
{
    return lq::classFrame("XmlBase +getIconFromZip:", [&] { return lq::zipIcon(archive); });
}

bool XmlBase::setIconInZipIcon(const QString& archive, const QImage& icon)
{
    return lq::classFrame("XmlBase +setIconInZip:icon:", [&] { return lq::setZipIcon(archive, icon); });
}

QString XmlBase::getCommentFromZip(const QString& archive)
{
    return lq::classFrame("XmlBase +getCommentFromZip:", [&] { return lq::zipComment(archive); });
}

bool XmlBase::setCommentInZipComment(const QString& archive, const QString& comment)
{
    return lq::classFrame("XmlBase +setCommentInZip:comment:", [&] { return lq::setZipComment(archive, comment); });
}
