#include "document/Snapshots.h"

#include "document/MyDocument.h"
#include "model/files/XmlFile.h"
#include "model/files/XmlFiles.h"
#include "model/files/XmlQVZIPFile.h"
#include "platform/FileHelpers.h"
#include "platform/Zip.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

const QString Snapshots::sequenceMemberPrefix = QStringLiteral("sequence-");
const QString Snapshots::publicationComment = QStringLiteral("Website exported");

namespace {

const QString archiveExtension = QStringLiteral(".qvzip");
// Past any number of saves a site sees; a larger one was not written here.
constexpr qint64 largestSequence = qint64(1) << 48;

// Where a file of the list stands: numbered snapshots by their number, then
// the others by the date of their names.
struct Rank {
    bool numbered = false;
    qint64 sequence = 0;
    double date = 0.0;

    bool isNewerThan(const Rank& other) const
    {
        if (numbered != other.numbered)
            return numbered;
        if (numbered)
            return sequence > other.sequence;
        return date > other.date;
    }
};

} // namespace

std::optional<qint64> Snapshots::sequenceOf(const QString& archive)
{
    QFile file(archive);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const auto members = lq::readZipDirectory(file);
    if (!members)
        return std::nullopt;
    const QByteArray prefix = sequenceMemberPrefix.toLatin1();
    for (const lq::ZipMember& member : *members) {
        if (!member.storedName.startsWith(prefix))
            continue;
        bool number = false;
        const qint64 sequence = member.storedName.mid(prefix.size()).toLongLong(&number);
        if (number && sequence > 0 && sequence < largestSequence)
            return sequence;
    }
    return std::nullopt;
}

qint64 Snapshots::nextSequence(const QString& revertFolder)
{
    qint64 largest = 0;
    for (const QString& name : lq::folderEntries(revertFolder)) {
        if (name.endsWith(archiveExtension))
            largest = std::max(largest, sequenceOf(revertFolder + QLatin1Char('/') + name).value_or(0));
    }
    return largest + 1;
}

QString Snapshots::freeName(const QString& revertFolder, const QDateTime& time)
{
    const QString dated = MyDocument::snapshotName(time);
    QString name = dated;
    for (int counter = 2; QFileInfo::exists(revertFolder + QLatin1Char('/') + name + archiveExtension)
         || QFileInfo(revertFolder + QLatin1Char('/') + name + archiveExtension).isSymLink();
         ++counter)
        name = dated + QLatin1Char(' ') + QString::number(counter);
    return name;
}

void Snapshots::sortNewestFirst(XmlFiles& list)
{
    QList<std::pair<Rank, std::shared_ptr<XmlBase>>> ranked;
    for (const std::shared_ptr<XmlBase>& entry : list.children()) {
        Rank rank;
        if (XmlQVZIPFile::cast(entry.get())) {
            const std::optional<qint64> sequence = sequenceOf(entry->fullname());
            rank.numbered = sequence.has_value();
            rank.sequence = sequence.value_or(0);
        }
        rank.date = XmlFile::creationDateOf(entry.get()).value_or(0.0);
        ranked.append({ rank, entry });
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first.isNewerThan(b.first); });
    for (const auto& [rank, entry] : ranked)
        list.removeChildWithoutDeletingChildren(entry.get());
    for (const auto& [rank, entry] : ranked)
        list.addChild(entry);
}
