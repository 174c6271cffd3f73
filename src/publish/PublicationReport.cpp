#include "publish/PublicationReport.h"

#include "publish/XmlBom.h"
#include "publish/XmlD.h"

#include <QFileInfo>

namespace {

QString counted(qint64 count, const QString& one, const QString& many)
{
    return QString::number(count) + QLatin1Char(' ') + (count == 1 ? one : many);
}

} // namespace

void PublicationReport::begin(XmlBom* bom, const QString& localFolder)
{
    _clock.start();
    _files = _removals = 0;
    _bytes = 0;
    if (bom && bom->addFiles()) {
        bom->addFiles()->forEachEntry([&](const DigestEntry& entry) {
            if (!entry.file)
                return;
            ++_files;
            _bytes += QFileInfo(localFolder + QLatin1Char('/') + entry.path).size();
        });
    }
    if (bom && bom->removeFiles())
        _removals = bom->removeFiles()->fileCount();
}

QString PublicationReport::line(const QString& destination) const
{
    if (_files == 0 && _removals == 0)
        return QStringLiteral("Nothing changed since the last publication");
    const QString seconds = QString::number(_clock.isValid() ? _clock.elapsed() / 1000.0 : 0.0, 'f', 1);
    if (_files == 0)
        return QStringLiteral("Removed ") + counted(_removals, QStringLiteral("file"), QStringLiteral("files")) + QStringLiteral(" from ")
            + destination + QStringLiteral(" in ") + seconds + QStringLiteral(" s");
    return QStringLiteral("Published ") + counted(_files, QStringLiteral("file"), QStringLiteral("files")) + QStringLiteral(" (")
        + counted(_bytes, QStringLiteral("byte"), QStringLiteral("bytes")) + QStringLiteral(") to ") + destination + QStringLiteral(" in ")
        + seconds + QStringLiteral(" s");
}
