#include "ui/editors/XmlOutlineView.h"

#include "ui/editors/XmlOutlineController.h"
#include "model/core/ElementPasteboard.h"
#include "model/files/XmlExternalFiles.h"
#include "platform/ExceptionFrame.h"
#include "ui/widgets/ImageAndTextCell.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScopedValueRollback>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace {

const QString checkColumn = QStringLiteral("check");

bool isFileList(const XmlBasePtr& element)
{
    return XmlExternalFiles::cast(element.get()) != nullptr;
}

} // namespace

XmlOutlineView::XmlOutlineView(int tag, QWidget* parent)
    : MyOutlineView(tag, parent)
{
    setDragDropMode(QAbstractItemView::NoDragDrop);
    setAttribute(Qt::WA_MacShowFocusRect, false);
    localize();
    _columns = { TableColumn { QStringLiteral("name"), QString(), TableColumn::Kind::Text, true, {} } };
    header()->setVisible(false);
    // A view made with a tag of its own is ready at once; any other one
    // becomes its own data source at its first reload.
    if (tag > 99)
        setDataSource(this, _columns);
    connect(this, &QTreeView::expanded, this, &XmlOutlineView::onExpanded);
}

XmlOutlineView::~XmlOutlineView() = default;

void XmlOutlineView::setColumns(const QList<TableColumn>& columns)
{
    _columns = columns;
    header()->setVisible(std::any_of(columns.begin(), columns.end(), [](const TableColumn& c) { return !c.title.isEmpty(); }));
    if (dataSource() == this) {
        _rows.clear();
        setDataSource(this, _columns);
    }
    if (_iconCell)
        setTextImageCell();
}

void XmlOutlineView::setXmlBase(const QString& uuid)
{
    _xmlbase = uuid;
    reloadData();
}

XmlBasePtr XmlOutlineView::rootElement() const
{
    return _xmlbase.isEmpty() ? nullptr : XmlBase::UUID(_xmlbase);
}

// --- Rows ---------------------------------------------------------------------------

XmlBasePtr XmlOutlineView::element(const void* item) const
{
    const XmlBasePtr root = rootElement();
    if (!item)
        return root;
    const auto found = _rows.constFind(item);
    if (found != _rows.constEnd())
        return found->lock();
    // An element the view has not been handed yet: found only by its
    // address among the live elements below the root, never read through
    // the pointer itself.
    std::function<XmlBase*(XmlBase&)> search = [&](XmlBase& parent) -> XmlBase* {
        for (const XmlBasePtr& child : parent.children()) {
            if (child.get() == item)
                return child.get();
            if (XmlBase* inside = search(*child))
                return inside;
        }
        return nullptr;
    };
    XmlBase* known = root ? search(*root) : nullptr;
    if (!known)
        return nullptr;
    itemFor(known);
    return known->sharedFromThis();
}

void* XmlOutlineView::itemFor(XmlBase* element) const
{
    if (!element)
        return nullptr;
    _rows.insert(element, element->sharedFromThis());
    return element;
}

QModelIndex XmlOutlineView::indexOfElement(XmlBase* element) const
{
    const XmlBasePtr root = rootElement();
    if (!element || !root || element == root.get() || !element->isSelfOrDescendantOf(root.get()) || !adaptor())
        return QModelIndex();
    return adaptor()->indexForItem(itemFor(element), nameColumn());
}

int XmlOutlineView::nameColumn() const
{
    return !_columns.isEmpty() && _columns.first().identifier == checkColumn && _columns.size() > 1 ? 1 : 0;
}

// --- Loading ----------------------------------------------------------------------------

void XmlOutlineView::reloadData()
{
    lq::uiFrame(this, "reloadData", [&] {
        if (dataSource() != this)
            setDataSource(this, _columns);

        // Opened rows and the selection, by element, to be found again.
        QStringList opened;
        std::function<void(const QModelIndex&)> collect = [&](const QModelIndex& parent) {
            for (int row = 0; row < adaptor()->rowCount(parent); ++row) {
                const QModelIndex index = adaptor()->index(row, 0, parent);
                if (!isExpanded(index))
                    continue;
                if (const XmlBasePtr open = element(index.internalPointer()))
                    opened.append(open->UUID());
                collect(index);
            }
        };
        collect(QModelIndex());
        QStringList selected;
        for (const QModelIndex& index : selectionModel()->selectedRows()) {
            if (const XmlBasePtr chosen = element(index.internalPointer()))
                selected.append(chosen->UUID());
        }

        // A files tree reads its folder again.
        if (const XmlBasePtr root = rootElement())
            root->refresh();
        _rows.clear();
        MyOutlineView::reloadData();

        // Bringing the same rows back is no change of selection.
        const QSignalBlocker quiet(selectionModel());
        for (const QString& uuid : opened) {
            const QModelIndex index = indexOfElement(XmlBase::UUID(uuid).get());
            if (index.isValid())
                expand(index);
        }
        for (const QString& uuid : selected) {
            const QModelIndex index = indexOfElement(XmlBase::UUID(uuid).get());
            if (index.isValid())
                selectionModel()->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
        viewport()->update();
    });
}

void XmlOutlineView::setTextImageCell()
{
    _iconCell = true;
    setItemDelegateForColumn(nameColumn(), new ImageAndTextCell(this));
}

void XmlOutlineView::setAllowsDragging()
{
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
}

// --- Selection ----------------------------------------------------------------------

XmlBasePtr XmlOutlineView::selectedObject() const
{
    if (!selectionModel())
        return nullptr;
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? nullptr : element(rows.first().internalPointer());
}

void XmlOutlineView::expandObject(XmlBase* element)
{
    lq::uiFrame(this, "expandObject:", [&] {
        const XmlBasePtr root = rootElement();
        if (!element || !root || element == root.get())
            return;
        expandObject(element->parent());
        const QModelIndex index = indexOfElement(element);
        if (index.isValid())
            expand(index);
    });
}

void XmlOutlineView::selectObject(XmlBase* element)
{
    lq::uiFrame(this, "selectObject:", [&] {
        if (!element)
            return;
        expandObject(element->parent());
        const QModelIndex index = indexOfElement(element);
        if (!index.isValid())
            return;
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(index);
    });
}

XmlBasePtr XmlOutlineView::objectAfterDeletion(XmlBase* element) const
{
    return lq::uiFrame(this, "objectAfterDeletion:", [&]() -> XmlBasePtr {
        XmlBase* parent = element ? element->parent() : nullptr;
        if (!parent)
            return nullptr;
        const int index = parent->indexOfChild(element);
        if (index != XmlBase::NotFound && index + 1 < parent->numberChildren())
            return parent->childAtIndex(index + 1);
        const XmlBasePtr first = parent->firstChild();
        if (first && first.get() != element)
            return first;
        return parent->sharedFromThis();
    });
}

void XmlOutlineView::selectionDidChange(QAbstractItemView*)
{
    lq::uiFrame(this, "outlineViewSelectionDidChange:", [&] {
        if (_controller)
            _controller->selectionChanged(*this);
    });
}

bool XmlOutlineView::deleteKeyPressed(QAbstractItemView*)
{
    lq::uiFrame(this, "keyDown:", [&] {
        const XmlBasePtr chosen = selectedObject();
        if (!chosen)
            return;
        const XmlBasePtr next = objectAfterDeletion(chosen.get());
        if (_controller && _controller->canDeleteObject(*chosen) == false)
            return;
        chosen->removeFromParentWithoutDeletingChildren();
        if (_controller)
            _controller->addToTrash(chosen);
        reloadData();
        const QModelIndex index = indexOfElement(next.get());
        if (!index.isValid()) {
            // The only top row went: there is no row left to select.
            selectionModel()->clearSelection();
            return;
        }
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        if (_controller)
            _controller->selectObject(*next);
    });
    // The Delete keys never reach the tree view itself.
    return true;
}

// --- Data source ----------------------------------------------------------------------

int XmlOutlineView::numberOfChildrenOfItem(const void* item) const
{
    return lq::uiFrame(this, "outlineView:numberOfChildrenOfItem:", [&] {
        const XmlBasePtr parent = element(item);
        if (!parent)
            return 0;
        if (_controller) {
            if (const std::optional<int> count = _controller->outlineViewNumberOfChildrenOfItem(const_cast<XmlOutlineView&>(*this), *parent))
                return *count;
        }
        return parent->numberChildren();
    });
}

void* XmlOutlineView::childOfItem(int index, const void* item) const
{
    return lq::uiFrame(this, "outlineView:child:ofItem:", [&]() -> void* {
        const XmlBasePtr parent = element(item);
        if (!parent)
            return nullptr;
        if (_controller) {
            if (const std::optional<XmlBasePtr> child = _controller->outlineViewChildOfItem(const_cast<XmlOutlineView&>(*this), index, *parent))
                return itemFor(child->get());
        }
        return itemFor(parent->childAtIndex(index).get());
    });
}

void* XmlOutlineView::parentOfItem(const void* item) const
{
    return lq::uiFrame(this, "parentOfItem:", [&]() -> void* {
        const XmlBasePtr child = element(item);
        const XmlBasePtr root = rootElement();
        if (!child || !child->parent() || child->parent() == root.get())
            return nullptr;
        return itemFor(child->parent());
    });
}

QVariant XmlOutlineView::objectValueForColumn(const QString& column, const void* item) const
{
    return lq::uiFrame(this, "outlineView:objectValueForTableColumn:byItem:", [&]() -> QVariant {
        const XmlBasePtr shown = element(item);
        if (!shown)
            return QString();
        if (_controller) {
            if (std::optional<QVariant> value = _controller->outlineViewObjectValueForTableColumnByItem(const_cast<XmlOutlineView&>(*this), column, *shown))
                return *value;
        }
        if (column == checkColumn)
            return shown->check();
        return shown->name();
    });
}

bool XmlOutlineView::setObjectValueForColumn(const QVariant& value, const QString& column, void* item)
{
    return lq::uiFrame(this, "outlineView:setObjectValue:forTableColumn:byItem:", [&] {
        const XmlBasePtr edited = element(item);
        if (!edited)
            return false;
        if (_controller && _controller->outlineViewSetObjectValueForTableColumnByItem(*this, value, column, *edited))
            return true;
        if (column == checkColumn) {
            edited->setCheck(value.toInt() != 0);
            // A folder passes its mark on to what it holds: every row may
            // have changed. The reload waits until the edit has returned.
            QTimer::singleShot(0, this, [this] { reloadData(); });
        } else {
            edited->setName(value.toString());
        }
        return true;
    });
}

bool XmlOutlineView::shouldEditColumn(const QString& column, const void* item) const
{
    return lq::uiFrame(this, "outlineView:shouldEditTableColumn:item:", [&] {
        const XmlBasePtr shown = element(item);
        if (!shown)
            return false;
        if (_controller) {
            if (const std::optional<bool> answer = _controller->outlineViewShouldEditTableColumnItem(const_cast<XmlOutlineView&>(*this), column, *shown))
                return *answer;
        }
        return shown->canEditName();
    });
}

bool XmlOutlineView::isItemExpandable(const void* item) const
{
    return lq::uiFrame(this, "outlineView:isItemExpandable:", [&] {
        const XmlBasePtr shown = element(item);
        if (!shown)
            return false;
        if (!item)
            return true;
        if (_controller) {
            if (const std::optional<bool> answer = _controller->outlineViewIsItemExpandable(const_cast<XmlOutlineView&>(*this), *shown))
                return *answer;
        }
        return shown->canHaveChildren();
    });
}

bool XmlOutlineView::acceptsDropsOntoItem(const void* item) const
{
    return lq::uiFrame(this, "acceptsDropsOntoItem:", [&] {
        const XmlBasePtr shown = element(item);
        return shown && shown->canHaveChildren();
    });
}

void XmlOutlineView::onExpanded(const QModelIndex& index)
{
    lq::uiFrame(this, "outlineView:shouldExpandItem:", [&] {
        const XmlBasePtr shown = element(index.internalPointer());
        if (!shown)
            return;
        bool allowed = shown->canHaveChildren();
        if (_controller) {
            if (const std::optional<bool> answer = _controller->outlineViewShouldExpandItem(*this, *shown))
                allowed = *answer;
        }
        if (!allowed)
            collapse(index);
    });
}

void XmlOutlineView::willDisplayCell(CellAppearance& cell, const QString& column, const void* item) const
{
    lq::uiFrame(this, "outlineView:willDisplayCell:forTableColumn:item:", [&] {
        const XmlBasePtr shown = element(item);
        if (!shown)
            return;
        if (_controller) {
            if (std::optional<CellAppearance> answer = _controller->outlineViewWillDisplayCellForTableColumnItem(const_cast<XmlOutlineView&>(*this), column, *shown)) {
                cell = *answer;
                return;
            }
        }
        // Only the icon-and-text cell takes an icon.
        if (!_iconCell || _columns.value(nameColumn()).identifier != column)
            return;
        cell.image = shown->iconImage();
        cell.textColour = shown->canEditName() ? QColor(Qt::black) : QColor(Qt::darkGray);
    });
}

// --- Drag and drop ----------------------------------------------------------------------

std::optional<QStringList> XmlOutlineView::dragIdentifiersForItems(const QList<void*>& items)
{
    return lq::uiFrame(this, "outlineView:writeItems:toPasteboard:", [&]() -> std::optional<QStringList> {
        XmlBaseList dragged;
        QStringList identifiers;
        for (void* item : items) {
            const XmlBasePtr row = element(item);
            if (row)
                dragged.append(row);
            identifiers.append(row ? row->UUID() : QString());
        }
        if (_controller && _controller->outlineViewAllowDragItems(*this, dragged) == false)
            return std::nullopt;
        return identifiers;
    });
}

XmlBasePtr XmlOutlineView::draggedElement(const QMimeData* data)
{
    return lq::uiFrame(this, "checkDraggingSession:", [&] {
        return _dragged.resolve(data, [this](const lq::Pasteboard& pasteboard) {
            if (_controller) {
                if (std::optional<XmlBasePtr> made = _controller->createFromPasteboard(pasteboard))
                    return *made;
            }
            return lq::createFromPasteboard(pasteboard);
        });
    });
}

Qt::DropAction XmlOutlineView::validateDrop(const QMimeData* data, const void* item, int)
{
    return lq::uiFrame(this, "outlineView:validateDrop:proposedItem:proposedChildIndex:", [&] {
        const XmlBasePtr dragged = draggedElement(data);
        const XmlBasePtr target = element(item);
        if (!dragged || !target)
            return Qt::IgnoreAction;
        if (isFileList(dragged)) {
            if (_controller) {
                if (const std::optional<bool> answer = _controller->outlineViewCanDropFilesOnItem(*this, *target))
                    return *answer ? Qt::CopyAction : Qt::IgnoreAction;
            }
        } else {
            if (target->isSelfOrDescendantOf(dragged.get()))
                return Qt::IgnoreAction;
            // Never from outside this document, unless the controller
            // copies what it needs: taking the element would leave it in
            // two trees, and a copy of a page needs pictures and all.
            if (dragged->myDocument() != target->myDocument()) {
                const bool copied = _controller && _controller->outlineViewCanCopyForeignItemOnItem(*this, *dragged, *target) == true;
                return copied ? Qt::CopyAction : Qt::IgnoreAction;
            }
        }
        const Qt::DropAction taken = isFileList(dragged) ? Qt::CopyAction : Qt::MoveAction;
        if (_controller) {
            if (const std::optional<bool> answer = _controller->outlineViewCanDropItemOnItem(*this, *dragged, *target))
                return *answer ? taken : Qt::IgnoreAction;
        }
        if (target->isSelfOrDescendantOf(dragged.get()))
            return Qt::IgnoreAction;
        return target->canYouBeMyParent(dragged.get()) ? taken : Qt::IgnoreAction;
    });
}

bool XmlOutlineView::acceptDrop(const QMimeData* data, void* item, int childIndex)
{
    const bool taken = lq::uiFrame(this, "outlineView:acceptDrop:item:childIndex:", [&] {
        const XmlBasePtr dragged = draggedElement(data);
        const XmlBasePtr target = element(item);
        if (!dragged || !target)
            return false;
        if (isFileList(dragged) && _controller) {
            if (const std::optional<bool> answer = _controller->outlineViewDropFilesOnItemChildIndex(*this, *dragged, *target, childIndex))
                return *answer;
        }
        // What may not be proposed may not be dropped either.
        if (validateDrop(data, item, childIndex) == Qt::IgnoreAction)
            return false;
        int index = std::max(childIndex, 0);
        if (childIndex < 0 && !isFileList(dragged) && _controller) {
            if (const std::optional<int> onto = _controller->outlineViewIndexOfDropOntoItem(*this, *dragged, *target))
                index = std::clamp(*onto, 0, target->numberChildren());
        }
        if (_controller) {
            if (const std::optional<bool> answer = _controller->outlineViewDropItemOnItemChildIndex(*this, *dragged, *target, index))
                return *answer;
        }
        // Only the controller copies an element from outside.
        if (!isFileList(dragged) && dragged->myDocument() != target->myDocument())
            return false;
        return moveElement(dragged, *target, index);
    });
    if (taken) {
        reloadData();
        lq::uiFrame(this, "outlineView:dropTaken:", [&] {
            if (_controller)
                _controller->dropTaken(*this);
        });
    }
    return taken;
}

bool XmlOutlineView::moveElement(const XmlBasePtr& dragged, XmlBase& target, int index)
{
    if (!target.canHaveChildren())
        return false;
    if (dragged->parent() == &target && target.indexOfChild(dragged.get()) < index)
        --index;
    dragged->removeFromParentWithoutDeletingChildren();
    target.insertChildAtIndex(dragged, index);
    return dragged->parent() == &target;
}

void XmlOutlineView::dropSessionEnded()
{
    _dragged.forget();
}

void XmlOutlineView::dragOpDone(Qt::DropAction)
{
    lq::uiFrame(this, "draggedImage:endedAt:operation:", [&] {
        if (_controller)
            _controller->dropDone();
    });
}
