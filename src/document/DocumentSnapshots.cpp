#include "document/DocumentSnapshots.h"

#include "document/MyDocument.h"
#include "document/SiteJournal.h"
#include "document/Snapshots.h"
#include "model/core/XmlBase.h"
#include "model/files/XmlQVZIPFile.h"
#include "model/files/XmlStandAloneFiles.h"
#include "theme/XmlTheme.h"
#include "platform/ConfinedFolder.h"
#include "platform/FileHelpers.h"
#include "platform/Log.h"
#include "platform/Zip.h"

#include <QDir>
#include <QTemporaryDir>

namespace {

using lq::ConfinedFolder;

// The name without its extensions, and without its last one.
bool isUsedPicture(const QStringList& used, const QString& name)
{
    const QString last = name.section(QLatin1Char('/'), -1);
    const qsizetype firstDot = last.indexOf(QLatin1Char('.'));
    const qsizetype lastDot = last.lastIndexOf(QLatin1Char('.'));
    return used.contains(firstDot < 0 ? last : last.left(firstDot)) || used.contains(lastDot < 0 ? last : last.left(lastDot));
}

} // namespace

DocumentSnapshots::DocumentSnapshots(MyDocument& document)
    : _document(document)
{
}

void DocumentSnapshots::trimSnapshots()
{
    const std::shared_ptr<ConfinedFolder> site = _document.siteFolder();
    if (!site)
        return;
    QString why;
    const std::shared_ptr<ConfinedFolder> revert = site->folder(QStringLiteral("revert"), &why);
    if (!revert) {
        if (site->status(QStringLiteral("revert")).kind != ConfinedFolder::Kind::Missing)
            _document.reportRefusal(QStringLiteral("The snapshots are left as they are: ") + why);
        return;
    }
    auto snapshots = XmlStandAloneFiles::create();
    snapshots->setFolder(revert);
    snapshots->setFoldersFiles(false, true);
    snapshots->refresh();
    Snapshots::sortNewestFirst(*snapshots);
    Snapshots::Trim trim(MyDocument::keptSnapshots, false, Snapshots::keptPublications);
    for (const XmlBasePtr& entry : snapshots->children()) {
        XmlQVZIPFile* archive = XmlQVZIPFile::cast(entry.get());
        if (!trim.keeps(archive ? archive->comment() : QString()) && !revert->remove(entry->filenameWithRoot(QString()), &why))
            lq::log(why);
    }
}

void DocumentSnapshots::pruneBitmaps()
{
    const std::shared_ptr<ConfinedFolder> site = _document.siteFolder();
    if (!site || !_document.theme())
        return;
    QStringList used;
    _document.theme()->listOfBitmaps(used);
    // A "bitmaps2" that is a link is never listed: nothing is removed through it.
    for (const ConfinedFolder::Entry& entry : site->list(QStringLiteral("bitmaps2")).value_or(QList<ConfinedFolder::Entry>())) {
        if (entry.kind == ConfinedFolder::Kind::Folder || isUsedPicture(used, entry.name))
            continue;
        QString why;
        if (!site->remove(QStringLiteral("bitmaps2/") + entry.name, &why))
            lq::log(why);
    }
}

bool DocumentSnapshots::stageSnapshot(SiteJournal& change, const QByteArray& site, const QByteArray& theme,
    const QString& comment, const QString& incoming, QString& why)
{
    ConfinedFolder& folder = change.folder();
    const auto failed = [&](const QString& reason) {
        why = reason;
        lq::log(QStringLiteral("could not make the snapshot: ") + why);
        return false;
    };
    // Snapshots only go into a folder of the site's own.
    const std::shared_ptr<ConfinedFolder> revert = folder.folder(QStringLiteral("revert"), &why);
    if (!revert)
        return failed(why);
    // The snapshot is made of what this save writes: the site and the theme
    // as staged, and the theme pictures that stay once the save has dropped
    // those the theme no longer uses. It is put together and packed in a
    // private folder, and comes into the change as one staged file.
    const QTemporaryDir packing(QDir::tempPath() + QStringLiteral("/lumenquill-snapshot-XXXXXX"));
    if (!packing.isValid())
        return failed(QStringLiteral("no private folder to make it in: ") + packing.errorString());
    const qint64 sequence = Snapshots::nextSequence(*revert);
    const QString sequenceMember = Snapshots::sequenceMemberPrefix + QString::number(sequence);
    const QString contents = packing.filePath(QStringLiteral("snapshot"));
    bool done = QDir().mkpath(contents + QStringLiteral("/bitmaps2"));
    done = done && lq::writeFileAtomically(contents + QStringLiteral("/site.xmlbase"), site, &why)
        && lq::writeFileAtomically(contents + QStringLiteral("/theme.xmlbase"), theme, &why)
        && lq::writeFileAtomically(contents + QLatin1Char('/') + sequenceMember, QByteArray(), &why);
    QStringList used;
    _document.theme()->listOfBitmaps(used);
    // The pictures the site keeps (a "bitmaps2" that is a link gives none),
    // and those this save brings (none of their names is in the folder yet).
    QStringList pictures;
    for (const ConfinedFolder::Entry& entry : folder.list(QStringLiteral("bitmaps2")).value_or(QList<ConfinedFolder::Entry>()))
        if (entry.kind == ConfinedFolder::Kind::Folder || (entry.kind == ConfinedFolder::Kind::File && isUsedPicture(used, entry.name)))
            pictures.append(QStringLiteral("bitmaps2/") + entry.name);
    if (!incoming.isEmpty())
        for (const ConfinedFolder::Entry& entry : folder.list(change.staged(incoming)).value_or(QList<ConfinedFolder::Entry>()))
            if (entry.kind == ConfinedFolder::Kind::File && isUsedPicture(used, entry.name))
                pictures.append(change.staged(incoming + QLatin1Char('/') + entry.name));
    for (const QString& picture : pictures) {
        if (!done)
            break;
        done = folder.copyOut(picture, contents + QStringLiteral("/bitmaps2/") + picture.section(QLatin1Char('/'), -1), &why);
    }
    const QString archive = packing.filePath(QStringLiteral("snapshot.qvzip"));
    done = done && lq::zipAdd(archive, contents, QStringLiteral("site.xmlbase"), false);
    done = done && lq::zipAdd(archive, contents, QStringLiteral("theme.xmlbase"), false);
    done = done && lq::zipAdd(archive, contents, QStringLiteral("bitmaps2"), true);
    done = done && lq::zipAdd(archive, contents, sequenceMember, false);
    done = done && lq::setZipComment(archive, comment);
    // A snapshot is its owner's alone: it holds page passwords.
    done = done && change.stageCopy(archive, QStringLiteral("snapshot.qvzip"), &why)
        && folder.setMode(change.staged(QStringLiteral("snapshot.qvzip")), 0600, &why);
    if (!done)
        return failed(why.isEmpty() ? QStringLiteral("the archive ") + archive + QStringLiteral(" cannot be written") : why);
    change.addMove(QStringLiteral("snapshot.qvzip"), QStringLiteral("revert/") + Snapshots::freeName(*revert, _document.now()) + QStringLiteral(".qvzip"));
    return true;
}
