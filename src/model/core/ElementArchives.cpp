// The element trees that theme archives, snapshots and document archives
// hold, unpacked by the platform's zip layer (platform/Zip.h).
#include "model/core/ElementArchives.h"

#include "model/core/ElementFiles.h"
#include "platform/ExceptionFrame.h"
#include "platform/Zip.h"

#include <QFileInfo>

namespace lq {

std::optional<XmlBaseList> unzipElementTrees(const QString& archive, const QString& folder, QString* error)
{
    return classFrame("XmlBase +unzip:to:", [&]() -> std::optional<XmlBaseList> {
        const std::optional<QStringList> files = unzipInto(archive, folder, error);
        if (!files)
            return std::nullopt;
        XmlBaseList trees;
        for (const QString& file : *files) {
            if (QFileInfo(file).suffix() != QLatin1String("xmlbase"))
                continue;
            if (XmlBasePtr tree = lq::createWithFile(folder + QLatin1Char('/') + file))
                trees.append(tree);
        }
        return trees;
    });
}

} // namespace lq
