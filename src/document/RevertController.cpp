#include "document/RevertController.h"

#include "document/MyDocument.h"
#include "document/Snapshots.h"
#include "model/files/XmlFile.h"
#include "model/files/XmlQVZIPFile.h"
#include "model/files/XmlStandAloneFiles.h"
#include "platform/DelayedCall.h"
#include "platform/ConfinedFolder.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"

namespace {
const QString trimKey = QStringLiteral("deleteExtraReverts:");
const QString notAnArchive = QStringLiteral("Not a qvzip");
} // namespace

RevertController::RevertController(MyDocument* document)
    : _document(document)
    , revertFiles(XmlStandAloneFiles::create())
{
}

RevertController::~RevertController()
{
    lq::cancelAll(this);
}

void RevertController::reload()
{
    if (_reload)
        _reload();
}

void RevertController::scheduleTrim()
{
    lq::performAfter(this, trimKey, trimInterval, [this] { deleteExtraReverts(); });
}

void RevertController::refreshFiles()
{
    lq::uiFrame(this, "refreshFiles", [&] {
        _statusVisible = false;
        lq::cancel(this, trimKey);
        // The snapshots are listed through the document folder's gateway: a
        // "revert" that is a link shows nothing, and nothing is trimmed there.
        // (The open told the user so.)
        const std::shared_ptr<lq::ConfinedFolder> site = _document->siteFolder();
        revertFiles->setFolder(site ? site->folder(QStringLiteral("revert")) : nullptr);
        revertFiles->setFoldersFiles(false, true);
        revertFiles->refresh();
        Snapshots::sortNewestFirst(*revertFiles);
        _trimAt = 0;
        _trim = Snapshots::Trim(keptNewest, true, std::numeric_limits<int>::max());
        if (revertFiles->numberChildren() > keptNewest) {
            scheduleTrim();
            _statusVisible = true;
        }
        reload();
    });
}

void RevertController::deleteExtraReverts()
{
    lq::uiFrame(this, "deleteExtraReverts:", [&] {
        // Past the versions that stay, to the first that goes: one goes per step.
        while (const XmlBasePtr entry = revertFiles->childAtIndex(_trimAt)) {
            XmlQVZIPFile* archive = XmlQVZIPFile::cast(entry.get());
            if (_trim.keeps(archive ? archive->comment() : QString())) {
                ++_trimAt;
                continue;
            }
            // A file that is no snapshot leaves the list, never the disk.
            // A snapshot goes through the site folder's gateway.
            if (archive) {
                const std::shared_ptr<lq::ConfinedFolder> folder = revertFiles->treeFolder();
                QString why;
                if (folder && !folder->remove(XmlFiles::pathInTree(archive), &why))
                    lq::log(why);
            }
            revertFiles->removeChild(entry.get());
            reload();
            break;
        }
        if (revertFiles->numberChildren() > _trimAt) {
            scheduleTrim();
        } else if (_statusVisible) {
            // The list shows the line until it is told that trimming ended.
            _statusVisible = false;
            reload();
        }
    });
}

void RevertController::cancel()
{
    _statusVisible = false;
    lq::cancel(this, trimKey);
    if (_editMode)
        _editMode();
}

bool RevertController::revert(int row)
{
    cancel();
    const QString path = pathAtRow(row);
    if (path.isEmpty())
        return false;
    const bool reverted = _document->revertFromFile(path);
    refreshFiles();
    return reverted;
}

int RevertController::numberOfRows() const
{
    return revertFiles->numberChildren();
}

QString RevertController::pathAtRow(int row) const
{
    if (row < 0)
        return QString();
    const XmlBasePtr entry = revertFiles->childAtIndex(row);
    XmlQVZIPFile* archive = entry ? XmlQVZIPFile::cast(entry.get()) : nullptr;
    return archive ? archive->fullname() : QString();
}

QString RevertController::objectValue(const QString& column, int row) const
{
    if (row < 0)
        return QString();
    const XmlBasePtr entry = revertFiles->childAtIndex(row);
    XmlQVZIPFile* archive = entry ? XmlQVZIPFile::cast(entry.get()) : nullptr;
    if (!archive)
        return notAnArchive;
    if (column == QStringLiteral("name"))
        return archive->name();
    if (column == QStringLiteral("comment"))
        return archive->comment();
    return QStringLiteral("");
}

void RevertController::setObjectValue(const QString& value, const QString& column, int row)
{
    if (column != QStringLiteral("comment") || row < 0)
        return;
    const XmlBasePtr entry = revertFiles->childAtIndex(row);
    if (XmlQVZIPFile* archive = entry ? XmlQVZIPFile::cast(entry.get()) : nullptr)
        archive->setComment(value);
}

bool RevertController::shouldEditColumn(const QString& column) const
{
    return column == QStringLiteral("comment");
}
