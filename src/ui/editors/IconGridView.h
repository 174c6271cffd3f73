#pragma once
#include "model/core/XmlBase.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/StyledText.h"
#include "platform/text/TextContainer.h"

#include <QPointer>
#include <QSizeF>
#include <QWidget>

#include <memory>

class QPainter;
class QScrollArea;

// What the icon grid (QZArraySelectView) and the photo grid
// (QZArraySelectView2) share: the children of one element drawn as icons,
// each with its caption under it, in a grid whose columns follow the width
// of the view's superview (the viewport of its scroll area). The grid keeps
// no copy of the elements: every drawing and every hit test asks the shown
// element again.
//
// Geometry, in view pixels with y growing downwards: a cell is the item
// size plus 20 wide and plus 40 high; the columns are as many cells as fit
// the superview's width (at least 1); the item at position p lies in column
// p mod columns and row p div columns, at the cell's origin plus (left
// margin, 10); its caption band is 20 high, 10 under the item.
class IconGridView : public QWidget {
    Q_OBJECT
public:
    ~IconGridView() override;

    // The element whose children are shown, or nothing.
    virtual XmlBasePtr xmlobject() const = 0;
    // How many items are shown (0 after a failure).
    virtual int numObjects() const;

    QSizeF itemSize() const { return _itemSize; }
    // Takes effect at the next drawing; no redisplay.
    void setItemSize(QSizeF size) { _itemSize = size; }
    // The rectangle at (0, 0) of the item size.
    QRectF itemRect() const { return QRectF(QPointF(), _itemSize); }
    QSizeF cellSize() const;
    int numColumns() const;
    int numRows() const;
    QSizeF sizeOfView() const;
    QRectF rectOfObjectAtIndex(int position) const;
    QRectF captionRectOfObjectAtIndex(int position) const;
    // Sizes the view to its rows, never smaller than its superview, and
    // asks for redisplay.
    void fitMe();
    bool hasTextBox() const { return true; }

    // A frameless scroll area with the grid as its document view.
    QScrollArea* makeScrollView(QWidget* parent = nullptr);

protected:
    // The caption layout that a grid class keeps for the life of the
    // program: one layout manager with one text container of
    // 1,000,000 x 1,000,000.
    struct CaptionLayout {
        CaptionLayout();
        lq::LayoutManager layoutManager;
        std::shared_ptr<lq::TextContainer> container;
    };

    IconGridView(QSizeF itemSize, qreal leftMargin, QWidget* parent);

    virtual CaptionLayout& captionLayout() const = 0;
    // fitMe without the redisplay, for the drawing itself.
    void fitSize();
    // The number of positions the items take (more than the items while a
    // gap is shown).
    virtual int numberOfPositions() const { return numObjects(); }

    // The icon at its own size, centred in the rectangle; the part that
    // does not fit (right, top) is cut off.
    static void drawIconInRect(QPainter& painter, const QImage& icon, const QRectF& rect);
    // The item's rectangle grown by 4, stroked.
    static void drawSelectionFrame(QPainter& painter, const QRectF& item, qreal lineWidth, const QColor& colour);
    // The caption in "Helvetica Bold" 12, centred, wrapped at the
    // rectangle's width; lines that start below the rectangle are not drawn.
    void drawTextContentsInRect(QPainter& painter, const QString& text, const QRectF& rect);
    qreal superviewWidth() const;

    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void makeTextStorage(const QString& text);
    void watchSuperview();

    QSizeF _itemSize;
    qreal _leftMargin;
    std::shared_ptr<lq::StyledText> _contents = std::make_shared<lq::StyledText>();
    QPointer<QWidget> _superview;
};
