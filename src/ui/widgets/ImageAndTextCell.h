#pragma once
#include <QImage>
#include <QRect>
#include <QStyledItemDelegate>

// The cell of a name column that shows the item's icon at the left of its
// text: the icon 3 pixels in from the cell's left edge, vertically centred,
// at its own size unless it is at least 6 pixels taller than the cell, when
// it is scaled down to the cell's height; the text, and its in-place editor,
// in the rest of the cell. The icon is the item's decoration (an
// ItemDataSource gives it in willDisplayCell). Rows are at least as high as
// an icon drawn at its own size.
class ImageAndTextCell : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int iconInset = 3;

    using QStyledItemDelegate::QStyledItemDelegate;

    // Where the icon goes in the cell: 3 in from the left, its top the cell's
    // top plus half the difference of the heights rounded up, at its own size.
    static QRect imageFrameForCellFrame(const QRect& cell, QSize icon);
    // Where the icon is drawn: as above while it is less than 6 pixels
    // taller than the cell, else scaled to the cell's height (its width
    // rounded up) at the cell's top.
    static QRect drawnImageFrame(const QRect& cell, QSize icon);
    // The rest of the cell, right of the icon's strip (the whole cell
    // without an icon).
    static QRect textFrame(const QRect& cell, QSize icon);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    static QImage icon(const QModelIndex& index);
    // The option as the plain text cell draws it: no decoration.
    QStyleOptionViewItem textOption(const QStyleOptionViewItem& option, const QModelIndex& index) const;
};
