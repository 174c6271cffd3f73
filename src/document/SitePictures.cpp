#include "document/SitePictures.h"

#include "document/MyDocument.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlSite.h"
#include "pipeline/XmlProcessor.h"
#include "pipeline/XmlRebuildPhoto.h"
#include "platform/Alert.h"
#include "platform/ExceptionFrame.h"
#include "platform/FileHelpers.h"
#include "platform/Log.h"
#include "platform/Process.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>

namespace {

// The picture numbers that the snapshots in "revert" still name: a revert
// brings back a site whose photos use them.
QSet<QString> picturesOfSnapshots(const QString& folder)
{
    QSet<QString> names;
    const QString unzip = QStringLiteral("/usr/bin/unzip");
    static const QRegularExpression number(QStringLiteral("\\siseq=\"(\\d+)\""));
    for (const QString& entry : lq::folderEntries(folder + QStringLiteral("/revert"))) {
        if (!entry.endsWith(QStringLiteral(".qvzip")))
            continue;
        const lq::ProcessResult site = lq::runProcess(unzip,
            { QStringLiteral("-p"), folder + QStringLiteral("/revert/") + entry, QStringLiteral("site.xmlbase") });
        if (!site.succeeded())
            continue;
        const QString text = QString::fromUtf8(site.output);
        for (auto match = number.globalMatch(text); match.hasNext();)
            names.insert(QStringLiteral("image") + match.next().captured(1) + QStringLiteral(".jpg"));
    }
    return names;
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
        if (!site || folder.isEmpty())
            return;
        // 1. Stray folders go; the document's own files and folders stay.
        static const QStringList kept { QStringLiteral("pictures"), QStringLiteral("bitmaps"), QStringLiteral("bitmaps2"),
            QStringLiteral("revert"), QStringLiteral("files"), QStringLiteral("index.xml"), QStringLiteral("site.xml"),
            QStringLiteral("theme.xml") };
        for (const QString& entry : lq::folderEntries(folder)) {
            const QFileInfo info(folder + QLatin1Char('/') + entry);
            const QString extension = info.suffix();
            if (kept.contains(entry) || extension == QStringLiteral("xmlbase") || extension == QStringLiteral("qvzip"))
                continue;
            if (info.isDir() && !info.isSymLink())
                lq::removeItem(info.filePath());
        }
        // 2. The folders every build writes into.
        for (const char* name : { "temp", "bitmaps2", "revert", "homepage", "homepage/pictures", "homepage/bitmaps", "files" })
            MyDocument::dirExists(folder + QLatin1Char('/') + QLatin1String(name));
        // 3. Pictures that neither the site nor a snapshot uses.
        const QString pictures = folder + QStringLiteral("/pictures");
        const QSet<QString> used = picturesInUse();
        const QStringList entries = lq::folderEntries(pictures, true);
        for (const QString& entry : entries) {
            if (used.contains(entry))
                continue;
            // A folder holding a picture in use stays.
            const QString below = entry + QLatin1Char('/');
            const bool holdsUsed = std::any_of(used.begin(), used.end(), [&](const QString& name) { return name.startsWith(below); });
            if (!holdsUsed)
                lq::removeItem(pictures + QLatin1Char('/') + entry);
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
    const QString folder = _document.fileName();
    if (!folder.isEmpty())
        used.unite(picturesOfSnapshots(folder));
    return used;
}

int SitePictures::getMaxPhotoSequenceNumber() const
{
    int largest = 0;
    static const QRegularExpression picture(QStringLiteral("^image(\\d+)\\.[^./]+$"));
    for (const QString& path : lq::folderEntries(_document.fileName() + QStringLiteral("/pictures"), true)) {
        const QRegularExpressionMatch match = picture.match(QFileInfo(path).fileName());
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
        site->callSelectorOnObject([&](XmlBase& element) {
            if (const XmlPhoto* photo = dynamic_cast<const XmlPhoto*>(&element))
                largest = std::max(largest, photo->imageSeqNumber());
            // A page's representative picture has a number of its own.
            if (const XmlAlbum* page = dynamic_cast<const XmlAlbum*>(&element))
                largest = std::max(largest, page->repPictureNumber());
        });
    return largest;
}

int SitePictures::maxPictureNumberOnDisk() const
{
    int largest = 0;
    static const QRegularExpression picture(QStringLiteral("^image(\\d+)\\.jpg$"));
    for (const QString& name : lq::folderEntries(_document.fileName() + QStringLiteral("/pictures"))) {
        const QRegularExpressionMatch match = picture.match(name);
        if (match.hasMatch())
            largest = std::max(largest, match.captured(1).toInt());
    }
    return largest;
}
