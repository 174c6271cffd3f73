#include "document/SitePictures.h"

#include "document/MyDocument.h"
#include "model/core/ElementFiles.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlSite.h"
#include "pipeline/XmlProcessor.h"
#include "pipeline/XmlRebuildPhoto.h"
#include "platform/Alert.h"
#include "platform/ExceptionFrame.h"
#include "platform/ConfinedFolder.h"
#include "platform/InputLimits.h"
#include "platform/Log.h"
#include "platform/Process.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <functional>
#include <optional>

namespace {

const QString unzipTool = QStringLiteral("/usr/bin/unzip");

// Calls `use` with every picture number the tree's elements hold: each
// photo's, the trash's included, and each page's representative picture.
// The numbers are the elements' own, as the reader took them from the file.
void forEachPictureNumber(XmlBase& tree, const std::function<void(int)>& use)
{
    tree.callSelectorOnObject([&](XmlBase& element) {
        if (const XmlPhoto* photo = dynamic_cast<const XmlPhoto*>(&element))
            use(photo->imageSeqNumber());
        if (const XmlAlbum* page = dynamic_cast<const XmlAlbum*>(&element))
            use(page->repPictureNumber());
    });
}

// Adds the names ("image<N>.jpg") of the pictures the tree uses.
void addPicturesOf(XmlBase& tree, QSet<QString>& names)
{
    forEachPictureNumber(tree, [&](int number) { names.insert(QStringLiteral("image%1.jpg").arg(number)); });
}

// The pictures of one document file, read by the element reader as opening
// the site reads it. Nothing when the file cannot be read, or, for the
// site, is no site.
std::optional<QSet<QString>> picturesOfTree(const XmlBasePtr& tree, bool isSite)
{
    if (!tree || (isSite && !XmlSite::cast(tree.get())))
        return std::nullopt;
    QSet<QString> names;
    addPicturesOf(*tree, names);
    return names;
}

// The pictures the site and theme files as last saved use; nothing when
// the site file, or a theme file that is there, cannot be read. Both are
// read through the site's gateway.
std::optional<QSet<QString>> picturesOfSavedSite(const lq::ConfinedFolder& folder)
{
    std::optional<QSet<QString>> names = picturesOfTree(lq::createWithFile(folder, QStringLiteral("site.xmlbase")), true);
    const QString themeFile = QStringLiteral("theme.xmlbase");
    if (!names || folder.status(themeFile).kind == lq::ConfinedFolder::Kind::Missing)
        return names;
    const std::optional<QSet<QString>> theme = picturesOfTree(lq::createWithFile(folder, themeFile), false);
    if (!theme)
        return std::nullopt;
    return names->unite(*theme);
}

// One member of a snapshot archive, read from the archive opened through
// the site's gateway and handed to the tool as that open file.
lq::ProcessResult snapshotMember(const lq::FileDescriptor& archive, const QString& member)
{
    lq::ProcessOptions options;
    options.inheritedDescriptors = { archive.get() };
    return lq::runProcess(unzipTool, { QStringLiteral("-p"), archive.procPath(), member }, options);
}

// The tree of a document file unpacked from a snapshot, read as a revert
// reads it; nothing past the bound on document files.
XmlBasePtr snapshotTree(const QByteArray& text)
{
    if (text.size() > lq::inputLimits().documentTextBytes)
        return nullptr;
    return lq::createWithData(text, QString());
}

// The pictures the snapshots in "revert" use (a revert brings back a site
// whose photos use them); nothing when one of them cannot be read, since a
// picture only it names could not be told.
std::optional<QSet<QString>> picturesOfSnapshots(const lq::ConfinedFolder& folder)
{
    QSet<QString> names;
    for (const QString& entry : folder.names(QStringLiteral("revert"))) {
        if (!entry.endsWith(QStringLiteral(".qvzip")))
            continue;
        const auto unreadable = [&](const QString& why) {
            lq::log(QStringLiteral("The pictures of the snapshot \"") + entry + QStringLiteral("\" cannot be told: ") + why);
            return std::nullopt;
        };
        QString why;
        const lq::FileDescriptor archive = folder.openForReading(QStringLiteral("revert/") + entry, &why);
        if (!archive.isValid())
            return unreadable(why);
        const lq::ProcessResult site = snapshotMember(archive, QStringLiteral("site.xmlbase"));
        if (!site.succeeded())
            return unreadable(site.failureDetail(unzipTool));
        const std::optional<QSet<QString>> ofSite = picturesOfTree(snapshotTree(site.output), true);
        if (!ofSite)
            return unreadable(QStringLiteral("its site.xmlbase is no site this program reads"));
        names.unite(*ofSite);
        // Only a theme that is there can name pictures.
        const lq::ProcessResult theme = snapshotMember(archive, QStringLiteral("theme.xmlbase"));
        if (!theme.succeeded())
            continue;
        const std::optional<QSet<QString>> ofTheme = picturesOfTree(snapshotTree(theme.output), false);
        if (!ofTheme)
            return unreadable(QStringLiteral("its theme.xmlbase cannot be read"));
        names.unite(*ofTheme);
    }
    return names;
}

// The names of the pictures right in "pictures" that the program numbers
// ("image<N>.jpg", N as the program writes it), with their numbers.
QHash<QString, int> numberedPictures(const lq::ConfinedFolder& folder)
{
    QHash<QString, int> pictures;
    static const QRegularExpression picture(QStringLiteral("^image(\\d+)\\.jpg$"));
    for (const QString& name : folder.names(QStringLiteral("pictures"))) {
        const QRegularExpressionMatch match = picture.match(name);
        bool ok = false;
        const int number = match.hasMatch() ? match.captured(1).toInt(&ok) : 0;
        if (ok && match.captured(1) == QString::number(number))
            pictures.insert(name, number);
    }
    return pictures;
}

} // namespace

SitePictures::SitePictures(MyDocument& document)
    : _document(document)
{
}

void SitePictures::delayedRebuildEntireSite()
{
    lq::uiFrame(&_document, "delayedRebuildEntireSite:", [&] {
        lq::runAlert(QStringLiteral("Rebuild Website"),
            QStringLiteral("Lumenquill has detected your site needs to be rebuilt - this will optimize your file and correct any errors."),
            QStringLiteral("OK"));
        rebuildEntireSite();
    });
}

void SitePictures::rebuildEntireSite()
{
    lq::uiFrame(&_document, "rebuildEntireSite", [&] {
        const QString folder = _document.fileName();
        XmlSite* site = _document.site();
        const std::shared_ptr<lq::ConfinedFolder> gateway = _document.siteFolder();
        if (!site || folder.isEmpty() || !gateway)
            return;
        lq::ConfinedFolder& files = *gateway;
        QString why;
        // 1. Stray folders go; the document's own files and folders stay.
        static const QStringList kept { QStringLiteral("pictures"), QStringLiteral("bitmaps"), QStringLiteral("bitmaps2"),
            QStringLiteral("revert"), QStringLiteral("files"), QStringLiteral("index.xml"), QStringLiteral("site.xml"),
            QStringLiteral("theme.xml") };
        for (const lq::ConfinedFolder::Entry& entry : files.list().value_or(QList<lq::ConfinedFolder::Entry>())) {
            const QString extension = entry.name.section(QLatin1Char('.'), -1);
            const bool hasExtension = entry.name.contains(QLatin1Char('.'));
            if (kept.contains(entry.name) || (hasExtension && (extension == QStringLiteral("xmlbase") || extension == QStringLiteral("qvzip"))))
                continue;
            if (entry.kind == lq::ConfinedFolder::Kind::Folder && !files.remove(entry.name, &why))
                _document.reportRefusal(QStringLiteral("Rebuild Website: ") + why);
        }
        // 2. The folders every build writes into.
        for (const char* name : { "temp", "bitmaps2", "revert", "homepage", "homepage/pictures", "homepage/bitmaps", "files" })
            if (!MyDocument::ensureFolder(files, QLatin1String(name), &why))
                _document.reportRefusal(QStringLiteral("Rebuild Website: ") + why);
        // 3. Pictures that neither the site nor a snapshot uses. A "pictures"
        // that is a link is never listed: nothing goes through it.
        const QSet<QString> used = picturesInUse();
        const std::optional<QList<lq::ConfinedFolder::Entry>> entries = files.list(QStringLiteral("pictures"), &why, true);
        if (!entries && files.status(QStringLiteral("pictures")).kind != lq::ConfinedFolder::Kind::Missing)
            _document.reportRefusal(QStringLiteral("Rebuild Website left the pictures as they are: ") + why);
        for (const lq::ConfinedFolder::Entry& entry : entries.value_or(QList<lq::ConfinedFolder::Entry>())) {
            if (used.contains(entry.name))
                continue;
            // A folder holding a picture in use stays.
            const QString below = entry.name + QLatin1Char('/');
            const bool holdsUsed = std::any_of(used.begin(), used.end(), [&](const QString& name) { return name.startsWith(below); });
            if (!holdsUsed && !files.remove(QStringLiteral("pictures/") + entry.name, &why))
                lq::log(why);
        }
        // 4. The picture counter goes past every picture there is.
        site->setImageSeqNumber(getMaxPhotoSequenceNumber() + 1);
        // 5. Every photo's internal images are made again.
        auto processor = XmlProcessor::create();
        processor->setRootDir(folder);
        processor->setStatusMessage(QStringLiteral("Rebuilding site..."));
        for (const std::shared_ptr<XmlBase>& item : _document.webItems())
            if (auto* page = dynamic_cast<XmlAlbum*>(item.get()))
                for (const XmlBasePtr& photo : page->photoObjects())
                    processor->addChild(XmlRebuildPhoto::createForUUID(photo->UUID()));
        _document.startProcessor(processor);
    });
}

void SitePictures::rebuildPhotoAlbum(XmlAlbum* page)
{
    lq::uiFrame(&_document, "rebuildPhotoAlbum:", [&] {
        auto processor = XmlProcessor::create();
        processor->setRootDir(_document.fileName());
        processor->setStatusMessage(QStringLiteral("Rebuilding photo album..."));
        if (page)
            for (const XmlBasePtr& photo : page->photoObjects())
                processor->addChild(XmlRebuildPhoto::createForUUID(photo->UUID()));
        if (processor->numberChildren() > 0)
            _document.startProcessor(processor);
    });
}

QSet<QString> SitePictures::picturesInUse(const QStringList& leaving) const
{
    QSet<QString> used;
    XmlSite* site = _document.site();
    if (!site)
        return used;
    QHash<QString, int> uses;
    for (const QString& name : site->picturesInSite())
        ++uses[name];
    for (const QString& name : leaving)
        --uses[name];
    for (auto it = uses.cbegin(); it != uses.cend(); ++it)
        if (it.value() > 0)
            used.insert(it.key());
    const std::shared_ptr<lq::ConfinedFolder> folder = _document.siteFolder();
    if (!folder)
        return used;
    const std::optional<QSet<QString>> saved = picturesOfSavedSite(*folder);
    const std::optional<QSet<QString>> snapshots = saved ? picturesOfSnapshots(*folder) : std::nullopt;
    if (!saved || !snapshots) {
        // What cannot be read may name any of them.
        for (const QString& name : folder->names(QStringLiteral("pictures"), true))
            used.insert(name);
        return used;
    }
    return used.unite(*saved).unite(*snapshots);
}

QList<int> SitePictures::removeUnusedPictures() const
{
    return lq::uiFrame(&_document, "removeUnusedPictures", [&]() -> QList<int> {
        const std::shared_ptr<lq::ConfinedFolder> folder = _document.siteFolder();
        if (!folder)
            return {};
        const std::optional<QSet<QString>> saved = picturesOfSavedSite(*folder);
        if (!saved)
            return {};
        // A "pictures" that is a link is never listed, so nothing goes through it.
        if (folder->status(QStringLiteral("pictures")).kind == lq::ConfinedFolder::Kind::Link) {
            _document.reportRefusal(QStringLiteral("The pictures that nothing uses are left as they are: ") + folder->pathOf(QStringLiteral("pictures"))
                + QStringLiteral(" is a link, which is never followed"));
            return {};
        }
        QHash<QString, int> unused = numberedPictures(*folder);
        for (const QString& name : *saved)
            unused.remove(name);
        // The snapshots are read only when a picture may go.
        if (unused.isEmpty())
            return {};
        const std::optional<QSet<QString>> snapshots = picturesOfSnapshots(*folder);
        if (!snapshots)
            return {};
        for (const QString& name : *snapshots)
            unused.remove(name);
        QList<int> removed;
        for (auto it = unused.cbegin(); it != unused.cend(); ++it) {
            QString why;
            if (removePictureFiles(it.value(), &why))
                removed.append(it.value());
            else
                lq::log(QStringLiteral("A picture that nothing uses stays: ") + why);
        }
        std::sort(removed.begin(), removed.end());
        return removed;
    });
}

bool SitePictures::removePictureFiles(int number, QString* failure) const
{
    const std::shared_ptr<lq::ConfinedFolder> folder = _document.siteFolder();
    if (!folder)
        return true;
    const QString n = QString::number(number);
    // The imported picture goes last: a failure before it leaves the photo
    // whole (what a build or an import made can be made again). Deleted
    // through the site folder's gateway: a link on the way (a "pictures"
    // folder that is a link) stops the deletion, and a link in a picture's
    // place goes, never what it points at.
    const QStringList names {
        XmlPhoto::thumbnailName(number),
        XmlPhoto::fullSizeName(number),
        XmlPhoto::iconName(number),
        QStringLiteral("homepage/pictures/thumb") + n + QStringLiteral(".jpg"),
        QStringLiteral("homepage/pictures/thumb") + n + QStringLiteral(".png"),
        QStringLiteral("homepage/pictures/image") + n + QStringLiteral(".jpg"),
        QStringLiteral("pictures/image") + n + QStringLiteral(".jpg"),
    };
    for (const QString& name : names) {
        QString why;
        const lq::ConfinedFolder::Status status = folder->status(name, &why);
        if (status.kind == lq::ConfinedFolder::Kind::Missing)
            continue;
        // Only a file, or a link in its place, is a picture to delete.
        if (status.kind == lq::ConfinedFolder::Kind::Folder || status.kind == lq::ConfinedFolder::Kind::Other)
            why = QStringLiteral("it is not a file");
        const bool file = status.kind == lq::ConfinedFolder::Kind::File || status.kind == lq::ConfinedFolder::Kind::Link;
        if (!file || !folder->remove(name, &why)) {
            if (failure)
                *failure = QStringLiteral("\"") + folder->pathOf(name) + QStringLiteral("\" could not be deleted: ") + why;
            return false;
        }
    }
    return true;
}

int SitePictures::getMaxPhotoSequenceNumber() const
{
    int largest = 0;
    static const QRegularExpression picture(QStringLiteral("^image(\\d+)\\.[^./]+$"));
    const std::shared_ptr<lq::ConfinedFolder> folder = _document.siteFolder();
    for (const QString& path : folder ? folder->names(QStringLiteral("pictures"), true) : QStringList()) {
        const QRegularExpressionMatch match = picture.match(path.section(QLatin1Char('/'), -1));
        bool ok = false;
        const int number = match.hasMatch() ? match.captured(1).toInt(&ok) : 0;
        if (ok)
            largest = std::max(largest, number);
    }
    return largest;
}

int SitePictures::maxPhotoSequenceNumber() const
{
    int largest = 0;
    if (XmlSite* site = _document.site())
        forEachPictureNumber(*site, [&](int number) { largest = std::max(largest, number); });
    return largest;
}

int SitePictures::maxPictureNumberOnDisk() const
{
    int largest = 0;
    static const QRegularExpression picture(QStringLiteral("^image(\\d+)\\.jpg$"));
    const std::shared_ptr<lq::ConfinedFolder> folder = _document.siteFolder();
    for (const QString& name : folder ? folder->names(QStringLiteral("pictures")) : QStringList()) {
        const QRegularExpressionMatch match = picture.match(name);
        if (match.hasMatch())
            largest = std::max(largest, match.captured(1).toInt());
    }
    return largest;
}
