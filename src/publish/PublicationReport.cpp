#include "publish/PublicationReport.h"

#include "publish/XmlBom.h"
#include "publish/XmlD.h"

#include <QFileInfo>

namespace {

QString counted(qint64 count, const QString& one, const QString& many)
{
    return QString::number(count) + QLatin1Char(' ') + (count == 1 ? one : many);
}

QString someFiles(qint64 count)
{
    return counted(count, QStringLiteral("file"), QStringLiteral("files"));
}

} // namespace

void PublicationReport::begin(XmlBom* bom, const QString& localFolder)
{
    _clock.start();
    _files = _removals = 0;
    _bytes = 0;
    _fileLines.clear();
    if (bom && bom->removeFiles()) {
        bom->removeFiles()->forEachEntry([&](const DigestEntry& entry) {
            if (!entry.file)
                return;
            ++_removals;
            _fileLines.append(QStringLiteral("removed ") + entry.path);
        });
    }
    if (bom && bom->addFiles()) {
        bom->addFiles()->forEachEntry([&](const DigestEntry& entry) {
            if (!entry.file)
                return;
            ++_files;
            const qint64 size = QFileInfo(localFolder + QLatin1Char('/') + entry.path).size();
            _bytes += size;
            _fileLines.append(QStringLiteral("sent ") + entry.path + QStringLiteral(" (")
                + counted(size, QStringLiteral("byte"), QStringLiteral("bytes")) + QLatin1Char(')'));
        });
    }
}

QString PublicationReport::line(const QString& destination) const
{
    if (_files == 0 && _removals == 0)
        return QStringLiteral("Nothing changed since the last publication");
    const QString seconds = QString::number(_clock.isValid() ? _clock.elapsed() / 1000.0 : 0.0, 'f', 1);
    if (_files == 0)
        return QStringLiteral("Removed ") + someFiles(_removals) + QStringLiteral(" from ") + destination + QStringLiteral(" in ") + seconds
            + QStringLiteral(" s");
    return QStringLiteral("Published ") + someFiles(_files) + QStringLiteral(" (") + counted(_bytes, QStringLiteral("byte"), QStringLiteral("bytes"))
        + QStringLiteral(") to ") + destination
        + (_removals == 0 ? QString() : QStringLiteral(" and removed ") + someFiles(_removals) + QStringLiteral(" there"))
        + QStringLiteral(" in ") + seconds + QStringLiteral(" s");
}
