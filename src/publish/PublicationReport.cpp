#include "publish/PublicationReport.h"

#include "publish/TransferMessages.h"
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

QSet<QString> pathsOf(const FileFailures& failed)
{
    QSet<QString> paths;
    for (const FileFailure& failure : failed)
        paths.insert(failure.path);
    return paths;
}

} // namespace

void PublicationReport::begin(XmlBom* bom, const QString& localFolder)
{
    _clock.start();
    _files = _removals = 0;
    _bytes = 0;
    _changes.clear();
    if (bom && bom->removeFiles()) {
        bom->removeFiles()->forEachEntry([&](const DigestEntry& entry) {
            if (!entry.file)
                return;
            ++_removals;
            _changes.append({ entry.path, true, 0 });
        });
    }
    if (bom && bom->addFiles()) {
        bom->addFiles()->forEachEntry([&](const DigestEntry& entry) {
            if (!entry.file)
                return;
            ++_files;
            const qint64 size = QFileInfo(localFolder + QLatin1Char('/') + entry.path).size();
            _bytes += size;
            _changes.append({ entry.path, false, size });
        });
    }
}

QString PublicationReport::sentence(const QString& destination, int files, qint64 bytes, int removals) const
{
    const QString seconds = QString::number(_clock.isValid() ? _clock.elapsed() / 1000.0 : 0.0, 'f', 1);
    if (files == 0)
        return QStringLiteral("Removed ") + someFiles(removals) + QStringLiteral(" from ") + destination + QStringLiteral(" in ") + seconds
            + QStringLiteral(" s");
    return QStringLiteral("Published ") + someFiles(files) + QStringLiteral(" (") + counted(bytes, QStringLiteral("byte"), QStringLiteral("bytes"))
        + QStringLiteral(") to ") + destination
        + (removals == 0 ? QString() : QStringLiteral(" and removed ") + someFiles(removals) + QStringLiteral(" there"))
        + QStringLiteral(" in ") + seconds + QStringLiteral(" s");
}

QString PublicationReport::line(const QString& destination) const
{
    if (_files == 0 && _removals == 0)
        return QStringLiteral("Nothing changed since the last publication");
    return sentence(destination, _files, _bytes, _removals);
}

QString PublicationReport::line(const QString& destination, const FileFailures& failed) const
{
    if (failed.isEmpty())
        return line(destination);
    const QSet<QString> failedPaths = pathsOf(failed);
    int files = 0;
    int removals = 0;
    qint64 bytes = 0;
    for (const Change& change : _changes) {
        if (failedPaths.contains(change.path))
            continue;
        if (change.removal) {
            ++removals;
        } else {
            ++files;
            bytes += change.size;
        }
    }
    const QString arrived = files == 0 && removals == 0 ? QStringLiteral("Nothing was published to ") + destination
                                                        : sentence(destination, files, bytes, removals);
    return arrived + QStringLiteral(". ") + lq::failureSummary(failed);
}

QString PublicationReport::fileLine(const Change& change)
{
    return change.removal ? QStringLiteral("removed ") + change.path
                          : QStringLiteral("sent ") + change.path + QStringLiteral(" (")
            + counted(change.size, QStringLiteral("byte"), QStringLiteral("bytes")) + QLatin1Char(')');
}

QStringList PublicationReport::fileLines(const FileFailures& failed) const
{
    const QSet<QString> failedPaths = pathsOf(failed);
    QStringList lines;
    for (const Change& change : _changes) {
        if (!failedPaths.contains(change.path))
            lines.append(fileLine(change));
    }
    return lines;
}

bool PublicationReport::arrived(const Change& change, const QSet<QString>& sent, const QSet<QString>& removed)
{
    return (change.removal ? removed : sent).contains(change.path);
}

QString PublicationReport::cancelledLine(const QString& destination, const QSet<QString>& sent, const QSet<QString>& removed) const
{
    int files = 0;
    int removals = 0;
    for (const Change& change : _changes) {
        if (arrived(change, sent, removed))
            ++(change.removal ? removals : files);
    }
    const auto were = [](int count) { return someFiles(count) + (count == 1 ? QStringLiteral(" was") : QStringLiteral(" were")); };
    if (files == 0 && removals == 0)
        return QStringLiteral("Cancelled: nothing was sent to ") + destination + QLatin1Char('.');
    if (files == 0)
        return QStringLiteral("Cancelled: ") + were(removals) + QStringLiteral(" removed from ") + destination
            + QStringLiteral("; nothing more was sent or removed.");
    if (removals == 0)
        return QStringLiteral("Cancelled: ") + were(files) + QStringLiteral(" sent to ") + destination + QStringLiteral("; nothing more was sent.");
    return QStringLiteral("Cancelled: ") + were(files) + QStringLiteral(" sent to ") + destination + QStringLiteral(" and ")
        + QString::number(removals) + QStringLiteral(" removed there; nothing more was sent or removed.");
}

QStringList PublicationReport::arrivedFileLines(const QSet<QString>& sent, const QSet<QString>& removed) const
{
    QStringList lines;
    for (const Change& change : _changes) {
        if (arrived(change, sent, removed))
            lines.append(fileLine(change));
    }
    return lines;
}
