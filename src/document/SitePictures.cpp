#include "document/SitePictures.h"

#include "document/MyDocument.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlSite.h"
#include "pipeline/XmlProcessor.h"
#include "pipeline/XmlRebuildPhoto.h"
#include "platform/Alert.h"
#include "platform/ExceptionFrame.h"
#include "platform/ConfinedFolder.h"
#include "platform/Log.h"
#include "platform/Process.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>

namespace {

// The picture numbers that the snapshots in "revert" still name: a revert
// brings back a site whose photos use them. Each archive is opened through
// the site's gateway and handed to the tool as that open file.
QSet<QString> picturesOfSnapshots(const lq::ConfinedFolder& site)
{
    QSet<QString> names;
    const QString unzip = QStringLiteral("/usr/bin/unzip");
    static const QRegularExpression number(QStringLiteral("\\siseq=\"(\\d+)\""));
    for (const QString& entry : site.names(QStringLiteral("revert"))) {
        if (!entry.endsWith(QStringLiteral(".qvzip")))
            continue;
        const lq::FileDescriptor archive = site.openForReading(QStringLiteral("revert/") + entry);
        if (!archive.isValid())
            continue;
        lq::ProcessOptions options;
        options.inheritedDescriptors = { archive.get() };
        const lq::ProcessResult read = lq::runProcess(unzip, { QStringLiteral("-p"), archive.procPath(), QStringLiteral("site.xmlbase") }, options);
        if (!read.succeeded())
            continue;
        const QString text = QString::fromUtf8(read.output);
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
    if (const std::shared_ptr<lq::ConfinedFolder> folder = _document.siteFolder())
        used.unite(picturesOfSnapshots(*folder));
    return used;
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
    const std::shared_ptr<lq::ConfinedFolder> folder = _document.siteFolder();
    for (const QString& name : folder ? folder->names(QStringLiteral("pictures")) : QStringList()) {
        const QRegularExpressionMatch match = picture.match(name);
        if (match.hasMatch())
            largest = std::max(largest, match.captured(1).toInt());
    }
    return largest;
}
