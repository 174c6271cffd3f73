// The document: its trees and what the model asks of it, its folders, and
// a new site made from a starter archive.
#include "document/MyDocument.h"

#include "document/LayoutControllerBase.h"
#include "document/MyDocumentPrivate.h"
#include "document/SitePictures.h"
#include "model/core/ElementArchives.h"
#include "model/core/XmlBase.h"
#include "model/core/XmlTextFormat.h"
#include "model/feed/XmlRSS.h"
#include "model/files/XmlStandAloneFiles.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "pipeline/XmlProcessor.h"
#include "pipeline/XmlResizeThumbnail.h"
#include "platform/ConfinedFolder.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "platform/Resources.h"
#include "platform/SupportPaths.h"
#include "platform/Zip.h"
#include "publish/DigestListing.h"
#include "publish/XmlD.h"
#include "publish/XmlLocation.h"
#include "templates/XmlStyleSheet.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>

namespace {

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
        const QString folder = lq::documentfolder::withoutTrailingSlash(folderPath);
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
