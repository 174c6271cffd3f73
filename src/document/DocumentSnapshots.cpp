#include "document/DocumentSnapshots.h"

#include "document/MyDocument.h"
#include "document/SiteJournal.h"
#include "document/Snapshots.h"
#include "model/core/XmlBase.h"
#include "model/files/XmlQVZIPFile.h"
#include "model/files/XmlStandAloneFiles.h"
#include "model/theme/XmlTheme.h"
#include "platform/FileHelpers.h"
#include "platform/Log.h"

#include <QDir>
#include <QFileInfo>

#include <unistd.h>

namespace {

// A snapshot is its owner's alone: it holds page passwords.
constexpr QFile::Permissions ownerOnlyFile = QFile::ReadOwner | QFile::WriteOwner;

// Puts a file of the document into the staging folder without copying its
// bytes where the disk allows (a second name for the same file).
bool stageCopy(const QString& source, const QString& target, QString& why)
{
    if (::link(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) == 0)
        return true;
    return lq::copyItem(source, target, &why);
}

// The names (without extension) of the theme pictures the theme uses.
bool isUsedPicture(const QStringList& used, const QFileInfo& picture)
{
    return used.contains(picture.completeBaseName()) || used.contains(picture.baseName());
}

} // namespace

DocumentSnapshots::DocumentSnapshots(MyDocument& document)
    : _document(document)
{
}

void DocumentSnapshots::trimSnapshots(const QString& folder)
{
    auto snapshots = XmlStandAloneFiles::create();
    snapshots->setRootDir(folder + QStringLiteral("/revert"));
    snapshots->setFoldersFiles(false, true);
    snapshots->refresh();
    Snapshots::sortNewestFirst(*snapshots);
    Snapshots::Trim trim(MyDocument::keptSnapshots, false, Snapshots::keptPublications);
    for (const XmlBasePtr& entry : snapshots->children()) {
        XmlQVZIPFile* archive = XmlQVZIPFile::cast(entry.get());
        if (!trim.keeps(archive ? archive->comment() : QString()))
            lq::removeItem(entry->fullname());
    }
}

void DocumentSnapshots::pruneBitmaps(const QString& folder)
{
    QStringList used;
    _document.theme()->listOfBitmaps(used);
    const QString bitmaps = folder + QStringLiteral("/bitmaps2");
    // Nothing is removed through a link out of the document.
    if (QFileInfo(bitmaps).isSymLink())
        return;
    for (const QString& name : lq::folderEntries(bitmaps)) {
        const QFileInfo entry(bitmaps + QLatin1Char('/') + name);
        if (entry.isDir())
            continue;
        if (!isUsedPicture(used, entry))
            lq::removeItem(entry.filePath());
    }
}

bool DocumentSnapshots::stageSnapshot(SiteJournal& change, const QString& folder, const QByteArray& site, const QByteArray& theme,
    const QString& comment, const QString& incoming, QString& why)
{
    // The snapshot is made of what this save writes: the site and the theme
    // as staged, and the theme pictures that stay once the save has dropped
    // those the theme no longer uses.
    const QString contents = change.stagingFolder() + QStringLiteral("/snapshot");
    const QString revert = folder + QStringLiteral("/revert");
    const qint64 sequence = Snapshots::nextSequence(revert);
    const QString sequenceMember = Snapshots::sequenceMemberPrefix + QString::number(sequence);
    const QString bitmaps = folder + QStringLiteral("/bitmaps2");
    bool done = QDir().mkdir(contents) && QDir().mkdir(contents + QStringLiteral("/bitmaps2"));
    done = done && lq::writeFileAtomically(contents + QStringLiteral("/site.xmlbase"), site, &why)
        && lq::writeFileAtomically(contents + QStringLiteral("/theme.xmlbase"), theme, &why)
        && lq::writeFileAtomically(contents + QLatin1Char('/') + sequenceMember, QByteArray(), &why);
    QStringList used;
    _document.theme()->listOfBitmaps(used);
    for (const QString& name : lq::folderEntries(bitmaps)) {
        const QFileInfo entry(bitmaps + QLatin1Char('/') + name);
        if (!done)
            break;
        if (entry.isSymLink() || (!entry.isDir() && !isUsedPicture(used, entry)))
            continue;
        done = stageCopy(entry.filePath(), contents + QStringLiteral("/bitmaps2/") + name, why);
    }
    // The pictures this save brings (none of their names is in the folder yet).
    const QString brought = change.stagingFolder() + QLatin1Char('/') + incoming;
    for (const QString& name : incoming.isEmpty() ? QStringList() : lq::folderEntries(brought)) {
        const QFileInfo entry(brought + QLatin1Char('/') + name);
        if (!done)
            break;
        if (entry.isFile() && !entry.isSymLink() && isUsedPicture(used, entry))
            done = stageCopy(entry.filePath(), contents + QStringLiteral("/bitmaps2/") + name, why);
    }
    const QString archive = change.stagingFolder() + QStringLiteral("/snapshot.qvzip");
    done = done && XmlBase::zipRootDirFilenameRecursive(archive, contents, QStringLiteral("site.xmlbase"), false);
    done = done && XmlBase::zipRootDirFilenameRecursive(archive, contents, QStringLiteral("theme.xmlbase"), false);
    done = done && XmlBase::zipRootDirFilenameRecursive(archive, contents, QStringLiteral("bitmaps2"), true);
    done = done && XmlBase::zipRootDirFilenameRecursive(archive, contents, sequenceMember, false);
    done = done && XmlBase::setCommentInZipComment(archive, comment);
    done = done && QFile::setPermissions(archive, ownerOnlyFile);
    if (!done) {
        if (why.isEmpty())
            why = QStringLiteral("the archive ") + archive + QStringLiteral(" cannot be written");
        lq::log(QStringLiteral("could not make the snapshot: ") + why);
        return false;
    }
    change.addMove(QStringLiteral("snapshot.qvzip"), QStringLiteral("revert/") + Snapshots::freeName(revert, _document._now()) + QStringLiteral(".qvzip"));
    return true;
}
