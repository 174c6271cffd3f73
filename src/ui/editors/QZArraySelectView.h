#pragma once
#include "ui/editors/IconGridView.h"

#include <functional>

class EditorHost;

// The icon grid: the children of one element as icons with captions, one of
// them selected. The group editor shows the pages of a group in it (each
// page by its representative picture) and its picture sheet the photos of
// an album page. The shown element is the album when one is set, else the
// document's current object.
//
// Every mouse-down selects the item under it, whatever index that gives
// (an empty cell of the last row, or any point of an empty grid, gives an
// index past the last child or a negative one); a double click then sends
// the action. The grid handles no keys.
class QZArraySelectView : public IconGridView {
    Q_OBJECT
public:
    using Action = std::function<void(QZArraySelectView* sender)>;

    explicit QZArraySelectView(QWidget* parent = nullptr);
    ~QZArraySelectView() override;

    // Neither is owned.
    void setDocument(EditorHost* document);
    void setAlbum(XmlBase* album);
    // The double-click action.
    void setTargetAction(Action action) { _action = std::move(action); }

    XmlBasePtr xmlobject() const override;
    // The selected index; one past the children reads as the last child
    // (and is stored so); -1 with no children; a negative index stays.
    int selectedIndex();
    int indexOfObjectAtPoint(QPointF point) const;

protected:
    CaptionLayout& captionLayout() const override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void select(QPointF at);
    void drawObjectAtIndex(QPainter& painter, int index, int selected);

    int _selectedIndex = 0;
    EditorHost* _document = nullptr;
    std::weak_ptr<XmlBase> _album;
    Action _action;
};
