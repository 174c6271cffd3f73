#include "model/site/XmlSite.h"

#include "model/core/DocumentBase.h"
#include "model/core/DocumentFolder.h"
#include "model/core/ElementFiles.h"
#include "model/core/ElementFactory.h"
#include "model/files/DirectoryWalk.h"
#include "platform/ConfinedFolder.h"
#include "model/core/SuppressedChanges.h"
#include "model/files/XmlFile.h"
#include "model/files/XmlFiles.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlTrash.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "platform/Services.h"
#include "platform/Strings.h"

#include <QFileInfo>

#include <atomic>
#include <typeinfo>

using namespace lq::literals;

namespace {
// The first child of exactly the class T (a subclass does not count).
template <class T>
T* firstChildOfClass(const XmlBase& parent)
{
    return parent.firstChildOfType<T>([](const T& child) { return typeid(child) == typeid(T); }).get();
}
} // namespace

namespace {

// Revisions are drawn from one counter, so that two sites never share one
// (nor the copies that threads making pages ahead hold).
quint64 nextTreeRevision()
{
    static std::atomic<quint64> last { 0 };
    return ++last;
}

} // namespace

XmlSite::XmlSite(Key key)
    : XmlBase(key)
    , _treeRevision(nextTreeRevision())
{
    _have_children = true;
}

XmlSite::~XmlSite()
{
    if (_location)
        _location->setParent(nullptr);
}

std::shared_ptr<XmlSite> XmlSite::create()
{
    return make<XmlSite>();
}

void XmlSite::newDocument()
{
    lq::modelFrame(this, "newDocument", [&] {
        addChild(XmlHomePage::create());
        addChild(XmlFiles::create());
        addChild(XmlTrash::create());
        XmlBase::newDocument();
    });
}

QString XmlSite::elementName() const
{
    return QStringLiteral("QZsite");
}

XmlBasePtr XmlSite::createChildFromTag(const QString& tag)
{
    return lq::modelFrame(this, "createChildFromTag:", [&]() -> XmlBasePtr {
        if (tag == u"QZlocation"_sv) {
            _location = lq::factoryCreateChildFromTag(tag);
            return _location;
        }
        return XmlBase::createChildFromTag(tag);
    });
}

bool XmlSite::canYouBeMyParent(XmlBase* child)
{
    return lq::modelFrame(this, "canYouBeMyParent:", [&] {
        return XmlHomePage::cast(child) != nullptr || XmlTrash::cast(child) != nullptr;
    });
}

void XmlSite::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == u"imageseq"_sv)
            setImageSeqNumber(value.toInt());
        else if (key == u"pageseq"_sv)
            setPageSeqNumber(value.toInt());
        else if (key == u"widgetseq"_sv)
            setWidgetSeqNumber(value.toInt());
        else if (key == u"disableImageWell"_sv)
            setDisableImageWell(value.toInt());
        else
            XmlBase::setAttributeTo(key, value);
    });
}

void XmlSite::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlBase::appendAttributes(xml);
        xml += QStringLiteral(" imageseq=\"%1\" pageseq=\"%2\" widgetseq=\"%3\"")
                   .arg(image_sequence_number)
                   .arg(page_sequence_number)
                   .arg(widget_sequence_number);
        xml += QStringLiteral(" disableImageWell=\"%1\"").arg(_disableImageWell);
    });
}

void XmlSite::falseAlarm(bool suppress)
{
    lq::modelFrame(this, "falseAlarm:", [&] {
        if (_myDocument)
            _myDocument->falseAlarm(suppress);
    });
}

void XmlSite::docChanged()
{
    lq::modelFrame(this, "docChanged", [&] {
        _treeRevision = nextTreeRevision();
        if (_myDocument)
            _myDocument->updateChangeCount(DocumentBase::ChangeDone);
    });
}

void XmlSite::noteQuietChange()
{
    _treeRevision = nextTreeRevision();
}

QString XmlSite::rootDir()
{
    return lq::modelFrame(this, "rootDir", [&] {
        return checkedDocumentFolder(_rootDir);
    });
}

void XmlSite::setRootDir(const QString& path)
{
    setStored(_rootDir, path, "setRootDir:");
}

DocumentBase* XmlSite::fileRootDocument()
{
    return _myDocument;
}

XmlHomePage* XmlSite::homepage()
{
    return firstChildOfClass<XmlHomePage>(*this);
}

XmlBaseList XmlSite::sitePages()
{
    XmlHomePage* home = homepage();
    return home ? home->webItems() : XmlBaseList {};
}

XmlFiles* XmlSite::files() const
{
    return firstChildOfClass<XmlFiles>(*this);
}

XmlTrash* XmlSite::trash() const
{
    return firstChildOfClass<XmlTrash>(*this);
}

XmlTrash* XmlSite::ensureTrash()
{
    return lq::modelFrame(this, "ensureTrash", [&] {
        if (XmlTrash* present = trash())
            return present;
        const std::shared_ptr<XmlTrash> made = XmlTrash::create();
        // Never a change: a site that lacked its trash saves the same pages.
        const SuppressedChanges quiet(*this);
        addChild(made);
        return made.get();
    });
}

void XmlSite::postload()
{
    lq::modelFrame(this, "postload", [&] {
        XmlBase* filesTree = files();
        if (!filesTree) {
            const std::shared_ptr<XmlFiles> made = XmlFiles::create();
            insertChildAfterChild(made, homepage());
            filesTree = made.get();
        }
        if (const auto& factory = lq::services().iPhotoNodeFactory) {
            if (const XmlBasePtr node = factory())
                insertChildAfterChild(node, filesTree);
        }
        ensureTrash();
        XmlBase::postload();
    });
}

void XmlSite::setImageSeqNumber(int value)
{
    setStored(image_sequence_number, value, "setImageSeqNumber:");
}

void XmlSite::setPageSeqNumber(int value)
{
    setStored(page_sequence_number, value, "setPageSeqNumber:");
}

void XmlSite::setWidgetSeqNumber(int value)
{
    setStored(widget_sequence_number, value, "setWidgetSeqNumber:");
}

void XmlSite::setDisableImageWell(int value)
{
    setStored(_disableImageWell, value, "setDisableImageWell:");
}

XmlBasePtr XmlSite::defaultAlbum()
{
    return lq::modelFrame(this, "defaultAlbum", [&]() -> XmlBasePtr {
        XmlHomePage* home = homepage();
        if (!home)
            return nullptr;
        return home->firstChildOfType<XmlAlbum>();
    });
}

XmlBaseList XmlSite::linkItems()
{
    return lq::modelFrame(this, "linkItems", [&] {
        XmlHomePage* home = homepage();
        return home ? home->webItems() : XmlBaseList {};
    });
}

QStringList XmlSite::picturesInSite()
{
    return lq::modelFrame(this, "picturesInSite", [&] {
        // Deleted items keep their pictures until the trash is emptied.
        QStringList names;
        if (XmlHomePage* home = homepage())
            names = home->picturesInSite();
        if (XmlTrash* bin = trash())
            names.append(bin->picturesInSite());
        return names;
    });
}

void XmlSite::setTemplateForUUID(int number, const QString& uuid)
{
    lq::modelFrame(this, "setTemplate:forUUID:", [&] {
        if (XmlHomePage* home = homepage())
            home->setTemplateForUUID(number, uuid);
        if (XmlTrash* bin = trash())
            bin->setTemplateForUUID(number, uuid);
    });
}

void XmlSite::refreshFiles()
{
    lq::modelFrame(this, "refreshFiles", [&] {
        const QString folder = rootDir();
        XmlFiles* tree = files();
        // Without a document folder there is nothing to mirror: "/files"
        // would name a folder of the system, not of the document.
        if (folder.isEmpty() || !tree)
            return;
        // The files tree mirrors the folder as it is: sub-folders as folder
        // elements, hidden files included. It is listed through the
        // document folder's gateway: a "files" that is a link (or a folder
        // in it that is one) would show, and let the pane change, a folder
        // outside the document, and shows nothing.
        if (const std::shared_ptr<lq::ConfinedFolder> site = lq::rootFolder(*this))
            addDirectoryTree(*site, QStringLiteral("files"), tree, { .folders = DirectoryWalk::Folders::AsElements });
    });
}

