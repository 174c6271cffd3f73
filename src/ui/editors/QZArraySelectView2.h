#pragma once
#include "ui/editors/DraggedElement.h"
#include "ui/editors/IconGridView.h"
#include "ui/widgets/PressTracker.h"

#include <QList>
#include <QSet>

#include <functional>

class EditorHost;
class QMimeData;

// The photo grid: the children of one element, named by its UUID and looked
// up at every use, as icons with captions. The album editor shows the
// photos of an album page in it, the theme library browser the theme
// archives of a folder. It keeps a set of selected indexes, sends a click
// action on every single click, a double-click action and a Delete-key
// action to its target, and with drag and drop on:
// - a press moved more than 10 pixels drags the selected items (their UUIDs
//   joined by "|"); while the drag lasts the grid shows itself without them,
//   and they go back where they were unless a drop moved them;
// - photos dropped on an album page move to the gap the user saw, picture
//   files dropped on it are imported there by one processor script, in the
//   files' order;
// - without a Delete-key action, Delete moves the selected photo into the
//   site's trash.
// A photo of another document is never dropped (it would need a copy with
// its picture); a dropped photo leaves its old parent before it is inserted.
class QZArraySelectView2 : public IconGridView {
    Q_OBJECT
public:
    using Action = std::function<void(QZArraySelectView2* sender)>;
    // firstSelectedItem's answer when nothing is selected.
    static constexpr int NotFound = 2147483647;
    // How far the pointer must move before a press becomes a drag.
    static constexpr qreal dragThreshold = 10;

    explicit QZArraySelectView2(QWidget* parent = nullptr);
    ~QZArraySelectView2() override;

    // Not owned.
    void setVerdaneDocument(EditorHost* document);
    EditorHost* verdaneDocument() const { return _document; }
    // Keeps its own copy of the UUID; no redisplay.
    void setXmlBase(const QString& uuid) { _xmlbase = uuid; }
    const QString& xmlBase() const { return _xmlbase; }
    XmlBasePtr xmlobject() const override;
    // The items shown: the shown element's children less those being
    // dragged out of this grid.
    int numObjects() const override;

    // The target's actions, each with this grid as the sender.
    void setTargetAction(Action action) { _action = std::move(action); }
    void setClick(Action click) { _click = std::move(click); }
    void setDeleteKey(Action deleteKey) { _deleteKey = std::move(deleteKey); }
    // Files dropped on a grid that shows no album page go to this action
    // (their paths, in order); without it they are taken and nothing is done.
    using FilesAction = std::function<void(QZArraySelectView2* sender, const QStringList& paths)>;
    void setFilesDropped(FilesAction filesDropped) { _filesDropped = std::move(filesDropped); }

    void setDragDropEnabled(bool enabled);
    bool dragDropEnabled() const { return _ddenable; }
    // Files chosen elsewhere (a file panel) go where the same files dropped
    // after the last item go, by the same road; whether they were taken.
    bool addFiles(const QStringList& paths);

    // --- Selection (no redisplay; indexes are kept when children change) ------
    void clearSelection() { _selectedItems.clear(); }
    void selectIndexClearAll(int index, bool clearAll);
    void selectIndexLength(int start, int length);
    bool isSelected(int index) const { return _selectedItems.contains(index); }
    QList<int> selectedIndexes() const;
    int firstSelectedItem() const;

    // --- Geometry ---------------------------------------------------------------------
    // The item under the point; below the last row an index past the last item.
    int indexOfObjectAtPoint(QPointF point) const;
    // The gap a drop at the point goes to: before the item pointed at, after
    // a row's last item right of it, at the end below every row.
    int dropIndexAtPoint(QPointF point) const;
    int currentDropIndex() const { return _currentDropIndex; }
    int newDropIndex() const { return _newDropIndex; }

    // The drag picture: the item's icon at half strength with "<total> photo(s)".
    QImage createDragableImage(XmlBase* item, int total) const;

protected:
    CaptionLayout& captionLayout() const override;
    int numberOfPositions() const override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The children shown, in order.
    XmlBaseList shownChildren() const;
    XmlBasePtr shownChildAtIndex(int index) const;
    void drawObjectAtIndexPosition(QPainter& painter, const XmlBasePtr& child, int index, int position);
    void selectAt(QPointF at);
    void startDrag();
    void draggedImageEnded();
    XmlBasePtr draggedObject(const QMimeData* data);
    Qt::DropAction operationFor(const XmlBasePtr& dragged) const;
    bool performDragOperation(const XmlBasePtr& dragged);
    // The index among the shown element's children at which an item dropped
    // at the gap goes: before the shown item at the gap (other than the
    // dropped one), at the end past the last; -1 stays -1.
    int childIndexForGap(int gap, const XmlBase* dropped) const;
    bool deleteSelectedPhoto();

    EditorHost* _document = nullptr;
    QString _xmlbase;
    Action _action;
    Action _click;
    Action _deleteKey;
    FilesAction _filesDropped;
    int _currentDropIndex = -1;
    int _newDropIndex = -1;
    bool _ddenable = false;
    QSet<int> _selectedItems;
    // The items of the drag that began here, shown elsewhere while it lasts.
    QList<std::weak_ptr<XmlBase>> _draggedItems;
    PressTracker _press;
    bool _dragging = false;
    DraggedElement _dragged;
};
