#include "ui/editors/QZArraySelectView2.h"

#include "ui/editors/EditorHost.h"
#include "document/MyDocument.h"
#include "model/core/DocumentBase.h"
#include "model/files/XmlExternalFiles.h"
#include "model/files/XmlFile.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlPhotoRep.h"
#include "model/site/XmlSite.h"
#include "model/site/XmlTrash.h"
#include "model/site/XmlWebItem.h"
#include "pipeline/XmlImportPhoto.h"
#include "pipeline/XmlProcessor.h"
#include "platform/ExceptionFrame.h"
#include "platform/text/Font.h"
#include "ui/widgets/DragText.h"

#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

XmlAlbum* albumPage(const XmlBasePtr& element)
{
    return dynamic_cast<XmlAlbum*>(element.get());
}

bool isDeleteKey(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete;
}

} // namespace

QZArraySelectView2::QZArraySelectView2(QWidget* parent)
    : IconGridView(QSizeF(160, 120), 20, parent)
{
    _press.setHandlers({
        .pressed = [this](QPointF) { return _ddenable; },
        .dragged =
            [this](QPointF from, QPointF to) {
                const QPointF moved = to - from;
                if (_dragging || QPointF::dotProduct(moved, moved) <= dragThreshold * dragThreshold)
                    return;
                // The drag loop takes the release: the press ends with it.
                _dragging = true;
                startDrag();
                _press.cancel();
                _dragging = false;
            },
        .released = {},
    });
}

QZArraySelectView2::~QZArraySelectView2() = default;

IconGridView::CaptionLayout& QZArraySelectView2::captionLayout() const
{
    static CaptionLayout layout;
    return layout;
}

void QZArraySelectView2::setVerdaneDocument(EditorHost* document)
{
    _document = document;
}

XmlBasePtr QZArraySelectView2::xmlobject() const
{
    return _xmlbase.isEmpty() ? nullptr : XmlBase::UUID(_xmlbase);
}

XmlBaseList QZArraySelectView2::shownChildren() const
{
    const XmlBasePtr shown = xmlobject();
    if (!shown)
        return {};
    XmlBaseList children = shown->children();
    if (!_draggedItems.isEmpty()) {
        children.removeIf([&](const XmlBasePtr& child) {
            return std::any_of(_draggedItems.begin(), _draggedItems.end(),
                [&](const std::weak_ptr<XmlBase>& dragged) { return dragged.lock() == child; });
        });
    }
    return children;
}

XmlBasePtr QZArraySelectView2::shownChildAtIndex(int index) const
{
    const XmlBaseList children = shownChildren();
    return index >= 0 && index < children.size() ? children[index] : nullptr;
}

int QZArraySelectView2::numObjects() const
{
    return lq::uiFrame(this, "numObjects", [&] { return static_cast<int>(shownChildren().size()); });
}

int QZArraySelectView2::numberOfPositions() const
{
    return numObjects() + (_currentDropIndex != -1 ? 1 : 0);
}

void QZArraySelectView2::setDragDropEnabled(bool enabled)
{
    _ddenable = enabled;
    if (enabled)
        setAcceptDrops(true);
}

// --- Selection ----------------------------------------------------------------------

void QZArraySelectView2::selectIndexClearAll(int index, bool clearAll)
{
    if (clearAll)
        _selectedItems.clear();
    _selectedItems.insert(index);
}

void QZArraySelectView2::selectIndexLength(int start, int length)
{
    _selectedItems.clear();
    for (int index = start; index < start + length; ++index)
        _selectedItems.insert(index);
}

QList<int> QZArraySelectView2::selectedIndexes() const
{
    QList<int> indexes(_selectedItems.begin(), _selectedItems.end());
    std::sort(indexes.begin(), indexes.end());
    return indexes;
}

int QZArraySelectView2::firstSelectedItem() const
{
    return _selectedItems.isEmpty() ? NotFound : *std::min_element(_selectedItems.begin(), _selectedItems.end());
}

// --- Geometry -------------------------------------------------------------------------

int QZArraySelectView2::indexOfObjectAtPoint(QPointF point) const
{
    const QSizeF cell = cellSize();
    if (cell.width() == 0 || cell.height() == 0)
        return 0;
    const int columns = numColumns();
    const int row = static_cast<int>(std::trunc(point.y() / cell.height()));
    const int column = std::min(static_cast<int>(std::trunc(point.x() / cell.width())), columns - 1);
    return column + row * columns;
}

int QZArraySelectView2::dropIndexAtPoint(QPointF point) const
{
    const QSizeF cell = cellSize();
    int row = 0;
    int column = 0;
    if (cell.width() != 0 && cell.height() != 0) {
        row = static_cast<int>(std::trunc(point.y() / cell.height()));
        column = static_cast<int>(std::trunc(point.x() / cell.width()));
    }
    const int columns = numColumns();
    column = std::min(column, columns);
    return std::min(column + row * columns, numObjects());
}

// --- Drawing --------------------------------------------------------------------------

void QZArraySelectView2::paintEvent(QPaintEvent* event)
{
    lq::uiFrame(this, "drawRect:", [&] {
        // The gap the user sees is the one a drop goes to.
        if (_newDropIndex != _currentDropIndex)
            _currentDropIndex = _newDropIndex;
        fitSize();
        QPainter painter(this);
        painter.fillRect(event->rect(), Qt::white);
        const XmlBaseList children = shownChildren();
        if (children.isEmpty()) {
            if (albumPage(xmlobject())) {
                painter.setPen(Qt::black);
                painter.setFont(lq::Font::helvetica(12).toQFont());
                painter.drawText(QRectF(10, 10, std::max<qreal>(width() - 10, 0), 40), Qt::AlignLeft | Qt::AlignTop,
                    QStringLiteral("Drag and Drop Photos here, or choose them with Add Photos…"));
            }
            return;
        }
        for (int i = 0; i < children.size(); ++i) {
            const int position = _currentDropIndex != -1 && i >= _currentDropIndex ? i + 1 : i;
            drawObjectAtIndexPosition(painter, children[i], i, position);
        }
    });
}

void QZArraySelectView2::drawObjectAtIndexPosition(QPainter& painter, const XmlBasePtr& child, int index, int position)
{
    lq::uiFrame(this, "drawObjectAtIndex:position:", [&] {
        QImage icon;
        if (auto* page = dynamic_cast<XmlWebItem*>(child.get())) {
            if (std::shared_ptr<XmlPhotoRep> picture = page->rep())
                icon = picture->iconImage();
        }
        if (icon.isNull())
            icon = child->iconImage();
        const QRectF item = rectOfObjectAtIndex(position);
        drawIconInRect(painter, icon, item);
        drawSelectionFrame(painter, item, 2.0, isSelected(index) ? QColor(Qt::blue) : QColor(Qt::white));
        drawTextContentsInRect(painter, child->name(), captionRectOfObjectAtIndex(position));
    });
}

// --- Mouse ----------------------------------------------------------------------------

void QZArraySelectView2::selectAt(QPointF at)
{
    setFocus(Qt::MouseFocusReason);
    const int index = indexOfObjectAtPoint(at);
    if (!isSelected(index))
        selectIndexClearAll(index, true);
    update();
}

void QZArraySelectView2::mousePressEvent(QMouseEvent* event)
{
    lq::uiFrame(this, "mouseDown:", [&] {
        if (event->button() != Qt::LeftButton)
            return;
        event->accept();
        selectAt(event->position());
        if (_click)
            _click(this);
        _press.press(event);
    });
}

void QZArraySelectView2::mouseMoveEvent(QMouseEvent* event)
{
    lq::uiFrame(this, "mouseDragged:", [&] { _press.move(event); });
}

void QZArraySelectView2::mouseReleaseEvent(QMouseEvent* event)
{
    lq::uiFrame(this, "mouseUp:", [&] { _press.release(event); });
}

void QZArraySelectView2::mouseDoubleClickEvent(QMouseEvent* event)
{
    lq::uiFrame(this, "mouseDown:", [&] {
        if (event->button() != Qt::LeftButton)
            return;
        event->accept();
        selectAt(event->position());
        if (_action)
            _action(this);
    });
}

// --- Dragging out ---------------------------------------------------------------------

QImage QZArraySelectView2::createDragableImage(XmlBase* item, int total) const
{
    return lq::uiFrame(this, "createDragableImage:total:", [&] {
        const QImage source = item ? item->iconImage() : QImage();
        if (source.isNull())
            return QImage();
        QImage image(source.size(), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(source.devicePixelRatio());
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setOpacity(0.5);
        painter.drawImage(QPointF(0, 0), source);
        painter.setOpacity(1.0);
        painter.setPen(Qt::black);
        painter.setFont(lq::Font::helvetica(12).toQFont());
        painter.drawText(QRectF(QPointF(0, 0), source.deviceIndependentSize()), Qt::AlignLeft | Qt::AlignBottom,
            QStringLiteral("%1 photo(s)").arg(total));
        return image;
    });
}

void QZArraySelectView2::startDrag()
{
    lq::uiFrame(this, "testForStartOfDragWithEvent:", [&] {
        const QList<int> indexes = selectedIndexes();
        const XmlBasePtr first = shownChildAtIndex(firstSelectedItem());
        if (!first)
            return;
        const QImage picture = createDragableImage(first.get(), static_cast<int>(indexes.size()));
        XmlBaseList collected;
        for (int index : indexes) {
            if (XmlBasePtr child = shownChildAtIndex(index))
                collected.append(child);
        }
        clearSelection();
        if (_click)
            _click(this);

        // The items stay in their parents: a drop moves them, and nothing
        // is lost when the drag goes nowhere. Until it ends the grid shows
        // itself without them.
        QStringList identifiers;
        for (const XmlBasePtr& item : collected) {
            _draggedItems.append(item);
            identifiers.append(item->UUID());
        }
        update();
        // The picture's lower-left corner 60 left of and 45 below the pointer.
        const QPoint hotSpot(60, static_cast<int>(picture.deviceIndependentSize().height()) - 45);
        lq::runDrag(this, lq::dragMimeData(identifiers), QPixmap::fromImage(picture), hotSpot, Qt::MoveAction, Qt::MoveAction);
        draggedImageEnded();
    });
}

void QZArraySelectView2::draggedImageEnded()
{
    lq::uiFrame(this, "draggedImage:endedAt:operation:", [&] {
        _draggedItems.clear();
        _newDropIndex = -1;
        if (_document)
            _document->updateNavEditor();
        update();
    });
}

// --- Dropping in ----------------------------------------------------------------------

XmlBasePtr QZArraySelectView2::draggedObject(const QMimeData* data)
{
    return lq::uiFrame(this, "checkDraggingSession:", [&] { return _dragged.resolve(data); });
}

Qt::DropAction QZArraySelectView2::operationFor(const XmlBasePtr& dragged) const
{
    if (!dragged)
        return Qt::IgnoreAction;
    if (XmlExternalFiles::cast(dragged.get()))
        return Qt::CopyAction;
    if (auto* photo = dynamic_cast<XmlPhoto*>(dragged.get())) {
        // A photo moves into an album page of its own document.
        XmlAlbum* album = albumPage(xmlobject());
        if (album && photo->myDocument() == album->myDocument() && album->canYouBeMyParent(photo))
            return Qt::MoveAction;
    }
    return Qt::IgnoreAction;
}

void QZArraySelectView2::dragEnterEvent(QDragEnterEvent* event)
{
    lq::uiFrame(this, "draggingEntered:", [&] {
        event->ignore();
        const Qt::DropAction operation = operationFor(draggedObject(event->mimeData()));
        if (operation == Qt::IgnoreAction || !(event->possibleActions() & operation))
            return;
        event->setDropAction(operation);
        event->accept();
    });
}

void QZArraySelectView2::dragMoveEvent(QDragMoveEvent* event)
{
    lq::uiFrame(this, "draggingUpdated:", [&] {
        event->ignore();
        if (!isVisible())
            return;
        const Qt::DropAction operation = operationFor(draggedObject(event->mimeData()));
        if (operation == Qt::IgnoreAction || !(event->possibleActions() & operation))
            return;
        _newDropIndex = dropIndexAtPoint(event->position());
        if (_newDropIndex != _currentDropIndex)
            update();
        event->setDropAction(operation);
        event->accept();
    });
}

void QZArraySelectView2::dragLeaveEvent(QDragLeaveEvent*)
{
    _newDropIndex = -1;
    update();
    _dragged.forget();
}

void QZArraySelectView2::dropEvent(QDropEvent* event)
{
    lq::uiFrame(this, "performDragOperation:", [&] {
        event->ignore();
        const XmlBasePtr dragged = draggedObject(event->mimeData());
        const Qt::DropAction operation = operationFor(dragged);
        if (operation != Qt::IgnoreAction && (event->possibleActions() & operation) && performDragOperation(dragged)) {
            event->setDropAction(operation);
            event->accept();
        }
    });
    // The gap closes at the next drawing.
    _newDropIndex = -1;
    update();
    _dragged.forget();
}

bool QZArraySelectView2::addFiles(const QStringList& paths)
{
    const bool taken = lq::uiFrame(this, "addFiles:", [&] {
        if (paths.isEmpty())
            return false;
        // The files as a file manager's drag carries them.
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls.append(QUrl::fromLocalFile(path));
        data.setUrls(urls);
        const XmlBasePtr files = draggedObject(&data);
        if (!XmlExternalFiles::cast(files.get()))
            return false;
        // No gap: the files go after the last item, each in turn, so that
        // they are numbered in the order chosen.
        const int gap = _currentDropIndex;
        _currentDropIndex = -1;
        const bool done = performDragOperation(files);
        _currentDropIndex = gap;
        return done;
    });
    _dragged.forget();
    update();
    return taken;
}

int QZArraySelectView2::childIndexForGap(int gap, const XmlBase* dropped) const
{
    const XmlBasePtr shown = xmlobject();
    if (gap < 0 || !shown)
        return -1;
    const XmlBaseList children = shownChildren();
    for (qsizetype i = gap; i < children.size(); ++i) {
        if (children[i].get() != dropped)
            return shown->indexOfChild(children[i].get());
    }
    return shown->numberChildren();
}

bool QZArraySelectView2::performDragOperation(const XmlBasePtr& dragged)
{
    return lq::uiFrame(this, "performDragOperation:", [&] {
        if (!dragged)
            return false;
        const int gap = std::min(_currentDropIndex, numObjects());
        XmlAlbum* album = albumPage(xmlobject());
        if (XmlExternalFiles::cast(dragged.get())) {
            QStringList paths;
            for (const XmlBasePtr& child : dragged->children()) {
                if (const XmlFile* file = XmlFile::cast(child.get()))
                    paths.append(file->filename());
            }
            if (!album) {
                if (_filesDropped)
                    _filesDropped(this, paths);
                return true;
            }
            DocumentBase* document = album->myDocument();
            if (!paths.isEmpty() && document)
                document->startProcessor(XmlImportPhoto::createProcessorForFilesAlbumIndex(paths, album->UUID(), childIndexForGap(gap, nullptr)));
            clearSelection();
            if (_click)
                _click(this);
            return true;
        }
        if (!dynamic_cast<XmlPhoto*>(dragged.get()) || operationFor(dragged) == Qt::IgnoreAction)
            return false;
        // The photo goes before the item shown at the gap: found before the
        // photo leaves its old place, which may lie in this album.
        const int before = childIndexForGap(gap, dragged.get());
        const XmlBasePtr anchor = before >= 0 && before < album->numberChildren() ? album->childAtIndex(before) : nullptr;
        dragged->removeFromParentWithoutDeletingChildren();
        const int index = anchor ? album->indexOfChild(anchor.get()) : album->numberChildren();
        album->insertChildAtIndex(dragged, index);
        selectIndexLength(album->indexOfChild(dragged.get()), 1);
        return true;
    });
}

// --- Keys -------------------------------------------------------------------------------

bool QZArraySelectView2::deleteSelectedPhoto()
{
    return lq::uiFrame(this, "keyDown:", [&] {
        const XmlBasePtr shown = xmlobject();
        if (!_document || !shown || firstSelectedItem() == NotFound)
            return false;
        if (const XmlBasePtr photo = shownChildAtIndex(firstSelectedItem())) {
            XmlSite* site = _document->document().site();
            XmlTrash* trash = site ? site->ensureTrash() : nullptr;
            if (trash && trash->canYouBeMyParent(photo.get())) {
                photo->removeFromParentWithoutDeletingChildren();
                trash->addChild(photo);
            }
        }
        _document->updateNavEditor();
        update();
        return true;
    });
}

void QZArraySelectView2::keyPressEvent(QKeyEvent* event)
{
    if (isDeleteKey(event)) {
        if (_deleteKey) {
            lq::uiFrame(this, "keyDown:", [&] { _deleteKey(this); });
            event->accept();
            return;
        }
        if (deleteSelectedPhoto()) {
            event->accept();
            return;
        }
    }
    IconGridView::keyPressEvent(event);
}
