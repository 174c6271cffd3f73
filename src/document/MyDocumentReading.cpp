// Opening a document folder (older layouts converted) and reverting to a
// snapshot.
#include "document/MyDocument.h"

#include "document/DocumentSnapshots.h"
#include "document/MyDocumentPrivate.h"
#include "document/SiteJournal.h"
#include "document/SitePictures.h"
#include "model/core/ElementFiles.h"
#include "model/core/XmlBase.h"
#include "model/feed/XmlRSS.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "theme/XmlLegacyTheme.h"
#include "theme/XmlTheme.h"
#include "platform/ConfinedFolder.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "platform/Workspace.h"
#include "platform/Zip.h"
#include "publish/XmlLocation.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>

#include <algorithm>

namespace {

// Why a site folder did not open, when its files are there but unreadable.
QString couldNotRead()
{
    return QStringLiteral("its site.xmlbase or theme.xmlbase cannot be read");
}

// The maker's page about the file format of the older release.
QString formatChangePage()
{
    return QStringLiteral("https://www.moravine.com/LQ2FileDiff.html");
}

// The plain files of a private folder of the program (links and folders
// left out), by name.
QStringList plainFilesIn(const QString& folder)
{
    QStringList names;
    for (const QFileInfo& entry : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name))
        if (entry.isFile() && !entry.isSymLink())
            names.append(entry.fileName());
    return names;
}

// Notes that the theme pictures of a snapshot, unpacked into a private
// folder, go into the document's "bitmaps2", replacing namesakes: plain
// files only, nothing below, and never through a "bitmaps2" that is a link.
bool stageThemePictures(SiteJournal& change, const QString& unpacked, QString& why)
{
    lq::ConfinedFolder& site = change.folder();
    const QStringList pictures = plainFilesIn(unpacked);
    if (pictures.isEmpty())
        return true;
    if (!site.makeFolder(QStringLiteral("bitmaps2"), &why))
        return false;
    for (const QString& name : pictures) {
        const QString target = QStringLiteral("bitmaps2/") + name;
        QString unsafe;
        const lq::ConfinedFolder::Kind there = site.status(target, &unsafe).kind;
        if (there == lq::ConfinedFolder::Kind::Refused) {
            why = QStringLiteral("cannot put the theme picture ") + name + QStringLiteral(" in place: ") + unsafe;
            return false;
        }
        if (there == lq::ConfinedFolder::Kind::Folder || !SiteJournal::isReplaceableTarget(target)) {
            why = QStringLiteral("cannot put the theme picture ") + name + QStringLiteral(" in place");
            return false;
        }
        const QString staged = QStringLiteral("snapshot-bitmaps2/") + name;
        if (!change.stageCopy(unpacked + QLatin1Char('/') + name, staged, &why))
            return false;
        change.addMove(staged, target);
    }
    return true;
}

} // namespace

// --- Open ----------------------------------------------------------------------------

bool MyDocument::importLegacy(lq::ConfinedFolder& folder, bool layout12)
{
    std::shared_ptr<XmlSite> site;
    XmlBasePtr theme;
    if (!layout12) {
        site = std::dynamic_pointer_cast<XmlSite>(lq::createWithFile(folder, QStringLiteral("index.xml")));
        // The first layout kept one template per page: they become the theme.
        if (site)
            theme = XmlLegacyTheme::generateThemeFromLegacy1_0(*site);
    } else {
        site = std::dynamic_pointer_cast<XmlSite>(lq::createWithFile(folder, QStringLiteral("site.xml")));
        theme = lq::createWithFile(folder, QStringLiteral("theme.xml"));
        if (theme && !XmlLegacyTheme::cast(theme.get()) && !XmlTheme::cast(theme.get()))
            theme.reset();
    }
    if (!site || !theme)
        return fail(couldNotRead());
    site->setRootDir(folder.path());
    theme->setRootDir(folder.path());
    if (XmlLegacyTheme* legacy = XmlLegacyTheme::cast(theme.get()))
        legacy->convert1_2Theme(site.get());
    bool written = lq::saveInto(*site, folder, QStringLiteral("site.xmlbase"));
    written = lq::saveInto(*theme, folder, QStringLiteral("theme.xmlbase")) && written;
    if (site->location())
        written = lq::saveInto(*site->location(), folder, QStringLiteral("location.xmlbase")) && written;
    if (!written)
        return fail(QStringLiteral("could not convert ") + folder.path());
    return true;
}

bool MyDocument::readFromFile(const QString& folderPath)
{
    _lastError.clear();
    bool opened = false;
    lq::uiFrame(this, "readFromFile:ofType:", [&] {
        const QString folder = lq::documentfolder::withoutTrailingSlash(folderPath);
        const std::shared_ptr<lq::ConfinedFolder> gateway = QFileInfo(folder).isDir() ? lq::ConfinedFolder::open(folder) : nullptr;
        if (!gateway) {
            fail(QStringLiteral("it is not a folder"));
            return;
        }
        lq::ConfinedFolder& site = *gateway;
        const QString siteFile = QStringLiteral("site.xmlbase");
        const QString oldSiteFile = QStringLiteral("site.xml");
        const QString themeFile = QStringLiteral("theme.xmlbase");
        const auto there = [&](const QString& name) {
            const lq::ConfinedFolder::Kind kind = site.status(name).kind;
            return kind != lq::ConfinedFolder::Kind::Missing && kind != lq::ConfinedFolder::Kind::Refused;
        };
        // A folder that holds no site of any layout is left as it is.
        if (!there(siteFile) && !there(oldSiteFile) && !there(QStringLiteral("index.xml"))) {
            fail(QStringLiteral("it holds no Lumenquill website (no site.xmlbase and theme.xmlbase)"));
            return;
        }
        // Nothing is touched before the folder is ours.
        QString why;
        if (!_lock.acquire(folder, &why)) {
            fail(why);
            return;
        }
        if (!_lock.takenOver().isEmpty())
            addActivityString(_lock.takenOver());
        if (!SiteJournal::recover(site, &why)) {
            fail(QStringLiteral("the save that was interrupted there cannot be finished: ") + why);
            return;
        }
        for (const QString& sub : { QStringLiteral("bitmaps2"), QStringLiteral("revert") })
            if (!ensureFolder(site, sub, &why))
                reportRefusal(why);
        if (!there(siteFile) || !there(themeFile)) {
            if (!importLegacy(site, there(oldSiteFile)))
                return;
        } else if (there(oldSiteFile) && !(site.modificationTime(siteFile) > site.modificationTime(oldSiteFile))) {
            const int choice = _choice ? _choice(QStringLiteral("Lumenquill 2.0 Warning"),
                                             QStringLiteral("Lumenquill has detected this file was recently edited with Lumenquill 1.2.  "
                                                            "Lumenquill 2.0 and Lumenquill 1.2 do not have compatible file formats so these "
                                                            "changes will not be seen.  To update your file to see the changes made in "
                                                            "Lumenquill 1.2 press the ReImport File button."),
                                             { QStringLiteral("Continue"), QStringLiteral("ReImport File"), QStringLiteral("More Info Please") })
                                       : 0;
            if (choice == 1) {
                lq::log(QStringLiteral("Reimporting file"));
                if (!importLegacy(site, true))
                    return;
            } else if (choice == 2) {
                lq::openURL(QUrl(formatChangePage()));
            }
        }

        auto siteTree = std::dynamic_pointer_cast<XmlSite>(lq::createWithFile(site, siteFile));
        auto theme = std::dynamic_pointer_cast<XmlTheme>(lq::createWithFile(site, themeFile));
        auto location = std::dynamic_pointer_cast<XmlLocation>(lq::createWithFile(site, QStringLiteral("location.xmlbase")));
        auto rss = std::dynamic_pointer_cast<XmlRSS>(lq::createWithFile(site, QStringLiteral("rss.xmlbase")));
        if (!location)
            location = siteTree && siteTree->location() ? std::dynamic_pointer_cast<XmlLocation>(siteTree->location()->copyWithZone()) : nullptr;
        if (!location)
            location = XmlLocation::create();
        if (!rss)
            rss = XmlRSS::create();
        if (!siteTree || !theme) {
            fail(couldNotRead());
            return;
        }
        _folder = gateway;
        _location = location;
        _rss = rss;
        _rss->setDocument(this);
        adopt(siteTree, theme);
        // Opening is no edit.
        falseAlarm(true);
        struct Resume {
            MyDocument* document;
            ~Resume() { document->falseAlarm(false); }
        } resume { this };
        opened = true;
        // The newest version holds what the files just read hold, as every save makes one.
        _versionedTexts.clear();
        _versionIsSavedFiles = true;
        _savedHasVersion = true;

        _site->setRootDir(folder);
        _theme->setRootDir(folder);
        _theme->crossReferenceXmlSite(_site.get());

        _siteNeedsRebuild = false;
        if (!site.isFolder(QStringLiteral("temp"))) {
            if (!ensureFolder(site, QStringLiteral("temp"), &why))
                reportRefusal(why);
            _siteNeedsRebuild = true;
        }
        _site->refreshFiles();
        DocumentSnapshots(*this).trimSnapshots();
        // What an unsaved import of a killed program, or only the snapshots
        // just trimmed, used.
        SitePictures(*this).removeUnusedPictures();

        // Only a counter that would hand out a number already in use needs
        // the rebuild; one ahead (after the newest photo was deleted) skips
        // numbers, which harms nothing.
        const int largest = SitePictures(*this).maxPhotoSequenceNumber() + 1;
        if (largest > _site->imageSeqTest()) {
            lq::log(QString::number(largest) + QStringLiteral(" != ") + QString::number(_site->imageSeqTest()));
            _siteNeedsRebuild = true;
        }
    });
    if (opened)
        clearChangeCount();
    else
        _lock.release();
    return opened;
}

// --- Revert --------------------------------------------------------------------------

bool MyDocument::revertFromFile(const QString& snapshot)
{
    _lastError.clear();
    return lq::uiFrame(this, "revertFromFile:", [&]() -> bool {
        const QString folder = fileName();
        if (folder.isEmpty() || !_folder)
            return fail(QStringLiteral("no document to revert"));
        lq::ConfinedFolder& site = *_folder;
        QString why;
        if (!SiteJournal::recover(site, &why))
            return fail(QStringLiteral("could not revert: ") + why);
        // The snapshot is copied out of the site into a private folder,
        // unpacked and read and checked there: the document changes only once
        // its site and theme read back, and only the document's own files
        // are ever taken from it.
        const QTemporaryDir unpacking(QDir::tempPath() + QStringLiteral("/lumenquill-revert-XXXXXX"));
        if (!unpacking.isValid())
            return fail(QStringLiteral("could not revert: no private folder to unpack the snapshot into"));
        QString archive = snapshot;
        if (const std::optional<QString> inside = site.nameOf(snapshot)) {
            archive = unpacking.filePath(QStringLiteral("snapshot.qvzip"));
            if (!site.copyOut(*inside, archive, &why))
                return fail(QStringLiteral("could not revert: the snapshot cannot be read: ") + why);
        }
        const QString unpacked = unpacking.filePath(QStringLiteral("snapshot"));
        if (!QDir().mkdir(unpacked) || !lq::unzipInto(archive, unpacked))
            return fail(QStringLiteral("could not revert: the snapshot cannot be unpacked: ") + snapshot);
        auto siteTree = std::dynamic_pointer_cast<XmlSite>(lq::createWithFile(unpacked + QStringLiteral("/site.xmlbase")));
        auto theme = std::dynamic_pointer_cast<XmlTheme>(lq::createWithFile(unpacked + QStringLiteral("/theme.xmlbase")));
        if (!siteTree || !theme)
            return fail(QStringLiteral("the snapshot lacks a readable site or theme: ") + snapshot);
        siteTree->setRootDir(folder);
        theme->setRootDir(folder);

        // The four files and the theme's pictures replace the old ones in
        // one change: a kill leaves the document as it was or reverted.
        SiteJournal change(site, SiteJournal::revertStagingPrefix);
        if (!change.begin(&why))
            return fail(QStringLiteral("could not revert: ") + why);
        const QList<XmlBase*> trees { siteTree.get(), theme.get(), _location.get(), _rss.get() };
        for (qsizetype i = 0; i < trees.size(); ++i)
            if (trees[i] && !change.stageFile(lq::documentfolder::documentFiles[i], trees[i]->createXml().toUtf8(), &why))
                return fail(QStringLiteral("could not revert: ") + why);
        if (!stageThemePictures(change, unpacked + QStringLiteral("/bitmaps2"), why))
            return fail(QStringLiteral("could not revert: ") + why);
        if (!change.commit(&why))
            return fail(QStringLiteral("could not revert: ") + why);

        adopt(siteTree, theme);
        _theme->crossReferenceXmlSite(_site.get());
        _site->refreshFiles();
        // The site is now an older version's, not the newest one's.
        _versionedTexts.clear();
        _versionIsSavedFiles = false;
        _savedHasVersion = false;
        // A snapshot's counter may lie behind pictures imported since: the
        // next import must not overwrite one that another snapshot uses.
        const SitePictures pictures(*this);
        const int next = std::max(pictures.maxPictureNumberOnDisk(), pictures.maxPhotoSequenceNumber()) + 1;
        if (_site->imageSeqTest() < next)
            _site->setImageSeqNumber(next);
        clearChangeCount();

        XmlHomePage* home = _site->homepage();
        _currentObject = home ? home->UUID() : QString();
        _currentType = 0;
        _currentAlbum.clear();
        if (_reload)
            _reload();
        return true;
    });
}
