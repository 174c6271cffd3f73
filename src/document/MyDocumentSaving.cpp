// Saving a document: its four files and a snapshot in one change of the
// folder, Save As, the archive of the document, and the theme import that
// comes in with a save.
#include "document/MyDocument.h"

#include "document/DocumentSnapshots.h"
#include "document/MyDocumentPrivate.h"
#include "document/SiteJournal.h"
#include "document/SitePictures.h"
#include "document/Snapshots.h"
#include "document/ThemeArchive.h"
#include "model/core/XmlBase.h"
#include "model/feed/XmlRSS.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "platform/Alert.h"
#include "platform/ConfinedFolder.h"
#include "platform/ExceptionFrame.h"
#include "platform/InputLimits.h"
#include "platform/Zip.h"
#include "publish/XmlLocation.h"
#include "templates/XmlStyleSheet.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

const QStringList documentFolders { QStringLiteral("pictures"), QStringLiteral("temp"), QStringLiteral("bitmaps2"),
    QStringLiteral("revert"), QStringLiteral("homepage"), QStringLiteral("homepage/pictures"), QStringLiteral("files"),
    QStringLiteral("homepage/bitmaps") };

// The text of a document file as last saved, read through the site
// folder's gateway; nothing when it cannot be read.
QByteArray savedText(const lq::ConfinedFolder& site, const QString& name)
{
    return site.readFile(name, lq::inputLimits().documentTextBytes).value_or(QByteArray());
}

} // namespace

// --- Save ----------------------------------------------------------------------------

bool MyDocument::writeWithBackupToFile(const QString& folder)
{
    return saveFileWithComment(folder, QString());
}

bool MyDocument::saveFileWithComment(const QString& folderPath, const QString& comment)
{
    return save(folderPath, comment, nullptr, nullptr);
}

bool MyDocument::saveForPublication()
{
    return save(fileName(), Snapshots::publicationComment, nullptr, nullptr, true);
}

QByteArray MyDocument::textsDigest(const QByteArray& site, const QByteArray& theme)
{
    QCryptographicHash digest(QCryptographicHash::Sha256);
    digest.addData(QByteArray::number(site.size()) + ':');
    digest.addData(site);
    digest.addData(theme);
    return digest.result();
}

bool MyDocument::save(const QString& folderPath, const QString& comment, const ThemeArchive* bringing, QStringList* kept,
    bool versionOnlyIfChanged)
{
    _lastError.clear();
    return lq::uiFrame(this, "saveFile:withComment:", [&]() -> bool {
        const QString folder = lq::documentfolder::withoutTrailingSlash(folderPath);
        QString why;
        std::shared_ptr<lq::ConfinedFolder> gateway = _folder && _folder->path() == folder ? _folder : nullptr;
        if (!gateway) {
            // A save to a folder that is not there yet makes it, as its root.
            if (!QFileInfo(folder).isDir() && !QDir().mkdir(folder))
                return fail(QStringLiteral("could not save document: ") + folder);
            gateway = lq::ConfinedFolder::open(folder, &why);
            if (!gateway)
                return fail(QStringLiteral("could not save document: ") + why);
        }
        lq::ConfinedFolder& site = *gateway;
        // A folder of the document that is a link is neither followed nor
        // replaced: what would go into it is refused on its own, and the
        // save goes on.
        QStringList refused;
        for (const QString& sub : documentFolders) {
            if (ensureFolder(site, sub, &why))
                continue;
            if (site.status(sub).kind != lq::ConfinedFolder::Kind::Link && site.status(sub).kind != lq::ConfinedFolder::Kind::Refused)
                return fail(QStringLiteral("could not save document: cannot make ") + site.pathOf(sub) + QStringLiteral(": ") + why);
            refused.append(why);
        }
        // The document's own files are their owner's alone (they hold page
        // passwords and the destination's credentials), as are the folders
        // that hold them and the snapshots.
        for (const QString& private_ : { QString(), QStringLiteral("revert") }) {
            if (!private_.isEmpty() && !site.isFolder(private_))
                continue;
            if (!site.setMode(private_, 0700, &why))
                return fail(QStringLiteral("could not save document: cannot keep ") + site.pathOf(private_) + QStringLiteral(" to its owner: ") + why);
        }
        if (!_site || !_theme)
            return fail(QStringLiteral("could not save document: no site"));
        if (!_lock.acquire(folder, &why))
            return fail(QStringLiteral("could not save document: ") + why);
        // A change that failed half way earlier is finished before this one.
        if (!SiteJournal::recover(site, &why))
            return fail(QStringLiteral("could not save document: ") + why);
        _folder = gateway;
        if (!_location)
            _location = XmlLocation::create();
        if (!_rss) {
            _rss = XmlRSS::create();
            _rss->setDocument(this);
        }

        // The four files and the snapshot are all written whole in a staging
        // folder first; then they replace the old ones in one change, so a
        // failure (a full disk) or a kill leaves the saved document as it
        // was, or as this save makes it.
        const QList<XmlBase*> trees { _site.get(), _theme.get(), _location.get(), _rss.get() };
        QList<QByteArray> texts;
        for (XmlBase* tree : trees)
            texts.append(tree->createXml().toUtf8());
        SiteJournal change(site, SiteJournal::saveStagingPrefix);
        if (!change.begin(&why))
            return fail(QStringLiteral("could not save document: ") + why);
        for (qsizetype i = 0; i < trees.size(); ++i)
            if (!change.stageFile(lq::documentfolder::documentFiles[i], texts[i], &why))
                return fail(QStringLiteral("could not save document: ") + why);
        // A theme's pictures and files come as new files of the same change.
        const QString incoming = QStringLiteral("theme");
        if (bringing) {
            const std::optional<QStringList> left = bringing->stageInto(change, incoming, &why);
            if (!left)
                return fail(QStringLiteral("could not save document: the theme's files cannot come in: ") + why);
            if (kept)
                *kept = *left;
        }
        QString snapshotWhy;
        DocumentSnapshots snapshots(*this);
        const QByteArray versioned = textsDigest(texts[0], texts[1]);
        if (_versionIsSavedFiles && folder == fileName())
            _versionedTexts = textsDigest(savedText(site, QStringLiteral("site.xmlbase")), savedText(site, QStringLiteral("theme.xmlbase")));
        // What a build fills in by itself on a site nobody edited since its
        // version makes no version of its own.
        const bool edited = isDocumentEdited() || !_savedHasVersion || folder != fileName();
        const bool wanted = !versionOnlyIfChanged || bringing || (versioned != _versionedTexts && edited);
        const bool snapshot = !wanted
            || snapshots.stageSnapshot(change, texts[0], texts[1], comment,
                bringing ? incoming + QStringLiteral("/bitmaps2") : QString(), snapshotWhy);
        if (!change.commit(&why))
            return fail(QStringLiteral("could not save document: ") + why);

        snapshots.pruneBitmaps();
        clearChangeCount();
        for (const QString& line : refused)
            reportRefusal(QStringLiteral("The website was saved; ") + line);
        _versionIsSavedFiles = false;
        if (wanted) {
            _versionedTexts = snapshot ? versioned : QByteArray();
            _savedHasVersion = snapshot;
        }
        if (!snapshot)
            _lastError = QStringLiteral("the document was saved, but its snapshot could not be made: ") + snapshotWhy;
        else if (!refused.isEmpty())
            _lastError = QStringLiteral("the document was saved, but ") + refused.join(QStringLiteral("; "));
        return true;
    });
}

void MyDocument::picturesNotImported(const QList<lq::RefusedPicture>& refused, int given)
{
    if (_notImported && !refused.isEmpty())
        _notImported(refused, given);
}

void MyDocument::closeWithoutSaving()
{
    lq::uiFrame(this, "closeWithoutSaving", [&] {
        // Nothing queued may bring a picture in once they are counted.
        _queue.cancelActivity();
        SitePictures(*this).removeUnusedPictures();
    });
}

// --- Save as, archive, theme import ------------------------------------------------------

bool MyDocument::saveAs(const QString& pathGiven)
{
    _lastError.clear();
    return lq::uiFrame(this, "fileSaveAs", [&]() -> bool {
        const QString path = lq::documentfolder::withoutTrailingSlash(pathGiven);
        const QFileInfo existing(path);
        if (existing.exists() || existing.isSymLink()) {
            lq::runAlert(QStringLiteral("File Exists"),
                QStringLiteral("The File you select to 'Save As' already exists.  Lumenquill will not overwrite existing files."),
                QStringLiteral("OK"));
            return fail(QStringLiteral("will not overwrite ") + path);
        }
        if (!_folder)
            return fail(QStringLiteral("could not save as ") + path + QStringLiteral(": the document has no folder"));
        // The copy is made where nothing was, entry by entry through both
        // folders' gateways. The lock file names this program: the copy is
        // locked afresh by the save.
        QString why;
        std::shared_ptr<lq::ConfinedFolder> copy = QDir().mkdir(path) ? lq::ConfinedFolder::open(path, &why) : nullptr;
        bool copied = copy != nullptr;
        // Links are not followed, so not copied: the user is told each.
        QStringList linksLeftOut;
        for (const lq::ConfinedFolder::Entry& entry : copied ? _folder->list(QString(), nullptr, true).value_or(QList<lq::ConfinedFolder::Entry>())
                                                            : QList<lq::ConfinedFolder::Entry>())
            if (entry.kind == lq::ConfinedFolder::Kind::Link)
                linksLeftOut.append(_folder->pathOf(entry.name) + QStringLiteral(" is a link, which is never followed"));
        for (const QString& entry : copied ? _folder->names() : QStringList()) {
            if (entry != SiteLock::lockName && !_folder->copyTo(entry, *copy, entry, &why)) {
                copied = false;
                break;
            }
        }
        if (copied)
            for (const QString& line : linksLeftOut)
                reportRefusal(QStringLiteral("Save As left a link out of the copy: ") + line);
        if (!copied) {
            if (copy)
                for (const QString& entry : copy->names())
                    copy->remove(entry);
            QDir().rmdir(path);
            return fail(QStringLiteral("could not save as ") + path + (why.isEmpty() ? QString() : QStringLiteral(": ") + why));
        }
        _site->setRootDir(path);
        _theme->setRootDir(path);
        if (!saveFileWithComment(path, QString()))
            return false;
        clearChangeCount();
        return true;
    });
}

bool MyDocument::archiveDocument(const QString& archive)
{
    _lastError.clear();
    return lq::uiFrame(this, "archiveDocument:", [&]() -> bool {
        if (!_folder)
            return fail(QStringLiteral("could not archive the document: it has no folder"));
        // What goes into the archive is copied out of the site into a private
        // folder, under a top folder named like the document folder, and
        // packed from there.
        const QTemporaryDir packing(QDir::tempPath() + QStringLiteral("/lumenquill-archive-XXXXXX"));
        const QString name = QFileInfo(fileName()).fileName();
        if (!packing.isValid() || !QDir().mkdir(packing.filePath(name)))
            return fail(QStringLiteral("could not archive the document: no private folder to pack it in"));
        bool done = true;
        QString why;
        for (const QString& entry : { QStringLiteral("site.xmlbase"), QStringLiteral("theme.xmlbase") })
            done = done && _folder->copyOut(entry, packing.filePath(name + QLatin1Char('/') + entry), &why)
                && lq::zipAdd(archive, packing.path(), name + QLatin1Char('/') + entry, false);
        for (const QString& entry : { QStringLiteral("bitmaps2"), QStringLiteral("pictures"), QStringLiteral("files") })
            if (done && _folder->isFolder(entry))
                done = _folder->copyOut(entry, packing.filePath(name + QLatin1Char('/') + entry), &why)
                    && lq::zipAdd(archive, packing.path(), name + QLatin1Char('/') + entry, true);
        if (!done)
            return fail(QStringLiteral("could not archive the document into ") + archive + (why.isEmpty() ? QString() : QStringLiteral(": ") + why));
        return true;
    });
}

bool MyDocument::importTheme(const ThemeArchive& archive, bool replace, const QString& comment, QStringList* kept)
{
    _lastError.clear();
    const std::shared_ptr<XmlTheme>& incoming = archive.theme();
    XmlSite* siteRoot = site();
    if (!siteRoot || !_theme || !incoming)
        return fail(QStringLiteral("could not import the theme: there is no site or no theme"));
    // What the templates were, for a failed import to take back.
    const bool wasEdited = isDocumentEdited();
    const std::shared_ptr<XmlTheme> before = _theme;
    const int nextTemplate = before->peekTemplateSeqNumber();
    struct Binding {
        XmlAlbum* page;
        int number;
        QString uuid;
    };
    QList<Binding> bindings;
    const std::function<void(XmlBase*)> collect = [&](XmlBase* node) {
        if (auto* page = dynamic_cast<XmlAlbum*>(node))
            bindings.append({ page, page->templateNum(), page->templateUUID() });
        for (const XmlBasePtr& child : node->children())
            collect(child.get());
    };
    collect(siteRoot);
    QList<std::shared_ptr<XmlStyleSheet>> added;

    if (replace) {
        replaceTheme(incoming);
        if (XmlStyleSheet* first = defaultTemplate())
            siteRoot->setTemplateForUUID(-1, first->UUID());
    } else {
        // The new templates come after the site's own, numbered by its theme.
        for (const XmlBasePtr& child : incoming->children()) {
            auto sheet = std::dynamic_pointer_cast<XmlStyleSheet>(child);
            if (!sheet)
                break;
            added.append(std::dynamic_pointer_cast<XmlStyleSheet>(sheet->copyWithZone()));
            before->addTemplate(added.last());
        }
    }
    if (save(fileName(), comment, &archive, kept))
        return true;

    const QString why = _lastError;
    if (replace) {
        replaceTheme(before);
        for (const Binding& binding : bindings) {
            binding.page->setTemplateForUUID(-1, binding.uuid);
            binding.page->setTemplateNum(binding.number);
        }
    } else {
        for (const auto& sheet : added)
            before->removeChild(sheet.get());
        before->setTemplateSeqNumber(nextTemplate);
    }
    if (!wasEdited)
        clearChangeCount();
    _lastError = why;
    return false;
}
