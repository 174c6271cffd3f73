#include "document/Snapshots.h"

#include "document/MyDocument.h"
#include "model/files/XmlFile.h"
#include "model/files/XmlFiles.h"
#include "model/files/XmlQVZIPFile.h"
#include "platform/ConfinedFolder.h"
#include "platform/Log.h"
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
    return sequenceOf(file);
}

std::optional<qint64> Snapshots::sequenceOf(const lq::ConfinedFolder& folder, const QString& name)
{
    const lq::FileDescriptor opened = folder.openForReading(name);
    QFile file;
    if (!opened.isValid() || !file.open(opened.get(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        return std::nullopt;
    return sequenceOf(file);
}

namespace {

// The sequence an archive carries, with its member's name as stored.
struct SequenceMember {
    qint64 sequence = 0;
    QByteArray storedName;
};

std::optional<SequenceMember> sequenceMemberOf(QIODevice& archive)
{
    const auto members = lq::readZipDirectory(archive);
    if (!members)
        return std::nullopt;
    const QByteArray prefix = Snapshots::sequenceMemberPrefix.toLatin1();
    for (const lq::ZipMember& member : *members) {
        if (!member.storedName.startsWith(prefix))
            continue;
        bool number = false;
        const qint64 sequence = member.storedName.mid(prefix.size()).toLongLong(&number);
        if (number && sequence > 0 && sequence < largestSequence)
            return SequenceMember { sequence, member.storedName };
    }
    return std::nullopt;
}

std::optional<SequenceMember> sequenceMemberOf(const lq::ConfinedFolder& folder, const QString& name)
{
    const lq::FileDescriptor opened = folder.openForReading(name);
    QFile file;
    if (!opened.isValid() || !file.open(opened.get(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        return std::nullopt;
    return sequenceMemberOf(file);
}

// The numbered snapshots of the folder, by name, oldest first.
QList<std::pair<SequenceMember, QString>> numberedSnapshots(const lq::ConfinedFolder& revert)
{
    QList<std::pair<SequenceMember, QString>> numbered;
    for (const QString& name : revert.names()) {
        if (!name.endsWith(archiveExtension))
            continue;
        if (const std::optional<SequenceMember> member = sequenceMemberOf(revert, name))
            numbered.append({ *member, name });
    }
    std::stable_sort(numbered.begin(), numbered.end(), [](const auto& a, const auto& b) { return a.first.sequence < b.first.sequence; });
    return numbered;
}

// Numbers the snapshots afresh from 1, oldest first, each in the digits
// its name has (a number never has more digits than its place in the
// order); answers the largest number the folder then holds.
qint64 renumber(lq::ConfinedFolder& revert, const QList<std::pair<SequenceMember, QString>>& numbered)
{
    const QByteArray prefix = Snapshots::sequenceMemberPrefix.toLatin1();
    qint64 largest = 0;
    qint64 place = 0;
    for (const auto& [member, name] : numbered) {
        ++place;
        const qsizetype digits = member.storedName.size() - prefix.size();
        const QByteArray number = QByteArray::number(place).rightJustified(digits, '0');
        QString why;
        std::optional<QByteArray> renamed;
        if (number.size() == digits)
            if (const std::optional<QByteArray> bytes = revert.readFile(name, -1, &why))
                renamed = lq::zipWithMemberRenamed(*bytes, member.storedName, prefix + number);
        if (!renamed || !revert.writeFileAtomically(name, *renamed, &why, { .ownerOnly = true, .durable = true })) {
            lq::log(QStringLiteral("The snapshot ") + revert.pathOf(name) + QStringLiteral(" keeps its number ") + QString::number(member.sequence)
                + (why.isEmpty() ? QString() : QStringLiteral(": ") + why));
            largest = std::max(largest, member.sequence);
            continue;
        }
        largest = std::max(largest, place);
    }
    return largest;
}

} // namespace

std::optional<qint64> Snapshots::sequenceOf(QIODevice& archive)
{
    const std::optional<SequenceMember> member = sequenceMemberOf(archive);
    return member ? std::optional<qint64>(member->sequence) : std::nullopt;
}

qint64 Snapshots::nextSequence(lq::ConfinedFolder& revert)
{
    const QList<std::pair<SequenceMember, QString>> numbered = numberedSnapshots(revert);
    const qint64 largest = numbered.isEmpty() ? 0 : numbered.last().first.sequence;
    if (largest + 1 < largestSequence)
        return largest + 1;
    // No number is left above the largest (one that no save wrote, most
    // likely): the snapshots are numbered afresh in their order, so that
    // this save is still the newest, and so are those after it.
    lq::log(QStringLiteral("The snapshots in ") + revert.path() + QStringLiteral(" are numbered afresh: ") + numbered.last().second
        + QStringLiteral(" carries the number ") + QString::number(largest) + QStringLiteral(", the last there is"));
    return renumber(revert, numbered) + 1;
}

QString Snapshots::freeName(const lq::ConfinedFolder& revert, const QDateTime& time)
{
    const QString dated = MyDocument::snapshotName(time);
    QString name = dated;
    // A dangling link counts as taken too.
    for (int counter = 2; revert.status(name + archiveExtension).kind != lq::ConfinedFolder::Kind::Missing; ++counter)
        name = dated + QLatin1Char(' ') + QString::number(counter);
    return name;
}

void Snapshots::sortNewestFirst(XmlFiles& list)
{
    const std::shared_ptr<lq::ConfinedFolder> folder = list.treeFolder();
    QList<std::pair<Rank, std::shared_ptr<XmlBase>>> ranked;
    for (const std::shared_ptr<XmlBase>& entry : list.children()) {
        Rank rank;
        if (XmlQVZIPFile::cast(entry.get())) {
            const std::optional<qint64> sequence = folder ? sequenceOf(*folder, entry->filenameWithRoot(QString())) : std::nullopt;
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
