#include "document/MyDocument.h"

#include "document/DocumentSnapshots.h"
#include "document/LayoutControllerBase.h"
#include "document/SiteJournal.h"
#include "document/SitePictures.h"
#include "document/Snapshots.h"
#include "document/ThemeArchive.h"
#include "model/core/ElementArchives.h"
#include "pipeline/XmlProcessor.h"
#include "pipeline/XmlResizeThumbnail.h"
#include "model/core/XmlBase.h"
#include "model/core/XmlTextFormat.h"
#include "model/feed/XmlRSS.h"
#include "model/files/XmlFile.h"
#include "model/files/XmlStandAloneFiles.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "theme/XmlLegacyTheme.h"
#include "theme/XmlTheme.h"
#include "platform/Alert.h"
#include "platform/ConfinedFolder.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/FileHelpers.h"
#include "platform/InputLimits.h"
#include "platform/Log.h"
#include "platform/Resources.h"
#include "platform/SupportPaths.h"
#include "platform/Workspace.h"
#include "platform/Zip.h"
#include "publish/DigestListing.h"
#include "publish/XmlD.h"
#include "publish/XmlLocation.h"
#include "templates/XmlStyleSheet.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <QUrl>

#include <algorithm>

namespace {

const QStringList documentFiles { QStringLiteral("site.xmlbase"), QStringLiteral("theme.xmlbase"),
    QStringLiteral("location.xmlbase"), QStringLiteral("rss.xmlbase") };

const QStringList documentFolders { QStringLiteral("pictures"), QStringLiteral("temp"), QStringLiteral("bitmaps2"),
    QStringLiteral("revert"), QStringLiteral("homepage"), QStringLiteral("homepage/pictures"), QStringLiteral("files"),
    QStringLiteral("homepage/bitmaps") };

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

// The first site and the first theme among the trees read from the
// archive, unpacked into the private folder (either may be missing; why
// tells what went wrong with the unpacking).
std::pair<std::shared_ptr<XmlSite>, std::shared_ptr<XmlTheme>> unpackSiteAndTheme(const QString& archive, const QString& folder, QString& why)
{
    std::shared_ptr<XmlSite> site;
    std::shared_ptr<XmlTheme> theme;
    for (const XmlBasePtr& element : lq::unzipElementTrees(archive, folder, &why).value_or(XmlBaseList())) {
        if (!site)
            site = std::dynamic_pointer_cast<XmlSite>(element);
        if (!theme)
            theme = std::dynamic_pointer_cast<XmlTheme>(element);
    }
    return { site, theme };
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

QString withoutTrailingSlash(const QString& path)
{
    return QDir::cleanPath(path);
}

// A document file as it was last saved ("" when it cannot be read).
// The text of a document file as last saved, read through the site
// folder's gateway; nothing when it cannot be read.
QByteArray savedText(const lq::ConfinedFolder& site, const QString& name)
{
    return site.readFile(name, lq::inputLimits().documentTextBytes).value_or(QByteArray());
}

} // namespace

MyDocument::MyDocument()
    : _queue(this)
    , _now([] { return QDateTime::currentDateTime(); })
{
}

MyDocument::~MyDocument()
{
    _queue.stopProcessor();
    _queue.cancelActivity();
    if (_rss)
        _rss->setDocument(nullptr);
    release();
}

void MyDocument::release()
{
    if (_site)
        _site->setDocument(nullptr);
    if (_theme)
        _theme->setDocument(nullptr);
    _site.reset();
    _theme.reset();
}

// --- What the model asks -----------------------------------------------------------

void MyDocument::updateChangeCount(int changeKind)
{
    ++_changesSeen;
    if (_suppressedChanges != 0 || changeKind != ChangeDone)
        return;
    ++_changeCount;
    if (_edited)
        _edited(true);
}

void MyDocument::falseAlarm(bool suppress)
{
    _suppressedChanges += suppress ? 1 : -1;
}

XmlStyleSheet* MyDocument::defaultTemplate()
{
    return _theme ? dynamic_cast<XmlStyleSheet*>(_theme->firstChild().get()) : nullptr;
}

PageTemplate* MyDocument::defaultPageTemplate()
{
    return defaultTemplate();
}

void MyDocument::layoutDidContentEditing()
{
    if (_contentEditingEnded)
        _contentEditingEnded();
}

// --- The layout canvas, through the window's layout controller -------------------------

void MyDocument::addTrackingDataForObjectDataRect(const QString& uuid, const QString& data, const lq::Rect& rect)
{
    if (_layout)
        _layout->addTrackingDataForObjectDataRect(uuid, data, rect);
}

void MyDocument::clearTrackingDataForObject(const QString& uuid)
{
    if (_layout)
        _layout->clearTrackingDataForObject(uuid);
}

void MyDocument::clearTrackingData()
{
    if (_layout)
        _layout->clearTrackingData();
}

void MyDocument::redisplayRect(const lq::Rect& rect)
{
    if (_layout)
        _layout->redisplayRect(rect);
}

void MyDocument::layoutViewSelectedObjectRefresh()
{
    if (_layout)
        _layout->layoutViewSelectedObjectRefresh();
}

lq::PreviewView* MyDocument::getWidgetView(int number)
{
    return _layout ? _layout->getWidgetView(number) : nullptr;
}

int MyDocument::globalIndex()
{
    return _layout ? _layout->globalIndex() : -1;
}

void MyDocument::setGlobalIndex(int index)
{
    if (_layout)
        _layout->setGlobalIndex(index);
}

void MyDocument::selectWebPageIndex(XmlAlbum* page, int index)
{
    lq::uiFrame(this, "selectWebPage:index:", [&] {
        std::shared_ptr<XmlBase> shown = page ? page->shared_from_this() : nullptr;
        if (!shown && _site)
            shown = _site->defaultAlbum();
        _currentAlbum = shown ? shown->UUID() : QString();
        if (_layout && shown)
            _layout->setPreviewPageIndex(shown->UUID(), index);
    });
}

QList<std::shared_ptr<XmlBase>> MyDocument::webItems()
{
    XmlHomePage* home = _site ? _site->homepage() : nullptr;
    return home ? home->webItems() : QList<std::shared_ptr<XmlBase>>();
}

QString MyDocument::fileName() const
{
    return _site ? _site->rootDir() : QString();
}

XmlStandAloneFiles* MyDocument::themeLibrary()
{
    if (!_themeLibrary) {
        _themeLibrary = XmlStandAloneFiles::create();
        _themeLibrary->setRootDir(lq::themeLibraryFolder());
        _themeLibrary->setFoldersFiles(true, false);
        _themeLibrary->refresh();
    }
    return _themeLibrary.get();
}

std::shared_ptr<XmlD> MyDocument::createXmlD(const QString& path)
{
    const QString folder = fileName();
    if (!path.isEmpty())
        return lq::createXmlD(path);
    if (folder.isEmpty())
        return nullptr;
    // The generated site is listed often and mostly the same: its digests
    // are kept beside the last published tree, and only what moved is read.
    if (!_folder)
        return nullptr;
    QString why;
    std::shared_ptr<XmlD> listed = lq::createXmlDWithCache(*_folder, QStringLiteral("homepage"), *_folder, generatedSiteDigests, &why);
    if (!listed && !why.isEmpty())
        reportRefusal(QStringLiteral("The generated site cannot be listed: ") + why);
    return listed;
}

QList<FileDigest> MyDocument::fileDigests(const QString& folder)
{
    return folder.isEmpty() ? QList<FileDigest>() : lq::fileDigests(createXmlD(folder).get());
}

std::shared_ptr<XmlD> MyDocument::lastXmlD(QString* refusal)
{
    const QString folder = fileName();
    return folder.isEmpty() ? nullptr : lq::readLastXmlD(folder, refusal);
}

void MyDocument::setLastXmlD(XmlD* tree)
{
    // The tree's text is for the log file: the Activity log stays readable.
    const QString folder = fileName();
    lq::writeLastXmlD(folder, folder.isEmpty() ? nullptr : tree, [](const QString& line) { lq::log(line); });
}

bool MyDocument::fail(const QString& why)
{
    _lastError = why;
    lq::log(why);
    return false;
}

void MyDocument::reportRefusal(const QString& why)
{
    _queue.addActivityString(why);
    lq::log(why);
}

// --- Folders ------------------------------------------------------------------------

bool MyDocument::ensureFolder(lq::ConfinedFolder& folder, const QString& name, QString* error)
{
    QString why;
    const lq::ConfinedFolder::Status there = folder.status(name, &why);
    switch (there.kind) {
    case lq::ConfinedFolder::Kind::Folder:
        return true;
    case lq::ConfinedFolder::Kind::Refused:
        break;
    case lq::ConfinedFolder::Kind::Link:
        why = folder.pathOf(name) + QStringLiteral(" is a link, which is never followed");
        break;
    case lq::ConfinedFolder::Kind::File:
    case lq::ConfinedFolder::Kind::Other:
        folder.remove(name, &why);
        [[fallthrough]];
    case lq::ConfinedFolder::Kind::Missing:
        if (folder.makeFolder(name, &why, false))
            return true;
        break;
    }
    if (error)
        *error = why;
    return false;
}

bool MyDocument::compareDocPath(const QString& path) const
{
    return _site && path == _site->rootDir();
}

QString MyDocument::snapshotName(const QDateTime& time)
{
    // Names and AM/PM in English whatever the user's language, so every
    // snapshot reads back as a date.
    return QLocale::c().toString(time, QStringLiteral("ddd MMM dd,yyyy hh_mm_ss AP"));
}

void MyDocument::rebuildEntireSite()
{
    SitePictures(*this).rebuildEntireSite();
}

void MyDocument::rebuildPhotoAlbum(XmlAlbum* page)
{
    SitePictures(*this).rebuildPhotoAlbum(page);
}

// --- New document -------------------------------------------------------------------

bool MyDocument::newDocument(const QString& folder)
{
    return newDocumentFromArchive(folder, lq::resourcePath(QStringLiteral("styles/default.qvzip")));
}

bool MyDocument::newDocumentFromArchive(const QString& folderPath, const QString& archive)
{
    return lq::uiFrame(this, "newDocument:", [&]() -> bool {
        _lastError.clear();
        const QString folder = withoutTrailingSlash(folderPath);
        const QFileInfo existing(folder);
        if (existing.exists() || existing.isSymLink())
            return fail(QStringLiteral("could not create new document: ") + folder + QStringLiteral(" already exists"));
        // The folder is made here, where nothing was: the new site's root.
        if (!QDir().mkdir(folder))
            return fail(QStringLiteral("could not create new document: ") + folder);
        QString why;
        const std::shared_ptr<lq::ConfinedFolder> site = lq::ConfinedFolder::open(folder, &why);
        // What could not be made whole goes again: no half-made document stays.
        const auto removeFolder = [&] {
            if (site)
                for (const QString& entry : site->names())
                    site->remove(entry);
            QDir().rmdir(folder);
        };
        if (!site) {
            removeFolder();
            return fail(QStringLiteral("could not create new document: ") + why);
        }
        if (!_lock.acquire(folder, &why)) {
            removeFolder();
            return fail(QStringLiteral("could not create new document: ") + folder + QStringLiteral(": ") + why);
        }
        const auto abandon = [&](const QString& why) {
            release();
            _location.reset();
            if (_rss)
                _rss->setDocument(nullptr);
            _rss.reset();
            _lock.release();
            _folder.reset();
            removeFolder();
            return fail(QStringLiteral("could not create new document: ") + folder + QStringLiteral(": ") + why);
        };

        // The starter is unpacked into a private folder and copied in from there.
        const QTemporaryDir unpacked(QDir::tempPath() + QStringLiteral("/lumenquill-starter-XXXXXX"));
        if (!unpacked.isValid())
            return abandon(QStringLiteral("no private folder to unpack the starter site into"));
        const auto [siteTree, themeTree] = unpackSiteAndTheme(archive, unpacked.path(), why);
        if (!siteTree || !themeTree)
            return abandon(QStringLiteral("the starter site cannot be read") + (why.isEmpty() ? QString() : QStringLiteral(": ") + why));
        for (const QString& entry : QDir(unpacked.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
            if (!site->copyIn(unpacked.filePath(entry), entry, &why))
                return abandon(why);
        _folder = site;
        adopt(siteTree, themeTree);
        _site->setRootDir(folder);
        _theme->setRootDir(folder);
        // A new site publishes to a folder of its own until the user chooses
        // another; a destination read from a file keeps what it was stored with.
        _location = XmlLocation::forNewSite(folder);
        _rss = XmlRSS::create();
        _rss->setDocument(this);
        if (!writeWithBackupToFile(folder))
            return abandon(_lastError);
        _theme->crossReferenceXmlSite(_site.get());
        clearChangeCount();
        return true;
    });
}

void MyDocument::replaceTheme(const std::shared_ptr<XmlTheme>& theme)
{
    lq::uiFrame(this, "replaceTheme:", [&] {
        if (!theme || theme == _theme)
            return;
        if (_theme)
            _theme->setDocument(nullptr);
        _theme = theme;
        _theme->setDocument(this);
        _theme->setRootDir(fileName());
        _theme->checkTemplateSeqNums();
        updateChangeCount(ChangeDone);
    });
}

void MyDocument::adopt(const std::shared_ptr<XmlSite>& site, const std::shared_ptr<XmlTheme>& theme)
{
    release();
    _site = site;
    _theme = theme;
    _site->setDocument(this);
    _theme->setDocument(this);
}

void MyDocument::resizeThumbnails(const QList<ThumbnailResize>& thumbnails)
{
    if (!thumbnails.isEmpty())
        startProcessor(XmlResizeThumbnail::createProcessorForThumbnails(thumbnails));
}

void MyDocument::createRSSProcessor()
{
    lq::uiFrame(this, "createRSSProcessor", [&] {
        if (!_rss || !_site)
            return;
        const QString feed = _rss->rssString();
        if (feed.isNull())
            return;
        // The feed holds what users wrote: it goes into the script only
        // through the verbatim block writer, which no text can end early.
        QString script = QStringLiteral("<QZprocessor rootDir=\"") + lq::escape(_site->rootDir())
            + QStringLiteral("\" status=\"Creating RSS feed\"><QZcreate dir=\"homepage\" filename=\"rss.xml\">");
        XmlTextFormat::appendVerbatimBlock(script, feed);
        script += QStringLiteral("</QZcreate></QZprocessor>");
        startProcessor(XmlProcessor::createWithScript(script));
    });
}

// --- Open ----------------------------------------------------------------------------

bool MyDocument::importLegacy(lq::ConfinedFolder& folder, bool layout12)
{
    std::shared_ptr<XmlSite> site;
    XmlBasePtr theme;
    if (!layout12) {
        site = std::dynamic_pointer_cast<XmlSite>(XmlBase::createWithFile(folder, QStringLiteral("index.xml")));
        // The first layout kept one template per page: they become the theme.
        if (site)
            theme = XmlLegacyTheme::generateThemeFromLegacy1_0(*site);
    } else {
        site = std::dynamic_pointer_cast<XmlSite>(XmlBase::createWithFile(folder, QStringLiteral("site.xml")));
        theme = XmlBase::createWithFile(folder, QStringLiteral("theme.xml"));
        if (theme && !XmlLegacyTheme::cast(theme.get()) && !XmlTheme::cast(theme.get()))
            theme.reset();
    }
    if (!site || !theme)
        return fail(couldNotRead());
    site->setRootDir(folder.path());
    theme->setRootDir(folder.path());
    if (XmlLegacyTheme* legacy = XmlLegacyTheme::cast(theme.get()))
        legacy->convert1_2Theme(site.get());
    bool written = site->saveInto(folder, QStringLiteral("site.xmlbase"));
    written = theme->saveInto(folder, QStringLiteral("theme.xmlbase")) && written;
    if (site->location())
        written = site->location()->saveInto(folder, QStringLiteral("location.xmlbase")) && written;
    if (!written)
        return fail(QStringLiteral("could not convert ") + folder.path());
    return true;
}

bool MyDocument::readFromFile(const QString& folderPath)
{
    _lastError.clear();
    bool opened = false;
    lq::uiFrame(this, "readFromFile:ofType:", [&] {
        const QString folder = withoutTrailingSlash(folderPath);
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

        auto siteTree = std::dynamic_pointer_cast<XmlSite>(XmlBase::createWithFile(site, siteFile));
        auto theme = std::dynamic_pointer_cast<XmlTheme>(XmlBase::createWithFile(site, themeFile));
        auto location = std::dynamic_pointer_cast<XmlLocation>(XmlBase::createWithFile(site, QStringLiteral("location.xmlbase")));
        auto rss = std::dynamic_pointer_cast<XmlRSS>(XmlBase::createWithFile(site, QStringLiteral("rss.xmlbase")));
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
        const QString folder = withoutTrailingSlash(folderPath);
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
            if (!change.stageFile(documentFiles[i], texts[i], &why))
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
        const bool wanted = !versionOnlyIfChanged || bringing || versioned != _versionedTexts;
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
        if (wanted)
            _versionedTexts = snapshot ? versioned : QByteArray();
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

// --- Save as, revert, archive ----------------------------------------------------------

bool MyDocument::saveAs(const QString& pathGiven)
{
    _lastError.clear();
    return lq::uiFrame(this, "fileSaveAs", [&]() -> bool {
        const QString path = withoutTrailingSlash(pathGiven);
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
        auto siteTree = std::dynamic_pointer_cast<XmlSite>(XmlBase::createWithFile(unpacked + QStringLiteral("/site.xmlbase")));
        auto theme = std::dynamic_pointer_cast<XmlTheme>(XmlBase::createWithFile(unpacked + QStringLiteral("/theme.xmlbase")));
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
            if (trees[i] && !change.stageFile(documentFiles[i], trees[i]->createXml().toUtf8(), &why))
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
