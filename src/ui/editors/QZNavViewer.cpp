#include "ui/editors/QZNavViewer.h"

#include "document/MyDocument.h"
#include "ui/editors/EditorHost.h"
#include "ui/editors/XmlOutlineView.h"
#include "ui/editors/iphoto/iPhoto.h"
#include "ui/editors/iphoto/iPhotoAlbum.h"
#include "model/files/XmlExternalFiles.h"
#include "model/files/XmlFile.h"
#include "model/files/XmlFiles.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "model/site/XmlTrash.h"
#include "pipeline/XmlImportPhoto.h"
#include "pipeline/XmlProcessor.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "ui/widgets/ActionConnection.h"
#include "ui/widgets/ModalHandler.h"
#include "ui/widgets/MyButton.h"

#include <QHBoxLayout>
#include <algorithm>
#include <QScopedValueRollback>
#include <QVBoxLayout>

#include <typeinfo>

namespace {

template <class T>
bool isExactly(const XmlBase& element)
{
    return typeid(element) == typeid(T);
}

// The absolute paths of the files of a dropped list, in its order.
QStringList filePaths(XmlBase& files)
{
    QStringList paths;
    for (const XmlBasePtr& child : files.children()) {
        if (XmlFile* file = XmlFile::cast(child.get()))
            paths.append(file->filename());
        else
            paths.append(filePaths(*child));
    }
    return paths;
}

} // namespace

QZNavViewer::QZNavViewer(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("QZNavViewer"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    NavOutline = new XmlOutlineView(0, this);
    NavOutline->setObjectName(QStringLiteral("NavOutline"));
    NavOutline->setController(this);
    NavOutline->setTextImageCell();
    NavOutline->setAllowsDragging();
    column->addWidget(NavOutline, 1);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(4, 0, 4, 4);
    auto* addPage = new MyButton(0, QStringLiteral("Add Page"), this);
    addPage->setObjectName(QStringLiteral("addAlbum"));
    addPage->setToolTip(QStringLiteral("Adds a new album page beside the selected page"));
    auto* addGroupButton = new MyButton(0, QStringLiteral("Add Group"), this);
    addGroupButton->setObjectName(QStringLiteral("addGroup"));
    addGroupButton->setToolTip(QStringLiteral("Adds a new group of pages to the home page"));
    lq::connectAction(addPage, &QPushButton::clicked, this, "addAlbum:", [this] { addAlbum(); });
    lq::connectAction(addGroupButton, &QPushButton::clicked, this, "addGroup:", [this] { addGroup(); });
    buttons->addWidget(addPage);
    buttons->addWidget(addGroupButton);
    buttons->addStretch(1);
    column->addLayout(buttons);
}

QZNavViewer::~QZNavViewer()
{
    NavOutline->setController(nullptr);
}

// --- Editor panel -----------------------------------------------------------------------

void QZNavViewer::setDocument(EditorHost* document)
{
    lq::uiFrame(this, "setDocument:", [&] {
        _document = document;
        XmlSite* site = document ? document->document().site() : nullptr;
        NavOutline->setXmlBase(site ? site->UUID() : QString());
        XmlHomePage* home = site ? site->homepage() : nullptr;
        if (!home)
            return;
        expandObject(home);
        const QScopedValueRollback following(_followingWindow, true);
        NavOutline->selectObject(home);
    });
}

void QZNavViewer::selectObject(XmlBase* object)
{
    lq::uiFrame(this, "selectObject:", [&] {
        const QScopedValueRollback following(_followingWindow, true);
        NavOutline->selectObject(object);
    });
}

void QZNavViewer::reloadData()
{
    NavOutline->reloadData();
}

XmlBasePtr QZNavViewer::getSelectedObject() const
{
    return lq::uiFrame(this, "getSelectedObject", [&] { return NavOutline->selectedObject(); });
}

void QZNavViewer::select()
{
    lq::uiFrame(this, "select:", [&] {
        if (_document)
            _document->setCurrentObject(getSelectedObject().get());
    });
}

void QZNavViewer::expandObject(XmlBase* element)
{
    lq::uiFrame(this, "expandObject:", [&] {
        if (element && !XmlSite::cast(element))
            NavOutline->expandObject(element);
    });
}

// --- Commands -----------------------------------------------------------------------------

XmlBase* QZNavViewer::addPage(const XmlBasePtr& page)
{
    const XmlBasePtr selected = getSelectedObject();
    XmlSite* site = _document ? _document->document().site() : nullptr;
    if (!selected || !site)
        return nullptr;
    XmlBase* receiver = nullptr;
    if (XmlTrash::cast(selected.get()) || XmlFiles::cast(selected.get()) || iPhoto::cast(selected.get())) {
        receiver = site->homepage();
    } else {
        for (XmlBase* node = selected.get(); node && !receiver; node = node->parent()) {
            if (node->canYouBeMyParent(page.get()))
                receiver = node;
        }
    }
    if (receiver)
        receiver->addChild(page);
    return receiver;
}

void QZNavViewer::addAlbum()
{
    lq::uiFrame(this, "addAlbum:", [&] {
        const std::shared_ptr<XmlAlbum> album = XmlAlbum::create();
        XmlBase* receiver = addPage(album);
        if (!receiver)
            return;
        album->newDocument();
        expandObject(receiver);
        _document->updateNavEditor();
    });
}

void QZNavViewer::addGroup()
{
    lq::uiFrame(this, "addGroup:", [&] {
        const std::shared_ptr<XmlGroup> group = XmlGroup::create();
        XmlBase* receiver = addPage(group);
        if (!receiver)
            return;
        group->newDocument();
        group->setName(QStringLiteral("Group ") + QString::number(group->pageSeqNumber()));
        expandObject(receiver);
        NavOutline->reloadData();
    });
}

// --- Outline hooks ------------------------------------------------------------------------

bool QZNavViewer::expandable(XmlBase& item) const
{
    if (isExactly<XmlTrash>(item) || isExactly<XmlFiles>(item) || isExactly<iPhoto>(item))
        return false;
    return item.canHaveChildren();
}

std::optional<bool> QZNavViewer::outlineViewIsItemExpandable(XmlOutlineView&, XmlBase& item)
{
    return lq::modelFrame(this, "outlineView:isItemExpandable:", [&] { return expandable(item); });
}

std::optional<bool> QZNavViewer::outlineViewShouldExpandItem(XmlOutlineView&, XmlBase& item)
{
    return lq::modelFrame(this, "outlineView:shouldExpandItem:", [&] { return expandable(item); });
}

std::optional<bool> QZNavViewer::outlineViewAllowDragItems(XmlOutlineView&, const XmlBaseList& items)
{
    return lq::modelFrame(this, "outlineView:allowDragItems:", [&] {
        return std::none_of(items.begin(), items.end(), [](const XmlBasePtr& item) {
            return isExactly<XmlFiles>(*item) || isExactly<XmlTrash>(*item) || isExactly<XmlHomePage>(*item) || isExactly<iPhoto>(*item);
        });
    });
}

std::optional<bool> QZNavViewer::outlineViewCanDropFilesOnItem(XmlOutlineView&, XmlBase& target)
{
    return lq::modelFrame(this, "outlineView:canDropFilesOnItem:", [&] {
        return XmlSite::cast(&target) || isExactly<XmlAlbum>(target) || XmlFiles::cast(&target);
    });
}

std::optional<bool> QZNavViewer::outlineViewDropFilesOnItemChildIndex(XmlOutlineView&, XmlBase& files, XmlBase& target, int index)
{
    return lq::modelFrame(this, "outlineView:dropFiles:onItem:childIndex:", [&] { return dropFiles(files, target, index); });
}

std::optional<bool> QZNavViewer::outlineViewCanDropItemOnItem(XmlOutlineView&, XmlBase& dragged, XmlBase& target)
{
    return lq::modelFrame(this, "outlineView:canDropItem:onItem:", [&] {
        return !XmlFiles::cast(&target) && target.canYouBeMyParent(&dragged);
    });
}

std::optional<bool> QZNavViewer::outlineViewCanCopyForeignItemOnItem(XmlOutlineView&, XmlBase& dragged, XmlBase& target)
{
    // Only an album of the photo library comes from outside: its pictures
    // are imported. Pages of another open document are refused.
    return lq::modelFrame(this, "outlineView:canDropItem:onItem:", [&] {
        return iPhotoAlbum::cast(&dragged) && !XmlFiles::cast(&target) && !XmlTrash::cast(&target) && !iPhoto::cast(&target);
    });
}

std::optional<bool> QZNavViewer::outlineViewDropItemOnItemChildIndex(XmlOutlineView&, XmlBase& dragged, XmlBase& target, int index)
{
    return lq::modelFrame(this, "outlineView:dropItem:onItem:childIndex:", [&]() -> std::optional<bool> {
        if (iPhotoAlbum* album = iPhotoAlbum::cast(&dragged)) {
            const std::shared_ptr<XmlExternalFiles> files = XmlExternalFiles::create();
            for (const QString& path : album->photos()) {
                const std::shared_ptr<XmlFile> file = XmlFile::create();
                file->setFilename(path);
                files->addChild(file);
            }
            return dropFiles(*files, target, index);
        }
        if (XmlTrash* trash = XmlTrash::cast(&target)) {
            const XmlBasePtr next = NavOutline->objectAfterDeletion(&dragged);
            const XmlBasePtr kept = dragged.sharedFromThis();
            kept->removeFromParentWithoutDeletingChildren();
            trash->addChild(kept);
            _document->updateNavEditor();
            NavOutline->selectObject(next.get());
            return true;
        }
        // Everything else is the outline's own move.
        return std::nullopt;
    });
}

std::optional<int> QZNavViewer::outlineViewIndexOfDropOntoItem(XmlOutlineView&, XmlBase& dragged, XmlBase& target)
{
    return lq::modelFrame(this, "outlineView:indexOfDropOntoItem:", [&]() -> std::optional<int> {
        for (XmlBase* above = dragged.parent(); above; above = above->parent()) {
            if (XmlTrash::cast(above))
                return target.numberChildren();
        }
        return std::nullopt;
    });
}

bool QZNavViewer::dropFiles(XmlBase& files, XmlBase& target, int index)
{
    XmlSite* site = _document ? _document->document().site() : nullptr;
    if (!site)
        return false;
    if (XmlFiles::cast(&target)) {
        copyIntoSite(files, target);
        return true;
    }
    const QStringList paths = filePaths(files);
    if (isExactly<XmlAlbum>(target)) {
        auto& page = static_cast<XmlAlbum&>(target);
        startImport(paths, page, std::max(index, 0));
        expandObject(&page);
        NavOutline->reloadData();
        NavOutline->selectObject(&page);
        return true;
    }
    // Between the top rows, or an album of the photo library on a group, the
    // home page or a photo: a new page takes the pictures.
    const std::shared_ptr<XmlAlbum> page = XmlAlbum::create();
    XmlBase* receiver = isExactly<XmlGroup>(target) ? &target : site->homepage();
    if (!receiver)
        return false;
    receiver->addChild(page);
    page->newDocument();
    startImport(paths, *page, 0);
    NavOutline->reloadData();
    expandObject(page.get());
    NavOutline->selectObject(page.get());
    return true;
}

void QZNavViewer::startImport(const QStringList& paths, XmlAlbum& page, int index)
{
    _document->document().startProcessor(XmlImportPhoto::createProcessorForFilesAlbumIndex(paths, page.UUID(), index));
}

void QZNavViewer::copyIntoSite(XmlBase& files, XmlBase& folder)
{
    const QStringList refused = XmlFiles::cast(&folder)->importFiles(&files);
    _document->updateNavEditor();
    if (refused.isEmpty())
        return;
    lq::log(QStringLiteral("Files not copied into the site: ") + refused.join(QStringLiteral(", ")));
    lq::runAlert(_document->myWindow(), QStringLiteral("Some files could not be copied"),
        QStringLiteral("These were not copied into the site's files: ") + refused.join(QStringLiteral(", "))
            + QStringLiteral(". Check that they can be read and that the site's folder can be written."));
}

void QZNavViewer::dropDone()
{
    lq::uiFrame(this, "dropDone", [&] {
        if (_document)
            _document->updateNavEditor();
    });
}

void QZNavViewer::dropTaken(XmlOutlineView&)
{
    lq::uiFrame(this, "dropTaken:", [&] {
        if (_document)
            _document->updateNavEditor();
    });
}

void QZNavViewer::selectionChanged(XmlOutlineView&)
{
    lq::uiFrame(this, "selectionChanged:", [&] {
        if (!_followingWindow)
            select();
    });
}

std::optional<bool> QZNavViewer::canDeleteObject(XmlBase& element)
{
    return lq::uiFrame(this, "canDeleteObject:", [&] {
        if (XmlHomePage::cast(&element) || XmlTrash::cast(&element) || XmlFiles::cast(&element) || iPhoto::cast(&element))
            return false;
        // A page or photo leaves the site only for its trash: what the trash
        // would not take stays where it is.
        XmlSite* site = _document ? _document->document().site() : nullptr;
        return site && site->ensureTrash()->canYouBeMyParent(&element);
    });
}

void QZNavViewer::addToTrash(const XmlBasePtr& element)
{
    lq::uiFrame(this, "addToTrash:", [&] {
        XmlSite* site = _document ? _document->document().site() : nullptr;
        if (site && element)
            site->ensureTrash()->addChild(element);
    });
}

void QZNavViewer::selectObject(XmlBase& element)
{
    selectObject(&element);
}
